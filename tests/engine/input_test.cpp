#include <gtest/gtest.h>

#include <vector>

#include "core_test_util.h"
#include "engine/callback.h"
#include "engine/input.h"

namespace {

using QEL::QK_BUTTON;

std::vector<QEL::QT_CALLBACK_ARG> gDown, gUp;
int gMoves = 0;

uint32_t onDown(QEL::QT_CALLBACK_ARG code) {
  gDown.push_back(code);
  return 0;
}
uint32_t onUp(QEL::QT_CALLBACK_ARG code) {
  gUp.push_back(code);
  return 0;
}
uint32_t onMove(QEL::QT_CALLBACK_ARG) {
  ++gMoves;
  return 0;
}

class InputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gDown.clear();
    gUp.clear();
    gMoves = 0;
    QEL::qcON_KEY_DOWN = &_down;
    QEL::qcON_KEY_UP = &_up;
    QEL::qcON_MOUSE_MOVE = &_move;
  }
  void TearDown() override {
    QEL::qcON_KEY_DOWN = nullptr;
    QEL::qcON_KEY_UP = nullptr;
    QEL::qcON_MOUSE_MOVE = nullptr;
  }
  QEL::QC_CALLBACK _down{onDown, nullptr, 0};
  QEL::QC_CALLBACK _up{onUp, nullptr, 0};
  QEL::QC_CALLBACK _move{onMove, nullptr, 0};
  QK_BUTTON _input;
};

TEST_F(InputTest, RegistersItselfForTheWidgets) {
  EXPECT_EQ(QEL::qcINPUT_INSTANCE, &_input);
  EXPECT_EQ(QEL::qcMOUSE_POSITION, &_input._mouse._position);
}

TEST_F(InputTest, HeldKeyCountsUpFrameByFrame) {
  _input.fOnKeyDown(65);
  EXPECT_EQ(_input.fGetState(65), 1);
  EXPECT_TRUE(_input.fIsPressed(65));
  _input.fEndFrame();
  EXPECT_EQ(_input.fGetState(65), 2);
  _input.fEndFrame();
  EXPECT_EQ(_input.fGetState(65), 3);
  EXPECT_EQ(gDown, (std::vector<QEL::QT_CALLBACK_ARG>{65}));
}

TEST_F(InputTest, LongHoldWrapsFrom125To2) {
  _input.fOnKeyDown(65);
  _input._states[65] = 124;
  _input.fEndFrame();
  EXPECT_EQ(_input.fGetState(65), 125);
  _input.fEndFrame();
  EXPECT_EQ(_input.fGetState(65), 2);
  _input.fEndFrame();
  EXPECT_EQ(_input.fGetState(65), 3);
}

TEST_F(InputTest, RepeatedKeyDownsPushTheStateUp) {
  _input.fOnKeyDown(49);
  _input.fOnKeyDown(49);
  EXPECT_EQ(_input.fGetState(49), 2);
  _input._states[49] = 121;
  _input.fOnKeyDown(49);
  EXPECT_EQ(_input.fGetState(49), 2);
  EXPECT_EQ(gDown.size(), 3u);
}

TEST_F(InputTest, PressAndReleaseInOnePumpAreSeenOneUpdateEach) {
  _input.fOnKeyDown(1);
  _input.fOnKeyUp(1);
  EXPECT_TRUE(_input.fIsPressed(1));
  EXPECT_EQ(gUp.size(), 1u);  // the callback hears the release at once
  _input.fEndFrame();
  EXPECT_TRUE(_input.fIsReleased(1));
  _input.fEndFrame();
  EXPECT_EQ(_input.fGetState(1), 0);
}

TEST_F(InputTest, ReleaseAndPressAgainInOnePumpIsANewPress) {
  _input.fOnKeyDown(2);
  _input.fEndFrame();
  _input.fOnKeyUp(2);
  _input.fOnKeyDown(2);
  EXPECT_EQ(_input.fGetState(2), 1);
  _input.fEndFrame();
  EXPECT_EQ(_input.fGetState(2), 2);
  EXPECT_EQ(gDown.size(), 2u);
  EXPECT_EQ(gUp.size(), 1u);
}

