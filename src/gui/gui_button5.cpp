#include "gui/gui_button5.h"

#include "engine/texture.h"
#include "gui/gui_input.h"

namespace QEL {

QC_GUI_BUTTON5::QC_GUI_BUTTON5(int32_t id, QC_TEXTURE* texture) : QC_GUI_OBJECT(id) {
  _kind = 0;
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

QC_GUI_BUTTON5::~QC_GUI_BUTTON5() {
  gui_input::fUnscribe(_sprite->_texture);
  delete _hitShape;
  delete _sprite;
}

void QC_GUI_BUTTON5::showState() { _sprite->fSetFrame(5, 1, _state); }

QS_GUI_EVENT* QC_GUI_BUTTON5::fUpdate() {
  _event.code = GUI_EVENT_NONE;
  const bool over = _hitShape->fIsInside(static_cast<float>(*_mouseX), static_cast<float>(*_mouseY));
  const QT_CALLBACK_ARG self = reinterpret_cast<QT_CALLBACK_ARG>(this);
  if (_state == 0) {
    if (over) {
      _state = 1;
      QC_CALLBACK::fInvoke(_onEnter, self);
      _event.code = GUI_EVENT_ENTER;
      _focus = true;
    }
  } else if (_state == 1 || _state == 2) {
    if (_state == 2 && _latch && gui_input::fReleased(gui_input::kLeftButton)) {
      _latch = false;
      _state = 1;
      showState();
      QC_CALLBACK::fInvoke(_onClick, self);
      _event.code = GUI_EVENT_CLICK;
    }
    if (!over) {
      _state = 0;
      _latch = false;
      QC_CALLBACK::fInvoke(_onLeave, self);
      _event.code = GUI_EVENT_LEAVE;
      _focus = false;
    } else if (gui_input::fWentDown(gui_input::kLeftButton)) {
      _latch = true;
      _state = 2;
      QC_CALLBACK::fInvoke(_onPress, self);
      _event.code = GUI_EVENT_PRESS;
      return &_event;  // the pressed frame shows from the next update
    }
  }
  showState();
  return eventOrNull();
}

void QC_GUI_BUTTON5::fDraw() { _sprite->fDrawWorld(); }

float QC_GUI_BUTTON5::fGetWidth() { return _sprite->_vertices[1].x - _sprite->_vertices[0].x; }
float QC_GUI_BUTTON5::fGetHeight() { return _sprite->_vertices[2].y - _sprite->_vertices[0].y; }

void QC_GUI_BUTTON5::fEnable() {
  _state = 0;
  showState();
}

void QC_GUI_BUTTON5::fDisable() {
  _state = 4;
  showState();
}

void QC_GUI_BUTTON5::fSetSelected() {
  _state = 3;
  showState();
}

}  // namespace QEL
