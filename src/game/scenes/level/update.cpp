// One update of the level, in its fixed order: a lost focus pauses the level, the deal-in and
// leave phases, the windows' slides, the clock, the pop-ups, the action points, the flights,
// the buttons of the play screen and of the windows, the reshuffle's animation, and the
// landings that take removed cards off the table and end the frame when the last skittle
// is down. Each step that can end the update returns false.
#include "engine/log.h"
#include "game/card.h"
#include "game/card_flights.h"
#include "game/card_piles.h"
#include "game/game_globals.h"
#include "game/hint_steps.h"
#include "game/scenes/level/level_scene.h"
#include "game/texts.h"
#include "gui/gui_container.h"
#include "gui/gui_wlabel.h"

namespace {

// Tutorial steps during which no action point is lost.
bool stopsActionPointDecay(int32_t hintStep) {
  return hintStep == hint_step::TAKE_FIRST_PAIR || hintStep == hint_step::TAKE_SKITTLE_PAIR ||
         hintStep == hint_step::PAIR_QUICKLY_FOR_MULTIPLIER || hintStep == hint_step::PAIR_FIRST_PILE_CARD ||
         hintStep == hint_step::DEAL_FROM_STOCK;
}

}  // namespace

void SCENE_CARD_GAME_LEVEL::fUpdate() { updateLevel(sceneTimeStep()); }

void SCENE_CARD_GAME_LEVEL::updateLevel(float timeStep) {
  frameTime = timeStep;
  pauseOnFocusLoss();
  if (!runScenePhase()) return;
  if (!runWindowSlides()) return;
  clockMs += static_cast<int32_t>(1000.0f * frameTime);
  updatePointsPopups();
  if (moneyContainer != nullptr) moneyContainer->fUpdate();
  decayActionPoints();
  if (cardFlights != nullptr) cardFlights->update(frameTime);
  if (transitionState != IN_PLAY) return;
  if (!readPlayScreenButtons()) return;
  if (!readWindowButtons()) return;
  advanceReshuffle();
  if (!landFlownCards()) return;
  checkFrameEnd();
  landPileHolders();
}

bool SCENE_CARD_GAME_LEVEL::noCardFlies() const {
  return cardFlights == nullptr || cardFlights->activeCount() == 0;
}

void SCENE_CARD_GAME_LEVEL::pauseOnFocusLoss() {
  // Only a level in play: a lost focus during a window or a scene change waits for play.
  if (!gIsPaused || isWindowOpen() || transitionState != IN_PLAY) return;
  openPauseWindow();
}

bool SCENE_CARD_GAME_LEVEL::runScenePhase() {
  if (transitionState == DEALING_IN) return runDealIn();
  if (transitionState == LEAVING) return runLeave();
  return true;
}

bool SCENE_CARD_GAME_LEVEL::runDealIn() {
  if (animationState != FLYING_IN) {
    // The interface slides in first; the tenth frame's bonus balls start at once.
    if (leaveTimer > 0.0f) leaveTimer -= static_cast<float>(cardSlideDistance) * frameTime / gSlideTime;
    if (leaveTimer <= 0.0f) {
      leaveTimer = 0.0f;
      flyCardsIn();
      animationState = FLYING_IN;
    }
  }
  if (animationState == FLYING_IN && noCardFlies()) {
    transitionState = IN_PLAY;
    animationState = NO_DEAL;
    if (isTutorial && !gHintShown[hint_step::TAKE_FIRST_PAIR]) showHint(hint_step::TAKE_FIRST_PAIR);
  }
  return true;
}

bool SCENE_CARD_GAME_LEVEL::runLeave() {
  if (animationState == NO_DEAL) {
    if (leaveTimer > 0.0f) {
      // The bonus balls follow at once; any other leave waits while the bars slide out.
      if (nextSceneType == static_cast<float>(TO_BONUS_BALLS)) {
        leaveTimer = 0.0f;
        applyNextSceneType();
        return false;
      }
      leaveTimer -= static_cast<float>(cardSlideDistance) * frameTime / gSlideTime;
      if (leaveTimer <= 0.0f) {
        leaveTimer = 0.0f;
        applyNextSceneType();
        return false;
      }
    }
    if (isRestartPending) reloadAfterLeave();
  }
  if (animationState == FLYING_OUT && noCardFlies()) {
    leaveTimer = static_cast<float>(cardSlideDistance);
    animationState = NO_DEAL;
  }
  return true;
}

void SCENE_CARD_GAME_LEVEL::decayActionPoints() {
  if (gIsPaused || isWindowOpen() || actionPoints <= 0) return;
  if (nextActionPointDecreaseMs > clockMs || stopsActionPointDecay(hintStep)) return;
  --actionPoints;
  const int32_t step = numberOfActionPointsToIncreaseMultiplier > 0 ? numberOfActionPointsToIncreaseMultiplier : 1;
  currentMultiplier = actionPoints / step + 1;
  if (multiplierLabel != nullptr) multiplierLabel->fSetText(L"x" + numberToWString(currentMultiplier));
  nextActionPointDecreaseMs =
      static_cast<int32_t>(1000.0f * defaultTimeToDecreaseActionPointsByOnePoint + static_cast<float>(clockMs));
  QEL::fLog("actionPoints (decreased):", actionPoints);
  QEL::fLog("currentMultiplier (decreased):", currentMultiplier);
}

void SCENE_CARD_GAME_LEVEL::advanceReshuffle() {
  if (cardFlights == nullptr || !noCardFlies()) return;
  if (animationState == GATHERING) {
    animationState = RESHUFFLING;
    reshuffleCards();
    dealInCards();
  } else if (animationState == DEALING_BACK) {
    animationState = NO_DEAL;
  }
}

bool SCENE_CARD_GAME_LEVEL::landFlownCards() {
  bool landed = false;
  const int32_t lastId = maximumCardID < MAX_LAYOUT_CARDS ? maximumCardID : MAX_LAYOUT_CARDS - 1;
  for (int32_t id = 0; id <= lastId; ++id) {
    CARD* card = cards[id];
    if (card == nullptr || !card->flightDone) continue;
    if (card->special && countOfSpecialCardsOnScene > 0) --countOfSpecialCardsOnScene;
    removeFlownCard(card);
    landed = true;
  }
  if (!landed || countOfSpecialCardsOnScene != 0 || animationState != NO_DEAL || !noCardFlies()) return true;
  if (isLevelFinished || !isLevelPlayable) return true;
  if (windowState >= window_state::BANNER_SHOWN && windowState <= window_state::BANNER_FADING_OUT) {
    QEL::fLog("needToFinishAfterMessage = true");
    needToFinishAfterMessage = true;
    return false;
  }
  // Under any other window the frame ends once that window has closed (checkFrameEnd).
  if (isWindowOpen()) return false;
  finishLevel();
  return false;
}

void SCENE_CARD_GAME_LEVEL::checkFrameEnd() {
  if (countOfSpecialCardsOnScene != 0 || isLevelFinished || !isLevelPlayable) return;
  if (animationState != NO_DEAL || !noCardFlies() || isWindowOpen()) return;
  QEL::fLog("++++++++++++++++++++++++++++++++++++++++++ Additional check of finishing level... "
            "+++++++++++++++++++++++++++++++++++++++++++++++++++++");
  finishLevel();
}

void SCENE_CARD_GAME_LEVEL::landPileHolders() {
  if (cardPiles == nullptr) return;
  for (CARD* holder : cardPiles->holders) {
    if (holder != nullptr && holder->flightDone) removeFlownCard(holder);
  }
}
