#include "game/scenes/scene_card_game_mainmenu.h"

#include "game/game_globals.h"
#include "game/level_results.h"
#include "game/players.h"

SCENE_CARD_GAME_MAINMENU::SCENE_CARD_GAME_MAINMENU() = default;

SCENE_CARD_GAME_MAINMENU::~SCENE_CARD_GAME_MAINMENU() = default;

void SCENE_CARD_GAME_MAINMENU::fUpdate() {
  // Built with the main menu.
}

void SCENE_CARD_GAME_MAINMENU::fDraw() {
  // Built with the main menu (its background comes with the sprite layer).
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
  // The screens, windows and the player-name box are built with the main menu.
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
