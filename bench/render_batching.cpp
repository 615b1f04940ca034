// Batching cost of the renderer: 2,000 textured 80x110 sprites a frame, from one texture,
// from 8 textures drawn in groups, and from 8 textures alternating sprite by sprite.
// Reports the processor time of the draws and their submission per frame (the frame is
// presented outside the timed part), split into the batching of the draws and the last
// flush, with device draw calls and batch flushes per frame. Runs headless with
// SDL_VIDEODRIVER=offscreen.
#include <SDL2/SDL.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "engine/render.h"
#include "engine/texture.h"
#include "platform/gl_functions.h"
#include "platform/window.h"

using namespace QEL;

namespace {

constexpr int kSprites = 2000;

struct Scene {
  SDL_Window* window = nullptr;
  QC_RENDER* render = nullptr;
  std::vector<QC_TEXTURE*> textures;

  bool open() {
    if (!std::getenv("SDL_VIDEODRIVER")) setenv("SDL_VIDEODRIVER", "offscreen", 0);
    // The engine's own hidden OpenGL 3.3 core window.
    window = platform::createWindow("bench", 1024, 768);
    if (!window) return false;
    render = new QC_RENDER();
    if (render->fInit(window, 0.1f, 0.0f) != 1) return false;
    std::vector<uint32_t> pixels(80 * 110);
    for (int t = 0; t < 8; ++t) {
      for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = 0xFF000000u | (static_cast<uint32_t>(t) * 0x1F1F1Fu) | (i & 0xFF);
      QC_TEXTURE* texture = render->fCreateTexture(80, 110);
      texture->fFill(pixels.data());
      textures.push_back(texture);
    }
    return true;
  }
  ~Scene() {
    delete render;
    if (window) SDL_DestroyWindow(window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }
};

Scene& scene() {
  static Scene s;
  static bool ok = s.open();
  if (!ok) {
    std::fprintf(stderr, "no OpenGL 3.3 window: %s\n", SDL_GetError());
    std::exit(1);
  }
  return s;
}

// textureOf(i) picks the texture of sprite i.
template <class PICK>
void drawFrames(benchmark::State& state, PICK textureOf) {
  Scene& s = scene();
  QS_VERTEX quad[4];
  const float corners[4][2] = {{0, 0}, {80, 0}, {80, 110}, {0, 110}};
  for (int i = 0; i < 4; ++i) {
    quad[i].fSetPosition(corners[i][0], corners[i][1], 0.0f);
    quad[i].nx = quad[i].ny = quad[i].nz = 0.0f;
    quad[i].fSetColor(0xFFFFFFFFu);
    quad[i].fSetUV(corners[i][0] / 80.0f, corners[i][1] / 110.0f);
  }
  static const uint16_t indices[6] = {0, 1, 2, 0, 2, 3};
  QS_RENDER_STATE word;
  word._blend = 1;
  word._filter = QS_RENDER_STATE::FILTER_LINEAR;
  word._textured = 1;
  word._primitive = QS_RENDER_STATE::PRIMITIVE_TRIANGLES;
  word._screen = 1;
  QS_TRANSFORM3 node;
  node.fSetPivot(40.0f, 55.0f, 0.0f);

  uint64_t drawCalls = 0, flushes = 0, frames = 0;
  double batchingSeconds = 0.0, flushSeconds = 0.0;
  for (auto _ : state) {
    if (s.render->fBeginScene() != 1) continue;
    glFinish();  // the rasteriser's backlog (clear, last present) is not ours to time
    const uint64_t before = s.render->_device->counters().drawCalls;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kSprites; ++i) {
      node.fSetPosition(static_cast<float>((i * 37) % 1024), static_cast<float>((i * 53) % 768), 0.0f);
      node.fSetRotationZ(static_cast<float>(i % 16) * 0.1f);
      s.render->fSetWorldTransform(node);
      s.render->fDraw(quad, textureOf(s, i), &word, 4, indices, 6);
    }
    const auto batched = std::chrono::steady_clock::now();
    s.render->fFlush();
    const auto end = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    batchingSeconds += std::chrono::duration<double>(batched - start).count();
    flushSeconds += std::chrono::duration<double>(end - batched).count();
    drawCalls += s.render->_device->counters().drawCalls - before;
    flushes += s.render->_flushes;
    ++frames;
    s.render->fEndScene();  // present: waits for the rasteriser, not timed
  }
  if (frames) {
    state.counters["draw_calls_per_frame"] = static_cast<double>(drawCalls) / static_cast<double>(frames);
    state.counters["flushes_per_frame"] = static_cast<double>(flushes) / static_cast<double>(frames);
    // Processor time of the draws alone, and of the last flush (buffer upload and the
    // driver's draw call; with Mesa's software driver that includes its vertex stage).
    state.counters["batching_ms"] = 1000.0 * batchingSeconds / static_cast<double>(frames);
    state.counters["final_flush_ms"] = 1000.0 * flushSeconds / static_cast<double>(frames);
  }
}

void BM_OneTexture(benchmark::State& state) {
  drawFrames(state, [](Scene& s, int) { return s.textures[0]; });
}
void BM_EightTexturesGrouped(benchmark::State& state) {
  drawFrames(state, [](Scene& s, int i) { return s.textures[static_cast<size_t>(i * 8 / kSprites)]; });
}
void BM_EightTexturesAlternating(benchmark::State& state) {
  drawFrames(state, [](Scene& s, int i) { return s.textures[static_cast<size_t>(i % 8)]; });
}

BENCHMARK(BM_OneTexture)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EightTexturesGrouped)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EightTexturesAlternating)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
