#pragma once
// The engine's one renderer: the device on the game's window, resolution and full screen
// (with the aspect-keeping letterbox when the picture fills a desktop of another shape),
// device loss and reset, textures, the frame, batching of draws with equal render-state
// words and textures, screen and camera space, point sprites, render targets and the
// stencil mask.
//
// Screen space: one unit is one pixel of the requested picture, x to the right, y downwards,
// origin at the top left, z = 0 the picture plane.
#include <cstdint>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/color.h"
#include "engine/matrix.h"
#include "engine/render_state.h"
#include "engine/transform.h"
#include "engine/vectors.h"
#include "engine/vertex.h"
#include "platform/device.h"
#include "platform/window_handle.h"

namespace platform {
class DecodedImage;
}

namespace QEL {

class QC_TEXTURE;
class QC_CAMERA;
class QC_RENDER;

// Set by the renderer's constructor; drawables, textures and the video player read it.
extern QC_RENDER* qcRENDER_INSTANCE;

// The point vertex of point-sprite drawing (20 bytes): the first fields of every particle.
struct QS_POINT_VERTEX {
  float x, y, z;
  float size;  // pixels
  uint32_t color;  // 0xAARRGGBB
};
static_assert(sizeof(QS_POINT_VERTEX) == 20, "the point vertex is 20 bytes");

struct QS_RENDER_TARGET {
  uint32_t _id = 0;  // 16-bit value
  int32_t _width = 0;
  int32_t _height = 0;
  platform::Texture* _texture = nullptr;
  QS_MATRIX4* _view = nullptr;
  QS_MATRIX4* _projection = nullptr;
  platform::Surface* _surface = nullptr;
};

// The draws of a frame up to its first drawing of another kind (points, stencil, camera
// space, depth), kept to be compared with the next frame's: world-space vertices, the
// picture's own texture coordinates.
struct QS_FRAME_RECORD {
  struct DRAW {
    QC_TEXTURE* texture;
    uint64_t textureIdentity;  // the texture's, 0 without one
    uint32_t state;
    uint32_t firstVertex, vertexCount, firstIndex, indexCount;
  };
  std::vector<DRAW> draws;
  std::vector<QS_VERTEX> vertices;
  std::vector<uint16_t> indices;
  uint32_t clearColor = 0;
  uint64_t screenChanges = 0;  // the renderer's screenChanges() when the frame began

  void clear();
  void add(QC_TEXTURE* texture, uint32_t state, const QS_VERTEX* v, uint32_t n, const uint16_t* idx, uint32_t ni);
  // Draw i asks for exactly this.
  bool same(size_t i, QC_TEXTURE* texture, uint32_t state, const QS_VERTEX* v, uint32_t n, const uint16_t* idx,
            uint32_t ni) const;
};

class QC_RENDER {
 public:
  QC_RENDER();
  // Gives the device back (the engine never destroys its renderer during a run).
  ~QC_RENDER();
  QC_RENDER(const QC_RENDER&) = delete;
  QC_RENDER& operator=(const QC_RENDER&) = delete;

  // ---- device, resolution, full screen, device loss ------------------------------------
  // 1, or -1 when no device can be made on the window.
  int32_t fInit(platform::WindowHandle window, float zNear, float zFar);
  void fSetResolution(int32_t width, int32_t height, bool fullscreen, bool useDesktopSize);
  void ResetDevice();
  // 0, or -1 when a transform could not be set.
  int32_t fSetupTransforms();
  void fUpdateAspectScaling();
  void fGetDisplayModes(std::list<QS_POINT>& modes);
  void fCreateQuadBuffer();

  // ---- textures --------------------------------------------------------------------------
  QC_TEXTURE* fCreateTexture(int32_t width, int32_t height);
  QC_TEXTURE* fLoadTexture(const char* path);
  QC_TEXTURE* fLoadTextureFromMemory(const void* bytes, uint32_t count, const char* name);
  // The picture's file can be read again through the picture source: until its first draw
  // it keeps none of its bytes, and reads them then.
  void fForgetWaitingBytes(QC_TEXTURE* texture);
  void fReleaseTexture(QC_TEXTURE* texture);
  bool fFillTexture(QC_TEXTURE* texture, const void* pixels);
  void* fTextureLock(QC_TEXTURE* texture);
  bool fTextureUnlock(QC_TEXTURE* texture);
  QC_TEXTURE* fGetDefaultTexture() const { return _defaultTexture; }

