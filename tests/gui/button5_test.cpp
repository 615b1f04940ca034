// The five-frame button: hover, press, click, leaving while pressed, the disabled and
// selected states, the frame shown, its size and the texture it hands back.
#include <gtest/gtest.h>

#include "gui/gui_button5.h"
#include "gui/gui_container.h"
#include "gui_support.h"

using namespace QEL;
using namespace gui_test;

namespace {

std::vector<QT_CALLBACK_ARG> gCalls;

uint32_t recordCall(QT_CALLBACK_ARG argument) {
  gCalls.push_back(argument);
  return 0;
}

class Button5Test : public WidgetTest {
 protected:
  // A 250 x 40 strip: frames 50 wide; the button's rectangle is x 375..425, y 280..320.
  QC_GUI_BUTTON5* addButton(int32_t id, float x, float y) {
    auto* button = new QC_GUI_BUTTON5(id, texture(250, 40));
    button->fSetPosition(x, y, 0.0f);
    _container.fAdd(button);
    return button;
  }
  // The frame the sprite shows, from its texture coordinates.
  static int frameShown(QC_GUI_BUTTON5* button) {
    return static_cast<int>(button->fGetSprite()->_vertices[0].u * 5.0f + 0.5f);
  }
  void TearDown() override {
    _container.fClear();
    WidgetTest::TearDown();
  }
  QC_GUI_CONTAINER _container;
};

TEST_F(Button5Test, HoverPressClickAndLeave) {
  QC_GUI_BUTTON5* button = addButton(10, 400.0f, 300.0f);
  move(100, 100);
  EXPECT_EQ(step(_container), Event{});

  move(400, 300);
  EXPECT_EQ(step(_container), (Event{10, ENTER}));
  EXPECT_EQ(button->fGetState(), 1);
  EXPECT_TRUE(button->fHasFocus());
  EXPECT_EQ(frameShown(button), 1);

  press();
  EXPECT_EQ(step(_container), (Event{10, PRESS}));
  EXPECT_EQ(frameShown(button), 1);  // the pressed frame lags one update
  EXPECT_EQ(step(_container), Event{});
  EXPECT_EQ(frameShown(button), 2);

  release();
  EXPECT_EQ(step(_container), (Event{10, CLICK}));
  EXPECT_EQ(button->fGetState(), 1);
  EXPECT_EQ(frameShown(button), 1);

  move(500, 300);
  EXPECT_EQ(step(_container), (Event{10, LEAVE}));
  EXPECT_EQ(button->fGetState(), 0);
  EXPECT_FALSE(button->fHasFocus());
}

// A touch: the pointer arrives in the update of the press. The press is not lost.
TEST_F(Button5Test, APressInTheUpdateThePointerArrivesClicks) {
  QC_GUI_BUTTON5* button = addButton(10, 400.0f, 300.0f);
  move(400, 300);
  press();
  EXPECT_EQ(step(_container), (Event{10, PRESS}));
  EXPECT_EQ(step(_container), Event{});  // still held: no new press
  release();
  EXPECT_EQ(step(_container), (Event{10, CLICK}));
  EXPECT_EQ(button->fGetState(), 1);
}

TEST_F(Button5Test, LeavingWhilePressedLosesTheClick) {
  QC_GUI_BUTTON5* button = addButton(10, 400.0f, 300.0f);
  move(400, 300);
  step(_container);
  press();
  EXPECT_EQ(step(_container), (Event{10, PRESS}));
  move(600, 300);
  EXPECT_EQ(step(_container), (Event{10, LEAVE}));
  move(400, 300);
  EXPECT_EQ(step(_container), (Event{10, ENTER}));
  release();
  EXPECT_EQ(step(_container), Event{});
  EXPECT_EQ(button->fGetState(), 1);

  // Released and out in the same update: the leave replaces the click.
  press();
  EXPECT_EQ(step(_container), (Event{10, PRESS}));
  release();
  move(600, 300);
  EXPECT_EQ(step(_container), (Event{10, LEAVE}));
}

TEST_F(Button5Test, ClickStartedOnOneButtonAndEndedOnAnotherClicksNeither) {
  QC_GUI_BUTTON5* first = addButton(1, 400.0f, 300.0f);
  QC_GUI_BUTTON5* second = addButton(2, 500.0f, 300.0f);
  move(400, 300);
  EXPECT_EQ(step(_container), (Event{1, ENTER}));
  press();
  EXPECT_EQ(step(_container), (Event{1, PRESS}));
  move(500, 300);
  EXPECT_EQ(step(_container), (Event{1, LEAVE}));  // the second button misses this update
  EXPECT_EQ(step(_container), (Event{2, ENTER}));
  release();
  EXPECT_EQ(step(_container), Event{});
  EXPECT_EQ(first->fGetState(), 0);
  EXPECT_EQ(second->fGetState(), 1);
}

TEST_F(Button5Test, DisabledAndSelectedButtonsNeverReportAndKeepTheirFrame) {
  QC_GUI_BUTTON5* button = addButton(10, 400.0f, 300.0f);
  button->fDisable();
  EXPECT_EQ(frameShown(button), 4);
  move(400, 300);
  EXPECT_EQ(step(_container), Event{});
  press();
  EXPECT_EQ(step(_container), Event{});
  release();
  EXPECT_EQ(step(_container), Event{});
  EXPECT_EQ(button->fGetState(), 4);
  EXPECT_EQ(frameShown(button), 4);

  button->fSetSelected();
  press();
  EXPECT_EQ(step(_container), Event{});
  release();
  EXPECT_EQ(step(_container), Event{});
  EXPECT_EQ(frameShown(button), 3);

  button->fEnable();
  EXPECT_EQ(frameShown(button), 0);
  EXPECT_EQ(step(_container), (Event{10, ENTER}));  // the pointer is already over it
}

TEST_F(Button5Test, EachCallbackGetsTheButton) {
  QC_GUI_BUTTON5* button = addButton(10, 400.0f, 300.0f);
  QC_CALLBACK callback(recordCall, "record", 0);
  button->fSetEnterCallback(&callback);
  button->fSetPressCallback(&callback);
  button->fSetClickCallback(&callback);
  button->fSetLeaveCallback(&callback);
  gCalls.clear();
  move(400, 300);
  step(_container);
  press();
  step(_container);
  release();
  step(_container);
  move(0, 0);
  step(_container);
  const auto self = reinterpret_cast<QT_CALLBACK_ARG>(button);
  EXPECT_EQ(gCalls, (std::vector<QT_CALLBACK_ARG>{self, self, self, self}));
}

TEST_F(Button5Test, FrameAndHitRectangleSizes) {
  auto* even = new QC_GUI_BUTTON5(1, texture(250, 40));
  auto* odd = new QC_GUI_BUTTON5(2, texture(251, 40));
  EXPECT_FLOAT_EQ(even->fGetWidth(), 50.0f);
  EXPECT_FLOAT_EQ(even->fGetHeight(), 40.0f);
  EXPECT_FLOAT_EQ(even->fGetHitShape()->fGetWidth(), 50.0f);
  EXPECT_FLOAT_EQ(odd->fGetWidth(), 50.0f);
  EXPECT_NEAR(odd->fGetHitShape()->fGetWidth(), 50.2f, 1e-4);
  delete even;
  delete odd;
}

TEST_F(Button5Test, DestructionHandsTheStripBackOnce) {
  QC_TEXTURE* strip = texture(250, 40);
  auto* button = new QC_GUI_BUTTON5(1, strip);
  _container.fAdd(button);
  _container.fDelete(button);
  EXPECT_EQ(timesReleased(strip), 1);
  EXPECT_EQ(releasedTextures().size(), 1u);
}

}  // namespace
