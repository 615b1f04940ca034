#include "platform/device.h"

#include <cstring>

#include "gl_window_fixture.h"
#include "platform/matrix_math.h"

using namespace platform;

namespace {

struct Vertex {
  float x, y, z, nx, ny, nz;
  uint32_t color;
  float u, v;
};
static_assert(sizeof(Vertex) == 36);

class DeviceTest : public GlWindowTest {
 protected:
  void SetUp() override {
    GlWindowTest::SetUp();
    if (HasFatalFailure()) return;
    _d3d = Direct3D::create();
    ASSERT_TRUE(_d3d);
    _parameters.windowed = true;
    _parameters.backBufferWidth = 64;
    _parameters.backBufferHeight = 48;
    _parameters.enableAutoDepthStencil = true;
    _parameters.autoDepthStencilFormat = kFormatD24S8;
    ASSERT_EQ(_d3d->createDevice(_window, kCreateSoftwareVertexProcessing, _parameters, _device), Result::ok)
        << deviceFailureReason();
    pixelProjection(64, 48);
    _device->setRenderState(RenderState::zEnable, 0);
    ASSERT_EQ(_device->createVertexBuffer(36 * 64, 0, kFvfVertex, Pool::defaultPool, &_vertices), Result::ok);
  }
  void TearDown() override {
    if (_points) _points->release();
    _points = nullptr;
    if (_vertices) _vertices->release();
    _device.reset();
    _d3d.reset();
    GlWindowTest::TearDown();
  }

  // Pixel coordinates of a target of the given size straight to clip space: x right, y down.
  void pixelProjection(int width, int height) {
    float m[16];
    matrixIdentity(m);
    m[0] = 2.0f / static_cast<float>(width);
    m[5] = -2.0f / static_cast<float>(height);
    m[12] = -1.0f;
    m[13] = 1.0f;
    _device->setTransform(TransformKind::projection, m);
  }

  void quad(float x0, float y0, float x1, float y1, uint32_t color) {
    Vertex v[6] = {{x0, y0, 0.5f, 0, 0, 0, color, 0, 0}, {x1, y0, 0.5f, 0, 0, 0, color, 1, 0},
                   {x1, y1, 0.5f, 0, 0, 0, color, 1, 1}, {x0, y0, 0.5f, 0, 0, 0, color, 0, 0},
                   {x1, y1, 0.5f, 0, 0, 0, color, 1, 1}, {x0, y1, 0.5f, 0, 0, 0, color, 0, 1}};
    void* data = nullptr;
    ASSERT_EQ(_vertices->lock(0, sizeof v, &data, kLockDiscard), Result::ok);
    std::memcpy(data, v, sizeof v);
    _vertices->unlock();
    _device->setStreamSource(0, _vertices, 0, 36);
    _device->setFvf(kFvfVertex);
    ASSERT_EQ(_device->drawPrimitive(PrimitiveType::triangleList, 0, 2), Result::ok);
  }

  // A point sprite of the given size (pixels) centred on (x, y).
  void point(float x, float y, float size, uint32_t color) {
    struct Point {
      float x, y, z, size;
      uint32_t color;
    } p{x, y, 0.5f, size, color};
    if (!_points) {
      ASSERT_EQ(_device->createVertexBuffer(20 * 4, kUsageDynamic, kFvfPoint, Pool::defaultPool, &_points),
                Result::ok);
    }
    void* data = nullptr;
    ASSERT_EQ(_points->lock(0, sizeof p, &data, kLockDiscard), Result::ok);
    std::memcpy(data, &p, sizeof p);
    _points->unlock();
    _device->setStreamSource(0, _points, 0, 20);
    _device->setFvf(kFvfPoint);
    _device->setRenderState(RenderState::pointSpriteEnable, 1);
    ASSERT_EQ(_device->drawPrimitive(PrimitiveType::pointList, 0, 1), Result::ok);
    _device->setRenderState(RenderState::pointSpriteEnable, 0);
  }

