#include "primitives/mesh.h"

#include "engine/log.h"
#include "engine/render.h"

namespace QEL {

QC_MESH::QC_MESH(int32_t count, QC_TEXTURE* texture, QS_TRANSFORM3* node, uint16_t* indices, int32_t indexCount)
    : _texture(texture), _node(node) {
  if (count > 0) {
    _ownedVertices = new QS_VERTEX[count]();
    _vertexArray.fSetVertices(_ownedVertices, count);
  }
  _vertexArray.fSetIndices(indices, indexCount);
}

QC_MESH::QC_MESH(QS_VERTEX* vertices, int32_t count, QC_TEXTURE* texture, QS_TRANSFORM3* node, uint16_t* indices,
                 int32_t indexCount)
    : _vertexArray(vertices, count, indices, indexCount), _texture(texture), _node(node) {}

QC_MESH::~QC_MESH() { delete[] _ownedVertices; }

void QC_MESH::fSetNode(QS_TRANSFORM3* node) {
  if (node != nullptr) _node = node;
}

QS_TRANSFORM3* QC_MESH::fSwapNode(QS_TRANSFORM3* node) {
  QS_TRANSFORM3* previous = _node;
  _node = node;
  return previous;
}

void QC_MESH::fSetTransform(const QS_TRANSFORM3& transform) {
  // A node made here has no owner to free it; meshes made by the system always have one.
  if (_node == nullptr) _node = new QS_TRANSFORM3;
  _node->_pivot = transform._pivot;
  _node->_rotation = transform._rotation;
  _node->_scale = transform._scale;
  _node->_position = transform._position;
}

void QC_MESH::fSetPosition(float x, float y, float z) {
  if (_node != nullptr) _node->fSetPosition(x, y, z);
}

void QC_MESH::fSetScale(float x, float y, float z) {
  if (_node != nullptr) _node->fSetScale(x, y == 0.0f ? x : y, z);
}

void QC_MESH::fSetRotationZ(float angle) {
  if (_node != nullptr) _node->fSetRotationZ(angle);
}

void QC_MESH::fSetColor(uint32_t argb) { _vertexArray.fSetColor(argb); }

void QC_MESH::fSetColor(const QS_COLOR* color) {
  if (color != nullptr) _vertexArray.fSetColor(color->fToARGB());
}

void QC_MESH::fSetVertexColor(uint32_t argb, int32_t index) {
  QS_VERTEX* vertex = _vertexArray.fGetVertex(index);
  if (vertex != nullptr) vertex->fSetColor(argb);
}

void QC_MESH::fDraw() {
  if (qcRENDER_INSTANCE == nullptr) return;
  if (_node != nullptr) qcRENDER_INSTANCE->fSetWorldTransform(*_node);
  fDrawRaw();
}

void QC_MESH::fDrawRaw() {
  if (qcRENDER_INSTANCE == nullptr) return;
  qcRENDER_INSTANCE->fDraw(_vertexArray._vertices, _texture, &_renderState, _vertexArray._vertexCount,
                           _vertexArray._indices, _vertexArray._indexCount);
}

void QC_MESH::fDrawAt(float x, float y, float angle, float sx, float sy) {
  if (_node == nullptr) return;
  const float savedX = _node->_position.x;
  const float savedY = _node->_position.y;
  const QS_VECTOR3 savedRotation = _node->_rotation;
  const float savedScaleX = _node->_scale.x;
  const float savedScaleY = _node->_scale.y;
  _node->fSetPosition(x, y, 0.0f);
  _node->fSetRotation(0.0f, 0.0f, angle);
  _node->fSetScale(sx, sy == 0.0f ? sx : sy, 1.0f);
  fDraw();
  _node->fSetPosition(savedX, savedY, 0.0f);
  _node->_rotation = savedRotation;
  _node->fSetScale(savedScaleX, savedScaleY, 1.0f);
}

}  // namespace QEL
