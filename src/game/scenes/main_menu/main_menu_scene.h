#pragma once
// The main menu: six main buttons (play, help, trophies, player, options, exit) with the
// current player's name, which fly out when one is clicked and back in when its window
// closes; the windows they open (change player, options, help, trophies, credits, the choice
// of junior or professional mode) slide down from above; the add, delete, quit and
// information dialogs slide in over them. Play leads on to the level packs.
//
// One file per concern: start_up.cpp builds the main screen and calls each window's builder
// (window_*.cpp, name_dialog.cpp), update.cpp runs the flights, slides and clicks,
// drawing.cpp draws, pointer_and_keys.cpp takes the raw pointer and keys, and
// player_management.cpp adds, deletes and chooses players.
#include <cstdint>
#include <string>

#include "game/scenes/base_scene.h"

namespace QEL {
class QC_FONT;
class QC_GUI_BUTTON5;
class QC_GUI_CONTAINER;
class QC_GUI_LINEBOX;
class QC_GUI_WLABEL;
class QC_SPRITE;
}  // namespace QEL

class SCENE_CARD_GAME_MAINMENU : public BASE_SCENE {
 public:
  // menuState: what the main buttons are doing.
  enum : int32_t { MENU_READY = 0, MENU_FLYING_IN = 1, MENU_AWAY = 2 };
  // windowState: every window has three states in a row (open, sliding in, sliding out);
  // the open state names the window.
  enum : int32_t {
    NO_WINDOW = 0,
    CHANGE_PLAYER_WINDOW = 1,
    OPTIONS_WINDOW = 4,
    HELP_WINDOW = 7,
    TROPHIES_WINDOW = 10,
    MODE_SELECTION_WINDOW = 13,
    CREDITS_WINDOW = 16,
  };
  enum : int32_t { WINDOW_SLIDING_IN = 1, WINDOW_SLIDING_OUT = 2 };  // added to the open state
  // dialogState and dialogKind.
  enum : int32_t { NO_DIALOG = 0, DIALOG_OPEN = 1, DIALOG_SLIDING_IN = 2, DIALOG_SLIDING_OUT = 3 };
  enum : int32_t { ADD_PLAYER_DIALOG = 1, DELETE_PLAYER_DIALOG = 2, QUIT_DIALOG = 3, INFORMATION_DIALOG = 4 };
  // nextSceneType: what follows once the flight or the slide under way has ended.
  enum : int32_t {
    NEXT_MAIN_BUTTONS = 0,
    NEXT_OPTIONS = 1,
    NEXT_CHANGE_PLAYER = 2,
    NEXT_LEVEL_PACKS = 3,
    NEXT_HELP = 4,
    NEXT_TROPHIES = 5,
    NEXT_MODE_SELECTION = 6,
    NEXT_CREDITS = 7,
  };

