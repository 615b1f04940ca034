#pragma once
// The input object: one state byte per Windows virtual-key code (mouse buttons use 1 left,
// 2 right, 4 middle), the characters typed since the last end of frame, the last key and the
// mouse position.
// The message pump feeds it, each feed invokes its callback, and the main loop ends its
// frame once per due update step.
//
// State bytes: 0 up; 1 went down this frame; 2..125 held (growing by one per frame and
// wrapping from 125 to 2); 255 released this frame. Code 20 mirrors Shift (16) and does
// not advance while it is held.
//
// A key that goes down and comes up again before any update has looked (a tap on a touchpad,
// a remote desktop's click, a quick Backspace) still reads 1 for one update and 255 for the
// next: the widgets act on those two edges and would otherwise never see the press.
//
// Likewise every character typed between two updates is kept, in order, each with the key
// that was down when it came: a quick typist or key rollover brings several keys to one
// pump, and a box that saw only the last of them would lose the others.
#include <bitset>
#include <cstdint>

#include "engine/vectors.h"

namespace QEL {

struct QS_MOUSE_STATE {
  int32_t _reserved = 0;
  QS_POINT _position{0, 0};
  QS_POINT _previousPosition{0, 0};  // the position at the end of the previous frame
  uint8_t _flags[2] = {0, 0};
  int32_t _last = -1;
};

class QK_BUTTON {
 public:
  // Points qcMOUSE_POSITION at its mouse position and records itself as qcINPUT_INSTANCE.
  QK_BUTTON();
  ~QK_BUTTON();

  void fOnKeyDown(uint32_t code);
  void fOnKeyUp(uint32_t code);
  void fOnMouseMove(int32_t x, int32_t y);
  // A character typed on the keyboard (from the system's text input).
  void fOnChar(wchar_t character);
  int32_t fEndFrame();

  uint8_t fGetState(uint32_t code) const { return code < 256 ? _states[code] : 0; }
  bool fIsPressed(uint32_t code) const { return fGetState(code) == 1; }
  bool fIsReleased(uint32_t code) const { return fGetState(code) == 255; }
  // Backspace, Enter, Shift, Ctrl, End, Home, the arrows, Insert and Delete: keys that type
  // nothing. Logs "isSystemKey: " and the code for each of them.
  bool isSystemKey(uint32_t code) const;

  // The first character typed since the last end of frame, 0 when none.
  wchar_t fGetTypedChar() const { return _typedText[0]; }
  // All of them, in the order typed, ended by a 0.
  const wchar_t* fGetTypedText() const { return _typedText; }
  uint32_t fGetTypedCount() const { return _typedCount; }
  // The last key down when the character at `index` came, 0 when none was: the boxes tell by
  // it whether the character was typed.
  uint32_t fGetTypedKey(uint32_t index) const { return index < _typedCount ? _typedKeys[index] : 0; }
  uint32_t fGetLastKey() const { return _lastKey; }
  QS_POINT fGetMousePosition() const { return _mouse._position; }
  QS_POINT fGetPreviousMousePosition() const { return _mouse._previousPosition; }

  // More than any box holds; what comes beyond it in one update is dropped and logged.
  static constexpr uint32_t kTypedCapacity = 64;

  uint8_t _states[256] = {};
  wchar_t _typedText[kTypedCapacity + 1] = {};
  uint32_t _typedKeys[kTypedCapacity] = {};
  uint32_t _typedCount = 0;
  uint32_t _lastKey = 0;
  QS_MOUSE_STATE _mouse;

 private:
  void release(uint32_t code);
  void addTyped(wchar_t character, uint32_t key);

  std::bitset<256> _downSinceEndFrame;  // went down since the last end of frame: no update saw it yet
  std::bitset<256> _releaseDue;         // let go before any update saw the press
  bool _typedOverflowLogged = false;
};

// Reached by the widgets and buttons, which poll the states themselves.
extern QK_BUTTON* qcINPUT_INSTANCE;
extern QS_POINT* qcMOUSE_POSITION;

}  // namespace QEL
