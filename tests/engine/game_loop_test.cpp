#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core_test_util.h"
#include "engine/callback.h"
#include "engine/file_system.h"
#include "engine/game.h"
#include "engine/globals.h"
#include "engine/input.h"
#include "engine/random.h"
#include "engine/render.h"
#include "engine/timer.h"
#include "engine/window.h"
#include "platform/window.h"

namespace {

using QEL::QC_CALLBACK;
using QEL::QC_GAME;

int gUpdates = 0;
int gDraws = 0;
std::vector<int> gStateSeenByUpdate;  // state of key 65 as each update callback sees it
QC_GAME* gStopGame = nullptr;        // the game whose running flag the update callback clears
std::vector<QEL::QT_CALLBACK_ARG> gKeyDowns;
std::vector<std::string> gEvents;
int gInits = 0;

uint32_t onUpdate(QEL::QT_CALLBACK_ARG) {
  ++gUpdates;
  if (QEL::qcINPUT) gStateSeenByUpdate.push_back(QEL::qcINPUT->fGetState(65));
  if (gStopGame) gStopGame->_settings._running = 0;
  return 0;
}
uint32_t onDraw(QEL::QT_CALLBACK_ARG) {
  ++gDraws;
  return 0;
}
uint32_t onKeyDown(QEL::QT_CALLBACK_ARG code) {
  gKeyDowns.push_back(code);
  return 0;
}
uint32_t onInit(QEL::QT_CALLBACK_ARG) {
  ++gInits;
  return 0;
}

// The loop against a fake clock: the tick is ours, and sleeping records the amount and
// lets that much time pass.
class PacingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gUpdates = gDraws = gInits = 0;
    gStateSeenByUpdate.clear();
    gKeyDowns.clear();
    gStopGame = nullptr;
    platform::setTickSource([this] { return _now; });
    platform::setSleepFunction([this](uint32_t ms) {
      _sleeps.push_back(ms);
      _now += ms;
    });
    _game = new QC_GAME();
    QEL::qcON_UPDATE = &_update;
    QEL::qcON_DRAW = &_draw;
    QEL::qcON_KEY_DOWN = &_keyDown;
    QEL::qcINPUT = &_input;
    _timer = QEL::QC_TIMER();  // started on the fake clock
    QEL::qcTIMER = &_timer;
    _timer.fSetOutput(&QEL::qcFRAME_DELTA);
    QEL::qcFRAME_DELTA = 0.0f;
  }
  void TearDown() override {
    QEL::qcON_UPDATE = QEL::qcON_DRAW = QEL::qcON_KEY_DOWN = QEL::qcON_CLOSE = nullptr;
    QEL::qcINPUT = nullptr;
    QEL::qcTIMER = nullptr;
    QEL::qcRANDOM = nullptr;
    QEL::qcWINDOW = nullptr;
    delete _game;
    platform::setTickSource({});
    platform::setSleepFunction({});
    platform::Message leftover;
    while (platform::peekMessage(leftover)) {
    }
  }
  // Lets time pass without sleeping, then runs one pass.
  void pass(uint32_t elapsedMs) {
    _now += elapsedMs;
    _game->fUpdateStep();
    _game->fDrawStep();
  }

  coretest::TempFolder _folder;  // the game's file system makes Resources where it starts
  uint32_t _now = 5000;
  std::vector<uint32_t> _sleeps;
  QEL::QC_TIMER _timer;
  QEL::QK_BUTTON _input;
  QC_CALLBACK _update{onUpdate, nullptr, 0};
  QC_CALLBACK _draw{onDraw, nullptr, 0};
  QC_CALLBACK _keyDown{onKeyDown, nullptr, 0};
  QC_GAME* _game = nullptr;
};

TEST_F(PacingTest, SettingsDefaults) {
  const QEL::QS_GAME_SETTINGS& s = _game->_settings;
  EXPECT_EQ(s._gameName, "Tessaro Game");
  EXPECT_EQ(s._companyName, "Tessaro");
  EXPECT_EQ(s._resolution, QEL::QS_POINT(1024, 768));
  EXPECT_EQ(s._frameCap, 60);
  EXPECT_EQ(s._updateRate, 0);
  EXPECT_EQ(s._running, 0);
}

