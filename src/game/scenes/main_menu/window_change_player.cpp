// The change-player window: up to five player rows, each with a remove button, the add
// button under the last row, the row lines, and the window's clicks.
#include "game/scenes/main_menu/main_menu_scene.h"

#include "game/fonts_sounds.h"
#include "game/game_globals.h"
#include "game/scenes/main_menu/menu_widgets.h"
#include "game/scenes/scene_widgets.h"
#include "game/texts.h"
#include "gui/gui_button5.h"
#include "gui/gui_container.h"
#include "gui/gui_wlabel.h"
#include "primitives/sprite.h"

using main_menu::placeSprite;
using main_menu::placeWidget;

namespace {

constexpr float kTitleX = 523.0f;
constexpr float kTitleY = 97.0f;
constexpr float kCloseX = 688.0f;
constexpr float kCloseY = 628.0f;
// A row's label stands at (328, 184 + 80 r) and its remove button at (662, 194 + 80 r); an
// empty row's label moves 3 to the left and its remove button out of sight.
constexpr float kRemoveX = 662.0f;
constexpr float kRemoveOffsetY = 10.0f;
constexpr float kEmptyRowLabelX = 325.0f;
constexpr float kParkedRemoveX = 2681.0f;
constexpr float kParkedRemoveOffsetY = 2.0f;
constexpr float kAddX = 687.0f;
constexpr float kAddOffsetY = 21.0f;  // below the first free row
constexpr float kParkedAddX = 2851.0f;
constexpr float kParkedAddY = 664.0f;
constexpr float kRowLineX = 326.0f;

}  // namespace

void SCENE_CARD_GAME_MAINMENU::createChangePlayerWindow() {
  changePlayerContainer = new QEL::QC_GUI_CONTAINER();
  createLabel(CHANGE_PLAYER_TITLE, getText(L"change_player"), kTitleX, kTitleY, changePlayerContainer, findFont(42, 0),
              0);
  changePlayerCloseButton =
      addSceneButton(changePlayerContainer, CHANGE_PLAYER_CLOSE_BUTTON, "interface button_close.png", kCloseX, kCloseY);
  addPlayerButton = addSceneButton(changePlayerContainer, ADD_PLAYER_BUTTON, "main_menu/change_player button_plus.png",
                                   kParkedAddX, kParkedAddY);
  for (int32_t row = 0; row < PLAYER_ROWS; ++row) {
    const float rowY = static_cast<float>(playerRowFirstY + row * playerRowHeight);
    // The rows are placed where they stand, not 5 above as createLabel would.
    auto* label = new QEL::QC_GUI_WLABEL(FIRST_PLAYER_ROW_LABEL + row, findFont(33, 0), L"");
    label->fSetAnchor(1);
    placeWidget(label, kEmptyRowLabelX, rowY);
    changePlayerContainer->fAdd(label);
    playerNameLabels[row] = label;
    removePlayerButtons[row] =
        addSceneButton(changePlayerContainer, FIRST_REMOVE_PLAYER_BUTTON + row,
                       "main_menu/change_player button_minus.png", kParkedRemoveX, rowY + kParkedRemoveOffsetY);
  }
  refreshPlayerNames();
  placePlayerRows();
}

void SCENE_CARD_GAME_MAINMENU::placePlayerRows() {
  for (int32_t row = 0; row < PLAYER_ROWS; ++row) {
    const float rowY = static_cast<float>(playerRowFirstY + row * playerRowHeight);
    // The current player's row is written in the highlighted colour.
    playerNameLabels[row]->fSetFont(findFont(33, row < gNumberOfPlayers && row == gCurrentPlayer ? 1 : 0));
    if (row < gNumberOfPlayers) {
      playerNameLabels[row]->fSetText(gPlayers[row].name);
      placeWidget(playerNameLabels[row], static_cast<float>(playerRowX), rowY);
      placeWidget(removePlayerButtons[row], kRemoveX, rowY + kRemoveOffsetY);
    } else {
      playerNameLabels[row]->fSetText(L"");
      placeWidget(playerNameLabels[row], kEmptyRowLabelX, rowY);
      placeWidget(removePlayerButtons[row], kParkedRemoveX, rowY + kParkedRemoveOffsetY);
    }
  }
  if (gNumberOfPlayers < kMaxPlayers) {
    placeWidget(addPlayerButton, kAddX,
                static_cast<float>(playerRowFirstY + gNumberOfPlayers * playerRowHeight) + kAddOffsetY);
  } else {
    placeWidget(addPlayerButton, kParkedAddX, kParkedAddY);
  }
}

void SCENE_CARD_GAME_MAINMENU::drawChangePlayerWindow(float distance) {
  main_menu::drawRaised(changePlayerWindow, homeY.changePlayerWindow, distance);
  for (int32_t row = 0; row < gNumberOfPlayers; ++row) {
    placeSprite(changePlayerLine, kRowLineX,
                homeY.playerRowLine + static_cast<float>(row * playerRowHeight) - distance);
    changePlayerLine->fDraw();
  }
  changePlayerContainer->fSetPosition(0.0f, -distance, 0.0f);
  changePlayerContainer->fDraw();
}

void SCENE_CARD_GAME_MAINMENU::onChangePlayerClick(int32_t id) {
  if (id == CHANGE_PLAYER_CLOSE_BUTTON) {
    closeWindow(NEXT_MAIN_BUTTONS);
  } else if (id == ADD_PLAYER_BUTTON && gNumberOfPlayers < kMaxPlayers) {
    playSound(kSoundButtonClick);
    showDialog(ADD_PLAYER_DIALOG, -1);
  } else if (id >= FIRST_REMOVE_PLAYER_BUTTON && id < FIRST_REMOVE_PLAYER_BUTTON + gNumberOfPlayers) {
    playSound(kSoundButtonClick);
    showDialog(DELETE_PLAYER_DIALOG, id - FIRST_REMOVE_PLAYER_BUTTON);
  }
}
