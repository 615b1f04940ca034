#include "level_geometry/card_geometry.h"

#include <cmath>

CARD_OUTLINE makeCardOutline(float x, float y, float angle, float halfWidth, float halfHeight) {
  const float ox[4] = {-halfWidth, halfWidth, halfWidth, -halfWidth};
  const float oy[4] = {-halfHeight, -halfHeight, halfHeight, halfHeight};
  CARD_OUTLINE outline;
  if (angle == 0.0f) {
    for (int k = 0; k < 4; ++k) outline.corners[k] = {x + ox[k], y + oy[k]};
    return outline;
  }
  const double c = std::cos(static_cast<double>(angle));
  const double s = std::sin(static_cast<double>(angle));
  for (int k = 0; k < 4; ++k) {
    outline.corners[k] = {static_cast<float>(x + ox[k] * c - oy[k] * s),
                          static_cast<float>(y + ox[k] * s + oy[k] * c)};
  }
  return outline;
}

bool segmentsIntersect(float x1, float y1, float x2, float y2, float x3, float y3, float x4,
                       float y4) {
  const float d = (y4 - y3) * (x2 - x1) - (x4 - x3) * (y2 - y1);
  const float ua = ((x4 - x3) * (y1 - y3) - (y4 - y3) * (x1 - x3)) / d;
  if (!(ua >= 0.0f && ua <= 1.0f)) return false;  // also refuses NaN
  const float ub = ((x2 - x1) * (y1 - y3) - (y2 - y1) * (x1 - x3)) / d;
  return ub >= 0.0f && ub <= 1.0f;
}

bool isPointInRect(float px, float py, float cx, float cy, float width, float height) {
  const float hw = width * 0.5f;
  const float hh = height * 0.5f;
  return cx - hw <= px && px <= cx + hw && cy - hh <= py && py <= cy + hh;
}

bool isPointInOutline(float px, float py, const CARD_OUTLINE& outline) {
  int crossings = 0;
  for (int k = 1; k <= 4; ++k) {
    const QEL::QS_VECTOR2& a = outline.corners[k - 1];
    const QEL::QS_VECTOR2& b = outline.corners[k % 4];
    if (segmentsIntersect(px, py, CROSSING_REFERENCE_X, CROSSING_REFERENCE_Y, a.x, a.y, b.x, b.y)) {
      ++crossings;
    }
  }
  return (crossings % 2) == 1;
}

bool cardPlacesOverlap(float xi, float yi, float ai, float xj, float yj, float aj) {
  const CARD_OUTLINE a = makeCardOutline(xi, yi, ai, OVERLAP_HALF_WIDTH, OVERLAP_HALF_HEIGHT);
  const CARD_OUTLINE b = makeCardOutline(xj, yj, aj, OVERLAP_HALF_WIDTH, OVERLAP_HALF_HEIGHT);
  for (const auto& corner : a.corners) {
    if (isPointInOutline(corner.x, corner.y, b)) return true;
  }
  for (const auto& corner : b.corners) {
    if (isPointInOutline(corner.x, corner.y, a)) return true;
  }
  if (isPointInOutline(xi, yi, b)) return true;
  return isPointInOutline(xj, yj, a);
}

bool isPointOverCardPlace(float px, float py, float x, float y, float angle, float width,
                          float height) {
  if (angle == 0.0f) {
    return x - width / 2 < px && px < x + width / 2 && y - height / 2 < py && py < y + height / 2;
  }
  return isPointInOutline(px, py, makeCardOutline(x, y, angle, width / 2, height / 2));
}
