// What the buttons of the play screen and of the pause, finish, options, credits and trophy
// windows do. The update reads at most one event per container and update; a window's
// buttons count only while it stands open. A window button sets what follows its closing
// (nextSceneType) and slides the window out; applyNextSceneType acts once it has gone.
#include "engine/game.h"
#include "engine/globals.h"
#include "engine/sound.h"
#include "game/fonts_sounds.h"
#include "game/game_entry.h"
#include "game/game_globals.h"
#include "game/hint_steps.h"
#include "game/picture_size.h"
#include "game/players.h"
#include "game/scenes/level/level_scene.h"
#include "game/scenes/level/widget_ids.h"
#include "gui/gui_button5.h"
#include "gui/gui_container.h"

namespace {

constexpr float PARKED = -150.0f;
constexpr int32_t BOX_DX = 33;
constexpr int32_t BOX_DY = 40;

void play(int32_t slot) { QEL::QC_SOUND::fPlayFromStart(gSounds[slot]); }

// The id of a click reported by the container in this update, -1 without one.
int32_t clickedId(QEL::QC_GUI_CONTAINER* container) {
  if (container == nullptr) return -1;
  const QEL::QS_GUI_EVENT* event = container->fUpdate();
  if (event == nullptr || event->code != QEL::GUI_EVENT_CLICK) return -1;
  return event->id;
}

// The shown box of an on/off pair stands in place, the other out of sight.
void showBox(QEL::QC_GUI_BUTTON5* shown, QEL::QC_GUI_BUTTON5* parked, int32_t boxX, int32_t boxY) {
  if (shown != nullptr) shown->fSetPosition(static_cast<float>(boxX + BOX_DX), static_cast<float>(boxY + BOX_DY), 0.0f);
  if (parked != nullptr) parked->fSetPosition(PARKED, PARKED, 0.0f);
}

}  // namespace

bool SCENE_CARD_GAME_LEVEL::readPlayScreenButtons() {
  if (isWindowOpen()) return true;
  const int32_t id = clickedId(guiContainer2);
  return id < 0 || onPlayScreenButton(id);
}

bool SCENE_CARD_GAME_LEVEL::onPlayScreenButton(int32_t id) {
  const PLAYER_RECORD* player = currentPlayerRecord();
  switch (id) {
    case play_screen_widget::JOKER_BUTTON:
      if (hintStep != hint_step::NONE && hintStep != hint_step::PLACE_JOKER_ON_MARKED_CARD) return false;
      if (player == nullptr || player->jokers <= 0) return false;
      play(kSoundJokerClick);
      isJokerMode = true;
      return true;
    case play_screen_widget::RESHUFFLE_BUTTON:
      if (hintStep != hint_step::NONE && hintStep != hint_step::TURN_STOCK_OR_RESHUFFLE) return false;
      if (player == nullptr || player->reshuffles <= 0) return false;
      if (animationState != NO_DEAL || cardsLeft == 0) return false;
      useReshuffle();
      return true;
    case play_screen_widget::PAUSE_BUTTON:
      if (hintStep != hint_step::NONE) return false;
      play(kSoundButtonClick);
      openPauseWindow();
      return true;
    case play_screen_widget::SHOP_BUTTON:
      if (hintStep != hint_step::NONE && hintStep != hint_step::OPEN_SHOP) return false;
      play(kSoundButtonClick);
      openShop();
      if (hintStep == hint_step::OPEN_SHOP) closeHint();
      return true;
    default:
      return true;
  }
}

void SCENE_CARD_GAME_LEVEL::openPauseWindow() {
  windowState = window_state::PAUSE_OPENING;
  pauseSlide = static_cast<float>(windowSlideDistance);
  playGuiFlySound();
  gIsPaused = 1;
  // While paused the deadline holds the time that was left.
  nextActionPointDecreaseMs -= clockMs;
}

