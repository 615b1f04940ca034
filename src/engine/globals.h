#pragma once
// The engine's components live for the whole run and are reached through these plain
// globals. Each is set once during start-up (QC_GAME's constructor and QC_GAME::fInit).
#include <mutex>
#include <string>

namespace QEL {

class QC_GAME;
class QK_BUTTON;
class QC_RENDER;
class QC_TIMER;
class QC_RANDOM;
class QC_WINDOW;
class QC_FILE_SYSTEM;
class QC_MIXER;
class QC_RESOURCE_LOADER;

extern QC_GAME* qcGAME;  // set by the game, not by the engine
extern QK_BUTTON* qcINPUT;
extern QC_RENDER* qcRENDER;
extern QC_TIMER* qcTIMER;
extern QC_RANDOM* qcRANDOM;
extern QC_WINDOW* qcWINDOW;
extern QC_FILE_SYSTEM* qcFILE_SYSTEM;
extern QC_MIXER* qcMIXER;
extern QC_RESOURCE_LOADER* qcRESOURCE_LOADER;

// Reached by code that runs before (or without) the game object: the random generator
// records itself here, the file system too.
extern QC_RANDOM* qcRANDOM_INSTANCE;
extern QC_FILE_SYSTEM* qcFILE_SYSTEM_INSTANCE;

// Seconds of the last due update step, written by the global timer.
extern float qcFRAME_DELTA;

// The one lock of the system, shared by the main thread and the sound thread. Recursive,
// as the critical section it stands for.
extern std::recursive_mutex qcSOUND_LOCK;

// The text of the last resource error, read by the resource-error callback.
extern std::string qcRESOURCE_ERROR_TEXT;

}  // namespace QEL
