#pragma once
// The abstract base of progress bars: a value in a range and its fraction of the range.
// Subclasses say what a changed value shows.
#include "gui/gui_object.h"

namespace QEL {

class QC_BASEPROGRESS : public QC_GUI_OBJECT {
 public:
  QC_BASEPROGRESS(int32_t id, float minimum, float maximum);
  explicit QC_BASEPROGRESS(int32_t id);

  // No clamping and no hook.
  QC_BASEPROGRESS* fSetRange(float minimum, float maximum);
  void fSetValue(float value);
  void fSetPercent(float percent);
  void fAddValue(float delta) { fSetValue(_value + delta); }
  void fAddPercent(float delta) { fSetPercent(100.0f * _normalized + delta); }
  float fGetMin() const { return _minimum; }
  float fGetMax() const { return _maximum; }
  float fGetValue() const { return _value; }
  float fGetPercent() const { return 100.0f * _normalized; }
  bool fIsFull() const { return _full; }

 protected:
  // Called after every change of the value.
  virtual void fOnValueChanged() = 0;

  bool _full = false;
  float _minimum = 0.0f;
  float _maximum = 100.0f;
  float _value = 0.0f;
  float _normalized = 0.0f;
};

}  // namespace QEL
