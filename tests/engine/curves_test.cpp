#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <list>

#include "engine/curves.h"
#include "engine/globals.h"
#include "engine/random.h"

using namespace QEL;

namespace {

TEST(Curves, LerpEndsExactForFloatsClampedForVectors) {
  EXPECT_FLOAT_EQ(fLerp(2.0f, 4.0f, 0.5f), 3.0f);
  EXPECT_FLOAT_EQ(fLerp(2.0f, 4.0f, 2.0f), 6.0f);
  EXPECT_FLOAT_EQ(fLerp(QS_VECTOR2(2.0f, 2.0f), QS_VECTOR2(4.0f, 4.0f), 2.0f).x, 4.0f);
  EXPECT_FLOAT_EQ(fLerp(QS_VECTOR3(2.0f, 2.0f, 2.0f), QS_VECTOR3(4.0f, 4.0f, 4.0f), -1.0f).z, 2.0f);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  EXPECT_TRUE(std::isnan(fLerp(QS_VECTOR2(2.0f, 2.0f), QS_VECTOR2(4.0f, 4.0f), nan).x));
}

TEST(Curves, TransformLerpTouchesOnlyTheNumbersThatDiffer) {
  QS_TRANSFORM3 a, b, out;
  a.fSetPosition(0.0f, 10.0f, 0.0f);
  b.fSetPosition(10.0f, 10.0f, 0.0f);
  out.fSetPosition(99.0f, 99.0f, 99.0f);
  fLerp(out, a, b, 0.5f);
  EXPECT_FLOAT_EQ(out._position.x, 5.0f);
  EXPECT_FLOAT_EQ(out._position.y, 99.0f);  // equal in a and b: left as it was
  fLerp(out, a, b, 1.5f);
  EXPECT_FLOAT_EQ(out._position.y, 10.0f);
}

TEST(Curves, BezierValuesAndEnds) {
  EXPECT_FLOAT_EQ(fBezier3(0.0f, 1.0f, 1.0f, 0.0f, 0.5f), 0.75f);
  EXPECT_EQ(fBezier3(0.1f, 1.0f, 1.0f, 0.3f, 1.0f), 0.3f);
  const QS_VECTOR2 pts[3] = {{0.0f, 0.0f}, {1.0f, 2.0f}, {3.0f, 1.0f}};
  for (float t : {0.1f, 0.3f, 0.5f, 0.9f}) {
    const QS_VECTOR2 n = fBezierN(pts, 3, t);
    const QS_VECTOR2 q = fBezier2(pts[0], pts[1], pts[2], t);
    EXPECT_NEAR(n.x, q.x, 1e-5f);
    EXPECT_NEAR(n.y, q.y, 1e-5f);
  }
  std::list<QS_VECTOR3> list = {{0, 0, 0}, {1, 1, 1}, {2, 0, 4}};
  EXPECT_FLOAT_EQ(fBezierN(list, 1.0f).z, 4.0f);
  const float f[2] = {1.0f, 3.0f};
  EXPECT_FLOAT_EQ(fBezierN(f, 2, 0.5f), 2.0f);
  EXPECT_FLOAT_EQ(fBezierN(f, 0, 0.5f), 0.0f);
  EXPECT_FLOAT_EQ(fBezierN(static_cast<const float*>(nullptr), 0, 1.0f), 0.0f);  // no last point: no crash
}

TEST(Curves, RotationsAndLocalFrames) {
  float x = 1.0f, y = 0.0f;
  fRotatePoint(0.0f, 0.0f, x, y, 1.5707964f);
  EXPECT_NEAR(x, 0.0f, 1e-6f);
  EXPECT_NEAR(y, 1.0f, 1e-6f);
  float bx = 0.1f, by = 0.7f;
  fRotatePoint(3.0f, 4.0f, bx, by, 0.0f);
  EXPECT_EQ(std::memcmp(&bx, "\xcd\xcc\xcc\x3d", 4), 0);
  const QS_VECTOR2 r = fRotatePointAround(1.0f, 1.0f, 2.0f, 1.0f, 3.1415927f);
  EXPECT_NEAR(r.x, 0.0f, 1e-6f);
  QS_POINT p(10, 0);
  fRotateIntPoint(0.0f, 0.0f, p, 0.7853982f);
  EXPECT_EQ(p.x, 7);  // 7.07 truncated
  EXPECT_EQ(p.y, 7);

  QS_TRANSFORM3 t;
  t.fSetPosition(100.0f, 50.0f, 0.0f);
  t.fSetPivot(10.0f, 5.0f, 0.0f);
  float lx = 90.0f, ly = 45.0f;
  fWorldToLocal(lx, ly, t);
  EXPECT_FLOAT_EQ(lx, 20.0f);
  EXPECT_FLOAT_EQ(ly, 10.0f);
}

TEST(Curves, ClampAndDampedOscillation) {
  EXPECT_EQ(fClamp(5.0f, 0.0f, 3.0f), 3.0f);
  EXPECT_EQ(fClamp(-1.0f, 0.0f, 3.0f), 0.0f);
  EXPECT_EQ(fClamp(1.0f, 0.0f, 3.0f), 1.0f);
  EXPECT_NEAR(fDampedOscillation(0.25f, 1.0f, 2.0f, 0.0f), 2.0f, 1e-5f);
  EXPECT_TRUE(std::isfinite(fDampedOscillation(10.0f, 1.0f, 1.0f, -1.0f)));
  EXPECT_EQ(fZeroVector3(), QS_VECTOR3(0.0f, 0.0f, 0.0f));
}

TEST(Curves, PolygonCrossingTest) {
  std::list<QS_VECTOR2> square = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  EXPECT_TRUE(fIsInsidePolygon(square, 0.5f, 0.5f));
  EXPECT_FALSE(fIsInsidePolygon(square, 1.5f, 0.5f));
  EXPECT_FALSE(fIsInsidePolygon(square, 0.5f, 0.0f));  // on the bottom edge: not counted
  EXPECT_FALSE(fIsInsidePolygon(std::list<QS_VECTOR2>(), 0.5f, 0.5f));
  std::list<QS_POINT> big = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  EXPECT_TRUE(fIsInsidePolygon(big, 5, 5));
  EXPECT_FALSE(fIsInsidePolygon(big, 11, 5));
  QS_TRANSFORM3 t;
  t.fSetPosition(100.0f, 100.0f, 0.0f);
  EXPECT_TRUE(fIsInsidePolygon(big, QS_POINT(105, 105), t));
  EXPECT_FALSE(fIsInsidePolygon(square, QS_VECTOR2(0.5f, 0.5f), t));
}

TEST(Curves, RandomPointInPolygonIsAWeightedMeanOfTheVertices) {
  QC_RANDOM random(7);
  std::list<QS_VECTOR2> single = {{3.0f, 4.0f}};
  const QS_VECTOR2 one = fRandomPointInPolygon(single);
  EXPECT_FLOAT_EQ(one.x, 3.0f);
  EXPECT_FLOAT_EQ(one.y, 4.0f);
  std::list<QS_POINT> square = {{0, 0}, {100, 0}, {100, 100}, {0, 100}};
  for (int i = 0; i < 50; ++i) {
    const QS_POINT p = fRandomPointInPolygon(square);
    EXPECT_GE(p.x, 0);
    EXPECT_LE(p.x, 100);
    EXPECT_GE(p.y, 0);
    EXPECT_LE(p.y, 100);
  }
  const QS_VECTOR2 none = fRandomPointInPolygon(std::list<QS_VECTOR2>());
  EXPECT_EQ(none.x, 0.0f);
}

}  // namespace
