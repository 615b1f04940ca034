#pragma once
// Cards moving across the table: dealt in and out of the layout, a removed pair flying away,
// a card spinning into place, a stock card turning over on its way to its pile. A fixed table
// of records that the level advances once per update step; a flight writes the card's
// position, angle, flip scale and face flag, the card itself only knows it is in flight.
#include <cstdint>

class CARD;

struct CARD_FLIGHT {
  CARD* card = nullptr;
  int32_t kind = 0;  // CARD_FLIGHTS::FREE ... CARD_FLIGHTS::TURN_OVER
  float startX = 0.0f, startY = 0.0f;
  float endX = 0.0f, endY = 0.0f;
  float startAngle = 0.0f, endAngle = 0.0f;  // radians
  float dx = 0.0f, dy = 0.0f;
  float angleChange = 0.0f;
  float duration = 0.0f;  // seconds
  float elapsed = 0.0f;
};

class CARD_FLIGHTS {
 public:
  static constexpr int32_t MAX_FLIGHTS = 300;
  enum : int32_t { FREE = 0, MOVE = 1, REMOVAL = 2, SPIN_IN = 3, SPIN_OUT = 4, TURN_OVER = 5 };
  static constexpr float SPEED = 1100.0f;  // pixels per second of the moves and spins

  CARD_FLIGHTS();
  ~CARD_FLIGHTS();

  void init();
  // Starts a flight in the first free record; ignored when all are busy.
  void addFlight(CARD* card, int32_t kind, float startX, float startY, float endX, float endY,
                 float startAngle, float endAngle);
  void update(float dt);
  int32_t activeCount() const;

  CARD_FLIGHT flights[MAX_FLIGHTS];
  // Set by the level when it starts a group animation, cleared by the update once no flight
  // is left; removal and turn-over flights do not set it.
  bool animationRunning = false;
  float spinRate = 360.0f;  // degrees per second
  float turnPhase = 0.0f;  // the last turn phase, shared by all records
};
