#include "platform/window.h"

#include <SDL.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <thread>

#include "platform/executable_icon.h"
#include "platform/message_box.h"

namespace platform {
namespace {

void defaultLog(const std::string& message) {
  std::fputc('\n', stdout);
  std::fwrite(message.data(), 1, message.size(), stdout);
  std::fflush(stdout);
}

void (*gLog)(const std::string&) = defaultLog;
WindowProc gWindowProc = nullptr;
WindowHandle gWindow = nullptr;  // the window sent messages are addressed to
std::deque<Message> gQueue;
// The close button raises a window-close event and, for the last window, a quit event as
// well; the window procedure must see one close only.
bool gCloseJustSent = false;
bool gVideoReady = false;
ScreenSize gDesktopOverride;
std::function<void(const std::string&, const std::string&)> gMessageBoxHook;
std::function<uint32_t()> gTickSource;
std::function<void(uint32_t)> gSleeper;

void log(const std::string& message) { gLog(message); }

void deliverSent(uint32_t id, uintptr_t wParam) {
  if (gWindowProc) gWindowProc(gWindow, id, wParam, 0);
}

void post(const Message& m) {
  // Consecutive pointer moves collapse into the latest, as the system's queue does.
  if (m.id == kMsgMouseMove && !gQueue.empty() && gQueue.back().id == kMsgMouseMove) {
    gQueue.back() = m;
    return;
  }
  gQueue.push_back(m);
}

// Decodes UTF-8 into code points; a malformed byte is skipped.
void postTypedText(const char* text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text);
  while (*p) {
    uint32_t cp = 0;
    int extra = 0;
    if (*p < 0x80) {
      cp = *p;
    } else if ((*p & 0xE0) == 0xC0) {
      cp = *p & 0x1F;
      extra = 1;
    } else if ((*p & 0xF0) == 0xE0) {
      cp = *p & 0x0F;
      extra = 2;
    } else if ((*p & 0xF8) == 0xF0) {
      cp = *p & 0x07;
      extra = 3;
    } else {
      ++p;
      continue;
    }
    ++p;
    bool ok = true;
    for (int i = 0; i < extra; ++i) {
      if ((*p & 0xC0) != 0x80) {
        ok = false;
        break;
      }
      cp = (cp << 6) | (*p & 0x3F);
      ++p;
    }
    if (ok) post(Message{kMsgChar, cp, 0, 0});
  }
}

void translateKey(const SDL_KeyboardEvent& key, bool down) {
  const SDL_Scancode sc = key.keysym.scancode;
  // Alt and F10 and anything pressed with Alt held are system keys: no key message.
  if (sc == SDL_SCANCODE_LALT || sc == SDL_SCANCODE_RALT || sc == SDL_SCANCODE_F10) return;
  if (key.keysym.mod & KMOD_ALT) return;
  const uint32_t vk = virtualKeyForScancode(sc, (key.keysym.mod & KMOD_NUM) != 0);
  if (vk == 0) return;
  post(Message{down ? kMsgKeyDown : kMsgKeyUp, vk, 0, 0});
}

void translateButton(const SDL_MouseButtonEvent& button, bool down) {
  uint32_t id = 0;
  switch (button.button) {
    case SDL_BUTTON_LEFT: id = down ? kMsgLButtonDown : kMsgLButtonUp; break;
    case SDL_BUTTON_RIGHT: id = down ? kMsgRButtonDown : kMsgRButtonUp; break;
    case SDL_BUTTON_MIDDLE: id = down ? kMsgMButtonDown : kMsgMButtonUp; break;
    default: return;
  }
  post(Message{id, 0, button.x, button.y});
}

void translateEvent(const SDL_Event& e) {
  switch (e.type) {
    case SDL_QUIT:
      if (gCloseJustSent) {
        gCloseJustSent = false;
      } else {
        deliverSent(kMsgClose, 0);
      }
      break;
    case SDL_WINDOWEVENT:
      switch (e.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED:
          deliverSent(kMsgActivate, 1);
          deliverSent(kMsgSetFocus, 0);
          break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
          deliverSent(kMsgActivate, 0);
          deliverSent(kMsgKillFocus, 0);
          break;
        case SDL_WINDOWEVENT_MINIMIZED:
          // A minimised window's activation carries a high word: no focus change is reported.
          deliverSent(kMsgActivate, 0x10000);
          break;
        case SDL_WINDOWEVENT_CLOSE:
          deliverSent(kMsgClose, 0);
          gCloseJustSent = true;
          break;
        default:
          break;
      }
      break;
    case SDL_KEYDOWN: translateKey(e.key, true); break;
    case SDL_KEYUP: translateKey(e.key, false); break;
    case SDL_TEXTINPUT: postTypedText(e.text.text); break;
    case SDL_MOUSEMOTION: post(Message{kMsgMouseMove, 0, e.motion.x, e.motion.y}); break;
    case SDL_MOUSEBUTTONDOWN: translateButton(e.button, true); break;
    case SDL_MOUSEBUTTONUP: translateButton(e.button, false); break;
    default: break;
  }
}

bool makeFolders(const std::string& path) {
  struct stat st {};
  if (stat(path.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
  for (size_t i = 1; i <= path.size(); ++i) {
    if (i != path.size() && path[i] != '/') continue;
    const std::string prefix = path.substr(0, i);
    if (stat(prefix.c_str(), &st) == 0) continue;
    if (mkdir(prefix.c_str(), 0755) != 0 && errno != EEXIST) return false;
  }
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

struct Cursor {
  SDL_Cursor* sdl = nullptr;
};

// ---- messages --------------------------------------------------------------------------

void setWindowProc(WindowProc proc) { gWindowProc = proc; }

bool peekMessage(Message& out) {
  if (gVideoReady) {
    SDL_Event e;
    while (SDL_PollEvent(&e)) translateEvent(e);
  }
  if (gQueue.empty()) return false;
  out = gQueue.front();
  gQueue.pop_front();
  return true;
}

void dispatchMessage(const Message& message) {
  if (gWindowProc) gWindowProc(gWindow, message.id, message.wParam, 0);
}

void postMessage(const Message& message) { post(message); }

void sendMessage(const Message& message) { deliverSent(message.id, message.wParam); }

uint32_t virtualKeyForScancode(int scancode, bool numLock) {
  if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) return 65 + (scancode - SDL_SCANCODE_A);
  if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) return 49 + (scancode - SDL_SCANCODE_1);
  if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12) return 112 + (scancode - SDL_SCANCODE_F1);
  if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_9) {
    static const uint32_t navigation[9] = {35, 40, 34, 37, 12, 39, 36, 38, 33};
    const int i = scancode - SDL_SCANCODE_KP_1;
    return numLock ? 97 + i : navigation[i];
  }
  switch (scancode) {
    case SDL_SCANCODE_0: return 48;
    case SDL_SCANCODE_BACKSPACE: return 8;
    case SDL_SCANCODE_TAB: return 9;
    case SDL_SCANCODE_RETURN:
    case SDL_SCANCODE_KP_ENTER: return 13;
    case SDL_SCANCODE_LSHIFT:
    case SDL_SCANCODE_RSHIFT: return 16;
    case SDL_SCANCODE_LCTRL:
    case SDL_SCANCODE_RCTRL: return 17;
    case SDL_SCANCODE_PAUSE: return 19;
    case SDL_SCANCODE_CAPSLOCK: return 20;
    case SDL_SCANCODE_ESCAPE: return 27;
    case SDL_SCANCODE_SPACE: return 32;
    case SDL_SCANCODE_PAGEUP: return 33;
    case SDL_SCANCODE_PAGEDOWN: return 34;
    case SDL_SCANCODE_END: return 35;
    case SDL_SCANCODE_HOME: return 36;
    case SDL_SCANCODE_LEFT: return 37;
    case SDL_SCANCODE_UP: return 38;
    case SDL_SCANCODE_RIGHT: return 39;
    case SDL_SCANCODE_DOWN: return 40;
    case SDL_SCANCODE_INSERT: return 45;
    case SDL_SCANCODE_DELETE: return 46;
    case SDL_SCANCODE_KP_0: return numLock ? 96 : 45;
    case SDL_SCANCODE_KP_PERIOD: return numLock ? 110 : 46;
    case SDL_SCANCODE_KP_MULTIPLY: return 106;
    case SDL_SCANCODE_KP_PLUS: return 107;
    case SDL_SCANCODE_KP_MINUS: return 109;
    case SDL_SCANCODE_KP_DIVIDE: return 111;
    case SDL_SCANCODE_SEMICOLON: return 186;
    case SDL_SCANCODE_EQUALS: return 187;
    case SDL_SCANCODE_COMMA: return 188;
    case SDL_SCANCODE_MINUS: return 189;
    case SDL_SCANCODE_PERIOD: return 190;
    case SDL_SCANCODE_SLASH: return 191;
    case SDL_SCANCODE_GRAVE: return 192;
    case SDL_SCANCODE_LEFTBRACKET: return 219;
    case SDL_SCANCODE_BACKSLASH: return 220;
    case SDL_SCANCODE_RIGHTBRACKET: return 221;
    case SDL_SCANCODE_APOSTROPHE: return 222;
    default: return 0;
  }
}

