// The editor's start-up and its end: the 1280 x 768 screen, the editor's packs, the fonts,
// the buttons, text boxes and labels, the card pictures and the level it opens on; the
// destructor releases what the start-up made.
#include <cstdlib>
#include <ctime>
#include <string>

#include "engine/game.h"
#include "engine/globals.h"
#include "engine/render.h"
#include "game/fonts_sounds.h"
#include "game/game_entry.h"
#include "game/game_globals.h"
#include "game/scenes/editor/editor_scene.h"
#include "game/scenes/scene_widgets.h"
#include "gui/gui_button5.h"
#include "gui/gui_container.h"
#include "gui/gui_textbox.h"
#include "gui/gui_wlabel.h"
#include "primitives/font.h"
#include "primitives/sprite.h"

namespace {

using EDITOR = SCENE_CARD_GAME_EDITOR;

constexpr uint32_t EDITOR_CLEAR_COLOR = 0xFF444444u;  // dark grey behind the panels
constexpr const char* BUTTON_IMAGE = "cards/editor editor_button.png";
constexpr const char* TEXTBOX_IMAGE = "cards/editor editor_textbox.png";
constexpr float OFF_SCREEN_X = 2000.0f;
constexpr float CAPTION_SCALE = 0.65f;
// The font's letters sit high in their cells: a caption stands this much below its button's
// centre to show in the button's middle.
constexpr float CAPTION_DROP = 8.0f;

// The buttons in id order. The side panels, the question and the card line place their
// own buttons (side_panel.cpp, unsaved_question.cpp, shapes.cpp); they start off the screen.
struct BUTTON_ROW {
  int32_t id;
  const wchar_t* caption;
  float x, y;
};
constexpr BUTTON_ROW BUTTONS[] = {
    {EDITOR::ADD_CARD_BUTTON, L"Add new card", 100, 740},
    {EDITOR::SAVE_LEVEL_BUTTON, L"Save level", 460, 740},
    {EDITOR::LOAD_LEVEL_BUTTON, L"Load level", 620, 740},
    {EDITOR::COPY_LEVEL_BUTTON, L"Copy level", 780, 740},
    {EDITOR::PASTE_LEVEL_BUTTON, L"Paste level", 940, 740},
    {EDITOR::CLEAR_EDITOR_BUTTON, L"Clear editor", 300, 740},
    {EDITOR::YES_BUTTON, L"YES", OFF_SCREEN_X, 675},
    {EDITOR::NO_BUTTON, L"NO", OFF_SCREEN_X, 675},
    {EDITOR::CANCEL_BUTTON, L"CANCEL", OFF_SCREEN_X, 675},
    {EDITOR::CIRCLE_BUTTON, L"Circle of cards", 100, 25},
    {EDITOR::SQUARE_BUTTON, L"Square of cards", 260, 25},
    {EDITOR::LINES_BUTTON, L"Lines of cards", 420, 25},
    // Preview and the card backs have no place on the screen; nothing brings them on.
    {EDITOR::PREVIEW_BUTTON, L"Preview", 1940, 690},
    {EDITOR::PREVIOUS_BACK_BUTTON, L"previous back", 1940, 610},
    {EDITOR::NEXT_BACK_BUTTON, L"next back", 1940, 650},
    {EDITOR::SET_VALUE_BUTTON, L"Set card value", OFF_SCREEN_X, 50},
    {EDITOR::SET_PROPERTIES_BUTTON, L"Set properties", OFF_SCREEN_X, 550},
    {EDITOR::BRING_TO_FRONT_BUTTON, L"Bring to front", OFF_SCREEN_X, 650},
    {EDITOR::BRING_TO_BACK_BUTTON, L"Bring to back", OFF_SCREEN_X, 700},
    {EDITOR::SHOW_ALL_LAYERS_BUTTON, L"Show all layers", 940, 25},
    {EDITOR::MORE_LINE_CARDS_BUTTON, L"+", OFF_SCREEN_X, 25},
    {EDITOR::FEWER_LINE_CARDS_BUTTON, L"-", OFF_SCREEN_X, 25},
    {EDITOR::COPY_SELECTED_BUTTON, L"Copy selected", 780, 700},
    {EDITOR::PASTE_SELECTED_BUTTON, L"Paste selected", 940, 700},
};

// Suit folders by value / 13.
constexpr const char* SUITS[4] = {"diamonds", "clubs", "spades", "hearts"};

// A face picture of value v (rank v % 13 + 2) from the given pack folder, anchored at its
// centre and placed in the value picker's grid of 13 columns by 4 rows.
QEL::QC_SPRITE* makeFaceSprite(const std::string& folder, int32_t value) {
  const std::string name = folder + SUITS[value / 13] + " " + std::to_string(value % 13 + 2) + ".png";
  QEL::QC_SPRITE* sprite = makeSceneSprite(name, 0.0f, 0.0f, 0);
  const float w = static_cast<float>(sprite->_width);
  const float h = static_cast<float>(sprite->_height);
  sprite->fSetPosition(w / 2 + w * static_cast<float>(value % 13), h / 2 + h * static_cast<float>(value / 13), 0.0f);
  return sprite;
}

}  // namespace

