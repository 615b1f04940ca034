#include "engine/input.h"

#include "engine/callback.h"
#include "engine/log.h"
#include "engine/window.h"
#include "platform/key_codes.h"

namespace QEL {

QK_BUTTON* qcINPUT_INSTANCE = nullptr;
QS_POINT* qcMOUSE_POSITION = nullptr;

namespace {
constexpr uint32_t kShift = platform::SHIFT;
constexpr uint32_t kShiftMirror = platform::CAPS_LOCK;
constexpr int32_t kKeyTextLength = 6;  // the longest text one key's translation gives, with its end
}  // namespace

QK_BUTTON::QK_BUTTON() {
  qcMOUSE_POSITION = &_mouse._position;
  qcINPUT_INSTANCE = this;
}

QK_BUTTON::~QK_BUTTON() {
  if (qcINPUT_INSTANCE == this) qcINPUT_INSTANCE = nullptr;
  if (qcMOUSE_POSITION == &_mouse._position) qcMOUSE_POSITION = nullptr;
}

void QK_BUTTON::fOnKeyDown(uint32_t code) {
  _lastKey = code;
  if (code == kShift) {
    _states[kShift] = 1;
    _states[kShiftMirror] = 1;
    _releaseDue.reset(kShift);
    _releaseDue.reset(kShiftMirror);
    _downSinceEndFrame.set(kShift);
    _downSinceEndFrame.set(kShiftMirror);
  } else if (code < 256) {
    if (_releaseDue.test(code)) {
      _releaseDue.reset(code);  // down again before any update saw it go: still the one press
    } else if (_states[code] == 255) {
      _states[code] = 1;  // let go and pressed again in one pump: a new press, not an idle key
    } else {
      // A held key's repeated key-down messages push its state up.
      const int8_t state = static_cast<int8_t>(_states[code]);
      _states[code] = state <= 120 ? static_cast<uint8_t>(state + 1) : 2;
    }
    if (_states[code] == 1) _downSinceEndFrame.set(code);
  }
  if (!isSystemKey(code)) {
    wchar_t keyText[kKeyTextLength] = {};
    const int32_t length = fKeyToChar(code, _states, keyText, kKeyTextLength);
    for (int32_t i = 0; i < length && i < kKeyTextLength; ++i) addTyped(keyText[i], code);
  }
  QC_CALLBACK::fInvoke(qcON_KEY_DOWN, code);
}

void QK_BUTTON::fOnKeyUp(uint32_t code) {
  if (code == kShift) {
    release(kShift);
    release(kShiftMirror);
  } else if (code < 256) {
    release(code);
  }
  QC_CALLBACK::fInvoke(qcON_KEY_UP, code);
}

// The callbacks hear the release at once; the state shows it only after an update has seen
// the press.
void QK_BUTTON::release(uint32_t code) {
  if (_downSinceEndFrame.test(code)) {
    _releaseDue.set(code);
  } else {
    _states[code] = 255;
  }
}

void QK_BUTTON::fOnMouseMove(int32_t x, int32_t y) {
  _mouse._position.fSet(x, y);
  QC_CALLBACK::fInvoke(qcON_MOUSE_MOVE, 0);
}

void QK_BUTTON::fOnChar(wchar_t character) { addTyped(character, _lastKey); }

void QK_BUTTON::addTyped(wchar_t character, uint32_t key) {
  if (character == 0) return;
  if (_typedCount == kTypedCapacity) {
    if (!_typedOverflowLogged) fLog("Typed text: more than ", kTypedCapacity, " characters in one update, the rest dropped");
    _typedOverflowLogged = true;
    return;
  }
  _typedKeys[_typedCount] = key;
  _typedText[_typedCount++] = character;
  _typedText[_typedCount] = 0;
}

int32_t QK_BUTTON::fEndFrame() {
  _mouse._previousPosition = _mouse._position;
  _lastKey = 0;
  _typedText[0] = 0;
  _typedCount = 0;
  _typedOverflowLogged = false;
  for (uint32_t code = 0; code < 256; ++code) {
    uint8_t& state = _states[code];
    if (_releaseDue.test(code)) {
      state = 255;
    } else if (state == 255) {
      state = 0;
    } else if (code != kShiftMirror && state != 0) {
      ++state;
      if (state > 125) state = 2;
    }
  }
  _releaseDue.reset();
  _downSinceEndFrame.reset();
  return 0;
}

bool QK_BUTTON::isSystemKey(uint32_t code) const {
  using enum platform::KEY;
  const bool system = code == BACKSPACE || code == RETURN || code == SHIFT || code == CONTROL ||
                      (code >= END && code <= DOWN_ARROW) || code == INSERT || code == DELETE;
  if (system) fLog("isSystemKey: ", code);
  return system;
}

}  // namespace QEL
