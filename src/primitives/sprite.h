#pragma once
// One textured quad on a transform node: the picture of every card, button, background and
// font glyph. Vertex 0 sits at the origin of the quad, y grows downwards.
#include <cstdint>

#include "primitives/mesh.h"

namespace QEL {

class QC_SPRITE : public QC_MESH {
 public:
  // Without a node the sprite makes its own and turns about the picture's centre.
  QC_SPRITE(QC_TEXTURE* texture, QS_TRANSFORM3* node);
  // The texture comes from the renderer (its default texture when the file cannot be read).
  QC_SPRITE(const char* path, QS_TRANSFORM3* node);
  ~QC_SPRITE();

  // New quad of the texture's full size, whole texture, opaque white; node untouched.
  void fSetTexture(QC_TEXTURE* texture);
  void fSetSize(int32_t w, int32_t h);
  // Frame f of a grid of cols x rows frames laid out row by row (cols, rows >= 1).
  void fSetFrame(int32_t cols, int32_t rows, int32_t f);
  void fSetUV(float left, float top, float right, float bottom);
  void fSetUVPixels(int32_t left, int32_t top, int32_t right, int32_t bottom);
  // One texel per unit of the quad.
  void fFitUV();
  // Anchor modes: 0 centre, 1 top-left, 2 top-right, 3 bottom-left, 4 bottom-right,
  // 5 top-centre, 6 bottom-centre, 7 left-centre, 8 right-centre; others change nothing.
  void fSetAnchor(int32_t mode, float x, float y);
  // The same from the width and height fields with integer halves.
  void fSetAnchorBySize(int32_t mode, float x, float y);

  void fSetCornerColors(uint32_t c0, uint32_t c1, uint32_t c2, uint32_t c3);
  uint32_t fGetVertexColor(int32_t i) const;

  // Draws with the node's transform combined with all its parents.
  void fDrawWorld();
  // Places, cuts and sizes the quad, then draws it with fDrawWorld; the sprite keeps them.
  void fDrawRegion(float x, float y, float left, float top, float right, float bottom, int32_t w, int32_t h);
  void fDrawQuad(float x0, float y0, float u0, float v0, uint32_t c0, float x1, float y1, float u1, float v1,
                 uint32_t c1, float x2, float y2, float u2, float v2, uint32_t c2, float x3, float y3, float u3,
                 float v3, uint32_t c3);

  int32_t _width = 0;
  int32_t _height = 0;
  QS_VERTEX* _vertices = nullptr;
  uint8_t _ownsNode = 0;

 private:
  void fInit(QC_TEXTURE* texture, QS_TRANSFORM3* node);
};

}  // namespace QEL
