#include "game/players.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <pugixml.hpp>
#include <string>

#include "game/game_globals.h"
#include "player_records.h"
#include "save_folder_fixture.h"

namespace {

using test_support::expectSamePlayer;
using test_support::readFile;
using test_support::samplePlayer;
using test_support::writeFile;

class PlayersTest : public SaveFolderTest {
 protected:
  std::filesystem::path playersFile() const { return saves() / "players.xml"; }

  // A players.xml with the given root attributes and player elements.
  void writePlayers(const std::string& root, const std::string& players) {
    writeFile(playersFile(), "<?xml version=\"1.0\"?>\n<players " + root + ">" + players + "</players>\n");
  }

  pugi::xml_node playerElement(pugi::xml_document& document, int id) {
    EXPECT_TRUE(document.load_file(playersFile().c_str()));
    return document.child("players").find_child_by_attribute("player", "id", std::to_string(id).c_str());
  }
};

TEST_F(PlayersTest, PathIsBelowTheSaveFolder) {
  EXPECT_EQ(playersFilePath(), (saves() / "players.xml").string());
}

TEST_F(PlayersTest, RoundTripKeepsEveryField) {
  PLAYER_RECORD saved[kMaxPlayers];
  for (int i = 0; i < 3; ++i) gPlayers[i] = saved[i] = samplePlayer(i);
  gNumberOfPlayers = 3;
  gCurrentPlayer = 2;
  savePlayers();

  for (PLAYER_RECORD& player : gPlayers) player = PLAYER_RECORD{};
  gNumberOfPlayers = 0;
  gCurrentPlayer = 0;
  loadPlayers();

  EXPECT_EQ(gNumberOfPlayers, 3);
  EXPECT_EQ(gCurrentPlayer, 2);
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    expectSamePlayer(gPlayers[i], saved[i]);
  }
  EXPECT_FALSE(test_support::hasTemporaryBeside(saves() / "players.xml"));
}

TEST_F(PlayersTest, FileLayoutAsTheGameWritesIt) {
  gPlayers[0] = samplePlayer(0);
  gPlayers[0].name.clear();
  gNumberOfPlayers = 1;
  savePlayers();
  EXPECT_EQ(gPlayers[0].name, L"Player");  // an empty name is named in the record too

  pugi::xml_document document;
  const pugi::xml_node element = playerElement(document, 0);
  ASSERT_TRUE(element);
  const char* expected[] = {"id",          "name",           "money",        "soundVolume",
                            "musicVolume", "isFullscreen",   "isMuteAll",    "currentBack",
                            "currentCardType", "additionalCardPlaces", "isShowedFirstHint", "reshuffles",
                            "jokers",      "isShowedHint29"};
  pugi::xml_attribute attribute = element.first_attribute();
  for (const char* name : expected) {
    ASSERT_TRUE(attribute) << name;
    EXPECT_STREQ(attribute.name(), name);
    attribute = attribute.next_attribute();
  }
  EXPECT_STREQ(element.attribute("isFullscreen").value(), "true");
  // Every trophy, the three of professional perfect packs last.
  EXPECT_EQ(std::distance(element.child("trophies").attributes_begin(), element.child("trophies").attributes_end()),
            24);
  EXPECT_STREQ(element.child("trophies").last_attribute().name(),
               "twelvePacksWasPassedWithResult300OnProfessionalLevel");
  EXPECT_TRUE(element.child("statistics"));
  // One tab per level of indentation.
  EXPECT_NE(readFile(playersFile()).find("\n\t<player "), std::string::npos);
  EXPECT_NE(readFile(playersFile()).find("\n\t\t<trophies "), std::string::npos);
}

