#pragma once
// A fresh documents folder for every test that touches saves: XDG_DOCUMENTS_DIR points into
// a temporary folder, gBasePath and the save folders are made there, and the game state the
// save code reads is reset. Log lines are collected for the tests to inspect.
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/file_system.h"
#include "engine/globals.h"
#include "engine/log.h"
#include "game/game_globals.h"
#include "game/save_files.h"

namespace test_support {

inline std::filesystem::path makeTemporaryFolder(const char* prefix) {
  std::string pattern = (std::filesystem::temp_directory_path() / (std::string(prefix) + "XXXXXX")).string();
  const char* made = ::mkdtemp(pattern.data());
  EXPECT_NE(made, nullptr);
  return made != nullptr ? std::filesystem::path(made) : std::filesystem::temp_directory_path();
}

// The game started by a test works in a copy of the build's generated Resources: it may save
// levels into it, and a scenario may change or remove what it likes there, while the build's
// own stay as generated for every other test (CTest checks them after the last one).
inline void copyGeneratedResources(const std::filesystem::path& resources) {
  std::filesystem::create_directories(resources.parent_path());
  std::filesystem::copy(std::filesystem::path(PINDRAKE_BUILD_DIR) / "Resources", resources,
                        std::filesystem::copy_options::recursive);
}

// A start folder for the game: a copy of the generated Resources in it.
inline void makeStartFolder(const std::filesystem::path& start) {
  copyGeneratedResources(start / "Resources");
}

// For tests that run the game in a death-test child process. The parent makes a start folder
// with a copy of the generated Resources and names it in the environment variable; the
// child, running the same test body again, finds it there.
inline std::filesystem::path enterChildStartFolder(const char* variable, const char* prefix, bool& isParent) {
  const char* inherited = std::getenv(variable);
  isParent = inherited == nullptr;
  if (!isParent) return inherited;
  const std::filesystem::path root = makeTemporaryFolder(prefix);
  ::setenv(variable, root.c_str(), 1);
  copyGeneratedResources(root / "start" / "Resources");
  return root;
}

inline void leaveChildStartFolder(const char* variable, const std::filesystem::path& root, bool isParent) {
  if (!isParent) return;
  ::unsetenv(variable);
  std::error_code error;
  std::filesystem::remove_all(root, error);
}

// The engine's file system makes a Resources folder in the start-up directory and moves
// there; when no test has created it yet, it starts in a temporary folder of its own.
inline void ensureFileSystem() {
  if (QEL::qcFILE_SYSTEM_INSTANCE != nullptr) return;
  // Removed again when the test program ends.
  struct START_FOLDER {
    std::filesystem::path path = makeTemporaryFolder("pindrake_start_");
    ~START_FOLDER() {
      std::error_code error;
      std::filesystem::remove_all(path, error);
    }
  };
  static const START_FOLDER start;
  std::error_code error;
  std::filesystem::current_path(start.path, error);
  QEL::QC_FILE_SYSTEM::fGet();
}

inline std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void writeFile(const std::filesystem::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

// While it lives, writing a file beyond `bytes` fails as on a full disk.
class FULL_DISK {
 public:
  explicit FULL_DISK(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &_saved);
    _previousHandler = std::signal(SIGXFSZ, SIG_IGN);  // the write fails instead of the process
    rlimit limit = _saved;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FULL_DISK() {
    ::setrlimit(RLIMIT_FSIZE, &_saved);
    std::signal(SIGXFSZ, _previousHandler);
  }
  FULL_DISK(const FULL_DISK&) = delete;
  FULL_DISK& operator=(const FULL_DISK&) = delete;

 private:
  rlimit _saved{};
  void (*_previousHandler)(int) = nullptr;
};

// Root reads and writes any file whatever its mode. The process that calls this gives up the
// two capabilities that let it (for good: run it in a child), so a file of mode 000 is as
// closed to it as to a player whose saves another user made. True when that holds.
inline bool obeyFilePermissions() {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct data[2]{};
  if (::syscall(SYS_capget, &header, data) != 0) return false;
  for (const int capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH}) {
    data[capability / 32].effective &= ~(1u << (capability % 32));
    data[capability / 32].permitted &= ~(1u << (capability % 32));
  }
  return ::syscall(SYS_capset, &header, data) == 0;
}

// The names of the entries of a folder, sorted.
inline std::vector<std::string> folderEntries(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

// True when a temporary of the atomic save (the file's name followed by ".tmp" and anything)
// lies beside the file.
inline bool hasTemporaryBeside(const std::filesystem::path& file) {
  const std::string prefix = file.filename().string() + ".tmp";
  std::error_code error;
  for (std::filesystem::directory_iterator entry(file.parent_path(), error), end; !error && entry != end;
       entry.increment(error))
    if (entry->path().filename().string().rfind(prefix, 0) == 0) return true;
  return false;
}

}  // namespace test_support

class SaveFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test_support::ensureFileSystem();
    _root = test_support::makeTemporaryFolder("pindrake_saves_");
    ::setenv("XDG_DOCUMENTS_DIR", (_root / "Documents").c_str(), 1);
    const char* documents = QEL::QC_FILE_SYSTEM::fGetDocumentsFolder();
    ASSERT_NE(documents, nullptr);
    gBasePath = documents;
    makeSaveFolders();

    gIsAllLevelsView = 0;
    gNumberOfPlayers = 0;
    gCurrentPlayer = 0;
    gGameMode = 0;
    gSessionNumber = 0;
    for (PLAYER_RECORD& player : gPlayers) player = PLAYER_RECORD{};
    for (int player = 0; player < kMaxPlayers; ++player)
      for (int level = 0; level < kLevelCount; ++level) {
        gLevelResultsJunior[player][level] = LEVEL_RESULT{};
        gLevelResultsProfessional[player][level] = LEVEL_RESULT{};
      }
    gTexts.reset();
    QEL::fSetLogSink([this](const std::string& line) { _log.push_back(line); });
  }

  void TearDown() override {
    QEL::fSetLogSink({});
    std::error_code error;
    std::filesystem::remove_all(_root, error);
    gBasePath.clear();
  }

  std::filesystem::path saves() const { return std::filesystem::path(gBasePath) / "Saves"; }
  std::filesystem::path statistics() const { return std::filesystem::path(gBasePath) / "Statistics"; }

  bool logged(const std::string& piece) const {
    for (const std::string& line : _log)
      if (line.find(piece) != std::string::npos) return true;
    return false;
  }

  std::filesystem::path _root;
  std::vector<std::string> _log;
};
