#pragma once
// The current pack's score sheet and the choice of a frame. So far the scene sets itself up
// as the current scene (kind and packs); its screen and input are still to be built.
#include <cstdint>

#include "game/scenes/base_scene.h"

class SCENE_CARD_GAME_FRAMES : public BASE_SCENE {
 public:
  SCENE_CARD_GAME_FRAMES();
  ~SCENE_CARD_GAME_FRAMES() override;

  void fUpdate() override;
  void fDraw() override;
  void fInit() override;
  void fMouseMove() override;
  void fKeyDown(int32_t code) override;
  void fKeyUp(int32_t code) override;
};
