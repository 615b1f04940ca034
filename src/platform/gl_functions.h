#pragma once
// OpenGL 3.3 core entry points. libOpenGL exports the whole core API, so the prototypes are
// linked directly instead of being looked up at run time.
#ifndef GL_GLEXT_PROTOTYPES
#define GL_GLEXT_PROTOTYPES 1
#endif
#include <GL/glcorearb.h>