TEST_F(PacingTest, RateZeroUpdatesEveryPassAndCountsPasses) {
  _game->_settings._updateRate = 0;
  for (int i = 0; i < 4; ++i) pass(250);
  EXPECT_EQ(gUpdates, 4);
  EXPECT_TRUE(_sleeps.empty());
  EXPECT_EQ(_game->_settings._updatesPerSecond, 4);
  EXPECT_EQ(_game->_updatesThisSecond, 0);
  EXPECT_EQ(_game->_updateAccumulator, 0.0f);
}

TEST_F(PacingTest, NotDueSleepsTheRemainingMillisecondsTruncated) {
  _game->_settings._updateRate = 60;
  pass(10);  // t = 1/60 s, 0.010 s accumulated: 6.67 ms left
  EXPECT_EQ(gUpdates, 0);
  ASSERT_EQ(_sleeps.size(), 1u);
  EXPECT_EQ(_sleeps[0], 6u);
}

TEST_F(PacingTest, AnAccumulatorOfExactlyTIsDue) {
  _game->_settings._updateRate = 4;  // t = 0.25 s, exact in binary
  pass(125);
  EXPECT_EQ(gUpdates, 0);
  ASSERT_EQ(_sleeps.size(), 1u);
  EXPECT_EQ(_sleeps[0], 125u);
  // The sleep let 125 ms pass: the accumulator now holds exactly 0.25 s.
  _game->fUpdateStep();
  EXPECT_EQ(gUpdates, 1);
  EXPECT_EQ(_sleeps.size(), 1u);
  EXPECT_FLOAT_EQ(QEL::qcFRAME_DELTA, 0.25f);
}

TEST_F(PacingTest, PerSecondCountersRestartAfterOneSecond) {
  _game->_settings._updateRate = 4;
  for (int i = 0; i < 4; ++i) pass(250);
  EXPECT_EQ(gUpdates, 4);
  EXPECT_EQ(_game->_settings._updatesPerSecond, 4);
  EXPECT_EQ(gDraws, 4);
  EXPECT_EQ(_game->_settings._framesPerSecond, 4);
  EXPECT_EQ(_game->_framesThisSecond, 0);
  EXPECT_EQ(_game->_drawAccumulator, 0.0f);
}

TEST_F(PacingTest, TimeBeyondOneSecondIsDropped) {
  pass(1500);
  EXPECT_EQ(_game->_settings._updatesPerSecond, 1);
  EXPECT_EQ(_game->_updateAccumulator, 0.0f);
  pass(250);
  EXPECT_FLOAT_EQ(_game->_updateAccumulator, 0.25f);
}

TEST_F(PacingTest, FrameCapPacesDrawsByTheFrameTime) {
  _game->_settings._frameCap = 2;  // one frame per half second
  for (int i = 0; i < 3; ++i) pass(125);
  EXPECT_EQ(gDraws, 0);
  pass(125);
  EXPECT_EQ(gDraws, 1);
  for (int i = 0; i < 4; ++i) pass(125);
  EXPECT_EQ(gDraws, 2);
  EXPECT_EQ(_game->_settings._framesPerSecond, 2);
}

TEST_F(PacingTest, CapZeroDrawsOnEveryPassEvenWithoutAnUpdate) {
  _game->_settings._frameCap = 0;
  _game->_settings._updateRate = 60;
  pass(10);
  EXPECT_EQ(gUpdates, 0);
  EXPECT_EQ(gDraws, 1);
  pass(0);
  EXPECT_EQ(gDraws, 2);
}

TEST_F(PacingTest, DrawClockAdvancesOnlyOnPassesThatUpdated) {
  _game->_settings._updateRate = 4;
  pass(250);  // due: frame time 0.25
  EXPECT_FLOAT_EQ(_game->_drawAccumulator, 0.25f);
  pass(100);  // not due: it sleeps, and the draw clock stands still
  EXPECT_EQ(gUpdates, 1);
  EXPECT_FLOAT_EQ(_game->_drawAccumulator, 0.25f);
}

TEST_F(PacingTest, FrameCapHoldsWhileTheLoopSleepsBetweenUpdates) {
  _game->_settings._updateRate = 60;
  _game->_settings._frameCap = 60;
  // Two seconds of passes a millisecond apart: most of them sleep, one in sixteen or so
  // updates. Frames follow the updates, not the passes.
  const uint32_t end = _now + 2000;
  while (_now < end) pass(1);
  EXPECT_NEAR(gUpdates, 120, 3);
  EXPECT_NEAR(gDraws, 120, 3);
}

