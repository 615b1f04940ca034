// One copy of the game at a time on a player's saves, with real processes: a second copy
// started while the first plays says so in its one message and ends with status 2, having
// made no window, read no save and counted no run. That holds whatever the rights on the
// game's folder and its lock file (left by a run under sudo, say), and on a display the first
// copy keeps the focus, so its level does not pause.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "program_run.h"
#include "save_folder_fixture.h"

namespace {

namespace fs = std::filesystem;
using test_support::PROGRAM_RUN;

// What a player's saves may look like when the second copy comes.
struct SAVES_CASE {
  const char* name;
  // Changes the game folder (Documents/Ostvane/Pindrake, with Saves and Statistics made);
  // false when this machine cannot make the case.
  std::function<bool(const fs::path& gameFolder)> make;
  // What the first copy says of its lock there, proof that the case is real ("" for none).
  const char* firstCopySays;
  // Who plays: root without its right to read and write any file, or another user.
  uid_t player = 0;
};

constexpr uid_t kAnotherUser = 65534;

// The saves made the other user's, and the test's folders above them (Ostvane, Documents
// and the test's own) open to pass through.
bool giveSavesToAnotherUser(const fs::path& game) {
  if (::geteuid() != 0) return false;
  bool given = true;
  fs::path folder = game;
  for (int up = 0; up < 3 && given; ++up) {
    folder = folder.parent_path();
    given = ::chmod(folder.c_str(), 0755) == 0;
  }
  for (const char* folder : {"Saves", "Statistics"})
    given = given && ::chown((game / folder).c_str(), kAnotherUser, kAnotherUser) == 0;
  return given;
}

const SAVES_CASE kCases[] = {
    {"AsLeftByTheGame", [](const fs::path&) { return true; }, ""},
    {"LockFileIsAFolder", [](const fs::path& game) { return fs::create_directory(game / "game.lock"); },
     "(Is a directory)"},
    {"LockFileAllowsNothing",
     [](const fs::path& game) {
       test_support::writeFile(game / "game.lock", "");
       return ::chmod((game / "game.lock").c_str(), 0) == 0;
     },
     "(Permission denied)"},
    {"LockFileOfAnotherUser",
     [](const fs::path& game) {
       test_support::writeFile(game / "game.lock", "");
       return ::chown((game / "game.lock").c_str(), kAnotherUser, kAnotherUser) == 0;
     },
     ""},
    {"GameFolderReadOnlyItsSavesWritable",
     [](const fs::path& game) { return ::chmod(game.c_str(), 0555) == 0; }, "(Permission denied)"},
    // Neither the folder nor game.lock can be opened: the Saves folder is locked.
    {"GameFolderCanOnlyBePassedThrough", [](const fs::path& game) { return ::chmod(game.c_str(), 0111) == 0; },
     "(Permission denied)"},
    {"GameFolderAndLockFileOfRootClosedToThePlayer",
     [](const fs::path& game) {
       test_support::writeFile(game / "game.lock", "");
       return giveSavesToAnotherUser(game) && ::chmod((game / "game.lock").c_str(), 0600) == 0 &&
              ::chmod(game.c_str(), 0711) == 0;
     },
     "(Permission denied)", kAnotherUser},
};

void PrintTo(const SAVES_CASE& saves, std::ostream* out) { *out << saves.name; }

int sessionNumber(const fs::path& gameFolder) {
  const std::string text = test_support::readFile(gameFolder / "Statistics" / "statistics.xml");
  const size_t at = text.find("sessionNumber=\"");
  return at == std::string::npos ? -1 : std::stoi(text.substr(at + 15));
}

class OneCopyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(test_support::built("pindrake")) ||
        !fs::exists(test_support::built("Resources") / "texts" / "texts.xml"))
      GTEST_SKIP() << "the game and its generated Resources are not built";
    _root = test_support::makeTemporaryFolder("pindrake_one_copy_");
    test_support::makeStartFolder(start());
    fs::create_directories(gameFolder() / "Saves");
    fs::create_directories(gameFolder() / "Statistics");
  }
  void TearDown() override {
    if (_root.empty()) return;
    ::chmod(gameFolder().c_str(), 0755);
    std::error_code error;
    fs::remove_all(_root, error);
  }

  fs::path start() const { return _root / "start"; }
  fs::path documents() const { return _root / "Documents"; }
  fs::path gameFolder() const { return documents() / "Ostvane" / "Pindrake"; }
  std::map<std::string, std::string> headless() const {
    return {{"SDL_VIDEODRIVER", "offscreen"}, {"ALSOFT_DRIVERS", "null"}, {"XDG_DOCUMENTS_DIR", documents().string()}};
  }

  // Waits for the second copy to end; one that starts its loop instead plays on beside the
  // first and is taken away.
  static int secondCopyStatus(PROGRAM_RUN& second) {
    second.waitFor([&] { return second.logged("Start"); });
    return second.hasEnded() ? second.exitStatus() : -1;
  }

  fs::path _root;
};

class OneCopyOnSavesTest : public OneCopyTest, public ::testing::WithParamInterface<SAVES_CASE> {};

