// The renderer's textures: empty ones, ones read from image files and from images in memory,
// filling, locking and releasing. A load that fails hands out the default checker texture.
#include <algorithm>
#include <cstring>
#include <string>

#include "engine/log.h"
#include "engine/render.h"
#include "engine/texture.h"
#include "platform/image_codec.h"
#include "platform/window.h"

namespace QEL {

namespace {

// No picture of the game comes near this; one this large already takes 256 MB once decoded,
// so larger ones are refused even where the device would take them.
constexpr int32_t kLargestPicture = 8192;

// Decided from the image's header, before a single pixel is decoded.
bool fitsTheDevice(platform::Device* device, const platform::ImageInfo& info, const std::string& name) {
  int64_t largest = kLargestPicture;
  if (device != nullptr && device->maxTextureSize() > 0)
    largest = std::min<int64_t>(largest, device->maxTextureSize());
  if (info.width <= largest && info.height <= largest) return true;
  fLog("Image of ", info.width, " x ", info.height, " refused, larger than the largest texture (", largest,
       "): ", name);
  return false;
}

}  // namespace

bool QC_RENDER::createManagedTexture(int32_t width, int32_t height, uint32_t format) {
  if (!_device || width <= 0 || height <= 0) return false;
  _newTexture = nullptr;
  return _device->createTexture(static_cast<uint32_t>(width), static_cast<uint32_t>(height), 1, 0, format,
                                platform::Pool::managed, &_newTexture) == platform::Result::ok &&
         _newTexture;
}

QC_TEXTURE* QC_RENDER::adoptNewTexture(QS_POINT size) {
  auto* texture = new QC_TEXTURE();
  texture->_deviceTexture = _newTexture;
  texture->_size = size;
  _liveTextures[_newTexture] = texture;
  _newTexture = nullptr;
  return texture;
}

QC_TEXTURE* QC_RENDER::fCreateTexture(int32_t width, int32_t height) {
  if (!createManagedTexture(width, height, platform::kFormatA8R8G8B8)) return nullptr;
  return adoptNewTexture(QS_POINT(width, height));
}

// Image textures hold their pixels in r, g, b, a byte order.
QC_TEXTURE* QC_RENDER::loadFromImage(const std::vector<uint8_t>& rgba, int32_t width, int32_t height,
                                     int32_t imageWidth, int32_t imageHeight) {
  if (!createManagedTexture(width, height, platform::kFormatA8B8G8R8)) return nullptr;
  platform::LockedRect locked;
  if (_newTexture->lockRect(0, &locked, 0) == platform::Result::ok) {
    std::memcpy(locked.bits, rgba.data(), static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    _newTexture->unlockRect(0);
  }
  return adoptNewTexture(QS_POINT(imageWidth, imageHeight));
}

QC_TEXTURE* QC_RENDER::fLoadTexture(const char* path) {
  const std::string file = path ? path : "";
  platform::ImageInfo info;
  std::vector<uint8_t> rgba;
  int w = 0, h = 0;
  QC_TEXTURE* texture = nullptr;
  if (platform::imageInfoFromFile(file, info) && fitsTheDevice(_device.get(), info, file) &&
      platform::decodeImageFromFile(file, rgba, w, h))
    texture = loadFromImage(rgba, w, h, info.width, info.height);
  if (texture) return texture;
  if (_defaultTexture) {
    fLog("Textue not load ", file);
    return _defaultTexture;
  }
  platform::showMessageBox("defaultTexture not exist!!!", "error");
  return nullptr;
}

QC_TEXTURE* QC_RENDER::fLoadTextureFromMemory(const void* bytes, uint32_t count, const char* name) {
  platform::ImageInfo info;
  std::vector<uint8_t> rgba;
  int w = 0, h = 0;
  QC_TEXTURE* texture = nullptr;
  if (platform::imageInfoFromMemory(bytes, count, info) && fitsTheDevice(_device.get(), info, name ? name : "") &&
      platform::decodeImageFromMemory(bytes, count, rgba, w, h))
    texture = loadFromImage(rgba, w, h, info.width, info.height);
  if (texture) return texture;
  platform::showMessageBox("Texture load from memory failed", name ? name : "");
  if (_defaultTexture) return _defaultTexture;
  platform::showMessageBox("defaultTexture not exist!!!", "error");
  return nullptr;
}

void QC_RENDER::fReleaseTexture(QC_TEXTURE* texture) {
  if (!texture || texture == _defaultTexture) return;
  auto it = _liveTextures.find(texture->_deviceTexture);
  // Only textures this renderer made (and has not released yet) are given back.
  if (it == _liveTextures.end() || it->second != texture) return;
  if (_currentTexture == texture) {
    fFlush();
    _currentTexture = nullptr;
  }
  _liveTextures.erase(it);
  if (texture->_deviceTexture) {
    if (_device && _device->getTexture(0) == texture->_deviceTexture) _device->setTexture(0, nullptr);
    texture->_deviceTexture->release();
  }
  texture->_deviceTexture = nullptr;
  texture->_size = QS_POINT(0, 0);
  delete texture;
}

void* QC_RENDER::fTextureLock(QC_TEXTURE* texture) {
  platform::LockedRect locked;
  if (!texture || !texture->_deviceTexture ||
      texture->_deviceTexture->lockRect(0, &locked, 0) != platform::Result::ok) {
    fLog("QC_RENDER::fTextureLock ERROR");
    return nullptr;
  }
  return locked.bits;
}

bool QC_RENDER::fTextureUnlock(QC_TEXTURE* texture) {
  if (!texture || !texture->_deviceTexture) return false;
  return texture->_deviceTexture->unlockRect(0) == platform::Result::ok;
}

bool QC_RENDER::fFillTexture(QC_TEXTURE* texture, const void* pixels) {
  if (!texture || !pixels) return false;
  void* bits = fTextureLock(texture);
  if (!bits) return false;
  // The device texture can differ from the recorded size (image textures): copy no more
  // than both hold.
  const platform::Texture* device = texture->_deviceTexture;
  const size_t recorded = static_cast<size_t>(texture->_size.x > 0 ? texture->_size.x : 0) *
                          static_cast<size_t>(texture->_size.y > 0 ? texture->_size.y : 0) * 4;
  const size_t available = static_cast<size_t>(device->width()) * device->height() * 4;
  std::memcpy(bits, pixels, recorded < available ? recorded : available);
  return fTextureUnlock(texture);
}

}  // namespace QEL
