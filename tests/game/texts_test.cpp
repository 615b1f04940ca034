#include "game/texts.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/log.h"
#include "game/game_globals.h"
#include "platform/message_box.h"
#include "platform/window.h"
#include "save_folder_fixture.h"

namespace {

const char* const kSampleTexts = R"(<?xml version="1.0" encoding="UTF-8"?>
<texts>
  <game_name text="Pindrake" />
  <greeting text="Grüße, Spieler ♠" />
  <two_lines text="first|second" />
  <bars text="a||b|" />
  <money_won text="You won %number coins" />
  <no_placeholder text="You won coins" />
  <junior_pack1_goal text="150" />
  <pause_seconds text="7.5" />
  <tutorial_on text="true" />
  <no_attribute value="42">text content is not read</no_attribute>
</texts>)";

class TextsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(gTexts.load_string(kSampleTexts)); }
  void TearDown() override { gTexts.reset(); }
};

TEST_F(TextsTest, ReadsEachTypeByKey) {
  EXPECT_EQ(getText(L"greeting"), L"Grüße, Spieler ♠");
  EXPECT_EQ(getTextW(std::wstring(L"game_name")), L"Pindrake");
  EXPECT_EQ(getTextString("greeting"), "Gr\xC3\xBC\xC3\x9F" "e, Spieler \xE2\x99\xA0");
  EXPECT_EQ(getTextInt(L"junior_pack1_goal"), 150);
  EXPECT_EQ(getTextIntW(L"junior_pack1_goal"), 150);
  EXPECT_FLOAT_EQ(getTextFloat(L"pause_seconds"), 7.5f);
  EXPECT_TRUE(getTextBool(L"tutorial_on"));
}

TEST_F(TextsTest, MissingKeysGiveEmptyValues) {
  EXPECT_EQ(getText(L"no_such_key"), L"");
  EXPECT_EQ(getTextString("no_such_key"), "");
  EXPECT_EQ(getTextInt(L"no_such_key"), 0);
  EXPECT_EQ(getTextIntW(L"no_such_key"), 0);
  EXPECT_EQ(getTextFloat(L"no_such_key"), 0.0f);
  EXPECT_FALSE(getTextBool(L"no_such_key"));
  // A key element without the text attribute, and keys that are no element name at all.
  EXPECT_EQ(getText(L"no_attribute"), L"");
  EXPECT_EQ(getTextInt(L"no_attribute"), 0);
  EXPECT_EQ(getText(L""), L"");
  EXPECT_EQ(getText(nullptr), L"");
  EXPECT_EQ(getTextString(nullptr), "");
  EXPECT_EQ(getText(L"two lines|with bars"), L"");
}

TEST_F(TextsTest, WithoutTheTextsElementEverythingIsEmpty) {
  ASSERT_TRUE(gTexts.load_string("<strings><game_name text=\"x\"/></strings>"));
  EXPECT_EQ(getText(L"game_name"), L"");
  EXPECT_EQ(getTextInt(L"game_name"), 0);
}

TEST_F(TextsTest, BarsBecomeLineBreaksOrVanish) {
  EXPECT_EQ(replaceBarsWithNewlines(getText(L"two_lines")), L"first\nsecond");
  EXPECT_EQ(removeBars(getText(L"two_lines")), L"firstsecond");
  EXPECT_EQ(replaceBarsWithNewlines(getText(L"bars")), L"a\n\nb\n");
  EXPECT_EQ(removeBars(getText(L"bars")), L"ab");
  EXPECT_EQ(replaceBarsWithNewlines(L""), L"");
}

TEST_F(TextsTest, PlaceholderIsReplacedOrTheTextIsStringNotFound) {
  EXPECT_EQ(replacePlaceholder(getText(L"money_won"), L"%number", numberToWString(250)), L"You won 250 coins");
  EXPECT_EQ(replacePlaceholder(getText(L"no_placeholder"), L"%number", L"250"), L"string_not_found");
  EXPECT_EQ(replacePlaceholder(getText(L"no_such_key"), L"%number", L"250"), L"string_not_found");
  // Only the named placeholder counts.
  EXPECT_EQ(replacePlaceholder(getText(L"money_won"), L"%score", L"1"), L"string_not_found");
}

