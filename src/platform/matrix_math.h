#pragma once
// Left-handed matrix helpers on 4x4 float matrices stored row by row (16 floats, points as
// row vectors, translation in the last row): the layout the device's transforms take.
namespace platform {

struct Vector3 {
  float x, y, z;
};

// out = a * b (row vectors: transformed by a first, then by b). out may alias a or b.
float* matrixMultiply(float* out, const float* a, const float* b);
float* matrixIdentity(float* out);
float* matrixTranslation(float* out, float x, float y, float z);
float* matrixScaling(float* out, float x, float y, float z);
// Roll about z first, then pitch about x, then yaw about y.
float* matrixRotationYawPitchRoll(float* out, float yaw, float pitch, float roll);
// View from eye towards at, left-handed.
float* matrixLookAtLH(float* out, const Vector3& eye, const Vector3& at, const Vector3& up);
// Left-handed perspective with depth mapped to [0, 1].
float* matrixPerspectiveFovLH(float* out, float fovY, float aspect, float zNear, float zFar);

}  // namespace platform
