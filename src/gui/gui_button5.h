#pragma once
// The push button of every scene: one image holds five frames of equal width side by side
// (0 normal, 1 pointer over it, 2 pressed, 3 selected, 4 disabled) and the button shows the
// frame whose number is its state.
#include <cstdint>

#include "gui/gui_strip_button.h"

namespace QEL {

class QC_TEXTURE;

class QC_GUI_BUTTON5 : public QC_GUI_STRIP_BUTTON {
 public:
  // Placed by the centre of one frame.
  QC_GUI_BUTTON5(int32_t id, QC_TEXTURE* texture);

  QS_GUI_EVENT* fUpdate() override;
  void fDraw() override;

  void fEnable();
  void fDisable();
  void fSetSelected();

  QS_HIT_SHAPE* fGetHitShape() const { return _hitShape; }
};

}  // namespace QEL
