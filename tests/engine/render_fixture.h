#pragma once
// A hidden window made for an OpenGL 3.3 core context and a renderer started on it, as the
// game object does; helpers to draw quads and read pixels back.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/log.h"
#include "engine/render.h"
#include "engine/texture.h"
#include "platform/gl_window_fixture.h"

class RenderTest : public GlWindowTest {
 protected:
  RenderTest() : GlWindowTest("render test", 1024, 768) {}

  void SetUp() override {
    GlWindowTest::SetUp();
    if (HasFatalFailure()) return;
    QEL::fSetLogSink([this](const std::string& line) { _log.push_back(line); });
    _render = new QEL::QC_RENDER();
    ASSERT_EQ(_render->fInit(_window, 0.1f, 0.0f), 1);
  }
  void TearDown() override {
    QEL::fSetLogSink(nullptr);
    delete _render;
    GlWindowTest::TearDown();
  }

  bool logged(const std::string& line) const {
    for (const auto& l : _log)
      if (l == line) return true;
    return false;
  }

  // A quad of four vertices, clockwise on screen, with its two triangles.
  static void quadVertices(QEL::QS_VERTEX* v, float x0, float y0, float x1, float y1, uint32_t color,
                           float u0 = 0.0f, float v0 = 0.0f, float u1 = 1.0f, float v1 = 1.0f) {
    const float corners[4][4] = {{x0, y0, u0, v0}, {x1, y0, u1, v0}, {x1, y1, u1, v1}, {x0, y1, u0, v1}};
    for (int i = 0; i < 4; ++i) {
      v[i].fSetPosition(corners[i][0], corners[i][1], 0.0f);
      v[i].nx = v[i].ny = v[i].nz = 0.0f;
      v[i].fSetColor(color);
      v[i].fSetUV(corners[i][2], corners[i][3]);
    }
  }
  static constexpr uint16_t kQuadIndices[6] = {0, 1, 2, 0, 2, 3};

  static QEL::QS_RENDER_STATE screenWord(bool textured, uint32_t filter = 1) {
    QEL::QS_RENDER_STATE s;
    s._blend = 1;
    s._screen = 1;
    s._primitive = QEL::QS_RENDER_STATE::PRIMITIVE_TRIANGLES;
    s._textured = textured ? 1 : 0;
    s._filter = filter;
    return s;
  }

  void drawQuad(float x0, float y0, float x1, float y1, uint32_t color, QEL::QC_TEXTURE* texture,
                const QEL::QS_RENDER_STATE& state) {
    QEL::QS_VERTEX v[4];
    quadVertices(v, x0, y0, x1, y1, color);
    _render->fDraw(v, texture, &state, 4, kQuadIndices, 6);
  }

  // 0xAARRGGBB of one back-buffer pixel, read after the frame.
  uint32_t pixel(int x, int y) {
    if (_pixels.empty()) read();
    return pixelAt(_pixels, _width, x, y);
  }
  uint32_t rgb(int x, int y) { return pixel(x, y) & 0x00FFFFFFu; }
  void read() { ASSERT_TRUE(_render->fReadBackBuffer(_pixels, _width, _height)); }
  void forget() { _pixels.clear(); }

  QEL::QC_RENDER* _render = nullptr;
  std::vector<std::string> _log;
  std::vector<uint8_t> _pixels;
  int32_t _width = 0, _height = 0;
};
