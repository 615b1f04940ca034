// Sprite quads and mesh operations: geometry, frames, anchors, colours and nodes. No device.
#include <gtest/gtest.h>

#include <memory>

#include "primitives/sprite.h"
#include "support.h"

using namespace QEL;

namespace {

class SpriteTest : public ::testing::Test {
 protected:
  std::unique_ptr<QC_TEXTURE> _texture{primitives_test::makeSizedTexture(100, 50)};
};

void expectUV(const QC_SPRITE& s, float l, float t, float r, float b) {
  EXPECT_FLOAT_EQ(s._vertices[0].u, l);
  EXPECT_FLOAT_EQ(s._vertices[0].v, t);
  EXPECT_FLOAT_EQ(s._vertices[1].u, r);
  EXPECT_FLOAT_EQ(s._vertices[1].v, t);
  EXPECT_FLOAT_EQ(s._vertices[2].u, r);
  EXPECT_FLOAT_EQ(s._vertices[2].v, b);
  EXPECT_FLOAT_EQ(s._vertices[3].u, l);
  EXPECT_FLOAT_EQ(s._vertices[3].v, b);
}

TEST_F(SpriteTest, NewSpriteIsTheWholeTextureTurningAboutItsCentre) {
  QC_SPRITE sprite(_texture.get(), nullptr);
  EXPECT_EQ(sprite._width, 100);
  EXPECT_EQ(sprite._height, 50);
  EXPECT_EQ(sprite._ownsNode, 1);
  ASSERT_NE(sprite._node, nullptr);
  EXPECT_FLOAT_EQ(sprite._node->_pivot.x, 50.0f);
  EXPECT_FLOAT_EQ(sprite._node->_pivot.y, 25.0f);
  EXPECT_FLOAT_EQ(sprite._node->_scale.x, 1.0f);
  const float xs[4] = {0, 100, 100, 0};
  const float ys[4] = {0, 0, 50, 50};
  for (int i = 0; i < 4; ++i) {
    EXPECT_FLOAT_EQ(sprite._vertices[i].x, xs[i]);
    EXPECT_FLOAT_EQ(sprite._vertices[i].y, ys[i]);
    EXPECT_EQ(sprite.fGetVertexColor(i), 0xFFFFFFFFu);
  }
  expectUV(sprite, 0, 0, 1, 1);
  EXPECT_EQ(sprite._vertexArray._vertexCount, 4);
  ASSERT_EQ(sprite._vertexArray._indexCount, 6);
  const uint16_t expected[6] = {0, 1, 2, 0, 2, 3};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(sprite._vertexArray._indices[i], expected[i]);
  // blend, anisotropic filter, textured, triangles; camera space, no depth test
  EXPECT_EQ(sprite._renderState.fGetWord(), 0x2432u);
}

TEST_F(SpriteTest, GivenNodeIsUsedAsItIs) {
  QS_TRANSFORM3 node;
  node.fSetPivot(7, 8, 9);
  {
    QC_SPRITE sprite(_texture.get(), &node);
    EXPECT_EQ(sprite._node, &node);
    EXPECT_EQ(sprite._ownsNode, 0);
    EXPECT_FLOAT_EQ(node._pivot.x, 7.0f);
    sprite.fSetTexture(_texture.get());
    EXPECT_FLOAT_EQ(node._pivot.y, 8.0f);
  }
  node.fSetPosition(1, 2, 3);  // still alive: the sprite did not free it
}

TEST_F(SpriteTest, FrameGridCells) {
  QC_SPRITE sprite(_texture.get(), nullptr);
  sprite.fSetFrame(5, 1, 3);
  expectUV(sprite, 0.6f, 0.0f, 0.8f, 1.0f);
  sprite.fSetFrame(4, 2, 6);
  expectUV(sprite, 0.5f, 0.5f, 0.75f, 1.0f);
  sprite.fSetFrame(0, 1, 3);  // no grid: nothing changes
  expectUV(sprite, 0.5f, 0.5f, 0.75f, 1.0f);
}

TEST_F(SpriteTest, SizeStretchesAndFitShowsOneTexelPerUnit) {
  QC_SPRITE sprite(_texture.get(), nullptr);
  sprite.fSetSize(40, 20);
  EXPECT_FLOAT_EQ(sprite._vertices[2].x, 40.0f);
  EXPECT_FLOAT_EQ(sprite._vertices[2].y, 20.0f);
  EXPECT_EQ(sprite._width, 100);
  expectUV(sprite, 0, 0, 1, 1);
  sprite.fFitUV();
  expectUV(sprite, 0, 0, 0.4f, 0.4f);
  sprite.fSetUVPixels(10, 5, 60, 45);
  expectUV(sprite, 0.1f, 0.1f, 0.6f, 0.9f);
}

TEST_F(SpriteTest, AnchorsPlaceThePivotOnTheQuad) {
  QC_SPRITE sprite(_texture.get(), nullptr);
  sprite.fSetSize(40, 20);
  const float expected[9][2] = {{20, 10}, {0, 0}, {40, 0}, {0, 20}, {40, 20},
                                {20, 0},  {20, 20}, {0, 10}, {40, 10}};
  for (int mode = 0; mode < 9; ++mode) {
    sprite.fSetAnchor(mode, 3.0f, 4.0f);
    EXPECT_FLOAT_EQ(sprite._node->_pivot.x, expected[mode][0] + 3.0f) << "mode " << mode;
    EXPECT_FLOAT_EQ(sprite._node->_pivot.y, expected[mode][1] + 4.0f) << "mode " << mode;
  }
  sprite._node->_pivot.z = 5.0f;
  sprite.fSetAnchor(1, 0, 0);
  for (int mode : {9, -1, 100}) {
    sprite.fSetAnchor(mode, 3.0f, 4.0f);
    EXPECT_FLOAT_EQ(sprite._node->_pivot.x, 0.0f);
    EXPECT_FLOAT_EQ(sprite._node->_pivot.y, 0.0f);
  }
  EXPECT_FLOAT_EQ(sprite._node->_pivot.z, 5.0f);
}

TEST_F(SpriteTest, AnchorsBySizeUseWholeHalvesOfTheSizeFields) {
  QC_SPRITE sprite(_texture.get(), nullptr);
  sprite._width = 9;
  sprite._height = 11;
  const float expected[9][2] = {{4, 5}, {0, 0}, {9, 0}, {0, 11}, {9, 11}, {4, 0}, {4, 11}, {0, 5}, {9, 5}};
  for (int mode = 0; mode < 9; ++mode) {
    sprite.fSetAnchorBySize(mode, 1.0f, 0.0f);
    EXPECT_FLOAT_EQ(sprite._node->_pivot.x, expected[mode][0] + 1.0f) << "mode " << mode;
    EXPECT_FLOAT_EQ(sprite._node->_pivot.y, expected[mode][1]) << "mode " << mode;
  }
}

TEST_F(SpriteTest, ColoursOfCornersAndOfTheWholeMesh) {
  QC_SPRITE sprite(_texture.get(), nullptr);
  sprite.fSetCornerColors(0x11223344u, 0x55667788u, 0x99AABBCCu, 0xDDEEFF00u);
  EXPECT_EQ(sprite.fGetVertexColor(0), 0x11223344u);
  EXPECT_EQ(sprite.fGetVertexColor(3), 0xDDEEFF00u);
  EXPECT_EQ(sprite.fGetVertexColor(4), 0u);
  sprite.fSetColor(0x80FF0000u);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(sprite.fGetVertexColor(i), 0x80FF0000u);
  sprite.fSetVertexColor(0xFF00FF00u, 2);
  sprite.fSetVertexColor(0xFF00FF00u, 4);  // outside the quad: ignored
  EXPECT_EQ(sprite.fGetVertexColor(2), 0xFF00FF00u);
  EXPECT_EQ(sprite.fGetVertexColor(1), 0x80FF0000u);
}

TEST_F(SpriteTest, DrawRegionLeavesTheLastGlyphShape) {
  QC_SPRITE sprite(_texture.get(), nullptr);
  sprite._node->_position.z = 2.0f;
  sprite.fDrawRegion(30.0f, 40.0f, 0.1f, 0.2f, 0.3f, 0.4f, 12, 14);
  EXPECT_FLOAT_EQ(sprite._node->_position.x, 30.0f);
  EXPECT_FLOAT_EQ(sprite._node->_position.y, 40.0f);
  EXPECT_FLOAT_EQ(sprite._node->_position.z, 2.0f);
  EXPECT_FLOAT_EQ(sprite._vertices[2].x, 12.0f);
  EXPECT_FLOAT_EQ(sprite._vertices[2].y, 14.0f);
  expectUV(sprite, 0.1f, 0.2f, 0.3f, 0.4f);
}

TEST_F(SpriteTest, MissingTextureGivesAnEmptyQuadNotACrash) {
  QC_SPRITE sprite(static_cast<QC_TEXTURE*>(nullptr), nullptr);
  EXPECT_EQ(sprite._width, 0);
  sprite.fSetUVPixels(1, 2, 3, 4);
  sprite.fFitUV();
  expectUV(sprite, 0, 0, 1, 1);
}

TEST(MeshTest, ScaleWithZeroYIsUniform) {
  QS_TRANSFORM3 node;
  QC_MESH mesh(4, nullptr, &node, nullptr, 0);
  mesh.fSetScale(2, 0, 1);
  EXPECT_FLOAT_EQ(node._scale.x, 2.0f);
  EXPECT_FLOAT_EQ(node._scale.y, 2.0f);
  mesh.fSetScale(2, 3, 1);
  EXPECT_FLOAT_EQ(node._scale.y, 3.0f);
  mesh.fSetPosition(5, 6, 7);
  mesh.fSetRotationZ(0.5f);
  EXPECT_FLOAT_EQ(node._position.z, 7.0f);
  EXPECT_FLOAT_EQ(node._rotation.z, 0.5f);
}

TEST(MeshTest, NodeSetSwapAndTransform) {
  QS_TRANSFORM3 first, second, parent;
  QC_MESH mesh(4, nullptr, &first, nullptr, 0);
  mesh.fSetNode(nullptr);
  EXPECT_EQ(mesh._node, &first);
  mesh.fSetNode(&second);
  EXPECT_EQ(mesh._node, &second);
  EXPECT_EQ(mesh.fSwapNode(nullptr), &second);
  EXPECT_EQ(mesh._node, nullptr);
  mesh.fSetPosition(1, 2, 3);  // no node: nothing to place, no crash
  mesh.fSetNode(&first);
  first._parent = &parent;
  QS_TRANSFORM3 t;
  t.fSetPosition(4, 5, 6);
  t.fSetScale(2, 2, 2);
  mesh.fSetTransform(t);
  EXPECT_FLOAT_EQ(first._position.y, 5.0f);
  EXPECT_FLOAT_EQ(first._scale.z, 2.0f);
  EXPECT_EQ(first._parent, &parent);
}

TEST(MeshTest, DrawAtRestoresThePlacementButNotZ) {
  QS_TRANSFORM3 node;
  QC_MESH mesh(4, nullptr, &node, nullptr, 0);
  node.fSetPosition(10, 20, 30);
  node.fSetRotation(0.1f, 0.2f, 0.3f);
  node.fSetScale(2, 3, 4);
  mesh.fDrawAt(1, 2, 0.5f, 5, 0);
  EXPECT_FLOAT_EQ(node._position.x, 10.0f);
  EXPECT_FLOAT_EQ(node._position.y, 20.0f);
  EXPECT_FLOAT_EQ(node._position.z, 0.0f);
  EXPECT_FLOAT_EQ(node._rotation.x, 0.1f);
  EXPECT_FLOAT_EQ(node._rotation.z, 0.3f);
  EXPECT_FLOAT_EQ(node._scale.y, 3.0f);
  EXPECT_FLOAT_EQ(node._scale.z, 1.0f);
}

}  // namespace
