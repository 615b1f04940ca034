#pragma once
// The system's one top-level window: its styles, windowed or full-screen placement, its
// title, and the scale and offset that fit the game's picture into a full screen of
// another size. Its window procedure turns activation, focus and close into callbacks;
// the message pump turns mouse and keyboard messages into calls on the input object.
#include <cstdint>
#include <string>

#include "engine/vectors.h"
#include "platform/window.h"
#include "platform/window_handle.h"

namespace QEL {

class QK_BUTTON;

class QC_WINDOW {
 public:
  QC_WINDOW();

  // 1 when the window exists, -1 otherwise (with its log line).
  int32_t WindowInit(const std::string& titleUtf8);
  // The end of WindowInit: the window goes (the renderer on it must be gone already).
  void fDestroy();
  platform::WindowHandle fGetHwnd() const { return _hwnd; }
  void fSetTitle(const std::string& titleUtf8);
  void fSetMode(int32_t width, int32_t height, bool fullscreen, bool useDesktopSize);
  void fApplyStyle();
  void fSetBorder(bool flag);
  void fSetResize(bool flag);
  void fSetMinimizeBox(bool flag);
  void fSetMaximizeBox(bool flag);
  void fSetExtraFlag(bool flag) { _extraFlag = flag ? 1 : 0; }
  bool fGetExtraFlag() const { return _extraFlag != 0; }
  // Our windows are sized by their client area, so the outer size is the client size.
  void fOuterSize(int32_t width, int32_t height, int32_t& outWidth, int32_t& outHeight) const;
  // Pointer positions arrive in window pixels and are taken back to the game's picture,
  // truncated: through the device's placement of the back buffer where the window's buffer
  // has another size (a window manager's choice), then, in full screen at the desktop's
  // size, through ((x, y) - offset) / scale.
  void fScreenToClient(const QS_POINT& screenPoint, QS_POINT& clientPoint) const;

  static void fSleep(uint32_t milliseconds);
  static void fWndProc(platform::WindowHandle handle, uint32_t message, uintptr_t wParam, intptr_t lParam);

  platform::WindowHandle _hwnd = nullptr;
  platform::Cursor* _cursor = nullptr;
  int32_t _clientWidth = 1024;
  int32_t _clientHeight = 768;
  uint8_t _fullscreen = 0;
  int32_t _screenWidth = 0;
  int32_t _screenHeight = 0;
  uint32_t _style = 0;
  uint32_t _exStyle = 0;
  uint8_t _border = 1;
  uint8_t _resize = 0;
  uint8_t _minimizeBox = 1;
  uint8_t _maximizeBox = 0;
  uint8_t _extraFlag = 0;
  float _scale = 1.0f;
  QS_VECTOR2 _offset{0.0f, 0.0f};
  uint8_t _useDesktopSize = 0;
};

// Width and height of the desktop.
void fGetScreenSize(QS_POINT& point);
QS_POINT fGetScreenSize();
void fGetScreenSize(int32_t& width, int32_t& height);

// The system's millisecond tick.
uint32_t fGetTime();
uint32_t fGetTime(uint32_t* out);

// Typed characters reach the input object from the system's text input as their own
// messages; this produces only those that text input does not report (Tab and Esc).
// 1 when a character was written to the buffer, else -1.
int32_t fKeyToChar(uint32_t virtualKey, const uint8_t* keyState, wchar_t* buffer, int32_t bufferLength);

// Reads every waiting message and feeds mouse and keys into the input object. Returns 0.
int32_t fPumpMessages(QK_BUTTON* input, QC_WINDOW* window);

}  // namespace QEL
