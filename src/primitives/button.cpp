#include "primitives/button.h"

#include "engine/input.h"
#include "engine/render.h"
#include "engine/texture.h"

namespace QEL {

namespace {

int32_t gNoPointer[2] = {0, 0};

int32_t* mouseX() { return qcINPUT_INSTANCE != nullptr ? &qcINPUT_INSTANCE->_mouse._position.x : &gNoPointer[0]; }
int32_t* mouseY() { return qcINPUT_INSTANCE != nullptr ? &qcINPUT_INSTANCE->_mouse._position.y : &gNoPointer[1]; }
bool pressed(uint32_t code) { return qcINPUT_INSTANCE != nullptr && qcINPUT_INSTANCE->fIsPressed(code); }
bool released(uint32_t code) { return qcINPUT_INSTANCE != nullptr && qcINPUT_INSTANCE->fIsReleased(code); }

constexpr uint32_t kLeft = 1;
constexpr uint32_t kRight = 2;

QC_TEXTURE* loadTexture(const char* path) {
  return qcRENDER_INSTANCE != nullptr && path != nullptr ? qcRENDER_INSTANCE->fLoadTexture(path) : nullptr;
}

}  // namespace

// ---- push button -----------------------------------------------------------------------

QC_BUTTON::QC_BUTTON(QC_TEXTURE* texture, QS_TRANSFORM3* node, int32_t shapeType, float width, float height) {
  fCreate(texture, node, shapeType, width, height);
}

QC_BUTTON::QC_BUTTON(const char* texturePath, QS_TRANSFORM3* node, int32_t shapeType, float width, float height) {
  fCreate(loadTexture(texturePath), node, shapeType, width, height);
}

void QC_BUTTON::fCreate(QC_TEXTURE* texture, QS_TRANSFORM3* node, int32_t shapeType, float width, float height) {
  _state = 0;
  if (node == nullptr) {
    node = new QS_TRANSFORM3;
    _ownsNode = 1;
  }
  _node = node;
  _sprite = new QC_SPRITE(texture, node);
  if (shapeType == QS_HIT_SHAPE::TYPE_CIRCLE && height == 0.0f) height = width;
  const float frameWidth = width != 0.0f ? width : 0.2f * static_cast<float>(_sprite->_width);
  const float frameHeight = height != 0.0f ? height : static_cast<float>(_sprite->_height);
  _hitShape = new QS_HIT_SHAPE(shapeType, node, frameWidth, frameHeight, 0, 0);
  if (shapeType == QS_HIT_SHAPE::TYPE_CIRCLE) _hitShape->fSetWidth(0.5f * frameWidth);
  _sprite->fSetSize(static_cast<int32_t>(frameWidth), static_cast<int32_t>(frameHeight));
  _sprite->fSetAnchor(0, 0.0f, 0.0f);
  _sprite->fSetFrame(5, 1, 0);
  _mouseX = mouseX();
  _mouseY = mouseY();
  _leftHeld = 0;
  _rightHeld = 0;
}

QC_BUTTON::~QC_BUTTON() {
  delete _sprite;
  delete _hitShape;
  if (_ownsNode != 0) delete _node;
}

void QC_BUTTON::fReset() {
  _state = 0;
  showState();
}

void QC_BUTTON::fSetState(int32_t state) {
  _state = state;
  showState();
}

void QC_BUTTON::showState() { _sprite->fSetFrame(5, 1, _state); }

void QC_BUTTON::fDraw() { _sprite->fDrawWorld(); }

int32_t QC_BUTTON::fUpdate() {
  const bool inside = _hitShape->fIsInside(static_cast<float>(*_mouseX), static_cast<float>(*_mouseY));
  switch (_state) {
    case 0:
      if (inside) {
        _state = 1;
        QC_CALLBACK::fInvoke(_onEnter, 0);
        if (pressed(kLeft)) {
          _state = 2;
          _leftHeld = 1;
          QC_CALLBACK::fInvoke(_onPress, 0);
          return 2;
        }
      }
      return _state;
    case 1:
      if (inside) {
        // Both buttons can go down in one poll; each is held on its own.
        if (pressed(kLeft)) {
          _leftHeld = 1;
          _state = 2;
          QC_CALLBACK::fInvoke(_onPress, 0);
        }
        if (pressed(kRight)) {
          _rightHeld = 1;
          _state = 2;
          QC_CALLBACK::fInvoke(_onPress, 0);
        }
      } else {
        _state = 0;
        _leftHeld = 0;
        _rightHeld = 0;
        QC_CALLBACK::fInvoke(_onLeave, 0);
      }
      break;
    case 2:
      if (!inside) {
        _state = 0;
        _leftHeld = 0;
        _rightHeld = 0;
        QC_CALLBACK::fInvoke(_onLeave, 0);
      }
      if (_leftHeld != 0 && released(kLeft)) {
        _leftHeld = 0;
        _state = 1;
        showState();
        if (_rightHeld != 0) return QC_BUTTON_CLICKED;
        QC_CALLBACK::fInvoke(_onLeftClick, 0);
        return QC_BUTTON_CLICKED;
      }
      if (_rightHeld != 0 && released(kRight)) {
        _rightHeld = 0;
        _state = 1;
        showState();
        if (_leftHeld != 0) return QC_BUTTON_CLICKED;
        QC_CALLBACK::fInvoke(_onRightClick, 0);
        return QC_BUTTON_CLICKED;
      }
      break;
    default:
      return 0;  // fixed frame, no input
  }
  showState();
  return 0;
}

// ---- toggle ----------------------------------------------------------------------------

QC_TOGGLE::QC_TOGGLE(const char* texturePath) { fCreate(loadTexture(texturePath)); }

QC_TOGGLE::QC_TOGGLE(QC_TEXTURE* texture) { fCreate(texture); }

void QC_TOGGLE::fCreate(QC_TEXTURE* texture) {
  _node = new QS_TRANSFORM3;
  _sprite = new QC_SPRITE(texture, _node);
  const float frameWidth = 0.2f * static_cast<float>(_sprite->_width);
  _hitShape = new QS_HIT_SHAPE(QS_HIT_SHAPE::TYPE_RECTANGLE, _node, frameWidth, static_cast<float>(_sprite->_height), 0, 0);
  _sprite->fSetSize(static_cast<int32_t>(frameWidth), _sprite->_height);
  _sprite->fSetAnchor(0, 0.0f, 0.0f);
  _sprite->fSetFrame(5, 1, 0);
  _mouseX = mouseX();
  _mouseY = mouseY();
  _hovered = 0;
  _leftHeld = 0;
  _rightHeld = 0;
}

QC_TOGGLE::~QC_TOGGLE() {
  delete _sprite;
  delete _hitShape;
  delete _node;
}

void QC_TOGGLE::showFrame(int32_t frame) { _sprite->fSetFrame(5, 1, frame); }

void QC_TOGGLE::fSetState(int32_t state) {
  _state = state;
  showFrame(state);
}

int32_t QC_TOGGLE::fUpdate() {
  const bool inside = _hitShape->fIsInside(static_cast<float>(*_mouseX), static_cast<float>(*_mouseY));
  // Unchecked states 1 and 2 share the hover handling.
  auto hoverStep = [&]() {
    if (inside) {
      if (pressed(kLeft)) {
        _leftHeld = 1;
        _state = 2;
        QC_CALLBACK::fInvoke(_onPress, 0);
      }
      if (pressed(kRight)) {
        _rightHeld = 1;
        _state = 2;
        QC_CALLBACK::fInvoke(_onPress, 0);
      }
    } else {
      _state = 0;
      _leftHeld = 0;
      _rightHeld = 0;
      QC_CALLBACK::fInvoke(_onLeave, 0);
    }
    showFrame(_state);
    return 0;
  };
  switch (_state) {
    case 0:
      if (inside) {
        _state = 1;
        QC_CALLBACK::fInvoke(_onEnter, 0);
        showFrame(1);
      }
      return 0;
    case 1:
      return hoverStep();
    case 2:
      if (_leftHeld != 0 && released(kLeft)) {
        _leftHeld = 0;
        _state = 3;
        showFrame(3);
        if (_rightHeld != 0) return QC_BUTTON_CLICKED;
        QC_CALLBACK::fInvoke(_onLeftClick, 0);
        return QC_BUTTON_CLICKED;
      }
      if (_rightHeld != 0 && released(kRight)) {
        _rightHeld = 0;
        _state = 3;
        showFrame(3);
        if (_leftHeld != 0) return QC_BUTTON_CLICKED;
        QC_CALLBACK::fInvoke(_onRightClick, 0);
        return QC_BUTTON_CLICKED;
      }
      return hoverStep();
    case 3:
      if (_leftHeld != 0 && released(kLeft)) {
        _leftHeld = 0;
        if (_rightHeld != 0) return QC_BUTTON_CLICKED;
        _state = 1;
        showFrame(1);
        QC_CALLBACK::fInvoke(_onLeftClick, 0);
        return QC_BUTTON_CLICKED;
      }
      if (_rightHeld != 0 && released(kRight)) {
        _rightHeld = 0;
        if (_leftHeld != 0) return QC_BUTTON_CLICKED;
        _state = 1;
        showFrame(1);
        QC_CALLBACK::fInvoke(_onRightClick, 0);
        return QC_BUTTON_CLICKED;
      }
      if (!inside) {
        _hovered = 0;
        _leftHeld = 0;
        _rightHeld = 0;
        return 0;
      }
      _hovered = 1;
      if (pressed(kLeft)) {
        _leftHeld = 1;
        QC_CALLBACK::fInvoke(_onPress, 0);
      }
      if (pressed(kRight)) {
        _rightHeld = 1;
        QC_CALLBACK::fInvoke(_onPress, 0);
      }
      return 0;
    case 4:
      return 0;
    default:
      showFrame(_state);
      return 0;
  }
}

void QC_TOGGLE::fDraw() {
  if (_state == 3) {
    const int32_t under = _hovered == 0 ? 0 : (_leftHeld != 0 || _rightHeld != 0 ? 2 : 1);
    showFrame(under);
    _sprite->fDrawWorld();
    showFrame(3);
  }
  _sprite->fDrawWorld();
}

}  // namespace QEL
