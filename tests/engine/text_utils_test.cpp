#include <gtest/gtest.h>

#include <list>
#include <string>

#include "engine/text_utils.h"

namespace {

using Words = std::list<std::string>;

TEST(TextUtils, CountBlanksCountsOnlyTheBlank) {
  EXPECT_EQ(QEL::fCountBlanks("interface/pause_window button_continue.png"), 1);
  EXPECT_EQ(QEL::fCountBlanks(""), 0);
  EXPECT_EQ(QEL::fCountBlanks("a\tb\nc"), 0);
  EXPECT_EQ(QEL::fCountBlanks("  "), 2);
}

TEST(TextUtils, SplitDropsOrKeepsTheDelimiter) {
  std::string text = "interface button.png";
  EXPECT_EQ(QEL::fSplitString(text, ' ', true), (Words{"interface", "button.png"}));
  text = "interface button.png";
  EXPECT_EQ(QEL::fSplitString(text, ' ', false), (Words{"interface ", "button.png"}));
}

TEST(TextUtils, SplitKeepsEmptyWordsButNoTrailingOne) {
  std::string text = "a  b";
  EXPECT_EQ(QEL::fSplitString(text, ' ', true), (Words{"a", "", "b"}));
  text = "a ";
  EXPECT_EQ(QEL::fSplitString(text, ' ', true), (Words{"a"}));
  EXPECT_TRUE(text.empty());
  text = " b";
  EXPECT_EQ(QEL::fSplitString(text, ' ', true), (Words{"", "b"}));
  EXPECT_EQ(text, "b");  // consumed: the last word without delimiter stays
  text = "";
  EXPECT_TRUE(QEL::fSplitString(text, ' ', true).empty());
}

TEST(TextUtils, SplitOfAPathVisitsEveryPrefix) {
  std::string text = "/a/b/c";
  EXPECT_EQ(QEL::fSplitString(text, '/', false), (Words{"/", "a/", "b/", "c"}));
}

TEST(TextUtils, FixSlashes) {
  std::string path = "C:\\games\\Pindrake\\Resources";
  QEL::fFixSlashes(path);
  EXPECT_EQ(path, "C:/games/Pindrake/Resources");
  std::string clean = "a/b";
  QEL::fFixSlashes(clean);
  EXPECT_EQ(clean, "a/b");
}

TEST(TextUtils, HexTextBothWays) {
  EXPECT_EQ(QEL::fHexToWString(0), L"0");
  EXPECT_EQ(QEL::fHexToWString(255), L"ff");
  EXPECT_EQ(QEL::fHexToWString(0xFFFFFFFFu), L"ffffffff");
  EXPECT_EQ(QEL::fStringToInt("ff"), 255);
  EXPECT_EQ(QEL::fStringToInt("FF"), 255);
  EXPECT_EQ(QEL::fStringToInt("10"), 16);
  EXPECT_EQ(QEL::fStringToInt("zz"), 0);
}

TEST(TextUtils, NumberToWideTextUsesSixSignificantDigits) {
  EXPECT_EQ(QEL::fNumberToWString(1.5f), L"1.5");
  EXPECT_EQ(QEL::fNumberToWString(1234567.0f), L"1.23457e+06");
  EXPECT_EQ(QEL::fNumberToWString(-0.25f), L"-0.25");
}

TEST(TextUtils, NarrowAndWideCopiesConvertNoCodePage) {
  EXPECT_EQ(QEL::fToWide("Ab"), L"Ab");
  const std::wstring wide = QEL::fToWide(std::string("\xE9", 1));
  ASSERT_EQ(wide.size(), 1u);
  EXPECT_EQ(static_cast<uint32_t>(wide[0]), 0xFFE9u);
  EXPECT_EQ(QEL::fToNarrow(std::wstring(1, static_cast<wchar_t>(0x1E9))), std::string("\xE9", 1));
}

TEST(TextUtils, Utf8AndWideConvertProperly) {
  const std::string utf8 = "Ja\xC3\xA9 \xE2\x82\xAC";  // "Jaé €"
  const std::wstring wide = QEL::fUtf8ToWide(utf8);
  EXPECT_EQ(wide, L"Ja\u00E9 \u20AC");
  EXPECT_EQ(QEL::fWideToUtf8(wide), utf8);
}

}  // namespace
