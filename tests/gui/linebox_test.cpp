// The line box: focus by pointer, typing with its refused characters, length and width
// limits, caret keys, Backspace and Delete, kept focus, and the texture it hands back.
#include <gtest/gtest.h>

#include <string>

#include "gui/gui_button5.h"
#include "gui/gui_container.h"
#include "gui/gui_linebox.h"
#include "gui_support.h"

using namespace QEL;
using namespace gui_test;

namespace {

// The player-name box of the main menu refuses these.
const std::wstring kNameRefused = L"!@#$%^&*()><\"'[]{}|?/+=~`.,;:-_ ";

class LineBoxTest : public WidgetTest {
 protected:
  // Background 200 x 40 at (500, 400): with margins 4 the text area is 192 x 32, x 404..596.
  void SetUp() override {
    WidgetTest::SetUp();
    _box = new QC_GUI_LINEBOX(113, texture(200, 40), font());
    _box->fSetPosition(500.0f, 400.0f, 0.0f);
    _container.fAdd(_box);
  }
  void TearDown() override {
    _container.fClear();
    WidgetTest::TearDown();
  }
  void focus() {
    move(500, 400);
    press();
    ASSERT_EQ(step(_container), (Event{113, PRESS}));
    release();
    step(_container);
  }
  // Types one character and returns the update's event; the key goes up after it.
  Event typeChar(wchar_t c, uint32_t key) {
    type(c, key);
    const Event e = step(_container);
    release(key);
    step(_container);
    return e;
  }
  Event tap(uint32_t key) {
    press(key);
    const Event e = step(_container);
    release(key);
    step(_container);
    return e;
  }
  QC_GUI_CONTAINER _container;
  QC_GUI_LINEBOX* _box = nullptr;
};

TEST_F(LineBoxTest, TypingNeedsTheFocusThatAPressInsideGives) {
  EXPECT_EQ(typeChar(L'a', 'A'), Event{});
  EXPECT_TRUE(_box->fIsEmpty());
  focus();
  EXPECT_TRUE(_box->fHasFocus());
  EXPECT_EQ(typeChar(L'a', 'A'), (Event{113, TEXT}));
  EXPECT_EQ(typeChar(L'b', 'B'), (Event{113, TEXT}));
  EXPECT_EQ(_box->fGetText(), L"ab");
  EXPECT_EQ(_box->fGetCaret(), 2u);

  // A press outside takes the focus and hides the caret.
  move(100, 100);
  press();
  EXPECT_EQ(step(_container), Event{});
  release();
  step(_container);
  EXPECT_FALSE(_box->fHasFocus());
  EXPECT_FALSE(_box->fIsCaretVisible());
  EXPECT_EQ(typeChar(L'c', 'C'), Event{});
  EXPECT_EQ(_box->fGetText(), L"ab");
}

TEST_F(LineBoxTest, NameBoxRefusesItsCharactersTabsSystemKeysAndTheThirteenthCharacter) {
  _box->fSetMaxLength(12);
  _box->fSetForbiddenChars(kNameRefused);
  focus();
  EXPECT_EQ(typeChar(L'!', '1'), Event{});
  EXPECT_EQ(typeChar(L' ', ' '), Event{});
  EXPECT_EQ(typeChar(L'_', 189), Event{});
  EXPECT_EQ(tap(9), Event{});    // the tab key types a tab character
  EXPECT_EQ(tap(27), Event{});   // Escape types a control character
  EXPECT_EQ(typeChar(L'x', 13), Event{});  // a character that comes with a system key
  EXPECT_TRUE(_box->fIsEmpty());

  for (int i = 0; i < 12; ++i) EXPECT_EQ(typeChar(L'a' + i, 'A' + i), (Event{113, TEXT})) << i;
  EXPECT_EQ(typeChar(L'z', 'Z'), Event{});
  EXPECT_EQ(_box->fGetText(), L"abcdefghijkl");
  EXPECT_EQ(_box->fGetCaret(), 12u);
}

// Keys faster than the updates: each character is judged by the key that typed it, in order.
TEST_F(LineBoxTest, EveryCharacterTypedBetweenTwoUpdatesGoesInInOrder) {
  _box->fSetForbiddenChars(kNameRefused);
  focus();
  type(L'a', 'A');
  type(L'!', '1');
  type(L'b', 'B');
  press(16);  // Shift, already down for the next letter
  EXPECT_EQ(step(_container), (Event{113, TEXT}));
  EXPECT_EQ(_box->fGetText(), L"ab");
  EXPECT_EQ(_box->fGetCaret(), 2u);
}

TEST_F(LineBoxTest, NonAsciiLettersAreTakenWholeOrRefusedWhole) {
  _box->fSetMaxLength(12);
  focus();
  EXPECT_EQ(typeChar(L'z', 'Z'), (Event{113, TEXT}));
  EXPECT_EQ(typeChar(L'o', 'O'), (Event{113, TEXT}));
  EXPECT_EQ(typeChar(static_cast<wchar_t>(0xEB), 222), (Event{113, TEXT}));
  // A letter the font has no glyph for would sit in the box unseen.
  EXPECT_EQ(typeChar(static_cast<wchar_t>(0x1F600), 0), Event{});
  EXPECT_EQ(typeChar(static_cast<wchar_t>(0x4E2D), 0), Event{});
  EXPECT_EQ(_box->fGetText(), std::wstring(L"zo") + static_cast<wchar_t>(0xEB));
  EXPECT_EQ(_box->fGetCaret(), 3u);

  // At the width limit an accented letter is refused as a whole.
  ASSERT_TRUE(_box->fSetText(L"WWWWWaaa"));  // 180 wide: 180 + 2 x 10 is not below 192
  _box->fSetCaret(8);
  EXPECT_EQ(typeChar(static_cast<wchar_t>(0xEB), 222), Event{});
  EXPECT_EQ(_box->fGetText(), L"WWWWWaaa");
}

TEST_F(LineBoxTest, TheTextAreaWidthLimitsTypingAndSetText) {
  focus();
  for (int i = 0; i < 5; ++i) EXPECT_EQ(typeChar(L'W', 'W'), (Event{113, TEXT}));
  EXPECT_EQ(typeChar(L'W', 'W'), Event{});  // 150 + 60 would pass 192
  EXPECT_EQ(typeChar(L'a', 'A'), (Event{113, TEXT}));
  EXPECT_EQ(typeChar(L'a', 'A'), (Event{113, TEXT}));
  EXPECT_EQ(typeChar(L'a', 'A'), (Event{113, TEXT}));
  EXPECT_EQ(typeChar(L'a', 'A'), Event{});  // 180 + 20 reaches the width
  EXPECT_EQ(_box->fGetText(), L"WWWWWaaa");

  EXPECT_TRUE(_box->fSetText(L"WWWWWWa|"));  // exactly 192
  EXPECT_EQ(_box->fGetCaret(), 0u);
  EXPECT_FALSE(_box->fSetText(L"WWWWWWa||"));
  EXPECT_EQ(_box->fGetText(), L"WWWWWWa|");
  _box->fSetMaxLength(3);
  EXPECT_FALSE(_box->fSetText(L"abcd"));
  EXPECT_TRUE(_box->fSetText(L"abc"));
  _box->fSetMaxLength(2);  // the text held is not cut
  EXPECT_EQ(_box->fGetText(), L"abc");
  _box->fSetMaxLength(0);
  EXPECT_EQ(_box->fGetMaxLength(), QC_GUI_LINEBOX::UNLIMITED);
}

TEST_F(LineBoxTest, CaretKeysBackspaceAndDeleteActOncePerPressAndReportNothing) {
  focus();
  typeChar(L'a', 'A');
  typeChar(L'b', 'B');
  typeChar(L'c', 'C');
  EXPECT_EQ(tap(39), Event{});  // Right at the end
  EXPECT_EQ(_box->fGetCaret(), 3u);
  EXPECT_EQ(tap(37), Event{});  // Left
  EXPECT_EQ(_box->fGetCaret(), 2u);
  EXPECT_EQ(tap(8), Event{});  // Backspace removes 'b'
  EXPECT_EQ(_box->fGetText(), L"ac");
  EXPECT_EQ(_box->fGetCaret(), 1u);
  EXPECT_EQ(tap(46), Event{});  // Delete removes 'c'
  EXPECT_EQ(_box->fGetText(), L"a");
  EXPECT_EQ(tap(46), Event{});  // at the end: nothing
  EXPECT_EQ(_box->fGetText(), L"a");
  EXPECT_EQ(typeChar(L'x', 'X'), (Event{113, TEXT}));  // inserted at the caret
  EXPECT_EQ(_box->fGetText(), L"ax");

  // A held key acts in the update it went down only.
  press(37);
  step(_container);
  step(_container);
  step(_container);
  release(37);
  step(_container);
  EXPECT_EQ(_box->fGetCaret(), 1u);
  _box->fSetCaret(0);
  EXPECT_EQ(tap(8), Event{});
  EXPECT_EQ(tap(37), Event{});
  EXPECT_EQ(_box->fGetText(), L"ax");
  EXPECT_EQ(_box->fGetCaret(), 0u);
  _box->fSetCaret(99);
  EXPECT_EQ(_box->fGetCaret(), 2u);
}

TEST_F(LineBoxTest, KeptFocusReportsEveryUpdateAndStarvesTheWidgetsAfterIt) {
  auto* button = new QC_GUI_BUTTON5(5, texture(250, 40));
  button->fSetPosition(100.0f, 100.0f, 0.0f);
  _container.fAdd(button);
  _box->fSetKeepFocus(true);
  move(100, 100);  // over the button
  EXPECT_EQ(step(_container), (Event{113, FOCUS}));
  EXPECT_EQ(step(_container), (Event{113, FOCUS}));
  EXPECT_EQ(button->fGetState(), 0);  // never updated
  EXPECT_EQ(typeChar(L'q', 'Q'), (Event{113, TEXT}));
  EXPECT_EQ(_box->fGetText(), L"q");

  _box->fSetKeepFocus(false);
  EXPECT_EQ(step(_container), (Event{5, ENTER}));
}

TEST_F(LineBoxTest, CaretBlinksWhileFocusedAndAKeyShowsItAgain) {
  focus();
  qcFRAME_DELTA = 0.3f;
  EXPECT_TRUE(_box->fIsCaretVisible());
  step(_container);  // 0.5 -> 0.2
  step(_container);  // 0.2 -> -0.1
  EXPECT_TRUE(_box->fIsCaretVisible());
  step(_container);  // the phase ends
  EXPECT_FALSE(_box->fIsCaretVisible());
  press(16);  // any key
  step(_container);
  release(16);
  EXPECT_TRUE(_box->fIsCaretVisible());
}

TEST_F(LineBoxTest, AlignmentPlacesTheTextNodeInTheArea) {
  _box->fSetAlign(3);
  EXPECT_EQ(_box->fGetAlign(), 7);
  EXPECT_FLOAT_EQ(_box->fGetTextNode()->_position.x, -96.0f + 10.0f);
  _box->fSetAlign(6);
  EXPECT_EQ(_box->fGetAlign(), 0);
  EXPECT_FLOAT_EQ(_box->fGetTextNode()->_position.x, 0.0f);
  _box->fSetAlign(4);
  EXPECT_EQ(_box->fGetAlign(), 8);
  _box->fSetAlign(12);
  EXPECT_EQ(_box->fGetAlign(), 8);
  _box->fSetMargins(10.0f, 4.0f, 30.0f, 4.0f);
  EXPECT_FLOAT_EQ(_box->fGetTextArea()->fGetWidth(), 160.0f);
  EXPECT_FLOAT_EQ(_box->fGetTextArea()->_node->_position.x, -10.0f);
  // The area's own rectangle: x 410..570 around its centre at 490.
  EXPECT_TRUE(_box->fGetTextArea()->fIsInside(411.0f, 400.0f));
  EXPECT_FALSE(_box->fGetTextArea()->fIsInside(575.0f, 400.0f));
}

TEST_F(LineBoxTest, DestructionHandsTheBackgroundBackOnce) {
  QC_TEXTURE* background = texture(200, 40);
  auto* box = new QC_GUI_LINEBOX(1, background, font());
  _container.fAdd(box);
  _container.fDeleteById(1);
  EXPECT_EQ(timesReleased(background), 1);
  pugi::xml_document doc;
  doc.load_string(testFontXml().c_str());
  QC_TEXTURE* second = texture(200, 40);
  auto* owning = new QC_GUI_LINEBOX(2, second, doc.child("font"), texture(256, 64));
  EXPECT_NE(owning->fGetFont(), nullptr);
  delete owning;
  EXPECT_EQ(timesReleased(second), 1);
}

}  // namespace
