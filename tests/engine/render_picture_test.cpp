// Pictures of the resources (images in memory): decoded when first drawn, sharing a device
// texture with the pictures drawn next to them, and looking the same as pictures that keep
// textures of their own; the buffers a frame of many batches streams through.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>

#include "platform/image_codec.h"
#include "platform/window.h"
#include "render_fixture.h"

using namespace QEL;

namespace {

struct IMAGE {
  int width = 0, height = 0;
  std::vector<uint8_t> rgba;  // r, g, b, a
  std::string file;           // the same as a PNG file
  std::vector<char> png;      // and its bytes
};

// A picture of the given size with each texel from `texel` (x, y, its r, g, b, a), kept as
// a PNG file.
IMAGE painted(const char* name, int width, int height, const std::function<void(int, int, uint8_t*)>& texel) {
  IMAGE image;
  image.width = width;
  image.height = height;
  image.rgba.resize(static_cast<size_t>(width) * height * 4);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) texel(x, y, &image.rgba[(static_cast<size_t>(y) * width + x) * 4]);
  image.file = "/tmp/pindrake_picture_" + std::to_string(getpid()) + "_" + name + ".png";
  EXPECT_TRUE(platform::writePng(image.file, image.rgba.data(), width, height));
  std::ifstream in(image.file, std::ios::binary);
  image.png.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return image;
}

// A picture whose every texel differs from its neighbours, so any sampling slip shows;
// `whiteGlyphs` makes it white with the pattern in its alpha, as a font's page may be.
IMAGE patterned(const char* name, int width, int height, int seed, bool whiteGlyphs = false) {
  return painted(name, width, height, [seed, whiteGlyphs](int x, int y, uint8_t* p) {
    p[0] = static_cast<uint8_t>(x * 37 + seed);
    p[1] = static_cast<uint8_t>(y * 53 + seed * 3);
    p[2] = static_cast<uint8_t>((x ^ y) * 11);
    p[3] = 255;
    if (whiteGlyphs) {
      p[3] = p[0];
      p[0] = p[1] = p[2] = 255;
    }
  });
}

// Red but for its last row and column, which are blue: a picture whose far edges would show
// along its near ones if the filter carried them round.
constexpr uint32_t kNearEdge = 0xC83232u, kFarEdge = 0x3232C8u;
IMAGE edged(const char* name, int width, int height) {
  return painted(name, width, height, [width, height](int x, int y, uint8_t* p) {
    const uint32_t colour = (x == width - 1 || y == height - 1) ? kFarEdge : kNearEdge;
    p[0] = static_cast<uint8_t>(colour >> 16);
    p[1] = static_cast<uint8_t>(colour >> 8);
    p[2] = static_cast<uint8_t>(colour);
    p[3] = 255;
  });
}

class PictureTest : public RenderTest {
 protected:
  void TearDown() override {
    platform::overrideDesktopSize(0, 0);
    for (const IMAGE* image : {&_large, &_small, &_tiny}) std::remove(image->file.c_str());
    RenderTest::TearDown();
  }

  QC_TEXTURE* fromMemory(const IMAGE& image) {
    return _render->fLoadTextureFromMemory(image.png.data(), static_cast<uint32_t>(image.png.size()), "unnamed");
  }

  // A picture drawn at (x, y) at its own size, or from the given texture coordinates.
  void drawPicture(QC_TEXTURE* texture, float x, float y, float u1 = 1.0f, float v1 = 1.0f) {
    const QS_POINT size = texture->fGetSize();
    QS_VERTEX v[4];
    quadVertices(v, x, y, x + static_cast<float>(size.x), y + static_cast<float>(size.y), 0xFFFFFFFFu, 0.0f, 0.0f,
                 u1, v1);
    _render->fDraw(v, texture, &_word, 4, kQuadIndices, 6);
  }

