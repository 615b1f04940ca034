#include "platform/device.h"

#include <SDL2/SDL.h>
#include <dlfcn.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/device_internal.h"
#include "platform/gl_functions.h"
#include "platform/matrix_math.h"

namespace platform {
namespace {

std::string& failureText() {
  static std::string text;
  return text;
}

GLenum glBlend(uint32_t value) {
  switch (static_cast<Blend>(value)) {
    case Blend::zero: return GL_ZERO;
    case Blend::one: return GL_ONE;
    case Blend::srcColor: return GL_SRC_COLOR;
    case Blend::invSrcColor: return GL_ONE_MINUS_SRC_COLOR;
    case Blend::srcAlpha: return GL_SRC_ALPHA;
    case Blend::invSrcAlpha: return GL_ONE_MINUS_SRC_ALPHA;
    case Blend::destAlpha: return GL_DST_ALPHA;
    case Blend::invDestAlpha: return GL_ONE_MINUS_DST_ALPHA;
    case Blend::destColor: return GL_DST_COLOR;
    case Blend::invDestColor: return GL_ONE_MINUS_DST_COLOR;
  }
  return GL_ONE;
}

GLenum glCompare(uint32_t value) {
  switch (static_cast<Compare>(value)) {
    case Compare::never: return GL_NEVER;
    case Compare::less: return GL_LESS;
    case Compare::equal: return GL_EQUAL;
    case Compare::lessEqual: return GL_LEQUAL;
    case Compare::greater: return GL_GREATER;
    case Compare::notEqual: return GL_NOTEQUAL;
    case Compare::greaterEqual: return GL_GEQUAL;
    case Compare::always: return GL_ALWAYS;
  }
  return GL_ALWAYS;
}

GLenum glStencilOperation(uint32_t value) {
  switch (static_cast<StencilOp>(value)) {
    case StencilOp::keep: return GL_KEEP;
    case StencilOp::zero: return GL_ZERO;
    case StencilOp::replace: return GL_REPLACE;
    case StencilOp::incrSat: return GL_INCR;
    case StencilOp::decrSat: return GL_DECR;
    case StencilOp::invert: return GL_INVERT;
    case StencilOp::incr: return GL_INCR_WRAP;
    case StencilOp::decr: return GL_DECR_WRAP;
  }
  return GL_KEEP;
}

GLint glFilter(uint32_t value) {
  const auto f = static_cast<TextureFilter>(value);
  return (f == TextureFilter::linear || f == TextureFilter::anisotropic) ? GL_LINEAR : GL_NEAREST;
}

float asFloat(uint32_t bits) {
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

GLenum glMode(PrimitiveType type) {
  switch (type) {
    case PrimitiveType::pointList: return GL_POINTS;
    case PrimitiveType::lineList: return GL_LINES;
    case PrimitiveType::triangleList: return GL_TRIANGLES;
  }
  return GL_TRIANGLES;
}

uint32_t vertexCountFor(PrimitiveType type, uint32_t primitives) {
  switch (type) {
    case PrimitiveType::pointList: return primitives;
    case PrimitiveType::lineList: return primitives * 2;
    case PrimitiveType::triangleList: return primitives * 3;
  }
  return 0;
}

// The offscreen video driver draws into an EGL buffer of the size the window had when the
// context was made: sizing the window later changes what SDL reports, not that buffer. Where
// EGL made the current context, EGL itself says how large the buffer is.
bool eglDrawBufferSize(int& width, int& height) {
  struct EGL {
    void* (*currentDisplay)() = nullptr;
    void* (*currentSurface)(int32_t) = nullptr;
    unsigned (*querySurface)(void*, void*, int32_t, int32_t*) = nullptr;
  };
  static const EGL egl = [] {
    EGL found;
    // Only an EGL that is loaded already can have made the context.
    void* library = dlopen("libEGL.so.1", RTLD_LAZY | RTLD_NOLOAD);
    if (library) {
      found.currentDisplay = reinterpret_cast<void* (*)()>(dlsym(library, "eglGetCurrentDisplay"));
      found.currentSurface = reinterpret_cast<void* (*)(int32_t)>(dlsym(library, "eglGetCurrentSurface"));
      found.querySurface =
          reinterpret_cast<unsigned (*)(void*, void*, int32_t, int32_t*)>(dlsym(library, "eglQuerySurface"));
    }
    return found;
  }();
  if (!egl.currentDisplay || !egl.currentSurface || !egl.querySurface) return false;
  constexpr int32_t kEglDraw = 0x3059, kEglWidth = 0x3057, kEglHeight = 0x3056;
  void* display = egl.currentDisplay();
  void* surface = egl.currentSurface(kEglDraw);
  int32_t w = 0, h = 0;
  if (!display || !surface || !egl.querySurface(display, surface, kEglWidth, &w) ||
      !egl.querySurface(display, surface, kEglHeight, &h)) {
    return false;
  }
  width = w;
  height = h;
  return true;
}

}  // namespace

void setDeviceFailureReason(const std::string& reason) { failureText() = reason; }
const char* deviceFailureReason() { return failureText().c_str(); }

const char* resultName(Result result) {
  switch (result) {
    case Result::ok: return "ok";
    case Result::deviceLost: return "device lost";
    case Result::deviceNotReset: return "device not reset";
    case Result::deviceRemoved: return "device removed";
    case Result::driverInternalError: return "driver internal error";
    case Result::outOfVideoMemory: return "out of video memory";
    case Result::invalidCall: return "invalid call";
  }
  return "unknown";
}

uint32_t floatBits(float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

// ---- Direct3D -----------------------------------------------------------------------------

std::unique_ptr<Direct3D> Direct3D::create() {
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    setDeviceFailureReason(SDL_GetError());
    return nullptr;
  }
  return std::unique_ptr<Direct3D>(new Direct3D());
}

Direct3D::~Direct3D() { SDL_QuitSubSystem(SDL_INIT_VIDEO); }

uint32_t Direct3D::adapterModeCount(uint32_t) const {
  const int n = SDL_GetNumDisplayModes(0);
  return n > 0 ? static_cast<uint32_t>(n) : 0u;
}

bool Direct3D::enumAdapterMode(uint32_t format, uint32_t index, DisplayMode& mode) const {
  SDL_DisplayMode m;
  if (SDL_GetDisplayMode(0, static_cast<int>(index), &m) != 0) return false;
  mode.width = static_cast<uint32_t>(m.w);
  mode.height = static_cast<uint32_t>(m.h);
  mode.refreshRate = static_cast<uint32_t>(m.refresh_rate);
  mode.format = format;
  return true;
}

Result Direct3D::createDevice(WindowHandle focusWindow, uint32_t, PresentParameters& parameters,
                              std::unique_ptr<Device>& out) {
  out.reset();
  WindowHandle window = parameters.deviceWindow ? parameters.deviceWindow : focusWindow;
  if (!window) {
    setDeviceFailureReason("no window");
    return Result::invalidCall;
  }
  std::unique_ptr<Device> device(new Device());
  if (!device->create(window, parameters)) return Result::invalidCall;
  parameters = device->_parameters;
  out = std::move(device);
  return Result::ok;
}

// ---- device objects --------------------------------------------------------------------------

DeviceObject::DeviceObject(Device* device) : _device(device) {
  if (_device) _device->remember(this);
}

DeviceObject::~DeviceObject() {
  if (_device) _device->forget(this);
}

uint32_t DeviceObject::release() {
  if (_references == 0) return 0;
  if (--_references == 0) {
    delete this;
    return 0;
  }
  return _references;
}

// ---- device -----------------------------------------------------------------------------------

bool Device::buildProgram(Program& program, bool stages, std::string& error) {
  program.name = buildDeviceProgram(stages, error);
  if (!program.name) return false;
  program.matrix = glGetUniformLocation(program.name, "uMatrix");
  program.pixel = glGetUniformLocation(program.name, "uPixel");
  program.pointSprite = glGetUniformLocation(program.name, "uPointSprite");
  program.pointSizeRange = glGetUniformLocation(program.name, "uPointSizeRange");
  glUseProgram(program.name);
  if (!stages) {
    glUniform1i(glGetUniformLocation(program.name, "uTexture"), 0);
    return true;
  }
  for (uint32_t unit = 0; unit < kTextureStages; ++unit) {
    const std::string name = "uTextures[" + std::to_string(unit) + "]";
    glUniform1i(glGetUniformLocation(program.name, name.c_str()), static_cast<GLint>(unit));
  }
  return true;
}

bool Device::create(WindowHandle window, const PresentParameters& parameters) {
  _window = window;
  SDL_GLContext context = SDL_GL_CreateContext(window);
  if (!context) {
    setDeviceFailureReason(std::string("OpenGL context: ") + SDL_GetError());
    return false;
  }
  _context = context;
  makeCurrent();
  bool gpuShader5 = false;
  GLint extensionCount = 0;
  glGetIntegerv(GL_NUM_EXTENSIONS, &extensionCount);
  for (GLint i = 0; i < extensionCount && !gpuShader5; ++i) {
    const char* name = reinterpret_cast<const char*>(glGetStringi(GL_EXTENSIONS, static_cast<GLuint>(i)));
    gpuShader5 = name && std::strcmp(name, "GL_ARB_gpu_shader5") == 0;
  }
  std::string error;
  if (!buildProgram(_program, false, error)) {
    setDeviceFailureReason("shader: " + error);
    return false;
  }
  // Without it, every draw samples one stage.
  if (gpuShader5 && !buildProgram(_stagesProgram, true, error)) _stagesProgram = Program();

  GLuint vao = 0;
  glGenVertexArrays(1, &vao);
  _vertexArray = vao;
  glBindVertexArray(_vertexArray);

  GLuint sampler = 0;
  glGenSamplers(1, &sampler);
  _sampler = sampler;
  // Clamped, where Direct3D wraps by default: no picture of the game tiles, and a wrapping
  // filter blends a picture's far edge into its near one (a line along the edge of every
  // picture drawn between texels or scaled).
  glSamplerParameteri(_sampler, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glSamplerParameteri(_sampler, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  for (uint32_t unit = 0; unit < kTextureStages; ++unit) glBindSampler(unit, _sampler);

  // Untextured drawing reads an opaque white texel, as an empty stage does.
  GLuint white = 0;
  glGenTextures(1, &white);
  _whiteTexture = white;
  const uint8_t texel[4] = {255, 255, 255, 255};
  bindTextureName(_whiteTexture);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);

  glEnable(GL_PROGRAM_POINT_SIZE);
  // Rows are stored top first, so the sprite's top is the window's lower edge.
  glPointParameteri(GL_POINT_SPRITE_COORD_ORIGIN, GL_LOWER_LEFT);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);

  // What the window's own framebuffer offers: the back buffer can live there only with the
  // depth and stencil the present parameters ask for.
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  GLint depthBits = 0, stencilBits = 0, drawBuffer = GL_BACK;
  glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH, GL_FRAMEBUFFER_ATTACHMENT_DEPTH_SIZE, &depthBits);
  glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_STENCIL, GL_FRAMEBUFFER_ATTACHMENT_STENCIL_SIZE,
                                        &stencilBits);
  glGetIntegerv(GL_DRAW_BUFFER, &drawBuffer);
  while (glGetError() != GL_NO_ERROR) {
  }
  _windowHasDepthStencil = depthBits >= 16 && stencilBits >= 8;
  GLint extensions = 0;
  glGetIntegerv(GL_NUM_EXTENSIONS, &extensions);
  for (GLint i = 0; i < extensions && !_hasClipControl; ++i) {
    const char* name = reinterpret_cast<const char*>(glGetStringi(GL_EXTENSIONS, static_cast<GLuint>(i)));
    _hasClipControl = name && std::strcmp(name, "GL_ARB_clip_control") == 0;
  }
  _windowDrawBuffer = static_cast<unsigned>(drawBuffer);

