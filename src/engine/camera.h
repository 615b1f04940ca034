#pragma once
// A free camera for camera-space drawing: a position and three unit axes from which it
// builds the device's view matrix. A new camera stands at the screen-space view's eye, so it
// shows the same picture until it is moved.
#include "engine/matrix.h"
#include "engine/vectors.h"

namespace platform {
class Device;
}

namespace QEL {

class QC_CAMERA {
 public:
  QC_CAMERA(platform::Device* device, float width, float height);

  void fSetPosition(float x, float y, float z);
  void fSetX(float x);
  void fSetY(float y);
  void fSetZ(float z);
  // Along the camera's own axes.
  void fMove(float forward, float right, float up);
  // The single-angle turns store their angle; only fRotate adds to the stored ones.
  void fYaw(float angle);
  void fPitch(float angle);
  void fRoll(float angle);
  // Stores the angles and puts the axes back to their defaults (the eye stays).
  void fSetRotation(float yaw, float pitch, float roll);
  // x yaw, y pitch, z roll, turned in that order.
  void fRotate(const QS_VECTOR3& angles);
  QS_VECTOR3 fGetForward() const { return _forward; }
  QS_VECTOR3 fGetUp() const { return _up; }
  QS_VECTOR3 fGetRight() const { return _right; }
  // Re-orthonormalises the axes, builds the view and sets it on the device.
  void fUpdateView();

  float _pitch = 0.0f, _yaw = 0.0f, _roll = 0.0f;
  QS_VECTOR3 _position;
  platform::Device* _device;
  QS_MATRIX4 _view;
  QS_VECTOR3 _eye;
  QS_VECTOR3 _forward{0.0f, 0.0f, 1.0f};
  QS_VECTOR3 _up{0.0f, 1.0f, 0.0f};
  QS_VECTOR3 _right{1.0f, 0.0f, 0.0f};

 private:
  void turnYaw(float angle);
  void turnPitch(float angle);
  void turnRoll(float angle);
};

}  // namespace QEL
