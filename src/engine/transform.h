#pragma once
// The placement of every drawable, widget and card: pivot, rotation (radians), scale and
// position, optionally hanging under a parent transform whose scale, position and z
// rotation it inherits.
#include "engine/vectors.h"

namespace QEL {

struct QS_TRANSFORM3 {
  QS_VECTOR3 _pivot{0.0f, 0.0f, 0.0f};
  QS_VECTOR3 _rotation{0.0f, 0.0f, 0.0f};  // z is the angle of 2D drawing, clockwise on screen
  QS_VECTOR3 _scale{1.0f, 1.0f, 1.0f};
  QS_VECTOR3 _position{0.0f, 0.0f, 0.0f};  // pixels in screen space
  QS_TRANSFORM3* _parent = nullptr;        // not owned; chains must not loop

  QS_TRANSFORM3() = default;
  QS_TRANSFORM3(const QS_TRANSFORM3&) = default;
  QS_TRANSFORM3& operator=(const QS_TRANSFORM3&) = default;
  // Twelve blank-separated numbers in the order of fToString. With fewer, the defaults stay.
  explicit QS_TRANSFORM3(const char* text);

  void fSetPosition(float x, float y, float z) { _position.fSet(x, y, z); }
  void fSetPosition(const QS_VECTOR3& p) { _position = p; }
  void fSetPosition(const QS_VECTOR2& p) { _position.x = p.x; _position.y = p.y; }
  void fSetPivot(float x, float y, float z) { _pivot.fSet(x, y, z); }
  void fSetScale(float x, float y, float z) { _scale.fSet(x, y, z); }
  void fSetRotationZ(float angle) { _rotation.z = angle; }
  void fSetRotation(float x, float y, float z) { _rotation.fSet(x, y, z); }
  QS_VECTOR2 fGetPosition() const { return {_position.x, _position.y}; }
  QS_VECTOR2& fGetPosition(QS_VECTOR2& out) const {
    out.fSet(_position.x, _position.y);
    return out;
  }
  QS_VECTOR3 fGetPosition3() const { return _position; }
  void fMove(float dx, float dy) { _position.x += dx; _position.y += dy; }

  // This transform combined with its parents (each parent above in full); the skip flags
  // act on the last step only. The result keeps this transform's parent pointer.
  QS_TRANSFORM3 fGetWorld(bool skipPosition, bool skipRotation, bool skipScale) const;
  // Combines with the given parent in place: scale, then position, then rotation.
  void fApplyParent(QS_TRANSFORM3 parent, bool skipPosition, bool skipRotation, bool skipScale);
  // Adds another transform; unlike fApplyParent the position is not scaled.
  QS_TRANSFORM3& operator+=(QS_TRANSFORM3 other);
  // Position, pivot, rotation and scale with three decimals, in a buffer shared by all
  // transforms that the next call overwrites.
  const char* fToString() const;
};

}  // namespace QEL
