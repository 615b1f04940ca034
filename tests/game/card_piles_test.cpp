#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <set>
#include <vector>

#include "game/card.h"
#include "game/card_flights.h"
#include "game/card_piles.h"
#include "game/game_globals.h"
#include "game/scenes/level/level_scene.h"
#include "gui/gui_wlabel.h"

namespace {

// A level scene that owns a piles model and a flights table, as its start-up leaves them,
// without the rest of its start-up.
class Piles : public ::testing::Test {
 protected:
  void SetUp() override {
    std::srand(20261207);
    gIsReshuffling = 0;
    gCurrentLevel = 0;
    gTenthFrameBonus = 0;
    gTenthFrameSecondBonus = 0;
    level.cardFlights = new CARD_FLIGHTS();
    level.cardFlights->init();
    level.cardPiles = new CARD_PILES();
    piles().setCardWidth(75);
    piles().init();
    piles().setScene(&level);
  }

  CARD_PILES& piles() { return *level.cardPiles; }

  std::vector<int32_t> stockValues() {
    return std::vector<int32_t>(piles().stockValues, piles().stockValues + piles().stockSize);
  }

  std::vector<CARD*> stockCards() {
    return std::vector<CARD*>(piles().stockCards, piles().stockCards + piles().stockSize);
  }

  SCENE_CARD_GAME_LEVEL level;
};

TEST_F(Piles, TheFirst52EntriesAreOneWholePack) {
  for (unsigned seed : {1u, 2u, 99u}) {
    std::srand(seed);
    piles().startDeal(2, 60);
    ASSERT_EQ(piles().stockSize, 60);
    EXPECT_EQ(piles().used, 0);
    const std::vector<int32_t> values = stockValues();
    const std::set<int32_t> first(values.begin(), values.begin() + 52);
    EXPECT_EQ(first.size(), 52u);
    EXPECT_EQ(*first.begin(), 0);
    EXPECT_EQ(*first.rbegin(), 51);
    for (int32_t v : values) {
      EXPECT_GE(v, 0);
      EXPECT_LT(v, 52);
    }
  }
}

TEST_F(Piles, EveryStockEntryHasItsOwnCard) {
  piles().startDeal(3, 30);
  std::set<CARD*> seen;
  for (int32_t i = 0; i < 30; ++i) {
    CARD* card = piles().stockCards[i];
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(card->value, piles().stockValues[i]);
    EXPECT_EQ(card->kind, 2);
    EXPECT_EQ(card->index, i);
    seen.insert(card);
  }
  EXPECT_EQ(seen.size(), 30u);
  // A second deal replaces the cards (the first deal's are released).
  piles().startDeal(3, 10);
  EXPECT_EQ(piles().stockSize, 10);
  EXPECT_EQ(piles().stockCards[10], nullptr);
}

TEST_F(Piles, ADealIsBoundedByTheStockAndThePiles) {
  piles().startDeal(9, 500);
  EXPECT_EQ(piles().pileCount, 5);
  EXPECT_EQ(piles().stockSize, CARD_PILES::MAX_CARDS);
  piles().startDeal(0, -4);
  EXPECT_EQ(piles().pileCount, 1);
  EXPECT_EQ(piles().stockSize, 0);
}

TEST_F(Piles, StockActionsDealOneCardPerPileThenTurnOver) {
  level.turnoversAtStart = level.turnoversLeft = 2;
  piles().startDeal(3, 7);
  piles().setSpecialCardsCount(0);

  EXPECT_TRUE(piles().onStockEmpty());
  EXPECT_EQ(piles().used, 3);
  EXPECT_TRUE(piles().onStockEmpty());
  EXPECT_EQ(piles().used, 6);
  EXPECT_FALSE(piles().onStockEmpty());  // the last card: the stock is used up
  EXPECT_EQ(piles().used, 7);
  EXPECT_EQ(piles().pileSizes[0], 3);
  EXPECT_EQ(piles().pileSizes[1], 2);
  EXPECT_EQ(piles().pileSizes[2], 2);
  EXPECT_EQ(piles().getCardsLeft(), 0);

  EXPECT_TRUE(piles().onStockEmpty());  // the turnover
  EXPECT_EQ(level.turnoversLeft, 1);
  EXPECT_EQ(piles().stockSize, 7);
  EXPECT_EQ(piles().used, 0);
  EXPECT_EQ(piles().pileSizes[0], 0);
  EXPECT_EQ(piles().getCard(0, 0), -1);
}

TEST_F(Piles, TheTopOfAPileIsTheCardDealtLast) {
  piles().startDeal(2, 6);
  const std::vector<int32_t> values = stockValues();
  piles().onStockEmpty();
  piles().onStockEmpty();
  EXPECT_EQ(piles().getCard(0, 0), values[2]);
  EXPECT_EQ(piles().getCard(0, 1), values[0]);
  EXPECT_EQ(piles().getCard(1, 0), values[3]);
  EXPECT_EQ(piles().getCard(1, 1), values[1]);
  EXPECT_EQ(piles().getCardState(1, 0), piles().stockCards[3]);
  EXPECT_EQ(piles().getCard(1, 2), -1);
  EXPECT_EQ(piles().getCard(7, 0), -1);  // out of range reads as empty
}

TEST_F(Piles, ATurnoverGathersThePilesFirstDealtFirst) {
  level.turnoversAtStart = level.turnoversLeft = 1;
  piles().startDeal(3, 7);
  piles().setSpecialCardsCount(0);
  // Skittle flags on entries 1 and 4.
  piles().stockSpecial[1] = 1;
  piles().stockSpecial[4] = 1;
  const std::vector<int32_t> values = stockValues();
  const std::vector<CARD*> cards = stockCards();
  for (int i = 0; i < 3; ++i) piles().onStockEmpty();
  // The player takes the top of pile 1 (entry 4) before the turnover.
  piles().removeFirstCard(1);

  ASSERT_TRUE(piles().onStockEmpty());
  const std::vector<int> expected = {0, 1, 2, 3, 5, 6};
  ASSERT_EQ(piles().stockSize, 6);
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(piles().stockValues[i], values[expected[i]]) << i;
    EXPECT_EQ(piles().stockCards[i], cards[expected[i]]) << i;
    EXPECT_EQ(piles().stockSpecial[i], expected[i] == 1 ? 1 : 0) << i;
  }
}

