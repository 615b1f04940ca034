// Whole sets of cards on the move: the layout and the piles fly off the screen when a level
// is left, gather at the deck for a reshuffle and fly back to their places; the steps to the
// next and previous level; cards whose fly-away flight has ended; the rising pop-ups.
#include <cstdlib>

#include "engine/sound.h"
#include "game/card.h"
#include "game/card_flights.h"
#include "game/card_piles.h"
#include "game/fonts_sounds.h"
#include "game/game_globals.h"
#include "game/picture_size.h"
#include "game/scenes/level/level_scene.h"
#include "gui/gui_wlabel.h"
#include "level_geometry/level_file.h"
#include "primitives/sprite.h"

namespace {

constexpr float POPUP_SPEED = 200.0f;  // pixels per second
constexpr float PARKED = -200.0f;
constexpr float BEYOND_EDGE = 100.0f;

bool isBeyondEdge(float x, float y) {
  return x <= -BEYOND_EDGE || y <= -BEYOND_EDGE || x >= kPictureWidth + BEYOND_EDGE || y >= kPictureHeight + BEYOND_EDGE;
}

}  // namespace

void pickPointBeyondEdge(float& x, float& y) {
  // The first draw picks the far or the near side, the second top and bottom against left
  // and right, the third where along that edge.
  const bool far = (std::rand() & 1) != 0;
  if ((std::rand() & 1) != 0) {
    x = static_cast<float>(std::rand() % kPictureWidth);
    y = far ? kPictureHeight + BEYOND_EDGE : -BEYOND_EDGE;
  } else {
    y = static_cast<float>(std::rand() % kPictureHeight);
    x = far ? kPictureWidth + BEYOND_EDGE : -BEYOND_EDGE;
  }
}

void SCENE_CARD_GAME_LEVEL::dealOutCards() {
  if (cardFlights == nullptr) return;
  cardFlights->animationRunning = true;
  animationState = FLYING_OUT;
  const int32_t lastId = maximumCardID < MAX_LAYOUT_CARDS ? maximumCardID : MAX_LAYOUT_CARDS - 1;
  for (int32_t id = 0; id <= lastId; ++id) {
    CARD* card = cards[id];
    if (card == nullptr || !card->onTable) continue;
    // Back to where the fly-in brought it from; a card that never flew in gets such a point.
    if (!isBeyondEdge(card->homeX, card->homeY)) pickPointBeyondEdge(card->homeX, card->homeY);
    cardFlights->addFlight(card, CARD_FLIGHTS::SPIN_OUT, card->currentX, card->currentY, card->homeX,
                           card->homeY, 0.0f, 0.0f);
  }
  if (cardPiles != nullptr) {
    for (int32_t p = 0; p < reservePilesInPlay(); ++p) {
      CARD* holder = cardPiles->holders[p];
      if (holder == nullptr || cardPiles->getCard(p, 0) == -1) continue;
      float x = 0.0f;
      float y = 0.0f;
      pickPointBeyondEdge(x, y);
      cardFlights->addFlight(holder, CARD_FLIGHTS::SPIN_OUT, holder->currentX, holder->currentY, x, y, 0.0f,
                             0.0f);
    }
  }
  QEL::QC_SOUND::fPlayFromStart(gSounds[kSoundCardFly]);
}

void SCENE_CARD_GAME_LEVEL::dealInCards() {
  if (cardFlights == nullptr || cardPiles == nullptr) return;
  cardFlights->animationRunning = true;
  animationState = 2;
  const int32_t lastId = maximumCardID < MAX_LAYOUT_CARDS ? maximumCardID : MAX_LAYOUT_CARDS - 1;
  for (int32_t id = 0; id <= lastId; ++id) {
    CARD* card = cards[id];
    if (card == nullptr || !card->onTable) continue;
    // startX/Y: where the card lay when the gathering flight took it.
    cardFlights->addFlight(card, CARD_FLIGHTS::MOVE, cardPiles->stockX, cardPiles->stockY, card->startX,
                           card->startY, 0.0f, savedAngles[id]);
  }
}

void SCENE_CARD_GAME_LEVEL::gatherPileCards() {
  if (cardFlights == nullptr || cardPiles == nullptr) return;
  cardFlights->animationRunning = true;
  animationState = 1;
  cardPiles->updatePileTops();
  const float deckX = cardPiles->stockX;
  const float deckY = cardPiles->stockY;
  for (int32_t p = 0; p < reservePilesInPlay(); ++p) {
    CARD* holder = cardPiles->holders[p];
    if (holder == nullptr || cardPiles->getCard(p, 0) == -1) continue;
    cardFlights->addFlight(holder, CARD_FLIGHTS::MOVE, holder->currentX, holder->currentY, deckX, deckY, 0.0f,
                           0.0f);
  }
  const int32_t lastId = maximumCardID < MAX_LAYOUT_CARDS ? maximumCardID : MAX_LAYOUT_CARDS - 1;
  for (int32_t id = 0; id <= lastId; ++id) {
    CARD* card = cards[id];
    if (card == nullptr) continue;
    savedAngles[id] = card->angle;
    if (!card->onTable) continue;
    cardFlights->addFlight(card, CARD_FLIGHTS::MOVE, card->currentX, card->currentY, deckX, deckY, card->angle,
                           0.0f);
  }
}

