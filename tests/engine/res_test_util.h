#pragma once
// Helpers of the resource, sound and video tests: a log recorder, temporary folders and
// running one test of this program in a child process with its own environment.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include <zip.h>

#include <memory>

#include "engine/callback.h"
#include "engine/file_system.h"
#include "engine/globals.h"
#include "engine/log.h"
#include "engine/render.h"
#include "platform/window.h"

extern char** environ;

namespace res_test {

// Records every log message while it lives.
class LogCapture {
 public:
  LogCapture() {
    QEL::fSetLogSink([this](const std::string& line) {
      std::lock_guard<std::mutex> lock(_mutex);
      _lines.push_back(line);
    });
  }
  ~LogCapture() { QEL::fSetLogSink({}); }
  std::vector<std::string> lines() {
    std::lock_guard<std::mutex> lock(_mutex);
    return _lines;
  }
  bool has(const std::string& line) {
    auto all = lines();
    return std::find(all.begin(), all.end(), line) != all.end();
  }
  size_t count(const std::string& line) {
    auto all = lines();
    return static_cast<size_t>(std::count(all.begin(), all.end(), line));
  }
  void clear() {
    std::lock_guard<std::mutex> lock(_mutex);
    _lines.clear();
  }

 private:
  std::mutex _mutex;
  std::vector<std::string> _lines;
};

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
 public:
  explicit TempDir(const std::string& tag) {
    std::string pattern = (std::filesystem::temp_directory_path() / ("pindrake-" + tag + "-XXXXXX")).string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data())) _path = buffer.data();
  }
  ~TempDir() {
    std::error_code ignored;
    if (!_path.empty()) std::filesystem::remove_all(_path, ignored);
  }
  const std::filesystem::path& path() const { return _path; }

 private:
  std::filesystem::path _path;
};

inline void writeFile(const std::filesystem::path& path, const std::string& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline void writeFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  writeFile(path, std::string(bytes.begin(), bytes.end()));
}

// Runs this test program with a gtest filter and extra environment variables; returns the
// child's exit status (0 when its tests passed), -1 when it could not be started.
inline int runChild(const std::string& filter, const std::vector<std::string>& extraEnv) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    std::string entry(*e);
    bool replaced = false;
    for (const auto& extra : extraEnv) {
      if (entry.substr(0, entry.find('=') + 1) == extra.substr(0, extra.find('=') + 1)) replaced = true;
    }
    if (!replaced) env.push_back(entry);
  }
  env.insert(env.end(), extraEnv.begin(), extraEnv.end());
  std::vector<char*> envp;
  for (auto& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);

  std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
  std::string filterArg = "--gtest_filter=" + filter;
  char* argv[] = {self.data(), filterArg.data(), nullptr};
  pid_t pid = 0;
  if (posix_spawn(&pid, self.c_str(), nullptr, nullptr, argv, envp.data()) != 0) return -1;
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Writes a zip of (member name, bytes) pairs. With a password the `zip` tool encrypts the
// members with the traditional PKWARE scheme (the system's minizip writes no encryption);
// without one minizip writes the names exactly as given, "../" and "/" included.
inline bool writeZip(const std::filesystem::path& path,
                     const std::vector<std::pair<std::string, std::string>>& members, const char* password) {
  std::filesystem::create_directories(path.parent_path());
  if (password) {
    TempDir staging("zip");
    std::string command = "cd '" + staging.path().string() + "' && zip -q -P '" + password + "' '" +
                          path.string() + "'";
    for (const auto& [name, bytes] : members) {
      writeFile(staging.path() / name, bytes);
      command += " '" + name + "'";
    }
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
  }
  zipFile zip = zipOpen(path.c_str(), APPEND_STATUS_CREATE);
  if (!zip) return false;
  bool ok = true;
  for (const auto& [name, bytes] : members) {
    zip_fileinfo info{};
    ok = ok && zipOpenNewFileInZip(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 6) == ZIP_OK;
    ok = ok && zipWriteInFileInZip(zip, bytes.data(), static_cast<unsigned>(bytes.size())) == ZIP_OK;
    ok = ok && zipCloseFileInZip(zip) == ZIP_OK;
  }
  return zipClose(zip, nullptr) == ZIP_OK && ok;
}

// A Resources tree in a temporary folder with the file system started over it, as the game
// starts in its folder. Message boxes and resource-error callbacks are recorded.
class ResourceTree {
 public:
  ResourceTree() : _dir("res") {
    _previousCwd = std::filesystem::current_path();
    _previousFs = QEL::qcFILE_SYSTEM_INSTANCE;
    _previousOnError = QEL::qcON_RESOURCE_ERROR;
    std::filesystem::create_directories(resources());
    std::filesystem::current_path(_dir.path());
    _fs = std::make_unique<QEL::QC_FILE_SYSTEM>();
    sErrors = 0;
    _onError = std::make_unique<QEL::QC_CALLBACK>(
        [](QEL::QT_CALLBACK_ARG) -> uint32_t {
          ++sErrors;
          return 0;
        },
        "resource error", 0);
    QEL::qcON_RESOURCE_ERROR = _onError.get();
    platform::setMessageBoxHook([this](const std::string& text, const std::string& caption) {
      _boxes.emplace_back(text, caption);
    });
  }
  ~ResourceTree() {
    platform::setMessageBoxHook({});
    QEL::qcON_RESOURCE_ERROR = _previousOnError;
    _fs.reset();
    QEL::qcFILE_SYSTEM_INSTANCE = _previousFs;
    std::error_code ignored;
    std::filesystem::current_path(_previousCwd, ignored);
  }
  std::filesystem::path resources() const { return _dir.path() / "Resources"; }
  void file(const std::string& relative, const std::string& bytes) { writeFile(resources() / relative, bytes); }
  int errors() const { return sErrors; }
  const std::vector<std::pair<std::string, std::string>>& boxes() const { return _boxes; }
  bool hasBox(const std::string& text, const std::string& caption) const {
    return std::find(_boxes.begin(), _boxes.end(), std::make_pair(text, caption)) != _boxes.end();
  }
  QEL::QC_FILE_SYSTEM* fs() { return _fs.get(); }

 private:
  static inline int sErrors = 0;
  TempDir _dir;
  std::filesystem::path _previousCwd;
  QEL::QC_FILE_SYSTEM* _previousFs = nullptr;
  QEL::QC_CALLBACK* _previousOnError = nullptr;
  std::unique_ptr<QEL::QC_FILE_SYSTEM> _fs;
  std::unique_ptr<QEL::QC_CALLBACK> _onError;
  std::vector<std::pair<std::string, std::string>> _boxes;
};

// One renderer on a hidden offscreen window for the whole test program (the engine never
// destroys its renderer either); null when no device can be made here.
inline QEL::QC_RENDER* testRenderer() {
  static QEL::QC_RENDER* render = []() -> QEL::QC_RENDER* {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    platform::WindowHandle window = platform::createWindow("resource tests", 64, 64);
    if (!window) return nullptr;
    auto* made = new QEL::QC_RENDER();
    if (made->fInit(window, 0.1f, 0.0f) != 1) return nullptr;
    return made;
  }();
  if (render) QEL::qcRENDER_INSTANCE = render;
  return render;
}

}  // namespace res_test