  // A managed texture of 2 x 2 texels: red, green on top; blue, white below.
  Texture* cornersTexture() {
    Texture* texture = nullptr;
    EXPECT_EQ(_device->createTexture(2, 2, 1, 0, kFormatA8R8G8B8, Pool::managed, &texture), Result::ok);
    LockedRect locked;
    EXPECT_EQ(texture->lockRect(0, &locked, 0), Result::ok);
    const uint32_t texels[4] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFFFFu};  // b, g, r, a bytes
    std::memcpy(locked.bits, texels, sizeof texels);
    texture->unlockRect(0);
    return texture;
  }

  // One picture with every kind of draw the device makes: edges a quarter pixel past whole
  // coordinates and right on pixel centres, a mirrored quad culled, a stencil stamp and what
  // it lets through, a depth test, blending, a textured quad and a point sprite of a picture
  // with four distinct corners, and a render target drawn into and then sampled.
  std::vector<uint8_t> drawEveryKind() {
    Texture* corners = cornersTexture();
    Texture* target = nullptr;
    Surface* targetSurface = nullptr;
    Surface* back = nullptr;
    EXPECT_EQ(_device->createTexture(8, 8, 1, kUsageRenderTarget, kFormatA8R8G8B8, Pool::defaultPool, &target),
              Result::ok);
    EXPECT_EQ(target->getSurfaceLevel(0, &targetSurface), Result::ok);
    EXPECT_EQ(_device->getRenderTarget(0, &back), Result::ok);
    _device->setRenderTarget(0, targetSurface);
    pixelProjection(8, 8);
    _device->clear(kClearTarget, 0xFF00FFFF, 1.0f, 0);
    quad(0.0f, 0.0f, 8.0f, 3.0f, 0xFFFF00FF);  // the target's top rows magenta
    _device->setRenderTarget(0, back);
    pixelProjection(64, 48);

    _device->beginScene();
    _device->clear(kClearTarget | kClearZBuffer | kClearStencil, 0xFF000040, 1.0f, 0);
    quad(1.25f, 1.25f, 9.25f, 9.25f, 0xFFFF0000);
    quad(11.0f, 1.0f, 19.0f, 9.0f, 0xFF00FF00);
    quad(28.0f, 1.0f, 21.0f, 9.0f, 0xFFFFFFFF);  // mirrored: culled
    _device->setRenderState(RenderState::stencilEnable, 1);
    _device->setRenderState(RenderState::stencilRef, 2);
    _device->setRenderState(RenderState::stencilFunc, static_cast<uint32_t>(Compare::never));
    _device->setRenderState(RenderState::stencilFail, static_cast<uint32_t>(StencilOp::replace));
    quad(31.0f, 1.0f, 36.0f, 6.0f, 0xFFFFFFFF);  // stamps 2
    _device->setRenderState(RenderState::stencilRef, 1);
    _device->setRenderState(RenderState::stencilFunc, static_cast<uint32_t>(Compare::less));
    quad(30.0f, 0.0f, 40.0f, 10.0f, 0xFF00FFFF);
    _device->setRenderState(RenderState::stencilEnable, 0);
    _device->setRenderState(RenderState::zEnable, 1);
    quad(42.0f, 1.0f, 50.0f, 9.0f, 0xFFFFFF00);
    quad(44.0f, 3.0f, 52.0f, 11.0f, 0xFFFF8000);  // same depth: drawn over (less or equal)
    _device->setRenderState(RenderState::zEnable, 0);
    _device->setRenderState(RenderState::alphaBlendEnable, 1);
    _device->setRenderState(RenderState::srcBlend, static_cast<uint32_t>(Blend::srcAlpha));
    _device->setRenderState(RenderState::destBlend, static_cast<uint32_t>(Blend::invSrcAlpha));
    quad(54.0f, 1.0f, 62.0f, 9.0f, 0x80FFFFFF);
    _device->setRenderState(RenderState::alphaBlendEnable, 0);
    _device->setTexture(0, corners);
    quad(2.0f, 14.0f, 18.0f, 30.0f, 0xFFFFFFFF);
    point(30.0f, 22.0f, 16.0f, 0xFFFFFFFF);
    _device->setTexture(0, target);
    quad(42.0f, 14.0f, 58.0f, 30.0f, 0xFFFFFFFF);
    _device->setTexture(0, nullptr);
    _device->endScene();
    _device->present();
    auto rgba = readBack();
    back->release();
    targetSurface->release();
    target->release();
    corners->release();
    return rgba;
  }

