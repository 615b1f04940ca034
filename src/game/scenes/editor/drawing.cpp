// The editor's picture: the layout layer by layer with each card's layer number and the
// widgets, or the value picker's 52 faces; then the status texts in either mode.
#include "engine/globals.h"
#include "game/game_globals.h"
#include "game/scenes/editor/editor_scene.h"
#include "game/scenes/scene_widgets.h"
#include "gui/gui_container.h"
#include "primitives/font.h"
#include "primitives/sprite.h"

namespace {

constexpr int32_t SPECIAL_BACK = 3;  // random skittles always show back number 4
constexpr int32_t BATCH = 52;  // cards of one pack

// The status texts, centred on these points. The status block stands in the bottom-left
// corner; the message line keeps a line's room above it, and the add-card prompt above the
// question, which may be asked while the prompt waits. The layer shown stands at the top of
// the strip, above both panels.
constexpr SCREEN_PLACE LEVEL_TEXT{100, 690};
constexpr SCREEN_PLACE CARDS_TEXT{140, 580};
constexpr SCREEN_PLACE BATCHES_TEXT{140, 605};
constexpr SCREEN_PLACE SPECIAL_TEXT{120, 630};
constexpr SCREEN_PLACE SELECTED_TEXT{120, 655};
constexpr SCREEN_PLACE QUESTION_TEXT{480, 635};
constexpr SCREEN_PLACE LAYER_TEXT{1124, 20};
constexpr SCREEN_PLACE ADDING_TEXT{560, 605};
constexpr SCREEN_PLACE LINE_MODE_TEXT{880, 660};
constexpr SCREEN_PLACE MESSAGE_TEXT{512, 540};
// The layer number sits in a card's top-left corner.
constexpr float LAYER_NUMBER_X = 40.0f;
constexpr float LAYER_NUMBER_Y = 15.0f;

}  // namespace

void SCENE_CARD_GAME_EDITOR::fDraw() {
  if (editorMode == MODE::VALUE_PICKER) {
    drawValuePicker();
  } else {
    drawLayout();
  }
  drawStatusTexts();
}

void SCENE_CARD_GAME_EDITOR::drawLayout() {
  if (background != nullptr) background->fDraw();
  // From the lowest layer up and, within a layer, in slot order: later cards cover earlier
  // ones and their layer numbers.
  for (int32_t z = BOTTOM_LAYER; z <= TOP_LAYER; ++z) {
    if (table.layerFilter != EDITOR_NO_LAYER_FILTER && z != table.layerFilter) continue;
    for (int32_t slot = 0; slot < MAX_CARDS; ++slot) {
      const EDITOR_CARD& card = table.cards[slot];
      if (card.inUse && card.zLayer == z) drawCard(slot);
    }
  }
  if (gui != nullptr) gui->fDraw();
}

void SCENE_CARD_GAME_EDITOR::drawCard(int32_t slot) {
  const EDITOR_CARD& card = table.cards[slot];
  QEL::QC_SPRITE* sprite = nullptr;
  if (card.value == -1) {
    sprite = backSprites[card.isSpecial ? SPECIAL_BACK : currentBack];
  } else if (card.value >= 0 && card.value < VALUES) {
    sprite = card.isSpecial ? specialFaceSprites[card.value] : faceSprites[card.value];
  }
  if (sprite != nullptr) {
    sprite->fSetPosition(card.x, card.y, 0.0f);
    sprite->fSetRotationZ(card.angle);
    sprite->fSetColor(cardColors[slot]);
    sprite->fDraw();
  }
  if (labelFont != nullptr) {
    labelFont->fPrint(static_cast<int32_t>(card.x + LAYER_NUMBER_X - table.cardWidth / 2),
                      static_cast<int32_t>(card.y - table.cardHeight / 2 + LAYER_NUMBER_Y), "Z: %i",
                      card.zLayer);
  }
}

void SCENE_CARD_GAME_EDITOR::drawValuePicker() {
  const bool special = EDITOR_CARD_TABLE::isValidSlot(table.currentCard) && table.cards[table.currentCard].isSpecial;
  for (int32_t value = 0; value < VALUES; ++value) {
    QEL::QC_SPRITE* sprite = special ? specialFaceSprites[value] : faceSprites[value];
    if (sprite == nullptr) continue;
    const float w = static_cast<float>(sprite->_width);
    const float h = static_cast<float>(sprite->_height);
    sprite->fSetPosition(w * static_cast<float>(value % 13) + w / 2, h * static_cast<float>(value / 13) + h / 2, 0.0f);
    sprite->fSetRotationZ(0.0f);
    sprite->fDraw();
  }
}

namespace {

int32_t xOf(SCREEN_PLACE place) { return static_cast<int32_t>(place.x); }
int32_t yOf(SCREEN_PLACE place) { return static_cast<int32_t>(place.y); }

}  // namespace

void SCENE_CARD_GAME_EDITOR::drawStatusTexts() {
  if (statusFont == nullptr) return;
  QEL::QC_FONT& font = *statusFont;
  const int32_t cards = table.countCardsInUse();
  const int32_t selected = (table.currentCard >= 0 ? 1 : 0) + table.selectedCards.count();
  font.fPrint(xOf(LEVEL_TEXT), yOf(LEVEL_TEXT), "Level: %i/%i", gCurrentLevel + 1, LEVEL_LAST_FILE_INDEX + 1);
  font.fPrint(xOf(CARDS_TEXT), yOf(CARDS_TEXT), "Cards from play area: %i", cards);
  font.fPrint(xOf(BATCHES_TEXT), yOf(BATCHES_TEXT), "Batches from play area: %i", cards / BATCH);
  font.fPrint(xOf(SPECIAL_TEXT), yOf(SPECIAL_TEXT), "Special cards: %i", table.countOfSpecialCards);
  font.fPrint(xOf(SELECTED_TEXT), yOf(SELECTED_TEXT), "Selected cards: %i", selected);
  if (isQuestionShown) {
    font.fPrint(xOf(QUESTION_TEXT), yOf(QUESTION_TEXT), "You have unsaved data. Do you want to save it?");
  }
  if (editorMode == MODE::LAYOUT && table.layerFilter != EDITOR_NO_LAYER_FILTER) {
    font.fPrint(xOf(LAYER_TEXT), yOf(LAYER_TEXT), "Current layer: %i", table.layerFilter);
  }
  if (editorMode == MODE::LAYOUT && isAddingCard) {
    font.fPrint(xOf(ADDING_TEXT), yOf(ADDING_TEXT), "Choose place on screen to add new card...");
  }
  if (isLineMode) font.fPrint(xOf(LINE_MODE_TEXT), yOf(LINE_MODE_TEXT), "LINE OF CARDS MODE ON");
  if (!message.empty()) font.fPrint(xOf(MESSAGE_TEXT), yOf(MESSAGE_TEXT), "%s", message.c_str());
}
