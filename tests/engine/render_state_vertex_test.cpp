#include <gtest/gtest.h>

#include <cstring>

#include "engine/color.h"
#include "engine/render_state.h"
#include "engine/vertex.h"

using namespace QEL;

namespace {

TEST(RenderState, BitsLandWhereTheDeviceWordExpectsThem) {
  QS_RENDER_STATE s;
  EXPECT_EQ(s.fGetWord(), 0u);
  s._blend = 1;
  s._screen = 1;
  EXPECT_EQ(s.fGetWord(), 0x8002u);
  s._filter = 2;
  s._textured = 1;
  s._primitive = 3;
  EXPECT_EQ(s.fGetWord(), 0x8002u | 0x20u | 0x400u | 0x3000u);
  s._depth = 1;
  s._additive = 1;
  s._opaque = 1;
  EXPECT_EQ(s.fGetWord() & 0x207u, 0x207u);
  s.fReset();
  EXPECT_EQ(s.fGetWord(), 0u);
}

TEST(RenderState, HighBitsAreCompared) {
  QS_RENDER_STATE a(0x8002u), b(0x18002u);
  EXPECT_NE(a, b);
  EXPECT_TRUE(a == QS_RENDER_STATE(0x8002u));
  EXPECT_EQ(b._high, 1u);
}

TEST(Vertex, LayoutMatchesTheDeviceFormat) {
  EXPECT_EQ(offsetof(QS_VERTEX, nx), 12u);
  EXPECT_EQ(offsetof(QS_VERTEX, color), 24u);
  EXPECT_EQ(offsetof(QS_VERTEX, u), 28u);
  QS_VERTEX v;
  v.fSetColor(0x80102030u);
  uint8_t bytes[4];
  std::memcpy(bytes, &v.color, 4);
  EXPECT_EQ(bytes[0], 0x30);  // blue first
  EXPECT_EQ(bytes[3], 0x80);  // alpha last
}

TEST(Vertex, TransformTakesThePositionAsARowVector) {
  QS_VERTEX v;
  v.fSetPosition(1.0f, 2.0f, 3.0f);
  v.fSetUV(0.25f, 0.5f);
  QS_MATRIX4 m;
  m.fTranslation(QS_VECTOR3(10.0f, 20.0f, 30.0f));
  v.fTransform(m);
  EXPECT_FLOAT_EQ(v.x, 11.0f);
  EXPECT_FLOAT_EQ(v.y, 22.0f);
  EXPECT_FLOAT_EQ(v.z, 33.0f);
  EXPECT_FLOAT_EQ(v.u, 0.25f);
}

class VertexArrayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    _array.fAllocate(3);
    for (int i = 0; i < 3; ++i) {
      _array._vertices[i].fSetPosition(static_cast<float>(i + 1), static_cast<float>(2 * i), 0.5f);
      _array._vertices[i].fSetColor(0xFF000000u | static_cast<uint32_t>(i));
      _array._vertices[i].fSetUV(0.1f * static_cast<float>(i), 0.2f);
    }
  }
  void TearDown() override { _array.fFree(); }
  QS_VERTEX_ARRAY _array;
};

TEST_F(VertexArrayTest, GetVertexRefusesIndicesOutsideTheArray) {
  EXPECT_EQ(_array.fGetVertex(0), &_array._vertices[0]);
  EXPECT_EQ(_array.fGetVertex(2), &_array._vertices[2]);
  EXPECT_EQ(_array.fGetVertex(3), nullptr);
  EXPECT_EQ(_array.fGetVertex(-1), nullptr);
}

TEST_F(VertexArrayTest, CopyIsDeep) {
  uint16_t indices[3] = {0, 1, 2};
  _array.fSetIndices(indices, 3);
  QS_VERTEX_ARRAY copy(_array);
  ASSERT_NE(copy._vertices, _array._vertices);
  ASSERT_NE(copy._indices, indices);
  EXPECT_EQ(copy._vertexCount, 3);
  EXPECT_EQ(copy._indices[2], 2);
  EXPECT_EQ(copy._vertices[1].x, 2.0f);
  delete[] copy._indices;
  copy.fFree();
  _array.fSetIndices(nullptr, 0);
}

TEST_F(VertexArrayTest, FreeLeavesNoDanglingBlockForASecondAllocate) {
  _array.fFree();
  EXPECT_EQ(_array._vertices, nullptr);
  EXPECT_EQ(_array._vertexCount, 0);
  _array.fAllocate(2);  // must not free the old block again
  EXPECT_EQ(_array._vertexCount, 2);
}

