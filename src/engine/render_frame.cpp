// The renderer's frame, batching and drawing: draws with equal render-state words and
// textures in a row share one device draw call. A frame's batches lie one after another in
// the vertex and index buffers, so the buffers are reallocated (discarded) at most once a
// frame and when they run full, and each batch uploads only its own bytes.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/camera.h"
#include "engine/log.h"
#include "engine/render.h"
#include "engine/result_codes.h"
#include "engine/texture.h"
#include "platform/matrix_math.h"
#include "platform/memory.h"

namespace QEL {

namespace {
constexpr uint32_t kPointChunk = 512;
// A draw this large (in pixels of the picture) keeps to a batch of one texture stage: picking
// a stage per triangle costs a software rasteriser a share of every pixel's work, which small
// pictures (glyphs, icons, buttons) pay back with the draw calls they save, large ones not.
constexpr float kStagedDrawMaxArea = 256.0f * 256.0f;

bool isLarge(const QS_VERTEX* v, uint32_t n) {
  if (n == 0) return false;
  float left = v[0].x, right = v[0].x, top = v[0].y, bottom = v[0].y;
  for (uint32_t i = 1; i < n; ++i) {
    left = std::min(left, v[i].x);
    right = std::max(right, v[i].x);
    top = std::min(top, v[i].y);
    bottom = std::max(bottom, v[i].y);
  }
  return (right - left) * (bottom - top) > kStagedDrawMaxArea;
}
}  // namespace

// ---- frame ---------------------------------------------------------------------------------

int32_t QC_RENDER::fBeginScene() {
  if (_sceneState != 1) return -1;
  if (!_device) return -1;
  const platform::Result level = _device->testCooperativeLevel();
  if (level == platform::Result::deviceLost) {
    fLog("DEVICE_LOST");
    return -1;
  }
  if (level == platform::Result::deviceNotReset) {
    fLog("D3DERR_DEVICENOTRESET");
    ResetDevice();
    return qeRESULT_NOTHING_DONE;
  }
  // Without buffers (a reset that failed) nothing can be drawn; the device reports itself
  // not reset, so this is only a guard.
  if (!_vertexBuffer || !_indexBuffer || !_pointBuffer) return -1;
  if (_device->beginScene() != platform::Result::ok) {
    fLog("ERROR BeginScene");
    return 0;
  }
  if (fClear() != 0) {
    _device->endScene();
    return -1;
  }
  _sceneState = 0;
  _drawCalls = 0;
  _stateChanges = 0;
  _flushes = 0;
  _drawsShownKept = 0;
  ++_frameNumber;
  rewindBatches();
  startFrameRecord();
  return 1;
}

bool QC_RENDER::inBackBufferPixels(const QS_RENDER_STATE& state, const QS_VERTEX* v, uint32_t n, float* x,
                                   float* y) const {
  if (n == 0 || _sceneState != 0 || _actualWidth <= 0 || _actualHeight <= 0) return false;
  // Camera space is the screen's while there is no camera.
  if (!state._screen && _camera) return false;
  // The screen's view sees one unit more than the picture has pixels, so the last units
  // reach the last pixels: the device's own transforms say where a vertex lands.
  QS_MATRIX4 m;
  platform::matrixMultiply(m, state._screen ? _screenWorld : _cameraWorld, _view);
  platform::matrixMultiply(m, m, _projection);
  const float width = static_cast<float>(_actualWidth), height = static_cast<float>(_actualHeight);
  for (uint32_t i = 0; i < n; ++i) {
    const QS_VERTEX& p = v[i];
    const float w = p.x * m.m[0][3] + p.y * m.m[1][3] + p.z * m.m[2][3] + m.m[3][3];
    if (!(w > 0.0f)) return false;
    x[i] = ((p.x * m.m[0][0] + p.y * m.m[1][0] + p.z * m.m[2][0] + m.m[3][0]) / w + 1.0f) * 0.5f * width;
    y[i] = (1.0f - (p.x * m.m[0][1] + p.y * m.m[1][1] + p.z * m.m[2][1] + m.m[3][1]) / w) * 0.5f * height;
  }
  return true;
}

bool QC_RENDER::outsideTheBackBuffer(const QS_RENDER_STATE& state, const QS_VERTEX* v, uint32_t n) {
  if (_drawEverything || state._primitive != QS_RENDER_STATE::PRIMITIVE_TRIANGLES) return false;
  _pixelX.resize(n);
  _pixelY.resize(n);
  if (!inBackBufferPixels(state, v, n, _pixelX.data(), _pixelY.data())) return false;
  const auto [left, right] = std::minmax_element(_pixelX.begin(), _pixelX.end());
  const auto [top, bottom] = std::minmax_element(_pixelY.begin(), _pixelY.end());
  const float width = static_cast<float>(_actualWidth), height = static_cast<float>(_actualHeight);
  return *left > width + kPixelsToSpare || *top > height + kPixelsToSpare || *right < -kPixelsToSpare ||
         *bottom < -kPixelsToSpare;
}

bool QC_RENDER::invisible(const QS_RENDER_STATE& state, const QS_VERTEX* v, uint32_t n) const {
  // Blended by its own alpha (over the picture or added to it), a draw whose every corner has
  // alpha 0 leaves every pixel as it was (a picture fading in starts so). A draw that also
  // writes the stencil or depth (a mask drawn unseen) changes what follows: it stays.
  if (_drawEverything || n == 0 || !writesOnlyColour(state)) return false;
  // How the device would blend it: its word applied over the current one.
  bool blending = _device->getRenderState(platform::RenderState::alphaBlendEnable) != 0;
  uint32_t destination = _device->getRenderState(platform::RenderState::destBlend);
  if (state != _currentState) {
    if (state._opaque && !_currentState._opaque) blending = false;
    else if (state._blend != _currentState._blend) blending = state._blend != 0;
    if (state._additive != _currentState._additive)
      destination = static_cast<uint32_t>(state._additive ? platform::Blend::one : platform::Blend::invSrcAlpha);
  }
  // Only the source's alpha as its weight and the picture's own as the rest (or the whole of
  // it) leave a pixel as it was under alpha 0.
  const auto source = static_cast<platform::Blend>(_device->getRenderState(platform::RenderState::srcBlend));
  const auto kept = static_cast<platform::Blend>(destination);
  if (!blending || source != platform::Blend::srcAlpha ||
      (kept != platform::Blend::invSrcAlpha && kept != platform::Blend::one))
    return false;
  for (uint32_t i = 0; i < n; ++i)
    if (v[i].color.a != 0) return false;
  return true;
}

int32_t QC_RENDER::batchStage(platform::Texture* device, bool large) {
  for (uint32_t stage = 0; stage < _batchStageCount; ++stage)
    if (_batchStages[stage] == device) return large && _batchStageCount > 1 ? -1 : static_cast<int32_t>(stage);
  const bool mixes = _batchStageCount > 0;
  if (_batchStageCount >= _device->textureStages() || (mixes && (large || _batchLarge))) return -1;
  _batchStages[_batchStageCount] = device;
  return static_cast<int32_t>(_batchStageCount++);
}

void QC_RENDER::leaveBatch(const platform::Texture* device) {
  bool sampled = false;
  for (uint32_t stage = 0; stage < _batchStageCount; ++stage) sampled = sampled || _batchStages[stage] == device;
  if (!sampled) return;
  fFlush();
  _batchStageCount = 0;
  _currentTexture = nullptr;
}

void QC_RENDER::rewindBatches() {
  _batchFirstVertex = 0;
  _batchFirstIndex = 0;
  _discardVertices = true;
  _discardIndices = true;
}

int32_t QC_RENDER::fClear() {
  if (!_device) return -1;
  if (_sceneState == 0) endFrameRecord();
  return static_cast<int32_t>(_device->clear(platform::kClearTarget | platform::kClearZBuffer,
                                             _clearColor.fToARGB(), 1.0f, 0));
}

int32_t QC_RENDER::fEndScene() {
  if (_sceneState != 0) return -1;
  finishFrameRecord();
  if (_batchVertices) fFlush();
  _device->endScene();
  _device->present();
  _sceneState = 1;
  if (_giveBackAtFrame != 0 && _frameNumber >= _giveBackAtFrame) {
    _giveBackAtFrame = 0;
    giveBackUnshownPictures();
  }
  if (_picturesMoved) {
    _picturesMoved = false;
    platform::returnFreedMemory();
  }
  return 0;
}

// ---- batching --------------------------------------------------------------------------------

void QC_RENDER::fDraw(const QS_VERTEX* vertices, QC_TEXTURE* texture, const QS_RENDER_STATE* state, int32_t count,
                      const uint16_t* indices, int32_t indexCount) {
  if (!state) return;
  ++_drawCalls;
  if (_drawWatcher && vertices != nullptr && count > 0) _drawWatcher(vertices, count, texture, _world);
  if (!_device || !_vertexBuffer || !_indexBuffer) return;
  if (count < 0 || indexCount < 0 || (count > 0 && !vertices) || (indexCount > 0 && !indices)) return;
  const uint32_t n = static_cast<uint32_t>(count);
  const uint32_t ni = static_cast<uint32_t>(indexCount);
  if (n > _vertexCapacity || ni > fIndexCapacity()) {
    // No batch can hold it: dropping the draw keeps the buffers intact.
    fLog("QC_RENDER::fDraw too many vertices or indices: ", count, " ", indexCount);
    return;
  }
  _worldVertices.resize(n);
  const float(&m)[4][4] = _world.m;
  for (uint32_t i = 0; i < n; ++i) {
    const QS_VERTEX& v = vertices[i];
    QS_VERTEX& out = _worldVertices[i];
    out = v;
    out.x = v.x * m[0][0] + v.y * m[1][0] + v.z * m[2][0] + m[3][0];
    out.y = v.x * m[0][1] + v.y * m[1][1] + v.z * m[2][1] + m[3][1];
    out.z = v.x * m[0][2] + v.y * m[1][2] + v.z * m[2][2] + m[3][2];
  }
  if (outsideTheBackBuffer(*state, _worldVertices.data(), n) || invisible(*state, _worldVertices.data(), n)) return;
  if (holdBackRepeat(texture, *state, _worldVertices.data(), n, indices, ni)) return;
  submitDraw(_worldVertices.data(), texture, state, n, indices, ni);
}

void QC_RENDER::submitDraw(const QS_VERTEX* vertices, QC_TEXTURE* texture, const QS_RENDER_STATE* state, uint32_t n,
                           const uint16_t* indices, uint32_t ni) {
  const bool textured = state->_textured != 0 && texture != nullptr;
  if (textured && texture->_place == QC_TEXTURE::qePLACE_WAITING) decodeWaitingPicture(texture, state, vertices, n);
  else if (textured && texture->_place == QC_TEXTURE::qePLACE_PART) wholePictureFor(texture, *state, vertices, n);
  if (textured) texture->_lastDrawn = _frameNumber;
  const bool pendingHost =
      textured && texture->_place != QC_TEXTURE::qePLACE_FIXED && settlePicture(texture, *state, vertices, n);
  // A large picture hosts only pictures drawn right after it: anything else settles it alone.
  if (_pendingHost && _pendingHost != texture) settlePendingHost();
  // Draws with the batch's word share it, whatever pictures they show, up to a texture for
  // each stage the device samples (pictures sharing a device texture take one stage); a large
  // draw only shares a batch of its own texture alone.
  const bool large = isLarge(vertices, n);
  int32_t stage = -1;
  if (*state == _currentState && _batchVertices + n <= _vertexCapacity && _batchIndices + ni <= fIndexCapacity())
    stage = _currentState._textured && texture ? batchStage(texture->_deviceTexture, large) : 0;
  if (stage < 0) {
    fFlush();
    fApplyState(state);
    _batchStageCount = 0;
    _batchLarge = false;
    stage = _currentState._textured && texture ? batchStage(texture->_deviceTexture, large) : 0;
  }
  _batchLarge = _batchLarge || large;
  _currentTexture = _currentState._textured && texture ? texture : nullptr;
  if (pendingHost) {
    _pendingHost = texture;
    _pendingHostFirst = _batchVertices;
  }
  // No room left behind the batch: it is drawn where it lies and the next one starts at the
  // beginning of freshly discarded buffers.
  if (_batchFirstVertex + _batchVertices + n > _vertexCapacity ||
      _batchFirstIndex + _batchIndices + ni > fIndexCapacity()) {
    fFlush();
    rewindBatches();
  }
  auto lockFlags = [](bool& discard) {
    const uint32_t flags = discard ? platform::kLockDiscard : platform::kLockNoOverwrite;
    discard = false;
    return flags;
  };
  if (n > 0) {
    void* data = nullptr;
    if (_vertexBuffer->lock((_batchFirstVertex + _batchVertices) * sizeof(QS_VERTEX), n * sizeof(QS_VERTEX), &data,
                            lockFlags(_discardVertices)) == platform::Result::ok &&
        data) {
      auto* out = static_cast<QS_VERTEX*>(data);
      std::memcpy(out, vertices, n * sizeof(QS_VERTEX));
      for (uint32_t i = 0; i < n; ++i) out[i].nz = static_cast<float>(stage);
      if (textured && (texture->_place == QC_TEXTURE::qePLACE_HOST || texture->_place == QC_TEXTURE::qePLACE_GUEST ||
                       texture->_place == QC_TEXTURE::qePLACE_PART)) {
        for (uint32_t i = 0; i < n; ++i) {
          out[i].u = vertices[i].u * texture->_uScale + texture->_uOffset;
          out[i].v = vertices[i].v * texture->_vScale + texture->_vOffset;
        }
      }
      _vertexBuffer->unlock();
    }
  }
  if (ni > 0) {
    void* data = nullptr;
    // Indices count from the batch's first vertex, which the draw passes as its base.
    if (_indexBuffer->lock((_batchFirstIndex + _batchIndices) * 2, ni * 2, &data, lockFlags(_discardIndices)) ==
            platform::Result::ok &&
        data) {
      auto* out = static_cast<uint16_t*>(data);
      for (uint32_t i = 0; i < ni; ++i) out[i] = static_cast<uint16_t>(indices[i] + _batchVertices);
      _indexBuffer->unlock();
    }
    _batchIndices += ni;
  }
  _batchVertices += n;
}

void QC_RENDER::fFlush() {
  // Whatever was asked for reaches the device, the draws held back included.
  if (_repeating) stopRepeating();
  settlePendingHost();
  if (_batchVertices == 0) return;
  ++_flushes;
  const uint32_t n = _batchIndices ? _batchIndices : _batchVertices;
  platform::PrimitiveType type = platform::PrimitiveType::triangleList;
  uint32_t primitives = 0;
  switch (_currentState._primitive) {
    case QS_RENDER_STATE::PRIMITIVE_POINTS:
    case QS_RENDER_STATE::PRIMITIVE_SPRITES: type = platform::PrimitiveType::pointList; primitives = n; break;
    case QS_RENDER_STATE::PRIMITIVE_LINES: type = platform::PrimitiveType::lineList; primitives = n / 2; break;
    case QS_RENDER_STATE::PRIMITIVE_TRIANGLES: type = platform::PrimitiveType::triangleList; primitives = n / 3; break;
    default: primitives = 0; break;
  }
  if (_device && primitives > 0) {
    _device->setSampledStages(_batchStageCount);
    if (_batchStageCount == 0) _device->setTexture(0, nullptr);
    for (uint32_t stage = 0; stage < _batchStageCount; ++stage) _device->setTexture(stage, _batchStages[stage]);
    _device->setStreamSource(0, _vertexBuffer, 0, sizeof(QS_VERTEX));
    _device->setFvf(platform::kFvfVertex);
    if (_batchIndices == 0) {
      _device->drawPrimitive(type, _batchFirstVertex, primitives);
    } else {
      _device->setIndices(_indexBuffer);
      _device->drawIndexedPrimitive(type, static_cast<int32_t>(_batchFirstVertex), 0, _batchVertices,
                                    _batchFirstIndex, primitives);
    }
  }
  _batchFirstVertex += _batchVertices;
  _batchFirstIndex += _batchIndices;
  _batchVertices = 0;
  _batchIndices = 0;
}

int32_t QC_RENDER::fApplyState(const QS_RENDER_STATE* state) {
  if (!state || *state == _currentState) return 0;
  ++_stateChanges;
  // What the word sets on the device is the word's: a frame that repeats the last one's words
  // sets the same again.
  makeOwnChanges([this, state] { applyWord(*state); });
  return 1;
}

void QC_RENDER::applyWord(const QS_RENDER_STATE& next) {
  const QS_RENDER_STATE current = _currentState;
  if (_device) {
    if (next._opaque && !current._opaque) {
      _device->setRenderState(platform::RenderState::alphaBlendEnable, 0);
    } else if (next._blend != current._blend) {
      _device->setRenderState(platform::RenderState::alphaBlendEnable, next._blend);
    }
    if (next._additive != current._additive)
      _device->setRenderState(platform::RenderState::destBlend,
                              static_cast<uint32_t>(next._additive ? platform::Blend::one : platform::Blend::invSrcAlpha));
    if (next._depth != current._depth) _device->setRenderState(platform::RenderState::zEnable, next._depth);
    if (next._filter != current._filter && next._filter <= QS_RENDER_STATE::FILTER_ANISOTROPIC) {
      _device->setSamplerState(0, platform::SamplerState::magFilter, next._filter);
      _device->setSamplerState(0, platform::SamplerState::minFilter, next._filter);
    }
    if (next._primitive != current._primitive) {
      if (next._primitive == QS_RENDER_STATE::PRIMITIVE_SPRITES) {
        _device->setRenderState(platform::RenderState::pointSpriteEnable, 1);
        _device->setRenderState(platform::RenderState::pointSizeMin, platform::floatBits(1.0f));
        _device->setRenderState(platform::RenderState::pointScaleA, platform::floatBits(0.0f));
        _device->setRenderState(platform::RenderState::pointScaleB, platform::floatBits(0.0f));
        _device->setRenderState(platform::RenderState::pointScaleC, platform::floatBits(1.0f));
      } else {
        _device->setRenderState(platform::RenderState::pointSpriteEnable, 0);
        _device->setRenderState(platform::RenderState::pointScaleEnable, 0);
      }
    }
  }
  // The space switch reads the word being applied, so it must be current first.
  _currentState.fSetWord(next.fGetWord() & 0xFFFFu);
  if (next._screen != current._screen) {
    if (next._screen) fSetScreenSpace();
    else fSetCameraSpace();
  }
}

void QC_RENDER::fSetWorldTransform(const QS_TRANSFORM3& t) {
  QS_MATRIX4 pivot, rotation, scaling, position;
  platform::matrixTranslation(pivot, -t._pivot.x, -t._pivot.y, t._pivot.z);
  platform::matrixRotationYawPitchRoll(rotation, t._rotation.y, t._rotation.x, t._rotation.z);
  platform::matrixScaling(scaling, t._scale.x, t._scale.y, t._scale.z);
  platform::matrixTranslation(position, t._position.x, t._position.y, t._position.z);
  platform::matrixMultiply(_world, pivot, rotation);
  platform::matrixMultiply(_world, _world, scaling);
  platform::matrixMultiply(_world, _world, position);
}

void QC_RENDER::fSetScreenSpace() {
  fFlush();
  if (!_device) return;
  _device->setTransform(platform::TransformKind::world, _screenWorld);
  _device->setTransform(platform::TransformKind::view, _view);
  _device->setTransform(platform::TransformKind::projection, _projection);
}

void QC_RENDER::fSetCameraSpace() {
  fFlush();
  if (!_device) return;
  _device->setTransform(platform::TransformKind::world, _cameraWorld);
  if (_camera && _sceneState != 2) _device->setTransform(platform::TransformKind::view, _camera->_view);
}

void QC_RENDER::restoreSpaceWorld() {
  if (!_device) return;
  _device->setTransform(platform::TransformKind::world, _currentState._screen ? _screenWorld : _cameraWorld);
}

// ---- points, debug shapes ------------------------------------------------------------------------

void QC_RENDER::fDrawPointList(const void* first, const void* (*next)(const void*), QC_TEXTURE* texture,
                               const QS_RENDER_STATE* state) {
  endFrameRecord();
  fFlush();
  if (!first || !next || !_device || !_pointBuffer) return;
  // A point sprite shows its whole texture: a shared picture needs its own.
  wholePicture(texture);
  if (texture && texture->_place != QC_TEXTURE::qePLACE_FIXED) {
    giveOwnTexture(texture);
    texture->_place = QC_TEXTURE::qePLACE_OWN;
  }
  fApplyState(state);
  _device->setTexture(0, (_currentState._textured && texture) ? texture->_deviceTexture : nullptr);
  _device->setFvf(platform::kFvfPoint);
  _device->setStreamSource(0, _pointBuffer, 0, sizeof(QS_POINT_VERTEX));

  auto lockChunk = [this](void** data) {
    if (_pointRing >= _pointCapacity) _pointRing = 0;
    const uint32_t flags = _pointRing == 0 ? platform::kLockDiscard : platform::kLockNoOverwrite;
    if (_pointBuffer->lock(_pointRing * sizeof(QS_POINT_VERTEX), kPointChunk * sizeof(QS_POINT_VERTEX), data, flags) !=
        platform::Result::ok)
      *data = nullptr;
  };
  void* data = nullptr;
  lockChunk(&data);
  uint32_t copied = 0;
  for (const void* p = first; p; p = next(p)) {
    if (data) std::memcpy(static_cast<uint8_t*>(data) + copied * sizeof(QS_POINT_VERTEX), p, sizeof(QS_POINT_VERTEX));
    if (++copied == kPointChunk) {
      _pointBuffer->unlock();
      _device->drawPrimitive(platform::PrimitiveType::pointList, _pointRing, kPointChunk);
      _pointRing += kPointChunk;
      if (_pointRing >= _pointCapacity) _pointRing = 0;
      copied = 0;
      lockChunk(&data);
    }
  }
  _pointBuffer->unlock();
  if (copied > 0) _device->drawPrimitive(platform::PrimitiveType::pointList, _pointRing, copied);
  _pointRing += kPointChunk;
  // The next draw starts a batch of its own.
  _device->setSampledStages(1);
  _batchStageCount = 0;
  _currentTexture = nullptr;
}

void QC_RENDER::fDrawSquare(int32_t x, int32_t y, uint32_t color, float side) {
  _world.fIdentity();
  QS_VERTEX v[4];
  const float fx = static_cast<float>(x), fy = static_cast<float>(y);
  const float corners[4][2] = {{fx, fy}, {fx + side, fy}, {fx + side, fy + side}, {fx, fy + side}};
  for (int i = 0; i < 4; ++i) {
    v[i].fSetPosition(corners[i][0], corners[i][1], 1.0f);
    v[i].nx = v[i].ny = v[i].nz = 0.0f;
    v[i].fSetColor(color);
    v[i].fSetUV(0.0f, 0.0f);
  }
  static const uint16_t indices[6] = {0, 1, 2, 2, 3, 0};
  QS_RENDER_STATE state;
  state._primitive = QS_RENDER_STATE::PRIMITIVE_TRIANGLES;
  state._screen = 1;
  fDraw(v, nullptr, &state, 4, indices, 6);
}

void QC_RENDER::fDrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t color) {
  drawLine(static_cast<float>(x1), static_cast<float>(y1), 1.0f, static_cast<float>(x2), static_cast<float>(y2),
           1.0f, color, true);
}

