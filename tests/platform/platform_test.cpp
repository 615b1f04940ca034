#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/window.h"

namespace {

std::vector<std::string> gLog;
void catchLog(const std::string& line) { gLog.push_back(line); }

struct Sent {
  uint32_t id;
  uintptr_t wParam;
};
std::vector<Sent> gSent;
void recordProc(platform::WindowHandle, uint32_t id, uintptr_t wParam, intptr_t) { gSent.push_back({id, wParam}); }

class PlatformTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    gLog.clear();
    gSent.clear();
    platform::setLogFunction(catchLog);
    drain();
  }
  void TearDown() override {
    drain();
    platform::setWindowProc(nullptr);
    platform::setLogFunction(nullptr);
    platform::setMessageBoxHook({});
  }
  static void drain() {
    platform::Message m;
    while (platform::peekMessage(m)) {
    }
  }
  static std::vector<platform::Message> takeAll() {
    std::vector<platform::Message> out;
    platform::Message m;
    while (platform::peekMessage(m)) out.push_back(m);
    return out;
  }
};

TEST_F(PlatformTest, ScancodesMapToUsVirtualKeys) {
  using platform::virtualKeyForScancode;
  EXPECT_EQ(virtualKeyForScancode(SDL_SCANCODE_A, false), 65u);
  EXPECT_EQ(virtualKeyForScancode(SDL_SCANCODE_Z, false), 90u);
  EXPECT_EQ(virtualKeyForScancode(SDL_SCANCODE_0, false), 48u);
  EXPECT_EQ(virtualKeyForScancode(SDL_SCANCODE_1, false), 49u);
  EXPECT_EQ(virtualKeyForScancode(SDL_SCANCODE_9, false), 57u);
  EXPECT_EQ(virtualKeyForScancode(SDL_SCANCODE_F1, false), 112u);
  EXPECT_EQ(virtualKeyForScancode(SDL_SCANCODE_F12, false), 123u);
  EXPECT_EQ(virtualKeyForScancode(SDL_SCANCODE_RETURN, false), 13u);
  EXPECT_EQ(virtualKeyForScancode(SDL_SCANCODE_KP_ENTER, false), 13u);
  EXPECT_EQ(virtualKeyForScancode(SDL_SCANCODE_LSHIFT, false), 16u);
  EXPECT_EQ(virtualKeyForScancode(SDL_SCANCODE_RCTRL, false), 17u);
  EXPECT_EQ(virtualKeyForScancode(SDL_SCANCODE_ESCAPE, false), 27u);
  EXPECT_EQ(virtualKeyForScancode(SDL_SCANCODE_LEFT, false), 37u);
  EXPECT_EQ(virtualKeyForScancode(SDL_SCANCODE_DOWN, false), 40u);
  EXPECT_EQ(virtualKeyForScancode(SDL_SCANCODE_DELETE, false), 46u);
  EXPECT_EQ(virtualKeyForScancode(SDL_SCANCODE_EQUALS, false), 187u);
  EXPECT_EQ(virtualKeyForScancode(SDL_SCANCODE_MINUS, false), 189u);
  EXPECT_EQ(virtualKeyForScancode(SDL_SCANCODE_GRAVE, false), 192u);
  EXPECT_EQ(virtualKeyForScancode(SDL_SCANCODE_APOSTROPHE, false), 222u);
  EXPECT_EQ(virtualKeyForScancode(SDL_SCANCODE_KP_MULTIPLY, false), 106u);
  EXPECT_EQ(virtualKeyForScancode(SDL_SCANCODE_KP_MINUS, false), 109u);
  EXPECT_EQ(virtualKeyForScancode(SDL_SCANCODE_UNKNOWN, false), 0u);
}

