#pragma once
// Pictures read back from the renderer, laid side by side at half size in one PNG, so a
// person can look at every screen a test drew in one glance (build/<name>.png).
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/globals.h"
#include "engine/render.h"
#include "platform/image_codec.h"

namespace test_support {

class CONTACT_SHEET {
 public:
  explicit CONTACT_SHEET(int columns) : _columns(std::max(1, columns)) {}

  // Adds the back buffer as it stands after the last present; false when there is none.
  bool addBackBuffer() {
    std::vector<uint8_t> rgba;
    int32_t width = 0;
    int32_t height = 0;
    if (QEL::qcRENDER_INSTANCE == nullptr || !QEL::qcRENDER_INSTANCE->fReadBackBuffer(rgba, width, height))
      return false;
    add(rgba, width, height);
    return true;
  }

  void add(const std::vector<uint8_t>& rgba, int width, int height) {
    PICTURE picture{width / 2, height / 2, std::vector<uint8_t>(size_t(width / 2) * size_t(height / 2) * 4)};
    for (int y = 0; y < picture.height; ++y)
      for (int x = 0; x < picture.width; ++x)
        for (int c = 0; c < 4; ++c)
          picture.rgba[(size_t(y) * picture.width + x) * 4 + c] = rgba[(size_t(2 * y) * width + 2 * x) * 4 + c];
    _pictures.push_back(std::move(picture));
  }

  size_t count() const { return _pictures.size(); }

  // Writes the sheet; pictures keep their order, left to right and top to bottom.
  bool write(const std::string& path) const {
    if (_pictures.empty()) return false;
    int cellWidth = 0;
    int cellHeight = 0;
    for (const PICTURE& picture : _pictures) {
      cellWidth = std::max(cellWidth, picture.width);
      cellHeight = std::max(cellHeight, picture.height);
    }
    const int columns = std::min<int>(_columns, static_cast<int>(_pictures.size()));
    const int rows = (static_cast<int>(_pictures.size()) + columns - 1) / columns;
    const int gap = 4;
    const int width = columns * (cellWidth + gap) + gap;
    const int height = rows * (cellHeight + gap) + gap;
    std::vector<uint8_t> sheet(size_t(width) * size_t(height) * 4, 0);
    for (size_t i = 3; i < sheet.size(); i += 4) sheet[i] = 255;
    for (size_t n = 0; n < _pictures.size(); ++n) {
      const PICTURE& picture = _pictures[n];
      const int left = gap + static_cast<int>(n % columns) * (cellWidth + gap);
      const int top = gap + static_cast<int>(n / columns) * (cellHeight + gap);
      for (int y = 0; y < picture.height; ++y)
        std::copy_n(&picture.rgba[size_t(y) * picture.width * 4], size_t(picture.width) * 4,
                    &sheet[(size_t(top + y) * width + left) * 4]);
    }
    return platform::writePng(path, sheet.data(), width, height);
  }

 private:
  struct PICTURE {
    int width;
    int height;
    std::vector<uint8_t> rgba;
  };
  int _columns;
  std::vector<PICTURE> _pictures;
};

}  // namespace test_support