TEST_F(PlayersTest, AtMostFivePlayers) {
  std::string players;
  for (int id = 0; id < 7; ++id)
    players += "<player id=\"" + std::to_string(id) + "\" name=\"P" + std::to_string(id) + "\" money=\"" +
               std::to_string(id * 10) + "\"/>";
  writePlayers("numberOfPlayers=\"7\" currentPlayer=\"6\"", players);
  loadPlayers();
  EXPECT_EQ(gNumberOfPlayers, 5);
  EXPECT_EQ(gCurrentPlayer, 4);
  EXPECT_EQ(gPlayers[4].name, L"P4");
  EXPECT_EQ(gPlayers[4].money, 40);

  // A count above five in memory still writes five.
  gNumberOfPlayers = 9;
  savePlayers();
  gNumberOfPlayers = 0;
  loadPlayers();
  EXPECT_EQ(gNumberOfPlayers, 5);
}

TEST_F(PlayersTest, CurrentPlayerIsBroughtIntoTheTable) {
  writePlayers("numberOfPlayers=\"2\" currentPlayer=\"4\"", "<player id=\"0\"/><player id=\"1\"/>");
  loadPlayers();
  EXPECT_EQ(gCurrentPlayer, 1);
  writePlayers("numberOfPlayers=\"2\" currentPlayer=\"-3\"", "<player id=\"0\"/><player id=\"1\"/>");
  loadPlayers();
  EXPECT_EQ(gCurrentPlayer, 0);
  // An unusable count is taken from the elements: one player here.
  writePlayers("numberOfPlayers=\"-1\" currentPlayer=\"1\"", "<player id=\"0\"/>");
  loadPlayers();
  EXPECT_EQ(gNumberOfPlayers, 1);
  EXPECT_EQ(gCurrentPlayer, 0);
}

// The place between (2) has no element: it is a player with nothing stored, so that each
// player keeps the place that numbers their result files.
TEST_F(PlayersTest, AnIdBeyondTheStatedCountIsAPlayerToo) {
  gPlayers[2].name = L"Stale";
  gPlayers[2].money = 99;
  writePlayers("numberOfPlayers=\"2\" currentPlayer=\"0\"",
               "<player id=\"0\" name=\"A\"/><player id=\"3\" name=\"C\"/><player id=\"1\" name=\"B\"/>");
  loadPlayers();
  EXPECT_EQ(gNumberOfPlayers, 4);
  EXPECT_EQ(gPlayers[0].name, L"A");
  EXPECT_EQ(gPlayers[1].name, L"B");
  EXPECT_EQ(gPlayers[2].name, L"Player");
  EXPECT_EQ(gPlayers[2].money, 0);
  EXPECT_EQ(gPlayers[3].name, L"C");
  EXPECT_TRUE(logged("numberOfPlayers 2 but player elements up to id 3"));
}

TEST_F(PlayersTest, MissingChildrenAndAttributesReadAsZero) {
  gPlayers[0].trophies[0] = 1;
  gPlayers[0].numberOfUsageOfBonusJoker = 9;
  writePlayers("numberOfPlayers=\"1\" currentPlayer=\"0\"", "<player id=\"0\" name=\"\"/>");
  loadPlayers();
  EXPECT_EQ(gPlayers[0].name, L"Player");
  EXPECT_EQ(gPlayers[0].trophies[0], 0);
  EXPECT_EQ(gPlayers[0].numberOfUsageOfBonusJoker, 0);
  EXPECT_EQ(gPlayers[0].money, 0);
  EXPECT_EQ(gPlayers[0].reshuffles, 0);
}

TEST_F(PlayersTest, NoFileMeansNoPlayer) {
  gNumberOfPlayers = 3;
  gCurrentPlayer = 2;
  loadPlayers();
  EXPECT_EQ(gNumberOfPlayers, 0);
  EXPECT_EQ(gCurrentPlayer, 0);
  EXPECT_FALSE(std::filesystem::exists(playersFile()));
}

