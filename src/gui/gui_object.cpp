#include "gui/gui_object.h"

#include <cstddef>

namespace QEL {

QC_GUI_OBJECT::QC_GUI_OBJECT(int32_t id) : _node(new QS_TRANSFORM3) { _event.id = id; }

QC_GUI_OBJECT::~QC_GUI_OBJECT() {
  // Children that outlive their parent must not point at a freed node or widget.
  for (QC_GUI_OBJECT* child : _children) {
    child->_parent = nullptr;
    if (child->_node != nullptr && child->_node->_parent == _node) child->_node->_parent = nullptr;
  }
  delete _node;
}

QS_GUI_EVENT* QC_GUI_OBJECT::fUpdate() { return nullptr; }
void QC_GUI_OBJECT::fDraw() {}
void QC_GUI_OBJECT::fSetPosition(float x, float y, float z) { _node->fSetPosition(x, y, z); }
void QC_GUI_OBJECT::fSetSize(float, float) {}
float QC_GUI_OBJECT::fGetWidth() { return 0.0f; }
float QC_GUI_OBJECT::fGetHeight() { return 0.0f; }

void QC_GUI_OBJECT::fAddChild(QC_GUI_OBJECT* child) {
  if (child == nullptr) return;
  child->_parent = this;
  child->_node->_parent = _node;
  _children.push_back(child);
}

void QC_GUI_OBJECT::fInsertChild(QC_GUI_OBJECT* child, int32_t index) {
  if (child == nullptr) return;
  child->_parent = this;
  child->_node->_parent = _node;
  if (index < 0) index = 0;
  if (static_cast<std::size_t>(index) >= _children.size()) {
    _children.push_back(child);
  } else {
    _children.insert(_children.begin() + index, child);
  }
}

void QC_GUI_OBJECT::fDeleteChildren() {
  std::vector<QC_GUI_OBJECT*> children;
  children.swap(_children);
  for (QC_GUI_OBJECT* child : children) {
    child->fDeleteChildren();
    delete child;
  }
}

bool QC_GUI_OBJECT::deleteMatching(QC_GUI_OBJECT* target, bool byId, int32_t id) {
  for (std::size_t i = 0; i < _children.size(); ++i) {
    QC_GUI_OBJECT* child = _children[i];
    const bool match = byId ? child->_event.id == id : child == target;
    if (match) {
      child->fDeleteChildren();
      _children.erase(_children.begin() + static_cast<std::ptrdiff_t>(i));
      delete child;
      return true;
    }
    if (child->deleteMatching(target, byId, id)) return true;
  }
  return false;
}

void QC_GUI_OBJECT::fDeleteChild(QC_GUI_OBJECT* child) {
  if (child != nullptr) deleteMatching(child, false, 0);
}

void QC_GUI_OBJECT::fDeleteChildById(int32_t id) { deleteMatching(nullptr, true, id); }

QC_GUI_OBJECT* QC_GUI_OBJECT::fFindById(int32_t id) {
  for (QC_GUI_OBJECT* child : _children) {
    if (child->_event.id == id) return child;
    if (QC_GUI_OBJECT* found = child->fFindById(id)) return found;
  }
  return nullptr;
}

int32_t QC_GUI_OBJECT::fGetEventCodeById(int32_t id) {
  QC_GUI_OBJECT* found = fFindById(id);
  return found != nullptr ? found->_event.code : 0;
}

void QC_GUI_OBJECT::fSetFocus(bool focus) {
  _focus = focus;
  for (QC_GUI_OBJECT* child : _children) child->fSetFocus(focus);
}

QS_GUI_EVENT* QC_GUI_OBJECT::fUpdateAll() {
  if (!_active) return nullptr;
  for (QC_GUI_OBJECT* child : _children) {
    QS_GUI_EVENT* event = child->fUpdateAll();
    if (event == nullptr) continue;
    const int32_t code = event->code;
    if (code == GUI_EVENT_PRESS || code == GUI_EVENT_CLICK || code == 2 || code == GUI_EVENT_FOCUS) {
      _focus = true;
      for (QC_GUI_OBJECT* other : _children) {
        if (other != child) other->fSetFocus(false);
      }
    }
    return event;
  }
  return fUpdate();
}

void QC_GUI_OBJECT::fDrawAll() {
  if (!_visible) return;
  fDraw();
  for (QC_GUI_OBJECT* child : _children) child->fDrawAll();
}

}  // namespace QEL
