#include "engine/transform.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/curves.h"
#include "engine/text_utils.h"

namespace QEL {

QS_TRANSFORM3::QS_TRANSFORM3(const char* text) {
  std::string copy = text ? text : "";
  auto list = fSplitString(copy, ' ', true);
  if (list.size() < 12) return;
  float v[12];
  int i = 0;
  for (auto it = list.begin(); i < 12; ++it, ++i) v[i] = static_cast<float>(std::atof(it->c_str()));
  _position.fSet(v[0], v[1], v[2]);
  _pivot.fSet(v[3], v[4], v[5]);
  _rotation.fSet(v[6], v[7], v[8]);
  _scale.fSet(v[9], v[10], v[11]);
}

QS_TRANSFORM3 QS_TRANSFORM3::fGetWorld(bool skipPosition, bool skipRotation, bool skipScale) const {
  QS_TRANSFORM3 result(*this);
  if (_parent) {
    QS_TRANSFORM3 parentWorld = _parent->fGetWorld(false, false, false);
    result.fApplyParent(parentWorld, skipPosition, skipRotation, skipScale);
  }
  return result;
}

void QS_TRANSFORM3::fApplyParent(QS_TRANSFORM3 p, bool skipPosition, bool skipRotation, bool skipScale) {
  if (!skipScale) {
    _scale.x *= p._scale.x;
    _scale.y *= p._scale.y;
    _scale.z *= p._scale.z;
    _position.x *= p._scale.x;
    _position.y *= p._scale.y;
  }
  if (!skipPosition) {
    _position.x += p._position.x;
    _position.y += p._position.y;
  }
  if (!skipRotation) {
    fRotatePoint(p._position.x, p._position.y, _position.x, _position.y, p._rotation.z);
    _rotation.x += p._rotation.x;
    _rotation.y += p._rotation.y;
    _rotation.z += p._rotation.z;
  }
}

QS_TRANSFORM3& QS_TRANSFORM3::operator+=(QS_TRANSFORM3 o) {
  _position.x += o._position.x;
  _position.y += o._position.y;
  fRotatePoint(o._position.x, o._position.y, _position.x, _position.y, o._rotation.z);
  _scale.x *= o._scale.x;
  _scale.y *= o._scale.y;
  _scale.z *= o._scale.z;
  _rotation.x += o._rotation.x;
  _rotation.y += o._rotation.y;
  _rotation.z += o._rotation.z;
  return *this;
}

const char* QS_TRANSFORM3::fToString() const {
  static char buffer[512];
  std::snprintf(buffer, sizeof buffer,
                "%.*f %.*f %.*f %.*f %.*f %.*f %.*f %.*f %.*f %.*f %.*f %.*f",
                3, _position.x, 3, _position.y, 3, _position.z, 3, _pivot.x, 3, _pivot.y, 3, _pivot.z,
                3, _rotation.x, 3, _rotation.y, 3, _rotation.z, 3, _scale.x, 3, _scale.y, 3, _scale.z);
  return buffer;
}

}  // namespace QEL