void QC_RENDER::fDrawLine3D(float x1, float y1, float z1, float x2, float y2, float z2, uint32_t color) {
  drawLine(x1, y1, z1, x2, y2, z2, color, false);
}

void QC_RENDER::drawLine(float x1, float y1, float z1, float x2, float y2, float z2, uint32_t color, bool screen) {
  _world.fIdentity();
  QS_VERTEX v[2];
  v[0].fSetPosition(x1, y1, z1);
  v[1].fSetPosition(x2, y2, z2);
  for (QS_VERTEX& p : v) {
    p.nx = p.ny = p.nz = 0.0f;
    p.fSetColor(color);
    p.fSetUV(0.0f, 0.0f);
  }
  static const uint16_t indices[2] = {0, 1};
  QS_RENDER_STATE state;
  state._primitive = QS_RENDER_STATE::PRIMITIVE_LINES;
  state._screen = screen ? 1 : 0;
  fDraw(v, nullptr, &state, 2, indices, 2);
}

// ---- camera -------------------------------------------------------------------------------------------

QC_CAMERA* QC_RENDER::fCreateCamera(int32_t width, int32_t height) {
  if (width == 0 || height == 0) {
    width = static_cast<int32_t>(_presentParameters.backBufferWidth);
    height = static_cast<int32_t>(_presentParameters.backBufferHeight);
  }
  auto* camera = new QC_CAMERA(_device.get(), static_cast<float>(width), static_cast<float>(height));
  // The new camera set its view on the device; the space in use keeps its own.
  if (_device && _sceneState != 2) {
    const bool cameraView = _camera && !_currentState._screen;
    _device->setTransform(platform::TransformKind::view, cameraView ? static_cast<const float*>(_camera->_view)
                                                                    : static_cast<const float*>(_view));
  }
  return camera;
}