// ---- window ----------------------------------------------------------------------------

bool initVideo() {
  if (gVideoReady) return true;
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    log(std::string("SDL video cannot start: ") + SDL_GetError());
    return false;
  }
  // OpenGL and its driver stay loaded for the rest of the process: unloaded with the last
  // window, the driver would leave behind memory only it could free. Where there is no
  // OpenGL at all, the device says so when it makes its context.
  SDL_GL_LoadLibrary(nullptr);
  gVideoReady = true;
  return true;
}

bool isHeadless() {
  const char* driver = gVideoReady ? SDL_GetCurrentVideoDriver() : std::getenv("SDL_VIDEODRIVER");
  if (!driver) return !gVideoReady && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY");
  const std::string name = driver;
  return name == "offscreen" || name == "dummy";
}

WindowHandle createWindow(const std::string& titleUtf8, int width, int height) {
  if (!initVideo()) return nullptr;
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
  SDL_Window* window = SDL_CreateWindow(titleUtf8.c_str(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                        width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (!window) {
    log(std::string("SDL window cannot be created: ") + SDL_GetError());
    return nullptr;
  }
  gWindow = window;
  if (!applyExecutableIcon(window)) log(std::string("Window icon cannot be used: ") + SDL_GetError());
  SDL_StartTextInput();
  return window;
}

void setWindowTitle(WindowHandle window, const std::string& titleUtf8) {
  if (window) SDL_SetWindowTitle(window, titleUtf8.c_str());
}

void setWindowBordered(WindowHandle window, bool bordered) {
  if (window) SDL_SetWindowBordered(window, bordered ? SDL_TRUE : SDL_FALSE);
}

void setWindowResizable(WindowHandle window, bool resizable) {
  if (window) SDL_SetWindowResizable(window, resizable ? SDL_TRUE : SDL_FALSE);
}

void placeWindowed(WindowHandle window, int x, int y, int width, int height) {
  if (!window) return;
  SDL_SetWindowFullscreen(window, 0);
  SDL_SetWindowSize(window, width, height);
  SDL_SetWindowPosition(window, x, y);
}

void placeFullscreen(WindowHandle window) {
  if (!window) return;
  // Placed over the whole desktop first: without a window manager to honour the full-screen
  // request the window would keep its windowed position and hang off the screen.
  const ScreenSize desktop = desktopSize();
  SDL_SetWindowPosition(window, 0, 0);
  if (desktop.width > 0 && desktop.height > 0) SDL_SetWindowSize(window, desktop.width, desktop.height);
  SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
}

void showWindow(WindowHandle window) {
  if (window) SDL_ShowWindow(window);
}

void destroyWindow(WindowHandle window) {
  if (!window) return;
  SDL_StopTextInput();
  if (gWindow == window) gWindow = nullptr;
  SDL_DestroyWindow(window);
}

// ---- cursors ---------------------------------------------------------------------------

Cursor* arrowCursor() {
  static Cursor* arrow = nullptr;
  if (!arrow) {
    if (!initVideo()) return nullptr;
    arrow = new Cursor{SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW)};
  }
  return arrow;
}

Cursor* createCursor(const uint8_t* rgba, int width, int height, int hotX, int hotY) {
  if (!rgba || width <= 0 || height <= 0 || !initVideo()) return nullptr;
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint8_t*>(rgba), width, height, 32,
                                                            width * 4, SDL_PIXELFORMAT_RGBA32);
  if (!surface) {
    log(std::string("Cursor image cannot be used: ") + SDL_GetError());
    return nullptr;
  }
  SDL_Cursor* cursor = SDL_CreateColorCursor(surface, hotX, hotY);
  SDL_FreeSurface(surface);
  if (!cursor) {
    log(std::string("Cursor cannot be created: ") + SDL_GetError());
    return nullptr;
  }
  return new Cursor{cursor};
}

