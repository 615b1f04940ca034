#include "engine/window.h"

#include "engine/callback.h"
#include "engine/globals.h"
#include "engine/input.h"
#include "engine/log.h"
#include "engine/render.h"
#include "platform/device.h"

namespace QEL {

namespace {
constexpr uint32_t kOverlappedWindow = 0x00CF0000;
constexpr uint32_t kVisible = 0x10000000;
constexpr uint32_t kPopup = 0x80000000;
constexpr uint32_t kExTopmost = 0x00000008;
constexpr uint32_t kMinimizeBox = 0x00020000;
constexpr uint32_t kMaximizeBox = 0x00010000;
constexpr uint32_t kThickFrame = 0x00040000;
constexpr uint32_t kCaptionAndFrame = 0x00C40000;
constexpr uint32_t kCaption = 0x00C00000;
}  // namespace

QC_WINDOW::QC_WINDOW() {
  platform::setLogFunction(fLogWrite);
  fGetScreenSize(_screenWidth, _screenHeight);
}

int32_t QC_WINDOW::WindowInit(const std::string& titleUtf8) {
  fLog("===========================");
  fLog("WindowInit");
  if (!platform::initVideo()) {
    fLog("Не удалось зарегистрировать класс окна");
    return -1;
  }
  platform::setWindowProc(fWndProc);
  _style = kOverlappedWindow;
  int32_t outerWidth = 0, outerHeight = 0;
  fOuterSize(_clientWidth, _clientHeight, outerWidth, outerHeight);
  _hwnd = platform::createWindow(titleUtf8, outerWidth, outerHeight);
  if (!_hwnd) {
    fLog(" Window create error ");
    return -1;
  }
  fLog("Window created");
  fLog("===========================");
  _cursor = platform::arrowCursor();
  platform::useCursor(_cursor);
  fApplyStyle();
  fSetMode(_clientWidth, _clientHeight, _fullscreen != 0, _useDesktopSize != 0);
  platform::showWindow(_hwnd);
  return 1;
}

void QC_WINDOW::fDestroy() {
  if (!_hwnd) return;
  platform::destroyWindow(_hwnd);
  _hwnd = nullptr;
  _cursor = nullptr;
}

void QC_WINDOW::fSetTitle(const std::string& titleUtf8) { platform::setWindowTitle(_hwnd, titleUtf8); }

void QC_WINDOW::fSetMode(int32_t width, int32_t height, bool fullscreen, bool useDesktopSize) {
  _clientWidth = width;
  _clientHeight = height;
  _fullscreen = fullscreen ? 1 : 0;
  _useDesktopSize = useDesktopSize ? 1 : 0;
  if (fullscreen) {
    _style = kPopup;
    _exStyle = kExTopmost;
    platform::placeFullscreen(_hwnd);
    if (width != _screenWidth || height != _screenHeight) {
      // The renderer fits the picture into the desktop-sized back buffer the same way.
      const platform::PictureFit fit = platform::fitPicture(width, height, _screenWidth, _screenHeight);
      _scale = fit.scale;
      _offset = QS_VECTOR2(fit.x, fit.y);
    } else {
      _scale = 1.0f;
      _offset = QS_VECTOR2(0.0f, 0.0f);
    }
  } else {
    fApplyStyle();
    int32_t outerWidth = 0, outerHeight = 0;
    fOuterSize(width, height, outerWidth, outerHeight);
    const int32_t x = _screenWidth / 2 - outerWidth / 2;
    const int32_t y = _screenHeight / 2 - outerHeight / 2;
    platform::placeWindowed(_hwnd, x, y, width, height);
  }
}

void QC_WINDOW::fApplyStyle() {
  if (_fullscreen) return;
  _style = kVisible | kOverlappedWindow;
  _exStyle = 0;
  fLog("border", "= ", static_cast<int>(_border));
  fLog("minimize", "= ", static_cast<int>(_minimizeBox));
  fLog("maximize", "= ", static_cast<int>(_maximizeBox));
  fLog("resize", "= ", static_cast<int>(_resize));
  if (_border == 1) {
    if (_minimizeBox != 1) _style &= ~kMinimizeBox;
    if (_maximizeBox != 1) _style &= ~kMaximizeBox;
    if (_resize != 1) _style &= ~kThickFrame;
  } else {
    _style &= ~kCaptionAndFrame;
  }
  platform::setWindowBordered(_hwnd, (_style & kCaption) != 0);
  platform::setWindowResizable(_hwnd, (_style & kThickFrame) != 0);
}

void QC_WINDOW::fSetBorder(bool flag) {
  if (_fullscreen) return;
  _border = flag ? 1 : 0;
  fApplyStyle();
  fSetMode(_clientWidth, _clientHeight, false, _useDesktopSize != 0);
}

void QC_WINDOW::fSetResize(bool flag) {
  if (_fullscreen) return;
  _resize = flag ? 1 : 0;
  fApplyStyle();
  fSetMode(_clientWidth, _clientHeight, false, _useDesktopSize != 0);
}

void QC_WINDOW::fSetMinimizeBox(bool flag) {
  if (_fullscreen) return;
  _minimizeBox = flag ? 1 : 0;
  fApplyStyle();
  fSetMode(_clientWidth, _clientHeight, false, _useDesktopSize != 0);
}

void QC_WINDOW::fSetMaximizeBox(bool flag) {
  if (_fullscreen) return;
  _maximizeBox = flag ? 1 : 0;
  fApplyStyle();
  fSetMode(_clientWidth, _clientHeight, false, _useDesktopSize != 0);
}

void QC_WINDOW::fOuterSize(int32_t width, int32_t height, int32_t& outWidth, int32_t& outHeight) const {
  outWidth = width;
  outHeight = height;
}

void QC_WINDOW::fScreenToClient(const QS_POINT& screenPoint, QS_POINT& clientPoint) const {
  QS_VECTOR2 p(static_cast<float>(screenPoint.x), static_cast<float>(screenPoint.y));
  // A window the window manager sized otherwise than the back buffer shows that buffer
  // scaled and centred (the device's present): the pointer goes back through the same
  // placement first.
  if (qcRENDER != nullptr && qcRENDER->_device) qcRENDER->_device->windowToBackBuffer(p.x, p.y);
  if (_fullscreen == 1 && _useDesktopSize == 1 && _scale != 0.0f) p = (p - _offset) / _scale;
  clientPoint.fSet(static_cast<int32_t>(p.x), static_cast<int32_t>(p.y));
}

void QC_WINDOW::fSleep(uint32_t milliseconds) { platform::sleepMilliseconds(milliseconds); }

void QC_WINDOW::fWndProc(platform::WindowHandle, uint32_t message, uintptr_t wParam, intptr_t) {
  switch (message) {
    case platform::kMsgActivate:
      if (wParam == 0) {
        QC_CALLBACK::fInvoke(qcON_FOCUS_LOST, 0);
      } else if (wParam == 1 || wParam == 2) {
        QC_CALLBACK::fInvoke(qcON_FOCUS_GAINED, 0);
      }
      break;
    case platform::kMsgSetFocus: QC_CALLBACK::fInvoke(qcON_FOCUS_GAINED, 0); break;
    case platform::kMsgKillFocus: QC_CALLBACK::fInvoke(qcON_FOCUS_LOST, 0); break;
    case platform::kMsgClose: QC_CALLBACK::fInvoke(qcON_CLOSE, 0); break;
    default: break;
  }
  // Default handling would destroy the window on close; ours stays until the process ends,
  // since the device's context lives on it for the rest of the pass under way.
}

void fGetScreenSize(QS_POINT& point) {
  const platform::ScreenSize size = platform::desktopSize();
  point.fSet(size.width, size.height);
}

QS_POINT fGetScreenSize() {
  QS_POINT point;
  fGetScreenSize(point);
  return point;
}

void fGetScreenSize(int32_t& width, int32_t& height) {
  const platform::ScreenSize size = platform::desktopSize();
  width = size.width;
  height = size.height;
}

uint32_t fGetTime() { return platform::tickMilliseconds(); }

uint32_t fGetTime(uint32_t* out) {
  const uint32_t now = platform::tickMilliseconds();
  if (out) *out = now;
  return now;
}

int32_t fKeyToChar(uint32_t virtualKey, const uint8_t*, wchar_t* buffer, int32_t bufferLength) {
  if (!buffer || bufferLength < 2) return -1;
  if (virtualKey == 9 || virtualKey == 27) {
    buffer[0] = static_cast<wchar_t>(virtualKey);
    buffer[1] = 0;
    return 1;
  }
  return -1;
}

int32_t fPumpMessages(QK_BUTTON* input, QC_WINDOW* window) {
  platform::Message m;
  while (platform::peekMessage(m)) {
    switch (m.id) {
      case platform::kMsgMouseMove:
        if (input) {
          QS_POINT client(m.x, m.y);
          if (window) window->fScreenToClient(QS_POINT(m.x, m.y), client);
          input->fOnMouseMove(client.x, client.y);
        }
        break;
      case platform::kMsgLButtonDown: if (input) input->fOnKeyDown(1); break;
      case platform::kMsgLButtonUp: if (input) input->fOnKeyUp(1); break;
      case platform::kMsgRButtonDown: if (input) input->fOnKeyDown(2); break;
      case platform::kMsgRButtonUp: if (input) input->fOnKeyUp(2); break;
      case platform::kMsgMButtonDown: if (input) input->fOnKeyDown(4); break;
      case platform::kMsgMButtonUp: if (input) input->fOnKeyUp(4); break;
      case platform::kMsgKeyDown: if (input) input->fOnKeyDown(static_cast<uint32_t>(m.wParam)); break;
      case platform::kMsgKeyUp: if (input) input->fOnKeyUp(static_cast<uint32_t>(m.wParam)); break;
      case platform::kMsgChar: if (input) input->fOnChar(static_cast<wchar_t>(m.wParam)); break;
      case platform::kMsgClose: QC_CALLBACK::fInvoke(qcON_CLOSE, 0); break;
      default: break;
    }
    platform::dispatchMessage(m);
  }
  return 0;
}

}  // namespace QEL
