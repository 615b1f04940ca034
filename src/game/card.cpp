#include "game/card.h"

namespace {

constexpr uint32_t OPAQUE_WHITE = 0xFFFFFFFFu;
constexpr uint32_t EDITOR_WHITE = 0xC8FFFFFFu;  // alpha 200: editor cards stay see-through

void copyList(std::vector<int32_t>& list, const int32_t* ids, int32_t n) {
  list.clear();
  if (ids == nullptr || n <= 0) {
    list.shrink_to_fit();
    return;
  }
  list.assign(ids, ids + n);
}

}  // namespace

CARD::CARD() = default;

CARD::~CARD() { freeLists(); }

void CARD::init(int32_t cardId) {
  value = -1;
  id = cardId;
  onTable = false;
  freeLists();
  covered = true;
  angle = 0.0f;
  flipScale = 1.0f;
  faceFlag = 0.0f;
  kind = IN_LAYOUT;
  inFlight = false;
  flightDone = false;
  special = false;
  pileSpecial = false;
  editorCard = false;
}

void CARD::setValue(int32_t newValue) {
  value = newValue;
  if (newValue < 52) {
    suit = newValue / 13 + 1;
    rank = newValue % 13 + 2;
  } else if (newValue == JOKER) {
    suit = -1;
    rank = JOKER;
  }
}

void CARD::reset() {
  zLayer = 0;
  onTable = false;
  updateColor();
  value = -1;
  freeLists();
  covered = true;
  special = false;
}

void CARD::putOnTable() {
  onTable = true;
  zLayer = 0;
  updateColor();
  currentX = -100.0f;
  currentY = -100.0f;
  angle = 0.0f;
}

bool CARD::isOffTable() const { return !onTable; }

void CARD::place(int32_t layer, float x, float y, float angleDegrees) {
  zLayer = layer;
  angle = angleDegrees * DEGREES_TO_RADIANS;
  if (editorCard) {
    currentX = x;
    currentY = y;
  } else {
    tableX = x;
    tableY = y;
  }
}

float CARD::getAngle() const { return angle; }

int32_t CARD::getZLayer() const { return zLayer; }

void CARD::setZLayer(int32_t layer) { zLayer = layer; }

void CARD::raiseZLayer() {
  if (zLayer < zLayerUpper) ++zLayer;
}

void CARD::lowerZLayer() {
  if (zLayer > zLayerLower) --zLayer;
}

void CARD::setZLayerRange(int32_t upper, int32_t lower) {
  zLayerUpper = upper;
  zLayerLower = lower;
}

void CARD::resetColor() { color = OPAQUE_WHITE; }

void CARD::updateColor() { color = editorCard ? EDITOR_WHITE : OPAQUE_WHITE; }

void CARD::setCovered(bool flag) { covered = flag; }

bool CARD::isCovered() const { return covered; }

void CARD::setSpecial(bool flag) { special = flag; }

bool CARD::isSpecial() const { return special; }

void CARD::setPileSpecial(bool flag) { pileSpecial = flag; }

bool CARD::isPileSpecial() const { return pileSpecial; }

void CARD::setFlipScale(float scale) { flipScale = scale; }

void CARD::setFaceUp(bool flag) { faceFlag = flag ? 1.0f : 0.0f; }

bool CARD::isFaceUp() const { return faceFlag != 0.0f; }

void CARD::setOverList(const int32_t* ids, int32_t n) { copyList(overList, ids, n); }

void CARD::setUnderList(const int32_t* ids, int32_t n) { copyList(underList, ids, n); }

bool CARD::hasUnder() const { return !underList.empty(); }

int32_t CARD::overCount() const { return static_cast<int32_t>(overList.size()); }

int32_t CARD::underCount() const { return static_cast<int32_t>(underList.size()); }

void CARD::removeOver(int32_t cardId) {
  for (auto it = overList.begin(); it != overList.end(); ++it) {
    if (*it == cardId) {
      overList.erase(it);
      return;
    }
  }
}

void CARD::freeLists() {
  overList.clear();
  overList.shrink_to_fit();
  underList.clear();
  underList.shrink_to_fit();
}