void useCursor(Cursor* cursor) {
  if (cursor && cursor->sdl) SDL_SetCursor(cursor->sdl);
}

void destroyCursor(Cursor* cursor) {
  if (!cursor || cursor == arrowCursor()) return;
  if (cursor->sdl) SDL_FreeCursor(cursor->sdl);
  delete cursor;
}

// ---- system ----------------------------------------------------------------------------

ScreenSize desktopSize() {
  if (gDesktopOverride.width > 0 && gDesktopOverride.height > 0) return gDesktopOverride;
  if (!initVideo()) return {};
  SDL_DisplayMode mode;
  if (SDL_GetDesktopDisplayMode(0, &mode) != 0) {
    log(std::string("Desktop size unknown: ") + SDL_GetError());
    return {};
  }
  return {mode.w, mode.h};
}

void overrideDesktopSize(int width, int height) { gDesktopOverride = {width, height}; }

void showMessageBox(const std::string& text, const std::string& caption) {
  if (gMessageBoxHook) gMessageBoxHook(text, caption);
  if (!showBoxUntilAnswered(text, caption)) log("Message box [" + caption + "] " + text);
}

void setMessageBoxHook(std::function<void(const std::string&, const std::string&)> hook) {
  gMessageBoxHook = std::move(hook);
}

