#include "game/card_piles.h"

#include <cstdlib>
#include <string>

#include "engine/log.h"
#include "game/card.h"
#include "game/card_flights.h"
#include "game/game_globals.h"
#include "game/hint_steps.h"
#include "game/scenes/level/level_scene.h"
#include "gui/gui_wlabel.h"

namespace {

constexpr int32_t UNLIMITED_TURNOVERS = 99;
constexpr int32_t TUTORIAL_FIRST_SKITTLE_FROM = 12;  // the tutorial's first skittle lies deep
constexpr int32_t TUTORIAL_SECOND_SKITTLE = 5;
constexpr int32_t TUTORIAL_SKITTLES = 2;
constexpr int32_t RESHUFFLE_SWAPS = 200;

void setLabelText(QEL::QC_GUI_WLABEL* label, const std::wstring& text) {
  if (label != nullptr) label->fSetText(text);
}

}  // namespace

CARD_PILES::CARD_PILES() = default;

CARD_PILES::~CARD_PILES() {
  releaseHolders();
  releaseDeckCards();
}

void CARD_PILES::init() {
  stockX = STOCK_X;
  stockY = STOCK_Y;
  offset = PILE_OFFSET;
  releaseHolders();
  for (int32_t i = 0; i < MAX_PILES; ++i) {
    CARD* holder = new CARD();
    holder->init(i);
    const float x = STOCK_X + PILE_OFFSET + static_cast<float>(i * (cardWidth + 10));
    holder->homeX = holder->currentX = x;
    holder->homeY = holder->currentY = STOCK_Y;
    holders[i] = holder;
  }
}

void CARD_PILES::setCardWidth(int32_t width) { cardWidth = width; }

void CARD_PILES::setScene(SCENE_CARD_GAME_LEVEL* level) { owner = level; }

void CARD_PILES::startDeal(int32_t piles, int32_t n) {
  if (piles < 1 || piles > MAX_PILES) {
    QEL::fLog("CARD_PILES::startDeal: reserve piles out of range: ", piles);
    piles = piles < 1 ? 1 : MAX_PILES;
  }
  if (n < 0 || n > MAX_CARDS) {
    QEL::fLog("CARD_PILES::startDeal: stock size out of range: ", n);
    n = n < 0 ? 0 : MAX_CARDS;
  }
  pileCount = piles;
  deckCount = n;
  createDeckCards();
  deal();
  centrePiles();
}

void CARD_PILES::createDeckCards() {
  // The previous deal's cards are released here: nothing outside the model keeps them once
  // the level has started a new deal.
  releaseDeckCards();
  for (int32_t i = 0; i < deckCount; ++i) {
    CARD* card = new CARD();
    card->init(i);
    card->currentX = stockX;
    card->currentY = stockY;
    deckCards[i] = card;
  }
}

void CARD_PILES::deal() {
  bool drawn[52] = {};
  for (int32_t i = 0; i < deckCount; ++i) {
    int32_t value = std::rand() % 52;
    if (i < 52) {
      // The first 52 entries are one whole pack; repeats only after that.
      while (drawn[value]) value = std::rand() % 52;
      drawn[value] = true;
    }
    stockValues[i] = value;
  }
  clearPiles();
  stockSize = deckCount;
  used = 0;
  fillDeckCards();
}

void CARD_PILES::fillDeckCards() {
  for (int32_t i = 0; i < deckCount; ++i) {
    CARD* card = deckCards[i];
    if (card == nullptr) continue;
    card->setValue(stockValues[i]);
    card->kind = CARD::STOCK_OR_PILE;
    card->index = i;
    stockCards[i] = card;
  }
}

void CARD_PILES::reshuffle() {
  if (deckCount <= 0) return;
  for (int32_t i = 0; i < RESHUFFLE_SWAPS; ++i) {
    const int32_t a = std::rand() % deckCount;
    const int32_t b = std::rand() % deckCount;
    const int32_t value = stockValues[a];
    stockValues[a] = stockValues[b];
    stockValues[b] = value;
  }
}

void CARD_PILES::clearPiles() {
  for (int32_t p = 0; p < MAX_PILES; ++p) {
    for (int32_t i = 0; i < MAX_CARDS; ++i) {
      pileSlots[p][i] = -1;
      pileCards[p][i] = nullptr;
      pileSpecial[p][i] = -1;
    }
    pileSizes[p] = 0;
    pileSpecialSizes[p] = 0;
  }
}

bool CARD_PILES::validSlot(int32_t pile, int32_t pos) const {
  return pile >= 0 && pile < MAX_PILES && pos >= 0 && pos < MAX_CARDS;
}

int32_t CARD_PILES::getCard(int32_t pile, int32_t pos) const {
  return validSlot(pile, pos) ? pileSlots[pile][pos] : -1;
}

void CARD_PILES::setCard(int32_t value, int32_t pile, int32_t pos) {
  if (validSlot(pile, pos)) pileSlots[pile][pos] = value;
}

CARD* CARD_PILES::getCardState(int32_t pile, int32_t pos) const {
  return validSlot(pile, pos) ? pileCards[pile][pos] : nullptr;
}

