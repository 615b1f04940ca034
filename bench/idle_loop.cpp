// CPU use of the idle main loop: update rate 60, frame cap 60, nothing drawn, headless.
// Reports user + system CPU seconds per wall second over a few seconds of running, and the
// sound thread's own share of a core with nothing to stream and while a track streams.
#include <benchmark/benchmark.h>
#include <pthread.h>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "engine/callback.h"
#include "engine/game.h"
#include "engine/globals.h"
#include "engine/sound.h"
#include "engine/sound_thread.h"

namespace {

using Clock = std::chrono::steady_clock;

Clock::time_point gStopAt;

uint32_t stopWhenDue(QEL::QT_CALLBACK_ARG) {
  if (Clock::now() >= gStopAt) QEL::QC_GAME::fGetGame()->_settings._running = 0;
  return 0;
}

double cpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

QEL::QC_GAME* startedGame() {
  static QEL::QC_GAME* game = [] {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("ALSOFT_DRIVERS", "null", 0);
    // The file system makes Resources where the program starts: start somewhere disposable.
    char folder[] = "/tmp/pindrake-bench-XXXXXX";
    if (mkdtemp(folder) && chdir(folder) != 0) std::perror("chdir");
    QEL::QC_GAME* g = QEL::QC_GAME::fGetGame();
    QEL::qcGAME = g;
    QEL::QC_GAME::fInit(g, "Pindrake");
    g->_settings._updateRate = 60;
    QEL::qcON_UPDATE = QEL::QC_CALLBACK::fCreate(stopWhenDue, nullptr, 0);
    return g;
  }();
  return game;
}

void IdleMainLoop(benchmark::State& state) {
  QEL::QC_GAME* game = startedGame();
  const double seconds = static_cast<double>(state.range(0));
  double cpuPerWall = 0.0;
  for (auto _ : state) {
    const double cpuBefore = cpuSeconds();
    const auto wallBefore = Clock::now();
    gStopAt = wallBefore + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    game->fStart();
    const double wall = std::chrono::duration<double>(Clock::now() - wallBefore).count();
    cpuPerWall = (cpuSeconds() - cpuBefore) / wall;
  }
  state.counters["cpu_s_per_wall_s"] = cpuPerWall;
  state.counters["updates_per_s"] = game->_settings._updatesPerSecond;
  state.counters["frames_per_s"] = game->_settings._framesPerSecond;
  std::printf("\nidle main loop at update rate 60: %.4f CPU s per wall s (%.2f %% of one core), %d updates/s, %d frames/s\n",
              cpuPerWall, cpuPerWall * 100.0, game->_settings._updatesPerSecond, game->_settings._framesPerSecond);
}

BENCHMARK(IdleMainLoop)->Arg(3)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

// ---- the sound thread -------------------------------------------------------------------

// CPU seconds of one thread (our sound thread alone, not OpenAL's own mixing thread).
double threadCpuSeconds(std::thread::native_handle_type thread) {
  clockid_t clock = 0;
  timespec now{};
  if (pthread_getcpuclockid(thread, &clock) != 0 || clock_gettime(clock, &now) != 0) return 0.0;
  return static_cast<double>(now.tv_sec) + now.tv_nsec / 1e9;
}

// The generated music beside this program's build: <build>/Resources/sounds/track1.ogg.
std::string generatedTrack() {
  char exe[4096] = {};
  const ssize_t length = readlink("/proc/self/exe", exe, sizeof exe - 1);
  std::string folder = length > 0 ? std::string(exe, static_cast<size_t>(length)) : std::string();
  folder = folder.substr(0, folder.find_last_of('/'));  // bench/
  folder = folder.substr(0, folder.find_last_of('/'));  // the build folder
  return folder + "/Resources/sounds/track1.ogg";
}

// The sound thread's share of a core over `seconds`, with or without a track streaming.
double soundThreadShare(double seconds, bool streaming, int64_t& passes) {
  QEL::QC_MIXER* mixer = QEL::qcMIXER;
  std::vector<char> bytes;
  QEL::QC_SOUND* track = nullptr;
  if (streaming) {
    std::ifstream in(generatedTrack(), std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    track = QEL::QC_MIXER::fCreateSound(mixer, bytes.data(), static_cast<uint32_t>(bytes.size()), 2, true);
    if (track == nullptr) {
      std::printf("\nno track to stream (%s): build the Resources first\n", generatedTrack().c_str());
      return -1.0;
    }
  }
  double share = 0.0;
  {
    QEL::QC_SOUND_THREAD thread(mixer);
    if (track != nullptr) QEL::QC_SOUND::fPlayFromStart(track);
    const double before = threadCpuSeconds(thread.fGetHandle());
    const auto wallBefore = Clock::now();
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    const double wall = std::chrono::duration<double>(Clock::now() - wallBefore).count();
    share = (threadCpuSeconds(thread.fGetHandle()) - before) / wall;
    passes = thread.fGetPasses();
    if (track != nullptr && !QEL::QC_SOUND::fIsPlaying(track)) std::printf("\n(the track ended before the measure did)\n");
  }
  if (track != nullptr) {
    QEL::QC_SOUND::fStop(track);
    mixer->fRemoveSound(track);
    delete track;
  }
  return share;
}

// With nothing to stream the thread sleeps until a streamed sound starts; while a track
// streams it makes a pass every few milliseconds. Goals: under 0.5 % and under 2 % of a core.
void SoundThread(benchmark::State& state) {
  // Measured on a thread of its own: the main loop's one rests for good.
  startedGame()->_soundThread.reset();
  const bool streaming = state.range(1) != 0;
  double share = 0.0;
  int64_t passes = 0;
  for (auto _ : state) share = soundThreadShare(static_cast<double>(state.range(0)), streaming, passes);
  state.counters["core_share"] = share;
  std::printf("\nsound thread %s: %.3f %% of one core, %lld passes in %lld s\n",
              streaming ? "while a track streams" : "with nothing to stream", share * 100.0,
              static_cast<long long>(passes), static_cast<long long>(state.range(0)));
}

BENCHMARK(SoundThread)->Args({5, 0})->Args({5, 1})->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