  // Widget ids. Each window reads its events from its own container, so an id may repeat
  // across windows (108 is the confirm button of both panels; the credits lines share 56).
  enum : int32_t {
    PLAY_BUTTON = 0,
    HELP_BUTTON = 1,
    TROPHIES_BUTTON = 2,
    PLAYER_BUTTON = 3,
    OPTIONS_BUTTON = 4,
    EXIT_BUTTON = 5,
    CHANGE_PLAYER_CLOSE_BUTTON = 6,
    ADD_PLAYER_BUTTON = 8,
    FIRST_REMOVE_PLAYER_BUTTON = 9,  // 9-13, rows 0-4
    PLAYER_NAME_LABEL = 14,
    FIRST_PLAYER_ROW_LABEL = 15,  // 15-19
    CHANGE_PLAYER_TITLE = 20,
    PLAY_LABEL = 21,
    OPTIONS_CLOSE_BUTTON = 22,
    FULLSCREEN_BOX = 23,
    MUTE_ALL_BOX = 24,
    FULLSCREEN_TICKED_BOX = 25,
    MUTE_ALL_TICKED_BOX = 26,
    SOUND_KNOB = 27,
    MUSIC_KNOB = 28,
    CREDITS_BUTTON = 29,
    CREDITS_BUTTON_LABEL = 30,
    OPTIONS_TITLE = 31,
    SOUND_LABEL = 32,
    MUSIC_LABEL = 33,
    FULLSCREEN_LABEL = 34,
    MUTE_ALL_LABEL = 35,
    FIRST_BACK_BUTTON = 36,  // 36-47
    FIRST_TYPE_BUTTON = 48,  // 48-50
    HELP_CLOSE_BUTTON = 51,
    HELP_LEFT_BUTTON = 52,
    HELP_RIGHT_BUTTON = 53,
    HELP_TITLE = 54,
    CREDITS_CLOSE_BUTTON = 55,
    CREDITS_LINE = 56,
    TROPHIES_CLOSE_BUTTON = 57,
    TROPHIES_LEFT_BUTTON = 58,
    TROPHIES_RIGHT_BUTTON = 59,
    TROPHIES_TITLE = 60,
    MODE_SELECTION_CLOSE_BUTTON = 61,
    JUNIOR_BUTTON = 62,
    PROFESSIONAL_BUTTON = 63,
    JUNIOR_SCORE_LABEL = 64,
    PROFESSIONAL_SCORE_LABEL = 65,
    MODE_SELECTION_TITLE = 66,
    JUNIOR_LABEL = 67,
    PROFESSIONAL_LABEL = 68,
    FIRST_TROPHY_LABEL = 69,  // name 69 + 3t, description 70 + 3t
    INFORMATION_TEXT = 104,
    INFORMATION_TITLE = 105,
    PANEL_CONFIRM_BUTTON = 108,
    PANEL_CLOSE_BUTTON = 109,
    PANEL_TEXT = 110,
    PANEL_TITLE = 111,
    PANEL_MESSAGE = 112,
    NAME_BOX = 113,
    FIRST_HELP_LABEL = 114,  // 114-120
  };

  static constexpr int32_t MAIN_BUTTON_COUNT = 6;
  static constexpr int32_t PLAYER_ROWS = 5;
  static constexpr int32_t BACK_COUNT = 12;
  static constexpr int32_t TYPE_COUNT = 3;
  static constexpr int32_t HELP_IMAGE_COUNT = 9;
  static constexpr int32_t HELP_LABEL_COUNT = 7;
  static constexpr int32_t TROPHY_COUNT = 24;
  static constexpr int32_t TROPHIES_PER_PAGE = 6;
  static constexpr int32_t TROPHY_PAGES = 4;
  static constexpr int32_t SKITTLE_PLACES = 6;
  // Entries of slideTimeLeft: one per window in the order of windowState, then the dialogs.
  static constexpr int32_t SLIDE_ENTRIES = 7;
  static constexpr int32_t DIALOG_SLIDE = 6;
  // Entries of currentDistance: the main buttons by id, then the player-name label.
  static constexpr int32_t FLYING_ITEMS = 7;
  static constexpr int32_t PLAYER_NAME_ITEM = 6;
  // A flight moves these and fadeTimeLeft (the logo and the name plate).
  static constexpr int32_t FLIGHT_ITEMS = FLYING_ITEMS + 1;

  SCENE_CARD_GAME_MAINMENU();
  ~SCENE_CARD_GAME_MAINMENU() override;

  void fUpdate() override;
  void fDraw() override;
  void fInit() override;
  void fMouseMove() override;
  void fKeyDown(int32_t code) override;
  void fKeyUp(int32_t code) override;

  // Start-up (start_up.cpp and each window's file).
  void createMainScreen();
  void createChangePlayerWindow();
  void createOptionsWindow();
  void createHelpWindow();
  void createCreditsWindow();
  void createTrophiesWindow();
  void createModeSelectionWindow();
  void createInformationPanel();
  void createNamePanel();
  void readHomePositions();
  void applyDeveloperView();

  // The state machine (update.cpp).
  bool runFlight(const float (&lags)[FLIGHT_ITEMS]);
  void flyMainButtonsIn();
  // True when the flight has ended and the next scene type has been applied: the update
  // ends there, and what was applied moves from the next update on.
  bool flyMainButtonsOut();
  // True when a slide out has ended and the next scene type has been applied (as above).
  bool slideWindow();
  bool slideDialog();
  void takeMainButtonClick(int32_t id);
  void updateWindowContainers();
  void applyNextSceneType();
  // Starts the slide out of the open window; what follows is nextSceneType.
  void closeWindow(int32_t next);
  bool isWindowOpen(int32_t window) const { return windowState == window; }
  // The window whose open, sliding-in or sliding-out state windowState is (0 for none).
  int32_t currentWindow() const;
  float& windowSlide(int32_t window);

