// Check box, image, panel and the two labels: their events, states and the textures they
// hand back.
#include <gtest/gtest.h>

#include "gui/gui_checkbox5.h"
#include "gui/gui_container.h"
#include "gui/gui_image.h"
#include "gui/gui_label.h"
#include "gui/gui_panel.h"
#include "gui/gui_wlabel.h"
#include "gui_support.h"

using namespace QEL;
using namespace gui_test;

namespace {

class WidgetsTest : public WidgetTest {
 protected:
  void TearDown() override {
    _container.fClear();
    WidgetTest::TearDown();
  }
  QC_GUI_CONTAINER _container;
};

// 250 x 40 strip at (400, 300): x 375..425.
TEST_F(WidgetsTest, CheckBoxClickTicksAndClearsAndOnlyPressAndClickAreReturned) {
  auto* box = new QC_GUI_CHECKBOX5(30, texture(250, 40));
  box->fSetPosition(400.0f, 300.0f, 0.0f);
  _container.fAdd(box);
  move(400, 300);
  EXPECT_EQ(step(_container), Event{});
  EXPECT_EQ(box->fGetEventCode(), ENTER);
  EXPECT_EQ(_container.fGetEventCodeById(30), ENTER);
  press();
  EXPECT_EQ(step(_container), (Event{30, PRESS}));
  release();
  EXPECT_EQ(step(_container), (Event{30, CLICK}));
  EXPECT_TRUE(box->fIsChecked());
  press();
  EXPECT_EQ(step(_container), (Event{30, PRESS}));
  EXPECT_EQ(box->fGetState(), 3);
  release();
  EXPECT_EQ(step(_container), (Event{30, CLICK}));
  EXPECT_EQ(box->fGetState(), 1);
}

TEST_F(WidgetsTest, CheckBoxPressedAndReleasedOutsideStaysAsItWas) {
  auto* box = new QC_GUI_CHECKBOX5(30, texture(250, 40));
  box->fSetPosition(400.0f, 300.0f, 0.0f);
  _container.fAdd(box);
  move(400, 300);
  step(_container);
  press();
  step(_container);
  move(600, 300);
  EXPECT_EQ(step(_container), Event{});
  EXPECT_EQ(box->fGetEventCode(), LEAVE);
  release();
  step(_container);
  EXPECT_EQ(box->fGetState(), 0);

  // Ticked, pressed, left: still ticked.
  move(400, 300);
  step(_container);
  press();
  step(_container);
  release();
  step(_container);
  ASSERT_TRUE(box->fIsChecked());
  press();
  step(_container);
  move(600, 300);
  step(_container);
  release();
  EXPECT_EQ(step(_container), Event{});
  EXPECT_TRUE(box->fIsChecked());
}

TEST_F(WidgetsTest, CheckBoxSizeAndTexture) {
  QC_TEXTURE* strip = texture(250, 40);
  auto* box = new QC_GUI_CHECKBOX5(30, strip);
  box->fSetSize(60.0f, 30.0f);
  EXPECT_FLOAT_EQ(box->fGetWidth(), 60.0f);
  EXPECT_FLOAT_EQ(box->fGetHeight(), 30.0f);
  delete box;
  EXPECT_EQ(timesReleased(strip), 1);
}

TEST_F(WidgetsTest, ImageReportsPressesAndHandsBackTheTextureItGivesUp) {
  QC_TEXTURE* first = texture(100, 50);
  QC_TEXTURE* second = texture(40, 40);
  auto* image = new QC_GUI_IMAGE(40, first);
  image->fSetPosition(200.0f, 200.0f, 0.0f);
  _container.fAdd(image);
  move(240, 210);
  EXPECT_EQ(step(_container), Event{});
  press();
  EXPECT_EQ(step(_container), (Event{40, PRESS}));
  release();
  EXPECT_EQ(step(_container), Event{});

  image->fSetTexture(first);  // the same texture is not handed back while it stays in use
  EXPECT_EQ(timesReleased(first), 0);
  image->fSetTexture(second);
  EXPECT_EQ(timesReleased(first), 1);
  EXPECT_FLOAT_EQ(image->fGetWidth(), 40.0f);
  _container.fDelete(image);
  EXPECT_EQ(timesReleased(first), 1);
  EXPECT_EQ(timesReleased(second), 1);
}

TEST_F(WidgetsTest, PanelFollowsThePointerFromThePressUntilAReleaseOverIt) {
  auto* panel = new QC_GUI_PANEL(50, texture(100, 60));
  panel->fSetPosition(300.0f, 300.0f, 0.0f);
  _container.fAdd(panel);
  move(310, 290);
  EXPECT_EQ(step(_container), Event{});
  EXPECT_EQ(panel->fGetEventCode(), ENTER);
  press();
  EXPECT_EQ(step(_container), (Event{50, PRESS}));
  move(410, 340);
  EXPECT_EQ(step(_container), Event{});
  EXPECT_EQ(panel->fGetEventCode(), CHANGE);
  EXPECT_FLOAT_EQ(panel->fGetTransform()->_position.x, 400.0f);  // the grabbed point stays under the pointer
  EXPECT_FLOAT_EQ(panel->fGetTransform()->_position.y, 350.0f);
  release();
  EXPECT_EQ(step(_container), (Event{50, CLICK}));
  EXPECT_FALSE(panel->fIsDragging());
  move(500, 500);
  step(_container);
  EXPECT_FLOAT_EQ(panel->fGetTransform()->_position.x, 400.0f);
  EXPECT_EQ(panel->fGetEventCode(), LEAVE);
}

TEST_F(WidgetsTest, LabelsWithoutAFontDrawNothingAndWideLabelsMeasureTheirText) {
  QC_GUI_LABEL label(60, nullptr, "text");
  label.fDraw();
  EXPECT_EQ(label.fUpdate(), nullptr);
  QC_GUI_WLABEL none(61, nullptr, L"text");
  none.fDraw();
  QC_GUI_WLABEL wide(62, font(), L"abc");
  EXPECT_FLOAT_EQ(wide.fGetWidth(), 30.0f);
  EXPECT_FLOAT_EQ(wide.fGetHeight(), 20.0f);
  wide.fSetText(L"");
  EXPECT_FLOAT_EQ(wide.fGetWidth(), 0.0f);
  EXPECT_EQ(wide.fUpdate(), nullptr);
  EXPECT_EQ(fPlainFormat("100%% sure, 5%d"), "100% sure, 5%d");
}

TEST_F(WidgetsTest, ALabelHandsBackOnlyTheFontItBuilt) {
  pugi::xml_document doc;
  doc.load_string(testFontXml().c_str());
  QC_TEXTURE* page = texture(256, 64);
  auto* shared = new QC_GUI_LABEL(1, font(), "a");
  shared->fSetFont(font());  // the shared font's node now hangs under the label
  auto* owning = new QC_GUI_LABEL(2, doc.child("font"), page, "b");
  delete shared;
  EXPECT_EQ(font()->_sprite->_node->_parent, nullptr);
  delete owning;
  EXPECT_EQ(timesReleased(page), 1);
  EXPECT_EQ(releasedTextures().size(), 1u);
}

}  // namespace
