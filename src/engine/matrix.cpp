#include "engine/matrix.h"

#include <cmath>

#include "engine/log.h"

namespace QEL {

QS_MATRIX4::QS_MATRIX4(float c0r0, float c0r1, float c0r2, float c0r3, float c1r0, float c1r1,
                       float c1r2, float c1r3, float c2r0, float c2r1, float c2r2, float c2r3,
                       float c3r0, float c3r1, float c3r2, float c3r3) {
  const float v[16] = {c0r0, c0r1, c0r2, c0r3, c1r0, c1r1, c1r2, c1r3,
                       c2r0, c2r1, c2r2, c2r3, c3r0, c3r1, c3r2, c3r3};
  for (int c = 0; c < 4; ++c)
    for (int r = 0; r < 4; ++r) m[r][c] = v[c * 4 + r];
}

QS_MATRIX4& QS_MATRIX4::fIdentity() {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) m[r][c] = (r == c) ? 1.0f : 0.0f;
  return *this;
}

QS_MATRIX4& QS_MATRIX4::fTranslation(const QS_VECTOR3& v) {
  fIdentity();
  m[3][0] = v.x;
  m[3][1] = v.y;
  m[3][2] = v.z;
  return *this;
}

QS_MATRIX4& QS_MATRIX4::fTranslationX(float x) {
  fIdentity();
  m[3][0] = x;
  return *this;
}

QS_MATRIX4& QS_MATRIX4::fTranslationY(float y) {
  fIdentity();
  m[3][1] = y;
  return *this;
}

QS_MATRIX4& QS_MATRIX4::fTranslationZ(float z) {
  fIdentity();
  m[3][2] = z;
  return *this;
}

QS_MATRIX4& QS_MATRIX4::fRotationX(float angle) {
  fIdentity();
  float c = std::cos(angle), s = std::sin(angle);
  m[1][1] = c;
  m[1][2] = s;
  m[2][1] = -s;
  m[2][2] = c;
  return *this;
}

QS_MATRIX4& QS_MATRIX4::fRotationY(float angle) {
  fIdentity();
  float c = std::cos(angle), s = std::sin(angle);
  m[0][0] = c;
  m[0][2] = -s;
  m[2][0] = s;
  m[2][2] = c;
  return *this;
}

QS_MATRIX4& QS_MATRIX4::fRotationZ(float angle) {
  fIdentity();
  float c = std::cos(angle), s = std::sin(angle);
  m[0][0] = c;
  m[0][1] = s;
  m[1][0] = -s;
  m[1][1] = c;
  return *this;
}

QS_MATRIX4& QS_MATRIX4::fRotationAxis(float angle, QS_VECTOR3& axis) {
  axis.fNormalize();
  const float x = axis.x, y = axis.y, z = axis.z;
  const float c = std::cos(angle), s = std::sin(angle), t = 1.0f - c;
  m[0][0] = t * x * x + c;     m[0][1] = t * x * y + s * z; m[0][2] = t * x * z - s * y; m[0][3] = 0.0f;
  m[1][0] = t * x * y - s * z; m[1][1] = t * y * y + c;     m[1][2] = t * y * z + s * x; m[1][3] = 0.0f;
  m[2][0] = t * x * z + s * y; m[2][1] = t * y * z - s * x; m[2][2] = t * z * z + c;     m[2][3] = 0.0f;
  m[3][0] = 0.0f;              m[3][1] = 0.0f;              m[3][2] = 0.0f;              m[3][3] = 1.0f;
  return *this;
}

QS_MATRIX4& QS_MATRIX4::fScaling(const QS_VECTOR3& v) {
  fIdentity();
  m[0][0] = v.x;
  m[1][1] = v.y;
  m[2][2] = v.z;
  return *this;
}

QS_VECTOR3& QS_MATRIX4::fTransformPoint(QS_VECTOR3& v) const {
  const float x = v.x, y = v.y, z = v.z;
  v.x = x * m[0][0] + y * m[1][0] + z * m[2][0] + m[3][0];
  v.y = x * m[0][1] + y * m[1][1] + z * m[2][1] + m[3][1];
  v.z = x * m[0][2] + y * m[1][2] + z * m[2][2] + m[3][2];
  return v;
}

QS_VECTOR3& QS_MATRIX4::fTransformNormal(QS_VECTOR3& v) const {
  const float x = v.x, y = v.y, z = v.z;
  v.x = x * m[0][0] + y * m[1][0] + z * m[2][0];
  v.y = x * m[0][1] + y * m[1][1] + z * m[2][1];
  v.z = x * m[0][2] + y * m[1][2] + z * m[2][2];
  return v;
}

QS_VECTOR3 QS_MATRIX4::fTransformColumn(const QS_VECTOR3& v) const {
  return {m[0][0] * v.x + m[0][1] * v.y + m[0][2] * v.z + m[0][3],
          m[1][0] * v.x + m[1][1] * v.y + m[1][2] * v.z + m[1][3],
          m[2][0] * v.x + m[2][1] * v.y + m[2][2] * v.z + m[2][3]};
}

QS_MATRIX4 QS_MATRIX4::operator+(const QS_MATRIX4& o) const {
  QS_MATRIX4 p;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) p.m[r][c] = m[r][c] + o.m[r][c];
  return p;
}

QS_MATRIX4 QS_MATRIX4::operator-(const QS_MATRIX4& o) const {
  QS_MATRIX4 p;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) p.m[r][c] = m[r][c] - o.m[r][c];
  return p;
}

QS_MATRIX4 QS_MATRIX4::operator*(float factor) const {
  QS_MATRIX4 p;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) p.m[r][c] = m[r][c] * factor;
  return p;
}

QS_MATRIX4 QS_MATRIX4::operator*(const QS_MATRIX4& b) const {
  QS_MATRIX4 p;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) {
      float sum = 0.0f;
      for (int k = 0; k < 4; ++k) sum += b.m[r][k] * m[k][c];
      p.m[r][c] = sum;
    }
  return p;
}

QS_MATRIX4& QS_MATRIX4::operator*=(const QS_MATRIX4& b) {
  *this = *this * b;
  return *this;
}

QS_MATRIX4 QS_MATRIX4::fTranspose() const {
  QS_MATRIX4 p;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) p.m[r][c] = m[c][r];
  return p;
}

void QS_MATRIX4::fPrint() const {
  for (int r = 0; r < 4; ++r) fLog("\n", m[r][0], " ", m[r][1], " ", m[r][2], " ", m[r][3]);
}

}  // namespace QEL
