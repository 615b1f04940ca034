// Where the level goes once a window has closed (nextSceneType): back to play, another window,
// a restart or the next level in this scene, or, after the cards have flown off the table,
// the frames scene, the main menu or a new level scene for the tenth frame's bonus balls.
// Also the fresh start of a frame in the same scene: its labels and the fly-in of its layout.
#include <cstdlib>

#include "engine/log.h"
#include "engine/sound.h"
#include "game/card.h"
#include "game/card_flights.h"
#include "game/card_piles.h"
#include "game/fonts_sounds.h"
#include "game/game_globals.h"
#include "game/hint_steps.h"
#include "game/players.h"
#include "game/scenes/level/level_scene.h"
#include "game/texts.h"
#include "gui/gui_button5.h"
#include "gui/gui_wlabel.h"

namespace {

// Values acted on with the cards staying on the table; every other one leaves the table first.
bool isActedInPlace(float value) {
  for (const int32_t inPlace : {SCENE_CARD_GAME_LEVEL::BACK_TO_PLAY, SCENE_CARD_GAME_LEVEL::RESTART,
                                SCENE_CARD_GAME_LEVEL::TO_OPTIONS, SCENE_CARD_GAME_LEVEL::TO_NEXT_LEVEL,
                                SCENE_CARD_GAME_LEVEL::TO_PAUSE, SCENE_CARD_GAME_LEVEL::TO_CREDITS,
                                SCENE_CARD_GAME_LEVEL::TO_FINISH, SCENE_CARD_GAME_LEVEL::WAIT_FOR_FINISH_BUTTON}) {
    if (value == static_cast<float>(inPlace)) return true;
  }
  return false;
}

bool is(float value, int32_t kind) { return value == static_cast<float>(kind); }

void setText(QEL::QC_GUI_WLABEL* label, const std::wstring& text) {
  if (label != nullptr) label->fSetText(text);
}

void enableWhenOwned(QEL::QC_GUI_BUTTON5* button, int32_t owned) {
  if (button == nullptr) return;
  if (owned > 0) {
    button->fEnable();
  } else {
    button->fDisable();
  }
}

}  // namespace

void SCENE_CARD_GAME_LEVEL::applyNextSceneType() {
  const float value = nextSceneType;
  if (transitionState == IN_PLAY && !isActedInPlace(value)) {
    startLeave();
    return;
  }
  // The cards have flown off: this scene makes way for the next one.
  if (transitionState != IN_PLAY && is(value, TO_FRAMES)) {
    requestScene(scene_kind::FRAMES);
    return;
  }
  if (transitionState != IN_PLAY && is(value, TO_MAIN_MENU)) {
    requestScene(scene_kind::MAIN_MENU);
    return;
  }
  if (is(value, TO_PAUSE)) {
    windowState = window_state::PAUSE_OPENING;
    pauseSlide = static_cast<float>(windowSlideDistance);
  } else if (is(value, TO_NEXT_LEVEL)) {
    nextLevel();
  } else if (is(value, TO_OPTIONS)) {
    placeVolumeKnobs();
    windowState = window_state::OPTIONS_OPENING;
    optionsSlide = static_cast<float>(windowSlideDistance);
  } else if (is(value, RESTART)) {
    restartInPlace();
  } else if (is(value, TO_CREDITS)) {
    windowState = window_state::CREDITS_OPENING;
    creditsSlide = static_cast<float>(windowSlideDistance);
  } else if (is(value, TO_FINISH)) {
    showFinishWindow();
  } else if (is(value, TO_BONUS_BALLS)) {
    requestScene(scene_kind::LEVEL);
  }
}

void SCENE_CARD_GAME_LEVEL::startLeave() {
  transitionState = LEAVING;
  leaveTimer = static_cast<float>(cardSlideDistance);
  dealOutCards();
}

