// The ten levels of a pack are the ten frames of a game of ten-pin bowling: the running
// score of each played frame is written into its level result.
#include "engine/log.h"
#include "game/game_globals.h"
#include "game/scenes/level/level_scene.h"

namespace {

constexpr int32_t LAST_FRAME = kLevelsPerPack - 1;
using enum LEVEL_RESULT::FRAME_KIND;

struct FRAME {
  int32_t result = 0;
  int32_t ball1 = 0;
  int32_t ball2 = 0;
  int32_t ball3 = 0;
  bool played() const { return result >= OPEN_FRAME; }
};

// A ball not played (-1) knocks nothing down.
int32_t knocked(int32_t ball) { return ball > 0 ? ball : 0; }

FRAME readFrame(int32_t level) {
  FRAME frame;
  frame.result = getLevelResult(gCurrentPlayer, level, kResultField);
  frame.ball1 = knocked(getLevelResult(gCurrentPlayer, level, kSpecialCards1Field));
  frame.ball2 = knocked(getLevelResult(gCurrentPlayer, level, kSpecialCards2Field));
  frame.ball3 = knocked(getLevelResult(gCurrentPlayer, level, kSpecialCards3Field));
  return frame;
}

// The tenth frame counts every skittle of its balls; the third ball only follows a strike or
// a spare. Its stored kind may be the bonus play's own, so the balls decide.
int32_t tenthFrameValue(const FRAME& frame) {
  const bool bonus = frame.ball1 == kAllSkittles || frame.ball1 + frame.ball2 == kAllSkittles;
  return frame.ball1 + frame.ball2 + (bonus ? frame.ball3 : 0);
}

}  // namespace

void calculatePackScore() {
  if (gCurrentPack < 0 || gCurrentPack >= kPackCount) {
    QEL::fLog("calculatePackScore: no pack ", gCurrentPack);
    return;
  }
  const int32_t first = gCurrentPack * kLevelsPerPack;
  FRAME frames[kLevelsPerPack];
  for (int32_t i = 0; i < kLevelsPerPack; ++i) frames[i] = readFrame(first + i);

  int32_t running = 0;
  for (int32_t i = 0; i < kLevelsPerPack; ++i) {
    const FRAME& frame = frames[i];
    if (!frame.played()) return;  // this frame and the later ones keep their stored score
    int32_t value = 0;
    if (i == LAST_FRAME) {
      value = tenthFrameValue(frame);
    } else if (frame.result == STRIKE) {
      const FRAME& next = frames[i + 1];
      if (!next.played()) {
        value = kAllSkittles;
      } else if (i + 1 == LAST_FRAME || next.result != STRIKE) {
        // The next two balls both lie in the next frame.
        value = kAllSkittles + next.ball1 + next.ball2;
      } else {
        const FRAME& afterNext = frames[i + 2];
        value = kAllSkittles + kAllSkittles + (afterNext.played() ? afterNext.ball1 : 0);
      }
    } else if (frame.result == SPARE) {
      const FRAME& next = frames[i + 1];
      value = kAllSkittles + (next.played() ? next.ball1 : 0);
    } else {
      value = frame.ball1 + frame.ball2;
    }
    running += value;
    setLevelResult(gCurrentPlayer, first + i, kScoreField, running);
  }
}
