// Read-back tests: sprites, frame grids, bitmap text and particles drawn by the real renderer
// on the offscreen video driver, then checked pixel by pixel in the back buffer.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "engine/globals.h"
#include "engine/render.h"
#include "engine/texture.h"
#include "platform/image_codec.h"
#include "platform/window.h"
#include "primitives/animation.h"
#include "primitives/font.h"
#include "primitives/particles.h"
#include "primitives/sprite.h"
#include "support.h"

using namespace QEL;

namespace {

struct Box {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;  // right and bottom exclusive
  int count = 0;
};

class ReadBackTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(platform::initVideo());
    if (sWindow == nullptr) sWindow = platform::createWindow("primitives read-back", 1024, 768);
    ASSERT_NE(sWindow, nullptr);
    sRender = new QC_RENDER;
    ASSERT_EQ(sRender->fInit(sWindow, 0.1f, 0.0f), 1);
    sRender->_clearColor = 0xFF000000u;
    qcRENDER = sRender;
  }
  static void TearDownTestSuite() {
    qcRENDER = nullptr;
    delete sRender;
    sRender = nullptr;
  }

  void SetUp() override {
    char pattern[] = "/tmp/pindrake-primitives-XXXXXX";
    const char* made = mkdtemp(pattern);
    ASSERT_NE(made, nullptr);
    _folder = made;
  }
  void TearDown() override {
    for (QC_TEXTURE* t : _textures) sRender->fReleaseTexture(t);
    std::error_code ignored;
    std::filesystem::remove_all(_folder, ignored);
  }

  // A texture of ARGB words, row by row.
  QC_TEXTURE* texture(int w, int h, const std::vector<uint32_t>& argb) {
    QC_TEXTURE* t = sRender->fCreateTexture(w, h);
    EXPECT_NE(t, nullptr);
    EXPECT_TRUE(t->fFill(argb.data()));
    _textures.push_back(t);
    return t;
  }
  QC_TEXTURE* solid(int w, int h, uint32_t argb) { return texture(w, h, std::vector<uint32_t>(w * h, argb)); }

  // Runs one frame around the drawing and reads the back buffer.
  template <class DRAW>
  void frame(DRAW draw) {
    ASSERT_EQ(sRender->fBeginScene(), 1);
    draw();
    ASSERT_EQ(sRender->fEndScene(), 0);
    _flushes = sRender->_flushes;
    _drawCalls = sRender->_drawCalls;
    ASSERT_TRUE(sRender->fReadBackBuffer(_pixels, _width, _height));
    ASSERT_EQ(_width, 1024);
    ASSERT_EQ(_height, 768);
  }
  uint32_t rgb(int x, int y) const {
    const uint8_t* p = &_pixels[(static_cast<size_t>(y) * _width + x) * 4];
    return (static_cast<uint32_t>(p[0]) << 16) | (static_cast<uint32_t>(p[1]) << 8) | p[2];
  }
  bool lit(int x, int y) const { return rgb(x, y) != 0; }
  // Bounds and count of the pixels that are not black.
  Box litBox() const {
    Box box;
    for (int y = 0; y < _height; ++y) {
      for (int x = 0; x < _width; ++x) {
        if (!lit(x, y)) continue;
        ++box.count;
        box.left = std::min(box.left, x);
        box.top = std::min(box.top, y);
        box.right = std::max(box.right, x + 1);
        box.bottom = std::max(box.bottom, y + 1);
      }
    }
    return box;
  }
  int countLit(int left, int top, int right, int bottom) const {
    int n = 0;
    for (int y = top; y < bottom; ++y) {
      for (int x = left; x < right; ++x) n += lit(x, y) ? 1 : 0;
    }
    return n;
  }
  // A picture drawn at whole pixels samples its texels at their corners (the device keeps
  // Direct3D 9's pixel centres), so its first column and row blend with the texels before
  // them; every other pixel shows its texel exactly.
  void expectPicture(int left, int top, int w, int h, uint32_t colour) const {
    EXPECT_EQ(countLit(left, top, left + w, top + h), w * h) << "at " << left << ", " << top;
    EXPECT_EQ(countColour(left + 1, top + 1, left + w, top + h, colour), (w - 1) * (h - 1))
        << "at " << left << ", " << top;
  }
  // Pixels of the rectangle that have the colour.
  int countColour(int left, int top, int right, int bottom, uint32_t colour) const {
    int n = 0;
    for (int y = top; y < bottom; ++y) {
      for (int x = left; x < right; ++x) n += rgb(x, y) == colour ? 1 : 0;
    }
    return n;
  }

  static platform::WindowHandle sWindow;
  static QC_RENDER* sRender;
  std::string _folder;
  std::vector<QC_TEXTURE*> _textures;
  std::vector<uint8_t> _pixels;
  int32_t _width = 0, _height = 0;
  uint32_t _flushes = 0, _drawCalls = 0;
};