  _parameters = parameters;
  _backSurface = new Surface(this, nullptr, 0, 0);
  if (!makeBackBuffer()) return false;
  setDefaultStates();
  SDL_GL_SetSwapInterval(_parameters.presentationInterval == kPresentIntervalOne ? 1 : 0);
  return true;
}

Device::~Device() {
  _beforeScreenChange = nullptr;
  if (_context) makeCurrent();
  for (Texture*& texture : _textures) {
    if (texture) texture->release();
    texture = nullptr;
  }
  if (_stream) _stream->release();
  if (_indices) _indices->release();
  _stream = nullptr;
  _indices = nullptr;
  if (_target) _target->release();
  _target = nullptr;
  if (_backSurface) {
    _backSurface->_framebuffer = 0;
    _backSurface->release();
  }
  _backSurface = nullptr;
  // Objects the engine still holds keep their memory but lose their GL names.
  for (DeviceObject* object : std::set<DeviceObject*>(_objects)) {
    object->orphan();
    object->_device = nullptr;
  }
  _objects.clear();
  if (_context && _frameFence) glDeleteSync(static_cast<GLsync>(_frameFence));
  _frameFence = nullptr;
  if (_context) {
    dropOffscreenBackBuffer();
    GLuint names[1];
    if (_whiteTexture) { names[0] = _whiteTexture; glDeleteTextures(1, names); }
    if (_copyFramebuffers[0]) glDeleteFramebuffers(2, _copyFramebuffers);
    if (_sampler) { names[0] = _sampler; glDeleteSamplers(1, names); }
    if (_vertexArray) { names[0] = _vertexArray; glDeleteVertexArrays(1, names); }
    if (_program.name) glDeleteProgram(_program.name);
    if (_stagesProgram.name) glDeleteProgram(_stagesProgram.name);
    SDL_GL_MakeCurrent(_window, nullptr);
    SDL_GL_DeleteContext(static_cast<SDL_GLContext>(_context));
  }
}

