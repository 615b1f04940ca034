#include "primitives/animation.h"

#include <cstdlib>
#include <list>
#include <string>
#include <vector>

#include "engine/globals.h"
#include "engine/log.h"
#include "engine/text_utils.h"

namespace QEL {

QC_ANIMATION::QC_ANIMATION(QC_TEXTURE* texture, QS_TRANSFORM3* node, int32_t cols, int32_t rows, int32_t count,
                           float speed, bool forward, bool loop, bool pingpong, bool mirror)
    : QC_SPRITE(texture, node) {
  fSetup(cols, rows, count, speed, forward, loop, pingpong, mirror);
}

QC_ANIMATION::QC_ANIMATION(const char* path, int32_t rows, int32_t cols, int32_t count, float speed, bool forward,
                           bool loop, bool pingpong, bool mirror)
    : QC_SPRITE(path, nullptr) {
  fSetup(cols, rows, count, speed, forward, loop, pingpong, mirror);
  fLog("Warning: Bad Constructor. Use QC_ANIM");
}

QC_ANIMATION::QC_ANIMATION(const char* path, QS_TRANSFORM3* node, int32_t rows, int32_t cols, int32_t count,
                           float speed)
    : QC_SPRITE(path, node) {
  fSetup(cols, rows, count, speed, true, false, false, false);
  fLog("Warning: Bad Constructor. Use QC_ANIM");
}

void QC_ANIMATION::fSetup(int32_t cols, int32_t rows, int32_t count, float speed, bool forward, bool loop,
                          bool pingpong, bool mirror) {
  fSetGrid(cols, rows);
  _frameCount = count;
  _speed = speed;
  _flags = static_cast<uint8_t>(_flags & 0xF0u);
  if (forward) _flags |= FLAG_FORWARD;
  if (loop) _flags |= FLAG_LOOP;
  if (pingpong) _flags |= FLAG_PINGPONG;
  if (mirror) _flags |= FLAG_MIRROR;
  _accumulator = 0.0f;
  _playing = 0;
  if (forward) {
    _step = 1;
    _currentFrame = 0;
  } else {
    _step = -1;
    _currentFrame = count - 1;
  }
  fSetFrame(_currentFrame);
}

void QC_ANIMATION::fSetGrid(int32_t cols, int32_t rows) {
  // A grid needs at least one cell each way; anything less would divide by zero.
  _cols = cols > 0 ? cols : 1;
  _rows = rows > 0 ? rows : 1;
  _colWidth = 1.0f / static_cast<float>(_cols);
  _rowHeight = 1.0f / static_cast<float>(_rows);
  fSetSize(_width / _cols, _height / _rows);
  fSetAnchor(0, 0.0f, 0.0f);
}

void QC_ANIMATION::fSetFrame(int32_t n) {
  _currentFrame = n;
  _accumulator = 0.0f;
  const float left = static_cast<float>(n % _cols) * _colWidth;
  const float top = static_cast<float>(n / _cols) * _rowHeight;
  const float right = left + _colWidth;
  const float bottom = top + _rowHeight;
  if ((_flags & FLAG_MIRROR) != 0) {
    fSetUV(right, top, left, bottom);
  } else {
    fSetUV(left, top, right, bottom);
  }
}

void QC_ANIMATION::fStopAtFirst() {
  _playing = 0;
  fSetFrame(0);
}

int32_t QC_ANIMATION::fUpdate() {
  if (_playing == 0 || qcFRAME_DELTA == 0.0f) return 0;
  _accumulator = qcFRAME_DELTA * _speed + _accumulator;
  if (!(_accumulator > 1.0f)) return 0;

  fSetFrame(_currentFrame);
  _currentFrame += _step;

  const bool forward = (_flags & FLAG_FORWARD) != 0;
  const bool pingpong = (_flags & FLAG_PINGPONG) != 0;
  const bool loop = (_flags & FLAG_LOOP) != 0;
  const int64_t last = static_cast<int64_t>(_frameCount) - 1;
  const int64_t current = _currentFrame;

  if (current * current > last * last) {
    if (pingpong && (loop || forward)) {
      _step = -_step;
      _currentFrame += 2 * _step;
    } else if (loop) {
      if (forward) _currentFrame = 0;
    } else if (forward || pingpong) {
      fStopAtFirst();
    }
  }
  if (_currentFrame < 0) {
    if (pingpong && loop) {
      _step = -_step;
      _currentFrame = 1;
    } else if (loop) {
      if (!forward) _currentFrame = _frameCount - 1;
    } else if (pingpong) {
      if (forward) {
        if (_step == -1) fStopAtFirst();
      } else {
        _step = -_step;
        _currentFrame += 2 * _step;
      }
    } else if (!forward) {
      fStopAtFirst();
    }
  }
  return 1;
}

void QC_ANIMATION::fPlay(int32_t frame) {
  if (frame < 0 || frame >= _frameCount) frame = 0;
  fSetFrame(frame);
  _playing = 1;
}

void QC_ANIMATION::by_str(const char* text) {
  static std::list<std::string> strpoint;
  std::string line = text != nullptr ? text : "";
  strpoint = fSplitString(line, ' ', true);
  if (strpoint.size() != 8) {
    fLog("strpoint.size()<< ", "\"QC_ANIMATION::by_str\"", "= ", strpoint.size(), "QC_ANIMATION::by_str");
  }
  // Every token is read from what is there; a short line changes nothing.
  if (strpoint.size() < 8) return;
  std::vector<std::string> tokens(strpoint.begin(), strpoint.end());
  auto setFlag = [this](const std::string& token, uint8_t bit) {
    if (std::atoi(token.c_str()) != 0) {
      _flags = static_cast<uint8_t>(_flags | bit);
    } else {
      _flags = static_cast<uint8_t>(_flags & ~bit);
    }
  };
  setFlag(tokens[0], FLAG_FORWARD);
  setFlag(tokens[1], FLAG_PINGPONG);
  setFlag(tokens[2], FLAG_LOOP);
  setFlag(tokens[3], FLAG_MIRROR);
  fSetGrid(std::atoi(tokens[4].c_str()), std::atoi(tokens[5].c_str()));
  _frameCount = std::atoi(tokens[6].c_str());
  _speed = static_cast<float>(std::atof(tokens[7].c_str()));
}

}  // namespace QEL
