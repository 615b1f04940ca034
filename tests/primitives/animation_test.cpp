// Frame animation: grid set-up, frame stepping by the frame time, end rules and text set-up.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/globals.h"
#include "primitives/animation.h"
#include "support.h"

using namespace QEL;

namespace {

class AnimationTest : public ::testing::Test {
 protected:
  void SetUp() override { _savedDelta = qcFRAME_DELTA; }
  void TearDown() override { qcFRAME_DELTA = _savedDelta; }

  std::unique_ptr<QC_ANIMATION> make(int cols, int rows, int count, bool forward, bool loop, bool pingpong,
                                     bool mirror = false) {
    return std::make_unique<QC_ANIMATION>(_texture.get(), nullptr, cols, rows, count, 1.0f, forward, loop,
                                          pingpong, mirror);
  }
  // The frame the quad shows, read back from its texture coordinates.
  static int shownFrame(const QC_ANIMATION& a) {
    const float left = a._vertices[0].u < a._vertices[1].u ? a._vertices[0].u : a._vertices[1].u;
    const int col = static_cast<int>(left * static_cast<float>(a._cols) + 0.5f);
    const int row = static_cast<int>(a._vertices[0].v * static_cast<float>(a._rows) + 0.5f);
    return row * a._cols + col;
  }
  // Frames shown after each of n steps (speed 1, frame time just above one frame).
  static std::vector<int> steps(QC_ANIMATION& a, int n) {
    std::vector<int> shown;
    qcFRAME_DELTA = 1.5f;
    for (int i = 0; i < n; ++i) {
      EXPECT_EQ(a.fUpdate(), 1);
      shown.push_back(shownFrame(a));
    }
    return shown;
  }

