#pragma once
// A picture that reports the pointer entering, leaving, pressing and clicking, and that the
// pointer can drag from a press until a release over it.
#include <cstdint>

#include "engine/callback.h"
#include "gui/gui_object.h"
#include "primitives/hit_shape.h"
#include "primitives/sprite.h"

namespace QEL {

class QC_TEXTURE;

class QC_GUI_PANEL : public QC_GUI_OBJECT {
 public:
  QC_GUI_PANEL(int32_t id, QC_TEXTURE* texture);
  // Hands the texture back.
  ~QC_GUI_PANEL() override;

  // Takes the texture's size. The texture held until now stays the caller's to hand back.
  void fSetTexture(QC_TEXTURE* texture);
  void fSetDraggable(bool draggable) { _draggable = draggable; }
  bool fIsDragging() const { return _dragging; }

  // Enter, leave and change only set the code; press and click are returned.
  QS_GUI_EVENT* fUpdate() override;
  void fDraw() override;
  void fSetSize(float w, float h) override;
  float fGetWidth() override;
  float fGetHeight() override;

  void fSetChangeCallback(QC_CALLBACK* callback) { _onChange = callback; }
  void fSetEnterCallback(QC_CALLBACK* callback) { _onEnter = callback; }
  void fSetLeaveCallback(QC_CALLBACK* callback) { _onLeave = callback; }
  void fSetPressCallback(QC_CALLBACK* callback) { _onPress = callback; }
  void fSetClickCallback(QC_CALLBACK* callback) { _onClick = callback; }
  QC_SPRITE* fGetSprite() const { return _sprite; }
  QS_HIT_SHAPE* fGetHitShape() const { return _hitShape; }

 private:
  bool _pointerOver = false;
  bool _dragging = false;
  int32_t _width = 0;
  int32_t _height = 0;
  int32_t* _mouseX = nullptr;
  int32_t* _mouseY = nullptr;
  int32_t _grabX = 0;
  int32_t _grabY = 0;
  QC_SPRITE* _sprite = nullptr;
  QS_HIT_SHAPE* _hitShape = nullptr;
  bool _draggable = true;
  QC_CALLBACK* _onChange = nullptr;
  QC_CALLBACK* _onEnter = nullptr;
  QC_CALLBACK* _onLeave = nullptr;
  QC_CALLBACK* _onPress = nullptr;
  QC_CALLBACK* _onClick = nullptr;
};

}  // namespace QEL
