// A 2,400-character page of wide text and 300 sprites drawn per frame on the offscreen
// device. Reports the calling thread's CPU time for the text's drawing calls alone (metrics,
// transforms, batching and vertex copies; not the rasteriser's threads), the CPU time of the
// whole frame, and the draw calls and batches per frame.
#include <benchmark/benchmark.h>

#include <time.h>

#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "engine/globals.h"
#include "engine/render.h"
#include "engine/texture.h"
#include "platform/window.h"
#include "primitives/font.h"
#include "primitives/sprite.h"

using namespace QEL;

namespace {

// CPU time of the calling thread: the rasteriser's own threads are not counted.
double threadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

struct Scene {
  QC_RENDER* render = nullptr;
  QC_TEXTURE* page = nullptr;
  QC_TEXTURE* card = nullptr;
  pugi::xml_document description;
  std::unique_ptr<QC_FONT> font;
  std::vector<std::unique_ptr<QC_SPRITE>> sprites;
  std::wstring text;
  bool ready = false;
};

// A font of the printable ASCII characters, each glyph a 10 x 14 cell of a 256 x 128 page.
std::string asciiFontXml() {
  std::ostringstream out;
  out << "<font><common lineHeight=\"16\"/><pages><page id=\"0\" file=\"bench.png\"/></pages>"
      << "<chars count=\"95\">";
  for (int code = 32; code < 127; ++code) {
    const int cell = code - 32;
    out << "<char id=\"" << code << "\" x=\"" << (cell % 25) * 10 << "\" y=\"" << (cell / 25) * 16
        << "\" width=\"" << (code == 32 ? 0 : 9) << "\" height=\"14\" xoffset=\"0\" yoffset=\"1\"/>";
  }
  out << "</chars></font>";
  return out.str();
}

Scene* scene() {
  static Scene* s = [] {
    auto* made = new Scene;
    if (!platform::initVideo()) return made;
    platform::WindowHandle window = platform::createWindow("text and sprites", 1024, 768);
    if (window == nullptr) return made;
    made->render = new QC_RENDER;
    if (made->render->fInit(window, 0.1f, 0.0f) != 1) return made;
    qcRENDER = made->render;
    made->page = made->render->fCreateTexture(256, 128);
    made->page->fFill(std::vector<uint32_t>(256 * 128, 0xFFFFFFFFu).data());
    made->card = made->render->fCreateTexture(80, 110);
    made->card->fFill(std::vector<uint32_t>(80 * 110, 0xFF2060A0u).data());
    made->description.load_string(asciiFontXml().c_str());
    made->font = std::make_unique<QC_FONT>(made->description.child("font"), made->page, 600);
    made->font->_spacing = -1;
    for (int i = 0; i < 300; ++i) {
      auto sprite = std::make_unique<QC_SPRITE>(made->card, nullptr);
      sprite->fSetPosition(static_cast<float>(40 + (i * 37) % 940), static_cast<float>(60 + (i * 53) % 650), 0.0f);
      sprite->fSetRotationZ(0.01f * static_cast<float>(i % 30));
      made->sprites.push_back(std::move(sprite));
    }
    // 40 lines of 60 characters, the line breaks included: 2,400 characters.
    const std::wstring alphabet = L"The quick brown fox jumps over the lazy dog, 0123456789! ";
    for (int line = 0; line < 40; ++line) {
      for (int c = 0; c < 59; ++c) made->text += alphabet[(line * 7 + c) % alphabet.size()];
      made->text += line < 39 ? L'\n' : L'.';
    }
    made->ready = true;
    return made;
  }();
  return s;
}

void drawFrame(benchmark::State& state, bool withSprites) {
  Scene* s = scene();
  if (!s->ready) {
    state.SkipWithError("no device on this machine");
    return;
  }
  double textSeconds = 0.0;
  double drawCalls = 0.0, flushes = 0.0;
  for (auto _ : state) {
    if (s->render->fBeginScene() != 1) continue;
    if (withSprites) {
      for (auto& sprite : s->sprites) sprite->fDraw();
    }
    const double start = threadSeconds();
    s->font->fDrawTextW(8, 8, s->text.c_str());
    textSeconds += threadSeconds() - start;
    s->render->fEndScene();
    drawCalls += s->render->_drawCalls;
    flushes += s->render->_flushes;
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["text_cpu_ms"] = n > 0 ? 1000.0 * textSeconds / n : 0.0;
  state.counters["draw_calls"] = n > 0 ? drawCalls / n : 0.0;
  state.counters["batches"] = n > 0 ? flushes / n : 0.0;
  state.counters["characters"] = static_cast<double>(s->text.size());
}

void BM_TextPage(benchmark::State& state) { drawFrame(state, false); }
void BM_TextPageAnd300Sprites(benchmark::State& state) { drawFrame(state, true); }

}  // namespace

BENCHMARK(BM_TextPage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextPageAnd300Sprites)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
