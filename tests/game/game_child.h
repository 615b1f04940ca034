#pragma once
// A scenario played on the whole game, in a child process of its own: the engine's components
// (window on the offscreen driver, renderer, silent mixer, resource loader) and the game's
// start-up (texts, packs, save folders, players, sounds, fonts) as the real game makes them,
// in a temporary start folder with a copy of the generated Resources and an empty documents
// folder. The window, renderer and file system exist once per process, hence the
// child. The splash screen is skipped: the scenario starts at the main menu, and then drives
// the game through its own callbacks (pointer, keys, update, draw) one step at a time.
//
// A failed check ends the child with exit code 1 and the reason on stderr (CHILD_CHECK,
// childFail), which the parent's EXPECT_EXIT reports.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "engine/game.h"
#include "engine/globals.h"
#include "engine/input.h"
#include "engine/log.h"
#include "engine/render.h"
#include "engine/window.h"
#include "game/game_entry.h"
#include "game/game_globals.h"
#include "game/scenes/base_scene.h"
#include "game/splash_screen.h"
#include "game/texts.h"
#include "platform/window.h"
#include "save_folder_fixture.h"

namespace test_support {

// A spot of the game's picture (1024 x 768, the editor's 1280 x 768) in the window's own
// pixels, where the system reports the pointer: full screen draws the picture scaled and
// centred on the desktop.
inline platform::Message pointerMessage(uint32_t id, float x, float y) {
  const QEL::QC_WINDOW* window = QEL::qcWINDOW;
  float scale = 1.0f;
  QEL::QS_VECTOR2 offset{0.0f, 0.0f};
  if (window != nullptr && window->_fullscreen == 1 && window->_useDesktopSize == 1) {
    scale = window->_scale;
    offset = window->_offset;
  }
  platform::Message message;
  message.id = id;
  message.x = static_cast<int32_t>(std::lround(x * scale + offset.x));
  message.y = static_cast<int32_t>(std::lround(y * scale + offset.y));
  return message;
}

inline void postWindowMessage(uint32_t id, uintptr_t wParam = 0) {
  platform::Message message;
  message.id = id;
  message.wParam = wParam;
  platform::postMessage(message);
}

inline void postPointer(float x, float y) { platform::postMessage(pointerMessage(platform::kMsgMouseMove, x, y)); }

// The message boxes the game raised, text and caption, since countBoxes.
inline std::vector<std::pair<std::string, std::string>> gBoxes;

inline void countBoxes() {
  gBoxes.clear();
  platform::setMessageBoxHook(
      [](const std::string& text, const std::string& caption) { gBoxes.emplace_back(text, caption); });
}

[[noreturn]] inline void childFail(const std::string& why) {
  std::fprintf(stderr, "CHILD FAILED: %s\n", why.c_str());
  std::fflush(stderr);
  std::_Exit(1);
}

#define CHILD_CHECK(condition, why)                                                      \
  do {                                                                                   \
    if (!(condition)) ::test_support::childFail(std::string(#condition) + ": " + (why)); \
  } while (0)

class GAME_CHILD {
 public:
  static constexpr int kUpdatesPerSecond = 60;

  std::filesystem::path root;  // holds start/ (with Resources) and Documents/
  std::vector<std::string> log;
  long _passes = 0;

  std::filesystem::path basePath() const { return root / "Documents" / "Ostvane" / "Pindrake"; }
  std::filesystem::path saves() const { return basePath() / "Saves"; }
  std::filesystem::path statistics() const { return basePath() / "Statistics"; }
  std::filesystem::path resources() const { return root / "start" / "Resources"; }

  // One pass of the main loop: the update (1/60 s of game time), the end of the input frame,
  // and a drawn frame.
  void step(int passes = 1) {
    for (int i = 0; i < passes; ++i) {
      QEL::qcGAME->_settings._updatesPerSecond = kUpdatesPerSecond;
      QEL::qcFRAME_DELTA = 1.0f / kUpdatesPerSecond;
      onGameUpdate(0);
      if (QEL::qcINPUT != nullptr) QEL::qcINPUT->fEndFrame();
      if (pumpsMessages) QEL::fPumpMessages(QEL::qcINPUT, QEL::qcWINDOW);
      if (++_passes % drawEvery == 0) draw();
    }
  }
  // When set, each pass ends as the main loop's does: the messages posted to the platform
  // layer's queue are read into the input object, and the next update sees them.
  bool pumpsMessages = false;
  // Long scenarios that look at no picture may draw only every n-th pass (the software
  // renderer takes most of a pass's time); drawn frames still run the whole draw code.
  int drawEvery = 1;
  // Runs passes until the condition holds; false when it still does not after `limit`.
  bool stepUntil(const std::function<bool()>& condition, int limit = 600) {
    for (int i = 0; i < limit; ++i) {
      if (condition()) return true;
      step();
    }
    return condition();
  }
  // Seconds of game time, in passes.
  void wait(float seconds) { step(static_cast<int>(seconds * kUpdatesPerSecond + 0.5f)); }

  void draw() {
    if (QEL::qcRENDER == nullptr || QEL::qcRENDER->fBeginScene() != 1) return;
    onGameDraw(0);
    QEL::qcRENDER->fEndScene();
  }
  // The picture last drawn, RGBA rows from the top: 1024 x 768, or 1280 x 768 while the
  // editor is up (in a window; full screen draws at the desktop's size).
  std::vector<uint8_t> readBack(int32_t* width = nullptr, int32_t* height = nullptr) {
    std::vector<uint8_t> rgba;
    int32_t w = 0;
    int32_t h = 0;
    if (QEL::qcRENDER == nullptr || !QEL::qcRENDER->fReadBackBuffer(rgba, w, h)) rgba.clear();
    if (width != nullptr) *width = rgba.empty() ? 0 : w;
    if (height != nullptr) *height = rgba.empty() ? 0 : h;
    return rgba;
  }

  // The pointer, in units of the game's picture (1024 x 768, or the editor's 1280 x 768),
  // through the input object (which calls the game's pointer callback, and so the scene's).
  void moveTo(float x, float y) {
    QEL::qcINPUT->fOnMouseMove(static_cast<int32_t>(x), static_cast<int32_t>(y));
  }
  // A left click as the player makes it: the pointer moves there and rests for one pass (a
  // button lights up under it), the button goes down for one pass and comes up on the next
  // (widgets see the press, then the click).
  void click(float x, float y) {
    moveTo(x, y);
    step();
    QEL::qcINPUT->fOnKeyDown(1);
    step();
    QEL::qcINPUT->fOnKeyUp(1);
    step();
  }
  // A widget button takes a press only once the pointer has come over it in an earlier
  // update: the pointer rests on it for a pass, then clicks. The drawing places the windows,
  // so the window is drawn where it stands first.
  void clickButton(float x, float y) {
    draw();
    moveTo(x, y);
    step();
    click(x, y);
  }
  // A left-button drag: pressed at the start, moved in a few passes, let go at the end.
  void drag(float fromX, float fromY, float toX, float toY, int passes = 4) {
    moveTo(fromX, fromY);
    step();
    QEL::qcINPUT->fOnKeyDown(1);
    step();
    for (int i = 1; i <= passes; ++i) {
      moveTo(fromX + (toX - fromX) * static_cast<float>(i) / static_cast<float>(passes),
             fromY + (toY - fromY) * static_cast<float>(i) / static_cast<float>(passes));
      step();
    }
    QEL::qcINPUT->fOnKeyUp(1);
    step();
  }
  // Window messages posted to the platform layer's queue (postWindowMessage), as the system's
  // events arrive: `pumpStep` pumps them into the input object and runs a pass, as the main
  // loop does.
  void pumpStep(int passes = 1) {
    for (int i = 0; i < passes; ++i) {
      QEL::fPumpMessages(QEL::qcINPUT, QEL::qcWINDOW);
      step();
    }
  }
  // A click whose press and release reach the game in one pump, as a touchpad's tap or a
  // remote desktop sends it; the pointer comes to the spot and rests a pass first.
  void tap(float x, float y) {
    postPointer(x, y);
    pumpStep();
    postWindowMessage(platform::kMsgLButtonDown);
    postWindowMessage(platform::kMsgLButtonUp);
    pumpStep(2);
  }
  // A touch screen's tap: the pointer arrives in the same pump as the press and the release.
  void touch(float x, float y) {
    postPointer(x, y);
    postWindowMessage(platform::kMsgLButtonDown);
    postWindowMessage(platform::kMsgLButtonUp);
    pumpStep(2);
  }

  // A key pressed and let go (Windows virtual-key code), one pass each.
  void key(uint32_t code) {
    QEL::qcINPUT->fOnKeyDown(code);
    step();
    QEL::qcINPUT->fOnKeyUp(code);
    step();
  }
  // Text typed on the keyboard, as the system reports it: the character's key goes down,
  // the character arrives, a pass, the key comes up, a pass.
  void type(const std::wstring& text) {
    for (wchar_t character : text) {
      const uint32_t code = keyOf(character);
      if (code != 0) QEL::qcINPUT->fOnKeyDown(code);
      QEL::qcINPUT->fOnChar(character);
      step();
      if (code == 0) continue;
      QEL::qcINPUT->fOnKeyUp(code);
      step();
    }
  }
  // The player's hand as the system reports it, through the platform layer's queue (with
  // pumpsMessages set): the pointer comes to rest on the spot, drawn first so that the windows
  // stand where the player sees them, then the left button goes down and comes up a pass later.
  void postClick(float x, float y) {
    draw();
    postPointer(x, y);
    step(2);
    postWindowMessage(platform::kMsgLButtonDown);
    step();
    postWindowMessage(platform::kMsgLButtonUp);
    step(2);
  }
  // Typed text: a character's key goes down with the character, and comes up a pass later.
  void postType(const std::wstring& text) {
    for (wchar_t character : text) {
      const uint32_t code = keyOf(character);
      if (code != 0) postWindowMessage(platform::kMsgKeyDown, code);
      postWindowMessage(platform::kMsgChar, static_cast<uintptr_t>(character));
      step();
      if (code != 0) postWindowMessage(platform::kMsgKeyUp, code);
      step();
    }
  }
  // Typed faster than the passes come (a quick typist, key rollover): every key goes down,
  // types and comes up before the one pump that reads them all.
  void postTypeInOnePump(const std::wstring& text) {
    for (wchar_t character : text) {
      const uint32_t code = keyOf(character);
      if (code != 0) postWindowMessage(platform::kMsgKeyDown, code);
      postWindowMessage(platform::kMsgChar, static_cast<uintptr_t>(character));
      if (code != 0) postWindowMessage(platform::kMsgKeyUp, code);
    }
    pumpStep(2);
  }
  // The Windows virtual-key code of a character's key: digits, letters, the blank and the
  // minus; 0 for the others.
  static uint32_t keyOf(wchar_t character) {
    if ((character >= L'0' && character <= L'9') || (character >= L'A' && character <= L'Z') || character == L' ')
      return static_cast<uint32_t>(character);
    if (character >= L'a' && character <= L'z') return static_cast<uint32_t>(character - L'a' + L'A');
    if (character == L'-') return 189;
    return 0;
  }

  // Puts a file of the scenario's own into a folder of the Resources (the start folder's copy
  // of the generated ones).
  void writeResource(const std::string& folder, const std::string& name, const std::string& bytes) {
    writeFile(resources() / folder / name, bytes);
  }
  // A generated file of the Resources, as the build made it.
  std::string generatedResource(const std::string& folder, const std::string& name) const {
    return readFile(std::filesystem::path(PINDRAKE_BUILD_DIR) / "Resources" / folder / name);
  }
  void writeLevel(int index, const std::string& xml) {
    writeResource("Levels", "Level_" + std::to_string(index) + ".xml", xml);
  }

  bool logged(const std::string& piece) const {
    for (const std::string& line : log)
      if (line.find(piece) != std::string::npos) return true;
    return false;
  }
};

// Starts the game in the child and runs the scenario. `before` runs first, in the child's
// start folder with its documents folder chosen but still empty (to seed saves or marker
// files); the game then starts as its entry does, the splash screen is cut short, and the
// scenario gets the main menu as the current scene.
[[noreturn]] inline void runGameScenarioInChild(const std::filesystem::path& root,
                                                const std::function<void(GAME_CHILD&)>& before,
                                                const std::function<void(GAME_CHILD&)>& scenario) {
  static GAME_CHILD child;
  child.root = root;
  ::setenv("SDL_VIDEODRIVER", "offscreen", 0);
  ::setenv("ALSOFT_DRIVERS", "null", 0);
  ::setenv("XDG_DOCUMENTS_DIR", (root / "Documents").c_str(), 1);
  std::filesystem::current_path(root / "start");
  QEL::fSetLogSink([](const std::string& line) { child.log.push_back(line); });
  if (before) before(child);

  registerGameCallbacks();
  loadTexts();
  QEL::QC_GAME::fInit(QEL::qcGAME, "Pindrake");
  CHILD_CHECK(QEL::qcRENDER != nullptr && QEL::qcINPUT != nullptr, "the engine did not start");
  QEL::qcGAME->_settings._running = 1;

  // The splash screen hands over to the main menu and goes.
  onSplashFinished();
  gIsSplash = 0;
  delete gSplash;
  gSplash = nullptr;
  CHILD_CHECK(gCurrentScene != nullptr, "no main menu after the splash screen");
  child.step();

  scenario(child);
  std::_Exit(0);
}

// Read-back pictures (1024 x 768 RGBA rows from the top) compared over a rectangle of the
// screen, corners included on the left and top, excluded on the right and bottom.
struct SCREEN_RECT {
  int left;
  int top;
  int right;
  int bottom;
};

inline uint32_t pixelAt(const std::vector<uint8_t>& picture, int x, int y) {
  const uint8_t* p = &picture[(static_cast<size_t>(y) * 1024 + static_cast<size_t>(x)) * 4];
  return (static_cast<uint32_t>(p[0]) << 16) | (static_cast<uint32_t>(p[1]) << 8) | p[2];
}

// Share of the rectangle's pixels whose colour differs between the two pictures.
inline double differingShare(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, SCREEN_RECT area) {
  long differing = 0;
  long all = 0;
  for (int y = std::max(area.top, 0); y < std::min(area.bottom, 768); ++y)
    for (int x = std::max(area.left, 0); x < std::min(area.right, 1024); ++x, ++all)
      if (pixelAt(a, x, y) != pixelAt(b, x, y)) ++differing;
  return all > 0 ? static_cast<double>(differing) / static_cast<double>(all) : 0.0;
}

// Share of the rectangle's pixels of `still` found `rise` rows higher in `moved`: how much of
// what stood there has moved up by that much. A picture placed on half a pixel samples its
// texels a little differently at another height, so colours within `tolerance` (per channel)
// count as the same.
inline double risenShare(const std::vector<uint8_t>& still, const std::vector<uint8_t>& moved, SCREEN_RECT area,
                         int rise, int tolerance = 48) {
  long same = 0;
  long all = 0;
  for (int y = std::max(area.top, rise); y < std::min(area.bottom, 768); ++y)
    for (int x = std::max(area.left, 0); x < std::min(area.right, 1024); ++x, ++all) {
      const uint8_t* a = &still[(static_cast<size_t>(y) * 1024 + static_cast<size_t>(x)) * 4];
      const uint8_t* b = &moved[(static_cast<size_t>(y - rise) * 1024 + static_cast<size_t>(x)) * 4];
      if (std::abs(a[0] - b[0]) <= tolerance && std::abs(a[1] - b[1]) <= tolerance && std::abs(a[2] - b[2]) <= tolerance)
        ++same;
    }
  return all > 0 ? static_cast<double>(same) / static_cast<double>(all) : 0.0;
}

// The parent's side: makes the start folder (removed afterwards) and runs the scenario in a
// child, expecting it to end well. Skipped when the build made no Resources.
class GameChildTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::filesystem::path generated = std::filesystem::path(PINDRAKE_BUILD_DIR) / "Resources";
    if (!std::filesystem::exists(generated / "texts" / "texts.xml"))
      GTEST_SKIP() << "no generated Resources (configure with -DPINDRAKE_RESOURCES=ON)";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    _root = enterChildStartFolder(kRootVariable, "pindrake_game_child_", _isParent);
  }
  void TearDown() override { leaveChildStartFolder(kRootVariable, _root, _isParent); }

  void play(const std::function<void(GAME_CHILD&)>& scenario) { play(nullptr, scenario); }
  void play(const std::function<void(GAME_CHILD&)>& before, const std::function<void(GAME_CHILD&)>& scenario) {
    EXPECT_EXIT(runGameScenarioInChild(_root, before, scenario), ::testing::ExitedWithCode(0), "");
  }

  // What the child left behind, for checks in the parent.
  std::filesystem::path saves() const { return _root / "Documents" / "Ostvane" / "Pindrake" / "Saves"; }
  std::filesystem::path statistics() const { return _root / "Documents" / "Ostvane" / "Pindrake" / "Statistics"; }

  static constexpr const char* kRootVariable = "PINDRAKE_GAME_CHILD_ROOT";
  std::filesystem::path _root;
  bool _isParent = true;
};

}  // namespace test_support
