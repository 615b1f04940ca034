#include "gui/gui_image.h"

#include "engine/texture.h"
#include "gui/gui_input.h"

namespace QEL {

QC_GUI_IMAGE::QC_GUI_IMAGE(int32_t id, QC_TEXTURE* texture) : QC_GUI_OBJECT(id) {
  _kind = 8;
  _sprite = new QC_SPRITE(texture, _node);
  _sprite->fSetAnchor(0, 0.0f, 0.0f);
  _hitShape = new QS_HIT_SHAPE(QS_HIT_SHAPE::TYPE_RECTANGLE, _node, fGetWidth(), fGetHeight(), 0, 0);
  _mouseX = gui_input::fMouseX();
  _mouseY = gui_input::fMouseY();
}

QC_GUI_IMAGE::~QC_GUI_IMAGE() {
  gui_input::fUnscribe(_sprite->_texture);
  delete _hitShape;
  delete _sprite;
}

void QC_GUI_IMAGE::fSetTexture(QC_TEXTURE* texture) {
  // Handing back the texture that stays in use would drop a count that is still needed.
  if (texture != _sprite->_texture) gui_input::fUnscribe(_sprite->_texture);
  _sprite->fSetTexture(texture);
  _sprite->fSetAnchor(0, 0.0f, 0.0f);
}

QS_GUI_EVENT* QC_GUI_IMAGE::fUpdate() {
  _event.code = GUI_EVENT_NONE;
  if (gui_input::fWentDown(gui_input::kLeftButton) &&
      _hitShape->fIsInside(static_cast<float>(*_mouseX), static_cast<float>(*_mouseY))) {
    _event.code = GUI_EVENT_PRESS;
    return &_event;
  }
  return nullptr;
}

void QC_GUI_IMAGE::fDraw() { _sprite->fDrawWorld(); }

void QC_GUI_IMAGE::fSetSize(float w, float h) {
  _sprite->fSetSize(static_cast<int32_t>(w), static_cast<int32_t>(h));
  _sprite->fSetAnchor(0, 0.0f, 0.0f);
}

float QC_GUI_IMAGE::fGetWidth() { return _sprite->_vertices[1].x - _sprite->_vertices[0].x; }
float QC_GUI_IMAGE::fGetHeight() { return _sprite->_vertices[2].y - _sprite->_vertices[0].y; }

}  // namespace QEL