namespace {

// The windows whose buttons count while they stand open.
struct WINDOW_BUTTONS {
  int32_t openState;
  QEL::QC_GUI_CONTAINER* SCENE_CARD_GAME_LEVEL::*container;
  void (SCENE_CARD_GAME_LEVEL::*onButton)(int32_t id);
};
constexpr WINDOW_BUTTONS WINDOWS[] = {
    {window_state::PAUSE_OPEN, &SCENE_CARD_GAME_LEVEL::pauseContainer, &SCENE_CARD_GAME_LEVEL::onPauseButton},
    {window_state::FINISH_OPEN, &SCENE_CARD_GAME_LEVEL::finishContainer, &SCENE_CARD_GAME_LEVEL::onFinishButton},
    {window_state::OPTIONS_OPEN, &SCENE_CARD_GAME_LEVEL::optionsContainer, &SCENE_CARD_GAME_LEVEL::onOptionsButton},
    {window_state::CREDITS_OPEN, &SCENE_CARD_GAME_LEVEL::creditsContainer, &SCENE_CARD_GAME_LEVEL::onCreditsButton},
    {window_state::TROPHY_OPEN, &SCENE_CARD_GAME_LEVEL::trophyContainer, &SCENE_CARD_GAME_LEVEL::onTrophyButton},
};

}  // namespace

bool SCENE_CARD_GAME_LEVEL::readWindowButtons() {
  // The purchase panel stands over the shop; the shop's own buttons wait under it.
  if (messageState != message_state::NONE) {
    const int32_t id = clickedId(purchaseContainer);
    if (id >= 0 && messageState == message_state::OPEN) onPurchaseButton(id);
  } else if (windowState == window_state::SHOP_OPEN) {
    showShopItemHints();
    const int32_t id = clickedId(shopContainer);
    if (id >= 0) onShopButton(id);
  }
  for (const WINDOW_BUTTONS& window : WINDOWS) {
    if (windowState != window.openState) continue;
    const int32_t id = clickedId(this->*window.container);
    if (id >= 0) (this->*window.onButton)(id);
  }
  return true;
}

void SCENE_CARD_GAME_LEVEL::slideWindowOut(int32_t closingState, float& slide, bool swish) {
  windowState = closingState;
  slide = static_cast<float>(windowSlideDistance);
  if (swish) playGuiFlySound();
}

void SCENE_CARD_GAME_LEVEL::onPauseButton(int32_t id) {
  float next = 0.0f;
  switch (id) {
    case pause_widget::CONTINUE: next = BACK_TO_PLAY; break;
    case pause_widget::RESTART: next = RESTART; break;
    case pause_widget::OPTIONS: next = TO_OPTIONS; break;
    case pause_widget::FRAMES: next = TO_FRAMES; break;
    case pause_widget::MAIN_MENU: next = TO_MAIN_MENU; break;
    default: return;
  }
  play(kSoundButtonClick);
  nextSceneType = next;
  // The options window slides in over the pause window's going without a second swish.
  slideWindowOut(window_state::PAUSE_CLOSING, pauseSlide, id != pause_widget::OPTIONS);
}

void SCENE_CARD_GAME_LEVEL::onFinishButton(int32_t id) {
  float next = 0.0f;
  switch (id) {
    case finish_widget::RESTART: next = RESTART; break;
    case finish_widget::FRAMES: next = TO_FRAMES; break;
    // The tenth frame ends the pack: its continue goes back to the score sheet.
    case finish_widget::CONTINUE: next = isTenthFrame() ? TO_FRAMES : TO_NEXT_LEVEL; break;
    default: return;
  }
  play(kSoundButtonClick);
  nextSceneType = next;
  slideWindowOut(window_state::FINISH_CLOSING, finishSlide, true);
}

