// A players.xml edited by hand or by another program, played through the whole game on real
// files: a player beyond the count the file states is a player like the others, an element
// the table cannot take is kept in a copy of the whole file before a save leaves it out, and
// a file the game cannot read is said once, in a message box naming it and what became of it.
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include <pugixml.hpp>

#include "game/game_entry.h"
#include "game/game_globals.h"
#include "game/level_results.h"
#include "game/scenes/main_menu/main_menu_scene.h"
#include "game_child.h"
#include "menu_scenario.h"
#include "save_folder_fixture.h"

namespace {

using test_support::countBoxes;
using test_support::GAME_CHILD;
using test_support::gBoxes;
using namespace test_support::main_menu_scenario;
namespace fs = std::filesystem;

const std::string kAnnAndBob =
    "  <player id=\"0\" name=\"Ann\" soundVolume=\"0.5\" musicVolume=\"0.5\" isMuteAll=\"true\"/>\n"
    "  <player id=\"1\" name=\"Bob\" soundVolume=\"0.5\" musicVolume=\"0.5\" isMuteAll=\"true\"/>\n";

// Cid, as another program wrote her: she has played, earned and won.
const std::string kCid =
    "  <player id=\"2\" name=\"Cid\" money=\"31415\" soundVolume=\"0.25\" musicVolume=\"0.75\" isMuteAll=\"true\">\n"
    "    <trophies wasStrike=\"true\" gameWasPassedOnJuniorLevel=\"true\"/>\n"
    "    <statistics numberOfUsageOfBonusJoker=\"27\"/>\n"
    "  </player>\n";

std::string playersFile(const std::string& count, const std::string& elements) {
  return "<players numberOfPlayers=\"" + count + "\" currentPlayer=\"0\">\n" + elements + "</players>\n";
}

void writeSave(const fs::path& file, const std::string& text) {
  fs::create_directories(file.parent_path());
  test_support::writeFile(file, text);
}

void chooseRow(GAME_CHILD& game, int row) {
  click(game, playerRow(row));
  CHILD_CHECK(gCurrentPlayer == row, "row " + std::to_string(row) + " not chosen");
}

bool cidIsHerself() {
  const PLAYER_RECORD& cid = gPlayers[2];
  return cid.name == L"Cid" && cid.money == 31415 && cid.trophies[8] == 1 && cid.trophies[0] == 1 &&
         cid.numberOfUsageOfBonusJoker == 27 && getLevelResult(2, 0, kScoreField, 0) == 30;
}

class EditedPlayersFile : public test_support::GameChildTest {};

TEST_F(EditedPlayersFile, APlayerBeyondTheStatedCountSurvivesAChoiceOfPlayerARestartAndANewPlayer) {
  if (_isParent) {
    writeSave(saves() / "players.xml", playersFile("2", kAnnAndBob + kCid));
    test_support::seedResults(saves(), 2, 0, {{0, 4, 10, 0, 30}});
  }
  play([](GAME_CHILD& game) {
    CHILD_CHECK(settled(game), "the menu did not settle");
    CHILD_CHECK(gNumberOfPlayers == 3 && cidIsHerself(), "Cid was not loaded as she is stored");
    click(game, kPlayer);
    CHILD_CHECK(windowOpens(game, MENU::CHANGE_PLAYER_WINDOW), "no change-player window");
    CHILD_CHECK(menu()->playerNameLabels[2]->fGetText() == L"Cid", "Cid has no row");
    chooseRow(game, 1);
    onGameClose(0);
  });
  // The next start, on what the first one left.
  play([](GAME_CHILD& game) {
    CHILD_CHECK(settled(game), "the menu did not settle");
    CHILD_CHECK(gNumberOfPlayers == 3 && gCurrentPlayer == 1 && cidIsHerself(), "Cid is not there after a restart");
    click(game, kPlayer);
    CHILD_CHECK(windowOpens(game, MENU::CHANGE_PLAYER_WINDOW), "no change-player window");
    click(game, addPlayerButton(3));
    CHILD_CHECK(dialogOpens(game, MENU::ADD_PLAYER_DIALOG), "no name dialog");
    game.type(L"Dan");
    click(game, kPanelConfirm);
    CHILD_CHECK(gNumberOfPlayers == 4 && gPlayers[3].name == L"Dan" && cidIsHerself(), "Dan took Cid's place");
    onGameClose(0);
  });
  EXPECT_TRUE(fs::exists(saves() / "player2.xml"));
  EXPECT_FALSE(fs::exists(saves() / "player2.xml.unowned"));
  EXPECT_FALSE(fs::exists(saves() / "players.xml.corrupt"));
}

TEST_F(EditedPlayersFile, ARepeatedIdIsKeptAsideWithTheWholeFileBeforeTheSaveThatLeavesItOut) {
  const std::string seeded = playersFile("2", kAnnAndBob + "  <player id=\"1\" name=\"Eve\" money=\"31415\"/>\n");
  if (_isParent) writeSave(saves() / "players.xml", seeded);
  play([](GAME_CHILD& game) {
    CHILD_CHECK(settled(game), "the menu did not settle");
    CHILD_CHECK(gNumberOfPlayers == 2 && gPlayers[1].name == L"Bob", "the first element of id 1 is not Bob");
    CHILD_CHECK(!fs::exists(game.saves() / "players.xml.corrupt"), "kept aside before any save left Eve out");
    click(game, kPlayer);
    CHILD_CHECK(windowOpens(game, MENU::CHANGE_PLAYER_WINDOW), "no change-player window");
    chooseRow(game, 1);
    CHILD_CHECK(game.logged("the whole file is kept aside as"), "the log does not say where Eve is");
    chooseRow(game, 0);
  });
  EXPECT_EQ(test_support::readFile(saves() / "players.xml.corrupt"), seeded);
  EXPECT_FALSE(fs::exists(saves() / "players.xml.corrupt1")) << "a save of the mended table kept a copy again";
  EXPECT_EQ(test_support::readFile(saves() / "players.xml").find("Eve"), std::string::npos);
}

// What of a players file the table cannot hold, and where it stands in the file.
struct UNTAKEN {
  const char* name;
  std::string amongThePlayers;
  std::string afterThem;
};

const UNTAKEN kUntaken[] = {
    {"ARepeatedId", "  <player id=\"1\" name=\"Eve\" money=\"31415\"/>\n", ""},
    {"AnUnnamedPlayerBeyondTheCount",
     "  <player id=\"3\" money=\"99999\">\n    <trophies wasStrike=\"true\"/>\n  </player>\n", ""},
    {"ASecondRoot", "", "<players numberOfPlayers=\"1\"><player id=\"0\" name=\"Eve\" money=\"31415\"/></players>\n"},
};

void PrintTo(const UNTAKEN& untaken, std::ostream* out) { *out << untaken.name; }

class UntakenElements : public test_support::GameChildTest, public ::testing::WithParamInterface<UNTAKEN> {};

// The copy's first name is a link to nothing (its target on a drive not mounted): the link
// stays as it is, and the copy takes the next free name.
TEST_P(UntakenElements, AreKeptWithTheWholeFileBesideALinkToNothingBeforeTheSaveThatLeavesThemOut) {
  const std::string seeded = playersFile("2", kAnnAndBob + GetParam().amongThePlayers) + GetParam().afterThem;
  const fs::path drive = _root / "drive" / "players.xml.corrupt";
  if (_isParent) {
    writeSave(saves() / "players.xml", seeded);
    fs::create_symlink(drive, saves() / "players.xml.corrupt");
  }
  play([](GAME_CHILD& game) {
    CHILD_CHECK(settled(game), "the menu did not settle");
    CHILD_CHECK(gNumberOfPlayers == 2 && gPlayers[1].name == L"Bob", "Ann and Bob were not loaded");
    click(game, kPlayer);
    CHILD_CHECK(windowOpens(game, MENU::CHANGE_PLAYER_WINDOW), "no change-player window");
    chooseRow(game, 1);
  });
  EXPECT_EQ(test_support::readFile(saves() / "players.xml.corrupt1"), seeded);
  EXPECT_EQ(fs::read_symlink(saves() / "players.xml.corrupt"), drive);
  EXPECT_FALSE(fs::exists(_root / "drive"));
  EXPECT_NE(test_support::readFile(saves() / "players.xml").find("currentPlayer=\"1\""), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(PlayersFile, UntakenElements, ::testing::ValuesIn(kUntaken),
                         [](const ::testing::TestParamInfo<UNTAKEN>& info) { return std::string(info.param.name); });

// ---- profiles the game cannot read -----------------------------------------------------------

// One box, naming the file and the words given; the game waits for a first player.
void expectSaidOnce(GAME_CHILD& game, const std::vector<std::string>& words) {
  CHILD_CHECK(dialogOpens(game, MENU::ADD_PLAYER_DIALOG), "no name dialog");
  game.wait(0.5f);
  CHILD_CHECK(gBoxes.size() == 1, std::to_string(gBoxes.size()) + " boxes");
  const std::string& said = gBoxes[0].first;
  CHILD_CHECK(said.find((game.saves() / "players.xml").string() + "\n") != std::string::npos, said);
  for (const std::string& word : words) CHILD_CHECK(said.find(word) != std::string::npos, said);
}

TEST_F(EditedPlayersFile, AFolderInThePlaceOfTheProfilesIsSaidOnceAndKept) {
  if (_isParent) fs::create_directories(saves() / "players.xml" / "Ann");
  play([](GAME_CHILD&) { countBoxes(); },
       [](GAME_CHILD& game) {
         expectSaidOnce(game, {"player profiles", "(a folder stands in its place)", "kept as it is",
                               "not written over in this run"});
       });
  EXPECT_TRUE(fs::is_directory(saves() / "players.xml" / "Ann"));
}

TEST_F(EditedPlayersFile, DamagedProfilesAreSaidOnceWithWhereTheyAreKept) {
  if (_isParent) writeSave(saves() / "players.xml", "<players numberOfPlayers=\"1\"><player id=");
  play([](GAME_CHILD&) { countBoxes(); },
       [](GAME_CHILD& game) {
         expectSaidOnce(game, {"player profiles", "kept aside as " + (game.saves() / "players.xml.corrupt").string()});
       });
}

}  // namespace
