#pragma once
// A Direct3D-9-style drawing device on OpenGL 3.3 core, shaped after what the renderer
// expects of such a device and nothing more: present parameters, device loss and reset,
// lockable vertex/index buffers, managed and render-target textures, the render, texture
// stage and sampler states in use, world/view/projection transforms, (indexed) drawing,
// point sprites, clear, scenes and present.
//
// A frame is drawn straight into the window when the window's buffer has the back buffer's
// size, and present only swaps. Otherwise (a window that did not get the size asked for, a
// back buffer of another size than the window) it is drawn into an offscreen framebuffer of
// exactly the back-buffer size, which present copies to the window scaled, with its aspect
// kept. Either way the back buffer can be read back, rows top first. Pixel centres sit at
// whole coordinates, as in Direct3D 9, which the engine's coordinates assume: a quad at
// whole-pixel coordinates covers exactly those pixels. Textures and targets keep row 0 at
// the top.
//
// Depth and stencil clears wait until a draw tests depth or stencil: a frame that never
// uses them never pays for clearing them.
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <vector>

#include "platform/window_handle.h"

namespace platform {

enum class Result : int32_t {
  ok = 0,
  deviceLost,
  deviceNotReset,
  deviceRemoved,
  driverInternalError,
  outOfVideoMemory,
  invalidCall,
};
const char* resultName(Result result);

// Formats (the numbers the engine's present parameters and textures use).
enum : uint32_t {
  kFormatUnknown = 0,  // the desktop's format
  kFormatA8R8G8B8 = 21,
  kFormatX8R8G8B8 = 22,
  kFormatA8B8G8R8 = 32,
  kFormatA8 = 28,  // one byte a texel, the alpha: samples as white with that alpha
  kFormatD24S8 = 75,
  kFormatIndex16 = 101,
};
enum : uint32_t { kSwapEffectCopy = 3, kPresentIntervalOne = 1, kCreateSoftwareVertexProcessing = 0x20 };

// Flexible vertex formats used: position+normal+diffuse+one texture coordinate (36 bytes)
// and position+point size+diffuse (20 bytes).
enum : uint32_t { kFvfXyz = 0x002, kFvfNormal = 0x010, kFvfPointSize = 0x020, kFvfDiffuse = 0x040, kFvfTex1 = 0x100 };
constexpr uint32_t kFvfVertex = kFvfXyz | kFvfNormal | kFvfDiffuse | kFvfTex1;  // 0x152
constexpr uint32_t kFvfPoint = kFvfXyz | kFvfPointSize | kFvfDiffuse;         // 0x62

enum : uint32_t { kUsageRenderTarget = 0x1, kUsageWriteOnly = 0x8, kUsagePoints = 0x40, kUsageDynamic = 0x200 };
// Texture stages a draw can sample: each vertex names its stage in the third component of its
// normal (0 when it has no normal), so one draw can show pictures of several textures.
constexpr uint32_t kTextureStages = 8;
enum class Pool : uint32_t { defaultPool, managed };
enum : uint32_t { kLockDiscard = 0x2000, kLockNoOverwrite = 0x1000 };
enum : uint32_t { kClearTarget = 1, kClearZBuffer = 2, kClearStencil = 4 };

enum class PrimitiveType : uint32_t { pointList, lineList, triangleList };
enum class TransformKind : uint32_t { world, view, projection };

enum class RenderState : uint32_t {
  zEnable,
  zWriteEnable,
  lighting,
  alphaBlendEnable,
  srcBlend,
  destBlend,
  cullMode,
  pointSpriteEnable,
  pointScaleEnable,
  pointSize,     // float bits
  pointSizeMin,  // float bits
  pointSizeMax,  // float bits
  pointScaleA,   // float bits
  pointScaleB,   // float bits
  pointScaleC,   // float bits
  stencilEnable,
  stencilFunc,
  stencilRef,
  stencilMask,
  stencilWriteMask,
  stencilFail,
  stencilZFail,
  stencilPass,
  count,
};
enum class Blend : uint32_t { zero, one, srcColor, invSrcColor, srcAlpha, invSrcAlpha, destAlpha, invDestAlpha, destColor, invDestColor };
enum class Cull : uint32_t { none, clockwise, counterClockwise };
enum class Compare : uint32_t { never, less, equal, lessEqual, greater, notEqual, greaterEqual, always };
enum class StencilOp : uint32_t { keep, zero, replace, incrSat, decrSat, invert, incr, decr };

enum class TextureStageState : uint32_t { colorOp, colorArg1, colorArg2, alphaOp, alphaArg1, alphaArg2, count };
enum class TextureOp : uint32_t { disable, selectArg1, selectArg2, modulate };
enum class TextureArg : uint32_t { diffuse, current, texture };

enum class SamplerState : uint32_t { magFilter, minFilter, mipFilter, count };
enum class TextureFilter : uint32_t { none, point, linear, anisotropic };

// Reinterprets a float as the 32-bit word a float render state takes.
uint32_t floatBits(float value);

struct PresentParameters {
  uint32_t backBufferWidth = 0;   // 0: the window's client size
  uint32_t backBufferHeight = 0;
  uint32_t backBufferFormat = kFormatUnknown;
  uint32_t backBufferCount = 0;
  uint32_t swapEffect = 0;
  WindowHandle deviceWindow = nullptr;  // null: the focus window
  bool windowed = false;
  bool enableAutoDepthStencil = false;
  uint32_t autoDepthStencilFormat = kFormatUnknown;
  uint32_t fullScreenRefreshRateInHz = 0;
  uint32_t presentationInterval = 0;
};

struct DisplayMode {
  uint32_t width = 0, height = 0, refreshRate = 0, format = kFormatX8R8G8B8;
};

// How a picture is shown whole in an area of another size: scaled by the largest factor with
// which it fits, its aspect kept, and centred, the area left over in two equal bars on
// opposite sides. The side that fills the area fills it exactly. Present shows the back
// buffer in the window so, the renderer fits the game's picture into a full-screen back
// buffer so, and the pointer is taken back to the picture through the same numbers.
struct PictureFit {
  float scale = 1.0f;
  float x = 0.0f, y = 0.0f;           // the scaled picture's top-left corner in the area
  float width = 0.0f, height = 0.0f;  // its size there
};
PictureFit fitPicture(int pictureWidth, int pictureHeight, int areaWidth, int areaHeight);

class Device;

// Objects the device makes are reference counted: release() drops one reference.
class DeviceObject {
 public:
  virtual void addRef() { ++_references; }
  // Frees the object when the last reference goes; returns the references left.
  virtual uint32_t release();

