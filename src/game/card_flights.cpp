#include "game/card_flights.h"

#include <cmath>

#include "engine/log.h"
#include "game/card.h"

namespace {

// Where the flight puts its card at t; at its end exactly on the target, whatever the
// rounding of start + change.
void placeCard(const CARD_FLIGHT& flight, float t, bool ends, bool turnsCard) {
  CARD* card = flight.card;
  if (ends) {
    card->currentX = flight.endX;
    card->currentY = flight.endY;
    if (turnsCard) card->angle = flight.endAngle;
    return;
  }
  card->currentX = flight.startX + flight.dx * t;
  card->currentY = flight.startY + flight.dy * t;
  if (turnsCard) card->angle = flight.startAngle + flight.angleChange * t;
}

// The fractional part, as the truncating conversion of the phase computation gives it.
float fraction(float v) { return v - std::trunc(v); }

constexpr float REMOVAL_TURN_TIME = 0.3f;  // seconds per half turn of a removed card

}  // namespace

CARD_FLIGHTS::CARD_FLIGHTS() = default;

CARD_FLIGHTS::~CARD_FLIGHTS() = default;

void CARD_FLIGHTS::init() {
  for (CARD_FLIGHT& flight : flights) flight = CARD_FLIGHT{};
  animationRunning = false;
  spinRate = 360.0f;
}

void CARD_FLIGHTS::addFlight(CARD* card, int32_t kind, float startX, float startY, float endX,
                             float endY, float startAngle, float endAngle) {
  if (card == nullptr || kind < MOVE || kind > TURN_OVER) {
    QEL::fLog("CARD_FLIGHTS::addFlight: ignored flight of kind ", kind,
              card == nullptr ? " without a card" : "");
    return;
  }
  CARD_FLIGHT* flight = nullptr;
  for (CARD_FLIGHT& candidate : flights) {
    if (candidate.kind == FREE) {
      flight = &candidate;
      break;
    }
  }
  if (flight == nullptr) return;

  flight->card = card;
  flight->startX = startX;
  flight->startY = startY;
  flight->endX = endX;
  flight->endY = endY;
  flight->startAngle = startAngle;
  flight->endAngle = endAngle;
  card->startX = card->currentX;
  card->startY = card->currentY;

  flight->dx = endX - startX;
  flight->dy = endY - startY;
  const float distance = std::sqrt(flight->dx * flight->dx + flight->dy * flight->dy);
  flight->angleChange = endAngle - startAngle;

  switch (kind) {
    case MOVE:
      flight->duration = distance / SPEED;
      break;
    case REMOVAL:
    case SPIN_OUT: {
      flight->duration = distance / SPEED;
      const float turn = spinRate * flight->duration * CARD::DEGREES_TO_RADIANS;
      flight->startAngle = card->angle;
      flight->endAngle = startX <= endX ? flight->startAngle + turn : flight->startAngle - turn;
      flight->angleChange = flight->endAngle - flight->startAngle;
      break;
    }
    case SPIN_IN: {
      flight->duration = distance / SPEED;
      const float turn = spinRate * flight->duration * CARD::DEGREES_TO_RADIANS;
      flight->endAngle = card->angle;
      flight->startAngle = endX < startX ? flight->endAngle + turn : flight->endAngle - turn;
      flight->angleChange = flight->endAngle - flight->startAngle;
      break;
    }
    case TURN_OVER: {
      // Cards for the farther piles fly faster, so a deal lands at about the same time.
      const float speed = 200.0f * static_cast<float>(card->dealtPile) + 800.0f;
      flight->duration = speed > 0.0f ? distance / speed : 0.0f;
      card->faceFlag = 1.0f;
      break;
    }
    default:
      break;
  }

  flight->elapsed = 0.0f;
  flight->kind = kind;
  card->inFlight = true;
}

void CARD_FLIGHTS::update(float dt) {
  bool anyActive = false;
  bool anyPhase = false;
  float lastPhase = turnPhase;

  for (CARD_FLIGHT& flight : flights) {
    if (flight.kind == FREE) continue;
    anyActive = true;
    CARD* card = flight.card;

    flight.elapsed += dt;
    // A flight of zero length (or one whose time is up) ends in this step.
    float t = flight.duration > 0.0f ? flight.elapsed / flight.duration : 1.0f;
    const bool ends = t >= 1.0f;
    if (ends) t = 1.0f;

    switch (flight.kind) {
      case MOVE:
      case SPIN_IN:
      case SPIN_OUT:
        placeCard(flight, t, ends, true);
        if (ends && flight.kind == SPIN_IN) card->flipScale = 1.0f;
        break;

      case REMOVAL: {
        const float phase = fraction(flight.elapsed / REMOVAL_TURN_TIME);
        if (phase < turnPhase) card->faceFlag = card->faceFlag != 0.0f ? 0.0f : 1.0f;
        if (ends) {
          card->flightDone = true;
          card->faceFlag = 0.0f;
        }
        placeCard(flight, t, ends, true);
        card->flipScale = card->faceFlag == 0.0f ? 1.0f - phase : phase;
        lastPhase = phase;
        anyPhase = true;
        break;
      }

      case TURN_OVER: {
        const float phase = fraction(2.0f * t);
        if (t >= 0.5f && card->faceFlag != 0.0f) card->faceFlag = 0.0f;
        placeCard(flight, t, ends, false);
        if (ends) {
          card->flightDone = true;
          // The second half widens the card again; at its end it lies at full width (the
          // phase of t = 1 would wrap round to a card of no width).
          card->flipScale = 1.0f;
        } else {
          card->flipScale = card->faceFlag == 0.0f ? phase : 1.0f - phase;
        }
        lastPhase = phase;
        anyPhase = true;
        break;
      }

      default:
        break;
    }

    if (ends) {
      card->inFlight = false;
      flight = CARD_FLIGHT{};
    }
  }

  if (!anyActive) animationRunning = false;
  // With no turning flight left the phase starts afresh, so the next removal does not turn
  // over in its first step because of a phase left from an earlier one.
  turnPhase = anyPhase ? lastPhase : 0.0f;
}

int32_t CARD_FLIGHTS::activeCount() const {
  int32_t count = 0;
  for (const CARD_FLIGHT& flight : flights) {
    if (flight.kind != FREE) ++count;
  }
  return count;
}
