// The fly camera: keys move and roll the camera by speed x frame time, the right mouse
// button turns it by the pointer's motion.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/camera.h"
#include "engine/globals.h"
#include "engine/input.h"
#include "primitives/fly_camera.h"

using namespace QEL;

namespace {

class FlyCameraTest : public ::testing::Test {
 protected:
  void SetUp() override {
    _savedDelta = qcFRAME_DELTA;
    qcFRAME_DELTA = 0.5f;
  }
  void TearDown() override { qcFRAME_DELTA = _savedDelta; }
  QK_BUTTON _input;
  QC_CAMERA _camera{nullptr, 1024.0f, 768.0f};
  float _savedDelta = 0.0f;
};

TEST_F(FlyCameraTest, WithoutACameraNothingHappens) {
  QC_FLY_CAMERA fly;
  EXPECT_EQ(fly.fUpdate(), 0);
  fly.fSetCamera(&_camera);
  EXPECT_EQ(fly.fGetCamera(), &_camera);
  EXPECT_EQ(fly.fUpdate(), 1);
}

TEST_F(FlyCameraTest, HeldKeysAddUp) {
  QC_FLY_CAMERA fly(&_camera, 20.0f, 3.1415927f);
  const QS_VECTOR3 start = _camera._eye;
  const QS_VECTOR3 forward = _camera.fGetForward();
  const QS_VECTOR3 right = _camera.fGetRight();
  _input.fOnKeyDown('W');
  _input.fOnKeyDown('D');
  EXPECT_EQ(fly.fUpdate(), 1);
  EXPECT_NEAR(_camera._eye.x, start.x + 10.0f * forward.x + 10.0f * right.x, 1e-3);
  EXPECT_NEAR(_camera._eye.z, start.z + 10.0f * forward.z + 10.0f * right.z, 1e-3);
  _input.fOnKeyDown('S');  // forward and back cancel
  _input.fOnKeyDown('A');
  const QS_VECTOR3 before = _camera._eye;
  fly.fUpdate();
  EXPECT_NEAR(_camera._eye.x, before.x, 1e-3);
  EXPECT_NEAR(_camera._eye.z, before.z, 1e-3);

  _input.fOnKeyDown('Q');
  fly.fUpdate();
  EXPECT_NEAR(_camera._roll, 3.1415927f * 0.5f, 1e-5);
}

TEST_F(FlyCameraTest, RightButtonTurnsByThePointerMotion) {
  QC_FLY_CAMERA fly(&_camera, 20.0f, 3.1415927f);
  _input.fOnMouseMove(100, 100);
  _input.fEndFrame();
  _input.fOnMouseMove(110, 95);
  fly.fUpdate();  // the button is up: no turn
  EXPECT_FLOAT_EQ(_camera._yaw, 0.0f);
  _input.fOnKeyDown(2);
  fly.fUpdate();
  const float t = 3.1415927f * 0.5f;
  EXPECT_NEAR(_camera._yaw, 2.0f * 10.0f * t * 0.017453292f, 1e-5);
  EXPECT_NEAR(_camera._pitch, 2.0f * -5.0f * t * 0.017453292f, 1e-5);
}

}  // namespace
