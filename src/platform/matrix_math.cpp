#include "platform/matrix_math.h"

#include <cmath>
#include <cstring>

namespace platform {
namespace {

Vector3 sub(const Vector3& a, const Vector3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vector3 cross(const Vector3& a, const Vector3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
float dot(const Vector3& a, const Vector3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vector3 normalized(const Vector3& v) {
  const float length = std::sqrt(dot(v, v));
  if (length == 0.0f) return v;
  return {v.x / length, v.y / length, v.z / length};
}

}  // namespace

float* matrixMultiply(float* out, const float* a, const float* b) {
  float p[16];
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) {
      float sum = 0.0f;
      for (int k = 0; k < 4; ++k) sum += a[r * 4 + k] * b[k * 4 + c];
      p[r * 4 + c] = sum;
    }
  std::memcpy(out, p, sizeof p);
  return out;
}

float* matrixIdentity(float* out) {
  for (int i = 0; i < 16; ++i) out[i] = (i % 5 == 0) ? 1.0f : 0.0f;
  return out;
}

float* matrixTranslation(float* out, float x, float y, float z) {
  matrixIdentity(out);
  out[12] = x;
  out[13] = y;
  out[14] = z;
  return out;
}

float* matrixScaling(float* out, float x, float y, float z) {
  matrixIdentity(out);
  out[0] = x;
  out[5] = y;
  out[10] = z;
  return out;
}

float* matrixRotationYawPitchRoll(float* out, float yaw, float pitch, float roll) {
  const float cy = std::cos(yaw), sy = std::sin(yaw);
  const float cp = std::cos(pitch), sp = std::sin(pitch);
  const float cr = std::cos(roll), sr = std::sin(roll);
  float z[16], x[16], y[16];
  matrixIdentity(z);
  z[0] = cr; z[1] = sr; z[4] = -sr; z[5] = cr;
  matrixIdentity(x);
  x[5] = cp; x[6] = sp; x[9] = -sp; x[10] = cp;
  matrixIdentity(y);
  y[0] = cy; y[2] = -sy; y[8] = sy; y[10] = cy;
  matrixMultiply(out, z, x);
  return matrixMultiply(out, out, y);
}

float* matrixLookAtLH(float* out, const Vector3& eye, const Vector3& at, const Vector3& up) {
  const Vector3 zAxis = normalized(sub(at, eye));
  const Vector3 xAxis = normalized(cross(up, zAxis));
  const Vector3 yAxis = cross(zAxis, xAxis);
  const float m[16] = {xAxis.x, yAxis.x, zAxis.x, 0.0f,
                       xAxis.y, yAxis.y, zAxis.y, 0.0f,
                       xAxis.z, yAxis.z, zAxis.z, 0.0f,
                       -dot(xAxis, eye), -dot(yAxis, eye), -dot(zAxis, eye), 1.0f};
  std::memcpy(out, m, sizeof m);
  return out;
}

float* matrixPerspectiveFovLH(float* out, float fovY, float aspect, float zNear, float zFar) {
  const float yScale = 1.0f / std::tan(fovY / 2.0f);
  const float xScale = yScale / aspect;
  const float q = zFar / (zFar - zNear);
  const float m[16] = {xScale, 0.0f, 0.0f, 0.0f,
                       0.0f, yScale, 0.0f, 0.0f,
                       0.0f, 0.0f, q, 1.0f,
                       0.0f, 0.0f, -zNear * q, 0.0f};
  std::memcpy(out, m, sizeof m);
  return out;
}

}  // namespace platform
