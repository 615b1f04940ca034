#include "levels.h"

#include <algorithm>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>
#include <unistd.h>

#include "content.h"

namespace {

const std::filesystem::path LEVELS = std::filesystem::path(PINDRAKE_BUILD_DIR) / "Resources" / "Levels";

struct READ_LEVEL {
  bool loaded = false;
  int countOfCards = -1;
  EDITOR_CARD_TABLE table;
  LEVEL_SETTINGS settings;
};

READ_LEVEL readLevelFile(int index) {
  READ_LEVEL level;
  pugi::xml_document document;
  level.loaded = loadLevelDocument(document, LEVELS / ("Level_" + std::to_string(index) + ".xml"));
  level.countOfCards = document.child("level").attribute("countOfCards").as_int(-1);
  readLevel(document, level.table, level.settings);
  return level;
}

int32_t rankOf(int32_t value) { return value % 13 + 2; }

int maxLayer(const EDITOR_CARD_TABLE& table) {
  int highest = -1000;
  for (const EDITOR_CARD& card : table.cards) {
    if (card.inUse) highest = std::max(highest, card.zLayer);
  }
  return highest;
}

TEST(Levels, EachFileReadsBackAsGenerated) {
  for (int index = 0; index < resgen::LEVEL_COUNT; ++index) {
    SCOPED_TRACE("Level_" + std::to_string(index));
    const READ_LEVEL read = readLevelFile(index);
    ASSERT_TRUE(read.loaded);
    EDITOR_CARD_TABLE expected;
    LEVEL_SETTINGS settings;
    ASSERT_TRUE(resgen::buildLevel(index, expected, settings));
    EXPECT_EQ(read.settings.numberOfTurnovers, settings.numberOfTurnovers);
    EXPECT_EQ(read.settings.numberOfCardsInStockPile, settings.numberOfCardsInStockPile);
    EXPECT_EQ(read.settings.numberOfReservePiles, settings.numberOfReservePiles);
    EXPECT_EQ(read.settings.numberOfBonusCards, settings.numberOfBonusCards);
    EXPECT_EQ(read.countOfCards, expected.countCardsInUse());
    for (int slot = 0; slot < EDITOR_CARD_SLOTS; ++slot) {
      const EDITOR_CARD& a = read.table.cards[slot];
      const EDITOR_CARD& b = expected.cards[slot];
      ASSERT_EQ(a.inUse, b.inUse) << "slot " << slot;
      if (!a.inUse) continue;
      EXPECT_EQ(a.x, b.x) << "slot " << slot;
      EXPECT_EQ(a.y, b.y) << "slot " << slot;
      EXPECT_EQ(a.angle, b.angle) << "slot " << slot;
      EXPECT_EQ(a.zLayer, b.zLayer) << "slot " << slot;
      EXPECT_EQ(a.value, b.value) << "slot " << slot;
      EXPECT_EQ(a.isSpecial, b.isSpecial) << "slot " << slot;
      EXPECT_EQ(a.overList, b.overList) << "slot " << slot;
      EXPECT_EQ(a.underList, b.underList) << "slot " << slot;
    }
  }
}

TEST(Levels, ListsMatchTheGeometryOfTheReadCards) {
  for (int index = 0; index < resgen::LEVEL_COUNT; ++index) {
    SCOPED_TRACE("Level_" + std::to_string(index));
    const READ_LEVEL read = readLevelFile(index);
    EDITOR_CARD_TABLE recomputed = read.table;
    recomputed.computeCoverLists();
    for (int slot = 0; slot < EDITOR_CARD_SLOTS; ++slot) {
      EXPECT_EQ(read.table.cards[slot].overList, recomputed.cards[slot].overList) << "slot " << slot;
      EXPECT_EQ(read.table.cards[slot].underList, recomputed.cards[slot].underList) << "slot " << slot;
    }
  }
}

TEST(Levels, ContentRules) {
  for (int index = 0; index < resgen::LEVEL_COUNT; ++index) {
    SCOPED_TRACE("Level_" + std::to_string(index));
    const READ_LEVEL read = readLevelFile(index);
    EXPECT_EQ(read.table.countOfSpecialCards, resgen::LEVEL_SPECIAL_CARDS);
    const int32_t stock = playedStockSize(read.settings);
    EXPECT_EQ(stock, read.settings.numberOfCardsInStockPile);
    EXPECT_LE(read.settings.numberOfBonusCards, stock);
    EXPECT_GE(read.settings.numberOfReservePiles, 1);
    EXPECT_LE(read.settings.numberOfReservePiles, 3);
    EXPECT_EQ(read.settings.numberOfTurnovers, 1);
    for (const EDITOR_CARD& card : read.table.cards) {
      if (!card.inUse) continue;
      EXPECT_GE(card.x, resgen::LEVEL_AREA_LEFT);
      EXPECT_LE(card.x, std::min(resgen::LEVEL_AREA_RIGHT, 1024.0f - 75.0f / 2));
      EXPECT_GE(card.y, resgen::LEVEL_AREA_TOP);
      EXPECT_LE(card.y, resgen::LEVEL_AREA_BOTTOM);
      EXPECT_FALSE(resgen::isUnderCornerButton(card.x, card.y, card.angle)) << card.x << ", " << card.y;
      // The tutorial's cards lie below the hint strip that explains its steps (its bottom at
      // 160; a card's picture reaches 65 above its centre).
      if (resgen::isTutorialLevel(index)) {
        EXPECT_GE(card.y - 65.0f, 160.0f) << card.x << ", " << card.y;
      }
      EXPECT_GE(card.zLayer, EDITOR_BOTTOM_LAYER);
      EXPECT_LE(card.zLayer, EDITOR_TOP_LAYER);
      EXPECT_GE(card.value, -1);
      EXPECT_LT(card.value, 52);
    }
  }
}

TEST(Levels, EveryLevelCanBeCleared) {
  for (int index = 0; index < resgen::LEVEL_COUNT; ++index) {
    SCOPED_TRACE("Level_" + std::to_string(index));
    const READ_LEVEL read = readLevelFile(index);
    LEVEL_SOLUTION solution;
    const uint32_t seed = resgen::findClearingSeed(read.table, read.settings, resgen::isTutorialLevel(index), &solution);
    EXPECT_NE(seed, 0u);
    EXPECT_TRUE(solution.cleared);
  }
}

TEST(Levels, DifficultyRisesAcrossThePacks) {
  double previousCards = 0.0;
  int previousPiles = 5;
  double firstLayers = 0.0, lastLayers = 0.0;
  for (int pack = 0; pack < 12; ++pack) {
    double cards = 0.0, layers = 0.0;
    int piles = 0;
    for (int frame = 0; frame < 10; ++frame) {
      const READ_LEVEL read = readLevelFile(pack * 10 + frame);
      cards += read.table.countCardsInUse();
      layers += maxLayer(read.table);
      piles = std::max(piles, read.settings.numberOfReservePiles);
    }
    SCOPED_TRACE("pack " + std::to_string(pack + 1));
    EXPECT_GE(cards / 10, previousCards);
    EXPECT_LE(piles, previousPiles);
    previousCards = cards / 10;
    previousPiles = piles;
    if (pack < 3) firstLayers += layers;
    if (pack >= 9) lastLayers += layers;
  }
  EXPECT_GT(lastLayers, firstLayers + 30);
}

TEST(Levels, TutorialFollowsItsHints) {
  const READ_LEVEL read = readLevelFile(0);
  const auto& cards = read.table.cards;
  for (int slot : {10, 28, 31, 34, 49}) ASSERT_TRUE(cards[slot].inUse) << slot;
  // Hint 2: slots 31 and 49 are a free pair, face up.
  EXPECT_TRUE(cards[31].overList.empty());
  EXPECT_TRUE(cards[49].overList.empty());
  ASSERT_GE(cards[31].value, 0);
  ASSERT_GE(cards[49].value, 0);
  EXPECT_EQ(rankOf(cards[31].value), rankOf(cards[49].value));
  // Hint 3: taking them uncovers the skittles 28 and 34, another pair.
  EXPECT_EQ(cards[28].overList, std::vector<int32_t>{31});
  EXPECT_EQ(cards[34].overList, std::vector<int32_t>{49});
  EXPECT_TRUE(cards[34].isSpecial);
  EXPECT_TRUE(cards[28].isSpecial);
  ASSERT_GE(cards[34].value, 0);
  ASSERT_GE(cards[28].value, 0);
  EXPECT_EQ(rankOf(cards[34].value), rankOf(cards[28].value));
  // Read in id order, a covered card with a fixed value is turned face down only by a card
  // read after it: every such card needs a higher id among the cards over it.
  for (int slot = 0; slot < EDITOR_CARD_SLOTS; ++slot) {
    if (!cards[slot].inUse || cards[slot].value < 0 || cards[slot].overList.empty()) continue;
    EXPECT_GT(*std::max_element(cards[slot].overList.begin(), cards[slot].overList.end()), slot) << slot;
  }
  // Hint 27: slot 10 is free and pairs with one of the two dealt cards (32 and 11).
  EXPECT_TRUE(cards[10].overList.empty());
  ASSERT_GE(cards[10].value, 0);
  EXPECT_TRUE(rankOf(cards[10].value) == rankOf(32) || rankOf(cards[10].value) == rankOf(11));
  EXPECT_LE(read.settings.numberOfBonusCards, 2);
  EXPECT_GT(playedStockSize(read.settings), 12);
  EXPECT_GE(playedReservePiles(read.settings), 2);
}

TEST(GenerateLevels, WritesEveryFileWithoutLeftovers) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / ("pindrake_levels_test_" + std::to_string(::getpid()));
  std::filesystem::remove_all(folder);
  ASSERT_TRUE(resgen::generateLevels(folder));
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder / "Levels")) {
    EXPECT_EQ(entry.path().extension(), ".xml") << entry.path();
    ++files;
  }
  EXPECT_EQ(files, resgen::LEVEL_COUNT);
  std::filesystem::remove_all(folder);
}

TEST(BuildLevel, SameIndexSameLevel) {
  EDITOR_CARD_TABLE a, b;
  LEVEL_SETTINGS sa, sb;
  ASSERT_TRUE(resgen::buildLevel(57, a, sa));
  ASSERT_TRUE(resgen::buildLevel(57, b, sb));
  for (int slot = 0; slot < EDITOR_CARD_SLOTS; ++slot) {
    EXPECT_EQ(a.cards[slot].inUse, b.cards[slot].inUse);
    EXPECT_EQ(a.cards[slot].x, b.cards[slot].x);
    EXPECT_EQ(a.cards[slot].isSpecial, b.cards[slot].isSpecial);
  }
}

}  // namespace
