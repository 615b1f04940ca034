#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "game/scenes/level/level_scene.h"
#include "save_folder_fixture.h"

namespace {

namespace fs = std::filesystem;

class StatisticsFile : public SaveFolderTest {
 protected:
  void SetUp() override {
    SaveFolderTest::SetUp();
    gSessionNumber = 3;
    gCurrentPack = 0;
    gCurrentLevel = 4;
    gTenthFrameBonus = 0;
    gTenthFrameKind = 0;
    for (int& attempts : gLevelAttempts) attempts = 0;
    gLevelAttempts[4] = 2;
    _scene = std::make_unique<SCENE_CARD_GAME_LEVEL>();
  }
  void TearDown() override {
    _scene.reset();
    gTenthFrameBonus = 0;
    gTenthFrameKind = 0;
    SaveFolderTest::TearDown();
  }

  fs::path session() const { return statistics() / std::to_string(gSessionNumber); }

  // The files of this run's folder.
  std::vector<std::string> written() const {
    std::vector<std::string> names;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(session(), error)) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }

  std::string writeFor(int32_t level, int32_t result, int32_t b1, int32_t b2, int32_t b3) {
    gCurrentLevel = level;
    gCurrentPack = level / kLevelsPerPack;
    _scene->levelResult = {result, b1, b2, 0, b3};
    std::error_code error;
    fs::remove_all(session(), error);
    _scene->saveStatisticsOfLevel();
    const std::vector<std::string> names = written();
    return names.size() == 1 ? names[0] : names.empty() ? "(none)" : "(several)";
  }

  std::unique_ptr<SCENE_CARD_GAME_LEVEL> _scene;
};

TEST_F(StatisticsFile, AStrikeIsWrittenWithEverythingThatHappened) {
  _scene->levelResult = {4, 10, 0, 0, -1};
  _scene->reshufflesUsed = 2;
  _scene->cardsLeftAtReshuffle[0] = 30;
  _scene->cardsLeftAtReshuffle[1] = 12;
  _scene->clockMs = 61500;
  _scene->shopMoneySpent = 400;
  _scene->placesBought = 1;
  _scene->reshufflesBought = 2;
  _scene->jokersBought = 0;
  _scene->levelMoney = 1234;
  _scene->saveStatisticsOfLevel();

  EXPECT_EQ(written(), (std::vector<std::string>{"level_number_5_2_X0.txt"}));
  EXPECT_EQ(test_support::readFile(session() / "level_number_5_2_X0.txt"),
            "Level pack number=1\n"
            "Level number=5\n"
            "Results=X0\n"
            "Reshuffle was used 2 times. Cards left: \n"
            "     1) Cards left: 30\n"
            "     2) Cards left: 12\n"
            "Joker was used 0 times. Cards left: \n"
            "Time=01:01\n"
            "Shop. Money spent: 400. Was purchased: \n"
            "\t1) Places: 1\n"
            "\t2) Reshuffles: 2\n"
            "\t3) Jokers: 0\n"
            "Money=1234\n");
}

TEST_F(StatisticsFile, AnExistingFileOfTheSameNameIsReplaced) {
  fs::create_directories(session());
  test_support::writeFile(session() / "level_number_5_2_72.txt", "old text that is much longer than the new one\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n");
  _scene->levelResult = {2, 7, 2, 0, -1};
  _scene->jokersUsed = 1;
  _scene->cardsLeftAtJoker[0] = 8;
  _scene->clockMs = 100 * 60000 + 5000;
  _scene->saveStatisticsOfLevel();
  EXPECT_EQ(written(), (std::vector<std::string>{"level_number_5_2_72.txt"}));
  const std::string text = test_support::readFile(session() / "level_number_5_2_72.txt");
  EXPECT_EQ(text.find("old text"), std::string::npos);
  EXPECT_NE(text.find("Results=72\nReshuffle was used 0 times. Cards left: \nJoker was used 1 times. Cards left: \n     1) Cards left: 8\nTime=100:05\n"),
            std::string::npos);
  EXPECT_EQ(text.find('\r'), std::string::npos);
}

