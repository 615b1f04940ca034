// Hit shapes: strict rectangle and circle edges, scale and rotation, parents, and shapes
// that are never hit.
#include <gtest/gtest.h>

#include "primitives/hit_shape.h"

using namespace QEL;

namespace {

struct CentredRectangle : ::testing::Test {
  // 200 x 50 centred on its node at (400, 300).
  CentredRectangle() {
    node.fSetPivot(100.0f, 25.0f, 0.0f);
    node.fSetPosition(400.0f, 300.0f, 0.0f);
  }
  QS_TRANSFORM3 node;
  QS_HIT_SHAPE shape{QS_HIT_SHAPE::TYPE_RECTANGLE, &node, 200.0f, 50.0f, 0, 0};
};

TEST_F(CentredRectangle, EdgesAreOutside) {
  EXPECT_TRUE(shape.fIsInside(499.0f, 300.0f));
  EXPECT_TRUE(shape.fIsInside(301.0f, 324.0f));
  EXPECT_FALSE(shape.fIsInside(500.0f, 300.0f));
  EXPECT_FALSE(shape.fIsInside(300.0f, 300.0f));
  EXPECT_FALSE(shape.fIsInside(400.0f, 325.0f));
  EXPECT_FALSE(shape.fIsInside(400.0f, 275.0f));
}

TEST_F(CentredRectangle, ScaleCutsTheRectangleByTheScaledQuickSquare) {
  node.fSetScale(0.8f, 0.8f, 1.0f);
  EXPECT_TRUE(shape.fIsInside(479.0f, 300.0f));
  EXPECT_FALSE(shape.fIsInside(481.0f, 300.0f));
  EXPECT_TRUE(shape.fIsInside(400.0f, 324.0f));
  EXPECT_FALSE(shape.fIsInside(400.0f, 326.0f));
}

TEST_F(CentredRectangle, RotationTurnsTheTestWithThePicture) {
  node.fSetRotationZ(1.5707964f);  // a quarter turn: 50 wide, 200 tall
  EXPECT_TRUE(shape.fIsInside(400.0f, 390.0f));
  EXPECT_TRUE(shape.fIsInside(420.0f, 300.0f));
  EXPECT_FALSE(shape.fIsInside(480.0f, 300.0f));
}

TEST_F(CentredRectangle, FollowsItsParentNode) {
  QS_TRANSFORM3 parent;
  parent.fSetPosition(100.0f, 0.0f, 0.0f);
  node._parent = &parent;
  EXPECT_TRUE(shape.fIsInside(599.0f, 300.0f));
  EXPECT_FALSE(shape.fIsInside(350.0f, 300.0f));
}

TEST(HitShapeTest, CircleRadiusIsStrictAndIgnoresScale) {
  QS_TRANSFORM3 node;
  QS_HIT_SHAPE circle(QS_HIT_SHAPE::TYPE_CIRCLE, &node, 10.0f, 0.0f, 0, 0);
  EXPECT_FALSE(circle.fIsInside(10.0f, 0.0f));
  EXPECT_TRUE(circle.fIsInside(7.0f, 7.0f));
  EXPECT_FALSE(circle.fIsInside(8.0f, 8.0f));
  node.fSetScale(3.0f, 3.0f, 1.0f);
  EXPECT_FALSE(circle.fIsInside(15.0f, 0.0f));
}

TEST(HitShapeTest, NoneAndUnknownTypesAndTopLeftPivotsAreNeverHitAtTheOrigin) {
  QS_TRANSFORM3 node;
  node.fSetPosition(50.0f, 50.0f, 0.0f);
  QS_HIT_SHAPE none(QS_HIT_SHAPE::TYPE_NONE, &node, 100.0f, 100.0f, 0, 0);
  EXPECT_FALSE(none.fIsInside(50.0f, 50.0f));
  QS_HIT_SHAPE unknown(7, &node, 100.0f, 100.0f, 0, 0);
  EXPECT_FALSE(unknown.fIsInside(50.0f, 50.0f));
  QS_HIT_SHAPE empty;
  EXPECT_FALSE(empty.fIsInside(0.0f, 0.0f));
  QS_HIT_SHAPE corner(QS_HIT_SHAPE::TYPE_RECTANGLE, &node, 20.0f, 20.0f, 0, 0);
  EXPECT_FALSE(corner.fIsInside(50.0f, 50.0f));
  QS_HIT_SHAPE orphan(QS_HIT_SHAPE::TYPE_RECTANGLE, nullptr, 20.0f, 20.0f, 0, 0);
  EXPECT_FALSE(orphan.fIsInside(0.0f, 0.0f));
}

}  // namespace
