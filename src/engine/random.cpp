#include "engine/random.h"

#include "engine/globals.h"

namespace QEL {

QC_RANDOM::QC_RANDOM(uint32_t seed) : _seed(seed) { qcRANDOM_INSTANCE = this; }

QC_RANDOM::~QC_RANDOM() {
  if (qcRANDOM_INSTANCE == this) qcRANDOM_INSTANCE = nullptr;
}

uint32_t QC_RANDOM::fNext() {
  _seed = _seed * 1664525u + 1013904223u;
  return _seed & 0x7FFFFFFFu;
}

int32_t QC_RANDOM::fGetInt(int32_t lo, int32_t hi) {
  if (lo == hi) return lo;
  // 64-bit so that a range wider than 2^31 neither overflows nor divides by a wrapped value.
  const int64_t range = static_cast<int64_t>(hi) - static_cast<int64_t>(lo);
  const int64_t step = static_cast<int64_t>(fNext());
  return static_cast<int32_t>(static_cast<int64_t>(lo) + step % range);
}

float QC_RANDOM::fGetFloat(float lo, float hi) {
  fNext();
  return lo + static_cast<float>(_seed >> 16) * 1.5259022e-5f * (hi - lo);
}

QS_POINT QC_RANDOM::fGetPoint(const QS_POINT& lo, const QS_POINT& hi) {
  const int32_t x = fGetInt(lo.x, hi.x);
  const int32_t y = fGetInt(lo.y, hi.y);
  return QS_POINT(x, y);
}

bool QC_RANDOM::fGetBool() { return (fNext() >> 30) != 0u; }

}  // namespace QEL
