#pragma once
// The choice of one of the twelve level packs: six large pack buttons a page on two pages,
// each with its name and its score against its goal. A closed pack explains itself in an
// information panel; in junior mode a pack leads to its score sheet (the frames scene), in
// professional mode a panel starts the pack afresh or continues it straight in a level.
// Files: start_up.cpp builds the screen, update.cpp runs the slides and the clicks,
// drawing.cpp places and draws, information_panel.cpp and professional_panel.cpp hold the
// two panels, pack_progress.cpp reads and resets the pack's results.
#include <cstdint>

#include "game/picture_size.h"
#include "game/scenes/base_scene.h"

namespace QEL {
class QC_GUI_BUTTON5;
class QC_GUI_CONTAINER;
class QC_GUI_WLABEL;
class QC_SPRITE;
class QC_TEXTURE;
}  // namespace QEL

class SCENE_CARD_GAME_LEVELPACKS : public BASE_SCENE {
 public:
  static constexpr int32_t PACKS_PER_PAGE = 6;
  static constexpr int32_t PACKS_PER_ROW = 3;

  // Widget ids, unique within their container; a pack p has the button FIRST_PACK + p with
  // its name label FIRST_PACK_NAME + p and its score label FIRST_PACK_SCORE + p.
  enum WIDGET_ID : int32_t {
    BACK = 0,
    LEFT_ARROW = 1,
    RIGHT_ARROW = 2,
    FIRST_PACK = 3,
    FIRST_PACK_NAME = 15,
    FIRST_PACK_SCORE = 27,
    MODE_TITLE = 39,
    CONFIRM = 40,
    INFORMATION_TEXT = 41,
    INFORMATION_TITLE = 42,
    PROFESSIONAL_TITLE = 43,
    START = 44,  // the captions of START, CONTINUE and CANCEL carry their button's id
    CONTINUE = 45,
    CANCEL = 46,
  };
  enum class SLIDE : int32_t { IDLE = 0, IN = 1, OUT = 2, PAGING = 3 };
  enum class PANEL : int32_t { NONE = 0, SHOWN = 1, SLIDING_IN = 2, SLIDING_OUT = 3 };
  enum class PANEL_KIND : int32_t { NONE = 0, INFORMATION = 1, PROFESSIONAL = 2 };
  enum class NEXT_SCENE : int32_t { NONE = 0, MAIN_MENU = 1, FRAMES = 2, LEVEL = 3 };

  SCENE_CARD_GAME_LEVELPACKS();
  ~SCENE_CARD_GAME_LEVELPACKS() override;

  void fInit() override;
  void fUpdate() override;
  void fDraw() override;
  // The left button (a press on a closed pack) and the developer key 'O'.
  void fKeyDown(int32_t code) override;

  // Asks for the scene nextSceneType names (this scene's own numbers, NONE asks for nothing);
  // a level only when its pack and the level itself are open.
  void applyNextSceneType();
  // The pointer in a rectangle, bounds included: mode 0 (x, y) is its top-left corner,
  // mode 1 its centre.
  bool isMouseInRect(int32_t mode, float x, float y, float w, float h) const;

  // The pack's results (pack_progress.cpp).
  // Clears the pack's ten professional results of the current player and opens its first
  // level, whatever the current mode; the junior results and the other packs stay.
  void resetPack(int32_t pack);
  // The first open (not yet played) level of the pack in the current mode; the pack's first
  // level when every frame has been played.
  int32_t firstOpenLevelOfPack(int32_t pack) const;
  // The score the pack's button shows, also kept in packResult.
  int32_t getPackResult(int32_t pack);

