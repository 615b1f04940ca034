#include <gtest/gtest.h>

#include <cmath>

#include "engine/camera.h"
#include "engine/texture.h"
#include "platform/matrix_math.h"

using namespace QEL;

namespace {

TEST(Camera, NewCameraSeesTheScreenSpaceView) {
  QC_CAMERA camera(nullptr, 1024.0f, 768.0f);
  const float d = 384.5f / std::tan(QC_PI / 8.0f);
  EXPECT_FLOAT_EQ(camera._eye.x, 512.5f);
  EXPECT_FLOAT_EQ(camera._eye.y, -384.5f);
  EXPECT_NEAR(camera._eye.z, -d, 1e-3f);
  float screen[16];
  platform::matrixLookAtLH(screen, {512.5f, -384.5f, -d}, {512.5f, -384.5f, 0.0f}, {0.0f, 1.0f, 0.0f});
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(static_cast<const float*>(camera._view)[i], screen[i], 1e-3f);
}

TEST(Camera, YawTurnsForwardAboutUp) {
  QC_CAMERA camera(nullptr, 1024.0f, 768.0f);
  camera.fYaw(QC_PI / 2.0f);
  EXPECT_NEAR(camera.fGetForward().x, 1.0f, 1e-6f);
  EXPECT_NEAR(camera.fGetForward().z, 0.0f, 1e-6f);
  EXPECT_NEAR(camera.fGetRight().z, -1.0f, 1e-6f);
  EXPECT_NEAR(camera.fGetUp().y, 1.0f, 1e-6f);
  EXPECT_FLOAT_EQ(camera._yaw, QC_PI / 2.0f);
  camera.fRotate(QS_VECTOR3(0.5f, 0.0f, 0.0f));
  EXPECT_FLOAT_EQ(camera._yaw, QC_PI / 2.0f + 0.5f);
}

TEST(Camera, SetRotationRestoresTheAxesButKeepsTheEye) {
  QC_CAMERA camera(nullptr, 1024.0f, 768.0f);
  camera.fPitch(0.3f);
  camera.fRoll(0.2f);
  const QS_VECTOR3 eye = camera._eye;
  camera.fSetRotation(1.0f, 2.0f, 3.0f);
  EXPECT_EQ(camera.fGetForward(), QS_VECTOR3(0.0f, 0.0f, 1.0f));
  EXPECT_EQ(camera.fGetUp(), QS_VECTOR3(0.0f, 1.0f, 0.0f));
  EXPECT_EQ(camera._eye, eye);
  EXPECT_FLOAT_EQ(camera._roll, 3.0f);
}

TEST(Camera, MoveGoesAlongTheCamerasAxes) {
  QC_CAMERA camera(nullptr, 1024.0f, 768.0f);
  const float z = camera._eye.z;
  camera.fMove(10.0f, 0.0f, 0.0f);
  EXPECT_FLOAT_EQ(camera._eye.z, z + 10.0f);
  EXPECT_EQ(camera._position, camera._eye);
  camera.fSetX(3.0f);
  EXPECT_FLOAT_EQ(camera._position.x, 3.0f);
}

TEST(TextureHandle, NewHandleIsEmpty) {
  QC_TEXTURE texture;
  EXPECT_EQ(texture.fGetSize(), QS_POINT(0, 0));
  EXPECT_EQ(texture._deviceTexture, nullptr);
}

}  // namespace
