// The main menu's update: the main items flying in and out, the windows and the dialog
// sliding, the clicks of whichever of them is in place, and what follows a flight or a slide
// (applyNextSceneType). A click on something that is still moving does nothing.
#include "game/scenes/main_menu/main_menu_scene.h"

#include "engine/log.h"
#include "game/fonts_sounds.h"
#include "game/game_globals.h"
#include "game/scenes/scene_widgets.h"
#include "gui/gui_button5.h"
#include "gui/gui_container.h"
#include "gui/gui_linebox.h"

namespace {

// Each flying item covers its distance at its own pace, 1 / gSlideTime less a lag, so the
// items arrive one after another. Order: the logo and name plate, the six main buttons by
// id, the player-name label.
constexpr float kFlyInLag[SCENE_CARD_GAME_MAINMENU::FLIGHT_ITEMS] = {0.0f, 0.0f, 0.8f, 0.6f, 0.4f, 0.6f, 0.8f, 0.0f};
constexpr float kFlyOutLag[SCENE_CARD_GAME_MAINMENU::FLIGHT_ITEMS] = {0.7f, 0.6f, 0.0f, 0.3f, 0.6f, 0.3f, 0.0f, 0.6f};

}  // namespace

void SCENE_CARD_GAME_MAINMENU::fUpdate() {
  timeStep = sceneTimeStep();
  if (menuState == MENU_FLYING_IN) flyMainButtonsIn();
  if (menuState == MENU_AWAY && fadeTimeLeft > 0.0f && flyMainButtonsOut()) return;
  // The change-player window slides before the dialog that may open over it, the other
  // windows after it.
  const bool changePlayerFirst = currentWindow() == CHANGE_PLAYER_WINDOW;
  if (changePlayerFirst && slideWindow()) return;
  if (slideDialog()) return;
  if (!changePlayerFirst && slideWindow()) return;

  if (menuState == MENU_READY && windowState == NO_WINDOW && dialogState == NO_DIALOG) {
    const QEL::QS_GUI_EVENT* event = mainContainer->fUpdate();
    if (event != nullptr && event->code == QEL::GUI_EVENT_CLICK) takeMainButtonClick(event->id);
  }
  if (menuState == MENU_AWAY) updateWindowContainers();
  if (dialogState != NO_DIALOG) {
    QEL::QC_GUI_CONTAINER* panel = dialogKind == INFORMATION_DIALOG ? informationPanelContainer : namePanelContainer;
    const QEL::QS_GUI_EVENT* event = panel->fUpdate();
    if (dialogKind == ADD_PLAYER_DIALOG) nameLineBox->fUpdate();
    if (dialogState == DIALOG_OPEN && event != nullptr && event->code == QEL::GUI_EVENT_CLICK) onDialogClick(event->id);
  }
}

// One update of a flight: each item still away comes closer at its own pace. True once
// every item has arrived.
bool SCENE_CARD_GAME_MAINMENU::runFlight(const float (&lags)[FLIGHT_ITEMS]) {
  float* distances[FLIGHT_ITEMS] = {
      &fadeTimeLeft,       &currentDistance[0], &currentDistance[1], &currentDistance[2],
      &currentDistance[3], &currentDistance[4], &currentDistance[5], &currentDistance[PLAYER_NAME_ITEM]};
  bool arrived = true;
  for (int32_t item = 0; item < FLIGHT_ITEMS; ++item) {
    float& distance = *distances[item];
    if (distance > 0.0f) {
      distance -= (1.0f / gSlideTime - lags[item]) * static_cast<float>(fadeTime) * timeStep;
      if (distance < 0.0f) distance = 0.0f;
    }
    if (distance > 0.0f) arrived = false;
  }
  return arrived;
}

void SCENE_CARD_GAME_MAINMENU::flyMainButtonsIn() {
  if (runFlight(kFlyInLag)) menuState = MENU_READY;
}

bool SCENE_CARD_GAME_MAINMENU::flyMainButtonsOut() {
  if (!runFlight(kFlyOutLag)) return false;
  applyNextSceneType();
  return true;
}

bool SCENE_CARD_GAME_MAINMENU::slideWindow() {
  const int32_t window = currentWindow();
  if (window == NO_WINDOW || windowState == window) return false;
  float& distance = windowSlide(window);
  const bool arrived = distance <= 0.0f || runSlide(distance, static_cast<float>(slideTime), timeStep);
  if (!arrived) return false;
  distance = 0.0f;
  if (windowState == window + WINDOW_SLIDING_IN) {
    windowState = window;
    return false;
  }
  windowState = NO_WINDOW;
  distance = static_cast<float>(slideTime);
  applyNextSceneType();
  return true;
}

bool SCENE_CARD_GAME_MAINMENU::slideDialog() {
  if (dialogState != DIALOG_SLIDING_IN && dialogState != DIALOG_SLIDING_OUT) return false;
  float& distance = slideTimeLeft[DIALOG_SLIDE];
  QEL::fLog("dialog distance: ", distance);
  const bool arrived = distance <= 0.0f || runSlide(distance, static_cast<float>(slideTime), timeStep);
  if (!arrived) return false;
  distance = 0.0f;
  if (dialogState == DIALOG_SLIDING_IN) {
    dialogState = DIALOG_OPEN;
    if (dialogKind == ADD_PLAYER_DIALOG) nameLineBox->fSetKeepFocus(true);
    return false;
  }
  dialogState = NO_DIALOG;
  distance = static_cast<float>(slideTime);
  if (gNumberOfPlayers == 0) showDialog(ADD_PLAYER_DIALOG, -1);
  return true;
}