TEST_F(Piles, UnlimitedTurnoversNeverRunOut) {
  level.turnoversAtStart = level.turnoversLeft = 99;
  piles().startDeal(2, 4);
  for (int round = 0; round < 5; ++round) {
    piles().onStockEmpty();
    piles().onStockEmpty();
    EXPECT_TRUE(piles().onStockEmpty());
    EXPECT_EQ(level.turnoversLeft, 99);
    EXPECT_EQ(piles().stockSize, 4);
  }
}

TEST_F(Piles, WithNoTurnoverLeftTheStockStaysUsedUp) {
  level.turnoversAtStart = level.turnoversLeft = 0;
  piles().startDeal(2, 2);
  EXPECT_FALSE(piles().onStockEmpty());
  EXPECT_FALSE(piles().onStockEmpty());  // the frame ends: nothing is gathered
  EXPECT_EQ(level.turnoversLeft, 0);
  EXPECT_EQ(piles().pileSizes[0], 1);
  EXPECT_EQ(piles().pileSizes[1], 1);
  EXPECT_EQ(piles().getCardsLeft(), 0);
}

TEST_F(Piles, TheTurnoversCountTheBalls) {
  level.turnoversAtStart = level.turnoversLeft = 2;
  piles().startDeal(1, 1);
  level.countOfSpecialCardsOnScene = 6;
  piles().onStockEmpty();
  piles().onStockEmpty();  // first turnover: the first ball knocked 4 down
  EXPECT_EQ(level.levelResult.specialCards1, 4);
  level.countOfSpecialCardsOnScene = 1;
  piles().onStockEmpty();
  piles().onStockEmpty();  // second turnover: 5 more
  EXPECT_EQ(level.levelResult.specialCards1, 4);
  EXPECT_EQ(level.levelResult.specialCards2, 5);
  EXPECT_EQ(level.turnoversLeft, 0);
}

TEST_F(Piles, WhileReshufflingAUsedUpStockDealsNothing) {
  level.turnoversAtStart = level.turnoversLeft = 2;
  piles().startDeal(2, 2);
  piles().onStockEmpty();
  gIsReshuffling = 1;
  EXPECT_FALSE(piles().onStockEmpty());
  gIsReshuffling = 0;
  EXPECT_EQ(level.turnoversLeft, 2);
  EXPECT_EQ(piles().pileSizes[0], 1);
  EXPECT_EQ(piles().stockSize, 2);
}

