// Adding, choosing and deleting players through the main menu, on real files in a
// temporary save folder: what players.xml and the result files hold afterwards, and what a
// restart finds when the game was killed in the middle of a delete.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "game/game_globals.h"
#include "game/level_results.h"
#include "game/player_removal.h"
#include "game/players.h"
#include "game/scenes/main_menu/main_menu_scene.h"
#include "gui/gui_button5.h"
#include "gui/gui_linebox.h"
#include "player_records.h"
#include "save_folder_fixture.h"

namespace {

// Set, the next rename of a staged result file (a name ending in ".next") fails with an I/O
// error, as a failing disk would make it fail.
bool gFailNextStagedRename = false;

}  // namespace

// The program's rename: the C library's, but for the one failure a test asks for.
extern "C" int rename(const char* from, const char* to) noexcept {
  using RENAME = int (*)(const char*, const char*);
  static const auto libraryRename = reinterpret_cast<RENAME>(::dlsym(RTLD_NEXT, "rename"));
  if (gFailNextStagedRename && std::string(from).ends_with(".next")) {
    gFailNextStagedRename = false;
    errno = EIO;
    return -1;
  }
  return libraryRename(from, to);
}

namespace {

using test_support::expectSamePlayer;
using test_support::readFile;
using test_support::samplePlayer;
using test_support::writeFile;

// Each player's results carry a mark of their own: the score of level 0 in junior mode and
// of level 5 in professional mode. Dan, in the tests that seed him, has no professional file.
int juniorMark(const std::wstring& name) { return 10 + static_cast<int>(name[0]); }
int professionalMark(const std::wstring& name) { return 200 + static_cast<int>(name[0]); }

class PlayerManagement : public SaveFolderTest {
 protected:
  void TearDown() override {
    delete menu;
    menu = nullptr;
    gCurrentScene = nullptr;
    SaveFolderTest::TearDown();
  }

  // Saves the players (each a sample record with the given name) and their result files.
  void seed(const std::vector<std::wstring>& names, int current, const std::wstring& noProfessional = L"") {
    for (const auto& entry : std::filesystem::directory_iterator(saves())) std::filesystem::remove(entry.path());
    gNumberOfPlayers = static_cast<int>(names.size());
    gCurrentPlayer = current;
    for (int p = 0; p < kMaxPlayers; ++p) gPlayers[p] = PLAYER_RECORD{};
    for (size_t p = 0; p < names.size(); ++p) {
      gPlayers[p] = samplePlayer(static_cast<int>(p));
      gPlayers[p].name = names[p];
      writeResults(static_cast<int>(p), 0, 0, juniorMark(names[p]));
      if (noProfessional.find(names[p]) == std::wstring::npos)
        writeResults(static_cast<int>(p), 1, 5, professionalMark(names[p]));
    }
    savePlayers();
  }

  void writeResults(int player, int mode, int level, int score) {
    writeFile(levelResultsFilePath(player, mode),
              "<info levelsNumber=\"120\"><level id=\"" + std::to_string(level) +
                  "\" result=\"2\" specialCards1=\"3\" specialCards2=\"4\" score=\"" + std::to_string(score) +
                  "\"/></info>\n");
  }

  // The main menu as the game builds it on these saves, after its start-up read them.
  void openMenu() {
    if (!gIsAllLevelsView) {
      for (int p = 0; p < kMaxPlayers; ++p) gPlayers[p] = PLAYER_RECORD{};
      loadPlayers();
      loadAllLevelsInfo();
    }
    menu = new SCENE_CARD_GAME_MAINMENU();
    gCurrentScene = menu;
    menu->fInit();
  }

  void addPlayer(const std::wstring& name) {
    menu->nameLineBox->fSetText(name);
    ASSERT_TRUE(menu->confirmNewName());
  }

  // As a new run of the game reads the saves.
  void restart() {
    for (int p = 0; p < kMaxPlayers; ++p) gPlayers[p] = PLAYER_RECORD{};
    clearLevelResults(0);
    clearLevelResults(1);
    finishInterruptedPlayerRemoval();
    loadPlayers();
    loadAllLevelsInfo();
  }

