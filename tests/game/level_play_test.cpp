// The level's play rules that a whole frame seldom reaches, on a started level scene without a
// renderer: the shop's prices and what it refuses, a bought pile in play, a pile card taken
// while the stock is dealt, the action points against the clock, the tutorial's steps, a level
// file that is missing or broken, trophies, the bonus balls waiting for a trophy, the instant
// strike and the banner, jokers and reshuffles, the hints' chain.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/input.h"
#include "game/card.h"
#include "game/card_flights.h"
#include "game/card_piles.h"
#include "game/game_globals.h"
#include "game/players.h"
#include "game/scenes/level/level_scene.h"
#include "gui/gui_button5.h"
#include "gui/gui_wlabel.h"
#include "level_fixture.h"
#include "level_play.h"

namespace {

namespace fs = std::filesystem;
using Level = SCENE_CARD_GAME_LEVEL;

class LevelPlay : public StartedLevelTest {
 protected:
  void SetUp() override {
    StartedLevelTest::SetUp();
    gPlayers[0].name = L"Tester";
    savePlayers();
    gTexts.load_string(
        "<texts><defaultTimeToDecreaseActionPointsByOnePoint text=\"10\"/>"
        "<numberOfActionPointsToIncreaseMultiplier text=\"5\"/><trophy_12_prize text=\"1000\"/>"
        "<trophy_9_prize text=\"500\"/><trophy_21_prize text=\"50\"/><trophy_18_prize text=\"50\"/></texts>");
  }
  void TearDown() override {
    StartedLevelTest::TearDown();
    std::error_code error;
    fs::remove_all("Levels", error);
  }

  // The level scene started on this level file (none: no file at all), its layout dealt in.
  Level* startOn(const std::string& xml, int32_t index = 3) {
    gCurrentLevel = index;
    gCurrentPack = index / kLevelsPerPack;
    fs::create_directories("Levels");
    const fs::path file = fs::path("Levels") / ("Level_" + std::to_string(index) + ".xml");
    fs::remove(file);
    if (!xml.empty()) test_support::writeFile(file, xml);
    Level* level = start();
    settleDealtLevel(*level);
    return level;
  }

  void pointAt(float x, float y) {
    _input._mouse._position = {static_cast<int32_t>(x), static_cast<int32_t>(y)};
    gCurrentScene->fMouseMove();
  }
  void clickAt(float x, float y) {
    pointAt(x, y);
    gCurrentScene->fKeyDown(1);
    gCurrentScene->fKeyUp(1);
  }
  void clickCard(Level* level, int32_t slot) { clickAt(level->cards[slot]->currentX, level->cards[slot]->currentY); }
  void settle(Level* level) {
    for (int i = 0; i < 400 && level->cardFlights->activeCount() > 0; ++i) level->updateLevel(0.05f);
  }

