// The widget tree and its container: update order, one event per update, the focus rule,
// activity and visibility, finding and deleting widgets.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/gui_container.h"
#include "gui/gui_object.h"
#include "gui_support.h"

using namespace QEL;
using namespace gui_test;

namespace {

// A widget that reports whatever code it is told to, and records its updates, draws and
// destruction in a shared journal.
class ScriptedWidget : public QC_GUI_OBJECT {
 public:
  ScriptedWidget(int32_t id, std::vector<std::string>& journal) : QC_GUI_OBJECT(id), _journal(journal) {}
  ~ScriptedWidget() override { _journal.push_back("delete " + std::to_string(fGetId())); }
  QS_GUI_EVENT* fUpdate() override {
    _journal.push_back("update " + std::to_string(fGetId()));
    _event.code = _next;
    return eventOrNull();
  }
  void fDraw() override { _journal.push_back("draw " + std::to_string(fGetId())); }
  int32_t _next = 0;

 private:
  std::vector<std::string>& _journal;
};

using TreeTest = WidgetTest;

TEST_F(TreeTest, ChildrenUpdateBeforeTheirParentAndTheFirstEventEndsTheWalk) {
  std::vector<std::string> journal;
  QC_GUI_CONTAINER container;
  auto* group = new ScriptedWidget(1, journal);
  auto* a = new ScriptedWidget(2, journal);
  auto* b = new ScriptedWidget(3, journal);
  auto* later = new ScriptedWidget(4, journal);
  group->fAddChild(a);
  group->fAddChild(b);
  container.fAdd(group);
  container.fAdd(later);

  EXPECT_EQ(step(container), Event{});
  EXPECT_EQ(container.fGetEventId(), 0);
  EXPECT_EQ(container.fGetEventCode(), 0);
  EXPECT_EQ(journal, (std::vector<std::string>{"update 2", "update 3", "update 1", "update 4"}));

  // Two widgets report: only the earlier one is returned and everything after it misses the
  // update.
  journal.clear();
  a->_next = ENTER;
  later->_next = CLICK;
  EXPECT_EQ(step(container), (Event{2, ENTER}));
  EXPECT_EQ(container.fGetEventId(), 2);
  EXPECT_EQ(container.fGetEventCode(), ENTER);
  EXPECT_EQ(journal, (std::vector<std::string>{"update 2"}));
  EXPECT_EQ(container.fGetEventCodeById(2), ENTER);
  EXPECT_EQ(container.fGetEventCodeById(99), 0);
  container.fClear();
}

TEST_F(TreeTest, PressClickAndFocusClearEveryOtherBranchButEnterAndLeaveDoNot) {
  std::vector<std::string> journal;
  QC_GUI_CONTAINER container;
  auto* left = new ScriptedWidget(1, journal);
  auto* leftChild = new ScriptedWidget(2, journal);
  auto* right = new ScriptedWidget(3, journal);
  auto* rightChild = new ScriptedWidget(4, journal);
  left->fAddChild(leftChild);
  right->fAddChild(rightChild);
  container.fAdd(left);
  container.fAdd(right);
  left->fSetFocus(true);
  right->fSetFocus(true);

  rightChild->_next = ENTER;
  step(container);
  EXPECT_TRUE(left->fHasFocus());
  EXPECT_TRUE(leftChild->fHasFocus());

  rightChild->_next = PRESS;
  step(container);
  EXPECT_FALSE(left->fHasFocus());
  EXPECT_FALSE(leftChild->fHasFocus());
  EXPECT_TRUE(right->fHasFocus());
  EXPECT_TRUE(container.fGetRoot()->fHasFocus());

  left->fSetFocus(true);
  rightChild->_next = FOCUS;
  step(container);
  EXPECT_FALSE(leftChild->fHasFocus());
  container.fClear();
}

TEST_F(TreeTest, InactiveWidgetsSkipTheirSubTreeButStayDrawnAndInvisibleOnesHideIt) {
  std::vector<std::string> journal;
  QC_GUI_CONTAINER container;
  auto* group = new ScriptedWidget(1, journal);
  auto* child = new ScriptedWidget(2, journal);
  group->fAddChild(child);
  container.fAdd(group);
  child->_next = PRESS;

  group->fSetActive(false);
  EXPECT_EQ(step(container), Event{});
  container.fDraw();
  EXPECT_EQ(journal, (std::vector<std::string>{"draw 1", "draw 2"}));

  journal.clear();
  group->fSetActive(true);
  group->fSetVisible(false);
  EXPECT_EQ(step(container), (Event{2, PRESS}));
  container.fDraw();
  EXPECT_EQ(journal, (std::vector<std::string>{"update 2"}));

  journal.clear();
  group->fSetVisible(true);
  container.fSetActive(false);
  EXPECT_FALSE(container.fIsActive());
  EXPECT_EQ(step(container), Event{});
  container.fSetVisible(false);
  container.fDraw();
  EXPECT_TRUE(journal.empty());
  container.fSetVisible(true);
  container.fDraw();
  EXPECT_EQ(journal, (std::vector<std::string>{"draw 1", "draw 2"}));
  container.fClear();
}

TEST_F(TreeTest, FindingAndDeletingWidgets) {
  std::vector<std::string> journal;
  QC_GUI_CONTAINER container;
  auto* group = new ScriptedWidget(5, journal);
  auto* child = new ScriptedWidget(6, journal);
  auto* grandChild = new ScriptedWidget(7, journal);
  auto* other = new ScriptedWidget(8, journal);
  child->fAddChild(grandChild);
  group->fAddChild(child);
  container.fAdd(group);
  container.fAdd(other);

  EXPECT_EQ(container.fFindById(7), grandChild);
  EXPECT_EQ(container.fFindById(0), nullptr);  // never the root itself
  container.fDeleteById(42);
  EXPECT_TRUE(journal.empty());

  container.fDeleteById(6);
  EXPECT_EQ(journal, (std::vector<std::string>{"delete 7", "delete 6"}));
  EXPECT_EQ(container.fFindById(7), nullptr);
  EXPECT_EQ(group->fGetChildren().size(), 0u);

  journal.clear();
  container.fDelete(other);
  EXPECT_EQ(journal, (std::vector<std::string>{"delete 8"}));
  EXPECT_EQ(container.fGetRoot()->fGetChildren().size(), 1u);

  journal.clear();
  container.fClear();
  EXPECT_EQ(journal, (std::vector<std::string>{"delete 5"}));
  EXPECT_TRUE(container.fGetRoot()->fGetChildren().empty());
}

TEST_F(TreeTest, ClearedContainerKeepsItsRootStateAndMovingTheRootMovesTheTree) {
  std::vector<std::string> journal;
  QC_GUI_CONTAINER container;
  container.fSetPosition(100.0f, 50.0f, 0.0f);
  container.fAdd(new ScriptedWidget(1, journal));
  container.fClear();
  auto* widget = new ScriptedWidget(2, journal);
  widget->fSetPosition(10.0f, 20.0f, 0.0f);
  container.fAdd(widget);
  container.fMove(5.0f, -10.0f);
  EXPECT_FLOAT_EQ(container.fGetPosition().x, 105.0f);
  EXPECT_FLOAT_EQ(container.fGetPosition().y, 40.0f);
  const QS_TRANSFORM3 world = widget->fGetTransform()->fGetWorld(false, false, false);
  EXPECT_FLOAT_EQ(world._position.x, 115.0f);
  EXPECT_FLOAT_EQ(world._position.y, 60.0f);
  container.fClear();
}

TEST_F(TreeTest, AContainerDeletedWithItsTreeTakesEveryWidgetAlong) {
  std::vector<std::string> journal;
  auto* container = new QC_GUI_CONTAINER();
  auto* button = new ScriptedWidget(1, journal);
  button->fAddChild(new ScriptedWidget(2, journal));  // a caption on its button
  container->fAdd(button);
  container->fAdd(new ScriptedWidget(3, journal));
  QC_GUI_CONTAINER::fDeleteWithTree(container);
  EXPECT_EQ(container, nullptr);
  EXPECT_EQ(journal, (std::vector<std::string>{"delete 2", "delete 1", "delete 3"}));
  QC_GUI_CONTAINER::fDeleteWithTree(container);  // already gone: nothing happens
  EXPECT_EQ(journal.size(), 3u);
}

TEST_F(TreeTest, InsertChildPlacesTheWidgetInUpdateOrder) {
  std::vector<std::string> journal;
  QC_GUI_OBJECT root(0);
  root.fAddChild(new ScriptedWidget(1, journal));
  root.fAddChild(new ScriptedWidget(3, journal));
  root.fInsertChild(new ScriptedWidget(2, journal), 1);
  root.fInsertChild(new ScriptedWidget(4, journal), 99);  // beyond the end: appended
  root.fUpdateAll();
  EXPECT_EQ(journal, (std::vector<std::string>{"update 1", "update 2", "update 3", "update 4"}));
  root.fDeleteChildren();
}

}  // namespace