  std::vector<std::wstring> names() const {
    std::vector<std::wstring> list;
    for (int p = 0; p < gNumberOfPlayers; ++p) list.push_back(gPlayers[p].name);
    return list;
  }

  // Every listed player holds their own results and nobody else's.
  void expectOwnResults() {
    for (int p = 0; p < gNumberOfPlayers; ++p) {
      const std::wstring& name = gPlayers[p].name;
      SCOPED_TRACE(std::string(name.begin(), name.end()));
      EXPECT_EQ(getLevelResult(p, 0, kScoreField, 0), juniorMark(name));
      EXPECT_EQ(getLevelResult(p, 5, kScoreField, 1), name == L"Dan" ? 0 : professionalMark(name));
    }
  }

  std::vector<std::filesystem::path> leftovers() const {
    std::vector<std::filesystem::path> found;
    for (const auto& entry : std::filesystem::directory_iterator(saves())) {
      const std::string name = entry.path().filename().string();
      if (name.find(".next") != std::string::npos || name.find(".none") != std::string::npos ||
          name.find(".tmp") != std::string::npos)
        found.push_back(entry.path());
    }
    return found;
  }

  SCENE_CARD_GAME_MAINMENU* menu = nullptr;
};

TEST_F(PlayerManagement, EveryFieldOfAPlayerSurvivesOthersBeingAddedChosenAndDeleted) {
  seed({L"Ann", L"Bob"}, 1);
  const PLAYER_RECORD ann = gPlayers[0];
  const PLAYER_RECORD bob = gPlayers[1];
  openMenu();
  addPlayer(L"Cid");
  menu->choosePlayer(0);
  menu->deletePlayer(2);
  menu->choosePlayer(1);
  menu->refreshPlayerNames();

  loadPlayers();
  ASSERT_EQ(gNumberOfPlayers, 2);
  PLAYER_RECORD expectedAnn = ann;
  PLAYER_RECORD expectedBob = bob;
  // Choosing a player carries the window mode over from the one before.
  expectedAnn.isFullscreen = bob.isFullscreen;
  expectedBob.isFullscreen = bob.isFullscreen;
  expectSamePlayer(gPlayers[0], expectedAnn);
  expectSamePlayer(gPlayers[1], expectedBob);
  EXPECT_EQ(gCurrentPlayer, 1);
}

TEST_F(PlayerManagement, DeletingAPlayerMovesTheLaterPlayersAndTheirResultsDown) {
  seed({L"Ann", L"Bob", L"Cid", L"Dan"}, 0, L"Dan");
  openMenu();
  menu->deletePlayer(1);

  EXPECT_FALSE(std::filesystem::exists(levelResultsFilePath(3, 0)));
  EXPECT_FALSE(std::filesystem::exists(levelResultsFilePath(3, 1)));
  EXPECT_FALSE(std::filesystem::exists(levelResultsFilePath(2, 1))) << "Dan has no professional results";
  EXPECT_TRUE(leftovers().empty());
  EXPECT_EQ(readFile(saves() / "players.xml").find("movingResultFiles"), std::string::npos);
  EXPECT_EQ(names(), (std::vector<std::wstring>{L"Ann", L"Cid", L"Dan"}));
  expectOwnResults();  // in memory, as the menu left them
  restart();
  EXPECT_EQ(names(), (std::vector<std::wstring>{L"Ann", L"Cid", L"Dan"}));
  expectOwnResults();
}

// The game killed after any step of a delete, for each row: the next run finds either the
// old players or the new ones, each with their own results, and no staged file.
TEST_F(PlayerManagement, AGameKilledDuringADeleteRestartsWithEveryPlayersOwnResults) {
  const std::vector<std::wstring> before = {L"Ann", L"Bob", L"Cid", L"Dan"};
  for (int row = 0; row < 4; ++row) {
    std::vector<std::wstring> after = before;
    after.erase(after.begin() + row);
    const std::vector<REMOVAL_STEP> plan = planPlayerRemoval(row, 4);
    size_t commit = 0;
    while (commit < plan.size() && plan[commit].kind != REMOVAL_STEP_KIND::COMMIT) ++commit;
    ASSERT_LT(commit, plan.size());
    for (size_t done = 0; done <= plan.size(); ++done) {
      SCOPED_TRACE("row " + std::to_string(row) + ", steps done " + std::to_string(done));
      seed(before, 0, L"Dan");
      restart();
      removePlayerFromTables(row);
      for (size_t step = 0; step < done; ++step) ASSERT_TRUE(runRemovalStep(plan[step]));
      const bool committed = done > commit;

      restart();
      EXPECT_EQ(names(), committed ? after : before);
      expectOwnResults();
      EXPECT_TRUE(leftovers().empty());
      EXPECT_EQ(readFile(saves() / "players.xml").find("movingResultFiles"), std::string::npos);
      // The place that fell out of use keeps no results for a newcomer.
      if (committed) {
        EXPECT_FALSE(std::filesystem::exists(levelResultsFilePath(3, 0)));
      }
    }
  }
}

// The first staged result file cannot be moved, after players.xml already says Ann is gone:
// the deletion stops there and leaves its mark, which the close keeps, and the next start
// moves the rest. A frame finished or another deletion before the close moves them first.
TEST_F(PlayerManagement, AMoveThatFailsAfterTheDeletionIsFinishedLaterWithNoResultsGivenAway) {
  enum class THEN { CLOSE, FINISH_A_FRAME, DELETE_CID };
  for (const THEN then : {THEN::CLOSE, THEN::FINISH_A_FRAME, THEN::DELETE_CID}) {
    SCOPED_TRACE(static_cast<int>(then));
    seed({L"Ann", L"Bob", L"Cid", L"Dan"}, 1, L"Dan");
    delete menu;
    openMenu();
    gFailNextStagedRename = true;
    menu->deletePlayer(0);
    ASSERT_FALSE(gFailNextStagedRename) << "no staged result file was moved";
    EXPECT_TRUE(logged("the next start finishes the move"));
    EXPECT_EQ(names(), (std::vector<std::wstring>{L"Bob", L"Cid", L"Dan"}));
    expectOwnResults();
    if (then == THEN::FINISH_A_FRAME) {
      setLevelResult(gCurrentPlayer, 1, kResultField, 4, 0);
      saveLevelsInfo();
    }
    if (then == THEN::DELETE_CID) menu->deletePlayer(1);
    savePlayerSettings(gCurrentPlayer);  // the close
    const bool moved = readFile(saves() / "players.xml").find("movingResultFiles") == std::string::npos;
    EXPECT_EQ(moved, then != THEN::CLOSE);

    restart();
    EXPECT_EQ(names(), then == THEN::DELETE_CID ? (std::vector<std::wstring>{L"Bob", L"Dan"})
                                                : (std::vector<std::wstring>{L"Bob", L"Cid", L"Dan"}));
    expectOwnResults();
    EXPECT_EQ(getLevelResult(0, 1, kResultField, 0), then == THEN::FINISH_A_FRAME ? 4 : 0) << "Bob's frame";
    EXPECT_TRUE(leftovers().empty());
    EXPECT_EQ(readFile(saves() / "players.xml").find("movingResultFiles"), std::string::npos);
  }
}

TEST_F(PlayerManagement, TheCurrentPlayerStaysTheSamePersonWhenAnotherIsDeleted) {
  seed({L"Ann", L"Bob", L"Cid"}, 1);
  openMenu();
  menu->deletePlayer(0);
  EXPECT_EQ(gPlayers[gCurrentPlayer].name, L"Bob");

  seed({L"Ann", L"Bob", L"Cid"}, 2);
  delete menu;
  openMenu();
  menu->deletePlayer(1);
  EXPECT_EQ(gCurrentPlayer, 1);
  EXPECT_EQ(gPlayers[gCurrentPlayer].name, L"Cid");

  seed({L"Ann", L"Bob", L"Cid"}, 2);
  delete menu;
  openMenu();
  menu->deletePlayer(2);
  EXPECT_EQ(gCurrentPlayer, 0) << "deleting the current player makes the first one current";
  loadPlayers();
  EXPECT_EQ(gCurrentPlayer, 0);
}

TEST_F(PlayerManagement, DeletingTheOnlyPlayerLeavesNoPlayerInTheSaves) {
  seed({L"Ann"}, 0);
  openMenu();
  menu->deletePlayer(0);
  EXPECT_EQ(gNumberOfPlayers, 0);
  EXPECT_EQ(menu->addPlayerButton->fGetTransform()->fGetPosition().x, 687.0f);
  EXPECT_FALSE(std::filesystem::exists(levelResultsFilePath(0, 0)));
  // A restart does not bring the deleted player back without results.
  restart();
  EXPECT_EQ(gNumberOfPlayers, 0);
}

TEST_F(PlayerManagement, ANewPlayerStartsWithNothingOfWhoeverHeldThePlaceBefore) {
  seed({L"Ann", L"Bob"}, 0);
  openMenu();
  menu->deletePlayer(1);
  addPlayer(L"Eve");
  ASSERT_EQ(gCurrentPlayer, 1);
  const PLAYER_RECORD& eve = gPlayers[1];
  EXPECT_EQ(eve.numberOfUsageOfBonusJoker, 0);
  EXPECT_EQ(eve.numberOfUsageOfBonusReshuffle, 0);
  EXPECT_EQ(eve.numberOfPacksCompletedWithResult300_juniorMode, 0);
  EXPECT_EQ(eve.jokers, 3);
  EXPECT_EQ(eve.reshuffles, 2);
  for (uint8_t trophy : eve.trophies) EXPECT_EQ(trophy, 0);
  EXPECT_EQ(getLevelResult(1, 0, kScoreField, 0), 0);
  EXPECT_EQ(getLevelResult(1, 5, kScoreField, 1), 0);
  restart();
  EXPECT_EQ(getLevelResult(1, 5, kScoreField, 1), 0);
  EXPECT_EQ(gPlayers[1].numberOfUsageOfBonusJoker, 0);
}

TEST_F(PlayerManagement, ResultsLeftAtAFreePlaceAreKeptAsideNotGivenToANewPlayer) {
  seed({L"Ann"}, 0);
  writeResults(1, 0, 0, 77);  // no player holds place 1
  openMenu();
  addPlayer(L"Eve");
  EXPECT_FALSE(std::filesystem::exists(levelResultsFilePath(1, 0)));
  EXPECT_TRUE(std::filesystem::exists(levelResultsFilePath(1, 0) + ".unowned"));
  restart();
  EXPECT_EQ(getLevelResult(1, 0, kScoreField, 0), 0);
}

TEST_F(PlayerManagement, ChoosingAPlayerKeepsTheWindowModeAndIsSaved) {
  seed({L"Ann", L"Bob"}, 0);
  openMenu();
  gPlayers[0].isFullscreen = 0;
  gPlayers[1].isFullscreen = 1;
  menu->choosePlayer(1);
  EXPECT_EQ(gPlayers[1].isFullscreen, 0);
  restart();
  EXPECT_EQ(gCurrentPlayer, 1);
  EXPECT_EQ(gPlayers[1].isFullscreen, 0);
}

TEST_F(PlayerManagement, TheOptionsWindowOpensOnTheChosenPlayersSettings) {
  seed({L"Ann", L"Bob"}, 0);
  openMenu();
  const PLAYER_RECORD& bob = gPlayers[1];
  ASSERT_NE(bob.currentBack, gPlayers[0].currentBack);
  menu->choosePlayer(1);
  menu->menuState = SCENE_CARD_GAME_MAINMENU::MENU_AWAY;
  menu->nextSceneType = SCENE_CARD_GAME_MAINMENU::NEXT_OPTIONS;
  menu->applyNextSceneType();
  for (int back = 0; back < SCENE_CARD_GAME_MAINMENU::BACK_COUNT; ++back)
    EXPECT_EQ(menu->backButtons[back]->fGetState() == 4, back == bob.currentBack) << back;
  QEL::QC_GUI_BUTTON5* shownBox = bob.isMuteAll ? menu->muteAllTickedButton : menu->muteAllButton;
  EXPECT_EQ(shownBox->fGetTransform()->fGetPosition().x, 573.0f);
  EXPECT_EQ(menu->soundSliderButton->fGetTransform()->fGetPosition().x, 317.0f + 356.0f * bob.soundVolume);
}

TEST_F(PlayerManagement, ANameIsTakenOnceAndNoSixthPlayerIsAdded) {
  seed({L"Ann", L"Bob", L"Cid", L"Dan"}, 0);
  openMenu();
  menu->nameLineBox->fSetText(L"Ann");
  EXPECT_FALSE(menu->confirmNewName());
  EXPECT_EQ(gNumberOfPlayers, 4);
  menu->nameLineBox->fSetText(L"ann");  // another name: the comparison heeds case
  EXPECT_TRUE(menu->confirmNewName());
  EXPECT_EQ(gNumberOfPlayers, 5);
  EXPECT_GT(menu->addPlayerButton->fGetTransform()->fGetPosition().x, 1024.0f);
  menu->nameLineBox->fSetText(L"Eve");
  menu->addPlayer();
  EXPECT_EQ(gNumberOfPlayers, 5);
  restart();
  EXPECT_EQ(gNumberOfPlayers, 5);
}

TEST_F(PlayerManagement, TheDeveloperViewChangesNoSaveWhenAPlayerIsDeleted) {
  seed({L"Ann", L"Bob"}, 0);
  const std::string saved = readFile(saves() / "players.xml");
  openMenu();
  gIsAllLevelsView = 1;
  menu->deletePlayer(0);
  EXPECT_EQ(readFile(saves() / "players.xml"), saved);
  EXPECT_TRUE(std::filesystem::exists(levelResultsFilePath(1, 0)));
  gIsAllLevelsView = 0;
}

}  // namespace

