#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "engine/matrix.h"
#include "engine/transform.h"

using namespace QEL;

namespace {

constexpr float kHalfPi = 1.5707964f;

TEST(Matrix, ColumnByColumnConstructor) {
  QS_MATRIX4 m(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);
  EXPECT_EQ(m.m[0][1], 5.0f);
  EXPECT_EQ(m.m[1][0], 2.0f);
  EXPECT_EQ(static_cast<float*>(m)[1], 5.0f);
}

TEST(Matrix, RotationAxisNormalisesTheAxisAndMatchesRotationZ) {
  QS_VECTOR3 axis(0.0f, 0.0f, 5.0f);
  QS_MATRIX4 m;
  m.fRotationAxis(kHalfPi, axis);
  EXPECT_FLOAT_EQ(axis.z, 1.0f);
  QS_VECTOR3 p(1.0f, 0.0f, 0.0f);
  m.fTransformPoint(p);
  EXPECT_NEAR(p.x, 0.0f, 1e-6f);
  EXPECT_NEAR(p.y, 1.0f, 1e-6f);
  QS_MATRIX4 z;
  z.fRotationZ(kHalfPi);
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) EXPECT_NEAR(m.m[r][c], z.m[r][c], 1e-6f);
}

TEST(Matrix, TranslationMovesPointsButNotDirections) {
  QS_MATRIX4 m;
  m.fTranslation(QS_VECTOR3(1.0f, 2.0f, 3.0f));
  QS_VECTOR3 p(0.0f, 0.0f, 0.0f), d(1.0f, 0.0f, 0.0f);
  m.fTransformPoint(p);
  m.fTransformNormal(d);
  EXPECT_EQ(p, QS_VECTOR3(1.0f, 2.0f, 3.0f));
  EXPECT_EQ(d, QS_VECTOR3(1.0f, 0.0f, 0.0f));
  QS_VECTOR3 column = m.fTranspose().fTransformColumn(QS_VECTOR3(0.0f, 0.0f, 0.0f));
  EXPECT_EQ(column, QS_VECTOR3(1.0f, 2.0f, 3.0f));
}

TEST(Matrix, ProductAppliesTheArgumentFirst) {
  QS_MATRIX4 a, b;
  a.fTranslation(QS_VECTOR3(1.0f, 0.0f, 0.0f));
  b.fScaling(QS_VECTOR3(2.0f, 2.0f, 2.0f));
  QS_MATRIX4 p = a * b;
  QS_VECTOR3 v(1.0f, 0.0f, 0.0f);
  p.fTransformPoint(v);
  EXPECT_FLOAT_EQ(v.x, 3.0f);
  a *= b;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) EXPECT_EQ(a.m[r][c], p.m[r][c]);
  QS_MATRIX4 sum = b + b - b * 0.5f;
  EXPECT_FLOAT_EQ(sum.m[0][0], 3.0f);
}

TEST(Matrix, BuildersOverwriteEveryElement) {
  QS_MATRIX4 m;
  m.fScaling(QS_VECTOR3(2.0f, 3.0f, 4.0f));
  m.fRotationX(kHalfPi);
  EXPECT_EQ(m.m[0][0], 1.0f);
  QS_VECTOR3 p(0.0f, 1.0f, 0.0f);
  m.fTransformPoint(p);
  EXPECT_NEAR(p.z, 1.0f, 1e-6f);
  m.fRotationY(kHalfPi);
  QS_VECTOR3 q(1.0f, 0.0f, 0.0f);
  m.fTransformPoint(q);
  EXPECT_NEAR(q.z, -1.0f, 1e-6f);
}

