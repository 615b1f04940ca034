// What the main menu takes straight from the pointer and the keys rather than from its
// widgets: the volume knobs, the choice of a player row, the press on the locked
// professional button, and the developer's all-levels view key.
#include "game/scenes/main_menu/main_menu_scene.h"

#include "engine/globals.h"
#include "engine/input.h"
#include "game/game_globals.h"
#include "game/level_results.h"
#include "game/players.h"
#include "platform/key_codes.h"

namespace {

using platform::LEFT_BUTTON;
constexpr int32_t kAllLevelsViewKey = platform::KEY_O;

}  // namespace

void SCENE_CARD_GAME_MAINMENU::fKeyDown(int32_t code) {
  if (code == kAllLevelsViewKey) {
    if (!gIsCheat || dialogState != NO_DIALOG) return;
    gIsAllLevelsView = gIsAllLevelsView ? 0 : 1;
    if (gIsAllLevelsView) {
      markAllLevelsFinished();
    } else {
      loadPlayers();
      loadLevelsInfo(-1);
    }
    return;
  }
  if (code != LEFT_BUTTON || QEL::qcMOUSE_POSITION == nullptr) return;
  pressLockedProfessional();
  if (windowState == OPTIONS_WINDOW && dialogState == NO_DIALOG)
    pressVolumeSlider(static_cast<float>(QEL::qcMOUSE_POSITION->x), static_cast<float>(QEL::qcMOUSE_POSITION->y));
  if (windowState == CHANGE_PLAYER_WINDOW && dialogState == NO_DIALOG && gNumberOfPlayers > 0) choosePlayerByPointer();
}

void SCENE_CARD_GAME_MAINMENU::fKeyUp(int32_t code) {
  if (code == LEFT_BUTTON) releaseVolumeKnob();
}

void SCENE_CARD_GAME_MAINMENU::fMouseMove() {
  if (draggedSlider != -1 && QEL::qcMOUSE_POSITION != nullptr)
    dragVolumeKnob(static_cast<float>(QEL::qcMOUSE_POSITION->x));
}
