#include "engine/timer.h"

#include "engine/window.h"

namespace QEL {

QC_TIMER::QC_TIMER() {
  _startTime = _currentTime = _lastTime = fGetTime();
}

float QC_TIMER::fUpdate() {
  _currentTime = fGetTime();
  _delta = static_cast<float>(_currentTime - _lastTime) / 1000.0f;
  if (_maxDelta != 0.0f && _delta > _maxDelta) _delta = _maxDelta;
  _lastTime = _currentTime;
  if (_output) *_output = _delta;
  _total += _delta;
  return _delta;
}

}  // namespace QEL
