// Start-up figures of the game, run the way the game runs (bench/startup.sh prepares the
// folder and the headless environment): the time from process start to the first drawn
// splash frame, to the main menu's creation behind the splash and to the first frame that
// shows the main menu, and the resident memory at that point; then the way on to a level
// (the level packs, the score sheet, the pack's first frame, each shown for half a second)
// and the resident memory once the level has been dealt. Prints figures, never fails.
//
// Process start is the time the script took just before starting the program
// (PINDRAKE_BENCH_T0, nanoseconds since the epoch); without it, the start of main.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "engine/callback.h"
#include "engine/game.h"
#include "engine/globals.h"
#include "engine/log.h"
#include "engine/render.h"
#include "game/game_entry.h"
#include "game/game_globals.h"
#include "game/scenes/frames/frames_scene.h"
#include "game/scenes/level/level_scene.h"
#include "game/scenes/level_packs/level_packs_scene.h"
#include "platform/window.h"

namespace {

using CLOCK = std::chrono::system_clock;

double gStartMs = 0.0;
double gFirstSplashFrameMs = -1.0;
double gMenuCreatedMs = -1.0;
double gMenuShownMs = -1.0;
long gMenuResidentKb = -1;
long gMenuAnonymousKb = -1;  // of it: the program's own memory (heap, driver buffers)
long gMenuFileKb = -1;       // of it: pages of the program and its libraries
long gEngineResidentKb = -1;
long gSplashResidentKb = -1;
double gMenuTextureMb = -1.0;
size_t gMenuTextures = 0;
int gSplashFrames = 0;
bool gSplashFramePending = false;
bool gMenuFramePending = false;
int gFramesAfterMenu = 0;
long gLevelResidentKb = -1;
double gLevelTextureMb = -1.0;
size_t gLevelTextures = 0;

long residentKilobytes();
long statusKilobytes(const char* field);

// What the pictures alive take as textures (four bytes a texel, one for one-channel ones).
double textureMegabytes(size_t& count) {
  double bytes = 0.0;
  count = 0;
  if (QEL::qcRENDER == nullptr) return 0.0;
  for (const auto& [device, texture] : QEL::qcRENDER->_liveTextures) {
    if (device == nullptr) continue;
    bytes += (device->format() == platform::kFormatA8 ? 1.0 : 4.0) * device->width() * device->height();
    ++count;
  }
  return bytes / (1024.0 * 1024.0);
}

// Half a second (at the loop's 60 updates a second) on each screen on the way to a level.
constexpr int kFramesPerScreen = 30;
constexpr int kFramesOnMenu = 90;
constexpr int kFramesInLevel = 180;

// After the main menu: the packs, the score sheet of the first pack and its first frame, as
// the player's clicks would lead there; the level's memory once it is dealt.
void walkToALevel(int framesAfterMenu) {
  // The main menu at rest, its items flown in (pictures are read when they first show).
  if (framesAfterMenu == kFramesOnMenu) {
    gMenuResidentKb = residentKilobytes();
    gMenuAnonymousKb = statusKilobytes("RssAnon:");
    gMenuFileKb = statusKilobytes("RssFile:");
    gMenuTextureMb = textureMegabytes(gMenuTextures);
  }
  if (framesAfterMenu < kFramesOnMenu) return;
  framesAfterMenu -= kFramesOnMenu - kFramesPerScreen;
  const int step = framesAfterMenu / kFramesPerScreen;
  if (framesAfterMenu % kFramesPerScreen == 0 && step >= 1 && step <= 3) {
    gCurrentPack = 0;
    gCurrentLevel = 0;
    BASE_SCENE* next = step == 1 ? static_cast<BASE_SCENE*>(new SCENE_CARD_GAME_LEVELPACKS())
                       : step == 2 ? static_cast<BASE_SCENE*>(new SCENE_CARD_GAME_FRAMES())
                                   : static_cast<BASE_SCENE*>(new SCENE_CARD_GAME_LEVEL());
    if (step == 3) gSceneKind = 4;
    changeScene(gCurrentScene, next);
  }
  if (framesAfterMenu == 4 * kFramesPerScreen + kFramesInLevel) {
    gLevelResidentKb = residentKilobytes();
    gLevelTextureMb = textureMegabytes(gLevelTextures);
    platform::Message close;
    close.id = platform::kMsgClose;
    platform::sendMessage(close);
  }
}

double nowMs() {
  return std::chrono::duration<double, std::milli>(CLOCK::now().time_since_epoch()).count();
}

long statusKilobytes(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  const size_t length = std::char_traits<char>::length(field);
  while (std::getline(status, line))
    if (line.rfind(field, 0) == 0) return std::strtol(line.c_str() + length, nullptr, 10);
  return -1;
}

long residentKilobytes() { return statusKilobytes("VmRSS:"); }

int gUpdates = 0;
float gLongestFrameTime = 0.0f;

uint32_t watchedUpdate(QEL::QT_CALLBACK_ARG argument) {
  ++gUpdates;
  if (QEL::qcFRAME_DELTA > gLongestFrameTime) gLongestFrameTime = QEL::qcFRAME_DELTA;
  return onGameUpdate(argument);
}

uint32_t watchedDraw(QEL::QT_CALLBACK_ARG argument) {
  onGameDraw(argument);
  if (gIsSplash && gFirstSplashFrameMs < 0.0) gSplashFramePending = true;
  if (gIsSplash) ++gSplashFrames;
  if (!gIsSplash && gCurrentScene != nullptr && gMenuShownMs < 0.0) gMenuFramePending = true;
  return 0;
}

// Every update step starts by reading the clock: the frame drawn in the pass before has
// been presented by then.
uint32_t observingTick() {
  const double now = nowMs();
  if (QEL::qcON_DRAW != nullptr && QEL::qcON_DRAW->_function == onGameDraw) QEL::qcON_DRAW->_function = watchedDraw;
  if (QEL::qcON_UPDATE != nullptr && QEL::qcON_UPDATE->_function == onGameUpdate)
    QEL::qcON_UPDATE->_function = watchedUpdate;
  // The global timer is made right after the window and the renderer, before the game's
  // start-up: what the engine alone holds.
  if (gEngineResidentKb < 0 && QEL::qcRENDER != nullptr && gSplash == nullptr) gEngineResidentKb = residentKilobytes();
  if (gSplashFramePending) {
    gSplashFramePending = false;
    gFirstSplashFrameMs = now - gStartMs;
    gSplashResidentKb = residentKilobytes();
  }
  if (gMenuCreatedMs < 0.0 && gCurrentScene != nullptr) gMenuCreatedMs = now - gStartMs;
  if (gMenuFramePending) {
    gMenuFramePending = false;
    gMenuShownMs = now - gStartMs;
  }
  // A few frames of the menu, then on to a level; the window is closed there.
  if (gMenuShownMs >= 0.0) walkToALevel(++gFramesAfterMenu);
  // Whatever happens, the run ends.
  if (now - gStartMs > 60000.0 && QEL::qcGAME != nullptr) QEL::qcGAME->_settings._running = 0;
  return static_cast<uint32_t>(now - gStartMs) + 1000u;
}

}  // namespace

