#include "engine/color.h"

#include <cstdlib>

namespace QEL {

QS_COLOR QS_COLOR::operator+(const QS_COLOR& o) const {
  return QS_COLOR(static_cast<uint8_t>(a + o.a), static_cast<uint8_t>(r + o.r),
                  static_cast<uint8_t>(g + o.g), static_cast<uint8_t>(b + o.b));
}

QS_COLOR QS_COLOR::operator-(const QS_COLOR& o) const {
  return QS_COLOR(static_cast<uint8_t>(a - o.a), static_cast<uint8_t>(r - o.r),
                  static_cast<uint8_t>(g - o.g), static_cast<uint8_t>(b - o.b));
}

QS_COLOR QS_COLOR::operator*(uint8_t factor) const {
  return QS_COLOR(static_cast<uint8_t>(a * factor), static_cast<uint8_t>(r * factor),
                  static_cast<uint8_t>(g * factor), static_cast<uint8_t>(b * factor));
}

QS_COLOR QS_COLOR::operator/(uint8_t divisor) const {
  if (divisor == 0) return *this;  // no sane quotient; keep the colour rather than trap
  return QS_COLOR(static_cast<uint8_t>(a / divisor), static_cast<uint8_t>(r / divisor),
                  static_cast<uint8_t>(g / divisor), static_cast<uint8_t>(b / divisor));
}

QS_COLOR fHexToColor(const char* text) {
  if (!text) return QS_COLOR(0u);
  // strtoul is 64 bits wide here; clamp as a 32-bit reader would.
  unsigned long value = std::strtoul(text, nullptr, 16);
  if (value > 0xFFFFFFFFul) value = 0xFFFFFFFFul;
  return QS_COLOR(static_cast<uint32_t>(value));
}

}  // namespace QEL