  // Each window's clicks, taken while it is open and no dialog is up.
  void onChangePlayerClick(int32_t id);
  void onOptionsClick(int32_t id);
  void onHelpClick(int32_t id);
  void onCreditsClick(int32_t id);
  void onTrophiesClick(int32_t id);
  void onModeSelectionClick(int32_t id);
  void onDialogClick(int32_t id);

  // Drawing (drawing.cpp and the windows' files).
  void placeMainScreen();
  void drawWindow();
  void drawChangePlayerWindow(float distance);
  void drawOptionsWindow(float distance);
  void drawHelpWindow(float distance);
  void drawCreditsWindow(float distance);
  void drawTrophiesWindow(float distance);
  void drawModeSelectionWindow(float distance);
  void drawDialog();
  void drawModeHint();
  // The distance a window or the dialog is drawn at: a slide out runs its distance backwards.
  float drawnDistance(float distance, bool slidingOut) const;

  // Players (player_management.cpp).
  void addPlayer();
  void deletePlayer(int32_t row);
  void refreshPlayerNames();
  void choosePlayer(int32_t row);
  // A click in the open change-player window on another player's row makes that player current.
  void choosePlayerByPointer();
  // Rows 0 to count - 1 show their players, the current one highlighted; the rest are
  // empty; the add button follows.
  void placePlayerRows();
  // The confirm of the add-player dialog: false when the name is refused (the dialog stays).
  bool confirmNewName();
  // Whether every font that shows player names has a glyph for every letter.
  static bool isNameShownByFonts(const std::wstring& name);
  void showTotalScores();
  void showDialog(int32_t kind, int32_t row);

  // Options, help, trophies and modes.
  void placeVolumeKnobs();
  void pressVolumeSlider(float x, float y);
  void dragVolumeKnob(float x);
  void releaseVolumeKnob();
  void setVolume(int32_t slider, float value);
  void showTickBoxes();
  void showCardChoices();
  void showPlayerOptions();
  void chooseCardBack(int32_t back);
  void chooseCardType(int32_t type);
  void showHelpPage();
  void fillTrophiesPage();
  bool isFirstPackFinished() const;
  // A press on the disabled professional button explains why it is locked.
  void pressLockedProfessional();

  // Pointer tests: mode 0 the rectangle from (x, y), 1 centred on (x, y), 2 mode 0 grown by
  // 20 on every side; edges count as inside.
  static bool isMouseInRect(int32_t mode, float x, float y, float width, float height);
  static void playSound(int32_t slot);

  // Scene state.
  int32_t menuState = MENU_FLYING_IN;
  int32_t windowState = NO_WINDOW;
  int32_t dialogState = NO_DIALOG;
  int32_t dialogKind = 0;
  int32_t dialogRow = -1;
  int32_t nextSceneType = NEXT_MAIN_BUTTONS;
  int32_t isPlayPressed = 0;
  bool isAddPlayerForced = false;
  int32_t helpPage = 0;
  int32_t trophiesPage = 0;
  int32_t draggedSlider = -1;  // -1 none, 0 sound, 1 music
  float dragOffset = 0.0f;
  float timeStep = 0.0f;

  // Flights and slides, in pixels still to go.
  int32_t fadeTime = 500;                    // the main items' flight distance
  int32_t slideTime = 750;                   // a window's or dialog's slide distance
  float fadeTimeLeft = 500.0f;               // logo (above its home) and name plate (below it)
  float currentDistance[FLYING_ITEMS] = {};  // below their homes
  float slideTimeLeft[SLIDE_ENTRIES] = {};   // above their homes

