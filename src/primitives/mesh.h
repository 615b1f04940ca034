#pragma once
// A textured vertex mesh on a transform node. Every mesh of the system is a sprite; these
// are the operations by which the game places, colours and draws its sprites.
#include <cstdint>

#include "engine/color.h"
#include "engine/render_state.h"
#include "engine/transform.h"
#include "engine/vertex.h"

namespace QEL {

class QC_TEXTURE;

class QC_MESH {
 public:
  // count default vertices, owned by this mesh; the indices stay the caller's.
  QC_MESH(int32_t count, QC_TEXTURE* texture, QS_TRANSFORM3* node, uint16_t* indices, int32_t indexCount);
  // Vertices and indices stay the caller's.
  QC_MESH(QS_VERTEX* vertices, int32_t count, QC_TEXTURE* texture, QS_TRANSFORM3* node, uint16_t* indices,
          int32_t indexCount);
  ~QC_MESH();
  QC_MESH(const QC_MESH&) = delete;
  QC_MESH& operator=(const QC_MESH&) = delete;

  // A null node changes nothing.
  void fSetNode(QS_TRANSFORM3* node);
  // Null allowed: detaches the node. Returns the previous one.
  QS_TRANSFORM3* fSwapNode(QS_TRANSFORM3* node);
  // Copies pivot, rotation, scale and position; the node's parent stays.
  void fSetTransform(const QS_TRANSFORM3& transform);

  void fSetPosition(float x, float y, float z);
  // y == 0 takes x, so (s, 0, z) scales uniformly.
  void fSetScale(float x, float y, float z);
  void fSetRotationZ(float angle);

  void fSetColor(uint32_t argb);
  void fSetColor(const QS_COLOR* color);
  void fSetVertexColor(uint32_t argb, int32_t index);

  // The node's own transform (parents ignored) becomes the world transform.
  void fDraw();
  // Draws with whatever world transform is in force.
  void fDrawRaw();
  // Draws once at the given placement; position z and scale z end at 0 and 1.
  void fDrawAt(float x, float y, float angle, float sx, float sy);

  QS_VERTEX_ARRAY _vertexArray;
  QC_TEXTURE* _texture = nullptr;
  QS_RENDER_STATE _renderState;
  QS_TRANSFORM3* _node = nullptr;

 protected:
  // For sprites, which set up their own vertex block.
  QC_MESH() = default;

 private:
  // Only the first constructor makes the block; it frees it again.
  QS_VERTEX* _ownedVertices = nullptr;
};

}  // namespace QEL
