#pragma once
// The main menu: play, mode selection, players, options, help, trophies, credits, quit.
// So far the scene sets itself up as the current scene (kind, packs, players and results),
// draws its background and holds the player-name box; its screens, windows and input are
// still to be built.
#include <cstdint>

#include "game/scenes/base_scene.h"

namespace QEL {
class QC_SPRITE;
class QC_GUI_LINEBOX;
}  // namespace QEL

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
  QEL::QC_SPRITE* background = nullptr;        // "main_menu background.png"
  QEL::QC_GUI_LINEBOX* nameLineBox = nullptr;  // id 113, the name typed for a new player
};
