#pragma once
// A scene's handle on one widget tree: add widgets, update once per frame and read the
// returned event by widget id and code, draw in the draw step.
#include <cstdint>

#include "engine/vectors.h"
#include "gui/gui_object.h"

namespace QEL {

class QC_GUI_CONTAINER {
 public:
  QC_GUI_CONTAINER();
  // The tree stays: the scene's widgets may still hold images that the next scene uses.
  ~QC_GUI_CONTAINER() = default;
  // Deletes the container with its whole tree (every widget and the root) and clears the
  // pointer; null is allowed. The images the widgets hand back stay loaded while another
  // user still counts on them.
  static void fDeleteWithTree(QC_GUI_CONTAINER*& container);
  QC_GUI_CONTAINER(const QC_GUI_CONTAINER&) = delete;
  QC_GUI_CONTAINER& operator=(const QC_GUI_CONTAINER&) = delete;

  void fAdd(QC_GUI_OBJECT* widget);
  // Null when no widget reported. The record lives in the widget and is overwritten by its
  // next update.
  QS_GUI_EVENT* fUpdate();
  void fDraw();
  int32_t fGetEventId() const { return _lastEvent != nullptr ? _lastEvent->id : 0; }
  int32_t fGetEventCode() const { return _lastEvent != nullptr ? _lastEvent->code : 0; }
  QC_GUI_OBJECT* fFindById(int32_t id) { return _root->fFindById(id); }
  int32_t fGetEventCodeById(int32_t id) { return _root->fGetEventCodeById(id); }
  void fDelete(QC_GUI_OBJECT* widget);
  void fDeleteById(int32_t id);
  void fClear();
  void fSetActive(bool active) { _root->fSetActive(active); }
  void fSetVisible(bool visible) { _root->fSetVisible(visible); }
  bool fIsActive() const { return _root->fIsActive(); }
  void fSetPosition(float x, float y, float z) { _root->fSetPosition(x, y, z); }
  void fSetSize(float w, float h) { _root->fSetSize(w, h); }
  void fMove(float dx, float dy) { _root->fGetTransform()->fMove(dx, dy); }
  QS_VECTOR2 fGetPosition() const { return _root->fGetTransform()->fGetPosition(); }
  QC_GUI_OBJECT* fGetRoot() const { return _root; }

 private:
  QS_GUI_EVENT* _lastEvent = nullptr;
  QC_GUI_OBJECT* _root = nullptr;
};

}  // namespace QEL