  // The large picture with the small and tiny ones drawn between its copies, over each other
  // in places, as a table of cards and their covers would be; the frame's pixels.
  std::vector<uint8_t> interleaved(QC_TEXTURE* large, QC_TEXTURE* small, QC_TEXTURE* tiny) {
    _render->_clearColor = 0xFF000000u;
    EXPECT_EQ(_render->fBeginScene(), 1);
    drawPicture(large, 10.0f, 10.0f);
    drawPicture(small, 20.0f, 30.0f);
    drawPicture(large, 400.0f, 100.0f);
    drawPicture(tiny, 390.0f, 90.0f);
    drawPicture(large, 200.0f, 300.0f);
    drawPicture(small, 250.0f, 320.0f);
    _render->fEndScene();
    forget();
    read();
    return _pixels;
  }

  static int largestDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    int largest = a.size() == b.size() ? 0 : 256;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) largest = std::max(largest, std::abs(a[i] - b[i]));
    return largest;
  }

  uint64_t drawCallsOfTheLastFrame() const { return _render->_device->lastFrameCounters().drawCalls; }

  // The pixels just around the top and left edges of a picture shown at (x, y) over w x h
  // pixels, short of its far corners: each shows the black around it or the near edge's red
  // alone, and some show the red.
  ::testing::AssertionResult nearEdgesAlone(int x, int y, int w, int h) {
    if (_pixels.empty()) read();
    int shown = 0;
    std::string stray;
    auto look = [&](int px, int py) {
      if (px < 0 || py < 0 || px >= _width || py >= _height || rgb(px, py) == 0) return;
      bool red = true;
      for (int shift : {0, 8, 16})
        red = red && std::abs(static_cast<int>((rgb(px, py) >> shift) & 0xFF) -
                              static_cast<int>((kNearEdge >> shift) & 0xFF)) <= 2;
      if (red) {
        ++shown;
      } else if (stray.empty()) {
        char text[64];
        std::snprintf(text, sizeof text, "pixel (%d, %d) shows %06x", px, py, rgb(px, py));
        stray = text;
      }
    };
    constexpr int kShortOfTheCorner = 3;
    for (int across = -1; across <= 1; ++across) {
      for (int column = x + kShortOfTheCorner; column < x + w - kShortOfTheCorner; ++column) look(column, y + across);
      for (int row = y + kShortOfTheCorner; row < y + h - kShortOfTheCorner; ++row) look(x + across, row);
    }
    if (!stray.empty()) return ::testing::AssertionFailure() << stray;
    if (shown == 0) return ::testing::AssertionFailure() << "the picture does not show";
    return ::testing::AssertionSuccess();
  }

  IMAGE _large = patterned("large", 600, 500, 1);
  IMAGE _small = patterned("small", 70, 110, 2);
  IMAGE _tiny = patterned("tiny", 24, 28, 3);
  QS_RENDER_STATE _word = screenWord(true, QS_RENDER_STATE::FILTER_LINEAR);
};

TEST_F(PictureTest, SmallPicturesDrawnBetweenALargeOneShareItsBatchAndLookTheSame) {
  // The same pictures read from files keep textures of their own: the picture to match.
  QC_TEXTURE* ownLarge = _render->fLoadTexture(_large.file.c_str());
  QC_TEXTURE* ownSmall = _render->fLoadTexture(_small.file.c_str());
  QC_TEXTURE* ownTiny = _render->fLoadTexture(_tiny.file.c_str());
  const std::vector<uint8_t> apart = interleaved(ownLarge, ownSmall, ownTiny);
  EXPECT_EQ(drawCallsOfTheLastFrame(), 6u) << "a large picture keeps to batches of its own texture";

  QC_TEXTURE* large = fromMemory(_large);
  QC_TEXTURE* small = fromMemory(_small);
  QC_TEXTURE* tiny = fromMemory(_tiny);
  const std::vector<uint8_t> first = interleaved(large, small, tiny);
  EXPECT_EQ(drawCallsOfTheLastFrame(), 1u) << "the first frame already batches them";
  EXPECT_EQ(small->_deviceTexture, large->_deviceTexture);
  EXPECT_EQ(tiny->_deviceTexture, large->_deviceTexture);
  const std::vector<uint8_t> second = interleaved(large, small, tiny);
  EXPECT_EQ(drawCallsOfTheLastFrame(), 1u);

  EXPECT_EQ(largestDifference(first, second), 0) << "a picture is sampled the same way in every frame";
  // Texture coordinates mapped into the shared texture round a little differently: at most
  // the last bit or two of a channel, never a visible difference.
  EXPECT_LE(largestDifference(first, apart), 2);
  EXPECT_NE(rgb(20 + 35, 30 + 55), 0u) << "the small picture shows";
  for (QC_TEXTURE* texture : {ownLarge, ownSmall, ownTiny, large, small, tiny}) _render->fReleaseTexture(texture);
  EXPECT_TRUE(_render->_textureRooms.empty()) << "the shared texture goes with its last picture";
  EXPECT_TRUE(_render->_guestTextures.empty());
}

