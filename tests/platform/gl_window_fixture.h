#pragma once
// A hidden SDL window made for an OpenGL 3.3 core context, as the engine's window is.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/window.h"

class GlWindowTest : public ::testing::Test {
 protected:
  explicit GlWindowTest(const char* title = "test", int width = 64, int height = 64)
      : _title(title), _windowWidth(width), _windowHeight(height) {}

  void SetUp() override {
    // The engine's own hold on video (and OpenGL) lasts the whole process, so the driver is
    // not unloaded and loaded again between tests.
    ASSERT_TRUE(platform::initVideo());
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    _window = SDL_CreateWindow(_title, 0, 0, _windowWidth, _windowHeight, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    ASSERT_NE(_window, nullptr) << SDL_GetError();
  }
  void TearDown() override {
    if (_window) SDL_DestroyWindow(_window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }
  const char* _title;
  int _windowWidth, _windowHeight;
  SDL_Window* _window = nullptr;
};

// One pixel of an RGBA picture, as 0xAARRGGBB.
inline uint32_t pixelAt(const std::vector<uint8_t>& rgba, int width, int x, int y) {
  const size_t i = (static_cast<size_t>(y) * width + x) * 4;
  return (uint32_t(rgba[i + 3]) << 24) | (uint32_t(rgba[i]) << 16) | (uint32_t(rgba[i + 1]) << 8) | rgba[i + 2];
}
