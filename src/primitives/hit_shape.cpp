#include "primitives/hit_shape.h"

#include <algorithm>
#include <cmath>

#include "engine/curves.h"

namespace QEL {

bool QS_HIT_SHAPE::fIsInside(float x, float y) const {
  if (_type == TYPE_NONE) return false;
  if (_node == nullptr) return false;  // a shape that follows nothing is nowhere
  const QS_TRANSFORM3 world = _node->fGetWorld(false, false, false);
  const float px = world._position.x;
  const float py = world._position.y;

  if (_type == TYPE_CIRCLE) {
    const float r = _width;
    if (x < px - r || x > px + r || y < py - r || y > py + r) return false;
    const float dx = px - x;
    const float dy = py - y;
    return std::sqrt(dx * dx + dy * dy) < r;
  }

  if (_type == TYPE_RECTANGLE) {
    const float sx = world._scale.x;
    const float sy = world._scale.y;
    // A quick square that holds the shape however it is turned.
    const float half = 0.5f * std::max(_width * sx, _height * sy);
    if (!(px - half < x && x < px + half && py - half < y && y < py + half)) return false;
    float lx = x;
    float ly = y;
    fWorldToLocal(lx, ly, world);
    return 0.0f < lx && lx < _width * sx && 0.0f < ly && ly < _height * sy;
  }
  return false;
}

}  // namespace QEL
