#include "gui/gui_button5.h"

#include "gui/gui_input.h"

namespace QEL {

QC_GUI_BUTTON5::QC_GUI_BUTTON5(int32_t id, QC_TEXTURE* texture) : QC_GUI_STRIP_BUTTON(id, texture) { _kind = 0; }

QS_GUI_EVENT* QC_GUI_BUTTON5::fUpdate() {
  _event.code = GUI_EVENT_NONE;
  const bool over = pointerOver();
  if (_state == 0) {
    if (over) enter();
    // A touch, or a remote desktop's click, brings the pointer and the press in one pump: the
    // button it enters takes the press at once, which the next update would no longer see.
    if (_state == 1 && leaveOrPress(over)) return &_event;
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
