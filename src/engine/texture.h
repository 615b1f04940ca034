#pragma once
// The handle by which the whole system holds a texture. Only the renderer makes, fills and
// releases them; holders never delete a handle themselves.
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

  platform::Texture* _deviceTexture = nullptr;  // owned by the handle
  QS_POINT _size{0, 0};                          // as the renderer recorded it
};

}  // namespace QEL