  std::unique_ptr<QC_TEXTURE> _texture{primitives_test::makeSizedTexture(128, 64)};
  float _savedDelta = 0.0f;
};

TEST_F(AnimationTest, GridSizesTheQuadToOneCellAnchoredAtItsCentre) {
  auto a = make(4, 2, 8, true, true, false);
  EXPECT_FLOAT_EQ(a->_vertices[2].x, 32.0f);
  EXPECT_FLOAT_EQ(a->_vertices[2].y, 32.0f);
  EXPECT_FLOAT_EQ(a->_node->_pivot.x, 16.0f);
  EXPECT_FLOAT_EQ(a->_node->_pivot.y, 16.0f);
  EXPECT_EQ(a->_playing, 0);
  EXPECT_EQ(shownFrame(*a), 0);
  auto backwards = make(4, 2, 8, false, true, false);
  EXPECT_EQ(backwards->_currentFrame, 7);
  EXPECT_EQ(backwards->_step, -1);
  EXPECT_EQ(shownFrame(*backwards), 7);
}

TEST_F(AnimationTest, NothingHappensUntilPlayedOrWithoutFrameTime) {
  auto a = make(4, 1, 4, true, true, false);
  qcFRAME_DELTA = 5.0f;
  EXPECT_EQ(a->fUpdate(), 0);
  a->fPlay(0);
  qcFRAME_DELTA = 0.0f;
  EXPECT_EQ(a->fUpdate(), 0);
}

TEST_F(AnimationTest, StepsWhenTheAccumulatorGoesAboveOneFrame) {
  auto a = make(4, 1, 4, true, true, false);
  a->_speed = 10.0f;
  a->fPlay(0);
  qcFRAME_DELTA = 0.05f;
  EXPECT_EQ(a->fUpdate(), 0);  // 0.5
  EXPECT_EQ(a->fUpdate(), 0);  // 1.0 is not above one frame
  EXPECT_EQ(a->fUpdate(), 1);  // 1.5
  EXPECT_FLOAT_EQ(a->_accumulator, 0.0f);  // the remainder is dropped
  EXPECT_EQ(a->_currentFrame, 1);
}

TEST_F(AnimationTest, ForwardLoopWrapsToTheFirstFrame) {
  auto a = make(4, 1, 4, true, true, false);
  a->fPlay(0);
  EXPECT_EQ(steps(*a, 6), (std::vector<int>{0, 1, 2, 3, 0, 1}));
}

TEST_F(AnimationTest, BackwardLoopWrapsToTheLastFrame) {
  auto a = make(4, 1, 4, false, true, false);
  a->fPlay(3);
  EXPECT_EQ(steps(*a, 6), (std::vector<int>{3, 2, 1, 0, 3, 2}));
}

TEST_F(AnimationTest, ForwardOneShotShowsTheLastFrameThenRestsOnTheFirst) {
  auto a = make(4, 1, 4, true, false, false);
  a->fPlay(0);
  EXPECT_EQ(steps(*a, 4), (std::vector<int>{0, 1, 2, 0}));
  EXPECT_EQ(a->_playing, 0);
  EXPECT_EQ(a->_currentFrame, 0);
  EXPECT_EQ(a->fUpdate(), 0);
}

TEST_F(AnimationTest, BackwardOneShotStopsBelowTheFirstFrame) {
  auto a = make(4, 1, 4, false, false, false);
  a->fPlay(3);
  EXPECT_EQ(steps(*a, 4), (std::vector<int>{3, 2, 1, 0}));
  EXPECT_EQ(a->_playing, 0);
}

TEST_F(AnimationTest, PingPongLoopNeverShowsAnEndFrameTwiceInARow) {
  auto a = make(2, 2, 4, true, true, true);
  a->fPlay(0);
  EXPECT_EQ(steps(*a, 9), (std::vector<int>{0, 1, 2, 3, 2, 1, 0, 1, 2}));
}

TEST_F(AnimationTest, PingPongOnceGoesThereAndBack) {
  auto a = make(4, 1, 4, true, false, true);
  a->fPlay(0);
  EXPECT_EQ(steps(*a, 7), (std::vector<int>{0, 1, 2, 3, 2, 1, 0}));
  EXPECT_EQ(a->_playing, 0);
  auto b = make(4, 1, 4, false, false, true);
  b->fPlay(3);
  // Backwards first, then forwards until the top, where it stops on frame 0.
  EXPECT_EQ(steps(*b, 7), (std::vector<int>{3, 2, 1, 0, 1, 2, 0}));
  EXPECT_EQ(b->_playing, 0);
}

TEST_F(AnimationTest, MirroredFramesAreFlipped) {
  auto a = make(4, 1, 4, true, true, false, true);
  a->fSetFrame(1);
  EXPECT_GT(a->_vertices[0].u, a->_vertices[1].u);
  EXPECT_FLOAT_EQ(a->_vertices[0].u, 0.5f);
  EXPECT_FLOAT_EQ(a->_vertices[1].u, 0.25f);
}

TEST_F(AnimationTest, SetFromText) {
  auto a = make(1, 1, 1, false, false, true, true);
  a->_currentFrame = 0;
  a->by_str("1 0 1 0 4 2 8 12.5");
  EXPECT_EQ(a->_flags & 0x0F, QC_ANIMATION::FLAG_FORWARD | QC_ANIMATION::FLAG_LOOP);
  EXPECT_EQ(a->_cols, 4);
  EXPECT_EQ(a->_rows, 2);
  EXPECT_EQ(a->_frameCount, 8);
  EXPECT_FLOAT_EQ(a->_speed, 12.5f);
  EXPECT_EQ(a->_playing, 0);
  EXPECT_FLOAT_EQ(a->_vertices[2].x, 32.0f);
}

TEST_F(AnimationTest, ShortTextIsLoggedAndChangesNothing) {
  auto a = make(4, 2, 8, true, true, false);
  primitives_test::LogRecorder log;
  a->by_str("1 0 1");
  EXPECT_TRUE(log.contains("strpoint.size()<< \"QC_ANIMATION::by_str\"= 3QC_ANIMATION::by_str"));
  EXPECT_EQ(a->_cols, 4);
  EXPECT_EQ(a->_frameCount, 8);
  a->by_str(nullptr);
  a->by_str("");
  EXPECT_EQ(a->_rows, 2);
}

TEST_F(AnimationTest, GridOfNoCellsIsRefused) {
  auto a = make(0, 0, 1, true, true, false);
  EXPECT_EQ(a->_cols, 1);
  EXPECT_EQ(a->_rows, 1);
  EXPECT_FLOAT_EQ(a->_vertices[2].x, 128.0f);
}

}  // namespace