void Device::bindTextureName(unsigned name) { bindTextureUnit(0, name); }

void Device::bindTextureUnit(uint32_t unit, unsigned name) {
  if (name == _boundTextures[unit]) return;
  glActiveTexture(GL_TEXTURE0 + unit);
  glBindTexture(GL_TEXTURE_2D, name);
  if (unit != 0) glActiveTexture(GL_TEXTURE0);
  _boundTextures[unit] = name;
  ++_counters.textureBinds;
}

void Device::forgetTextureName(unsigned name) {
  for (unsigned& bound : _boundTextures)
    if (bound == name) bound = 0;
}

void Device::noteScreenChange() {
  // A listener that draws what it held back may itself make counted changes (into a target):
  // those are counted, not announced again.
  if (_beforeScreenChange && !_inBeforeScreenChange) {
    _inBeforeScreenChange = true;
    _beforeScreenChange();
    _inBeforeScreenChange = false;
  }
  ++_screenChanges;
}

void Device::noteFramePresented() {
  auto since = [](uint64_t now, uint64_t then) { return now - then; };
  _lastFrame.drawCalls = since(_counters.drawCalls, _atLastPresent.drawCalls);
  _lastFrame.textureBinds = since(_counters.textureBinds, _atLastPresent.textureBinds);
  _lastFrame.bufferAllocations = since(_counters.bufferAllocations, _atLastPresent.bufferAllocations);
  _lastFrame.bufferUploads = since(_counters.bufferUploads, _atLastPresent.bufferUploads);
  _lastFrame.textureUploads = since(_counters.textureUploads, _atLastPresent.textureUploads);
  _lastFrame.depthStencilClears = since(_counters.depthStencilClears, _atLastPresent.depthStencilClears);
  _lastFrame.presents = 1;
  _lastFrame.resets = since(_counters.resets, _atLastPresent.resets);
  _atLastPresent = _counters;
}

void Device::makeCurrent() {
  if (_context && SDL_GL_GetCurrentContext() != _context)
    SDL_GL_MakeCurrent(_window, static_cast<SDL_GLContext>(_context));
}

bool Device::makeBackBuffer() {
  if (_parameters.backBufferWidth == 0 || _parameters.backBufferHeight == 0) {
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(_window, &w, &h);
    if (_parameters.backBufferWidth == 0) _parameters.backBufferWidth = static_cast<uint32_t>(std::max(w, 1));
    if (_parameters.backBufferHeight == 0) _parameters.backBufferHeight = static_cast<uint32_t>(std::max(h, 1));
  }
  if (_parameters.backBufferCount == 0) _parameters.backBufferCount = 1;
  _backWidth = static_cast<int>(_parameters.backBufferWidth);
  _backHeight = static_cast<int>(_parameters.backBufferHeight);
  _backSurface->_width = static_cast<uint32_t>(_backWidth);
  _backSurface->_height = static_cast<uint32_t>(_backHeight);
  return chooseBackBuffer();
}

void Device::windowBufferSize(int& width, int& height) const {
  if (_simulatedWindowWidth > 0 && _simulatedWindowHeight > 0) {
    width = _simulatedWindowWidth;
    height = _simulatedWindowHeight;
    return;
  }
  if (eglDrawBufferSize(width, height)) return;
  SDL_GL_GetDrawableSize(_window, &width, &height);
}

bool Device::drawsIntoWindow() const { return _backSurface && _backSurface->_window; }