TEST(TextNumbersTest, IntegersAsDecimalText) {
  EXPECT_EQ(numberToWString(0), L"0");
  EXPECT_EQ(numberToWString(-42), L"-42");
  EXPECT_EQ(numberToWString(INT_MAX), L"2147483647");
  EXPECT_EQ(numberToString(119), "119");
  EXPECT_EQ(numberToString(-7), "-7");
  EXPECT_EQ(wideToNarrow(L"Ab\x0141"), std::string("Ab\x41"));
}

// loadTexts reads "texts/texts.xml" relative to the current directory; these tests move into
// a temporary folder of their own and back.
class LoadTextsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    _previous = std::filesystem::current_path();
    _folder = test_support::makeTemporaryFolder("pindrake_texts_");
    std::filesystem::create_directories(_folder / "texts");
    std::filesystem::current_path(_folder);
    QEL::fSetLogSink([this](const std::string& line) { _log.push_back(line); });
    // Every box answered at once, and kept for the checks.
    platform::setMessageBoxShower([](const std::string&, const std::string&) { return true; });
    platform::setMessageBoxHook([this](const std::string& text, const std::string&) { _boxes.push_back(text); });
  }
  void TearDown() override {
    platform::setMessageBoxHook({});
    platform::setMessageBoxShower({});
    QEL::fSetLogSink({});
    std::filesystem::current_path(_previous);
    std::filesystem::remove_all(_folder);
    gTexts.reset();
  }
  std::filesystem::path _previous;
  std::filesystem::path _folder;
  std::vector<std::string> _log;
  std::vector<std::string> _boxes;
};

TEST_F(LoadTextsTest, LoadsTheFileOnce) {
  test_support::writeFile(_folder / "texts" / "texts.xml", kSampleTexts);
  loadTexts();
  EXPECT_EQ(getText(L"game_name"), L"Pindrake");
  EXPECT_TRUE(_log.empty());
  EXPECT_TRUE(_boxes.empty());
}

TEST_F(LoadTextsTest, MissingFileLeavesEveryTextEmpty) {
  ASSERT_TRUE(gTexts.load_string(kSampleTexts));
  loadTexts();
  EXPECT_EQ(getText(L"game_name"), L"");
  ASSERT_EQ(_log.size(), 1u);
  EXPECT_NE(_log[0].find("texts/texts.xml"), std::string::npos);
}

TEST_F(LoadTextsTest, BrokenFileLeavesEveryTextEmpty) {
  std::string broken = kSampleTexts;
  broken.resize(broken.find("<money_won"));  // cut off in the middle
  test_support::writeFile(_folder / "texts" / "texts.xml", broken);
  loadTexts();
  EXPECT_EQ(getText(L"game_name"), L"");
  EXPECT_EQ(getTextInt(L"junior_pack1_goal"), 0);
  EXPECT_EQ(_log.size(), 1u);
  ASSERT_EQ(_boxes.size(), 1u);
  EXPECT_NE(_boxes[0].find((_folder / "texts" / "texts.xml").string()), std::string::npos) << _boxes[0];
}

// pugixml's allocations, watched: the largest single request.
std::size_t gLargestXmlRequest = 0;
void* watchedAllocate(std::size_t size) {
  if (size > gLargestXmlRequest) gLargestXmlRequest = size;
  return std::malloc(size);
}

TEST_F(LoadTextsTest, AFolderWhereTheFileBelongsLeavesEveryTextEmptyWithoutAHugeAllocation) {
  ASSERT_TRUE(gTexts.load_string(kSampleTexts));
  std::filesystem::create_directory(_folder / "texts" / "texts.xml");
  gLargestXmlRequest = 0;
  pugi::set_memory_management_functions(watchedAllocate, std::free);
  loadTexts();
  pugi::set_memory_management_functions(std::malloc, std::free);
  EXPECT_LT(gLargestXmlRequest, std::size_t{1} << 20);
  EXPECT_EQ(getText(L"game_name"), L"");
  ASSERT_EQ(_log.size(), 1u);
  EXPECT_NE(_log[0].find("not a plain file"), std::string::npos);
}

}  // namespace
