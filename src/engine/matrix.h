#pragma once
// A 4x4 float matrix laid out as the device expects: row by row, points as row vectors,
// translation in the last row. It converts to a pointer to its 16 floats.
#include "engine/vectors.h"

namespace QEL {

struct QS_MATRIX4 {
  float m[4][4];

  QS_MATRIX4() { fIdentity(); }
  // Given column by column: m00, m10, m20, m30, then m01, m11, ...
  QS_MATRIX4(float c0r0, float c0r1, float c0r2, float c0r3, float c1r0, float c1r1, float c1r2,
             float c1r3, float c2r0, float c2r1, float c2r2, float c2r3, float c3r0, float c3r1,
             float c3r2, float c3r3);

  operator float*() { return &m[0][0]; }
  operator const float*() const { return &m[0][0]; }

  // Builders overwrite all sixteen elements and return this matrix.
  QS_MATRIX4& fIdentity();
  QS_MATRIX4& fTranslation(const QS_VECTOR3& v);
  QS_MATRIX4& fTranslationX(float x);
  QS_MATRIX4& fTranslationY(float y);
  QS_MATRIX4& fTranslationZ(float z);
  QS_MATRIX4& fRotationX(float angle);
  QS_MATRIX4& fRotationY(float angle);
  QS_MATRIX4& fRotationZ(float angle);
  // The axis is normalised in place.
  QS_MATRIX4& fRotationAxis(float angle, QS_VECTOR3& axis);
  QS_MATRIX4& fScaling(const QS_VECTOR3& v);

  // (x, y, z, 1) times the matrix, in place.
  QS_VECTOR3& fTransformPoint(QS_VECTOR3& v) const;
  // (x, y, z, 0) times the matrix, in place.
  QS_VECTOR3& fTransformNormal(QS_VECTOR3& v) const;
  // The matrix times the column (x, y, z, 1).
  QS_VECTOR3 fTransformColumn(const QS_VECTOR3& v) const;

  QS_MATRIX4 operator+(const QS_MATRIX4& o) const;
  QS_MATRIX4 operator-(const QS_MATRIX4& o) const;
  QS_MATRIX4 operator*(float factor) const;
  // this (A) * B gives B·A: a row vector is transformed by B first, then by A.
  QS_MATRIX4 operator*(const QS_MATRIX4& b) const;
  QS_MATRIX4& operator*=(const QS_MATRIX4& b);
  QS_MATRIX4 fTranspose() const;
  // Four log messages, one per row.
  void fPrint() const;
};

static_assert(sizeof(QS_MATRIX4) == 64, "QS_MATRIX4 is the device's 16-float matrix");

}  // namespace QEL