bool Device::chooseBackBuffer() {
  int w = 0, h = 0;
  windowBufferSize(w, h);
  const bool fits = _hasClipControl && w == _backWidth && h == _backHeight &&
                    (_windowHasDepthStencil || !_parameters.enableAutoDepthStencil);
  // The window's rows lie bottom up, the offscreen buffer's top down, and neither keeps what
  // the other holds: whatever was kept of the last picture stands for nothing here.
  if (fits != _backSurface->_window) noteScreenChange();
  if (fits) {
    dropOffscreenBackBuffer();
  } else if (!makeOffscreenBackBuffer()) {
    return false;
  }
  _backSurface->_window = fits;
  _backSurface->_framebuffer = _backFramebuffer;
  _backSurface->_hasDepthStencil = fits ? _windowHasDepthStencil : true;
  return true;
}

bool Device::makeOffscreenBackBuffer() {
  if (_backFramebuffer) {
    GLint w = 0, h = 0;
    glBindRenderbuffer(GL_RENDERBUFFER, _backColor);
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_WIDTH, &w);
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_HEIGHT, &h);
    if (w == _backWidth && h == _backHeight) return true;
  }
  dropOffscreenBackBuffer();
  GLuint names[2] = {0, 0};
  glGenRenderbuffers(2, names);
  _backColor = names[0];
  _backDepth = names[1];
  glBindRenderbuffer(GL_RENDERBUFFER, _backColor);
  glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, _backWidth, _backHeight);
  glBindRenderbuffer(GL_RENDERBUFFER, _backDepth);
  glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, _backWidth, _backHeight);
  GLuint fbo = 0;
  glGenFramebuffers(1, &fbo);
  _backFramebuffer = fbo;
  glBindFramebuffer(GL_FRAMEBUFFER, _backFramebuffer);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, _backColor);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, _backDepth);
  if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
    setDeviceFailureReason("back buffer framebuffer incomplete");
    return false;
  }
  return true;
}

void Device::dropOffscreenBackBuffer() {
  GLuint names[2] = {_backColor, _backDepth};
  if (_backFramebuffer) {
    GLuint fbo = _backFramebuffer;
    glDeleteFramebuffers(1, &fbo);
  }
  if (_backColor || _backDepth) glDeleteRenderbuffers(2, names);
  _backFramebuffer = _backColor = _backDepth = 0;
}

void Device::setDefaultStates() {
  matrixIdentity(_world);
  matrixIdentity(_view);
  matrixIdentity(_projection);
  _program.matrixDirty = _stagesProgram.matrixDirty = true;
  auto set = [this](RenderState s, uint32_t v) { _renderStates[static_cast<uint32_t>(s)] = v; };
  set(RenderState::zEnable, _parameters.enableAutoDepthStencil ? 1u : 0u);
  set(RenderState::zWriteEnable, 1);
  set(RenderState::lighting, 1);
  set(RenderState::alphaBlendEnable, 0);
  set(RenderState::srcBlend, static_cast<uint32_t>(Blend::one));
  set(RenderState::destBlend, static_cast<uint32_t>(Blend::zero));
  set(RenderState::cullMode, static_cast<uint32_t>(Cull::counterClockwise));
  set(RenderState::pointSpriteEnable, 0);
  set(RenderState::pointScaleEnable, 0);
  set(RenderState::pointSize, floatBits(1.0f));
  set(RenderState::pointSizeMin, floatBits(1.0f));
  set(RenderState::pointSizeMax, floatBits(64.0f));
  set(RenderState::pointScaleA, floatBits(1.0f));
  set(RenderState::pointScaleB, floatBits(0.0f));
  set(RenderState::pointScaleC, floatBits(0.0f));
  set(RenderState::stencilEnable, 0);
  set(RenderState::stencilFunc, static_cast<uint32_t>(Compare::always));
  set(RenderState::stencilRef, 0);
  set(RenderState::stencilMask, 0xFFFFFFFFu);
  set(RenderState::stencilWriteMask, 0xFFFFFFFFu);
  set(RenderState::stencilFail, static_cast<uint32_t>(StencilOp::keep));
  set(RenderState::stencilZFail, static_cast<uint32_t>(StencilOp::keep));
  set(RenderState::stencilPass, static_cast<uint32_t>(StencilOp::keep));
  _stageStates[static_cast<uint32_t>(TextureStageState::colorOp)] = static_cast<uint32_t>(TextureOp::modulate);
  _stageStates[static_cast<uint32_t>(TextureStageState::colorArg1)] = static_cast<uint32_t>(TextureArg::texture);
  _stageStates[static_cast<uint32_t>(TextureStageState::colorArg2)] = static_cast<uint32_t>(TextureArg::current);
  _stageStates[static_cast<uint32_t>(TextureStageState::alphaOp)] = static_cast<uint32_t>(TextureOp::selectArg1);
  _stageStates[static_cast<uint32_t>(TextureStageState::alphaArg1)] = static_cast<uint32_t>(TextureArg::texture);
  _stageStates[static_cast<uint32_t>(TextureStageState::alphaArg2)] = static_cast<uint32_t>(TextureArg::current);
  _samplerStates[static_cast<uint32_t>(SamplerState::magFilter)] = static_cast<uint32_t>(TextureFilter::point);
  _samplerStates[static_cast<uint32_t>(SamplerState::minFilter)] = static_cast<uint32_t>(TextureFilter::point);
  _samplerStates[static_cast<uint32_t>(SamplerState::mipFilter)] = static_cast<uint32_t>(TextureFilter::none);
  for (Texture*& texture : _textures) {
    if (texture) texture->release();
    texture = nullptr;
  }
  if (_stream) _stream->release();
  _stream = nullptr;
  if (_indices) _indices->release();
  _indices = nullptr;
  _streamOffset = _streamStride = _fvf = 0;
  if (_target) _target->release();
  _target = _backSurface;
  if (_target) _target->addRef();
  _inScene = false;
}