 protected:
  explicit DeviceObject(Device* device);
  virtual ~DeviceObject();
  // The GL context is going away: drop GL names without calling into GL.
  virtual void orphan() = 0;
  Device* _device;

 private:
  friend class Device;
  uint32_t _references = 1;
};

class VertexBuffer;
class IndexBuffer;
class Texture;
class Surface;

class Device {
 public:
  ~Device();
  Device(const Device&) = delete;
  Device& operator=(const Device&) = delete;

  Result testCooperativeLevel();
  Result reset(const PresentParameters& parameters);
  // With a latency of 1 or more, present waits until the frame before the one presented has
  // been drawn: at most one frame is in flight.
  void setMaximumFrameLatency(uint32_t frames);

  Result beginScene();
  Result endScene();
  Result present();
  Result clear(uint32_t flags, uint32_t argb, float z, uint32_t stencil);

  Result setTransform(TransformKind kind, const float* matrix16);
  Result getTransform(TransformKind kind, float* matrix16) const;
  Result setRenderState(RenderState state, uint32_t value);
  uint32_t getRenderState(RenderState state) const;
  Result setTextureStageState(uint32_t stage, TextureStageState state, uint32_t value);
  Result setSamplerState(uint32_t sampler, SamplerState state, uint32_t value);
  uint32_t getSamplerState(uint32_t sampler, SamplerState state) const;
  Result setTexture(uint32_t stage, Texture* texture);
  Texture* getTexture(uint32_t stage) const { return stage < kTextureStages ? _textures[stage] : nullptr; }

