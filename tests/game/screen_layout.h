#pragma once
// Whether a screen's texts fit where they stand, read from what the screen really draws: the
// renderer tells of every quad a draw asks for, each label and button of the scene's widget
// trees is drawn alone to find its own quads among the screen's, and the pictures are read
// from their resource files.
//
// A text stands on the topmost picture under its middle (a caption on its button). Its plate
// is the piece of that picture which a flood from the text's middle reaches without crossing
// an edge (a rim, a border, a drawn figure): every inked pixel of the text must lie on it,
// and nothing drawn above the plate may touch the ink. Texts and buttons must not touch one
// another. Only what is drawn after the last shade that covers the whole screen counts: the
// open window and what stands on it, or the whole screen when nothing is open. A text whose
// middle lies on no picture but the screen's background stands free (a banner, a pop-up).
// Lines a scene prints itself (the editor's status and message lines) also keep out of one
// another's box. The editor's screen is wider than the game's picture: the background of its
// play area counts as the shade under everything, and its strip of panels is checked too.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/file_system.h"
#include "engine/globals.h"
#include "engine/render.h"
#include "engine/resource.h"
#include "engine/resource_loader.h"
#include "engine/text_utils.h"
#include "engine/texture.h"
#include "game/fonts_sounds.h"
#include "game/game_globals.h"
#include "gui/gui_button5.h"
#include "gui/gui_container.h"
#include "gui/gui_wlabel.h"
#include "platform/image_codec.h"
#include "primitives/font.h"

namespace test_support::screen_layout {

constexpr int kWidth = 1024;  // the game's picture; the editor's screen is wider
constexpr int kHeight = 768;
// A pixel is inked, or a picture opaque, from half coverage on.
constexpr int kSolid = 128;
// Two neighbouring texels lie on one plate when no channel (alpha-weighted) differs by more:
// gradients and soft light pass, rims, borders and drawn figures stop the flood.
constexpr int kEdge = 14;

// One quad as drawn: its picture and its corners in screen pixels (0 top left, 1 top right,
// 2 bottom right, 3 bottom left) with their texture coordinates.
struct QUAD {
  QEL::QC_TEXTURE* texture = nullptr;
  float x[4] = {}, y[4] = {}, u[4] = {}, v[4] = {};
  int alpha = 255;

  bool sameAs(const QUAD& other) const {
    if (texture != other.texture) return false;
    for (int i = 0; i < 4; ++i)
      if (std::fabs(x[i] - other.x[i]) > 0.01f || std::fabs(y[i] - other.y[i]) > 0.01f ||
          std::fabs(u[i] - other.u[i]) > 1e-5f || std::fabs(v[i] - other.v[i]) > 1e-5f)
        return false;
    return true;
  }
  // Covers the game's picture (the editor's play area).
  bool coversScreen() const {
    return *std::min_element(x, x + 4) <= 0.5f && *std::min_element(y, y + 4) <= 0.5f &&
           *std::max_element(x, x + 4) >= kWidth - 0.5f && *std::max_element(y, y + 4) >= kHeight - 0.5f;
  }
  // The texture coordinates under a point of the screen; false outside the quad.
  bool textureAt(float sx, float sy, float& tu, float& tv) const {
    const float ax = x[1] - x[0], ay = y[1] - y[0], bx = x[3] - x[0], by = y[3] - y[0];
    const float det = ax * by - ay * bx;
    if (std::fabs(det) < 1e-6f) return false;
    const float px = sx - x[0], py = sy - y[0];
    const float a = (px * by - py * bx) / det, b = (ax * py - ay * px) / det;
    if (a < 0.0f || a >= 1.0f || b < 0.0f || b >= 1.0f) return false;
    tu = u[0] + a * (u[1] - u[0]) + b * (u[3] - u[0]);
    tv = v[0] + a * (v[1] - v[0]) + b * (v[3] - v[0]);
    return true;
  }
  // Pixels the quad may touch, on the screen or not.
  void bounds(int& left, int& top, int& right, int& bottom) const {
    left = static_cast<int>(std::floor(*std::min_element(x, x + 4)));
    top = static_cast<int>(std::floor(*std::min_element(y, y + 4)));
    right = static_cast<int>(std::ceil(*std::max_element(x, x + 4)));
    bottom = static_cast<int>(std::ceil(*std::max_element(y, y + 4)));
  }
};

// Every quad that `draw` asks the renderer for, in order, with its corners on the screen.
inline std::vector<QUAD> recordDraws(const std::function<void()>& draw) {
  std::vector<QUAD> quads;
  QEL::qcRENDER->_drawWatcher = [&quads](const QEL::QS_VERTEX* vertices, int32_t count, QEL::QC_TEXTURE* texture,
                                         const QEL::QS_MATRIX4& world) {
    if (count != 4) return;
    QUAD quad;
    quad.texture = texture;
    const float(&m)[4][4] = world.m;
    for (int i = 0; i < 4; ++i) {
      const QEL::QS_VERTEX& v = vertices[i];
      quad.x[i] = v.x * m[0][0] + v.y * m[1][0] + v.z * m[2][0] + m[3][0];
      quad.y[i] = v.x * m[0][1] + v.y * m[1][1] + v.z * m[2][1] + m[3][1];
      quad.u[i] = v.u;
      quad.v[i] = v.v;
    }
    quad.alpha = vertices[0].color.a;
    quads.push_back(quad);
  };
  draw();
  QEL::qcRENDER->_drawWatcher = nullptr;
  return quads;
}

// The pixels of every picture drawn, read from its resource file once.
class PICTURES {
 public:
  struct PICTURE {
    std::string name;
    int width = 0, height = 0;
    std::vector<uint8_t> rgba;
    const uint8_t* at(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
  };

