#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "game/card.h"
#include "game/card_flights.h"
#include "game/card_piles.h"
#include "game/game_globals.h"
#include "game/scenes/level/level_scene.h"
#include "gui/gui_wlabel.h"
#include "level_fixture.h"
#include "save_folder_fixture.h"

namespace {

class LevelPairRemoval : public SaveFolderTest {
 protected:
  void SetUp() override {
    SaveFolderTest::SetUp();
    _scene = makeBareLevelScene();
    _scene->multiplierLabel = &_multiplierLabel;
    _scene->moneyLabel = &_moneyLabel;
    _scene->jokersLabel = &_jokersLabel;
    _scene->reshufflesLabel = &_reshufflesLabel;
    gTexts.load_string(
        "<texts><bonus_card_XX_money_bonus_value text=\"300\"/>"
        "<bonus_card_XXX_money_bonus_value text=\"1000\"/></texts>");
  }
  void TearDown() override {
    _scene->multiplierLabel = nullptr;
    _scene->moneyLabel = nullptr;
    _scene->jokersLabel = nullptr;
    _scene->reshufflesLabel = nullptr;
    _scene.reset();
    gTexts.reset();
    SaveFolderTest::TearDown();
  }

  CARD* lay(int32_t id, int32_t value, bool skittle = false, float x = 300.0f, float y = 300.0f) {
    CARD* card = _scene->cards[id];
    card->putOnTable();
    card->currentX = x;
    card->currentY = y;
    card->setValue(value);
    card->setSpecial(skittle);
    card->setCovered(false);
    return card;
  }

  const CARD_FLIGHT* flightOf(const CARD* card) const {
    for (const CARD_FLIGHT& flight : _scene->cardFlights->flights)
      if (flight.kind != CARD_FLIGHTS::FREE && flight.card == card) return &flight;
    return nullptr;
  }

  void dealPiles(int32_t top0, int32_t top1) {
    _scene->cardPiles->startDeal(2, 20);
    _scene->cardPiles->onStockEmpty();
    _scene->cardPiles->setCard(top0, 0, 0);
    _scene->cardPiles->setCard(top1, 1, 0);
  }