  // ---- frame, batching, drawing ----------------------------------------------------------
  // 1 open; -1 already open, device lost or clear failed; -110 device reset now (skip the
  // frame); 0 the device refused to begin.
  int32_t fBeginScene();
  int32_t fClear();
  int32_t fEndScene();
  void fDraw(const QS_VERTEX* vertices, QC_TEXTURE* texture, const QS_RENDER_STATE* state, int32_t count,
             const uint16_t* indices, int32_t indexCount);
  void fFlush();
  int32_t fApplyState(const QS_RENDER_STATE* state);
  void fSetWorldTransform(const QS_TRANSFORM3& transform);
  void fSetScreenSpace();
  void fSetCameraSpace();
  // Walks the particle list through each particle's _next and draws its first 20 bytes
  // (position, size, colour) as point sprites. The count is not read.
  template <class PARTICLE>
  void fDrawPoints(PARTICLE* first, QC_TEXTURE* texture, const QS_RENDER_STATE* state, int32_t count) {
    (void)count;
    fDrawPointList(
        first, [](const void* p) -> const void* { return static_cast<const PARTICLE*>(p)->_next; }, texture, state);
  }
  void fDrawPointList(const void* first, const void* (*next)(const void*), QC_TEXTURE* texture,
                      const QS_RENDER_STATE* state);
  void fDrawSquare(int32_t x, int32_t y, uint32_t color, float side);
  void fDrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t color);
  void fDrawLine3D(float x1, float y1, float z1, float x2, float y2, float z2, uint32_t color);

  // ---- camera ----------------------------------------------------------------------------
  QC_CAMERA* fCreateCamera(int32_t width, int32_t height);
  void fSetCamera(QC_CAMERA* camera);
  void fMultiplyCameraWorld(const QS_TRANSFORM3& transform);

  // ---- render targets and stencil mask ---------------------------------------------------
  QS_RENDER_TARGET* fCreateTarget(int32_t width, int32_t height);
  void fReleaseTarget(QS_RENDER_TARGET* target);
  int32_t fBeginTarget(QS_RENDER_TARGET* target);
  int32_t fEndTarget();
  void fBeginStencilMask();
  void fUseStencilMask();
  void fEndStencilMask();

  // ---- drawing only what shows -----------------------------------------------------------
  // Off (the default), a frame whose first draws repeat the last frame's shows the picture
  // they left then, kept in a texture, instead of drawing them again; draws wholly off the
  // screen or wholly transparent are dropped, and a picture of which a thin strip shows keeps
  // only that strip. The pixels are the same either way; set, every draw is drawn as asked
  // from whole pictures (benchmarks and tests compare the two).
  void fSetDrawEverything(bool everything);
  bool fDrawsEverything() const { return _drawEverything; }

  // ---- pictures of a screen left ---------------------------------------------------------
  // The screen changes: pictures of the resources not drawn in the next screen's first
  // frames give their texture back and wait, as before their first draw, to be read from
  // their file again (through the picture source) should they be drawn later.
  void fNoteScreenChange();
  // Reads a picture's file bytes again; set by the resource loader.
  std::function<bool(QC_TEXTURE*, std::vector<uint8_t>&)> _pictureSource;

  // ---- read-back (tests, screenshots) ----------------------------------------------------
  // The back buffer as RGBA bytes, rows top first.
  bool fReadBackBuffer(std::vector<uint8_t>& rgba, int32_t& width, int32_t& height);
  // The back buffer written as a PNG file, for debugging.
  bool fSaveBackBuffer(const std::string& path);

  // Told of every draw as it is asked for, with the world transform it is drawn with (the
  // layout check reads what a screen draws from it); unset in the game.
  std::function<void(const QS_VERTEX* vertices, int32_t count, QC_TEXTURE* texture, const QS_MATRIX4& world)>
      _drawWatcher;

