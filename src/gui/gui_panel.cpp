#include "gui/gui_panel.h"

#include "engine/texture.h"
#include "gui/gui_input.h"

namespace QEL {

QC_GUI_PANEL::QC_GUI_PANEL(int32_t id, QC_TEXTURE* texture) : QC_GUI_OBJECT(id) {
  _kind = 6;
  _sprite = new QC_SPRITE(texture, _node);
  _sprite->fSetAnchor(0, 0.0f, 0.0f);
  _width = _sprite->_width;
  _height = _sprite->_height;
  _hitShape = new QS_HIT_SHAPE(QS_HIT_SHAPE::TYPE_RECTANGLE, _node, static_cast<float>(_width),
                               static_cast<float>(_height), 0, 0);
  _mouseX = gui_input::fMouseX();
  _mouseY = gui_input::fMouseY();
}

QC_GUI_PANEL::~QC_GUI_PANEL() {
  gui_input::fUnscribe(_sprite->_texture);
  delete _hitShape;
  delete _sprite;
}

void QC_GUI_PANEL::fSetTexture(QC_TEXTURE* texture) {
  _sprite->fSetTexture(texture);
  fSetSize(static_cast<float>(_sprite->_width), static_cast<float>(_sprite->_height));
}

QS_GUI_EVENT* QC_GUI_PANEL::fUpdate() {
  using namespace gui_input;
  _event.code = GUI_EVENT_NONE;
  const QS_VECTOR2 position = _node->fGetPosition();
  const int32_t mx = *_mouseX;
  const int32_t my = *_mouseY;
  const bool over = _hitShape->fIsInside(static_cast<float>(mx), static_cast<float>(my));
  const QT_CALLBACK_ARG self = reinterpret_cast<QT_CALLBACK_ARG>(this);
  if (over && !_pointerOver) {
    QC_CALLBACK::fInvoke(_onEnter, self);
    _event.code = GUI_EVENT_ENTER;
    _pointerOver = true;
  } else if (!over && _pointerOver) {
    QC_CALLBACK::fInvoke(_onLeave, self);
    _event.code = GUI_EVENT_LEAVE;
    _pointerOver = false;
  }
  if (fWentDown(kLeftButton)) {
    if (_pointerOver) {
      _dragging = true;
      _focus = true;
      _grabX = static_cast<int32_t>(static_cast<float>(mx) - position.x);
      _grabY = static_cast<int32_t>(static_cast<float>(my) - position.y);
      QC_CALLBACK::fInvoke(_onPress, self);
      _event.code = GUI_EVENT_PRESS;
      return &_event;
    }
    _focus = false;
  }
  if (_dragging && _draggable) {
    fSetPosition(static_cast<float>(mx - _grabX), static_cast<float>(my - _grabY), 0.0f);
    QC_CALLBACK::fInvoke(_onChange, self);
    _event.code = GUI_EVENT_CHANGE;
  }
  if (fReleased(kLeftButton) && _pointerOver && _focus) {
    _dragging = false;
    QC_CALLBACK::fInvoke(_onClick, self);
    _event.code = GUI_EVENT_CLICK;
    return &_event;
  }
  return nullptr;
}

void QC_GUI_PANEL::fDraw() { _sprite->fDrawWorld(); }

void QC_GUI_PANEL::fSetSize(float w, float h) {
  _width = static_cast<int32_t>(w);
  _height = static_cast<int32_t>(h);
  _sprite->fSetSize(_width, _height);
  _sprite->fSetAnchor(0, 0.0f, 0.0f);
  _hitShape->fSetWidth(w);
  _hitShape->fSetHeight(h);
}

float QC_GUI_PANEL::fGetWidth() { return _sprite->_vertices[1].x - _sprite->_vertices[0].x; }
float QC_GUI_PANEL::fGetHeight() { return _sprite->_vertices[2].y - _sprite->_vertices[0].y; }

}  // namespace QEL
