// A frame drawn the quick way (frames that repeat the last one shown from a kept picture,
// draws that change no pixel dropped) looks exactly like the same frame drawn in full, byte
// for byte: the main menu at rest, with a window and with a dialog, the level's table, each of
// its windows, and a banner that changes in every frame over a kept table; the widescreen
// borders, of which a window the picture's size shows one row or column each, keep only that
// strip. The menu's pictures, given back while the level is up, look the same again when the
// player comes back to it. So does the splash screen, whose landscape shows through a mask
// drawn unseen into the stencil, and the menu in a window that a window manager resizes.
// No line runs across the splash's sky where a picture's top edge lies, nor along the
// window's edges, where the picture meets the widescreen borders.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "engine/render.h"
#include "game/splash_screen.h"
#include "platform/device.h"
#include "engine/texture.h"
#include "gui/gui_wlabel.h"
#include "game/game_globals.h"
#include "game/scenes/frames/frames_scene.h"
#include "game/scenes/level/level_scene.h"
#include "game_child.h"
#include "level_fixture.h"
#include "menu_scenario.h"
#include "primitives/sprite.h"

namespace {

using test_support::GAME_CHILD;
using test_support::GameChildTest;
using namespace test_support::main_menu_scenario;
using Level = SCENE_CARD_GAME_LEVEL;

// The scene drawn a few times the quick way (a frame that repeats the one before keeps the
// picture, the next shows it; a change halfway through leaves as many frames to keep one
// again), then once in full: both pictures, and how many of the quick
// frame's draws the kept picture showed. `beforeFrame` may change the scene before each
// frame, the full one drawn as the last quick one.
struct TWO_WAYS {
  std::vector<uint8_t> quick;
  std::vector<uint8_t> full;
  uint32_t shownKept = 0;
};

TWO_WAYS drawnBothWays(GAME_CHILD& game, const std::function<void(int)>& beforeFrame) {
  constexpr int kQuickFrames = 6;
  TWO_WAYS pictures;
  QEL::qcRENDER->fSetDrawEverything(false);
  for (int frame = 0; frame < kQuickFrames; ++frame) {
    if (beforeFrame) beforeFrame(frame);
    game.draw();
  }
  pictures.shownKept = QEL::qcRENDER->_drawsShownKept;
  pictures.quick = game.readBack();
  QEL::qcRENDER->fSetDrawEverything(true);
  game.draw();
  pictures.full = game.readBack();
  QEL::qcRENDER->fSetDrawEverything(false);
  CHILD_CHECK(pictures.full.size() == 1024u * 768u * 4u, "no picture read back");
  return pictures;
}

// Every failed comparison is told at the end, with the pixels that differ.
struct SAME_PICTURES {
  std::string failures;
  // Screens that change in every frame keep no picture: `kept` false.
  void check(GAME_CHILD& game, const std::string& screen, const std::function<void(int)>& beforeFrame = {},
             bool kept = true) {
    const TWO_WAYS pictures = drawnBothWays(game, beforeFrame);
    if (kept && pictures.shownKept == 0) failures += screen + ": nothing was shown from a kept picture; ";
    size_t differing = 0;
    for (size_t i = 0; i < pictures.full.size(); i += 4)
      if (pictures.quick[i] != pictures.full[i] || pictures.quick[i + 1] != pictures.full[i + 1] ||
          pictures.quick[i + 2] != pictures.full[i + 2])
        ++differing;
    if (differing != 0) failures += screen + ": " + std::to_string(differing) + " pixels differ; ";
  }
};

// The pointer rests where it lights nothing up.
constexpr SPOT kNowhere{5, 5};

std::vector<uint8_t> mainMenuScreens(GAME_CHILD& game, SAME_PICTURES& same) {
  game.moveTo(kNowhere.x, kNowhere.y);
  CHILD_CHECK(settled(game), "the menu did not settle");
  // In a window the picture's size, each widescreen border shows one row or column: it keeps
  // only the strip that shows (compared here with the whole pictures drawn in full).
  for (QEL::QC_SPRITE* border : gBorderSprites)
    CHILD_CHECK(border->_texture->_place == QEL::QC_TEXTURE::qePLACE_PART, "a border picture is kept whole");
  same.check(game, "main menu");
  const std::vector<uint8_t> atRest = game.readBack();
  click(game, kOptions);
  CHILD_CHECK(windowOpens(game, MENU::OPTIONS_WINDOW), "no options window");
  same.check(game, "main menu options");
  click(game, kOptionsClose);
  CHILD_CHECK(settled(game), "the options did not close");
  click(game, kExit);
  CHILD_CHECK(dialogOpens(game, MENU::QUIT_DIALOG), "no quit dialog");
  same.check(game, "main menu quit dialog");
  menu()->dialogState = MENU::NO_DIALOG;
  return atRest;
}

// Back at the main menu from the level: its pictures, given back while the level was up, are
// read again and look as they did.
void backAtTheMenu(GAME_CHILD& game, const std::vector<uint8_t>& before, QEL::QC_TEXTURE* background) {
  CHILD_CHECK(background->_place == QEL::QC_TEXTURE::qePLACE_WAITING, "the menu's background was kept in the level");
  changeScene(gCurrentScene, new MENU());
  game.moveTo(kNowhere.x, kNowhere.y);
  CHILD_CHECK(settled(game), "the menu did not settle again");
  game.draw();
  CHILD_CHECK(game.readBack() == before, "the menu looks otherwise after the level");
}

void levelScreens(GAME_CHILD& game, SAME_PICTURES& same) {
  gCurrentLevel = 3;
  gCurrentPack = 0;
  changeScene(gCurrentScene, new Level());
  auto* level = dynamic_cast<Level*>(gCurrentScene);
  CHILD_CHECK(level != nullptr, "no level scene");
  settleDealtLevel(*level);
  // The pictures the menu left go back after the level's first frames.
  game.step(4);
  settleDealtLevel(*level);
  same.check(game, "level");

  // A banner whose text changes in every frame: the table under it comes from the kept
  // picture, the banner is drawn over it.
  level->windowState = window_state::BANNER_SHOWN;
  level->bannerFade = 0.0f;
  same.check(game, "level with a changing banner",
             [level](int frame) { level->bannerLabel->fSetText(frame % 2 == 0 ? L"Strike!" : L"Spare!"); });
  level->bannerLabel->fSetText(L"");

  const struct {
    const char* name;
    int32_t state;
  } windows[] = {{"pause", window_state::PAUSE_OPEN},     {"shop", window_state::SHOP_OPEN},
                 {"finish", window_state::FINISH_OPEN},   {"options", window_state::OPTIONS_OPEN},
                 {"trophy", window_state::TROPHY_OPEN},   {"credits", window_state::CREDITS_OPEN}};
  for (const auto& window : windows) {
    level->windowState = window.state;
    same.check(game, std::string("level ") + window.name + " window");
  }
  level->windowState = window_state::SHOP_OPEN;
  level->messageState = message_state::OPEN;
  same.check(game, "level shop with its purchase panel");
  level->messageState = message_state::NONE;
  level->windowState = window_state::NONE;
}

// The splash screen from its first frame, in place of the scene the game child starts in.
void startSplashAgain() {
  delete gCurrentScene;
  gCurrentScene = nullptr;
  gSplash = new SPLASH_SCREEN();
  gIsSplash = 1;
}

TEST_F(GameChildTest, QuickFramesLookExactlyLikeFullOnes) {
  play([](GAME_CHILD& game) { test_support::seedPlayers(game.saves(), {"Ann"}, 0); },
       [](GAME_CHILD& game) {
    SAME_PICTURES same;
    const std::vector<uint8_t> menuAtRest = mainMenuScreens(game, same);
    QEL::QC_TEXTURE* background = menu()->background->_texture;
    levelScreens(game, same);
    CHILD_CHECK(same.failures.empty(), same.failures);
    backAtTheMenu(game, menuAtRest, background);
    // And once more: a picture given back a second time is read again as well.
    changeScene(gCurrentScene, new Level());
    game.step(4);
    backAtTheMenu(game, menuAtRest, background);
  });
}

// The splash screen from its first frame to the main menu, compared every second and every
// quarter second once the landscape fades in: its landscape moves behind the office's window, a mask drawn
// with alpha 0 into the stencil.
TEST_F(GameChildTest, TheSplashLandscapeShowsInTheOfficeWindowDrawnEitherWay) {
  play([](GAME_CHILD& game) {
    startSplashAgain();
    // Only the samples are drawn: the software renderer takes most of a pass's time.
    game.drawEvery = 1 << 30;
    SAME_PICTURES same;
    int landscapeSamples = 0;
    for (int pass = 0; gIsSplash != 0 && pass < 40 * GAME_CHILD::kUpdatesPerSecond; ++pass) {
      game.step();
      const bool landscape = gSplash->state >= 2;
      if (pass % (GAME_CHILD::kUpdatesPerSecond / (landscape ? 4 : 1)) != 0) continue;
      same.check(game, "splash at " + std::to_string(pass) + " passes", {}, false);
      if (landscape) ++landscapeSamples;
    }
    CHILD_CHECK(landscapeSamples >= 6, "the landscape showed in " + std::to_string(landscapeSamples) + " samples");
    CHILD_CHECK(same.failures.empty(), same.failures);
  });
}

// The office with the landscape faded in behind its window: no row of the sky, down to the
// hills' feet, stands out from the rows above and below it, as the top edge of the road's or
// a hill's picture would if the filter blended in the picture's bottom edge.
TEST_F(GameChildTest, NoLineRunsAcrossTheSkyInTheOfficeWindow) {
  play([](GAME_CHILD& game) {
    startSplashAgain();
    game.drawEvery = 1 << 30;
    for (int pass = 0; gSplash->state < 3 && pass < 30 * GAME_CHILD::kUpdatesPerSecond; ++pass) game.step();
    CHILD_CHECK(gSplash->state == 3, "the landscape did not fade in");
    game.draw();
    const std::vector<uint8_t> shot = game.readBack();
    CHILD_CHECK(shot.size() == 1024u * 768u * 4u, "no picture read back");
    // The window's sky, clear of its frame.
    constexpr int kLeft = 120, kRight = 900, kTop = 182, kBottom = 390;
    auto channel = [&shot](int x, int y, int c) { return static_cast<int>(shot[(static_cast<size_t>(y) * 1024 + x) * 4 + c]); };
    std::string lines;
    for (int y = kTop; y < kBottom; ++y) {
      // A pixel of a line: its neighbours above and below agree, and it differs from both.
      int inLine = 0;
      for (int x = kLeft; x < kRight; ++x) {
        bool neighboursAgree = true, differs = false;
        for (int c = 0; c < 3; ++c) {
          const int above = channel(x, y - 1, c), below = channel(x, y + 1, c), here = channel(x, y, c);
          neighboursAgree = neighboursAgree && std::abs(above - below) <= 8;
          differs = differs || std::abs(2 * here - above - below) > 24;
        }
        if (neighboursAgree && differs) ++inLine;
      }
      // A cloud's or a tree's edge may pass for a few pixels; a seam runs on.
      if (inLine > 32) lines += " " + std::to_string(y) + " (" + std::to_string(inLine) + " pixels)";
    }
    CHILD_CHECK(lines.empty(), "lines across the sky at rows" + lines);
  });
}

// Pixels of the window's edge lines more than 40 from their neighbour on the line inside in a
// channel, more than the scenes' pictures change from line to line (the office's first board
// edge comes closest); a border or the clear colour there differs all along. The scene is
// drawn with the widescreen borders, and without them as the developer's marker hides them.
std::string edgesUnlikeTheLineInside(GAME_CHILD& game, const std::string& scene) {
  std::string unlike;
  for (uint8_t hidden : {0, 1}) {
    gIsDebug = hidden;
    game.draw();
    const std::vector<uint8_t> shot = game.readBack();
    CHILD_CHECK(shot.size() == 1024u * 768u * 4u, "no picture read back");
    auto differs = [&shot](int x, int y, int insideX, int insideY) {
      const uint8_t* p = &shot[(static_cast<size_t>(y) * 1024 + static_cast<size_t>(x)) * 4];
      const uint8_t* q = &shot[(static_cast<size_t>(insideY) * 1024 + static_cast<size_t>(insideX)) * 4];
      return std::abs(p[0] - q[0]) > 40 || std::abs(p[1] - q[1]) > 40 || std::abs(p[2] - q[2]) > 40 ? 1 : 0;
    };
    int count = 0;
    for (int y = 0; y < 768; ++y) count += differs(0, y, 1, y) + differs(1023, y, 1022, y);
    for (int x = 0; x < 1024; ++x) count += differs(x, 0, x, 1) + differs(x, 767, x, 766);
    if (count != 0) unlike += scene + (hidden ? " without borders: " : ": ") + std::to_string(count) + "; ";
  }
  gIsDebug = 0;
  return unlike;
}

// The splash's office, the main menu (dimmed behind a window too), a level and its score
// sheet fill a window of their size to its last pixel on every side.
TEST_F(GameChildTest, TheScenesPictureReachesEveryEdgeOfTheWindow) {
  play([](GAME_CHILD& game) { test_support::seedPlayers(game.saves(), {"Ann"}, 0); },
       [](GAME_CHILD& game) {
    game.moveTo(kNowhere.x, kNowhere.y);
    CHILD_CHECK(settled(game), "the menu did not settle");
    std::string unlike = edgesUnlikeTheLineInside(game, "main menu");
    click(game, kPlayer);
    CHILD_CHECK(windowOpens(game, MENU::CHANGE_PLAYER_WINDOW), "no change-player window");
    unlike += edgesUnlikeTheLineInside(game, "main menu dimmed behind a window");
    CHILD_CHECK(enterDealtLevel(3) != nullptr, "no level scene");
    game.step(4);
    unlike += edgesUnlikeTheLineInside(game, "level");
    changeScene(gCurrentScene, new SCENE_CARD_GAME_FRAMES());
    game.wait(0.7f);
    unlike += edgesUnlikeTheLineInside(game, "score sheet");
    startSplashAgain();
    game.drawEvery = 1 << 30;
    CHILD_CHECK(game.stepUntil([] { return gSplash->state == 2; }, 30 * GAME_CHILD::kUpdatesPerSecond),
                "the office did not fade in");
    unlike += edgesUnlikeTheLineInside(game, "office");
    CHILD_CHECK(unlike.empty(), "edge pixels unlike the line inside: " + unlike);
  });
}

// A window manager gives the window 800 x 600 and then its own size back: the picture, drawn
// into an offscreen buffer and then straight into the window again, stays upright and whole.
TEST_F(GameChildTest, TheMenuInAResizedWindowLooksAsDrawnInFull) {
  play([](GAME_CHILD& game) { test_support::seedPlayers(game.saves(), {"Ann"}, 0); },
       [](GAME_CHILD& game) {
    game.moveTo(kNowhere.x, kNowhere.y);
    CHILD_CHECK(settled(game), "the menu did not settle");
    game.draw();
    const std::vector<uint8_t> before = game.readBack();
    platform::Device* device = QEL::qcRENDER->_device.get();
    // The size changes while a picture of the frames before is kept.
    auto resizedAt = [device](int width, int height) {
      return [device, width, height](int frame) {
        if (frame == 2) device->simulateWindowBufferSize(width, height);
      };
    };
    SAME_PICTURES same;
    same.check(game, "menu resized to 800 x 600", resizedAt(800, 600));
    CHILD_CHECK(!device->drawsIntoWindow(), "the picture still goes straight into the resized window");
    same.check(game, "menu resized to 1024 x 768 again", resizedAt(0, 0));
    CHILD_CHECK(device->drawsIntoWindow(), "the picture does not go straight into the window again");
    CHILD_CHECK(same.failures.empty(), same.failures);
    CHILD_CHECK(game.readBack() == before, "the menu looks otherwise after the window's size came back");
  });
}

}  // namespace
