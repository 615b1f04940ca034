// The game program itself started as a player starts it: from a folder without its Resources
// (one message, a failure status, nothing written), from a folder whose Resources are partly
// there (the game starts), and on a real X display, where its window carries the program's
// own icon.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <thread>

#include "game/missing_resources.h"
#include "save_folder_fixture.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// What the build made: the program, and the Resources beside it.
fs::path built(const char* name) { return fs::path(PINDRAKE_BUILD_DIR) / name; }

// The program in a child process, in the given folder, with the given environment changes (an
// empty value removes the variable), its output in a file.
class PROGRAM_RUN {
 public:
  PROGRAM_RUN(const fs::path& folder, const fs::path& log, const std::map<std::string, std::string>& environment)
      : _log(log) {
    _pid = ::fork();
    if (_pid != 0) return;
    if (::chdir(folder.c_str()) != 0) std::_Exit(120);
    for (const auto& [name, value] : environment) {
      if (value.empty())
        ::unsetenv(name.c_str());
      else
        ::setenv(name.c_str(), value.c_str(), 1);
    }
    const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0 || ::dup2(out, STDOUT_FILENO) < 0 || ::dup2(out, STDERR_FILENO) < 0) std::_Exit(121);
    const std::string program = built("pindrake").string();
    ::execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    std::_Exit(122);
  }
  ~PROGRAM_RUN() {
    if (_pid > 0 && !_ended) {
      ::kill(_pid, SIGKILL);
      ::waitpid(_pid, &_status, 0);
    }
  }

  std::string output() const { return test_support::readFile(_log); }
  bool logged(const std::string& line) const { return ("\n" + output() + "\n").find("\n" + line + "\n") != std::string::npos; }

  // True once the condition holds, false when it still does not after the patience, or when
  // the program has ended without it.
  bool waitFor(const std::function<bool()>& condition, std::chrono::seconds patience = std::chrono::seconds(60)) {
    const Clock::time_point giveUp = Clock::now() + patience;
    while (Clock::now() < giveUp) {
      if (condition()) return true;
      if (hasEnded()) return condition();
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
  }
  bool hasEnded() {
    if (!_ended && _pid > 0 && ::waitpid(_pid, &_status, WNOHANG) == _pid) _ended = true;
    return _ended;
  }
  // The exit status once the program has ended by itself; -1 when it did not end in time or
  // ended by a signal.
  int exitStatus(std::chrono::seconds patience = std::chrono::seconds(60)) {
    if (!waitFor([] { return false; }, patience) && !_ended) return -1;
    return WIFEXITED(_status) ? WEXITSTATUS(_status) : -1;
  }
  // Closed as the desktop closes it when the session ends.
  int terminate() {
    if (!hasEnded()) ::kill(_pid, SIGTERM);
    return exitStatus();
  }

 private:
  fs::path _log;
  pid_t _pid = -1;
  int _status = 0;
  bool _ended = false;
};

int countOf(const std::string& text, const std::string& piece) {
  int count = 0;
  for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++count;
  return count;
}

class ProgramStartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(built("pindrake")) || !fs::exists(built("Resources") / "texts" / "texts.xml"))
      GTEST_SKIP() << "the game and its generated Resources are not built";
    _root = test_support::makeTemporaryFolder("pindrake_program_start_");
    fs::create_directories(start());
  }
  void TearDown() override {
    std::error_code error;
    if (!_root.empty()) fs::remove_all(_root, error);
  }

  fs::path start() const { return _root / "start"; }
  fs::path documents() const { return _root / "Documents"; }
  std::map<std::string, std::string> headless() const {
    return {{"SDL_VIDEODRIVER", "offscreen"}, {"ALSOFT_DRIVERS", "null"}, {"XDG_DOCUMENTS_DIR", documents().string()}};
  }
  // A copy, never a link: the game may write into its Resources, and the build's own must
  // stay as generated.
  void copyGenerated(const std::string& name) {
    fs::create_directories(start() / "Resources");
    fs::copy(built("Resources") / name, start() / "Resources" / name, fs::copy_options::recursive);
  }
  // Everything in the start folder, for a failure message.
  std::string listing() const {
    std::string names;
    for (const auto& entry : fs::recursive_directory_iterator(start())) names += entry.path().string() + "\n";
    return names;
  }

  fs::path _root;
};

TEST_F(ProgramStartTest, InAFolderWithoutResourcesItSaysSoOnceAndEndsWritingNothing) {
  PROGRAM_RUN run(start(), _root / "run.log", headless());
  EXPECT_EQ(run.exitStatus(), 1) << run.output();
  const std::string output = run.output();
  EXPECT_EQ(countOf(output, "Message box ["), 1) << output;
  EXPECT_NE(output.find((start() / "Resources").string() + "\n"), std::string::npos)
      << "the message names the folder it looked in:\n" << output;
  EXPECT_NE(output.find("cd " + fs::path(PINDRAKE_BUILD_DIR).lexically_normal().string() + " && ./pindrake"),
            std::string::npos)
      << "and how to start the game from the program's folder, where the build made Resources:\n" << output;
  EXPECT_TRUE(fs::is_empty(start())) << "no Resources folder is made:\n" << listing();
  EXPECT_FALSE(fs::exists(documents())) << "no save folder is made";
}

TEST_F(ProgramStartTest, AnEmptyResourcesFolderLeftByAnEarlierStartIsNoResourcesEither) {
  fs::create_directories(start() / "Resources");
  PROGRAM_RUN run(start(), _root / "run.log", headless());
  EXPECT_EQ(run.exitStatus(), 1) << run.output();
  EXPECT_EQ(countOf(run.output(), "Message box ["), 1) << run.output();
  EXPECT_TRUE(fs::is_empty(start() / "Resources")) << listing();
}

