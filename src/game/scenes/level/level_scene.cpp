#include "game/scenes/level/level_scene.h"

#include <cstdlib>
#include <ctime>
#include <string>

#include "engine/game.h"
#include "engine/globals.h"
#include "engine/log.h"
#include "game/card.h"
#include "game/card_flights.h"
#include "game/card_piles.h"
#include "game/fonts_sounds.h"
#include "game/game_globals.h"
#include "game/players.h"
#include "game/scenes/editor/editor_scene.h"
#include "game/texts.h"
#include "gui/gui_container.h"
#include "gui/gui_wlabel.h"
#include "primitives/font.h"
#include "primitives/sprite.h"

uint8_t gTenthFrameBonus = 0;
uint8_t gTenthFrameSecondBonus = 0;
int32_t gTenthFrameKind = 0;
int32_t gTenthFrameBall1 = 0;

namespace {

constexpr int32_t LAST_TUTORIAL_HINT = 28;  // hints 0-28 belong to the first level's tutorial

}  // namespace

SCENE_CARD_GAME_LEVEL::SCENE_CARD_GAME_LEVEL() = default;

namespace {

template <typename T>
void deleteAndClear(T*& object) {
  delete object;
  object = nullptr;
}

}  // namespace

SCENE_CARD_GAME_LEVEL::~SCENE_CARD_GAME_LEVEL() {
  QEL::fLog("START ~SCENE_CARD_GAME_LEVEL()");
  for (QEL::QC_SPRITE*& sprite : cardsLibrarySprites) deleteAndClear(sprite);
  for (QEL::QC_SPRITE*& sprite : multiplierSprites) deleteAndClear(sprite);
  deleteAndClear(highlightSprite);
  deleteAndClear(specialCardSprite);
  deleteAndClear(backingSprite);
  deleteAndClear(backingDeckSprite);
  deleteAndClear(cardBackSprite2);
  deleteAndClear(cardBackSprite10);
  deleteAndClear(bonusCoverSprite);
  deleteAndClear(backgroundSprite);
  deleteAndClear(frameNumberMoneyBackgroundSprite);
  deleteAndClear(resultPackNameBackgroundSprite);
  for (QEL::QC_SPRITE*& sprite : resultFrameSprites) deleteAndClear(sprite);
  for (QEL::QC_SPRITE*& sprite : skittleSprites) deleteAndClear(sprite);
  deleteAndClear(shadowSprite);
  deleteAndClear(cardPiles);
  for (CARD*& card : cards) deleteAndClear(card);
  deleteAndClear(cardFlights);
  // A container leaves its widget tree in place (the widgets may hold images the next scene
  // uses); only the containers go.
  for (QEL::QC_GUI_CONTAINER** container :
       {&guiContainer1, &guiContainer2, &stockContainer, &pauseContainer, &shopContainer,
        &moneyContainer, &finishContainer, &optionsContainer, &trophyContainer,
        &creditsContainer, &hintContainer, &bannerContainer, &purchaseContainer}) {
    deleteAndClear(*container);
  }
  for (POINTS_POPUP& popup : pointsPopup) deleteAndClear(popup.coin);
  gIsPaused = 0;
  QEL::fLog("END ~SCENE_CARD_GAME_LEVEL()");
}

void SCENE_CARD_GAME_LEVEL::fUpdate() {
  frameTime = sceneTimeStep();
  if (cardFlights != nullptr) cardFlights->update(frameTime);
  const int32_t lastId = maximumCardID < MAX_LAYOUT_CARDS ? maximumCardID : MAX_LAYOUT_CARDS - 1;
  for (int32_t id = 0; id <= lastId; ++id) {
    CARD* card = cards[id];
    if (card == nullptr || !card->flightDone) continue;
    if (card->special && countOfSpecialCardsOnScene > 0) --countOfSpecialCardsOnScene;
    removeFlownCard(card);
  }
  // A pile card flies away as its pile's holder.
  if (cardPiles != nullptr) {
    for (CARD* holder : cardPiles->holders) {
      if (holder != nullptr && holder->flightDone) removeFlownCard(holder);
    }
  }
  updatePointsPopups();
  advanceAnimationState();
  // The windows, their events, the action points and the end of the frame are built with
  // the level's update.
}

