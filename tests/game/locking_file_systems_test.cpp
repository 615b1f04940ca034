// Saves on file systems that lock otherwise than a local disk: an NFS home locks a file only
// through a descriptor open for writing (a lock through one open for reading is refused as a
// bad descriptor), and some file systems cannot lock at all. The game saves on both as on a
// local disk; where it can lock, a second copy is still kept out.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "engine/file_lock.h"
#include "game/game_globals.h"
#include "game/scenes/main_menu/main_menu_scene.h"
#include "game_child.h"
#include "menu_scenario.h"
#include "save_folder_fixture.h"

namespace {

using test_support::GAME_CHILD;
using namespace test_support::main_menu_scenario;
namespace fs = std::filesystem;

int lockAsNfsDoes(int descriptor, int operation) {
  if ((operation & LOCK_EX) != 0 && (::fcntl(descriptor, F_GETFL) & O_ACCMODE) == O_RDONLY) {
    errno = EBADF;
    return -1;
  }
  return ::flock(descriptor, operation);
}

int lockNothing(int, int) {
  errno = ENOLCK;
  return -1;
}

class SavesOnAnotherFileSystem : public SaveFolderTest {
 protected:
  void TearDown() override {
    releaseSaveFolder();
    QEL::fSetLockCall(nullptr);
    SaveFolderTest::TearDown();
  }
};

TEST_F(SavesOnAnotherFileSystem, OnAnNfsHomeASecondCopyIsStillKeptOut) {
  QEL::fSetLockCall(lockAsNfsDoes);
  ASSERT_TRUE(lockSaveFolder());
  EXPECT_FALSE(writesNoSaves());
  const pid_t second = ::fork();
  ASSERT_GE(second, 0);
  if (second == 0) std::_Exit(lockSaveFolder() ? 1 : 0);
  int status = -1;
  ::waitpid(second, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a second copy took the saves";
}

TEST_F(SavesOnAnotherFileSystem, WhereNothingCanBeLockedTheGameSavesAndLeavesEveryTemporary) {
  QEL::fSetLockCall(lockNothing);
  test_support::writeFile(saves() / "players.xml.tmp-Ab12Cd", "<players");
  ASSERT_TRUE(lockSaveFolder());
  EXPECT_FALSE(writesNoSaves());
  EXPECT_TRUE(logged("a second copy of the game on these saves cannot be told apart"));
  // Its writer may be alive: nothing can tell.
  EXPECT_EQ(removeStaleSaveTemporaries(), 0);

  pugi::xml_document document;
  document.append_child("players").append_attribute("numberOfPlayers").set_value(0);
  EXPECT_TRUE(saveXmlAtomically(document, (saves() / "players.xml").string()));
  EXPECT_EQ(test_support::folderEntries(saves()),
            (std::vector<std::string>{"players.xml", "players.xml.tmp-Ab12Cd"}));
}

class NfsHome : public test_support::GameChildTest {};

// Typed at the first start, the player is there at the next one; the run is counted, and
// what a save killed before left is cleared away.
TEST_F(NfsHome, AFirstStartSavesItsPlayerCountsItsRunAndClearsADeadWritersLeftover) {
  if (_isParent) {
    fs::create_directories(saves());
    test_support::writeFile(saves() / "players.xml.tmp-Ab12Cd", "<players");
  }
  play([](GAME_CHILD&) { QEL::fSetLockCall(lockAsNfsDoes); },
       [](GAME_CHILD& game) {
         CHILD_CHECK(dialogOpens(game, MENU::ADD_PLAYER_DIALOG), "no name dialog on a first start");
         game.type(L"Ann");
         click(game, kPanelConfirm);
         CHILD_CHECK(settled(game), "the menu did not come up after the name");
         onGameClose(0);
       });
  EXPECT_EQ(test_support::folderEntries(saves()), std::vector<std::string>{"players.xml"});
  EXPECT_NE(test_support::readFile(saves() / "players.xml").find("name=\"Ann\""), std::string::npos);
  EXPECT_NE(test_support::readFile(statistics() / "statistics.xml").find("sessionNumber=\"1\""), std::string::npos);
}

}  // namespace