// The level's bottom bar: its labels' font page, then its buttons one after another. All of
// them fit in the page's room, so the bar costs one draw call rather than one per button.
TEST_F(PictureTest, ARowOfButtonsDrawnAfterAFontPageSharesItsBatch) {
  const IMAGE images[] = {patterned("page", 848, 724, 4), patterned("shop", 500, 100, 5),
                          patterned("pause", 450, 90, 6), patterned("joker", 500, 100, 7)};
  std::vector<QC_TEXTURE*> pictures;
  for (const IMAGE& image : images) pictures.push_back(fromMemory(image));
  for (int frame = 0; frame < 2; ++frame) {
    ASSERT_EQ(_render->fBeginScene(), 1);
    drawPicture(pictures[0], 0.0f, 0.0f);
    for (size_t i = 1; i < pictures.size(); ++i) drawPicture(pictures[i], 10.0f + 100.0f * i, 620.0f);
    _render->fEndScene();
    EXPECT_EQ(drawCallsOfTheLastFrame(), 1u) << "frame " << frame;
  }
  for (QC_TEXTURE* picture : pictures) EXPECT_EQ(picture->_deviceTexture, pictures[0]->_deviceTexture);
  for (QC_TEXTURE* picture : pictures) _render->fReleaseTexture(picture);
  for (const IMAGE& image : images) std::remove(image.file.c_str());
  EXPECT_TRUE(_render->_textureRooms.empty());
}

// No picture shows its far edges along its near ones, wherever it lies: in a texture of its
// own, as a host or a guest sharing one (beside the room and the other pictures), as the
// strip kept of a picture mostly beyond the screen, and scaled up to a tall desktop's width.
TEST_F(PictureTest, APicturesFarEdgesNeverShowAlongItsNearOnes) {
  const IMAGE images[] = {edged("host", 600, 500), edged("guest", 70, 110), edged("own", 300, 300),
                          edged("strip", 512, 128)};
  const int places[][2] = {{10, 10}, {700, 30}, {650, 400}, {1023, 200}};
  std::vector<QC_TEXTURE*> pictures;
  for (const IMAGE& image : images) pictures.push_back(fromMemory(image));
  _render->_clearColor = 0xFF000000u;
  ASSERT_EQ(_render->fBeginScene(), 1);
  for (size_t i = 0; i < pictures.size(); ++i)
    drawPicture(pictures[i], static_cast<float>(places[i][0]), static_cast<float>(places[i][1]));
  _render->fEndScene();
  EXPECT_EQ(pictures[0]->_place, QC_TEXTURE::qePLACE_HOST);
  EXPECT_EQ(pictures[1]->_place, QC_TEXTURE::qePLACE_GUEST);
  EXPECT_EQ(pictures[2]->_place, QC_TEXTURE::qePLACE_OWN);
  EXPECT_EQ(pictures[3]->_place, QC_TEXTURE::qePLACE_PART);
  for (size_t i = 0; i < pictures.size(); ++i)
    EXPECT_TRUE(nearEdgesAlone(places[i][0], places[i][1], images[i].width, images[i].height)) << images[i].file;

  // The menu's background, full screen on a 1280 x 1024 desktop: 1280 x 960 between bars.
  const IMAGE screen = edged("screen", 1024, 768);
  QC_TEXTURE* background = fromMemory(screen);
  platform::overrideDesktopSize(1280, 1024);
  _render->fSetResolution(1024, 768, true, true);
  _render->fSetupTransforms();
  ASSERT_EQ(_render->fBeginScene(), 1);
  drawPicture(background, 0.0f, 0.0f);
  _render->fEndScene();
  forget();
  EXPECT_TRUE(nearEdgesAlone(0, 32, 1280, 960));
  for (QC_TEXTURE* picture : pictures) _render->fReleaseTexture(picture);
  _render->fReleaseTexture(background);
  for (const IMAGE* image : {&images[0], &images[1], &images[2], &images[3], &screen}) std::remove(image->file.c_str());
}

