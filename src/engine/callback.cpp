#include "engine/callback.h"

#include "engine/result_codes.h"

namespace QEL {

// Constant-initialised, so a registrar running during static initialisation of another
// translation unit always finds the slots already null.
QC_CALLBACK* qcON_ENTRY = nullptr;
QC_CALLBACK* qcON_INIT = nullptr;
QC_CALLBACK* qcON_START = nullptr;
QC_CALLBACK* qcON_UPDATE = nullptr;
QC_CALLBACK* qcON_DRAW = nullptr;
QC_CALLBACK* qcON_FOCUS_LOST = nullptr;
QC_CALLBACK* qcON_FOCUS_GAINED = nullptr;
QC_CALLBACK* qcON_KEY_DOWN = nullptr;
QC_CALLBACK* qcON_KEY_UP = nullptr;
QC_CALLBACK* qcON_MOUSE_MOVE = nullptr;
QC_CALLBACK* qcON_CLOSE = nullptr;
QC_CALLBACK* qcON_EXIT = nullptr;
QC_CALLBACK* qcON_RESOURCE_ERROR = nullptr;
QC_CALLBACK* qcON_TEXTURE_UNSCRIBED = nullptr;
int qcEXIT_STATUS = 0;

QC_CALLBACK::QC_CALLBACK(QT_CALLBACK_FUNCTION function, const char* name, QT_CALLBACK_ARG argument)
    : _argument(argument), _name(name ? name : ""), _function(function) {}

QC_CALLBACK* QC_CALLBACK::fCreate(QT_CALLBACK_FUNCTION function, const char* name, QT_CALLBACK_ARG argument) {
  return new QC_CALLBACK(function, name, argument);
}

int32_t QC_CALLBACK::fInvoke(QC_CALLBACK* callback, QT_CALLBACK_ARG argument) {
  if (!callback) return qeRESULT_MISSING;
  if (!callback->_function) return 0;
  callback->_function(argument != 0 ? argument : callback->_argument);
  return 0;
}

QC_ENTRY_REGISTRAR::QC_ENTRY_REGISTRAR(QT_CALLBACK_FUNCTION function) {
  qcON_ENTRY = QC_CALLBACK::fCreate(function, nullptr, 0);
}

}  // namespace QEL