  Result setStreamSource(uint32_t stream, VertexBuffer* buffer, uint32_t offset, uint32_t stride);
  Result setFvf(uint32_t fvf);
  Result setIndices(IndexBuffer* buffer);
  Result drawPrimitive(PrimitiveType type, uint32_t startVertex, uint32_t primitiveCount);
  Result drawIndexedPrimitive(PrimitiveType type, int32_t baseVertex, uint32_t minIndex, uint32_t vertexCount,
                              uint32_t startIndex, uint32_t primitiveCount);

  Result createVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, Pool pool, VertexBuffer** out);
  Result createIndexBuffer(uint32_t length, uint32_t usage, uint32_t format, Pool pool, IndexBuffer** out);
  Result createTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage, uint32_t format, Pool pool,
                       Texture** out);
  // The widest and tallest texture the driver makes (asked once).
  uint32_t maxTextureSize();
  // How many stages one draw can sample (kTextureStages, or 1 where the driver's shaders
  // cannot pick a sampler per triangle).
  uint32_t textureStages() const { return _stagesProgram.name ? kTextureStages : 1; }
  // The stages the next draws sample: with more than one, each triangle samples the stage
  // its vertices name; with one, stage 0 alone (the cheaper shader).
  void setSampledStages(uint32_t count) { _sampledStages = count; }
  // A managed one-level texture made with its pixels (level 0 in the texture's byte order,
  // rows top first, 4 x width bytes apart), so no empty picture is made and filled after.
  Result createTextureFromPixels(uint32_t width, uint32_t height, uint32_t format, const void* pixels, Texture** out);
  // Copies the width x height texels at (x, y) of one managed texture to (toX, toY) of
  // another, exactly, without a trip through memory. Both must have the same byte order.
  Result copyTexels(Texture* from, uint32_t x, uint32_t y, uint32_t width, uint32_t height, Texture* to,
                    uint32_t toX, uint32_t toY);
  // The whole of a surface (the back buffer, a target) copied pixel for texel into a managed
  // texture of its size, or such a texture copied back: a picture kept to be shown again.
  // The texture holds the picture's top row first wherever the back buffer lives.
  Result copySurfaceToTexture(Surface* from, Texture* to);
  Result copyTextureToSurface(Texture* from, Surface* to);
  // Adds a reference to the surface handed out.
  Result getRenderTarget(uint32_t index, Surface** out);
  Result setRenderTarget(uint32_t index, Surface* surface);

  const PresentParameters& presentParameters() const { return _parameters; }
  int backBufferWidth() const { return _backWidth; }
  int backBufferHeight() const { return _backHeight; }
  // True while frames go straight into the window; false while an offscreen back buffer is
  // copied to it at present.
  bool drawsIntoWindow() const;
  // A spot of the window's buffer (as the system reports the pointer) in back-buffer pixels,
  // for the window's size now: what the next present shows there. The same spot while the
  // sizes agree.
  void windowToBackBuffer(float& x, float& y) const;

  // Counters of what reached OpenGL (for benchmarks and tests): since the device was made,
  // and what the last presented frame took (from one present to the next).
  struct Counters {
    uint64_t drawCalls = 0;
    uint64_t textureBinds = 0;       // changes of the texture the draws sample
    uint64_t bufferAllocations = 0;  // vertex or index storage (re)allocated
    uint64_t bufferUploads = 0;
    uint64_t textureUploads = 0;
    uint64_t depthStencilClears = 0;  // made for a draw that tests depth or stencil
    uint64_t presents = 0;
    uint64_t resets = 0;
  };
  const Counters& counters() const { return _counters; }
  const Counters& lastFrameCounters() const { return _lastFrame; }

  // ---- what can change the picture ---------------------------------------------------
  // Counts every change after which the same draws into the back buffer could leave other
  // pixels: a texture's texels written, copied into or drawn into, a texture destroyed (its
  // name and address may come back for another picture), the render target switched, a
  // render, sampler or stage state or a transform set to another value, the back buffer moved
  // between the window and the offscreen buffer, a reset. Drawing into the back buffer,
  // clearing it and presenting are the frame itself and do not count. Every such change
  // passes through here, whoever makes it: a renderer that reuses what it drew trusts this
  // count rather than its callers.
  uint64_t screenChanges() const { return _screenChanges; }
  // Called just before each counted change takes effect, so that draws held back can still
  // be made with what they were meant to see.
  void setBeforeScreenChange(std::function<void()> listener) { _beforeScreenChange = std::move(listener); }

  // ---- test hooks --------------------------------------------------------------------
  // The device reports itself lost for the next lostTests cooperative-level tests, then
  // "not reset" until reset. Reset while lost fails with deviceLost.
  void simulateDeviceLoss(uint32_t lostTests = 1);
  // The next reset fails with the given result (once).
  void failNextReset(Result result) { _failNextReset = result; }
  // From now on the window's buffer reports this size, as when a window manager gives the
  // window another one (the offscreen driver's buffer keeps the size it was made with);
  // 0 x 0: its own size again.
  void simulateWindowBufferSize(int width, int height) {
    _simulatedWindowWidth = width;
    _simulatedWindowHeight = height;
  }
  // The back buffer as RGBA bytes, rows top first, alpha 255 (its format has none). False
  // without a back buffer.
  bool readBackBuffer(std::vector<uint8_t>& rgba, int& width, int& height);
  // A render target surface's pixels, the same way.
  bool readSurface(Surface* surface, std::vector<uint8_t>& rgba, int& width, int& height);

  // ---- benchmark hook ---------------------------------------------------------------
  // While a capture is set, the corners of every triangle drawn into the back buffer are
  // added to it in back-buffer pixels (x right, y down) with their texture coordinates and
  // colour, each draw as a run with what it sampled and how it blended: what a frame
  // covers, for a program that draws the same pixels another way.
  struct CapturedVertex {
    float x, y, u, v;
    uint32_t color;  // 0xAARRGGBB
  };
  struct CapturedRun {
    uint32_t firstVertex = 0, vertexCount = 0;
    uint32_t texture = 0;  // the same number for the same texture within one capture
    uint32_t textureWidth = 1, textureHeight = 1;
    uint32_t linear = 0;   // linear filtering, else nearest
    uint32_t blend = 0;    // 0 none, 1 source alpha over the picture, 2 added
  };
  struct Capture {
    std::vector<CapturedVertex> vertices;
    std::vector<CapturedRun> runs;
    std::vector<const void*> textures;  // in the order of their numbers
  };
  void setTriangleCapture(Capture* capture) { _capture = capture; }
  // While a sum is set, the processor time the calling thread spends in each draw call
  // (applying the state, uploading the batch, the driver's own work on the draw) is added to
  // it, in seconds: what a benchmark of the engine's own time per frame leaves out.
  void setDrawTimeSum(double* seconds) { _drawTimeSum = seconds; }

  // Used by the device's objects.
  void forget(DeviceObject* object) { _objects.erase(object); }
  void remember(DeviceObject* object) { _objects.insert(object); }
  void makeCurrent();
  Counters& mutableCounters() { return _counters; }
  // Binds a texture name to unit 0 unless it is bound already; every bind of the device's
  // own goes through here, so the binding is known without asking OpenGL.
  void bindTextureName(unsigned name);
  // The same for another unit; unit 0 is left the active one.
  void bindTextureUnit(uint32_t unit, unsigned name);
  // A texture name is going away: OpenGL falls back to no texture where it was bound.
  void forgetTextureName(unsigned name);

 private:
  friend class Direct3D;
  friend class Texture;
  Device() = default;
  bool create(WindowHandle window, const PresentParameters& parameters);
  // Takes the back buffer's size from the parameters (or the window) and chooses where it
  // lives.
  bool makeBackBuffer();
  // The window's own buffer when it fits the back buffer, else the offscreen one.
  bool chooseBackBuffer();
  bool makeOffscreenBackBuffer();
  void dropOffscreenBackBuffer();
  // The size of the buffer the window's framebuffer draws into.
  void windowBufferSize(int& width, int& height) const;
  // Runs the depth and stencil clears the current target still owes, for the tests the
  // coming draw makes.
  void clearWhatTheDrawTests();
  void copyBackBufferToWindow();
  // Where present puts the whole back buffer in a window buffer of the given size, in whole
  // pixels counted from the window's top left, as the pointer is reported.
  struct Placement {
    int x = 0, y = 0, width = 0, height = 0;
  };
  Placement placeInWindow(int windowWidth, int windowHeight) const;
  void setDefaultStates();
  void bindTarget();
  void applyPipelineState(bool points);
  void prepareDraw();
  void uploadMatrices();
  void noteFramePresented();
  void limitFramesInFlight();
  // Adds the triangles of a draw to the capture list (vertices from first on, or through the
  // index buffer's count indices from startIndex, each plus baseVertex).
  void captureTriangles(uint32_t first, uint32_t count, bool indexed, uint32_t startIndex, int32_t baseVertex);
  // A counted change is about to take effect (see screenChanges).
  void noteScreenChange();
  // The draws go to a render target, not the back buffer.
  bool drawsIntoTarget() const { return _target && _target != _backSurface; }
  // The two framebuffers copies read from and draw into (made once), the context current.
  void makeCopyFramebuffers();
  // Binds the copy framebuffer of one side (0 read, 1 draw) with the texture attached, or
  // the surface's own framebuffer for that side.
  void bindCopySide(int side, Texture* texture, Surface* surface);
  Result copyWhole(Surface* surface, Texture* texture, bool intoTexture);

  WindowHandle _window = nullptr;
  void* _context = nullptr;
  PresentParameters _parameters;
  int _backWidth = 0, _backHeight = 0;
  unsigned _backFramebuffer = 0, _backColor = 0, _backDepth = 0;  // the offscreen back buffer
  bool _windowHasDepthStencil = false;
  bool _hasClipControl = false;   // needed to draw into the window as into our own buffers
  bool _upperLeftOrigin = false;  // the clip origin set now
  unsigned _windowDrawBuffer = 0;  // the colour buffer of the window's framebuffer we draw into
  Surface* _backSurface = nullptr;  // one reference held by the device
  Surface* _target = nullptr;       // current render target 0 (one reference held)

  struct Program {
    unsigned name = 0;
    int matrix = -1, pointSprite = -1, pointSizeRange = -1, pixel = -1;
    bool matrixDirty = true;
  };
  bool buildProgram(Program& program, bool stages, std::string& error);
  Program _program;        // stage 0 alone
  Program _stagesProgram;  // a stage per triangle (none without the driver's support)
  Program* _programInUse = nullptr;
  uint32_t _sampledStages = 1;
  unsigned _vertexArray = 0, _sampler = 0, _whiteTexture = 0;
  unsigned _copyFramebuffers[2] = {0, 0};  // read and draw sides of copyTexels

  float _world[16], _view[16], _projection[16];
  uint32_t _renderStates[static_cast<uint32_t>(RenderState::count)] = {};
  uint32_t _stageStates[static_cast<uint32_t>(TextureStageState::count)] = {};
  uint32_t _samplerStates[static_cast<uint32_t>(SamplerState::count)] = {};
  Texture* _textures[kTextureStages] = {};
  VertexBuffer* _stream = nullptr;
  uint32_t _streamOffset = 0, _streamStride = 0;
  uint32_t _fvf = 0;
  IndexBuffer* _indices = nullptr;

  bool _inScene = false;
  uint32_t _maximumFrameLatency = 0;
  void* _frameFence = nullptr;  // the last presented frame's fence
  uint32_t _lostTests = 0;
  bool _notReset = false;
  bool _lostWhileMinimised = false;
  Result _failNextReset = Result::ok;
  int _simulatedWindowWidth = 0, _simulatedWindowHeight = 0;
  Counters _counters;
  Counters _atLastPresent;
  Counters _lastFrame;
  unsigned _boundTextures[kTextureStages] = {};  // the texture name bound to each unit, as last set here
  Capture* _capture = nullptr;
  double* _drawTimeSum = nullptr;
  uint64_t _screenChanges = 0;
  std::function<void()> _beforeScreenChange;
  bool _inBeforeScreenChange = false;
  std::set<DeviceObject*> _objects;
  uint32_t _maxTextureSize = 0;
};

