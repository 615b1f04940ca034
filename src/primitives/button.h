#pragma once
// A push button and a two-state (check) button that live outside the widget tree: their
// owner polls them once per update and draws them itself. Each shows one frame of a strip of
// five (0 normal, 1 hovered, 2 pressed, 3 checked or disabled, 4 spare) and reports a
// completed click by the result -102.
#include <cstdint>

#include "engine/callback.h"
#include "engine/transform.h"
#include "primitives/hit_shape.h"
#include "primitives/sprite.h"

namespace QEL {

class QC_TEXTURE;

constexpr int32_t QC_BUTTON_CLICKED = -102;

// What the push button and the toggle share: the strip's sprite and hit shape on a node, the
// pointer they poll and the two mouse buttons held over them.
class QC_BUTTON_BASE {
 public:
  QC_BUTTON_BASE(const QC_BUTTON_BASE&) = delete;
  QC_BUTTON_BASE& operator=(const QC_BUTTON_BASE&) = delete;

  void fSetState(int32_t state);
  int32_t fGetState() const { return _state; }

  QC_SPRITE* fGetSprite() const { return _sprite; }
  QS_HIT_SHAPE* fGetHitShape() const { return _hitShape; }
  QS_TRANSFORM3* fGetNode() const { return _node; }

  QC_CALLBACK* _onEnter = nullptr;
  QC_CALLBACK* _onLeave = nullptr;
  QC_CALLBACK* _onPress = nullptr;
  QC_CALLBACK* _onLeftClick = nullptr;
  QC_CALLBACK* _onRightClick = nullptr;

 protected:
  QC_BUTTON_BASE() = default;
  ~QC_BUTTON_BASE();
  // A null node is replaced by one of the button's own. A width of 0 means one frame of the
  // strip, a height of 0 the strip's height; a circle takes half the width as its radius.
  void fCreate(QC_TEXTURE* texture, QS_TRANSFORM3* node, int32_t shapeType, float width, float height);
  bool pointerInside() const;
  void showFrame(int32_t frame);
  // Over the shape each mouse button that goes down is held and presses; off it the pointer
  // leaves.
  void pressOrLeave(bool inside);
  // The mouse button whose held byte is given went down over the shape: state 2, pressed.
  void press(uint8_t& held);
  // State 0, nothing held, the leave callback.
  void leave();
  // A held mouse button let go completes a click into the given state, shown at once; the
  // click callback fires only when the other button is not held as well.
  bool completeClick(int32_t clickedState);

  uint8_t _leftHeld = 0;
  uint8_t _rightHeld = 0;
  int32_t _state = 0;
  QC_SPRITE* _sprite = nullptr;
  QS_HIT_SHAPE* _hitShape = nullptr;
  QS_TRANSFORM3* _node = nullptr;
  int32_t* _mouseX = nullptr;
  int32_t* _mouseY = nullptr;

 private:
  uint8_t _ownsNode = 0;
};

class QC_BUTTON : public QC_BUTTON_BASE {
 public:
  // See QC_BUTTON_BASE::fCreate for the node and the size.
  QC_BUTTON(QC_TEXTURE* texture, QS_TRANSFORM3* node, int32_t shapeType, float width, float height);
  QC_BUTTON(const char* texturePath, QS_TRANSFORM3* node, int32_t shapeType, float width, float height);

  void fReset();
  // -102 when a click was completed in this poll; from state 0 the new state; else 0.
  int32_t fUpdate();
  void fDraw();
};

class QC_TOGGLE : public QC_BUTTON_BASE {
 public:
  // Always on a node of its own, one frame of the strip in size.
  explicit QC_TOGGLE(const char* texturePath);
  explicit QC_TOGGLE(QC_TEXTURE* texture);

  // -102 when a click was completed in this poll, else 0.
  int32_t fUpdate();
  // Checked: the hover frame first, the check frame over it.
  void fDraw();
  bool fIsChecked() const { return _state == 3; }

 private:
  uint8_t _hovered = 0;
};

}  // namespace QEL