  // ---- fields ------------------------------------------------------------------------------
  uint32_t _drawCalls = 0;
  uint32_t _flushes = 0;
  uint32_t _stateChanges = 0;
  QS_COLOR _clearColor{0xFF444444u};
  QS_RENDER_STATE _currentState;
  QC_TEXTURE* _currentTexture = nullptr;
  uint32_t _vertexCapacity = 8192;
  uint32_t _pointCapacity = 4096;
  QC_TEXTURE* _defaultTexture = nullptr;
  int32_t _sceneState = 1;  // 1 no scene, 0 scene open, 2 drawing into a render target
  platform::WindowHandle _hwnd = nullptr;
  std::map<platform::Texture*, QC_TEXTURE*> _liveTextures;
  // Pictures lying in another picture's device texture (they have no entry of their own
  // above), and the room of every device texture that takes such guests.
  std::set<QC_TEXTURE*> _guestTextures;
  struct QS_TEXTURE_ROOM {
    int32_t residents = 0;          // pictures in the texture; the room goes with the last
    int32_t width = 0, height = 0;  // of the device texture
    int32_t top = 0;                // first row below the host picture and its border
    struct SHELF {
      int32_t y, height, x;
    };
    std::vector<SHELF> shelves;
  };
  std::map<platform::Texture*, QS_TEXTURE_ROOM> _textureRooms;
  QC_TEXTURE* _pendingHost = nullptr;  // a large picture in its first batch, not settled yet
  uint32_t _pendingHostFirst = 0;      // the open batch's first vertex drawn from it
  // The device textures the open batch samples, by stage: a draw with the batch's word joins
  // it when its texture is among them or a stage is still free.
  platform::Texture* _batchStages[platform::kTextureStages] = {};
  uint32_t _batchStageCount = 0;
  bool _batchLarge = false;  // it holds a large draw: it keeps to one stage
  // Pictures loaded from images in memory keep the image's file bytes until they are first
  // drawn (or locked): only then are they decoded into a texture.
  std::map<QC_TEXTURE*, std::vector<uint8_t>> _waitingPictures;
  // Pictures already said in a box to be refused: a picture loaded again (at every scene, for
  // those directly in Resources) is then only logged.
  std::set<std::string> _picturesSaidRefused;
  // A picture was decoded or moved this frame: the memory its steps freed goes back to the
  // system when the frame ends (the allocator would keep it otherwise).
  bool _picturesMoved = false;
  bool _drawEverything = false;
  // The frame being drawn and the one before, as far as they can be kept.
  QS_FRAME_RECORD _lastFrame;
  QS_FRAME_RECORD _thisFrame;
  bool _recording = false;  // this frame's draws are still recorded
  bool _repeating = false;  // every draw of this frame so far repeats the last frame's: held back
  size_t _repeated = 0;     // draws held back so far
  size_t _lastRun = 0;      // how many first draws the last frame had in common with the one before
  // The back buffer after the first _keptDraws draws (none: it stands for nothing) of the
  // frames since it was copied.
  platform::Texture* _keptPicture = nullptr;
  size_t _keptDraws = 0;
  uint64_t _keptScreenChanges = 0;
  // The device's changes that the renderer made itself and that the state words of the draws
  // already tell (blending, depth, filters, points, screen or camera space): not counted.
  uint64_t _ownScreenChanges = 0;
  bool _makingOwnChanges = false;
  // This frame's draws that the kept picture showed instead (tests, benchmarks).
  uint32_t _drawsShownKept = 0;
  std::vector<QS_VERTEX> _worldVertices;  // scratch: a draw's vertices placed in the world
  uint32_t _frameNumber = 0;  // frames begun
  uint32_t _screenStartFrame = 0;
  uint32_t _giveBackAtFrame = 0;  // 0: nothing to give back
  static constexpr uint32_t kFramesBeforeGivingBack = 3;
  uint16_t _nextTargetId = 0;
  std::map<uint16_t, QS_RENDER_TARGET*> _targets;
  float _zNear = 0.0f;
  float _zFar = 0.0f;
  QS_MATRIX4 _cameraWorld;
  QS_MATRIX4 _world;
  QS_MATRIX4 _screenWorld;
  QS_MATRIX4 _view;
  QS_MATRIX4 _projection;
  uint32_t _pointRing = 0;
  uint32_t _batchVertices = 0;
  uint32_t _batchIndices = 0;
  // Batches follow one another through the vertex and index buffers during a frame, each
  // starting where the one before ended; the buffers are given up (discarded) once per frame
  // and when they run full, not for every batch.
  uint32_t _batchFirstVertex = 0;
  uint32_t _batchFirstIndex = 0;
  bool _discardVertices = true;
  bool _discardIndices = true;
  QC_CAMERA* _camera = nullptr;
  platform::Surface* _targetSurface = nullptr;
  platform::Texture* _targetTexture = nullptr;
  platform::Surface* _backBufferSurface = nullptr;
  std::unique_ptr<platform::Direct3D> _direct3D;
  std::unique_ptr<platform::Device> _device;
  platform::VertexBuffer* _vertexBuffer = nullptr;
  platform::VertexBuffer* _pointBuffer = nullptr;
  platform::IndexBuffer* _indexBuffer = nullptr;
  platform::Texture* _newTexture = nullptr;
  platform::VertexBuffer* _quadBuffer = nullptr;
  platform::PresentParameters _presentParameters;
  uint8_t _useDesktopSize = 0;
  uint8_t _fullscreen = 0;
  int32_t _requestedWidth = 0;
  int32_t _requestedHeight = 0;
  int32_t _actualWidth = 0;
  int32_t _actualHeight = 0;
  QS_MATRIX4 _aspectScaling;
  uint8_t _stencilRef = 0;

