#include "game/scenes/frames/frames_scene.h"

#include "game/game_globals.h"

SCENE_CARD_GAME_FRAMES::SCENE_CARD_GAME_FRAMES() = default;

SCENE_CARD_GAME_FRAMES::~SCENE_CARD_GAME_FRAMES() = default;

void SCENE_CARD_GAME_FRAMES::fUpdate() {
  // Built with the frames scene.
}

void SCENE_CARD_GAME_FRAMES::fDraw() {
  // Built with the frames scene.
}

void SCENE_CARD_GAME_FRAMES::fInit() {
  gSceneKind = 3;
  subscribeScenePacks({"", "main_menu/change_player", "levelpacks", "frames_selection",
                       "frames_selection/buttons", "frames_selection/buttons_10th_frame",
                       "interface", "interface/backgrounds"});
  // The score sheet and frame buttons are built with the frames scene.
}

void SCENE_CARD_GAME_FRAMES::fMouseMove() {
  // Built with the frames scene.
}

void SCENE_CARD_GAME_FRAMES::fKeyDown(int32_t) {
  // Built with the frames scene.
}

void SCENE_CARD_GAME_FRAMES::fKeyUp(int32_t) {
  // Built with the frames scene.
}
