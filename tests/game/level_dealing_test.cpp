#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "game/card.h"
#include "game/card_flights.h"
#include "game/card_piles.h"
#include "game/game_globals.h"
#include "game/scenes/level/level_scene.h"
#include "gui/gui_wlabel.h"
#include "primitives/sprite.h"
#include "save_folder_fixture.h"

namespace {

class LevelDealing : public SaveFolderTest {
 protected:
  void SetUp() override {
    SaveFolderTest::SetUp();
    _scene = std::make_unique<SCENE_CARD_GAME_LEVEL>();
    _scene->cardPiles = new CARD_PILES();
    _scene->cardPiles->setCardWidth(75);
    _scene->cardPiles->init();
    _scene->cardPiles->clearPiles();
    _scene->cardFlights = new CARD_FLIGHTS();
    _scene->cardFlights->init();
    for (int32_t i = 0; i < SCENE_CARD_GAME_LEVEL::MAX_LAYOUT_CARDS; ++i) {
      _scene->cards[i] = new CARD();
      _scene->cards[i]->init(i);
      _scene->cards[i]->setZLayerRange(100, -100);
    }
    _scene->cardSlideDistance = 200;
    _scene->windowSlideDistance = 700;
    _savedLevel = gCurrentLevel;
    _savedPack = gCurrentPack;
  }
  void TearDown() override {
    _scene.reset();
    gCurrentLevel = _savedLevel;
    gCurrentPack = _savedPack;
    gTenthFrameBonus = 0;
    gTenthFrameSecondBonus = 0;
    gTenthFrameKind = 0;
    gIsPaused = 0;
    SaveFolderTest::TearDown();
  }

  CARD* lay(int32_t id, float x, float y, float angle, int32_t zLayer = 0) {
    CARD* card = _scene->cards[id];
    card->putOnTable();
    card->currentX = x;
    card->currentY = y;
    card->angle = angle;
    card->zLayer = zLayer;
    if (id > _scene->maximumCardID) _scene->maximumCardID = id;
    return card;
  }

  int32_t flightsOf(const CARD* card) const {
    int32_t n = 0;
    for (const CARD_FLIGHT& flight : _scene->cardFlights->flights)
      if (flight.kind != CARD_FLIGHTS::FREE && flight.card == card) ++n;
    return n;
  }

  // Updates the scene until its animation has gone back to rest.
  void runUntilAtRest() {
    for (int step = 0; step < 1000 && _scene->animationState != 0; ++step) _scene->updateLevel(0.05f);
  }

