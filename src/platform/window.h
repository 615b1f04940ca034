#pragma once
// Our stand-in for the window and system calls the engine was designed around, on SDL2:
// the window, a Win32-style message queue fed from SDL events, cursors, message boxes,
// screen metrics, the millisecond tick, sleeping and the documents folder.
//
// Messages carry the Win32 numbers the engine acts on; key messages carry Windows
// virtual-key codes taken from SDL scancodes at their US-layout positions, so key numbers
// hold on any layout, while typed characters come from SDL's text input.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/window_handle.h"

namespace platform {

// ---- messages --------------------------------------------------------------------------

enum : uint32_t {
  kMsgActivate = 6,
  kMsgSetFocus = 7,
  kMsgKillFocus = 8,
  kMsgClose = 16,
  kMsgKeyDown = 256,
  kMsgKeyUp = 257,
  kMsgChar = 258,  // wParam: one typed character (a Unicode code point)
  kMsgMouseMove = 512,
  kMsgLButtonDown = 513,
  kMsgLButtonUp = 514,
  kMsgRButtonDown = 516,
  kMsgRButtonUp = 517,
  kMsgMButtonDown = 519,
  kMsgMButtonUp = 520,
};

struct Message {
  uint32_t id = 0;
  uintptr_t wParam = 0;
  int32_t x = 0, y = 0;  // mouse messages: the pointer in client pixels
};

// The window procedure: receives the "sent" messages (activation, focus, close) as they
// arrive, and every message handed to dispatchMessage.
using WindowProc = void (*)(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);
void setWindowProc(WindowProc proc);

// Takes the next queued message, first turning every waiting SDL event into messages
// (the sent ones go straight to the window procedure). False when none is left.
bool peekMessage(Message& out);
// Hands the message to the window procedure; nothing else is done by default.
void dispatchMessage(const Message& message);
// Tests: a posted message joins the queue, a sent one reaches the window procedure now.
void postMessage(const Message& message);
void sendMessage(const Message& message);

// Windows virtual-key code for an SDL scancode at its US position; 0 for keys that produce
// no key message. numLock picks the numpad's digits or its navigation keys.
uint32_t virtualKeyForScancode(int scancode, bool numLock);

// ---- window ----------------------------------------------------------------------------

// Initialises SDL's video once; false (with the reason logged) when it cannot.
bool initVideo();
// True when windows cannot be seen (offscreen or dummy video driver, or no video at all).
bool isHeadless();

// A window of the given client size, made for an OpenGL 3.3 core context with double
// buffering, 24-bit depth and 8-bit stencil (the device creates the context on it).
// Hidden until showWindow; it carries the program's icon (platform/executable_icon.h). Null
// on failure, with SDL's reason logged.
WindowHandle createWindow(const std::string& titleUtf8, int width, int height);
void setWindowTitle(WindowHandle window, const std::string& titleUtf8);
void setWindowBordered(WindowHandle window, bool bordered);
void setWindowResizable(WindowHandle window, bool resizable);
// Windowed: the client size and the top-left corner. Full screen: a borderless window
// covering the desktop at its own resolution.
void placeWindowed(WindowHandle window, int x, int y, int width, int height);
void placeFullscreen(WindowHandle window);
void showWindow(WindowHandle window);
// The end of createWindow: text input stops and the window goes.
void destroyWindow(WindowHandle window);

// ---- cursors ---------------------------------------------------------------------------

struct Cursor;
Cursor* arrowCursor();
// A colour cursor from 32-bit RGBA pixels (row by row, top first); null on failure.
Cursor* createCursor(const uint8_t* rgba, int width, int height, int hotX, int hotY);
void useCursor(Cursor* cursor);
// Frees a cursor made by createCursor; the arrow belongs to the system and is never freed.
void destroyCursor(Cursor* cursor);

// ---- system ----------------------------------------------------------------------------

struct ScreenSize {
  int width = 0;
  int height = 0;
};
// The desktop's size in pixels (the primary display). Tests may fix it.
ScreenSize desktopSize();
void overrideDesktopSize(int width, int height);  // 0, 0 removes the override

// Blocking OK box with the caption and text, until answered or the program is asked to end
// (platform/message_box.h); with no display to show it on, or taken away, it is logged.
// Tests read what the boxes said through the hook.
void showMessageBox(const std::string& text, const std::string& caption);
void setMessageBoxHook(std::function<void(const std::string& text, const std::string& caption)> hook);

// The system's millisecond tick (wraps past 2^32) and sleeping. Both can be replaced, so
// pacing can be tested against a fake clock; an empty function restores the real one.
uint32_t tickMilliseconds();
void setTickSource(std::function<uint32_t()> source);
void sleepMilliseconds(uint32_t milliseconds);
void setSleepFunction(std::function<void(uint32_t)> sleeper);

// The user's documents folder: $XDG_DOCUMENTS_DIR, else ~/Documents, created when missing.
// Empty when it can be neither found nor made.
std::string documentsFolder();

// The running program's own file, as an absolute path; empty when the system cannot say.
std::string programPath();

// Where this layer writes its log lines (the engine hands its own log in).
void setLogFunction(void (*log)(const std::string& message));

}  // namespace platform
