// The main menu's start-up: the packs, the main screen (background, logo, name plate, six
// main buttons), every window and panel (each built by its own file), the start distances
// from which the main items fly in, the resting places the slides return to, the first
// start's name dialog and the developer all-levels view.
#include "game/picture_size.h"
#include "game/scenes/main_menu/main_menu_scene.h"

#include "engine/log.h"
#include "game/fonts_sounds.h"
#include "game/game_entry.h"
#include "game/game_globals.h"
#include "game/level_results.h"
#include "game/players.h"
#include "game/scenes/main_menu/menu_widgets.h"
#include "game/scenes/scene_widgets.h"
#include "game/texts.h"
#include "gui/gui_button5.h"
#include "gui/gui_container.h"
#include "gui/gui_wlabel.h"
#include "primitives/sprite.h"

using main_menu::yOf;

namespace {

struct IMAGE_PLACE {
  const char* image;
  float x;
  float y;
};

constexpr IMAGE_PLACE kMainButtons[SCENE_CARD_GAME_MAINMENU::MAIN_BUTTON_COUNT] = {
    {"main_menu button_play.png", 515.0f, 418.0f},     {"main_menu button_help.png", 136.0f, 677.0f},
    {"main_menu button_trophies.png", 325.0f, 676.0f}, {"main_menu button_player.png", 514.0f, 674.0f},
    {"main_menu button_options.png", 703.0f, 677.0f},  {"main_menu button_exit.png", 895.0f, 673.0f},
};
constexpr IMAGE_PLACE kBackground{"main_menu background.png", 0.0f, 0.0f};
constexpr IMAGE_PLACE kLogo{"main_menu logo.png", 261.0f, 27.0f};
constexpr IMAGE_PLACE kPlayerNamePlate{"main_menu background_playerName.png", 358.0f, 563.0f};
constexpr IMAGE_PLACE kChangePlayerWindow{"main_menu/change_player window.png", 153.0f, 45.0f};
constexpr IMAGE_PLACE kPlayerRowLine{"main_menu/change_player line.png", 0.0f, 0.0f};
constexpr IMAGE_PLACE kShade{"interface shadow_black_square.png", 0.0f, 0.0f};
constexpr IMAGE_PLACE kHintArrow{"interface/hints arrow.png", 500.0f, 400.0f};
constexpr float kStripShadeY = -24.0f;  // above the open window's title (drawing.cpp)
constexpr float kStripShadeHeight = 70.0f;
constexpr uint32_t kFadeShadeColor = 0x64000000u;   // black, alpha 100
constexpr uint32_t kStripShadeColor = 0xD2000000u;  // black, alpha 210
constexpr float kPlayLabelX = 0.0f;
constexpr float kPlayLabelY = 10.0f;
constexpr float kPlayerNameX = 512.0f;
constexpr float kPlayerNameY = 609.0f;
// The row lines of the change-player window rest here (plus a row height per row).
constexpr float kPlayerRowLineY = 224.0f;

QEL::QC_SPRITE* makeTopLeftSprite(const IMAGE_PLACE& place) {
  return makeSceneSprite(place.image, place.x, place.y, 1);
}

}  // namespace

void SCENE_CARD_GAME_MAINMENU::fInit() {
  noOperation(0);
  subscribeScenePacks({"", "main_menu", "main_menu/change_player", "main_menu/change_player/panel", "main_menu/help",
                       "main_menu/trophies", "main_menu/trophies/trophy_images", "main_menu/modeselection", "interface",
                       "interface/options", "interface/options/skittles", "interface/options/backs",
                       "interface/options/types", "interface/credits", "interface/hints"});
  isPlayPressed = 0;
  gSceneKind = scene_kind::MAIN_MENU;
  isAddPlayerForced = false;
  draggedSlider = -1;
  trophiesPage = 0;
  helpPage = 0;
  // The developer view keeps its made-up results until it is switched off.
  if (!gIsAllLevelsView) {
    loadPlayers();
    loadLevelsInfo(-1);
  }

  createMainScreen();
  createChangePlayerWindow();
  createOptionsWindow();
  createHelpWindow();
  createCreditsWindow();
  createTrophiesWindow();
  createModeSelectionWindow();
  createInformationPanel();
  createNamePanel();

  fadeTime = 500;
  slideTime = 750;
  fadeTimeLeft = static_cast<float>(fadeTime);
  for (float& distance : slideTimeLeft) distance = static_cast<float>(slideTime);
  for (float& distance : currentDistance) distance = static_cast<float>(fadeTime);
  readHomePositions();

  menuState = MENU_FLYING_IN;
  windowState = NO_WINDOW;
  dialogState = NO_DIALOG;
  if (gNumberOfPlayers == 0) {
    isAddPlayerForced = true;
    showDialog(ADD_PLAYER_DIALOG, -1);
  }
  applyDeveloperView();
  QEL::fLog("currentDistance_button_exit: ", currentDistance[EXIT_BUTTON]);
  noOperation(100);
}

