#include "level_geometry/shape_generators.h"

#include <cmath>

#include <gtest/gtest.h>

#include "level_geometry/card_geometry.h"
#include "level_geometry/editor_cards.h"

namespace {

void fill(EDITOR_CARD_TABLE& table, int count) {
  for (int i = 0; i < count; ++i) table.cards[i].putOnTable();
}

TEST(SelectedCards, RemoveKeepsTheOrderAndClearsWhenEmpty) {
  SELECTED_CARDS selection;
  selection.add(7);
  selection.add(3);
  selection.add(9);
  selection.remove(42);
  EXPECT_EQ(selection.count(), 3);
  selection.remove(7);
  EXPECT_EQ(selection.count(), 2);
  EXPECT_EQ(selection.get(0), 3);
  EXPECT_EQ(selection.get(1), 9);
  EXPECT_FALSE(selection.contains(7));

  SELECTED_CARDS single;
  single.add(5);
  single.remove(5);
  EXPECT_FALSE(single.hasCards());
  for (int i = 0; i < SELECTED_CARDS::CAPACITY; ++i) EXPECT_EQ(single.get(i), -1);
}

TEST(SelectedCards, FullListIgnoresFurtherSlots) {
  SELECTED_CARDS selection;
  for (int i = 0; i < 150; ++i) selection.add(i);
  EXPECT_EQ(selection.count(), SELECTED_CARDS::CAPACITY);
  EXPECT_FALSE(selection.contains(120));
  EXPECT_EQ(selection.get(150), -1);
}

TEST(CardLine, BoundedPushAndEmptyPop) {
  CARD_LINE line;
  EXPECT_EQ(line.pop(), -1);
  EXPECT_EQ(line.count(), 0);
  for (int i = 0; i < 25; ++i) line.push(i);
  EXPECT_EQ(line.count(), CARD_LINE::CAPACITY);
  EXPECT_EQ(line.pop(), 20);
  EXPECT_EQ(line.get(20), -1);
}

TEST(FindFreeSlot, EmptyAndFullTables) {
  EDITOR_CARD_TABLE table;
  EXPECT_EQ(table.findFreeSlot(), 0);
  fill(table, EDITOR_CARD_SLOTS);
  EXPECT_EQ(table.findFreeSlot(), 299);
  table.cards[17].inUse = false;
  EXPECT_EQ(table.findFreeSlot(), 17);
}

TEST(GetTopLayer, StartsAboveMinusTenAndStopsAtTheTop) {
  EDITOR_CARD_TABLE table;
  EXPECT_EQ(table.getTopLayer(), -9);
  fill(table, 2);
  table.cards[0].zLayer = 3;
  table.cards[1].zLayer = 7;
  EXPECT_EQ(table.getTopLayer(), 8);
  table.cards[1].zLayer = 100;
  EXPECT_EQ(table.getTopLayer(), 100);
  table.cards[0].zLayer = -50;
  table.cards[1].zLayer = -20;
  EXPECT_EQ(table.getTopLayer(), -9);
}

TEST(AddCard, PlayAreaBoundAndLayers) {
  EDITOR_CARD_TABLE table;
  EXPECT_EQ(table.addCard(1024 - 37.5f, 300, 0), 0);
  EXPECT_EQ(table.addCard(1024 - 37.4f, 300, 0), -1);
  EXPECT_EQ(table.countCardsInUse(), 1);
  EXPECT_TRUE(table.isModified);

  const int32_t positive = table.addCard(100, 100, 2.9f);
  EXPECT_EQ(table.cards[positive].zLayer, 2);
  const int32_t negative = table.addCard(100, 100, -2.9f);
  EXPECT_EQ(table.cards[negative].zLayer, -2);
  table.layerFilter = 5;
  const int32_t filtered = table.addCard(100, 100, -40.0f);
  EXPECT_EQ(table.cards[filtered].zLayer, 5);
}

TEST(AddCard, FullTableRefusesANewCardAndKeepsItsLastCard) {
  EDITOR_CARD_TABLE table;
  fill(table, EDITOR_CARD_SLOTS);
  table.cards[299].value = 12;
  const float x = table.cards[299].x;
  table.isModified = false;
  EXPECT_EQ(table.addCard(500, 400, 1), -1);
  EXPECT_FLOAT_EQ(table.cards[299].x, x);
  EXPECT_EQ(table.cards[299].value, 12);
  EXPECT_FALSE(table.isModified);
  // One slot freed: the next card takes exactly that one.
  table.cards[150].reset();
  EXPECT_EQ(table.addCard(500, 400, 1), 150);
  EXPECT_TRUE(table.isFull());
}

TEST(CardLine, SpreadAndFan) {
  EDITOR_CARD_TABLE table;
  fill(table, 3);
  table.cards[0].angle = 0.1f;
  for (int i = 0; i < 3; ++i) table.cardLine.push(i);
  table.cardLine.setStart(0, 0);
  table.cardLine.setEnd(100, 0);
  table.spreadCardLine();
  EXPECT_FLOAT_EQ(table.cards[0].x, 0);
  EXPECT_FLOAT_EQ(table.cards[1].x, 50);
  EXPECT_FLOAT_EQ(table.cards[2].x, 100);
  EXPECT_FLOAT_EQ(table.cardLine.middleX, 50);
  EXPECT_FLOAT_EQ(table.cardLine.middleY, 0);
  table.cardLine.fanAngle = 0.5f;
  table.fanCardLine();
  EXPECT_FLOAT_EQ(table.cards[0].angle, 0.1f);
  EXPECT_FLOAT_EQ(table.cards[1].angle, 0.25f);
  EXPECT_FLOAT_EQ(table.cards[2].angle, 0.5f);
}

TEST(CardLine, PointLineStacksOnTheStart) {
  EDITOR_CARD_TABLE table;
  fill(table, 3);
  for (int i = 0; i < 3; ++i) table.cardLine.push(i);
  table.cardLine.setStart(40, 60);
  table.cardLine.setEnd(40, 60);
  table.spreadCardLine();
  for (int i = 0; i < 3; ++i) {
    EXPECT_FLOAT_EQ(table.cards[i].x, 40);
    EXPECT_FLOAT_EQ(table.cards[i].y, 60);
  }
}

TEST(Generators, LinesMoveTheFirstFortyEight) {
  EDITOR_CARD_TABLE table;
  fill(table, 50);
  table.cards[48].x = 7;
  table.cards[0].angle = 1.0f;
  table.makeLinesOfCards();
  EXPECT_FLOAT_EQ(table.cards[0].x, 100);
  EXPECT_FLOAT_EQ(table.cards[0].y, 150);
  EXPECT_FLOAT_EQ(table.cards[0].angle, 0);
  EXPECT_FLOAT_EQ(table.cards[13].x, 100 + 77);
  EXPECT_FLOAT_EQ(table.cards[13].y, 150 + 146);
  EXPECT_FLOAT_EQ(table.cards[47].y, 150 + 3 * 146);
  EXPECT_FLOAT_EQ(table.cards[48].x, 7);
  EXPECT_FLOAT_EQ(table.cards[49].x, -100);
}

TEST(Generators, SquareRing) {
  EDITOR_CARD_TABLE table;
  fill(table, 32);
  table.makeSquareOfCards();
  EXPECT_FLOAT_EQ(table.cards[0].y, 550);
  EXPECT_FLOAT_EQ(table.cards[4].y, 550 - 4 * 118);
  EXPECT_FLOAT_EQ(table.cards[5].x, 100 + 77);
  EXPECT_FLOAT_EQ(table.cards[15].x, 100 + 11 * 77);
  EXPECT_FLOAT_EQ(table.cards[29].x, 100 + 77);
  EXPECT_FLOAT_EQ(table.cards[29].y, 550);
  EXPECT_FLOAT_EQ(table.cards[30].x, -100);
}

TEST(Generators, CircleMovesTheFirstFourteen) {
  EDITOR_CARD_TABLE table;
  fill(table, 20);
  // Slots not in use are skipped, not counted.
  table.cards[0].inUse = false;
  table.makeCircleOfCards();
  EXPECT_FLOAT_EQ(table.cards[1].x, 762);
  EXPECT_FLOAT_EQ(table.cards[1].y, 384);
  // k = 7 lies opposite: (262, 384); k = 1 rounds 250 cos(2π/14) = 225.2 to 225.
  EXPECT_FLOAT_EQ(table.cards[8].x, 262);
  EXPECT_FLOAT_EQ(table.cards[2].x, 512 + 225);
  EXPECT_FLOAT_EQ(table.cards[15].x, -100);
  EXPECT_TRUE(table.isModified);
}

TEST(Generators, KeepLayersValuesAndSpecials) {
  EDITOR_CARD_TABLE table;
  fill(table, 5);
  table.cards[2].zLayer = 6;
  table.cards[2].value = 33;
  table.cards[2].isSpecial = true;
  table.makeCircleOfCards();
  table.makeSquareOfCards();
  EXPECT_EQ(table.cards[2].zLayer, 6);
  EXPECT_EQ(table.cards[2].value, 33);
  EXPECT_TRUE(table.cards[2].isSpecial);
}

TEST(ClearEditor, EmptiesEverything) {
  EDITOR_CARD_TABLE table;
  fill(table, 10);
  table.cards[3].isSpecial = true;
  table.cards[3].value = 4;
  table.cards[3].overList = {1};
  table.currentCard = 3;
  table.selectedCards.add(4);
  table.cardLine.push(5);
  table.layerFilter = 2;
  table.countOfSpecialCards = 1;
  table.clearEditor();
  EXPECT_EQ(table.countCardsInUse(), 0);
  EXPECT_EQ(table.currentCard, -1);
  EXPECT_FALSE(table.selectedCards.hasCards());
  EXPECT_EQ(table.cardLine.count(), 0);
  EXPECT_EQ(table.layerFilter, EDITOR_NO_LAYER_FILTER);
  EXPECT_EQ(table.countOfSpecialCards, 0);
  EXPECT_TRUE(table.isModified);
  EXPECT_EQ(table.cards[3].value, -1);
  EXPECT_FALSE(table.cards[3].isSpecial);
  EXPECT_TRUE(table.cards[3].overList.empty());
}

TEST(ShapePlaces, PyramidCardsCoverTwoBelow) {
  const std::vector<CARD_PLACE> places = pyramidOfCards(500, 500, 4, 3, 80, -58, 0);
  ASSERT_EQ(places.size(), 9u);
  EDITOR_CARD_TABLE table;
  for (size_t i = 0; i < places.size(); ++i) {
    EDITOR_CARD& card = table.cards[i];
    card.putOnTable();
    card.x = places[i].x;
    card.y = places[i].y;
    card.zLayer = places[i].zLayer;
  }
  table.computeCoverLists();
  EXPECT_EQ(table.cards[4].underList, (std::vector<int32_t>{0, 1}));
  EXPECT_EQ(table.cards[8].underList, (std::vector<int32_t>{5, 6}));
  EXPECT_TRUE(table.cards[8].overList.empty());
  EXPECT_EQ(table.cards[0].overList, std::vector<int32_t>{4});
}

TEST(ShapePlaces, LayeredPyramidShrinksByOneEachWay) {
  const std::vector<CARD_PLACE> places = layeredPyramidOfCards(512, 380, 5, 3, 3, 84, 122, 0);
  EXPECT_EQ(places.size(), 15u + 8u + 3u);
  EXPECT_EQ(places.back().zLayer, 2);
  EXPECT_FLOAT_EQ(places.back().y, 380);
}

TEST(ShapePlaces, SquareRingHasEveryBorderCardOnce) {
  EXPECT_EQ(squareOfCards(0, 0, 10, 4, 90, 123, 0).size(), 24u);
  EXPECT_EQ(squareOfCards(0, 0, 1, 3, 90, 123, 0).size(), 3u);
  EXPECT_EQ(squareOfCards(0, 0, 4, 1, 90, 123, 0).size(), 4u);
}

TEST(ShapePlaces, FanTurnsAndRaisesEachCard) {
  const std::vector<CARD_PLACE> places = fanOfCards(0, 0, 90, 0, 4, 0.6f, 2, 1);
  ASSERT_EQ(places.size(), 4u);
  EXPECT_FLOAT_EQ(places[0].angle, 0);
  EXPECT_FLOAT_EQ(places[3].angle, 0.6f);
  EXPECT_EQ(places[3].zLayer, 5);
  EXPECT_FLOAT_EQ(places[2].x, 60);
}

}  // namespace