uint32_t tickMilliseconds() {
  if (gTickSource) return gTickSource();
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void setTickSource(std::function<uint32_t()> source) { gTickSource = std::move(source); }

void sleepMilliseconds(uint32_t milliseconds) {
  if (gSleeper) {
    gSleeper(milliseconds);
    return;
  }
  if (milliseconds == 0) {
    // Sleep(0) only gives the processor away; on an idle machine that returns at once and
    // a caller waiting out the last fraction of a millisecond would spin. A fifth of a
    // millisecond keeps such waits cheap and barely late.
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  } else {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }
}

void setSleepFunction(std::function<void(uint32_t)> sleeper) { gSleeper = std::move(sleeper); }

std::string documentsFolder() {
  std::string folder;
  if (const char* xdg = std::getenv("XDG_DOCUMENTS_DIR"); xdg && *xdg) {
    folder = xdg;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    folder = std::string(home) + "/Documents";
  } else {
    log("Documents folder unknown: neither XDG_DOCUMENTS_DIR nor HOME is set");
    return {};
  }
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  if (!makeFolders(folder)) {
    log("Documents folder cannot be created: " + folder);
    return {};
  }
  return folder;
}

std::string programPath() {
  std::error_code error;
  const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : path.string();
}

void setLogFunction(void (*logFunction)(const std::string&)) { gLog = logFunction ? logFunction : defaultLog; }

}  // namespace platform