TEST_F(PlatformTest, NumpadFollowsNumLock) {
  using platform::virtualKeyForScancode;
  EXPECT_EQ(virtualKeyForScancode(SDL_SCANCODE_KP_0, true), 96u);
  EXPECT_EQ(virtualKeyForScancode(SDL_SCANCODE_KP_9, true), 105u);
  EXPECT_EQ(virtualKeyForScancode(SDL_SCANCODE_KP_PERIOD, true), 110u);
  EXPECT_EQ(virtualKeyForScancode(SDL_SCANCODE_KP_0, false), 45u);
  EXPECT_EQ(virtualKeyForScancode(SDL_SCANCODE_KP_1, false), 35u);
  EXPECT_EQ(virtualKeyForScancode(SDL_SCANCODE_KP_5, false), 12u);
  EXPECT_EQ(virtualKeyForScancode(SDL_SCANCODE_KP_8, false), 38u);
  EXPECT_EQ(virtualKeyForScancode(SDL_SCANCODE_KP_PERIOD, false), 46u);
}

TEST_F(PlatformTest, PostedMessagesKeepTheirOrderAndOnlyMovesCoalesce) {
  platform::postMessage({platform::kMsgMouseMove, 0, 1, 1});
  platform::postMessage({platform::kMsgMouseMove, 0, 2, 2});
  platform::postMessage({platform::kMsgLButtonDown, 0, 0, 0});
  platform::postMessage({platform::kMsgMouseMove, 0, 3, 3});
  const auto all = takeAll();
  ASSERT_EQ(all.size(), 3u);
  EXPECT_EQ(all[0].id, platform::kMsgMouseMove);
  EXPECT_EQ(all[0].x, 2);
  EXPECT_EQ(all[1].id, platform::kMsgLButtonDown);
  EXPECT_EQ(all[2].x, 3);
}

TEST_F(PlatformTest, TextInputIsSplitIntoCharacters) {
  ASSERT_TRUE(platform::initVideo());
  SDL_Event e{};
  e.type = SDL_TEXTINPUT;
  SDL_strlcpy(e.text.text, "a\xE2\x82\xAC!", sizeof e.text.text);  // a € !
  ASSERT_EQ(SDL_PushEvent(&e), 1);
  const auto all = takeAll();
  ASSERT_EQ(all.size(), 3u);
  EXPECT_EQ(all[0].wParam, static_cast<uintptr_t>('a'));
  EXPECT_EQ(all[1].wParam, 0x20ACu);
  EXPECT_EQ(all[2].wParam, static_cast<uintptr_t>('!'));
  EXPECT_EQ(all[1].id, platform::kMsgChar);
}

TEST_F(PlatformTest, DispatchAndSendReachTheWindowProcedure) {
  platform::setWindowProc(recordProc);
  platform::sendMessage({platform::kMsgSetFocus, 0, 0, 0});
  platform::dispatchMessage({platform::kMsgKeyDown, 65, 0, 0});
  ASSERT_EQ(gSent.size(), 2u);
  EXPECT_EQ(gSent[0].id, platform::kMsgSetFocus);
  EXPECT_EQ(gSent[1].wParam, 65u);
}

TEST_F(PlatformTest, TickAndSleepCanBeReplaced) {
  uint32_t now = 42;
  std::vector<uint32_t> slept;
  platform::setTickSource([&] { return now; });
  platform::setSleepFunction([&](uint32_t ms) { slept.push_back(ms); now += ms; });
  EXPECT_EQ(platform::tickMilliseconds(), 42u);
  platform::sleepMilliseconds(8);
  EXPECT_EQ(platform::tickMilliseconds(), 50u);
  EXPECT_EQ(slept, (std::vector<uint32_t>{8}));
  platform::setTickSource({});
  platform::setSleepFunction({});
  const uint32_t a = platform::tickMilliseconds();
  platform::sleepMilliseconds(2);
  EXPECT_GE(platform::tickMilliseconds() - a, 2u);
}

