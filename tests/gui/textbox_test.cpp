// The text box: capacity from the image width, caret placed by the pointer, press and click,
// typing and deleting, the narrow and wide read-back, and a box built without a font.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "gui/gui_container.h"
#include "gui/gui_textbox.h"
#include "gui_support.h"

using namespace QEL;
using namespace gui_test;

namespace {

class TextBoxTest : public WidgetTest {
 protected:
  // Background 200 x 40 at (300, 200): x 200..400, y 180..220; cells 20 wide (line height).
  void SetUp() override {
    WidgetTest::SetUp();
    _box = new QC_GUI_TEXTBOX(21, font(), texture(200, 40));
    _box->fSetPosition(300.0f, 200.0f, 0.0f);
    _container.fAdd(_box);
  }
  void TearDown() override {
    _container.fClear();
    WidgetTest::TearDown();
  }
  Event click(int32_t x, int32_t y) {
    move(x, y);
    press();
    const Event e = step(_container);
    release();
    step(_container);
    return e;
  }
  void typeKey(wchar_t c, uint32_t key) {
    type(c, key);
    step(_container);
    release(key);
    step(_container);
  }
  void tap(uint32_t key) {
    press(key);
    step(_container);
    release(key);
    step(_container);
  }
  QC_GUI_CONTAINER _container;
  QC_GUI_TEXTBOX* _box = nullptr;
};

TEST_F(TextBoxTest, CapacityCountsCellsOfTheLineHeight) {
  EXPECT_EQ(_box->fGetCapacity(), 9);  // (200 - 2 x 10) / 20
  EXPECT_EQ(_box->fSetSpacing(5), 7);  // 180 / 25
  _box->fSetSpacing(0);
  _box->fSetMarginDivisor(10);
  EXPECT_EQ(_box->fGetCapacity(), 9);  // recomputed only by the next size, font or spacing
  _box->fSetSize(0.0f, 0.0f);
  EXPECT_EQ(_box->fGetCapacity(), 8);  // (200 - 40) / 20
  _box->fSetSize(100.0f, 0.0f);
  EXPECT_EQ(_box->fGetCapacity(), 4);
  EXPECT_FLOAT_EQ(_box->fGetWidth(), 100.0f);
  EXPECT_FLOAT_EQ(_box->fGetHeight(), 40.0f);
}

TEST_F(TextBoxTest, PressPutsTheCaretInTheCellUnderThePointerAndClickNeedsBoth) {
  _box->fSetText("12345");
  move(245, 200);
  press();
  EXPECT_EQ(step(_container), (Event{21, PRESS}));
  EXPECT_EQ(_box->fGetCaret(), 2);  // (100 + 245 - 300) / 20
  release();
  EXPECT_EQ(step(_container), (Event{21, CLICK}));

  EXPECT_EQ(click(390, 200), (Event{21, PRESS}));  // right of the text: at its end
  EXPECT_EQ(_box->fGetCaret(), 5);

  // A press elsewhere takes the focus, so a release over the box reports nothing.
  move(50, 50);
  press();
  EXPECT_EQ(step(_container), Event{});
  EXPECT_FALSE(_box->fHasFocus());
  move(300, 200);
  release();
  EXPECT_EQ(step(_container), Event{});
}

TEST_F(TextBoxTest, TypingFillsToCapacityAndDeletingStillWorksWhenFull) {
  click(300, 200);
  for (int i = 0; i < 10; ++i) typeKey(L'1' + (i % 9), '1' + (i % 9));
  EXPECT_EQ(_box->fGetWideText(), L"123456789");  // the tenth is refused silently
  EXPECT_EQ(_box->fGetCaret(), 9);
  EXPECT_EQ(_box->fAppendChar(L'x'), 1);
  EXPECT_EQ(_box->fInsertChar(L'x', 0), 1);
  tap(8);
  EXPECT_EQ(_box->fGetWideText(), L"12345678");
  tap(37);
  tap(37);
  tap(46);
  EXPECT_EQ(_box->fGetWideText(), L"1234568");
  EXPECT_EQ(_box->fGetCaret(), 6);
  typeKey(L'0', '0');
  EXPECT_EQ(_box->fGetWideText(), L"12345608");
  EXPECT_EQ(_box->fGetCaret(), 7);
  tap(39);
  EXPECT_EQ(_box->fGetCaret(), 8);
  tap(39);
  EXPECT_EQ(_box->fGetCaret(), 8);
}

TEST_F(TextBoxTest, CharactersThatComeWithAClickOrASystemKeyAreNotTyped) {
  click(300, 200);
  move(310, 200);
  type(L'7', '7');
  press(2);  // the right button in the same update
  step(_container);
  release('7');
  release(2);
  step(_container);
  type(L'8', 46);
  step(_container);
  release(46);
  step(_container);
  _input.fOnChar(L'9');  // text without a key: the last key is 0
  step(_container);
  EXPECT_EQ(_box->fGetText(), nullptr);
}

TEST_F(TextBoxTest, NarrowAndWideReadBack) {
  EXPECT_EQ(_box->fGetText(), nullptr);
  EXPECT_EQ(_box->fGetWText(), nullptr);
  _box->fSetText("42.5");
  ASSERT_NE(_box->fGetText(), nullptr);
  EXPECT_STREQ(_box->fGetText(), "42.5");
  EXPECT_EQ(std::wstring(_box->fGetWText()), L"42.5");
  // A typed accented letter reads back as whole UTF-8, and comes back the same.
  _box->fClear();
  click(300, 200);
  typeKey(static_cast<wchar_t>(0xEB), 222);
  ASSERT_NE(_box->fGetText(), nullptr);
  EXPECT_STREQ(_box->fGetText(), "\xC3\xAB");
  const std::string narrow = _box->fGetText();
  _box->fSetText(narrow.c_str());
  EXPECT_EQ(_box->fGetWideText(), std::wstring(1, static_cast<wchar_t>(0xEB)));
  _box->fSetText("1 2  ");
  _box->fTrimRight();
  EXPECT_STREQ(_box->fGetText(), "1 2");
}

TEST_F(TextBoxTest, DeleteCharReportsWhetherItRemovedOne) {
  _box->fSetText("ab");
  EXPECT_EQ(_box->fDeleteChar(true), 1);  // caret 0
  EXPECT_EQ(_box->fDeleteChar(false), 0);
  EXPECT_EQ(_box->fGetWideText(), L"b");
  _box->fSetCaret(1);
  EXPECT_EQ(_box->fDeleteChar(false), 1);
  EXPECT_EQ(_box->fDeleteChar(true), 0);
  EXPECT_EQ(_box->fGetWideText(), L"");
  _box->fSetText("abcdef");
  _box->fSetCaret(6);
  _box->fSetText("ab");  // a shorter text brings the caret back into it
  EXPECT_EQ(_box->fGetCaret(), 2);
}

TEST_F(TextBoxTest, CaretBlinksWithAOneSecondCycle) {
  qcFRAME_DELTA = 0.25f;
  step(_container);
  EXPECT_TRUE(_box->fIsCaretShown());
  step(_container);
  EXPECT_FALSE(_box->fIsCaretShown());
  step(_container);
  EXPECT_FALSE(_box->fIsCaretShown());
  step(_container);  // 1.0: the cycle restarts, still hidden
  EXPECT_FALSE(_box->fIsCaretShown());
  step(_container);
  EXPECT_TRUE(_box->fIsCaretShown());
}

TEST_F(TextBoxTest, WithoutAFontTheBoxLogsAndStaysInert) {
  LogRecorder log;
  auto* box = new QC_GUI_TEXTBOX(22, nullptr, texture(200, 40));
  EXPECT_TRUE(log.contains("QC_GUI_TEXTBOX constructor ERROR"));
  _container.fAdd(box);
  move(0, 0);
  press();
  EXPECT_EQ(step(_container), Event{});
  box->fDraw();
  EXPECT_FLOAT_EQ(box->fGetWidth(), 0.0f);
}

}  // namespace
