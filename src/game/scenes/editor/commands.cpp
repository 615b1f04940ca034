// What the editor's buttons do, and the card commands behind the card panel: the value
// picker, typed properties, raising and lowering, the back shown on random cards.
#include <algorithm>
#include <cmath>

#include "game/game_globals.h"
#include "game/scenes/editor/editor_scene.h"
#include "gui/gui_textbox.h"

namespace {

// How far a card turned by `angle` reaches from its centre, sideways and up or down.
struct CARD_REACH {
  float x, y;
};
CARD_REACH reachOf(float angle, float width, float height) {
  const float across = std::fabs(std::cos(angle));
  const float along = std::fabs(std::sin(angle));
  return {(width * across + height * along) / 2, (width * along + height * across) / 2};
}

}  // namespace

void SCENE_CARD_GAME_EDITOR::onWidgetClicked(int32_t id) {
  switch (id) {
    case ADD_CARD_BUTTON: isAddingCard = true; break;
    case SAVE_LEVEL_BUTTON: saveLevel(); break;
    // Back to the file as it is on disk: this is the way to throw changes away.
    case LOAD_LEVEL_BUTTON: loadLevel(gCurrentLevel); break;
    case COPY_LEVEL_BUTTON: copyLevel(); break;
    case PASTE_LEVEL_BUTTON:
      // A pasted level replaces this one whether it was changed or not: always ask.
      pendingAction = PENDING_ACTION::PASTE_LEVEL;
      showUnsavedQuestion();
      break;
    case CLEAR_EDITOR_BUTTON: clearEditor(); break;
    case YES_BUTTON: answerUnsavedQuestion(ANSWER::YES); break;
    case NO_BUTTON: answerUnsavedQuestion(ANSWER::NO); break;
    case CANCEL_BUTTON: answerUnsavedQuestion(ANSWER::CANCEL); break;
    case CIRCLE_BUTTON:
    case SQUARE_BUTTON:
    case LINES_BUTTON: layOutShape(id); break;
    case PREVIEW_BUTTON: preview(); break;
    case PREVIOUS_BACK_BUTTON: stepCardBack(-1); break;
    case NEXT_BACK_BUTTON: stepCardBack(1); break;
    case SET_VALUE_BUTTON: openValuePicker(); break;
    case SET_PROPERTIES_BUTTON: setProperties(); break;
    case BRING_TO_FRONT_BUTTON: bringSelection(true); break;
    case BRING_TO_BACK_BUTTON: bringSelection(false); break;
    case SHOW_ALL_LAYERS_BUTTON: table.layerFilter = EDITOR_NO_LAYER_FILTER; break;
    case MORE_LINE_CARDS_BUTTON: addLineCard(); break;
    case FEWER_LINE_CARDS_BUTTON: removeLineCard(); break;
    case COPY_SELECTED_BUTTON: copySelectedCards(); break;
    case PASTE_SELECTED_BUTTON: pasteSelectedCards(); break;
    default: break;
  }
}

void SCENE_CARD_GAME_EDITOR::clearEditor() {
  table.clearEditor();
  showAllNormal();
  hideSidePanel();
  moveLineButtonsAway();
}

void SCENE_CARD_GAME_EDITOR::openValuePicker() {
  if (!EDITOR_CARD_TABLE::isValidSlot(table.currentCard)) return;
  editorMode = MODE::VALUE_PICKER;
  showNormal(table.currentCard);
}

void SCENE_CARD_GAME_EDITOR::setProperties() {
  if (!EDITOR_CARD_TABLE::isValidSlot(table.currentCard)) return;
  // A box left empty, or holding no number, leaves its property as it is.
  int32_t x = 0, y = 0, degrees = 0, layer = 0;
  const bool hasX = readWholeNumber(xBox != nullptr ? xBox->fGetText() : nullptr, x);
  const bool hasY = readWholeNumber(yBox != nullptr ? yBox->fGetText() : nullptr, y);
  const bool hasAngle = readWholeNumber(angleBox != nullptr ? angleBox->fGetText() : nullptr, degrees);
  const bool hasLayer = readWholeNumber(layerBox != nullptr ? layerBox->fGetText() : nullptr, layer);
  // Beyond the layers no card would be drawn or found under the pointer again.
  layer = std::clamp(layer, BOTTOM_LAYER, TOP_LAYER);
  const auto apply = [&](int32_t slot) {
    if (!EDITOR_CARD_TABLE::isValidSlot(slot)) return;
    EDITOR_CARD& card = table.cards[slot];
    if (hasAngle) card.angle = static_cast<float>(degrees) * DEGREES_TO_RADIANS;
    if (hasLayer) card.zLayer = layer;
    // The whole card, turned as it now lies, stays on the play area: a part beyond it would
    // lie off the screen or under the panels, and be saved there.
    const CARD_REACH reach = reachOf(card.angle, table.cardWidth, table.cardHeight);
    if (hasX) card.x = std::clamp(static_cast<float>(x), reach.x, EDITOR_PLAY_AREA_WIDTH - reach.x);
    if (hasY) card.y = std::clamp(static_cast<float>(y), reach.y, SCREEN_HEIGHT - reach.y);
  };
  apply(table.currentCard);
  for (int32_t i = 0; i < table.selectedCards.count(); ++i) apply(table.selectedCards.get(i));
  if (hasX || hasY || hasAngle || hasLayer) table.isModified = true;
  updatePropertiesPanel();
}

void SCENE_CARD_GAME_EDITOR::bringSelection(bool toFront) {
  if (!EDITOR_CARD_TABLE::isValidSlot(table.currentCard)) return;
  const auto move = [&](int32_t slot) {
    if (!EDITOR_CARD_TABLE::isValidSlot(slot)) return;
    const int32_t before = table.cards[slot].zLayer;
    if (toFront) {
      table.bringToFront(slot);
    } else {
      table.bringToBack(slot);
    }
    if (table.cards[slot].zLayer != before) table.isModified = true;
  };
  move(table.currentCard);
  for (int32_t i = 0; i < table.selectedCards.count(); ++i) move(table.selectedCards.get(i));
  updatePropertiesPanel();
}

void SCENE_CARD_GAME_EDITOR::stepCardBack(int32_t step) {
  currentBack = ((currentBack + step) % BACKS + BACKS) % BACKS;
}