  std::unique_ptr<SCENE_CARD_GAME_LEVEL> _scene;
  int _savedLevel = 0;
  int _savedPack = 0;
};

TEST_F(LevelDealing, DealingOutFliesTheLayoutAndOnlyThePilesThatHoldACard) {
  _scene->cardPiles->pileCount = 3;
  _scene->transitionState = 2;
  _scene->cardPiles->setCard(5, 0, 0);
  _scene->cardPiles->setCard(9, 2, 0);
  CARD* a = lay(4, 300, 300, 0.3f);
  CARD* b = lay(10, 500, 300, 0.0f);
  a->homeX = -100.0f;
  a->homeY = 250.0f;
  CARD* offTable = _scene->cards[7];

  _scene->dealOutCards();
  EXPECT_EQ(_scene->animationState, 5);
  EXPECT_TRUE(_scene->cardFlights->animationRunning);
  EXPECT_EQ(flightsOf(a), 1);
  EXPECT_EQ(flightsOf(b), 1);
  EXPECT_EQ(flightsOf(offTable), 0);
  EXPECT_EQ(flightsOf(_scene->cardPiles->holders[0]), 1);
  EXPECT_EQ(flightsOf(_scene->cardPiles->holders[1]), 0);
  EXPECT_EQ(flightsOf(_scene->cardPiles->holders[2]), 1);

  // The holders leave through an edge.
  const CARD* holder = _scene->cardPiles->holders[2];
  for (const CARD_FLIGHT& flight : _scene->cardFlights->flights) {
    if (flight.card != holder) continue;
    const bool beyondX = flight.endX == -100.0f || flight.endX == 1124.0f;
    const bool beyondY = flight.endY == -100.0f || flight.endY == 868.0f;
    EXPECT_TRUE(beyondX || beyondY);
    EXPECT_TRUE(flight.endX >= -100.0f && flight.endX <= 1124.0f);
  }

  runUntilAtRest();
  EXPECT_EQ(_scene->animationState, 0);
  EXPECT_FLOAT_EQ(_scene->leaveTimer, 200.0f);
  EXPECT_FLOAT_EQ(a->currentX, -100.0f);
  EXPECT_FLOAT_EQ(a->currentY, 250.0f);
  EXPECT_FALSE(a->inFlight);
}

TEST_F(LevelDealing, AGatheringPutsEveryCardBackOnItsPlaceWithItsAngle) {
  _scene->cardPiles->pileCount = 2;
  _scene->cardPiles->setCard(12, 1, 0);
  CARD* a = lay(0, 200, 150, 0.5f);
  CARD* b = lay(3, 800, 420, -0.25f, 2);
  a->setValue(3);
  b->setValue(40);
  const float deckX = _scene->cardPiles->stockX;
  const float deckY = _scene->cardPiles->stockY;

  _scene->gatherPileCards();
  EXPECT_EQ(_scene->animationState, 1);
  EXPECT_EQ(flightsOf(_scene->cardPiles->holders[1]), 1);
  EXPECT_EQ(flightsOf(_scene->cardPiles->holders[0]), 0);  // an empty pile stays
  EXPECT_EQ(flightsOf(a), 1);

  // Half way the cards are on their way to the deck.
  _scene->updateLevel(0.1f);
  EXPECT_EQ(_scene->animationState, 1);

  for (int step = 0; step < 1000 && _scene->animationState == 1; ++step) _scene->updateLevel(0.05f);
  // Gathered, reshuffled, and straight on to the dealing back from the deck.
  EXPECT_EQ(_scene->animationState, 2);
  EXPECT_FLOAT_EQ(a->currentX, deckX);
  EXPECT_FLOAT_EQ(b->currentY, deckY);
  EXPECT_FLOAT_EQ(a->angle, 0.0f);
  EXPECT_TRUE(_scene->cardFlights->animationRunning);
  // The two values were shuffled among the two cards: none is lost, none made up.
  EXPECT_EQ(std::min(a->value, b->value), 3);
  EXPECT_EQ(std::max(a->value, b->value), 40);

  runUntilAtRest();
  EXPECT_EQ(_scene->animationState, 0);
  EXPECT_FLOAT_EQ(a->currentX, 200.0f);
  EXPECT_FLOAT_EQ(a->currentY, 150.0f);
  EXPECT_FLOAT_EQ(a->angle, 0.5f);
  EXPECT_FLOAT_EQ(b->currentX, 800.0f);
  EXPECT_FLOAT_EQ(b->currentY, 420.0f);
  EXPECT_FLOAT_EQ(b->angle, -0.25f);
}

TEST_F(LevelDealing, TheLayoutFliesInFromBeyondTheEdgesAndLeavesTheSameWay) {
  CARD* a = lay(0, 0, 0, 0.0f);
  CARD* b = lay(9, 0, 0, 0.0f);
  a->place(0, 250.0f, 300.0f, 10.0f);
  b->place(1, 700.0f, 420.0f, 0.0f);
  a->currentX = a->currentY = b->currentX = b->currentY = -100.0f;
  // As the start-up leaves it: the interface slides in, then the layout flies in.
  _scene->transitionState = 1;
  _scene->leaveTimer = 200.0f;
  _scene->cardSlideDistance = 200;
  _scene->updateLevel(0.1f);
  EXPECT_EQ(_scene->animationState, 0);
  EXPECT_EQ(flightsOf(a), 0);
  for (int step = 0; step < 10 && _scene->animationState != 4; ++step) _scene->updateLevel(0.1f);
  ASSERT_EQ(_scene->animationState, 4);
  const float fromX = a->homeX;
  const float fromY = a->homeY;
  const bool beyondEdge = fromX <= -100.0f || fromX >= 1124.0f || fromY <= -100.0f || fromY >= 868.0f;
  EXPECT_TRUE(beyondEdge) << fromX << ", " << fromY;

  for (int step = 0; step < 200 && _scene->transitionState != 0; ++step) _scene->updateLevel(0.05f);
  EXPECT_EQ(_scene->transitionState, 0);
  EXPECT_EQ(_scene->animationState, 0);
  EXPECT_FLOAT_EQ(a->currentX, 250.0f);
  EXPECT_FLOAT_EQ(a->currentY, 300.0f);
  EXPECT_FLOAT_EQ(b->currentX, 700.0f);
  EXPECT_FLOAT_EQ(b->currentY, 420.0f);
  EXPECT_NEAR(a->angle, 10.0f * CARD::DEGREES_TO_RADIANS, 1e-5f);

  // Leaving, each card goes back out where it came in.
  _scene->startLeave();
  runUntilAtRest();
  EXPECT_FLOAT_EQ(a->currentX, fromX);
  EXPECT_FLOAT_EQ(a->currentY, fromY);
}

TEST_F(LevelDealing, TheLevelStepsStayWithinZeroAndTwoHundred) {
  gTenthFrameBonus = 1;
  gTenthFrameSecondBonus = 1;
  gTenthFrameKind = 4;
  gCurrentLevel = 119;
  _scene->nextLevel();
  EXPECT_EQ(gCurrentLevel, 120);
  EXPECT_EQ(gCurrentPack, 12);
  EXPECT_EQ(_scene->transitionState, 2);
  EXPECT_TRUE(_scene->isRestartPending);
  EXPECT_EQ(_scene->animationState, 5);
  EXPECT_EQ(gTenthFrameBonus, 0);
  EXPECT_EQ(gTenthFrameSecondBonus, 0);
  EXPECT_EQ(gTenthFrameKind, 0);

  gCurrentLevel = 200;
  _scene->nextLevel();
  EXPECT_EQ(gCurrentLevel, 200);
  EXPECT_EQ(gCurrentPack, 20);

  gCurrentLevel = 0;
  _scene->previousLevel();
  EXPECT_EQ(gCurrentLevel, 0);
  EXPECT_EQ(gCurrentPack, 0);
  gCurrentLevel = 31;
  _scene->previousLevel();
  EXPECT_EQ(gCurrentLevel, 30);
  EXPECT_EQ(gCurrentPack, 3);
}

TEST_F(LevelDealing, APopUpRisesForOneSecondAndIsThenParked) {
  POINTS_POPUP& popup = _scene->pointsPopup[2];
  popup.label = new QEL::QC_GUI_WLABEL(90, nullptr, L"+10");
  popup.coin = new QEL::QC_SPRITE(static_cast<QEL::QC_TEXTURE*>(nullptr), nullptr);
  popup.label->fSetPosition(300.0f, 500.0f, 0.0f);
  popup.coin->fSetPosition(270.0f, 490.0f, 0.0f);
  popup.rise = 200.0f;
  _scene->frameTime = 0.25f;

  for (int update = 1; update <= 3; ++update) {
    _scene->updatePointsPopups();
    const float y = 500.0f - 50.0f * static_cast<float>(update);
    EXPECT_FLOAT_EQ(popup.label->fGetTransform()->fGetPosition().y, y) << update;
    EXPECT_FLOAT_EQ(popup.label->fGetTransform()->fGetPosition().x, 300.0f);
    EXPECT_FLOAT_EQ(popup.coin->_node->_position.y, y - 50.0f - 8.0f);
    EXPECT_FLOAT_EQ(popup.coin->_node->_position.x, 270.0f);
    EXPECT_NE(popup.rise, POINTS_POPUP::FREE);
  }
  _scene->updatePointsPopups();
  EXPECT_EQ(popup.rise, POINTS_POPUP::FREE);
  EXPECT_FLOAT_EQ(popup.label->fGetTransform()->fGetPosition().x, -200.0f);
  EXPECT_FLOAT_EQ(popup.coin->_node->_position.y, -200.0f);
  // A free slot stays where it was parked.
  _scene->updatePointsPopups();
  EXPECT_FLOAT_EQ(popup.label->fGetTransform()->fGetPosition().y, -200.0f);
  delete popup.label;  // the scene owns only the coin
  popup.label = nullptr;
}

TEST_F(LevelDealing, AFlownAwayCardLeavesTheTableOrItsPile) {
  CARD* a = lay(5, 100, 100, 0.0f);
  CARD* b = lay(8, 200, 100, 0.0f);
  a->kind = 1;
  a->flightDone = true;
  _scene->removeFlownCard(a);
  EXPECT_FALSE(a->onTable);
  EXPECT_FALSE(a->flightDone);
  EXPECT_EQ(_scene->cardsLeft, 1);
  b->kind = 1;
  _scene->removeFlownCard(b);
  EXPECT_EQ(_scene->cardsLeft, 0);

  _scene->cardPiles->pileCount = 2;
  _scene->cardPiles->setCard(7, 1, 0);
  _scene->cardPiles->setCard(20, 1, 1);
  _scene->cardPiles->pileSizes[1] = 2;
  CARD* holder = _scene->cardPiles->holders[1];
  holder->kind = 2;
  holder->index = 1;
  holder->flightDone = true;
  _scene->removeFlownCard(holder);
  EXPECT_EQ(_scene->cardPiles->getCard(1, 0), 20);
  EXPECT_FALSE(holder->flightDone);
}

TEST_F(LevelDealing, TheUpdateTakesOffACardWhoseRemovalFlightEnded) {
  CARD* skittle = lay(2, 300, 300, 0.0f);
  lay(6, 500, 300, 0.0f);
  skittle->special = true;
  skittle->kind = 1;
  _scene->countOfSpecialCardsOnScene = 1;
  _scene->cardFlights->addFlight(skittle, CARD_FLIGHTS::REMOVAL, 300, 300, 1200, 300, 0, 0);
  _scene->cardFlights->update(10.0f);
  ASSERT_TRUE(skittle->flightDone);
  _scene->fUpdate();
  EXPECT_FALSE(skittle->onTable);
  EXPECT_EQ(_scene->countOfSpecialCardsOnScene, 0);
  EXPECT_EQ(_scene->cardsLeft, 1);
}

TEST_F(LevelDealing, LayeringMovesACardJustAboveOrBelowTheCardsItOverlaps) {
  CARD* moved = lay(0, 400, 400, 0.0f, 0);
  lay(1, 420, 410, 0.0f, 3);
  lay(2, 390, 420, 0.0f, 5);
  lay(3, 900, 100, 0.0f, 50);  // far away
  EXPECT_EQ(_scene->layerAboveOverlapping(0), 2);
  EXPECT_EQ(moved->zLayer, 6);
  moved->zLayer = 0;
  lay(2, 390, 420, 0.0f, -7);
  EXPECT_EQ(_scene->layerBelowOverlapping(0), 2);
  EXPECT_EQ(moved->zLayer, -8);
  // The layer range holds at its ends.
  moved->zLayer = 100;
  _scene->layerAboveOverlapping(0);
  EXPECT_EQ(moved->zLayer, 100);
}

}  // namespace
