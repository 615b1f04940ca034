// The left button on the layout: a line of cards begins, a card is added where the user
// chose, a value is picked from the faces, or cards are picked: the current card, the cards
// selected with it, and the grab that lets the update drag the current card.
#include <string>

#include "engine/transform.h"
#include "game/scenes/editor/editor_scene.h"
#include "gui/gui_button5.h"
#include "level_geometry/card_geometry.h"

namespace {

constexpr float BUTTON_STRIP_TOP = 670.0f;  // below it the bottom row of buttons takes clicks
// The click area kept free for the "+", "-" and "Show all layers" buttons.
constexpr float STRIP_BUTTON_WIDTH = 160.0f;
constexpr float STRIP_BUTTON_HEIGHT = 40.0f;

bool isOnButton(const QEL::QC_GUI_BUTTON5* button, float x, float y) {
  if (button == nullptr) return false;
  const QEL::QS_VECTOR2 place = button->fGetTransform()->fGetPosition();
  return isPointInRect(x, y, place.x, place.y, STRIP_BUTTON_WIDTH, STRIP_BUTTON_HEIGHT);
}

}  // namespace

bool SCENE_CARD_GAME_EDITOR::isPointerOnStripButton() const {
  const float x = pointerX();
  const float y = pointerY();
  return isOnButton(moreLineCardsButton, x, y) || isOnButton(fewerLineCardsButton, x, y) ||
         isOnButton(showAllLayersButton, x, y);
}

void SCENE_CARD_GAME_EDITOR::onLeftButtonDown() {
  const float x = pointerX();
  const float y = pointerY();
  // Those clicks belong to the widgets.
  if (isPointerOnStripButton() || y > BUTTON_STRIP_TOP) return;
  // Cards may have moved under a pointer that stood still.
  fMouseMove();
  table.cardLine.clear();
  moveLineButtonsAway();
  if (editorMode == MODE::VALUE_PICKER) {
    // Not a grab: the card stays where it lies while the button is down.
    pickValue();
    return;
  }
  isLeftButtonHeld = true;
  if (isLineMode) {
    startCardLine(x, y);
    return;
  }
  const bool currentExists = EDITOR_CARD_TABLE::isValidSlot(table.currentCard);
  if (currentExists && x >= EDITOR_PLAY_AREA_WIDTH - table.cardWidth / 2) return;
  if (isAddingCard) {
    addNewCard(x, y, false);
    isAddingCard = false;
    return;
  }
  pickCard(hoveredCard);
}

void SCENE_CARD_GAME_EDITOR::pickValue() {
  const int32_t value = faceUnderPointer();
  if (value < 0 || !EDITOR_CARD_TABLE::isValidSlot(table.currentCard)) return;
  editorMode = MODE::LAYOUT;
  table.cards[table.currentCard].value = value;
  table.isModified = true;
}

void SCENE_CARD_GAME_EDITOR::makeCurrent(int32_t slot) {
  table.currentCard = slot;
  if (!EDITOR_CARD_TABLE::isValidSlot(slot)) {
    hideSidePanel();
    return;
  }
  showHighlighted(slot);
  grabOffsetX = table.cards[slot].x - pointerX();
  grabOffsetY = table.cards[slot].y - pointerY();
  showSidePanel();
}

void SCENE_CARD_GAME_EDITOR::pickCard(int32_t hovered) {
  const int32_t current = table.currentCard;
  SELECTED_CARDS& selection = table.selectedCards;
  if (hovered == -1) {
    if (current == -1) return;
    dropCurrentCard();
    dropSelection();
    return;
  }
  if (current == -1) {
    makeCurrent(hovered);
    return;
  }
  const bool selected = selection.contains(hovered);
  if (hovered == current) {
    if (!isShiftHeld) {
      makeCurrent(hovered);  // about to be dragged
      return;
    }
    // Shift on the current card lets it go; the last card selected takes its place.
    showNormal(hovered);
    const int32_t last = selection.hasCards() ? selection.get(selection.count() - 1) : -1;
    selection.remove(last);
    makeCurrent(last);
    return;
  }
  if (selected) {
    if (isShiftHeld) {
      showNormal(hovered);
      selection.remove(hovered);
      updatePropertiesPanel();
      return;
    }
    selection.add(current);
    selection.remove(hovered);
    makeCurrent(hovered);
    return;
  }
  if (isShiftHeld) {
    selection.add(current);
  } else {
    showNormal(current);
    dropSelection();
  }
  makeCurrent(hovered);
}

void SCENE_CARD_GAME_EDITOR::dropCurrentCard() {
  showNormal(table.currentCard);
  table.currentCard = -1;
  hideSidePanel();
}

void SCENE_CARD_GAME_EDITOR::dropSelection() {
  for (int32_t i = 0; i < table.selectedCards.count(); ++i) showNormal(table.selectedCards.get(i));
  table.selectedCards.clear();
}

int32_t SCENE_CARD_GAME_EDITOR::addNewCard(float x, float y, bool special) {
  const int32_t layer = table.layerFilter != EDITOR_NO_LAYER_FILTER ? table.layerFilter : 0;
  const bool full = table.isFull();
  const int32_t slot = table.addCard(x, y, static_cast<float>(layer));
  if (slot < 0) {
    if (full) {
      showMessage("The level holds " + std::to_string(MAX_CARDS) + " cards at most: no card was added",
                  MESSAGE_SECONDS);
    }
    return -1;
  }
  EDITOR_CARD& card = table.cards[slot];
  card.isSpecial = special;
  if (special) ++table.countOfSpecialCards;
  showNormal(table.currentCard);
  showNormal(slot);
  table.bringToFront(slot);
  makeCurrent(slot);
  table.isModified = true;
  return slot;
}
