#include "level_geometry/level_file.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

#include "engine/log.h"

namespace {

void put(EDITOR_CARD_TABLE& table, int slot, float x, float y, int z, float angle = 0.0f) {
  EDITOR_CARD& card = table.cards[slot];
  card.putOnTable();
  card.x = x;
  card.y = y;
  card.zLayer = z;
  card.angle = angle;
}

std::vector<std::string> childTexts(pugi::xml_node card, const char* name) {
  std::vector<std::string> texts;
  for (pugi::xml_node child = card.child(name); child; child = child.next_sibling(name)) {
    texts.emplace_back(child.text().get());
  }
  return texts;
}

TEST(WriteLevel, EmptyLevelHasOnlyTheNumbers) {
  EDITOR_CARD_TABLE table;
  pugi::xml_document document;
  writeLevel(document, table, 17, LEVEL_SETTINGS{1, 40, 3, 2});
  const pugi::xml_node level = document.child("level");
  ASSERT_TRUE(level);
  EXPECT_FALSE(level.child("card"));
  std::vector<std::string> names;
  for (pugi::xml_attribute a : level.attributes()) names.emplace_back(a.name());
  EXPECT_EQ(names, (std::vector<std::string>{"levelNumber", "countOfCards", "numberOfTurnovers",
                                             "numberOfCardsInStockPile", "numberOfReservePiles",
                                             "numberOfBonusCards"}));
  EXPECT_EQ(level.attribute("levelNumber").as_int(), 17);
  EXPECT_EQ(level.attribute("countOfCards").as_int(), 0);
  EXPECT_EQ(level.attribute("numberOfCardsInStockPile").as_int(), 40);
}

TEST(WriteLevel, OverlappingCardsOnTwoLayersNameEachOther) {
  EDITOR_CARD_TABLE table;
  put(table, 4, 300, 300, 3);
  put(table, 9, 320, 310, 5);
  put(table, 12, 900, 300, 0);
  pugi::xml_document document;
  writeLevel(document, table, 0, LEVEL_SETTINGS{});
  pugi::xml_node card4 = document.child("level").find_child_by_attribute("card", "id", "4");
  pugi::xml_node card9 = document.child("level").find_child_by_attribute("card", "id", "9");
  EXPECT_EQ(childTexts(card4, "over"), std::vector<std::string>{"9"});
  EXPECT_TRUE(childTexts(card4, "under").empty());
  EXPECT_EQ(childTexts(card9, "under"), std::vector<std::string>{"4"});
  EXPECT_EQ(document.child("level").attribute("countOfCards").as_int(), 3);

  table.cards[9].zLayer = 3;
  writeLevel(document, table, 0, LEVEL_SETTINGS{});
  card4 = document.child("level").find_child_by_attribute("card", "id", "4");
  EXPECT_FALSE(card4.first_child());
}

TEST(WriteLevel, ChildrenInterleaveInSlotOrder) {
  EDITOR_CARD_TABLE table;
  put(table, 1, 300, 300, 1);
  put(table, 5, 310, 300, 2);
  put(table, 8, 290, 300, 0);
  pugi::xml_document document;
  writeLevel(document, table, 0, LEVEL_SETTINGS{});
  const pugi::xml_node card5 = document.child("level").find_child_by_attribute("card", "id", "5");
  std::vector<std::string> order;
  for (pugi::xml_node child : card5.children()) order.push_back(std::string(child.name()) + child.text().get());
  EXPECT_EQ(order, (std::vector<std::string>{"under1", "under8"}));
  const pugi::xml_node card1 = document.child("level").find_child_by_attribute("card", "id", "1");
  order.clear();
  for (pugi::xml_node child : card1.children()) order.push_back(std::string(child.name()) + child.text().get());
  EXPECT_EQ(order, (std::vector<std::string>{"over5", "under8"}));
}

TEST(WriteLevel, AngleInDegreesAndCompactFloats) {
  EDITOR_CARD_TABLE table;
  put(table, 0, 512.5f, 300.25f, 0, 3.14159265f / 4);
  table.cards[0].value = 51;
  table.cards[0].isSpecial = true;
  pugi::xml_document document;
  writeLevel(document, table, 0, LEVEL_SETTINGS{});
  const pugi::xml_node card = document.child("level").child("card");
  EXPECT_STREQ(card.attribute("angle").value(), "45");
  EXPECT_STREQ(card.attribute("x").value(), "512.5");
  EXPECT_STREQ(card.attribute("y").value(), "300.25");
  EXPECT_STREQ(card.attribute("isSpecial").value(), "true");
  EXPECT_STREQ(card.attribute("assignedValue").value(), "51");
  std::vector<std::string> names;
  for (pugi::xml_attribute a : card.attributes()) names.emplace_back(a.name());
  EXPECT_EQ(names, (std::vector<std::string>{"id", "zLayer", "x", "y", "angle", "assignedValue", "isSpecial"}));
}

TEST(ReadLevel, RoundTripKeepsCardsAndLists) {
  EDITOR_CARD_TABLE table;
  put(table, 0, 300, 300, 0, 20 * DEGREES_TO_RADIANS);
  put(table, 7, 330, 320, 2, -15 * DEGREES_TO_RADIANS);
  put(table, 299, 700, 200, -4);
  table.cards[7].value = 12;
  table.cards[299].isSpecial = true;
  table.computeCoverLists();
  pugi::xml_document document;
  writeLevel(document, table, 3, LEVEL_SETTINGS{1, 0, 7, 4});

  EDITOR_CARD_TABLE read;
  LEVEL_SETTINGS settings;
  readLevel(document, read, settings);
  EXPECT_EQ(settings.numberOfTurnovers, 1);
  EXPECT_EQ(settings.numberOfCardsInStockPile, 0);
  EXPECT_EQ(settings.numberOfReservePiles, 7);
  EXPECT_EQ(settings.numberOfBonusCards, 4);
  EXPECT_EQ(read.countCardsInUse(), 3);
  EXPECT_EQ(read.countOfSpecialCards, 1);
  for (int slot : {0, 7, 299}) {
    SCOPED_TRACE(slot);
    EXPECT_EQ(read.cards[slot].x, table.cards[slot].x);
    EXPECT_EQ(read.cards[slot].y, table.cards[slot].y);
    EXPECT_NEAR(read.cards[slot].angle, table.cards[slot].angle, 1e-6);
    EXPECT_EQ(read.cards[slot].zLayer, table.cards[slot].zLayer);
    EXPECT_EQ(read.cards[slot].value, table.cards[slot].value);
    EXPECT_EQ(read.cards[slot].overList, table.cards[slot].overList);
    EXPECT_EQ(read.cards[slot].underList, table.cards[slot].underList);
  }
  EXPECT_EQ(read.cards[0].overList, std::vector<int32_t>{7});
}

TEST(ReadLevel, DegreesBecomeRadians) {
  pugi::xml_document document;
  document.load_string("<level><card id='2' angle='45' x='10' y='20'/></level>");
  EDITOR_CARD_TABLE table;
  LEVEL_SETTINGS settings;
  readLevel(document, table, settings);
  EXPECT_FLOAT_EQ(table.cards[2].angle, 45 * 0.017453292f);
  // Missing attributes read as 0: a fixed two, layer 0, not special.
  EXPECT_EQ(table.cards[2].value, 0);
  EXPECT_EQ(table.cards[2].zLayer, 0);
  EXPECT_FALSE(table.cards[2].isSpecial);
}

TEST(ReadLevel, BrokenOrMissingFileIsAnEmptyLevel) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / ("pindrake_level_file_test_" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  const std::filesystem::path broken = folder / "broken.xml";
  { std::FILE* f = std::fopen(broken.c_str(), "w"); std::fputs("<level><card id='1'", f); std::fclose(f); }
  for (const auto& path : {broken, folder / "missing.xml"}) {
    pugi::xml_document document;
    EXPECT_FALSE(loadLevelDocument(document, path));
    EDITOR_CARD_TABLE table;
    LEVEL_SETTINGS settings{5, 5, 5, 5};
    readLevel(document, table, settings);
    EXPECT_EQ(table.countCardsInUse(), 0);
    EXPECT_EQ(settings.numberOfReservePiles, 0);
  }
  std::filesystem::remove_all(folder);
}

TEST(ReadLevel, IdsOutsideTheSlotsAreLeftOutWithALogLine) {
  std::vector<std::string> lines;
  QEL::fSetLogSink([&](const std::string& line) { lines.push_back(line); });
  pugi::xml_document document;
  document.load_string(
      "<level><card id='300' x='1' y='1'/><card id='-1'/>"
      "<card id='3' x='5' y='5'><over>4</over><over>999</over><under>-2</under><under>1</under></card></level>");
  EDITOR_CARD_TABLE table;
  LEVEL_SETTINGS settings;
  readLevel(document, table, settings);
  QEL::fSetLogSink({});
  EXPECT_EQ(table.countCardsInUse(), 1);
  EXPECT_EQ(table.cards[3].overList, std::vector<int32_t>{4});
  EXPECT_EQ(table.cards[3].underList, std::vector<int32_t>{1});
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0], "ignore cardID: 300");
}