// Why the last device or context creation failed (empty when it did not).
const char* deviceFailureReason();

// Stands in for the device factory object: display modes and device creation.
class Direct3D {
 public:
  // Null when the video subsystem cannot start.
  static std::unique_ptr<Direct3D> create();
  ~Direct3D();
  uint32_t adapterModeCount(uint32_t format) const;
  bool enumAdapterMode(uint32_t format, uint32_t index, DisplayMode& mode) const;
  // Makes the GL context on the focus window. Fails on a null window or when the context
  // cannot be made (the reason is logged through the window layer's log function).
  Result createDevice(WindowHandle focusWindow, uint32_t behaviour, PresentParameters& parameters,
                      std::unique_ptr<Device>& out);

 private:
  Direct3D() = default;
};

// The memory copy behind a vertex or an index buffer: locks hand out its bytes, and the
// dirty range reaches OpenGL when the device next draws from the buffer.
class Buffer : public DeviceObject {
 public:
  // Hands out the bytes [offset, offset + size) (size 0: to the end); nullptr on bad ranges.
  Result lock(uint32_t offset, uint32_t size, void** data, uint32_t flags);
  Result unlock();
  uint32_t length() const { return static_cast<uint32_t>(_bytes.size()); }

 protected:
  // target: the GL binding point the buffer uploads through.
  Buffer(Device* device, uint32_t length, uint32_t target);
  ~Buffer() override;

