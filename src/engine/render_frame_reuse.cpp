// Frames that repeat the last one. Most frames of the game draw what the frame before drew:
// a menu at rest, a level behind an open window, the table while only a card flies over it.
// Every draw of a frame into the back buffer is recorded (in world space) until the frame
// first draws otherwise (points, stencil, camera space, depth tests) or the device changes
// anything that can change the picture; while a frame's draws repeat the last frame's one for
// one, they are held back. Where the repetition ends, the draws held back are shown: from a
// kept copy of the back buffer as far as it reaches, the rest drawn as usual. When two frames
// in a row repeat the same number of first draws, the back buffer after them is copied and
// kept for the next frames. The copy holds exactly the pixels those draws left, so the frame
// looks the same as when drawn in full.
//
// Whether anything changed is the device's to say, not the callers': every texture write,
// target switch, state and transform, and every move of the back buffer passes through it and
// is counted there (platform::Device::screenChanges). A frame is compared with the last one
// only when that count has not moved since the last one began.
#include <cstring>

#include "engine/render.h"
#include "engine/texture.h"

namespace QEL {

void QS_FRAME_RECORD::clear() {
  draws.clear();
  vertices.clear();
  indices.clear();
}

void QS_FRAME_RECORD::add(QC_TEXTURE* texture, uint32_t state, const QS_VERTEX* v, uint32_t n, const uint16_t* idx,
                          uint32_t ni) {
  draws.push_back({texture, texture ? texture->_identity : 0, state, static_cast<uint32_t>(vertices.size()), n,
                   static_cast<uint32_t>(indices.size()), ni});
  vertices.insert(vertices.end(), v, v + n);
  indices.insert(indices.end(), idx, idx + ni);
}

bool QS_FRAME_RECORD::same(size_t i, QC_TEXTURE* texture, uint32_t state, const QS_VERTEX* v, uint32_t n,
                           const uint16_t* idx, uint32_t ni) const {
  if (i >= draws.size()) return false;
  const DRAW& d = draws[i];
  return d.textureIdentity == (texture ? texture->_identity : 0) && d.state == state && d.vertexCount == n && d.indexCount == ni &&
         std::memcmp(vertices.data() + d.firstVertex, v, n * sizeof(QS_VERTEX)) == 0 &&
         (ni == 0 || std::memcmp(indices.data() + d.firstIndex, idx, ni * sizeof(uint16_t)) == 0);
}

void QC_RENDER::fSetDrawEverything(bool everything) {
  _drawEverything = everything;
  if (everything) {
    releaseKeptPicture();
    // Every draw is drawn as asked, from whole pictures.
    std::vector<QC_TEXTURE*> parts;
    for (const auto& [device, texture] : _liveTextures)
      if (texture->_place == QC_TEXTURE::qePLACE_PART) parts.push_back(texture);
    for (QC_TEXTURE* texture : parts) giveBack(texture);
    _lastFrame.clear();
  }
}

uint64_t QC_RENDER::screenChanges() const { return _device ? _device->screenChanges() - _ownScreenChanges : 0; }

void QC_RENDER::beforeScreenChange() {
  if (!_makingOwnChanges) endFrameRecord();
}

bool QC_RENDER::writesOnlyColour(const QS_RENDER_STATE& state) const {
  if (_sceneState != 0 || !_device) return false;
  if (_device->getRenderState(platform::RenderState::stencilEnable) != 0) return false;
  // The depth test as the device will have it once the word is applied.
  const bool depth = state._depth != _currentState._depth
                         ? state._depth != 0
                         : _device->getRenderState(platform::RenderState::zEnable) != 0;
  return !depth;
}

void QC_RENDER::startFrameRecord() {
  _thisFrame.clear();
  _thisFrame.clearColor = _clearColor.fToARGB();
  _thisFrame.screenChanges = screenChanges();
  _recording = !_drawEverything;
  _repeated = 0;
  if (_keptDraws > 0 && _keptScreenChanges != _thisFrame.screenChanges) dropKeptPicture();
  _repeating = _recording && !_lastFrame.draws.empty() && _lastFrame.screenChanges == _thisFrame.screenChanges &&
               _lastFrame.clearColor == _thisFrame.clearColor;
  if (!_repeating) dropKeptPicture();
}

bool QC_RENDER::holdBackRepeat(QC_TEXTURE* texture, const QS_RENDER_STATE& state, const QS_VERTEX* v, uint32_t n,
                               const uint16_t* idx, uint32_t ni) {
  if (!_recording) return false;
  // Only plain drawing into the back buffer leaves nothing but its pixels; a camera moves
  // without the renderer knowing (without one, camera space is the screen's view).
  if (!writesOnlyColour(state) || (!state._screen && _camera)) {
    endFrameRecord();
    return false;
  }
  const uint32_t word = state.fGetWord();
  _thisFrame.add(texture, word, v, n, idx, ni);
  if (!_repeating) return false;
  if (_lastFrame.same(_repeated, texture, word, v, n, idx, ni)) {
    ++_repeated;
    return true;
  }
  stopRepeating();
  return false;
}

void QC_RENDER::stopRepeating() {
  if (!_repeating) return;
  _repeating = false;
  const size_t run = _repeated;
  size_t from = 0;
  if (_keptDraws > 0 && _keptDraws <= run && _backBufferSurface &&
      _device->copyTextureToSurface(_keptPicture, _backBufferSurface) == platform::Result::ok) {
    from = _keptDraws;
    _drawsShownKept = static_cast<uint32_t>(_keptDraws);
  } else {
    dropKeptPicture();
  }
  for (size_t i = from; i < run; ++i) {
    const QS_FRAME_RECORD::DRAW& d = _lastFrame.draws[i];
    const QS_RENDER_STATE state(d.state);
    submitDraw(_lastFrame.vertices.data() + d.firstVertex, d.texture, &state, d.vertexCount,
               _lastFrame.indices.data() + d.firstIndex, d.indexCount);
  }
  // A whole frame repeated, or two frames in a row with these first draws in common: the
  // next ones may well repeat them too.
  if (run > from && (run == _lastRun || run == _lastFrame.draws.size())) keepPicture(run);
  _lastRun = run;
}

void QC_RENDER::endFrameRecord() {
  if (!_recording) return;
  const bool wasRepeating = _repeating;
  stopRepeating();
  _recording = false;
  // What comes next may draw with other device states: the draws shown go first.
  if (wasRepeating) fFlush();
}

void QC_RENDER::finishFrameRecord() {
  const bool recorded = _recording;
  endFrameRecord();
  if (!recorded) {
    _lastFrame.clear();
    return;
  }
  std::swap(_lastFrame, _thisFrame);
}

void QC_RENDER::keepPicture(size_t draws) {
  if (!_device || !_backBufferSurface) return;
  fFlush();
  const uint32_t width = _backBufferSurface->width(), height = _backBufferSurface->height();
  if (_keptPicture && (_keptPicture->width() != width || _keptPicture->height() != height)) releaseKeptPicture();
  if (!_keptPicture && (_device->createTexture(width, height, 1, 0, platform::kFormatA8R8G8B8,
                                               platform::Pool::managed, &_keptPicture) != platform::Result::ok ||
                        !_keptPicture)) {
    _keptPicture = nullptr;
    return;
  }
  // The kept picture is never drawn from: copying into it changes no picture a draw shows.
  platform::Result copied = platform::Result::invalidCall;
  makeOwnChanges([&] { copied = _device->copySurfaceToTexture(_backBufferSurface, _keptPicture); });
  if (copied != platform::Result::ok) {
    releaseKeptPicture();
    return;
  }
  _keptDraws = draws;
  _keptScreenChanges = screenChanges();
}

void QC_RENDER::dropKeptPicture() { _keptDraws = 0; }

void QC_RENDER::releaseKeptPicture() {
  if (_keptPicture) _keptPicture->release();
  _keptPicture = nullptr;
  _keptDraws = 0;
}

}  // namespace QEL
