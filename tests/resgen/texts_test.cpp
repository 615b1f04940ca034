#include "texts.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>
#include <pugixml.hpp>

#include "content.h"

namespace {

struct KEY_ROW {
  std::string key;
  std::string needs;  // the placeholders the text must hold; "no bars" when it may hold no '|'
};

std::vector<KEY_ROW> manifestKeys() {
  std::ifstream file(std::string(PINDRAKE_TEST_DATA) + "/texts-keys.tsv");
  std::vector<KEY_ROW> rows;
  std::string line;
  std::getline(file, line);  // header
  while (std::getline(file, line)) {
    std::vector<std::string> cells;
    size_t start = 0;
    for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1) cells.push_back(line.substr(start, tab - start));
    cells.push_back(line.substr(start));
    if (!cells[0].empty()) rows.push_back({cells[0], cells.size() > 1 ? cells[1] : std::string()});
  }
  return rows;
}

class GeneratedTexts : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::filesystem::path path = std::filesystem::path(PINDRAKE_BUILD_DIR) / "Resources" / "texts" / "texts.xml";
    ASSERT_TRUE(document_.load_file(path.c_str())) << path;
    root_ = document_.child("texts");
    ASSERT_TRUE(root_);
  }
  std::string text(const std::string& key) const { return root_.child(key.c_str()).attribute("text").value(); }
  int number(const std::string& key) const { return root_.child(key.c_str()).attribute("text").as_int(); }

  pugi::xml_document document_;
  pugi::xml_node root_;
};

bool isDigits(const std::string& text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

TEST_F(GeneratedTexts, EveryManifestKeyHasAText) {
  const std::vector<KEY_ROW> rows = manifestKeys();
  ASSERT_EQ(rows.size(), 230u);
  for (const KEY_ROW& row : rows) {
    SCOPED_TRACE(row.key);
    ASSERT_TRUE(root_.child(row.key.c_str()));
    EXPECT_FALSE(text(row.key).empty());
  }
  size_t children = 0;
  for (pugi::xml_node child : root_.children()) {
    (void)child;
    ++children;
  }
  EXPECT_EQ(children, rows.size());
}

TEST_F(GeneratedTexts, PlaceholdersAndBarsAsTheCallersNeed) {
  for (const KEY_ROW& row : manifestKeys()) {
    SCOPED_TRACE(row.key);
    for (const char* placeholder : {"%number", "%score", "%result", "%bonusname", "%name"}) {
      if (row.needs.find(placeholder) != std::string::npos) {
        EXPECT_NE(text(row.key).find(placeholder), std::string::npos) << placeholder;
      }
    }
    if (row.needs.find("no bars") != std::string::npos) {
      EXPECT_EQ(text(row.key).find('|'), std::string::npos);
    }
  }
}

TEST_F(GeneratedTexts, BarsThatAreRemovedLeaveTheWordsApart) {
  for (int n = 1; n <= 12; ++n) {
    const std::string name = text("pack" + std::to_string(n) + "_name");
    const size_t bar = name.find('|');
    ASSERT_NE(bar, std::string::npos) << name;
    EXPECT_EQ(name[bar - 1], ' ') << name;
  }
  const std::string mode = text("hint_30");
  for (size_t bar = mode.find('|'); bar != std::string::npos; bar = mode.find('|', bar + 1)) {
    EXPECT_TRUE(bar > 0 && (mode[bar - 1] == ' ' || mode[bar + 1] == ' ')) << mode;
  }
}

// Only the tutorial's steps 2, 3 and 9 mark their cards on the table: no other hint may speak
// of a marked card.
TEST_F(GeneratedTexts, OnlyHintsWhoseCardsBlinkSpeakOfMarkedCards) {
  for (int n = 0; n <= 34; ++n) {
    if (n == 2 || n == 3 || n == 9) continue;
    const std::string hint = text("hint_" + std::to_string(n));
    EXPECT_EQ(hint.find("marked card"), std::string::npos) << "hint_" << n << ": " << hint;
  }
}

// The level's hint strip is 60 pixels high: two lines of its font and no more.
TEST_F(GeneratedTexts, HintsOnTheLevelsStripKeepToTwoLines) {
  std::vector<int> strip;
  for (int n = 0; n <= 15; ++n) strip.push_back(n);
  for (int n : {24, 26, 27, 28, 29, 31, 32, 33, 34}) strip.push_back(n);
  for (int n : strip) {
    const std::string hint = text("hint_" + std::to_string(n));
    size_t bars = 0;
    for (char c : hint) bars += c == '|' ? 1 : 0;
    EXPECT_LE(bars, 1u) << "hint_" << n << ": " << hint;
  }
}

TEST_F(GeneratedTexts, TuningNumbersKeepPlayFair) {
  EXPECT_GE(number("numberOfActionPointsToIncreaseMultiplier"), 1);
  EXPECT_GE(root_.child("defaultTimeToDecreaseActionPointsByOnePoint").attribute("text").as_float(), 7.0f);
  EXPECT_GT(number("bonus_card_XX_money_bonus_value"), 0);
  EXPECT_GT(number("bonus_card_XXX_money_bonus_value"), number("bonus_card_XX_money_bonus_value"));
  EXPECT_GT(number("shop_price_joker"), 0);
  EXPECT_GT(number("shop_price_reshuffle"), 0);
  for (int n = 2; n <= 5; ++n) {
    EXPECT_GT(number("shop_price_place_number" + std::to_string(n)),
              number("shop_price_place_number" + std::to_string(n - 1)));
  }
  for (const char* mode : {"junior", "professional"}) {
    int previous = 0;
    for (int n = 1; n <= 12; ++n) {
      const std::string key = std::string(mode) + "_pack" + std::to_string(n) + "_goal";
      SCOPED_TRACE(key);
      EXPECT_TRUE(isDigits(text(key)));
      EXPECT_GE(number(key), previous);
      EXPECT_LE(number(key), 300);
      previous = number(key);
    }
  }
  for (int n = 1; n <= 12; ++n) {
    EXPECT_LE(number("junior_pack" + std::to_string(n) + "_goal"),
              number("professional_pack" + std::to_string(n) + "_goal"));
  }
  for (int n = 1; n <= 24; ++n) EXPECT_TRUE(isDigits(text("trophy_" + std::to_string(n) + "_prize")));
}

TEST_F(GeneratedTexts, GameNameAndSafetyKey) {
  EXPECT_EQ(text("game_name"), "Pindrake");
  EXPECT_EQ(text("string_not_found"), "string_not_found");
}

TEST(GenerateTexts, WritesTheSameFileElsewhereWithoutLeftovers) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / ("pindrake_texts_test_" + std::to_string(::getpid()));
  std::filesystem::remove_all(folder);
  ASSERT_TRUE(resgen::generateTexts(folder));
  EXPECT_FALSE(std::filesystem::exists(folder / "texts" / "texts.xml.part"));
  pugi::xml_document document;
  ASSERT_TRUE(document.load_file((folder / "texts" / "texts.xml").c_str()));
  std::map<std::string, std::string> read;
  for (pugi::xml_node child : document.child("texts").children()) read[child.name()] = child.attribute("text").value();
  for (const auto& [key, value] : resgen::textEntries()) EXPECT_EQ(read[key], value) << key;
  std::filesystem::remove_all(folder);
}

}  // namespace
