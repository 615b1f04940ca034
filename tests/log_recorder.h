#pragma once
// Records every log message while it lives; shared by the test programs.
#include <string>
#include <vector>

#include "engine/log.h"

namespace test_support {

class LogRecorder {
 public:
  LogRecorder() {
    QEL::fSetLogSink([this](const std::string& message) { _lines.push_back(message); });
  }
  ~LogRecorder() { QEL::fSetLogSink(nullptr); }
  LogRecorder(const LogRecorder&) = delete;
  LogRecorder& operator=(const LogRecorder&) = delete;

  // Whether some message holds the text.
  bool contains(const std::string& text) const {
    for (const std::string& line : _lines) {
      if (line.find(text) != std::string::npos) return true;
    }
    return false;
  }
  const std::vector<std::string>& lines() const { return _lines; }

 private:
  std::vector<std::string> _lines;
};

}  // namespace test_support
