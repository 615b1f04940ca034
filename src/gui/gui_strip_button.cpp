#include "gui/gui_strip_button.h"

#include "engine/texture.h"
#include "gui/gui_input.h"

namespace QEL {

QC_GUI_STRIP_BUTTON::QC_GUI_STRIP_BUTTON(int32_t id, QC_TEXTURE* texture) : QC_GUI_OBJECT(id) {
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

QC_GUI_STRIP_BUTTON::~QC_GUI_STRIP_BUTTON() {
  gui_input::fUnscribe(_sprite->_texture);
  delete _hitShape;
  delete _sprite;
}

float QC_GUI_STRIP_BUTTON::fGetWidth() { return _sprite->_vertices[1].x - _sprite->_vertices[0].x; }
float QC_GUI_STRIP_BUTTON::fGetHeight() { return _sprite->_vertices[2].y - _sprite->_vertices[0].y; }

bool QC_GUI_STRIP_BUTTON::pointerOver() const {
  return _hitShape->fIsInside(static_cast<float>(*_mouseX), static_cast<float>(*_mouseY));
}

void QC_GUI_STRIP_BUTTON::enter() {
  _state = 1;
  QC_CALLBACK::fInvoke(_onEnter, self());
  _event.code = GUI_EVENT_ENTER;
  _focus = true;
}

bool QC_GUI_STRIP_BUTTON::leaveOrPress(bool over) {
  if (!over) {
    _state = 0;
    _latch = false;
    QC_CALLBACK::fInvoke(_onLeave, self());
    _event.code = GUI_EVENT_LEAVE;
    _focus = false;
    return false;
  }
  if (!gui_input::fWentDown(gui_input::kLeftButton)) return false;
  _latch = true;
  _state = 2;
  QC_CALLBACK::fInvoke(_onPress, self());
  _event.code = GUI_EVENT_PRESS;
  return true;
}

void QC_GUI_STRIP_BUTTON::completeClick(int32_t clickedState) {
  _latch = false;
  _state = clickedState;
  showFrame(clickedState);
  QC_CALLBACK::fInvoke(_onClick, self());
  _event.code = GUI_EVENT_CLICK;
}

}  // namespace QEL