void SCENE_CARD_GAME_LEVEL::restartInPlace() {
  transitionState = LEAVING;
  isRestartPending = true;
  // A restart of the tenth frame starts it over, bonus balls and all.
  if (isTenthFrame()) {
    gTenthFrameSecondBonus = 0;
    gTenthFrameBonus = 0;
    gTenthFrameKind = 0;
    gTenthFrameRecorded = 0;
  }
  leaveTimer = static_cast<float>(cardSlideDistance);
  dealOutCards();
}

void SCENE_CARD_GAME_LEVEL::reloadAfterLeave() {
  const int32_t previousLevel = loadedLevel;
  // The restarted or next frame starts afresh: its clock, money, counters and selection.
  resetFrameState();
  resetSelection();
  nextActionPointDecreaseMs = 0;
  needToFinishAfterMessage = false;
  loadLevel(gCurrentLevel);
  // Another level started in this scene is a start of that level in this run.
  if (gCurrentLevel != previousLevel && gCurrentLevel >= 0 && gCurrentLevel < kLevelCount) {
    ++gLevelAttempts[gCurrentLevel];
  }
  refreshLabels();
  transitionState = DEALING_IN;
  leaveTimer = 0.0f;
  animationState = FLYING_IN;
  flyCardsIn();
  isRestartPending = false;
}

void SCENE_CARD_GAME_LEVEL::refreshLabels() {
  isInstantStrike = false;
  isFrameFinished = false;
  setText(packNameLabel, packNameText());
  setText(frameLabel, frameNumberText());
  for (QEL::QC_GUI_WLABEL* label : rollLabels) setText(label, L"");
  // The last frame's result banner faded out, but its font is opaque again for this frame.
  setText(bannerLabel, L"");
  const PLAYER_RECORD* player = currentPlayerRecord();
  if (player != nullptr) setText(moneyLabel, numberToWString(player->money));
  setText(multiplierLabel, L"x1");
  // Balls not played yet; the turnover writes the first.
  levelResult = LEVEL_RESULT{NOT_COMPLETED, -1, -1, -1, -1};
  placeStockLabels();
  actionPoints = 0;
  // The next pair sets the multiplier.
  currentMultiplier = 0;
  if (hintStep != hint_step::NONE) closeHint();
  if (player == nullptr) return;
  setText(reshufflesLabel, numberToWString(player->reshuffles));
  setText(jokersLabel, numberToWString(player->jokers));
  enableWhenOwned(reshuffleButton, player->reshuffles);
  enableWhenOwned(jokerButton, player->jokers);
}

void SCENE_CARD_GAME_LEVEL::placeStockLabels() {
  if (cardPiles == nullptr) return;
  // Where the start-up put them beside the stock: the turnovers' count at its lower left
  // corner, the turned text across it.
  const float x = cardPiles->stockX;
  const float y = cardPiles->stockY;
  if (turnoversLabel != nullptr) {
    turnoversLabel->fSetPosition(x - static_cast<float>(cardWidth / 2) - 18.0f,
                                 y + static_cast<float>(cardHeight / 2) - 25.0f, 0.0f);
  }
  if (turnoversTextLabel != nullptr) turnoversTextLabel->fSetPosition(x - 7.0f, y + 3.0f, 0.0f);
}

void SCENE_CARD_GAME_LEVEL::flyCardsIn() {
  if (cardFlights == nullptr) return;
  cardFlights->animationRunning = true;
  QEL::fLog("maximumCardID: ", maximumCardID);
  const int32_t lastId = maximumCardID < MAX_LAYOUT_CARDS ? maximumCardID : MAX_LAYOUT_CARDS - 1;
  for (int32_t id = 0; id <= lastId; ++id) {
    CARD* card = cards[id];
    if (card == nullptr || !card->onTable) continue;
    float x = 0.0f;
    float y = 0.0f;
    pickPointBeyondEdge(x, y);
    // The deal-out sends the card back to where it came from.
    card->homeX = card->currentX = x;
    card->homeY = card->currentY = y;
    cardFlights->addFlight(card, CARD_FLIGHTS::SPIN_IN, x, y, card->tableX, card->tableY, card->angle, card->angle);
  }
  QEL::QC_SOUND::fPlayFromStart(gSounds[kSoundCardFly]);
}