Result Device::testCooperativeLevel() {
  // A full-screen device is lost while its window is minimised, and wants a reset after.
  if (!_parameters.windowed && _window && (SDL_GetWindowFlags(_window) & SDL_WINDOW_MINIMIZED)) {
    _lostWhileMinimised = true;
    return Result::deviceLost;
  }
  if (_lostWhileMinimised) {
    _lostWhileMinimised = false;
    _notReset = true;
  }
  if (_lostTests > 0) {
    if (--_lostTests == 0) _notReset = true;
    return Result::deviceLost;
  }
  if (_notReset) return Result::deviceNotReset;
  return Result::ok;
}

void Device::simulateDeviceLoss(uint32_t lostTests) {
  _lostTests = std::max<uint32_t>(1, lostTests);
  _notReset = false;
}

Result Device::reset(const PresentParameters& parameters) {
  if (_lostTests > 0 || _lostWhileMinimised) return Result::deviceLost;
  // A reset that fails leaves the device waiting for another one.
  if (_failNextReset != Result::ok) {
    const Result r = _failNextReset;
    _failNextReset = Result::ok;
    _notReset = true;
    return r;
  }
  makeCurrent();
  noteScreenChange();
  _parameters = parameters;
  if (!makeBackBuffer()) {
    _notReset = true;
    return Result::driverInternalError;
  }
  setDefaultStates();
  SDL_GL_SetSwapInterval(_parameters.presentationInterval == kPresentIntervalOne ? 1 : 0);
  _notReset = false;
  ++_counters.resets;
  return Result::ok;
}

void Device::setMaximumFrameLatency(uint32_t frames) { _maximumFrameLatency = frames; }

void Device::limitFramesInFlight() {
  // The frame just handed over may still be drawn while the next one is prepared; the one
  // before it must be finished. Without a limit the offscreen driver, whose swap waits for
  // nothing, would let frames (and the memory they hold) pile up.
  if (_frameFence) {
    GLsync previous = static_cast<GLsync>(_frameFence);
    glClientWaitSync(previous, GL_SYNC_FLUSH_COMMANDS_BIT, 1000000000ull);
    glDeleteSync(previous);
    _frameFence = nullptr;
  }
  if (_maximumFrameLatency > 0) _frameFence = glFenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0);
}

Result Device::beginScene() {
  if (_inScene) return Result::invalidCall;
  // The window may have changed size since the last frame (a window manager, full screen).
  makeCurrent();
  if (!chooseBackBuffer()) return Result::driverInternalError;
  _inScene = true;
  return Result::ok;
}

Result Device::endScene() {
  if (!_inScene) return Result::invalidCall;
  _inScene = false;
  return Result::ok;
}

Result Device::present() {
  if (_lostTests > 0 || _notReset) return Result::deviceLost;
  makeCurrent();
  if (!_backSurface->_window) copyBackBufferToWindow();
  limitFramesInFlight();
  SDL_GL_SwapWindow(_window);
  ++_counters.presents;
  noteFramePresented();
  _program.matrixDirty = _stagesProgram.matrixDirty = true;
  bindTarget();
  return Result::ok;
}

PictureFit fitPicture(int pictureWidth, int pictureHeight, int areaWidth, int areaHeight) {
  PictureFit fit;
  if (pictureWidth <= 0 || pictureHeight <= 0 || areaWidth <= 0 || areaHeight <= 0) return fit;
  const float sx = static_cast<float>(areaWidth) / static_cast<float>(pictureWidth);
  const float sy = static_cast<float>(areaHeight) / static_cast<float>(pictureHeight);
  if (sx <= sy) {
    fit.scale = sx;
    fit.width = static_cast<float>(areaWidth);
    fit.height = static_cast<float>(pictureHeight) * sx;
  } else {
    fit.scale = sy;
    fit.width = static_cast<float>(pictureWidth) * sy;
    fit.height = static_cast<float>(areaHeight);
  }
  fit.x = (static_cast<float>(areaWidth) - fit.width) / 2.0f;
  fit.y = (static_cast<float>(areaHeight) - fit.height) / 2.0f;
  return fit;
}

Device::Placement Device::placeInWindow(int windowWidth, int windowHeight) const {
  const PictureFit fit = fitPicture(_backWidth, _backHeight, windowWidth, windowHeight);
  Placement place;
  place.width = static_cast<int>(fit.width + 0.5f);
  place.height = static_cast<int>(fit.height + 0.5f);
  place.x = (windowWidth - place.width) / 2;
  place.y = (windowHeight - place.height) / 2;
  return place;
}

void Device::windowToBackBuffer(float& x, float& y) const {
  int dw = 0, dh = 0;
  windowBufferSize(dw, dh);
  if (dw <= 0 || dh <= 0 || (dw == _backWidth && dh == _backHeight)) return;
  const Placement place = placeInWindow(dw, dh);
  if (place.width <= 0 || place.height <= 0) return;
  x = (x - static_cast<float>(place.x)) * static_cast<float>(_backWidth) / static_cast<float>(place.width);
  y = (y - static_cast<float>(place.y)) * static_cast<float>(_backHeight) / static_cast<float>(place.height);
}

