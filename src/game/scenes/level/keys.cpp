// Keys and mouse buttons pressed and let go on the level: the left button plays the frame
// (clicks.cpp); the rest are the developers' keys, which need the marker files.
#include "engine/log.h"
#include "game/fonts_sounds.h"
#include "game/game_globals.h"
#include "game/players.h"
#include "game/scenes/level/level_scene.h"
#include "game/texts.h"
#include "gui/gui_button5.h"
#include "gui/gui_wlabel.h"
#include "platform/key_codes.h"

namespace {

using enum platform::KEY;

constexpr int32_t DEVELOPER_MONEY = 100000;
constexpr int32_t DEVELOPER_TROPHY = 3;

}  // namespace

void SCENE_CARD_GAME_LEVEL::fKeyDown(int32_t code) {
  // While the layout flies in or out no key counts.
  if (transitionState != IN_PLAY) return;
  switch (code) {
    case LEFT_BUTTON:
      onLeftClick();
      break;
    case RIGHT_BUTTON:
      isRightButtonDown = true;
      break;
    case SPACE:
      if (gIsGameInited && gIsDebug) requestScene(scene_kind::EDITOR);
      break;
    case LEFT_ARROW:
      if (gIsDebug && gCurrentLevel >= 1) {
        previousLevel();
        selectedCard = -1;
      }
      break;
    case RIGHT_ARROW:
      if (gIsDebug && gCurrentLevel < kLastLevel) {
        nextLevel();
        selectedCard = -1;
      }
      break;
    case KEY_D:
      if (!gIsCheat) break;
      if (selectedCard >= 0 && selectedCard < MAX_LAYOUT_CARDS) {
        removePair(LAYOUT_SLOT, selectedCard, NO_CARD, -1);
        selectedCard = -1;
      }
      if (selectedPileCard > 0) {
        removePair(PILE_TOP, selectedPileCard - 1, NO_CARD, -1);
        selectedPileCard = -1;
      }
      break;
    case KEY_O:
      if (!gIsCheat) break;
      gCheatKeyUsed = 1;
      nextSceneType = TO_MAIN_MENU;
      applyNextSceneType();
      break;
    case KEY_S:
      if (PLAYER_RECORD* player = currentPlayerRecord(); gIsCheat && player != nullptr) {
        addMoney(*player, DEVELOPER_MONEY);
        if (moneyLabel != nullptr) moneyLabel->fSetText(numberToWString(player->money));
        checkMoneyTrophies();
      }
      break;
    case KEY_T:
      if (gIsDebug) showTrophyWindow(DEVELOPER_TROPHY);
      break;
    case KEY_W:
      if (gIsCheat && (windowState < window_state::FINISH_OPEN || windowState > window_state::FINISH_CLOSING)) {
        countOfSpecialCardsOnScene = 0;
        turnoversLeft = turnoversAtStart;
        isFrameFinished = true;
        finishLevel();
      }
      break;
    default:
      break;
  }
}

void SCENE_CARD_GAME_LEVEL::fKeyUp(int32_t code) {
  if (transitionState != IN_PLAY) return;
  if (code == RIGHT_BUTTON) {
    isRightButtonDown = false;
    return;
  }
  if (code != LEFT_BUTTON) return;
  isLeftButtonDown = false;
  if (draggedSlider != 0 && draggedSlider != 1) return;
  const bool sound = draggedSlider == 0;
  draggedSlider = -1;
  QEL::QC_GUI_BUTTON5* knob = sound ? soundKnob : musicKnob;
  if (knob == nullptr) return;
  // Saved with the player's settings when the options window is closed.
  setPlayerVolume(sound, volumeForKnobX(knob->fGetTransform()->fGetPosition().x));
}
