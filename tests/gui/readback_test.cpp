// Read-back tests: each widget kind drawn by the real renderer on the offscreen video driver,
// checked in the back buffer for the frame of its texture and its place on the screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "engine/globals.h"
#include "engine/render.h"
#include "engine/texture.h"
#include "gui/gui_button5.h"
#include "gui/gui_checkbox5.h"
#include "gui/gui_container.h"
#include "gui/gui_image.h"
#include "gui/gui_label.h"
#include "gui/gui_linebox.h"
#include "gui/gui_listbox.h"
#include "gui/gui_panel.h"
#include "gui/gui_slider.h"
#include "gui/gui_textbox.h"
#include "gui/gui_wlabel.h"
#include "gui_support.h"
#include "platform/window.h"
#include "readback_fixture.h"

using namespace QEL;
using namespace gui_test;

namespace {

constexpr uint32_t RED = 0xFF0000u, GREEN = 0x00FF00u, BLUE = 0x0000FFu, YELLOW = 0xFFFF00u, MAGENTA = 0xFF00FFu,
                   WHITE = 0xFFFFFFu, GREY = 0x808080u, CYAN = 0x00FFFFu;

struct Box {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;  // right and bottom exclusive
};

class GuiReadBackTest : public ReadBackFixture<WidgetTest> {
 protected:
  void SetUp() override {
    WidgetTest::SetUp();
    qcRENDER = sRender;
  }
  void TearDown() override {
    _container.fClear();
    for (QC_TEXTURE* t : _deviceTextures) sRender->fReleaseTexture(t);
    qcRENDER = nullptr;
    WidgetTest::TearDown();
  }

  // A device texture of side-by-side cells of the given colours.
  QC_TEXTURE* strip(int cellWidth, int height, const std::vector<uint32_t>& colours) {
    const int w = cellWidth * static_cast<int>(colours.size());
    std::vector<uint32_t> pixels(static_cast<size_t>(w * height));
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < w; ++x) pixels[static_cast<size_t>(y * w + x)] = 0xFF000000u | colours[static_cast<size_t>(x / cellWidth)];
    }
    return deviceTexture(w, height, pixels);
  }
  QC_TEXTURE* deviceTexture(int w, int h, const std::vector<uint32_t>& argb) {
    QC_TEXTURE* t = sRender->fCreateTexture(w, h);
    EXPECT_NE(t, nullptr);
    EXPECT_TRUE(t->fFill(argb.data()));
    _deviceTextures.push_back(t);
    return t;
  }
  QC_TEXTURE* solid(int w, int h, uint32_t rgb) { return strip(w, h, {rgb}); }
  // The test font on an all-white page: every glyph draws as a white box.
  QC_FONT* whiteFont() {
    if (!_whiteFont) {
      _whiteFontDoc.load_string(testFontXml().c_str());
      _whiteFont = std::make_unique<QC_FONT>(_whiteFontDoc.child("font"), solid(256, 64, WHITE), 600);
    }
    return _whiteFont.get();
  }

  // Bounds of the pixels of one colour (or of every lit pixel with colour 0xFFFFFFFF).
  Box boxOf(uint32_t colour) const {
    Box box;
    for (int y = 0; y < 768; ++y) {
      for (int x = 0; x < 1024; ++x) {
        const uint32_t c = rgb(x, y);
        if (colour == 0xFFFFFFFFu ? c == 0 : c != colour) continue;
        box.left = std::min(box.left, x);
        box.top = std::min(box.top, y);
        box.right = std::max(box.right, x + 1);
        box.bottom = std::max(box.bottom, y + 1);
      }
    }
    return box;
  }
  Box litBox() const { return boxOf(0xFFFFFFFFu); }
  // Every pixel inside the rectangle's border has the colour.
  void expectArea(int left, int top, int right, int bottom, uint32_t colour) const {
    EXPECT_EQ(wrongIn(left, top, right, bottom, colour), 0)
        << "area " << left << "," << top << " - " << right << "," << bottom;
  }
  void expectLit(int left, int top, int right, int bottom) const {
    const Box box = litBox();
    EXPECT_EQ(box.left, left);
    EXPECT_EQ(box.top, top);
    EXPECT_EQ(box.right, right);
    EXPECT_EQ(box.bottom, bottom);
  }

  std::vector<QC_TEXTURE*> _deviceTextures;
  pugi::xml_document _whiteFontDoc;
  std::unique_ptr<QC_FONT> _whiteFont;
  QC_GUI_CONTAINER _container;
};

TEST_F(GuiReadBackTest, ButtonDrawsTheFrameOfItsStateCentredOnItsPlace) {
  auto* button = new QC_GUI_BUTTON5(1, strip(50, 40, {RED, GREEN, BLUE, YELLOW, MAGENTA}));
  button->fSetPosition(400.0f, 300.0f, 0.0f);
  _container.fAdd(button);
  frame([&] { _container.fDraw(); });
  expectLit(375, 280, 425, 320);
  expectArea(375, 280, 425, 320, RED);
  move(400, 300);
  step(_container);
  frame([&] { _container.fDraw(); });
  expectArea(375, 280, 425, 320, GREEN);
  button->fDisable();
  _container.fSetPosition(100.0f, 50.0f, 0.0f);  // the tree moves with its root
  frame([&] { _container.fDraw(); });
  expectLit(475, 330, 525, 370);
  expectArea(475, 330, 525, 370, MAGENTA);
}

