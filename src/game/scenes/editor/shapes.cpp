// Cards laid out in shapes: the card line that '3' and the left button draw (nine cards
// from where the button went down to where it comes up, each a layer higher, fanned with Z
// and X, grown and shrunk with "+" and "-"), and the circle, square and lines buttons that
// arrange the cards already on the table.
#include <algorithm>
#include <string>

#include "game/scenes/editor/editor_scene.h"
#include "gui/gui_button5.h"

namespace {

constexpr int32_t LINE_START_CARDS = 9;
constexpr int32_t LINE_MIN_CARDS = 3;
constexpr float LINE_BUTTON_SPACING = 100.0f;  // "+" and "-" stand this far beside the line's end
constexpr float PARKED_X = 2000.0f;
constexpr float PARKED_Y = 100.0f;

}  // namespace

void SCENE_CARD_GAME_EDITOR::startCardLine(float x, float y) {
  CARD_LINE& line = table.cardLine;
  line.clear();
  line.setStart(x, y);
  line.setEnd(x, y);
  isLineMode = false;
  // Above everything on the table, and never below layer 0.
  lineBaseLayer = std::max(table.getTopLayer(), 0);
  for (int32_t k = 0; k < LINE_START_CARDS; ++k) {
    const int32_t slot = table.addCard(x, y, static_cast<float>(std::min(lineBaseLayer + k, TOP_LAYER)));
    if (slot < 0) break;
    line.push(slot);
    showNormal(slot);
  }
  if (line.count() == 0) {
    if (table.isFull()) showMessage("The level holds " + std::to_string(MAX_CARDS) + " cards at most", MESSAGE_SECONDS);
    line.clear();
    return;
  }
  line.state = CARD_LINE::BEING_DRAWN;
}

void SCENE_CARD_GAME_EDITOR::finishCardLine() {
  CARD_LINE& line = table.cardLine;
  line.state = CARD_LINE::FINISHED;
  if (moreLineCardsButton != nullptr) moreLineCardsButton->fSetPosition(line.endX + LINE_BUTTON_SPACING, line.endY, 0.0f);
  if (fewerLineCardsButton != nullptr) fewerLineCardsButton->fSetPosition(line.endX - LINE_BUTTON_SPACING, line.endY, 0.0f);
}

void SCENE_CARD_GAME_EDITOR::moveLineButtonsAway() {
  if (moreLineCardsButton != nullptr) moreLineCardsButton->fSetPosition(PARKED_X, PARKED_Y, 0.0f);
  if (fewerLineCardsButton != nullptr) fewerLineCardsButton->fSetPosition(PARKED_X, PARKED_Y, 0.0f);
}

void SCENE_CARD_GAME_EDITOR::addLineCard() {
  CARD_LINE& line = table.cardLine;
  if (line.state == CARD_LINE::NONE || line.count() >= CARD_LINE::CAPACITY) return;
  const int32_t layer = std::min(line.count() + lineBaseLayer, TOP_LAYER);
  const int32_t slot = table.addCard(0.0f, 0.0f, static_cast<float>(layer));
  if (slot < 0) {
    showMessage("The level holds " + std::to_string(MAX_CARDS) + " cards at most", MESSAGE_SECONDS);
    return;
  }
  showNormal(slot);
  line.push(slot);
  table.spreadCardLine();
  table.fanCardLine();
}

void SCENE_CARD_GAME_EDITOR::removeLineCard() {
  CARD_LINE& line = table.cardLine;
  if (line.count() <= LINE_MIN_CARDS) return;
  const int32_t slot = line.pop();
  if (EDITOR_CARD_TABLE::isValidSlot(slot)) {
    EDITOR_CARD& card = table.cards[slot];
    if (card.isSpecial && table.countOfSpecialCards > 0) --table.countOfSpecialCards;
    card.reset();
    showNormal(slot);
    if (table.currentCard == slot) dropCurrentCard();
    table.selectedCards.remove(slot);
    table.isModified = true;
  }
  table.spreadCardLine();
  table.fanCardLine();
}

void SCENE_CARD_GAME_EDITOR::layOutShape(int32_t button) {
  switch (button) {
    case CIRCLE_BUTTON: table.makeCircleOfCards(); break;
    case SQUARE_BUTTON: table.makeSquareOfCards(); break;
    case LINES_BUTTON: table.makeLinesOfCards(); break;
    default: return;
  }
  updatePropertiesPanel();
}
