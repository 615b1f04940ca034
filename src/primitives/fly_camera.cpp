#include "primitives/fly_camera.h"

#include "engine/camera.h"
#include "engine/globals.h"
#include "engine/input.h"
#include "platform/key_codes.h"

namespace QEL {

int32_t QC_FLY_CAMERA::fUpdate() {
  if (_camera == nullptr) return 0;
  const QK_BUTTON* input = qcINPUT_INSTANCE;
  if (input == nullptr) return 1;  // nothing to steer by
  auto down = [input](uint32_t code) { return input->fGetState(code) != 0; };
  const float m = _moveSpeed * qcFRAME_DELTA;
  const float t = _turnSpeed * qcFRAME_DELTA;
  if (down('D')) _camera->fMove(0.0f, m, 0.0f);
  if (down('A')) _camera->fMove(0.0f, -m, 0.0f);
  if (down('W')) _camera->fMove(m, 0.0f, 0.0f);
  if (down('S')) _camera->fMove(-m, 0.0f, 0.0f);
  if (down('Q')) _camera->fRotate(QS_VECTOR3(0.0f, 0.0f, t));
  if (down('E')) _camera->fRotate(QS_VECTOR3(0.0f, 0.0f, -t));
  if (down(platform::RIGHT_BUTTON)) {
    const QS_POINT now = input->fGetMousePosition();
    const QS_POINT before = input->fGetPreviousMousePosition();
    const int32_t dx = now.x - before.x;
    const int32_t dy = now.y - before.y;
    if (dx != 0) _camera->fRotate(QS_VECTOR3(2.0f * static_cast<float>(dx) * t * 0.017453292f, 0.0f, 0.0f));
    if (dy != 0) _camera->fRotate(QS_VECTOR3(0.0f, 2.0f * static_cast<float>(dy) * t * 0.017453292f, 0.0f));
  }
  return 1;
}

}  // namespace QEL