TEST_F(GuiReadBackTest, TickedCheckBoxDrawsTheHoverFrameUnderTheTick) {
  // Frame 3, the tick, is transparent but for its middle 10 x 10.
  std::vector<uint32_t> pixels(250 * 40);
  const uint32_t frames[5] = {RED, GREEN, BLUE, 0, MAGENTA};
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 250; ++x) {
      const int f = x / 50;
      uint32_t c = 0xFF000000u | frames[f];
      if (f == 3) c = (x % 50 >= 20 && x % 50 < 30 && y >= 15 && y < 25) ? 0xFFFFFF00u : 0x00000000u;
      pixels[static_cast<size_t>(y * 250 + x)] = c;
    }
  }
  auto* box = new QC_GUI_CHECKBOX5(2, deviceTexture(250, 40, pixels));
  box->fSetPosition(200.0f, 200.0f, 0.0f);
  _container.fAdd(box);
  move(200, 200);
  step(_container);
  press();
  step(_container);
  release();
  step(_container);  // ticked, the pointer over it
  ASSERT_TRUE(box->fIsChecked());
  step(_container);
  frame([&] { _container.fDraw(); });
  expectLit(175, 180, 225, 220);
  expectArea(176, 181, 190, 195, GREEN);
  expectArea(196, 196, 204, 204, YELLOW);
}

TEST_F(GuiReadBackTest, ImageAndPanelDrawWhereTheyAre) {
  auto* image = new QC_GUI_IMAGE(3, solid(60, 30, CYAN));
  image->fSetPosition(100.0f, 100.0f, 0.0f);
  auto* panel = new QC_GUI_PANEL(4, solid(80, 40, GREY));
  panel->fSetPosition(500.0f, 500.0f, 0.0f);
  _container.fAdd(image);
  _container.fAdd(panel);
  frame([&] { _container.fDraw(); });
  expectArea(70, 85, 130, 115, CYAN);
  expectArea(460, 480, 540, 520, GREY);
  // Dragged by 100 to the right.
  move(500, 500);
  step(_container);
  press();
  step(_container);
  move(600, 500);
  step(_container);
  release();
  step(_container);
  frame([&] { _container.fDraw(); });
  const Box grey = boxOf(GREY);
  EXPECT_EQ(grey.left, 560);
  EXPECT_EQ(grey.right, 640);
}

TEST_F(GuiReadBackTest, LineBoxDrawsItsBackgroundTextAndCaret) {
  auto* box = new QC_GUI_LINEBOX(5, solid(200, 40, BLUE), whiteFont());
  box->fSetPosition(500.0f, 400.0f, 0.0f);
  _container.fAdd(box);
  ASSERT_TRUE(box->fSetText(L"ab"));  // caret at 0, shown
  frame([&] { _container.fDraw(); });
  expectArea(450, 380, 600, 420, BLUE);
  // The text starts 10 in from the area's left edge (404); glyphs are shifted by half the
  // lowest glyph (5, 8); the caret is 2 to the left of the first glyph.
  const Box white = boxOf(WHITE);
  EXPECT_EQ(white.left, 414 - 2 - 5);
  EXPECT_EQ(white.right, 414 + 20 - 5);
  EXPECT_EQ(white.top, 392);
  EXPECT_EQ(white.bottom, 408);
  EXPECT_EQ(rgb(410, 400), WHITE);
  box->fSetCaretVisible(false);
  frame([&] { _container.fDraw(); });
  EXPECT_EQ(boxOf(WHITE).left, 414 - 5);
}

// Each widget that sets a line of text, with the font at half size: the letters' run is as
// wide as the font says the text is, not spread apart by the glyphs' unscaled widths.
TEST_F(GuiReadBackTest, EveryTextWidgetSetsAScaledFontsLettersAsTheFontMeasuresThem) {
  QC_FONT* font = whiteFont();
  font->_sprite->_node->fSetScale(0.5f, 0.5f, 1.0f);
  const auto lineBox = [&]() -> QC_GUI_OBJECT* {
    auto* box = new QC_GUI_LINEBOX(5, solid(200, 40, BLUE), font);
    box->fSetText(L"abab");
    box->fSetCaretVisible(false);
    return box;
  };
  const auto textBox = [&]() -> QC_GUI_OBJECT* {
    auto* box = new QC_GUI_TEXTBOX(6, font, solid(200, 40, BLUE));
    box->fSetText("abab");
    return box;
  };
  const auto label = [&]() -> QC_GUI_OBJECT* { return new QC_GUI_LABEL(8, font, "abab"); };
  const auto wideLabel = [&]() -> QC_GUI_OBJECT* { return new QC_GUI_WLABEL(7, font, L"abab"); };
  const std::vector<std::pair<const char*, std::function<QC_GUI_OBJECT*()>>> widgets = {
      {"line box", lineBox}, {"text box", textBox}, {"label", label}, {"wide label", wideLabel}};
  for (const auto& [name, make] : widgets) {
    _container.fClear();
    QC_GUI_OBJECT* widget = make();
    widget->fSetPosition(500.0f, 400.0f, 0.0f);
    _container.fAdd(widget);
    frame([&] { _container.fDraw(); });
    const Box white = boxOf(WHITE);
    EXPECT_NEAR(white.right - white.left, font->fGetLineWidth(L"abab"), 3) << name;
  }
  font->_sprite->_node->fSetScale(1.0f, 1.0f, 1.0f);
}

