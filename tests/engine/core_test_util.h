#pragma once
// Helpers of the engine-core tests: a fresh temporary folder that is made the current
// directory for the test's lifetime, and a log catcher.
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/log.h"

namespace coretest {

class TempFolder {
 public:
  TempFolder() {
    char pattern[] = "/tmp/pindrake-core-XXXXXX";
    const char* made = mkdtemp(pattern);
    _path = made ? made : "/tmp";
    _previous = std::filesystem::current_path();
    std::filesystem::current_path(_path);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::current_path(_previous, ignored);
    std::filesystem::remove_all(_path, ignored);
  }
  const std::string& path() const { return _path; }

 private:
  std::string _path;
  std::filesystem::path _previous;
};

class LogCatcher {
 public:
  LogCatcher() {
    QEL::fSetLogSink([this](const std::string& line) { _lines.push_back(line); });
  }
  ~LogCatcher() { QEL::fSetLogSink({}); }
  const std::vector<std::string>& lines() const { return _lines; }
  bool has(const std::string& line) const { return std::find(_lines.begin(), _lines.end(), line) != _lines.end(); }
  // Position of the first line equal to the text, -1 when absent.
  int indexOf(const std::string& line) const {
    auto it = std::find(_lines.begin(), _lines.end(), line);
    return it == _lines.end() ? -1 : static_cast<int>(it - _lines.begin());
  }
  void clear() { _lines.clear(); }

 private:
  std::vector<std::string> _lines;
};

}  // namespace coretest