void Device::copyBackBufferToWindow() {
  int dw = 0, dh = 0;
  windowBufferSize(dw, dh);
  if (dw <= 0 || dh <= 0 || !_backFramebuffer) return;
  glBindFramebuffer(GL_READ_FRAMEBUFFER, _backFramebuffer);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  glDisable(GL_SCISSOR_TEST);
  const GLenum filter = (dw == _backWidth && dh == _backHeight) ? GL_NEAREST : GL_LINEAR;
  // A window that did not get the size asked for (full screen refused by the window
  // manager, a tiling manager's own size) shows the whole back buffer with its aspect kept,
  // between black bars; the pointer is taken back through the same placement.
  const Placement place = placeInWindow(dw, dh);
  if (place.width != dw || place.height != dh) {
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
  }
  // The back buffer is stored top row first; the window's first row is its bottom.
  const int bottom = dh - place.y - place.height;
  glBlitFramebuffer(0, 0, _backWidth, _backHeight, place.x, bottom + place.height, place.x + place.width, bottom,
                    GL_COLOR_BUFFER_BIT, filter);
}

void Device::bindTarget() {
  Surface* target = _target ? _target : _backSurface;
  if (!target) return;
  glBindFramebuffer(GL_FRAMEBUFFER, target->_framebuffer);
  // The window's rows go bottom up where ours go top down: its origin is put at the upper
  // left, so everything drawn (winding, edges on pixel centres) comes out as in our own
  // framebuffers; a point sprite's top row goes to the picture's top in either.
  if (_hasClipControl && target->_window != _upperLeftOrigin) {
    _upperLeftOrigin = target->_window;
    glClipControl(_upperLeftOrigin ? GL_UPPER_LEFT : GL_LOWER_LEFT, GL_NEGATIVE_ONE_TO_ONE);
    glPointParameteri(GL_POINT_SPRITE_COORD_ORIGIN, _upperLeftOrigin ? GL_UPPER_LEFT : GL_LOWER_LEFT);
  }
  glViewport(0, 0, static_cast<GLsizei>(target->_width), static_cast<GLsizei>(target->_height));
}

Result Device::clear(uint32_t flags, uint32_t argb, float z, uint32_t stencil) {
  if (!(flags & (kClearTarget | kClearZBuffer | kClearStencil))) return Result::invalidCall;
  makeCurrent();
  bindTarget();
  Surface* target = _target ? _target : _backSurface;
  if (drawsIntoTarget()) noteScreenChange();
  if (flags & kClearTarget) {
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(static_cast<float>((argb >> 16) & 0xFF) / 255.0f, static_cast<float>((argb >> 8) & 0xFF) / 255.0f,
                 static_cast<float>(argb & 0xFF) / 255.0f, static_cast<float>((argb >> 24) & 0xFF) / 255.0f);
    glDisable(GL_SCISSOR_TEST);
    glClear(GL_COLOR_BUFFER_BIT);
  }
  // Depth and stencil are cleared by the first draw that tests them (and only then).
  if (target && target->_hasDepthStencil) {
    if (flags & kClearZBuffer) target->_pendingDepth = z;
    if (flags & kClearStencil) target->_pendingStencil = stencil & 0xFF;
    target->_pendingClear |= flags & (kClearZBuffer | kClearStencil);
  }
  return Result::ok;
}

void Device::clearWhatTheDrawTests() {
  Surface* target = _target ? _target : _backSurface;
  if (!target || !target->_pendingClear) return;
  uint32_t tested = 0;
  if (_renderStates[static_cast<uint32_t>(RenderState::zEnable)]) tested |= kClearZBuffer;
  if (_renderStates[static_cast<uint32_t>(RenderState::stencilEnable)]) tested |= kClearStencil;
  const uint32_t due = target->_pendingClear & tested;
  if (!due) return;
  GLbitfield mask = 0;
  if (due & kClearZBuffer) {
    glDepthMask(GL_TRUE);
    glClearDepth(static_cast<double>(target->_pendingDepth));
    mask |= GL_DEPTH_BUFFER_BIT;
  }
  if (due & kClearStencil) {
    glStencilMask(0xFF);
    glClearStencil(static_cast<GLint>(target->_pendingStencil));
    mask |= GL_STENCIL_BUFFER_BIT;
  }
  glDisable(GL_SCISSOR_TEST);
  glClear(mask);
  target->_pendingClear &= ~due;
  ++_counters.depthStencilClears;
}

Result Device::setTransform(TransformKind kind, const float* m) {
  if (!m) return Result::invalidCall;
  float* target = kind == TransformKind::world ? _world : kind == TransformKind::view ? _view : _projection;
  if (std::memcmp(target, m, sizeof(float) * 16) == 0) return Result::ok;
  noteScreenChange();
  std::memcpy(target, m, sizeof(float) * 16);
  _program.matrixDirty = _stagesProgram.matrixDirty = true;
  return Result::ok;
}

Result Device::getTransform(TransformKind kind, float* m) const {
  if (!m) return Result::invalidCall;
  const float* source = kind == TransformKind::world ? _world : kind == TransformKind::view ? _view : _projection;
  std::memcpy(m, source, sizeof(float) * 16);
  return Result::ok;
}

Result Device::setRenderState(RenderState state, uint32_t value) {
  if (state >= RenderState::count) return Result::invalidCall;
  uint32_t& current = _renderStates[static_cast<uint32_t>(state)];
  if (current == value) return Result::ok;
  noteScreenChange();
  current = value;
  return Result::ok;
}

uint32_t Device::getRenderState(RenderState state) const {
  return state < RenderState::count ? _renderStates[static_cast<uint32_t>(state)] : 0u;
}

Result Device::setTextureStageState(uint32_t stage, TextureStageState state, uint32_t value) {
  if (stage != 0 || state >= TextureStageState::count) return Result::invalidCall;
  uint32_t& current = _stageStates[static_cast<uint32_t>(state)];
  if (current == value) return Result::ok;
  noteScreenChange();
  current = value;
  return Result::ok;
}

Result Device::setSamplerState(uint32_t sampler, SamplerState state, uint32_t value) {
  if (sampler != 0 || state >= SamplerState::count) return Result::invalidCall;
  uint32_t& current = _samplerStates[static_cast<uint32_t>(state)];
  if (current == value) return Result::ok;
  noteScreenChange();
  current = value;
  return Result::ok;
}

