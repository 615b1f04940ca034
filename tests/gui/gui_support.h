#pragma once
// Shared helpers of the widget tests: an input object driven frame by frame as the main loop
// does (input fed, update, end of frame), sized textures without a device, a test font and a
// recorder of the textures handed back through the texture-unscribed callback.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "engine/callback.h"
#include "engine/globals.h"
#include "engine/input.h"
#include "engine/log.h"
#include "log_recorder.h"
#include "engine/texture.h"
#include "gui/gui_container.h"
#include "primitives/font.h"

namespace gui_test {

struct GlyphSpec {
  int id, x, y, width, height;
};

// Lower-case letters and digits 10 wide, 'W' 30 wide, 'ë' 10 wide, '|' 2 wide; line height 20.
inline std::string testFontXml() {
  std::vector<GlyphSpec> glyphs;
  for (int c = 'a'; c <= 'z'; ++c) glyphs.push_back({c, (c - 'a') * 10, 0, 10, 16});
  for (int c = '0'; c <= '9'; ++c) glyphs.push_back({c, (c - '0') * 10, 20, 10, 16});
  glyphs.push_back({'W', 100, 20, 30, 16});
  glyphs.push_back({0xEB, 130, 20, 10, 16});
  glyphs.push_back({'|', 140, 20, 2, 16});
  std::ostringstream out;
  out << "<?xml version=\"1.0\"?>\n<font>\n  <common lineHeight=\"20\" base=\"16\"/>\n"
      << "  <pages><page id=\"0\" file=\"page.png\"/></pages>\n  <chars count=\"" << glyphs.size() << "\">\n";
  for (const GlyphSpec& g : glyphs) {
    out << "    <char id=\"" << g.id << "\" x=\"" << g.x << "\" y=\"" << g.y << "\" width=\"" << g.width
        << "\" height=\"" << g.height << "\" xoffset=\"0\" yoffset=\"0\"/>\n";
  }
  out << "  </chars>\n</font>\n";
  return out.str();
}

// Textures handed back, in order.
inline std::vector<QEL::QC_TEXTURE*>& releasedTextures() {
  static std::vector<QEL::QC_TEXTURE*> released;
  return released;
}

inline uint32_t recordRelease(QEL::QT_CALLBACK_ARG argument) {
  releasedTextures().push_back(reinterpret_cast<QEL::QC_TEXTURE*>(argument));
  return 0;
}

inline int timesReleased(QEL::QC_TEXTURE* texture) {
  int n = 0;
  for (QEL::QC_TEXTURE* t : releasedTextures()) n += t == texture ? 1 : 0;
  return n;
}

using test_support::LogRecorder;

struct Event {
  int32_t id = 0;
  int32_t code = 0;
  bool operator==(const Event& o) const { return id == o.id && code == o.code; }
};

inline std::ostream& operator<<(std::ostream& out, const Event& e) { return out << "{" << e.id << ", " << e.code << "}"; }

// The input object, textures, a font and the release recorder for one test. Widgets are
// made after the input object, since they keep pointers to its mouse position.
class WidgetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    releasedTextures().clear();
    _savedCallback = QEL::qcON_TEXTURE_UNSCRIBED;
    _releaseCallback = std::make_unique<QEL::QC_CALLBACK>(recordRelease, "release", 0);
    QEL::qcON_TEXTURE_UNSCRIBED = _releaseCallback.get();
    _savedDelta = QEL::qcFRAME_DELTA;
    QEL::qcFRAME_DELTA = 0.0f;
  }
  void TearDown() override {
    QEL::qcON_TEXTURE_UNSCRIBED = _savedCallback;
    QEL::qcFRAME_DELTA = _savedDelta;
  }

  QEL::QC_TEXTURE* texture(int32_t w, int32_t h) {
    auto* t = new QEL::QC_TEXTURE;
    t->_size = QEL::QS_POINT(w, h);
    _textures.emplace_back(t);
    return t;
  }
  QEL::QC_FONT* font() {
    if (!_font) {
      _fontDoc.load_string(testFontXml().c_str());
      _font = std::make_unique<QEL::QC_FONT>(_fontDoc.child("font"), texture(256, 64), 600);
    }
    return _font.get();
  }

  // One update step of the main loop: the input of the previous pump is seen, then the
  // frame ends.
  Event step(QEL::QC_GUI_CONTAINER& container) {
    QEL::QS_GUI_EVENT* event = container.fUpdate();
    Event result;
    if (event != nullptr) result = {event->id, event->code};
    _input.fEndFrame();
    return result;
  }
  Event step(QEL::QC_GUI_OBJECT& widget) {
    QEL::QS_GUI_EVENT* event = widget.fUpdateAll();
    Event result;
    if (event != nullptr) result = {event->id, event->code};
    _input.fEndFrame();
    return result;
  }
  void move(int32_t x, int32_t y) { _input.fOnMouseMove(x, y); }
  void press(uint32_t code = 1) { _input.fOnKeyDown(code); }
  void release(uint32_t code = 1) { _input.fOnKeyUp(code); }
  // A key that types a character, as the platform delivers it: key down, then the text.
  void type(wchar_t character, uint32_t key) {
    _input.fOnKeyDown(key);
    _input.fOnChar(character);
  }

  QEL::QK_BUTTON _input;
  std::vector<std::unique_ptr<QEL::QC_TEXTURE>> _textures;
  pugi::xml_document _fontDoc;
  std::unique_ptr<QEL::QC_FONT> _font;
  QEL::QC_CALLBACK* _savedCallback = nullptr;
  std::unique_ptr<QEL::QC_CALLBACK> _releaseCallback;
  float _savedDelta = 0.0f;
};

constexpr int32_t ENTER = 3, LEAVE = 4, PRESS = 7, CLICK = 8, CHANGE = 9, TEXT = 10, FOCUS = 11;

}  // namespace gui_test
