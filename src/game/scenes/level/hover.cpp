// The pointer over the level: a dragged volume knob follows it, and the card and the pile
// under it are kept for the clicks and the drawing.
#include "engine/input.h"
#include "game/card.h"
#include "game/card_piles.h"
#include "game/hint_steps.h"
#include "game/scenes/level/level_scene.h"
#include "gui/gui_button5.h"
#include "gui/gui_container.h"
#include "gui/gui_wlabel.h"

namespace {

constexpr float PILE_GAP = 10.0f;

// Strictly inside: a pointer on the edge is outside.
bool isInsidePile(float px, float py, float x, float y) {
  const float halfWidth = SCENE_CARD_GAME_LEVEL::CARD_WIDTH / 2.0f;
  const float halfHeight = SCENE_CARD_GAME_LEVEL::CARD_HEIGHT / 2.0f;
  return x - halfWidth < px && px < x + halfWidth && y - halfHeight < py && py < y + halfHeight;
}

}  // namespace

void SCENE_CARD_GAME_LEVEL::fMouseMove() {
  if (QEL::qcINPUT_INSTANCE == nullptr) return;
  // While the tutorial asks for the shop button the table stands still.
  if (isTutorial && hintStep == hint_step::OPEN_SHOP) return;
  const QEL::QS_POINT pointer = QEL::qcINPUT_INSTANCE->fGetMousePosition();
  const float px = static_cast<float>(pointer.x);
  const float py = static_cast<float>(pointer.y);

  if (draggedSlider == 0 || draggedSlider == 1) {
    QEL::QC_GUI_BUTTON5* knob = draggedSlider == 0 ? soundKnob : musicKnob;
    float x = px - dragOffset;
    if (px < sliderMinX) x = sliderMinX;
    if (px > sliderMaxX) x = sliderMaxX;
    // The volume itself is stored when the button is let go.
    if (knob != nullptr) knob->fSetPosition(x, knob->fGetTransform()->fGetPosition().y, 0.0f);
  }

  // Under an open window the table keeps what it had.
  if (windowState != 0) return;

  // From the top layer down, and within a layer from the lowest id: the first card under the
  // pointer is the hovered one.
  refreshLayerOrder();
  int32_t found = -1;
  for (int32_t end = layerOrderCount; end > 0 && found == -1;) {
    const int32_t z = cards[layerOrder[end - 1]]->zLayer;
    int32_t begin = end - 1;
    while (begin > 0 && cards[layerOrder[begin - 1]]->zLayer == z) --begin;
    for (int32_t i = begin; i < end && found == -1 && z >= zLayerMin && z <= zLayerMax; ++i) {
      if (isPointerOverCard(layerOrder[i])) found = layerOrder[i];
    }
    end = begin;
  }
  if (found != hoveredCard) {
    if (hoveredCard >= 0 && hoveredCard < MAX_LAYOUT_CARDS && hoveredCard != selectedCard &&
        cards[hoveredCard] != nullptr) {
      cards[hoveredCard]->updateColor();
    }
    if (found >= 0 && found != selectedCard) cards[found]->resetColor();
    hoveredCard = found;
  }

  hoveredPile = -1;
  if (cardPiles == nullptr) return;
  const float deckX = cardPiles->stockX;
  const float deckY = cardPiles->stockY;
  if (isInsidePile(px, py, deckX, deckY)) hoveredPile = 0;
  for (int32_t k = 1; k <= reservePilesInPlay(); ++k) {
    const float pileX = deckX + cardPiles->offset + static_cast<float>(k - 1) * (CARD_WIDTH + PILE_GAP);
    if (isInsidePile(px, py, pileX, deckY)) hoveredPile = k;
  }
}