TEST_F(PlayersTest, OutOfRangeValuesAreClamped) {
  writePlayers("numberOfPlayers=\"2\" currentPlayer=\"0\"",
               "<player id=\"0\" name=\"ThisNameIsFarTooLong\" money=\"-50\" soundVolume=\"7\" musicVolume=\"-2\" "
               "currentBack=\"30\" currentCardType=\"9\" additionalCardPlaces=\"10\" reshuffles=\"-4\" "
               "jokers=\"-1\"><statistics numberOfUsageOfBonusJoker=\"-8\"/></player>"
               "<player id=\"1\" soundVolume=\"nan\" musicVolume=\"0.3\" currentBack=\"-2\" "
               "currentCardType=\"-1\" additionalCardPlaces=\"-3\"/>");
  loadPlayers();
  const PLAYER_RECORD& first = gPlayers[0];
  EXPECT_EQ(first.name, L"ThisNameIsFa");
  EXPECT_EQ(first.money, 0);
  EXPECT_FLOAT_EQ(first.soundVolume, 1.0f);
  EXPECT_FLOAT_EQ(first.musicVolume, 0.0f);
  EXPECT_EQ(first.currentBack, 11);
  EXPECT_EQ(first.currentCardType, 2);
  EXPECT_EQ(first.additionalCardPlaces, 4);
  EXPECT_EQ(first.reshuffles, 0);
  EXPECT_EQ(first.jokers, 0);
  EXPECT_EQ(first.numberOfUsageOfBonusJoker, 0);
  const PLAYER_RECORD& second = gPlayers[1];
  EXPECT_FLOAT_EQ(second.soundVolume, 0.5f);
  EXPECT_FLOAT_EQ(second.musicVolume, 0.3f);
  EXPECT_EQ(second.currentBack, 0);
  EXPECT_EQ(second.currentCardType, 0);
  EXPECT_EQ(second.additionalCardPlaces, 0);
  EXPECT_TRUE(logged("currentCardType 9 out of range"));
}

TEST_F(PlayersTest, NegativeIdIsSkipped) {
  writePlayers("numberOfPlayers=\"1\" currentPlayer=\"0\"",
               "<player id=\"-1\" name=\"Bad\"/><player id=\"0\" name=\"Good\"/>");
  loadPlayers();
  EXPECT_EQ(gPlayers[0].name, L"Good");
  EXPECT_TRUE(logged("id -1 skipped"));
}

TEST_F(PlayersTest, CorruptFileIsKeptAsideAndDefaultsUsed) {
  gPlayers[0] = samplePlayer(0);
  gNumberOfPlayers = 1;
  savePlayers();
  std::string text = readFile(playersFile());
  text.resize(text.size() / 2);  // a half-written save
  writeFile(playersFile(), text);

  loadPlayers();
  EXPECT_EQ(gNumberOfPlayers, 0);
  EXPECT_EQ(gCurrentPlayer, 0);
  EXPECT_FALSE(std::filesystem::exists(playersFile()));
  ASSERT_TRUE(std::filesystem::exists(saves() / "players.xml.corrupt"));
  EXPECT_EQ(readFile(saves() / "players.xml.corrupt"), text);
  EXPECT_TRUE(logged("corrupt"));

  // A second corrupt file does not replace the first one kept aside.
  writeFile(playersFile(), "");
  loadPlayers();
  EXPECT_TRUE(std::filesystem::exists(saves() / "players.xml.corrupt1"));
  EXPECT_EQ(readFile(saves() / "players.xml.corrupt"), text);

  // A well-formed file with another root is no players file either.
  writeFile(playersFile(), "<settings/>");
  loadPlayers();
  EXPECT_EQ(gNumberOfPlayers, 0);
  EXPECT_TRUE(std::filesystem::exists(saves() / "players.xml.corrupt2"));
}

TEST_F(PlayersTest, SettingsWriterUpdatesOnePlayer) {
  for (int i = 0; i < 2; ++i) gPlayers[i] = samplePlayer(i);
  gNumberOfPlayers = 2;
  savePlayers();
  gPlayers[1].soundVolume = 0.125f;
  gPlayers[1].currentCardType = 0;
  gPlayers[1].jokers = 77;
  gPlayers[1].money = 5;  // not a setting
  gPlayers[0].jokers = 66;  // not this player
  savePlayerSettings(1);

  PLAYER_RECORD expectedFirst = samplePlayer(0);
  PLAYER_RECORD expectedSecond = gPlayers[1];
  expectedSecond.money = samplePlayer(1).money;
  loadPlayers();
  expectSamePlayer(gPlayers[0], expectedFirst);
  expectSamePlayer(gPlayers[1], expectedSecond);
}