bool CARD_PILES::isSpecialSlot(int32_t pile, int32_t pos) const {
  return validSlot(pile, pos) && pileSpecial[pile][pos] == 1;
}

void CARD_PILES::removeFirstCard(int32_t pile) { removeCardAt(pile, 0); }

int32_t CARD_PILES::findCard(int32_t pile, const CARD* card) const {
  if (pile < 0 || pile >= MAX_PILES || card == nullptr) return -1;
  for (int32_t i = 0; i < pileSizes[pile] && i < MAX_CARDS; ++i) {
    if (pileCards[pile][i] == card) return i;
  }
  return -1;
}

void CARD_PILES::removeCardAt(int32_t pile, int32_t pos) {
  if (pile < 0 || pile >= MAX_PILES) return;
  const int32_t size = pileSizes[pile];
  if (pos >= 0 && pos < size) {
    for (int32_t i = pos; i + 1 < size; ++i) {
      pileSlots[pile][i] = pileSlots[pile][i + 1];
      pileCards[pile][i] = pileCards[pile][i + 1];
      pileSpecial[pile][i] = pileSpecial[pile][i + 1];
    }
    pileSlots[pile][size - 1] = -1;
    pileCards[pile][size - 1] = nullptr;
    pileSpecial[pile][size - 1] = -1;
    pileSizes[pile] = size - 1;
    if (pileSpecialSizes[pile] > 0) --pileSpecialSizes[pile];
  }
  if (CARD* holder = holders[pile]) {
    holder->currentX = holder->homeX;
    holder->currentY = holder->homeY;
  }
}

void CARD_PILES::updatePileTops() {
  for (int32_t p = 0; p < pileCount && p < MAX_PILES; ++p) {
    CARD* holder = holders[p];
    if (holder == nullptr) continue;
    holder->setValue(pileSlots[p][0]);
    holder->kind = CARD::STOCK_OR_PILE;
    holder->index = p;
    holder->setPileSpecial(pileSpecial[p][0] == 1);
  }
}

int32_t CARD_PILES::getCardsLeft() const { return stockSize - used; }

int32_t CARD_PILES::getSuit(int32_t value) const { return value / 13 + 1; }

int32_t CARD_PILES::getRank(int32_t value) const {
  return value == CARD::JOKER ? CARD::JOKER : value % 13 + 2;
}

bool CARD_PILES::addPile() {
  if (pileCount >= MAX_PILES) return false;
  const int32_t pile = pileCount;
  int32_t size = 0;
  // A new pile lines up with the deepest one, so the gathering at a turnover keeps the
  // deal order across the rows.
  for (int32_t p = 0; p < pileCount; ++p) {
    if (pileSizes[p] > size) size = pileSizes[p];
  }
  pileSizes[pile] = size;
  pileSpecialSizes[pile] = size;
  ++pileCount;
  centrePiles();
  return true;
}

void CARD_PILES::centrePiles() {
  const float w = static_cast<float>(cardWidth);
  const float total = static_cast<float>(pileCount) * (w + 10.0f) + w;
  stockX = 512.0f + w - (total + offset - 10.0f) / 2.0f;
  for (int32_t i = 0; i < MAX_PILES; ++i) {
    CARD* holder = holders[i];
    if (holder == nullptr) continue;
    holder->homeX = holder->currentX = stockX + offset + static_cast<float>(i) * (w + 10.0f);
  }
}

void CARD_PILES::setSpecialCardsCount(int32_t count) {
  skittleCount = count;
  pickSpecialCards();
}

void CARD_PILES::pickSpecialCards() {
  for (int32_t i = 0; i < MAX_CARDS; ++i) stockSpecial[i] = 0;
  for (int32_t p = 0; p < MAX_PILES; ++p) {
    for (int32_t i = 0; i < MAX_CARDS; ++i) pileSpecial[p][i] = -1;
    pileSpecialSizes[p] = 0;
  }
  if (skittleCount < 1) return;

  const bool tutorial = owner != nullptr && owner->isTutorial;
  // The tutorial places its two skittles itself, which needs a stock deeper than the place
  // of the first one; a shallower stock is drawn as usual.
  const bool tutorialDraw = tutorial && stockSize > TUTORIAL_FIRST_SKITTLE_FROM;
  const int32_t available = tutorialDraw ? TUTORIAL_SKITTLES : stockSize;
  int32_t wanted = skittleCount;
  if (wanted > available) {
    QEL::fLog("CARD_PILES::pickSpecialCards: only ", available, " of ", skittleCount,
              " skittle cards can be placed");
    wanted = available;
  }

  int32_t flagged = 0;
  while (flagged < wanted) {
    int32_t pos;
    if (tutorialDraw) {
      pos = flagged == 0
                ? std::rand() % (stockSize - TUTORIAL_FIRST_SKITTLE_FROM) + TUTORIAL_FIRST_SKITTLE_FROM
                : TUTORIAL_SECOND_SKITTLE;
    } else {
      pos = std::rand() % stockSize;
    }
    if (stockSpecial[pos] == 1) continue;
    stockSpecial[pos] = 1;
    ++flagged;
  }
}

