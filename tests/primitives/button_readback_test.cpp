// The stand-alone button and toggle drawn by the real renderer on the offscreen video driver:
// the frame of their state at their place, and a checked toggle's hover frame under its check.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/globals.h"
#include "engine/input.h"
#include "engine/render.h"
#include "engine/texture.h"
#include "platform/window.h"
#include "primitives/button.h"

using namespace QEL;

namespace {

constexpr uint32_t RED = 0xFF0000u, GREEN = 0x00FF00u, BLUE = 0x0000FFu, YELLOW = 0xFFFF00u;

class ButtonReadBackTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(platform::initVideo());
    if (sWindow == nullptr) sWindow = platform::createWindow("button read-back", 1024, 768);
    ASSERT_NE(sWindow, nullptr);
    sRender = new QC_RENDER;
    ASSERT_EQ(sRender->fInit(sWindow, 0.1f, 0.0f), 1);
    sRender->_clearColor = 0xFF000000u;
  }
  static void TearDownTestSuite() {
    delete sRender;
    sRender = nullptr;
  }
  void TearDown() override {
    for (QC_TEXTURE* t : _textures) sRender->fReleaseTexture(t);
  }

  // Five 50 x 40 frames: red, green, blue, a check (transparent but for a yellow middle
  // 10 x 10), and blue again.
  QC_TEXTURE* strip() {
    std::vector<uint32_t> pixels(250 * 40);
    const uint32_t frames[5] = {RED, GREEN, BLUE, 0, BLUE};
    for (int y = 0; y < 40; ++y) {
      for (int x = 0; x < 250; ++x) {
        const int f = x / 50;
        uint32_t c = 0xFF000000u | frames[f];
        if (f == 3) c = (x % 50 >= 20 && x % 50 < 30 && y >= 15 && y < 25) ? 0xFFFFFF00u : 0u;
        pixels[static_cast<size_t>(y * 250 + x)] = c;
      }
    }
    QC_TEXTURE* t = sRender->fCreateTexture(250, 40);
    EXPECT_TRUE(t->fFill(pixels.data()));
    _textures.push_back(t);
    return t;
  }
  template <class DRAW>
  void frame(DRAW draw) {
    ASSERT_EQ(sRender->fBeginScene(), 1);
    draw();
    ASSERT_EQ(sRender->fEndScene(), 0);
    int32_t w = 0, h = 0;
    ASSERT_TRUE(sRender->fReadBackBuffer(_pixels, w, h));
  }
  uint32_t rgb(int x, int y) const {
    const uint8_t* p = &_pixels[(static_cast<size_t>(y) * 1024 + x) * 4];
    return (static_cast<uint32_t>(p[0]) << 16) | (static_cast<uint32_t>(p[1]) << 8) | p[2];
  }
  // Inside the border, which blends with the neighbouring texels.
  int wrongIn(int left, int top, int right, int bottom, uint32_t colour) const {
    int wrong = 0;
    for (int y = top + 1; y < bottom - 1; ++y) {
      for (int x = left + 1; x < right - 1; ++x) wrong += rgb(x, y) != colour ? 1 : 0;
    }
    return wrong;
  }

  static platform::WindowHandle sWindow;
  static QC_RENDER* sRender;
  std::vector<QC_TEXTURE*> _textures;
  std::vector<uint8_t> _pixels;
  QK_BUTTON _input;
};

platform::WindowHandle ButtonReadBackTest::sWindow = nullptr;
QC_RENDER* ButtonReadBackTest::sRender = nullptr;

TEST_F(ButtonReadBackTest, ButtonShowsTheFrameOfItsStateCentredOnItsNode) {
  QC_BUTTON button(strip(), nullptr, QS_HIT_SHAPE::TYPE_RECTANGLE, 0.0f, 0.0f);
  button.fGetNode()->fSetPosition(300.0f, 200.0f, 0.0f);
  frame([&] { button.fDraw(); });
  EXPECT_EQ(wrongIn(275, 180, 325, 220, RED), 0);
  EXPECT_EQ(rgb(270, 200), 0u);
  _input.fOnMouseMove(300, 200);
  button.fUpdate();  // enters: the frame changes from the next poll on
  _input.fEndFrame();
  button.fUpdate();
  frame([&] { button.fDraw(); });
  EXPECT_EQ(wrongIn(275, 180, 325, 220, GREEN), 0);
}

TEST_F(ButtonReadBackTest, CheckedToggleDrawsTheHoverFrameUnderTheCheck) {
  QC_TOGGLE toggle(strip());
  toggle.fGetNode()->fSetPosition(500.0f, 400.0f, 0.0f);
  _input.fOnMouseMove(500, 400);
  toggle.fUpdate();
  _input.fEndFrame();
  _input.fOnKeyDown(1);
  toggle.fUpdate();
  _input.fEndFrame();
  _input.fOnKeyUp(1);
  ASSERT_EQ(toggle.fUpdate(), QC_BUTTON_CLICKED);
  _input.fEndFrame();
  toggle.fUpdate();  // checked, hovered
  ASSERT_TRUE(toggle.fIsChecked());
  frame([&] { toggle.fDraw(); });
  EXPECT_EQ(wrongIn(475, 380, 490, 395, GREEN), 0);
  EXPECT_EQ(wrongIn(495, 395, 505, 405, YELLOW), 0);

  _input.fOnMouseMove(800, 100);
  _input.fEndFrame();
  toggle.fUpdate();  // checked, not hovered
  frame([&] { toggle.fDraw(); });
  EXPECT_EQ(wrongIn(475, 380, 490, 395, RED), 0);
}

}  // namespace