TEST_F(PacingTest, EventsPumpedInAStepAreSeenByTheNextUpdate) {
  platform::postMessage(platform::Message{platform::kMsgKeyDown, 65, 0, 0});
  pass(16);
  pass(16);
  pass(16);
  EXPECT_EQ(gStateSeenByUpdate, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(gKeyDowns, (std::vector<QEL::QT_CALLBACK_ARG>{65}));
}

TEST_F(PacingTest, StartRefusesWithoutItsComponents) {
  coretest::LogCatcher log;
  QEL::qcRANDOM = nullptr;
  _game->fStart();
  EXPECT_TRUE(log.has("Start"));
  EXPECT_TRUE(log.has("Some component does not exist? or you may fogot initialise game class"));
  EXPECT_EQ(gUpdates, 0);
  EXPECT_EQ(_game->_settings._running, 0);
}

class GameInitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    gInits = 0;
    platform::overrideDesktopSize(1920, 1080);
  }
  void TearDown() override {
    platform::overrideDesktopSize(0, 0);
    platform::setMessageBoxHook({});
    QEL::qcON_INIT = nullptr;
  }
  coretest::TempFolder _folder;
};

TEST_F(GameInitTest, CreatesTheComponentsInOrderAndRunsTheInitCallback) {
  QC_CALLBACK init(onInit, nullptr, 0);
  QEL::qcON_INIT = &init;
  coretest::LogCatcher log;
  QC_GAME game;
  EXPECT_EQ(QC_GAME::fInit(&game, "Pindrake"), 0);
  EXPECT_EQ(game._settings._gameName, "Pindrake");
  EXPECT_EQ(game._settings._screenSize, QEL::QS_POINT(1920, 1080));
  const int input = log.indexOf("Input initialised");
  const int window = log.indexOf("Window initialised");
  const int timer = log.indexOf("Timer initialised");
  const int random = log.indexOf("Random initialised");
  const int render = log.indexOf("Render initialised");
  const int sound = log.indexOf("Sound initialised");
  const int loader = log.indexOf("Resouce loader inited");
  ASSERT_GE(input, 0);
  EXPECT_LT(input, window);
  EXPECT_LT(window, render);
  EXPECT_LT(render, timer);
  EXPECT_LT(timer, random);
  EXPECT_LT(random, sound);
  EXPECT_LT(sound, loader);
  EXPECT_EQ(gInits, 1);
  ASSERT_NE(QEL::qcWINDOW, nullptr);
  EXPECT_NE(QEL::qcWINDOW->fGetHwnd(), nullptr);
  EXPECT_EQ(QEL::qcWINDOW->_clientWidth, 1024);
  EXPECT_EQ(QEL::qcWINDOW->_clientHeight, 768);
  ASSERT_NE(QEL::qcINPUT, nullptr);
  ASSERT_NE(QEL::qcRANDOM, nullptr);
  EXPECT_EQ(QEL::qcRANDOM->_seed, 0u);
  EXPECT_NE(QEL::qcON_TEXTURE_UNSCRIBED, nullptr);
  ASSERT_NE(QEL::qcTIMER, nullptr);
  EXPECT_EQ(QEL::qcTIMER->_output, &QEL::qcFRAME_DELTA);
  EXPECT_NE(QEL::qcRENDER, nullptr);
  EXPECT_NE(QEL::qcMIXER, nullptr);
  EXPECT_NE(QEL::qcRESOURCE_LOADER, nullptr);

  // The end gives everything back, the mixer (which closes the device) before the renderer
  // and the renderer before its window.
  QC_GAME::fRelease(&game);
  EXPECT_EQ(QEL::qcRESOURCE_LOADER, nullptr);
  EXPECT_EQ(QEL::qcMIXER, nullptr);
  EXPECT_EQ(QEL::qcRANDOM, nullptr);
  EXPECT_EQ(QEL::qcTIMER, nullptr);
  EXPECT_EQ(QEL::qcRENDER, nullptr);
  EXPECT_EQ(QEL::qcWINDOW, nullptr);
  EXPECT_EQ(QEL::qcINPUT, nullptr);
  EXPECT_EQ(QEL::qcON_TEXTURE_UNSCRIBED, nullptr);
  EXPECT_GT(log.indexOf("Components released"), log.indexOf("AL closed"));
  EXPECT_GT(log.indexOf("AL closed"), loader);
  QC_GAME::fRelease(&game);  // a second end finds nothing left
}

