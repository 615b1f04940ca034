#include "gui/gui_checkbox5.h"

#include "engine/texture.h"
#include "gui/gui_input.h"

namespace QEL {

QC_GUI_CHECKBOX5::QC_GUI_CHECKBOX5(int32_t id, QC_TEXTURE* texture) : QC_GUI_OBJECT(id) {
  _kind = 1;
  const QS_POINT size = texture != nullptr ? texture->fGetSize() : QS_POINT(0, 0);
  const float frameWidth = 0.2f * static_cast<float>(size.x);
  _sprite = new QC_SPRITE(texture, _node);
  _sprite->fSetSize(static_cast<int32_t>(frameWidth), size.y);
  _sprite->fSetAnchor(0, 0.0f, 0.0f);
  _sprite->fSetFrame(5, 1, 0);
  _hitShape = new QS_HIT_SHAPE(QS_HIT_SHAPE::TYPE_RECTANGLE, _node, frameWidth, static_cast<float>(size.y), 0, 0);
  _mouseX = gui_input::fMouseX();
  _mouseY = gui_input::fMouseY();
}

QC_GUI_CHECKBOX5::~QC_GUI_CHECKBOX5() {
  gui_input::fUnscribe(_sprite->_texture);
  delete _hitShape;
  delete _sprite;
}

QS_GUI_EVENT* QC_GUI_CHECKBOX5::fUpdate() {
  using namespace gui_input;
  _event.code = GUI_EVENT_NONE;
  const bool over = _hitShape->fIsInside(static_cast<float>(*_mouseX), static_cast<float>(*_mouseY));
  const QT_CALLBACK_ARG self = reinterpret_cast<QT_CALLBACK_ARG>(this);
  QS_GUI_EVENT* result = nullptr;
  switch (_state) {
    case 0:
      if (over) {
        _state = 1;
        QC_CALLBACK::fInvoke(_onEnter, self);
        _event.code = GUI_EVENT_ENTER;
        _focus = true;
      }
      break;
    case 2:
      if (_latch && fReleased(kLeftButton)) {
        _latch = false;  // the release ends the press, so the ticked box is not drawn pressed
        _state = 3;
        _sprite->fSetFrame(5, 1, 3);
        QC_CALLBACK::fInvoke(_onClick, self);
        _event.code = GUI_EVENT_CLICK;
        return &_event;
      }
      [[fallthrough]];
    case 1:
      if (!over) {
        _state = 0;
        _latch = false;
        QC_CALLBACK::fInvoke(_onLeave, self);
        _event.code = GUI_EVENT_LEAVE;
        _focus = false;
      } else if (fWentDown(kLeftButton)) {
        _latch = true;
        _state = 2;
        QC_CALLBACK::fInvoke(_onPress, self);
        _event.code = GUI_EVENT_PRESS;
        return &_event;  // the pressed frame shows from the next update
      }
      break;
    case 3:
      if (_latch && fReleased(kLeftButton)) {
        _latch = false;
        _state = 1;
        _sprite->fSetFrame(5, 1, 1);
        QC_CALLBACK::fInvoke(_onClick, self);
        _event.code = GUI_EVENT_CLICK;
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
  _sprite->fSetFrame(5, 1, _state);
  return result;
}

void QC_GUI_CHECKBOX5::fDraw() {
  if (_state == 3) {
    const int32_t under = _overWhileTicked ? (_latch ? 2 : 1) : 0;
    _sprite->fSetFrame(5, 1, under);
    _sprite->fDrawWorld();
    _sprite->fSetFrame(5, 1, 3);
  }
  _sprite->fDrawWorld();
}

void QC_GUI_CHECKBOX5::fSetSize(float w, float h) {
  _sprite->fSetSize(static_cast<int32_t>(w), static_cast<int32_t>(h));
  _sprite->fSetAnchor(0, 0.0f, 0.0f);
  _hitShape->fSetWidth(w);
  _hitShape->fSetHeight(h);
}

float QC_GUI_CHECKBOX5::fGetWidth() { return _sprite->_vertices[1].x - _sprite->_vertices[0].x; }
float QC_GUI_CHECKBOX5::fGetHeight() { return _sprite->_vertices[2].y - _sprite->_vertices[0].y; }

}  // namespace QEL