TEST_F(PlayersTest, SettingsWriterAppendsMissingAttributesAndReplacesEmptyOnes) {
  gPlayers[0] = samplePlayer(0);
  gNumberOfPlayers = 1;
  writePlayers("numberOfPlayers=\"1\" currentPlayer=\"0\"", "<player id=\"0\" name=\"A\" jokers=\"\"/>");
  savePlayerSettings(0);
  pugi::xml_document document;
  const pugi::xml_node element = playerElement(document, 0);
  EXPECT_EQ(element.attribute("reshuffles").as_int(), gPlayers[0].reshuffles);
  EXPECT_EQ(element.attribute("jokers").as_int(), gPlayers[0].jokers);
  EXPECT_TRUE(element.attribute("isShowedHint29").as_bool());
  int jokers = 0;
  for (const pugi::xml_attribute attribute : element.attributes())
    if (std::string(attribute.name()) == "jokers") ++jokers;
  EXPECT_EQ(jokers, 1);
}

TEST_F(PlayersTest, MoneyWriterAddsNothingMissing) {
  gPlayers[0] = samplePlayer(0);
  gNumberOfPlayers = 1;
  writePlayers("numberOfPlayers=\"1\" currentPlayer=\"0\"", "<player id=\"0\" name=\"A\" money=\"1\"/>");
  savePlayerMoney(0);
  pugi::xml_document document;
  const pugi::xml_node element = playerElement(document, 0);
  EXPECT_EQ(element.attribute("money").as_int(), gPlayers[0].money);
  EXPECT_FALSE(element.attribute("reshuffles"));
  EXPECT_FALSE(element.attribute("jokers"));
}

TEST_F(PlayersTest, TrophyAndStatisticsWritersAppendTheirChild) {
  gPlayers[0] = samplePlayer(0);
  gNumberOfPlayers = 1;
  writePlayers("numberOfPlayers=\"1\" currentPlayer=\"0\"", "<player id=\"0\" name=\"A\"/>");
  savePlayerTrophies(0);
  savePlayerStatistics(0);
  EXPECT_TRUE(logged("save statistics for trophies"));
  const PLAYER_RECORD expected = gPlayers[0];
  gPlayers[0] = PLAYER_RECORD{};
  loadPlayers();
  for (int n = 1; n <= kTrophyCount; ++n)
    EXPECT_EQ(gPlayers[0].trophies[n - 1], expected.trophies[n - 1]) << n;
  EXPECT_EQ(gPlayers[0].numberOfUsageOfBonusReshuffle, expected.numberOfUsageOfBonusReshuffle);
  EXPECT_EQ(gPlayers[0].numberOfPacksCompletedWithResult300_professionalMode,
            expected.numberOfPacksCompletedWithResult300_professionalMode);
}

TEST_F(PlayersTest, FirstStartKeepsTheSettingsInANewFile) {
  // No file: the other writers create nothing, the settings writer (run on closing) starts one.
  gPlayers[0] = samplePlayer(0);
  savePlayerMoney(0);
  savePlayerTrophies(0);
  EXPECT_FALSE(std::filesystem::exists(playersFile()));
  gNumberOfPlayers = 0;
  gPlayers[0].musicVolume = 0.25f;
  savePlayerSettings(0);
  pugi::xml_document document;
  pugi::xml_node element = playerElement(document, 0);
  ASSERT_TRUE(element);
  EXPECT_FLOAT_EQ(element.attribute("musicVolume").as_float(), 0.25f);
  EXPECT_EQ(document.child("players").attribute("numberOfPlayers").as_int(-1), 0);
  // Still no player as far as the game is concerned.
  loadPlayers();
  EXPECT_EQ(gNumberOfPlayers, 0);
  // The first player's save replaces the settings: nothing of the file is lost, none kept aside.
  gNumberOfPlayers = 1;
  gPlayers[0].name = L"Ann";
  savePlayers();
  EXPECT_EQ(test_support::folderEntries(saves()), std::vector<std::string>{"players.xml"});
}

