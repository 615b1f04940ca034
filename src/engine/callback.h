#pragma once
// Every event the engine hands to the game passes through a QC_CALLBACK kept in one of the
// global slots below. The game fills the slots, the engine invokes them.
#include <cstdint>
#include <string>

namespace QEL {

// The argument is pointer-sized: it carries key codes as well as texture and widget pointers.
using QT_CALLBACK_ARG = std::uintptr_t;
using QT_CALLBACK_FUNCTION = uint32_t (*)(QT_CALLBACK_ARG);

class QC_CALLBACK {
 public:
  QC_CALLBACK(QT_CALLBACK_FUNCTION function, const char* name, QT_CALLBACK_ARG argument);

  // The caller owns the new callback; the engine never deletes one.
  static QC_CALLBACK* fCreate(QT_CALLBACK_FUNCTION function, const char* name, QT_CALLBACK_ARG argument);

  // -108 for a null callback; otherwise calls the function (when there is one) with the
  // argument, or with the stored argument when the one given is 0, and returns 0: the
  // function's own result is never passed back.
  static int32_t fInvoke(QC_CALLBACK* callback, QT_CALLBACK_ARG argument);

  QT_CALLBACK_ARG _argument = 0;
  std::string _name;
  QT_CALLBACK_FUNCTION _function = nullptr;
};

// Stores the game's entry function as the entry callback during static initialisation.
class QC_ENTRY_REGISTRAR {
 public:
  explicit QC_ENTRY_REGISTRAR(QT_CALLBACK_FUNCTION function);
};

extern QC_CALLBACK* qcON_ENTRY;
extern QC_CALLBACK* qcON_INIT;
extern QC_CALLBACK* qcON_START;
extern QC_CALLBACK* qcON_UPDATE;
extern QC_CALLBACK* qcON_DRAW;
extern QC_CALLBACK* qcON_FOCUS_LOST;
extern QC_CALLBACK* qcON_FOCUS_GAINED;
extern QC_CALLBACK* qcON_KEY_DOWN;
extern QC_CALLBACK* qcON_KEY_UP;
extern QC_CALLBACK* qcON_MOUSE_MOVE;
extern QC_CALLBACK* qcON_CLOSE;
extern QC_CALLBACK* qcON_EXIT;
extern QC_CALLBACK* qcON_RESOURCE_ERROR;
extern QC_CALLBACK* qcON_TEXTURE_UNSCRIBED;

// What the program returns once the entry has run: 0, unless the game ended its start for a
// reason the desktop should see (a start without its Resources).
extern int qcEXIT_STATUS;

}  // namespace QEL
