#pragma once
// A two-state box (clear or ticked) on a five-frame strip: 0 normal, 1 hover, 2 pressed,
// 3 tick, 4 disabled.
#include <cstdint>

#include "engine/callback.h"
#include "gui/gui_object.h"
#include "primitives/hit_shape.h"
#include "primitives/sprite.h"

namespace QEL {

class QC_TEXTURE;

class QC_GUI_CHECKBOX5 : public QC_GUI_OBJECT {
 public:
  QC_GUI_CHECKBOX5(int32_t id, QC_TEXTURE* texture);
  // Hands the strip's texture back.
  ~QC_GUI_CHECKBOX5() override;

  // Enter and leave only set the code; press and click are returned.
  QS_GUI_EVENT* fUpdate() override;
  void fDraw() override;
  void fSetSize(float w, float h) override;
  float fGetWidth() override;
  float fGetHeight() override;

  int32_t fGetState() const { return _state; }
  bool fIsChecked() const { return _state == 3; }

  void fSetEnterCallback(QC_CALLBACK* callback) { _onEnter = callback; }
  void fSetLeaveCallback(QC_CALLBACK* callback) { _onLeave = callback; }
  void fSetPressCallback(QC_CALLBACK* callback) { _onPress = callback; }
  void fSetClickCallback(QC_CALLBACK* callback) { _onClick = callback; }
  QC_SPRITE* fGetSprite() const { return _sprite; }

 private:
  bool _overWhileTicked = false;
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