SCENE_CARD_GAME_EDITOR::SCENE_CARD_GAME_EDITOR() { showAllNormal(); }

SCENE_CARD_GAME_EDITOR::~SCENE_CARD_GAME_EDITOR() {
  deleteSceneContainer(gui);
  for (QEL::QC_SPRITE*& sprite : faceSprites) deleteOwned(sprite);
  for (QEL::QC_SPRITE*& sprite : specialFaceSprites) deleteOwned(sprite);
  for (QEL::QC_SPRITE*& sprite : backSprites) deleteOwned(sprite);
  deleteOwned(background);
  deleteOwned(labelFont);
}

void SCENE_CARD_GAME_EDITOR::fInit() {
  gSceneKind = scene_kind::EDITOR;
  if (QEL::qcRENDER != nullptr) QEL::qcRENDER->_clearColor = QEL::QS_COLOR(EDITOR_CLEAR_COLOR);
  if (QEL::qcGAME != nullptr) {
    QEL::qcGAME->fSetResolution(SCREEN_WIDTH, SCREEN_HEIGHT, playsFullScreen());
  }
  subscribeScenePacks({"", "cards", "interface/backgrounds", "cards/editor", "cards/editor/cards",
                       "cards/editor/cards/diamonds", "cards/editor/cards/clubs",
                       "cards/editor/cards/hearts", "cards/editor/cards/spades",
                       "cards/editor/cards/back", "cards/editor/special_cards",
                       "cards/editor/special_cards/diamonds", "cards/editor/special_cards/clubs",
                       "cards/editor/special_cards/hearts", "cards/editor/special_cards/spades",
                       "cards/editor/special_cards/back"});
  std::srand(static_cast<unsigned>(std::time(nullptr)));

  table = EDITOR_CARD_TABLE();
  showAllNormal();
  createFonts();
  delete gui;
  gui = new QEL::QC_GUI_CONTAINER();
  createButtons();
  createTextBoxes();
  createLabels();
  createCardImages();
  measureCards();
  hideSidePanel();
  hideUnsavedQuestion();
  moveLineButtonsAway();
  showLevelNumbers();
  removeStaleLevelTemporaries();
  loadLevel(gCurrentLevel);
}

void SCENE_CARD_GAME_EDITOR::createFonts() {
  // The captions, box labels and layer numbers take a font of their own: small enough that
  // the longest caption fits its 150-pixel button, while the menus keep the shared size 18.
  deleteOwned(labelFont);
  labelFont = copyFont(18, 1);
  if (labelFont != nullptr) {
    labelFont->_anchor = 0;
    if (labelFont->_sprite != nullptr) labelFont->_sprite->fSetScale(CAPTION_SCALE, CAPTION_SCALE, 1.0f);
  }
  // The font table is global: every later user of these fonts keeps the anchors set here.
  statusFont = findFont(20, 2);
  if (statusFont != nullptr) statusFont->_anchor = 0;
  textBoxFont = findFont(18, 0);
  if (textBoxFont != nullptr) textBoxFont->_anchor = 0;
}