TEST(Transform, ChildUnderRotatedScaledParent) {
  QS_TRANSFORM3 parent;
  parent.fSetPosition(100.0f, 100.0f, 0.0f);
  parent.fSetRotationZ(kHalfPi);
  parent.fSetScale(2.0f, 2.0f, 2.0f);
  QS_TRANSFORM3 child;
  child.fSetPosition(10.0f, 0.0f, 0.0f);
  child.fSetRotationZ(0.25f);
  child.fSetScale(1.5f, 1.0f, 1.0f);
  child._parent = &parent;
  QS_TRANSFORM3 w = child.fGetWorld(false, false, false);
  EXPECT_NEAR(w._position.x, 100.0f, 1e-4f);
  EXPECT_NEAR(w._position.y, 120.0f, 1e-4f);
  EXPECT_FLOAT_EQ(w._scale.x, 3.0f);
  EXPECT_NEAR(w._rotation.z, kHalfPi + 0.25f, 1e-6f);
  EXPECT_EQ(w._parent, &parent);

  QS_TRANSFORM3 noScale = child.fGetWorld(false, false, true);
  EXPECT_NEAR(noScale._position.x, 100.0f, 1e-4f);
  EXPECT_NEAR(noScale._position.y, 110.0f, 1e-4f);
  QS_TRANSFORM3 noPosition = child.fGetWorld(true, false, false);
  EXPECT_NEAR(noPosition._position.x, 200.0f, 1e-4f);
  EXPECT_NEAR(noPosition._position.y, 20.0f, 1e-4f);
}

TEST(Transform, GrandparentIsCombinedInFullWhateverTheCallerSkips) {
  QS_TRANSFORM3 grand, parent, child;
  grand.fSetPosition(50.0f, 0.0f, 0.0f);
  grand.fSetScale(2.0f, 2.0f, 1.0f);
  parent.fSetPosition(10.0f, 0.0f, 0.0f);
  parent._parent = &grand;
  child.fSetPosition(1.0f, 0.0f, 0.0f);
  child._parent = &parent;
  QS_TRANSFORM3 w = child.fGetWorld(true, true, true);
  EXPECT_FLOAT_EQ(w._position.x, 1.0f);  // this step skipped entirely
  QS_TRANSFORM3 full = child.fGetWorld(false, false, false);
  EXPECT_FLOAT_EQ(full._position.x, 2.0f + 70.0f);  // parent world (70, 0) scale 2
}

TEST(Transform, TextFormRoundTripsToThreeDecimals) {
  QS_TRANSFORM3 t;
  EXPECT_EQ(std::string(t.fToString()),
            "0.000 0.000 0.000 0.000 0.000 0.000 0.000 0.000 0.000 1.000 1.000 1.000");
  t.fSetPosition(1.25f, -2.5f, 3.0f);
  t.fSetPivot(4.0f, 5.0f, 6.0f);
  t.fSetRotation(0.125f, 0.25f, 0.5f);
  t.fSetScale(7.0f, 8.0f, 9.0f);
  QS_TRANSFORM3 parent;
  t._parent = &parent;
  QS_TRANSFORM3 back(t.fToString());
  EXPECT_FLOAT_EQ(back._position.y, -2.5f);
  EXPECT_FLOAT_EQ(back._pivot.z, 6.0f);
  EXPECT_FLOAT_EQ(back._rotation.x, 0.125f);
  EXPECT_FLOAT_EQ(back._scale.z, 9.0f);
  EXPECT_EQ(back._parent, nullptr);
  QS_TRANSFORM3 shortText("1 2 3");
  EXPECT_FLOAT_EQ(shortText._scale.x, 1.0f);  // too few numbers: defaults
}

TEST(Transform, AddingDoesNotScaleThePosition) {
  QS_TRANSFORM3 a, b;
  a.fSetPosition(10.0f, 0.0f, 0.0f);
  b.fSetPosition(5.0f, 0.0f, 0.0f);
  b.fSetScale(2.0f, 2.0f, 2.0f);
  a += b;
  EXPECT_FLOAT_EQ(a._position.x, 15.0f);
  EXPECT_FLOAT_EQ(a._scale.x, 2.0f);
}

}  // namespace
