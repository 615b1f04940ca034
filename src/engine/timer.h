#pragma once
// Seconds between two calls, from the system's millisecond tick. The engine keeps two: the
// global one behind qcTIMER, whose output is qcFRAME_DELTA, and the game object's pacing
// timer.
#include <cstdint>

namespace QEL {

class QC_TIMER {
 public:
  QC_TIMER();

  // Seconds since the previous update (the unsigned tick difference, so a wrap of the tick
  // still gives a small positive delta), capped at the maximum delta when that is not 0.
  // Also written to the output, when set, and added to the total.
  float fUpdate();

  void fSetOutput(float* output) { _output = output; }
  void fSetMaxDelta(float seconds) { _maxDelta = seconds; }
  float fGetDelta() const { return _delta; }
  float fGetTotal() const { return _total; }

  float* _output = nullptr;
  uint32_t _startTime = 0;
  uint32_t _currentTime = 0;
  uint32_t _lastTime = 0;
  float _total = 0.0f;
  float _delta = 0.0f;
  float _maxDelta = 0.0f;
};

}  // namespace QEL
