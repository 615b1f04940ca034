#pragma once
// What the push button and the check box of the widget tree share: one frame of a strip of
// five equal frames side by side on the widget's node, a hit rectangle of one frame, the
// pointer they read and their four callbacks.
#include <cstdint>

#include "engine/callback.h"
#include "gui/gui_object.h"
#include "primitives/hit_shape.h"
#include "primitives/sprite.h"

namespace QEL {

class QC_TEXTURE;

class QC_GUI_STRIP_BUTTON : public QC_GUI_OBJECT {
 public:
  // Hands the strip's texture back.
  ~QC_GUI_STRIP_BUTTON() override;

  float fGetWidth() override;
  float fGetHeight() override;

  int32_t fGetState() const { return _state; }

  void fSetEnterCallback(QC_CALLBACK* callback) { _onEnter = callback; }
  void fSetLeaveCallback(QC_CALLBACK* callback) { _onLeave = callback; }
  void fSetPressCallback(QC_CALLBACK* callback) { _onPress = callback; }
  void fSetClickCallback(QC_CALLBACK* callback) { _onClick = callback; }

  QC_SPRITE* fGetSprite() const { return _sprite; }

 protected:
  // Placed by the centre of one frame, showing frame 0.
  QC_GUI_STRIP_BUTTON(int32_t id, QC_TEXTURE* texture);

  bool pointerOver() const;
  void showFrame(int32_t frame) { _sprite->fSetFrame(5, 1, frame); }
  // The pointer came over the button: state 1, the enter code and the focus.
  void enter();
  // Off the button the pointer leaves (state 0, latch and focus dropped); over it a left press
  // latches into state 2 with the press code. True on the press.
  bool leaveOrPress(bool over);
  // The latched press let go: the click code, and the given state shown at once.
  void completeClick(int32_t clickedState);

  bool _latch = false;
  int32_t _state = 0;
  QC_SPRITE* _sprite = nullptr;
  QS_HIT_SHAPE* _hitShape = nullptr;
  int32_t* _mouseX = nullptr;
  int32_t* _mouseY = nullptr;
  QC_CALLBACK* _onEnter = nullptr;
  QC_CALLBACK* _onLeave = nullptr;
  QC_CALLBACK* _onPress = nullptr;
  QC_CALLBACK* _onClick = nullptr;

 private:
  QT_CALLBACK_ARG self() { return reinterpret_cast<QT_CALLBACK_ARG>(this); }
};

}  // namespace QEL