  std::vector<uint8_t> readBack() {
    std::vector<uint8_t> rgba;
    int w = 0, h = 0;
    EXPECT_TRUE(_device->readBackBuffer(rgba, w, h));
    EXPECT_EQ(w, 64);
    EXPECT_EQ(h, 48);
    return rgba;
  }

  std::unique_ptr<Direct3D> _d3d;
  std::unique_ptr<Device> _device;
  PresentParameters _parameters;
  VertexBuffer* _vertices = nullptr;
  VertexBuffer* _points = nullptr;
};

TEST_F(DeviceTest, ClearFillsTheBackBufferOfTheRequestedSize) {
  EXPECT_EQ(_device->backBufferWidth(), 64);
  EXPECT_EQ(_device->backBufferHeight(), 48);
  ASSERT_EQ(_device->clear(kClearTarget | kClearZBuffer, 0xFF336699, 1.0f, 0), Result::ok);
  auto rgba = readBack();
  EXPECT_EQ(pixelAt(rgba, 64, 0, 0), 0xFF336699u);
  EXPECT_EQ(pixelAt(rgba, 64, 63, 47), 0xFF336699u);
}

TEST_F(DeviceTest, PixelCentresSitOnWholeCoordinates) {
  _device->clear(kClearTarget, 0xFF000000, 1.0f, 0);
  _device->beginScene();
  // Edges a quarter pixel past whole numbers: only pixels whose centre (x, y) lies inside.
  quad(10.25f, 5.25f, 20.25f, 15.25f, 0xFFFF0000);
  _device->endScene();
  auto rgba = readBack();
  EXPECT_EQ(pixelAt(rgba, 64, 10, 8), 0xFF000000u);
  EXPECT_EQ(pixelAt(rgba, 64, 11, 8), 0xFFFF0000u);
  EXPECT_EQ(pixelAt(rgba, 64, 20, 8), 0xFFFF0000u);
  EXPECT_EQ(pixelAt(rgba, 64, 21, 8), 0xFF000000u);
  EXPECT_EQ(pixelAt(rgba, 64, 12, 5), 0xFF000000u);
  EXPECT_EQ(pixelAt(rgba, 64, 12, 6), 0xFFFF0000u);
  EXPECT_EQ(pixelAt(rgba, 64, 12, 15), 0xFFFF0000u);
  EXPECT_EQ(pixelAt(rgba, 64, 12, 16), 0xFF000000u);
}

TEST_F(DeviceTest, CounterClockwiseTrianglesAreCulledByDefault) {
  _device->clear(kClearTarget, 0xFF000000, 1.0f, 0);
  // Mirrored quad: counter-clockwise on screen.
  quad(30.0f, 10.0f, 20.0f, 20.0f, 0xFF00FF00);
  auto rgba = readBack();
  EXPECT_EQ(pixelAt(rgba, 64, 25, 15), 0xFF000000u);
  _device->setRenderState(RenderState::cullMode, static_cast<uint32_t>(Cull::none));
  quad(30.0f, 10.0f, 20.0f, 20.0f, 0xFF00FF00);
  rgba = readBack();
  EXPECT_EQ(pixelAt(rgba, 64, 25, 15), 0xFF00FF00u);
}