  const PICTURE& of(QEL::QC_TEXTURE* texture) {
    auto found = _pictures.find(texture);
    if (found != _pictures.end()) return found->second;
    PICTURE& picture = _pictures[texture];
    QEL::QS_RESOURCE* record = texture != nullptr ? QEL::qcRESOURCE_LOADER->fFindByObject(texture) : nullptr;
    if (record == nullptr) return picture;
    picture.name = record->_folder + (record->_folder.empty() ? "" : " ") + record->_sgResName;
    QEL::QS_FILE_DATA data;
    if (QEL::qcFILE_SYSTEM->fLoadResource(record->_folder, record->_sgResName, "", data) == 1) {
      if (!platform::decodeImageFromMemory(data._data, data._size, picture.rgba, picture.width, picture.height))
        picture.rgba.clear();
      QEL::qcFILE_SYSTEM->fFreeResource(data);
    }
    return picture;
  }

  // The texel under a point of the screen, or null (outside the quad, or no picture).
  const uint8_t* texelAt(const QUAD& quad, float sx, float sy) {
    const PICTURE& picture = of(quad.texture);
    float u = 0.0f, v = 0.0f;
    if (picture.rgba.empty() || !quad.textureAt(sx, sy, u, v)) return nullptr;
    return picture.at(std::clamp(static_cast<int>(std::floor(u * picture.width)), 0, picture.width - 1),
                      std::clamp(static_cast<int>(std::floor(v * picture.height)), 0, picture.height - 1));
  }

  // The pixels of a screen `width` wide where the quad is solid (the vertex colour's alpha
  // counted); those beyond the screen's edges are counted in `offScreen`.
  std::vector<int> solidPixels(const QUAD& quad, int* offScreen = nullptr, int width = kWidth) {
    std::vector<int> pixels;
    int left, top, right, bottom;
    quad.bounds(left, top, right, bottom);
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) {
        const uint8_t* texel = texelAt(quad, x + 0.5f, y + 0.5f);
        if (texel == nullptr || texel[3] * quad.alpha < kSolid * 255) continue;
        if (x >= 0 && y >= 0 && x < width && y < kHeight)
          pixels.push_back(y * width + x);
        else if (offScreen != nullptr)
          ++*offScreen;
      }
    return pixels;
  }

 private:
  std::map<QEL::QC_TEXTURE*, PICTURE> _pictures;
};

// What a screen shows that the check looks at.
struct ITEM {
  std::string what;  // the text, or the button's picture
  bool isText = false;
  int drawn = 0;  // index of its first quad among the screen's
  QEL::QC_GUI_OBJECT* widget = nullptr;
  std::vector<int> pixels;  // inked or solid screen pixels, sorted
  int offScreen = 0;  // inked or solid pixels beyond the screen's edges
  int left = INT_MAX, top = INT_MAX, right = 0, bottom = 0;
};

// A text as the messages name it: its lines joined by bars.
inline std::string named(std::wstring text) {
  std::replace(text.begin(), text.end(), L'\n', L'|');
  return "\"" + QEL::fWideToUtf8(text) + "\"";
}

class SCREEN_CHECK {
 public:
  explicit SCREEN_CHECK(PICTURES& pictures, int width = kWidth) : _pictures(pictures), _width(width) {
    for (int slot = 0; slot < kFontCount; ++slot)
      if (gFonts[slot] != nullptr && gFonts[slot]->_sprite != nullptr) _fontPages.insert(gFonts[slot]->_sprite->_texture);
  }

