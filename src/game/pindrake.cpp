// The game's main source file: its static registrar hands the entry function to main before
// main runs. The game's state lives in the globals of game/game_globals.h.
#include "engine/callback.h"
#include "game/game_entry.h"
#include "game/game_globals.h"

QEL::QC_ENTRY_REGISTRAR gEntry(EntryPointer);