  std::unique_ptr<SCENE_CARD_GAME_LEVEL> _scene;
  QEL::QC_GUI_WLABEL _multiplierLabel{1, nullptr, L""};
  QEL::QC_GUI_WLABEL _moneyLabel{2, nullptr, L""};
  QEL::QC_GUI_WLABEL _jokersLabel{3, nullptr, L""};
  QEL::QC_GUI_WLABEL _reshufflesLabel{4, nullptr, L""};
};

TEST_F(LevelPairRemoval, APairPaysTenTwentyFiveOrFiftyTimesTheMultiplier) {
  gPlayers[0].money = 100;
  lay(0, 3);
  lay(1, 16);
  _scene->removePair(1, 0, 1, 1);
  EXPECT_EQ(_scene->levelMoney, 10);

  lay(2, 4, true);
  lay(3, 17);
  _scene->removePair(1, 2, 1, 3);
  EXPECT_EQ(_scene->levelMoney, 35);

  // Two skittles at multiplier 3.
  _scene->numberOfActionPointsToIncreaseMultiplier = 1;
  _scene->actionPoints = 1;
  lay(4, 5, true);
  lay(5, 18, true);
  _scene->removePair(1, 4, 1, 5);
  EXPECT_EQ(_scene->currentMultiplier, 3);
  EXPECT_EQ(_scene->levelMoney, 185);
  EXPECT_EQ(gPlayers[0].money, 285);
  EXPECT_EQ(_moneyLabel.fGetText(), L"285");

  // A joker on a skittle's place keeps the skittle; a plain joker is no skittle.
  _scene->numberOfActionPointsToIncreaseMultiplier = 100;
  lay(6, CARD::JOKER);
  lay(7, 6, true);
  _scene->removePair(1, 6, 1, 7);
  EXPECT_EQ(_scene->levelMoney, 210);
}

TEST_F(LevelPairRemoval, EveryFifthPairRaisesTheMultiplierAndEachRestartsTheCountdown) {
  _scene->defaultTimeToDecreaseActionPointsByOnePoint = 2.5f;
  for (int32_t pair = 1; pair <= 5; ++pair) {
    _scene->clockMs = 1000 * pair;
    lay(2 * pair, 3);
    lay(2 * pair + 1, 16);
    _scene->removePair(1, 2 * pair, 1, 2 * pair + 1);
    EXPECT_EQ(_scene->actionPoints, pair);
    EXPECT_EQ(_scene->currentMultiplier, pair < 5 ? 1 : 2) << pair;
    EXPECT_EQ(_scene->nextActionPointDecreaseMs, 2500 + 1000 * pair);
  }
  EXPECT_EQ(_scene->highestMultiplier, 2);
  EXPECT_EQ(_multiplierLabel.fGetText(), L"x2");
  EXPECT_EQ(_scene->levelMoney, 4 * 10 + 20);

  // The highest multiplier never falls within the frame.
  _scene->actionPoints = 0;
  lay(20, 3);
  _scene->removePair(1, 20, -1, -1);
  EXPECT_EQ(_scene->currentMultiplier, 1);
  EXPECT_EQ(_scene->highestMultiplier, 2);
}

TEST_F(LevelPairRemoval, NoStepForTheMultiplierKeepsItAtOne) {
  for (const int32_t step : {0, -3}) {
    _scene->numberOfActionPointsToIncreaseMultiplier = step;
    lay(0, 3);
    _scene->removePair(1, 0, -1, -1);
    EXPECT_EQ(_scene->currentMultiplier, 1);
    _scene->cardFlights->init();
  }
  EXPECT_EQ(_scene->actionPoints, 2);
  EXPECT_TRUE(logged("numberOfActionPointsToIncreaseMultiplier"));
}

TEST_F(LevelPairRemoval, ACardUnderSeveralComesFreeWhenTheLastOneGoes) {
  lay(0, 3);
  lay(1, 16);
  lay(2, 7);
  const int32_t over[] = {0, 1};
  const int32_t under[] = {2};
  _scene->cards[2]->setOverList(over, 2);
  _scene->cards[2]->setCovered(true);
  _scene->cards[0]->setUnderList(under, 1);
  _scene->cards[1]->setUnderList(under, 1);

  _scene->removePair(1, 0, -1, -1);
  EXPECT_TRUE(_scene->cards[2]->isCovered());
  _scene->removePair(1, 1, -1, -1);
  EXPECT_FALSE(_scene->cards[2]->isCovered());
  EXPECT_TRUE(_scene->cards[2]->overList.empty());
}

TEST_F(LevelPairRemoval, CardsFlyBeyondAnEdgeOrASkittleToItsDisplay) {
  for (int round = 0; round < 20; ++round) {
    _scene->cardFlights->init();
    CARD* plain = lay(0, 3);
    CARD* skittle = lay(1, 16, true);
    _scene->removePair(1, 0, 1, 1);
    const CARD_FLIGHT* away = flightOf(plain);
    const CARD_FLIGHT* home = flightOf(skittle);
    ASSERT_NE(away, nullptr);
    ASSERT_NE(home, nullptr);
    EXPECT_EQ(away->kind, CARD_FLIGHTS::REMOVAL);
    EXPECT_EQ(plain->kind, 1);
    const bool beyond = away->endX == -75.0f || away->endX == 1099.0f || away->endY == -116.0f ||
                        away->endY == 884.0f;
    EXPECT_TRUE(beyond) << away->endX << ", " << away->endY;
    EXPECT_FLOAT_EQ(home->endX, 48.0f);
    EXPECT_FLOAT_EQ(home->endY, 45.0f);
  }
}

TEST_F(LevelPairRemoval, PileCardsDropBelowTheScreen) {
  dealPiles(3, 16);
  lay(0, 29);
  _scene->removePair(1, 0, 2, 1);
  const CARD* holder1 = _scene->cardPiles->holders[1];
  const CARD_FLIGHT* drop = flightOf(holder1);
  ASSERT_NE(drop, nullptr);
  EXPECT_FLOAT_EQ(drop->endX, holder1->currentX);
  EXPECT_FLOAT_EQ(drop->endY, 884.0f);
  EXPECT_EQ(holder1->value, 16);
  EXPECT_EQ(holder1->kind, 2);
  EXPECT_EQ(holder1->index, 1);

  _scene->cardFlights->init();
  _scene->removePair(2, 0, 2, 1);
  const CARD_FLIGHT* first = flightOf(_scene->cardPiles->holders[0]);
  const CARD_FLIGHT* second = flightOf(holder1);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_FLOAT_EQ(first->endX, second->endX);
  EXPECT_FLOAT_EQ(first->endY, 884.0f);
  EXPECT_FLOAT_EQ(second->endY, 884.0f);
}

TEST_F(LevelPairRemoval, TheLotteryPaysByItsDraw) {
  gPlayers[0].money = 0;
  _scene->payBonusCardPrize(60);
  EXPECT_EQ(_scene->bonusMoney, 300);
  _scene->payBonusCardPrize(99);
  _scene->payBonusCardPrize(59);
  EXPECT_EQ(_scene->bonusMoney, 1000);
  _scene->payBonusCardPrize(30);
  EXPECT_EQ(_scene->levelMoney, 2600);
  EXPECT_EQ(gPlayers[0].money, 2600);
  EXPECT_TRUE(logged("1.   40% - gives XX points to player. Added money: 300"));
  EXPECT_TRUE(logged("2.  30% - gives XXX points to player. Added money: 1000"));

  _scene->payBonusCardPrize(29);
  _scene->payBonusCardPrize(16);
  EXPECT_EQ(gPlayers[0].reshuffles, 2);
  EXPECT_EQ(_reshufflesLabel.fGetText(), L"2");
  _scene->payBonusCardPrize(15);
  _scene->payBonusCardPrize(3);
  EXPECT_EQ(gPlayers[0].jokers, 2);
  EXPECT_EQ(_jokersLabel.fGetText(), L"2");
  EXPECT_FALSE(_scene->isInstantStrike);
  _scene->payBonusCardPrize(2);
  EXPECT_TRUE(_scene->isInstantStrike);
  EXPECT_TRUE(logged("5.  3% - gives instant win - <Strike!>"));

  // A missing prize text pays nothing.
  gTexts.reset();
  _scene->payBonusCardPrize(70);
  EXPECT_EQ(_scene->bonusMoney, 0);
  EXPECT_EQ(_scene->levelMoney, 2600);
}

TEST_F(LevelPairRemoval, TwoBonusCardsInOnePairDrawTheLotteryOnce) {
  for (unsigned seed = 1; seed <= 12; ++seed) {
    std::srand(seed);
    gPlayers[0] = PLAYER_RECORD{};
    _scene->levelMoney = 0;
    _scene->isInstantStrike = false;
    _scene->actionPoints = 0;
    _scene->cardFlights->init();
    dealPiles(3, 16);
    _scene->cardPiles->pileSpecial[0][0] = 1;
    _scene->cardPiles->pileSpecial[1][0] = 1;
    _scene->cardPiles->skittleCount = 3;
    _scene->removePair(2, 0, 2, 1);
    EXPECT_EQ(_scene->cardPiles->skittleCount, 1);
    const int32_t prizeMoney = _scene->levelMoney - 10;
    const int32_t prizes = (prizeMoney == 300 || prizeMoney == 1000 ? 1 : 0) + gPlayers[0].reshuffles +
                           gPlayers[0].jokers + (_scene->isInstantStrike ? 1 : 0);
    EXPECT_EQ(prizes, 1) << seed;
  }

  // Without a bonus card no lottery.
  gPlayers[0] = PLAYER_RECORD{};
  _scene->levelMoney = 0;
  _scene->cardFlights->init();
  dealPiles(3, 16);
  _scene->removePair(2, 0, 2, 1);
  EXPECT_EQ(_scene->levelMoney, 10);
  EXPECT_EQ(gPlayers[0].reshuffles + gPlayers[0].jokers, 0);
}

TEST_F(LevelPairRemoval, NoCardNoRemoval) {
  _scene->removePair(1, 300, -1, -1);
  _scene->removePair(2, 7, -1, -1);
  _scene->removePair(1, -1, 1, 0);
  EXPECT_EQ(_scene->actionPoints, 0);
  EXPECT_EQ(_scene->cardFlights->activeCount(), 0);
}

}  // namespace
