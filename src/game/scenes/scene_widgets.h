#pragma once
// What every scene builds its screens from: labels placed the scenes' way, sprites and
// five-frame buttons made from one resource name, and the slide that moves a window or a
// panel into place. The level, the menus and the editor share these rather than each
// keeping its own copy.
#include <cstdint>
#include <string>

namespace QEL {
class QC_FONT;
class QC_GUI_BUTTON5;
class QC_GUI_CONTAINER;
class QC_GUI_OBJECT;
class QC_GUI_WLABEL;
class QC_SPRITE;
}  // namespace QEL

// A place on the screen, in pixels of the picture: the scenes' tables of positions.
struct SCREEN_PLACE {
  float x;
  float y;
};

// The time in which a window or panel slides over its own distance, whatever that is.
constexpr float gSlideTime = 0.3f;

// Runs one step of a slide: the value falls by distance x timeStep / gSlideTime. Returns
// true on the step that brings it to 0 (the value is then exactly 0).
bool runSlide(float& value, float distance, float timeStep);

// A label with this id, font, text and anchor (0 centre, 1 top-left) placed at (x, y - 5):
// the scenes give every label's position 5 units below where it stands. A null container or
// parent leaves the label unattached (the caller then owns it).
QEL::QC_GUI_WLABEL* createLabel(int32_t id, const std::wstring& text, float x, float y,
                                QEL::QC_GUI_CONTAINER* container, QEL::QC_FONT* font, int32_t anchor);
// The same, appended to a parent widget; (x, y) is relative to the parent.
QEL::QC_GUI_WLABEL* createChildLabel(int32_t id, const std::wstring& text, float x, float y,
                                     QEL::QC_GUI_OBJECT* parent, QEL::QC_FONT* font, int32_t anchor);

// A sprite of the named image (one word, or pack and file) at (x, y) with the given anchor.
QEL::QC_SPRITE* makeSceneSprite(const std::string& image, float x, float y, int32_t anchor);
// A five-frame button of the named image, centred on (x, y), added to the container when
// there is one.
QEL::QC_GUI_BUTTON5* addSceneButton(QEL::QC_GUI_CONTAINER* container, int32_t id, const std::string& image,
                                    float x, float y);

// The end of a scene: a container goes with the widgets it holds and its root (a container
// alone leaves its tree in place), a sprite or any other owned object with itself; the
// pointer is cleared.
void deleteSceneContainer(QEL::QC_GUI_CONTAINER*& container);
template <class T>
void deleteOwned(T*& object) {
  delete object;
  object = nullptr;
}

// The start of a window that slides over a scene: its container made anew (one it had goes
// with its widgets) and its background, anchored at its top-left corner (x, y), made anew.
void startSceneWindow(QEL::QC_GUI_CONTAINER*& container, QEL::QC_SPRITE*& background, const std::string& image,
                      float x, float y);
// Such a window drawn: the background, then its widgets over it.
void drawSceneWindow(QEL::QC_SPRITE* background, QEL::QC_GUI_CONTAINER* container);
