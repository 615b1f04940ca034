// The renderer on the engine's own window, as the game object starts it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/log.h"
#include "engine/render.h"
#include "engine/window.h"

using namespace QEL;

namespace {

TEST(RenderOnEngineWindow, StartsDrawsAndPresentsOnTheGameWindow) {
  QC_WINDOW window;
  ASSERT_EQ(window.WindowInit("render on window"), 1);
  QC_RENDER render;
  ASSERT_EQ(render.fInit(window.fGetHwnd(), 0.1f, 0.0f), 1);
  EXPECT_EQ(qcRENDER_INSTANCE, &render);
  render._clearColor = 0xFF102030u;
  ASSERT_EQ(render.fBeginScene(), 1);
  render.fDrawSquare(10, 10, 0xFFFFFFFFu, 20.0f);
  EXPECT_EQ(render.fEndScene(), 0);
  std::vector<uint8_t> rgba;
  int32_t w = 0, h = 0;
  ASSERT_TRUE(render.fReadBackBuffer(rgba, w, h));
  EXPECT_EQ(w, 1024);
  EXPECT_EQ(h, 768);
  EXPECT_EQ(rgba[(100 * 1024 + 100) * 4 + 2], 0x30);  // blue of the clear colour
  EXPECT_EQ(rgba[(20 * 1024 + 20) * 4], 0xFF);        // the white square
}

TEST(RenderOnEngineWindow, NoWindowMeansNoDeviceAndAnErrorResult) {
  std::vector<std::string> lines;
  fSetLogSink([&](const std::string& line) { lines.push_back(line); });
  {
    QC_RENDER render;
    EXPECT_EQ(render.fInit(nullptr, 0.1f, 0.0f), -1);
    EXPECT_EQ(render.fBeginScene(), -1);
    EXPECT_EQ(render.fLoadTexture("missing.png"), nullptr);  // no default texture either
    QS_RENDER_STATE word;
    QS_VERTEX v[3] = {};
    render.fDraw(v, nullptr, &word, 3, nullptr, 0);  // ignored, no crash
    EXPECT_EQ(render.fEndScene(), -1);
  }
  fSetLogSink(nullptr);
  bool cannotCreate = false;
  for (const auto& l : lines) cannotCreate = cannotCreate || l == "Can't create device";
  EXPECT_TRUE(cannotCreate);
}

}  // namespace