TEST_P(OneCopyOnSavesTest, ASecondCopyMakesNoWindowAndEndsWithStatusTwo) {
  const SAVES_CASE& saves = GetParam();
  if (!saves.make(gameFolder())) GTEST_SKIP() << "this machine cannot make the case";
  PROGRAM_RUN first(start(), _root / "first.log", headless(), true, saves.player);
  ASSERT_TRUE(first.waitFor([&] { return first.logged("Start"); })) << first.output();
  EXPECT_NE(first.output().find(saves.firstCopySays), std::string::npos)
      << "the case is not what the game finds:\n" << first.output();
  EXPECT_EQ(first.output().find("writes no save"), std::string::npos) << first.output();

  PROGRAM_RUN second(start(), _root / "second.log", headless(), true, saves.player);
  EXPECT_EQ(secondCopyStatus(second), 2) << second.output();
  const std::string said = second.output();
  EXPECT_NE(said.find("in use by another copy of the game"), std::string::npos) << said;
  EXPECT_NE(said.find("Message box [Pindrake] Pindrake is already running"), std::string::npos) << said;
  EXPECT_EQ(said.find("WindowInit"), std::string::npos) << "the second copy made a window:\n" << said;
  EXPECT_EQ(sessionNumber(gameFolder()), 1) << "the second copy counted a run";

  EXPECT_FALSE(first.hasEnded()) << first.output();
  EXPECT_EQ(first.terminate(), 0) << first.output();
}

// Where nothing of the saves can be locked (the game folder may only be passed through, the
// save folder only written to), no copy can tell of another: each plays, and neither writes.
TEST_F(OneCopyTest, WhereNothingCanBeLockedNeitherCopyWritesTheSaves) {
  test_support::writeFile(gameFolder() / "Statistics" / "statistics.xml", "<statistics sessionNumber=\"4\" />\n");
  if (!giveSavesToAnotherUser(gameFolder()) || ::chmod((gameFolder() / "Saves").c_str(), 0311) != 0 ||
      ::chmod(gameFolder().c_str(), 0111) != 0)
    GTEST_SKIP() << "this machine cannot make the case";
  PROGRAM_RUN first(start(), _root / "first.log", headless(), true, kAnotherUser);
  ASSERT_TRUE(first.waitFor([&] { return first.logged("Start"); })) << first.output();
  PROGRAM_RUN second(start(), _root / "second.log", headless(), true, kAnotherUser);
  ASSERT_TRUE(second.waitFor([&] { return second.logged("Start"); })) << second.output();

  for (PROGRAM_RUN* copy : {&first, &second}) {
    EXPECT_NE(copy->output().find("this copy of the game writes no save"), std::string::npos) << copy->output();
    EXPECT_EQ(copy->terminate(), 0) << copy->output();
  }
  EXPECT_EQ(sessionNumber(gameFolder()), 4) << "a copy counted its run";
  ::chmod((gameFolder() / "Saves").c_str(), 0755);
  EXPECT_TRUE(test_support::folderEntries(gameFolder() / "Saves").empty());
}

INSTANTIATE_TEST_SUITE_P(Saves, OneCopyOnSavesTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<SAVES_CASE>& info) { return std::string(info.param.name); });

// ---- on a display ----------------------------------------------------------------------------

// The processes the program has started (the system's message box is one), by their ids.
std::vector<pid_t> childrenOf(pid_t parent) {
  std::vector<pid_t> children;
  std::error_code error;
  for (fs::directory_iterator entry("/proc", error), end; !error && entry != end; entry.increment(error)) {
    const std::string name = entry->path().filename();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::ifstream stat(entry->path() / "stat");
    std::string line;
    std::getline(stat, line);
    const size_t command = line.rfind(')');  // "pid (command) state parent ..."
    char state = 0;
    long parentId = 0;
    if (command != std::string::npos && sscanf(line.c_str() + command + 1, " %c %ld", &state, &parentId) == 2 &&
        parentId == parent)
      children.push_back(static_cast<pid_t>(std::stol(name)));
  }
  return children;
}

TEST_F(OneCopyTest, OnADisplayTheFirstCopyKeepsTheFocusWhileTheSecondSaysItsMessage) {
  if (!test_support::found("Xvfb") || !test_support::found("xwininfo"))
    GTEST_SKIP() << "needs Xvfb (xvfb) and xwininfo (x11-utils)";
  test_support::VIRTUAL_DISPLAY display;
  ASSERT_FALSE(display.name().empty()) << "Xvfb did not start";
  std::map<std::string, std::string> environment = headless();
  environment["SDL_VIDEODRIVER"] = "x11";
  environment["DISPLAY"] = display.name();
  PROGRAM_RUN first(start(), _root / "first.log", environment);
  // Without a window manager the game's window takes the focus itself when it shows.
  ASSERT_TRUE(first.waitFor([&] { return first.logged("Start") && first.logged("FocusGAIN!"); })) << first.output();

  PROGRAM_RUN second(start(), _root / "second.log", environment);
  // The box (a window without the game's class) is answered by taking it away, where the
  // display has the fonts to show one; without them the copy says its message in the log.
  const std::string windows = "xwininfo -display " + display.name() + " -root -children 2>&1";
  second.waitFor([&] {
    if (test_support::commandOutput(windows).find("\"Pindrake\": ()") != std::string::npos)
      for (pid_t box : childrenOf(second.pid())) ::kill(box, SIGKILL);
    return false;
  });
  EXPECT_EQ(second.exitStatus(), 2) << second.output();
  EXPECT_FALSE(first.logged("FocusLost!")) << "the first copy lost the focus:\n" << first.output();
  EXPECT_EQ(first.terminate(), 0) << first.output();
}

}  // namespace
