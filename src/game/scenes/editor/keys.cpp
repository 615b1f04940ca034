// The editor's keys: the mouse buttons' held flags, Space (test play), the arrows (level
// stepping), the number keys (new cards, the card line), W, A, S and D (moving cards), the
// layer keys, selecting a whole layer and removing cards.
#include <vector>

#include "game/scenes/editor/editor_scene.h"
#include "gui/gui_textbox.h"

namespace {

using KEY = platform::KEY;

constexpr float KEY_MOVE_PIXELS_PER_SECOND = 20.0f;

bool isMoveKey(int32_t code) {
  return code == KEY::KEY_A || code == KEY::KEY_D || code == KEY::KEY_S || code == KEY::KEY_W;
}

}  // namespace

void SCENE_CARD_GAME_EDITOR::fKeyDown(int32_t code) {
  // While a text box has the keyboard, keys type into it and command nothing.
  if (code != LEFT_BUTTON && code != RIGHT_BUTTON && code != SHIFT && isTypingInBox()) return;
  if (isMoveKey(code) && !isMoveKeyHeld()) startKeyMove();
  switch (code) {
    case LEFT_BUTTON: onLeftButtonDown(); break;
    case RIGHT_BUTTON: isRightButtonHeld = true; break;
    case SHIFT: isShiftHeld = true; break;
    case SPACE:
      // The question waits for its answer; a save now would answer it behind its back.
      if (isQuestionShown) break;
      testPlayLevel();
      break;
    case PAGE_UP: changeLayers(-1); break;
    case PAGE_DOWN: changeLayers(1); break;
    case LEFT_ARROW: stepToLevel(PENDING_ACTION::PREVIOUS_LEVEL); break;
    case RIGHT_ARROW: stepToLevel(PENDING_ACTION::NEXT_LEVEL); break;
    case KEY_1:
      addNewCard(pointerX(), pointerY(), false);
      isAddingCard = false;
      break;
    case KEY_2:
      if (table.countOfSpecialCards < MAX_SPECIAL_CARDS) {
        addNewCard(pointerX(), pointerY(), true);
        isAddingCard = false;
      }
      break;
    case KEY_3: isLineMode = true; break;
    case KEY_A: isMoveLeftHeld = true; break;
    case KEY_D: isMoveRightHeld = true; break;
    case KEY_S: isMoveDownHeld = true; break;
    case KEY_W: isMoveUpHeld = true; break;
    case KEY_T: isTenStepKeyHeld = true; break;
    case KEY_X: isFanRightHeld = true; break;
    case KEY_Z: isFanLeftHeld = true; break;
    case NUMPAD_STAR:
      if (!isMoveKeyHeld()) selectAllOnLayer();
      break;
    case EQUALS:
      if (!isMoveKeyHeld()) changeLayerFilter(1);
      break;
    case MINUS:
      if (!isMoveKeyHeld()) changeLayerFilter(-1);
      break;
    case GRAVE: removeCurrentCards(); break;
    default: break;
  }
}

void SCENE_CARD_GAME_EDITOR::fKeyUp(int32_t code) {
  switch (code) {
    case LEFT_BUTTON:
      isLeftButtonHeld = false;
      if (table.cardLine.state == CARD_LINE::BEING_DRAWN) finishCardLine();
      break;
    case RIGHT_BUTTON: isRightButtonHeld = false; break;
    case SHIFT: isShiftHeld = false; break;
    case KEY_T: isTenStepKeyHeld = false; break;
    case KEY_X: isFanRightHeld = false; break;
    case KEY_Z: isFanLeftHeld = false; break;
    case KEY_3:
      if (!isLeftButtonHeld) isLineMode = false;
      break;
    case KEY_A: isMoveLeftHeld = false; break;
    case KEY_D: isMoveRightHeld = false; break;
    case KEY_S: isMoveDownHeld = false; break;
    case KEY_W: isMoveUpHeld = false; break;
    default: break;
  }
  if (isMoveKey(code) && !isMoveKeyHeld()) commitKeyMove();
}

// The value picker belongs to the current card: while it is open, as for the layer keys, the
// arrows wait. Dropping the card under it would leave the picker open with nothing to set and
// the unsaved-changes question without its buttons.
void SCENE_CARD_GAME_EDITOR::stepToLevel(PENDING_ACTION action) {
  if (editorMode != MODE::LAYOUT) return;
  dropCurrentCard();
  askBeforeLeaving(action);
  table.layerFilter = EDITOR_NO_LAYER_FILTER;
}

bool SCENE_CARD_GAME_EDITOR::isMoveKeyHeld() const {
  return isMoveUpHeld || isMoveDownHeld || isMoveLeftHeld || isMoveRightHeld;
}

bool SCENE_CARD_GAME_EDITOR::isTypingInBox() const {
  for (const QEL::QC_GUI_TEXTBOX* box :
       {xBox, yBox, angleBox, layerBox, turnoversBox, stockPileBox, reservePilesBox, bonusCardsBox}) {
    if (box != nullptr && box->fHasFocus()) return true;
  }
  return false;
}

std::vector<int32_t> SCENE_CARD_GAME_EDITOR::cardsOnLayerFilter() const {
  std::vector<int32_t> slots;
  for (int32_t slot = 0; slot < MAX_CARDS; ++slot) {
    const EDITOR_CARD& card = table.cards[slot];
    if (card.inUse && (table.layerFilter == EDITOR_NO_LAYER_FILTER || card.zLayer == table.layerFilter)) {
      slots.push_back(slot);
    }
  }
  return slots;
}

