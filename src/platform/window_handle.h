#pragma once
// The handle by which the engine names its window. The window is an SDL window created with
// an OpenGL 3.3 core context in mind, so the device can make its context on it.
struct SDL_Window;

namespace platform {
using WindowHandle = SDL_Window*;
}  // namespace platform
