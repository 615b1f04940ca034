#pragma once
// The level editor: the developer's scene for laying out levels, reached from a level with
// Space when debug_test.txt lies beside Resources. It works on a 1280 x 768 screen: the
// 1024-pixel play area on the left and a strip of panels on the right. The cards, the
// selection, the card line and all their geometry are the level geometry library's
// (level_geometry/editor_cards.h, level_geometry/level_file.h), which the level generator
// shares; this scene adds the screen, the input, the files and the way back to the level.
//
// One file per concern: start_up.cpp (screen, images, widgets), drawing.cpp, hover.cpp,
// update.cpp (each frame: drags, turns, fans, buttons), commands.cpp (what the buttons do),
// clicks.cpp (the left button on the layout), keys.cpp, side_panel.cpp (card and level
// panels, the number boxes), shapes.cpp (the card line and the shape buttons),
// file_commands.cpp (levels on disk, level stepping, test play), clipboard.cpp (copied
// cards) and unsaved_question.cpp.
#include <cstdint>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "game/picture_size.h"
#include "game/scenes/base_scene.h"
#include "level_geometry/editor_cards.h"
#include "level_geometry/level_file.h"
#include "platform/key_codes.h"

namespace QEL {
class QC_FONT;
class QC_GUI_BUTTON5;
class QC_GUI_CONTAINER;
class QC_GUI_OBJECT;
class QC_GUI_TEXTBOX;
class QC_GUI_WLABEL;
class QC_SPRITE;
class QC_TEXTURE;
}  // namespace QEL

class SCENE_CARD_GAME_EDITOR : public BASE_SCENE {
 public:
  static constexpr int32_t MAX_CARDS = EDITOR_CARD_SLOTS;
  static constexpr int32_t TOP_LAYER = EDITOR_TOP_LAYER;
  static constexpr int32_t BOTTOM_LAYER = EDITOR_BOTTOM_LAYER;
  static constexpr int32_t SCREEN_WIDTH = 1280;
  static constexpr int32_t SCREEN_HEIGHT = kPictureHeight;  // the game's picture beside the panels
  static constexpr int32_t MAX_SPECIAL_CARDS = 10;  // the skittles of a frame
  static constexpr int32_t VALUES = 52;
  static constexpr int32_t BACKS = 12;
  static constexpr uint32_t NORMAL_CARD_COLOR = 0xC8FFFFFFu;  // see-through: what lies under shows
  static constexpr uint32_t HIGHLIGHT_CARD_COLOR = 0xFFFFFFFFu;

  // Widget ids within the editor's one container; a button's caption is id + CAPTION_OFFSET.
  enum WIDGET : int32_t {
    X_BOX = 0,
    Y_BOX = 1,
    ANGLE_BOX = 2,
    LAYER_BOX = 3,
    TURNOVERS_BOX = 4,
    STOCK_PILE_BOX = 5,
    RESERVE_PILES_BOX = 6,
    BONUS_CARDS_BOX = 7,
    ADD_CARD_BUTTON = 8,
    SAVE_LEVEL_BUTTON = 9,
    LOAD_LEVEL_BUTTON = 10,
    COPY_LEVEL_BUTTON = 11,
    PASTE_LEVEL_BUTTON = 12,
    CLEAR_EDITOR_BUTTON = 13,
    YES_BUTTON = 14,
    NO_BUTTON = 15,
    CANCEL_BUTTON = 16,
    CIRCLE_BUTTON = 17,
    SQUARE_BUTTON = 18,
    LINES_BUTTON = 19,
    PREVIEW_BUTTON = 20,
    PREVIOUS_BACK_BUTTON = 21,
    NEXT_BACK_BUTTON = 22,
    SET_VALUE_BUTTON = 23,
    SET_PROPERTIES_BUTTON = 24,
    BRING_TO_FRONT_BUTTON = 25,
    BRING_TO_BACK_BUTTON = 26,
    SHOW_ALL_LAYERS_BUTTON = 27,
    MORE_LINE_CARDS_BUTTON = 28,
    FEWER_LINE_CARDS_BUTTON = 29,
    COPY_SELECTED_BUTTON = 30,
    PASTE_SELECTED_BUTTON = 31,
    BOX_LABEL = 32,
    CAPTION_OFFSET = 25,
  };

  // The keys the editor answers.
  using enum platform::KEY;

  enum class MODE : int32_t { LAYOUT = 0, VALUE_PICKER = 1 };
  // What waits for the answer to the unsaved-changes question.
  enum class PENDING_ACTION { NONE, PREVIOUS_LEVEL, NEXT_LEVEL, PASTE_LEVEL };
  enum class ANSWER : int32_t { YES = 0, NO = 1, CANCEL = 2 };

  SCENE_CARD_GAME_EDITOR();
  ~SCENE_CARD_GAME_EDITOR() override;

  void fUpdate() override;
  void fDraw() override;
  void fInit() override;
  void fMouseMove() override;
  void fKeyDown(int32_t code) override;
  void fKeyUp(int32_t code) override;