  // The resting y of everything that flies or slides, read back after construction.
  struct HOME_Y {
    float logo = 0.0f;
    float playerNamePlate = 0.0f;
    float mainButtons[MAIN_BUTTON_COUNT] = {};
    float playerNameLabel = 0.0f;
    float changePlayerWindow = 0.0f;
    float playerRowLine = 0.0f;
    float optionsBackground = 0.0f;
    float helpBackground = 0.0f;
    float creditsBackground = 0.0f;
    float trophiesBackground = 0.0f;
    float firstTrophy = 0.0f;
    float progressBall = 0.0f;
    float modeSelectionBackground = 0.0f;
    float juniorImage = 0.0f;
    float professionalImage = 0.0f;
    float modeTextBackground = 0.0f;
    float namePanelBackground = 0.0f;
    float nameTextboxBackground = 0.0f;
    float soundSliderLine = 0.0f;
    float musicSliderLine = 0.0f;
    float informationPanelBackground = 0.0f;
  } homeY;

  // Main screen.
  QEL::QC_SPRITE* background = nullptr;
  QEL::QC_SPRITE* logo = nullptr;
  QEL::QC_SPRITE* playerNameBackground = nullptr;
  QEL::QC_SPRITE* changePlayerWindow = nullptr;
  QEL::QC_SPRITE* changePlayerLine = nullptr;
  QEL::QC_SPRITE* fadeShade = nullptr;
  QEL::QC_SPRITE* stripShade = nullptr;
  QEL::QC_SPRITE* hintArrow = nullptr;
  QEL::QC_GUI_CONTAINER* mainContainer = nullptr;
  QEL::QC_GUI_BUTTON5* mainButtons[MAIN_BUTTON_COUNT] = {};
  QEL::QC_GUI_WLABEL* playerNameLabel = nullptr;

  // Change-player window.
  int32_t playerRowX = 328;
  int32_t playerRowFirstY = 184;
  int32_t playerRowHeight = 80;
  QEL::QC_GUI_CONTAINER* changePlayerContainer = nullptr;
  QEL::QC_GUI_BUTTON5* changePlayerCloseButton = nullptr;
  QEL::QC_GUI_BUTTON5* addPlayerButton = nullptr;
  QEL::QC_GUI_WLABEL* playerNameLabels[PLAYER_ROWS] = {};
  QEL::QC_GUI_BUTTON5* removePlayerButtons[PLAYER_ROWS] = {};

  // Information panel and name panel.
  QEL::QC_GUI_CONTAINER* informationPanelContainer = nullptr;
  QEL::QC_SPRITE* informationPanelBackground = nullptr;
  QEL::QC_GUI_BUTTON5* informationConfirmButton = nullptr;
  QEL::QC_GUI_WLABEL* informationTitleLabel = nullptr;
  QEL::QC_GUI_WLABEL* informationTextLabel = nullptr;
  QEL::QC_GUI_CONTAINER* namePanelContainer = nullptr;
  QEL::QC_SPRITE* namePanelBackground = nullptr;
  QEL::QC_SPRITE* nameTextboxBackground = nullptr;
  QEL::QC_GUI_BUTTON5* namePanelConfirmButton = nullptr;
  QEL::QC_GUI_BUTTON5* namePanelCloseButton = nullptr;
  QEL::QC_GUI_WLABEL* namePanelTitleLabel = nullptr;
  QEL::QC_GUI_WLABEL* namePanelTextLabel = nullptr;
  QEL::QC_GUI_WLABEL* namePanelMessageLabel = nullptr;
  QEL::QC_GUI_LINEBOX* nameLineBox = nullptr;  // id 113, the name typed for a new player

