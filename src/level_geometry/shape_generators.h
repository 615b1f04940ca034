#pragma once
// Card layouts: the editor's own generators work on the cards already in its table (members
// of EDITOR_CARD_TABLE, defined in shape_generators.cpp); the free functions below return the
// places of a shape for a layout built from scratch, as the level generator does.
#include <cstdint>
#include <vector>

struct CARD_PLACE {
  float x = 0.0f, y = 0.0f;
  float angle = 0.0f;  // radians
  int32_t zLayer = 0;
};

// count cards evenly from (x1, y1) to (x2, y2), all on one layer.
std::vector<CARD_PLACE> lineOfCards(float x1, float y1, float x2, float y2, int count,
                                    int32_t zLayer, float angle = 0.0f);

// A card line fanned like the editor's: card k turned by k/(n-1) of fanAngle; each card one
// layer above the previous one when zStep is 1.
std::vector<CARD_PLACE> fanOfCards(float x1, float y1, float x2, float y2, int count,
                                   float fanAngle, int32_t zStart, int32_t zStep);

// A hand of cards on an arc around (cx, cy): each card stands on the circle of the radius and
// is turned with it, from angle `from` to `to` (radians, 0 pointing up); layers rise by one.
std::vector<CARD_PLACE> arcOfCards(float cx, float cy, float radius, int count, float from,
                                   float to, int32_t zStart);

// The border of a block columns x rows with the given steps, from its top-left centre,
// clockwise from the top-left card.
std::vector<CARD_PLACE> squareOfCards(float x0, float y0, int columns, int rows, float stepX,
                                      float stepY, int32_t zLayer);

// count cards on an ellipse around (cx, cy), starting at the right, clockwise; turned along
// the ring when `turned`.
std::vector<CARD_PLACE> circleOfCards(float cx, float cy, float radiusX, float radiusY,
                                      int count, int32_t zLayer, bool turned);

// A row pyramid: baseCount cards on zBase, each layer above one card shorter, shifted half a
// step and raised by riseY (negative: upwards), so every upper card covers two below.
std::vector<CARD_PLACE> pyramidOfCards(float centreX, float baseY, int baseCount, int layers,
                                       float stepX, float riseY, int32_t zBase);

// A layered pyramid in two directions: a grid columns x rows on zBase, every layer above one
// column and one row smaller and centred on the one below, each card covering four.
std::vector<CARD_PLACE> layeredPyramidOfCards(float centreX, float centreY, int columns,
                                              int rows, int layers, float stepX, float stepY,
                                              int32_t zBase);