TEST_F(ProgramStartTest, APartlyBrokenResourcesFolderStillStartsTheGame) {
  copyGenerated("texts");
  copyGenerated("font");
  PROGRAM_RUN run(start(), _root / "run.log", headless());
  EXPECT_TRUE(run.waitFor([&] { return run.logged("Start"); })) << run.output();
  EXPECT_EQ(run.terminate(), 0) << run.output();
}

// ---- the window icon, on a display of its own ------------------------------------------------

bool found(const char* program) {
  return ::system((std::string("command -v ") + program + " >/dev/null 2>&1").c_str()) == 0;
}

std::string commandOutput(const std::string& command) {
  std::string text;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[4096];
    while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) text.append(buffer, n);
    ::pclose(pipe);
  }
  return text;
}

// An X server in memory for one test; its display name is empty when it could not start. It
// takes a number far from the ones people and xvfb-run pick, and counts as started only while
// its own process lives: one that lost the number to another server has ended by then.
class VIRTUAL_DISPLAY {
 public:
  VIRTUAL_DISPLAY() {
    for (int attempt = 0; attempt < 20 && _name.empty(); ++attempt) {
      const std::string number = std::to_string(2000 + (::getpid() * 7 + attempt * 131) % 5000);
      if (fs::exists("/tmp/.X" + number + "-lock")) continue;
      _pid = ::fork();
      if (_pid == 0) {
        const int quiet = ::open("/dev/null", O_WRONLY);
        ::dup2(quiet, STDOUT_FILENO);
        ::dup2(quiet, STDERR_FILENO);
        const std::string display = ":" + number;
        ::execlp("Xvfb", "Xvfb", display.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
                 static_cast<char*>(nullptr));
        std::_Exit(122);
      }
      if (_pid < 0) return;
      const Clock::time_point giveUp = Clock::now() + std::chrono::seconds(20);
      while (Clock::now() < giveUp) {
        if (::waitpid(_pid, nullptr, WNOHANG) == _pid) {
          _pid = -1;
          break;
        }
        if (fs::exists("/tmp/.X11-unix/X" + number)) {
          _name = ":" + number;
          break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
      }
    }
  }
  ~VIRTUAL_DISPLAY() {
    if (_pid <= 0) return;
    ::kill(_pid, SIGTERM);
    ::waitpid(_pid, nullptr, 0);
  }
  const std::string& name() const { return _name; }

 private:
  pid_t _pid = -1;
  std::string _name;
};

TEST_F(ProgramStartTest, TheGameWindowCarriesTheProgramsOwnIcon) {
  if (!found("Xvfb") || !found("xprop")) GTEST_SKIP() << "needs Xvfb (xvfb) and xprop (x11-utils)";
  VIRTUAL_DISPLAY display;
  ASSERT_FALSE(display.name().empty()) << "Xvfb did not start";
  for (const char* pack : {"texts", "font", "sounds", "splash", "interface", "main_menu"}) copyGenerated(pack);
  std::map<std::string, std::string> environment = headless();
  environment["SDL_VIDEODRIVER"] = "x11";
  environment["DISPLAY"] = display.name();
  PROGRAM_RUN run(start(), _root / "run.log", environment);
  ASSERT_TRUE(run.waitFor([&] { return run.logged("Start"); })) << run.output();

  const std::string icon = commandOutput("xprop -display " + display.name() + " -name Pindrake _NET_WM_ICON 2>&1");
  EXPECT_NE(icon.find("_NET_WM_ICON(CARDINAL) = "), std::string::npos) << icon.substr(0, 300);
  EXPECT_NE(icon.find("Icon (64 x 64)"), std::string::npos) << icon.substr(0, 300);
  EXPECT_EQ(run.terminate(), 0) << run.output();
}

// ---- what counts as the game's Resources -------------------------------------------------

TEST(MissingResources, TheTextsOrAnyStartUpPackMakeAFolderTheGames) {
  const fs::path root = test_support::makeTemporaryFolder("pindrake_missing_resources_");
  EXPECT_FALSE(holdsGameResources(root));
  fs::create_directories(root / "Resources" / "Levels");
  EXPECT_FALSE(holdsGameResources(root)) << "levels alone are no game to start";
  fs::create_directories(root / "Resources" / "sounds");
  EXPECT_TRUE(holdsGameResources(root)) << "one pack of the start-up: partly broken, but the game's";
  fs::remove(root / "Resources" / "sounds");
  fs::create_directories(root / "Resources" / "texts");
  test_support::writeFile(root / "Resources" / "texts" / "texts.xml", "<texts/>");
  EXPECT_TRUE(holdsGameResources(root));

  // A program whose own folder holds no Resources either: how to start it, in general words.
  const std::string message = missingResourcesMessage("/home/ann/my games", "/opt/it's here/pindrake");
  EXPECT_NE(message.find("/home/ann/my games/Resources\n"), std::string::npos) << message;
  EXPECT_NE(message.find("cd build && ./pindrake"), std::string::npos) << message;
  // The program's folder, when it holds them, is written as a shell takes it.
  fs::create_directories(root / "my build" / "Resources" / "font");
  const std::string quoted = missingResourcesMessage("/tmp", root / "my build" / "pindrake");
  EXPECT_NE(quoted.find("cd '" + (root / "my build").string() + "' && ./pindrake"), std::string::npos) << quoted;
  std::error_code error;
  fs::remove_all(root, error);
}

}  // namespace