  QEL::QC_TEXTURE* imageForButton = nullptr;  // the image of the widget being built
  QEL::QC_SPRITE* background = nullptr;
  QEL::QC_SPRITE* packHighlight = nullptr;  // pulses on the current pack while a panel is up
  QEL::QC_SPRITE* difficultyImage = nullptr;  // the plate under the mode title
  QEL::QC_GUI_CONTAINER* mainContainer = nullptr;  // back, arrows, the 12 packs
  QEL::QC_GUI_CONTAINER* titleContainer = nullptr;
  QEL::QC_GUI_CONTAINER* informationPanelContainer = nullptr;
  QEL::QC_GUI_CONTAINER* professionalPanelContainer = nullptr;
  QEL::QC_GUI_BUTTON5* backButton = nullptr;
  QEL::QC_GUI_BUTTON5* leftButton = nullptr;
  QEL::QC_GUI_BUTTON5* rightButton = nullptr;
  QEL::QC_GUI_BUTTON5* packButtons[12] = {};
  QEL::QC_SPRITE* informationPanelBackground = nullptr;
  QEL::QC_GUI_BUTTON5* informationConfirmButton = nullptr;
  QEL::QC_SPRITE* hintStrip = nullptr;  // behind the first visit's hint text
  QEL::QC_SPRITE* hintArrow = nullptr;
  QEL::QC_SPRITE* professionalPanelBackground = nullptr;
  QEL::QC_GUI_BUTTON5* startButton = nullptr;
  QEL::QC_GUI_BUTTON5* continueButton = nullptr;
  QEL::QC_GUI_BUTTON5* cancelButton = nullptr;
  QEL::QC_SPRITE* fadeShade = nullptr;  // dims the packs behind an open panel

  int32_t page = 0;  // 0 packs 1-6, 1 packs 7-12
  SLIDE slideState = SLIDE::IDLE;
  int32_t slideDistance = 500;  // of the slide in and out
  int32_t panelDistance = 750;  // of a panel's slide
  int32_t pageWidth = kPictureWidth;  // between the two pages
  PANEL panelState = PANEL::NONE;
  PANEL_KIND panelKind = PANEL_KIND::NONE;
  QEL::QC_GUI_WLABEL* informationTitleLabel = nullptr;
  QEL::QC_GUI_WLABEL* informationTextLabel = nullptr;
  QEL::QC_GUI_WLABEL* professionalTitleLabel = nullptr;
  // Resting places read back at the end of the start-up; the slides move from them.
  float arrowsY = 0.0f;
  float row0Y = 285.0f;
  float row1Y = 567.0f;
  float backY = 0.0f;
  float difficultyY = 0.0f;
  float column0X = 300.0f;
  float panelY = 0.0f;
  // What remains of each slide, falling to 0.
  float slideOffset = 500.0f;
  float pageOffset = 0.0f;
  float panelOffset = 750.0f;  // 750 with no panel: both panels rest above the view
  float timeStep = 0.0f;  // seconds of this update
  NEXT_SCENE nextSceneType = NEXT_SCENE::NONE;
  int32_t packResult = 0;
  float pulseAlpha = 100.0f;  // of the pack highlight, 100-200
  bool pulseFalling = false;
  float pulseSpeed = 50.0f;  // alpha units a second
  bool showPackHint = false;  // a new player's first visit: the hint strip and arrow

 private:
  // Start-up steps.
  void createScreen();
  void createModeTitle();
  void createPackButtons();
  void createInformationPanel();
  void createProfessionalPanel();
  void createOverlays();
  void readBackRestingPlaces();

  // Update steps.
  void updateMainScreen();
  void updateInformationPanel();
  void updateProfessionalPanel();
  void onPackClicked(int32_t pack);
  void startPaging();
  void endPaging();
  void startLeaving(NEXT_SCENE next);
  void openPanel(PANEL_KIND kind);
  void closePanel(NEXT_SCENE next);
  // A left press on a closed pack opens the information panel.
  void pressClosedPack();
  // Marks the first visit's hint as seen.
  void noteHintSeen();

  // Drawing steps.
  void placeSlidingWidgets(float d);
  void placePackButtons(float d);
  void placePanels();
  void drawPanelHighlight();
  void drawFirstVisitHint();
  void drawOpenPanel();
  // Where pack p stands now (paging included), before the slide.
  float packX(int32_t pack) const;
};