void SCENE_CARD_GAME_LEVEL::fInit() {
  gSceneKind = 4;
  isInitFinished = false;
  isLevelFinished = false;
  cardShadowOffsetX = -3;
  cardShadowOffsetY = -7;
  highlightOffsetX = 0;
  highlightOffsetY = 0;

  const bool levelInRange = gCurrentLevel >= 0 && gCurrentLevel < kLevelCount;
  if (!gTenthFrameBonus && levelInRange) ++gLevelAttempts[gCurrentLevel];
  QEL::fLog("START INIT! --- SCENE_CARD_GAME_LEVEL");

  const bool playerInRange = gCurrentPlayer >= 0 && gCurrentPlayer < kMaxPlayers;
  if (playerInRange && !gPlayers[gCurrentPlayer].isFullscreen && QEL::qcGAME != nullptr) {
    QEL::qcGAME->fSetResolution(1024, 768, false);
  }

  animationState = 0;
  countOfSpecialCardsOnScene = 0;
  levelResult = LEVEL_RESULT{-1, -1, -1, 0, -1};
  levelMoney = 0;
  currentMultiplier = 1;
  highestMultiplier = 1;
  actionPoints = 0;
  clockMs = 0;
  defaultTimeToDecreaseActionPointsByOnePoint =
      getTextFloat(L"defaultTimeToDecreaseActionPointsByOnePoint");
  numberOfActionPointsToIncreaseMultiplier = getTextIntW(L"numberOfActionPointsToIncreaseMultiplier");

  isInstantStrike = false;
  draggedSlider = -1;
  isRestartPending = false;
  pulseSpeed = 50.0f;
  jokersUsed = 0;
  reshufflesUsed = 0;
  for (int32_t i = 0; i < MAX_LAYOUT_CARDS; ++i) {
    cardsLeftAtReshuffle[i] = 0;
    cardsLeftAtJoker[i] = 0;
  }

  isTutorial = gCurrentLevel == 0 && gGameMode == 0 &&
               getLevelResult(gCurrentPlayer, 1, kResultField) == 0;

  subscribeScenePacks({"", "interface", "interface/pause_window", "interface/shop",
                       "interface/options", "interface/options/skittles",
                       "interface/options/backs", "interface/options/types",
                       "interface/finish_window", "interface/trophy", "interface/trophy/trophies",
                       "interface/credits", "interface/skittles", "interface/multiplier",
                       "interface/backgrounds", "interface/hints", "cards",
                       "main_menu/change_player/panel"});
  std::srand(static_cast<unsigned>(std::time(nullptr)));

  selectedCard = -1;
  selectedPileCard = -1;
  hoveredCard = -1;
  hoveredPile = -1;
  isLeftButtonDown = false;
  isRightButtonDown = false;
  isJokerMode = false;
  // The font table is global: every later user of this font sees it white.
  if (QEL::QC_FONT* font = findFont(100, 3)) font->fSetColor(0xFFFFFFFFu);
  zLayerMax = TOP_Z_LAYER;
  zLayerMin = BOTTOM_Z_LAYER;

  cardWidth = CARD_WIDTH;
  cardHeight = CARD_HEIGHT;
  for (int32_t i = 0; i < MAX_LAYOUT_CARDS; ++i) {
    delete cards[i];
    cards[i] = new CARD();
    cards[i]->init(i);
    cards[i]->setZLayerRange(zLayerMax, zLayerMin);
  }
  delete cardPiles;
  cardPiles = new CARD_PILES();
  cardPiles->setCardWidth(cardWidth);
  cardPiles->init();
  cardPiles->setScene(this);

  createPlayScreenSprites();

  delete cardFlights;
  cardFlights = new CARD_FLIGHTS();
  cardFlights->init();

  cardSlideDistance = 200;
  windowSlideDistance = 700;
  bannerSlideDistance = 200;
  sliderMinX = 317.0f;
  sliderMaxX = 673.0f;
  messageState = 0;

  loadLevel(gCurrentLevel);

  // The tutorial hands out a joker until its joker hint has been shown in this run; the
  // player file is not written here.
  if (isTutorial && !gHintShown[7] && playerInRange && gPlayers[gCurrentPlayer].jokers == 0) {
    gPlayers[gCurrentPlayer].jokers = 1;
  }

  createPlayScreenWidgets();
  // The pause, shop, finish, options, trophy, credits and hint windows, the banner, the
  // purchase panel, the points pop-ups and the end of the start-up are built with the
  // level's windows.
}

void SCENE_CARD_GAME_LEVEL::fKeyDown(int32_t code) {
  // While the layout flies in or out no key counts.
  if (transitionState != 0) return;
  switch (code) {
    case 1:
      onLeftClick();
      break;
    case 2:
      isRightButtonDown = true;
      break;
    case 32:
      if (gIsGameInited && gIsDebug) {
        // This scene is deleted by the switch: nothing may follow it.
        changeScene(this, new SCENE_CARD_GAME_EDITOR());
        return;
      }
      break;
    case 37:
      if (gIsDebug && gCurrentLevel >= 1) {
        previousLevel();
        selectedCard = -1;
      }
      break;
    case 39:
      if (gIsDebug && gCurrentLevel <= 118) {
        nextLevel();
        selectedCard = -1;
      }
      break;
    case 68:
      if (!gIsCheat) break;
      if (selectedCard >= 0 && selectedCard < MAX_LAYOUT_CARDS) {
        removePair(1, selectedCard, -1, -1);
        selectedCard = -1;
      }
      if (selectedPileCard > 0) {
        removePair(2, selectedPileCard - 1, -1, -1);
        selectedPileCard = -1;
      }
      break;
    case 79:
      // The cheat's way to the main menu comes with the level's scene changes
      // (gCheatKeyUsed, nextSceneType 5, applyNextSceneType).
      break;
    case 83:
      if (gIsCheat && gCurrentPlayer >= 0 && gCurrentPlayer < kMaxPlayers) {
        addMoney(gPlayers[gCurrentPlayer], 100000);
        if (moneyLabel != nullptr) moneyLabel->fSetText(numberToWString(gPlayers[gCurrentPlayer].money));
        // checkMoneyTrophies is called here once the trophies are built.
      }
      break;
    case 84:
      // showTrophyWindow(3) is called here once the trophy window is built.
      break;
    case 87:
      if (gIsCheat && (windowState < 7 || windowState > 9)) {
        countOfSpecialCardsOnScene = 0;
        turnoversLeft = turnoversAtStart;
        isFrameFinished = true;
        finishLevel();
      }
      break;
    default:
      break;
  }
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
