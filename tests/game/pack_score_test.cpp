#include <gtest/gtest.h>

#include <vector>

#include "game/scenes/level/level_scene.h"
#include "save_folder_fixture.h"

namespace {

constexpr int32_t PACK = 3;
constexpr int32_t FIRST = PACK * kLevelsPerPack;

class PackScore : public SaveFolderTest {
 protected:
  void SetUp() override {
    SaveFolderTest::SetUp();
    gNumberOfPlayers = 2;
    gCurrentPlayer = 1;
    gCurrentPack = PACK;
    gGameMode = 0;
  }

  static void frame(int32_t i, int32_t result, int32_t ball1, int32_t ball2, int32_t ball3 = -1) {
    setLevelResult(gCurrentPlayer, FIRST + i, kResultField, result);
    setLevelResult(gCurrentPlayer, FIRST + i, kSpecialCards1Field, ball1);
    setLevelResult(gCurrentPlayer, FIRST + i, kSpecialCards2Field, ball2);
    setLevelResult(gCurrentPlayer, FIRST + i, kSpecialCards3Field, ball3);
  }
  static void strike(int32_t i) { frame(i, 4, 10, 0); }
  static int32_t score(int32_t i) { return getLevelResult(gCurrentPlayer, FIRST + i, kScoreField); }
  static std::vector<int32_t> scores() {
    std::vector<int32_t> all;
    for (int32_t i = 0; i < kLevelsPerPack; ++i) all.push_back(score(i));
    return all;
  }
};

TEST_F(PackScore, StrikesCountTheNextTwoBalls) {
  strike(0);
  strike(1);
  frame(2, 2, 3, 4);
  setLevelResult(gCurrentPlayer, FIRST + 3, kScoreField, 99);  // an old score, not played
  calculatePackScore();
  EXPECT_EQ(score(0), 23);
  EXPECT_EQ(score(1), 40);
  EXPECT_EQ(score(2), 47);
  EXPECT_EQ(score(3), 99);
}

TEST_F(PackScore, AStrikeBeforeAnUnplayedFrameCountsTen) {
  strike(0);
  frame(1, 1, 0, 0);
  calculatePackScore();
  EXPECT_EQ(score(0), 10);

  // Two strikes and nothing yet after them: twenty and ten for now.
  strike(1);
  calculatePackScore();
  EXPECT_EQ(score(0), 20);
  EXPECT_EQ(score(1), 30);
}

TEST_F(PackScore, TwelveStrikesMakeThePerfectGame) {
  for (int32_t i = 0; i < 9; ++i) strike(i);
  frame(9, 4, 10, 10, 10);
  calculatePackScore();
  EXPECT_EQ(scores(), (std::vector<int32_t>{30, 60, 90, 120, 150, 180, 210, 240, 270, 300}));
  EXPECT_EQ(getPackScore(PACK), 300);
}

TEST_F(PackScore, SparesCountTheNextBall) {
  for (int32_t i = 0; i < 9; ++i) frame(i, 3, 5, 5);
  frame(9, 3, 5, 5, 5);
  calculatePackScore();
  EXPECT_EQ(score(0), 15);
  EXPECT_EQ(score(9), 150);

  // A spare before an unplayed frame counts ten for now.
  frame(5, 1, 0, 0);
  calculatePackScore();
  EXPECT_EQ(score(4), 70);
}

TEST_F(PackScore, OpenFramesCountTheirSkittles) {
  for (int32_t i = 0; i < 10; ++i) frame(i, 2, i % 5, 4);
  calculatePackScore();
  EXPECT_EQ(score(0), 4);
  EXPECT_EQ(score(9), 60);
}

TEST_F(PackScore, AWholeGameOfStrikesSparesAndOpenFrames) {
  // X, 7/, 9-0, X, 0-8, 8/, 0-6, X, X, X 8 1: 167.
  strike(0);
  frame(1, 3, 7, 3);
  frame(2, 2, 9, 0);
  strike(3);
  frame(4, 2, 0, 8);
  frame(5, 3, 8, 2);
  frame(6, 2, 0, 6);
  strike(7);
  strike(8);
  frame(9, 4, 10, 8, 1);
  calculatePackScore();
  EXPECT_EQ(scores(), (std::vector<int32_t>{20, 39, 48, 66, 74, 84, 90, 120, 148, 167}));
}

TEST_F(PackScore, TheLastFramesStrikeAndSpareTakeTheirBonusBalls) {
  for (int32_t i = 0; i < 7; ++i) frame(i, 2, 0, 0);
  strike(7);
  strike(8);
  frame(9, 4, 10, 10, 10);
  calculatePackScore();
  EXPECT_EQ(score(7), 30);
  EXPECT_EQ(score(8), 60);
  EXPECT_EQ(score(9), 90);

  frame(9, 3, 4, 6, 6);  // spare, bonus ball 6: 16
  calculatePackScore();
  EXPECT_EQ(score(9) - score(8), 16);
  EXPECT_EQ(score(8) - score(7), 20);  // the strike before it: 10 + 4 + 6
}

TEST_F(PackScore, TheLastFrameIsScoredByItsBalls) {
  for (int32_t i = 0; i < 8; ++i) frame(i, 2, 0, 0);
  strike(8);
  // A strike whose bonus balls are still to come (third ball not played): ten, not nine.
  frame(9, 4, 10, 0, -1);
  calculatePackScore();
  EXPECT_EQ(score(9) - score(8), 10);

  // A spare whose bonus ball was a strike is stored with the kind of a strike.
  frame(9, 4, 7, 3, 10);
  calculatePackScore();
  EXPECT_EQ(score(8), 20);  // 10 + 7 + 3
  EXPECT_EQ(score(9) - score(8), 20);

  // A strike whose bonus balls left skittles standing is stored as an open frame.
  frame(9, 2, 10, 4, 3);
  calculatePackScore();
  EXPECT_EQ(score(9) - score(8), 17);
}

TEST_F(PackScore, AnUnplayedFrameStopsTheSheet) {
  for (int32_t i = 0; i < 10; ++i) frame(i, 2, 3, 3);
  calculatePackScore();
  EXPECT_EQ(score(9), 60);

  frame(4, 1, 0, 0);
  frame(2, 2, 1, 1);
  calculatePackScore();
  EXPECT_EQ(score(2), 14);
  EXPECT_EQ(score(3), 20);
  // Frames from the unplayed one on keep their old totals.
  EXPECT_EQ(score(4), 30);
  EXPECT_EQ(score(9), 60);
}

TEST_F(PackScore, OnlyTheCurrentPlayerPackAndModeAreRewritten) {
  strike(0);
  setLevelResult(0, FIRST, kScoreField, 55);                      // another player
  setLevelResult(gCurrentPlayer, FIRST - 1, kScoreField, 66);     // the pack before
  setLevelResult(gCurrentPlayer, FIRST, kScoreField, 77, 1);      // the other mode
  calculatePackScore();
  EXPECT_EQ(score(0), 10);
  EXPECT_EQ(getLevelResult(0, FIRST, kScoreField), 55);
  EXPECT_EQ(getLevelResult(gCurrentPlayer, FIRST - 1, kScoreField), 66);
  EXPECT_EQ(getLevelResult(gCurrentPlayer, FIRST, kScoreField, 1), 77);

  gCurrentPack = 12;  // no such pack: nothing happens
  calculatePackScore();
  EXPECT_TRUE(logged("calculatePackScore"));
}

}  // namespace
