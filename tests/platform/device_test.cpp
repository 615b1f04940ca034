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

}  // namespace
