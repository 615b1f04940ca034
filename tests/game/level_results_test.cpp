#include "game/level_results.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <pugixml.hpp>
#include <string>

#include "game/game_globals.h"
#include "game/players.h"
#include "save_folder_fixture.h"

namespace {

using test_support::readFile;
using test_support::writeFile;

class LevelResultsTest : public SaveFolderTest {
 protected:
  // Frame of the current player and mode: result kind, balls and running score.
  void setFrame(int level, int result, int score, int ball1 = 0, int ball2 = 0) {
    setLevelResult(gCurrentPlayer, level, kResultField, result);
    setLevelResult(gCurrentPlayer, level, kSpecialCards1Field, ball1);
    setLevelResult(gCurrentPlayer, level, kSpecialCards2Field, ball2);
    setLevelResult(gCurrentPlayer, level, kScoreField, score);
  }

  void useGoals(const char* goals) {
    ASSERT_TRUE(gTexts.load_string((std::string("<texts>") + goals + "</texts>").c_str()));
  }
};

TEST_F(LevelResultsTest, FieldsPerModeAndPlayer) {
  setLevelResult(1, 5, kScoreField, 42, 0);
  setLevelResult(1, 5, kScoreField, 17, 1);
  setLevelResult(1, 5, kSpecialCards3Field, 3, 1);
  EXPECT_EQ(getLevelResult(1, 5, kScoreField, 0), 42);
  EXPECT_EQ(getLevelResult(1, 5, kScoreField, 1), 17);
  EXPECT_EQ(getLevelResult(1, 5, kScoreField, 7), 17);  // any mode but 0 is professional
  EXPECT_EQ(getLevelResult(1, 5, kSpecialCards3Field, 1), 3);
  EXPECT_EQ(gLevelResultsProfessional[1][5].specialCards3, 3);
  EXPECT_EQ(getLevelResult(0, 5, kScoreField, 0), 0);

  gGameMode = 1;  // -1 follows the current mode
  EXPECT_EQ(getLevelResult(1, 5, kScoreField, -1), 17);
  setLevelResult(1, 6, kResultField, 4, -1);
  EXPECT_EQ(gLevelResultsProfessional[1][6].result, 4);
  EXPECT_EQ(gLevelResultsJunior[1][6].result, 0);
}

TEST_F(LevelResultsTest, OutOfRangeAccessIsRefused) {
  EXPECT_EQ(getLevelResult(5, 0, kResultField, 0), 0);
  EXPECT_EQ(getLevelResult(0, 120, kResultField, 0), 0);
  EXPECT_EQ(getLevelResult(0, -1, kResultField, 0), 0);
  EXPECT_EQ(getLevelResult(0, 0, 5, 0), 0);
  setLevelResult(-1, 0, kResultField, 4, 0);
  setLevelResult(0, 500, kResultField, 4, 0);
  setLevelResult(0, 0, -1, 4, 0);
  EXPECT_TRUE(logged("setLevelResult: no player 0 level 500"));
  gCurrentPlayer = 9;
  EXPECT_FALSE(hasLevelResult(0));
  EXPECT_EQ(getPackScore(0), 0);
  EXPECT_FALSE(isPackUnlocked(0));
  EXPECT_FALSE(isPackUnlocked(12));
}

TEST_F(LevelResultsTest, PackTotalIsTheLastFinishedFramesScore) {
  gCurrentPlayer = 1;
  EXPECT_EQ(getPackScore(2), 0);
  setFrame(20, 4, 30);
  setFrame(21, 1, 99);  // open, not finished: does not count
  EXPECT_EQ(getPackScore(2), 30);
  setFrame(24, 2, 57);  // earlier frames unplayed still count the last finished one
  EXPECT_EQ(getPackScore(2), 57);
  setFrame(29, 3, 180);
  EXPECT_EQ(getPackScore(2), 180);
  EXPECT_EQ(getPackScore(1), 0);
  EXPECT_EQ(getPackScore(-1), 0);
  EXPECT_EQ(getPackScore(12), 0);

  gGameMode = 1;  // the current mode's table
  EXPECT_EQ(getPackScore(2), 0);
}

TEST_F(LevelResultsTest, PackOpensWhenThePreviousPackReachesItsGoal) {
  useGoals("<junior_pack1_goal text=\"150\"/><professional_pack1_goal text=\"250\"/>");
  setFrame(0, 1, 0);
  EXPECT_TRUE(isPackUnlocked(0));
  setFrame(0, 2, 20);
  setFrame(9, 2, 149);
  EXPECT_FALSE(isPackUnlocked(1));
  EXPECT_EQ(getLevelResult(0, 10, kResultField), 0);
  setFrame(9, 2, 150);
  EXPECT_TRUE(isPackUnlocked(1));
  EXPECT_EQ(getLevelResult(0, 10, kResultField), 1);  // opened as a side effect

  // Professional mode reads its own goal.
  gGameMode = 1;
  setFrame(9, 2, 200);
  EXPECT_FALSE(isPackUnlocked(1));
  setFrame(9, 2, 250);
  EXPECT_TRUE(isPackUnlocked(1));
}

TEST_F(LevelResultsTest, PackStaysLockedUntilThePreviousTenthFrameIsFinished) {
  useGoals("");
  setFrame(18, 4, 290);  // ninth frame of pack 1 only
  EXPECT_FALSE(isPackUnlocked(2));
  setFrame(19, 2, 0);  // a missing goal is 0: the finished tenth frame suffices
  EXPECT_TRUE(isPackUnlocked(2));
}

TEST_F(LevelResultsTest, TotalsOverOpenPacks) {
  useGoals("<junior_pack1_goal text=\"100\"/>");
  gCurrentPlayer = 0;
  setFrame(0, 2, 10);
  setFrame(9, 4, 300);
  setFrame(10, 2, 40);
  setFrame(30, 2, 77);  // pack 3 open through its first level; pack 2 locked
  EXPECT_EQ(getTotalScore(), 300 + 40 + 77);
  EXPECT_EQ(getTotalScore(1), 0);
  EXPECT_EQ(countPerfectPacks(), 1);
  setLevelResult(1, 9, kScoreField, 5);
  setLevelResult(1, 9, kResultField, 2);
  EXPECT_EQ(getPlayerTotalScore(1), 5);
}

TEST_F(LevelResultsTest, ClearingAndTheAllLevelsView) {
  gNumberOfPlayers = 2;
  setLevelResult(0, 3, kResultField, 4, 0);
  setLevelResult(1, 3, kResultField, 4, 0);
  setLevelResult(1, 3, kResultField, 4, 1);
  setLevelResult(3, 3, kResultField, 4, 0);  // not a counted player
  clearLevelResults(0);
  EXPECT_EQ(getLevelResult(0, 3, kResultField, 0), 0);
  EXPECT_EQ(getLevelResult(1, 3, kResultField, 0), 0);
  EXPECT_EQ(getLevelResult(1, 3, kResultField, 1), 4);
  EXPECT_EQ(getLevelResult(3, 3, kResultField, 0), 4);

  clearPlayerLevelResults(1);
  setLevelResult(1, 0, kScoreField, 5, 0);
  clearPlayerLevelResults(1);
  EXPECT_EQ(getLevelResult(1, 0, kScoreField, 0), 0);
  EXPECT_EQ(getLevelResult(1, 3, kResultField, 1), 4);
  clearPlayerLevelResults(8);

  markAllLevelsFinished();
  for (int mode = 0; mode <= 1; ++mode)
    for (int player = 0; player < 2; ++player) {
      EXPECT_EQ(getLevelResult(player, 119, kResultField, mode), 2);
      EXPECT_EQ(getLevelResult(player, 119, kSpecialCards1Field, mode), 1);
      EXPECT_EQ(getLevelResult(player, 119, kSpecialCards2Field, mode), 1);
      EXPECT_EQ(getLevelResult(player, 119, kScoreField, mode), 1);
      EXPECT_EQ(getLevelResult(player, 119, kSpecialCards3Field, mode), 0);
    }
}

TEST_F(LevelResultsTest, ResultFilesRoundTripPerMode) {
  gNumberOfPlayers = 2;
  gCurrentPlayer = 1;
  gGameMode = 1;
  for (int player = 0; player < 2; ++player)
    for (int level = 0; level < kLevelCount; ++level) {
      LEVEL_RESULT& entry = gLevelResultsProfessional[player][level];
      entry.result = (level + player) % 5;
      entry.specialCards1 = level % 11;
      entry.specialCards2 = (level + 3) % 11 - 1;
      entry.score = (level * 7 + player) % 301;
      entry.specialCards3 = level % 10;
    }
  const LEVEL_RESULT saved = gLevelResultsProfessional[1][19];
  saveLevelsInfo();
  EXPECT_TRUE(std::filesystem::exists(saves() / "player0_p.xml"));
  EXPECT_TRUE(std::filesystem::exists(saves() / "player1_p.xml"));
  EXPECT_FALSE(std::filesystem::exists(saves() / "player0.xml"));
  EXPECT_TRUE(logged("START - saveLevelsInfo()"));
  EXPECT_TRUE(logged("END - saveLevelsInfo()"));

  pugi::xml_document document;
  ASSERT_TRUE(document.load_file((saves() / "player1_p.xml").c_str()));
  EXPECT_EQ(document.child("info").attribute("levelsNumber").as_int(), 120);
  int count = 0;
  for (const pugi::xml_node level : document.child("info").children("level")) {
    const int id = level.attribute("id").as_int();
    EXPECT_EQ(id, count);
    EXPECT_EQ(static_cast<bool>(level.attribute("specialCards3")), id % 10 == 9) << id;
    ++count;
  }
  EXPECT_EQ(count, 120);

  for (int player = 0; player < kMaxPlayers; ++player)
    for (LEVEL_RESULT& entry : gLevelResultsProfessional[player]) entry = LEVEL_RESULT{};
  loadLevelsInfo(-1);
  EXPECT_EQ(gLevelResultsProfessional[1][19].result, saved.result);
  EXPECT_EQ(gLevelResultsProfessional[1][19].specialCards1, saved.specialCards1);
  EXPECT_EQ(gLevelResultsProfessional[1][19].specialCards2, saved.specialCards2);
  EXPECT_EQ(gLevelResultsProfessional[1][19].score, saved.score);
  EXPECT_EQ(gLevelResultsProfessional[1][19].specialCards3, saved.specialCards3);
  EXPECT_EQ(gLevelResultsProfessional[0][18].specialCards3, 0);  // only tenth frames keep ball 3
  EXPECT_EQ(gLevelResultsProfessional[0][44].score, (44 * 7) % 301);
}

TEST_F(LevelResultsTest, LoadingOpensTheFirstLevelOfTheCurrentPlayer) {
  gNumberOfPlayers = 2;
  gCurrentPlayer = 1;
  loadAllLevelsInfo();  // no files: everything locked but the first level in the current mode
  EXPECT_EQ(getLevelResult(1, 0, kResultField, 0), 1);
  EXPECT_EQ(getLevelResult(0, 0, kResultField, 0), 0);
  EXPECT_EQ(getLevelResult(1, 0, kResultField, 1), 0);
  EXPECT_EQ(getLevelResult(1, 1, kResultField, 0), 0);
}

TEST_F(LevelResultsTest, NoPlayerNoLoad) {
  setLevelResult(0, 4, kResultField, 3, 0);
  loadLevelsInfo(0);
  EXPECT_EQ(getLevelResult(0, 4, kResultField, 0), 3);
  EXPECT_TRUE(logged("START - loadLevelsInfo()"));
  EXPECT_FALSE(logged("END - loadLevelsInfo()"));
  saveLevelsInfo();
  EXPECT_FALSE(std::filesystem::exists(saves() / "player0.xml"));
}

TEST_F(LevelResultsTest, SavingAlsoSavesTheCurrentPlayersMoney) {
  gNumberOfPlayers = 1;
  gPlayers[0].money = 10;
  gPlayers[0].reshuffles = 2;
  gPlayers[0].jokers = 3;
  savePlayers();
  gPlayers[0].money = 1234;
  saveLevelsInfo();
  gPlayers[0].money = 0;
  loadPlayers();
  EXPECT_EQ(gPlayers[0].money, 1234);
}

TEST_F(LevelResultsTest, OutOfRangeValuesInAFileAreClamped) {
  gNumberOfPlayers = 1;
  writeFile(saves() / "player0.xml",
            "<info levelsNumber=\"120\">"
            "<level id=\"500\" result=\"4\" specialCards1=\"10\" specialCards2=\"0\" score=\"30\"/>"
            "<level id=\"-3\" result=\"4\"/>"
            "<level id=\"3\" result=\"9\" specialCards1=\"50\" specialCards2=\"-7\" score=\"1000\"/>"
            "<level id=\"9\" result=\"-2\" specialCards3=\"11\" score=\"-5\"/>"
            "<level id=\"12\" result=\"3\" specialCards1=\"7\" specialCards2=\"3\" score=\"20\"/>"
            "</info>");
  loadLevelsInfo(0);
  EXPECT_EQ(getLevelResult(0, 3, kResultField, 0), 4);
  EXPECT_EQ(getLevelResult(0, 3, kSpecialCards1Field, 0), 10);
  EXPECT_EQ(getLevelResult(0, 3, kSpecialCards2Field, 0), -1);
  EXPECT_EQ(getLevelResult(0, 3, kScoreField, 0), 300);
  EXPECT_EQ(getLevelResult(0, 9, kResultField, 0), 0);
  EXPECT_EQ(getLevelResult(0, 9, kSpecialCards3Field, 0), 10);
  EXPECT_EQ(getLevelResult(0, 9, kScoreField, 0), -1);
  EXPECT_EQ(getLevelResult(0, 12, kResultField, 0), 3);
  EXPECT_EQ(getLevelResult(0, 12, kSpecialCards1Field, 0), 7);
  EXPECT_EQ(getLevelResult(0, 119, kResultField, 0), 0);
  EXPECT_TRUE(logged("id 500 skipped"));
  EXPECT_TRUE(logged("level 3 result 9"));
}

TEST_F(LevelResultsTest, CorruptResultFileIsKeptAside) {
  gNumberOfPlayers = 2;
  gCurrentPlayer = 0;
  gLevelResultsJunior[1][7].result = 3;
  gLevelResultsJunior[0][7].result = 4;
  saveLevelsInfo();
  std::string text = readFile(saves() / "player1.xml");
  text.resize(text.size() - 40);
  writeFile(saves() / "player1.xml", text);

  loadLevelsInfo(0);
  EXPECT_EQ(getLevelResult(1, 7, kResultField, 0), 0);  // defaults for the corrupt file
  EXPECT_EQ(getLevelResult(0, 7, kResultField, 0), 4);  // the other player is read as usual
  EXPECT_TRUE(std::filesystem::exists(saves() / "player1.xml.corrupt"));
  EXPECT_FALSE(std::filesystem::exists(saves() / "player1.xml"));
  EXPECT_TRUE(logged("corrupt"));
  EXPECT_TRUE(logged("END - loadLevelsInfo()"));
}

TEST_F(LevelResultsTest, AllLevelsViewWritesNoResultFile) {
  gNumberOfPlayers = 1;
  gIsAllLevelsView = 1;
  markAllLevelsFinished();
  saveLevelsInfo();
  EXPECT_FALSE(std::filesystem::exists(saves() / "player0.xml"));
  EXPECT_FALSE(logged("START - saveLevelsInfo()"));
}

TEST_F(LevelResultsTest, FilePaths) {
  EXPECT_EQ(levelResultsFilePath(3, 0), (saves() / "player3.xml").string());
  EXPECT_EQ(levelResultsFilePath(3, 1), (saves() / "player3_p.xml").string());
  gGameMode = 1;
  EXPECT_EQ(levelResultsFilePath(0, -1), (saves() / "player0_p.xml").string());
  EXPECT_EQ(statisticsFilePath(), (statistics() / "statistics.xml").string());
}

TEST_F(LevelResultsTest, SessionCounterCountsRuns) {
  countSession();
  EXPECT_EQ(gSessionNumber, 0);
  countSession();
  EXPECT_EQ(gSessionNumber, 1);
  countSession();
  EXPECT_EQ(gSessionNumber, 2);
  pugi::xml_document document;
  ASSERT_TRUE(document.load_file(statisticsFilePath().c_str()));
  EXPECT_EQ(document.child("statistics").attribute("sessionNumber").as_int(), 3);
  EXPECT_FALSE(document.child("statistics").next_sibling());
}

TEST_F(LevelResultsTest, SessionCounterContinuesFromTheFile) {
  writeFile(statistics() / "statistics.xml", "<statistics sessionNumber=\"4\"/>");
  countSession();
  EXPECT_EQ(gSessionNumber, 4);
  pugi::xml_document document;
  ASSERT_TRUE(document.load_file(statisticsFilePath().c_str()));
  EXPECT_EQ(document.child("statistics").attribute("sessionNumber").as_int(), 5);
}

TEST_F(LevelResultsTest, SessionCounterWithAZeroOrBrokenFile) {
  // A root holding 0 is advanced in place, not followed by a second root.
  writeFile(statistics() / "statistics.xml", "<statistics sessionNumber=\"0\"/>");
  countSession();
  countSession();
  EXPECT_EQ(gSessionNumber, 1);

  writeFile(statistics() / "statistics.xml", "<statistics sessionNumber=\"-9\"/>");
  countSession();
  EXPECT_EQ(gSessionNumber, 0);

  writeFile(statistics() / "statistics.xml", "<statistics sessionNum");
  countSession();
  EXPECT_EQ(gSessionNumber, 0);
  EXPECT_TRUE(std::filesystem::exists(statistics() / "statistics.xml.corrupt"));
  countSession();
  EXPECT_EQ(gSessionNumber, 1);
}

}  // namespace
