#include "level_geometry/shape_generators.h"

#include <cmath>

#include "level_geometry/editor_cards.h"

namespace {

constexpr double PI = 3.14159265358979323846;

// Cards in use in slot order, at most `limit` of them.
std::vector<int32_t> cardsInUse(const EDITOR_CARD_TABLE& table, int limit) {
  std::vector<int32_t> slots;
  for (int32_t i = 0; i < EDITOR_CARD_SLOTS && static_cast<int>(slots.size()) < limit; ++i) {
    if (table.cards[i].inUse) slots.push_back(i);
  }
  return slots;
}

}  // namespace

void EDITOR_CARD_TABLE::spreadCardLine() {
  const int n = cardLine.count();
  if (n < 1) return;
  const float x1 = cardLine.startX, y1 = cardLine.startY;
  const float x2 = cardLine.endX, y2 = cardLine.endY;
  const double dx = static_cast<double>(x2) - x1, dy = static_cast<double>(y2) - y1;
  const float length = static_cast<float>(std::sqrt(dx * dx + dy * dy));
  // A line drawn as a single point, or of one card, stacks its cards on the start point.
  if (n < 2 || length == 0.0f) {
    cardLine.middleX = x1;
    cardLine.middleY = y1;
    for (int i = 0; i < n; ++i) {
      const int32_t slot = cardLine.get(i);
      if (!isValidSlot(slot)) continue;
      cards[slot].x = x1;
      cards[slot].y = y1;
    }
    return;
  }
  const float step = length / static_cast<float>(n - 1);
  cardLine.middleX = x1 + (x2 - x1) * (length / 2) / length;
  cardLine.middleY = y1 + (y2 - y1) * (length / 2) / length;
  for (int i = 0; i < n; ++i) {
    const int32_t slot = cardLine.get(i);
    if (!isValidSlot(slot)) continue;
    const float along = step * static_cast<float>(i);
    cards[slot].x = x1 + (x2 - x1) * along / length;
    cards[slot].y = y1 + (y2 - y1) * along / length;
  }
}

void EDITOR_CARD_TABLE::fanCardLine() {
  const int n = cardLine.count();
  if (n < 2) return;
  for (int k = 1; k < n; ++k) {
    const int32_t slot = cardLine.get(k);
    if (!isValidSlot(slot)) continue;
    cards[slot].angle = static_cast<float>(k) / static_cast<float>(n - 1) * cardLine.fanAngle;
  }
}

void EDITOR_CARD_TABLE::makeLinesOfCards() {
  const float cw = cardWidth + 2;
  const float ch = cardHeight + 30;
  const std::vector<int32_t> slots = cardsInUse(*this, 48);
  for (int k = 0; k < static_cast<int>(slots.size()); ++k) {
    EDITOR_CARD& card = cards[slots[k]];
    card.x = 100 + cw * static_cast<float>(k % 12);
    card.y = 150 + ch * static_cast<float>(k / 12);
    card.angle = 0.0f;
  }
  isModified = true;
}

void EDITOR_CARD_TABLE::makeSquareOfCards() {
  const float w = cardWidth + 2;
  const float h = cardHeight + 2;
  const std::vector<int32_t> slots = cardsInUse(*this, 30);
  for (int k = 0; k < static_cast<int>(slots.size()); ++k) {
    EDITOR_CARD& card = cards[slots[k]];
    const float fk = static_cast<float>(k);
    if (k < 5) {
      card.x = 100;
      card.y = 550 - h * fk;
    } else if (k < 15) {
      card.x = 100 + w + w * (fk - 5);
      card.y = 550 - 4 * h;
    } else if (k < 20) {
      card.x = 100 + 11 * w;
      card.y = 550 - 4 * h + h * (fk - 15);
    } else {
      card.x = 100 + 10 * w - w * (fk - 20);
      card.y = 550;
    }
    card.angle = 0.0f;
  }
  isModified = true;
}

void EDITOR_CARD_TABLE::makeCircleOfCards() {
  const std::vector<int32_t> slots = cardsInUse(*this, 14);
  for (int k = 0; k < static_cast<int>(slots.size()); ++k) {
    const double theta = 2.0 * PI * k / 14.0;
    EDITOR_CARD& card = cards[slots[k]];
    card.x = static_cast<float>(std::lround(250.0 * std::cos(theta)) + 512);
    card.y = static_cast<float>(std::lround(250.0 * std::sin(theta)) + 384);
    card.angle = 0.0f;
  }
  isModified = true;
}

