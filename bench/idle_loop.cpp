// CPU use of the idle main loop: update rate 60, frame cap 60, nothing drawn, headless.
// Reports user + system CPU seconds per wall second over a few seconds of running, and
// the same for the sound thread alone.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "engine/callback.h"
#include "engine/game.h"
#include "engine/globals.h"

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

// The sound thread's own cost with nothing to stream: it rests between passes instead of
// spinning. It runs on until the program ends, so it is measured last.
void SoundThreadAlone(benchmark::State& state) {
  const double seconds = static_cast<double>(state.range(0));
  double cpuPerWall = 0.0;
  for (auto _ : state) {
    std::thread(QEL::fSoundThread).detach();
    const double cpuBefore = cpuSeconds();
    const auto wallBefore = Clock::now();
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    const double wall = std::chrono::duration<double>(Clock::now() - wallBefore).count();
    cpuPerWall = (cpuSeconds() - cpuBefore) / wall;
  }
  state.counters["cpu_s_per_wall_s"] = cpuPerWall;
  std::printf("\nsound thread with nothing to stream: %.4f CPU s per wall s (%.2f %% of one core)\n", cpuPerWall,
              cpuPerWall * 100.0);
}

BENCHMARK(SoundThreadAlone)->Arg(3)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