TEST_F(VertexArrayTest, ColourOfEveryVertexAndOfTheFirst) {
  _array.fSetColor(0x80FF00FFu);
  EXPECT_EQ(_array.fGetColor(), 0x80FF00FFu);
  EXPECT_EQ(_array._vertices[2].color.fToARGB(), 0x80FF00FFu);
}

TEST_F(VertexArrayTest, RotateByZeroLeavesEveryBitAndZTurnsAboutTheOrigin) {
  QS_VERTEX before[3];
  std::memcpy(static_cast<void*>(before), _array._vertices, sizeof before);
  _array.fRotate(0.0f, 0.0f, 0.0f);
  EXPECT_EQ(std::memcmp(before, _array._vertices, sizeof before), 0);
  _array.fRotate(0.0f, 0.0f, 1.5707964f);
  EXPECT_NEAR(_array._vertices[0].x, 0.0f, 1e-6f);  // (1, 0) -> (0, 1)
  EXPECT_NEAR(_array._vertices[0].y, 1.0f, 1e-6f);
}

TEST_F(VertexArrayTest, MoveScaleAndUvOperations) {
  _array.fMove(1.0f, 1.0f, 1.0f);
  EXPECT_FLOAT_EQ(_array._vertices[0].x, 2.0f);
  _array.fScale(2.0f, 0.0f, 0.0f, 3.0f, 1.0f, 1.0f);
  EXPECT_FLOAT_EQ(_array._vertices[0].x, 2.0f);  // at the centre: unchanged
  EXPECT_FLOAT_EQ(_array._vertices[1].x, 5.0f);  // 3 -> 2 + 1*3
  _array.fMoveUV(0.5f, 0.5f);
  EXPECT_FLOAT_EQ(_array._vertices[0].u, 0.5f);
  _array.fScaleUV(0.5f, 0.5f, 2.0f, 2.0f);
  EXPECT_FLOAT_EQ(_array._vertices[0].u, 0.5f);
  EXPECT_FLOAT_EQ(_array._vertices[0].v, 0.9f);
  _array.fRotateUV(3.1415927f, 0.5f, 0.5f);
  EXPECT_NEAR(_array._vertices[0].v, 0.1f, 1e-5f);
}

TEST_F(VertexArrayTest, ApplyTransformMovesThenTurnsThenScalesAboutThePivot) {
  QS_TRANSFORM3 t;
  t.fSetPosition(1.0f, 0.0f, 0.0f);
  t.fSetScale(2.0f, 2.0f, 1.0f);
  t.fSetPivot(0.0f, 0.0f, 0.0f);
  _array.fApplyTransform(t);
  EXPECT_FLOAT_EQ(_array._vertices[0].x, 4.0f);  // (1 + 1) * 2
  EXPECT_FLOAT_EQ(_array._vertices[1].y, 4.0f);
}

TEST_F(VertexArrayTest, CloseLoopCopiesTheFirstVertexOverTheLast) {
  _array.fCloseLoop();
  EXPECT_EQ(std::memcmp(&_array._vertices[0], &_array._vertices[2], sizeof(QS_VERTEX)), 0);
  QS_VERTEX single;
  single.fSetPosition(1, 2, 3);
  QS_VERTEX_ARRAY one(&single, 1, nullptr, 0);
  one.fCloseLoop();
  EXPECT_EQ(single.y, 2.0f);
}

TEST(Color, BytesAndArithmeticWrap) {
  QS_COLOR c(0x80, 0x10, 0x20, 0x30);
  EXPECT_EQ(c.fToARGB(), 0x80102030u);
  QS_COLOR d = QS_COLOR(0xF0F0F0F0u) + QS_COLOR(0x20202020u);
  EXPECT_EQ(d.fToARGB(), 0x10101010u);
  EXPECT_EQ((QS_COLOR(0x10101010u) - QS_COLOR(0x20202020u)).fToARGB(), 0xF0F0F0F0u);
  EXPECT_EQ((QS_COLOR(0x02040608u) * 3).fToARGB(), 0x060C1218u);
  EXPECT_EQ((QS_COLOR(0x02040608u) / 2).fToARGB(), 0x01020304u);
}

TEST(Color, HexTextReadsAsArgb) {
  EXPECT_EQ(fHexToColor("FF00FF00").fToARGB(), 0xFF00FF00u);
  EXPECT_EQ(fHexToColor("80ffffff").fToARGB(), 0x80FFFFFFu);
  EXPECT_EQ(fHexToColor("0x10").fToARGB(), 0x10u);
  EXPECT_EQ(fHexToColor("zz").fToARGB(), 0u);
  EXPECT_EQ(fHexToColor("123456789ABC").fToARGB(), 0xFFFFFFFFu);
  EXPECT_EQ(fHexToColor(nullptr).fToARGB(), 0u);
}

}  // namespace