TEST_F(PlatformTest, HeadlessMessageBoxIsLoggedAndReturns) {
  std::string text, caption;
  platform::setMessageBoxHook([&](const std::string& t, const std::string& c) {
    text = t;
    caption = c;
  });
  ASSERT_TRUE(platform::isHeadless());
  platform::showMessageBox("Texture load from memory failed", "unnamed");
  EXPECT_EQ(text, "Texture load from memory failed");
  EXPECT_EQ(caption, "unnamed");
  ASSERT_EQ(gLog.size(), 1u);
  EXPECT_EQ(gLog[0], "Message box [unnamed] Texture load from memory failed");
}

TEST_F(PlatformTest, DesktopSizeComesFromTheDisplayOrTheOverride) {
  const platform::ScreenSize real = platform::desktopSize();
  EXPECT_GT(real.width, 0);
  EXPECT_GT(real.height, 0);
  platform::overrideDesktopSize(1920, 1080);
  EXPECT_EQ(platform::desktopSize().width, 1920);
  EXPECT_EQ(platform::desktopSize().height, 1080);
  platform::overrideDesktopSize(0, 0);
  EXPECT_EQ(platform::desktopSize().width, real.width);
}

TEST_F(PlatformTest, WindowIsMadeForAnOpenGl33CoreContext) {
  platform::WindowHandle window = platform::createWindow("Pindrake", 1024, 768);
  ASSERT_NE(window, nullptr);
  EXPECT_NE(SDL_GetWindowFlags(window) & SDL_WINDOW_OPENGL, 0u);
  int value = 0;
  SDL_GL_GetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, &value);
  EXPECT_EQ(value, 3);
  SDL_GL_GetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, &value);
  EXPECT_EQ(value, 3);
  SDL_GL_GetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, &value);
  EXPECT_EQ(value, SDL_GL_CONTEXT_PROFILE_CORE);
  int w = 0, h = 0;
  SDL_GetWindowSize(window, &w, &h);
  EXPECT_EQ(w, 1024);
  EXPECT_EQ(h, 768);
  platform::placeWindowed(window, 10, 20, 800, 600);
  SDL_GetWindowSize(window, &w, &h);
  EXPECT_EQ(w, 800);
  platform::setWindowTitle(window, "Titel \xC3\xA9");
  EXPECT_STREQ(SDL_GetWindowTitle(window), "Titel \xC3\xA9");
  SDL_DestroyWindow(window);
}

TEST_F(PlatformTest, CursorsFromPixels) {
  ASSERT_TRUE(platform::initVideo());
  std::vector<uint8_t> pixels(16 * 16 * 4, 255);
  EXPECT_EQ(platform::createCursor(nullptr, 16, 16, 0, 0), nullptr);
  EXPECT_EQ(platform::createCursor(pixels.data(), 0, 16, 0, 0), nullptr);
  platform::useCursor(platform::arrowCursor());  // harmless without a display
  platform::useCursor(nullptr);
}

TEST_F(PlatformTest, DocumentsFolderDefaultsToHomeDocuments) {
  char pattern[] = "/tmp/pindrake-home-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const char* oldHome = std::getenv("HOME");
  const std::string savedHome = oldHome ? oldHome : "";
  const char* oldDocs = std::getenv("XDG_DOCUMENTS_DIR");
  const std::string savedDocs = oldDocs ? oldDocs : "";
  unsetenv("XDG_DOCUMENTS_DIR");
  setenv("HOME", pattern, 1);
  EXPECT_EQ(platform::documentsFolder(), std::string(pattern) + "/Documents");
  setenv("XDG_DOCUMENTS_DIR", (std::string(pattern) + "/xdg/").c_str(), 1);
  EXPECT_EQ(platform::documentsFolder(), std::string(pattern) + "/xdg");
  unsetenv("XDG_DOCUMENTS_DIR");
  unsetenv("HOME");
  EXPECT_EQ(platform::documentsFolder(), "");
  if (oldHome) setenv("HOME", savedHome.c_str(), 1);
  if (oldDocs) setenv("XDG_DOCUMENTS_DIR", savedDocs.c_str(), 1);
  std::system((std::string("rm -rf '") + pattern + "'").c_str());
}

}  // namespace