platform::WindowHandle ReadBackTest::sWindow = nullptr;
QC_RENDER* ReadBackTest::sRender = nullptr;

TEST_F(ReadBackTest, EachAnchorPutsItsPointOfTheQuadOnThePosition) {
  QC_TEXTURE* white = solid(20, 10, 0xFFFFFFFFu);
  QC_SPRITE sprite(white, nullptr);
  const int pivots[9][2] = {{10, 5}, {0, 0}, {20, 0}, {0, 10}, {20, 10}, {10, 0}, {10, 10}, {0, 5}, {20, 5}};
  for (int mode = 0; mode < 9; ++mode) {
    sprite.fSetAnchor(mode, 0.0f, 0.0f);
    sprite.fSetPosition(200.0f, 150.0f, 0.0f);
    frame([&] { sprite.fDraw(); });
    const Box box = litBox();
    EXPECT_EQ(box.left, 200 - pivots[mode][0]) << "mode " << mode;
    EXPECT_EQ(box.top, 150 - pivots[mode][1]) << "mode " << mode;
    EXPECT_EQ(box.right, 220 - pivots[mode][0]) << "mode " << mode;
    EXPECT_EQ(box.bottom, 160 - pivots[mode][1]) << "mode " << mode;
    EXPECT_EQ(box.count, 200) << "mode " << mode;
  }
}

TEST_F(ReadBackTest, ScaleTurnsAboutThePivotAndParentsApplyToWorldDrawing) {
  QC_TEXTURE* white = solid(20, 10, 0xFFFFFFFFu);
  QC_SPRITE sprite(white, nullptr);  // pivot at the centre (10, 5)
  sprite.fSetPosition(300.0f, 300.0f, 0.0f);
  sprite.fSetScale(2.0f, 0.0f, 1.0f);
  frame([&] { sprite.fDraw(); });
  Box box = litBox();
  EXPECT_EQ(box.left, 280);
  EXPECT_EQ(box.top, 290);
  EXPECT_EQ(box.right, 320);
  EXPECT_EQ(box.bottom, 310);

  QS_TRANSFORM3 parent;
  parent.fSetPosition(100.0f, 100.0f, 0.0f);
  QS_TRANSFORM3 node;
  node._parent = &parent;
  node.fSetPosition(10.0f, 0.0f, 0.0f);
  QC_SPRITE child(white, &node);  // pivot (0, 0): the node places the top-left corner
  frame([&] { child.fDrawWorld(); });
  box = litBox();
  EXPECT_EQ(box.left, 110);
  EXPECT_EQ(box.top, 100);
  frame([&] { child.fDraw(); });  // the node's own transform only
  box = litBox();
  EXPECT_EQ(box.left, 10);
  EXPECT_EQ(box.top, 0);
}

TEST_F(ReadBackTest, QuarterTurnAboutTheCentre) {
  QC_TEXTURE* white = solid(20, 10, 0xFFFFFFFFu);
  QC_SPRITE sprite(white, nullptr);
  sprite.fSetPosition(300.0f, 300.0f, 0.0f);
  sprite.fSetRotationZ(1.5707963f);
  frame([&] { sprite.fDraw(); });
  const Box box = litBox();
  EXPECT_NEAR(box.left, 295, 1);
  EXPECT_NEAR(box.right, 305, 1);
  EXPECT_NEAR(box.top, 290, 1);
  EXPECT_NEAR(box.bottom, 310, 1);
}