TEST_F(StatisticsFile, ResultCodesOfTheFirstNineFrames) {
  EXPECT_EQ(writeFor(0, 3, 6, 4, -1), "level_number_1_0_Y0.txt");
  EXPECT_EQ(writeFor(8, 2, 0, 0, -1), "level_number_9_0_00.txt");
  EXPECT_EQ(writeFor(11, 1, 4, -1, -1), "level_number_12_0_.txt");
  EXPECT_EQ(writeFor(118, 4, 10, 0, -1), "level_number_119_0_X0.txt");
}

TEST_F(StatisticsFile, TheTenthFrameWaitsForItsBonusBalls) {
  gLevelAttempts[19] = 1;
  EXPECT_EQ(writeFor(19, 4, 10, 0, -1), "(none)");
  EXPECT_EQ(writeFor(19, 3, 8, 2, -1), "(none)");
  EXPECT_EQ(writeFor(19, 1, 8, -1, -1), "(none)");
  EXPECT_EQ(writeFor(19, 2, 8, 1, -1), "level_number_20_1_81.txt");

  // The bonus play writes the whole frame, named by the strike or spare that earned it; it
  // has its own attempt count.
  gTenthFrameBonus = 1;
  gTenthFrameKind = 3;
  gLevelAttempts[19] = 4;
  EXPECT_EQ(writeFor(19, 2, 8, 2, 7), "level_number_20_4_Y07.txt");
  EXPECT_EQ(writeFor(19, 4, 8, 2, 10), "level_number_20_4_Y010.txt");
  gTenthFrameKind = 4;
  EXPECT_EQ(writeFor(19, 4, 10, 10, 10), "level_number_20_4_XXX.txt");
  EXPECT_EQ(writeFor(19, 2, 10, 10, 4), "level_number_20_4_XX4.txt");
  EXPECT_EQ(writeFor(19, 3, 10, 3, 7), "level_number_20_4_XY0.txt");
  EXPECT_EQ(writeFor(19, 2, 10, 3, 4), "level_number_20_4_X34.txt");
  EXPECT_EQ(writeFor(19, 1, 10, 3, 4), "level_number_20_4_.txt");
}

TEST_F(StatisticsFile, TwoBonusStrikesWaitForTheLastBall) {
  gTenthFrameBonus = 1;
  gTenthFrameKind = 4;
  EXPECT_EQ(writeFor(9, 2, 10, 10, 0), "level_number_10_0_XX0.txt");
  EXPECT_EQ(writeFor(9, 4, 10, 10, -1), "(none)");
}

TEST_F(StatisticsFile, UsesBeyondTheRecordedOnesAreCountedOnly) {
  _scene->levelResult = {4, 10, 0, 0, -1};
  _scene->reshufflesUsed = 305;
  for (int32_t i = 0; i < SCENE_CARD_GAME_LEVEL::MAX_LAYOUT_CARDS; ++i) _scene->cardsLeftAtReshuffle[i] = i;
  _scene->saveStatisticsOfLevel();
  const std::string text = test_support::readFile(session() / "level_number_5_2_X0.txt");
  EXPECT_NE(text.find("Reshuffle was used 305 times."), std::string::npos);
  EXPECT_NE(text.find("     300) Cards left: 299\n"), std::string::npos);
  EXPECT_EQ(text.find("     301)"), std::string::npos);
}

TEST_F(StatisticsFile, AFolderThatCannotBeMadeIsLoggedAndNothingBreaks) {
  fs::create_directories(statistics());
  test_support::writeFile(session(), "a file where the run's folder belongs");
  _scene->levelResult = {4, 10, 0, 0, -1};
  _scene->saveStatisticsOfLevel();
  EXPECT_TRUE(logged("saveStatisticsOfLevel: cannot write"));
  EXPECT_TRUE(fs::is_regular_file(session()));

  // Nothing is left half-written beside a good file either.
  fs::remove(session());
  _scene->saveStatisticsOfLevel();
  EXPECT_EQ(written(), (std::vector<std::string>{"level_number_5_2_X0.txt"}));
}

}  // namespace
