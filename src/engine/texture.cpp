#include "engine/texture.h"

#include "engine/render.h"

namespace QEL {

uint64_t QC_TEXTURE::fNewIdentity() {
  static uint64_t last = 0;
  return ++last;
}

bool QC_TEXTURE::fFill(const void* pixels) {
  if (!qcRENDER_INSTANCE) return false;
  return qcRENDER_INSTANCE->fFillTexture(this, pixels);
}

}  // namespace QEL
