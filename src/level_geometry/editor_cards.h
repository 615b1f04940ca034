#pragma once
// The editor's 300 card slots and the small operations on them: selection, the card line,
// slot and layer allocation, overlaps and layer moves. Kept free of widgets so the level
// generator and the editor scene share it.
#include <array>
#include <cstdint>
#include <vector>

constexpr int EDITOR_CARD_SLOTS = 300;
constexpr int EDITOR_BOTTOM_LAYER = -100;
constexpr int EDITOR_TOP_LAYER = 100;
constexpr int EDITOR_NO_LAYER_FILTER = -100;
constexpr float EDITOR_PLAY_AREA_WIDTH = 1024.0f;

struct EDITOR_CARD {
  bool inUse = false;
  float x = -100.0f, y = -100.0f;
  float angle = 0.0f;  // radians, clockwise on the screen
  int32_t zLayer = 0;
  int32_t value = -1;  // -1 random, 0-51 fixed
  bool isSpecial = false;
  std::vector<int32_t> overList;   // cards lying over this one
  std::vector<int32_t> underList;  // cards lying under this one

  // Takes the slot into use at its initial place; value and special flag stay.
  void putOnTable();
  // Takes the slot into use at (px, py) on layer z, unturned, with the value and special flag.
  void putOnTable(float px, float py, int32_t z, int32_t cardValue, bool special);
  // Frees the slot: value -1, lists dropped, not special.
  void reset();
  // Layer, position and an angle given in degrees.
  void place(int32_t z, float px, float py, float degrees);
};

constexpr float DEGREES_TO_RADIANS = 0.017453292f;
constexpr float RADIANS_TO_DEGREES = 57.295776f;

class SELECTED_CARDS {
 public:
  static constexpr int CAPACITY = 100;
  SELECTED_CARDS() { clear(); }
  void clear();
  // A full list ignores further slots rather than write past its end.
  void add(int32_t slot);
  void remove(int32_t slot);
  int32_t get(int i) const { return (i >= 0 && i < CAPACITY) ? entries_[i] : -1; }
  bool hasCards() const { return count_ > 0; }
  bool contains(int32_t slot) const;
  int32_t count() const { return count_; }

 private:
  std::array<int32_t, CAPACITY> entries_{};
  int32_t count_ = 0;
};

class CARD_LINE {
 public:
  static constexpr int CAPACITY = 21;
  CARD_LINE() { clear(); }
  void clear();
  // A full line ignores a 22nd slot; popping an empty line gives -1.
  void push(int32_t slot);
  int32_t pop();
  int32_t get(int i) const { return (i >= 0 && i < CAPACITY) ? slots_[i] : -1; }
  void setStart(float x, float y) { startX = x; startY = y; }
  void setEnd(float x, float y) { endX = x; endY = y; }
  int32_t count() const { return count_; }

  static constexpr int32_t NONE = 0;
  static constexpr int32_t BEING_DRAWN = 1;  // the left button drags its end
  static constexpr int32_t FINISHED = 2;
  int32_t state = NONE;
  float startX = 0, startY = 0, endX = 0, endY = 0;
  float middleX = 0, middleY = 0;
  float fanAngle = 0;  // radians, the turn of the last card

 private:
  std::array<int32_t, CAPACITY> slots_{};
  int32_t count_ = 0;
};

class EDITOR_CARD_TABLE {
 public:
  // cardWidth/cardHeight: the face picture's size (pointer test, play-area bound, layouts).
  explicit EDITOR_CARD_TABLE(float cardWidth = 75.0f, float cardHeight = 116.0f);

  std::array<EDITOR_CARD, EDITOR_CARD_SLOTS> cards;
  SELECTED_CARDS selectedCards;
  CARD_LINE cardLine;
  int32_t currentCard = -1;
  int32_t layerFilter = EDITOR_NO_LAYER_FILTER;
  int32_t bottomLayer = EDITOR_BOTTOM_LAYER;
  int32_t topLayer = EDITOR_TOP_LAYER;
  int32_t countOfSpecialCards = 0;
  bool isModified = false;
  float cardWidth;
  float cardHeight;

  static bool isValidSlot(int32_t slot) { return slot >= 0 && slot < EDITOR_CARD_SLOTS; }

  bool isMouseOverCard(int32_t slot, float mouseX, float mouseY) const;
  bool cardsOverlap(int32_t i, int32_t j) const;
  // The slots in use whose cards overlap the slot's card, in slot order.
  std::vector<int32_t> overlappingCards(int32_t slot) const;
  int32_t bringToFront(int32_t slot);
  int32_t bringToBack(int32_t slot);

  // The lowest free slot; 299 when every slot is in use (isFull tells that case apart).
  int32_t findFreeSlot() const;
  bool isFull() const;
  int32_t getTopLayer() const;
  // The new card's slot, or -1: right of the play area, or every slot already in use.
  int32_t addCard(float x, float y, float z);
  int32_t countCardsInUse() const;

  // Shape generators (shape_generators.cpp).
  void spreadCardLine();
  void fanCardLine();
  void makeLinesOfCards();
  void makeSquareOfCards();
  void makeCircleOfCards();

  void clearEditor();

  // Recomputes every card's over and under lists from the current overlaps and layers.
  void computeCoverLists();
};