namespace {

// The developer's all-levels view: a key in the menu (with the cheat flag), or the key of
// the level packs and frames scenes, which the next menu start-up applies.
class DeveloperView : public PlayerManagement {
 protected:
  void TearDown() override {
    gIsCheat = 0;
    gCheatKeyUsed = 0;
    gIsAllLevelsView = 0;
    PlayerManagement::TearDown();
  }
};

TEST_F(DeveloperView, TheKeyShowsEveryLevelFinishedAndBringsTheSavesBack) {
  seed({L"Ann"}, 0);
  openMenu();
  menu->fKeyDown(79);
  EXPECT_EQ(gIsAllLevelsView, 0) << "the key works only with the cheat flag";
  gIsCheat = 1;
  menu->showDialog(SCENE_CARD_GAME_MAINMENU::QUIT_DIALOG, -1);
  menu->fKeyDown(79);
  EXPECT_EQ(gIsAllLevelsView, 0) << "the key works only with no dialog up";
  menu->dialogState = SCENE_CARD_GAME_MAINMENU::NO_DIALOG;

  menu->fKeyDown(79);
  EXPECT_EQ(gIsAllLevelsView, 1);
  EXPECT_EQ(getLevelResult(0, 119, kResultField, 0), 2);
  menu->fKeyDown(79);
  EXPECT_EQ(gIsAllLevelsView, 0);
  EXPECT_EQ(getLevelResult(0, 119, kResultField, 0), 0);
  EXPECT_EQ(getLevelResult(0, 0, kScoreField, 0), juniorMark(L"Ann"));
}

TEST_F(DeveloperView, TheOtherScenesKeySwitchesTheViewAtTheNextMenu) {
  seed({L"Ann"}, 0);
  gCheatKeyUsed = 1;
  openMenu();
  EXPECT_EQ(gIsAllLevelsView, 1);
  EXPECT_EQ(gCheatKeyUsed, 0);
  EXPECT_EQ(getLevelResult(0, 57, kResultField, 1), 2);
  gCheatKeyUsed = 1;
  delete menu;
  openMenu();
  EXPECT_EQ(gIsAllLevelsView, 0);
  EXPECT_EQ(getLevelResult(0, 57, kResultField, 1), 0);
  EXPECT_EQ(getLevelResult(0, 5, kScoreField, 1), professionalMark(L"Ann"));
}

}  // namespace