TEST_F(Piles, DealtCardsTurnOverOnTheirWayToTheirPile) {
  piles().startDeal(3, 6);
  piles().setSpecialCardsCount(0);
  piles().stockSpecial[2] = 1;
  piles().onStockEmpty();
  CARD* third = piles().stockCards[2];
  EXPECT_EQ(level.cardFlights->activeCount(), 3);
  EXPECT_TRUE(third->inFlight);
  EXPECT_EQ(third->dealtPile, 2);
  EXPECT_TRUE(third->isPileSpecial());
  EXPECT_FALSE(piles().stockCards[0]->isPileSpecial());
  const CARD_FLIGHT& flight = level.cardFlights->flights[2];
  EXPECT_EQ(flight.kind, CARD_FLIGHTS::TURN_OVER);
  EXPECT_FLOAT_EQ(flight.startX, piles().stockX);
  EXPECT_FLOAT_EQ(flight.endX, piles().holders[2]->homeX);
  EXPECT_FLOAT_EQ(flight.endY, piles().holders[2]->homeY);

  for (int step = 0; step < 120; ++step) level.cardFlights->update(1.0f / 60.0f);
  EXPECT_TRUE(third->flightDone);
  EXPECT_FLOAT_EQ(third->currentX, piles().holders[2]->homeX);
}

TEST_F(Piles, PileTopsShowOnTheHolders) {
  piles().startDeal(2, 4);
  piles().setSpecialCardsCount(0);
  piles().stockSpecial[3] = 1;
  piles().onStockEmpty();
  piles().onStockEmpty();
  piles().updatePileTops();
  EXPECT_EQ(piles().holders[0]->value, piles().getCard(0, 0));
  EXPECT_EQ(piles().holders[1]->value, piles().getCard(1, 0));
  EXPECT_EQ(piles().holders[1]->kind, 2);
  EXPECT_EQ(piles().holders[1]->index, 1);
  EXPECT_TRUE(piles().holders[1]->isPileSpecial());
  EXPECT_FALSE(piles().holders[0]->isPileSpecial());
  EXPECT_TRUE(piles().isSpecialSlot(1, 0));
}

TEST_F(Piles, TakingTheOnlyCardOfAPileSendsItsHolderHome) {
  piles().startDeal(2, 2);
  piles().onStockEmpty();
  CARD* holder = piles().holders[0];
  holder->currentX = 10.0f;
  holder->currentY = 20.0f;
  piles().removeFirstCard(0);
  EXPECT_EQ(piles().pileSizes[0], 0);
  EXPECT_EQ(piles().getCard(0, 0), -1);
  EXPECT_EQ(piles().getCardState(0, 0), nullptr);
  EXPECT_FLOAT_EQ(holder->currentX, holder->homeX);
  EXPECT_FLOAT_EQ(holder->currentY, holder->homeY);
  // An empty pile stays empty.
  piles().removeFirstCard(0);
  EXPECT_EQ(piles().pileSizes[0], 0);
}

TEST_F(Piles, TakingATopMovesThePileUp) {
  piles().startDeal(1, 3);
  const std::vector<int32_t> values = stockValues();
  for (int i = 0; i < 3; ++i) piles().onStockEmpty();
  piles().removeFirstCard(0);
  EXPECT_EQ(piles().pileSizes[0], 2);
  EXPECT_EQ(piles().getCard(0, 0), values[1]);
  EXPECT_EQ(piles().getCard(0, 1), values[0]);
  EXPECT_EQ(piles().getCard(0, 2), -1);
}

TEST_F(Piles, ThePilesAreCentredUnderTheTable) {
  piles().setCardWidth(80);
  piles().init();
  EXPECT_FLOAT_EQ(piles().holders[1]->homeX, 400.0f + 100.0f + 90.0f);
  piles().startDeal(2, 10);
  EXPECT_FLOAT_EQ(piles().stockX, 417.0f);
  EXPECT_FLOAT_EQ(piles().holders[0]->homeX, 517.0f);
  EXPECT_FLOAT_EQ(piles().holders[1]->homeX, 607.0f);
  EXPECT_FLOAT_EQ(piles().holders[4]->currentX, 877.0f);
  EXPECT_FLOAT_EQ(piles().holders[0]->homeY, 698.0f);
}

