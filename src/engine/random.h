#pragma once
// The engine's own linear congruential generator. The game's choices use the C library's
// generator; this one serves the particles and the geometric helpers through
// qcRANDOM_INSTANCE (globals.h).
#include <cstdint>

#include "engine/vectors.h"

namespace QEL {

class QC_RANDOM {
 public:
  // Records itself as qcRANDOM_INSTANCE.
  explicit QC_RANDOM(uint32_t seed = 0);
  ~QC_RANDOM();

  void fSetSeed(uint32_t seed) { _seed = seed; }

  // One step: seed * 1664525 + 1013904223 (mod 2^32); returns the seed's low 31 bits.
  uint32_t fNext();

  // lo when lo == hi (no step taken); otherwise lo + step % (hi - lo), so hi is exclusive
  // when hi > lo.
  int32_t fGetInt(int32_t lo, int32_t hi);

  // One step, then lo + (seed >> 16) / 65535 * (hi - lo): hi itself can come out.
  float fGetFloat(float lo, float hi);
  float fGetFloat() { return fGetFloat(-10000.0f, 10000.0f); }

  // x drawn first, then y, each as fGetInt.
  QS_POINT fGetPoint(const QS_POINT& lo, const QS_POINT& hi);

  // Even odds, from the generator's high bits (its low bits merely alternate).
  bool fGetBool();

  uint32_t _seed = 0;
};

}  // namespace QEL