namespace {

void leaveForLevel(SCENE_CARD_GAME_LEVEL& level) {
  gCurrentPack = gCurrentLevel / kLevelsPerPack;
  gTenthFrameBonus = 0;
  gTenthFrameSecondBonus = 0;
  gTenthFrameKind = 0;
  gTenthFrameRecorded = 0;
  level.restartInPlace();
}

}  // namespace

void SCENE_CARD_GAME_LEVEL::nextLevel() {
  // It may step one past the editor's last level file, and no further.
  if (gCurrentLevel <= LEVEL_LAST_FILE_INDEX) ++gCurrentLevel;
  leaveForLevel(*this);
}

void SCENE_CARD_GAME_LEVEL::previousLevel() {
  if (gCurrentLevel > 0) --gCurrentLevel;
  leaveForLevel(*this);
}

void SCENE_CARD_GAME_LEVEL::removeFlownCard(CARD* card) {
  if (card == nullptr) return;
  if (card->kind == CARD::TAKEN) {
    if (card->id >= 0 && card->id < MAX_LAYOUT_CARDS && cards[card->id] != nullptr) {
      cards[card->id]->onTable = false;
      cards[card->id]->reset();
    }
    int32_t onTable = 0;
    for (const CARD* slot : cards) {
      if (slot != nullptr && slot->onTable) ++onTable;
    }
    cardsLeft = onTable;
  } else if (card->kind == CARD::STOCK_OR_PILE && cardPiles != nullptr) {
    // The pile's card that flew: the stock may have dealt onto the pile while it flew.
    const int32_t pile = card->index;
    CARD* flown = pile >= 0 && pile < CARD_PILES::MAX_PILES ? flyingPileCards[pile] : nullptr;
    const int32_t position = cardPiles->findCard(pile, flown);
    cardPiles->removeCardAt(pile, position >= 0 ? position : 0);
    if (flown != nullptr) flyingPileCards[pile] = nullptr;
  }
  card->flightDone = false;
}

void SCENE_CARD_GAME_LEVEL::updatePointsPopups() {
  for (POINTS_POPUP& popup : pointsPopup) {
    if (popup.rise == POINTS_POPUP::FREE) continue;
    const float step = POPUP_SPEED * frameTime;
    popup.rise -= step;
    if (popup.rise > 0.0f) {
      if (popup.label != nullptr) {
        const QEL::QS_VECTOR2 at = popup.label->fGetTransform()->fGetPosition();
        popup.label->fSetPosition(at.x, at.y - step, 0.0f);
        if (popup.coin != nullptr) {
          popup.coin->fSetPosition(popup.coin->_node->_position.x, at.y - step - step - 8.0f, 0.0f);
        }
      }
    } else {
      popup.rise = POINTS_POPUP::FREE;
      if (popup.label != nullptr) popup.label->fSetPosition(PARKED, PARKED, 0.0f);
      if (popup.coin != nullptr) popup.coin->fSetPosition(PARKED, PARKED, 0.0f);
    }
  }
}

int32_t SCENE_CARD_GAME_LEVEL::layerAboveOverlapping(int32_t cardId) {
  if (cardId < 0 || cardId >= MAX_LAYOUT_CARDS || cards[cardId] == nullptr) return 0;
  int32_t z = cards[cardId]->zLayer;
  int32_t count = 0;
  for (int32_t j = 0; j < MAX_LAYOUT_CARDS; ++j) {
    if (cards[j] == nullptr || !cards[j]->onTable || !cardsOverlap(cardId, j)) continue;
    ++count;
    if (cards[j]->zLayer > z && z < zLayerMax) z = cards[j]->zLayer;
  }
  if (count > 0 && z < zLayerMax) ++z;
  cards[cardId]->zLayer = z;
  return count;
}

int32_t SCENE_CARD_GAME_LEVEL::layerBelowOverlapping(int32_t cardId) {
  if (cardId < 0 || cardId >= MAX_LAYOUT_CARDS || cards[cardId] == nullptr) return 0;
  int32_t z = cards[cardId]->zLayer;
  int32_t count = 0;
  for (int32_t j = 0; j < MAX_LAYOUT_CARDS; ++j) {
    if (cards[j] == nullptr || !cards[j]->onTable || !cardsOverlap(cardId, j)) continue;
    ++count;
    if (cards[j]->zLayer < z && z > zLayerMin) z = cards[j]->zLayer;
  }
  if (count > 0 && zLayerMin < z) --z;
  cards[cardId]->zLayer = z;
  return count;
}
