// Draws through the renderer and inspects the back buffer's pixels.
#include <cmath>
#include <cstring>
#include <string>

#include "engine/camera.h"
#include "platform/window.h"
#include "render_fixture.h"

using namespace QEL;

namespace {

TEST_F(RenderTest, StartsWithItsLogLinesAndABackBufferOfThePicture) {
  EXPECT_TRUE(logged("===========================\nRender initialisation"));
  EXPECT_TRUE(logged("QC_RENDER::fInit() DirectX start"));
  EXPECT_TRUE(logged("ResetDevice"));
  EXPECT_TRUE(logged("hacks work"));
  EXPECT_TRUE(logged("QC_RENDER::fInit() OK\n==========================="));
  EXPECT_EQ(_render->_currentState.fGetWord(), 0x8002u);
  ASSERT_EQ(_render->fBeginScene(), 1);
  ASSERT_EQ(_render->fEndScene(), 0);
  read();
  EXPECT_EQ(_width, 1024);
  EXPECT_EQ(_height, 768);
  EXPECT_EQ(pixel(500, 400), 0xFF444444u);  // the default clear colour
}

TEST_F(RenderTest, ColouredQuadCoversItsScreenRectangleOneUnitOnePixelYDown) {
  _render->_clearColor = 0xFF000000u;
  ASSERT_EQ(_render->fBeginScene(), 1);
  drawQuad(100.0f, 100.0f, 200.0f, 150.0f, 0xFFFF0000u, nullptr, screenWord(false));
  _render->fEndScene();
  EXPECT_EQ(rgb(100, 100), 0xFF0000u);
  EXPECT_EQ(rgb(199, 149), 0xFF0000u);
  EXPECT_EQ(rgb(99, 120), 0x000000u);
  EXPECT_EQ(rgb(200, 120), 0x000000u);
  EXPECT_EQ(rgb(150, 99), 0x000000u);
  EXPECT_EQ(rgb(150, 150), 0x000000u);
}

TEST_F(RenderTest, SpriteTransformPlacesItsPivotAtThePosition) {
  _render->_clearColor = 0xFF000000u;
  ASSERT_EQ(_render->fBeginScene(), 1);
  QS_TRANSFORM3 t;
  t.fSetPivot(10.0f, 10.0f, 0.0f);
  t.fSetPosition(300.0f, 300.0f, 0.0f);
  t.fSetRotationZ(QC_PI / 2.0f);  // clockwise on screen
  _render->fSetWorldTransform(t);
  QS_VERTEX v[4];
  quadVertices(v, 0.0f, 0.0f, 40.0f, 20.0f, 0xFF00FF00u);
  const QS_RENDER_STATE state = screenWord(false);
  _render->fDraw(v, nullptr, &state, 4, kQuadIndices, 6);
  _render->fEndScene();
  // 40 wide, 20 high about (10, 10), turned clockwise: x in [290, 310], y in [290, 330].
  EXPECT_EQ(rgb(300, 320), 0x00FF00u);
  EXPECT_EQ(rgb(320, 300), 0x000000u);
}

TEST_F(RenderTest, TexturedQuadBlendsByItsAlphaOverTheBackground) {
  QC_TEXTURE* texture = _render->fCreateTexture(2, 2);
  ASSERT_NE(texture, nullptr);
  const uint32_t pixels[4] = {0x80FF0000u, 0x80FF0000u, 0x80FF0000u, 0x80FF0000u};
  ASSERT_TRUE(texture->fFill(pixels));
  _render->_clearColor = 0xFF0000FFu;
  ASSERT_EQ(_render->fBeginScene(), 1);
  drawQuad(10.0f, 10.0f, 60.0f, 60.0f, 0xFFFFFFFFu, texture, screenWord(true));
  // Opaque word: the same texture stamps without blending.
  QS_RENDER_STATE opaque = screenWord(true);
  opaque._opaque = 1;
  drawQuad(100.0f, 10.0f, 150.0f, 60.0f, 0xFFFFFFFFu, texture, opaque);
  _render->fEndScene();
  const uint32_t blended = rgb(30, 30);
  EXPECT_NEAR(static_cast<int>(blended >> 16), 128, 2);
  EXPECT_NEAR(static_cast<int>(blended & 0xFF), 127, 2);
  EXPECT_EQ(rgb(120, 30), 0xFF0000u);
  _render->fReleaseTexture(texture);
}

TEST_F(RenderTest, FilteringFollowsTheStateWord) {
  QC_TEXTURE* texture = _render->fCreateTexture(2, 1);
  const uint32_t pixels[2] = {0xFF000000u, 0xFFFFFFFFu};
  texture->fFill(pixels);
  _render->_clearColor = 0xFF000000u;
  ASSERT_EQ(_render->fBeginScene(), 1);
  drawQuad(0.0f, 0.0f, 400.0f, 50.0f, 0xFFFFFFFFu, texture, screenWord(true, QS_RENDER_STATE::FILTER_POINT));
  drawQuad(0.0f, 100.0f, 400.0f, 150.0f, 0xFFFFFFFFu, texture, screenWord(true, QS_RENDER_STATE::FILTER_LINEAR));
  _render->fEndScene();
  EXPECT_EQ(rgb(150, 25), 0x000000u);
  EXPECT_EQ(rgb(250, 25), 0xFFFFFFu);
  const int middle = static_cast<int>(rgb(200, 125) & 0xFF);
  const int left = static_cast<int>(rgb(150, 125) & 0xFF);
  EXPECT_GT(middle, 100);
  EXPECT_LT(middle, 155);
  EXPECT_GT(left, 10);
  EXPECT_LT(left, middle);
  _render->fReleaseTexture(texture);
}

TEST_F(RenderTest, CameraSpaceDrawsThroughTheCamerasView) {
  _render->_clearColor = 0xFF000000u;
  QC_CAMERA* camera = _render->fCreateCamera(1024, 768);
  _render->fSetCamera(camera);
  QS_RENDER_STATE cameraWord = screenWord(false);
  cameraWord._screen = 0;
  ASSERT_EQ(_render->fBeginScene(), 1);
  drawQuad(100.0f, 100.0f, 200.0f, 150.0f, 0xFFFF0000u, nullptr, cameraWord);
  _render->fEndScene();
  EXPECT_EQ(rgb(150, 120), 0xFF0000u);  // a new camera sees what screen space sees
  EXPECT_EQ(rgb(250, 120), 0x000000u);
  forget();

  camera->fMove(0.0f, -100.0f, 0.0f);  // the eye steps left: the picture moves right
  _render->fSetCamera(camera);
  ASSERT_EQ(_render->fBeginScene(), 1);
  drawQuad(100.0f, 100.0f, 200.0f, 150.0f, 0xFFFF0000u, nullptr, cameraWord);
  _render->fEndScene();
  EXPECT_EQ(rgb(150, 120), 0x000000u);
  EXPECT_EQ(rgb(250, 120), 0xFF0000u);
  forget();

  // Back in screen space the fixed view applies again.
  ASSERT_EQ(_render->fBeginScene(), 1);
  drawQuad(100.0f, 100.0f, 200.0f, 150.0f, 0xFF00FF00u, nullptr, screenWord(false));
  _render->fEndScene();
  EXPECT_EQ(rgb(150, 120), 0x00FF00u);
  _render->fSetCamera(nullptr);
  delete camera;
}

TEST_F(RenderTest, RenderTargetIsDrawnIntoAndThenUsedAsATexture) {
  QS_RENDER_TARGET* target = _render->fCreateTarget(64, 64);
  ASSERT_NE(target, nullptr);
  EXPECT_EQ(target->_id, 0u);
  ASSERT_EQ(_render->fBeginScene(), 1);
  EXPECT_EQ(_render->fBeginTarget(target), -1);  // not inside a frame
  _render->fEndScene();

  ASSERT_EQ(_render->fBeginTarget(target), 1);
  // A target's space has y upwards: its picture spans y from -64 (bottom) to 0 (top).
  drawQuad(0.0f, 0.0f, 64.0f, -32.0f, 0xFFFF0000u, nullptr, screenWord(false));
  drawQuad(0.0f, -32.0f, 64.0f, -64.0f, 0xFF00FF00u, nullptr, screenWord(false));
  ASSERT_EQ(_render->fEndTarget(), 0);
  EXPECT_EQ(_render->fEndTarget(), -1);

  QC_TEXTURE view;
  view._deviceTexture = target->_texture;
  view._size = QS_POINT(64, 64);
  _render->_clearColor = 0xFF000000u;
  ASSERT_EQ(_render->fBeginScene(), 1);
  drawQuad(300.0f, 300.0f, 364.0f, 364.0f, 0xFFFFFFFFu, &view, screenWord(true));
  _render->fEndScene();
  EXPECT_EQ(rgb(320, 305), 0xFF0000u);  // row 0 of the target is its top
  EXPECT_EQ(rgb(320, 360), 0x00FF00u);
  EXPECT_EQ(rgb(400, 330), 0x000000u);
  _render->fReleaseTarget(target);
  EXPECT_TRUE(_render->_targets.empty());
}

// Frames that repeat the last one show a kept picture of it; a target drawn into between two
// of them is a changed picture, and the next frame shows what it holds now.
TEST_F(RenderTest, AFrameAfterItsTargetWasDrawnIntoAgainShowsTheTargetsNewPicture) {
  QS_RENDER_TARGET* target = _render->fCreateTarget(64, 64);
  ASSERT_NE(target, nullptr);
  auto fillTarget = [&](uint32_t color) {
    ASSERT_EQ(_render->fBeginTarget(target), 1);
    drawQuad(0.0f, 0.0f, 64.0f, -64.0f, color, nullptr, screenWord(false));
    ASSERT_EQ(_render->fEndTarget(), 0);
  };
  QC_TEXTURE view;
  view._deviceTexture = target->_texture;
  view._size = QS_POINT(64, 64);
  auto frames = [&](int count) {
    for (int i = 0; i < count; ++i) {
      ASSERT_EQ(_render->fBeginScene(), 1);
      drawQuad(0.0f, 0.0f, 200.0f, 200.0f, 0xFF0000FFu, nullptr, screenWord(false));
      drawQuad(300.0f, 300.0f, 364.0f, 364.0f, 0xFFFFFFFFu, &view, screenWord(true));
      _render->fEndScene();
    }
  };
  fillTarget(0xFFFF0000u);
  frames(4);
  ASSERT_GT(_render->_drawsShownKept, 0u) << "the frames kept no picture to compare with";
  fillTarget(0xFF00FF00u);
  frames(1);
  forget();
  EXPECT_EQ(rgb(330, 330), 0x00FF00u);
  EXPECT_EQ(rgb(100, 100), 0x0000FFu);
  _render->fReleaseTarget(target);
}

// A draw whose corners all have alpha 0 changes nothing only where the device weighs it by
// that alpha: added at full weight (pictures whose colours carry their alpha already) it shows.
TEST_F(RenderTest, AnAlphaZeroDrawAddedAtFullWeightStillShows) {
  _render->_clearColor = 0xFF000000u;
  ASSERT_EQ(_render->fBeginScene(), 1);
  _render->fFlush();
  _render->_device->setRenderState(platform::RenderState::srcBlend, static_cast<uint32_t>(platform::Blend::one));
  drawQuad(100.0f, 100.0f, 200.0f, 200.0f, 0x00FF0000u, nullptr, screenWord(false));
  _render->fFlush();
  _render->_device->setRenderState(platform::RenderState::srcBlend, static_cast<uint32_t>(platform::Blend::srcAlpha));
  _render->fEndScene();
  EXPECT_EQ(rgb(150, 150), 0xFF0000u);
}

class LetterboxTest : public RenderTest {
 protected:
  void TearDown() override {
    platform::overrideDesktopSize(0, 0);
    RenderTest::TearDown();
  }
  void drawPicture() {
    _render->_clearColor = 0xFF000000u;
    ASSERT_EQ(_render->fBeginScene(), 1);
    drawQuad(0.0f, 0.0f, 1024.0f, 768.0f, 0xFFFF0000u, nullptr, screenWord(false));
    _render->fEndScene();
    read();
  }
};

TEST_F(LetterboxTest, WideDesktopGetsBarsLeftAndRight) {
  platform::overrideDesktopSize(1920, 1080);
  _render->fSetResolution(1024, 768, true, true);
  _render->fSetupTransforms();
  EXPECT_NEAR(_render->_aspectScaling.m[0][0], 0.75f, 1e-6f);
  drawPicture();
  EXPECT_EQ(_width, 1920);
  EXPECT_EQ(_height, 1080);
  // 1440x1080 picture with 240-pixel bars.
  EXPECT_EQ(rgb(235, 540), 0x000000u);
  EXPECT_EQ(rgb(245, 540), 0xFF0000u);
  EXPECT_EQ(rgb(1670, 540), 0xFF0000u);
  EXPECT_EQ(rgb(1685, 540), 0x000000u);
  EXPECT_EQ(rgb(960, 3), 0xFF0000u);
  EXPECT_EQ(rgb(960, 1075), 0xFF0000u);
}

TEST_F(LetterboxTest, TallDesktopGetsBarsAtTopAndBottom) {
  platform::overrideDesktopSize(1280, 1024);
  _render->fSetResolution(1024, 768, true, true);
  _render->fSetupTransforms();
  EXPECT_NEAR(_render->_aspectScaling.m[1][1], 0.9375f, 1e-6f);
  drawPicture();
  EXPECT_EQ(_width, 1280);
  EXPECT_EQ(_height, 1024);
  // 1280x960 picture with 32-pixel bars.
  EXPECT_EQ(rgb(640, 28), 0x000000u);
  EXPECT_EQ(rgb(640, 36), 0xFF0000u);
  EXPECT_EQ(rgb(640, 985), 0xFF0000u);
  EXPECT_EQ(rgb(640, 996), 0x000000u);
  EXPECT_EQ(rgb(3, 500), 0xFF0000u);
}

TEST_F(LetterboxTest, DesktopOfThePicturesSizeOrWindowedHasNoBars) {
  platform::overrideDesktopSize(1024, 768);
  _render->fSetResolution(1024, 768, true, true);
  EXPECT_EQ(_render->_aspectScaling.m[0][0], 1.0f);
  EXPECT_EQ(_render->_aspectScaling.m[1][1], 1.0f);
  _render->fSetResolution(1024, 768, false, true);
  EXPECT_EQ(_render->_actualWidth, 1024);
  EXPECT_EQ(_render->_aspectScaling.m[0][0], 1.0f);
}

TEST_F(LetterboxTest, AWiderPictureAndBackOnADesktopOfThePicturesSizeFillsTheScreenAgain) {
  // The editor's 1280-wide picture in full screen, then the game's 1024 again: the back buffer
  // is the desktop's both times, but the picture must follow the request.
  platform::overrideDesktopSize(1024, 768);
  _render->fSetResolution(1024, 768, true, true);
  _render->fSetResolution(1280, 768, true, true);
  _render->fSetResolution(1024, 768, true, true);
  _render->fSetupTransforms();
  drawPicture();
  EXPECT_EQ(_render->_requestedWidth, 1024);
  EXPECT_EQ(rgb(1000, 700), 0xFF0000u) << "the picture covers the whole screen again";
  EXPECT_EQ(rgb(3, 3), 0xFF0000u);
}

TEST_F(RenderTest, DrawingGoesOnAfterADeviceLossAndReset) {
  QC_TEXTURE* managed = _render->fCreateTexture(1, 1);
  const uint32_t green = 0xFF00FF00u;
  managed->fFill(&green);
  QS_RENDER_TARGET* target = _render->fCreateTarget(32, 32);
  ASSERT_EQ(_render->fBeginTarget(target), 1);
  drawQuad(0.0f, 0.0f, 32.0f, -32.0f, 0xFFFF0000u, nullptr, screenWord(false));
  _render->fEndTarget();

  _render->_device->simulateDeviceLoss(1);
  EXPECT_EQ(_render->fBeginScene(), -1);
  EXPECT_TRUE(logged("DEVICE_LOST"));
  const auto resetsBefore = _render->_device->counters().resets;
  EXPECT_EQ(_render->fBeginScene(), -110);
  EXPECT_TRUE(logged("D3DERR_DEVICENOTRESET"));
  EXPECT_EQ(_render->_device->counters().resets, resetsBefore + 1);
  EXPECT_EQ(target->_width, 32);  // the record stays, with a new empty texture
  ASSERT_NE(target->_texture, nullptr);

  QC_TEXTURE view;
  view._deviceTexture = target->_texture;
  view._size = QS_POINT(32, 32);
  _render->_clearColor = 0xFF0000FFu;
  ASSERT_EQ(_render->fBeginScene(), 1);
  drawQuad(10.0f, 10.0f, 50.0f, 50.0f, 0xFFFFFFFFu, managed, screenWord(true));
  drawQuad(100.0f, 10.0f, 132.0f, 42.0f, 0xFFFFFFFFu, &view, screenWord(true));
  _render->fEndScene();
  EXPECT_EQ(rgb(30, 30), 0x00FF00u);   // managed texture survived
  EXPECT_EQ(rgb(115, 25), 0x0000FFu);  // target lost its red: transparent over blue
  _render->fReleaseTarget(target);
  _render->fReleaseTexture(managed);
}

TEST_F(RenderTest, FailedResetIsLoggedAndRetriedNextFrame) {
  _render->_device->simulateDeviceLoss(1);
  EXPECT_EQ(_render->fBeginScene(), -1);
  _render->_device->failNextReset(platform::Result::outOfVideoMemory);
  EXPECT_EQ(_render->fBeginScene(), -110);
  EXPECT_TRUE(logged("ERROR RESET"));
  EXPECT_TRUE(logged("D3DERR_OUTOFVIDEOMEMORY"));
  EXPECT_EQ(_render->_vertexBuffer, nullptr);
  EXPECT_EQ(_render->fBeginScene(), -110);  // still not reset: tried again
  EXPECT_EQ(_render->fBeginScene(), 1);
  drawQuad(0.0f, 0.0f, 10.0f, 10.0f, 0xFFFFFFFFu, nullptr, screenWord(false));
  EXPECT_EQ(_render->fEndScene(), 0);
}

TEST_F(RenderTest, ResolutionChangeWhoseResetFailsIsRetriedByTheNextFrame) {
  _render->_device->failNextReset(platform::Result::driverInternalError);
  _render->fSetResolution(800, 600, false, false);
  EXPECT_TRUE(logged("D3DERR_DRIVERINTERNALERROR"));
  EXPECT_EQ(_render->fBeginScene(), -110);
  EXPECT_TRUE(logged("D3DERR_DEVICENOTRESET"));
  ASSERT_EQ(_render->fBeginScene(), 1);
  drawQuad(0.0f, 0.0f, 10.0f, 10.0f, 0xFFFFFFFFu, nullptr, screenWord(false));
  EXPECT_EQ(_render->fEndScene(), 0);
  read();
  EXPECT_EQ(_width, 800);
}

}  // namespace
