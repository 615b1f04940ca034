#include "engine/globals.h"

namespace QEL {

QC_GAME* qcGAME = nullptr;
QK_BUTTON* qcINPUT = nullptr;
QC_RENDER* qcRENDER = nullptr;
QC_TIMER* qcTIMER = nullptr;
QC_RANDOM* qcRANDOM = nullptr;
QC_WINDOW* qcWINDOW = nullptr;
QC_FILE_SYSTEM* qcFILE_SYSTEM = nullptr;
QC_MIXER* qcMIXER = nullptr;
QC_RESOURCE_LOADER* qcRESOURCE_LOADER = nullptr;
QC_RANDOM* qcRANDOM_INSTANCE = nullptr;
QC_FILE_SYSTEM* qcFILE_SYSTEM_INSTANCE = nullptr;
float qcFRAME_DELTA = 0.0f;
std::recursive_mutex qcSOUND_LOCK;
std::string qcRESOURCE_ERROR_TEXT;

}  // namespace QEL
