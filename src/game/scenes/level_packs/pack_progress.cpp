// What the level packs read of a pack's results (its score for the button, its first open
// frame) and the one change they make: a professional pack started afresh.
#include "engine/log.h"
#include "game/game_globals.h"
#include "game/level_results.h"
#include "game/scenes/level_packs/level_packs_scene.h"

namespace {

using enum LEVEL_RESULT::FRAME_KIND;
constexpr int32_t PROFESSIONAL = 1;

bool isPack(int32_t pack) { return pack >= 0 && pack < kPackCount; }

}  // namespace

void SCENE_CARD_GAME_LEVELPACKS::resetPack(int32_t pack) {
  if (!isPack(pack)) {
    QEL::fLog("resetPack: no pack ", pack);
    return;
  }
  const int32_t first = pack * kLevelsPerPack;
  for (int32_t level = first; level < first + kLevelsPerPack; ++level)
    for (int32_t field = 0; field < kLevelResultFieldCount; ++field)
      setLevelResult(gCurrentPlayer, level, field, LOCKED, PROFESSIONAL);
  setLevelResult(gCurrentPlayer, first, kResultField, NOT_COMPLETED, PROFESSIONAL);
}

int32_t SCENE_CARD_GAME_LEVELPACKS::firstOpenLevelOfPack(int32_t pack) const {
  if (!isPack(pack)) return 0;
  const int32_t first = pack * kLevelsPerPack;
  for (int32_t level = first; level < first + kLevelsPerPack; ++level)
    if (getLevelResult(gCurrentPlayer, level, kResultField) == NOT_COMPLETED) return level;
  // Every frame played: the pack is played again from its first frame, results kept.
  return first;
}

int32_t SCENE_CARD_GAME_LEVELPACKS::getPackResult(int32_t pack) {
  if (!isPack(pack)) return packResult = 0;
  const int32_t first = pack * kLevelsPerPack;
  const int32_t tenth = first + kLevelsPerPack - 1;
  if (getLevelResult(gCurrentPlayer, tenth, kResultField) >= OPEN_FRAME)
    return packResult = getLevelResult(gCurrentPlayer, tenth, kScoreField);
  // The running total of the frame before the first one not yet played; the first frame
  // itself is not looked at, so a fresh pack shows its first frame's score (0).
  for (int32_t level = first + 1; level <= tenth; ++level)
    if (getLevelResult(gCurrentPlayer, level, kResultField) < OPEN_FRAME)
      return packResult = getLevelResult(gCurrentPlayer, level - 1, kScoreField);
  return packResult = 0;
}
