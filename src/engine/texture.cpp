#include "engine/texture.h"

#include "engine/render.h"

namespace QEL {

bool QC_TEXTURE::fFill(const void* pixels) {
  if (!qcRENDER_INSTANCE) return false;
  return qcRENDER_INSTANCE->fFillTexture(this, pixels);
}

}  // namespace QEL
