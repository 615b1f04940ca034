// The renderer's textures: empty ones, ones read from image files and from images in memory,
// filling, locking and releasing. A load that fails hands out the default checker texture.
// An image in memory (every picture of the resources) is only checked when it loads; it is
// decoded when it is first drawn, so pictures a screen loads but does not show cost neither
// their pixels nor, when their file can be read again, their file's bytes.
#include <algorithm>
#include <cstring>
#include <string>

#include "engine/game.h"
#include "engine/globals.h"
#include "engine/log.h"
#include "engine/render.h"
#include "engine/texture.h"
#include "platform/image_codec.h"
#include "platform/window.h"

namespace QEL {

namespace {

// Decided from the image's header, before a single pixel is decoded; the decoder itself
// refuses the same pictures when it reads them later.
bool fitsTheDevice(platform::Device* device, const platform::ImageInfo& info, const std::string& name) {
  int64_t largest = platform::kLargestImageSide;
  if (device != nullptr && device->maxTextureSize() > 0)
    largest = std::min<int64_t>(largest, device->maxTextureSize());
  if (info.width <= largest && info.height <= largest) return true;
  fLog("Image of ", info.width, " x ", info.height, " refused, larger than the largest texture (", largest,
       "): ", name);
  return false;
}

// A picture whose every texel is white but for its alpha (a font's page) keeps the alpha
// alone: a quarter of the memory, sampled as the same white with the same alpha.
bool alphaOfWhitePicture(const platform::DecodedImage& image, std::vector<uint8_t>& alpha) {
  const size_t texels = static_cast<size_t>(image.width()) * static_cast<size_t>(image.height());
  const uint8_t* rgba = image.pixels();
  for (size_t i = 0; i < texels; ++i)
    if ((rgba[4 * i] & rgba[4 * i + 1] & rgba[4 * i + 2]) != 0xFF) return false;
  alpha.resize(texels);
  for (size_t i = 0; i < texels; ++i) alpha[i] = rgba[4 * i + 3];
  return true;
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
  if (platform::imageInfoFromFile(file, info) && fitsTheDevice(_device.get(), info, file)) {
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
  if (_device && platform::imageInfoFromMemory(bytes, count, info) && info.width > 0 && info.height > 0 &&
      fitsTheDevice(_device.get(), info, name ? name : "")) {
    texture = new QC_TEXTURE();
    texture->_size = QS_POINT(info.width, info.height);
    texture->_fileName = name ? name : "";
    texture->_place = QC_TEXTURE::qePLACE_WAITING;
    const auto* first = static_cast<const uint8_t*>(bytes);
    _waitingPictures[texture].assign(first, first + count);
  }
  if (texture) return texture;
  // The box names the picture and carries the game's title, as its window does.
  const std::string text = std::string("Texture load from memory failed: ") + (name ? name : "");
  if (_picturesSaidRefused.insert(name ? name : "").second) {
    platform::showMessageBox(text, qcGAME != nullptr ? qcGAME->_settings._gameName : std::string());
  } else {
    fLog("No box again for ", name ? name : "", ", said before: ", text);
  }
  if (_defaultTexture) return _defaultTexture;
  platform::showMessageBox("defaultTexture not exist!!!", "error");
  return nullptr;
}

void QC_RENDER::fForgetWaitingBytes(QC_TEXTURE* texture) {
  auto waiting = _waitingPictures.find(texture);
  if (waiting == _waitingPictures.end() || !_pictureSource) return;
  std::vector<uint8_t>().swap(waiting->second);
}

void QC_RENDER::decodeWaitingPicture(QC_TEXTURE* texture, const QS_RENDER_STATE* state, const QS_VERTEX* v,
                                     uint32_t n) {
  auto waiting = _waitingPictures.find(texture);
  if (waiting == _waitingPictures.end()) return;
  std::vector<uint8_t> bytes = std::move(waiting->second);
  _waitingPictures.erase(waiting);
  _picturesMoved = true;
  // A picture given back earlier reads its file again.
  if (bytes.empty() && _pictureSource) _pictureSource(texture, bytes);
  platform::DecodedImage image;
  _newTexture = nullptr;
  QS_TEXEL_RECT shown{};
  if (_device && platform::decodeImage(bytes.data(), bytes.size(), image)) {
    std::vector<uint8_t>().swap(bytes);
    if (state && shownTexels(texture, *state, v, n, shown) && keepShownPart(texture, image, shown)) {
      texture->_deviceTexture = _newTexture;
      _liveTextures[_newTexture] = texture;
      _newTexture = nullptr;
      return;
    }
    const uint32_t width = static_cast<uint32_t>(image.width()), height = static_cast<uint32_t>(image.height());
    std::vector<uint8_t> alpha;
    if (alphaOfWhitePicture(image, alpha)) {
      _device->createTextureFromPixels(width, height, platform::kFormatA8, alpha.data(), &_newTexture);
    } else {
      _device->createTextureFromPixels(width, height, platform::kFormatA8B8G8R8, image.pixels(), &_newTexture);
    }
  }
  if (_newTexture) {
    texture->_place = QC_TEXTURE::qePLACE_UNSETTLED;
  } else {
    // Its header promised a picture its data does not hold: it shows the checker.
    fLog("Texture load from memory failed: ", texture->_fileName, ": ", platform::imageFailureReason());
    texture->_place = QC_TEXTURE::qePLACE_FIXED;
    const platform::Texture* checker = _defaultTexture ? _defaultTexture->_deviceTexture : nullptr;
    if (_device && checker &&
        _device->createTexture(checker->width(), checker->height(), 1, 0, checker->format(), platform::Pool::managed,
                               &_newTexture) == platform::Result::ok &&
        _newTexture) {
      _device->copyTexels(_defaultTexture->_deviceTexture, 0, 0, checker->width(), checker->height(), _newTexture, 0,
                          0);
    }
  }
  texture->_deviceTexture = _newTexture;
  if (_newTexture) _liveTextures[_newTexture] = texture;
  _newTexture = nullptr;
}

void QC_RENDER::fReleaseTexture(QC_TEXTURE* texture) {
  if (!texture || texture == _defaultTexture) return;
  // Draws asked for before, held back or batched, may still show it.
  fFlush();
  if (_waitingPictures.erase(texture) == 1) {
    delete texture;
    return;
  }
  if (_guestTextures.erase(texture) == 1) {
    if (_currentTexture == texture) {
      fFlush();
      _currentTexture = nullptr;
    }
    leaveBatch(texture->_deviceTexture);
    // The host's texture goes when the last picture in it goes.
    leaveRoom(texture);
    if (texture->_deviceTexture) texture->_deviceTexture->release();
    delete texture;
    return;
  }
  auto it = _liveTextures.find(texture->_deviceTexture);
  // Only textures this renderer made (and has not released yet) are given back.
  if (it == _liveTextures.end() || it->second != texture) return;
  if (_currentTexture == texture) {
    fFlush();
    _currentTexture = nullptr;
  }
  leaveBatch(texture->_deviceTexture);
  _liveTextures.erase(it);
  if (texture->_deviceTexture) {
    for (uint32_t stage = 0; stage < platform::kTextureStages && _device; ++stage)
      if (_device->getTexture(stage) == texture->_deviceTexture) _device->setTexture(stage, nullptr);
    leaveRoom(texture);
    texture->_deviceTexture->release();
  }
  texture->_deviceTexture = nullptr;
  texture->_size = QS_POINT(0, 0);
  delete texture;
}

void QC_RENDER::fNoteScreenChange() {
  _screenStartFrame = _frameNumber + 1;
  _giveBackAtFrame = _frameNumber + kFramesBeforeGivingBack;
}

void QC_RENDER::giveBackUnshownPictures() {
  std::vector<QC_TEXTURE*> unshown;
  for (const auto& [device, texture] : _liveTextures)
    if ((texture->_place == QC_TEXTURE::qePLACE_OWN || texture->_place == QC_TEXTURE::qePLACE_PART) &&
        texture->_lastDrawn < _screenStartFrame)
      unshown.push_back(texture);
  for (QC_TEXTURE* texture : unshown) giveBack(texture);
}

void QC_RENDER::wholePicture(QC_TEXTURE* texture) {
  if (!texture) return;
  if (texture->_place == QC_TEXTURE::qePLACE_PART) giveBack(texture);
  if (texture->_place == QC_TEXTURE::qePLACE_WAITING) decodeWaitingPicture(texture);
}

void* QC_RENDER::fTextureLock(QC_TEXTURE* texture) {
  // Draws asked for before the picture changes show it as it was.
  fFlush();
  wholePicture(texture);
  // Only a picture's own texture hands out exactly its pixels.
  if (texture && texture->_place != QC_TEXTURE::qePLACE_FIXED) {
    giveOwnTexture(texture);
    texture->_place = QC_TEXTURE::qePLACE_OWN;
  }
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
  // Draws asked for before the picture changes show it as it was.
  fFlush();
  wholePicture(texture);
  if (!texture || !pixels || !texture->_deviceTexture) return false;
  if (texture->_place != QC_TEXTURE::qePLACE_FIXED) {
    giveOwnTexture(texture);
    texture->_place = QC_TEXTURE::qePLACE_OWN;
  }
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