 private:
  friend class Device;
  void orphan() override { _name = 0; }
  void upload();
  std::vector<uint8_t> _bytes;
  uint32_t _target;
  unsigned _name = 0;
  uint32_t _dirtyBegin = 0, _dirtyEnd = 0;
  bool _discard = false, _locked = false;
};

class VertexBuffer : public Buffer {
 private:
  friend class Device;
  VertexBuffer(Device* device, uint32_t length);
  ~VertexBuffer() override = default;
};

class IndexBuffer : public Buffer {
 private:
  friend class Device;
  IndexBuffer(Device* device, uint32_t length);
  ~IndexBuffer() override = default;
};

struct LockedRect {
  int32_t pitch = 0;
  void* bits = nullptr;
};

class Texture : public DeviceObject {
 public:
  // Managed textures only: the pixels of level 0 in the texture's byte order
  // (A8R8G8B8: b, g, r, a; A8B8G8R8: r, g, b, a; A8: a), rows width x texel bytes apart. With
  // kLockDiscard the bits start undefined: for a caller that writes them all.
  Result lockRect(uint32_t level, LockedRect* locked, uint32_t flags);
  Result unlockRect(uint32_t level);
  // Adds a reference to the surface (render targets only).
  Result getSurfaceLevel(uint32_t level, Surface** out);
  uint32_t width() const { return _width; }
  uint32_t height() const { return _height; }
  uint32_t format() const { return _format; }
  bool isRenderTarget() const { return _renderTarget; }
  unsigned glName() const { return _name; }

