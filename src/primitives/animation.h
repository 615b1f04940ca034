#pragma once
// A sprite that plays the frames of a grid on its texture, driven by the frame time:
// forwards or backwards, once, looping or back and forth, optionally mirrored.
#include <cstdint>

#include "primitives/sprite.h"

namespace QEL {

class QC_ANIMATION : public QC_SPRITE {
 public:
  enum : uint8_t { FLAG_FORWARD = 1, FLAG_PINGPONG = 2, FLAG_LOOP = 4, FLAG_MIRROR = 8 };

  QC_ANIMATION(QC_TEXTURE* texture, QS_TRANSFORM3* node, int32_t cols, int32_t rows, int32_t count, float speed,
               bool forward, bool loop, bool pingpong, bool mirror);
  // Older forms that load the texture by path; note rows before cols.
  QC_ANIMATION(const char* path, int32_t rows, int32_t cols, int32_t count, float speed, bool forward, bool loop,
               bool pingpong, bool mirror);
  QC_ANIMATION(const char* path, QS_TRANSFORM3* node, int32_t rows, int32_t cols, int32_t count, float speed);

  // Sizes the quad to one cell and anchors it at its centre.
  void fSetGrid(int32_t cols, int32_t rows);
  void fSetFrame(int32_t n);
  // 1 when a frame step was taken.
  int32_t fUpdate();
  // Starts playing from the given frame (out-of-range frames start at the first one).
  void fPlay(int32_t frame);
  // Eight blank-separated tokens: forward, ping-pong, loop, mirror, cols, rows, count, speed.
  // Fewer than eight leave the animation unchanged.
  void by_str(const char* text);

  uint8_t _flags = 0;
  int32_t _cols = 1;
  int32_t _rows = 1;
  int32_t _currentFrame = 0;
  int32_t _frameCount = 1;
  int32_t _step = 1;
  float _speed = 0.0f;
  float _accumulator = 0.0f;
  uint8_t _playing = 0;
  float _colWidth = 1.0f;   // 1 / cols
  float _rowHeight = 1.0f;  // 1 / rows

 private:
  void fSetup(int32_t cols, int32_t rows, int32_t count, float speed, bool forward, bool loop, bool pingpong,
              bool mirror);
  void fStopAtFirst();
};

}  // namespace QEL
