#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core_test_util.h"
#include "engine/callback.h"
#include "engine/input.h"
#include "engine/window.h"
#include "platform/window.h"

namespace {

using QEL::QC_CALLBACK;
using QEL::QC_WINDOW;
using QEL::QK_BUTTON;
using QEL::QS_POINT;

std::vector<std::string> gEvents;

uint32_t onDown(QEL::QT_CALLBACK_ARG code) {
  gEvents.push_back("down " + std::to_string(code));
  return 0;
}
uint32_t onUp(QEL::QT_CALLBACK_ARG code) {
  gEvents.push_back("up " + std::to_string(code));
  return 0;
}
uint32_t onMove(QEL::QT_CALLBACK_ARG) {
  gEvents.push_back("move");
  return 0;
}
uint32_t onClose(QEL::QT_CALLBACK_ARG) {
  gEvents.push_back("close");
  return 0;
}
uint32_t onLost(QEL::QT_CALLBACK_ARG) {
  gEvents.push_back("lost");
  return 0;
}
uint32_t onGained(QEL::QT_CALLBACK_ARG) {
  gEvents.push_back("gained");
  return 0;
}

class PumpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    gEvents.clear();
    QEL::qcON_KEY_DOWN = &_down;
    QEL::qcON_KEY_UP = &_up;
    QEL::qcON_MOUSE_MOVE = &_move;
    QEL::qcON_CLOSE = &_close;
    QEL::qcON_FOCUS_LOST = &_lost;
    QEL::qcON_FOCUS_GAINED = &_gained;
    platform::setWindowProc(QC_WINDOW::fWndProc);
    drain();
  }
  void TearDown() override {
    drain();
    QEL::qcON_KEY_DOWN = QEL::qcON_KEY_UP = QEL::qcON_MOUSE_MOVE = nullptr;
    QEL::qcON_CLOSE = QEL::qcON_FOCUS_LOST = QEL::qcON_FOCUS_GAINED = nullptr;
    platform::setWindowProc(nullptr);
  }
  static void drain() {
    platform::Message m;
    while (platform::peekMessage(m)) {
    }
  }
  void post(uint32_t id, uintptr_t wParam = 0, int x = 0, int y = 0) {
    platform::postMessage(platform::Message{id, wParam, x, y});
  }
  void pump() { QEL::fPumpMessages(&_input, nullptr); }
  // Pushes an SDL event as the system would raise it.
  static void pushSdl(SDL_Event e) { ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError(); }
  static SDL_Event keyEvent(Uint32 type, SDL_Scancode scancode, Uint16 mod = KMOD_NONE) {
    SDL_Event e{};
    e.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.scancode = scancode;
    e.key.keysym.mod = mod;
    return e;
  }
  static SDL_Event windowEvent(Uint8 event) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = event;
    return e;
  }

  QC_CALLBACK _down{onDown, nullptr, 0};
  QC_CALLBACK _up{onUp, nullptr, 0};
  QC_CALLBACK _move{onMove, nullptr, 0};
  QC_CALLBACK _close{onClose, nullptr, 0};
  QC_CALLBACK _lost{onLost, nullptr, 0};
  QC_CALLBACK _gained{onGained, nullptr, 0};
  QK_BUTTON _input;
};

TEST_F(PumpTest, KeyMessagesCarryTheirVirtualKeyCodes) {
  post(platform::kMsgKeyDown, 79);
  post(platform::kMsgKeyUp, 79);
  post(platform::kMsgKeyDown, 32);
  pump();
  EXPECT_EQ(gEvents, (std::vector<std::string>{"down 79", "up 79", "down 32"}));
  // A key tapped within one pump reads pressed for one update, then released.
  EXPECT_EQ(_input.fGetState(79), 1);
  EXPECT_EQ(_input.fGetState(32), 1);
  _input.fEndFrame();
  EXPECT_EQ(_input.fGetState(79), 255);
  EXPECT_EQ(_input.fGetState(32), 2);
}

TEST_F(PumpTest, MouseButtonsBecomeCodes1And2And4) {
  post(platform::kMsgLButtonDown);
  post(platform::kMsgLButtonUp);
  post(platform::kMsgRButtonDown);
  post(platform::kMsgRButtonUp);
  post(platform::kMsgMButtonDown);
  post(platform::kMsgMButtonUp);
  pump();
  EXPECT_EQ(gEvents,
            (std::vector<std::string>{"down 1", "up 1", "down 2", "up 2", "down 4", "up 4"}));
}

TEST_F(PumpTest, ButtonMessagesDoNotMoveThePointer) {
  post(platform::kMsgMouseMove, 0, 300, 200);
  post(platform::kMsgLButtonDown, 0, 5, 5);
  pump();
  EXPECT_EQ(gEvents, (std::vector<std::string>{"move", "down 1"}));
  EXPECT_EQ(_input.fGetMousePosition(), QS_POINT(300, 200));
}

TEST_F(PumpTest, TypedCharacterReachesTheInput) {
  post(platform::kMsgKeyDown, 65);
  post(platform::kMsgChar, L'a');
  pump();
  EXPECT_EQ(_input.fGetTypedChar(), L'a');
}

