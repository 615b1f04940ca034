#pragma once
// A suite's hidden 1024 x 768 window and renderer on the offscreen video driver: a frame is
// drawn, read back, and its pixels checked. BASE is the suite's own fixture.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/render.h"
#include "platform/window.h"

template <class BASE = ::testing::Test>
class ReadBackFixture : public BASE {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(platform::initVideo());
    if (sWindow == nullptr) sWindow = platform::createWindow("read-back", 1024, 768);
    ASSERT_NE(sWindow, nullptr);
    sRender = new QEL::QC_RENDER;
    ASSERT_EQ(sRender->fInit(sWindow, 0.1f, 0.0f), 1);
    sRender->_clearColor = 0xFF000000u;
  }
  static void TearDownTestSuite() {
    delete sRender;
    sRender = nullptr;
  }

  template <class DRAW>
  void frame(DRAW draw) {
    ASSERT_EQ(sRender->fBeginScene(), 1);
    draw();
    ASSERT_EQ(sRender->fEndScene(), 0);
    int32_t w = 0, h = 0;
    ASSERT_TRUE(sRender->fReadBackBuffer(_pixels, w, h));
    ASSERT_EQ(w, 1024);
    ASSERT_EQ(h, 768);
  }
  uint32_t rgb(int x, int y) const {
    const uint8_t* p = &_pixels[(static_cast<size_t>(y) * 1024 + x) * 4];
    return (static_cast<uint32_t>(p[0]) << 16) | (static_cast<uint32_t>(p[1]) << 8) | p[2];
  }
  // Pixels inside the rectangle's border without the colour: the border pixels sample texels
  // at their corners and blend with the neighbouring frame or wrap round the texture.
  int wrongIn(int left, int top, int right, int bottom, uint32_t colour) const {
    int wrong = 0;
    for (int y = top + 1; y < bottom - 1; ++y) {
      for (int x = left + 1; x < right - 1; ++x) wrong += rgb(x, y) != colour ? 1 : 0;
    }
    return wrong;
  }

  // The window stays open until the program ends; each suite starts its own renderer on it.
  inline static platform::WindowHandle sWindow = nullptr;
  inline static QEL::QC_RENDER* sRender = nullptr;
  std::vector<uint8_t> _pixels;
};
