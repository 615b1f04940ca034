#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <set>

#include "engine/input.h"
#include "game/card.h"
#include "game/scenes/level/level_scene.h"
#include "level_geometry/card_geometry.h"

namespace {

constexpr float PI = 3.14159265f;

class LevelRules : public ::testing::Test {
 protected:
  void SetUp() override { _scene = std::make_unique<SCENE_CARD_GAME_LEVEL>(); }

  // A layout card on the table where the rules look for it (its current position).
  CARD* lay(int32_t id, float x, float y, float angleRadians = 0.0f) {
    CARD* card = new CARD();
    card->init(id);
    card->putOnTable();
    card->currentX = x;
    card->currentY = y;
    card->angle = angleRadians;
    _scene->cards[id] = card;
    return card;
  }

  void pointerAt(int32_t x, int32_t y) { _input._mouse._position = {x, y}; }

  std::unique_ptr<SCENE_CARD_GAME_LEVEL> _scene;
  QEL::QK_BUTTON _input;
};

TEST_F(LevelRules, ACardIsFreeWhenNothingOnTheTableLiesOverIt) {
  CARD* bottom = lay(0, 500, 400);
  lay(1, 500, 430);
  lay(2, 520, 430);
  EXPECT_EQ(_scene->countCardsOver(0), 0);  // empty over list

  const int32_t over[] = {1, 2};
  bottom->setOverList(over, 2);
  EXPECT_EQ(_scene->countCardsOver(0), 2);
  _scene->cards[1]->reset();  // taken in a pair
  EXPECT_EQ(_scene->countCardsOver(0), 1);
  _scene->cards[2]->reset();
  EXPECT_EQ(_scene->countCardsOver(0), 0);

  // Names of slots that hold no card at all count for nothing.
  const int32_t stray[] = {7, 299};
  bottom->setOverList(stray, 2);
  EXPECT_EQ(_scene->countCardsOver(0), 0);
  EXPECT_EQ(_scene->countCardsOver(-1), 0);
  EXPECT_EQ(_scene->countCardsOver(300), 0);
}

TEST_F(LevelRules, PairsGoByRankAndTheJokerMatchesAnything) {
  EXPECT_TRUE(_scene->isMatchingPair(14, 14));
  EXPECT_FALSE(_scene->isMatchingPair(14, 2));  // ranks do not wrap
  EXPECT_FALSE(_scene->isMatchingPair(9, 10));
  EXPECT_TRUE(_scene->isMatchingPair(777, 5));
  EXPECT_TRUE(_scene->isMatchingPair(5, 777));
  EXPECT_TRUE(_scene->isMatchingPair(777, 777));

  _scene->isJokerMode = true;
  EXPECT_FALSE(_scene->isMatchingPair(14, 14));
  EXPECT_FALSE(_scene->isMatchingPair(777, 5));
}

TEST_F(LevelRules, ABetterResultHasAHigherKindOrAsManySkittles) {
  _scene->levelResult = {2, 4, 3, 0, 0};
  _scene->bestLevelResult = {2, 5, 2, 0, 0};
  EXPECT_TRUE(_scene->isBetterResult());  // equal sums count as better

  _scene->levelResult = {2, 4, 2, 0, 0};
  EXPECT_FALSE(_scene->isBetterResult());

  _scene->levelResult = {3, 0, 0, 0, 0};
  _scene->bestLevelResult = {4, 10, 0, 0, 0};
  EXPECT_FALSE(_scene->isBetterResult());  // whatever the balls

  _scene->levelResult = {4, 10, 0, 0, -1};
  _scene->bestLevelResult = {2, 9, 0, 0, 0};
  EXPECT_TRUE(_scene->isBetterResult());

  // The score takes no part.
  _scene->levelResult = {2, 3, 3, 100, 0};
  _scene->bestLevelResult = {2, 3, 4, 0, 0};
  EXPECT_FALSE(_scene->isBetterResult());
}

TEST_F(LevelRules, ThePointInRectangleTestIncludesTheBorder) {
  EXPECT_TRUE(SCENE_CARD_GAME_LEVEL::isPointInRect(537.5f, 400, 500, 400, 75, 116));
  EXPECT_TRUE(SCENE_CARD_GAME_LEVEL::isPointInRect(462.5f, 342, 500, 400, 75, 116));
  EXPECT_FALSE(SCENE_CARD_GAME_LEVEL::isPointInRect(537.6f, 400, 500, 400, 75, 116));
  EXPECT_FALSE(SCENE_CARD_GAME_LEVEL::isPointInRect(500, 458.1f, 500, 400, 75, 116));
}

TEST_F(LevelRules, TheBorderOfAnUnturnedCardIsOutsideIt) {
  lay(3, 500, 400);
  pointerAt(500, 400);
  EXPECT_TRUE(_scene->isPointerOverCard(3));
  pointerAt(500, 342);  // on the top edge
  EXPECT_FALSE(_scene->isPointerOverCard(3));
  EXPECT_TRUE(SCENE_CARD_GAME_LEVEL::isPointInRect(500, 342, 500, 400, 75, 116));
  pointerAt(463, 343);
  EXPECT_TRUE(_scene->isPointerOverCard(3));
  pointerAt(500, 458);
  EXPECT_FALSE(_scene->isPointerOverCard(3));
  pointerAt(537, 457);
  EXPECT_TRUE(_scene->isPointerOverCard(3));
  EXPECT_FALSE(_scene->isPointerOverCard(4));  // an empty slot
}

TEST_F(LevelRules, ATurnedCardIsHitWhereItIsDrawn) {
  // A quarter turn lays the card on its side.
  lay(5, 500, 400, PI / 2);
  pointerAt(550, 400);
  EXPECT_TRUE(_scene->isPointerOverCard(5));
  pointerAt(500, 450);
  EXPECT_FALSE(_scene->isPointerOverCard(5));

  // A positive angle turns clockwise on the screen: the point (30, -50) of the card, near its
  // top-right corner, lands at about (551, 372).
  _scene->cards[5]->angle = PI / 6;
  pointerAt(551, 372);
  EXPECT_TRUE(_scene->isPointerOverCard(5));
  _scene->cards[5]->angle = -PI / 6;
  EXPECT_FALSE(_scene->isPointerOverCard(5));
}

TEST_F(LevelRules, SegmentsMeetAtSharedEndsButNotAlongACommonLine) {
  EXPECT_TRUE(segmentsIntersect(0, 0, 10, 10, 0, 10, 10, 0));  // a cross
  EXPECT_TRUE(segmentsIntersect(0, 0, 1, 1, 1, 1, 2, 0));      // one shared end point
  EXPECT_TRUE(segmentsIntersect(0, 0, 10, 0, 5, 0, 5, 5));     // an end on the other's middle
  EXPECT_FALSE(segmentsIntersect(0, 0, 10, 0, 5, 0, 15, 0));   // overlapping, collinear
  EXPECT_FALSE(segmentsIntersect(0, 0, 10, 0, 0, 1, 10, 1));   // parallel
  EXPECT_FALSE(segmentsIntersect(0, 0, 10, 10, 0, 10, 4, 6));  // would meet only if longer
}

TEST_F(LevelRules, CardsOverlapWhenACornerOfTheFirstLiesInTheSecond) {
  lay(0, 500, 400);
  lay(1, 540, 410);
  EXPECT_TRUE(_scene->cardsOverlap(0, 1));
  EXPECT_TRUE(_scene->cardsOverlap(1, 0));
  EXPECT_FALSE(_scene->cardsOverlap(0, 0));

  lay(2, 700, 400);
  EXPECT_FALSE(_scene->cardsOverlap(0, 2));

  // A plus sign: the edges cross, no corner of either lies in the other.
  lay(3, 500, 400, PI / 2);
  EXPECT_FALSE(_scene->cardsOverlap(0, 3));
  EXPECT_FALSE(_scene->cardsOverlap(3, 0));

  // Not symmetric: a corner of card 0 pokes into the turned card 4, none of 4's into 0.
  lay(4, 570, 470, PI / 4);
  EXPECT_TRUE(_scene->cardsOverlap(0, 4));
  EXPECT_FALSE(_scene->cardsOverlap(4, 0));

  EXPECT_FALSE(_scene->cardsOverlap(0, 9));  // an empty slot
}

TEST_F(LevelRules, TheAtlasFramesOfFacesBacksAndTheJoker) {
  EXPECT_EQ(SCENE_CARD_GAME_LEVEL::getCardFrame(21, 1), 0);   // ten of suit index 1
  EXPECT_EQ(SCENE_CARD_GAME_LEVEL::getCardFrame(13, 1), 5);   // two of suit index 1
  EXPECT_EQ(SCENE_CARD_GAME_LEVEL::getCardFrame(12, 0), 88);  // ace of suit index 0
  EXPECT_EQ(SCENE_CARD_GAME_LEVEL::getCardFrame(0, 0), 89);   // two of suit index 0
  EXPECT_EQ(SCENE_CARD_GAME_LEVEL::getCardFrame(51, 1), 32);  // ace of suit index 3, row 2
  EXPECT_EQ(SCENE_CARD_GAME_LEVEL::getCardFrame(0, 2), 67);
  EXPECT_EQ(SCENE_CARD_GAME_LEVEL::getCardFrame(11, 2), 62);
  EXPECT_EQ(SCENE_CARD_GAME_LEVEL::getCardFrame(12, 2), 2);
  EXPECT_EQ(SCENE_CARD_GAME_LEVEL::getCardFrame(777, 3), 68);
  EXPECT_EQ(SCENE_CARD_GAME_LEVEL::getCardFrame(5, 4), 2);
  // Only card values have faces.
  EXPECT_EQ(SCENE_CARD_GAME_LEVEL::getCardFrame(777, 0), 2);
  EXPECT_EQ(SCENE_CARD_GAME_LEVEL::getCardFrame(-1, 1), 2);

  // Each face set fills four whole rows, columns 0-12, one frame per card.
  for (int32_t set = 0; set <= 1; ++set) {
    std::set<int32_t> frames;
    for (int32_t value = 0; value < 52; ++value) {
      const int32_t frame = SCENE_CARD_GAME_LEVEL::getCardFrame(value, set);
      EXPECT_NE(frame % 14, 13) << value;
      EXPECT_EQ(frame / 14 >= 5, set == 0) << value;
      frames.insert(frame);
    }
    EXPECT_EQ(frames.size(), 52u);
  }
}

TEST_F(LevelRules, ThePauseWindowOpensInItsOpenState) {
  _scene->setPauseWindowOpen();
  EXPECT_EQ(_scene->windowState, 4);
}

}  // namespace
