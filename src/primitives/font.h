#pragma once
// Text in a bitmap font: one page image with every glyph, described by a BMFont XML file.
// Narrow text is 8-bit (bytes taken as signed codes). Wide text is wchar_t, 32 bits here: a
// glyph id of the description (a code point) is one wide character, and the buffers'
// capacities count characters whatever their width.
#include <cstdint>
#include <map>
#include <string>

#include <pugixml.hpp>

#include "primitives/sprite.h"

namespace QEL {

struct QS_GLYPH {
  int32_t id = 0;
  float left = 0.0f, top = 0.0f, right = 0.0f, bottom = 0.0f;  // texture coordinates
  int32_t width = 0, height = 0;                               // pixels
  int32_t xoffset = 0, yoffset = 0;
};

class QC_FONT {
 public:
  // fontElement is the description's `font` element; the page texture is the caller's.
  // size 600 gives text buffers of 2400 characters.
  QC_FONT(pugi::xml_node fontElement, QC_TEXTURE* page, int32_t size);
  // Not a way to make a usable font: reports and leaves the font empty.
  QC_FONT();
  ~QC_FONT();
  QC_FONT(const QC_FONT&) = delete;
  QC_FONT& operator=(const QC_FONT&) = delete;

  // 1 with at least one glyph, -1 without.
  int32_t fLoadFromXml(pugi::xml_node fontElement, QC_TEXTURE* page);
  // Fonts load only from a description element; this reports and returns -1.
  int32_t fLoad();

  // Returns the glyph's width, 0 when the font has no glyph for the code.
  int32_t fDrawGlyph(int32_t code, int32_t x, int32_t y);
  // How far the pen moves past a glyph: its width and the spacing, scaled with the font's
  // node; 0 for a code the font has no glyph for. Every text the font sets or measures moves
  // by it, so a scaled font's letters stand as closely as they are measured.
  float fGetAdvance(int32_t code) const;
  // One line set glyph after glyph from (x, y), `extraSpacing` pixels more between glyphs,
  // and the caret '|' drawn `caretShift` pixels left of where character `caret` starts (after
  // the last one when caret is the length; no caret when it is negative). For the boxes that
  // edit a line.
  void fDrawLine(int32_t x, int32_t y, const std::wstring& text, int32_t caret, int32_t caretShift,
                 int32_t extraSpacing = 0);
  void fDrawTextW(int32_t x, int32_t y, const wchar_t* text);
  void fDrawText(int32_t x, int32_t y, const char* text);
  void fPrintW(int32_t x, int32_t y, const wchar_t* format, ...);
  void fPrint(int32_t x, int32_t y, const char* format, ...) __attribute__((format(printf, 4, 5)));
  // Draws relative to the node's world transform with the given anchor.
  void fDrawAnchored(QS_TRANSFORM3* node, int32_t anchor, const wchar_t* text);
  void fSetColor(uint32_t argb);

  int32_t fGetLineWidth(const wchar_t* text) const;
  int32_t fGetLineWidthA(const char* text) const;
  int32_t fGetAlignOffset(const wchar_t* line) const;
  int32_t fGetAlignOffsetA(const char* line) const;
  int32_t fGetVerticalOffset(const wchar_t* text) const;
  int32_t fGetVerticalOffsetA(const char* text) const;
  QS_GLYPH* fGetGlyph(int32_t code) const;
  int32_t fGetGlyphWidth(int32_t code) const;
  int32_t fGetLineHeight() const { return _lineHeight; }
  int32_t fGetLineCount(const wchar_t* text) const;
  int32_t fGetLineCountA(const char* text) const;
  int32_t fGetFirstLineLengthA(const char* text) const;
  int32_t fGetFixedWidth(const wchar_t* text) const;
  QS_GLYPH* fGetFirstGlyph() const;

  QC_SPRITE* _sprite = nullptr;
  int32_t _glyphCount = 0;
  int32_t _spacing = 0;
  int32_t _lineHeight = 0;
  int32_t _fixedWidth = 0;
  std::map<int32_t, QS_GLYPH*> _glyphs;
  char* _narrowBuffer = nullptr;
  wchar_t* _wideBuffer = nullptr;
  int32_t _pageWidth = 0;
  int32_t _pageHeight = 0;
  int32_t _anchor = 0;
  float _verticalDivisor = 4.0f;
  int32_t _capacity = 0;

 private:
  void fClearGlyphs();
  // The scale of the font's node, which the pen and the widths follow.
  float fScaleX() const;
  float fScaleY() const;
};

}  // namespace QEL
