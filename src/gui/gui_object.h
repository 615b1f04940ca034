#pragma once
// The base of every widget and, by itself, the invisible grouping node of a widget tree.
// Each update the tree is walked from the root and yields at most one event record, which
// the scene reads back by widget id; each drawn frame the tree is drawn from the root down.
#include <cstdint>
#include <vector>

#include "engine/transform.h"

namespace QEL {

enum : int32_t {
  GUI_EVENT_NONE = 0,
  GUI_EVENT_ENTER = 3,
  GUI_EVENT_LEAVE = 4,
  GUI_EVENT_PRESS = 7,
  GUI_EVENT_CLICK = 8,
  GUI_EVENT_CHANGE = 9,
  GUI_EVENT_TEXT_CHANGED = 10,
  GUI_EVENT_FOCUS = 11,
};

// Lives inside the widget that reported it: valid while the widget lives, overwritten by
// its next update.
struct QS_GUI_EVENT {
  int32_t id = 0;
  int32_t code = 0;
};

class QC_GUI_OBJECT {
 public:
  explicit QC_GUI_OBJECT(int32_t id);
  // Releases what the class holds and its node, but not its children: a sub-tree goes only
  // through fDeleteChildren, fDeleteChild or fDeleteChildById.
  virtual ~QC_GUI_OBJECT();
  QC_GUI_OBJECT(const QC_GUI_OBJECT&) = delete;
  QC_GUI_OBJECT& operator=(const QC_GUI_OBJECT&) = delete;

  // The widget's own input handling for one frame: its event record when it reports.
  virtual QS_GUI_EVENT* fUpdate();
  // Draws the widget itself, not its children.
  virtual void fDraw();
  virtual void fSetPosition(float x, float y, float z);
  virtual void fSetSize(float w, float h);
  virtual float fGetWidth();
  virtual float fGetHeight();

  void fAddChild(QC_GUI_OBJECT* child);
  // index beyond the last child appends.
  void fInsertChild(QC_GUI_OBJECT* child, int32_t index);
  void fDeleteChildren();
  void fDeleteChild(QC_GUI_OBJECT* child);
  void fDeleteChildById(int32_t id);
  // Descendants only: the widget's own id is not tested.
  QC_GUI_OBJECT* fFindById(int32_t id);
  int32_t fGetEventCodeById(int32_t id);

  void fSetVisible(bool visible) { _visible = visible; }
  bool fIsVisible() const { return _visible; }
  void fSetActive(bool active) { _active = active; }
  bool fIsActive() const { return _active; }
  void fSetId(int32_t id) { _event.id = id; }
  int32_t fGetId() const { return _event.id; }
  int32_t fGetEventCode() const { return _event.code; }
  QS_TRANSFORM3* fGetTransform() const { return _node; }
  bool fHasFocus() const { return _focus; }
  // This widget and every widget below it.
  void fSetFocus(bool focus);
  QC_GUI_OBJECT* fGetParent() const { return _parent; }
  const std::vector<QC_GUI_OBJECT*>& fGetChildren() const { return _children; }
  int32_t fGetKind() const { return _kind; }

  // At most one event per frame: the first found depth first, children before their parent.
  QS_GUI_EVENT* fUpdateAll();
  void fDrawAll();

 protected:
  // Deletes the child's sub-tree and the child if it is the target; true when found.
  bool deleteMatching(QC_GUI_OBJECT* target, bool byId, int32_t id);
  QS_GUI_EVENT* eventOrNull() { return _event.code != GUI_EVENT_NONE ? &_event : nullptr; }

  int32_t _kind = -1;  // widget kind tag; -1 where the class gives none
  QS_GUI_EVENT _event;
  bool _visible = true;
  bool _active = true;
  bool _focus = false;
  QS_TRANSFORM3* _node = nullptr;
  QC_GUI_OBJECT* _parent = nullptr;
  std::vector<QC_GUI_OBJECT*> _children;
};

}  // namespace QEL