void QC_RENDER::fSetCamera(QC_CAMERA* camera) {
  fFlush();
  _camera = camera;
  if (_camera && _device) _device->setTransform(platform::TransformKind::view, _camera->_view);
}

void QC_RENDER::fMultiplyCameraWorld(const QS_TRANSFORM3& t) {
  QS_MATRIX4 pivot, rotation, position, scaling;
  platform::matrixTranslation(pivot, -t._pivot.x, t._pivot.y, t._pivot.z);
  platform::matrixRotationYawPitchRoll(rotation, t._rotation.y, t._rotation.x, t._rotation.z);
  platform::matrixTranslation(position, t._position.x, -t._position.y, t._position.z);
  platform::matrixScaling(scaling, t._scale.x, t._scale.y, t._scale.z);
  fFlush();
  platform::matrixMultiply(_cameraWorld, _cameraWorld, pivot);
  platform::matrixMultiply(_cameraWorld, _cameraWorld, rotation);
  platform::matrixMultiply(_cameraWorld, _cameraWorld, position);
  platform::matrixMultiply(_cameraWorld, _cameraWorld, scaling);
  if (_device) _device->setTransform(platform::TransformKind::world, _cameraWorld);
}

// ---- render targets ------------------------------------------------------------------------------------

QS_RENDER_TARGET* QC_RENDER::fCreateTarget(int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) return nullptr;
  auto* target = new QS_RENDER_TARGET();
  target->_width = width;
  target->_height = height;
  if (_device) {
    _device->createTexture(static_cast<uint32_t>(width), static_cast<uint32_t>(height), 1,
                           platform::kUsageRenderTarget, platform::kFormatA8R8G8B8, platform::Pool::defaultPool,
                           &target->_texture);
    if (target->_texture) target->_texture->getSurfaceLevel(0, &target->_surface);
  }
  const float w = static_cast<float>(width), h = static_cast<float>(height);
  const float d = (h / 2.0f) / std::tan(QC_PI / 8.0f);
  target->_projection = new QS_MATRIX4();
  platform::matrixPerspectiveFovLH(*target->_projection, QC_PI / 4.0f, w / h, _zNear, _zFar);
  target->_view = new QS_MATRIX4();
  platform::matrixLookAtLH(*target->_view, {w / 2.0f, -h / 2.0f, -d}, {w / 2.0f, -h / 2.0f, 0.0f}, {0.0f, 1.0f, 0.0f});
  target->_id = _nextTargetId++;
  _targets[static_cast<uint16_t>(target->_id)] = target;
  return target;
}

