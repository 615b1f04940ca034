// Saves the game cannot write, played through the whole game: a documents folder that is
// read-only, a save folder that is, and a players file that is a link to a drive not
// mounted. The game goes on with its players in memory, says that it could not save, and
// leaves every file on the disk as it found it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "game/game_entry.h"
#include "game/game_globals.h"
#include "game/level_results.h"
#include "game/save_notice.h"
#include "game/scenes/frames/frames_scene.h"
#include "game/scenes/level/level_scene.h"
#include "game/scenes/level_packs/level_packs_scene.h"
#include "game/scenes/main_menu/main_menu_scene.h"
#include "game/scenes/base_scene.h"
#include "game_child.h"
#include "gui/gui_button5.h"
#include "gui/gui_wlabel.h"
#include "menu_scenario.h"
#include "save_folder_fixture.h"

namespace {

using test_support::currentScene;
using test_support::GAME_CHILD;
using test_support::kDisabledFrame;
using test_support::kMenuSlide;
using namespace test_support::main_menu_scenario;
using PACKS = SCENE_CARD_GAME_LEVELPACKS;
using FRAMES = SCENE_CARD_GAME_FRAMES;
using LEVEL = SCENE_CARD_GAME_LEVEL;
namespace fs = std::filesystem;

constexpr fs::perms kReadOnlyFolder = fs::perms::owner_read | fs::perms::owner_exec;
constexpr fs::perms kOpenFolder = fs::perms::owner_all;

// The child gives up root's right to write anywhere, so the folder's mode holds for it.
void obeyPermissionsInChild() {
  CHILD_CHECK(test_support::obeyFilePermissions(), "the rights to write any file cannot be given up");
}

void dialogClosed(GAME_CHILD& game) {
  CHILD_CHECK(game.stepUntil([] { return menu()->dialogState == MENU::NO_DIALOG; }), "the dialog stays");
}

// The player window's deletion of the first row, confirmed, which the saves refuse.
void deleteFirstPlayerInVain(GAME_CHILD& game) {
  click(game, kPlayer);
  CHILD_CHECK(windowOpens(game, MENU::CHANGE_PLAYER_WINDOW), "no change-player window");
  click(game, removeButton(0));
  CHILD_CHECK(dialogOpens(game, MENU::DELETE_PLAYER_DIALOG), "no delete dialog");
  click(game, kPanelConfirm);
  dialogClosed(game);
  CHILD_CHECK(isSaveNoticeShown(), "nothing says that the deletion could not be saved");
}

class UnwritableSaves : public test_support::GameChildTest {
 protected:
  // Everything below the folder: its files' names and bytes.
  static std::vector<std::string> contents(const fs::path& folder) {
    std::vector<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
      std::string line = fs::relative(entry.path(), folder).string();
      if (entry.is_regular_file()) line += ": " + test_support::readFile(entry.path());
      found.push_back(line);
    }
    std::sort(found.begin(), found.end());
    return found;
  }
};

// A player deleted while the save folder cannot be written stays, and the screen says why.
TEST_F(UnwritableSaves, ADeletionTheSavesRefuseKeepsThePlayerAndSaysSo) {
  const fs::path saves = _root / "Documents" / "Ostvane" / "Pindrake" / "Saves";
  if (_isParent) {
    test_support::seedPlayers(saves, {"Ann", "Bob"}, 1);
    test_support::seedResults(saves, 0, 0, {{0, 4, 10, 0, 30}});
    test_support::seedResults(saves, 1, 0, {{0, 3, 6, 4, 20}});
  }
  const std::vector<std::string> before = contents(saves);
  fs::permissions(saves, kReadOnlyFolder);
  play([](GAME_CHILD&) { obeyPermissionsInChild(); },
       [](GAME_CHILD& game) {
         CHILD_CHECK(settled(game), "the menu did not settle");
         CHILD_CHECK(!isSaveNoticeShown(), "a save failed before the deletion");
         deleteFirstPlayerInVain(game);
         CHILD_CHECK(gNumberOfPlayers == 2 && gPlayers[0].name == L"Ann" && gPlayers[1].name == L"Bob",
                     "the players changed");
         CHILD_CHECK(gCurrentPlayer == 1, "Bob is no longer the current player");
         CHILD_CHECK(menu()->playerNameLabels[0]->fGetText() == L"Ann", "Ann's row is gone");
         CHILD_CHECK(getLevelResult(0, 0, kScoreField, 0) == 30 && getLevelResult(1, 0, kScoreField, 0) == 20,
                     "the results moved");
       });
  fs::permissions(saves, kOpenFolder);
  EXPECT_EQ(contents(saves), before);
}