  // Start-up (start_up.cpp).
  void createFonts();
  void createButtons();
  void createTextBoxes();
  void createLabels();
  void createCardImages();
  // The card size every pointer test, bound and layout uses: face 0's picture.
  void measureCards();

  // Drawing (drawing.cpp).
  void drawLayout();
  void drawCard(int32_t slot);
  void drawValuePicker();
  void drawStatusTexts();

  // The pointer and the card colours (hover.cpp).
  float pointerX() const;
  float pointerY() const;
  // The topmost card in use under the pointer, -1 none; every layer, filtered or not.
  int32_t findCardUnderPointer() const;
  void showNormal(int32_t slot);
  void showHighlighted(int32_t slot);
  void showAllNormal();

  // Each frame (update.cpp).
  void runFrameClock();
  void dragCurrentCard();
  void turnCurrentCard(float timeStep);
  void fanCardLineByKeys(float timeStep);
  void dragCardLineEnd();
  // The value picker's face under the pointer, -1 none.
  int32_t faceUnderPointer() const;
  void highlightPickerFace();
  // The message line, for so many seconds or, with MESSAGE_STAYS, until another replaces it.
  static constexpr float MESSAGE_STAYS = -1.0f;
  static constexpr float MESSAGE_SECONDS = 5.0f;
  void showMessage(const std::string& text, float seconds);

  // The buttons (commands.cpp).
  void onWidgetClicked(int32_t id);
  // Every card off the table, no current card, no selection, no line, every layer shown.
  void clearEditor();
  void openValuePicker();
  void setProperties();
  void bringSelection(bool toFront);
  void stepCardBack(int32_t step);

  // The left button on the layout (clicks.cpp).
  void onLeftButtonDown();
  bool isPointerOnStripButton() const;
  void pickCard(int32_t hovered);
  // The slot becomes the current card, lit, grabbed where the pointer is, with its panel;
  // -1 leaves no current card and the level panel.
  void makeCurrent(int32_t slot);
  void pickValue();
  // A new card at (x, y) that becomes the current card: -1 outside the play area or when
  // the level is full (then a message says so).
  int32_t addNewCard(float x, float y, bool special);
  void dropCurrentCard();
  void dropSelection();

  // Keys (keys.cpp).
  void moveWithKeys(float timeStep);
  void startKeyMove();
  void commitKeyMove();
  bool isMoveKeyHeld() const;
  bool isTypingInBox() const;
  void changeLayers(int32_t step);
  // The arrows: the current card dropped and the level left, asking first when it changed.
  void stepToLevel(PENDING_ACTION action);
  void selectAllOnLayer();
  void changeLayerFilter(int32_t step);
  void removeCurrentCards();
  // The cards W, A, S and D move: the current and the selected ones, or, with no current
  // card, every card on the layer filter.
  std::vector<int32_t> movedCards() const;
  // The cards in use on the layer filter (all of them when no layer is chosen).
  std::vector<int32_t> cardsOnLayerFilter() const;

  // The right strip's panels (side_panel.cpp).
  void showSidePanel();
  void hideSidePanel();
  void updatePropertiesPanel();
  // The four level numbers into their boxes.
  void showLevelNumbers();
  // Reads the four level boxes into the level numbers, rewriting any box whose text is
  // not what will be saved; a changed number marks the level changed.
  void acceptLevelBoxes();
  // A level box the user has just left is accepted at once.
  void watchLevelBoxFocus();

  // The card line and the shape buttons (shapes.cpp).
  void startCardLine(float x, float y);
  void addLineCard();
  void removeLineCard();
  void finishCardLine();
  void moveLineButtonsAway();
  void layOutShape(int32_t button);

  // Files and levels (file_commands.cpp).
  void loadLevel(int32_t index);
  // A level file that exists but could not be read: a copy is kept beside it and the screen
  // says so; the empty level shown instead never replaces it unchanged.
  void keepUnreadLevelFile(int32_t index);
  // False when the file could not be written, or is one that could not be read and the level
  // is unchanged since; the level then stays marked changed and the screen says why.
  bool saveLevel();
  void copyLevel();
  void pasteLevel();
  void preview();
  void nextLevel();
  void previousLevel();
  // levelDocument <-> the cards and the four numbers.
  void readLevel();
  void writeLevel();
  // Space: saves and plays the level in a new level scene; a failed save stays here.
  void testPlayLevel();
  // The screen the rest of the game runs on, with the player's own full-screen choice.
  void restoreGameScreen();
  static bool playsFullScreen();

  // The copied cards (clipboard.cpp).
  void copySelectedCards();
  void pasteSelectedCards();

  // The unsaved-changes question (unsaved_question.cpp).
  void askBeforeLeaving(PENDING_ACTION action);
  void showUnsavedQuestion();
  void hideUnsavedQuestion();
  void answerUnsavedQuestion(ANSWER answer);

  // The model: 300 card slots (slot = the card's id in the level file), the current card,
  // the selection, the card line, the layer filter, the skittle count and the changed flag.
  EDITOR_CARD_TABLE table;
  uint32_t cardColors[MAX_CARDS];
  // Where each card stood when the first of W, A, S, D went down.
  float moveStartX[MAX_CARDS] = {};
  float moveStartY[MAX_CARDS] = {};