TEST_F(PictureTest, ALockedOrRepeatedSharedPictureGetsATextureOfItsOwnBack) {
  QC_TEXTURE* large = fromMemory(_large);
  QC_TEXTURE* small = fromMemory(_small);
  QC_TEXTURE* tiny = fromMemory(_tiny);
  interleaved(large, small, tiny);
  ASSERT_EQ(small->_deviceTexture, large->_deviceTexture);

  // A lock hands out exactly the picture's pixels, from a texture of its own.
  const auto* locked = static_cast<const uint8_t*>(_render->fTextureLock(small));
  ASSERT_NE(locked, nullptr);
  EXPECT_EQ(std::memcmp(locked, _small.rgba.data(), _small.rgba.size()), 0);
  EXPECT_TRUE(_render->fTextureUnlock(small));
  EXPECT_NE(small->_deviceTexture, large->_deviceTexture);

  // Coordinates beyond the picture sample it as its own texture would.
  QC_TEXTURE* ownTiny = _render->fLoadTexture(_tiny.file.c_str());
  ASSERT_EQ(tiny->_deviceTexture, large->_deviceTexture);
  auto repeated = [this](QC_TEXTURE* texture) {
    _render->_clearColor = 0xFF000000u;
    EXPECT_EQ(_render->fBeginScene(), 1);
    drawPicture(texture, 100.0f, 100.0f, 3.0f, 2.0f);
    _render->fEndScene();
    forget();
    read();
    return _pixels;
  };
  const std::vector<uint8_t> shared = repeated(tiny);
  EXPECT_NE(tiny->_deviceTexture, large->_deviceTexture);
  EXPECT_EQ(largestDifference(shared, repeated(ownTiny)), 0);
  for (QC_TEXTURE* texture : {large, small, tiny, ownTiny}) _render->fReleaseTexture(texture);
}

TEST_F(PictureTest, AHostsGuestsOutliveItAndAPictureNeverDrawnIsNeverDecoded) {
  QC_TEXTURE* ownSmall = _render->fLoadTexture(_small.file.c_str());
  auto smallAlone = [this](QC_TEXTURE* texture) {
    _render->_clearColor = 0xFF000000u;
    EXPECT_EQ(_render->fBeginScene(), 1);
    drawPicture(texture, 700.0f, 500.0f);
    _render->fEndScene();
    forget();
    read();
    return _pixels;
  };
  const std::vector<uint8_t> expected = smallAlone(ownSmall);
  _render->fReleaseTexture(ownSmall);
  QC_TEXTURE* large = fromMemory(_large);
  QC_TEXTURE* small = fromMemory(_small);
  QC_TEXTURE* tiny = fromMemory(_tiny);
  EXPECT_EQ(large->_deviceTexture, nullptr) << "decoded when first drawn";
  EXPECT_EQ(large->fGetSize(), QS_POINT(600, 500));
  const size_t live = _render->_liveTextures.size();
  _render->fReleaseTexture(tiny);  // never drawn: nothing to decode, nothing left
  EXPECT_EQ(_render->_liveTextures.size(), live);
  EXPECT_TRUE(_render->_waitingPictures.count(large) == 1 && _render->_waitingPictures.count(tiny) == 0);

  _render->_clearColor = 0xFF000000u;
  ASSERT_EQ(_render->fBeginScene(), 1);
  drawPicture(large, 10.0f, 10.0f);
  drawPicture(small, 20.0f, 30.0f);
  _render->fEndScene();
  ASSERT_EQ(small->_deviceTexture, large->_deviceTexture);
  _render->fReleaseTexture(large);
  EXPECT_LE(largestDifference(smallAlone(small), expected), 2);
  _render->fReleaseTexture(small);
  EXPECT_TRUE(_render->_textureRooms.empty());
  EXPECT_EQ(_render->_liveTextures.size(), live);
}

