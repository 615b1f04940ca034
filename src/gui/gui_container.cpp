#include "gui/gui_container.h"

namespace QEL {

QC_GUI_CONTAINER::QC_GUI_CONTAINER() : _root(new QC_GUI_OBJECT(0)) {}

void QC_GUI_CONTAINER::fAdd(QC_GUI_OBJECT* widget) { _root->fAddChild(widget); }

QS_GUI_EVENT* QC_GUI_CONTAINER::fUpdate() {
  _lastEvent = _root->fUpdateAll();
  return _lastEvent;
}

void QC_GUI_CONTAINER::fDraw() { _root->fDrawAll(); }

// The last event may point into the widget that goes: forget it.
void QC_GUI_CONTAINER::fDelete(QC_GUI_OBJECT* widget) {
  _lastEvent = nullptr;
  _root->fDeleteChild(widget);
}

void QC_GUI_CONTAINER::fDeleteById(int32_t id) {
  _lastEvent = nullptr;
  _root->fDeleteChildById(id);
}

void QC_GUI_CONTAINER::fDeleteWithTree(QC_GUI_CONTAINER*& container) {
  if (container == nullptr) return;
  container->fClear();
  delete container->_root;
  delete container;
  container = nullptr;
}

void QC_GUI_CONTAINER::fClear() {
  _lastEvent = nullptr;
  _root->fDeleteChildren();
}

}  // namespace QEL