TEST(ReadLevel, ListsAreClippedAtThreeHundred) {
  std::string text = "<level><card id='0'>";
  for (int i = 0; i < 320; ++i) text += "<over>" + std::to_string(i % 300) + "</over>";
  text += "</card></level>";
  pugi::xml_document document;
  document.load_string(text.c_str());
  EDITOR_CARD_TABLE table;
  LEVEL_SETTINGS settings;
  readLevel(document, table, settings);
  EXPECT_EQ(table.cards[0].overList.size(), 300u);
}

TEST(ReadLevel, LaterCardWithTheSameIdWins) {
  pugi::xml_document document;
  document.load_string("<level><card id='5' x='10'/><card id='5' x='20'/></level>");
  EDITOR_CARD_TABLE table;
  LEVEL_SETTINGS settings;
  readLevel(document, table, settings);
  EXPECT_EQ(table.countCardsInUse(), 1);
  EXPECT_FLOAT_EQ(table.cards[5].x, 20);
}

TEST(LevelFile, SavedTextIsTabIndentedWithDeclaration) {
  EDITOR_CARD_TABLE table;
  put(table, 0, 300, 300, 0);
  put(table, 1, 310, 300, 1);
  pugi::xml_document document;
  writeLevel(document, table, 2, LEVEL_SETTINGS{1, 30, 2, 1});
  const std::filesystem::path path = std::filesystem::temp_directory_path() / ("pindrake_level_save_" + std::to_string(::getpid()) + ".xml");
  ASSERT_TRUE(saveLevelDocument(document, path));
  std::FILE* f = std::fopen(path.c_str(), "r");
  ASSERT_NE(f, nullptr);
  char buffer[4096] = {};
  const size_t n = std::fread(buffer, 1, sizeof buffer - 1, f);
  std::fclose(f);
  std::filesystem::remove(path);
  const std::string text(buffer, n);
  EXPECT_EQ(text.rfind("<?xml version=\"1.0\"?>", 0), 0u);
  EXPECT_NE(text.find("\n\t<card id=\"0\""), std::string::npos);
  EXPECT_NE(text.find("\n\t\t<over>1</over>"), std::string::npos);
}