int main() {
  const double mainMs = nowMs();
  const char* t0 = std::getenv("PINDRAKE_BENCH_T0");
  gStartMs = t0 != nullptr ? std::strtod(t0, nullptr) / 1.0e6 : mainMs;
  platform::setTickSource(observingTick);

  EntryPointer(0);

  // The game logs on standard output; the figures go to standard error.
  std::fprintf(stderr, "process start to main:               %8.1f ms\n", mainMs - gStartMs);
  std::fprintf(stderr, "process start to first splash frame: %8.1f ms\n", gFirstSplashFrameMs);
  std::fprintf(stderr, "process start to main menu created:  %8.1f ms\n", gMenuCreatedMs);
  std::fprintf(stderr, "process start to main menu shown:    %8.1f ms\n", gMenuShownMs);
  // The splash runs on time: with its three logos about 13.5 s, without them about 5.5 s.
  if (gMenuShownMs > gFirstSplashFrameMs && gSplashFrames > 0)
    std::fprintf(stderr, "splash frames drawn:                 %8d (%.1f ms each)\n", gSplashFrames,
                 (gMenuShownMs - gFirstSplashFrameMs) / gSplashFrames);
  std::fprintf(stderr, "resident memory, engine started:     %8.1f MB\n", gEngineResidentKb / 1024.0);
  std::fprintf(stderr, "resident memory, first splash frame: %8.1f MB\n", gSplashResidentKb / 1024.0);
  std::fprintf(stderr, "resident memory at the main menu:    %8.1f MB\n", gMenuResidentKb / 1024.0);
  std::fprintf(stderr, "  of which anonymous / files:        %8.1f MB / %.1f MB\n", gMenuAnonymousKb / 1024.0,
               gMenuFileKb / 1024.0);
  std::fprintf(stderr, "textures at the main menu:           %8.1f MB in %zu textures\n", gMenuTextureMb, gMenuTextures);
  std::fprintf(stderr, "resident memory in a level:          %8.1f MB\n", gLevelResidentKb / 1024.0);
  std::fprintf(stderr, "textures in the level:               %8.1f MB in %zu textures\n", gLevelTextureMb, gLevelTextures);
  std::fprintf(stderr, "update steps:                        %8d (longest frame time %.0f ms)\n", gUpdates,
               gLongestFrameTime * 1000.0f);
  std::fflush(stdout);
  std::fflush(stderr);
  // The sound thread never ends; leave without running the exit handlers under it.
  std::_Exit(0);
}