TEST_F(PictureTest, AnImageWhoseDataBreaksOffShowsTheCheckerWhenDrawn) {
  // The header is whole, so the load takes it; the pixels are missing.
  std::vector<char> cut(_small.png.begin(), _small.png.begin() + 60);
  QC_TEXTURE* broken =
      _render->fLoadTextureFromMemory(cut.data(), static_cast<uint32_t>(cut.size()), "cards/broken.png");
  ASSERT_NE(broken, _render->fGetDefaultTexture());
  _render->_clearColor = 0xFF000000u;
  ASSERT_EQ(_render->fBeginScene(), 1);
  drawPicture(broken, 100.0f, 100.0f);
  _render->fEndScene();
  bool failed = false;
  // The line names the file, which may be read long after the picture was loaded.
  for (const std::string& line : _log)
    failed = failed || line.rfind("Texture load from memory failed: cards/broken.png: ", 0) == 0;
  EXPECT_TRUE(failed);
  EXPECT_EQ(rgb(105, 105), 0xFF2400u);  // the checker's top-left colour, stretched
  EXPECT_EQ(rgb(160, 200), 0x3C57A9u);
  _render->fReleaseTexture(broken);
}

TEST_F(PictureTest, AFrameOfManyBatchesReallocatesItsBuffersOnce) {
  QC_TEXTURE* a = _render->fLoadTexture(_small.file.c_str());
  QC_TEXTURE* b = _render->fLoadTexture(_tiny.file.c_str());
  // The second frame is drawn in full, not shown from what the first one left.
  _render->fSetDrawEverything(true);
  const QS_RENDER_STATE linear = _word;
  QS_RENDER_STATE point = _word;
  point._filter = QS_RENDER_STATE::FILTER_POINT;
  for (int frame = 0; frame < 2; ++frame) {
    ASSERT_EQ(_render->fBeginScene(), 1);
    // Each draw changes the word: a batch each.
    for (int i = 0; i < 40; ++i) {
      _word = i % 2 ? point : linear;
      drawPicture(i % 2 ? b : a, static_cast<float>(i * 20), 400.0f);
    }
    _word = linear;
    _render->fEndScene();
  }
  const platform::Device::Counters& counted = _render->_device->lastFrameCounters();
  EXPECT_EQ(counted.drawCalls, 40u);
  EXPECT_EQ(counted.textureBinds, 40u);
  EXPECT_EQ(counted.bufferAllocations, 2u) << "the vertex and the index buffer, once each";
  forget();
  EXPECT_NE(rgb(39 * 20 + 10, 400 + 10), 0u) << "the last picture shows";
  _render->fReleaseTexture(a);
  _render->fReleaseTexture(b);
}

// A page of white glyphs keeps its alpha alone, a quarter of the memory, and draws over a
// coloured ground exactly as the same page kept in four channels.
TEST_F(PictureTest, AWhitePageKeepsItsAlphaAloneAndLooksTheSame) {
  const IMAGE page = patterned("glyphs", 96, 64, 9, true);
  QC_TEXTURE* fourChannels = _render->fLoadTexture(page.file.c_str());
  QC_TEXTURE* alphaAlone =
      _render->fLoadTextureFromMemory(page.png.data(), static_cast<uint32_t>(page.png.size()), "unnamed");
  const auto drawnOverColour = [this](QC_TEXTURE* texture) {
    _render->_clearColor = QS_COLOR(0xFF336699u);
    EXPECT_EQ(_render->fBeginScene(), 1);
    drawPicture(texture, 10.5f, 20.25f);
    _render->fEndScene();
    read();
    return _pixels;
  };
  const std::vector<uint8_t> expected = drawnOverColour(fourChannels);
  const std::vector<uint8_t> drawn = drawnOverColour(alphaAlone);
  EXPECT_EQ(alphaAlone->_deviceTexture->format(), static_cast<uint32_t>(platform::kFormatA8));
  EXPECT_EQ(fourChannels->_deviceTexture->format(), static_cast<uint32_t>(platform::kFormatA8B8G8R8));
  EXPECT_EQ(largestDifference(expected, drawn), 0);
  _render->fReleaseTexture(fourChannels);
  _render->fReleaseTexture(alphaAlone);
  std::remove(page.file.c_str());
}

}  // namespace
