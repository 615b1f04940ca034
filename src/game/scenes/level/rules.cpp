// The small rules of play: free cards, pairs, better results, and the geometry that finds
// the card under the pointer and the cards that overlap.
#include "engine/input.h"
#include "engine/sound.h"
#include "game/card.h"
#include "game/game_globals.h"
#include "game/scenes/level/level_scene.h"
#include "level_geometry/card_geometry.h"

namespace {

constexpr int32_t GUI_FLY_SOUND = 1;
constexpr int32_t ATLAS_BACK_FRAMES[12] = {67, 56, 60, 61, 63, 64, 65, 66, 57, 58, 59, 62};
constexpr int32_t ATLAS_JOKER_FRAME = 68;
constexpr int32_t ATLAS_UNUSED_FRAME = 2;
constexpr float HALF_WIDTH = SCENE_CARD_GAME_LEVEL::CARD_WIDTH / 2.0f;
constexpr float HALF_HEIGHT = SCENE_CARD_GAME_LEVEL::CARD_HEIGHT / 2.0f;

bool isLayoutSlot(int32_t id) { return id >= 0 && id < SCENE_CARD_GAME_LEVEL::MAX_LAYOUT_CARDS; }

}  // namespace

void playGuiFlySound() { QEL::QC_SOUND::fPlayFromStart(gSounds[GUI_FLY_SOUND]); }

int32_t SCENE_CARD_GAME_LEVEL::countCardsOver(int32_t cardId) const {
  if (!isLayoutSlot(cardId) || cards[cardId] == nullptr) return 0;
  int32_t count = 0;
  for (const int32_t over : cards[cardId]->overList) {
    if (isLayoutSlot(over) && cards[over] != nullptr && cards[over]->onTable) ++count;
  }
  return count;
}

bool SCENE_CARD_GAME_LEVEL::isMatchingPair(int32_t rankA, int32_t rankB) const {
  if (isJokerMode) return false;
  return rankA == rankB || rankA == CARD::JOKER || rankB == CARD::JOKER;
}

bool SCENE_CARD_GAME_LEVEL::isBetterResult() const {
  if (levelResult.result != bestLevelResult.result) return levelResult.result > bestLevelResult.result;
  const int32_t newBalls = levelResult.specialCards1 + levelResult.specialCards2 + levelResult.specialCards3;
  const int32_t bestBalls =
      bestLevelResult.specialCards1 + bestLevelResult.specialCards2 + bestLevelResult.specialCards3;
  return newBalls >= bestBalls;
}

bool SCENE_CARD_GAME_LEVEL::isPointInRect(float x, float y, float centreX, float centreY,
                                          float width, float height) {
  return ::isPointInRect(x, y, centreX, centreY, width, height);
}

bool SCENE_CARD_GAME_LEVEL::isPointerOverCard(int32_t cardId) const {
  if (!isLayoutSlot(cardId) || cards[cardId] == nullptr || QEL::qcINPUT_INSTANCE == nullptr) return false;
  const CARD& card = *cards[cardId];
  const QEL::QS_POINT mouse = QEL::qcINPUT_INSTANCE->fGetMousePosition();
  // An unturned card's border is outside it; a turned one takes the crossing test.
  return isPointOverCardPlace(static_cast<float>(mouse.x), static_cast<float>(mouse.y), card.currentX,
                              card.currentY, card.angle, CARD_WIDTH, CARD_HEIGHT);
}

bool SCENE_CARD_GAME_LEVEL::cardsOverlap(int32_t cardA, int32_t cardB) const {
  if (cardA == cardB || !isLayoutSlot(cardA) || !isLayoutSlot(cardB)) return false;
  if (cards[cardA] == nullptr || cards[cardB] == nullptr) return false;
  const CARD& a = *cards[cardA];
  const CARD& b = *cards[cardB];
  const CARD_OUTLINE outlineA = makeCardOutline(a.currentX, a.currentY, a.angle, HALF_WIDTH, HALF_HEIGHT);
  const CARD_OUTLINE outlineB = makeCardOutline(b.currentX, b.currentY, b.angle, HALF_WIDTH, HALF_HEIGHT);
  // Only a's corners in b, always by the crossing test: callers wanting both ways ask twice.
  for (const QEL::QS_VECTOR2& corner : outlineA.corners) {
    if (isPointInOutline(corner.x, corner.y, outlineB)) return true;
  }
  return false;
}

int32_t SCENE_CARD_GAME_LEVEL::getCardFrame(int32_t value, int32_t set) {
  if (set == 2) {
    return value >= 0 && value < 12 ? ATLAS_BACK_FRAMES[value] : ATLAS_UNUSED_FRAME;
  }
  if (set == 3) return ATLAS_JOKER_FRAME;
  if (set != 0 && set != 1) return ATLAS_UNUSED_FRAME;
  // A face needs a card value; anything else would land on another suit's frame.
  if (value < 0 || value >= 52) return ATLAS_UNUSED_FRAME;

  // Rows hold 10, J, Q, K, A in columns 0-4 and 2-9 in columns 5-12; the suits' rows are
  // not in suit order.
  static constexpr int32_t ROW_OF_SUIT[2][4] = {{6, 5, 8, 7}, {1, 0, 3, 2}};
  const int32_t suit = value / 13;
  const int32_t rank = value % 13 + 2;
  const int32_t column = rank <= 9 ? rank + 3 : rank - 10;
  return ROW_OF_SUIT[set][suit] * 14 + column;
}

void SCENE_CARD_GAME_LEVEL::setPauseWindowOpen() { windowState = 4; }
