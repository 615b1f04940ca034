#pragma once
// Steers a camera from the keyboard and the mouse, for looking around a scene while
// debugging: W/S forward and back, A/D left and right, Q/E roll, right mouse button to turn.
#include <cstdint>

namespace QEL {

class QC_CAMERA;

class QC_FLY_CAMERA {
 public:
  QC_FLY_CAMERA() = default;
  QC_FLY_CAMERA(QC_CAMERA* camera, float moveSpeed, float turnSpeed)
      : _camera(camera), _moveSpeed(moveSpeed), _turnSpeed(turnSpeed) {}

  void fSetCamera(QC_CAMERA* camera) { _camera = camera; }
  QC_CAMERA* fGetCamera() const { return _camera; }
  // 0 without a camera, else 1 after applying this frame's input.
  int32_t fUpdate();

 private:
  QC_CAMERA* _camera = nullptr;  // not owned
  float _moveSpeed = 20.0f;      // units per second
  float _turnSpeed = 3.1415927f;
};

}  // namespace QEL
