#include "level_geometry/editor_cards.h"

#include "level_geometry/card_geometry.h"

void EDITOR_CARD::putOnTable() {
  inUse = true;
  zLayer = 0;
  x = -100.0f;
  y = -100.0f;
  angle = 0.0f;
}

void EDITOR_CARD::putOnTable(float px, float py, int32_t z, int32_t cardValue, bool special) {
  putOnTable();
  x = px;
  y = py;
  zLayer = z;
  value = cardValue;
  isSpecial = special;
}

void EDITOR_CARD::reset() {
  inUse = false;
  zLayer = 0;
  value = -1;
  overList.clear();
  underList.clear();
  isSpecial = false;
}

void EDITOR_CARD::place(int32_t z, float px, float py, float degrees) {
  zLayer = z;
  x = px;
  y = py;
  angle = degrees * DEGREES_TO_RADIANS;
}

void SELECTED_CARDS::clear() {
  entries_.fill(-1);
  count_ = 0;
}

void SELECTED_CARDS::add(int32_t slot) {
  if (count_ >= CAPACITY) return;
  entries_[count_++] = slot;
}

void SELECTED_CARDS::remove(int32_t slot) {
  int found = -1;
  for (int i = 0; i < count_; ++i) {
    if (entries_[i] == slot) {
      found = i;
      break;
    }
  }
  if (found < 0) return;
  for (int i = found; i + 1 < count_; ++i) entries_[i] = entries_[i + 1];
  --count_;
  entries_[count_] = -1;
  if (count_ == 0) entries_.fill(-1);
}

bool SELECTED_CARDS::contains(int32_t slot) const {
  for (int i = 0; i < count_; ++i) {
    if (entries_[i] == slot) return true;
  }
  return false;
}

void CARD_LINE::clear() {
  slots_.fill(-1);
  state = 0;
  count_ = 0;
  startX = startY = endX = endY = 0.0f;
  middleX = middleY = 0.0f;
  fanAngle = 0.0f;
}

void CARD_LINE::push(int32_t slot) {
  if (count_ >= CAPACITY) return;
  slots_[count_++] = slot;
}

int32_t CARD_LINE::pop() {
  if (count_ <= 0) return -1;
  --count_;
  const int32_t slot = slots_[count_];
  slots_[count_] = -1;
  return slot;
}

EDITOR_CARD_TABLE::EDITOR_CARD_TABLE(float width, float height)
    : cardWidth(width), cardHeight(height) {}

bool EDITOR_CARD_TABLE::isMouseOverCard(int32_t slot, float mouseX, float mouseY) const {
  if (!isValidSlot(slot)) return false;
  const EDITOR_CARD& card = cards[slot];
  return isPointOverCardPlace(mouseX, mouseY, card.x, card.y, card.angle, cardWidth, cardHeight);
}

bool EDITOR_CARD_TABLE::cardsOverlap(int32_t i, int32_t j) const {
  if (i == j || !isValidSlot(i) || !isValidSlot(j)) return false;
  const EDITOR_CARD& a = cards[i];
  const EDITOR_CARD& b = cards[j];
  return cardPlacesOverlap(a.x, a.y, a.angle, b.x, b.y, b.angle);
}

std::vector<int32_t> EDITOR_CARD_TABLE::overlappingCards(int32_t slot) const {
  std::vector<int32_t> slots;
  for (int32_t j = 0; j < EDITOR_CARD_SLOTS; ++j) {
    if (j != slot && cards[j].inUse && cardsOverlap(slot, j)) slots.push_back(j);
  }
  return slots;
}

int32_t EDITOR_CARD_TABLE::bringToFront(int32_t slot) {
  if (!isValidSlot(slot)) return 0;
  const std::vector<int32_t> others = overlappingCards(slot);
  int32_t z = cards[slot].zLayer;
  for (int32_t j : others) {
    if (cards[j].zLayer > z && topLayer > z) z = cards[j].zLayer;
  }
  if (!others.empty() && topLayer > z) ++z;
  cards[slot].zLayer = z;
  return static_cast<int32_t>(others.size());
}

int32_t EDITOR_CARD_TABLE::bringToBack(int32_t slot) {
  if (!isValidSlot(slot)) return 0;
  const std::vector<int32_t> others = overlappingCards(slot);
  int32_t z = cards[slot].zLayer;
  for (int32_t j : others) {
    if (cards[j].zLayer < z) z = cards[j].zLayer;
  }
  if (!others.empty() && bottomLayer < z) --z;
  cards[slot].zLayer = z;
  return static_cast<int32_t>(others.size());
}

int32_t EDITOR_CARD_TABLE::findFreeSlot() const {
  for (int32_t i = 0; i < EDITOR_CARD_SLOTS; ++i) {
    if (!cards[i].inUse) return i;
  }
  return EDITOR_CARD_SLOTS - 1;
}

int32_t EDITOR_CARD_TABLE::getTopLayer() const {
  int32_t highest = -10;
  for (const EDITOR_CARD& card : cards) {
    if (card.inUse && card.zLayer > highest) highest = card.zLayer;
  }
  const int32_t result = highest + 1;
  return result > topLayer ? topLayer : result;
}

int32_t EDITOR_CARD_TABLE::addCard(float x, float y, float z) {
  if (x > EDITOR_PLAY_AREA_WIDTH - cardWidth / 2) return -1;
  // A full table keeps its cards: the new one is refused rather than laid over slot 299.
  if (isFull()) return -1;
  const int32_t slot = findFreeSlot();
  EDITOR_CARD& card = cards[slot];
  card.putOnTable();
  card.x = x;
  card.y = y;
  card.zLayer = layerFilter != EDITOR_NO_LAYER_FILTER ? layerFilter : static_cast<int32_t>(z);
  isModified = true;
  return slot;
}

bool EDITOR_CARD_TABLE::isFull() const { return cards[findFreeSlot()].inUse; }

int32_t EDITOR_CARD_TABLE::countCardsInUse() const {
  int32_t n = 0;
  for (const EDITOR_CARD& card : cards) n += card.inUse ? 1 : 0;
  return n;
}

void EDITOR_CARD_TABLE::clearEditor() {
  for (EDITOR_CARD& card : cards) {
    if (card.inUse) card.reset();
  }
  currentCard = -1;
  selectedCards.clear();
  cardLine.clear();
  countOfSpecialCards = 0;
  layerFilter = EDITOR_NO_LAYER_FILTER;
  isModified = true;
}

void EDITOR_CARD_TABLE::computeCoverLists() {
  for (EDITOR_CARD& card : cards) {
    card.overList.clear();
    card.underList.clear();
  }
  for (int32_t i = 0; i < EDITOR_CARD_SLOTS; ++i) {
    if (!cards[i].inUse) continue;
    for (int32_t j : overlappingCards(i)) {
      if (cards[i].zLayer > cards[j].zLayer) {
        cards[i].underList.push_back(j);
      } else if (cards[i].zLayer < cards[j].zLayer) {
        cards[i].overList.push_back(j);
      }
    }
  }
}
