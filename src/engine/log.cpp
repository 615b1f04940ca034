#include "engine/log.h"

#include <cstdio>
#include <mutex>

namespace QEL {
namespace {
std::mutex& logMutex() {
  static std::mutex m;
  return m;
}
std::function<void(const std::string&)>& logSink() {
  static std::function<void(const std::string&)> sink;
  return sink;
}
}  // namespace

void fLogWrite(const std::string& message) {
  // The sound thread logs too, so lines must not interleave.
  std::lock_guard<std::mutex> lock(logMutex());
  std::fputc('\n', stdout);
  std::fwrite(message.data(), 1, message.size(), stdout);
  std::fflush(stdout);
  if (logSink()) logSink()(message);
}

void fSetLogSink(std::function<void(const std::string&)> sink) {
  std::lock_guard<std::mutex> lock(logMutex());
  logSink() = std::move(sink);
}

}  // namespace QEL
