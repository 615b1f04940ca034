#include "level_geometry/card_geometry.h"

#include <cmath>

#include <gtest/gtest.h>

#include "level_geometry/editor_cards.h"

namespace {

constexpr float RIGHT_ANGLE = 1.5707964f;

EDITOR_CARD_TABLE tableWith(std::initializer_list<std::tuple<float, float, float, int>> cards) {
  EDITOR_CARD_TABLE table;
  int slot = 0;
  for (const auto& [x, y, angle, z] : cards) {
    EDITOR_CARD& card = table.cards[slot++];
    card.putOnTable();
    card.x = x;
    card.y = y;
    card.angle = angle;
    card.zLayer = z;
  }
  return table;
}

TEST(SegmentsIntersect, CrossingAndTouchingSegmentsMeet) {
  EXPECT_TRUE(segmentsIntersect(0, 0, 10, 10, 0, 10, 10, 0));
  // A shared end point counts: both end parameters are included.
  EXPECT_TRUE(segmentsIntersect(0, 0, 5, 5, 5, 5, 10, 0));
  EXPECT_FALSE(segmentsIntersect(0, 0, 4, 4, 5, 5, 10, 0));
}

TEST(SegmentsIntersect, SegmentsOnOneLineNeverMeet) {
  EXPECT_FALSE(segmentsIntersect(0, 0, 10, 0, 5, 0, 15, 0));
  EXPECT_FALSE(segmentsIntersect(0, 0, 10, 0, 0, 0, 10, 0));
  EXPECT_FALSE(segmentsIntersect(0, 0, 10, 0, 0, 5, 10, 5));
}

TEST(IsPointInRect, EdgesAreInside) {
  EXPECT_TRUE(isPointInRect(10, 5, 0, 0, 20, 10));
  EXPECT_TRUE(isPointInRect(-10, -5, 0, 0, 20, 10));
  EXPECT_FALSE(isPointInRect(10.01f, 0, 0, 0, 20, 10));
}

TEST(CardsOverlap, ACardNeverOverlapsItself) {
  const EDITOR_CARD_TABLE table = tableWith({{300, 300, 0, 0}});
  EXPECT_FALSE(table.cardsOverlap(0, 0));
}

TEST(CardsOverlap, SamePlaceAndAngleOverlap) {
  const EDITOR_CARD_TABLE table = tableWith({{300, 300, 0.3f, 0}, {300, 300, 0.3f, 1}});
  EXPECT_TRUE(table.cardsOverlap(0, 1));
}

TEST(CardsOverlap, CrossedCardsOverlapThroughTheCentreTest) {
  // No corner of either lies inside the other; only the centres find it.
  const EDITOR_CARD_TABLE table = tableWith({{300, 300, 0, 0}, {300, 300, RIGHT_ANGLE, 1}});
  const CARD_OUTLINE a = makeCardOutline(300, 300, 0, OVERLAP_HALF_WIDTH, OVERLAP_HALF_HEIGHT);
  const CARD_OUTLINE b = makeCardOutline(300, 300, RIGHT_ANGLE, OVERLAP_HALF_WIDTH, OVERLAP_HALF_HEIGHT);
  for (const auto& c : a.corners) EXPECT_FALSE(isPointInOutline(c.x, c.y, b));
  for (const auto& c : b.corners) EXPECT_FALSE(isPointInOutline(c.x, c.y, a));
  EXPECT_TRUE(table.cardsOverlap(0, 1));
  EXPECT_TRUE(table.cardsOverlap(1, 0));
}

TEST(CardsOverlap, HorizontalDistanceDecides) {
  const EDITOR_CARD_TABLE apart = tableWith({{300, 300, 0, 0}, {400, 300, 0, 1}});
  EXPECT_FALSE(apart.cardsOverlap(0, 1));
  const EDITOR_CARD_TABLE close = tableWith({{300, 300, 0, 0}, {350, 300, 0, 1}});
  EXPECT_TRUE(close.cardsOverlap(0, 1));
}

TEST(CardsOverlap, OutlineIsSmallerThanThePicture) {
  // 70 pixels apart the pictures (75 wide) touch, the 66-wide outlines do not.
  const EDITOR_CARD_TABLE table = tableWith({{300, 300, 0, 0}, {370, 300, 0, 1}});
  EXPECT_FALSE(table.cardsOverlap(0, 1));
  const EDITOR_CARD_TABLE vertical = tableWith({{300, 300, 0, 0}, {300, 398, 0, 1}});
  EXPECT_TRUE(vertical.cardsOverlap(0, 1));
}

TEST(PointInOutline, BorderPointsDependOnTheSideFacingTheReferencePoint) {
  const CARD_OUTLINE a = makeCardOutline(300, 300, 0, OVERLAP_HALF_WIDTH, OVERLAP_HALF_HEIGHT);
  // On the left edge the segment leaves through that edge only: one crossing, inside.
  EXPECT_TRUE(isPointInOutline(267, 300, a));
  // On the right edge it is counted there and again at the left edge: outside.
  EXPECT_FALSE(isPointInOutline(333, 300, a));
  // A corner counts both edges that meet there.
  EXPECT_FALSE(isPointInOutline(267, 250.5f, a));
}

TEST(CardsOverlap, CardsTouchingAlongAnEdgeOverlapThroughASharedCorner) {
  // The bottom corners coincide; the segment from there runs through the other card and
  // counts both edges at its start, three crossings in all.
  const EDITOR_CARD_TABLE touching = tableWith({{300, 300, 0, 0}, {366, 300, 0, 1}});
  EXPECT_TRUE(touching.cardsOverlap(0, 1));
  const EDITOR_CARD_TABLE apart = tableWith({{300, 300, 0, 0}, {367, 300, 0, 1}});
  EXPECT_FALSE(apart.cardsOverlap(0, 1));
}

TEST(PointInOutline, OutlineHoldingTheReferencePointGivesTheOppositeAnswer) {
  const CARD_OUTLINE corner = makeCardOutline(20, 30, 0, OVERLAP_HALF_WIDTH, OVERLAP_HALF_HEIGHT);
  // (20, 30) is inside, but its segment to (1, 8) crosses no edge.
  EXPECT_FALSE(isPointInOutline(20, 30, corner));
  // A point outside crosses one edge on its way in.
  EXPECT_TRUE(isPointInOutline(200, 30, corner));
}

TEST(IsMouseOverCard, BorderIsOutsideOnlyWhenUnturned) {
  EDITOR_CARD_TABLE table = tableWith({{300, 300, 0, 0}});
  EXPECT_TRUE(table.isMouseOverCard(0, 300, 300));
  EXPECT_FALSE(table.isMouseOverCard(0, 300 + 37.5f, 300));
  EXPECT_FALSE(table.isMouseOverCard(0, 300, 300 - 58));
  EXPECT_TRUE(table.isMouseOverCard(0, 300 + 37, 300));
  // Any angle at all switches to the crossing test, which includes the border.
  table.cards[0].angle = 1e-7f;
  EXPECT_TRUE(table.isMouseOverCard(0, 300, 300));
  EXPECT_FALSE(table.isMouseOverCard(0, 300 + 40, 300));
}

TEST(IsMouseOverCard, PointerOutlineFollowsTheCardSize) {
  EDITOR_CARD_TABLE table(100.0f, 150.0f);
  EDITOR_CARD& card = table.cards[0];
  card.putOnTable();
  card.x = 500;
  card.y = 400;
  EXPECT_TRUE(table.isMouseOverCard(0, 549, 474));
  EXPECT_FALSE(table.isMouseOverCard(0, 551, 400));
}

TEST(BringToFront, LoneCardKeepsItsLayer) {
  EDITOR_CARD_TABLE table = tableWith({{300, 300, 0, 4}, {700, 300, 0, 9}});
  EXPECT_EQ(table.bringToFront(0), 0);
  EXPECT_EQ(table.cards[0].zLayer, 4);
  EXPECT_EQ(table.bringToBack(0), 0);
  EXPECT_EQ(table.cards[0].zLayer, 4);
}

TEST(BringToFront, GoesOneAboveTheHighestOverlappedCard) {
  EDITOR_CARD_TABLE table = tableWith({{300, 300, 0, 1}, {320, 300, 0, 7}, {280, 320, 0, 3},
                                       {900, 300, 0, 50}});
  EXPECT_EQ(table.bringToFront(0), 2);
  EXPECT_EQ(table.cards[0].zLayer, 8);
  // Already above everything it overlaps: one more layer.
  EXPECT_EQ(table.bringToFront(0), 2);
  EXPECT_EQ(table.cards[0].zLayer, 9);
}

TEST(BringToFront, StopsAtTheTopLayer) {
  EDITOR_CARD_TABLE table = tableWith({{300, 300, 0, 100}, {320, 300, 0, 100}});
  EXPECT_EQ(table.bringToFront(0), 1);
  EXPECT_EQ(table.cards[0].zLayer, 100);
  EDITOR_CARD_TABLE below = tableWith({{300, 300, 0, 99}, {320, 300, 0, 100}});
  below.bringToFront(0);
  EXPECT_EQ(below.cards[0].zLayer, 100);
}

TEST(BringToBack, GoesOneBelowTheLowestAndStopsAtTheBottom) {
  EDITOR_CARD_TABLE table = tableWith({{300, 300, 0, 5}, {320, 300, 0, -3}, {280, 320, 0, 2}});
  EXPECT_EQ(table.bringToBack(0), 2);
  EXPECT_EQ(table.cards[0].zLayer, -4);
  EDITOR_CARD_TABLE bottom = tableWith({{300, 300, 0, -100}, {320, 300, 0, -100}});
  bottom.bringToBack(0);
  EXPECT_EQ(bottom.cards[0].zLayer, -100);
}

TEST(BringToFront, IgnoresSlotsNotInUse) {
  EDITOR_CARD_TABLE table = tableWith({{300, 300, 0, 0}, {310, 300, 0, 20}});
  table.cards[1].inUse = false;
  EXPECT_EQ(table.bringToFront(0), 0);
  EXPECT_EQ(table.cards[0].zLayer, 0);
}

TEST(CoverLists, RecordPairsOnDifferentLayersOnly) {
  EDITOR_CARD_TABLE table = tableWith({{300, 300, 0, 3}, {320, 300, 0, 5}, {310, 310, 0, 3}});
  table.computeCoverLists();
  EXPECT_EQ(table.cards[0].overList, std::vector<int32_t>{1});
  EXPECT_TRUE(table.cards[0].underList.empty());
  EXPECT_EQ(table.cards[1].underList, (std::vector<int32_t>{0, 2}));
  EXPECT_EQ(table.cards[2].overList, std::vector<int32_t>{1});
}

}  // namespace