TEST_F(PumpTest, PostedCloseRunsTheCallbackTwice) {
  post(platform::kMsgClose);
  pump();
  // Once in the pump, once more when it is dispatched to the window procedure.
  EXPECT_EQ(gEvents, (std::vector<std::string>{"close", "close"}));
}

TEST_F(PumpTest, SentActivationReachesTheFocusSlots) {
  platform::sendMessage({platform::kMsgActivate, 0, 0, 0});
  platform::sendMessage({platform::kMsgActivate, 1, 0, 0});
  platform::sendMessage({platform::kMsgActivate, 2, 0, 0});
  platform::sendMessage({platform::kMsgActivate, 0x10000, 0, 0});  // minimised: nothing
  platform::sendMessage({platform::kMsgSetFocus, 0, 0, 0});
  platform::sendMessage({platform::kMsgKillFocus, 0, 0, 0});
  platform::sendMessage({platform::kMsgClose, 0, 0, 0});
  EXPECT_EQ(gEvents, (std::vector<std::string>{"lost", "gained", "gained", "gained", "lost", "close"}));
}

TEST_F(PumpTest, EmptySlotsAreHarmless) {
  QEL::qcON_KEY_DOWN = nullptr;
  QEL::qcON_CLOSE = nullptr;
  post(platform::kMsgKeyDown, 65);
  post(platform::kMsgClose);
  pump();
  EXPECT_EQ(_input.fGetState(65), 1);
  EXPECT_TRUE(gEvents.empty());
}

TEST_F(PumpTest, SdlKeysArriveAsUsVirtualKeys) {
  ASSERT_TRUE(platform::initVideo());
  pushSdl(keyEvent(SDL_KEYDOWN, SDL_SCANCODE_A));
  pushSdl(keyEvent(SDL_KEYUP, SDL_SCANCODE_A));
  pushSdl(keyEvent(SDL_KEYDOWN, SDL_SCANCODE_SPACE));
  pushSdl(keyEvent(SDL_KEYDOWN, SDL_SCANCODE_RSHIFT));
  pushSdl(keyEvent(SDL_KEYDOWN, SDL_SCANCODE_GRAVE));
  pump();
  EXPECT_EQ(gEvents, (std::vector<std::string>{"down 65", "up 65", "down 32", "down 16", "down 192"}));
  EXPECT_EQ(_input.fGetState(20), 1);
}

TEST_F(PumpTest, SdlKeysWithAltAndAltItselfGiveNoKeyMessage) {
  ASSERT_TRUE(platform::initVideo());
  pushSdl(keyEvent(SDL_KEYDOWN, SDL_SCANCODE_LALT));
  pushSdl(keyEvent(SDL_KEYDOWN, SDL_SCANCODE_F4, KMOD_LALT));
  pushSdl(keyEvent(SDL_KEYDOWN, SDL_SCANCODE_F10));
  pump();
  EXPECT_TRUE(gEvents.empty());
}

TEST_F(PumpTest, SdlTextInputBecomesTheTypedCharacter) {
  ASSERT_TRUE(platform::initVideo());
  SDL_Event e{};
  e.type = SDL_TEXTINPUT;
  SDL_strlcpy(e.text.text, "\xC3\xA9", sizeof e.text.text);  // é
  pushSdl(keyEvent(SDL_KEYDOWN, SDL_SCANCODE_E));
  pushSdl(e);
  pump();
  EXPECT_EQ(_input.fGetTypedChar(), static_cast<wchar_t>(0xE9));
  EXPECT_EQ(gEvents, (std::vector<std::string>{"down 69"}));
}

TEST_F(PumpTest, SdlMouseMovesCoalesceAndButtonsMap) {
  ASSERT_TRUE(platform::initVideo());
  SDL_Event motion{};
  motion.type = SDL_MOUSEMOTION;
  motion.motion.x = 10;
  motion.motion.y = 20;
  pushSdl(motion);
  motion.motion.x = 30;
  motion.motion.y = 40;
  pushSdl(motion);
  SDL_Event button{};
  button.type = SDL_MOUSEBUTTONDOWN;
  button.button.button = SDL_BUTTON_RIGHT;
  pushSdl(button);
  button.type = SDL_MOUSEBUTTONUP;
  button.button.button = SDL_BUTTON_MIDDLE;
  pushSdl(button);
  pump();
  EXPECT_EQ(gEvents, (std::vector<std::string>{"move", "down 2", "up 4"}));
  EXPECT_EQ(_input.fGetMousePosition(), QS_POINT(30, 40));
}

TEST_F(PumpTest, SdlFocusEventsReachTheFocusSlots) {
  ASSERT_TRUE(platform::initVideo());
  pushSdl(windowEvent(SDL_WINDOWEVENT_FOCUS_LOST));
  pushSdl(windowEvent(SDL_WINDOWEVENT_FOCUS_GAINED));
  pushSdl(windowEvent(SDL_WINDOWEVENT_MINIMIZED));
  pump();
  // Activation and focus message each report the change, as the system's do.
  EXPECT_EQ(gEvents, (std::vector<std::string>{"lost", "lost", "gained", "gained"}));
}

