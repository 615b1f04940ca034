#pragma once
// The 32-bit word of drawing flags that every draw carries. The renderer batches consecutive
// draws with equal words and turns each change of the word into device states.
#include <cstdint>
#include <cstring>

namespace QEL {

struct QS_RENDER_STATE {
  // Bit fields from bit 0 upwards; callers set them directly.
  uint32_t _opaque : 1;     // 0: set over a clear word switches blending off
  uint32_t _blend : 1;      // 1: alpha blending
  uint32_t _additive : 1;   // 2: destination factor one instead of inverse source alpha
  uint32_t _unused3 : 1;    // 3
  uint32_t _filter : 4;     // 4-7: 0 none, 1 point, 2 linear, 3 anisotropic
  uint32_t _unused8 : 1;    // 8
  uint32_t _depth : 1;      // 9: depth test
  uint32_t _textured : 1;   // 10: bind the draw's texture
  uint32_t _unused11 : 1;   // 11
  uint32_t _primitive : 3;  // 12-14: 0 points, 1 lines, 2 triangles, 3 point sprites
  uint32_t _screen : 1;     // 15: screen space (set) or camera space (clear)
  uint32_t _high : 16;      // 16-31: compared, never applied

  enum : uint32_t {
    BIT_OPAQUE = 1u << 0,
    BIT_BLEND = 1u << 1,
    BIT_ADDITIVE = 1u << 2,
    BIT_DEPTH = 1u << 9,
    BIT_TEXTURED = 1u << 10,
    BIT_SCREEN = 1u << 15,
  };
  enum : uint32_t { PRIMITIVE_POINTS = 0, PRIMITIVE_LINES = 1, PRIMITIVE_TRIANGLES = 2, PRIMITIVE_SPRITES = 3 };
  enum : uint32_t { FILTER_NONE = 0, FILTER_POINT = 1, FILTER_LINEAR = 2, FILTER_ANISOTROPIC = 3 };

  QS_RENDER_STATE() { fReset(); }
  explicit QS_RENDER_STATE(uint32_t word) { fSetWord(word); }

  void fReset() { fSetWord(0); }
  uint32_t fGetWord() const {
    uint32_t word;
    std::memcpy(&word, this, sizeof word);
    return word;
  }
  void fSetWord(uint32_t word) { std::memcpy(static_cast<void*>(this), &word, sizeof word); }

  bool operator==(const QS_RENDER_STATE& o) const { return fGetWord() == o.fGetWord(); }
  bool operator!=(const QS_RENDER_STATE& o) const { return fGetWord() != o.fGetWord(); }
};

static_assert(sizeof(QS_RENDER_STATE) == 4, "the render state is one 32-bit word");

}  // namespace QEL
