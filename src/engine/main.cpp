// The program knows nothing of the game: the game's static registrar has stored its entry
// function before main runs, and main only invokes it. A missing entry gives -108; otherwise
// the status the game left.
#include "engine/callback.h"

int main() {
  const int32_t invoked = QEL::QC_CALLBACK::fInvoke(QEL::qcON_ENTRY, 0);
  return invoked != 0 ? invoked : QEL::qcEXIT_STATUS;
}