void CARD_PILES::alignPiles() {
  stockSize = 0;
  int32_t m = 0;
  for (int32_t p = 0; p < pileCount; ++p) {
    if (pileSizes[p] > m) m = pileSizes[p];
  }
  if (m > MAX_CARDS) m = MAX_CARDS;

  // Every pile slides to the bottom of the deepest pile's range, keeping its order.
  for (int32_t p = 0; p < pileCount; ++p) {
    const int32_t size = pileSizes[p] < m ? pileSizes[p] : m;
    const int32_t shift = m - size;
    if (shift == 0) continue;
    for (int32_t i = size - 1; i >= 0; --i) {
      pileSlots[p][i + shift] = pileSlots[p][i];
      pileCards[p][i + shift] = pileCards[p][i];
      pileSpecial[p][i + shift] = pileSpecial[p][i];
    }
    for (int32_t i = 0; i < shift; ++i) {
      pileSlots[p][i] = -1;
      pileCards[p][i] = nullptr;
      pileSpecial[p][i] = -1;
    }
  }

  if (m == 0) {
    stockSize = 0;
    used = 0;
    clearPiles();
    return;
  }

  // The deepest row first: the rebuilt stock starts with the cards dealt first.
  int32_t count = 0;
  for (int32_t r = m - 1; r >= 0; --r) {
    for (int32_t p = 0; p < pileCount; ++p) {
      if (pileSlots[p][r] == -1 || count >= MAX_CARDS) continue;
      stockValues[count] = pileSlots[p][r];
      stockCards[count] = pileCards[p][r];
      stockSpecial[count] = pileSpecial[p][r] == 1 ? 1 : 0;
      ++count;
    }
  }
  stockSize = count;
  used = 0;
  clearPiles();
}

void CARD_PILES::pushOnPile(int32_t pile, int32_t value, CARD* card, int32_t specialFlag) {
  int32_t size = pileSizes[pile];
  if (size >= MAX_CARDS) {
    QEL::fLog("CARD_PILES::onStockEmpty: pile ", pile, " is full; its bottom card is dropped");
    size = MAX_CARDS - 1;
  }
  for (int32_t i = size; i > 0; --i) {
    pileSlots[pile][i] = pileSlots[pile][i - 1];
    pileCards[pile][i] = pileCards[pile][i - 1];
    pileSpecial[pile][i] = pileSpecial[pile][i - 1];
  }
  pileSlots[pile][0] = value;
  pileCards[pile][0] = card;
  pileSpecial[pile][0] = specialFlag;
  pileSizes[pile] = size + 1;
  pileSpecialSizes[pile] = size + 1;
}

bool CARD_PILES::onStockEmpty() {
  for (CARD* holder : holders) {
    if (holder == nullptr) continue;
    holder->currentX = holder->homeX;
    holder->currentY = holder->homeY;
    holder->angle = 0.0f;
  }

  if (used >= stockSize && !gIsReshuffling) {
    // A turnover: the ball ends and the piles go back into the stock.
    if (owner != nullptr) {
      if (owner->turnoversLeft < 1) {
        owner->finishLevel();
        return false;
      }
      if (owner->turnoversLeft < UNLIMITED_TURNOVERS) {
        --owner->turnoversLeft;
        setLabelText(owner->turnoversLabel, std::to_wstring(owner->turnoversLeft));
      }
      owner->recordBall();
    }
    alignPiles();
    if (owner != nullptr) owner->showResultBanner(1);
    return true;
  }

  for (int32_t p = 0; p < pileCount && p < MAX_PILES && used < stockSize; ++p) {
    const int32_t value = stockValues[used];
    CARD* card = stockCards[used];
    const int32_t specialFlag = stockSpecial[used];
    ++used;
    pushOnPile(p, value, card, specialFlag);
    if (card == nullptr) continue;
    card->currentX = stockX;
    card->currentY = stockY;
    card->dealtPile = p;
    if (specialFlag == 1) card->setPileSpecial(true);
    if (owner != nullptr && owner->cardFlights != nullptr && holders[p] != nullptr) {
      owner->cardFlights->addFlight(card, CARD_FLIGHTS::TURN_OVER, stockX, stockY,
                                    holders[p]->currentX, holders[p]->currentY, 0.0f, 0.0f);
    }
  }

  if (used < stockSize) return true;
  if (!gHintShown[hint_step::TURN_STOCK_OR_RESHUFFLE] && !gIsReshuffling && owner != nullptr) {
    owner->showHint(hint_step::TURN_STOCK_OR_RESHUFFLE);
  }
  return false;
}

void CARD_PILES::releaseDeckCards() {
  for (int32_t i = 0; i < MAX_CARDS; ++i) {
    delete deckCards[i];
    deckCards[i] = nullptr;
    stockCards[i] = nullptr;
  }
  for (int32_t p = 0; p < MAX_PILES; ++p) {
    for (int32_t i = 0; i < MAX_CARDS; ++i) pileCards[p][i] = nullptr;
  }
}

void CARD_PILES::releaseHolders() {
  for (CARD*& holder : holders) {
    delete holder;
    holder = nullptr;
  }
}
