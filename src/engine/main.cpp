// The program knows nothing of the game: the game's static registrar has stored its entry
// function before main runs, and main only invokes it.
#include "engine/callback.h"

int main() {
  return QEL::QC_CALLBACK::fInvoke(QEL::qcON_ENTRY, 0);
}
