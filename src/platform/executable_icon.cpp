#include "platform/executable_icon.h"

#include <SDL.h>

namespace platform {
namespace {

struct ExecutableIcon {
  const uint8_t* rgba = nullptr;
  int width = 0;
  int height = 0;
};

// Constant-initialised, so a registrar that runs before this file's own initialisers still
// finds it ready.
ExecutableIcon gIcon;

}  // namespace

ExecutableIconRegistrar::ExecutableIconRegistrar(const uint8_t* rgba, int width, int height) {
  gIcon = ExecutableIcon{rgba, width, height};
}

bool applyExecutableIcon(WindowHandle window) {
  if (!window || !gIcon.rgba || gIcon.width <= 0 || gIcon.height <= 0) return true;
  // SDL reads the pixels only while it sets the icon, so the surface may borrow them.
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint8_t*>(gIcon.rgba), gIcon.width,
                                                            gIcon.height, 32, gIcon.width * 4, SDL_PIXELFORMAT_RGBA32);
  if (!surface) return false;
  SDL_SetWindowIcon(window, surface);
  SDL_FreeSurface(surface);
  return true;
}

}  // namespace platform
