#pragma once
// The level editor. So far the scene sets itself up as the current scene (kind and packs)
// and creates its 300 editor cards; its screen, tools, files and input are still to be built.
// It derives from the game's scene base, so it lives with the game's scenes.
#include <cstdint>

#include "game/scenes/base_scene.h"

class CARD;

class SCENE_CARD_GAME_EDITOR : public BASE_SCENE {
 public:
  static constexpr int32_t MAX_CARDS = 300;
  static constexpr int32_t TOP_LAYER = 100;
  static constexpr int32_t BOTTOM_LAYER = -100;

  SCENE_CARD_GAME_EDITOR();
  ~SCENE_CARD_GAME_EDITOR() override;

  void fUpdate() override;
  void fDraw() override;
  void fInit() override;
  void fMouseMove() override;
  void fKeyDown(int32_t code) override;
  void fKeyUp(int32_t code) override;

  CARD* cards[MAX_CARDS] = {};  // slot index = card id; owned
};
