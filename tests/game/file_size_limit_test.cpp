// The game program run under a file-size limit (ulimit -f) smaller than its players file: the
// saves it makes fail as on a full disk, and a close from the desktop still ends it well.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>

#include "game/game_globals.h"
#include "game/players.h"
#include "player_records.h"
#include "save_folder_fixture.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

const fs::path kProgram = fs::path(PINDRAKE_BUILD_DIR) / "pindrake";
const fs::path kGeneratedResources = fs::path(PINDRAKE_BUILD_DIR) / "Resources";

// Starts the game with every file it writes limited to `bytes`; its log comes through a pipe,
// which no such limit touches.
pid_t startLimitedGame(const fs::path& start, const fs::path& documents, rlim_t bytes, int& logPipe) {
  int ends[2];
  if (::pipe(ends) != 0) return -1;
  const pid_t pid = ::fork();
  if (pid != 0) {
    ::close(ends[1]);
    logPipe = ends[0];
    return pid;
  }
  ::close(ends[0]);
  if (::chdir(start.c_str()) != 0) std::_Exit(120);
  ::setenv("SDL_VIDEODRIVER", "offscreen", 1);
  ::setenv("ALSOFT_DRIVERS", "null", 1);
  ::setenv("MESA_SHADER_CACHE_DISABLE", "true", 1);
  ::setenv("XDG_DOCUMENTS_DIR", documents.c_str(), 1);
  if (::dup2(ends[1], STDOUT_FILENO) < 0 || ::dup2(ends[1], STDERR_FILENO) < 0) std::_Exit(121);
  const rlimit limit{bytes, bytes};
  if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) std::_Exit(122);
  ::execl(kProgram.c_str(), kProgram.c_str(), static_cast<char*>(nullptr));
  std::_Exit(123);
}

// Reads the log until the game ends it, sending SIGTERM (the desktop's close) once the main
// loop has started. False when the game had not ended after a minute.
bool closeOnceStarted(pid_t pid, int logPipe, std::string& log) {
  const Clock::time_point giveUp = Clock::now() + std::chrono::seconds(60);
  bool closed = false;
  while (Clock::now() < giveUp) {
    pollfd readable{logPipe, POLLIN, 0};
    if (::poll(&readable, 1, 100) > 0) {
      char chunk[4096];
      const ssize_t got = ::read(logPipe, chunk, sizeof chunk);
      if (got <= 0) return true;
      log.append(chunk, static_cast<size_t>(got));
    }
    if (!closed && log.find("\nStart\n") != std::string::npos) {
      ::kill(pid, SIGTERM);
      closed = true;
    }
  }
  return false;
}

class FileSizeLimit : public SaveFolderTest {};

TEST_F(FileSizeLimit, AClosingSaveBeyondTheLimitKeepsThePlayersFileAndTheGameEndsWell) {
  if (!fs::exists(kProgram) || !fs::exists(kGeneratedResources / "texts" / "texts.xml"))
    GTEST_SKIP() << "the game and its generated Resources are not built";
  for (int i = 0; i < 3; ++i) gPlayers[i] = test_support::samplePlayer(i);
  gNumberOfPlayers = 3;
  gCurrentPlayer = 1;
  savePlayers();
  const fs::path players = saves() / "players.xml";
  const std::string seeded = test_support::readFile(players);
  ASSERT_GT(seeded.size(), 1000u);
  const fs::path start = _root / "start";
  test_support::makeStartFolder(start);

  int logPipe = -1;
  const pid_t pid = startLimitedGame(start, _root / "Documents", seeded.size() / 2, logPipe);
  ASSERT_GT(pid, 0);
  std::string log;
  const bool ended = closeOnceStarted(pid, logPipe, log);
  if (!ended) ::kill(pid, SIGKILL);
  int status = 0;
  ::waitpid(pid, &status, 0);
  ::close(logPipe);

  ASSERT_TRUE(ended) << "the game did not end\n" << log;
  EXPECT_FALSE(WIFSIGNALED(status)) << "ended by signal " << WTERMSIG(status) << "\n" << log;
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << log;
  const std::string refusal =
      "File cannot be saved, the old one is kept: " + players.string() + " (writing failed: File too large)";
  EXPECT_NE(log.find(refusal), std::string::npos) << log;
  EXPECT_NE(log.find("Components released"), std::string::npos);
  EXPECT_EQ(test_support::readFile(players), seeded);
  EXPECT_FALSE(test_support::hasTemporaryBeside(players));
}

}  // namespace