  // Draws the current scene and checks what stands on top: the scene's widget trees give the
  // texts and buttons. The widgets of `underneath` lie under other pictures by design (the
  // labels on the stock under its cards) and are not checked. Every fault found is added to
  // `faults`, named after the screen.
  void check(const std::string& screen, const std::vector<QEL::QC_GUI_CONTAINER*>& containers,
             std::vector<std::string>& faults, const std::vector<QEL::QC_GUI_CONTAINER*>& underneath = {}) {
    _screen = screen;
    _faults = &faults;
    if (QEL::qcRENDER->fBeginScene() != 1) {
      fault("the screen could not be drawn");
      return;
    }
    _quads = recordDraws([] { gCurrentScene->fDraw(); });
    _layer = 0;
    for (size_t i = 0; i < _quads.size(); ++i)
      if (_quads[i].coversScreen()) _layer = static_cast<int>(i);
    _items.clear();
    for (QEL::QC_GUI_CONTAINER* container : underneath)
      if (container != nullptr) collect(container->fGetRoot());
    _items.clear();
    for (QEL::QC_GUI_CONTAINER* container : containers)
      if (container != nullptr) collect(container->fGetRoot());
    QEL::qcRENDER->fEndScene();
    collectFreeTexts();
    for (const ITEM& item : _items) checkGround(item);
    checkOverlaps();
  }

 private:
  bool isGlyph(const QUAD& quad) const { return _fontPages.count(quad.texture) != 0; }

  void fault(const std::string& what) { _faults->push_back(_screen + ": " + what); }

  static std::string box(const ITEM& item) {
    return "(" + std::to_string(item.left) + "," + std::to_string(item.top) + ")-(" + std::to_string(item.right) +
           "," + std::to_string(item.bottom) + ")";
  }

  // Where the widget's own quads stand among the screen's: -1 when it is not drawn there.
  // Widgets of two windows may draw the same (a close button at one place): quads already
  // found for one widget are not another's.
  int findAmongScreen(const std::vector<QUAD>& own) const {
    for (size_t i = static_cast<size_t>(_layer); i + own.size() <= _quads.size(); ++i) {
      bool all = true;
      for (size_t k = 0; all && k < own.size(); ++k)
        all = _quads[i + k].sameAs(own[k]) && _owned.count(static_cast<int>(i + k)) == 0;
      if (all) return static_cast<int>(i);
    }
    return -1;
  }

  void addPixels(ITEM& item, const QUAD& quad) {
    for (int pixel : _pictures.solidPixels(quad, &item.offScreen, _width)) item.pixels.push_back(pixel);
  }

  void finish(ITEM& item) {
    std::sort(item.pixels.begin(), item.pixels.end());
    item.pixels.erase(std::unique(item.pixels.begin(), item.pixels.end()), item.pixels.end());
    for (int pixel : item.pixels) {
      item.left = std::min(item.left, pixel % _width);
      item.right = std::max(item.right, pixel % _width + 1);
      item.top = std::min(item.top, pixel / _width);
      item.bottom = std::max(item.bottom, pixel / _width + 1);
    }
  }

  void collect(QEL::QC_GUI_OBJECT* widget) {
    if (widget == nullptr || !widget->fIsVisible()) return;
    auto* label = dynamic_cast<QEL::QC_GUI_WLABEL*>(widget);
    auto* button = dynamic_cast<QEL::QC_GUI_BUTTON5*>(widget);
    if (label != nullptr || button != nullptr) {
      const std::vector<QUAD> own = recordDraws([widget] { widget->fDraw(); });
      const int at = own.empty() ? -1 : findAmongScreen(own);
      if (at >= 0) {
        ITEM item;
        item.isText = label != nullptr;
        item.what = label != nullptr ? named(label->fGetText()) : "button " + _pictures.of(own[0].texture).name;
        item.drawn = at;
        item.widget = widget;
        for (size_t k = 0; k < own.size(); ++k) {
          addPixels(item, own[k]);
          _owned.insert(at + static_cast<int>(k));
        }
        finish(item);
        if (!item.pixels.empty()) _items.push_back(item);
      }
    }
    for (QEL::QC_GUI_OBJECT* child : widget->fGetChildren()) collect(child);
  }

