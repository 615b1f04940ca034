#include "engine/vertex.h"

#include <cmath>
#include <cstring>

namespace QEL {

void QS_VERTEX::fTransform(const QS_MATRIX4& m) {
  const float px = x, py = y, pz = z;
  x = px * m.m[0][0] + py * m.m[1][0] + pz * m.m[2][0] + m.m[3][0];
  y = px * m.m[0][1] + py * m.m[1][1] + pz * m.m[2][1] + m.m[3][1];
  z = px * m.m[0][2] + py * m.m[1][2] + pz * m.m[2][2] + m.m[3][2];
}

QS_VERTEX_ARRAY::QS_VERTEX_ARRAY(const QS_VERTEX_ARRAY& other)
    : _vertexCount(other._vertexCount), _indexCount(other._indexCount) {
  if (other._vertices && other._vertexCount > 0) {
    _vertices = new QS_VERTEX[other._vertexCount];
    std::memcpy(static_cast<void*>(_vertices), other._vertices, sizeof(QS_VERTEX) * other._vertexCount);
  }
  if (other._indices && other._indexCount > 0) {
    _indices = new uint16_t[other._indexCount];
    std::memcpy(_indices, other._indices, sizeof(uint16_t) * other._indexCount);
  }
}

void QS_VERTEX_ARRAY::fAllocate(int32_t count) {
  fFree();
  if (count < 0) count = 0;
  _vertices = new QS_VERTEX[count];
  _vertexCount = count;
}

void QS_VERTEX_ARRAY::fFree() {
  if (_vertices) delete[] _vertices;
  // Cleared so that a later fAllocate or loop cannot touch the freed block.
  _vertices = nullptr;
  _vertexCount = 0;
}

void QS_VERTEX_ARRAY::fSetColor(uint32_t argb) {
  for (int32_t i = 0; i < _vertexCount; ++i) _vertices[i].color = argb;
}

uint32_t QS_VERTEX_ARRAY::fGetColor() const {
  return (_vertices && _vertexCount > 0) ? _vertices[0].color.fToARGB() : 0u;
}

QS_VERTEX* QS_VERTEX_ARRAY::fGetVertex(int32_t index) {
  if (!_vertices || index < 0 || index >= _vertexCount) return nullptr;
  return &_vertices[index];
}

void QS_VERTEX_ARRAY::fCloseLoop() {
  if (!_vertices || _vertexCount < 1) return;
  if (_vertexCount > 1) _vertices[_vertexCount - 1] = _vertices[0];
}

void QS_VERTEX_ARRAY::fMove(float dx, float dy, float dz) {
  for (int32_t i = 0; i < _vertexCount; ++i) {
    _vertices[i].x += dx;
    _vertices[i].y += dy;
    _vertices[i].z += dz;
  }
}

void QS_VERTEX_ARRAY::fRotate(float ax, float ay, float az) {
  if (az != 0.0f) {
    const float s = std::sin(az), c = std::cos(az);
    for (int32_t i = 0; i < _vertexCount; ++i) {
      QS_VERTEX& v = _vertices[i];
      const float x = v.x, y = v.y;
      v.x = x * c - y * s;
      v.y = x * s + y * c;
    }
  }
  if (ax != 0.0f) {
    const float s = std::sin(ax), c = std::cos(ax);
    for (int32_t i = 0; i < _vertexCount; ++i) {
      QS_VERTEX& v = _vertices[i];
      const float y = v.y, z = v.z;
      v.z = z * c - y * s;
      v.y = z * s + y * c;
    }
  }
  if (ay != 0.0f) {
    const float s = std::sin(ay), c = std::cos(ay);
    for (int32_t i = 0; i < _vertexCount; ++i) {
      QS_VERTEX& v = _vertices[i];
      const float x = v.x, z = v.z;
      v.x = x * c - z * s;
      v.z = x * s + z * c;
    }
  }
}

void QS_VERTEX_ARRAY::fScale(float cx, float cy, float cz, float fx, float fy, float fz) {
  for (int32_t i = 0; i < _vertexCount; ++i) {
    QS_VERTEX& v = _vertices[i];
    v.x = (v.x - cx) * fx + cx;
    v.y = (v.y - cy) * fy + cy;
    v.z = (v.z - cz) * fz + cz;
  }
}

void QS_VERTEX_ARRAY::fApplyTransform(const QS_TRANSFORM3& t) {
  fMove(t._position.x, t._position.y, t._position.z);
  fRotate(t._rotation.x, t._rotation.y, t._rotation.z);
  for (int32_t i = 0; i < _vertexCount; ++i) {
    QS_VERTEX& v = _vertices[i];
    v.x = t._pivot.x + (v.x - t._pivot.x) * t._scale.x;
    v.y = t._pivot.y + (v.y - t._pivot.y) * t._scale.y;
    v.z = t._pivot.z + (v.z - t._pivot.z) * t._scale.z;
  }
}

void QS_VERTEX_ARRAY::fMoveUV(float du, float dv) {
  for (int32_t i = 0; i < _vertexCount; ++i) {
    _vertices[i].u += du;
    _vertices[i].v += dv;
  }
}

void QS_VERTEX_ARRAY::fRotateUV(float angle, float cu, float cv) {
  if (angle == 0.0f) return;
  const float s = std::sin(angle), c = std::cos(angle);
  for (int32_t i = 0; i < _vertexCount; ++i) {
    QS_VERTEX& v = _vertices[i];
    const float du = v.u - cu, dv = v.v - cv;
    v.u = cu + du * c - dv * s;
    v.v = cv + du * s + dv * c;
  }
}

void QS_VERTEX_ARRAY::fScaleUV(float cu, float cv, float fu, float fv) {
  for (int32_t i = 0; i < _vertexCount; ++i) {
    QS_VERTEX& v = _vertices[i];
    v.u = (v.u - cu) * fu + cu;
    v.v = (v.v - cv) * fv + cv;
  }
}

}  // namespace QEL
