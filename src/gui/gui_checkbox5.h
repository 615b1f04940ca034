#pragma once
// A two-state box (clear or ticked) on a five-frame strip: 0 normal, 1 hover, 2 pressed,
// 3 tick, 4 disabled.
#include <cstdint>

#include "gui/gui_strip_button.h"

namespace QEL {

class QC_TEXTURE;

class QC_GUI_CHECKBOX5 : public QC_GUI_STRIP_BUTTON {
 public:
  QC_GUI_CHECKBOX5(int32_t id, QC_TEXTURE* texture);

  // Enter and leave only set the code; press and click are returned.
  QS_GUI_EVENT* fUpdate() override;
  void fDraw() override;
  void fSetSize(float w, float h) override;

  bool fIsChecked() const { return _state == 3; }

 private:
  bool _overWhileTicked = false;
};

}  // namespace QEL
