// The editor's picture: the layout layer by layer with each card's layer number and the
// widgets, or the value picker's 52 faces; then the status texts in either mode.
#include "engine/globals.h"
#include "game/game_globals.h"
#include "game/scenes/editor/editor_scene.h"
#include "gui/gui_container.h"
#include "primitives/font.h"
#include "primitives/sprite.h"

namespace {

constexpr int32_t SPECIAL_BACK = 3;  // random skittles always show back number 4
constexpr int32_t BATCH = 52;  // cards of one pack

struct TEXT_PLACE {
  int32_t x, y;
};
// The status texts, centred on these points.
constexpr TEXT_PLACE LEVEL_TEXT{100, 690};
constexpr TEXT_PLACE CARDS_TEXT{140, 580};
constexpr TEXT_PLACE BATCHES_TEXT{140, 605};
constexpr TEXT_PLACE SPECIAL_TEXT{120, 630};
constexpr TEXT_PLACE SELECTED_TEXT{120, 655};
constexpr TEXT_PLACE QUESTION_TEXT{480, 635};
constexpr TEXT_PLACE LAYER_TEXT{1125, 749};
constexpr TEXT_PLACE ADDING_TEXT{512, 635};
constexpr TEXT_PLACE LINE_MODE_TEXT{880, 660};
constexpr TEXT_PLACE MESSAGE_TEXT{512, 560};
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

void SCENE_CARD_GAME_EDITOR::drawStatusTexts() {
  if (statusFont == nullptr) return;
  QEL::QC_FONT& font = *statusFont;
  const int32_t cards = table.countCardsInUse();
  const int32_t selected = (table.currentCard >= 0 ? 1 : 0) + table.selectedCards.count();
  font.fPrint(LEVEL_TEXT.x, LEVEL_TEXT.y, "Level: %i/%i", gCurrentLevel + 1, LAST_LEVEL + 1);
  font.fPrint(CARDS_TEXT.x, CARDS_TEXT.y, "Cards from play area: %i", cards);
  font.fPrint(BATCHES_TEXT.x, BATCHES_TEXT.y, "Batches from play area: %i", cards / BATCH);
  font.fPrint(SPECIAL_TEXT.x, SPECIAL_TEXT.y, "Special cards: %i", table.countOfSpecialCards);
  font.fPrint(SELECTED_TEXT.x, SELECTED_TEXT.y, "Selected cards: %i", selected);
  if (isQuestionShown) {
    font.fPrint(QUESTION_TEXT.x, QUESTION_TEXT.y, "You have unsaved data. Do you want to save it?");
  }
  if (editorMode == MODE::LAYOUT && table.layerFilter != EDITOR_NO_LAYER_FILTER) {
    font.fPrint(LAYER_TEXT.x, LAYER_TEXT.y, "Current layer: %i", table.layerFilter);
  }
  if (editorMode == MODE::LAYOUT && isAddingCard) {
    font.fPrint(ADDING_TEXT.x, ADDING_TEXT.y, "Choose place on screen to add new card...");
  }
  if (isLineMode) font.fPrint(LINE_MODE_TEXT.x, LINE_MODE_TEXT.y, "LINE OF CARDS MODE ON");
  if (!message.empty()) font.fPrint(MESSAGE_TEXT.x, MESSAGE_TEXT.y, "%s", message.c_str());
}