TEST_F(PlayersTest, WritersNeverWipeTheFile) {

  // A corrupt file is kept aside, not replaced by an empty document.
  writeFile(playersFile(), "<players numberOfPlayers=\"1\"><player id=\"0\" name=\"A\"");
  savePlayerSettings(0);
  EXPECT_FALSE(std::filesystem::exists(playersFile()));
  EXPECT_TRUE(std::filesystem::exists(saves() / "players.xml.corrupt"));

  // An index outside the table is refused.
  gNumberOfPlayers = 1;
  savePlayers();
  const std::string before = readFile(playersFile());
  savePlayerSettings(5);
  savePlayerTrophies(-1);
  EXPECT_EQ(readFile(playersFile()), before);
}

TEST_F(PlayersTest, FailedWriteKeepsTheOldSave) {
  gPlayers[0] = samplePlayer(0);
  gNumberOfPlayers = 1;
  savePlayers();
  const std::string before = readFile(playersFile());
  gPlayers[0].money = 1;
  {
    // The disk fills up: every write fails before the old save is touched.
    test_support::FULL_DISK full(64);
    savePlayers();
    savePlayerSettings(0);
  }
  EXPECT_EQ(readFile(playersFile()), before);
  EXPECT_EQ(test_support::folderEntries(saves()), std::vector<std::string>{"players.xml"});
  EXPECT_TRUE(logged("the old one is kept"));
}

// A player who keeps the profiles elsewhere links players.xml to them: the saves go there.
TEST_F(PlayersTest, ALinkedPlayersFileHasItsTargetWritten) {
  const std::filesystem::path kept = _root / "kept" / "profiles.xml";
  std::filesystem::create_directories(kept.parent_path());
  writeFile(kept, "<players numberOfPlayers=\"0\" currentPlayer=\"0\"/>");
  std::filesystem::create_symlink(kept, playersFile());
  gPlayers[0] = samplePlayer(0);
  gNumberOfPlayers = 1;
  savePlayers();
  gPlayers[0].jokers = 77;
  savePlayerSettings(0);

  EXPECT_TRUE(std::filesystem::is_symlink(playersFile()));
  gPlayers[0] = PLAYER_RECORD{};
  loadPlayers();
  EXPECT_EQ(gNumberOfPlayers, 1);
  EXPECT_EQ(gPlayers[0].jokers, 77);
  EXPECT_EQ(test_support::folderEntries(kept.parent_path()), std::vector<std::string>{"profiles.xml"});
}

TEST_F(PlayersTest, AllLevelsViewWritesNothing) {
  gPlayers[0] = samplePlayer(0);
  gNumberOfPlayers = 1;
  gIsAllLevelsView = 1;
  savePlayers();
  EXPECT_FALSE(std::filesystem::exists(playersFile()));
  gIsAllLevelsView = 0;
  savePlayers();
  const std::string before = readFile(playersFile());
  gIsAllLevelsView = 1;
  gPlayers[0].soundVolume = 0.0f;
  savePlayerSettings(0);
  savePlayerMoney(0);
  savePlayerTrophies(0);
  savePlayerStatistics(0);
  EXPECT_EQ(readFile(playersFile()), before);
}

TEST_F(PlayersTest, TrophyFlagsOfTheCurrentPlayer) {
  gCurrentPlayer = 2;
  EXPECT_FALSE(getTrophy(9));
  setTrophy(9);
  EXPECT_TRUE(getTrophy(9));
  EXPECT_EQ(gPlayers[2].trophies[8], 1);
  EXPECT_EQ(gPlayers[0].trophies[8], 0);
  setTrophy(0);
  setTrophy(25);
  EXPECT_FALSE(getTrophy(0));
  EXPECT_FALSE(getTrophy(25));
  clearTrophies(2);
  EXPECT_FALSE(getTrophy(9));
  gCurrentPlayer = 7;
  setTrophy(1);
  EXPECT_FALSE(getTrophy(1));
}

}  // namespace
