#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "game/card.h"
#include "game/card_flights.h"

namespace {

constexpr float kDegToRad = 0.017453292f;

class Flights : public ::testing::Test {
 protected:
  void SetUp() override {
    flights = std::make_unique<CARD_FLIGHTS>();
    flights->init();
    card.init(0);
  }

  std::unique_ptr<CARD_FLIGHTS> flights;
  CARD card;
};

TEST_F(Flights, AMoveOf1100PixelsLastsOneSecond) {
  flights->addFlight(&card, CARD_FLIGHTS::MOVE, 0.0f, 0.0f, 1100.0f, 0.0f, 0.0f, 1.0f);
  EXPECT_TRUE(card.inFlight);
  flights->update(0.5f);
  EXPECT_NEAR(card.currentX, 550.0f, 1e-3f);
  EXPECT_NEAR(card.angle, 0.5f, 1e-5f);
  EXPECT_TRUE(card.inFlight);
  flights->update(0.5f);
  EXPECT_FLOAT_EQ(card.currentX, 1100.0f);
  EXPECT_FLOAT_EQ(card.angle, 1.0f);
  EXPECT_FALSE(card.inFlight);
  EXPECT_EQ(flights->activeCount(), 0);
  // A plain move is no removal: nothing for the level to pick up.
  EXPECT_FALSE(card.flightDone);
}

TEST_F(Flights, AMoveOf550PixelsLastsHalfASecond) {
  flights->addFlight(&card, CARD_FLIGHTS::MOVE, 100.0f, 100.0f, 100.0f, 650.0f, 0.0f, 0.0f);
  flights->update(0.25f);
  EXPECT_TRUE(card.inFlight);
  EXPECT_NEAR(card.currentY, 375.0f, 1e-3f);
  flights->update(0.25f);
  EXPECT_FALSE(card.inFlight);
  EXPECT_FLOAT_EQ(card.currentY, 650.0f);
}

TEST_F(Flights, AnOvershootingStepEndsExactlyAtTheTarget) {
  flights->addFlight(&card, CARD_FLIGHTS::MOVE, 10.0f, 20.0f, 123.0f, 456.0f, 0.25f, 2.5f);
  flights->update(7.0f);
  EXPECT_FLOAT_EQ(card.currentX, 123.0f);
  EXPECT_FLOAT_EQ(card.currentY, 456.0f);
  EXPECT_FLOAT_EQ(card.angle, 2.5f);
  EXPECT_FALSE(card.inFlight);
}

TEST_F(Flights, ATurnOverToPileTwoMovesAt1200PixelsASecond) {
  card.dealtPile = 2;
  flights->addFlight(&card, CARD_FLIGHTS::TURN_OVER, 0.0f, 0.0f, 600.0f, 0.0f, 0.0f, 0.0f);
  EXPECT_TRUE(card.isFaceUp());
  EXPECT_FLOAT_EQ(flights->flights[0].duration, 0.5f);

  flights->update(0.125f);  // a quarter of the way: narrowing, still the first side
  EXPECT_NEAR(card.currentX, 150.0f, 1e-3f);
  EXPECT_TRUE(card.isFaceUp());
  EXPECT_NEAR(card.flipScale, 0.5f, 1e-5f);

  flights->update(0.25f);  // three quarters: widening, the other side
  EXPECT_FALSE(card.isFaceUp());
  EXPECT_NEAR(card.flipScale, 0.5f, 1e-5f);
  EXPECT_FALSE(card.flightDone);

  flights->update(0.125f);
  EXPECT_FLOAT_EQ(card.currentX, 600.0f);
  EXPECT_TRUE(card.flightDone);
  EXPECT_FALSE(card.inFlight);
  // Landed at full width, not folded to nothing.
  EXPECT_FLOAT_EQ(card.flipScale, 1.0f);
  // A turn-over leaves the angle alone.
  EXPECT_FLOAT_EQ(card.angle, 0.0f);
}

TEST_F(Flights, ARemovalSpinsTheWayItFlies) {
  card.angle = 0.5f;
  flights->addFlight(&card, CARD_FLIGHTS::REMOVAL, 0.0f, 0.0f, 1100.0f, 0.0f, 9.0f, 9.0f);
  const CARD_FLIGHT& flight = flights->flights[0];
  EXPECT_FLOAT_EQ(flight.startAngle, 0.5f);  // the card's own angle, not the one given
  EXPECT_NEAR(flight.endAngle, 0.5f + 360.0f * kDegToRad, 1e-4f);

  CARD leftward;
  leftward.init(1);
  flights->addFlight(&leftward, CARD_FLIGHTS::SPIN_OUT, 1100.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f);
  EXPECT_NEAR(flights->flights[1].endAngle, -360.0f * kDegToRad, 1e-4f);

  flights->update(2.0f);
  EXPECT_TRUE(card.flightDone);
  EXPECT_FALSE(card.isFaceUp());
  EXPECT_NEAR(card.angle, 0.5f + 360.0f * kDegToRad, 1e-4f);
  EXPECT_FALSE(leftward.flightDone);  // a spin out is no removal
}

TEST_F(Flights, ASpinInEndsAtTheCardsOwnAngle) {
  card.angle = 0.3f;
  card.flipScale = 0.0f;
  flights->addFlight(&card, CARD_FLIGHTS::SPIN_IN, 1100.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f);
  EXPECT_NEAR(flights->flights[0].startAngle, 0.3f + 360.0f * kDegToRad, 1e-4f);
  flights->update(0.5f);
  EXPECT_NEAR(card.angle, 0.3f + 180.0f * kDegToRad, 1e-4f);
  flights->update(0.5f);
  EXPECT_FLOAT_EQ(card.angle, 0.3f);
  EXPECT_FLOAT_EQ(card.flipScale, 1.0f);
}

TEST_F(Flights, ThePairOfARemovalTurnsOverTogether) {
  CARD partner;
  partner.init(1);
  flights->addFlight(&card, CARD_FLIGHTS::REMOVAL, 0.0f, 0.0f, 2200.0f, 0.0f, 0.0f, 0.0f);
  flights->addFlight(&partner, CARD_FLIGHTS::REMOVAL, 0.0f, 0.0f, 0.0f, 2200.0f, 0.0f, 0.0f);
  int toggles = 0;
  bool face = card.isFaceUp();
  for (int step = 0; step < 60; ++step) {
    flights->update(1.0f / 60.0f);
    EXPECT_EQ(card.isFaceUp(), partner.isFaceUp());
    if (card.isFaceUp() != face) ++toggles;
    face = card.isFaceUp();
  }
  // One turn every 0.3 s over one second.
  EXPECT_EQ(toggles, 3);
}

TEST_F(Flights, The301stFlightIsDropped) {
  std::vector<CARD> cards(CARD_FLIGHTS::MAX_FLIGHTS + 1);
  for (size_t i = 0; i < cards.size(); ++i) {
    cards[i].init(static_cast<int32_t>(i));
    cards[i].currentX = 5.0f;
    flights->addFlight(&cards[i], CARD_FLIGHTS::MOVE, 0.0f, 0.0f, 1000.0f, 0.0f, 0.0f, 0.0f);
  }
  EXPECT_EQ(flights->activeCount(), CARD_FLIGHTS::MAX_FLIGHTS);
  CARD& last = cards.back();
  EXPECT_FALSE(last.inFlight);
  flights->update(0.5f);
  EXPECT_FLOAT_EQ(last.currentX, 5.0f);
  EXPECT_FLOAT_EQ(cards[0].currentX, 550.0f);
}

TEST_F(Flights, AFreedRecordIsReused) {
  CARD other;
  other.init(1);
  flights->addFlight(&card, CARD_FLIGHTS::MOVE, 0.0f, 0.0f, 110.0f, 0.0f, 0.0f, 0.0f);
  flights->update(1.0f);
  flights->addFlight(&other, CARD_FLIGHTS::MOVE, 0.0f, 0.0f, 110.0f, 0.0f, 0.0f, 0.0f);
  EXPECT_EQ(flights->flights[0].card, &other);
}

TEST_F(Flights, AFlightOfNoLengthEndsInItsFirstStep) {
  card.dealtPile = 0;
  flights->addFlight(&card, CARD_FLIGHTS::TURN_OVER, 40.0f, 50.0f, 40.0f, 50.0f, 0.0f, 0.0f);
  flights->update(0.0f);
  EXPECT_FALSE(card.inFlight);
  EXPECT_TRUE(card.flightDone);
  EXPECT_FLOAT_EQ(card.currentX, 40.0f);
  EXPECT_FLOAT_EQ(card.currentY, 50.0f);
  EXPECT_FLOAT_EQ(card.flipScale, 1.0f);
}

TEST_F(Flights, RequestsWithoutACardOrWithAnUnknownKindAreIgnored) {
  flights->addFlight(nullptr, CARD_FLIGHTS::MOVE, 0.0f, 0.0f, 10.0f, 0.0f, 0.0f, 0.0f);
  flights->addFlight(&card, 0, 0.0f, 0.0f, 10.0f, 0.0f, 0.0f, 0.0f);
  flights->addFlight(&card, 6, 0.0f, 0.0f, 10.0f, 0.0f, 0.0f, 0.0f);
  EXPECT_EQ(flights->activeCount(), 0);
  EXPECT_FALSE(card.inFlight);
  flights->update(1.0f);
}

TEST_F(Flights, TheAnimationFlagClearsOnceNothingFlies) {
  flights->animationRunning = true;
  flights->addFlight(&card, CARD_FLIGHTS::MOVE, 0.0f, 0.0f, 110.0f, 0.0f, 0.0f, 0.0f);
  flights->update(0.05f);
  EXPECT_TRUE(flights->animationRunning);
  flights->update(0.05f);  // the flight ends in this pass, which still saw it active
  EXPECT_TRUE(flights->animationRunning);
  flights->update(0.05f);
  EXPECT_FALSE(flights->animationRunning);
}

}  // namespace
