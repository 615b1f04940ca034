#include "gui/gui_checkbox5.h"

#include "gui/gui_input.h"

namespace QEL {

QC_GUI_CHECKBOX5::QC_GUI_CHECKBOX5(int32_t id, QC_TEXTURE* texture) : QC_GUI_STRIP_BUTTON(id, texture) { _kind = 1; }

QS_GUI_EVENT* QC_GUI_CHECKBOX5::fUpdate() {
  using namespace gui_input;
  _event.code = GUI_EVENT_NONE;
  const bool over = pointerOver();
  const QT_CALLBACK_ARG self = reinterpret_cast<QT_CALLBACK_ARG>(this);
  QS_GUI_EVENT* result = nullptr;
  switch (_state) {
    case 0:
      if (over) enter();
      // Entered in the update of a press (a touch): the press counts, as on a button.
      if (_state == 1 && leaveOrPress(over)) return &_event;
      break;
    case 2:
      if (_latch && fReleased(kLeftButton)) {
        // The release ends the press, so the ticked box is not drawn pressed.
        completeClick(3);
        return &_event;
      }
      [[fallthrough]];
    case 1:
      if (leaveOrPress(over)) return &_event;  // the pressed frame shows from the next update
      break;
    case 3:
      if (_latch && fReleased(kLeftButton)) {
        completeClick(1);
        return &_event;
      }
      if (over && fWentDown(kLeftButton)) {
        _overWhileTicked = true;
        _latch = true;
        QC_CALLBACK::fInvoke(_onPress, self);
        _event.code = GUI_EVENT_PRESS;
        result = &_event;
      } else if (over) {
        _overWhileTicked = true;
      } else {
        _overWhileTicked = false;
        _latch = false;
      }
      break;
    default:
      break;
  }
  showFrame(_state);
  return result;
}

void QC_GUI_CHECKBOX5::fDraw() {
  if (_state == 3) {
    const int32_t under = _overWhileTicked ? (_latch ? 2 : 1) : 0;
    showFrame(under);
    _sprite->fDrawWorld();
    showFrame(3);
  }
  _sprite->fDrawWorld();
}

void QC_GUI_CHECKBOX5::fSetSize(float w, float h) {
  _sprite->fSetSize(static_cast<int32_t>(w), static_cast<int32_t>(h));
  _sprite->fSetAnchor(0, 0.0f, 0.0f);
  _hitShape->fSetWidth(w);
  _hitShape->fSetHeight(h);
}

}  // namespace QEL