std::vector<CARD_PLACE> lineOfCards(float x1, float y1, float x2, float y2, int count,
                                    int32_t zLayer, float angle) {
  std::vector<CARD_PLACE> places;
  for (int i = 0; i < count; ++i) {
    const float t = count > 1 ? static_cast<float>(i) / static_cast<float>(count - 1) : 0.0f;
    places.push_back({x1 + (x2 - x1) * t, y1 + (y2 - y1) * t, angle, zLayer});
  }
  return places;
}

std::vector<CARD_PLACE> fanOfCards(float x1, float y1, float x2, float y2, int count,
                                   float fanAngle, int32_t zStart, int32_t zStep) {
  std::vector<CARD_PLACE> places = lineOfCards(x1, y1, x2, y2, count, zStart);
  for (int k = 0; k < count; ++k) {
    if (k > 0) places[k].angle = static_cast<float>(k) / static_cast<float>(count - 1) * fanAngle;
    places[k].zLayer = zStart + zStep * k;
  }
  return places;
}

std::vector<CARD_PLACE> arcOfCards(float cx, float cy, float radius, int count, float from,
                                   float to, int32_t zStart) {
  std::vector<CARD_PLACE> places;
  for (int k = 0; k < count; ++k) {
    const double t = count > 1 ? static_cast<double>(k) / (count - 1) : 0.5;
    const double a = from + (to - from) * t;
    places.push_back({static_cast<float>(cx + radius * std::sin(a)),
                      static_cast<float>(cy - radius * std::cos(a)), static_cast<float>(a),
                      zStart + k});
  }
  return places;
}

std::vector<CARD_PLACE> squareOfCards(float x0, float y0, int columns, int rows, float stepX,
                                      float stepY, int32_t zLayer) {
  std::vector<CARD_PLACE> places;
  if (columns < 1 || rows < 1) return places;
  for (int c = 0; c < columns; ++c) places.push_back({x0 + stepX * c, y0, 0.0f, zLayer});
  if (rows == 1) return places;
  for (int r = 1; r < rows; ++r) places.push_back({x0 + stepX * (columns - 1), y0 + stepY * r, 0.0f, zLayer});
  if (columns > 1) {
    for (int c = columns - 2; c >= 0; --c) places.push_back({x0 + stepX * c, y0 + stepY * (rows - 1), 0.0f, zLayer});
    for (int r = rows - 2; r >= 1; --r) places.push_back({x0, y0 + stepY * r, 0.0f, zLayer});
  }
  return places;
}

std::vector<CARD_PLACE> circleOfCards(float cx, float cy, float radiusX, float radiusY,
                                      int count, int32_t zLayer, bool turned) {
  std::vector<CARD_PLACE> places;
  for (int k = 0; k < count; ++k) {
    const double theta = 2.0 * PI * k / count;
    const float angle = turned ? static_cast<float>(theta + PI / 2) : 0.0f;
    places.push_back({static_cast<float>(std::lround(radiusX * std::cos(theta)) + cx),
                      static_cast<float>(std::lround(radiusY * std::sin(theta)) + cy), angle,
                      zLayer});
  }
  return places;
}

std::vector<CARD_PLACE> pyramidOfCards(float centreX, float baseY, int baseCount, int layers,
                                       float stepX, float riseY, int32_t zBase) {
  std::vector<CARD_PLACE> places;
  for (int layer = 0; layer < layers && baseCount - layer > 0; ++layer) {
    const int n = baseCount - layer;
    const float left = centreX - stepX * static_cast<float>(n - 1) / 2;
    for (int i = 0; i < n; ++i) {
      places.push_back({left + stepX * i, baseY + riseY * layer, 0.0f, zBase + layer});
    }
  }
  return places;
}

std::vector<CARD_PLACE> layeredPyramidOfCards(float centreX, float centreY, int columns,
                                              int rows, int layers, float stepX, float stepY,
                                              int32_t zBase) {
  std::vector<CARD_PLACE> places;
  for (int layer = 0; layer < layers; ++layer) {
    const int nc = columns - layer, nr = rows - layer;
    if (nc < 1 || nr < 1) break;
    const float left = centreX - stepX * static_cast<float>(nc - 1) / 2;
    const float top = centreY - stepY * static_cast<float>(nr - 1) / 2;
    for (int r = 0; r < nr; ++r) {
      for (int c = 0; c < nc; ++c) {
        places.push_back({left + stepX * c, top + stepY * r, 0.0f, zBase + layer});
      }
    }
  }
  return places;
}