  // Texts the scene draws with a font itself (hints, the editor's status lines): each line of
  // glyphs that no label drew. A glyph left of the one before it, or one whose middle lies
  // above or below the line so far while the line's middle lies beyond the glyph, begins
  // another line, of the same text or of the next one drawn.
  void collectFreeTexts() {
    ITEM run;
    int lineTop = 0, lineBottom = 0, lastLeft = 0;
    const auto close = [this, &run] {
      finish(run);
      if (!run.pixels.empty()) _items.push_back(run);
      run = ITEM();
    };
    for (size_t i = static_cast<size_t>(_layer); i < _quads.size(); ++i) {
      const bool free = isGlyph(_quads[i]) && _owned.count(static_cast<int>(i)) == 0;
      if (!free) {
        if (run.isText) close();
        continue;
      }
      int left, top, right, bottom;
      _quads[i].bounds(left, top, right, bottom);
      const bool glyphOffLine = top + bottom < 2 * lineTop || top + bottom > 2 * lineBottom;
      const bool lineOffGlyph = lineTop + lineBottom < 2 * top || lineTop + lineBottom > 2 * bottom;
      if (run.isText && (left < lastLeft || (glyphOffLine && lineOffGlyph))) close();
      if (!run.isText) {
        run.isText = true;
        run.what = "text drawn by the scene";
        run.drawn = static_cast<int>(i);
        lineTop = top;
        lineBottom = bottom;
      }
      lineTop = std::min(lineTop, top);
      lineBottom = std::max(lineBottom, bottom);
      lastLeft = left;
      addPixels(run, _quads[i]);
    }
    if (run.isText) close();
    _owned.clear();
  }

  // The quad the item stands on: its button, or the topmost picture drawn before it that is
  // solid under its middle; -1 when only the screen's background lies there.
  int groundOf(const ITEM& item, float mx, float my) {
    for (QEL::QC_GUI_OBJECT* up = item.widget != nullptr ? item.widget->fGetParent() : nullptr; up != nullptr;
         up = up->fGetParent()) {
      for (const ITEM& other : _items)
        if (other.widget == up && !other.isText) return other.drawn;
    }
    for (int i = item.drawn - 1; i > _layer; --i) {
      const QUAD& quad = _quads[i];
      if (isGlyph(quad) || quad.coversScreen()) continue;
      const uint8_t* texel = _pictures.texelAt(quad, mx, my);
      if (texel != nullptr && texel[3] * quad.alpha >= kSolid * 255) return i;
    }
    return -1;
  }

  // The screen pixels of the quad that a flood from (x, y) reaches: solid neighbours whose
  // texels differ by no more than kEdge in any channel, colours weighted by their alpha.
  std::vector<uint8_t> plateOf(const QUAD& quad, int x, int y) {
    std::vector<uint8_t> plate(static_cast<size_t>(_width) * kHeight, 0);
    const auto texel = [&](int pixel) { return _pictures.texelAt(quad, pixel % _width + 0.5f, pixel / _width + 0.5f); };
    const auto near = [](const uint8_t* a, const uint8_t* b) {
      if (b == nullptr || b[3] < kSolid || std::abs(a[3] - b[3]) > kEdge) return false;
      for (int c = 0; c < 3; ++c)
        if (std::abs(a[c] * a[3] / 255 - b[c] * b[3] / 255) > kEdge) return false;
      return true;
    };
    std::vector<int> todo{y * _width + x};
    if (texel(todo[0]) == nullptr || texel(todo[0])[3] < kSolid) return plate;
    plate[static_cast<size_t>(todo[0])] = 1;
    while (!todo.empty()) {
      const int here = todo.back();
      todo.pop_back();
      const int column = here % _width;
      for (const int next : {column > 0 ? here - 1 : -1, column + 1 < _width ? here + 1 : -1, here - _width,
                             here + _width}) {
        if (next < 0 || next >= _width * kHeight || plate[static_cast<size_t>(next)] != 0) continue;
        if (!near(texel(here), texel(next))) continue;
        plate[static_cast<size_t>(next)] = 1;
        todo.push_back(next);
      }
    }
    return plate;
  }

