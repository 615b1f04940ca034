#include "primitives/font.h"

#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>

#include "engine/log.h"
#include "engine/wstring_format.h"
#include "platform/window.h"

namespace QEL {
namespace {

// Codes of narrow text are signed bytes, as the font tools wrote them.
int32_t narrowCode(char c) { return static_cast<int32_t>(static_cast<signed char>(c)); }

// No glyph lies beyond the largest texture a device makes, nor is it larger.
constexpr int32_t kMaxFontPixels = 16384;
// Far more characters than any text of the game uses (the generated fonts hold 429); each
// glyph costs its entry in every font made from the description, so a description of a
// million glyphs must not cost a million.
constexpr int32_t kMostGlyphs = 16384;

// A number of the description, brought into [low, high] with a log line when it lies outside.
int32_t readFontNumber(const pugi::xml_attribute& attribute, int32_t low, int32_t high, const char* what,
                       int32_t glyph) {
  const int32_t value = attribute.as_int();
  if (value >= low && value <= high) return value;
  const int32_t clamped = value < low ? low : high;
  if (glyph == INT32_MIN)
    fLog("font: ", what, " ", value, " out of range, set to ", clamped);
  else
    fLog("font: glyph ", glyph, " ", what, " ", value, " out of range, set to ", clamped);
  return clamped;
}

// Pixel sums over a long text are taken in 64 bits or as floats and brought back into an
// int's range here.
int32_t toPixels(int64_t value) {
  if (value > INT32_MAX) return INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(value);
}

int32_t toPixels(double value) {
  if (std::isnan(value)) return 0;
  if (value >= static_cast<double>(INT32_MAX)) return INT32_MAX;
  if (value <= static_cast<double>(INT32_MIN)) return INT32_MIN;
  return static_cast<int32_t>(value);
}

template <class CHAR>
int64_t countLines(const CHAR* text) {
  int64_t lines = 1;
  if (text == nullptr) return lines;
  for (; *text; ++text) {
    if (*text == CHAR('\n')) ++lines;
  }
  return lines;
}

}  // namespace

QC_FONT::QC_FONT(pugi::xml_node fontElement, QC_TEXTURE* page, int32_t size) {
  _capacity = size > 0 ? 4 * size : 0;
  // At least one character each, so a formatted draw always finds a terminated text.
  const int32_t cells = _capacity > 0 ? _capacity : 1;
  _narrowBuffer = new char[cells]();
  _wideBuffer = new wchar_t[cells]();
  _verticalDivisor = 4.0f;
  if (fLoadFromXml(fontElement, page) != 1) fLog("error loading font");
}

QC_FONT::QC_FONT() {
  _narrowBuffer = new char[1]();
  _wideBuffer = new wchar_t[1]();
  platform::showMessageBox("Bad way creation font", "framework/PRIMITIVES/QC_FONT");
}

QC_FONT::~QC_FONT() {
  fClearGlyphs();
  delete _sprite;
  delete[] _narrowBuffer;
  delete[] _wideBuffer;
}

void QC_FONT::fClearGlyphs() {
  for (auto& entry : _glyphs) delete entry.second;
  _glyphs.clear();
}

float QC_FONT::fScaleX() const { return _sprite != nullptr && _sprite->_node != nullptr ? _sprite->_node->_scale.x : 1.0f; }
float QC_FONT::fScaleY() const { return _sprite != nullptr && _sprite->_node != nullptr ? _sprite->_node->_scale.y : 1.0f; }

int32_t QC_FONT::fLoadFromXml(pugi::xml_node fontElement, QC_TEXTURE* page) {
  _spacing = 0;
  delete _sprite;  // a second load must not leak the first sprite
  _sprite = new QC_SPRITE(page, nullptr);
  _pageWidth = _sprite->_width;
  _pageHeight = _sprite->_height;
  fClearGlyphs();
  _glyphCount = 0;

  _lineHeight = readFontNumber(fontElement.child("common").attribute("lineHeight"), 0, kMaxFontPixels,
                               "lineHeight", INT32_MIN);
  // The page named here is not used: the caller hands over the page texture.
  (void)fontElement.child("pages").first_child().attribute("file");

  pugi::xml_node chars = fontElement.child("chars");
  const int32_t declared = chars.attribute("count").as_int();
  // A page of no size (no texture at all) would divide by zero.
  const float pageW = _pageWidth > 0 ? static_cast<float>(_pageWidth) : 0.0f;
  const float pageH = _pageHeight > 0 ? static_cast<float>(_pageHeight) : 0.0f;
  for (pugi::xml_node c = chars.first_child(); c; c = c.next_sibling("char")) {
    if (_glyphCount == kMostGlyphs) {
      fLog("font: more than ", kMostGlyphs, " glyphs, the rest are not read");
      break;
    }
    auto* glyph = new QS_GLYPH;
    glyph->id = c.attribute("id").as_int();
    const int32_t id = glyph->id;
    const int32_t x = readFontNumber(c.attribute("x"), 0, kMaxFontPixels, "x", id);
    const int32_t y = readFontNumber(c.attribute("y"), 0, kMaxFontPixels, "y", id);
    glyph->width = readFontNumber(c.attribute("width"), 0, kMaxFontPixels, "width", id);
    glyph->height = readFontNumber(c.attribute("height"), 0, kMaxFontPixels, "height", id);
    glyph->xoffset = readFontNumber(c.attribute("xoffset"), -kMaxFontPixels, kMaxFontPixels, "xoffset", id);
    glyph->yoffset = readFontNumber(c.attribute("yoffset"), -kMaxFontPixels, kMaxFontPixels, "yoffset", id);
    if (pageW > 0.0f && pageH > 0.0f) {
      glyph->left = static_cast<float>(x) / pageW;
      glyph->top = static_cast<float>(y) / pageH;
      glyph->right = static_cast<float>(x + glyph->width) / pageW;
      glyph->bottom = static_cast<float>(y + glyph->height) / pageH;
    }
    auto found = _glyphs.find(glyph->id);
    if (found != _glyphs.end()) {
      delete found->second;
      found->second = glyph;
    } else {
      _glyphs.emplace(glyph->id, glyph);
    }
    ++_glyphCount;
  }
  if (_glyphCount != declared) fLog(" Count chars ", _glyphCount, " not concide with chars count");

  if (_glyphs.empty()) return -1;
  const QS_GLYPH* first = _glyphs.begin()->second;
  _sprite->_width = first->width;
  _sprite->_height = first->height;
  _fixedWidth = 20;
  _sprite->fSetAnchorBySize(0, 0.0f, 0.0f);
  _anchor = 1;
  return 1;
}

int32_t QC_FONT::fLoad() {
  fLog("Bad way loading font");
  return -1;
}

int32_t QC_FONT::fDrawGlyph(int32_t code, int32_t x, int32_t y) {
  const QS_GLYPH* glyph = fGetGlyph(code);
  if (glyph == nullptr || _sprite == nullptr) return 0;
  _sprite->fDrawRegion(static_cast<float>(x), static_cast<float>(y) + static_cast<float>(glyph->yoffset) * fScaleY(),
                       glyph->left, glyph->top, glyph->right, glyph->bottom, glyph->width, glyph->height);
  return glyph->width;
}

float QC_FONT::fGetAdvance(int32_t code) const {
  const QS_GLYPH* glyph = fGetGlyph(code);
  if (glyph == nullptr || glyph->width <= 0) return 0.0f;
  return static_cast<float>(static_cast<int64_t>(glyph->width) + _spacing) * fScaleX();
}

void QC_FONT::fDrawLine(int32_t x, int32_t y, const std::wstring& text, int32_t caret, int32_t caretShift,
                        int32_t extraSpacing) {
  float pen = 0.0f;
  float caretPen = 0.0f;
  for (size_t i = 0; i < text.size(); ++i) {
    if (static_cast<int64_t>(i) == caret) caretPen = pen;
    const int32_t code = static_cast<int32_t>(text[i]);
    fDrawGlyph(code, x + static_cast<int32_t>(pen), y);
    pen += fGetAdvance(code) + static_cast<float>(extraSpacing);
  }
  if (caret < 0) return;
  if (static_cast<size_t>(caret) >= text.size()) caretPen = pen;
  fDrawGlyph('|', x + static_cast<int32_t>(caretPen) - caretShift, y);
}

void QC_FONT::fDrawTextW(int32_t x, int32_t y, const wchar_t* text) {
  if (text == nullptr || *text == L'\0') return;
  int32_t h = fGetAlignOffset(text);
  const int32_t v = fGetVerticalOffset(text);
  float pen = 0.0f;
  int64_t line = 0;
  for (const wchar_t* c = text; *c; ++c) {
    if (*c == L'\n') {
      ++line;
      h = fGetAlignOffset(c + 1);
      pen = 0.0f;
      continue;
    }
    const int32_t code = static_cast<int32_t>(*c);
    fDrawGlyph(code, toPixels(static_cast<double>(pen) + static_cast<double>(x) + h),
               toPixels(static_cast<int64_t>(_lineHeight) * line + v + y));
    pen += fGetAdvance(code);
  }
}

void QC_FONT::fDrawText(int32_t x, int32_t y, const char* text) {
  if (text == nullptr || *text == '\0') return;
  int32_t h = fGetAlignOffsetA(text);
  const int32_t v = fGetVerticalOffsetA(text);
  float pen = 0.0f;
  int64_t line = 0;
  for (const char* c = text; *c; ++c) {
    if (*c == '\n') {
      ++line;
      h = fGetAlignOffsetA(c + 1);
      pen = 0.0f;
      continue;
    }
    fDrawGlyph(narrowCode(*c), toPixels(static_cast<double>(pen) + h + x), toPixels(line * _lineHeight + v + y));
    pen += fGetAdvance(narrowCode(*c));
  }
}

void QC_FONT::fPrintW(int32_t x, int32_t y, const wchar_t* format, ...) {
  if (format == nullptr) return;
  va_list args;
  va_start(args, format);
  fWStringFormatV(_wideBuffer, static_cast<std::size_t>(_capacity), format, args);
  va_end(args);
  fDrawTextW(x, y, _wideBuffer);
}

void QC_FONT::fPrint(int32_t x, int32_t y, const char* format, ...) {
  _narrowBuffer[0] = '\0';
  // Four characters are kept spare, as the font always did; the terminator is within the limit.
  if (format != nullptr && _capacity - 4 > 0) {
    va_list args;
    va_start(args, format);
    std::vsnprintf(_narrowBuffer, static_cast<size_t>(_capacity - 4), format, args);
    va_end(args);
  }
  fDrawText(x, y, _narrowBuffer);
}

void QC_FONT::fDrawAnchored(QS_TRANSFORM3* node, int32_t anchor, const wchar_t* text) {
  if (node == nullptr || _sprite == nullptr || _sprite->_node == nullptr) return;
  QS_TRANSFORM3 world = node->fGetWorld(false, false, false);
  world._parent = nullptr;
  _sprite->_node->_parent = &world;
  const int32_t saved = _anchor;
  _anchor = anchor;
  fDrawTextW(0, 0, text);
  _anchor = saved;
  _sprite->_node->_parent = nullptr;
}

void QC_FONT::fSetColor(uint32_t argb) {
  if (_sprite != nullptr) _sprite->fSetColor(argb);
}

int32_t QC_FONT::fGetLineWidth(const wchar_t* text) const {
  if (_glyphs.empty() || text == nullptr || *text == L'\0' || *text == L'\n') return 0;
  int32_t width = 0;
  for (const wchar_t* c = text; *c && *c != L'\n'; ++c) {
    width = toPixels(static_cast<double>(static_cast<float>(width) + fGetAdvance(static_cast<int32_t>(*c))));
  }
  return width;
}

int32_t QC_FONT::fGetLineWidthA(const char* text) const {
  if (text == nullptr) return 0;
  int32_t width = 0;
  for (const char* c = text; *c && *c != '\n'; ++c) {
    width = toPixels(static_cast<double>(static_cast<float>(width) + fGetAdvance(narrowCode(*c))));
  }
  return width;
}

int32_t QC_FONT::fGetAlignOffset(const wchar_t* line) const {
  switch (_anchor) {
    case 0:
    case 5:
    case 6:
      return toPixels(-(static_cast<int64_t>(fGetLineWidth(line)) / 2));
    case 2:
    case 4:
    case 8:
      return toPixels(-static_cast<int64_t>(fGetLineWidth(line)));
    default:
      return 0;
  }
}

int32_t QC_FONT::fGetAlignOffsetA(const char* line) const {
  if (_anchor == 0 || _anchor == 8) return toPixels(-0.5 * static_cast<double>(fGetLineWidthA(line)));
  return 0;
}

int32_t QC_FONT::fGetVerticalOffset(const wchar_t* text) const {
  if (_anchor != 0 && _anchor != 7 && _anchor != 8) return 0;
  return toPixels(-static_cast<double>(countLines(text) * _lineHeight) / _verticalDivisor);
}

int32_t QC_FONT::fGetVerticalOffsetA(const char* text) const {
  if (_anchor != 0 && _anchor != 7 && _anchor != 8) return 0;
  return toPixels(-static_cast<double>(countLines(text) * _lineHeight) / _verticalDivisor);
}

QS_GLYPH* QC_FONT::fGetGlyph(int32_t code) const {
  auto found = _glyphs.find(code);
  return found != _glyphs.end() ? found->second : nullptr;
}

int32_t QC_FONT::fGetGlyphWidth(int32_t code) const {
  const QS_GLYPH* glyph = fGetGlyph(code);
  return glyph != nullptr ? glyph->width : 0;
}

int32_t QC_FONT::fGetLineCount(const wchar_t* text) const { return toPixels(countLines(text)); }

int32_t QC_FONT::fGetLineCountA(const char* text) const { return toPixels(countLines(text)); }

int32_t QC_FONT::fGetFirstLineLengthA(const char* text) const {
  int32_t length = 0;
  if (text == nullptr) return length;
  while (text[length] != '\0' && text[length] != '\n') ++length;
  return length;
}

int32_t QC_FONT::fGetFixedWidth(const wchar_t* text) const {
  if (_glyphs.empty() || text == nullptr) return 0;
  int64_t length = 0;
  while (text[length] != L'\0' && text[length] != L'\n') ++length;
  return toPixels(length * (static_cast<int64_t>(_spacing) + _fixedWidth));
}

QS_GLYPH* QC_FONT::fGetFirstGlyph() const { return _glyphs.empty() ? nullptr : _glyphs.begin()->second; }

}  // namespace QEL
