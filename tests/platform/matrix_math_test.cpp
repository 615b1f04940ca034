#include "platform/matrix_math.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace platform;

namespace {

Vector3 transform(const float* m, Vector3 p) {
  return {p.x * m[0] + p.y * m[4] + p.z * m[8] + m[12], p.x * m[1] + p.y * m[5] + p.z * m[9] + m[13],
          p.x * m[2] + p.y * m[6] + p.z * m[10] + m[14]};
}

TEST(MatrixMath, YawPiRollPiFlipsYAndZ) {
  float m[16];
  matrixRotationYawPitchRoll(m, 3.14159265f, 0.0f, 3.14159265f);
  Vector3 p = transform(m, {1.0f, 2.0f, 3.0f});
  EXPECT_NEAR(p.x, 1.0f, 1e-5f);
  EXPECT_NEAR(p.y, -2.0f, 1e-5f);
  EXPECT_NEAR(p.z, -3.0f, 1e-5f);
}

TEST(MatrixMath, YawPitchRollTurnsRollFirstThenPitchThenYaw) {
  float m[16];
  // Roll a quarter turn takes x to y; pitch a quarter turn then takes y to z.
  matrixRotationYawPitchRoll(m, 0.0f, 1.5707964f, 1.5707964f);
  Vector3 p = transform(m, {1.0f, 0.0f, 0.0f});
  EXPECT_NEAR(p.x, 0.0f, 1e-5f);
  EXPECT_NEAR(p.y, 0.0f, 1e-5f);
  EXPECT_NEAR(p.z, 1.0f, 1e-5f);
}

TEST(MatrixMath, MultiplyAppliesTheLeftMatrixFirst) {
  float t[16], s[16], m[16];
  matrixTranslation(t, 1.0f, 0.0f, 0.0f);
  matrixScaling(s, 2.0f, 2.0f, 2.0f);
  matrixMultiply(m, t, s);
  EXPECT_NEAR(transform(m, {1.0f, 0.0f, 0.0f}).x, 4.0f, 1e-6f);
  matrixMultiply(m, s, t);
  EXPECT_NEAR(transform(m, {1.0f, 0.0f, 0.0f}).x, 3.0f, 1e-6f);
  matrixMultiply(t, t, s);  // aliasing the output is allowed
  EXPECT_NEAR(transform(t, {1.0f, 0.0f, 0.0f}).x, 4.0f, 1e-6f);
}

TEST(MatrixMath, LookAtPutsTheEyeAtTheOriginLookingDownZ) {
  float v[16];
  matrixLookAtLH(v, {512.5f, -384.5f, -928.0f}, {512.5f, -384.5f, 0.0f}, {0.0f, 1.0f, 0.0f});
  Vector3 eye = transform(v, {512.5f, -384.5f, -928.0f});
  EXPECT_NEAR(eye.x, 0.0f, 1e-3f);
  EXPECT_NEAR(eye.y, 0.0f, 1e-3f);
  EXPECT_NEAR(eye.z, 0.0f, 1e-3f);
  Vector3 target = transform(v, {512.5f, -384.5f, 0.0f});
  EXPECT_NEAR(target.z, 928.0f, 1e-3f);
}

TEST(MatrixMath, PerspectiveMapsTheNearAndFarPlanesToZeroAndOne) {
  float p[16];
  matrixPerspectiveFovLH(p, 3.14159265f / 4.0f, 4.0f / 3.0f, 0.1f, 100.0f);
  EXPECT_NEAR(p[5], 1.0f / std::tan(3.14159265f / 8.0f), 1e-5f);
  EXPECT_NEAR(p[0], p[5] * 0.75f, 1e-5f);
  EXPECT_EQ(p[11], 1.0f);
  // z_clip / w for a point on each plane
  EXPECT_NEAR((0.1f * p[10] + p[14]) / 0.1f, 0.0f, 1e-5f);
  EXPECT_NEAR((100.0f * p[10] + p[14]) / 100.0f, 1.0f, 1e-5f);
}

}  // namespace