std::vector<int32_t> SCENE_CARD_GAME_EDITOR::movedCards() const {
  if (!EDITOR_CARD_TABLE::isValidSlot(table.currentCard)) return cardsOnLayerFilter();
  std::vector<int32_t> slots{table.currentCard};
  for (int32_t i = 0; i < table.selectedCards.count(); ++i) {
    if (EDITOR_CARD_TABLE::isValidSlot(table.selectedCards.get(i))) slots.push_back(table.selectedCards.get(i));
  }
  return slots;
}

void SCENE_CARD_GAME_EDITOR::startKeyMove() {
  moveOffsetX = 0.0f;
  moveOffsetY = 0.0f;
  // Every card remembers where it stood, whichever of them the keys end up moving.
  for (int32_t slot = 0; slot < MAX_CARDS; ++slot) {
    moveStartX[slot] = table.cards[slot].x;
    moveStartY[slot] = table.cards[slot].y;
  }
  isKeyMoveRunning = true;
}

void SCENE_CARD_GAME_EDITOR::moveWithKeys(float timeStep) {
  if (!isMoveKeyHeld()) return;
  const float step = timeStep * KEY_MOVE_PIXELS_PER_SECOND;
  const bool held[4] = {isMoveUpHeld, isMoveRightHeld, isMoveDownHeld, isMoveLeftHeld};
  const float dx[4] = {0.0f, step, 0.0f, -step};
  const float dy[4] = {-step, 0.0f, step, 0.0f};
  const std::vector<int32_t> slots = movedCards();
  for (int k = 0; k < 4; ++k) {
    if (!held[k]) continue;
    for (const int32_t slot : slots) {
      table.cards[slot].x += dx[k];
      table.cards[slot].y += dy[k];
    }
    moveOffsetX += dx[k];
    moveOffsetY += dy[k];
    updatePropertiesPanel();
  }
}

void SCENE_CARD_GAME_EDITOR::commitKeyMove() {
  if (!isKeyMoveRunning) return;
  isKeyMoveRunning = false;
  const std::vector<int32_t> slots = movedCards();
  // The sum of the small steps drifts; the cards end exactly the whole offset away.
  for (const int32_t slot : slots) {
    table.cards[slot].x = moveStartX[slot] + moveOffsetX;
    table.cards[slot].y = moveStartY[slot] + moveOffsetY;
  }
  if (!slots.empty() && (moveOffsetX != 0.0f || moveOffsetY != 0.0f)) table.isModified = true;
  moveOffsetX = 0.0f;
  moveOffsetY = 0.0f;
  updatePropertiesPanel();
}

void SCENE_CARD_GAME_EDITOR::changeLayers(int32_t step) {
  if (editorMode != MODE::LAYOUT) return;
  const auto shift = [&](int32_t slot) {
    if (!EDITOR_CARD_TABLE::isValidSlot(slot)) return;
    int32_t& layer = table.cards[slot].zLayer;
    const int32_t moved = layer + step;
    if (moved < BOTTOM_LAYER || moved > TOP_LAYER) return;
    layer = moved;
    table.isModified = true;
  };
  if (table.cardLine.state == CARD_LINE::FINISHED) {
    // The whole line goes one layer down or up and keeps its own stacking.
    for (int32_t i = 0; i < table.cardLine.count(); ++i) shift(table.cardLine.get(i));
    return;
  }
  if (!EDITOR_CARD_TABLE::isValidSlot(table.currentCard)) return;
  shift(table.currentCard);
  for (int32_t i = 0; i < table.selectedCards.count(); ++i) shift(table.selectedCards.get(i));
  updatePropertiesPanel();
}

void SCENE_CARD_GAME_EDITOR::changeLayerFilter(int32_t step) {
  int32_t& filter = table.layerFilter;
  if (filter == EDITOR_NO_LAYER_FILTER) {
    filter = 0;
    return;
  }
  // One below the bottom layer is the value that shows every layer again.
  filter += step;
  if (filter > TOP_LAYER) filter = TOP_LAYER;
  if (filter < BOTTOM_LAYER) filter = BOTTOM_LAYER;
}

void SCENE_CARD_GAME_EDITOR::selectAllOnLayer() {
  dropCurrentCard();
  dropSelection();
  for (const int32_t slot : cardsOnLayerFilter()) {
    if (table.currentCard == -1) {
      table.currentCard = slot;
    } else {
      table.selectedCards.add(slot);
    }
    showHighlighted(slot);
  }
  // An empty layer leaves the level panel up: there is no card to show.
  if (table.currentCard != -1) showSidePanel();
}

void SCENE_CARD_GAME_EDITOR::removeCurrentCards() {
  if (editorMode != MODE::LAYOUT || !EDITOR_CARD_TABLE::isValidSlot(table.currentCard)) return;
  const std::vector<int32_t> slots = movedCards();
  for (const int32_t slot : slots) {
    EDITOR_CARD& card = table.cards[slot];
    // Every skittle that goes leaves the count, selected or current.
    if (card.isSpecial && table.countOfSpecialCards > 0) --table.countOfSpecialCards;
    card.reset();
    showNormal(slot);
  }
  table.isModified = true;
  table.currentCard = -1;
  table.selectedCards.clear();
  // A line whose cards were taken away must not take away the slots' next cards with "-".
  table.cardLine.clear();
  moveLineButtonsAway();
  hideSidePanel();
}
