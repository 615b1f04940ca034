// Development entry: replaced by the game's own entry function once the game shell exists.
#include "engine/callback.h"

namespace {
uint32_t EntryPointer(QEL::QT_CALLBACK_ARG) { return 0; }
QEL::QC_ENTRY_REGISTRAR registrar(EntryPointer);
}  // namespace
