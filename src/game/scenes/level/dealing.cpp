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
#include "game/scenes/level/level_scene.h"
#include "gui/gui_wlabel.h"
#include "primitives/sprite.h"

namespace {

constexpr int32_t LAST_LEVEL_INDEX = 200;
constexpr float POPUP_SPEED = 200.0f;  // pixels per second
constexpr float PARKED = -200.0f;
constexpr float BARS_OUT_OF_VIEW = 200.0f;

}  // namespace

void SCENE_CARD_GAME_LEVEL::dealOutCards() {
  if (cardFlights == nullptr) return;
  cardFlights->animationRunning = true;
  animationState = 5;
  const int32_t lastId = maximumCardID < MAX_LAYOUT_CARDS ? maximumCardID : MAX_LAYOUT_CARDS - 1;
  for (int32_t id = 0; id <= lastId; ++id) {
    CARD* card = cards[id];
    if (card == nullptr || !card->onTable) continue;
    cardFlights->addFlight(card, CARD_FLIGHTS::SPIN_OUT, card->currentX, card->currentY, card->homeX,
                           card->homeY, 0.0f, 0.0f);
  }
  if (cardPiles != nullptr) {
    for (int32_t p = 0; p < numberOfReservePiles && p < CARD_PILES::MAX_PILES; ++p) {
      CARD* holder = cardPiles->holders[p];
      if (holder == nullptr || cardPiles->getCard(p, 0) == -1) continue;
      // A random point beyond one of the four edges.
      const bool far = (std::rand() & 1) != 0;
      float x = 0.0f;
      float y = 0.0f;
      if ((std::rand() & 1) != 0) {
        x = static_cast<float>(std::rand() % 1024);
        y = far ? 868.0f : -100.0f;
      } else {
        y = static_cast<float>(std::rand() % 768);
        x = far ? 1124.0f : -100.0f;
      }
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
  for (int32_t p = 0; p < numberOfReservePiles && p < CARD_PILES::MAX_PILES; ++p) {
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

void SCENE_CARD_GAME_LEVEL::advanceAnimationState() {
  if (cardFlights == nullptr || cardFlights->animationRunning) return;
  switch (animationState) {
    case 1:
      animationState = 3;
      // The values are reshuffled here once the reshuffle is built.
      dealInCards();
      break;
    case 2:
      animationState = 0;
      break;
    case 4:
      animationState = 0;
      transitionState = 0;
      break;
    case 5:
      animationState = 0;
      leaveTimer = BARS_OUT_OF_VIEW;
      break;
    default:
      break;
  }
}

namespace {

void leaveForLevel(SCENE_CARD_GAME_LEVEL& level) {
  gCurrentPack = gCurrentLevel / 10;
  level.transitionState = 2;
  level.isRestartPending = true;
  level.animationState = 5;
  gTenthFrameBonus = 0;
  gTenthFrameSecondBonus = 0;
  gTenthFrameKind = 0;
  level.dealOutCards();
}

}  // namespace

void SCENE_CARD_GAME_LEVEL::nextLevel() {
  if (gCurrentLevel < LAST_LEVEL_INDEX) ++gCurrentLevel;
  leaveForLevel(*this);
}

void SCENE_CARD_GAME_LEVEL::previousLevel() {
  if (gCurrentLevel > 0) --gCurrentLevel;
  leaveForLevel(*this);
}

void SCENE_CARD_GAME_LEVEL::removeFlownCard(CARD* card) {
  if (card == nullptr) return;
  if (card->kind == 1) {
    if (card->id >= 0 && card->id < MAX_LAYOUT_CARDS && cards[card->id] != nullptr) {
      cards[card->id]->onTable = false;
      cards[card->id]->reset();
    }
    int32_t onTable = 0;
    for (const CARD* slot : cards) {
      if (slot != nullptr && slot->onTable) ++onTable;
    }
    cardsLeft = onTable;
  } else if (card->kind == 2) {
    if (cardPiles != nullptr) cardPiles->removeFirstCard(card->index);
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
