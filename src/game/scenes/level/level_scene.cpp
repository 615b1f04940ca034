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

SCENE_CARD_GAME_LEVEL::~SCENE_CARD_GAME_LEVEL() {
  QEL::fLog("START ~SCENE_CARD_GAME_LEVEL()");
  // The sprites: the play screen's, then the windows' in the order the start-up made them.
  for (QEL::QC_SPRITE*& sprite : cardsLibrarySprites) deleteOwned(sprite);
  for (QEL::QC_SPRITE*& sprite : multiplierSprites) deleteOwned(sprite);
  for (QEL::QC_SPRITE** sprite :
       {&highlightSprite, &specialCardSprite, &backingSprite, &backingDeckSprite, &cardBackSprite2, &cardBackSprite10,
        &bonusCoverSprite, &backgroundSprite, &frameNumberMoneyBackgroundSprite, &resultPackNameBackgroundSprite}) {
    deleteOwned(*sprite);
  }
  for (QEL::QC_SPRITE*& sprite : resultFrameSprites) deleteOwned(sprite);
  for (QEL::QC_SPRITE*& sprite : skittleSprites) deleteOwned(sprite);
  for (QEL::QC_SPRITE** sprite : {&shadowSprite, &pauseBackground, &shopBackground, &finishBackground,
                                  &optionsBackground, &soundSliderLine, &musicSliderLine}) {
    deleteOwned(*sprite);
  }
  for (QEL::QC_SPRITE** row : {soundSkittlesWhite, musicSkittlesWhite, soundSkittlesGreen, musicSkittlesGreen}) {
    for (int32_t i = 0; i < 6; ++i) deleteOwned(row[i]);
  }
  for (QEL::QC_SPRITE** sprite : {&trophyBackground, &trophyImage, &orangeStripe}) deleteOwned(*sprite);
  for (QEL::QC_SPRITE*& sprite : trophyImages) deleteOwned(sprite);
  for (QEL::QC_SPRITE** sprite : {&creditsBackground, &purchaseBackground, &hintShade, &hintArrow, &shopHighlight,
                                  &jokerHighlight, &shopJokerHighlight, &bannerDollar, &trophyDollar}) {
    deleteOwned(*sprite);
  }
  deleteOwned(cardPiles);
  for (CARD*& card : cards) deleteOwned(card);
  deleteOwned(cardFlights);
  // The widget trees go with their containers; an image a widget hands back stays loaded
  // while the next scene, already built, counts on it.
  for (QEL::QC_GUI_CONTAINER** container :
       {&guiContainer1, &guiContainer2, &stockContainer, &pauseContainer, &shopContainer, &finishContainer,
        &optionsContainer, &trophyContainer, &creditsContainer, &bannerContainer, &purchaseContainer, &hintContainer,
        &moneyContainer}) {
    deleteSceneContainer(*container);
  }
  for (POINTS_POPUP& popup : pointsPopup) {
    deleteOwned(popup.coin);
    popup.label = nullptr;  // went with moneyContainer
  }
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
        gPlayers[gCurrentPlayer].money += 100000;
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
