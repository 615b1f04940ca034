#include <gtest/gtest.h>

#include <string>

#include "engine/fcolor.h"
#include "engine/vectors.h"

namespace {

using QEL::QS_FCOLOR;
using QEL::QS_POINT;
using QEL::QS_VECTOR2;
using QEL::QS_VECTOR3;

TEST(ValueTypesText, PointPrintsAtLeastThreeDigits) {
  EXPECT_STREQ(QS_POINT(1024, 768).fToString(), "1024 768");
  EXPECT_STREQ(QS_POINT(5, -3).fToString(), "005 -003");
  EXPECT_STREQ(QS_POINT(0, 99).fToString(), "000 099");
}

TEST(ValueTypesText, VectorsPrintThreeDecimals) {
  EXPECT_STREQ(QS_VECTOR3(1.0f, 2.5f, -0.25f).fToString(), "1.000 2.500 -0.250");
  EXPECT_STREQ(QS_VECTOR2(0.0005f, -12.3456f).fToString(), "0.001 -12.346");
}

TEST(ValueTypesText, TextFormIsOverwrittenByTheNextCall) {
  const char* first = QS_POINT(1, 2).fToString();
  const std::string kept = first;
  QS_POINT(3, 4).fToString();
  EXPECT_EQ(kept, "001 002");
  EXPECT_STREQ(first, "003 004");
}

TEST(ValueTypesParse, TooFewNumbersLeaveTheValueUnchanged) {
  QS_VECTOR3 v(7.0f, 8.0f, 9.0f);
  v.fParse("10 20");
  EXPECT_EQ(v, QS_VECTOR3(7.0f, 8.0f, 9.0f));
  v.fParse("1 2 3 4");
  EXPECT_EQ(v, QS_VECTOR3(1.0f, 2.0f, 3.0f));

  QS_VECTOR2 w(1.0f, 1.0f);
  w.fParse("800");
  EXPECT_FLOAT_EQ(w.x, 1.0f);
  w.fParse("-1.5 2.25");
  EXPECT_FLOAT_EQ(w.x, -1.5f);
  EXPECT_FLOAT_EQ(w.y, 2.25f);
}

TEST(ValueTypesParse, PointReadsIntegersAndDoubleBlanksGiveAnEmptyToken) {
  QS_POINT p(1, 1);
  p.fParse("800 600");
  EXPECT_EQ(p, QS_POINT(800, 600));
  p.fParse("7  9");  // tokens "7", "", "9": the empty one is read as 0
  EXPECT_EQ(p, QS_POINT(7, 0));
  p.fParse("");
  EXPECT_EQ(p, QS_POINT(7, 0));
}

TEST(ValueTypesParse, PrintedFormsParseBack) {
  QS_POINT p(0, 0);
  p.fParse(QS_POINT(5, -3).fToString());
  EXPECT_EQ(p, QS_POINT(5, -3));
  QS_VECTOR3 v;
  v.fParse(QS_VECTOR3(1.0f, 2.5f, -0.25f).fToString());
  EXPECT_EQ(v, QS_VECTOR3(1.0f, 2.5f, -0.25f));
}

TEST(ValueTypesCompare, Vector2ComparesLengthsAndPointsCompareSums) {
  EXPECT_TRUE(QS_VECTOR2(3.0f, 4.0f) == QS_VECTOR2(5.0f, 0.0f));
  EXPECT_TRUE(QS_VECTOR2(3.0f, 4.0f) == 5);
  EXPECT_TRUE(QS_POINT(3, 1) > QS_POINT(1, 2));
  EXPECT_FALSE(QS_POINT(3, 1) == QS_POINT(1, 3));
  EXPECT_FALSE(QS_VECTOR3(3.0f, 4.0f, 0.0f) == QS_VECTOR3(5.0f, 0.0f, 0.0f));
}

TEST(ValueTypesGeometry, AngleLiesInZeroToTwoPi) {
  const float pi = QEL::QC_PI;
  EXPECT_NEAR(QS_VECTOR2::fAngle({1.0f, 0.0f}, {0.0f, 1.0f}), pi / 2.0f, 1e-5f);
  EXPECT_NEAR(QS_VECTOR2::fAngle({0.0f, 1.0f}, {1.0f, 0.0f}), 3.0f * pi / 2.0f, 1e-5f);
  EXPECT_NEAR(QS_VECTOR2::fAngle({1.0f, 0.0f}, {1.0f, 0.0f}), 2.0f * pi, 1e-5f);
}

TEST(ValueTypesGeometry, NormalisingZeroLeavesItAlone) {
  QS_VECTOR2 zero(0.0f, 0.0f);
  EXPECT_EQ(zero.fNormalize(), 0.0f);
  EXPECT_TRUE(zero.fIsZero());
  QS_VECTOR3 v(0.0f, 3.0f, 4.0f);
  EXPECT_FLOAT_EQ(v.fNormalize(), 5.0f);
  EXPECT_FLOAT_EQ(v.y, 0.6f);
  EXPECT_EQ(QS_VECTOR3(1.0f, 2.0f, 3.0f)[3], 0.0f);
  EXPECT_EQ(QS_POINT(1, 2)[-1], 0);
}

TEST(FColor, PackedColourSurvivesTheRoundTrip) {
  EXPECT_EQ(QS_FCOLOR(0x80FF0000u).fToARGB(), 0x80FF0000u);
  EXPECT_EQ(QS_FCOLOR(0x12345678u).fToARGB(), 0x12345678u);
  const QS_FCOLOR c(0xFF00FF00u);
  EXPECT_FLOAT_EQ(c.a, 1.0f);
  EXPECT_FLOAT_EQ(c.g, 1.0f);
  EXPECT_FLOAT_EQ(c.r, 0.0f);
}

TEST(FColor, ChannelsOutsideTheRangeAreClamped) {
  EXPECT_EQ(QS_FCOLOR(2.0f, -1.0f, 0.5f, 1.0f).fToARGB(), 0xFFFF0080u);
  EXPECT_EQ(QS_FCOLOR().fToARGB(), 0u);
}

}  // namespace
