// The renderer's textures: empty ones, ones read from image files and from images in memory,
// filling, locking and releasing. A load that fails hands out the default checker texture.
#include <cstring>

#include "engine/log.h"
#include "engine/render.h"
#include "engine/texture.h"
#include "platform/image_codec.h"
#include "platform/window.h"

namespace QEL {

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

// Image textures hold their pixels in r, g, b, a byte order. The decoded pixels go straight
// into the texture and are freed by the caller right after: no other copy is made or kept.
QC_TEXTURE* QC_RENDER::loadFromImage(const platform::DecodedImage& image, int32_t imageWidth, int32_t imageHeight) {
  if (!_device || !image.pixels()) return nullptr;
  _newTexture = nullptr;
  if (_device->createTextureFromPixels(static_cast<uint32_t>(image.width()), static_cast<uint32_t>(image.height()),
                                       platform::kFormatA8B8G8R8, image.pixels(), &_newTexture) != platform::Result::ok ||
      !_newTexture) {
    return nullptr;
  }
  return adoptNewTexture(QS_POINT(imageWidth, imageHeight));
}

QC_TEXTURE* QC_RENDER::fLoadTexture(const char* path) {
  const std::string file = path ? path : "";
  platform::ImageInfo info;
  QC_TEXTURE* texture = nullptr;
  if (platform::imageInfoFromFile(file, info)) {
    platform::DecodedImage image;
    if (platform::decodeImageFile(file, image)) texture = loadFromImage(image, info.width, info.height);
  }
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
  QC_TEXTURE* texture = nullptr;
  if (platform::imageInfoFromMemory(bytes, count, info)) {
    platform::DecodedImage image;
    if (platform::decodeImage(bytes, count, image)) texture = loadFromImage(image, info.width, info.height);
  }
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
  if (!texture || !pixels || !texture->_deviceTexture) return false;
  // The device texture can differ from the recorded size (image textures): copy no more
  // than both hold. A fill that covers the whole texture need not read the old pixels back.
  platform::Texture* device = texture->_deviceTexture;
  const size_t recorded = static_cast<size_t>(texture->_size.x > 0 ? texture->_size.x : 0) *
                          static_cast<size_t>(texture->_size.y > 0 ? texture->_size.y : 0) * 4;
  const size_t available = static_cast<size_t>(device->width()) * device->height() * 4;
  platform::LockedRect locked;
  const uint32_t flags = recorded >= available ? platform::kLockDiscard : 0u;
  if (device->lockRect(0, &locked, flags) != platform::Result::ok) {
    fLog("QC_RENDER::fTextureLock ERROR");
    return false;
  }
  std::memcpy(locked.bits, pixels, recorded < available ? recorded : available);
  return fTextureUnlock(texture);
}

}  // namespace QEL
