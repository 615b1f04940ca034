#pragma once
// The stock and reserve piles of a level. Taking the stock deals one card face up onto each
// reserve pile; taking the used-up stock again is a turnover: the piles are gathered back
// into the stock and the next ball of the frame begins. Five holder cards show the piles'
// top cards. The level creates one model per scene and is called back by it.
#include <cstdint>

class CARD;
class SCENE_CARD_GAME_LEVEL;

class CARD_PILES {
 public:
  static constexpr int32_t MAX_CARDS = 208;  // entries of the stock and of every pile
  static constexpr int32_t MAX_PILES = 5;
  static constexpr float STOCK_X = 400.0f;
  static constexpr float STOCK_Y = 698.0f;
  static constexpr float PILE_OFFSET = 100.0f;  // gap between the stock and the first pile

  CARD_PILES();
  ~CARD_PILES();
  CARD_PILES(const CARD_PILES&) = delete;
  CARD_PILES& operator=(const CARD_PILES&) = delete;

  void init();
  void setCardWidth(int32_t width);
  void setScene(SCENE_CARD_GAME_LEVEL* level);

  // A new deal of n stock cards (at most MAX_CARDS) for 1 to 5 reserve piles.
  void startDeal(int32_t piles, int32_t n);
  void createDeckCards();
  void deal();
  void fillDeckCards();
  void reshuffle();
  void clearPiles();

  // Position 0 is a pile's top; -1 is an empty slot (and the answer out of range).
  int32_t getCard(int32_t pile, int32_t pos) const;
  void setCard(int32_t value, int32_t pile, int32_t pos);
  CARD* getCardState(int32_t pile, int32_t pos) const;
  bool isSpecialSlot(int32_t pile, int32_t pos) const;
  void removeFirstCard(int32_t pile);
  // Where the card lies in the pile (0 the top), -1 when it is not in it.
  int32_t findCard(int32_t pile, const CARD* card) const;
  // The cards above it move down one place; out of range changes nothing.
  void removeCardAt(int32_t pile, int32_t pos);
  void updatePileTops();
  int32_t getCardsLeft() const;
  int32_t getSuit(int32_t value) const;
  int32_t getRank(int32_t value) const;
  bool addPile();
  void centrePiles();

  void setSpecialCardsCount(int32_t count);
  void pickSpecialCards();
  void alignPiles();
  // The player took the stock: deals a card onto each pile, or turns the used-up stock
  // over. False when the stock is used up by this action, and when the frame ends.
  bool onStockEmpty();

  int32_t deckCount = 0;
  int32_t stockSize = 0;
  int32_t used = 0;  // stock entries already dealt
  int32_t pileCount = 0;
  int32_t stockValues[MAX_CARDS] = {};
  int32_t pileSlots[MAX_PILES][MAX_CARDS] = {};
  int32_t pileSizes[MAX_PILES] = {};
  CARD* stockCards[MAX_CARDS] = {};
  CARD* pileCards[MAX_PILES][MAX_CARDS] = {};
  int32_t stockSpecial[MAX_CARDS] = {};
  int32_t pileSpecial[MAX_PILES][MAX_CARDS] = {};
  int32_t pileSpecialSizes[MAX_PILES] = {};
  CARD* holders[MAX_PILES] = {};
  CARD* deckCards[MAX_CARDS] = {};  // owned: created by a deal, released by the next deal
  float stockX = STOCK_X;
  float stockY = STOCK_Y;
  float offset = PILE_OFFSET;
  int32_t cardWidth = 0;
  SCENE_CARD_GAME_LEVEL* owner = nullptr;
  int32_t skittleCount = 0;

 private:
  bool validSlot(int32_t pile, int32_t pos) const;
  void releaseDeckCards();
  void releaseHolders();
  void pushOnPile(int32_t pile, int32_t value, CARD* card, int32_t specialFlag);
};