uint32_t Device::getSamplerState(uint32_t sampler, SamplerState state) const {
  if (sampler != 0 || state >= SamplerState::count) return 0;
  return _samplerStates[static_cast<uint32_t>(state)];
}

Result Device::setTexture(uint32_t stage, Texture* texture) {
  if (stage >= kTextureStages) return Result::invalidCall;
  Texture*& slot = _textures[stage];
  if (texture == slot) return Result::ok;
  if (texture) texture->addRef();
  if (slot) slot->release();
  slot = texture;
  return Result::ok;
}

Result Device::setStreamSource(uint32_t stream, VertexBuffer* buffer, uint32_t offset, uint32_t stride) {
  if (stream != 0) return Result::invalidCall;
  if (buffer != _stream) {
    if (buffer) buffer->addRef();
    if (_stream) _stream->release();
    _stream = buffer;
  }
  _streamOffset = offset;
  _streamStride = stride;
  return Result::ok;
}

Result Device::setFvf(uint32_t fvf) {
  _fvf = fvf;
  return Result::ok;
}

Result Device::setIndices(IndexBuffer* buffer) {
  if (buffer == _indices) return Result::ok;
  if (buffer) buffer->addRef();
  if (_indices) _indices->release();
  _indices = buffer;
  return Result::ok;
}

void Device::uploadMatrices() {
  if (!_programInUse->matrixDirty) return;
  float wv[16], wvp[16];
  matrixMultiply(wv, _world, _view);
  matrixMultiply(wvp, wv, _projection);
  glUniformMatrix4fv(_programInUse->matrix, 1, GL_FALSE, wvp);
  _programInUse->matrixDirty = false;
}

void Device::applyPipelineState(bool points) {
  auto rs = [this](RenderState s) { return _renderStates[static_cast<uint32_t>(s)]; };
  _programInUse = _sampledStages > 1 && _stagesProgram.name && !points ? &_stagesProgram : &_program;
  glUseProgram(_programInUse->name);
  glBindVertexArray(_vertexArray);
  bindTarget();
  clearWhatTheDrawTests();
  Surface* target = _target ? _target : _backSurface;
  glUniform2f(_programInUse->pixel, 2.0f / static_cast<float>(target->_width), 2.0f / static_cast<float>(target->_height));
  uploadMatrices();

  if (rs(RenderState::alphaBlendEnable)) {
    glEnable(GL_BLEND);
    glBlendFunc(glBlend(rs(RenderState::srcBlend)), glBlend(rs(RenderState::destBlend)));
  } else {
    glDisable(GL_BLEND);
  }
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  if (rs(RenderState::zEnable)) {
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glDepthMask(rs(RenderState::zWriteEnable) ? GL_TRUE : GL_FALSE);
  } else {
    glDisable(GL_DEPTH_TEST);
  }
  // Rows are stored top first, which mirrors the picture for OpenGL's winding test: a
  // triangle clockwise on screen is counter-clockwise to OpenGL.
  switch (static_cast<Cull>(rs(RenderState::cullMode))) {
    case Cull::none: glDisable(GL_CULL_FACE); break;
    case Cull::clockwise: glEnable(GL_CULL_FACE); glFrontFace(GL_CCW); glCullFace(GL_FRONT); break;
    case Cull::counterClockwise: glEnable(GL_CULL_FACE); glFrontFace(GL_CCW); glCullFace(GL_BACK); break;
  }
  if (rs(RenderState::stencilEnable)) {
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(glCompare(rs(RenderState::stencilFunc)), static_cast<GLint>(rs(RenderState::stencilRef) & 0xFF),
                  rs(RenderState::stencilMask));
    glStencilOp(glStencilOperation(rs(RenderState::stencilFail)), glStencilOperation(rs(RenderState::stencilZFail)),
                glStencilOperation(rs(RenderState::stencilPass)));
    glStencilMask(rs(RenderState::stencilWriteMask));
  } else {
    glDisable(GL_STENCIL_TEST);
  }

  // Unit 0 shows white without a texture, as an empty stage does; the other units keep what
  // they had when nothing is set for them (no vertex names them then).
  bindTextureName((_textures[0] && _textures[0]->_name) ? _textures[0]->_name : _whiteTexture);
  for (uint32_t unit = 1; unit < kTextureStages; ++unit)
    if (_textures[unit] && _textures[unit]->_name) bindTextureUnit(unit, _textures[unit]->_name);
  glSamplerParameteri(_sampler, GL_TEXTURE_MAG_FILTER, glFilter(_samplerStates[static_cast<uint32_t>(SamplerState::magFilter)]));
  glSamplerParameteri(_sampler, GL_TEXTURE_MIN_FILTER, glFilter(_samplerStates[static_cast<uint32_t>(SamplerState::minFilter)]));

  const bool sprites = points && rs(RenderState::pointSpriteEnable) != 0;
  glUniform1i(_programInUse->pointSprite, sprites ? 1 : 0);
  float lo = asFloat(rs(RenderState::pointSizeMin)), hi = asFloat(rs(RenderState::pointSizeMax));
  if (!(lo >= 1.0f)) lo = 1.0f;
  if (!(hi >= lo)) hi = lo;
  glUniform2f(_programInUse->pointSizeRange, lo, hi);
  if (!(_fvf & kFvfPointSize)) glVertexAttrib1f(3, asFloat(rs(RenderState::pointSize)));
}

