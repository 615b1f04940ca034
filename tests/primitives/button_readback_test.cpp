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
#include "readback_fixture.h"

using namespace QEL;

namespace {

constexpr uint32_t RED = 0xFF0000u, GREEN = 0x00FF00u, BLUE = 0x0000FFu, YELLOW = 0xFFFF00u;

class ButtonReadBackTest : public ReadBackFixture<> {
 protected:
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
  std::vector<QC_TEXTURE*> _textures;
  QK_BUTTON _input;
};

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