  // Options window.
  QEL::QC_GUI_CONTAINER* optionsContainer = nullptr;
  QEL::QC_SPRITE* optionsBackground = nullptr;
  QEL::QC_GUI_BUTTON5* optionsCloseButton = nullptr;
  QEL::QC_GUI_BUTTON5* creditsButton = nullptr;
  float sliderLeftX = 317.0f;
  float sliderRightX = 673.0f;
  QEL::QC_SPRITE* soundSliderLine = nullptr;
  QEL::QC_SPRITE* musicSliderLine = nullptr;
  QEL::QC_GUI_BUTTON5* backButtons[BACK_COUNT] = {};
  QEL::QC_GUI_BUTTON5* typeButtons[TYPE_COUNT] = {};
  int32_t fullscreenBoxX = 311;
  int32_t fullscreenBoxY = 572;
  int32_t muteAllBoxX = 540;
  int32_t muteAllBoxY = 572;
  QEL::QC_GUI_BUTTON5* fullscreenButton = nullptr;
  QEL::QC_GUI_BUTTON5* muteAllButton = nullptr;
  QEL::QC_GUI_BUTTON5* fullscreenTickedButton = nullptr;
  QEL::QC_GUI_BUTTON5* muteAllTickedButton = nullptr;
  QEL::QC_GUI_BUTTON5* soundSliderButton = nullptr;
  QEL::QC_GUI_BUTTON5* musicSliderButton = nullptr;
  QEL::QC_SPRITE* soundSkittlesWhite[SKITTLE_PLACES] = {};
  QEL::QC_SPRITE* soundSkittlesGreen[SKITTLE_PLACES] = {};
  QEL::QC_SPRITE* musicSkittlesWhite[SKITTLE_PLACES] = {};
  QEL::QC_SPRITE* musicSkittlesGreen[SKITTLE_PLACES] = {};
  float skittleRowDistance = 65.0f;
  float soundSkittleY[SKITTLE_PLACES] = {};

  // Help window.
  QEL::QC_GUI_CONTAINER* helpContainer = nullptr;
  QEL::QC_SPRITE* helpBackground = nullptr;
  QEL::QC_SPRITE* helpImages[HELP_IMAGE_COUNT] = {};
  QEL::QC_GUI_WLABEL* helpLabels[HELP_LABEL_COUNT] = {};
  QEL::QC_GUI_BUTTON5* helpCloseButton = nullptr;
  QEL::QC_GUI_BUTTON5* helpLeftButton = nullptr;
  QEL::QC_GUI_BUTTON5* helpRightButton = nullptr;

  // Credits window.
  QEL::QC_GUI_CONTAINER* creditsContainer = nullptr;
  QEL::QC_SPRITE* creditsBackground = nullptr;
  QEL::QC_GUI_BUTTON5* creditsCloseButton = nullptr;

  // Trophies window.
  QEL::QC_GUI_CONTAINER* trophiesContainer = nullptr;
  QEL::QC_SPRITE* trophiesBackground = nullptr;
  QEL::QC_SPRITE* progressBall = nullptr;
  QEL::QC_SPRITE* dollarImage = nullptr;
  QEL::QC_SPRITE* hiddenTrophyImage = nullptr;
  QEL::QC_SPRITE* trophyImageBackground = nullptr;
  QEL::QC_SPRITE* trophyEarnedImage = nullptr;
  QEL::QC_SPRITE* trophyNotEarnedImage = nullptr;
  int32_t trophyGridX = 176;
  int32_t trophyColumnStep = 395;
  int32_t trophyRowStep = 139;
  int32_t trophyOffset = -7;
  QEL::QC_SPRITE* trophyImages[TROPHY_COUNT] = {};
  QEL::QC_GUI_WLABEL* trophyLabels[TROPHY_COUNT][2] = {};  // name, description
  QEL::QC_GUI_BUTTON5* trophiesCloseButton = nullptr;
  QEL::QC_GUI_BUTTON5* trophiesLeftButton = nullptr;
  QEL::QC_GUI_BUTTON5* trophiesRightButton = nullptr;

  // Mode-selection window.
  QEL::QC_GUI_CONTAINER* modeSelectionContainer = nullptr;
  QEL::QC_SPRITE* modeSelectionBackground = nullptr;
  QEL::QC_SPRITE* juniorImage = nullptr;
  QEL::QC_SPRITE* professionalImage = nullptr;
  QEL::QC_SPRITE* juniorTextBackground = nullptr;
  QEL::QC_SPRITE* professionalTextBackground = nullptr;
  QEL::QC_GUI_BUTTON5* modeSelectionCloseButton = nullptr;
  QEL::QC_GUI_BUTTON5* juniorButton = nullptr;
  QEL::QC_GUI_BUTTON5* professionalButton = nullptr;
  QEL::QC_GUI_WLABEL* juniorScoreLabel = nullptr;
  QEL::QC_GUI_WLABEL* professionalScoreLabel = nullptr;
};