TEST_F(ReadBackTest, PathConstructorsFallBackToTheDefaultTexture) {
  primitives_test::LogRecorder log;
  const std::string missing = _folder + "/missing.png";
  QC_SPRITE sprite(missing.c_str(), nullptr);
  EXPECT_EQ(sprite._texture, sRender->fGetDefaultTexture());
  EXPECT_EQ(sprite._width, 16);
  EXPECT_FLOAT_EQ(sprite._node->_pivot.x, 8.0f);
  EXPECT_TRUE(log.contains("Textue not load " + missing));

  QC_ANIMATION animation(missing.c_str(), 2, 4, 8, 10.0f, true, true, false, false);  // rows, then cols
  EXPECT_EQ(animation._cols, 4);
  EXPECT_EQ(animation._rows, 2);
  EXPECT_FLOAT_EQ(animation._vertices[2].x, 4.0f);
  EXPECT_FLOAT_EQ(animation._vertices[2].y, 8.0f);
  EXPECT_TRUE(log.contains("Warning: Bad Constructor. Use QC_ANIM"));
  QS_TRANSFORM3 node;
  QC_ANIMATION forwardOnly(missing.c_str(), &node, 1, 2, 2, 5.0f);
  EXPECT_EQ(forwardOnly._flags & 0x0F, QC_ANIMATION::FLAG_FORWARD);
  EXPECT_EQ(forwardOnly._node, &node);

  QC_PARTICLE_SYSTEM particles(missing.c_str(), nullptr);
  EXPECT_EQ(particles._texture, sRender->fGetDefaultTexture());
  EXPECT_FLOAT_EQ(particles._size, 16.0f);
}

TEST_F(ReadBackTest, FrameOfAGridShowsItsOwnTexels) {
  // A strip of four 10 x 10 cells: red, green, blue, white.
  const uint32_t cells[4] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFFFFu};
  std::vector<uint32_t> pixels(40 * 10);
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 40; ++x) pixels[y * 40 + x] = cells[x / 10];
  }
  QC_TEXTURE* strip = texture(40, 10, pixels);
  QC_SPRITE sprite(strip, nullptr);
  sprite.fSetSize(10, 10);
  sprite.fSetAnchor(1, 0.0f, 0.0f);
  sprite.fSetPosition(50.0f, 60.0f, 0.0f);
  for (int f = 0; f < 4; ++f) {
    sprite.fSetFrame(4, 1, f);
    frame([&] { sprite.fDraw(); });
    expectPicture(50, 60, 10, 10, cells[f] & 0xFFFFFFu);
    EXPECT_EQ(litBox().count, 100) << "frame " << f;
  }

  QC_ANIMATION animation(strip, nullptr, 4, 1, 4, 1.0f, true, true, false, false);
  animation.fSetPosition(505.0f, 405.0f, 0.0f);  // anchored at the cell's centre
  animation.fPlay(0);
  const float savedDelta = qcFRAME_DELTA;
  qcFRAME_DELTA = 1.5f;
  animation.fUpdate();
  animation.fUpdate();
  animation.fUpdate();  // shows frame 2
  qcFRAME_DELTA = savedDelta;
  frame([&] { animation.fDraw(); });
  expectPicture(500, 400, 10, 10, 0x0000FFu);
}

class FontReadBackTest : public ReadBackTest {
 protected:
  // Page 64 x 32 with solid white glyphs on transparent black: '!' 4 x 6 (the lowest id,
  // so the pivot is (2, 3)), 'A' 8 x 10 lowered by 2, 'B' 6 x 12.
  std::unique_ptr<QC_FONT> makeFont(int lineHeight) {
    const std::vector<primitives_test::GlyphSpec> glyphs = {
        {65, 0, 0, 8, 10, 0, 2}, {66, 10, 0, 6, 12, 0, 0}, {33, 20, 0, 4, 6, 0, 0}};
    std::vector<uint8_t> rgba(64 * 32 * 4, 0);
    for (const auto& g : glyphs) {
      for (int y = g.y; y < g.y + g.height; ++y) {
        for (int x = g.x; x < g.x + g.width; ++x) {
          for (int c = 0; c < 4; ++c) rgba[(y * 64 + x) * 4 + c] = 255;
        }
      }
    }
    const std::string png = _folder + "/test_font_0.png";
    const std::string fnt = _folder + "/test_font.fnt";
    EXPECT_TRUE(platform::writePng(png, rgba.data(), 64, 32));
    std::ofstream(fnt) << primitives_test::fontXml(glyphs, lineHeight, -1, "test_font_0.png");
    EXPECT_TRUE(_doc.load_file(fnt.c_str()));
    QC_TEXTURE* page = sRender->fLoadTexture(png.c_str());
    EXPECT_NE(page, sRender->fGetDefaultTexture());
    _textures.push_back(page);
    auto font = std::make_unique<QC_FONT>(_doc.child("font"), page, 600);
    font->_spacing = 1;
    return font;
  }
  pugi::xml_document _doc;
};

