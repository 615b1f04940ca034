// How long the player waits when a click leads to another scene: the wall time from the
// click to the first drawn frame of the next scene, headless, run the way the game runs
// (engine, generated Resources, a saved player). The slides the menus play on the way are
// the game's own pacing, not waiting: each pass here is run at once with a 1/60 s time step,
// and the figures separate the passes of the slides from the pass that builds and draws the
// next scene. Prints figures on standard error (the game's log goes to standard output),
// never fails:  build/bench/bench_scene_changes >/dev/null
//
// A scene change is one row of kChanges: the click that leads on, what has to be on the
// screen before it, and the scene that should follow.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "engine/game.h"
#include "engine/globals.h"
#include "engine/input.h"
#include "engine/log.h"
#include "engine/render.h"
#include "game/game_entry.h"
#include "game/game_globals.h"
#include "game/scenes/base_scene.h"
#include "game/scenes/frames/frames_scene.h"
#include "game/scenes/level/level_scene.h"
#include "game/scenes/level_packs/level_packs_scene.h"
#include "game/scenes/main_menu/main_menu_scene.h"
#include "game/splash_screen.h"
#include "game/texts.h"

namespace {

using CLOCK = std::chrono::steady_clock;
using MENU = SCENE_CARD_GAME_MAINMENU;
using PACKS = SCENE_CARD_GAME_LEVELPACKS;
using FRAMES = SCENE_CARD_GAME_FRAMES;

constexpr int kUpdatesPerSecond = 60;
constexpr int kRuns = 7;
constexpr int kPassLimit = 1000;

double millisecondsSince(CLOCK::time_point start) {
  return std::chrono::duration<double, std::milli>(CLOCK::now() - start).count();
}

// One pass of the main loop as the game runs it, with a fixed time step.
void pass() {
  QEL::qcGAME->_settings._updatesPerSecond = kUpdatesPerSecond;
  QEL::qcFRAME_DELTA = 1.0f / kUpdatesPerSecond;
  onGameUpdate(0);
  QEL::qcINPUT->fEndFrame();
  if (QEL::qcRENDER != nullptr && QEL::qcRENDER->fBeginScene() == 1) {
    onGameDraw(0);
    QEL::qcRENDER->fEndScene();
  }
}

bool passUntil(const std::function<bool()>& condition) {
  for (int i = 0; i < kPassLimit && !condition(); ++i) pass();
  return condition();
}

// The pointer rests on the spot, then the left button goes down and comes up a pass later.
void pressAndRelease(float x, float y) {
  QEL::qcINPUT->fOnMouseMove(static_cast<int32_t>(x), static_cast<int32_t>(y));
  pass();
  pass();
  QEL::qcINPUT->fOnKeyDown(1);
  pass();
  QEL::qcINPUT->fOnKeyUp(1);
}

MENU* menu() { return dynamic_cast<MENU*>(gCurrentScene); }
PACKS* packs() { return dynamic_cast<PACKS*>(gCurrentScene); }
FRAMES* frames() { return dynamic_cast<FRAMES*>(gCurrentScene); }

struct SCENE_CHANGE {
  const char* name;
  std::function<bool()> getReady;  // brings the game to where the click leads on
  float x;
  float y;
  std::function<bool()> arrived;  // the next scene is current
};

const std::vector<SCENE_CHANGE> kChanges = {
    {"main menu (junior mode) -> level packs",
     [] {
       if (menu() == nullptr) changeScene(gCurrentScene, new MENU());
       if (!passUntil([] { return menu()->menuState == MENU::MENU_READY; })) return false;
       pressAndRelease(515.0f, 418.0f);  // play
       return passUntil([] { return menu()->windowState == MENU::MODE_SELECTION_WINDOW; });
     },
     340.0f, 600.0f,  // junior
     [] { return packs() != nullptr; }},
    {"level packs -> frames of the first pack",
     [] {
       if (packs() == nullptr) changeScene(gCurrentScene, new PACKS());
       return passUntil([] { return packs()->slideState == PACKS::SLIDE::IDLE; });
     },
     300.0f, 285.0f,  // the first pack
     [] { return frames() != nullptr; }},
    {"frames -> the first frame's level",
     [] {
       gCurrentPack = 0;
       if (frames() == nullptr) changeScene(gCurrentScene, new FRAMES());
       return passUntil([] { return frames()->slideState == FRAMES::SLIDE::IDLE; });
     },
     167.0f, 235.0f,  // frame 1
     [] { return dynamic_cast<SCENE_CARD_GAME_LEVEL*>(gCurrentScene) != nullptr; }},
};

struct TIMING {
  double total = 0.0;      // click to the next scene's first frame
  double switching = 0.0;  // the pass that built and drew the next scene
  int slidePasses = 0;     // passes of the slides between
};

bool measure(const SCENE_CHANGE& change, TIMING& timing) {
  if (!change.getReady()) return false;
  pressAndRelease(change.x, change.y);
  const CLOCK::time_point click = CLOCK::now();
  CLOCK::time_point passStart = click;
  timing.slidePasses = 0;
  for (int i = 0; i < kPassLimit; ++i) {
    passStart = CLOCK::now();
    pass();
    if (change.arrived()) {
      timing.switching = millisecondsSince(passStart);
      timing.total = millisecondsSince(click);
      return true;
    }
    ++timing.slidePasses;
  }
  return false;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// A start folder whose Resources are the generated ones beside this program's build, and a
// documents folder with one player, so the menu opens without the first-start dialog.
bool prepareFolder() {
  char self[4096] = {};
  const ssize_t length = ::readlink("/proc/self/exe", self, sizeof(self) - 1);
  if (length <= 0) return false;
  const std::filesystem::path build = std::filesystem::path(self).parent_path().parent_path();
  if (!std::filesystem::exists(build / "Resources" / "texts" / "texts.xml")) {
    std::fprintf(stderr, "no generated Resources in %s\n", build.c_str());
    return false;
  }
  char folder[] = "/tmp/pindrake_scene_changes_XXXXXX";
  if (::mkdtemp(folder) == nullptr) return false;
  const std::filesystem::path root = folder;
  std::filesystem::create_directories(root / "Resources");
  for (const auto& entry : std::filesystem::directory_iterator(build / "Resources"))
    std::filesystem::create_symlink(entry.path(), root / "Resources" / entry.path().filename());
  const std::filesystem::path saves = root / "Documents" / "Ostvane" / "Pindrake" / "Saves";
  std::filesystem::create_directories(saves);
  std::ofstream(saves / "players.xml")
      << "<players numberOfPlayers=\"1\" currentPlayer=\"0\"><player id=\"0\" name=\"Bench\" money=\"500\" "
         "soundVolume=\"0.5\" musicVolume=\"0.5\" isFullscreen=\"false\" isMuteAll=\"true\" "
         "isShowedFirstHint=\"1\"/></players>\n";
  ::setenv("XDG_DOCUMENTS_DIR", (root / "Documents").c_str(), 1);
  std::filesystem::current_path(root);
  return true;
}

}  // namespace

int main() {
  ::setenv("SDL_VIDEODRIVER", "offscreen", 0);
  ::setenv("ALSOFT_DRIVERS", "null", 0);
  if (!prepareFolder()) return 0;
  QEL::fSetLogSink([](const std::string&) {});
  registerGameCallbacks();
  loadTexts();
  QEL::QC_GAME::fInit(QEL::qcGAME, "Pindrake");
  if (QEL::qcRENDER == nullptr || QEL::qcINPUT == nullptr) {
    std::fprintf(stderr, "the engine did not start\n");
    return 0;
  }
  QEL::qcGAME->_settings._running = 1;
  onSplashFinished();
  gIsSplash = 0;
  delete gSplash;
  gSplash = nullptr;

  std::fprintf(stderr, "click to the next scene's first drawn frame, headless, %d runs (median, best, first):\n",
               kRuns);
  for (const SCENE_CHANGE& change : kChanges) {
    std::vector<double> totals;
    std::vector<double> switches;
    int slidePasses = 0;
    for (int run = 0; run < kRuns; ++run) {
      TIMING timing;
      if (!measure(change, timing)) break;
      totals.push_back(timing.total);
      switches.push_back(timing.switching);
      slidePasses = timing.slidePasses;
    }
    if (totals.empty()) {
      std::fprintf(stderr, "  %s: did not get there\n", change.name);
      continue;
    }
    const double slideMs = 1000.0 * slidePasses / kUpdatesPerSecond;
    std::fprintf(stderr,
                 "  %s: %.1f ms (best %.1f, first %.1f) to build and draw the next scene; %.1f ms with the %d\n"
                 "    passes of the slides run back to back (the slides themselves last %.0f ms of game time)\n",
                 change.name, median(switches), *std::min_element(switches.begin(), switches.end()), switches.front(),
                 median(totals), slidePasses, slideMs);
  }
  std::fprintf(stderr, "goal: under 150 ms to build and draw the next scene\n");
  return 0;
}
