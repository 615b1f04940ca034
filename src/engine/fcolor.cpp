#include "engine/fcolor.h"

namespace QEL {
namespace {
constexpr float kByteToUnit = 0.003921569f;

uint32_t channelToByte(float c) {
  if (c >= 1.0f) return 255;
  if (c <= 0.0f) return 0;
  return static_cast<uint32_t>(c * 255.0f + 0.5f);
}
}  // namespace

QS_FCOLOR::QS_FCOLOR(uint32_t argb)
    : r(static_cast<float>((argb >> 16) & 255) * kByteToUnit),
      g(static_cast<float>((argb >> 8) & 255) * kByteToUnit),
      b(static_cast<float>(argb & 255) * kByteToUnit),
      a(static_cast<float>((argb >> 24) & 255) * kByteToUnit) {}

uint32_t QS_FCOLOR::fToARGB() const {
  return (channelToByte(a) << 24) | (channelToByte(r) << 16) | (channelToByte(g) << 8) | channelToByte(b);
}

}  // namespace QEL
