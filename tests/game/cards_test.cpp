#include <gtest/gtest.h>

#include <vector>

#include "game/card.h"

namespace {

TEST(Card, ValueGivesSuitAndRank) {
  CARD card;
  card.init(0);
  card.setValue(51);
  EXPECT_EQ(card.suit, 4);
  EXPECT_EQ(card.rank, 14);
  card.setValue(0);
  EXPECT_EQ(card.suit, 1);
  EXPECT_EQ(card.rank, 2);
  card.setValue(12);  // the last card of the first suit is its ace
  EXPECT_EQ(card.suit, 1);
  EXPECT_EQ(card.rank, 14);
  card.setValue(13);
  EXPECT_EQ(card.suit, 2);
  EXPECT_EQ(card.rank, 2);
}

TEST(Card, JokerAndNoCard) {
  CARD card;
  card.init(0);
  card.setValue(CARD::JOKER);
  EXPECT_EQ(card.value, 777);
  EXPECT_EQ(card.suit, -1);
  EXPECT_EQ(card.rank, 777);
  card.setValue(-1);
  EXPECT_EQ(card.suit, 1);
  EXPECT_EQ(card.rank, 1);
}

TEST(Card, OtherValuesKeepSuitAndRank) {
  CARD card;
  card.init(0);
  card.setValue(20);
  card.setValue(100);
  EXPECT_EQ(card.value, 100);
  EXPECT_EQ(card.suit, 2);
  EXPECT_EQ(card.rank, 9);
}

TEST(Card, PlaceConvertsDegreesAndChoosesThePosition) {
  CARD card;
  card.init(0);
  card.place(7, 300.0f, 200.0f, 180.0f);
  EXPECT_EQ(card.getZLayer(), 7);
  EXPECT_NEAR(card.getAngle(), 3.14159f, 1e-5f);
  EXPECT_FLOAT_EQ(card.tableX, 300.0f);
  EXPECT_FLOAT_EQ(card.tableY, 200.0f);
  EXPECT_FLOAT_EQ(card.currentX, 0.0f);

  CARD editorCard;
  editorCard.init(1);
  editorCard.editorCard = true;
  editorCard.place(0, 50.0f, 60.0f, 90.0f);
  EXPECT_FLOAT_EQ(editorCard.currentX, 50.0f);
  EXPECT_FLOAT_EQ(editorCard.currentY, 60.0f);
  EXPECT_FLOAT_EQ(editorCard.tableX, 0.0f);
}

TEST(Card, ZLayerStaysWithinItsBounds) {
  CARD card;
  card.init(0);
  card.setZLayerRange(2, -1);
  card.setZLayer(1);
  card.raiseZLayer();
  EXPECT_EQ(card.getZLayer(), 2);
  card.raiseZLayer();
  EXPECT_EQ(card.getZLayer(), 2);
  card.setZLayer(0);
  card.lowerZLayer();
  EXPECT_EQ(card.getZLayer(), -1);
  card.lowerZLayer();
  EXPECT_EQ(card.getZLayer(), -1);
  // Written directly, the layer is not checked.
  card.setZLayer(50);
  EXPECT_EQ(card.getZLayer(), 50);
}

TEST(Card, EditorCardsAreSeeThrough) {
  CARD card;
  card.init(0);
  card.putOnTable();
  EXPECT_EQ(card.color.fToARGB(), 0xFFFFFFFFu);
  EXPECT_FALSE(card.isOffTable());
  EXPECT_FLOAT_EQ(card.currentX, -100.0f);
  EXPECT_FLOAT_EQ(card.currentY, -100.0f);

  CARD editorCard;
  editorCard.init(1);
  editorCard.editorCard = true;
  editorCard.putOnTable();
  EXPECT_EQ(editorCard.color.a, 200);
  EXPECT_EQ(editorCard.color.fToARGB() & 0x00FFFFFFu, 0x00FFFFFFu);
  editorCard.resetColor();
  EXPECT_EQ(editorCard.color.a, 255);
  editorCard.reset();
  EXPECT_EQ(editorCard.color.a, 200);
}

TEST(Card, ResetFreesTheSlot) {
  CARD card;
  card.init(3);
  card.setValue(17);
  card.setSpecial(true);
  card.setCovered(false);
  const int32_t ids[] = {4, 5};
  card.setOverList(ids, 2);
  card.setUnderList(ids, 2);
  card.putOnTable();
  card.setZLayer(9);
  card.reset();
  EXPECT_TRUE(card.isOffTable());
  EXPECT_EQ(card.value, -1);
  EXPECT_EQ(card.getZLayer(), 0);
  EXPECT_TRUE(card.isCovered());
  EXPECT_FALSE(card.isSpecial());
  EXPECT_EQ(card.overCount(), 0);
  EXPECT_EQ(card.underCount(), 0);
}

TEST(Card, ListsAreCopiedAndReplaced) {
  CARD card;
  card.init(0);
  std::vector<int32_t> ids = {7, 8, 9};
  card.setUnderList(ids.data(), 3);
  ids[0] = 100;  // the card keeps its own copy
  ASSERT_TRUE(card.hasUnder());
  EXPECT_EQ(card.underList[0], 7);
  const int32_t other[] = {1};
  card.setUnderList(other, 1);
  EXPECT_EQ(card.underCount(), 1);
  card.setUnderList(other, 0);
  EXPECT_FALSE(card.hasUnder());
  card.setOverList(nullptr, 4);
  EXPECT_EQ(card.overCount(), 0);
}

TEST(Card, RemoveOverClosesTheGap) {
  CARD card;
  card.init(0);
  const int32_t ids[] = {3, 5, 3, 8};
  card.setOverList(ids, 4);
  card.removeOver(3);  // the first occurrence only
  EXPECT_EQ(card.overList, (std::vector<int32_t>{5, 3, 8}));
  card.removeOver(8);  // the last one only lowers the count
  EXPECT_EQ(card.overList, (std::vector<int32_t>{5, 3}));
  card.removeOver(42);
  EXPECT_EQ(card.overCount(), 2);
  card.removeOver(5);
  card.removeOver(3);
  EXPECT_EQ(card.overCount(), 0);
  card.removeOver(3);
  EXPECT_EQ(card.overCount(), 0);
}

// A small layout kept the way the level keeps it: each card lists the cards lying over it
// and under it; a card is free once nothing over it is still on the table.
class FreeCards : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int32_t i = 0; i < 4; ++i) {
      cards[i].init(i);
      cards[i].setValue(i);
      cards[i].putOnTable();
    }
    // Cards 1 and 2 lie over card 0; card 3 lies over card 1.
    const int32_t over0[] = {1, 2};
    const int32_t under1[] = {0};
    const int32_t over1[] = {3};
    const int32_t under2[] = {0};
    const int32_t under3[] = {1};
    cards[0].setOverList(over0, 2);
    cards[1].setUnderList(under1, 1);
    cards[1].setOverList(over1, 1);
    cards[2].setUnderList(under2, 1);
    cards[3].setUnderList(under3, 1);
    for (CARD& card : cards) card.setCovered(card.overCount() > 0);
  }

  int32_t countCardsOver(int32_t id) const {
    int32_t count = 0;
    for (int32_t over : cards[id].overList) {
      if (!cards[over].isOffTable()) ++count;
    }
    return count;
  }

  // What the pair removal does with the lists when a card leaves the table.
  void removeCard(int32_t id) {
    const std::vector<int32_t> unders = cards[id].underList;
    cards[id].kind = 1;
    cards[id].reset();
    for (int32_t under : unders) {
      cards[under].removeOver(id);
      if (countCardsOver(under) == 0) cards[under].setCovered(false);
    }
  }

  CARD cards[4];
};

TEST_F(FreeCards, OnlyUncoveredCardsAreFree) {
  EXPECT_EQ(countCardsOver(0), 2);
  EXPECT_EQ(countCardsOver(1), 1);
  EXPECT_EQ(countCardsOver(2), 0);
  EXPECT_EQ(countCardsOver(3), 0);
  EXPECT_TRUE(cards[0].isCovered());
  EXPECT_FALSE(cards[2].isCovered());
}

TEST_F(FreeCards, RemovingTheCardsOverACardFreesIt) {
  removeCard(2);
  EXPECT_TRUE(cards[0].isCovered());
  EXPECT_EQ(countCardsOver(0), 1);
  removeCard(3);
  EXPECT_FALSE(cards[1].isCovered());
  EXPECT_EQ(countCardsOver(1), 0);
  removeCard(1);
  EXPECT_FALSE(cards[0].isCovered());
  EXPECT_EQ(cards[0].overCount(), 0);
}

}  // namespace
