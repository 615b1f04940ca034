// The main menu's draw pass: the background, the main items where their flight has taken
// them, the window in place or sliding (its own file draws it), the dialog over it, and the
// first-time hint that points at junior mode.
#include "game/scenes/main_menu/main_menu_scene.h"

#include "game/fonts_sounds.h"
#include "game/game_globals.h"
#include "game/scenes/main_menu/menu_widgets.h"
#include "game/texts.h"
#include "gui/gui_button5.h"
#include "gui/gui_container.h"
#include "gui/gui_wlabel.h"
#include "primitives/font.h"
#include "primitives/sprite.h"

using main_menu::placeSprite;
using main_menu::placeWidget;
using main_menu::xOf;
using main_menu::yOf;

namespace {

// The strip stands above the open window's title, partly beyond the picture's top: its text,
// 40 below the strip's top, is all that must show.
constexpr float kHintStripY = -24.0f;
constexpr float kHintTextX = 512.0f;
constexpr float kHintTextOffsetY = 40.0f;    // below the strip's top
constexpr float kHintArrowOffsetX = 110.0f;  // from the junior picture's corner
constexpr float kHintArrowOffsetY = 460.0f;

}  // namespace

void SCENE_CARD_GAME_MAINMENU::fDraw() {
  background->fDraw();
  placeMainScreen();
  logo->fDraw();
  playerNameBackground->fDraw();
  mainContainer->fDraw();
  if (windowState != NO_WINDOW) {
    if (dialogState == NO_DIALOG) fadeShade->fDraw();
    drawWindow();
  }
  if (dialogState != NO_DIALOG) drawDialog();
  drawModeHint();
}

float SCENE_CARD_GAME_MAINMENU::drawnDistance(float distance, bool slidingOut) const {
  return slidingOut ? static_cast<float>(slideTime) - distance : distance;
}

// Flying in, an item comes from its distance to its home; flying out, the same distances
// count down while the item goes from its home to the full distance away.
void SCENE_CARD_GAME_MAINMENU::placeMainScreen() {
  const auto drawn = [this](float distance) {
    return menuState == MENU_AWAY ? static_cast<float>(fadeTime) - distance : distance;
  };
  for (int32_t id = 0; id < MAIN_BUTTON_COUNT; ++id)
    placeWidget(mainButtons[id], xOf(mainButtons[id]), homeY.mainButtons[id] + drawn(currentDistance[id]));
  placeWidget(playerNameLabel, xOf(playerNameLabel), homeY.playerNameLabel + drawn(currentDistance[PLAYER_NAME_ITEM]));
  placeSprite(playerNameBackground, xOf(playerNameBackground), homeY.playerNamePlate + drawn(fadeTimeLeft));
  placeSprite(logo, xOf(logo), homeY.logo - drawn(fadeTimeLeft));
}

void SCENE_CARD_GAME_MAINMENU::drawWindow() {
  const int32_t window = currentWindow();
  const float distance = drawnDistance(windowSlide(window), windowState == window + WINDOW_SLIDING_OUT);
  switch (window) {
    case CHANGE_PLAYER_WINDOW:
      drawChangePlayerWindow(distance);
      break;
    case OPTIONS_WINDOW:
      drawOptionsWindow(distance);
      break;
    case HELP_WINDOW:
      drawHelpWindow(distance);
      break;
    case TROPHIES_WINDOW:
      drawTrophiesWindow(distance);
      break;
    case MODE_SELECTION_WINDOW:
      drawModeSelectionWindow(distance);
      break;
    case CREDITS_WINDOW:
      drawCreditsWindow(distance);
      break;
    default:
      break;
  }
}

// Until a player first chooses junior mode, a strip at the top says where to start and an
// arrow points at the junior button.
void SCENE_CARD_GAME_MAINMENU::drawModeHint() {
  if (isPlayPressed != 1 || windowState != MODE_SELECTION_WINDOW) return;
  if (gPlayers[gCurrentPlayer].isShowedFirstHint != 0) return;
  placeSprite(stripShade, 0.0f, kHintStripY);
  stripShade->fDraw();
  placeSprite(hintArrow, xOf(juniorImage) + kHintArrowOffsetX, yOf(juniorImage) + kHintArrowOffsetY);
  hintArrow->fDraw();
  stripShade->fDraw();
  if (QEL::QC_FONT* font = findFont(20, 2)) {
    const int32_t anchor = font->_anchor;
    font->_anchor = 0;
    font->fDrawTextW(static_cast<int32_t>(kHintTextX), static_cast<int32_t>(kHintStripY + kHintTextOffsetY),
                     removeBars(getText(L"hint_30")).c_str());
    font->_anchor = anchor;
  }
  if (menuState == MENU_READY) hintArrow->fDraw();
}
