#pragma once
// The program's own icon, compiled into the executable as the icon resources of a Windows
// program are: a source file that the build draws (tools/resgen) registers its pixels before
// main runs, and every window this layer creates carries them. A program built without that
// file (the test programs, a build without generated resources) makes windows without one.
#include <cstdint>

#include "platform/window_handle.h"

namespace platform {

// One static object of the generated source. The pixels are RGBA rows from the top, straight
// alpha, and live as long as the program.
class ExecutableIconRegistrar {
 public:
  ExecutableIconRegistrar(const uint8_t* rgba, int width, int height);
};

// Gives the window the program's icon (the window manager scales it for title bar, task bar
// and switcher); nothing when the program has none. False when SDL could not use it (SDL's
// error tells why).
bool applyExecutableIcon(WindowHandle window);

}  // namespace platform
