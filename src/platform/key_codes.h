#pragma once
// The key codes that the input object, the widgets and the scenes compare: Windows
// virtual-key codes, as the window's key messages carry them (platform/window.h), and the
// mouse buttons as the input object numbers them. A letter or a digit is its capital's or
// digit's character code.
#include <cstdint>

namespace platform {

enum KEY : int32_t {
  LEFT_BUTTON = 1,
  RIGHT_BUTTON = 2,
  MIDDLE_BUTTON = 4,
  BACKSPACE = 8,
  RETURN = 13,
  SHIFT = 16,
  CONTROL = 17,
  CAPS_LOCK = 20,
  SPACE = 32,
  PAGE_UP = 33,
  PAGE_DOWN = 34,
  END = 35,
  HOME = 36,
  LEFT_ARROW = 37,
  UP_ARROW = 38,
  RIGHT_ARROW = 39,
  DOWN_ARROW = 40,
  INSERT = 45,
  DELETE = 46,
  KEY_1 = '1',
  KEY_2 = '2',
  KEY_3 = '3',
  KEY_A = 'A',
  KEY_D = 'D',
  KEY_O = 'O',
  KEY_S = 'S',
  KEY_T = 'T',
  KEY_W = 'W',
  KEY_X = 'X',
  KEY_Z = 'Z',
  NUMPAD_STAR = 106,
  EQUALS = 187,
  MINUS = 189,
  GRAVE = 192,
};

}  // namespace platform
