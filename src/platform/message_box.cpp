#include "platform/message_box.h"

#include <SDL.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>

#include "platform/window.h"

namespace platform {
namespace {

std::function<bool(const std::string&, const std::string&)> gShower;

// The signals by which a desktop or a terminal ends a program.
constexpr int kEndSignals[] = {SIGTERM, SIGINT};
constexpr int kEndSignalCount = sizeof kEndSignals / sizeof kEndSignals[0];
// How often the watch beside a box looks for an end signal.
constexpr auto kLookEvery = std::chrono::milliseconds(20);

volatile sig_atomic_t gEndSignal = 0;

void noteEndSignal(int signal) { gEndSignal = signal; }

bool showHere(const std::string& text, const std::string& caption) {
  if (gShower) return gShower(text, caption);
  return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, caption.c_str(), text.c_str(), nullptr) == 0;
}

// Once the program has been asked to close (a signal SDL has taken, the window's close),
// nobody is left to answer a box.
bool closeRequested() {
  if (SDL_WasInit(SDL_INIT_EVENTS) == 0) return false;
  SDL_PumpEvents();
  return SDL_HasEvent(SDL_QUIT) == SDL_TRUE;
}

// The processes this one has started, by their ids.
std::set<pid_t> childProcesses() {
  std::set<pid_t> children;
  const pid_t self = ::getpid();
  std::error_code error;
  for (std::filesystem::directory_iterator entry("/proc", error), end; !error && entry != end;
       entry.increment(error)) {
    const std::string name = entry->path().filename();
    if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::ifstream stat(entry->path() / "stat");
    std::string line;
    std::getline(stat, line);
    // "pid (command) state parent ...": the command may hold blanks and brackets.
    const size_t command = line.rfind(')');
    if (command == std::string::npos) continue;
    std::istringstream rest(line.substr(command + 1));
    char state = 0;
    long parent = 0;
    if (rest >> state >> parent && parent == self) children.insert(static_cast<pid_t>(std::stol(name)));
  }
  return children;
}

// The system shows its box from a process of its own (and tries another way when that
// fails) and waits for it, deaf to signals. Beside it, once an end signal has come, this
// takes away every process started since the box was asked for, until the box call returns.
void takeTheBoxAwayOnEnd(const std::set<pid_t>& before, const std::atomic<bool>& boxReturned) {
  while (!boxReturned) {
    if (gEndSignal != 0) {
      for (pid_t child : childProcesses())
        if (before.count(child) == 0) ::kill(child, SIGKILL);
    }
    std::this_thread::sleep_for(kLookEvery);
  }
}

}  // namespace

bool showBoxUntilAnswered(const std::string& text, const std::string& caption) {
  if ((!gShower && isHeadless()) || closeRequested()) return false;
  struct sigaction noting {};
  noting.sa_handler = noteEndSignal;
  noting.sa_flags = SA_RESTART;
  sigemptyset(&noting.sa_mask);
  struct sigaction previous[kEndSignalCount] {};
  gEndSignal = 0;
  for (int i = 0; i < kEndSignalCount; ++i) sigaction(kEndSignals[i], &noting, &previous[i]);

  std::atomic<bool> boxReturned{false};
  std::thread watch(takeTheBoxAwayOnEnd, childProcesses(), std::cref(boxReturned));
  const bool answered = showHere(text, caption);
  boxReturned = true;
  watch.join();

  for (int i = 0; i < kEndSignalCount; ++i) sigaction(kEndSignals[i], &previous[i], nullptr);
  // The signal now does what it would have done without the box.
  if (gEndSignal != 0) {
    ::raise(gEndSignal);
    return false;
  }
  return answered;
}

void setMessageBoxShower(std::function<bool(const std::string&, const std::string&)> shower) {
  gShower = std::move(shower);
}

}  // namespace platform