TEST(LevelFile, BoxTextsAreSavedAsTheNumbersTheGamePlays) {
  using enum LEVEL_NUMBER;
  EXPECT_EQ(levelNumberFromBoxText(STOCK_PILE, "12", 40), 12);
  EXPECT_EQ(levelNumberFromBoxText(STOCK_PILE, " 208 ", 40), 208);
  EXPECT_EQ(levelNumberFromBoxText(STOCK_PILE, "209", 40), 208);
  EXPECT_EQ(levelNumberFromBoxText(STOCK_PILE, "0", 40), 52);
  EXPECT_EQ(levelNumberFromBoxText(STOCK_PILE, "-3", 40), 52);
  // No number: the previous value stays, unless the game could not play that either.
  EXPECT_EQ(levelNumberFromBoxText(STOCK_PILE, "abc", 40), 40);
  EXPECT_EQ(levelNumberFromBoxText(STOCK_PILE, "12abc", 40), 40);
  EXPECT_EQ(levelNumberFromBoxText(STOCK_PILE, nullptr, 0), 52);
  EXPECT_EQ(levelNumberFromBoxText(STOCK_PILE, "99999999999", 40), 40);
  EXPECT_EQ(levelNumberFromBoxText(RESERVE_PILES, "5", 3), 5);
  EXPECT_EQ(levelNumberFromBoxText(RESERVE_PILES, "6", 3), 2);
  EXPECT_EQ(levelNumberFromBoxText(RESERVE_PILES, "", 3), 3);
  EXPECT_EQ(levelNumberFromBoxText(TURNOVERS, "-1", 1), 0);
  EXPECT_EQ(levelNumberFromBoxText(TURNOVERS, "+4", 1), 4);
  EXPECT_EQ(levelNumberFromBoxText(BONUS_CARDS, "11", 2), 10);
  EXPECT_EQ(levelNumberFromBoxText(BONUS_CARDS, "two", 2), 2);
}

