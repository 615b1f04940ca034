#pragma once
// Plane geometry of the level editor: crossing tests on turned card outlines. Its answers
// decide which cards a level file records as lying over and under each other.
#include "engine/vectors.h"

// Half sizes of the outline the overlap test uses, whatever the card picture's size.
constexpr float OVERLAP_HALF_WIDTH = 33.0f;
constexpr float OVERLAP_HALF_HEIGHT = 49.5f;
// The far end of every crossing segment.
constexpr float CROSSING_REFERENCE_X = 1.0f;
constexpr float CROSSING_REFERENCE_Y = 8.0f;

// Corners top-left, top-right, bottom-right, bottom-left at angle 0.
struct CARD_OUTLINE {
  QEL::QS_VECTOR2 corners[4];
};

// The rectangle of the given half sizes around (x, y), turned clockwise by angle (radians).
CARD_OUTLINE makeCardOutline(float x, float y, float angle, float halfWidth, float halfHeight);

// Whether the closed segments (x1,y1)-(x2,y2) and (x3,y3)-(x4,y4) meet; parallel ones never do.
bool segmentsIntersect(float x1, float y1, float x2, float y2, float x3, float y3, float x4,
                       float y4);

// Axis-aligned rectangle centred on (cx, cy), edges included.
bool isPointInRect(float px, float py, float cx, float cy, float width, float height);

// Crossing test: an odd number of outline edges met by the segment from the point to the
// reference point.
bool isPointInOutline(float px, float py, const CARD_OUTLINE& outline);

// The overlap rule of two cards given by centre and angle: corners of either inside the
// other, then the centres.
bool cardPlacesOverlap(float xi, float yi, float ai, float xj, float yj, float aj);

// The pointer rule: strict box test at angle 0, crossing test otherwise.
bool isPointOverCardPlace(float px, float py, float x, float y, float angle, float width,
                          float height);
