#include "primitives/sprite.h"

#include "engine/render.h"
#include "engine/texture.h"

namespace QEL {
namespace {

// Two triangles over vertices 0-1-2-3, shared by every sprite for the whole run.
uint16_t gQuadIndices[6] = {0, 1, 2, 0, 2, 3};

}  // namespace

QC_SPRITE::QC_SPRITE(QC_TEXTURE* texture, QS_TRANSFORM3* node) { fInit(texture, node); }

QC_SPRITE::QC_SPRITE(const char* path, QS_TRANSFORM3* node) {
  QC_TEXTURE* texture =
      qcRENDER_INSTANCE != nullptr && path != nullptr ? qcRENDER_INSTANCE->fLoadTexture(path) : nullptr;
  fInit(texture, node);
}

void QC_SPRITE::fInit(QC_TEXTURE* texture, QS_TRANSFORM3* node) {
  _vertexArray = QS_VERTEX_ARRAY();
  _renderState.fReset();
  fSetTexture(texture);
  if (node == nullptr) {
    _node = new QS_TRANSFORM3;
    _ownsNode = 1;
    _node->_pivot.x = 0.5f * static_cast<float>(_width);
    _node->_pivot.y = 0.5f * static_cast<float>(_height);
  } else {
    _node = node;
  }
  _renderState._blend = 1;
  _renderState._filter = QS_RENDER_STATE::FILTER_ANISOTROPIC;
  _renderState._textured = 1;
  _renderState._primitive = QS_RENDER_STATE::PRIMITIVE_TRIANGLES;
}

QC_SPRITE::~QC_SPRITE() {
  delete[] _vertices;
  if (_ownsNode != 0) delete _node;
}

void QC_SPRITE::fSetTexture(QC_TEXTURE* texture) {
  _texture = texture;
  if (texture != nullptr) {
    const QS_POINT size = texture->fGetSize();
    _width = size.x;
    _height = size.y;
  } else {
    _width = 0;
    _height = 0;
  }
  delete[] _vertices;
  _vertices = new QS_VERTEX[4]();
  const float w = static_cast<float>(_width);
  const float h = static_cast<float>(_height);
  _vertices[0].fSetPosition(0.0f, 0.0f, 0.0f);
  _vertices[1].fSetPosition(w, 0.0f, 0.0f);
  _vertices[2].fSetPosition(w, h, 0.0f);
  _vertices[3].fSetPosition(0.0f, h, 0.0f);
  for (int i = 0; i < 4; ++i) _vertices[i].fSetColor(0xFFFFFFFFu);
  _vertexArray.fSetVertices(_vertices, 4);
  _vertexArray.fSetIndices(gQuadIndices, 6);
  fSetUV(0.0f, 0.0f, 1.0f, 1.0f);
}

void QC_SPRITE::fSetSize(int32_t w, int32_t h) {
  _vertices[1].x = _vertices[0].x + static_cast<float>(w);
  _vertices[2].x = _vertices[0].x + static_cast<float>(w);
  _vertices[2].y = _vertices[0].y + static_cast<float>(h);
  _vertices[3].y = _vertices[0].y + static_cast<float>(h);
}

void QC_SPRITE::fSetFrame(int32_t cols, int32_t rows, int32_t f) {
  if (cols < 1 || rows < 1) return;  // no grid to cut
  const float colWidth = 1.0f / static_cast<float>(cols);
  const float rowHeight = 1.0f / static_cast<float>(rows);
  const float left = static_cast<float>(f % cols) * colWidth;
  const float top = static_cast<float>(f / cols) * rowHeight;
  fSetUV(left, top, left + colWidth, top + rowHeight);
}

void QC_SPRITE::fSetUV(float left, float top, float right, float bottom) {
  _vertices[0].fSetUV(left, top);
  _vertices[1].fSetUV(right, top);
  _vertices[2].fSetUV(right, bottom);
  _vertices[3].fSetUV(left, bottom);
}

void QC_SPRITE::fSetUVPixels(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  if (_texture == nullptr) return;
  const QS_POINT size = _texture->fGetSize();
  if (size.x <= 0 || size.y <= 0) return;
  const float w = static_cast<float>(size.x);
  const float h = static_cast<float>(size.y);
  fSetUV(static_cast<float>(left) / w, static_cast<float>(top) / h, static_cast<float>(right) / w,
         static_cast<float>(bottom) / h);
}

void QC_SPRITE::fFitUV() {
  if (_texture == nullptr) return;
  const QS_POINT size = _texture->fGetSize();
  if (size.x <= 0 || size.y <= 0) return;
  const float right = static_cast<float>(static_cast<int32_t>(_vertices[1].x - _vertices[0].x)) / static_cast<float>(size.x);
  const float bottom = static_cast<float>(static_cast<int32_t>(_vertices[3].y - _vertices[0].y)) / static_cast<float>(size.y);
  fSetUV(0.0f, 0.0f, right, bottom);
}

void QC_SPRITE::fSetAnchor(int32_t mode, float x, float y) {
  if (_node == nullptr || mode < 0 || mode > 8) return;
  const float w = _vertices[1].x - _vertices[0].x;
  const float h = _vertices[3].y - _vertices[0].y;
  const float right = _vertices[1].x;
  const float bottom = _vertices[3].y;
  float px = x;
  float py = y;
  switch (mode) {
    case 0: px = x + 0.5f * w; py = y + 0.5f * h; break;
    case 1: break;
    case 2: px = x + w; break;
    case 3: py = y + h; break;
    case 4: px = x + right; py = y + bottom; break;
    case 5: px = x + 0.5f * w; break;
    case 6: px = x + 0.5f * w; py = y + bottom; break;
    case 7: py = y + 0.5f * h; break;
    case 8: px = x + right; py = y + 0.5f * h; break;
  }
  _node->_pivot.x = px;
  _node->_pivot.y = py;
}

void QC_SPRITE::fSetAnchorBySize(int32_t mode, float x, float y) {
  if (_node == nullptr || mode < 0 || mode > 8) return;
  const float w = static_cast<float>(_width);
  const float h = static_cast<float>(_height);
  const float halfW = static_cast<float>(_width / 2);
  const float halfH = static_cast<float>(_height / 2);
  float px = x;
  float py = y;
  switch (mode) {
    case 0: px = x + halfW; py = y + halfH; break;
    case 1: break;
    case 2: px = x + w; break;
    case 3: py = y + h; break;
    case 4: px = x + w; py = y + h; break;
    case 5: px = x + halfW; break;
    case 6: px = x + halfW; py = y + h; break;
    case 7: py = y + halfH; break;
    case 8: px = x + w; py = y + halfH; break;
  }
  _node->_pivot.x = px;
  _node->_pivot.y = py;
}

void QC_SPRITE::fSetCornerColors(uint32_t c0, uint32_t c1, uint32_t c2, uint32_t c3) {
  _vertices[0].fSetColor(c0);
  _vertices[1].fSetColor(c1);
  _vertices[2].fSetColor(c2);
  _vertices[3].fSetColor(c3);
}

uint32_t QC_SPRITE::fGetVertexColor(int32_t i) const {
  if (i < 0 || i > 3) return 0;
  return _vertices[i].color.fToARGB();
}

void QC_SPRITE::fDrawWorld() {
  if (_node == nullptr || qcRENDER_INSTANCE == nullptr) return;
  const QS_TRANSFORM3 world = _node->fGetWorld(false, false, false);
  qcRENDER_INSTANCE->fSetWorldTransform(world);
  fDrawRaw();
}

void QC_SPRITE::fDrawRegion(float x, float y, float left, float top, float right, float bottom, int32_t w,
                            int32_t h) {
  if (_node == nullptr) return;
  _node->_position.x = x;
  _node->_position.y = y;
  fSetUV(left, top, right, bottom);
  fSetSize(w, h);
  fDrawWorld();
}

void QC_SPRITE::fDrawQuad(float x0, float y0, float u0, float v0, uint32_t c0, float x1, float y1, float u1,
                          float v1, uint32_t c1, float x2, float y2, float u2, float v2, uint32_t c2, float x3,
                          float y3, float u3, float v3, uint32_t c3) {
  const float xs[4] = {x0, x1, x2, x3};
  const float ys[4] = {y0, y1, y2, y3};
  const float us[4] = {u0, u1, u2, u3};
  const float vs[4] = {v0, v1, v2, v3};
  const uint32_t cs[4] = {c0, c1, c2, c3};
  for (int i = 0; i < 4; ++i) {
    _vertices[i].x = xs[i];
    _vertices[i].y = ys[i];
    _vertices[i].fSetUV(us[i], vs[i]);
    _vertices[i].fSetColor(cs[i]);
  }
  QC_MESH::fDraw();
}

}  // namespace QEL