void Device::prepareDraw() {
  _stream->upload();
  glBindBuffer(GL_ARRAY_BUFFER, _stream->_name);
  const GLsizei stride = static_cast<GLsizei>(_streamStride);
  uintptr_t offset = _streamOffset;
  auto pointer = [](uintptr_t o) { return reinterpret_cast<const void*>(o); };
  glEnableVertexAttribArray(0);
  glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, pointer(offset));
  offset += 12;
  if (_fvf & kFvfNormal) {
    // The normal's third component names the texture stage.
    glEnableVertexAttribArray(4);
    glVertexAttribPointer(4, 1, GL_FLOAT, GL_FALSE, stride, pointer(offset + 8));
    offset += 12;
  } else {
    glDisableVertexAttribArray(4);
    glVertexAttrib1f(4, 0.0f);
  }
  if (_fvf & kFvfPointSize) {
    glEnableVertexAttribArray(3);
    glVertexAttribPointer(3, 1, GL_FLOAT, GL_FALSE, stride, pointer(offset));
    offset += 4;
  } else {
    glDisableVertexAttribArray(3);
  }
  if (_fvf & kFvfDiffuse) {
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, stride, pointer(offset));
    offset += 4;
  } else {
    glDisableVertexAttribArray(1);
    glVertexAttrib4f(1, 1.0f, 1.0f, 1.0f, 1.0f);
  }
  if (_fvf & kFvfTex1) {
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, stride, pointer(offset));
  } else {
    glDisableVertexAttribArray(2);
    glVertexAttrib2f(2, 0.0f, 0.0f);
  }
}

Result Device::drawPrimitive(PrimitiveType type, uint32_t startVertex, uint32_t primitiveCount) {
  if (!_stream || _streamStride == 0) return Result::invalidCall;
  if (_lostTests > 0 || _notReset || primitiveCount == 0) return Result::ok;
  const uint32_t count = vertexCountFor(type, primitiveCount);
  const uint64_t end = _streamOffset + static_cast<uint64_t>(startVertex + count) * _streamStride;
  if (end > _stream->length()) return Result::invalidCall;
  if (drawsIntoTarget()) noteScreenChange();
  const ThreadTimeSpan timed(_drawTimeSum);
  makeCurrent();
  const bool points = type == PrimitiveType::pointList;
  applyPipelineState(points);
  prepareDraw();
  glDrawArrays(glMode(type), static_cast<GLint>(startVertex), static_cast<GLsizei>(count));
  ++_counters.drawCalls;
  if (_capture && type == PrimitiveType::triangleList) captureTriangles(startVertex, count, false, 0, 0);
  return Result::ok;
}

Result Device::drawIndexedPrimitive(PrimitiveType type, int32_t baseVertex, uint32_t, uint32_t,
                                    uint32_t startIndex, uint32_t primitiveCount) {
  if (!_stream || _streamStride == 0 || !_indices) return Result::invalidCall;
  if (_lostTests > 0 || _notReset || primitiveCount == 0) return Result::ok;
  const uint32_t count = vertexCountFor(type, primitiveCount);
  if (static_cast<uint64_t>(startIndex + count) * 2 > _indices->length()) return Result::invalidCall;
  if (drawsIntoTarget()) noteScreenChange();
  const ThreadTimeSpan timed(_drawTimeSum);
  makeCurrent();
  const bool points = type == PrimitiveType::pointList;
  applyPipelineState(points);
  prepareDraw();
  _indices->upload();
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, _indices->_name);
  glDrawElementsBaseVertex(glMode(type), static_cast<GLsizei>(count), GL_UNSIGNED_SHORT,
                           reinterpret_cast<const void*>(static_cast<uintptr_t>(startIndex) * 2), baseVertex);
  ++_counters.drawCalls;
  if (_capture && type == PrimitiveType::triangleList) captureTriangles(0, count, true, startIndex, baseVertex);
  return Result::ok;
}

Result Device::getRenderTarget(uint32_t index, Surface** out) {
  if (!out || index != 0) return Result::invalidCall;
  *out = _target ? _target : _backSurface;
  if (*out) (*out)->addRef();
  return *out ? Result::ok : Result::invalidCall;
}

Result Device::setRenderTarget(uint32_t index, Surface* surface) {
  if (index != 0 || !surface) return Result::invalidCall;
  if (surface != _target) {
    noteScreenChange();
    surface->addRef();
    if (_target) _target->release();
    _target = surface;
  }
  makeCurrent();
  bindTarget();
  return Result::ok;
}

bool Device::readBackBuffer(std::vector<uint8_t>& rgba, int& width, int& height) {
  if (!readSurface(_backSurface, rgba, width, height)) return false;
  // The back buffer's format has no alpha (the window's has none to show): it reads opaque
  // wherever it lives.
  for (size_t i = 3; i < rgba.size(); i += 4) rgba[i] = 0xFF;
  return true;
}

bool Device::readSurface(Surface* surface, std::vector<uint8_t>& rgba, int& width, int& height) {
  if (!surface || (!surface->_framebuffer && !surface->_window)) return false;
  makeCurrent();
  width = static_cast<int>(surface->_width);
  height = static_cast<int>(surface->_height);
  rgba.assign(static_cast<size_t>(width) * static_cast<size_t>(height) * 4, 0);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, surface->_framebuffer);
  // The window keeps its last frame after the swap: its buffer is single (the offscreen
  // driver) or swapped by copying (Mesa's window-system drivers), as the copy swap effect
  // of the present parameters asks.
  if (surface->_window) glReadBuffer(_windowDrawBuffer);
  glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  if (surface->_window) {
    const size_t row = static_cast<size_t>(width) * 4;
    std::vector<uint8_t> swap(row);
    for (int top = 0, bottom = height - 1; top < bottom; ++top, --bottom) {
      uint8_t* a = rgba.data() + static_cast<size_t>(top) * row;
      uint8_t* b = rgba.data() + static_cast<size_t>(bottom) * row;
      std::memcpy(swap.data(), a, row);
      std::memcpy(a, b, row);
      std::memcpy(b, swap.data(), row);
    }
  }
  bindTarget();
  return true;
}

}  // namespace platform
