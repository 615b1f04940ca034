#pragma once
// The push button of every scene: one image holds five frames of equal width side by side
// (0 normal, 1 pointer over it, 2 pressed, 3 selected, 4 disabled) and the button shows the
// frame whose number is its state.
#include <cstdint>

#include "engine/callback.h"
#include "gui/gui_object.h"
#include "primitives/hit_shape.h"
#include "primitives/sprite.h"

namespace QEL {

class QC_TEXTURE;

class QC_GUI_BUTTON5 : public QC_GUI_OBJECT {
 public:
  // Placed by the centre of one frame.
  QC_GUI_BUTTON5(int32_t id, QC_TEXTURE* texture);
  // Hands the strip's texture back.
  ~QC_GUI_BUTTON5() override;

  QS_GUI_EVENT* fUpdate() override;
  void fDraw() override;
  float fGetWidth() override;
  float fGetHeight() override;

  void fEnable();
  void fDisable();
  void fSetSelected();
  int32_t fGetState() const { return _state; }

  void fSetEnterCallback(QC_CALLBACK* callback) { _onEnter = callback; }
  void fSetLeaveCallback(QC_CALLBACK* callback) { _onLeave = callback; }
  void fSetPressCallback(QC_CALLBACK* callback) { _onPress = callback; }
  void fSetClickCallback(QC_CALLBACK* callback) { _onClick = callback; }

  QC_SPRITE* fGetSprite() const { return _sprite; }
  QS_HIT_SHAPE* fGetHitShape() const { return _hitShape; }

 private:
  void showState();

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
};

}  // namespace QEL
