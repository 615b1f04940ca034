#include "game/scenes/main_menu/main_menu_scene.h"

#include "game/fonts_sounds.h"
#include "game/game_entry.h"
#include "game/game_globals.h"
#include "game/level_results.h"
#include "game/players.h"
#include "gui/gui_linebox.h"
#include "primitives/sprite.h"

namespace {
// Characters a player name may not hold (they would upset file names and the texts' markup).
const wchar_t kRefusedNameCharacters[] = L"!@#$%^&*()><\"'[]{}|?/+=~`.,;:-_ ";
}  // namespace

SCENE_CARD_GAME_MAINMENU::SCENE_CARD_GAME_MAINMENU() = default;

SCENE_CARD_GAME_MAINMENU::~SCENE_CARD_GAME_MAINMENU() {
  delete nameLineBox;
  delete background;
}

void SCENE_CARD_GAME_MAINMENU::fUpdate() {
  // Built with the main menu.
}

void SCENE_CARD_GAME_MAINMENU::fDraw() {
  if (background) background->fDraw();
  // The buttons, labels and windows are drawn once the main menu is built.
}

void SCENE_CARD_GAME_MAINMENU::fInit() {
  gSceneKind = 1;
  subscribeScenePacks({"", "main_menu", "main_menu/change_player", "main_menu/change_player/panel",
                       "main_menu/help", "main_menu/trophies", "main_menu/trophies/trophy_images",
                       "main_menu/modeselection", "interface", "interface/options",
                       "interface/options/skittles", "interface/options/backs",
                       "interface/options/types", "interface/credits", "interface/hints"});
  loadPlayers();
  loadLevelsInfo(-1);
  totalScore = getTotalScore(-1);

  background = new QEL::QC_SPRITE(getImage("main_menu background.png"), nullptr);
  background->fSetAnchor(1, 0.0f, 0.0f);
  background->fSetPosition(0.0f, 0.0f, 0.0f);

  nameLineBox = new QEL::QC_GUI_LINEBOX(113, getImage("main_menu/change_player textbox.png"), findFont(30, 0));
  nameLineBox->fSetPosition(515.0f, 425.0f, 0.0f);
  nameLineBox->fSetMaxLength(12);
  nameLineBox->fSetForbiddenChars(kRefusedNameCharacters);
  // The screens, windows and the name panel that shows the box are built with the main menu.
}

void SCENE_CARD_GAME_MAINMENU::fMouseMove() {
  // Built with the main menu.
}

void SCENE_CARD_GAME_MAINMENU::fKeyDown(int32_t) {
  // Built with the main menu.
}

void SCENE_CARD_GAME_MAINMENU::fKeyUp(int32_t) {
  // Built with the main menu.
}