uint32_t stopOnClose(QEL::QT_CALLBACK_ARG) {
  gEvents.push_back("close");
  if (gStopGame) gStopGame->_settings._running = 0;
  return 0;
}

TEST_F(GameInitTest, WindowManagerCloseEndsTheLoopAfterThePassUnderWay) {
  QC_GAME game;
  ASSERT_EQ(QC_GAME::fInit(&game, "Pindrake"), 0);
  gUpdates = gDraws = 0;
  gEvents.clear();
  gStopGame = &game;
  game._settings._frameCap = 0;
  QC_CALLBACK update(onUpdate, nullptr, 0), draw(onDraw, nullptr, 0), close(stopOnClose, nullptr, 0);
  QEL::qcON_UPDATE = &update;
  QEL::qcON_DRAW = &draw;
  QEL::qcON_CLOSE = &close;
  SDL_Event e{};
  e.type = SDL_WINDOWEVENT;
  e.window.event = SDL_WINDOWEVENT_CLOSE;
  e.window.windowID = SDL_GetWindowID(QEL::qcWINDOW->fGetHwnd());
  ASSERT_EQ(SDL_PushEvent(&e), 1);
  game.fStart();  // returns: the close callback cleared the running flag
  EXPECT_EQ(gEvents, (std::vector<std::string>{"close"}));
  EXPECT_EQ(gUpdates, 1);
  EXPECT_EQ(gDraws, 1);  // the pass under way still drew
  QEL::qcON_UPDATE = QEL::qcON_DRAW = QEL::qcON_CLOSE = nullptr;
  gStopGame = nullptr;
  // The loop started the sound thread: it stops before the mixer goes.
  coretest::LogCatcher log;
  QC_GAME::fRelease(&game);
  ASSERT_GE(log.indexOf("Sound thread stopped"), 0);
  EXPECT_LT(log.indexOf("Sound thread stopped"), log.indexOf("AL closed"));
}

TEST_F(GameInitTest, ClearingRunningInTheUpdateStillFinishesThePass) {
  QC_GAME game;
  ASSERT_EQ(QC_GAME::fInit(&game, "Pindrake"), 0);
  gUpdates = gDraws = 0;
  gKeyDowns.clear();
  gStopGame = &game;
  game._settings._frameCap = 0;
  QC_CALLBACK update(onUpdate, nullptr, 0), draw(onDraw, nullptr, 0), keyDown(onKeyDown, nullptr, 0);
  QEL::qcON_UPDATE = &update;
  QEL::qcON_DRAW = &draw;
  QEL::qcON_KEY_DOWN = &keyDown;
  platform::postMessage(platform::Message{platform::kMsgKeyDown, 65, 0, 0});
  game.fStart();
  EXPECT_EQ(gUpdates, 1);
  EXPECT_EQ(gKeyDowns.size(), 1u);  // the pump after the update callback still ran
  EXPECT_EQ(gDraws, 1);             // and so did the draw step
  EXPECT_EQ(game._settings._running, 0);
  QEL::qcON_UPDATE = QEL::qcON_DRAW = QEL::qcON_KEY_DOWN = nullptr;
  gStopGame = nullptr;
  QC_GAME::fRelease(&game);
}

TEST_F(GameInitTest, NullGameGetsAMessageBox) {
  std::string said;
  platform::setMessageBoxHook([&](const std::string& text, const std::string&) { said = text; });
  QC_CALLBACK init(onInit, nullptr, 0);
  QEL::qcON_INIT = &init;
  EXPECT_EQ(QC_GAME::fInit(nullptr, "Pindrake"), -1);
  EXPECT_EQ(said, "QC_GAME not exist. Need do some qcGAME = QC_GAME::fGetGame();");
  EXPECT_EQ(gInits, 0);
}

TEST_F(GameInitTest, ConstructionLogsAndBuildsTheFileSystem) {
  coretest::LogCatcher log;
  QC_GAME game;
  EXPECT_TRUE(log.has("Game construction "));
  EXPECT_EQ(QEL::qcFILE_SYSTEM, QEL::QC_FILE_SYSTEM::fGet());
  EXPECT_EQ(QEL::qcINPUT, nullptr);
  EXPECT_EQ(QEL::qcWINDOW, nullptr);
}

}  // namespace
