#pragma once
// A colour as four floats 0..1, converted to and from the packed 0xAARRGGBB form.
#include <cstdint>

namespace QEL {

struct QS_FCOLOR {
  float r = 0.0f, g = 0.0f, b = 0.0f, a = 0.0f;

  QS_FCOLOR() = default;
  QS_FCOLOR(float r_, float g_, float b_, float a_) : r(r_), g(g_), b(b_), a(a_) {}
  explicit QS_FCOLOR(uint32_t argb);

  uint32_t fToARGB() const;

  QS_FCOLOR operator+(const QS_FCOLOR& o) const { return {r + o.r, g + o.g, b + o.b, a + o.a}; }
  QS_FCOLOR operator-(const QS_FCOLOR& o) const { return {r - o.r, g - o.g, b - o.b, a - o.a}; }
  QS_FCOLOR operator*(const QS_FCOLOR& o) const { return {r * o.r, g * o.g, b * o.b, a * o.a}; }
  QS_FCOLOR operator*(float s) const { return {r * s, g * s, b * s, a * s}; }
  QS_FCOLOR operator/(float s) const { return {r / s, g / s, b / s, a / s}; }
  QS_FCOLOR& operator+=(const QS_FCOLOR& o) { r += o.r; g += o.g; b += o.b; a += o.a; return *this; }
  QS_FCOLOR& operator-=(const QS_FCOLOR& o) { r -= o.r; g -= o.g; b -= o.b; a -= o.a; return *this; }
  QS_FCOLOR& operator*=(float s) { r *= s; g *= s; b *= s; a *= s; return *this; }
  bool operator==(const QS_FCOLOR& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
  bool operator!=(const QS_FCOLOR& o) const { return !(*this == o); }
};

}  // namespace QEL
