#pragma once
// The engine's one vertex format (36 bytes, copied unchanged into the device's vertex
// buffer) and the vertex/index array every drawable begins with.
#include <cstdint>

#include "engine/color.h"
#include "engine/matrix.h"
#include "engine/transform.h"

namespace QEL {

struct QS_VERTEX {
  float x, y, z;     // position
  float nx, ny, nz;  // normal: carried, never computed
  QS_COLOR color;    // diffuse colour, 0xAARRGGBB as a little-endian word
  float u, v;        // texture coordinate
  // Nothing is initialised: whoever fills a vertex sets every field it uses.

  void fSetPosition(float x_, float y_, float z_) { x = x_; y = y_; z = z_; }
  void fSetColor(uint32_t argb) { color = argb; }
  void fSetUV(float u_, float v_) { u = u_; v = v_; }
  // The position as a row vector (w = 1) times the matrix.
  void fTransform(const QS_MATRIX4& matrix);
};

static_assert(sizeof(QS_VERTEX) == 36, "QS_VERTEX is the 36-byte device vertex");

// Indices count from the array's first vertex. The array owns its vertex block only when
// fAllocate made it; it has no destructor: its owner frees what it allocated.
struct QS_VERTEX_ARRAY {
  QS_VERTEX* _vertices = nullptr;
  int32_t _vertexCount = 0;
  uint16_t* _indices = nullptr;
  int32_t _indexCount = 0;

  QS_VERTEX_ARRAY() = default;
  QS_VERTEX_ARRAY(QS_VERTEX* vertices, int32_t count, uint16_t* indices, int32_t indexCount)
      : _vertices(vertices), _vertexCount(count), _indices(indices), _indexCount(indexCount) {}
  // Deep copy of the vertices (and of the indices when there are any).
  QS_VERTEX_ARRAY(const QS_VERTEX_ARRAY& other);
  QS_VERTEX_ARRAY& operator=(const QS_VERTEX_ARRAY& other) = default;

  // Frees a block made before, then allocates count uninitialised vertices.
  void fAllocate(int32_t count);
  void fSetVertices(QS_VERTEX* vertices, int32_t count) { _vertices = vertices; _vertexCount = count; }
  void fSetIndices(uint16_t* indices, int32_t count) { _indices = indices; _indexCount = count; }
  // Frees the vertex block and empties the array (no dangling pointer is left behind).
  void fFree();

  void fSetColor(uint32_t argb);
  uint32_t fGetColor() const;
  // Null for an index outside [0, vertex count).
  QS_VERTEX* fGetVertex(int32_t index);
  // Copies the first vertex over the last one.
  void fCloseLoop();
  void fMove(float dx, float dy, float dz);
  // About the origin: z first, then x, then y; an angle of exactly 0 skips its pass.
  void fRotate(float ax, float ay, float az);
  void fScale(float cx, float cy, float cz, float fx, float fy, float fz);
  // Position added, then turned by the rotation, then scaled about the pivot.
  void fApplyTransform(const QS_TRANSFORM3& t);
  void fMoveUV(float du, float dv);
  void fRotateUV(float angle, float cu, float cv);
  void fScaleUV(float cu, float cv, float fu, float fv);
};

}  // namespace QEL
