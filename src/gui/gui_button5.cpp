#include "gui/gui_button5.h"

#include "gui/gui_input.h"

namespace QEL {

QC_GUI_BUTTON5::QC_GUI_BUTTON5(int32_t id, QC_TEXTURE* texture) : QC_GUI_STRIP_BUTTON(id, texture) { _kind = 0; }

QS_GUI_EVENT* QC_GUI_BUTTON5::fUpdate() {
  _event.code = GUI_EVENT_NONE;
  const bool over = pointerOver();
  if (_state == 0) {
    if (over) enter();
  } else if (_state == 1 || _state == 2) {
    if (_state == 2 && _latch && gui_input::fReleased(gui_input::kLeftButton)) completeClick(1);
    if (leaveOrPress(over)) return &_event;  // the pressed frame shows from the next update
  }
  showFrame(_state);
  return eventOrNull();
}

void QC_GUI_BUTTON5::fDraw() { _sprite->fDrawWorld(); }

void QC_GUI_BUTTON5::fEnable() {
  _state = 0;
  showFrame(_state);
}

void QC_GUI_BUTTON5::fDisable() {
  _state = 4;
  showFrame(_state);
}

void QC_GUI_BUTTON5::fSetSelected() {
  _state = 3;
  showFrame(_state);
}

}  // namespace QEL
