#include "primitives/button.h"

#include "engine/input.h"
#include "engine/render.h"
#include "engine/texture.h"
#include "platform/key_codes.h"

namespace QEL {

namespace {

int32_t gNoPointer[2] = {0, 0};

int32_t* mouseX() { return qcINPUT_INSTANCE != nullptr ? &qcINPUT_INSTANCE->_mouse._position.x : &gNoPointer[0]; }
int32_t* mouseY() { return qcINPUT_INSTANCE != nullptr ? &qcINPUT_INSTANCE->_mouse._position.y : &gNoPointer[1]; }
bool pressed(uint32_t code) { return qcINPUT_INSTANCE != nullptr && qcINPUT_INSTANCE->fIsPressed(code); }
bool released(uint32_t code) { return qcINPUT_INSTANCE != nullptr && qcINPUT_INSTANCE->fIsReleased(code); }

constexpr uint32_t kLeft = platform::LEFT_BUTTON;
constexpr uint32_t kRight = platform::RIGHT_BUTTON;

QC_TEXTURE* loadTexture(const char* path) {
  return qcRENDER_INSTANCE != nullptr && path != nullptr ? qcRENDER_INSTANCE->fLoadTexture(path) : nullptr;
}

}  // namespace

// ---- shared ---------------------------------------------------------------------------

void QC_BUTTON_BASE::fCreate(QC_TEXTURE* texture, QS_TRANSFORM3* node, int32_t shapeType, float width, float height) {
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

QC_BUTTON_BASE::~QC_BUTTON_BASE() {
  delete _sprite;
  delete _hitShape;
  if (_ownsNode != 0) delete _node;
}

void QC_BUTTON_BASE::fSetState(int32_t state) {
  _state = state;
  showFrame(state);
}

bool QC_BUTTON_BASE::pointerInside() const {
  return _hitShape->fIsInside(static_cast<float>(*_mouseX), static_cast<float>(*_mouseY));
}

void QC_BUTTON_BASE::showFrame(int32_t frame) { _sprite->fSetFrame(5, 1, frame); }

void QC_BUTTON_BASE::pressOrLeave(bool inside) {
  if (!inside) {
    leave();
    return;
  }
  // Both buttons can go down in one poll; each is held on its own.
  if (pressed(kLeft)) press(_leftHeld);
  if (pressed(kRight)) press(_rightHeld);
}

void QC_BUTTON_BASE::press(uint8_t& held) {
  held = 1;
  _state = 2;
  QC_CALLBACK::fInvoke(_onPress, 0);
}

void QC_BUTTON_BASE::leave() {
  _state = 0;
  _leftHeld = 0;
  _rightHeld = 0;
  QC_CALLBACK::fInvoke(_onLeave, 0);
}

bool QC_BUTTON_BASE::completeClick(int32_t clickedState) {
  QC_CALLBACK* click = nullptr;
  uint8_t otherHeld = 0;
  if (_leftHeld != 0 && released(kLeft)) {
    _leftHeld = 0;
    click = _onLeftClick;
    otherHeld = _rightHeld;
  } else if (_rightHeld != 0 && released(kRight)) {
    _rightHeld = 0;
    click = _onRightClick;
    otherHeld = _leftHeld;
  } else {
    return false;
  }
  _state = clickedState;
  showFrame(clickedState);
  if (otherHeld == 0) QC_CALLBACK::fInvoke(click, 0);
  return true;
}

// ---- push button -----------------------------------------------------------------------

QC_BUTTON::QC_BUTTON(QC_TEXTURE* texture, QS_TRANSFORM3* node, int32_t shapeType, float width, float height) {
  fCreate(texture, node, shapeType, width, height);
}

QC_BUTTON::QC_BUTTON(const char* texturePath, QS_TRANSFORM3* node, int32_t shapeType, float width, float height) {
  fCreate(loadTexture(texturePath), node, shapeType, width, height);
}

void QC_BUTTON::fReset() { fSetState(0); }

void QC_BUTTON::fDraw() { _sprite->fDrawWorld(); }

int32_t QC_BUTTON::fUpdate() {
  const bool inside = pointerInside();
  switch (_state) {
    case 0:
      if (inside) {
        _state = 1;
        QC_CALLBACK::fInvoke(_onEnter, 0);
        if (pressed(kLeft)) {
          press(_leftHeld);
          return 2;
        }
      }
      return _state;
    case 1:
      pressOrLeave(inside);
      break;
    case 2:
      if (!inside) leave();
      if (completeClick(1)) return QC_BUTTON_CLICKED;
      break;
    default:
      return 0;  // fixed frame, no input
  }
  showFrame(_state);
  return 0;
}

// ---- toggle ----------------------------------------------------------------------------

QC_TOGGLE::QC_TOGGLE(const char* texturePath) : QC_TOGGLE(loadTexture(texturePath)) {}

QC_TOGGLE::QC_TOGGLE(QC_TEXTURE* texture) {
  fCreate(texture, nullptr, QS_HIT_SHAPE::TYPE_RECTANGLE, 0.0f, 0.0f);
  _hovered = 0;
}

int32_t QC_TOGGLE::fUpdate() {
  const bool inside = pointerInside();
  switch (_state) {
    case 0:
      if (inside) {
        _state = 1;
        QC_CALLBACK::fInvoke(_onEnter, 0);
        showFrame(1);
      }
      return 0;
    case 2:
      if (completeClick(3)) return QC_BUTTON_CLICKED;
      [[fallthrough]];
    case 1:
      // Unchecked states 1 and 2 share the hover handling.
      pressOrLeave(inside);
      showFrame(_state);
      return 0;
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