  int32_t numberOfTurnovers = 0;
  int32_t numberOfCardsInStockPile = 0;
  int32_t numberOfReservePiles = 0;
  int32_t numberOfBonusCards = 0;

  pugi::xml_document levelDocument;
  pugi::xml_document copiedLevelDocument;
  pugi::xml_document copiedSelectionDocument;
  PENDING_ACTION pendingAction = PENDING_ACTION::NONE;
  bool isLevelFileUnread = false;  // the current level's file exists but could not be read

  MODE editorMode = MODE::LAYOUT;
  int32_t hoveredCard = -1;
  int32_t currentBack = 1;  // the back shown on random cards, 0-11
  bool isQuestionShown = false;
  bool isCardPanelShown = false;
  bool isAddingCard = false;
  bool isLineMode = false;
  int32_t lineBaseLayer = 0;

  bool isLeftButtonHeld = false;
  bool isRightButtonHeld = false;
  bool isShiftHeld = false;
  bool isMoveUpHeld = false;
  bool isMoveDownHeld = false;
  bool isMoveLeftHeld = false;
  bool isMoveRightHeld = false;
  bool isFanLeftHeld = false;
  bool isFanRightHeld = false;
  bool isTenStepKeyHeld = false;
  float grabOffsetX = 0.0f, grabOffsetY = 0.0f;  // card position minus pointer
  float moveOffsetX = 0.0f, moveOffsetY = 0.0f;  // moved by keys since the first key went down
  bool isKeyMoveRunning = false;
  // The turn of a card follows how far the pointer went since the last reference, which is
  // taken again every third of a second.
  int32_t frameCounter = 0;
  float rotationReferenceX = 0.0f;

  std::string message;  // the message line: a failed save, a refused card
  float messageSeconds = 0.0f;
  bool wasLevelBoxFocused[4] = {};

  // Screen objects (owned; the widgets through the container's tree).
  QEL::QC_TEXTURE* widgetTexture = nullptr;
  QEL::QC_SPRITE* backSprites[BACKS] = {};
  QEL::QC_SPRITE* faceSprites[VALUES] = {};
  QEL::QC_SPRITE* specialFaceSprites[VALUES] = {};
  QEL::QC_SPRITE* background = nullptr;
  QEL::QC_GUI_CONTAINER* gui = nullptr;
  QEL::QC_FONT* labelFont = nullptr;  // owned: the editor's own copy of size 18, variant 1
  QEL::QC_FONT* statusFont = nullptr;  // this one and the text boxes' belong to the font table
  QEL::QC_FONT* textBoxFont = nullptr;
  QEL::QC_GUI_BUTTON5* yesButton = nullptr;
  QEL::QC_GUI_BUTTON5* noButton = nullptr;
  QEL::QC_GUI_BUTTON5* cancelButton = nullptr;
  QEL::QC_GUI_BUTTON5* setValueButton = nullptr;
  QEL::QC_GUI_BUTTON5* setPropertiesButton = nullptr;
  QEL::QC_GUI_BUTTON5* bringToFrontButton = nullptr;
  QEL::QC_GUI_BUTTON5* bringToBackButton = nullptr;
  QEL::QC_GUI_BUTTON5* showAllLayersButton = nullptr;
  QEL::QC_GUI_BUTTON5* moreLineCardsButton = nullptr;
  QEL::QC_GUI_BUTTON5* fewerLineCardsButton = nullptr;
  QEL::QC_GUI_BUTTON5* copySelectedButton = nullptr;
  QEL::QC_GUI_BUTTON5* pasteSelectedButton = nullptr;
  QEL::QC_GUI_TEXTBOX* xBox = nullptr;
  QEL::QC_GUI_TEXTBOX* yBox = nullptr;
  QEL::QC_GUI_TEXTBOX* angleBox = nullptr;
  QEL::QC_GUI_TEXTBOX* layerBox = nullptr;
  QEL::QC_GUI_TEXTBOX* turnoversBox = nullptr;
  QEL::QC_GUI_TEXTBOX* stockPileBox = nullptr;
  QEL::QC_GUI_TEXTBOX* reservePilesBox = nullptr;
  QEL::QC_GUI_TEXTBOX* bonusCardsBox = nullptr;
  QEL::QC_GUI_WLABEL* xLabel = nullptr;
  QEL::QC_GUI_WLABEL* yLabel = nullptr;
  QEL::QC_GUI_WLABEL* angleLabel = nullptr;
  QEL::QC_GUI_WLABEL* layerLabel = nullptr;
  QEL::QC_GUI_WLABEL* bonusCardsLabel = nullptr;
  QEL::QC_GUI_WLABEL* turnoversLabel = nullptr;
  QEL::QC_GUI_WLABEL* stockPileLabel = nullptr;
  QEL::QC_GUI_WLABEL* reservePilesLabel = nullptr;
};
