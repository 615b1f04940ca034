// Resource catalogue and sound thread figures:
// - building the main repository of a Resources folder of 5,000 files;
// - subscribing 20 folder packs (100 files each);
// - the CPU share of a sound thread that passes every millisecond while one streamed track
//   plays (on openal-soft's null backend unless ALSOFT_DRIVERS says otherwise).
#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

#include "../tests/engine/media_maker.h"
#include "engine/file_system.h"
#include "engine/globals.h"
#include "engine/resource_loader.h"
#include "engine/sound.h"

namespace {

namespace fs = std::filesystem;

// A disposable start-up folder with its Resources tree, and the file system over it.
struct Tree {
  fs::path root;
  std::unique_ptr<QEL::QC_FILE_SYSTEM> fileSystem;
};

Tree& tree() {
  static Tree t = [] {
    Tree made;
    char folder[] = "/tmp/pindrake-bench-res-XXXXXX";
    if (!mkdtemp(folder)) std::perror("mkdtemp");
    made.root = folder;
    const fs::path resources = made.root / "Resources";
    fs::create_directories(resources);
    for (int i = 0; i < 5000; ++i) {
      std::ofstream(resources / ("file_" + std::to_string(i) + ".png")) << "x";
    }
    for (int p = 0; p < 20; ++p) {
      const fs::path pack = resources / "packs" / ("pack_" + std::to_string(p));
      fs::create_directories(pack);
      for (int i = 0; i < 100; ++i) std::ofstream(pack / ("item_" + std::to_string(i) + ".png")) << "y";
    }
    if (chdir(made.root.c_str()) != 0) std::perror("chdir");
    made.fileSystem = std::make_unique<QEL::QC_FILE_SYSTEM>();
    std::atexit([] {
      std::error_code ignored;
      fs::remove_all(tree().root, ignored);
    });
    return made;
  }();
  return t;
}

void MainRepositoryOf5000Files(benchmark::State& state) {
  tree();
  for (auto _ : state) {
    QEL::QC_RESOURCE_LOADER loader;
    benchmark::DoNotOptimize(loader.fSubscribePack("", nullptr));
  }
}
BENCHMARK(MainRepositoryOf5000Files)->Unit(benchmark::kMillisecond);

void Subscribe20Packs(benchmark::State& state) {
  tree();
  for (auto _ : state) {
    QEL::QC_RESOURCE_LOADER loader;
    for (int p = 0; p < 20; ++p) {
      benchmark::DoNotOptimize(loader.fSubscribePack(("packs/pack_" + std::to_string(p)).c_str(), nullptr));
    }
  }
}
BENCHMARK(Subscribe20Packs)->Unit(benchmark::kMillisecond);

double threadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + t.tv_nsec / 1e9;
}

// The encoder's set-up call, found at run time so this program needs no encoder library
// at link time.
using QT_ENCODE_INIT = int (*)(vorbis_info*, long, long, float);

// Runs the sound thread for the given seconds; its CPU share in percent and its passes.
void runSoundThread(QEL::QC_MIXER* mixer, double seconds, double& share, long& passes) {
  std::atomic<bool> stop{false};
  std::atomic<double> cpu{0.0};
  std::atomic<long> count{0};
  const auto wallBefore = std::chrono::steady_clock::now();
  // The engine's sound thread: a pass under the lock, then a millisecond's rest.
  std::thread thread([&] {
    const double before = threadCpuSeconds();
    while (!stop) {
      QEL::QC_MIXER::fUpdate(mixer);
      ++count;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    cpu = threadCpuSeconds() - before;
  });
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
  stop = true;
  thread.join();
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
  share = 100.0 * cpu / wall;
  passes = count;
}

// idle: the track is listed but stopped, which gives the cost of the passes themselves.
void soundThread(benchmark::State& state, bool playing) {
  setenv("ALSOFT_DRIVERS", "null", 0);
  void* encoder = dlopen("libvorbisenc.so.2", RTLD_NOW);
  auto init = encoder ? reinterpret_cast<QT_ENCODE_INIT>(dlsym(encoder, "vorbis_encode_init_vbr")) : nullptr;
  if (!init) {
    state.SkipWithError("libvorbisenc.so.2 not found");
    return;
  }
  const double seconds = static_cast<double>(state.range(0));
  auto track = media_maker::makeOgg(2, 44100, static_cast<long>(44100 * (seconds + 2)), 440.0f, 0.5f, init);
  QEL::QC_MIXER mixer;
  mixer.fInit();
  QEL::QC_SOUND* sound =
      QEL::QC_MIXER::fCreateSound(&mixer, track.data(), static_cast<uint32_t>(track.size()), 2, true);
  if (!sound) {
    state.SkipWithError("track did not open");
    return;
  }
  double share = 0.0;
  long passes = 0;
  bool playedThrough = true;
  for (auto _ : state) {
    if (playing) QEL::QC_SOUND::fPlayFromStart(sound);
    runSoundThread(&mixer, seconds, share, passes);
    playedThrough = !playing || QEL::QC_SOUND::fIsPlaying(sound);
    QEL::QC_SOUND::fStop(sound);
  }
  state.counters["cpu_share_percent"] = share;
  state.counters["passes_per_second"] = static_cast<double>(passes) / seconds;
  if (!playedThrough) state.SkipWithError("the track stopped early");
}

void SoundThreadWithOneStreamedTrack(benchmark::State& state) { soundThread(state, true); }
void SoundThreadIdle(benchmark::State& state) { soundThread(state, false); }
BENCHMARK(SoundThreadWithOneStreamedTrack)->Arg(3)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);
BENCHMARK(SoundThreadIdle)->Arg(3)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
  // The engine logs to standard output (a line per subscribed pack); the figures go to the
  // original output and the log to nowhere.
  const int figures = dup(STDOUT_FILENO);
  if (!std::freopen("/dev/null", "w", stdout)) return 1;
  std::ofstream out("/dev/fd/" + std::to_string(figures));
  benchmark::Initialize(&argc, argv);
  benchmark::ConsoleReporter reporter(benchmark::ConsoleReporter::OO_Tabular);
  reporter.SetOutputStream(&out);
  reporter.SetErrorStream(&out);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