// A first start whose documents folder is read-only: the player typed plays, with the
// notice shown, and nothing is written.
TEST_F(UnwritableSaves, AFirstStartInAReadOnlyDocumentsFolderIsPlayedInMemory) {
  const fs::path documents = _root / "Documents";
  if (_isParent) {
    fs::create_directories(documents);
    test_support::writeFile(documents / "letter.txt", "the player's own");
  }
  const std::vector<std::string> before = contents(documents);
  fs::permissions(documents, kReadOnlyFolder);
  play([](GAME_CHILD&) { obeyPermissionsInChild(); },
       [](GAME_CHILD& game) {
         CHILD_CHECK(dialogOpens(game, MENU::ADD_PLAYER_DIALOG), "no name dialog on a first start");
         game.type(L"Ann");
         click(game, kPanelConfirm);
         CHILD_CHECK(settled(game), "the menu did not come up after the name");
         CHILD_CHECK(isSaveNoticeShown(), "nothing says that the player could not be saved");

         click(game, kPlayer);
         CHILD_CHECK(windowOpens(game, MENU::CHANGE_PLAYER_WINDOW), "no change-player window");
         CHILD_CHECK(gNumberOfPlayers == 1 && gCurrentPlayer == 0 && gPlayers[0].name == L"Ann",
                     "Ann is not the current player");
         CHILD_CHECK(menu()->playerNameLabels[0]->fGetText() == L"Ann", "Ann's row is empty");
         // Her deletion cannot be saved either: she stays.
         click(game, removeButton(0));
         CHILD_CHECK(dialogOpens(game, MENU::DELETE_PLAYER_DIALOG), "no delete dialog");
         click(game, kPanelConfirm);
         dialogClosed(game);
         CHILD_CHECK(gNumberOfPlayers == 1 && gPlayers[0].name == L"Ann", "Ann was deleted in memory only");
         click(game, kWindowClose);
         CHILD_CHECK(settled(game), "the window did not close");
         CHILD_CHECK(menu()->playerNameLabel->fGetText() == L"Ann", "the name plate is empty");

         click(game, kPlay);
         CHILD_CHECK(windowOpens(game, MENU::MODE_SELECTION_WINDOW), "no mode selection");
         click(game, kJunior);
         CHILD_CHECK(game.stepUntil([] { return currentScene<PACKS>() != nullptr; }), "no level packs");
         game.wait(kMenuSlide);
         CHILD_CHECK(currentScene<PACKS>()->packButtons[0]->fGetState() != kDisabledFrame, "the first pack is closed");
         game.click(300.0f, 285.0f);
         CHILD_CHECK(game.stepUntil([] { return currentScene<FRAMES>() != nullptr; }), "the first pack did not open");
         game.wait(kMenuSlide);
         game.click(167.0f, 236.0f);
         CHILD_CHECK(game.stepUntil([] { return currentScene<LEVEL>() != nullptr; }), "the first frame did not start");
         CHILD_CHECK(gCurrentLevel == 0, "level " + std::to_string(gCurrentLevel) + " started");

         // The frame is finished as a strike; its save fails, and the menu that follows
         // still knows it.
         setLevelResult(0, 0, kResultField, LEVEL_RESULT::STRIKE);
         setLevelResult(0, 0, kScoreField, 10);
         setLevelResult(0, 1, kResultField, LEVEL_RESULT::NOT_COMPLETED);
         releaseSaveNotice();
         saveLevelsInfo();
         CHILD_CHECK(isSaveNoticeShown(), "nothing says that the frame could not be saved");
         changeScene(gCurrentScene, new SCENE_CARD_GAME_MAINMENU());
         game.step();
         CHILD_CHECK(gNumberOfPlayers == 1 && menu()->playerNameLabel->fGetText() == L"Ann", "Ann is gone");
         CHILD_CHECK(getLevelResult(0, 0, kResultField, 0) == LEVEL_RESULT::STRIKE &&
                         getLevelResult(0, 1, kResultField, 0) == LEVEL_RESULT::NOT_COMPLETED,
                     "the strike is forgotten");
         onGameClose(0);
       });
  fs::permissions(documents, kOpenFolder);
  EXPECT_EQ(contents(documents), before);
}

