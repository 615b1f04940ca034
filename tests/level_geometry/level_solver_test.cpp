#include "level_geometry/level_solver.h"

#include <set>

#include <gtest/gtest.h>

namespace {

// value of a card of the given rank (2-14) in the first suit
int32_t ofRank(int32_t rank) { return rank - 2; }

void put(EDITOR_CARD_TABLE& table, int slot, float x, float y, int z, int32_t value, bool special) {
  table.cards[slot].putOnTable(x, y, z, value, special);
}

LEVEL_DEAL dealOf(const EDITOR_CARD_TABLE& table, std::vector<int32_t> stockRanks) {
  LEVEL_DEAL deal;
  for (int i = 0; i < EDITOR_CARD_SLOTS; ++i) deal.layoutValues[i] = table.cards[i].value;
  for (int32_t rank : stockRanks) deal.stock.push_back(ofRank(rank) + 13);
  return deal;
}

LEVEL_SETTINGS settingsOf(int stock, int piles) {
  LEVEL_SETTINGS settings;
  settings.numberOfTurnovers = 1;
  settings.numberOfCardsInStockPile = stock;
  settings.numberOfReservePiles = piles;
  return settings;
}

// A skittle of rank 5 (slot 0) under a nine (slot 1), and a free skittle of rank 5 (slot 2).
EDITOR_CARD_TABLE buriedSkittle() {
  EDITOR_CARD_TABLE table;
  put(table, 0, 300, 300, 0, ofRank(5), true);
  put(table, 1, 320, 320, 1, ofRank(9), false);
  put(table, 2, 700, 300, 0, ofRank(5), true);
  table.computeCoverLists();
  return table;
}

TEST(SolveLevel, FreePairOfSkittlesIsAStrike) {
  EDITOR_CARD_TABLE table;
  put(table, 0, 300, 300, 0, ofRank(7), true);
  put(table, 1, 600, 300, 0, ofRank(7) + 26, true);
  const LEVEL_SOLUTION solution = solveLevel(table, settingsOf(1, 1), dealOf(table, {3}), 1000);
  EXPECT_TRUE(solution.cleared);
  EXPECT_TRUE(solution.strike);
  EXPECT_EQ(solution.specialsLeft, 0);
}

TEST(SolveLevel, PileTopFreesTheCoveringCard) {
  const EDITOR_CARD_TABLE table = buriedSkittle();
  const LEVEL_SOLUTION solution = solveLevel(table, settingsOf(2, 1), dealOf(table, {9, 4}), 1000);
  EXPECT_TRUE(solution.cleared);
  EXPECT_TRUE(solution.strike);
}

TEST(SolveLevel, CoveredSkittleWithoutAPartnerForItsCoverStays) {
  const EDITOR_CARD_TABLE table = buriedSkittle();
  const LEVEL_SOLUTION solution = solveLevel(table, settingsOf(3, 2), dealOf(table, {4, 6, 12}), 1000);
  EXPECT_FALSE(solution.cleared);
  EXPECT_FALSE(solution.exhausted);
  EXPECT_EQ(solution.specialsLeft, 2);
}

TEST(SolveLevel, CardBuriedOnThePileComesBackAfterTheTurnover) {
  // The nine's cover is a queen. One pile: the nine is dealt while still covered, a six lands
  // on it, the queen comes last and takes the cover; the six has no partner, so the nine
  // waits under it until the turnover brings it back.
  EDITOR_CARD_TABLE table = buriedSkittle();
  put(table, 3, 330, 330, 2, ofRank(12), false);
  table.computeCoverLists();
  ASSERT_EQ(table.cards[1].overList, std::vector<int32_t>{3});
  const LEVEL_SOLUTION solution = solveLevel(table, settingsOf(3, 1), dealOf(table, {9, 6, 12}), 1000);
  EXPECT_TRUE(solution.cleared);
  EXPECT_FALSE(solution.strike);
  // With two piles the six goes beside the nine and the frame is a strike.
  const LEVEL_SOLUTION twoPiles = solveLevel(table, settingsOf(3, 2), dealOf(table, {9, 6, 12}), 1000);
  EXPECT_TRUE(twoPiles.strike);
}

TEST(SolveLevel, OnlyOneTurnover) {
  // A stock that never brings a nine: after both balls the skittle under the nine stands.
  const EDITOR_CARD_TABLE table = buriedSkittle();
  const LEVEL_SOLUTION solution = solveLevel(table, settingsOf(4, 1), dealOf(table, {3, 4, 6, 8}), 10000);
  EXPECT_FALSE(solution.cleared);
  EXPECT_FALSE(solution.exhausted);
}

TEST(SolveLevel, BudgetRunsOut) {
  const EDITOR_CARD_TABLE table = buriedSkittle();
  const LEVEL_SOLUTION solution = solveLevel(table, settingsOf(4, 1), dealOf(table, {3, 4, 6, 8}), 2);
  EXPECT_FALSE(solution.cleared);
  EXPECT_TRUE(solution.exhausted);
}

TEST(SolvePosition, ACardAlreadyOnAPilePairsWithTheLayout) {
  // The nine over the buried skittle finds its partner on the second pile's top; the stock
  // left holds nothing useful.
  const EDITOR_CARD_TABLE table = buriedSkittle();
  LEVEL_POSITION position;
  position.piles = {{ofRank(3)}, {ofRank(6), ofRank(9) + 13}};
  position.stock = {ofRank(4)};
  const LEVEL_SOLUTION solution = solvePosition(table, dealOf(table, {}), position, 1000);
  ASSERT_TRUE(solution.strike);
  ASSERT_FALSE(solution.line.empty());
  const LEVEL_MOVE& first = solution.line.front();
  EXPECT_EQ(first.kind, LEVEL_MOVE::PAIR);
  EXPECT_TRUE((first.a == 1 && first.b == -2) || (first.a == -2 && first.b == 1));
}

TEST(SolvePosition, AfterTheTurnoverTheStockRunsOutForGood) {
  // The nine comes only after the six that the single pile must first take; once turned
  // over, the stock is not gathered again.
  const EDITOR_CARD_TABLE table = buriedSkittle();
  LEVEL_POSITION position;
  position.piles = {{}};
  position.stock = {ofRank(6), ofRank(9)};
  const LEVEL_SOLUTION second = solvePosition(table, dealOf(table, {}), position, 1000);
  EXPECT_TRUE(second.cleared);
  position.turnedOver = true;
  position.stock = {ofRank(6)};
  position.piles = {{ofRank(9)}};
  const LEVEL_SOLUTION buried = solvePosition(table, dealOf(table, {}), position, 1000);
  EXPECT_TRUE(buried.cleared) << "the nine on the pile is still free";
  position.piles = {{ofRank(9), ofRank(6)}};
  position.stock = {};
  const LEVEL_SOLUTION lost = solvePosition(table, dealOf(table, {}), position, 1000);
  EXPECT_FALSE(lost.cleared) << "the six over the nine never leaves";
}

TEST(PlayedNumbers, StockAndPilesAsTheGameCorrectsThem) {
  EXPECT_EQ(playedStockSize(settingsOf(0, 1)), 52);
  EXPECT_EQ(playedStockSize(settingsOf(500, 1)), 208);
  EXPECT_EQ(playedStockSize(settingsOf(13, 1)), 13);
  EXPECT_EQ(playedReservePiles(settingsOf(1, 0)), 2);
  EXPECT_EQ(playedReservePiles(settingsOf(1, 7)), 2);
  EXPECT_EQ(playedReservePiles(settingsOf(1, 5)), 5);
}

TEST(DealLevel, FirstFiftyTwoDrawsDifferAndFixedValuesStay) {
  EDITOR_CARD_TABLE table;
  for (int i = 0; i < 60; ++i) put(table, i, 20.0f + 15 * i, 300, 0, -1, false);
  table.cards[7].value = 5;
  const LEVEL_DEAL deal = dealLevel(table, settingsOf(70, 2), 9, false);
  ASSERT_EQ(deal.stock.size(), 70u);
  EXPECT_EQ(std::set<int32_t>(deal.stock.begin(), deal.stock.begin() + 52).size(), 52u);
  EXPECT_EQ(deal.layoutValues[7], 5);
  std::set<int32_t> layout;
  for (int i = 0; i < 53; ++i) {
    if (i != 7) layout.insert(deal.layoutValues[i]);
  }
  EXPECT_EQ(layout.size(), 52u);
  EXPECT_EQ(deal.layoutValues[100], -1);
  const LEVEL_DEAL again = dealLevel(table, settingsOf(70, 2), 9, false);
  EXPECT_EQ(again.stock, deal.stock);
}

TEST(DealLevel, TutorialWritesTheFirstTwoStockValues) {
  EDITOR_CARD_TABLE table;
  put(table, 0, 300, 300, 0, -1, false);
  const LEVEL_DEAL deal = dealLevel(table, settingsOf(20, 2), 3, true);
  EXPECT_EQ(deal.stock[0], 32);
  EXPECT_EQ(deal.stock[1], 11);
}

}  // namespace
