#pragma once
// The main menu: play, mode selection, players, options, help, trophies, credits, quit.
// So far the scene sets itself up as the current scene (kind, packs, players and results);
// its screens, windows and input are still to be built.
#include <cstdint>

#include "game/scenes/base_scene.h"

class SCENE_CARD_GAME_MAINMENU : public BASE_SCENE {
 public:
  SCENE_CARD_GAME_MAINMENU();
  ~SCENE_CARD_GAME_MAINMENU() override;

  void fUpdate() override;
  void fDraw() override;
  void fInit() override;
  void fMouseMove() override;
  void fKeyDown(int32_t code) override;
  void fKeyUp(int32_t code) override;

  int32_t totalScore = 0;  // the current player's score over the unlocked packs
};