  QEL::QK_BUTTON _input;
};

TEST_F(LevelPlay, TheShopSellsPlacesAtThePriceOfThePilesInPlayUpToFive) {
  Level* level = startOn(test_support::generatedLevelXml(1, 8, 1, 0));
  const int32_t prices[6] = {0, 100, 200, 300, 400, 400};
  for (int32_t i = 0; i < 6; ++i) level->placePrices[i] = prices[i];
  gPlayers[0].money = 100 + 200 + 300 + 400 + 50;
  for (int32_t piles = 1; piles <= 4; ++piles) {
    ASSERT_EQ(level->reservePilesInPlay(), piles);
    const int32_t money = gPlayers[0].money;
    level->buyShopItem(0);
    EXPECT_EQ(gPlayers[0].money, money - prices[piles]) << piles;
    EXPECT_EQ(gPlayers[0].additionalCardPlaces, piles);
  }
  EXPECT_EQ(level->reservePilesInPlay(), 5);
  EXPECT_EQ(level->placePriceLabel->fGetText(), L"400");
  EXPECT_EQ(level->placeButton->fGetState(), 4);  // no sixth pile on offer
  gPlayers[0].money = 5000;
  level->buyShopItem(0);
  EXPECT_EQ(gPlayers[0].money, 5000);
  EXPECT_EQ(level->placesBought, 4);
  EXPECT_EQ(level->shopMoneySpent, 1000);

  // Closing the shop with all five piles earns the trophy for it.
  level->windowState = window_state::SHOP_CLOSING;
  level->shopSlide = 0.0f;
  level->updateLevel(0.01f);
  EXPECT_EQ(level->windowState, window_state::TROPHY_OPENING);
  EXPECT_EQ(level->trophyId, 24);
}

TEST_F(LevelPlay, TheShopTakesNoMoneyThePlayerLacks) {
  Level* level = startOn(test_support::generatedLevelXml(1, 8, 2, 0));
  level->reshufflePrice = 300;
  level->jokerPrice = 500;
  gPlayers[0].money = 299;
  level->buyShopItem(1);
  EXPECT_EQ(gPlayers[0].reshuffles, 0);
  EXPECT_EQ(gPlayers[0].money, 299);
  gPlayers[0].money = 300;
  level->buyShopItem(1);
  EXPECT_EQ(gPlayers[0].reshuffles, 1);
  EXPECT_EQ(gPlayers[0].money, 0);
  EXPECT_EQ(level->reshuffleButton->fGetState(), 0);  // the first one makes the button work
  // A damaged balance below 0 buys nothing, nor does a price below 0.
  gPlayers[0].money = -5;
  level->jokerPrice = 0;
  level->buyShopItem(2);
  level->jokerPrice = -100;
  gPlayers[0].money = 0;
  level->buyShopItem(2);
  EXPECT_EQ(gPlayers[0].jokers, 0);
  EXPECT_EQ(gPlayers[0].money, 0);
}

TEST_F(LevelPlay, ABoughtPileIsDealtHoveredClickedAndGathered) {
  Level* level = startOn(test_support::generatedLevelXml(1, 12, 2, 0));
  level->placePrices[2] = 10;
  gPlayers[0].money = 10;
  level->buyShopItem(0);
  ASSERT_EQ(level->reservePilesInPlay(), 3);
  const CARD_PILES& piles = *level->cardPiles;
  clickAt(piles.stockX, piles.stockY);
  settle(level);
  ASSERT_NE(piles.getCard(2, 0), -1) << "the bought pile got no card";
  clickAt(piles.holders[2]->currentX, piles.holders[2]->currentY);
  EXPECT_EQ(level->hoveredPile, 3);
  EXPECT_EQ(level->selectedPileCard, 3);
  level->dealOutCards();
  EXPECT_TRUE(piles.holders[2]->inFlight);
  level->cardFlights->init();
  level->gatherPileCards();
  EXPECT_TRUE(piles.holders[2]->inFlight);
}

TEST_F(LevelPlay, TakingTheStockWhileAMatchedPileTopFliesKeepsTheNewCard) {
  Level* level = startOn(test_support::generatedLevelXml(1, 12, 2, 0));
  CARD_PILES& piles = *level->cardPiles;
  clickAt(piles.stockX, piles.stockY);
  settle(level);
  piles.setCard(3, 0, 0);   // two fives
  piles.setCard(16, 1, 0);
  const CARD* flown = piles.getCardState(0, 0);
  level->removePair(2, 0, 2, 1);
  ASSERT_TRUE(piles.holders[0]->inFlight);
  clickAt(piles.stockX, piles.stockY);  // the next cards land on both piles meanwhile
  const int32_t dealtOnto0 = piles.getCard(0, 0);
  const int32_t dealtOnto1 = piles.getCard(1, 0);
  settle(level);
  level->updateLevel(0.05f);
  EXPECT_EQ(piles.pileSizes[0], 1);
  EXPECT_EQ(piles.getCard(0, 0), dealtOnto0);
  EXPECT_EQ(piles.getCard(1, 0), dealtOnto1);
  EXPECT_EQ(piles.findCard(0, flown), -1);
}

TEST_F(LevelPlay, ActionPointsFallOnePerIntervalUnlessPausedHeldOrUnderAWindow) {
  Level* level = startOn(test_support::generatedLevelXml(1, 8, 2, 0));
  level->actionPoints = 10;
  level->nextActionPointDecreaseMs = level->clockMs + 10000;
  for (int i = 0; i < 9; ++i) level->updateLevel(1.0f);
  EXPECT_EQ(level->actionPoints, 10);
  level->updateLevel(1.0f);
  EXPECT_EQ(level->actionPoints, 9);
  EXPECT_EQ(level->currentMultiplier, 2);
  // However late an update, one point at a time.
  level->nextActionPointDecreaseMs = level->clockMs - 60000;
  level->updateLevel(0.4f);
  EXPECT_EQ(level->actionPoints, 8);
  EXPECT_EQ(level->multiplierLabel->fGetText(), L"x2");

  const auto heldFor = [&](const char* what) {
    level->nextActionPointDecreaseMs = level->clockMs;
    for (int i = 0; i < 5; ++i) level->updateLevel(1.0f);
    EXPECT_EQ(level->actionPoints, 8) << what;
  };
  level->windowState = window_state::SHOP_OPEN;
  heldFor("an open window");
  level->windowState = window_state::NONE;
  for (const int32_t step : {2, 3, 5, 27, 28}) {
    level->hintStep = step;
    heldFor("a tutorial step");
  }
  level->hintStep = 4;
  level->nextActionPointDecreaseMs = level->clockMs;
  level->updateLevel(1.0f);
  EXPECT_EQ(level->actionPoints, 7);
  level->hintStep = 0;
  // A pause keeps the time left and gives it back.
  level->nextActionPointDecreaseMs = level->clockMs + 4000;
  level->onPlayScreenButton(4);
  for (int i = 0; i < 20; ++i) level->updateLevel(1.0f);
  EXPECT_EQ(level->actionPoints, 7);
  level->onPauseButton(15);
  level->updateLevel(0.2f);
  level->updateLevel(0.2f);
  ASSERT_EQ(level->windowState, window_state::NONE);
  EXPECT_FALSE(gIsPaused);
  EXPECT_EQ(level->nextActionPointDecreaseMs - level->clockMs, 4000);
}

// The tutorial level: slots 31 and 49 a pair, 34 and 28 a pair of skittles, 10 and 60 (a
// skittle) cards of their own rank; 10 pairs with the first card the tutorial's stock deals.
std::string tutorialLevelXml() {
  std::string cards;
  const auto card = [&cards](int32_t id, int32_t x, int32_t value, bool special) {
    cards += "<card id=\"" + std::to_string(id) + "\" zLayer=\"0\" x=\"" + std::to_string(x) +
             "\" y=\"300\" angle=\"0\" assignedValue=\"" + std::to_string(value) + "\" isSpecial=\"" +
             (special ? "true" : "false") + "\"/>";
  };
  card(10, 100, 19, false);
  card(28, 250, 4, true);
  card(31, 400, 3, false);
  card(34, 550, 17, true);
  card(49, 700, 16, false);
  card(60, 850, 50, true);
  return "<level countOfCards=\"6\" numberOfTurnovers=\"1\" numberOfCardsInStockPile=\"20\" "
         "numberOfReservePiles=\"2\" numberOfBonusCards=\"0\">" + cards + "</level>";
}

TEST_F(LevelPlay, TheTutorialsStepsLetOnlyTheirCardsBeTaken) {
  Level* level = startOn(tutorialLevelXml(), 0);
  ASSERT_TRUE(level->isTutorial);
  level->transitionState = 1;
  level->animationState = Level::FLYING_IN;
  level->updateLevel(0.05f);
  EXPECT_EQ(level->hintStep, 2);  // the deal-in ends with the first step

  clickCard(level, 10);
  EXPECT_EQ(level->selectedCard, -1);
  clickCard(level, 31);
  clickCard(level, 49);
  EXPECT_TRUE(level->cards[31]->inFlight && level->cards[49]->inFlight);
  settle(level);

  level->showHint(3);
  clickCard(level, 10);
  EXPECT_EQ(level->selectedCard, -1);
  clickCard(level, 34);
  clickCard(level, 28);
  EXPECT_EQ(level->hintStep, 28);  // taking the pair closes step 3, which leads to 28
  settle(level);

  // Step 9: the joker goes only on the card the step names.
  gPlayers[0].jokers = 1;
  level->showHint(9);
  EXPECT_EQ(level->hintedCardA, 10);
  level->isJokerMode = true;
  clickAt(level->cardPiles->holders[0]->currentX, level->cardPiles->holders[0]->currentY);
  EXPECT_EQ(gPlayers[0].jokers, 1);
  level->isJokerMode = true;
  clickCard(level, 10);
  EXPECT_EQ(level->cards[10]->value, CARD::JOKER);
  EXPECT_EQ(gPlayers[0].jokers, 0);
  EXPECT_EQ(level->hintStep, 10);  // the placed joker leads on
}

TEST_F(LevelPlay, TheTutorialsCardTakenWithAPileCardLetsThePlayGoOn) {
  Level* level = startOn(tutorialLevelXml(), 0);
  level->showHint(28);
  const CARD_PILES& piles = *level->cardPiles;
  clickAt(piles.stockX, piles.stockY);
  settle(level);
  ASSERT_EQ(level->hintStep, 27);
  clickCard(level, 28);
  EXPECT_EQ(level->selectedCard, -1) << "only the step's own card";

  clickCard(level, 10);
  clickAt(piles.holders[0]->currentX, piles.holders[0]->currentY);
  settle(level);
  ASSERT_FALSE(level->cards[10]->onTable);
  EXPECT_EQ(level->hintStep, 0);
  // The rest of the table, the stock and the pause are the player's again.
  clickCard(level, 28);
  EXPECT_EQ(level->selectedCard, 28);
  clickAt(piles.stockX, piles.stockY);
  settle(level);
  EXPECT_NE(piles.getCard(0, 0), -1) << "the stock deals again";
  EXPECT_TRUE(level->onPlayScreenButton(4));
}

TEST_F(LevelPlay, AMissingOrBrokenLevelGivesNoResultAndCanBeLeft) {
  for (const std::string& xml : {std::string(), std::string("<level countOfCards=\"3\"><card id=")}) {
    Level* level = startOn(xml);
    EXPECT_EQ(level->countOfSpecialCardsOnScene, 0);
    for (int i = 0; i < 10; ++i) level->updateLevel(0.1f);
    // The stock taken to its end and beyond, and a finish forced: no result.
    for (int i = 0; i < 70; ++i) {
      clickAt(level->cardPiles->stockX, level->cardPiles->stockY);
      for (int step = 0; step < 40 && (level->windowState != 0 || level->cardFlights->activeCount() > 0); ++step) {
        level->updateLevel(0.05f);
      }
    }
    EXPECT_EQ(level->turnoversLeft, 0);
    level->finishLevel();
    EXPECT_FALSE(level->isLevelFinished);
    EXPECT_EQ(level->windowState, window_state::NONE);
    EXPECT_EQ(getLevelResult(0, 3, kResultField), 0);
    EXPECT_FALSE(fs::exists(saves() / "player0.xml"));
    const fs::path session = statistics() / std::to_string(gSessionNumber);
    EXPECT_TRUE(!fs::exists(session) || fs::is_empty(session));
    // The pause window still opens and leads away.
    EXPECT_TRUE(level->onPlayScreenButton(4));
    EXPECT_EQ(level->windowState, window_state::PAUSE_OPENING);
  }
  EXPECT_TRUE(logged("lays no skittle"));
}

TEST_F(LevelPlay, TheNextFrameStartsWithoutThePreviousFramesBanner) {
  for (uint8_t& trophy : gPlayers[0].trophies) trophy = 1;  // no trophy window on the way
  Level* level = startOn(test_support::generatedLevelXml(1, 8, 2, 0));
  level->countOfSpecialCardsOnScene = 0;
  level->finishLevel();
  ASSERT_FALSE(level->bannerLabel->fGetText().empty()) << "the strike has its banner";
  for (int i = 0; i < 400 && level->windowState != window_state::FINISH_OPEN; ++i) level->updateLevel(0.05f);
  ASSERT_EQ(level->windowState, window_state::FINISH_OPEN);

  level->onFinishButton(36);  // continue
  for (int i = 0; i < 400 && (gCurrentLevel == 3 || level->transitionState != Level::IN_PLAY); ++i)
    level->updateLevel(0.05f);
  ASSERT_EQ(gCurrentLevel, 4);
  ASSERT_EQ(level->transitionState, Level::IN_PLAY);
  EXPECT_EQ(level->windowState, window_state::NONE);
  EXPECT_TRUE(level->bannerLabel->fGetText().empty()) << "the last frame's banner stays over this one";
}

TEST_F(LevelPlay, ReloadingALevelStartsItUnfinished) {
  Level* level = startOn(test_support::generatedLevelXml(1, 8, 2, 0));
  level->isLevelFinished = true;
  level->loadLevel(3);
  EXPECT_FALSE(level->isLevelFinished);
  EXPECT_EQ(level->countOfSpecialCardsOnScene, 10);
}

TEST_F(LevelPlay, MoneyTrophiesComeOneAtATimeAndOnlyOnce) {
  Level* level = startOn(test_support::generatedLevelXml(1, 8, 2, 0));
  gPlayers[0].money = 100000;
  level->checkMoneyTrophies();
  EXPECT_FALSE(getTrophy(12));
  gPlayers[0].money = 100001;
  level->checkMoneyTrophies();
  EXPECT_TRUE(getTrophy(12));
  EXPECT_EQ(gPlayers[0].money, 101001);
  EXPECT_EQ(level->windowState, window_state::TROPHY_OPENING);
  level->checkMoneyTrophies();
  EXPECT_FALSE(getTrophy(13));
  gPlayers[0].money = 2000000;
  level->checkMoneyTrophies();
  level->checkMoneyTrophies();
  EXPECT_TRUE(getTrophy(13) && getTrophy(14));
  EXPECT_EQ(gPlayers[0].money, 2000000 + getTextInt(L"trophy_13_prize") + getTextInt(L"trophy_14_prize"));
  gPlayers[0] = PLAYER_RECORD{};
  loadPlayers();
  EXPECT_TRUE(gPlayers[0].trophies[11] && gPlayers[0].trophies[12] && gPlayers[0].trophies[13]);
  // A money trophy's window closes back to play.
  level->windowState = window_state::TROPHY_CLOSING;
  level->trophySlide = 0.0f;
  level->updateLevel(0.01f);
  EXPECT_EQ(level->windowState, window_state::NONE);
}

TEST_F(LevelPlay, TheTenthFramesBonusBallsWaitForItsTrophyWindow) {
  Level* level = startOn(test_support::generatedLevelXml(1, 8, 2, 0), 9);
  level->countOfSpecialCardsOnScene = 0;
  level->finishLevel();
  ASSERT_EQ(level->levelResult.result, Level::STRIKE);
  EXPECT_EQ(level->checkTrophies(), 0);
  EXPECT_EQ(level->trophyId, 9);
  EXPECT_EQ(level->transitionState, 0);
  EXPECT_EQ(gTenthFrameKind, Level::STRIKE);
  level->windowState = window_state::TROPHY_OPEN;
  level->onTrophyButton(75);
  for (int i = 0; i < 10 && level->transitionState == 0; ++i) level->updateLevel(0.05f);
  EXPECT_EQ(level->transitionState, Level::LEAVING);
  EXPECT_EQ(level->nextSceneType, static_cast<float>(Level::TO_BONUS_BALLS));
}

TEST_F(LevelPlay, AnInstantStrikeOnTheSparesBonusBallKnocksDownEverySkittle) {
  gTenthFrameBonus = 1;
  gTenthFrameKind = Level::SPARE;
  gTenthFrameBall1 = 6;
  for (uint8_t& trophy : gPlayers[0].trophies) trophy = 1;
  Level* level = startOn(test_support::generatedLevelXml(1, 8, 2, 0), 9);
  level->payBonusCardPrize(1);
  EXPECT_TRUE(level->isLevelFinished);
  EXPECT_EQ(level->levelResult.specialCards3, 10);
  EXPECT_EQ(level->levelResult.result, Level::STRIKE);
  // No result banner over the prize's; the frame goes on once the prize has shown.
  EXPECT_EQ(level->isBonusBanner, 1);
  for (int i = 0; i < 40 && level->windowState != window_state::FINISH_OPENING; ++i) level->updateLevel(0.05f);
  EXPECT_EQ(level->windowState, window_state::FINISH_OPENING);
}

TEST_F(LevelPlay, TheLastSkittleLandingUnderTheBonusBannerEndsTheFrameAfterIt) {
  Level* level = startOn(test_support::generatedLevelXml(1, 8, 2, 0));
  level->countOfSpecialCardsOnScene = 1;
  level->showBonusCardWindow(3);
  level->removePair(1, 0, -1, -1);  // the last skittle
  for (int i = 0; i < 20; ++i) level->updateLevel(0.05f);
  EXPECT_TRUE(level->needToFinishAfterMessage);
  EXPECT_FALSE(level->isLevelFinished);
  for (int i = 0; i < 60 && !level->isLevelFinished; ++i) level->updateLevel(0.05f);
  EXPECT_TRUE(level->isLevelFinished);
  EXPECT_EQ(level->isBonusBanner, 0);  // now the result's own banner
}

TEST_F(LevelPlay, JokersAndReshufflesAreCountedAndTheTenthUseEarnsATrophy) {
  Level* level = startOn(test_support::generatedLevelXml(1, 8, 2, 0));
  gPlayers[0].jokers = 1;
  gPlayers[0].numberOfUsageOfBonusJoker = 9;
  level->useJoker();
  EXPECT_EQ(gPlayers[0].jokers, 0);
  EXPECT_EQ(level->jokerButton->fGetState(), 4);
  EXPECT_EQ(level->trophyId, 21);
  level->useJoker();
  EXPECT_EQ(gPlayers[0].jokers, 0);  // never below 0
  EXPECT_EQ(level->jokersUsed, 2);

  gPlayers[0].reshuffles = 1;
  gPlayers[0].numberOfUsageOfBonusReshuffle = 9;
  level->windowState = window_state::NONE;
  EXPECT_TRUE(level->onPlayScreenButton(0));
  EXPECT_EQ(gPlayers[0].reshuffles, 0);
  EXPECT_EQ(level->trophyId, 18);
  EXPECT_EQ(level->cardsLeftAtReshuffle[0], 20);
  EXPECT_FALSE(level->onPlayScreenButton(0));  // none left
  gPlayers[0] = PLAYER_RECORD{};
  loadPlayers();
  EXPECT_EQ(gPlayers[0].numberOfUsageOfBonusJoker, 11);
  EXPECT_EQ(gPlayers[0].numberOfUsageOfBonusReshuffle, 10);
}

TEST_F(LevelPlay, TheTutorialChainsItsHintsAndHint29IsShownOncePerPlayer) {
  Level* level = startOn(tutorialLevelXml(), 0);
  level->showHint(3);
  level->closeHint();
  EXPECT_EQ(level->hintStep, 28);
  level->closeHint();
  EXPECT_EQ(level->hintStep, 27);
  level->closeHint();
  EXPECT_EQ(level->hintStep, 0);
  level->showHint(5);
  level->closeHint();
  EXPECT_EQ(level->hintStep, 6);

  level->showHint(29);
  gPlayers[0] = PLAYER_RECORD{};
  loadPlayers();
  EXPECT_TRUE(gPlayers[0].isShowedHint29);
  level->hintStep = 0;
  level->showHint(29);
  EXPECT_EQ(level->hintStep, 0);
}

}  // namespace
