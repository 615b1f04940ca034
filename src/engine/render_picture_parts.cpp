// Pictures mostly beyond the back buffer. A picture whose first draw shows only a thin strip
// of it (the widescreen borders in a window the size of the picture: one row or column each)
// keeps only that strip: the texels the shown pixels sample, across the picture's whole
// other side. The strip is a power-of-two share of the picture's width or height, so the
// texture coordinates mapped into it lose nothing; where it runs on across the picture's
// edge it repeats the edge's texels, which the clamped sampler reads there in the whole
// picture.
// A draw that shows more of it, a lock, a fill or point sprites read the whole picture again.
#include <algorithm>
#include <cmath>

#include "engine/render.h"
#include "engine/texture.h"
#include "platform/image_codec.h"

namespace QEL {

namespace {

// Kept in part only when the strip takes at most this share of the picture.
constexpr int32_t kLargestPartShare = 4;
// Texels beyond the last shown one, for the filter.
constexpr int32_t kTexelsToSpare = 2;

// The smallest power-of-two share of `size` texels that holds [first, last); false when
// even that is too large a share to be worth keeping apart.
bool stripAlong(int32_t size, int32_t first, int32_t last, int32_t& length) {
  length = size;
  while (length % 2 == 0 && length / 2 >= last - first) length /= 2;
  return length * kLargestPartShare <= size;
}

}  // namespace

bool QC_RENDER::shownTexels(QC_TEXTURE* texture, const QS_RENDER_STATE& state, const QS_VERTEX* v, uint32_t n,
                            QS_TEXEL_RECT& rect) {
  if (_drawEverything || n != 4 || state._primitive != QS_RENDER_STATE::PRIMITIVE_TRIANGLES) return false;
  float x[4], y[4];
  if (!inBackBufferPixels(state, v, n, x, y)) return false;
  // A plain quad: two columns and two rows of corners, u following x and v following y.
  int32_t left = 0, right = 0, top = 0, bottom = 0;
  for (int32_t i = 1; i < 4; ++i) {
    if (x[i] < x[left]) left = i;
    if (x[i] > x[right]) right = i;
    if (y[i] < y[top]) top = i;
    if (y[i] > y[bottom]) bottom = i;
  }
  // The screen's turned axes leave a trace of the other coordinate in each: corners of one
  // column land a hair apart.
  constexpr float kSameLine = 1.0e-3f;
  for (uint32_t i = 0; i < 4; ++i) {
    const bool onLeft = x[i] - x[left] < kSameLine, onRight = x[right] - x[i] < kSameLine;
    const bool onTop = y[i] - y[top] < kSameLine, onBottom = y[bottom] - y[i] < kSameLine;
    if (onLeft == onRight || onTop == onBottom) return false;
    if (v[i].u != (onLeft ? v[left].u : v[right].u) || v[i].v != (onTop ? v[top].v : v[bottom].v)) return false;
    if (!(v[i].u >= 0.0f && v[i].u <= 1.0f && v[i].v >= 0.0f && v[i].v <= 1.0f)) return false;
  }
  const float width = static_cast<float>(_actualWidth), height = static_cast<float>(_actualHeight);
  const float shownLeft = std::max(x[left], -kPixelsToSpare), shownRight = std::min(x[right], width + kPixelsToSpare);
  const float shownTop = std::max(y[top], -kPixelsToSpare), shownBottom = std::min(y[bottom], height + kPixelsToSpare);
  if (!(shownLeft < shownRight && shownTop < shownBottom)) return false;
  // Only a quad that lies mostly beyond the edges: one on the screen shows what it shows.
  const float area = (x[right] - x[left]) * (y[bottom] - y[top]);
  if ((shownRight - shownLeft) * (shownBottom - shownTop) * kLargestPartShare > area) return false;
  // The texture coordinates there, and the texels around them.
  const auto along = [](float a, float b, float ua, float ub, float at) { return ua + (at - a) / (b - a) * (ub - ua); };
  const float u0 = along(x[left], x[right], v[left].u, v[right].u, shownLeft);
  const float u1 = along(x[left], x[right], v[left].u, v[right].u, shownRight);
  const float v0 = along(y[top], y[bottom], v[top].v, v[bottom].v, shownTop);
  const float v1 = along(y[top], y[bottom], v[top].v, v[bottom].v, shownBottom);
  // The rectangle may reach past the picture: the texels there are the edge's.
  const float w = static_cast<float>(texture->_size.x), h = static_cast<float>(texture->_size.y);
  rect.left = static_cast<int32_t>(std::floor(std::min(u0, u1) * w)) - kTexelsToSpare;
  rect.right = static_cast<int32_t>(std::ceil(std::max(u0, u1) * w)) + kTexelsToSpare;
  rect.top = static_cast<int32_t>(std::floor(std::min(v0, v1) * h)) - kTexelsToSpare;
  rect.bottom = static_cast<int32_t>(std::ceil(std::max(v0, v1) * h)) + kTexelsToSpare;
  return rect.left < rect.right && rect.top < rect.bottom;
}

bool QC_RENDER::keepShownPart(QC_TEXTURE* texture, const platform::DecodedImage& image, const QS_TEXEL_RECT& rect) {
  const int32_t w = image.width(), h = image.height();
  if (w != texture->_size.x || h != texture->_size.y) return false;
  // A strip across one side; the other side stays whole, its coordinates untouched.
  int32_t x = 0, width = w, y = 0, height = h;
  if (stripAlong(w, rect.left, rect.right, width)) {
    x = rect.left;
  } else if (stripAlong(h, rect.top, rect.bottom, height)) {
    width = w;
    y = rect.top;
  } else {
    return false;
  }
  const auto clamped = [](int32_t at, int32_t size) { return std::clamp(at, 0, size - 1); };
  std::vector<uint8_t> part(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  for (int32_t row = 0; row < height; ++row) {
    for (int32_t column = 0; column < width; ++column) {
      const size_t texel = static_cast<size_t>(clamped(y + row, h)) * static_cast<size_t>(w) + clamped(x + column, w);
      const uint8_t* from = image.pixels() + texel * 4;
      std::copy(from, from + 4, part.begin() + (static_cast<size_t>(row) * width + column) * 4);
    }
  }
  _newTexture = nullptr;
  if (_device->createTextureFromPixels(static_cast<uint32_t>(width), static_cast<uint32_t>(height),
                                       platform::kFormatA8B8G8R8, part.data(), &_newTexture) != platform::Result::ok ||
      !_newTexture)
    return false;
  // Powers of two and whole texels over them: the mapping loses nothing.
  texture->_uScale = static_cast<float>(w / width);
  texture->_vScale = static_cast<float>(h / height);
  texture->_uOffset = -static_cast<float>(x) / static_cast<float>(width);
  texture->_vOffset = -static_cast<float>(y) / static_cast<float>(height);
  texture->_partLeft = x;
  texture->_partRight = x + width;
  texture->_partTop = y;
  texture->_partBottom = y + height;
  texture->_place = QC_TEXTURE::qePLACE_PART;
  return true;
}

void QC_RENDER::wholePictureFor(QC_TEXTURE* texture, const QS_RENDER_STATE& state, const QS_VERTEX* v, uint32_t n) {
  // Along the side kept whole, any texel is there.
  QS_TEXEL_RECT rect{};
  const bool wholeAcross = texture->_partRight - texture->_partLeft == texture->_size.x;
  const bool wholeDown = texture->_partBottom - texture->_partTop == texture->_size.y;
  if (shownTexels(texture, state, v, n, rect) &&
      (wholeAcross || (rect.left >= texture->_partLeft && rect.right <= texture->_partRight)) &&
      (wholeDown || (rect.top >= texture->_partTop && rect.bottom <= texture->_partBottom)))
    return;
  giveBack(texture);
  decodeWaitingPicture(texture, &state, v, n);
}

void QC_RENDER::giveBack(QC_TEXTURE* texture) {
  leaveBatch(texture->_deviceTexture);
  for (uint32_t stage = 0; stage < platform::kTextureStages; ++stage)
    if (_device->getTexture(stage) == texture->_deviceTexture) _device->setTexture(stage, nullptr);
  _liveTextures.erase(texture->_deviceTexture);
  texture->_deviceTexture->release();
  texture->_deviceTexture = nullptr;
  texture->_place = QC_TEXTURE::qePLACE_WAITING;
  texture->_uScale = texture->_vScale = 1.0f;
  texture->_uOffset = texture->_vOffset = 0.0f;
  _waitingPictures[texture];  // no bytes: the picture source reads them when it is drawn again
  _picturesMoved = true;
}

}  // namespace QEL
