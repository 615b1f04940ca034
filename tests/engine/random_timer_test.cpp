#include <gtest/gtest.h>

#include <climits>
#include <set>

#include "engine/globals.h"
#include "engine/random.h"
#include "engine/timer.h"
#include "platform/window.h"

namespace {

using QEL::QC_RANDOM;
using QEL::QC_TIMER;

TEST(Random, SeedZeroSequence) {
  QC_RANDOM r(0);
  EXPECT_EQ(r.fNext(), 1013904223u);
  EXPECT_EQ(r.fNext(), 1196435762u);
  EXPECT_EQ(QEL::qcRANDOM_INSTANCE, &r);
}

TEST(Random, EqualBoundsTakeNoStep) {
  QC_RANDOM r(0);
  EXPECT_EQ(r.fGetInt(5, 5), 5);
  EXPECT_EQ(r._seed, 0u);
}

TEST(Random, IntUpperBoundIsExclusive) {
  QC_RANDOM r(12345);
  std::set<int32_t> seen;
  for (int i = 0; i < 2000; ++i) {
    const int32_t v = r.fGetInt(0, 10);
    ASSERT_GE(v, 0);
    ASSERT_LE(v, 9);
    seen.insert(v);
  }
  EXPECT_EQ(seen.size(), 10u);
}

TEST(Random, WidestRangeStaysInside) {
  QC_RANDOM r(7);
  for (int i = 0; i < 1000; ++i) {
    const int32_t v = r.fGetInt(INT_MIN, INT_MAX);
    ASSERT_LT(v, INT_MAX);
  }
}

TEST(Random, FloatCanReachItsUpperBound) {
  // The seed that steps to 0xFFFF0000 gives (seed >> 16) = 65535, the largest draw.
  uint32_t inverse = 1664525u;  // Newton's iteration for the inverse modulo 2^32
  for (int i = 0; i < 5; ++i) inverse *= 2u - 1664525u * inverse;
  QC_RANDOM r((0xFFFF0000u - 1013904223u) * inverse);
  EXPECT_NEAR(r.fGetFloat(2.0f, 4.0f), 4.0f, 1e-4f);
  QC_RANDOM low((0u - 1013904223u) * inverse);
  EXPECT_EQ(low.fGetFloat(2.0f, 4.0f), 2.0f);
}

TEST(Random, FloatsStayInRange) {
  QC_RANDOM r(99);
  for (int i = 0; i < 1000; ++i) {
    const float v = r.fGetFloat();
    ASSERT_GE(v, -10000.0f);
    ASSERT_LE(v, 10000.0f);
  }
}

TEST(Random, PointDrawsXFirst) {
  QC_RANDOM a(3), b(3);
  const QEL::QS_POINT p = a.fGetPoint({0, 0}, {100, 50});
  const int32_t x = b.fGetInt(0, 100);
  const int32_t y = b.fGetInt(0, 50);
  EXPECT_EQ(p, QEL::QS_POINT(x, y));
}

TEST(Random, BoolGivesBothAnswers) {
  QC_RANDOM r(0);
  int trues = 0;
  for (int i = 0; i < 1000; ++i) trues += r.fGetBool() ? 1 : 0;
  EXPECT_GT(trues, 350);
  EXPECT_LT(trues, 650);
}

class TimerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::setTickSource([this] { return _now; });
  }
  void TearDown() override { platform::setTickSource({}); }
  uint32_t _now = 1000;
};

TEST_F(TimerTest, DeltaIsCappedOnlyWhenAMaximumIsSet) {
  QC_TIMER timer;
  _now += 250;
  EXPECT_FLOAT_EQ(timer.fUpdate(), 0.25f);
  timer.fSetMaxDelta(0.1f);
  _now += 250;
  EXPECT_FLOAT_EQ(timer.fUpdate(), 0.1f);
  EXPECT_FLOAT_EQ(timer.fGetTotal(), 0.35f);
}

TEST_F(TimerTest, TickWrapGivesASmallPositiveDelta) {
  _now = 0xFFFFFFF0u;
  QC_TIMER timer;
  _now = 0x10u;
  EXPECT_FLOAT_EQ(timer.fUpdate(), 0.032f);
}

TEST_F(TimerTest, OutputReceivesEachDelta) {
  float out = -1.0f;
  QC_TIMER timer;
  timer.fSetOutput(&out);
  _now += 16;
  timer.fUpdate();
  EXPECT_FLOAT_EQ(out, 0.016f);
  timer.fUpdate();
  EXPECT_EQ(out, 0.0f);
}

}  // namespace
