#include "gui/gui_progress.h"

namespace QEL {

QC_BASEPROGRESS::QC_BASEPROGRESS(int32_t id, float minimum, float maximum)
    : QC_GUI_OBJECT(id), _minimum(minimum), _maximum(maximum), _value(minimum), _normalized(0.0f) {}

QC_BASEPROGRESS::QC_BASEPROGRESS(int32_t id) : QC_GUI_OBJECT(id) {}

QC_BASEPROGRESS* QC_BASEPROGRESS::fSetRange(float minimum, float maximum) {
  _minimum = minimum;
  _maximum = maximum;
  return this;
}

void QC_BASEPROGRESS::fSetValue(float value) {
  _value = value;
  if (_minimum > value) {
    _value = _minimum;
  } else if (value > _maximum) {
    _value = _maximum;
  }
  // An empty range has nowhere to go but its end.
  const float range = _maximum - _minimum;
  _normalized = range != 0.0f ? (_value - _minimum) / range : 1.0f;
  _full = _normalized >= 1.0f;
  fOnValueChanged();
}

void QC_BASEPROGRESS::fSetPercent(float percent) {
  float n = percent / 100.0f;
  if (n < 0.0f) n = 0.0f;
  if (n > 1.0f) n = 1.0f;
  _normalized = n;
  _value = _minimum + n * (_maximum - _minimum);
  _full = n >= 1.0f;
  fOnValueChanged();
}

}  // namespace QEL