void SCENE_CARD_GAME_EDITOR::createButtons() {
  widgetTexture = getImage(BUTTON_IMAGE);
  for (const BUTTON_ROW& row : BUTTONS) {
    QEL::QC_GUI_BUTTON5* button = addSceneButton(gui, row.id, BUTTON_IMAGE, row.x, row.y);
    createChildLabel(row.id + CAPTION_OFFSET, row.caption, 0.0f, CAPTION_DROP, button, labelFont, 0);
    switch (row.id) {
      case YES_BUTTON: yesButton = button; break;
      case NO_BUTTON: noButton = button; break;
      case CANCEL_BUTTON: cancelButton = button; break;
      case SET_VALUE_BUTTON: setValueButton = button; break;
      case SET_PROPERTIES_BUTTON: setPropertiesButton = button; break;
      case BRING_TO_FRONT_BUTTON: bringToFrontButton = button; break;
      case BRING_TO_BACK_BUTTON: bringToBackButton = button; break;
      case SHOW_ALL_LAYERS_BUTTON: showAllLayersButton = button; break;
      case MORE_LINE_CARDS_BUTTON: moreLineCardsButton = button; break;
      case FEWER_LINE_CARDS_BUTTON: fewerLineCardsButton = button; break;
      case COPY_SELECTED_BUTTON: copySelectedButton = button; break;
      case PASTE_SELECTED_BUTTON: pasteSelectedButton = button; break;
      default: break;
    }
  }
}

void SCENE_CARD_GAME_EDITOR::createTextBoxes() {
  widgetTexture = getImage(TEXTBOX_IMAGE);
  // Placed by the side panels.
  const auto makeBox = [this](int32_t id) {
    auto* box = new QEL::QC_GUI_TEXTBOX(id, textBoxFont, widgetTexture);
    gui->fAdd(box);
    return box;
  };
  xBox = makeBox(X_BOX);
  yBox = makeBox(Y_BOX);
  angleBox = makeBox(ANGLE_BOX);
  layerBox = makeBox(LAYER_BOX);
  bonusCardsBox = makeBox(BONUS_CARDS_BOX);
  turnoversBox = makeBox(TURNOVERS_BOX);
  stockPileBox = makeBox(STOCK_PILE_BOX);
  reservePilesBox = makeBox(RESERVE_PILES_BOX);
}

void SCENE_CARD_GAME_EDITOR::createLabels() {
  // Placed by the side panels.
  const auto makeLabel = [this](const wchar_t* text) {
    return createLabel(BOX_LABEL, text, 0.0f, 0.0f, gui, labelFont, 0);
  };
  xLabel = makeLabel(L"X:");
  yLabel = makeLabel(L"Y:");
  angleLabel = makeLabel(L"Angle:");
  layerLabel = makeLabel(L"Layer Z:");
  bonusCardsLabel = makeLabel(L"Number of bonus cards:");
  turnoversLabel = makeLabel(L"Number of turnovers:");
  stockPileLabel = makeLabel(L"Cards in stock pile:");
  reservePilesLabel = makeLabel(L"Reserve piles:");
}

void SCENE_CARD_GAME_EDITOR::createCardImages() {
  for (int32_t value = 0; value < VALUES; ++value) {
    delete faceSprites[value];
    faceSprites[value] = makeFaceSprite("cards/editor/cards/", value);
  }
  for (int32_t value = 0; value < VALUES; ++value) {
    delete specialFaceSprites[value];
    specialFaceSprites[value] = makeFaceSprite("cards/editor/special_cards/", value);
  }
  for (int32_t k = 1; k <= BACKS; ++k) {
    delete backSprites[k - 1];
    backSprites[k - 1] = makeSceneSprite("cards/editor/cards/back " + std::to_string(k) + ".png", 0.0f, 0.0f, 0);
  }
  delete background;
  background = makeSceneSprite("interface/backgrounds " + std::to_string(gCurrentPack + 1) + ".png", 0.0f, 0.0f, 1);
}

void SCENE_CARD_GAME_EDITOR::measureCards() {
  const QEL::QC_SPRITE* face = faceSprites[0];
  const float w = face != nullptr ? face->_vertices[1].x - face->_vertices[0].x : 0.0f;
  const float h = face != nullptr ? face->_vertices[2].y - face->_vertices[0].y : 0.0f;
  // Without the picture (no renderer, a missing file) the cards keep the game's card size.
  if (w > 0.0f && h > 0.0f) {
    table.cardWidth = w;
    table.cardHeight = h;
  }
}
