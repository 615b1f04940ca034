#pragma once
// The handle by which the whole system holds a texture. Only the renderer makes, fills and
// releases them; holders never delete a handle themselves.
#include <cstdint>
#include <string>

#include "engine/vectors.h"

namespace platform {
class Texture;
}

namespace QEL {

class QC_TEXTURE {
 public:
  QC_TEXTURE() = default;
  // Does nothing: QC_RENDER::fReleaseTexture releases the device texture.
  ~QC_TEXTURE() = default;

  // Copies width x height 32-bit pixels (rows packed, top row first) into the texture through
  // the renderer; true when the texture could be filled.
  bool fFill(const void* pixels);
  QS_POINT fGetSize() const { return _size; }
  static uint64_t fNewIdentity();

  platform::Texture* _deviceTexture = nullptr;  // owned by the handle (one reference when shared)
  QS_POINT _size{0, 0};                          // as the renderer recorded it

  // ---- where the picture lies (the renderer's business, render_texture_sharing.cpp) ----
  // A picture loaded from an image may share its device texture with pictures drawn next to
  // it, so that their draws batch together. Its place is settled at its first draw and kept
  // from then on, so a picture is sampled the same way in every frame.
  enum QE_PLACE : uint8_t {
    qePLACE_FIXED = 0,     // its own device texture, always (every texture not from an image)
    qePLACE_UNSETTLED = 1, // from an image, not drawn yet
    qePLACE_OWN = 2,       // settled in a device texture of its own
    qePLACE_HOST = 3,      // settled in a device texture with a border and room for others
    qePLACE_GUEST = 4,     // settled in the room of another picture's device texture
    qePLACE_WAITING = 5,   // from an image not decoded yet: no device texture until drawn
    qePLACE_PART = 6,      // only the part of the picture its draws show, in a texture of its own
  };
  uint8_t _place = qePLACE_FIXED;
  uint32_t _lastDrawn = 0;  // the renderer's frame number when it was last drawn
  // Never the same for two handles of a run, though a handle's address may come back for
  // another picture once it is released: a frame compared with the last one knows its pictures.
  uint64_t _identity = fNewIdentity();
  // The file a picture loaded from an image was read from, for the log lines that concern it.
  std::string _fileName;
  int32_t _partLeft = 0, _partTop = 0, _partRight = 0, _partBottom = 0;  // parts: the texels kept
  // Hosts, guests and parts: texture coordinates of the picture map to u * _uvScale + _uvOffset.
  float _uScale = 1.0f, _vScale = 1.0f, _uOffset = 0.0f, _vOffset = 0.0f;
};

}  // namespace QEL
