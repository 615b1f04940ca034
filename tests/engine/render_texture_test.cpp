// Textures, the default checker, failed loads, resolution and transforms.
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <list>

#include "platform/image_codec.h"
#include "platform/window.h"
#include "render_fixture.h"

using namespace QEL;

namespace {

std::string tempFile(const char* name) {
  return std::string("/tmp/pindrake_render_") + std::to_string(getpid()) + "_" + name;
}

TEST_F(RenderTest, DefaultTextureIsTheFourColourChecker) {
  QC_TEXTURE* checker = _render->fGetDefaultTexture();
  ASSERT_NE(checker, nullptr);
  EXPECT_EQ(checker->fGetSize(), QS_POINT(16, 16));
  auto* words = static_cast<uint32_t*>(_render->fTextureLock(checker));
  ASSERT_NE(words, nullptr);
  EXPECT_EQ(words[3 * 16 + 12], 0xFF3CAA3Cu);
  EXPECT_EQ(words[12 * 16 + 3], 0xFFFDE910u);
  EXPECT_EQ(words[0], 0xFFFF2400u);
  EXPECT_EQ(words[15 * 16 + 15], 0xFF3C57A9u);
  EXPECT_TRUE(_render->fTextureUnlock(checker));
  _render->fReleaseTexture(checker);  // never released
  EXPECT_EQ(_render->fGetDefaultTexture(), checker);
  EXPECT_EQ(_render->_liveTextures.count(checker->_deviceTexture), 1u);
}

TEST_F(RenderTest, MissingOrNonImageFileGivesTheCheckerAndALogLine) {
  const size_t live = _render->_liveTextures.size();
  const std::string missing = tempFile("missing.png");
  EXPECT_EQ(_render->fLoadTexture(missing.c_str()), _render->fGetDefaultTexture());
  EXPECT_TRUE(logged("Textue not load " + missing));
  const std::string text = tempFile("text.png");
  { std::ofstream(text) << "not an image"; }
  EXPECT_EQ(_render->fLoadTexture(text.c_str()), _render->fGetDefaultTexture());
  EXPECT_TRUE(logged("Textue not load " + text));
  EXPECT_EQ(_render->fLoadTexture(nullptr), _render->fGetDefaultTexture());
  EXPECT_EQ(_render->_liveTextures.size(), live);
  std::remove(text.c_str());
}

TEST_F(RenderTest, ImageInMemoryThatFailsShowsTheBoxAndGivesTheChecker) {
  std::string text;
  platform::setMessageBoxHook([&](const std::string& t, const std::string&) { text = t; });
  const char bytes[] = "garbage";
  EXPECT_EQ(_render->fLoadTextureFromMemory(bytes, sizeof bytes, "splash/broken.png"), _render->fGetDefaultTexture());
  EXPECT_EQ(text, "Texture load from memory failed: splash/broken.png");
  platform::setMessageBoxHook(nullptr);
}

TEST_F(RenderTest, ImageTexturesKeepTheImagesSizeAndPixels) {
  std::vector<uint8_t> rgba(100 * 50 * 4);
  for (size_t i = 0; i < rgba.size(); i += 4) {
    rgba[i] = 0x20;      // r
    rgba[i + 1] = 0x40;  // g
    rgba[i + 2] = 0x60;  // b
    rgba[i + 3] = 0xFF;
  }
  const std::string path = tempFile("image.png");
  ASSERT_TRUE(platform::writePng(path, rgba.data(), 100, 50));
  QC_TEXTURE* a = _render->fLoadTexture(path.c_str());
  QC_TEXTURE* b = _render->fLoadTexture(path.c_str());
  ASSERT_NE(a, _render->fGetDefaultTexture());
  EXPECT_NE(a, b);
  EXPECT_NE(a->_deviceTexture, b->_deviceTexture);
  EXPECT_EQ(a->fGetSize(), QS_POINT(100, 50));

  std::ifstream in(path, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  QC_TEXTURE* c = _render->fLoadTextureFromMemory(bytes.data(), static_cast<uint32_t>(bytes.size()), "unnamed");
  ASSERT_NE(c, _render->fGetDefaultTexture());
  EXPECT_EQ(c->fGetSize(), QS_POINT(100, 50));

  _render->_clearColor = 0xFF000000u;
  ASSERT_EQ(_render->fBeginScene(), 1);
  drawQuad(0, 0, 100, 50, 0xFFFFFFFFu, c, screenWord(true));
  _render->fEndScene();
  EXPECT_EQ(rgb(50, 25), 0x204060u);

  const size_t live = _render->_liveTextures.size();
  _render->fReleaseTexture(a);
  EXPECT_EQ(_render->_liveTextures.size(), live - 1);
  _render->fReleaseTexture(b);
  _render->fReleaseTexture(c);
  std::remove(path.c_str());
}

TEST_F(RenderTest, ScreenSpaceTransformsAndTheFarPlane) {
  const float d = 384.5f / std::tan(QC_PI / 8.0f);
  EXPECT_NEAR(_render->_zFar, 2.0f * d, 1e-2f);
  // The eye looks at the picture's centre from d in front of it.
  EXPECT_NEAR(_render->_view.m[3][0], -512.5f, 1e-3f);
  EXPECT_NEAR(_render->_view.m[3][1], 384.5f, 1e-3f);
  EXPECT_NEAR(_render->_view.m[3][2], d, 1e-2f);
  const float farBefore = _render->_zFar;
  _render->ResetDevice();
  EXPECT_EQ(_render->_zFar, farBefore);  // kept after later resets
}

TEST_F(RenderTest, SameWindowedResolutionDoesNothing) {
  const auto resets = _render->_device->counters().resets;
  _render->fSetResolution(1024, 768, false, false);
  EXPECT_EQ(_render->_device->counters().resets, resets);
  _render->fSetResolution(800, 600, false, false);
  EXPECT_EQ(_render->_device->counters().resets, resets + 1);
  EXPECT_EQ(_render->_device->backBufferWidth(), 800);
}

TEST_F(RenderTest, DisplayModesAreSixtyHertzLandscapeOnes) {
  std::list<QS_POINT> modes;
  modes.push_back(QS_POINT(1, 1));
  _render->fGetDisplayModes(modes);
  for (const QS_POINT& m : modes) EXPECT_LE(m.y, m.x);
  EXPECT_FALSE(std::find(modes.begin(), modes.end(), QS_POINT(1, 1)) != modes.end());
}

}  // namespace