  // Index capacity of the index buffer: 6 x vertex capacity - 12 bytes of 16-bit indices.
  uint32_t fIndexCapacity() const { return (6 * _vertexCapacity - 12) / 2; }

 private:
  // A managed device texture in _newTexture; false when the device refuses (or is missing).
  bool createManagedTexture(int32_t width, int32_t height, uint32_t format);
  // Wraps _newTexture in a texture of the given size, listed as live.
  QC_TEXTURE* adoptNewTexture(QS_POINT size);
  QC_TEXTURE* loadFromImage(const platform::DecodedImage& image, int32_t imageWidth, int32_t imageHeight);
  // Gives a waiting picture its texture, from its image (a checker texture when the image
  // turns out not to decode); it is then a picture like any other.
  // With the draw that shows it first (none for a lock or a fill), which may keep only the
  // part it shows.
  void decodeWaitingPicture(QC_TEXTURE* texture, const QS_RENDER_STATE* state = nullptr,
                            const QS_VERTEX* v = nullptr, uint32_t n = 0);
  void releaseDeviceBuffers();
  // Where world-space vertices land in the back buffer, in pixels (x right, y down); false
  // where that cannot be told (another target, a camera, behind the eye).
  bool inBackBufferPixels(const QS_RENDER_STATE& state, const QS_VERTEX* v, uint32_t n, float* x, float* y) const;
  // Two pixels to spare around what a draw covers: the half-pixel shift of the pixel centres
  // and any rounding.
  static constexpr float kPixelsToSpare = 2.0f;
  std::vector<float> _pixelX, _pixelY;  // scratch
  // A draw of world-space vertices wholly beyond the back buffer's edges: it is dropped, and
  // its picture is not even decoded. Never while every draw is drawn.
  bool outsideTheBackBuffer(const QS_RENDER_STATE& state, const QS_VERTEX* v, uint32_t n);
  // ---- pictures mostly beyond the back buffer (render_picture_parts.cpp) ----
  // The texels a plain quad of the picture shows in the back buffer (with two to spare for
  // filtering); false for any other draw.
  struct QS_TEXEL_RECT {
    int32_t left, top, right, bottom;
  };
  bool shownTexels(QC_TEXTURE* texture, const QS_RENDER_STATE& state, const QS_VERTEX* v, uint32_t n,
                   QS_TEXEL_RECT& rect);
  // A decoded picture keeps only the part its first draw shows when that is a small part: a
  // border picture of which one row shows.
  bool keepShownPart(QC_TEXTURE* texture, const platform::DecodedImage& image, const QS_TEXEL_RECT& rect);
  // A picture kept in part that a draw shows beyond that part is read whole again.
  void wholePictureFor(QC_TEXTURE* texture, const QS_RENDER_STATE& state, const QS_VERTEX* v, uint32_t n);
  // Back to waiting for its first draw, with no bytes: the picture source reads them again.
  void giveBack(QC_TEXTURE* texture);
  // A picture waiting or kept in part is decoded whole (locks, fills, point sprites).
  void wholePicture(QC_TEXTURE* texture);
  // A draw whose corners all have alpha 0, blended so that such a draw leaves every pixel
  // as it was and writing nothing else: it is dropped.
  bool invisible(const QS_RENDER_STATE& state, const QS_VERTEX* v, uint32_t n) const;
  // Puts a draw's world-space vertices into the batches.
  void submitDraw(const QS_VERTEX* vertices, QC_TEXTURE* texture, const QS_RENDER_STATE* state, uint32_t n,
                  const uint16_t* indices, uint32_t ni);
  // ---- frames that repeat the last one (render_frame_reuse.cpp) ----
  void startFrameRecord();
  // True when the draw is held back: so far this frame repeats the last one.
  bool holdBackRepeat(QC_TEXTURE* texture, const QS_RENDER_STATE& state, const QS_VERTEX* v, uint32_t n,
                      const uint16_t* idx, uint32_t ni);
  // The frame stops repeating the last one after the draws held back: they are shown (from
  // the kept picture as far as it goes, the rest drawn), and the picture is kept anew when
  // frames keep repeating that far.
  void stopRepeating();
  // Drawing that is not recorded (points, stencil, camera, depth): the record ends here.
  void endFrameRecord();
  void finishFrameRecord();
  void keepPicture(size_t draws);
  // The kept picture no longer stands for any draws; its texture stays for the next one.
  void dropKeptPicture();
  void releaseKeptPicture();
  // The device's count of what can change the picture, less the renderer's own changes that
  // the draws' words tell: a frame repeats the last one only while it stays what it was
  // when that frame began.
  uint64_t screenChanges() const;
  // The device is about to change something that can change the picture: draws held back
  // are made first, and the frame from here on is not compared with the next one.
  void beforeScreenChange();
  // Runs device calls whose changes the draws' own words describe.
  template <class CALLS>
  void makeOwnChanges(CALLS&& calls);
  // The draw, with its word applied to the device as it stands, writes nothing but the back
  // buffer's colour (no depth, no stencil, no render target).
  bool writesOnlyColour(const QS_RENDER_STATE& state) const;
  void giveBackUnshownPictures();
  // ---- pictures sharing device textures (render_texture_sharing.cpp) ----
  // Settles a picture's place at its first draw; later draws only check that its texture
  // coordinates stay where a shared place can serve them. True for a large picture whose
  // first batch starts: it becomes the pending host.
  bool settlePicture(QC_TEXTURE* texture, const QS_RENDER_STATE& state, const QS_VERTEX* vertices, uint32_t count);
  bool becomeHost(QC_TEXTURE* texture);
  // The large picture whose first batch is open keeps its own texture after all.
  void settlePendingHost();
  bool becomeGuest(QC_TEXTURE* texture, QC_TEXTURE* neighbour);
  // A shared picture moves to a device texture of its own (for locks, point sprites and
  // texture coordinates beyond its edges) and stays there.
  void giveOwnTexture(QC_TEXTURE* texture);
  // Copies a whole picture into the device texture at (x, y) inside a one-texel border of
  // its own opposite edges, so filtering at its edges reads what repeating it would.
  bool copyWithBorder(platform::Texture* from, int32_t width, int32_t height, platform::Texture* to, int32_t x,
                      int32_t y);
  void setPlace(QC_TEXTURE* texture, platform::Texture* device, int32_t x, int32_t y);
  // The picture, copied into the shared texture, leaves its own for it.
  void moveInto(QC_TEXTURE* texture, platform::Texture* shared, uint8_t place);
  // A host or guest leaves its shared texture: one resident less in its room.
  void leaveRoom(QC_TEXTURE* texture);
  // Starts the batches at the beginning of the buffers again; the next locks discard.
  void rewindBatches();
  // The stage of a device texture in the open batch, taking a free one for a new texture;
  // -1 when the draw cannot join the batch (all stages taken, or a large draw in a batch of
  // several stages).
  int32_t batchStage(platform::Texture* device, bool large);
  // A texture of the open batch is going: what was drawn from it goes first, and the stages
  // start afresh.
  void leaveBatch(const platform::Texture* device);
  // One unlit, untextured line in screen space or in the camera's space.
  void drawLine(float x1, float y1, float z1, float x2, float y2, float z2, uint32_t color, bool screen);
  void restoreSpaceWorld();
  // Sets on the device what the word changes from the current one.
  void applyWord(const QS_RENDER_STATE& next);
};

template <class CALLS>
void QC_RENDER::makeOwnChanges(CALLS&& calls) {
  if (!_device || _makingOwnChanges) {
    calls();
    return;
  }
  const uint64_t before = _device->screenChanges();
  _makingOwnChanges = true;
  calls();
  _makingOwnChanges = false;
  _ownScreenChanges += _device->screenChanges() - before;
}

}  // namespace QEL
