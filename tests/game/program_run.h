#pragma once
// The game program itself in a child process, started as a player starts it (PROGRAM_RUN),
// and an X server in memory for the tests that need a real display (VIRTUAL_DISPLAY).
#include <fcntl.h>
#include <grp.h>
#include <linux/capability.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <thread>

#include "save_folder_fixture.h"

namespace test_support {

// What the build made: the program, and the Resources beside it.
inline std::filesystem::path built(const char* name) { return std::filesystem::path(PINDRAKE_BUILD_DIR) / name; }

// Root reads and writes any file whatever its mode, and a program it starts gets the rights
// back (obeyFilePermissions holds only until exec). Called in a child before it starts a
// program: the two rights leave the bounding and inheritable sets as well, so the program
// finds a file of mode 000 as closed as a player does. True when that holds (always for a
// user other than root).
inline bool obeyFilePermissionsAcrossExec() {
  if (::geteuid() != 0) return true;
  for (const int capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH})
    if (::prctl(PR_CAPBSET_DROP, capability, 0, 0, 0) != 0) return false;
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct data[2]{};
  if (::syscall(SYS_capget, &header, data) != 0) return false;
  for (const int capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH})
    data[capability / 32].inheritable &= ~(1u << (capability % 32));
  return ::syscall(SYS_capset, &header, data) == 0 && obeyFilePermissions();
}

// The program in a child process, in the given folder, with the given environment changes (an
// empty value removes the variable), its output in a file. With `asPlayer`, root's right to
// read and write any file is given up first; with a `user` other than root, the program runs
// as that user, in the group of the same number.
class PROGRAM_RUN {
 public:
  using Clock = std::chrono::steady_clock;

  PROGRAM_RUN(const std::filesystem::path& folder, const std::filesystem::path& log,
              const std::map<std::string, std::string>& environment, bool asPlayer = false, uid_t user = 0)
      : _log(log) {
    const std::string program = programFor(user, log.parent_path());
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
    if (asPlayer && !obeyFilePermissionsAcrossExec()) std::_Exit(123);
    if (user != 0 && (::setgroups(0, nullptr) != 0 || ::setgid(user) != 0 || ::setuid(user) != 0)) std::_Exit(124);
    ::execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    std::_Exit(122);
  }
  ~PROGRAM_RUN() {
    if (_pid > 0 && !_ended) {
      ::kill(_pid, SIGKILL);
      ::waitpid(_pid, &_status, 0);
    }
  }
  PROGRAM_RUN(const PROGRAM_RUN&) = delete;
  PROGRAM_RUN& operator=(const PROGRAM_RUN&) = delete;

  pid_t pid() const { return _pid; }

  // The built program, or for another user a copy of it in `beside` (a folder of the test's
  // that the user may enter): the build may lie where only its owner can go, a checkout in a
  // folder of mode 0700 from mktemp, say.
  static std::string programFor(uid_t user, const std::filesystem::path& beside) {
    if (user == 0) return built("pindrake").string();
    const std::filesystem::path copy = beside / ("pindrake-as-" + std::to_string(user));
    std::error_code error;
    if (!std::filesystem::exists(copy, error)) std::filesystem::copy_file(built("pindrake"), copy, error);
    return copy.string();
  }
  std::string output() const { return readFile(_log); }
  bool logged(const std::string& line) const {
    return ("\n" + output() + "\n").find("\n" + line + "\n") != std::string::npos;
  }

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
  std::filesystem::path _log;
  pid_t _pid = -1;
  int _status = 0;
  bool _ended = false;
};

inline bool found(const char* program) {
  return ::system((std::string("command -v ") + program + " >/dev/null 2>&1").c_str()) == 0;
}

inline std::string commandOutput(const std::string& command) {
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
  using Clock = std::chrono::steady_clock;

  VIRTUAL_DISPLAY() {
    for (int attempt = 0; attempt < 20 && _name.empty(); ++attempt) {
      const std::string number = std::to_string(2000 + (::getpid() * 7 + attempt * 131) % 5000);
      if (std::filesystem::exists("/tmp/.X" + number + "-lock")) continue;
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
        if (std::filesystem::exists("/tmp/.X11-unix/X" + number)) {
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
  VIRTUAL_DISPLAY(const VIRTUAL_DISPLAY&) = delete;
  VIRTUAL_DISPLAY& operator=(const VIRTUAL_DISPLAY&) = delete;
  const std::string& name() const { return _name; }

 private:
  pid_t _pid = -1;
  std::string _name;
};

}  // namespace test_support
