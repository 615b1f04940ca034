#include "engine/camera.h"

#include <cmath>

#include "platform/device.h"

namespace QEL {

QC_CAMERA::QC_CAMERA(platform::Device* device, float width, float height) : _device(device) {
  const float halfHeight = (height + 1.0f) / 2.0f;
  _eye = QS_VECTOR3((width + 1.0f) / 2.0f, -halfHeight, -halfHeight / std::tan(QC_PI / 8.0f));
  _position = _eye;
  fUpdateView();
}

void QC_CAMERA::fSetPosition(float x, float y, float z) {
  _eye.fSet(x, y, z);
  _position = _eye;
  fUpdateView();
}

void QC_CAMERA::fSetX(float x) {
  _eye.x = x;
  _position = _eye;
  fUpdateView();
}

void QC_CAMERA::fSetY(float y) {
  _eye.y = y;
  _position = _eye;
  fUpdateView();
}

void QC_CAMERA::fSetZ(float z) {
  _eye.z = z;
  _position = _eye;
  fUpdateView();
}

void QC_CAMERA::fMove(float forward, float right, float up) {
  _eye += _forward * forward + _right * right + _up * up;
  _position = _eye;
  fUpdateView();
}

void QC_CAMERA::turnYaw(float angle) {
  QS_MATRIX4 m;
  QS_VECTOR3 axis = _up;
  m.fRotationAxis(angle, axis);
  m.fTransformNormal(_forward);
}

void QC_CAMERA::turnPitch(float angle) {
  QS_MATRIX4 m;
  QS_VECTOR3 axis = _right;
  m.fRotationAxis(angle, axis);
  m.fTransformNormal(_forward);
  m.fTransformNormal(_up);
}

void QC_CAMERA::turnRoll(float angle) {
  QS_MATRIX4 m;
  QS_VECTOR3 axis = _forward;
  m.fRotationAxis(angle, axis);
  m.fTransformNormal(_right);
  m.fTransformNormal(_up);
}

void QC_CAMERA::fYaw(float angle) {
  _yaw = angle;
  turnYaw(angle);
  fUpdateView();
}

void QC_CAMERA::fPitch(float angle) {
  _pitch = angle;
  turnPitch(angle);
  fUpdateView();
}

void QC_CAMERA::fRoll(float angle) {
  _roll = angle;
  turnRoll(angle);
  fUpdateView();
}

void QC_CAMERA::fSetRotation(float yaw, float pitch, float roll) {
  _yaw = yaw;
  _pitch = pitch;
  _roll = roll;
  _forward.fSet(0.0f, 0.0f, 1.0f);
  _up.fSet(0.0f, 1.0f, 0.0f);
  _right.fSet(1.0f, 0.0f, 0.0f);
  fUpdateView();
}

void QC_CAMERA::fRotate(const QS_VECTOR3& angles) {
  _yaw += angles.x;
  _pitch += angles.y;
  _roll += angles.z;
  turnYaw(angles.x);
  turnPitch(angles.y);
  turnRoll(angles.z);
  fUpdateView();
}

void QC_CAMERA::fUpdateView() {
  _forward.fNormalize();
  _right = QS_VECTOR3::fCross(_up, _forward);
  _right.fNormalize();
  _up = QS_VECTOR3::fCross(_forward, _right);
  _up.fNormalize();
  float (&m)[4][4] = _view.m;
  m[0][0] = _right.x; m[0][1] = _up.x; m[0][2] = _forward.x; m[0][3] = 0.0f;
  m[1][0] = _right.y; m[1][1] = _up.y; m[1][2] = _forward.y; m[1][3] = 0.0f;
  m[2][0] = _right.z; m[2][1] = _up.z; m[2][2] = _forward.z; m[2][3] = 0.0f;
  m[3][0] = -QS_VECTOR3::fDot(_eye, _right);
  m[3][1] = -QS_VECTOR3::fDot(_eye, _up);
  m[3][2] = -QS_VECTOR3::fDot(_eye, _forward);
  m[3][3] = 1.0f;
  if (_device) _device->setTransform(platform::TransformKind::view, _view);
}

}  // namespace QEL