 private:
  // The GL order of the A8R8G8B8 bytes (B, G, R, A), of the A8B8G8R8 ones, or the one
  // channel of A8.
  uint32_t pixelOrder() const;
  uint32_t bytesPerTexel() const { return _format == kFormatA8 ? 1u : 4u; }
  friend class Device;
  friend class Surface;
  // pixels: level 0 of a managed texture, or null for a transparent one.
  Texture(Device* device, uint32_t width, uint32_t height, uint32_t format, bool renderTarget,
          const void* pixels = nullptr);
  ~Texture() override;
  void orphan() override;
  std::vector<uint8_t> _pixels;  // the locked copy, held only between lock and unlock
  unsigned _name = 0;
  uint32_t _width, _height, _format;
  bool _renderTarget;
  bool _locked = false;
  Surface* _surface = nullptr;  // render targets: level 0, owned by the texture
};

class Surface : public DeviceObject {
 public:
  // A target texture's surface shares the texture's references.
  void addRef() override;
  uint32_t release() override;
  uint32_t width() const { return _width; }
  uint32_t height() const { return _height; }

 private:
  friend class Device;
  friend class Texture;
  Surface(Device* device, Texture* texture, uint32_t width, uint32_t height);
  ~Surface() override;
  void orphan() override;
  Texture* _texture;  // null: the back buffer
  unsigned _framebuffer = 0, _depth = 0;
  uint32_t _width, _height;
  bool _window = false;  // the back buffer, drawn straight into the window's framebuffer
  bool _hasDepthStencil = false;
  // Depth and stencil clears asked for but not made yet (kClearZBuffer, kClearStencil).
  uint32_t _pendingClear = 0;
  float _pendingDepth = 1.0f;
  uint32_t _pendingStencil = 0;
};

}  // namespace platform
