// The game program started and closed again and again, as a player (or the session ending)
// closes it: with a mixer on the silent driver, headless, closed at a different moment each
// time. Every run must end with exit status 0, never in a signal or an abort, having released
// its components.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "save_folder_fixture.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

const fs::path kProgram = fs::path(PINDRAKE_BUILD_DIR) / "pindrake";
const fs::path kGeneratedResources = fs::path(PINDRAKE_BUILD_DIR) / "Resources";

struct RUN {
  pid_t pid = -1;
  fs::path log;
  Clock::time_point closeAt{};
  bool closed = false;
  int status = 0;
  bool ended = false;
};

pid_t startGame(const fs::path& start, const fs::path& documents, const fs::path& log) {
  const pid_t pid = ::fork();
  if (pid != 0) return pid;
  // The child becomes the game, its log going to a file.
  if (::chdir(start.c_str()) != 0) std::_Exit(120);
  ::setenv("SDL_VIDEODRIVER", "offscreen", 1);
  ::setenv("ALSOFT_DRIVERS", "null", 1);
  ::setenv("LP_NUM_THREADS", "1", 1);  // many games at once: one rendering thread each
  ::setenv("XDG_DOCUMENTS_DIR", documents.c_str(), 1);
  const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (out < 0 || ::dup2(out, STDOUT_FILENO) < 0 || ::dup2(out, STDERR_FILENO) < 0) std::_Exit(121);
  ::execl(kProgram.c_str(), kProgram.c_str(), static_cast<char*>(nullptr));
  std::_Exit(122);
}

bool hasLine(const fs::path& log, const std::string& line) {
  const std::string text = "\n" + test_support::readFile(log) + "\n";
  return text.find("\n" + line + "\n") != std::string::npos;
}

std::string describe(int status) {
  if (WIFSIGNALED(status)) return "ended by signal " + std::to_string(WTERMSIG(status));
  if (WIFEXITED(status)) return "exit status " + std::to_string(WEXITSTATUS(status));
  return "status " + std::to_string(status);
}

TEST(Shutdown, FiftyStartsAndClosesAllEndWellWithTheirComponentsReleased) {
  if (!fs::exists(kProgram) || !fs::exists(kGeneratedResources / "texts" / "texts.xml"))
    GTEST_SKIP() << "the game and its generated Resources are not built";
  const fs::path root = test_support::makeTemporaryFolder("pindrake_shutdown_");
  const fs::path start = root / "start";
  test_support::copyGeneratedResources(start / "Resources");

  constexpr int kRuns = 50;
  constexpr int kAtOnce = 10;
  constexpr auto kPatience = std::chrono::seconds(60);
  std::mt19937 random(11);
  std::uniform_int_distribution<int> closeAfterMs(0, 300);  // from the first pass of the loop
  int runsDone = 0;
  for (int batch = 0; batch < kRuns / kAtOnce; ++batch) {
    std::vector<RUN> runs(kAtOnce);
    for (int i = 0; i < kAtOnce; ++i) {
      const int number = batch * kAtOnce + i;
      runs[i].log = root / ("run" + std::to_string(number) + ".log");
      runs[i].pid = startGame(start, root / ("Documents" + std::to_string(number)), runs[i].log);
      ASSERT_GT(runs[i].pid, 0);
    }
    const Clock::time_point giveUp = Clock::now() + kPatience;
    int running = kAtOnce;
    while (running > 0 && Clock::now() < giveUp) {
      for (RUN& run : runs) {
        if (run.ended) continue;
        if (!run.closed) {
          if (run.closeAt == Clock::time_point{} && hasLine(run.log, "Start"))
            run.closeAt = Clock::now() + std::chrono::milliseconds(closeAfterMs(random));
          if (run.closeAt != Clock::time_point{} && Clock::now() >= run.closeAt) {
            ::kill(run.pid, SIGTERM);  // what the desktop sends when the session ends
            run.closed = true;
          }
        }
        if (::waitpid(run.pid, &run.status, WNOHANG) == run.pid) {
          run.ended = true;
          --running;
        }
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    for (RUN& run : runs) {
      if (!run.ended) {
        ::kill(run.pid, SIGKILL);
        ::waitpid(run.pid, &run.status, 0);
        ADD_FAILURE() << run.log.filename() << " did not end within " << kPatience.count() << " s";
        continue;
      }
      ++runsDone;
      EXPECT_TRUE(run.closed) << run.log.filename() << " ended before it was closed";
      EXPECT_TRUE(WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0)
          << run.log.filename() << ": " << describe(run.status) << "\n"
          << test_support::readFile(run.log);
      EXPECT_TRUE(hasLine(run.log, "AL closed")) << run.log.filename();
      EXPECT_TRUE(hasLine(run.log, "Components released")) << run.log.filename();
    }
  }
  EXPECT_EQ(runsDone, kRuns);
  std::error_code error;
  fs::remove_all(root, error);
}

}  // namespace