TEST(LevelFile, Paths) {
  EXPECT_EQ(getLevelPath(L"12"), L"Levels/Level_12");
  EXPECT_EQ(levelFilePath(119).generic_string(), "Levels/Level_119.xml");
}

// The editor's start-up removes what its own killed saves left in Levels, and nothing that
// only looks like it.
TEST(LevelFile, OnlyTheLeftoversOfLevelSavesAreRemoved) {
  namespace fs = std::filesystem;
  const fs::path levels = levelFilePath(0).parent_path();
  fs::create_directories(levels);
  for (const char* name : {"Level_3.xml", "Level_3.xml.tmp-a1B2c3", "Level_12.xml.tmp", "notes.tmp",
                           "Level_3.xml.tmp-a1b2", "backup.xml.tmp-a1b2c3"})
    std::ofstream(levels / name) << "x";
  EXPECT_EQ(removeStaleLevelTemporaries(), 2);
  std::vector<std::string> left;
  for (const fs::directory_entry& entry : fs::directory_iterator(levels)) left.push_back(entry.path().filename());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"Level_3.xml", "Level_3.xml.tmp-a1b2", "backup.xml.tmp-a1b2c3",
                                            "notes.tmp"}));
  fs::remove_all(levels);
}

TEST(Clipboard, CopiedSelectionPastesAtTheSamePlaces) {
  EDITOR_CARD_TABLE table;
  put(table, 2, 100, 200, 1);
  put(table, 5, 300, 200, 2, 10 * DEGREES_TO_RADIANS);
  put(table, 6, 500, 200, 3);
  put(table, 8, 700, 200, 0);
  table.cards[5].isSpecial = true;
  table.cards[6].overList = {2};
  table.currentCard = 6;
  table.selectedCards.add(2);
  table.selectedCards.add(5);
  pugi::xml_document clipboard;
  copySelectedCards(clipboard, table);
  const pugi::xml_node root = clipboard.child("selectedCards");
  ASSERT_TRUE(root);
  EXPECT_EQ(root.attribute("countOfCards").as_int(), 3);
  int cards = 0;
  for (pugi::xml_node card : root.children("card")) {
    EXPECT_FALSE(card.first_child());
    ++cards;
  }
  EXPECT_EQ(cards, 3);
  EXPECT_EQ(root.first_child().attribute("id").as_int(), 2);

  std::vector<std::string> lines;
  QEL::fSetLogSink([&](const std::string& line) { lines.push_back(line); });
  const std::vector<int32_t> pasted = pasteSelectedCards(clipboard, table);
  QEL::fSetLogSink({});
  EXPECT_EQ(pasted, (std::vector<int32_t>{0, 1, 3}));
  EXPECT_EQ(table.currentCard, 0);
  EXPECT_EQ(table.selectedCards.count(), 2);
  EXPECT_FLOAT_EQ(table.cards[1].x, 300);
  EXPECT_NEAR(table.cards[1].angle, 10 * DEGREES_TO_RADIANS, 1e-6);
  EXPECT_TRUE(table.cards[1].isSpecial);
  EXPECT_EQ(table.countOfSpecialCards, 1);
  EXPECT_EQ(lines, (std::vector<std::string>{"countOfCards: 3", "Paste card", "Paste card", "Paste card"}));
}

}  // namespace
