// The choice of junior or professional mode, each with the player's total score; the
// professional mode opens once the first pack's goal has been reached in junior mode.
// Either choice leads on to the level packs.
#include "game/scenes/main_menu/main_menu_scene.h"

#include "game/fonts_sounds.h"
#include "game/game_globals.h"
#include "game/level_results.h"
#include "game/players.h"
#include "game/scenes/main_menu/menu_widgets.h"
#include "game/scenes/scene_widgets.h"
#include "game/texts.h"
#include "gui/gui_button5.h"
#include "gui/gui_container.h"
#include "primitives/sprite.h"

using main_menu::drawRaised;
using main_menu::xOf;
using main_menu::yOf;

namespace {

constexpr float kBackgroundX = 7.0f;
constexpr float kBackgroundY = 45.0f;
constexpr float kJuniorImageX = 226.0f;
constexpr float kProfessionalImageX = 548.0f;
constexpr float kImageY = 155.0f;
constexpr float kJuniorTextX = 183.0f;
constexpr float kProfessionalTextX = 506.0f;
constexpr float kTextBackgroundY = 372.0f;
constexpr float kTitleX = 363.0f;
constexpr float kTitleY = 98.0f;
constexpr float kCloseX = 883.0f;
constexpr float kCloseY = 643.0f;
constexpr float kJuniorX = 340.0f;
constexpr float kProfessionalX = 662.0f;
constexpr float kModeButtonY = 600.0f;
constexpr float kModeLabelX = 2.0f;
constexpr float kModeLabelY = 8.0f;
constexpr float kScoreY = 480.0f;
// The locked professional button answers a press on this area about its centre.
constexpr float kLockedWidth = 176.0f;
constexpr float kLockedHeight = 80.0f;
// The second pack's first level is open once the first pack's goal has been reached.
constexpr int32_t kSecondPackFirstLevel = 10;

}  // namespace

void SCENE_CARD_GAME_MAINMENU::createModeSelectionWindow() {
  modeSelectionContainer = new QEL::QC_GUI_CONTAINER();
  modeSelectionBackground = makeSceneSprite("main_menu/modeselection background.png", kBackgroundX, kBackgroundY, 1);
  juniorImage = makeSceneSprite("main_menu/modeselection junior.png", kJuniorImageX, kImageY, 1);
  professionalImage = makeSceneSprite("main_menu/modeselection professional.png", kProfessionalImageX, kImageY, 1);
  juniorTextBackground =
      makeSceneSprite("main_menu/modeselection text_background.png", kJuniorTextX, kTextBackgroundY, 1);
  professionalTextBackground =
      makeSceneSprite("main_menu/modeselection text_background.png", kProfessionalTextX, kTextBackgroundY, 1);
  createLabel(MODE_SELECTION_TITLE, getText(L"game_modes"), kTitleX, kTitleY, modeSelectionContainer, findFont(42, 0),
              0);
  modeSelectionCloseButton = addSceneButton(modeSelectionContainer, MODE_SELECTION_CLOSE_BUTTON,
                                            "main_menu/modeselection button_close.png", kCloseX, kCloseY);
  const char* modeButton = "main_menu/modeselection button_modeSelect.png";
  juniorButton = addSceneButton(modeSelectionContainer, JUNIOR_BUTTON, modeButton, kJuniorX, kModeButtonY);
  createChildLabel(JUNIOR_LABEL, getText(L"junior"), kModeLabelX, kModeLabelY, juniorButton, findFont(20, 0), 0);
  professionalButton = addSceneButton(nullptr, PROFESSIONAL_BUTTON, modeButton, kProfessionalX, kModeButtonY);
  if (!isFirstPackFinished()) professionalButton->fDisable();
  modeSelectionContainer->fAdd(professionalButton);
  createChildLabel(PROFESSIONAL_LABEL, getText(L"professional"), kModeLabelX, kModeLabelY, professionalButton,
                   findFont(20, 0), 0);
  juniorScoreLabel =
      createLabel(JUNIOR_SCORE_LABEL, L"", kJuniorX, kScoreY, modeSelectionContainer, findFont(18, 1), 0);
  professionalScoreLabel =
      createLabel(PROFESSIONAL_SCORE_LABEL, L"", kProfessionalX, kScoreY, modeSelectionContainer, findFont(18, 1), 0);
  showTotalScores();
}

bool SCENE_CARD_GAME_MAINMENU::isFirstPackFinished() const {
  return getLevelResult(gCurrentPlayer, kSecondPackFirstLevel, kResultField, 0) >= LEVEL_RESULT::NOT_COMPLETED;
}

void SCENE_CARD_GAME_MAINMENU::onModeSelectionClick(int32_t id) {
  if (id == MODE_SELECTION_CLOSE_BUTTON) {
    closeWindow(NEXT_MAIN_BUTTONS);
    return;
  }
  if (id == JUNIOR_BUTTON) {
    gGameMode = 0;
    isPlayPressed = 0;
    gPlayers[gCurrentPlayer].isShowedFirstHint = 1;
    savePlayerSettings(gCurrentPlayer);
  } else if (id == PROFESSIONAL_BUTTON) {
    if (!isFirstPackFinished()) {
      showDialog(INFORMATION_DIALOG, -1);
      return;
    }
    gGameMode = 1;
  } else {
    return;
  }
  // The developer view keeps its made-up results.
  if (!gIsAllLevelsView) loadLevelsInfo(-1);
  closeWindow(NEXT_LEVEL_PACKS);
}

// The locked button sends no click of its own, so the press itself is taken.
void SCENE_CARD_GAME_MAINMENU::pressLockedProfessional() {
  if (dialogState != NO_DIALOG || menuState != MENU_AWAY || windowState != MODE_SELECTION_WINDOW) return;
  if (isFirstPackFinished()) return;
  if (!isMouseInRect(1, xOf(professionalButton), yOf(professionalButton), kLockedWidth, kLockedHeight)) return;
  showDialog(INFORMATION_DIALOG, -1);
}

void SCENE_CARD_GAME_MAINMENU::drawModeSelectionWindow(float distance) {
  drawRaised(modeSelectionBackground, homeY.modeSelectionBackground, distance);
  drawRaised(juniorImage, homeY.juniorImage, distance);
  drawRaised(professionalImage, homeY.professionalImage, distance);
  drawRaised(juniorTextBackground, homeY.modeTextBackground, distance);
  drawRaised(professionalTextBackground, homeY.modeTextBackground, distance);
  modeSelectionContainer->fSetPosition(0.0f, -distance, 0.0f);
  modeSelectionContainer->fDraw();
}