void SCENE_CARD_GAME_LEVEL::onOptionsButton(int32_t id) {
  PLAYER_RECORD* player = currentPlayerRecord();
  if (id == options_widget::CLOSE || id == options_widget::CREDITS) {
    play(kSoundButtonClick);
    if (id == options_widget::CLOSE) savePlayerSettings(gCurrentPlayer);
    nextSceneType = id == options_widget::CLOSE ? TO_PAUSE : TO_CREDITS;
    slideWindowOut(window_state::OPTIONS_CLOSING, optionsSlide, true);
    return;
  }
  if (player == nullptr) return;
  const bool isBox = id == options_widget::FULLSCREEN_OFF || id == options_widget::FULLSCREEN_ON ||
                     id == options_widget::MUTE_ALL_OFF || id == options_widget::MUTE_ALL_ON;
  if (isBox || (id >= options_widget::FIRST_BACK && id <= options_widget::LAST_TYPE)) {
    play(kSoundButtonClick);
  }
  // A click on the plain box ticks it; a click on the ticked one clears it.
  if (id == options_widget::FULLSCREEN_OFF) setFullscreen(true);
  if (id == options_widget::FULLSCREEN_ON) setFullscreen(false);
  if (id == options_widget::MUTE_ALL_OFF) setMuteAll(true);
  if (id == options_widget::MUTE_ALL_ON) setMuteAll(false);
  if (id >= options_widget::FIRST_BACK && id <= options_widget::LAST_BACK)
    chooseCardBack(id - options_widget::FIRST_BACK);
  if (id >= options_widget::FIRST_TYPE && id <= options_widget::LAST_TYPE)
    chooseCardType(id - options_widget::FIRST_TYPE);
}

void SCENE_CARD_GAME_LEVEL::setFullscreen(bool on) {
  PLAYER_RECORD* player = currentPlayerRecord();
  if (player == nullptr) return;
  player->isFullscreen = on ? 1 : 0;
  if (QEL::qcGAME != nullptr) QEL::qcGAME->fSetResolution(kPictureWidth, kPictureHeight, on);
  if (on) {
    showBox(fullscreenTickedButton, fullscreenButton, fullscreenBoxX, fullscreenBoxY);
  } else {
    showBox(fullscreenButton, fullscreenTickedButton, fullscreenBoxX, fullscreenBoxY);
  }
}

void SCENE_CARD_GAME_LEVEL::setMuteAll(bool on) {
  PLAYER_RECORD* player = currentPlayerRecord();
  if (player == nullptr) return;
  player->isMuteAll = on ? 1 : 0;
  // The option chooses the cursor: the game's own, or the system arrow.
  if (on) {
    setGameCursor();
    showBox(muteAllTickedButton, muteAllButton, muteAllBoxX, muteAllBoxY);
  } else {
    setArrowCursor();
    showBox(muteAllButton, muteAllTickedButton, muteAllBoxX, muteAllBoxY);
  }
}

void SCENE_CARD_GAME_LEVEL::chooseCardBack(int32_t back) {
  PLAYER_RECORD* player = currentPlayerRecord();
  if (player == nullptr || back < 0 || back >= kCardBackCount) return;
  // The disabled button shows the current choice.
  if (player->currentBack >= 0 && player->currentBack < kCardBackCount && backButtons[player->currentBack] != nullptr) {
    backButtons[player->currentBack]->fEnable();
  }
  player->currentBack = back;
  if (backButtons[back] != nullptr) backButtons[back]->fDisable();
}

void SCENE_CARD_GAME_LEVEL::chooseCardType(int32_t type) {
  PLAYER_RECORD* player = currentPlayerRecord();
  if (player == nullptr || type < 0 || type >= kCardTypeCount) return;
  if (player->currentCardType >= 0 && player->currentCardType < kCardTypeCount &&
      typeButtons[player->currentCardType] != nullptr) {
    typeButtons[player->currentCardType]->fEnable();
  }
  player->currentCardType = type;
  if (typeButtons[type] != nullptr) typeButtons[type]->fDisable();
}

void SCENE_CARD_GAME_LEVEL::onCreditsButton(int32_t id) {
  if (id != credits_widget::CLOSE) return;
  play(kSoundButtonClick);
  nextSceneType = TO_OPTIONS;
  slideWindowOut(window_state::CREDITS_CLOSING, creditsSlide, true);
}

void SCENE_CARD_GAME_LEVEL::onTrophyButton(int32_t id) {
  if (id != trophy_widget::CLOSE) return;
  play(kSoundButtonClick);
  slideWindowOut(window_state::TROPHY_CLOSING, trophySlide, true);
}
