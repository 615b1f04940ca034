// The stand-alone push button and toggle: polling results, states, frames and callbacks.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/callback.h"
#include "engine/input.h"
#include "primitives/button.h"
#include "support.h"

using namespace QEL;

namespace {

std::vector<std::string> gCalls;

uint32_t record(QT_CALLBACK_ARG argument) {
  gCalls.push_back(reinterpret_cast<const char*>(argument));
  return 0;
}

class StandAloneButtonTest : public ::testing::Test {
 protected:
  void SetUp() override { gCalls.clear(); }
  template <class BUTTON>
  void wire(BUTTON& b) {
    b._onEnter = &_enter;
    b._onLeave = &_leave;
    b._onPress = &_press;
    b._onLeftClick = &_left;
    b._onRightClick = &_right;
  }
  template <class BUTTON>
  int32_t poll(BUTTON& b) {
    const int32_t result = b.fUpdate();
    _input.fEndFrame();
    return result;
  }
  template <class BUTTON>
  static int frame(BUTTON& b) {
    return static_cast<int>(b.fGetSprite()->_vertices[0].u * 5.0f + 0.5f);
  }

  QK_BUTTON _input;
  std::unique_ptr<QC_TEXTURE> _strip{primitives_test::makeSizedTexture(250, 40)};
  QC_CALLBACK _enter{record, "enter", reinterpret_cast<QT_CALLBACK_ARG>("enter")};
  QC_CALLBACK _leave{record, "leave", reinterpret_cast<QT_CALLBACK_ARG>("leave")};
  QC_CALLBACK _press{record, "press", reinterpret_cast<QT_CALLBACK_ARG>("press")};
  QC_CALLBACK _left{record, "left", reinterpret_cast<QT_CALLBACK_ARG>("left")};
  QC_CALLBACK _right{record, "right", reinterpret_cast<QT_CALLBACK_ARG>("right")};
};

TEST_F(StandAloneButtonTest, ClickNeedsPressAndReleaseOverTheButton) {
  QC_BUTTON button(_strip.get(), nullptr, QS_HIT_SHAPE::TYPE_RECTANGLE, 0.0f, 0.0f);
  wire(button);
  button.fGetNode()->fSetPosition(100.0f, 100.0f, 0.0f);
  EXPECT_FLOAT_EQ(button.fGetHitShape()->fGetWidth(), 50.0f);
  _input.fOnMouseMove(100, 100);
  EXPECT_EQ(poll(button), 1);
  _input.fOnKeyDown(1);
  EXPECT_EQ(poll(button), 0);
  EXPECT_EQ(button.fGetState(), 2);
  EXPECT_EQ(frame(button), 2);
  _input.fOnKeyUp(1);
  EXPECT_EQ(poll(button), QC_BUTTON_CLICKED);
  EXPECT_EQ(button.fGetState(), 1);
  EXPECT_EQ(gCalls, (std::vector<std::string>{"enter", "press", "left"}));

  gCalls.clear();
  _input.fOnKeyDown(1);
  poll(button);
  _input.fOnMouseMove(300, 100);
  _input.fOnKeyUp(1);
  EXPECT_EQ(poll(button), 0);
  EXPECT_EQ(button.fGetState(), 0);
  EXPECT_EQ(gCalls, (std::vector<std::string>{"press", "leave"}));
}

TEST_F(StandAloneButtonTest, EnteringWithTheButtonDownPressesAtOnce) {
  QC_BUTTON button(_strip.get(), nullptr, QS_HIT_SHAPE::TYPE_RECTANGLE, 0.0f, 0.0f);
  wire(button);
  _input.fOnMouseMove(0, 0);
  _input.fOnKeyDown(1);
  EXPECT_EQ(poll(button), 2);
  EXPECT_EQ(gCalls, (std::vector<std::string>{"enter", "press"}));
}

TEST_F(StandAloneButtonTest, BothButtonsHeldGiveOneClickWithoutCallback) {
  QC_BUTTON button(_strip.get(), nullptr, QS_HIT_SHAPE::TYPE_RECTANGLE, 0.0f, 0.0f);
  wire(button);
  _input.fOnMouseMove(0, 0);
  poll(button);
  _input.fOnKeyDown(1);
  _input.fOnKeyDown(2);
  EXPECT_EQ(poll(button), 0);
  EXPECT_EQ(gCalls, (std::vector<std::string>{"enter", "press", "press"}));
  gCalls.clear();
  _input.fOnKeyUp(1);
  EXPECT_EQ(poll(button), QC_BUTTON_CLICKED);  // no click callback while the other is held
  EXPECT_EQ(button.fGetState(), 1);
  _input.fOnKeyUp(2);
  EXPECT_EQ(poll(button), 0);
  EXPECT_EQ(button.fGetState(), 1);
  EXPECT_TRUE(gCalls.empty());

  // One button alone: its own click callback.
  _input.fOnKeyDown(2);
  poll(button);
  _input.fOnKeyUp(2);
  EXPECT_EQ(poll(button), QC_BUTTON_CLICKED);
  EXPECT_EQ(gCalls, (std::vector<std::string>{"press", "right"}));
}

TEST_F(StandAloneButtonTest, FixedStatesIgnoreTheMouseAndCirclesTakeHalfTheWidth) {
  QC_BUTTON button(_strip.get(), nullptr, QS_HIT_SHAPE::TYPE_CIRCLE, 40.0f, 0.0f);
  EXPECT_FLOAT_EQ(button.fGetHitShape()->fGetWidth(), 20.0f);
  wire(button);
  button.fSetState(3);
  _input.fOnMouseMove(0, 0);
  _input.fOnKeyDown(1);
  EXPECT_EQ(poll(button), 0);
  _input.fOnKeyUp(1);
  EXPECT_EQ(poll(button), 0);
  EXPECT_EQ(button.fGetState(), 3);
  EXPECT_TRUE(gCalls.empty());
  button.fReset();
  EXPECT_EQ(frame(button), 0);
}

TEST_F(StandAloneButtonTest, ToggleChecksAndUnchecks) {
  QC_TOGGLE toggle(_strip.get());
  wire(toggle);
  _input.fOnMouseMove(0, 0);
  EXPECT_EQ(poll(toggle), 0);
  EXPECT_EQ(frame(toggle), 1);
  _input.fOnKeyDown(1);
  poll(toggle);
  _input.fOnKeyUp(1);
  EXPECT_EQ(poll(toggle), QC_BUTTON_CLICKED);
  EXPECT_TRUE(toggle.fIsChecked());
  EXPECT_EQ(frame(toggle), 3);

  // Checked and left: still checked.
  _input.fOnMouseMove(300, 300);
  EXPECT_EQ(poll(toggle), 0);
  EXPECT_TRUE(toggle.fIsChecked());
  _input.fOnMouseMove(0, 0);
  poll(toggle);
  _input.fOnKeyDown(1);
  poll(toggle);
  _input.fOnKeyUp(1);
  EXPECT_EQ(poll(toggle), QC_BUTTON_CLICKED);
  EXPECT_EQ(toggle.fGetState(), 1);
  EXPECT_EQ(gCalls, (std::vector<std::string>{"enter", "press", "left", "press", "left"}));
}

}  // namespace