void QC_RENDER::fReleaseTarget(QS_RENDER_TARGET* target) {
  if (!target) return;
  _targets.erase(static_cast<uint16_t>(target->_id));
  if (target->_surface) target->_surface->release();
  if (target->_texture) target->_texture->release();
  delete target->_view;
  delete target->_projection;
  delete target;
}

int32_t QC_RENDER::fBeginTarget(QS_RENDER_TARGET* target) {
  if (_sceneState != 1 || !target || !target->_surface || !_device) return -1;
  _device->setRenderTarget(0, target->_surface);
  _device->setTransform(platform::TransformKind::projection, *target->_projection);
  _device->setTransform(platform::TransformKind::view, *target->_view);
  QS_MATRIX4 identity;
  _device->setTransform(platform::TransformKind::world, identity);
  if (_device->beginScene() != platform::Result::ok) {
    fLog("ERROR BeginTarget");
    return 0;
  }
  if (_device->clear(platform::kClearTarget | platform::kClearZBuffer, 0x00000000u, 1.0f, 0) != platform::Result::ok)
    return -1;
  _sceneState = 2;
  return 1;
}

int32_t QC_RENDER::fEndTarget() {
  if (_sceneState != 2) return -1;
  fFlush();
  if (_backBufferSurface) _device->setRenderTarget(0, _backBufferSurface);
  _device->setTransform(platform::TransformKind::projection, _projection);
  _device->setTransform(platform::TransformKind::view,
                        _camera ? static_cast<const float*>(_camera->_view) : static_cast<const float*>(_view));
  // The target drew with an identity world; later frames must get their space's world back.
  restoreSpaceWorld();
  _device->endScene();
  _sceneState = 1;
  return 0;
}

