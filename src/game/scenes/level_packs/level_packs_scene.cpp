#include "game/scenes/level_packs/level_packs_scene.h"

#include "game/game_globals.h"

SCENE_CARD_GAME_LEVELPACKS::SCENE_CARD_GAME_LEVELPACKS() = default;

SCENE_CARD_GAME_LEVELPACKS::~SCENE_CARD_GAME_LEVELPACKS() = default;

void SCENE_CARD_GAME_LEVELPACKS::fUpdate() {
  // Built with the level packs scene.
}

void SCENE_CARD_GAME_LEVELPACKS::fDraw() {
  // Built with the level packs scene.
}

void SCENE_CARD_GAME_LEVELPACKS::fInit() {
  gSceneKind = 2;
  subscribeScenePacks({"", "main_menu", "main_menu/change_player", "main_menu/change_player/panel",
                       "levelpacks", "levelpacks/buttons", "interface", "interface/hints"});
  // The pack buttons and windows are built with the level packs scene.
}

void SCENE_CARD_GAME_LEVELPACKS::fMouseMove() {
  // Built with the level packs scene.
}

void SCENE_CARD_GAME_LEVELPACKS::fKeyDown(int32_t) {
  // Built with the level packs scene.
}

void SCENE_CARD_GAME_LEVELPACKS::fKeyUp(int32_t) {
  // Built with the level packs scene.
}