TEST_F(FontReadBackTest, TextCoversTheGlyphRectanglesInOneBatch) {
  auto font = makeFont(14);
  frame([&] { font->fDrawTextW(100, 200, L"AB"); });
  // A: pen 0, shifted by the pivot (2, 3) and lowered by its yoffset 2.
  expectPicture(98, 199, 8, 10, 0xFFFFFFu);
  // B: pen 8 + spacing 1.
  expectPicture(107, 197, 6, 12, 0xFFFFFFu);
  EXPECT_EQ(litBox().count, 152);
  EXPECT_EQ(_drawCalls, 2u);
  EXPECT_EQ(_flushes, 1u);
}

TEST_F(FontReadBackTest, CentredTwoLineTextIsLiftedAndEachLineCentred) {
  auto font = makeFont(14);
  font->_anchor = 0;
  frame([&] { font->fDrawTextW(300, 300, L"A\nBB"); });
  // Lifted by trunc(2 x 14 / 4) = 7. Line 0 is 9 wide (centred by -4), line 1 is 14 (-7).
  expectPicture(294, 292, 8, 10, 0xFFFFFFu);
  expectPicture(291, 304, 6, 12, 0xFFFFFFu);
  expectPicture(298, 304, 6, 12, 0xFFFFFFu);
  EXPECT_EQ(litBox().count, 224);
}

TEST_F(FontReadBackTest, NarrowFormattedAndAnchoredText) {
  auto font = makeFont(14);
  frame([&] { font->fPrint(100, 200, "%c%c", 'A', 'B'); });
  expectPicture(98, 199, 8, 10, 0xFFFFFFu);
  expectPicture(107, 197, 6, 12, 0xFFFFFFu);

  frame([&] { font->fPrintW(100, 200, L"%s", L"BA"); });
  expectPicture(98, 197, 6, 12, 0xFFFFFFu);
  expectPicture(105, 199, 8, 10, 0xFFFFFFu);

  QS_TRANSFORM3 label;
  label.fSetPosition(400.0f, 500.0f, 0.0f);
  frame([&] { font->fDrawAnchored(&label, 1, L"A"); });
  const Box box = litBox();
  EXPECT_EQ(box.left, 398);
  EXPECT_EQ(box.top, 499);
  EXPECT_EQ(box.right, 406);
  EXPECT_EQ(box.bottom, 509);
  EXPECT_EQ(box.count, 80);
  EXPECT_EQ(font->_sprite->_node->_parent, nullptr);
  EXPECT_EQ(font->_anchor, 1);

  font->fSetColor(0xFFFF0000u);
  frame([&] { font->fDrawTextW(100, 200, L"A"); });
  expectPicture(98, 199, 8, 10, 0xFF0000u);
}

TEST_F(ReadBackTest, ParticlesAreEmittedAndDrawnAsPoints) {
  QC_TEXTURE* dot = solid(8, 8, 0xFFFFFFFFu);
  QC_PARTICLE_SYSTEM system(dot, nullptr);
  system.fSetEmitCircle(500.0f, 400.0f, 0.0f);
  system.fStart();
  system.fBurstAt(1, 200, 100);
  ASSERT_EQ(system._liveCount, 2);
  frame([&] { system.fDraw(); });
  EXPECT_TRUE(lit(500, 400));
  EXPECT_TRUE(lit(200, 100));
  EXPECT_FALSE(lit(520, 400));
  const Box box = litBox();
  EXPECT_GE(box.left, 190);
  EXPECT_LE(box.right, 510);
  EXPECT_GE(box.count, 2 * 36);
  EXPECT_LE(box.count, 2 * 100);

  const float savedDelta = qcFRAME_DELTA;
  qcFRAME_DELTA = 0.2f;  // falls 30 + 5.6 pixels
  system.fStop();
  system.fUpdate();
  qcFRAME_DELTA = savedDelta;
  frame([&] { system.fDraw(); });
  EXPECT_FALSE(lit(500, 400));
  EXPECT_TRUE(lit(500, 436));
}

}  // namespace