TEST_F(Piles, AddingAPileLinesItUpWithTheDeepest) {
  piles().startDeal(2, 5);
  for (int i = 0; i < 3; ++i) piles().onStockEmpty();
  ASSERT_EQ(piles().pileSizes[0], 3);
  const float stockBefore = piles().stockX;
  EXPECT_TRUE(piles().addPile());
  EXPECT_EQ(piles().pileCount, 3);
  EXPECT_EQ(piles().pileSizes[2], 3);
  EXPECT_EQ(piles().getCard(2, 0), -1);
  EXPECT_LT(piles().stockX, stockBefore);
  EXPECT_TRUE(piles().addPile());
  EXPECT_TRUE(piles().addPile());
  EXPECT_FALSE(piles().addPile());
  EXPECT_EQ(piles().pileCount, 5);
}

TEST_F(Piles, AnAddedPileKeepsTheGatheringInDealOrder) {
  level.turnoversAtStart = level.turnoversLeft = 1;
  piles().startDeal(1, 4);
  const std::vector<CARD*> cards = stockCards();
  piles().onStockEmpty();  // entry 0 on pile 0
  ASSERT_TRUE(piles().addPile());  // pile 1 lines up with pile 0: one empty slot
  piles().onStockEmpty();  // entries 1 and 2
  piles().onStockEmpty();  // entry 3
  ASSERT_EQ(piles().pileSizes[1], 2);
  ASSERT_TRUE(piles().onStockEmpty());  // the turnover
  ASSERT_EQ(piles().stockSize, 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(piles().stockCards[i], cards[i]) << i;
}

TEST_F(Piles, SkittlesAreDrawnFromTheStock) {
  piles().startDeal(2, 40);
  piles().setSpecialCardsCount(10);
  EXPECT_EQ(std::count(piles().stockSpecial, piles().stockSpecial + 40, 1), 10);
  piles().setSpecialCardsCount(0);
  EXPECT_EQ(std::count(piles().stockSpecial, piles().stockSpecial + 40, 1), 0);
  EXPECT_EQ(piles().pileSpecial[0][0], -1);
}

TEST_F(Piles, MoreSkittlesThanStockEntriesFlagTheWholeStock) {
  piles().startDeal(2, 6);
  piles().setSpecialCardsCount(10);
  EXPECT_EQ(std::count(piles().stockSpecial, piles().stockSpecial + 6, 1), 6);
  piles().startDeal(2, 0);
  piles().setSpecialCardsCount(3);  // no stock: nothing to draw, and no endless loop
  EXPECT_EQ(std::count(piles().stockSpecial, piles().stockSpecial + CARD_PILES::MAX_CARDS, 1), 0);
}

TEST_F(Piles, TheTutorialPlacesItsTwoSkittles) {
  level.isTutorial = true;
  for (unsigned seed : {3u, 4u, 5u}) {
    std::srand(seed);
    piles().startDeal(2, 30);
    piles().setSpecialCardsCount(2);
    EXPECT_EQ(piles().stockSpecial[5], 1);
    int deep = 0;
    for (int32_t i = 12; i < 30; ++i) deep += piles().stockSpecial[i];
    EXPECT_EQ(deep, 1);
    EXPECT_EQ(std::count(piles().stockSpecial, piles().stockSpecial + 30, 1), 2);
  }
  // More than two cannot be placed by the tutorial's rule.
  piles().setSpecialCardsCount(5);
  EXPECT_EQ(std::count(piles().stockSpecial, piles().stockSpecial + 30, 1), 2);
  // A shallow stock is drawn as usual.
  piles().startDeal(2, 10);
  piles().setSpecialCardsCount(4);
  EXPECT_EQ(std::count(piles().stockSpecial, piles().stockSpecial + 10, 1), 4);
}

TEST_F(Piles, ReshuffleKeepsTheValues) {
  piles().startDeal(2, 80);
  std::vector<int32_t> before = stockValues();
  piles().reshuffle();
  std::vector<int32_t> after = stockValues();
  EXPECT_NE(before, after);
  std::sort(before.begin(), before.end());
  std::sort(after.begin(), after.end());
  EXPECT_EQ(before, after);
  piles().startDeal(2, 0);
  piles().reshuffle();  // an empty deck is left alone
}

TEST_F(Piles, RankAndSuitOfAValue) {
  EXPECT_EQ(piles().getRank(777), 777);
  EXPECT_EQ(piles().getRank(12), 14);
  EXPECT_EQ(piles().getRank(13), 2);
  EXPECT_EQ(piles().getSuit(51), 4);
}

// The labels of the frame's balls and of the turnovers, as the level's widgets hold them.
class PileLabels : public Piles {
 protected:
  void SetUp() override {
    Piles::SetUp();
    for (int i = 0; i < 3; ++i) {
      labels[i] = std::make_unique<QEL::QC_GUI_WLABEL>(6 + i, nullptr, L"-");
      level.rollLabels[i] = labels[i].get();
    }
    turnovers = std::make_unique<QEL::QC_GUI_WLABEL>(13, nullptr, L"-");
    level.turnoversLabel = turnovers.get();
    level.turnoversAtStart = level.turnoversLeft = 1;
    piles().startDeal(1, 1);
    piles().onStockEmpty();  // the stock is used up; the next action is the turnover
  }

  std::wstring text(int ball) const { return labels[ball]->fGetText(); }

  std::unique_ptr<QEL::QC_GUI_WLABEL> labels[3];
  std::unique_ptr<QEL::QC_GUI_WLABEL> turnovers;
};

TEST_F(PileLabels, AStrikeOfTheFirstBall) {
  level.countOfSpecialCardsOnScene = 0;
  piles().onStockEmpty();
  EXPECT_EQ(text(0), L"X");
  EXPECT_EQ(text(1), L"");
  EXPECT_EQ(text(2), L"-");
  EXPECT_EQ(turnovers->fGetText(), L"0");
}

TEST_F(PileLabels, SkittlesLeftStanding) {
  level.countOfSpecialCardsOnScene = 3;
  piles().onStockEmpty();
  EXPECT_EQ(text(0), L"7");
  EXPECT_EQ(text(1), L"-");
}

TEST_F(PileLabels, TheTenthFramesFirstBonusBall) {
  gCurrentLevel = 19;
  gTenthFrameBonus = 1;
  level.countOfSpecialCardsOnScene = 0;
  piles().onStockEmpty();
  EXPECT_EQ(text(0), L"-");
  EXPECT_EQ(text(1), L"X");
  EXPECT_EQ(text(2), L"");
  gTenthFrameBonus = 0;
}

TEST_F(PileLabels, TheTenthFramesFirstBonusBallLeavesSome) {
  gCurrentLevel = 9;
  gTenthFrameBonus = 1;
  level.countOfSpecialCardsOnScene = 4;
  piles().onStockEmpty();
  EXPECT_EQ(text(1), L"6");
  gTenthFrameBonus = 0;
}

TEST_F(PileLabels, TheTenthFramesSecondBonusBall) {
  gCurrentLevel = 9;
  gTenthFrameBonus = 1;
  gTenthFrameSecondBonus = 1;
  level.countOfSpecialCardsOnScene = 0;
  piles().onStockEmpty();
  EXPECT_EQ(text(2), L"10");
  EXPECT_EQ(text(1), L"-");
  gTenthFrameBonus = 0;
  gTenthFrameSecondBonus = 0;
}

TEST_F(PileLabels, AnOrdinaryFrameIgnoresTheTenthFramesState) {
  gCurrentLevel = 8;
  gTenthFrameBonus = 1;
  level.countOfSpecialCardsOnScene = 0;
  piles().onStockEmpty();
  EXPECT_EQ(text(0), L"X");
  gTenthFrameBonus = 0;
}

TEST(PilesWithoutOwner, DealAndTurnOverStillWork) {
  CARD_PILES piles;
  piles.setCardWidth(75);
  piles.init();
  piles.startDeal(2, 3);
  piles.setSpecialCardsCount(1);
  EXPECT_TRUE(piles.onStockEmpty());
  EXPECT_FALSE(piles.onStockEmpty());
  EXPECT_TRUE(piles.onStockEmpty());
  EXPECT_EQ(piles.stockSize, 3);
}

}  // namespace
