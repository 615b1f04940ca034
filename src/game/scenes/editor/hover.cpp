// The pointer over the editor: the card under it is lit, and every card keeps the colour it
// is drawn with (see-through, or opaque while lit, current or selected).
#include "engine/input.h"
#include "game/scenes/editor/editor_scene.h"

float SCENE_CARD_GAME_EDITOR::pointerX() const {
  return QEL::qcINPUT_INSTANCE != nullptr ? static_cast<float>(QEL::qcINPUT_INSTANCE->fGetMousePosition().x) : 0.0f;
}

float SCENE_CARD_GAME_EDITOR::pointerY() const {
  return QEL::qcINPUT_INSTANCE != nullptr ? static_cast<float>(QEL::qcINPUT_INSTANCE->fGetMousePosition().y) : 0.0f;
}

int32_t SCENE_CARD_GAME_EDITOR::findCardUnderPointer() const {
  const float x = pointerX();
  const float y = pointerY();
  // The highest layer wins; within a layer the lowest slot.
  for (int32_t z = TOP_LAYER; z >= BOTTOM_LAYER; --z) {
    for (int32_t slot = 0; slot < MAX_CARDS; ++slot) {
      const EDITOR_CARD& card = table.cards[slot];
      if (card.inUse && card.zLayer == z && table.isMouseOverCard(slot, x, y)) return slot;
    }
  }
  return -1;
}

void SCENE_CARD_GAME_EDITOR::showNormal(int32_t slot) {
  if (EDITOR_CARD_TABLE::isValidSlot(slot)) cardColors[slot] = NORMAL_CARD_COLOR;
}

void SCENE_CARD_GAME_EDITOR::showHighlighted(int32_t slot) {
  if (EDITOR_CARD_TABLE::isValidSlot(slot)) cardColors[slot] = HIGHLIGHT_CARD_COLOR;
}

void SCENE_CARD_GAME_EDITOR::showAllNormal() {
  for (uint32_t& color : cardColors) color = NORMAL_CARD_COLOR;
}

void SCENE_CARD_GAME_EDITOR::fMouseMove() {
  const int32_t found = findCardUnderPointer();
  const int32_t previous = hoveredCard;
  // The current card and the selection keep the colours their commands gave them.
  if (previous != -1 && previous != table.currentCard && previous != found &&
      !table.selectedCards.contains(previous)) {
    showNormal(previous);
  }
  if (found != -1 && found != table.currentCard && found != previous) showHighlighted(found);
  hoveredCard = found;
}