TEST_F(InputTest, AHeldKeyLetGoIsReleasedAtOnce) {
  _input.fOnKeyDown(65);
  _input.fEndFrame();
  _input.fOnKeyDown(65);  // the keyboard's repeat
  _input.fOnKeyUp(65);
  EXPECT_TRUE(_input.fIsReleased(65));
}

TEST_F(InputTest, ShiftIsMirroredAtCode20WhichDoesNotAdvance) {
  _input.fOnKeyDown(16);
  EXPECT_EQ(_input.fGetState(16), 1);
  EXPECT_EQ(_input.fGetState(20), 1);
  _input.fEndFrame();
  _input.fEndFrame();
  EXPECT_EQ(_input.fGetState(16), 3);
  EXPECT_EQ(_input.fGetState(20), 1);
  _input.fOnKeyUp(16);
  EXPECT_EQ(_input.fGetState(16), 255);
  EXPECT_EQ(_input.fGetState(20), 255);
  _input.fEndFrame();
  EXPECT_EQ(_input.fGetState(16), 0);
  EXPECT_EQ(_input.fGetState(20), 0);
  // Tapped within one pump, Shift shows pressed, then released, on both codes.
  _input.fOnKeyDown(16);
  _input.fOnKeyUp(16);
  EXPECT_EQ(_input.fGetState(20), 1);
  _input.fEndFrame();
  EXPECT_EQ(_input.fGetState(16), 255);
  EXPECT_EQ(_input.fGetState(20), 255);
}

TEST_F(InputTest, TypedCharacterLastsOneFrame) {
  _input.fOnKeyDown(65);
  _input.fOnChar(L'a');
  EXPECT_EQ(_input.fGetTypedChar(), L'a');
  EXPECT_EQ(_input.fGetLastKey(), 65u);
  _input.fEndFrame();
  EXPECT_EQ(_input.fGetTypedChar(), 0);
  EXPECT_EQ(_input.fGetLastKey(), 0u);
}

TEST_F(InputTest, SystemKeysTypeNothingAndAreLogged) {
  coretest::LogCatcher log;
  _input.fOnKeyDown(13);
  EXPECT_TRUE(log.has("isSystemKey: 13"));
  EXPECT_EQ(_input.fGetTypedChar(), 0);
  for (uint32_t code : {8u, 13u, 16u, 17u, 35u, 36u, 37u, 38u, 39u, 40u, 45u, 46u}) {
    EXPECT_TRUE(_input.isSystemKey(code)) << code;
  }
  for (uint32_t code : {1u, 9u, 27u, 32u, 34u, 41u, 65u, 187u}) {
    EXPECT_FALSE(_input.isSystemKey(code)) << code;
  }
}

TEST_F(InputTest, TabAndEscapeTypeTheirControlCharacters) {
  _input.fOnKeyDown(9);
  EXPECT_EQ(_input.fGetTypedChar(), L'\t');
  _input.fEndFrame();
  _input.fOnKeyDown(27);
  EXPECT_EQ(_input.fGetTypedChar(), static_cast<wchar_t>(0x1B));
  _input.fEndFrame();
  _input.fOnKeyDown(112);  // F1 types nothing
  EXPECT_EQ(_input.fGetTypedChar(), 0);
}

TEST_F(InputTest, MouseMoveKeepsThePreviousPositionUntilTheEndOfFrame) {
  _input.fOnMouseMove(10, 20);
  _input.fEndFrame();
  _input.fOnMouseMove(15, 25);
  EXPECT_EQ(_input.fGetMousePosition(), QEL::QS_POINT(15, 25));
  EXPECT_EQ(_input.fGetPreviousMousePosition(), QEL::QS_POINT(10, 20));
  EXPECT_EQ(*QEL::qcMOUSE_POSITION, QEL::QS_POINT(15, 25));
  EXPECT_EQ(gMoves, 2);
}

TEST_F(InputTest, KeyUpReachesItsCallbackWithTheCode) {
  _input.fOnKeyDown(79);
  _input.fOnKeyUp(79);
  EXPECT_EQ(gUp, (std::vector<QEL::QT_CALLBACK_ARG>{79}));
}

}  // namespace