// ---- stencil mask ----------------------------------------------------------------------------------------

void QC_RENDER::fBeginStencilMask() {
  // What was asked for before the mask is drawn without it.
  fFlush();
  if (!_device) return;
  _device->clear(platform::kClearStencil, 0xFFFFFFFFu, 1.0f, 0);
  _device->setRenderState(platform::RenderState::stencilEnable, 1);
  _stencilRef = 0xFF;
  _device->setRenderState(platform::RenderState::stencilFunc, static_cast<uint32_t>(platform::Compare::always));
  _device->setRenderState(platform::RenderState::stencilRef, _stencilRef);
  _device->setRenderState(platform::RenderState::stencilPass, static_cast<uint32_t>(platform::StencilOp::replace));
}

void QC_RENDER::fUseStencilMask() {
  fFlush();
  if (!_device) return;
  --_stencilRef;
  _device->setRenderState(platform::RenderState::stencilFunc, static_cast<uint32_t>(platform::Compare::less));
  _device->setRenderState(platform::RenderState::stencilRef, _stencilRef);
  --_stencilRef;
  _device->setRenderState(platform::RenderState::stencilFail, static_cast<uint32_t>(platform::StencilOp::replace));
}

void QC_RENDER::fEndStencilMask() {
  fFlush();
  if (!_device) return;
  _device->setRenderState(platform::RenderState::stencilEnable, 0);
}

}  // namespace QEL