void SCENE_CARD_GAME_MAINMENU::takeMainButtonClick(int32_t id) {
  if (id == EXIT_BUTTON) {
    playSound(kSoundButtonClick);
    showDialog(QUIT_DIALOG, -1);
    return;
  }
  switch (id) {
    case PLAY_BUTTON:
      if (isFirstPackFinished())
        professionalButton->fEnable();
      else
        professionalButton->fDisable();
      nextSceneType = NEXT_MODE_SELECTION;
      isPlayPressed = 1;
      break;
    case HELP_BUTTON:
      nextSceneType = NEXT_HELP;
      showHelpPage();
      break;
    case TROPHIES_BUTTON:
      fillTrophiesPage();
      nextSceneType = NEXT_TROPHIES;
      break;
    case PLAYER_BUTTON:
      nextSceneType = NEXT_CHANGE_PLAYER;
      break;
    case OPTIONS_BUTTON:
      nextSceneType = NEXT_OPTIONS;
      break;
    default:
      return;
  }
  playSound(kSoundButtonClick);
  menuState = MENU_AWAY;
  fadeTimeLeft = static_cast<float>(fadeTime);
  for (float& distance : currentDistance) distance = static_cast<float>(fadeTime);
  playSound(kSoundGuiFly);
}

// The window in place takes its clicks; one still sliding, or under a dialog, takes none.
void SCENE_CARD_GAME_MAINMENU::updateWindowContainers() {
  const int32_t window = currentWindow();
  QEL::QC_GUI_CONTAINER* container = nullptr;
  void (SCENE_CARD_GAME_MAINMENU::*onClick)(int32_t) = nullptr;
  switch (window) {
    case CHANGE_PLAYER_WINDOW:
      container = changePlayerContainer;
      onClick = &SCENE_CARD_GAME_MAINMENU::onChangePlayerClick;
      break;
    case OPTIONS_WINDOW:
      container = optionsContainer;
      onClick = &SCENE_CARD_GAME_MAINMENU::onOptionsClick;
      break;
    case HELP_WINDOW:
      container = helpContainer;
      onClick = &SCENE_CARD_GAME_MAINMENU::onHelpClick;
      break;
    case TROPHIES_WINDOW:
      container = trophiesContainer;
      onClick = &SCENE_CARD_GAME_MAINMENU::onTrophiesClick;
      break;
    case MODE_SELECTION_WINDOW:
      container = modeSelectionContainer;
      onClick = &SCENE_CARD_GAME_MAINMENU::onModeSelectionClick;
      break;
    case CREDITS_WINDOW:
      container = creditsContainer;
      onClick = &SCENE_CARD_GAME_MAINMENU::onCreditsClick;
      break;
    default:
      return;
  }
  const QEL::QS_GUI_EVENT* event = container->fUpdate();
  if (windowState != window || dialogState != NO_DIALOG) return;
  if (event != nullptr && event->code == QEL::GUI_EVENT_CLICK) (this->*onClick)(event->id);
}

void SCENE_CARD_GAME_MAINMENU::closeWindow(int32_t next) {
  const int32_t window = currentWindow();
  if (window == NO_WINDOW) return;
  playSound(kSoundButtonClick);
  nextSceneType = next;
  windowState = window + WINDOW_SLIDING_OUT;
  windowSlide(window) = static_cast<float>(slideTime);
  playSound(kSoundGuiFly);
}

void SCENE_CARD_GAME_MAINMENU::applyNextSceneType() {
  QEL::fLog("nextSceneType: ", nextSceneType);
  if (menuState == MENU_READY || nextSceneType == NEXT_MAIN_BUTTONS) {
    menuState = menuState == MENU_READY && nextSceneType != NEXT_MAIN_BUTTONS ? MENU_AWAY : MENU_FLYING_IN;
    fadeTimeLeft = static_cast<float>(fadeTime);
    for (float& distance : currentDistance) distance = static_cast<float>(fadeTime);
    return;
  }
  int32_t window = NO_WINDOW;
  switch (nextSceneType) {
    case NEXT_OPTIONS:
      showPlayerOptions();
      window = OPTIONS_WINDOW;
      break;
    case NEXT_CHANGE_PLAYER:
      refreshPlayerNames();
      placePlayerRows();
      window = CHANGE_PLAYER_WINDOW;
      break;
    case NEXT_HELP:
      window = HELP_WINDOW;
      break;
    case NEXT_TROPHIES:
      window = TROPHIES_WINDOW;
      break;
    case NEXT_MODE_SELECTION:
      window = MODE_SELECTION_WINDOW;
      break;
    case NEXT_CREDITS:
      window = CREDITS_WINDOW;
      break;
    case NEXT_LEVEL_PACKS:
      requestScene(scene_kind::LEVEL_PACKS);
      return;
    default:
      return;
  }
  windowState = window + WINDOW_SLIDING_IN;
  windowSlide(window) = static_cast<float>(slideTime);
}
