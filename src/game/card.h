#pragma once
// One card of the game: a card of a level's layout, a stock card, a pile-holder card that
// shows the top of a reserve pile, or a card placed in the editor. A plain value with the
// flags that the play, the drawing and the flights read; its fields are public because the
// level, the piles and the flights all work on them directly.
#include <cstdint>
#include <vector>

#include "engine/color.h"

class CARD {
 public:
  static constexpr int32_t JOKER = 777;
  static constexpr float DEGREES_TO_RADIANS = 0.017453292f;
  // kind: what the card is to the level.
  enum KIND : int32_t {
    IN_LAYOUT = 0,  // a layout card on the table
    TAKEN = 1,  // a layout card taken in a pair
    STOCK_OR_PILE = 2,  // a stock card or a reserve pile's holder
  };

  CARD();
  ~CARD();

  // Neutral state for slot or pile number `id`: no value, off the table, no lists, covered.
  void init(int32_t id);
  // 0-51 derive suit and rank (below 52 always, so -1 gives suit 1, rank 1); 777 is the joker;
  // any other value leaves suit and rank as they were.
  void setValue(int32_t value);
  void reset();
  void putOnTable();
  bool isOffTable() const;
  // Angle in degrees. An editor card is moved where it is drawn, a level card gets its place
  // in the layout.
  void place(int32_t zLayer, float x, float y, float angleDegrees);
  float getAngle() const;

  int32_t getZLayer() const;
  void setZLayer(int32_t layer);
  void raiseZLayer();
  void lowerZLayer();
  void setZLayerRange(int32_t upper, int32_t lower);

  void resetColor();
  void updateColor();

  void setCovered(bool flag);
  bool isCovered() const;
  void setSpecial(bool flag);
  bool isSpecial() const;
  void setPileSpecial(bool flag);
  bool isPileSpecial() const;
  void setFlipScale(float scale);
  void setFaceUp(bool flag);
  bool isFaceUp() const;

  // Copies n ids into a fresh list; n <= 0 (or no ids) leaves no list.
  void setOverList(const int32_t* ids, int32_t n);
  void setUnderList(const int32_t* ids, int32_t n);
  bool hasUnder() const;
  int32_t overCount() const;
  int32_t underCount() const;
  // Removes the first occurrence of the id; an absent id changes nothing.
  void removeOver(int32_t cardId);
  void freeLists();

  int32_t value = -1;  // 0-51 a card, 777 a joker, -1 none
  int32_t id = 0;
  int32_t suit = 1;  // value / 13 + 1, -1 for the joker
  int32_t rank = 1;  // value % 13 + 2 (14 the ace), 777 for the joker
  bool special = false;  // the card is a skittle
  float currentX = 0.0f, currentY = 0.0f;  // where it is drawn now
  float homeX = 0.0f, homeY = 0.0f;  // resting place (holders: their place in the row of piles)
  float startX = 0.0f, startY = 0.0f;  // where the current flight began
  float tableX = 0.0f, tableY = 0.0f;  // its place in the layout
  float angle = 0.0f;  // radians
  float flipScale = 1.0f;  // horizontal scale while the card turns over
  float faceFlag = 0.0f;  // 0 or 1: which side the turning card shows
  QEL::QS_COLOR color{0xFFFFFFFFu};
  int32_t zLayer = 0;
  bool onTable = false;
  std::vector<int32_t> overList;  // ids of the cards lying over this one
  std::vector<int32_t> underList;  // ids of the cards lying under this one
  bool covered = true;
  int32_t kind = IN_LAYOUT;
  int32_t index = 0;  // position in the stock, or the pile number of a holder
  bool inFlight = false;
  bool flightDone = false;  // a removal or turn-over flight has ended; the level clears it
  int32_t zLayerUpper = 0, zLayerLower = 0;
  bool pileSpecial = false;  // a holder shows a skittle card
  int32_t dealtPile = 0;  // the pile the card was last dealt to; sets its turn-over speed
  bool editorCard = false;
};
