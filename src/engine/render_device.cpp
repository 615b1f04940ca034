// The renderer's device: start-up, resolution and full screen, the letterbox, device loss
// and reset, the fixed screen-space camera.
#include <cmath>

#include "engine/camera.h"
#include "engine/log.h"
#include "engine/render.h"
#include "engine/texture.h"
#include "platform/image_codec.h"
#include "platform/matrix_math.h"
#include "platform/window.h"

namespace QEL {

QC_RENDER* qcRENDER_INSTANCE = nullptr;

namespace {

// The default texture: a 16x16 checker of four colours, row 0 at the top.
void checkerPixels(uint32_t* pixels) {
  for (int row = 0; row < 16; ++row)
    for (int col = 0; col < 16; ++col) {
      uint32_t c;
      if (row < 8) c = col < 8 ? 0xFFFF2400u : 0xFF3CAA3Cu;
      else c = col < 8 ? 0xFFFDE910u : 0xFF3C57A9u;
      pixels[row * 16 + col] = c;
    }
}

}  // namespace

QC_RENDER::QC_RENDER() { qcRENDER_INSTANCE = this; }

QC_RENDER::~QC_RENDER() {
  // What goes now changes no picture that will be drawn.
  if (_device) _device->setBeforeScreenChange(nullptr);
  for (auto& entry : _targets) {
    QS_RENDER_TARGET* t = entry.second;
    if (t->_surface) t->_surface->release();
    if (t->_texture) t->_texture->release();
    delete t->_view;
    delete t->_projection;
    delete t;
  }
  _targets.clear();
  for (auto& entry : _liveTextures) {
    if (entry.first) entry.first->release();
    delete entry.second;
  }
  _liveTextures.clear();
  for (auto& entry : _waitingPictures) delete entry.first;
  _waitingPictures.clear();
  for (QC_TEXTURE* guest : _guestTextures) {
    if (guest->_deviceTexture) guest->_deviceTexture->release();
    delete guest;
  }
  _guestTextures.clear();
  _textureRooms.clear();
  _defaultTexture = nullptr;
  releaseKeptPicture();
  releaseDeviceBuffers();
  if (_quadBuffer) _quadBuffer->release();
  _quadBuffer = nullptr;
  _device.reset();
  _direct3D.reset();
  if (qcRENDER_INSTANCE == this) qcRENDER_INSTANCE = nullptr;
}

int32_t QC_RENDER::fInit(platform::WindowHandle window, float zNear, float zFar) {
  fLog("===========================\nRender initialisation");
  _hwnd = window;
  _zNear = zNear;
  _zFar = zFar;
  _direct3D = platform::Direct3D::create();
  if (!_direct3D) {
    fLog("DirectX 9 can't start");
    return -1;
  }
  fLog("QC_RENDER::fInit() DirectX start");
  _presentParameters = platform::PresentParameters();
  _presentParameters.windowed = true;
  _presentParameters.enableAutoDepthStencil = true;
  _presentParameters.autoDepthStencilFormat = platform::kFormatD24S8;
  _presentParameters.swapEffect = platform::kSwapEffectCopy;
  _presentParameters.backBufferCount = 1;
  _presentParameters.backBufferFormat = platform::kFormatUnknown;
  _presentParameters.backBufferWidth = 0;
  _presentParameters.backBufferHeight = 0;
  _presentParameters.presentationInterval = platform::kPresentIntervalOne;

  fLog("QC_RENDER::fInit() RESOLUTION CHANGE");
  fSetResolution(1024, 768, false, false);
  fLog("QC_RENDER::fInit() RESOLUTION CHANGE OK");
  // Without a device nothing can be drawn: report it rather than a renderer that only
  // pretends to work.
  if (!_device) return -1;

  _defaultTexture = fCreateTexture(16, 16);
  fLog("QC_RENDER::fInit() DEFAULT TEXTURE CREATE OK");
  if (_defaultTexture) {
    uint32_t pixels[16 * 16];
    checkerPixels(pixels);
    _defaultTexture->fFill(pixels);
  }
  fLog("QC_RENDER::fInit() DEFAULT TEXTURE FILL OK");
  fSetScreenSpace();
  fLog("QC_RENDER::fInit() OK\n===========================");
  return 1;
}

void QC_RENDER::fSetResolution(int32_t width, int32_t height, bool fullscreen, bool useDesktopSize) {
  // Nothing to do for the picture already asked for. In full screen the back buffer takes the
  // desktop's size, so it cannot stand for the request: a 1280-wide picture on a 1024-wide
  // desktop would otherwise keep its projection when 1024 is asked for again.
  if (width == _requestedWidth && height == _requestedHeight && _fullscreen == (fullscreen ? 1 : 0) &&
      _useDesktopSize == (useDesktopSize ? 1 : 0))
    return;
  _fullscreen = fullscreen ? 1 : 0;
  _useDesktopSize = useDesktopSize ? 1 : 0;
  _presentParameters.windowed = !fullscreen;
  _presentParameters.backBufferWidth = static_cast<uint32_t>(width);
  _presentParameters.backBufferHeight = static_cast<uint32_t>(height);
  _requestedWidth = width;
  _requestedHeight = height;
  if (fullscreen) {
    if (useDesktopSize) {
      const platform::ScreenSize desktop = platform::desktopSize();
      _actualWidth = desktop.width;
      _actualHeight = desktop.height;
      _presentParameters.backBufferWidth = static_cast<uint32_t>(desktop.width);
      _presentParameters.backBufferHeight = static_cast<uint32_t>(desktop.height);
    }
    _presentParameters.backBufferFormat = platform::kFormatX8R8G8B8;
    _presentParameters.fullScreenRefreshRateInHz = 0;
  } else {
    _actualWidth = width;
    _actualHeight = height;
    _presentParameters.backBufferFormat = platform::kFormatUnknown;
  }
  ResetDevice();
}

void QC_RENDER::releaseDeviceBuffers() {
  if (_vertexBuffer) _vertexBuffer->release();
  if (_indexBuffer) _indexBuffer->release();
  if (_pointBuffer) _pointBuffer->release();
  if (_backBufferSurface) _backBufferSurface->release();
  _vertexBuffer = nullptr;
  _indexBuffer = nullptr;
  _pointBuffer = nullptr;
  _backBufferSurface = nullptr;
}

void QC_RENDER::ResetDevice() {
  fLog("ResetDevice");
  releaseDeviceBuffers();
  for (auto& entry : _targets) {
    QS_RENDER_TARGET* t = entry.second;
    if (t->_surface) t->_surface->release();
    if (t->_texture) t->_texture->release();
    t->_surface = nullptr;
    t->_texture = nullptr;
  }
  // Batches and bindings of the old buffers are gone with them, and so is what was kept of
  // the frames drawn into them.
  releaseKeptPicture();
  _lastFrame.clear();
  _recording = _repeating = false;
  settlePendingHost();
  _batchVertices = 0;
  _batchIndices = 0;
  rewindBatches();
  _currentTexture = nullptr;
  _batchStageCount = 0;

  if (_device) {
    const platform::Result r = _device->reset(_presentParameters);
    if (r != platform::Result::ok) {
      fLog("ERROR RESET");
      switch (r) {
        case platform::Result::deviceLost: fLog("D3DERR_DEVICELOST"); break;
        case platform::Result::deviceRemoved: fLog("D3DERR_DEVICEREMOVED"); break;
        case platform::Result::driverInternalError: fLog("D3DERR_DRIVERINTERNALERROR"); break;
        case platform::Result::outOfVideoMemory: fLog("D3DERR_OUTOFVIDEOMEMORY"); break;
        default: break;
      }
      return;
    }
  } else {
    if (!_direct3D) return;
    platform::Result r = _direct3D->createDevice(_hwnd, platform::kCreateSoftwareVertexProcessing,
                                                 _presentParameters, _device);
    if (r != platform::Result::ok || !_device) {
      fLog("Can't create device");
      fLog(platform::deviceFailureReason());
      _device.reset();
      return;
    }
  }
  _device->setMaximumFrameLatency(1);
  _device->setBeforeScreenChange([this] { beforeScreenChange(); });
  fLog("hacks work");

  _device->createVertexBuffer(_vertexCapacity * sizeof(QS_VERTEX), 0, platform::kFvfVertex,
                              platform::Pool::defaultPool, &_vertexBuffer);
  _batchVertices = 0;
  _device->createIndexBuffer(6 * _vertexCapacity - 12, 0, platform::kFormatIndex16, platform::Pool::defaultPool,
                             &_indexBuffer);
  _batchIndices = 0;
  _device->createVertexBuffer(_pointCapacity * sizeof(QS_POINT_VERTEX),
                              platform::kUsageDynamic | platform::kUsagePoints | platform::kUsageWriteOnly,
                              platform::kFvfPoint, platform::Pool::defaultPool, &_pointBuffer);
  _pointRing = 0;

  for (auto& entry : _targets) {
    QS_RENDER_TARGET* t = entry.second;
    _device->createTexture(static_cast<uint32_t>(t->_width), static_cast<uint32_t>(t->_height), 1,
                           platform::kUsageRenderTarget, platform::kFormatA8R8G8B8, platform::Pool::defaultPool,
                           &t->_texture);
    if (t->_texture) t->_texture->getSurfaceLevel(0, &t->_surface);
  }

  _currentState.fReset();
  _currentState._blend = 1;
  _currentState._screen = 1;
  _device->setRenderState(platform::RenderState::zEnable, 0);
  _device->setRenderState(platform::RenderState::lighting, 0);
  _device->setRenderState(platform::RenderState::alphaBlendEnable, 1);
  _device->setRenderState(platform::RenderState::srcBlend, static_cast<uint32_t>(platform::Blend::srcAlpha));
  _device->setRenderState(platform::RenderState::destBlend, static_cast<uint32_t>(platform::Blend::invSrcAlpha));
  _device->setTextureStageState(0, platform::TextureStageState::colorOp, static_cast<uint32_t>(platform::TextureOp::modulate));
  _device->setTextureStageState(0, platform::TextureStageState::colorArg1, static_cast<uint32_t>(platform::TextureArg::texture));
  _device->setTextureStageState(0, platform::TextureStageState::colorArg2, static_cast<uint32_t>(platform::TextureArg::diffuse));
  _device->setTextureStageState(0, platform::TextureStageState::alphaOp, static_cast<uint32_t>(platform::TextureOp::modulate));
  _device->setTextureStageState(0, platform::TextureStageState::alphaArg1, static_cast<uint32_t>(platform::TextureArg::texture));
  _device->setTextureStageState(0, platform::TextureStageState::alphaArg2, static_cast<uint32_t>(platform::TextureArg::diffuse));

  _device->getRenderTarget(0, &_backBufferSurface);
  if (_backBufferSurface) _device->setRenderTarget(0, _backBufferSurface);
  fUpdateAspectScaling();
  fSetupTransforms();
}

int32_t QC_RENDER::fSetupTransforms() {
  platform::matrixRotationYawPitchRoll(_screenWorld, QC_PI, 0.0f, QC_PI);
  _cameraWorld = _screenWorld;
  const float W = static_cast<float>(_requestedWidth + 1);
  const float H = static_cast<float>(_requestedHeight + 1);
  fLog("_presentParameters.BackBufferWidth", "= ", _presentParameters.backBufferWidth);
  fLog("_presentParameters.BackBufferHeight", "= ", _presentParameters.backBufferHeight);
  const float fov = QC_PI / 4.0f;
  const float d = (H / 2.0f) / std::tan(QC_PI / 8.0f);
  fLog(d);
  const platform::Vector3 eye{W / 2.0f, -H / 2.0f, -d};
  const platform::Vector3 at{W / 2.0f, -H / 2.0f, 0.0f};
  const platform::Vector3 up{0.0f, 1.0f, 0.0f};
  fLog(eye.x, " ", eye.y, " ", eye.z);
  fLog(at.x, " ", at.y, " ", at.z);
  fLog(up.x, " ", up.y, " ", up.z);
  platform::matrixLookAtLH(_view, eye, at, up);
  if (_zFar == 0.0f) _zFar = 2.0f * d;
  QS_MATRIX4 perspective;
  platform::matrixPerspectiveFovLH(perspective, fov, W / H, _zNear, _zFar);
  platform::matrixMultiply(_projection, perspective, _aspectScaling);
  int32_t result = 0;
  if (_device) {
    if (_device->setTransform(platform::TransformKind::world, _screenWorld) != platform::Result::ok) {
      fLog("SET TRANSFORM ERROR");
      result = -1;
    }
    if (_device->setTransform(platform::TransformKind::view, _view) != platform::Result::ok) {
      fLog("SET TRANSFORM ERROR");
      result = -1;
    }
    if (_device->setTransform(platform::TransformKind::projection, _projection) != platform::Result::ok) {
      fLog("SET TRANSFORM ERROR");
      result = -1;
    }
  }
  _world.fIdentity();
  return result;
}

void QC_RENDER::fUpdateAspectScaling() {
  if (!_useDesktopSize) return;
  if (_requestedWidth == _actualWidth && _requestedHeight == _actualHeight) {
    _aspectScaling.fIdentity();
    return;
  }
  if (_requestedWidth <= 0 || _requestedHeight <= 0) return;
  // The share of each side of the back buffer the fitted picture takes: the window maps the
  // pointer back through the same fit.
  const platform::PictureFit fit = platform::fitPicture(_requestedWidth, _requestedHeight, _actualWidth, _actualHeight);
  _aspectScaling.fScaling(QS_VECTOR3(fit.width / static_cast<float>(_actualWidth),
                                     fit.height / static_cast<float>(_actualHeight), 1.0f));
}

void QC_RENDER::fGetDisplayModes(std::list<QS_POINT>& modes) {
  modes.clear();
  if (!_direct3D) return;
  const uint32_t count = _direct3D->adapterModeCount(platform::kFormatX8R8G8B8);
  fLog("modes_count", "= ", count);
  for (uint32_t i = 0; i < count; ++i) {
    platform::DisplayMode mode;
    if (!_direct3D->enumAdapterMode(platform::kFormatX8R8G8B8, i, mode)) continue;
    if (mode.height <= mode.width && mode.refreshRate == 60)
      modes.push_back(QS_POINT(static_cast<int32_t>(mode.width), static_cast<int32_t>(mode.height)));
  }
}

void QC_RENDER::fCreateQuadBuffer() {
  if (!_device) return;
  if (_quadBuffer) _quadBuffer->release();
  _quadBuffer = nullptr;
  _device->createVertexBuffer(4 * sizeof(QS_VERTEX), platform::kUsageDynamic | platform::kUsageWriteOnly,
                              platform::kFvfVertex, platform::Pool::defaultPool, &_quadBuffer);
}

bool QC_RENDER::fReadBackBuffer(std::vector<uint8_t>& rgba, int32_t& width, int32_t& height) {
  if (!_device) return false;
  int w = 0, h = 0;
  if (!_device->readBackBuffer(rgba, w, h)) return false;
  width = w;
  height = h;
  return true;
}

bool QC_RENDER::fSaveBackBuffer(const std::string& path) {
  std::vector<uint8_t> rgba;
  int32_t w = 0, h = 0;
  if (!fReadBackBuffer(rgba, w, h)) return false;
  return platform::writePng(path, rgba.data(), w, h);
}

}  // namespace QEL
