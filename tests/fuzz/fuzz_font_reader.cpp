// Any bytes as a bitmap font description: the font loads and measures and draws texts, one
// fixed and one made of the input's own bytes as glyph codes. Nothing may crash or overflow.
#include <cstddef>
#include <cstdint>
#include <string>

#include <pugixml.hpp>

#include "fuzz_support.h"
#include "engine/texture.h"
#include "primitives/font.h"

namespace {

void measure(QEL::QC_FONT& font, const std::wstring& text) {
  for (int32_t anchor : {0, 1, 2, 7, 8}) {
    font._anchor = anchor;
    font.fGetLineWidth(text.c_str());
    font.fGetAlignOffset(text.c_str());
    font.fGetVerticalOffset(text.c_str());
    font.fGetFixedWidth(text.c_str());
    font.fDrawTextW(0, 0, text.c_str());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz_support::startFolder();
  pugi::xml_document document;
  document.load_buffer(data, size);
  // A page of the generated fonts' size, without pixels: the glyph rectangles are computed.
  static QEL::QC_TEXTURE page = [] {
    QEL::QC_TEXTURE texture;
    texture._size = QEL::QS_POINT(512, 512);
    return texture;
  }();
  QEL::QC_FONT font(document.child("font"), &page, 600);

  measure(font, L"Pindrake 300\nsecond line");
  std::wstring own;
  for (size_t i = 0; i < size && i < 256; ++i) own.push_back(static_cast<wchar_t>(data[i]));
  measure(font, own);
  const std::string narrow(reinterpret_cast<const char*>(data), size < 256 ? size : 256);
  font._anchor = 0;
  font.fGetLineWidthA(narrow.c_str());
  font.fGetAlignOffsetA(narrow.c_str());
  font.fGetVerticalOffsetA(narrow.c_str());
  font.fDrawText(0, 0, narrow.c_str());
  return 0;
}
