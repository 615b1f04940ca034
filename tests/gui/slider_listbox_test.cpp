// Progress values, the slider's caps and thumb (dragged past both ends) and the list box
// (selection by pointer and keys, scrolled past its last item).
#include <gtest/gtest.h>

#include <cmath>

#include "gui/gui_container.h"
#include "gui/gui_listbox.h"
#include "gui/gui_progress.h"
#include "gui/gui_slider.h"
#include "gui_support.h"

using namespace QEL;
using namespace gui_test;

namespace {

class CountingProgress : public QC_BASEPROGRESS {
 public:
  using QC_BASEPROGRESS::QC_BASEPROGRESS;
  int changes = 0;

 protected:
  void fOnValueChanged() override { ++changes; }
};

TEST(ProgressTest, ValuesClampAndPercentagesFollowTheRange) {
  CountingProgress bar(1, 10.0f, 20.0f);
  EXPECT_FLOAT_EQ(bar.fGetValue(), 10.0f);
  bar.fSetValue(25.0f);
  EXPECT_FLOAT_EQ(bar.fGetValue(), 20.0f);
  EXPECT_TRUE(bar.fIsFull());
  bar.fSetValue(12.5f);
  EXPECT_FLOAT_EQ(bar.fGetPercent(), 25.0f);
  EXPECT_FALSE(bar.fIsFull());
  bar.fAddPercent(50.0f);
  EXPECT_FLOAT_EQ(bar.fGetValue(), 17.5f);
  bar.fSetPercent(-20.0f);
  EXPECT_FLOAT_EQ(bar.fGetValue(), 10.0f);
  bar.fAddValue(-3.0f);
  EXPECT_FLOAT_EQ(bar.fGetValue(), 10.0f);
  EXPECT_EQ(bar.changes, 5);
  bar.fSetRange(0.0f, 0.0f);  // no clamping, no hook
  EXPECT_EQ(bar.changes, 5);
  bar.fSetValue(3.0f);  // an empty range is full, not a division by zero
  EXPECT_FLOAT_EQ(bar.fGetPercent(), 100.0f);

  CountingProgress plain(2);
  EXPECT_FLOAT_EQ(plain.fGetMax(), 100.0f);
  EXPECT_FLOAT_EQ(plain.fGetValue(), 0.0f);
}

class SliderTest : public WidgetTest {
 protected:
  // Track (100, 300) - (400, 300), thickness 20: ends pulled in to x 110 and 390, node at 250;
  // margin 20, so one value unit is (280 - 40) / 10 = 24 pixels and value 0 sits at x 130.
  void SetUp() override {
    WidgetTest::SetUp();
    QS_SLIDER_PARAMS p;
    p.startX = 100.0f;
    p.startY = 300.0f;
    p.endX = 400.0f;
    p.endY = 300.0f;
    p.thickness = 20.0f;
    p.radius = 10.0f;
    p.factor = 1.0f;
    p.minimum = 0.0f;
    p.maximum = 10.0f;
    p.step = 1.0f;
    p.value = 0.0f;
    _slider = std::make_unique<QC_GUI_SLIDER12>(70, texture(120, 10), p);
  }
  float thumbX() const { return _slider->fGetThumbNode()->fGetWorld(false, false, false)._position.x; }
  std::unique_ptr<QC_GUI_SLIDER12> _slider;
};

TEST_F(SliderTest, ConstructionPlacesTheEndsAndTheThumb) {
  EXPECT_FLOAT_EQ(_slider->fGetTransform()->_position.x, 250.0f);
  EXPECT_FLOAT_EQ(_slider->fGetStartNode()->_position.x, -140.0f);
  EXPECT_FLOAT_EQ(_slider->fGetEndNode()->_position.x, 140.0f);
  EXPECT_FLOAT_EQ(thumbX(), 130.0f);
  EXPECT_FLOAT_EQ(_slider->fGetLength(), 300.0f);
  _slider->fSetValue(4.0f);
  EXPECT_FLOAT_EQ(thumbX(), 130.0f + 4.0f * 24.0f);
  _slider->fSetValue(99.0f);
  EXPECT_FLOAT_EQ(_slider->fGetValue(), 10.0f);
  EXPECT_FLOAT_EQ(_slider->fGetWidth(), 300.0f);
  EXPECT_FLOAT_EQ(_slider->fGetHeight(), 10.0f);
}

TEST_F(SliderTest, ThumbDraggedPastEitherEndStopsAtTheRange) {
  move(130, 300);
  EXPECT_EQ(step(*_slider), Event{});
  EXPECT_EQ(_slider->fGetEventCode(), ENTER);
  press();
  EXPECT_EQ(step(*_slider), (Event{70, PRESS}));
  move(500, 300);
  EXPECT_EQ(step(*_slider), (Event{70, CHANGE}));
  EXPECT_FLOAT_EQ(_slider->fGetValue(), 10.0f);
  EXPECT_FLOAT_EQ(thumbX(), 370.0f);  // the end less the margin
  move(238, 305);  // 4.5 units along the track
  EXPECT_EQ(step(*_slider), (Event{70, CHANGE}));
  EXPECT_FLOAT_EQ(_slider->fGetValue(), 4.0f);
  EXPECT_FLOAT_EQ(thumbX(), 238.0f);  // follows the pointer until the release
  release();
  EXPECT_EQ(step(*_slider), (Event{70, CLICK}));
  EXPECT_FLOAT_EQ(thumbX(), 130.0f + 4.0f * 24.0f);  // snapped to the value
  EXPECT_EQ(_slider->fGetThumbState(), 1);

  move(226, 300);
  press();
  EXPECT_EQ(step(*_slider), (Event{70, PRESS}));
  move(0, 300);
  EXPECT_EQ(step(*_slider), (Event{70, CHANGE}));
  EXPECT_FLOAT_EQ(_slider->fGetValue(), 0.0f);
  EXPECT_FLOAT_EQ(thumbX(), 130.0f);
  move(0, 300);
  EXPECT_EQ(step(*_slider), (Event{70, CHANGE}));  // a pressed thumb reports every update
  release();
  EXPECT_EQ(step(*_slider), (Event{70, CLICK}));
  EXPECT_FLOAT_EQ(_slider->fGetValue(), 0.0f);
  EXPECT_EQ(step(*_slider), Event{});
}

TEST_F(SliderTest, CapsStepTheValueOnAClickOverThem) {
  _slider->fSetValue(5.0f);
  move(110, 300);
  EXPECT_EQ(step(*_slider), Event{});
  EXPECT_EQ(_slider->fGetEventCode(), ENTER);
  press();
  EXPECT_EQ(step(*_slider), (Event{70, PRESS}));
  EXPECT_EQ(step(*_slider), (Event{70, 0}));  // a pressed cap returns the record with no code
  release();
  EXPECT_EQ(step(*_slider), (Event{70, CLICK}));
  EXPECT_FLOAT_EQ(_slider->fGetValue(), 4.0f);

  move(390, 300);
  step(*_slider);  // leaves the start cap
  step(*_slider);  // enters the end cap
  EXPECT_EQ(_slider->fGetEndState(), 1);
  press();
  step(*_slider);
  move(600, 300);  // released away from the cap: no step
  release();
  EXPECT_EQ(step(*_slider), (Event{70, 0}));
  EXPECT_FLOAT_EQ(_slider->fGetValue(), 4.0f);
  for (int i = 0; i < 20; ++i) _slider->fStep(1);
  EXPECT_FLOAT_EQ(_slider->fGetValue(), 10.0f);
}

class ListBoxTest : public WidgetTest {
 protected:
  // Panel 200 x 90 at (500, 400), three rows of 30: rows start at y 355, 385, 415.
  void SetUp() override {
    WidgetTest::SetUp();
    _fontDoc2.load_string(testFontXml().c_str());
    _list = new QC_GUI_LISTBOX(80, texture(200, 90), texture(120, 10), texture(10, 10), _fontDoc2.child("font"),
                               texture(256, 64));
    _list->fSetPosition(500.0f, 400.0f, 0.0f);
    for (const char* item : kItems) _list->fAddItem(item);
    _container.fAdd(_list);
  }
  void TearDown() override {
    _container.fClear();
    WidgetTest::TearDown();
  }
  void tap(uint32_t key) {
    press(key);
    step(_container);
    release(key);
    step(_container);
  }
  static constexpr const char* kItems[6] = {"zero", "one", "two", "three", "four", "five"};
  pugi::xml_document _fontDoc2;
  QC_GUI_CONTAINER _container;
  QC_GUI_LISTBOX* _list = nullptr;
};

TEST_F(ListBoxTest, ClickSelectsTheRowUnderThePointer) {
  EXPECT_EQ(_list->fGetRowHeight(), 30);
  EXPECT_FLOAT_EQ(_list->fGetSlider()->fGetMax(), 3.0f);
  move(450, 420);  // inside the third row
  EXPECT_EQ(step(_container), Event{});
  EXPECT_EQ(_list->fGetEventCode(), ENTER);
  press();
  EXPECT_EQ(step(_container), (Event{80, PRESS}));
  EXPECT_STREQ(_list->fGetSelected(), "two");
  release();
  EXPECT_EQ(step(_container), (Event{80, CLICK}));
  move(450, 360);  // the first row
  press();
  step(_container);
  EXPECT_STREQ(_list->fGetSelected(), "zero");
  release();
  step(_container);
  move(100, 100);
  EXPECT_EQ(step(_container), Event{});
  EXPECT_EQ(_list->fGetEventCode(), LEAVE);
  EXPECT_FALSE(_list->fHasFocus());
}

TEST_F(ListBoxTest, KeysScrollPastTheLastItemAndBack) {
  move(450, 390);
  press();
  step(_container);
  release();
  step(_container);
  ASSERT_EQ(_list->fGetSelectedIndex(), 1);
  for (int i = 0; i < 10; ++i) tap(40);
  EXPECT_EQ(_list->fGetSelectedIndex(), 5);
  EXPECT_STREQ(_list->fGetSelected(), "five");  // the last item can be read
  EXPECT_FLOAT_EQ(_list->fGetSlider()->fGetValue(), 3.0f);
  for (int i = 0; i < 3; ++i) tap(38);
  EXPECT_EQ(_list->fGetSelectedIndex(), 2);
  EXPECT_FLOAT_EQ(_list->fGetSlider()->fGetValue(), 2.0f);
  for (int i = 0; i < 5; ++i) tap(38);
  EXPECT_EQ(_list->fGetSelectedIndex(), 0);
  EXPECT_FLOAT_EQ(_list->fGetSlider()->fGetValue(), 0.0f);
}

TEST_F(ListBoxTest, ItemsAndRange) {
  EXPECT_EQ(_list->fGetCount(), 6);
  EXPECT_STREQ(_list->fGetItem(5), "five");
  EXPECT_STREQ(_list->fGetItem(6), "");
  EXPECT_STREQ(_list->fGetItem(-1), "");
  _list->fSetVisibleRows(5);
  EXPECT_EQ(_list->fGetRowHeight(), 18);
  EXPECT_FLOAT_EQ(_list->fGetSlider()->fGetMax(), 1.0f);
  _list->fRemoveLast();
  _list->fRemoveLast();
  EXPECT_FLOAT_EQ(_list->fGetSlider()->fGetMax(), 0.0f);
  _list->fClearItems();
  _list->fRemoveLast();  // nothing to remove
  EXPECT_EQ(_list->fGetCount(), 0);
  EXPECT_STREQ(_list->fGetSelected(), "");
}

TEST_F(ListBoxTest, DestructionHandsBackEachTextureOnce) {
  QC_TEXTURE* panel = texture(200, 90);
  QC_TEXTURE* selection = texture(10, 10);
  QC_TEXTURE* page = texture(256, 64);
  auto* list = new QC_GUI_LISTBOX(81, panel, texture(120, 10), selection, _fontDoc2.child("font"), page);
  releasedTextures().clear();
  delete list;
  EXPECT_EQ(timesReleased(panel), 1);
  EXPECT_EQ(timesReleased(selection), 1);
  EXPECT_EQ(timesReleased(page), 1);
  EXPECT_EQ(releasedTextures().size(), 3u);
}

}  // namespace
