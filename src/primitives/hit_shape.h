#pragma once
// Decides whether a screen point lies on a widget. The shape follows a transform node (the
// widget's), so it moves, turns and scales with the widget's picture.
#include <cstdint>

#include "engine/transform.h"

namespace QEL {

struct QS_HIT_SHAPE {
  static constexpr int32_t TYPE_NONE = 0;
  static constexpr int32_t TYPE_CIRCLE = 1;
  static constexpr int32_t TYPE_RECTANGLE = 2;

  int32_t _type = TYPE_NONE;
  float _width = 0.0f;   // pixels at scale 1; the radius of a circle
  float _height = 0.0f;  // pixels at scale 1 (rectangles)
  uint32_t _word1 = 0;
  QS_TRANSFORM3* _node = nullptr;  // not owned
  uint32_t _word2 = 0;

  QS_HIT_SHAPE() = default;
  QS_HIT_SHAPE(int32_t type, QS_TRANSFORM3* node, float width, float height, uint32_t word1, uint32_t word2)
      : _type(type), _width(width), _height(height), _word1(word1), _node(node), _word2(word2) {}

  void fSetWidth(float width) { _width = width; }
  void fSetHeight(float height) { _height = height; }
  float fGetWidth() const { return _width; }
  float fGetHeight() const { return _height; }

  // Circles ignore the node's scale; rectangles turn with the node's world rotation. Edges
  // are never inside.
  bool fIsInside(float x, float y) const;
};

}  // namespace QEL
