#pragma once
// A picture that reports a press on it.
#include <cstdint>

#include "gui/gui_object.h"
#include "primitives/hit_shape.h"
#include "primitives/sprite.h"

namespace QEL {

class QC_TEXTURE;

class QC_GUI_IMAGE : public QC_GUI_OBJECT {
 public:
  QC_GUI_IMAGE(int32_t id, QC_TEXTURE* texture);
  // Hands the texture back.
  ~QC_GUI_IMAGE() override;

  // The texture held until now is handed back (unless it is the same one).
  void fSetTexture(QC_TEXTURE* texture);

  QS_GUI_EVENT* fUpdate() override;
  void fDraw() override;
  // The hit rectangle keeps its size.
  void fSetSize(float w, float h) override;
  float fGetWidth() override;
  float fGetHeight() override;
  QC_SPRITE* fGetSprite() const { return _sprite; }

 private:
  QC_SPRITE* _sprite = nullptr;
  QS_HIT_SHAPE* _hitShape = nullptr;
  int32_t* _mouseX = nullptr;
  int32_t* _mouseY = nullptr;
};

}  // namespace QEL