void SCENE_CARD_GAME_MAINMENU::createMainScreen() {
  background = makeTopLeftSprite(kBackground);
  logo = makeTopLeftSprite(kLogo);
  playerNameBackground = makeTopLeftSprite(kPlayerNamePlate);
  changePlayerWindow = makeTopLeftSprite(kChangePlayerWindow);
  changePlayerLine = makeTopLeftSprite(kPlayerRowLine);
  fadeShade = makeTopLeftSprite(kShade);
  fadeShade->fSetScale(kShadeWidth, kShadeHeight, 1.0f);
  fadeShade->fSetColor(kFadeShadeColor);
  stripShade = makeSceneSprite(kShade.image, 0.0f, kStripShadeY, 1);
  stripShade->fSetScale(kShadeWidth, kStripShadeHeight, 1.0f);
  stripShade->fSetColor(kStripShadeColor);
  hintArrow = makeTopLeftSprite(kHintArrow);

  mainContainer = new QEL::QC_GUI_CONTAINER();
  playerRowX = 328;
  playerRowFirstY = 184;
  playerRowHeight = 80;
  for (int32_t id = PLAY_BUTTON; id < MAIN_BUTTON_COUNT; ++id) {
    const IMAGE_PLACE& place = kMainButtons[id];
    mainButtons[id] = addSceneButton(mainContainer, id, place.image, place.x, place.y);
    if (id == PLAY_BUTTON)
      createChildLabel(PLAY_LABEL, getText(L"play"), kPlayLabelX, kPlayLabelY, mainButtons[id], findFont(62, 2), 0);
  }
  playerNameLabel = createLabel(PLAYER_NAME_LABEL, L"", kPlayerNameX, kPlayerNameY, mainContainer, findFont(20, 1), 0);
}

void SCENE_CARD_GAME_MAINMENU::readHomePositions() {
  homeY.logo = yOf(logo);
  homeY.playerNamePlate = yOf(playerNameBackground);
  for (int32_t id = 0; id < MAIN_BUTTON_COUNT; ++id) homeY.mainButtons[id] = yOf(mainButtons[id]);
  homeY.playerNameLabel = yOf(playerNameLabel);
  homeY.changePlayerWindow = yOf(changePlayerWindow);
  homeY.playerRowLine = kPlayerRowLineY;
  homeY.optionsBackground = yOf(optionsBackground);
  homeY.helpBackground = yOf(helpBackground);
  homeY.creditsBackground = yOf(creditsBackground);
  homeY.trophiesBackground = yOf(trophiesBackground);
  homeY.firstTrophy = yOf(trophyImages[0]);
  homeY.progressBall = yOf(progressBall);
  homeY.modeSelectionBackground = yOf(modeSelectionBackground);
  homeY.juniorImage = yOf(juniorImage);
  homeY.professionalImage = yOf(professionalImage);
  homeY.modeTextBackground = yOf(juniorTextBackground);
  homeY.namePanelBackground = yOf(namePanelBackground);
  homeY.nameTextboxBackground = yOf(nameTextboxBackground);
  homeY.soundSliderLine = yOf(soundSliderLine);
  homeY.musicSliderLine = yOf(musicSliderLine);
  homeY.informationPanelBackground = yOf(informationPanelBackground);
}

// The developer key of the level packs and frames scenes asks the next main menu to switch
// the all-levels view: on, every level reads as finished; off, the real saves come back.
void SCENE_CARD_GAME_MAINMENU::applyDeveloperView() {
  if (gCheatKeyUsed) {
    gIsAllLevelsView = gIsAllLevelsView ? 0 : 1;
    if (gIsAllLevelsView) {
      markAllLevelsFinished();
    } else {
      loadPlayers();
      loadLevelsInfo(0);
      loadLevelsInfo(1);
    }
  }
  gCheatKeyUsed = 0;
}
