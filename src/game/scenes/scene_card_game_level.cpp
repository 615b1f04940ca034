#include "game/scenes/scene_card_game_level.h"

#include <cstdlib>
#include <ctime>
#include <string>

#include "engine/log.h"
#include "game/card.h"
#include "game/card_flights.h"
#include "game/card_piles.h"
#include "game/game_globals.h"
#include "game/texts.h"

uint8_t gTenthFrameBonus = 0;
uint8_t gTenthFrameSecondBonus = 0;
int32_t gTenthFrameKind = 0;
int32_t gTenthFrameBall1 = 0;

namespace {

constexpr int32_t LAST_TUTORIAL_HINT = 28;  // hints 0-28 belong to the first level's tutorial

}  // namespace

SCENE_CARD_GAME_LEVEL::SCENE_CARD_GAME_LEVEL() = default;

SCENE_CARD_GAME_LEVEL::~SCENE_CARD_GAME_LEVEL() {
  QEL::fLog("START ~SCENE_CARD_GAME_LEVEL()");
  delete cardPiles;
  cardPiles = nullptr;
  for (CARD*& card : cards) {
    delete card;
    card = nullptr;
  }
  delete cardFlights;
  cardFlights = nullptr;
  gIsPaused = 0;
  QEL::fLog("END ~SCENE_CARD_GAME_LEVEL()");
}

void SCENE_CARD_GAME_LEVEL::fUpdate() {
  // Built with the level scene.
}

void SCENE_CARD_GAME_LEVEL::fDraw() {
  // Built with the level scene.
}

void SCENE_CARD_GAME_LEVEL::fInit() {
  gSceneKind = 4;
  subscribeScenePacks({"", "interface", "interface/pause_window", "interface/shop",
                       "interface/options", "interface/options/skittles",
                       "interface/options/backs", "interface/options/types",
                       "interface/finish_window", "interface/trophy", "interface/trophy/trophies",
                       "interface/credits", "interface/skittles", "interface/multiplier",
                       "interface/backgrounds", "interface/hints", "cards",
                       "main_menu/change_player/panel"});
  // The widgets, sprites and widget containers are built with the level scene.

  delete cardPiles;
  cardPiles = new CARD_PILES();
  cardPiles->setCardWidth(cardWidth);
  cardPiles->init();
  cardPiles->setScene(this);
  delete cardFlights;
  cardFlights = new CARD_FLIGHTS();
  cardFlights->init();

  cardSlideDistance = 200;
  windowSlideDistance = 700;
  bannerSlideDistance = 200;
  sliderMinX = 317.0f;
  sliderMaxX = 673.0f;
  isRestartPending = false;
  messageState = 0;

  defaultTimeToDecreaseActionPointsByOnePoint =
      getTextFloat(L"defaultTimeToDecreaseActionPointsByOnePoint");
  numberOfActionPointsToIncreaseMultiplier = getTextIntW(L"numberOfActionPointsToIncreaseMultiplier");

  std::srand(static_cast<unsigned>(std::time(nullptr)));

  const bool levelInRange = gCurrentLevel >= 0 && gCurrentLevel < kLevelCount;
  if (!gTenthFrameBonus && levelInRange) ++gLevelAttempts[gCurrentLevel];
  isTutorial = gCurrentLevel == 0 && gGameMode == 0 &&
               getLevelResult(gCurrentPlayer, 1, kResultField) == 0;

  loadLevel(gCurrentLevel);
}

void SCENE_CARD_GAME_LEVEL::fMouseMove() {
  // Built with the level scene.
}

void SCENE_CARD_GAME_LEVEL::fKeyDown(int32_t) {
  // Built with the level scene.
}

void SCENE_CARD_GAME_LEVEL::fKeyUp(int32_t) {
  // Built with the level scene.
}

void SCENE_CARD_GAME_LEVEL::loadLevel(int32_t index) {
  if (index > 0) {
    isTutorial = false;
    closeHint();
  }
  if (index == 1) {
    for (int32_t hint = 0; hint <= LAST_TUTORIAL_HINT; ++hint) gHintShown[hint] = 1;
  }

  loadLevelDocument(index);
  removeAllCards();
  readLevel();
  dealRandomValues();

  selectedCard = -1;
  animationState = 0;
  if (cardFlights != nullptr) cardFlights->init();
  if (cardPiles != nullptr) {
    cardPiles->startDeal(numberOfReservePiles, numberOfCardsInStockPile);
    cardPiles->setSpecialCardsCount(numberOfBonusCards);
  }
  shopMoneySpent = 0;
  placesBought = 0;
  reshufflesBought = 0;
  jokersBought = 0;

  bestLevelResult.result = getLevelResult(gCurrentPlayer, index, kResultField);
  bestLevelResult.specialCards1 = getLevelResult(gCurrentPlayer, index, kSpecialCards1Field);
  bestLevelResult.specialCards2 = getLevelResult(gCurrentPlayer, index, kSpecialCards2Field);
  bestLevelResult.specialCards3 = getLevelResult(gCurrentPlayer, index, kSpecialCards3Field);
}

void SCENE_CARD_GAME_LEVEL::finishLevel() {
  // Built with the level scene (results and finish of a frame).
}

void SCENE_CARD_GAME_LEVEL::showResultBanner(int32_t) {
  // Built with the level scene (results and finish of a frame).
}

void SCENE_CARD_GAME_LEVEL::showHint(int32_t) {
  // Built with the level scene (hints).
}

void SCENE_CARD_GAME_LEVEL::closeHint() {
  // Built with the level scene (hints).
}