// A copy of the game that can lock nothing of its saves (its folder may only be passed
// through, the save folder only written to) cannot tell whether another copy is writing
// them: it plays with its players in memory, says that it could not save, and writes
// nothing, though every file and folder below the game folder could be written.
TEST_F(UnwritableSaves, ACopyThatCanLockNothingWritesNothingAndSaysSo) {
  const fs::path game = _root / "Documents" / "Ostvane" / "Pindrake";
  if (_isParent) {
    test_support::seedPlayers(game / "Saves", {"Ann", "Bob"}, 1);
    test_support::seedResults(game / "Saves", 0, 0, {{0, 4, 10, 0, 30}});
    fs::create_directories(game / "Statistics");
    test_support::writeFile(game / "Statistics" / "statistics.xml", "<statistics sessionNumber=\"4\" />\n");
    // A leftover of a killed save may be another copy's save in progress.
    test_support::writeFile(game / "Saves" / "players.xml.tmp-Ab12Cd", "<players");
  }
  const std::vector<std::string> before = contents(game);
  fs::permissions(game / "Saves", fs::perms::owner_write | fs::perms::owner_exec);
  fs::permissions(game, fs::perms::owner_exec);
  play([](GAME_CHILD&) { obeyPermissionsInChild(); },
       [](GAME_CHILD& game) {
         CHILD_CHECK(settled(game), "the menu did not settle");
         CHILD_CHECK(game.logged("no lock can be made, this copy of the game writes no save"), "the log is silent");
         CHILD_CHECK(gNumberOfPlayers == 2 && gCurrentPlayer == 1, "the players were not read");
         deleteFirstPlayerInVain(game);
         CHILD_CHECK(gNumberOfPlayers == 2 && gPlayers[0].name == L"Ann", "Ann was deleted");

         setLevelResult(0, 1, kResultField, LEVEL_RESULT::NOT_COMPLETED);
         releaseSaveNotice();
         saveLevelsInfo();
         CHILD_CHECK(isSaveNoticeShown(), "nothing says that the results could not be saved");
         CHILD_CHECK(getLevelResult(0, 1, kResultField, 0) == LEVEL_RESULT::NOT_COMPLETED, "the result is lost");
         onGameClose(0);
       });
  fs::permissions(game, kOpenFolder);
  fs::permissions(game / "Saves", kOpenFolder);
  EXPECT_EQ(contents(game), before);
}

// The profiles lie on a drive not mounted: the link to them is kept, pointing where it
// pointed, through a player's addition and the close.
TEST_F(UnwritableSaves, APlayersFileLinkedToNothingStaysTheSameLink) {
  const fs::path saves = _root / "Documents" / "Ostvane" / "Pindrake" / "Saves";
  const fs::path target = _root / "drive" / "profiles" / "players.xml";
  if (_isParent) {
    fs::create_directories(saves);
    fs::create_symlink(target, saves / "players.xml");
  }
  play([](GAME_CHILD& game) {
    CHILD_CHECK(dialogOpens(game, MENU::ADD_PLAYER_DIALOG), "no name dialog");
    CHILD_CHECK(game.logged("cannot be read (a link to nothing)"), "the log does not say so");
    game.type(L"Eve");
    click(game, kPanelConfirm);
    CHILD_CHECK(settled(game), "the menu did not come up after the name");
    CHILD_CHECK(isSaveNoticeShown(), "nothing says that Eve could not be saved");
    CHILD_CHECK(gNumberOfPlayers == 1 && gPlayers[0].name == L"Eve", "Eve was not added");
    onGameClose(0);
  });
  EXPECT_TRUE(fs::is_symlink(saves / "players.xml"));
  EXPECT_EQ(fs::read_symlink(saves / "players.xml"), target);
  EXPECT_FALSE(fs::exists(_root / "drive"));
  EXPECT_EQ(test_support::folderEntries(saves), std::vector<std::string>{"players.xml"});
}

}  // namespace
