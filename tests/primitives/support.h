#pragma once
// Shared helpers of the primitives tests: sized textures without a device, BMFont
// descriptions built in memory, and a log recorder.
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "engine/log.h"
#include "log_recorder.h"
#include "engine/texture.h"

namespace primitives_test {

// A texture handle of a given size that no device backs: enough for geometry and metrics.
inline QEL::QC_TEXTURE* makeSizedTexture(int32_t w, int32_t h) {
  auto* texture = new QEL::QC_TEXTURE;
  texture->_size = QEL::QS_POINT(w, h);
  return texture;
}

struct GlyphSpec {
  int id, x, y, width, height, xoffset, yoffset;
};

// A BMFont XML description. count < 0 writes the real number of glyphs.
inline std::string fontXml(const std::vector<GlyphSpec>& glyphs, int lineHeight, int count = -1,
                           const std::string& page = "page.png") {
  std::ostringstream out;
  out << "<?xml version=\"1.0\"?>\n<font>\n"
      << "  <info face=\"Test\" size=\"12\"/>\n"
      << "  <common lineHeight=\"" << lineHeight << "\" base=\"10\" scaleW=\"64\" scaleH=\"32\" pages=\"1\"/>\n"
      << "  <pages><page id=\"0\" file=\"" << page << "\"/></pages>\n"
      << "  <chars count=\"" << (count < 0 ? static_cast<int>(glyphs.size()) : count) << "\">\n";
  for (const GlyphSpec& g : glyphs) {
    out << "    <char id=\"" << g.id << "\" x=\"" << g.x << "\" y=\"" << g.y << "\" width=\"" << g.width
        << "\" height=\"" << g.height << "\" xoffset=\"" << g.xoffset << "\" yoffset=\"" << g.yoffset
        << "\" xadvance=\"" << g.width << "\" page=\"0\" chnl=\"15\"/>\n";
  }
  out << "  </chars>\n</font>\n";
  return out.str();
}

using test_support::LogRecorder;

}  // namespace primitives_test