TEST_F(GuiReadBackTest, TextBoxDrawsItsGlyphsFromTheLeftMargin) {
  auto* box = new QC_GUI_TEXTBOX(6, whiteFont(), solid(200, 40, BLUE));
  box->fSetPosition(300.0f, 200.0f, 0.0f);
  _container.fAdd(box);
  box->fSetText("12");
  frame([&] { _container.fDraw(); });
  expectArea(200, 180, 400, 190, BLUE);
  const Box white = boxOf(WHITE);  // start 210, glyphs shifted by (5, 8)
  EXPECT_EQ(white.left, 205);
  EXPECT_EQ(white.right, 225);
  EXPECT_EQ(white.top, 192);
  EXPECT_EQ(white.bottom, 208);
}

TEST_F(GuiReadBackTest, LabelsDrawTheirTextAtTheirNode) {
  auto* wide = new QC_GUI_WLABEL(7, whiteFont(), L"ab");
  wide->fSetPosition(600.0f, 100.0f, 0.0f);
  _container.fAdd(wide);
  frame([&] { _container.fDraw(); });
  // Anchor 0: centred (-10) and lifted by a quarter line (-5), glyphs shifted by (5, 8).
  expectLit(585, 87, 605, 103);
  wide->fSetAnchor(1);
  frame([&] { _container.fDraw(); });
  expectLit(595, 92, 615, 108);
  _container.fClear();

  auto* narrow = new QC_GUI_LABEL(8, whiteFont(), "ab");
  narrow->fSetPosition(300.0f, 600.0f, 0.0f);
  _container.fAdd(narrow);
  narrow->fSetFont(whiteFont());  // centred, and the font's node now hangs under the label
  frame([&] { _container.fDraw(); });
  expectLit(285, 587, 305, 603);
}

TEST_F(GuiReadBackTest, SliderDrawsTheThumbFrameAtItsValue) {
  // Frames 10 wide: caps 0-5 grey, thumb 6-8 red, green, blue, track 9-11 white.
  QS_SLIDER_PARAMS p;
  p.startX = 100.0f;
  p.startY = 300.0f;
  p.endX = 400.0f;
  p.endY = 300.0f;
  p.thickness = 20.0f;
  p.radius = 10.0f;
  p.maximum = 10.0f;
  auto* slider = new QC_GUI_SLIDER12(
      9, strip(10, 10, {GREY, GREY, GREY, GREY, GREY, GREY, RED, GREEN, BLUE, WHITE, WHITE, WHITE}), p);
  _container.fAdd(slider);
  slider->fSetValue(5.0f);  // x 130 + 5 x 24 = 250
  frame([&] { _container.fDraw(); });
  expectArea(245, 295, 255, 305, RED);
  EXPECT_EQ(rgb(200, 300), WHITE);
  move(250, 300);
  step(_container);
  frame([&] { _container.fDraw(); });
  expectArea(245, 295, 255, 305, GREEN);
}

TEST_F(GuiReadBackTest, ListBoxDrawsThePanelAndTheSelectedRowBar) {
  _whiteFontDoc.load_string(testFontXml().c_str());
  auto* list = new QC_GUI_LISTBOX(10, solid(200, 90, GREY), strip(10, 10, std::vector<uint32_t>(12, RED)),
                                  solid(10, 10, YELLOW), _whiteFontDoc.child("font"), solid(256, 64, WHITE));
  list->fSetPosition(500.0f, 400.0f, 0.0f);
  for (const char* item : {"ab", "cd", "ef", "gh"}) list->fAddItem(item);
  _container.fAdd(list);
  move(450, 390);  // the second row
  press();
  step(_container);
  release();
  step(_container);
  ASSERT_EQ(list->fGetSelectedIndex(), 1);
  frame([&] { _container.fDraw(); });
  expectArea(480, 356, 560, 384, GREY);
  expectArea(480, 386, 560, 414, YELLOW);
  EXPECT_EQ(rgb(590, 360), RED);  // the scroll bar inside the right edge
  // Row texts are black, from x = 410 and a half line above the row's middle, less the
  // glyph shift (5, 8).
  EXPECT_EQ(rgb(410, 390), 0u);
  EXPECT_EQ(rgb(410, 400), YELLOW);
}

}  // namespace