TEST_F(PumpTest, WindowManagerCloseReachesTheCloseSlotOnce) {
  ASSERT_TRUE(platform::initVideo());
  pushSdl(windowEvent(SDL_WINDOWEVENT_CLOSE));
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  pushSdl(quit);  // the last window closing raises both
  pump();
  EXPECT_EQ(gEvents, (std::vector<std::string>{"close"}));
  pushSdl(quit);  // a quit request alone (a signal) closes too
  pump();
  EXPECT_EQ(gEvents, (std::vector<std::string>{"close", "close"}));
}

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    platform::overrideDesktopSize(1920, 1080);
  }
  void TearDown() override { platform::overrideDesktopSize(0, 0); }
};

TEST_F(WindowTest, FullScreenAtDesktopSizeScalesAndCentresThePicture) {
  QC_WINDOW window;
  EXPECT_EQ(window._screenWidth, 1920);
  window.fSetMode(1024, 768, true, true);
  EXPECT_FLOAT_EQ(window._scale, 1.40625f);
  EXPECT_FLOAT_EQ(window._offset.x, 240.0f);
  EXPECT_FLOAT_EQ(window._offset.y, 0.0f);
  EXPECT_EQ(window._style, 0x80000000u);
  EXPECT_EQ(window._exStyle, 0x00000008u);
  QS_POINT client;
  window.fScreenToClient(QS_POINT(240, 0), client);
  EXPECT_EQ(client, QS_POINT(0, 0));
  window.fScreenToClient(QS_POINT(239, 0), client);  // -0.7 truncates toward zero
  EXPECT_EQ(client, QS_POINT(0, 0));
  window.fScreenToClient(QS_POINT(100, 0), client);
  EXPECT_EQ(client, QS_POINT(-99, 0));
  window.fScreenToClient(QS_POINT(1680, 1080), client);
  EXPECT_EQ(client, QS_POINT(1024, 768));
}

TEST_F(WindowTest, PointerIsConvertedOnlyWithTheDesktopFlag) {
  QC_WINDOW window;
  window.fSetMode(1024, 768, true, false);
  QS_POINT client;
  window.fScreenToClient(QS_POINT(240, 0), client);
  EXPECT_EQ(client, QS_POINT(240, 0));
}

TEST_F(WindowTest, ClientOfTheScreensSizeIsNotScaled) {
  QC_WINDOW window;
  window._scale = 3.0f;
  window.fSetMode(1920, 1080, true, true);
  EXPECT_FLOAT_EQ(window._scale, 1.0f);
  EXPECT_FLOAT_EQ(window._offset.x, 0.0f);
}

TEST_F(WindowTest, WindowedModeKeepsScaleAndAppliesTheStyleFlags) {
  QC_WINDOW window;
  window.fSetMode(1024, 768, true, true);
  coretest::LogCatcher log;
  window.fSetMode(1024, 768, false, true);
  EXPECT_FLOAT_EQ(window._scale, 1.40625f);  // windowed leaves it as it was
  EXPECT_EQ(window._style, 0x10CA0000u);     // no thick frame, no maximise box
  EXPECT_EQ(window._exStyle, 0u);
  EXPECT_TRUE(log.has("border= 1"));
  EXPECT_TRUE(log.has("resize= 0"));
  window.fSetBorder(false);
  EXPECT_EQ(window._style, 0x10CF0000u & ~0x00C40000u);
  window.fSetResize(true);
  EXPECT_EQ(window._style, 0x10CF0000u & ~0x00C40000u);  // no border: no frame either
  window.fSetBorder(true);
  EXPECT_EQ(window._style, 0x10CE0000u);
}

TEST_F(WindowTest, PumpConvertsThePointerInFullScreen) {
  QC_WINDOW window;
  window.fSetMode(1024, 768, true, true);
  QK_BUTTON input;
  platform::postMessage(platform::Message{platform::kMsgMouseMove, 0, 240 + 1407, 703});
  QEL::fPumpMessages(&input, &window);
  EXPECT_EQ(input.fGetMousePosition(), QS_POINT(1000, 499));
}

TEST_F(WindowTest, WindowInitOpensAHeadlessWindow) {
  coretest::LogCatcher log;
  QC_WINDOW window;
  ASSERT_EQ(window.WindowInit("Pindrake"), 1);
  EXPECT_NE(window.fGetHwnd(), nullptr);
  EXPECT_TRUE(log.has("WindowInit"));
  EXPECT_TRUE(log.has("Window created"));
  int w = 0, h = 0;
  SDL_GetWindowSize(window.fGetHwnd(), &w, &h);
  EXPECT_EQ(w, 1024);
  EXPECT_EQ(h, 768);
  EXPECT_NE(SDL_GetWindowFlags(window.fGetHwnd()) & SDL_WINDOW_OPENGL, 0u);
  window.fSetTitle("Title");
  EXPECT_STREQ(SDL_GetWindowTitle(window.fGetHwnd()), "Title");
  SDL_DestroyWindow(window.fGetHwnd());
}

}  // namespace
