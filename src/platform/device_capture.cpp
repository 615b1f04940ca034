// The device's benchmark hooks: the triangles a frame draws into the back buffer, moved to
// back-buffer pixels on the processor, and the processor time spent in draw calls. Nothing
// here runs unless a capture list or a time sum is set.
#include <time.h>

#include <cstring>

#include "platform/device.h"
#include "platform/device_internal.h"

namespace platform {

namespace {

double threadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

}  // namespace

ThreadTimeSpan::ThreadTimeSpan(double* sum) : _sum(sum) {
  if (_sum) _start = threadSeconds();
}

ThreadTimeSpan::~ThreadTimeSpan() {
  if (_sum) *_sum += threadSeconds() - _start;
}

void Device::captureTriangles(uint32_t first, uint32_t count, bool indexed, uint32_t startIndex,
                              int32_t baseVertex) {
  if (!_capture || !_stream || _target != _backSurface) return;
  float wv[16], m[16];
  auto multiply = [](float* out, const float* a, const float* b) {
    for (int r = 0; r < 4; ++r)
      for (int c = 0; c < 4; ++c) {
        float sum = 0.0f;
        for (int k = 0; k < 4; ++k) sum += a[r * 4 + k] * b[k * 4 + c];
        out[r * 4 + c] = sum;
      }
  };
  multiply(wv, _world, _view);
  multiply(m, wv, _projection);
  // One run per stage sampled: a draw's triangles may sample several.
  CapturedRun run;
  auto startRun = [&](uint32_t stage) {
    run = CapturedRun();
    run.firstVertex = static_cast<uint32_t>(_capture->vertices.size());
    Texture* texture = stage < kTextureStages ? _textures[stage] : nullptr;
    const void* sampled = texture && texture->_name ? static_cast<const void*>(texture) : nullptr;
    while (run.texture < _capture->textures.size() && _capture->textures[run.texture] != sampled) ++run.texture;
    if (run.texture == _capture->textures.size()) _capture->textures.push_back(sampled);
    if (sampled) {
      run.textureWidth = texture->_width;
      run.textureHeight = texture->_height;
    }
  };
  const uint32_t filter = _samplerStates[static_cast<uint32_t>(SamplerState::minFilter)];
  const uint32_t linear = filter >= static_cast<uint32_t>(TextureFilter::linear) ? 1u : 0u;
  uint32_t blend = 0;
  if (_renderStates[static_cast<uint32_t>(RenderState::alphaBlendEnable)]) {
    blend = _renderStates[static_cast<uint32_t>(RenderState::destBlend)] == static_cast<uint32_t>(Blend::one) ? 2u : 1u;
  }
  uint32_t stage = 0;
  startRun(stage);
  auto endRun = [&] {
    run.linear = linear;
    run.blend = blend;
    run.vertexCount = static_cast<uint32_t>(_capture->vertices.size()) - run.firstVertex;
    if (run.vertexCount > 0) _capture->runs.push_back(run);
  };
  const uint8_t* bytes = _stream->_bytes.data();
  const uint32_t colourOffset = 12 + ((_fvf & kFvfNormal) ? 12 : 0) + ((_fvf & kFvfPointSize) ? 4 : 0);
  const uint32_t uvOffset = colourOffset + ((_fvf & kFvfDiffuse) ? 4 : 0);
  for (uint32_t i = 0; i < count; ++i) {
    int64_t index = static_cast<int64_t>(first) + i;
    if (indexed) {
      uint16_t stored = 0;
      std::memcpy(&stored, _indices->_bytes.data() + (static_cast<size_t>(startIndex) + i) * 2, 2);
      index = static_cast<int64_t>(stored) + baseVertex;
    }
    const uint64_t at = _streamOffset + static_cast<uint64_t>(index) * _streamStride;
    if (index < 0 || at + uvOffset + ((_fvf & kFvfTex1) ? 8 : 0) > _stream->_bytes.size()) break;
    float p[3] = {0, 0, 0};
    std::memcpy(p, bytes + at, sizeof p);
    if (i % 3 == 0 && (_fvf & kFvfNormal)) {
      float named = 0.0f;
      std::memcpy(&named, bytes + at + 20, sizeof named);
      const uint32_t next = static_cast<uint32_t>(named + 0.5f);
      if (next != stage) {
        endRun();
        stage = next;
        startRun(stage);
      }
    }
    float clip[4];
    for (int c = 0; c < 4; ++c) clip[c] = p[0] * m[c] + p[1] * m[4 + c] + p[2] * m[8 + c] + m[12 + c];
    if (clip[3] == 0.0f) clip[3] = 1.0f;
    CapturedVertex v{};
    v.x = (clip[0] / clip[3] + 1.0f) * 0.5f * static_cast<float>(_backWidth);
    v.y = (1.0f - clip[1] / clip[3]) * 0.5f * static_cast<float>(_backHeight);
    v.color = 0xFFFFFFFFu;
    if (_fvf & kFvfDiffuse) std::memcpy(&v.color, bytes + at + colourOffset, 4);
    if (_fvf & kFvfTex1) {
      std::memcpy(&v.u, bytes + at + uvOffset, 4);
      std::memcpy(&v.v, bytes + at + uvOffset + 4, 4);
    }
    _capture->vertices.push_back(v);
  }
  endRun();
}

}  // namespace platform
