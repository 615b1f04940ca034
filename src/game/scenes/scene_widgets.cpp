#include "game/scenes/scene_widgets.h"

#include "game/game_entry.h"
#include "gui/gui_button5.h"
#include "gui/gui_container.h"
#include "gui/gui_wlabel.h"
#include "primitives/sprite.h"

bool runSlide(float& value, float distance, float timeStep) {
  if (value <= 0.0f) return false;
  value -= distance * timeStep / gSlideTime;
  if (value > 0.0f) return false;
  value = 0.0f;
  return true;
}

QEL::QC_GUI_WLABEL* createLabel(int32_t id, const std::wstring& text, float x, float y,
                                QEL::QC_GUI_CONTAINER* container, QEL::QC_FONT* font, int32_t anchor) {
  auto* label = new QEL::QC_GUI_WLABEL(id, font, text);
  label->fSetPosition(x, y - 5.0f, 0.0f);
  label->fSetAnchor(anchor);
  if (container != nullptr) container->fAdd(label);
  return label;
}

QEL::QC_GUI_WLABEL* createChildLabel(int32_t id, const std::wstring& text, float x, float y,
                                     QEL::QC_GUI_OBJECT* parent, QEL::QC_FONT* font, int32_t anchor) {
  auto* label = new QEL::QC_GUI_WLABEL(id, font, text);
  label->fSetPosition(x, y - 5.0f, 0.0f);
  label->fSetAnchor(anchor);
  if (parent != nullptr) parent->fAddChild(label);
  return label;
}

QEL::QC_SPRITE* makeSceneSprite(const std::string& image, float x, float y, int32_t anchor) {
  auto* sprite = new QEL::QC_SPRITE(getImage(image.c_str()), nullptr);
  sprite->fSetAnchor(anchor, 0.0f, 0.0f);
  sprite->fSetPosition(x, y, 0.0f);
  return sprite;
}

QEL::QC_GUI_BUTTON5* addSceneButton(QEL::QC_GUI_CONTAINER* container, int32_t id, const std::string& image,
                                    float x, float y) {
  auto* button = new QEL::QC_GUI_BUTTON5(id, getImage(image.c_str()));
  button->fSetPosition(x, y, 0.0f);
  if (container != nullptr) container->fAdd(button);
  return button;
}

void deleteSceneContainer(QEL::QC_GUI_CONTAINER*& container) {
  QEL::QC_GUI_CONTAINER::fDeleteWithTree(container);
}

void startSceneWindow(QEL::QC_GUI_CONTAINER*& container, QEL::QC_SPRITE*& background, const std::string& image,
                      float x, float y) {
  deleteSceneContainer(container);
  container = new QEL::QC_GUI_CONTAINER();
  deleteOwned(background);
  background = makeSceneSprite(image, x, y, 1);
}

void drawSceneWindow(QEL::QC_SPRITE* background, QEL::QC_GUI_CONTAINER* container) {
  if (background != nullptr) background->fDraw();
  if (container != nullptr) container->fDraw();
}