TEST_F(DeviceTest, ManagedTextureLockUsesBgraBytesAndKeepsRowZeroOnTop) {
  Texture* texture = nullptr;
  ASSERT_EQ(_device->createTexture(2, 2, 1, 0, kFormatA8R8G8B8, Pool::managed, &texture), Result::ok);
  LockedRect locked;
  ASSERT_EQ(texture->lockRect(0, &locked, 0), Result::ok);
  EXPECT_EQ(locked.pitch, 8);
  const uint32_t words[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
  std::memcpy(locked.bits, words, sizeof words);
  EXPECT_EQ(static_cast<uint8_t*>(locked.bits)[0], 0x00);  // blue byte first
  EXPECT_EQ(static_cast<uint8_t*>(locked.bits)[2], 0xFF);  // then green, red
  ASSERT_EQ(texture->unlockRect(0), Result::ok);
  _device->clear(kClearTarget, 0xFF000000, 1.0f, 0);
  _device->setTexture(0, texture);
  quad(0.0f, 0.0f, 20.0f, 20.0f, 0xFFFFFFFF);
  auto rgba = readBack();
  EXPECT_EQ(pixelAt(rgba, 64, 2, 2), 0xFFFF0000u);
  EXPECT_EQ(pixelAt(rgba, 64, 17, 2), 0xFF00FF00u);
  EXPECT_EQ(pixelAt(rgba, 64, 2, 17), 0xFF0000FFu);
  EXPECT_EQ(pixelAt(rgba, 64, 17, 17), 0xFFFFFFFFu);
  _device->setTexture(0, nullptr);
  texture->release();
}

TEST_F(DeviceTest, LossReportsLostThenNotResetAndResetRecovers) {
  EXPECT_EQ(_device->testCooperativeLevel(), Result::ok);
  _device->simulateDeviceLoss(2);
  EXPECT_EQ(_device->testCooperativeLevel(), Result::deviceLost);
  EXPECT_EQ(_device->reset(_parameters), Result::deviceLost);
  EXPECT_EQ(_device->testCooperativeLevel(), Result::deviceLost);
  EXPECT_EQ(_device->testCooperativeLevel(), Result::deviceNotReset);
  EXPECT_EQ(_device->present(), Result::deviceLost);
  _device->failNextReset(Result::outOfVideoMemory);
  EXPECT_EQ(_device->reset(_parameters), Result::outOfVideoMemory);
  EXPECT_EQ(_device->testCooperativeLevel(), Result::deviceNotReset);
  EXPECT_EQ(_device->reset(_parameters), Result::ok);
  EXPECT_EQ(_device->testCooperativeLevel(), Result::ok);
  EXPECT_EQ(_device->present(), Result::ok);
  // A failed reset of a working device leaves it waiting for another reset.
  _device->failNextReset(Result::driverInternalError);
  EXPECT_EQ(_device->reset(_parameters), Result::driverInternalError);
  EXPECT_EQ(_device->testCooperativeLevel(), Result::deviceNotReset);
}

TEST_F(DeviceTest, ResetResizesTheBackBufferAndRestoresDefaultStates) {
  _device->setRenderState(RenderState::alphaBlendEnable, 1);
  PresentParameters bigger = _parameters;
  bigger.backBufferWidth = 80;
  bigger.backBufferHeight = 60;
  ASSERT_EQ(_device->reset(bigger), Result::ok);
  EXPECT_EQ(_device->backBufferWidth(), 80);
  EXPECT_EQ(_device->getRenderState(RenderState::alphaBlendEnable), 0u);
  std::vector<uint8_t> rgba;
  int w = 0, h = 0;
  ASSERT_TRUE(_device->readBackBuffer(rgba, w, h));
  EXPECT_EQ(w, 80);
  EXPECT_EQ(h, 60);
}

TEST_F(DeviceTest, RenderTargetIsDrawnIntoAndSampledTopRowFirst) {
  Texture* target = nullptr;
  ASSERT_EQ(_device->createTexture(16, 16, 1, kUsageRenderTarget, kFormatA8R8G8B8, Pool::defaultPool, &target),
            Result::ok);
  Surface* surface = nullptr;
  ASSERT_EQ(target->getSurfaceLevel(0, &surface), Result::ok);
  Surface* back = nullptr;
  ASSERT_EQ(_device->getRenderTarget(0, &back), Result::ok);
  LockedRect locked;
  EXPECT_EQ(target->lockRect(0, &locked, 0), Result::invalidCall);  // targets cannot be locked

  ASSERT_EQ(_device->setRenderTarget(0, surface), Result::ok);
  pixelProjection(16, 16);
  _device->clear(kClearTarget, 0xFF0000FF, 1.0f, 0);
  quad(0.0f, 0.0f, 16.0f, 8.0f, 0xFFFF0000);  // top half red
  std::vector<uint8_t> pixels;
  int w = 0, h = 0;
  ASSERT_TRUE(_device->readSurface(surface, pixels, w, h));
  EXPECT_EQ(pixelAt(pixels, 16, 4, 2), 0xFFFF0000u);
  EXPECT_EQ(pixelAt(pixels, 16, 4, 12), 0xFF0000FFu);

  ASSERT_EQ(_device->setRenderTarget(0, back), Result::ok);
  pixelProjection(64, 48);
  _device->clear(kClearTarget, 0xFF000000, 1.0f, 0);
  _device->setTexture(0, target);
  quad(0.0f, 0.0f, 32.0f, 32.0f, 0xFFFFFFFF);
  auto rgba = readBack();
  EXPECT_EQ(pixelAt(rgba, 64, 10, 4), 0xFFFF0000u);
  EXPECT_EQ(pixelAt(rgba, 64, 10, 28), 0xFF0000FFu);
  _device->setTexture(0, nullptr);
  back->release();
  surface->release();
  target->release();
}

TEST_F(DeviceTest, StencilMaskLimitsDrawingToTheStampedArea) {
  _device->clear(kClearTarget | kClearStencil, 0xFF000000, 1.0f, 0);
  _device->setRenderState(RenderState::stencilEnable, 1);
  _device->setRenderState(RenderState::stencilRef, 2);
  _device->setRenderState(RenderState::stencilFunc, static_cast<uint32_t>(Compare::never));
  _device->setRenderState(RenderState::stencilFail, static_cast<uint32_t>(StencilOp::replace));
  quad(10.0f, 10.0f, 20.0f, 20.0f, 0xFFFFFFFF);  // stamps 2, draws nothing
  _device->setRenderState(RenderState::stencilRef, 1);
  _device->setRenderState(RenderState::stencilFunc, static_cast<uint32_t>(Compare::less));
  quad(0.0f, 0.0f, 64.0f, 48.0f, 0xFF00FF00);
  _device->setRenderState(RenderState::stencilEnable, 0);
  auto rgba = readBack();
  EXPECT_EQ(pixelAt(rgba, 64, 15, 15), 0xFF00FF00u);
  EXPECT_EQ(pixelAt(rgba, 64, 5, 5), 0xFF000000u);
  EXPECT_EQ(pixelAt(rgba, 64, 25, 15), 0xFF000000u);
}

TEST_F(DeviceTest, BufferLocksOutsideTheBufferAreRefused) {
  void* data = reinterpret_cast<void*>(1);
  EXPECT_EQ(_vertices->lock(36 * 63, 72, &data, 0), Result::invalidCall);
  EXPECT_EQ(data, nullptr);
  EXPECT_EQ(_vertices->lock(36 * 63, 36, &data, kLockNoOverwrite), Result::ok);
  EXPECT_NE(data, nullptr);
  EXPECT_EQ(_vertices->unlock(), Result::ok);
  // Drawing past the end of the stream is refused instead of reading beyond it.
  _device->setStreamSource(0, _vertices, 0, 36);
  _device->setFvf(kFvfVertex);
  EXPECT_EQ(_device->drawPrimitive(PrimitiveType::triangleList, 60, 2), Result::invalidCall);
}

TEST_F(DeviceTest, BlendingUsesSourceAlphaOverTheBackground) {
  _device->clear(kClearTarget, 0xFF0000FF, 1.0f, 0);
  _device->setRenderState(RenderState::alphaBlendEnable, 1);
  _device->setRenderState(RenderState::srcBlend, static_cast<uint32_t>(Blend::srcAlpha));
  _device->setRenderState(RenderState::destBlend, static_cast<uint32_t>(Blend::invSrcAlpha));
  quad(0.0f, 0.0f, 10.0f, 10.0f, 0x80FF0000);
  auto rgba = readBack();
  const uint32_t p = pixelAt(rgba, 64, 5, 5);
  EXPECT_NEAR(static_cast<int>((p >> 16) & 0xFF), 128, 2);
  EXPECT_NEAR(static_cast<int>(p & 0xFF), 127, 2);
  _device->setRenderState(RenderState::destBlend, static_cast<uint32_t>(Blend::one));
  quad(20.0f, 0.0f, 30.0f, 10.0f, 0x80FF0000);
  rgba = readBack();
  EXPECT_EQ(pixelAt(rgba, 64, 25, 5) & 0x00FFFFFF, 0x008000FFu & 0x00FFFFFF);
}

// ---- where the back buffer lives; what a frame costs ---------------------------------------

TEST_F(DeviceTest, AWindowOfTheBackBuffersSizeIsDrawnIntoStraightAndShowsTheSamePixels) {
  // This window is taller than the back buffer: frames go through the offscreen buffer.
  EXPECT_FALSE(_device->drawsIntoWindow());
  const std::vector<uint8_t> offscreen = drawEveryKind();

  // A second window of exactly the back buffer's size takes the frames itself.
  SDL_Window* fitting = SDL_CreateWindow("fitting", 0, 0, 64, 48, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  ASSERT_NE(fitting, nullptr) << SDL_GetError();
  _vertices->release();
  _vertices = nullptr;
  if (_points) _points->release();
  _points = nullptr;
  _device.reset();
  ASSERT_EQ(_d3d->createDevice(fitting, kCreateSoftwareVertexProcessing, _parameters, _device), Result::ok);
  ASSERT_EQ(_device->createVertexBuffer(36 * 64, 0, kFvfVertex, Pool::defaultPool, &_vertices), Result::ok);
  _device->setRenderState(RenderState::zEnable, 0);
  EXPECT_TRUE(_device->drawsIntoWindow());
  const std::vector<uint8_t> straight = drawEveryKind();

  ASSERT_EQ(straight.size(), offscreen.size());
  int differing = 0;
  for (size_t i = 0; i < straight.size(); ++i) differing += straight[i] != offscreen[i] ? 1 : 0;
  EXPECT_EQ(differing, 0);
  // And what both show is right: rows top first, edges on pixel centres, the corners; the
  // back buffer has no alpha of its own to show.
  EXPECT_EQ(pixelAt(straight, 64, 58, 5), 0xFF8080A0u);
  EXPECT_EQ(pixelAt(straight, 64, 1, 5), 0xFF000040u);   // left of the quarter-pixel edge
  EXPECT_EQ(pixelAt(straight, 64, 2, 5), 0xFFFF0000u);
  EXPECT_EQ(pixelAt(straight, 64, 11, 1), 0xFF00FF00u);  // a top-left edge on a pixel centre is in
  EXPECT_EQ(pixelAt(straight, 64, 11, 9), 0xFF000040u);  // a bottom edge on one is out
  EXPECT_EQ(pixelAt(straight, 64, 24, 5), 0xFF000040u);  // culled
  EXPECT_EQ(pixelAt(straight, 64, 33, 3), 0xFF00FFFFu);  // through the stamp
  EXPECT_EQ(pixelAt(straight, 64, 38, 8), 0xFF000040u);
  EXPECT_EQ(pixelAt(straight, 64, 5, 17), 0xFFFF0000u);  // the textured quad's top left is red
  EXPECT_EQ(pixelAt(straight, 64, 15, 27), 0xFFFFFFFFu);
  EXPECT_EQ(pixelAt(straight, 64, 25, 17), 0xFFFF0000u);  // so is the point sprite's
  EXPECT_EQ(pixelAt(straight, 64, 35, 27), 0xFFFFFFFFu);
  EXPECT_EQ(pixelAt(straight, 64, 50, 15), 0xFFFF00FFu);  // the target's top row on top
  EXPECT_EQ(pixelAt(straight, 64, 50, 28), 0xFF00FFFFu);
  _vertices->release();
  _vertices = nullptr;
  if (_points) _points->release();
  _points = nullptr;
  _device.reset();
  SDL_DestroyWindow(fitting);
}

TEST_F(DeviceTest, DepthAndStencilAreClearedOnlyWhenADrawTestsThem) {
  const auto clears = [this] { return _device->counters().depthStencilClears; };
  const uint64_t before = clears();
  _device->clear(kClearTarget | kClearZBuffer | kClearStencil, 0xFF000000, 1.0f, 0);
  quad(0.0f, 0.0f, 10.0f, 10.0f, 0xFFFF0000);  // tests neither
  EXPECT_EQ(clears(), before);

  // A stamp left from before the clear must not show through it.
  _device->setRenderState(RenderState::stencilEnable, 1);
  _device->setRenderState(RenderState::stencilRef, 2);
  _device->setRenderState(RenderState::stencilFunc, static_cast<uint32_t>(Compare::never));
  _device->setRenderState(RenderState::stencilFail, static_cast<uint32_t>(StencilOp::replace));
  quad(20.0f, 0.0f, 30.0f, 10.0f, 0xFFFFFFFF);
  EXPECT_EQ(clears(), before + 1);
  _device->clear(kClearTarget | kClearStencil, 0xFF000000, 1.0f, 0);
  EXPECT_EQ(clears(), before + 1);
  _device->setRenderState(RenderState::stencilRef, 1);
  _device->setRenderState(RenderState::stencilFunc, static_cast<uint32_t>(Compare::less));
  quad(0.0f, 0.0f, 64.0f, 48.0f, 0xFF00FF00);  // passes only where 2 was stamped: nowhere now
  quad(0.0f, 0.0f, 64.0f, 48.0f, 0xFF00FF00);
  EXPECT_EQ(clears(), before + 2);
  _device->setRenderState(RenderState::stencilEnable, 0);
  auto rgba = readBack();
  EXPECT_EQ(pixelAt(rgba, 64, 25, 5), 0xFF000000u);
}

TEST_F(DeviceTest, EachPresentRecordsWhatItsFrameTook) {
  Texture* a = cornersTexture();
  Texture* b = cornersTexture();
  _device->present();  // the frame before, with the textures' making
  _device->beginScene();
  _device->clear(kClearTarget, 0xFF000000, 1.0f, 0);
  _device->setTexture(0, a);
  quad(0.0f, 0.0f, 4.0f, 4.0f, 0xFFFFFFFF);
  quad(4.0f, 0.0f, 8.0f, 4.0f, 0xFFFFFFFF);
  _device->setTexture(0, b);
  quad(8.0f, 0.0f, 12.0f, 4.0f, 0xFFFFFFFF);
  _device->endScene();
  _device->present();
  const Device::Counters& frame = _device->lastFrameCounters();
  EXPECT_EQ(frame.drawCalls, 3u);
  EXPECT_EQ(frame.textureBinds, 2u);  // a, then b
  EXPECT_EQ(frame.presents, 1u);
  // Each quad discarded the buffer it was written into.
  EXPECT_EQ(frame.bufferAllocations, 3u);
  _device->setTexture(0, nullptr);
  a->release();
  b->release();
}

TEST_F(DeviceTest, TexelsCopiedBetweenTexturesArriveExactly) {
  std::vector<uint32_t> pixels(5 * 3);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = 0xFF000000u | static_cast<uint32_t>(i * 0x0A1B2Cu);
  Texture* from = nullptr;
  ASSERT_EQ(_device->createTextureFromPixels(5, 3, kFormatA8R8G8B8, pixels.data(), &from), Result::ok);
  Texture* to = nullptr;
  ASSERT_EQ(_device->createTexture(8, 8, 1, 0, kFormatA8R8G8B8, Pool::managed, &to), Result::ok);
  EXPECT_EQ(_device->copyTexels(from, 1, 1, 4, 2, to, 3, 5), Result::ok);
  EXPECT_EQ(_device->copyTexels(from, 0, 0, 6, 1, to, 0, 0), Result::invalidCall);  // wider than the source
  LockedRect locked;
  ASSERT_EQ(to->lockRect(0, &locked, 0), Result::ok);
  const auto* copied = static_cast<const uint32_t*>(locked.bits);
  EXPECT_EQ(copied[5 * 8 + 3], pixels[1 * 5 + 1]);
  EXPECT_EQ(copied[6 * 8 + 6], pixels[2 * 5 + 4]);
  EXPECT_EQ(copied[5 * 8 + 2], 0u);  // untouched texels stay transparent
  to->unlockRect(0);
  to->release();
  from->release();
}

}  // namespace
