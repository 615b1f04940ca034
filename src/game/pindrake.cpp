// Development entry: opens the engine's window and runs its loop until the window is
// closed. Replaced by the game's own entry function once the game shell exists.
#include "engine/callback.h"
#include "engine/game.h"
#include "engine/globals.h"

namespace {

uint32_t onClose(QEL::QT_CALLBACK_ARG) {
  QEL::QC_GAME::fGetGame()->_settings._running = 0;
  return 0;
}

uint32_t EntryPointer(QEL::QT_CALLBACK_ARG) {
  QEL::QC_GAME* game = QEL::QC_GAME::fGetGame();
  QEL::qcGAME = game;
  QEL::qcON_CLOSE = QEL::QC_CALLBACK::fCreate(onClose, nullptr, 0);
  QEL::QC_GAME::fInit(game, "Pindrake");
  game->_settings._updateRate = 60;
  game->fStart();
  return 0;
}

QEL::QC_ENTRY_REGISTRAR registrar(EntryPointer);

}  // namespace