  // A text must stay on its plate, and nothing drawn above the plate (or, for what stands on
  // the screen's background alone, above the screen's background) may touch it. A button may
  // not cover what is drawn there before it; what is drawn over it points at it (a hint's
  // arrow or glow).
  void checkGround(const ITEM& item) {
    if (item.offScreen > 0) fault(item.what + " " + box(item) + " leaves the screen");
    const int mx = (item.left + item.right) / 2;
    const int my = (item.top + item.bottom) / 2;
    const int ground = groundOf(item, static_cast<float>(mx) + 0.5f, static_cast<float>(my) + 0.5f);
    const std::string plateName = ground >= 0 ? _pictures.of(_quads[ground].texture).name : "the screen";
    if (ground >= 0 && item.isText) {
      const std::vector<uint8_t> plate = plateOf(_quads[ground], mx, my);
      const auto off = std::count_if(item.pixels.begin(), item.pixels.end(),
                                     [&plate](int pixel) { return plate[static_cast<size_t>(pixel)] == 0; });
      if (off > 0)
        fault(item.what + " " + box(item) + " leaves its plate on " + plateName + " (" + std::to_string(off) + " of " +
              std::to_string(item.pixels.size()) + " pixels)");
    }
    const std::set<int> ink(item.pixels.begin(), item.pixels.end());
    std::map<std::string, std::set<int>> touchedBy;
    const size_t end = item.isText ? _quads.size() : static_cast<size_t>(item.drawn);
    for (size_t i = static_cast<size_t>(std::max(ground, _layer)) + 1; i < end; ++i) {
      if (isGlyph(_quads[i]) || static_cast<int>(i) == item.drawn || _quads[i].coversScreen()) continue;
      int left, top, right, bottom;
      _quads[i].bounds(left, top, right, bottom);
      if (right <= item.left || item.right <= left || bottom <= item.top || item.bottom <= top) continue;
      for (int pixel : _pictures.solidPixels(_quads[i], nullptr, _width))
        if (ink.count(pixel) != 0) touchedBy[_pictures.of(_quads[i].texture).name].insert(pixel);
    }
    for (const auto& [picture, pixels] : touchedBy)
      fault(item.what + " " + box(item) + " on " + plateName + " is touched by " + picture + " (" +
            std::to_string(pixels.size()) + " pixels)");
  }

  static bool related(const ITEM& a, const ITEM& b) {
    for (QEL::QC_GUI_OBJECT* up = a.widget != nullptr ? a.widget->fGetParent() : nullptr; up != nullptr;
         up = up->fGetParent())
      if (up == b.widget) return true;
    return false;
  }

  void checkOverlaps() {
    for (size_t i = 0; i < _items.size(); ++i)
      for (size_t k = i + 1; k < _items.size(); ++k) {
        const ITEM& a = _items[i];
        const ITEM& b = _items[k];
        if (related(a, b) || related(b, a)) continue;
        if (a.right <= b.left || b.right <= a.left || a.bottom <= b.top || b.bottom <= a.top) continue;
        // A line printed into the rows of another over the same columns reads as one crowded
        // block, even where the ink does not meet.
        if (a.isText && b.isText && a.widget == nullptr && b.widget == nullptr) {
          fault(a.what + " " + box(a) + " and " + b.what + " " + box(b) + " share rows over the same columns");
          continue;
        }
        std::vector<int> both;
        std::set_intersection(a.pixels.begin(), a.pixels.end(), b.pixels.begin(), b.pixels.end(),
                              std::back_inserter(both));
        if (!both.empty())
          fault(a.what + " " + box(a) + " and " + b.what + " " + box(b) + " overlap (" +
                std::to_string(both.size()) + " pixels)");
      }
  }

  PICTURES& _pictures;
  int _width;
  std::set<QEL::QC_TEXTURE*> _fontPages;
  std::string _screen;
  std::vector<std::string>* _faults = nullptr;
  std::vector<QUAD> _quads;
  int _layer = 0;
  std::vector<ITEM> _items;
  std::set<int> _owned;
};

}  // namespace test_support::screen_layout
