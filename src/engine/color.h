#pragma once
// A colour packed as 0xAARRGGBB. In memory the bytes run blue, green, red, alpha, so a
// little-endian read of the four bytes gives the word: the layout vertices carry to the device.
#include <cstdint>

namespace QEL {

struct QS_COLOR {
  uint8_t b, g, r, a;  // left unset by the default constructor

  QS_COLOR() = default;
  QS_COLOR(uint32_t argb) { *this = argb; }  // NOLINT: colours are written as plain words
  QS_COLOR(uint8_t a_, uint8_t r_, uint8_t g_, uint8_t b_) : b(b_), g(g_), r(r_), a(a_) {}

  QS_COLOR& operator=(uint32_t argb) {
    b = static_cast<uint8_t>(argb);
    g = static_cast<uint8_t>(argb >> 8);
    r = static_cast<uint8_t>(argb >> 16);
    a = static_cast<uint8_t>(argb >> 24);
    return *this;
  }
  uint32_t fToARGB() const {
    return (static_cast<uint32_t>(a) << 24) | (static_cast<uint32_t>(r) << 16) |
           (static_cast<uint32_t>(g) << 8) | static_cast<uint32_t>(b);
  }

  // Channel by channel, wrapping modulo 256.
  QS_COLOR operator+(const QS_COLOR& o) const;
  QS_COLOR operator-(const QS_COLOR& o) const;
  QS_COLOR operator*(uint8_t factor) const;
  QS_COLOR operator/(uint8_t divisor) const;  // divisor must not be 0
};

static_assert(sizeof(QS_COLOR) == 4, "QS_COLOR is the 4-byte diffuse colour");

// Reads hexadecimal text ("FF00FF00", "0x80ffffff") as 0xAARRGGBB; unreadable text gives 0,
// a value beyond 32 bits the largest 32-bit value.
QS_COLOR fHexToColor(const char* text);

}  // namespace QEL
