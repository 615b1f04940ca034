#pragma once
// A named pipe made in a file's place, whose writer turns up only long after any reader
// should have given up on it. A reader that waits for a writer is let go then, with the
// pipe's bytes, and the pipe remembers that it held one: a reader that refuses the pipe never
// meets the writer, which leaves when the pipe object goes. Shared by the test programs.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <csignal>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>

namespace test_support {

class LATE_PIPE_WRITER {
 public:
  // Far beyond the time any reader here takes: only one that waits for a writer meets it.
  static constexpr std::chrono::seconds kPatience{60};

  LATE_PIPE_WRITER(const std::filesystem::path& path, std::string bytes)
      : _path(path), _bytes(std::move(bytes)) {
    std::error_code error;
    std::filesystem::remove(path, error);
    _made = ::mkfifo(path.c_str(), 0644) == 0;
    _writer = std::thread([this] { writeWhenLate(); });
  }
  ~LATE_PIPE_WRITER() {
    {
      std::lock_guard<std::mutex> lock(_mutex);
      _ending = true;
    }
    _wake.notify_all();
    _writer.join();
  }
  LATE_PIPE_WRITER(const LATE_PIPE_WRITER&) = delete;
  LATE_PIPE_WRITER& operator=(const LATE_PIPE_WRITER&) = delete;

  bool made() const { return _made; }
  // Whether some reader sat waiting for the writer.
  bool heldAReader() {
    std::lock_guard<std::mutex> lock(_mutex);
    return _heldAReader;
  }

 private:
  void writeWhenLate() {
    // A reader that lets go while the bytes go in must not end the program.
    sigset_t pipeSignal;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeSignal, nullptr);
    std::unique_lock<std::mutex> lock(_mutex);
    if (_wake.wait_for(lock, kPatience, [this] { return _ending; })) return;
    // From now on every reader that waits is let go, however many times it opens the pipe.
    while (!_wake.wait_for(lock, std::chrono::milliseconds(50), [this] { return _ending; })) {
      const int descriptor = ::open(_path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
      if (descriptor < 0) continue;  // nobody reading
      _heldAReader = true;
      ::fcntl(descriptor, F_SETFL, 0);
      (void)!::write(descriptor, _bytes.data(), _bytes.size());
      ::close(descriptor);
    }
  }

  std::filesystem::path _path;
  std::string _bytes;
  bool _made = false;
  std::mutex _mutex;
  std::condition_variable _wake;
  bool _ending = false;
  bool _heldAReader = false;
  std::thread _writer;
};

}  // namespace test_support
