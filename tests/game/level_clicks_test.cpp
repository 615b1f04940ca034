#include <gtest/gtest.h>

#include <memory>

#include "engine/input.h"
#include "game/card.h"
#include "game/card_flights.h"
#include "game/card_piles.h"
#include "game/game_entry.h"
#include "game/game_globals.h"
#include "game/scenes/level/level_scene.h"
#include "gui/gui_button5.h"
#include "level_fixture.h"
#include "save_folder_fixture.h"

namespace {

// Values by rank: value % 13 + 2 is the rank, value / 13 the suit.
constexpr int32_t FIVE_OF_CLUBS = 3;
constexpr int32_t FIVE_OF_HEARTS = 16;
constexpr int32_t NINE_OF_CLUBS = 7;
constexpr int32_t TWO_OF_CLUBS = 0;
constexpr int32_t ACE_OF_CLUBS = 12;

class LevelClicks : public SaveFolderTest {
 protected:
  void SetUp() override {
    SaveFolderTest::SetUp();
    _scene = makeBareLevelScene();
    _input._mouse._position = {500, 300};
  }
  void TearDown() override {
    _scene.reset();
    SaveFolderTest::TearDown();
  }

  CARD* lay(int32_t id, int32_t value, float x = 300.0f, float y = 300.0f) {
    CARD* card = _scene->cards[id];
    card->putOnTable();
    card->currentX = x;
    card->currentY = y;
    card->setValue(value);
    card->setCovered(false);
    if (id > _scene->maximumCardID) _scene->maximumCardID = id;
    ++_scene->cardsLeft;
    return card;
  }

  // `over` lies on `under`.
  void stack(int32_t over, int32_t under) {
    const int32_t overIds[] = {over};
    const int32_t underIds[] = {under};
    _scene->cards[under]->setOverList(overIds, 1);
    _scene->cards[under]->setCovered(true);
    _scene->cards[over]->setUnderList(underIds, 1);
  }

  void clickCard(int32_t id) {
    _scene->hoveredCard = id;
    _scene->hoveredPile = -1;
    _scene->fKeyDown(1);
  }

  void clickPile(int32_t k) {
    _scene->hoveredCard = -1;
    _scene->hoveredPile = k;
    _scene->fKeyDown(1);
  }

  // Two reserve piles with a dealt top each, then the tops set to the values wanted.
  void dealPiles(int32_t top0, int32_t top1) {
    _scene->cardPiles->startDeal(2, 20);
    _scene->cardPiles->onStockEmpty();
    _scene->cardPiles->setCard(top0, 0, 0);
    _scene->cardPiles->setCard(top1, 1, 0);
  }

  void landFlights() {
    for (int step = 0; step < 100 && _scene->cardFlights->activeCount() > 0; ++step) {
      _scene->cardFlights->update(0.1f);
      _scene->fUpdate();
    }
  }

  std::unique_ptr<SCENE_CARD_GAME_LEVEL> _scene;
  QEL::QK_BUTTON _input;
};

TEST_F(LevelClicks, AFreeCardIsSelectedAndACoveredOneIsRefused) {
  lay(0, FIVE_OF_CLUBS);
  lay(1, NINE_OF_CLUBS);
  lay(2, FIVE_OF_HEARTS);
  stack(2, 1);
  clickCard(1);
  EXPECT_EQ(_scene->selectedCard, -1);
  clickCard(0);
  EXPECT_EQ(_scene->selectedCard, 0);
  // A second click keeps it.
  clickCard(0);
  EXPECT_EQ(_scene->selectedCard, 0);
  EXPECT_EQ(_scene->cardFlights->activeCount(), 0);
}

TEST_F(LevelClicks, AMatchingFreePairFliesAwayFreesTheCardBelowAndCountsTheSkittle) {
  CARD* a = lay(0, FIVE_OF_CLUBS, 200, 200);
  CARD* b = lay(1, FIVE_OF_HEARTS, 500, 200);
  lay(2, NINE_OF_CLUBS, 510, 210);
  stack(1, 2);
  a->setSpecial(true);
  _scene->countOfSpecialCardsOnScene = 1;
  gPlayers[0].money = 1000;

  clickCard(0);
  clickCard(1);
  EXPECT_EQ(_scene->selectedCard, -1);
  EXPECT_TRUE(a->inFlight);
  EXPECT_TRUE(b->inFlight);
  EXPECT_EQ(a->kind, 1);
  EXPECT_EQ(b->kind, 1);
  EXPECT_FALSE(_scene->cards[2]->isCovered());
  EXPECT_EQ(_scene->countCardsOver(2), 0);
  EXPECT_EQ(_scene->levelMoney, 25);
  EXPECT_EQ(gPlayers[0].money, 1025);
  EXPECT_EQ(_scene->actionPoints, 1);

  // A card flying away cannot be taken again before it lands.
  clickCard(1);
  EXPECT_EQ(_scene->selectedCard, -1);

  landFlights();
  EXPECT_FALSE(a->onTable);
  EXPECT_FALSE(b->onTable);
  EXPECT_EQ(_scene->cardsLeft, 1);
  EXPECT_EQ(_scene->countOfSpecialCardsOnScene, 0);
  clickCard(2);
  EXPECT_EQ(_scene->selectedCard, 2);
}

TEST_F(LevelClicks, ANonMatchingCardTakesOverTheSelection) {
  lay(0, FIVE_OF_CLUBS);
  lay(1, NINE_OF_CLUBS);
  lay(2, ACE_OF_CLUBS);
  lay(3, TWO_OF_CLUBS);
  clickCard(0);
  clickCard(1);
  EXPECT_EQ(_scene->selectedCard, 1);
  // Ranks do not wrap: the ace does not pair with the two.
  clickCard(2);
  clickCard(3);
  EXPECT_EQ(_scene->selectedCard, 3);
  EXPECT_EQ(_scene->cardFlights->activeCount(), 0);
  EXPECT_EQ(_scene->levelMoney, 0);
}

TEST_F(LevelClicks, AJokerMatchesAnyCardAndAnotherJoker) {
  lay(0, CARD::JOKER);
  lay(1, ACE_OF_CLUBS);
  lay(2, CARD::JOKER);
  lay(3, CARD::JOKER);
  clickCard(1);
  clickCard(0);
  EXPECT_TRUE(_scene->cards[1]->inFlight);
  EXPECT_TRUE(_scene->cards[0]->inFlight);
  clickCard(2);
  clickCard(3);
  EXPECT_TRUE(_scene->cards[2]->inFlight);
  EXPECT_TRUE(_scene->cards[3]->inFlight);
}

TEST_F(LevelClicks, AJokerInHandTurnsTheClickedCardAndEmptyTableEndsIt) {
  gPlayers[0].jokers = 3;
  lay(0, NINE_OF_CLUBS);
  lay(1, FIVE_OF_CLUBS);
  _scene->isJokerMode = true;
  clickCard(0);
  EXPECT_EQ(_scene->cards[0]->value, CARD::JOKER);
  EXPECT_FALSE(_scene->isJokerMode);
  EXPECT_EQ(_scene->selectedCard, -1);

  // With a card selected the joker goes on the clicked card and the selection stays.
  clickCard(1);
  _scene->isJokerMode = true;
  lay(2, TWO_OF_CLUBS, 700, 300);
  clickCard(2);
  EXPECT_EQ(_scene->cards[2]->value, CARD::JOKER);
  EXPECT_EQ(_scene->selectedCard, 1);

  // Each placed joker was taken from the player; the click on empty table takes none.
  EXPECT_EQ(gPlayers[0].jokers, 1);
  EXPECT_EQ(_scene->jokersUsed, 2);
  _scene->isJokerMode = true;
  clickCard(-1);
  EXPECT_FALSE(_scene->isJokerMode);
  EXPECT_EQ(gPlayers[0].jokers, 1);
}

TEST_F(LevelClicks, TheStockDealsAndClearsTheSelectionUnlessTheTutorialHoldsIt) {
  _scene->cardPiles->startDeal(2, 20);
  lay(0, FIVE_OF_CLUBS);
  clickCard(0);
  _scene->isJokerMode = true;

  _scene->hintStep = 2;
  clickPile(0);
  EXPECT_EQ(_scene->cardPiles->used, 0);

  _scene->hintStep = 0;
  clickPile(0);
  EXPECT_EQ(_scene->cardPiles->used, 2);
  EXPECT_NE(_scene->cardPiles->getCard(0, 0), -1);
  EXPECT_EQ(_scene->selectedCard, -1);
  EXPECT_EQ(_scene->selectedPileCard, -1);
  EXPECT_FALSE(_scene->isJokerMode);

  // Not while a group animation runs.
  _scene->animationState = 1;
  clickPile(0);
  EXPECT_EQ(_scene->cardPiles->used, 2);
}

TEST_F(LevelClicks, TheTutorialStockDealsItsKnownCardsAndPointsAtABonusPile) {
  _scene->isTutorial = true;
  _scene->cardPiles->startDeal(2, 20);
  _scene->cardPiles->stockSpecial[1] = 1;
  _scene->hintStep = 28;
  clickPile(0);
  EXPECT_EQ(_scene->cardPiles->getCard(0, 0), 32);
  EXPECT_EQ(_scene->cardPiles->getCard(1, 0), 11);
  EXPECT_EQ(_scene->hintPileIndex, 1);
}

TEST_F(LevelClicks, ReservePileTopsPairWithEachOtherAndWithTheLayout) {
  dealPiles(FIVE_OF_CLUBS, FIVE_OF_HEARTS);
  CARD* holder0 = _scene->cardPiles->holders[0];
  CARD* holder1 = _scene->cardPiles->holders[1];
  clickPile(1);
  EXPECT_EQ(_scene->selectedPileCard, 1);
  clickPile(2);
  EXPECT_EQ(_scene->selectedPileCard, -1);
  EXPECT_TRUE(holder0->inFlight);
  EXPECT_TRUE(holder1->inFlight);
  EXPECT_EQ(_scene->levelMoney, 10);
  // Still on its pile while it flies, but not to be taken twice.
  clickPile(1);
  EXPECT_EQ(_scene->selectedPileCard, -1);
  landFlights();
  EXPECT_EQ(_scene->cardPiles->getCard(0, 0), -1);
  EXPECT_EQ(_scene->cardPiles->getCard(1, 0), -1);

  // A layout card first, then a pile top of its rank.
  dealPiles(NINE_OF_CLUBS, TWO_OF_CLUBS);
  lay(0, NINE_OF_CLUBS);
  clickCard(0);
  clickPile(1);
  EXPECT_EQ(_scene->selectedCard, -1);
  EXPECT_TRUE(_scene->cards[0]->inFlight);
  EXPECT_TRUE(holder0->inFlight);
  landFlights();

  // A pile top first, then a layout card that does not match: the card is the selection.
  dealPiles(TWO_OF_CLUBS, ACE_OF_CLUBS);
  lay(1, FIVE_OF_CLUBS);
  clickPile(2);
  clickCard(1);
  EXPECT_EQ(_scene->selectedPileCard, -1);
  EXPECT_EQ(_scene->selectedCard, 1);
  // The selected layout card against a pile top that does not match: the top is selected.
  clickPile(1);
  EXPECT_EQ(_scene->selectedCard, -1);
  EXPECT_EQ(_scene->selectedPileCard, 1);
}

TEST_F(LevelClicks, AJokerOnAPileTopAndTutorialStepsThatLimitTheCards) {
  dealPiles(FIVE_OF_CLUBS, NINE_OF_CLUBS);
  _scene->isJokerMode = true;
  clickPile(2);
  EXPECT_EQ(_scene->cardPiles->getCard(1, 0), CARD::JOKER);
  EXPECT_FALSE(_scene->isJokerMode);

  // The selected top itself takes the joker and the selection ends.
  clickPile(1);
  ASSERT_EQ(_scene->selectedPileCard, 1);
  _scene->isJokerMode = true;
  clickPile(1);
  EXPECT_EQ(_scene->cardPiles->getCard(0, 0), CARD::JOKER);
  EXPECT_EQ(_scene->selectedPileCard, -1);

  // Step 9 takes no pile top; step 27 only slot 10.
  _scene->hintStep = 9;
  clickPile(1);
  EXPECT_EQ(_scene->selectedPileCard, -1);
  _scene->hintStep = 27;
  lay(3, FIVE_OF_CLUBS);
  lay(10, NINE_OF_CLUBS);
  clickCard(3);
  EXPECT_EQ(_scene->selectedCard, -1);
  clickCard(10);
  EXPECT_EQ(_scene->selectedCard, 10);
}

TEST_F(LevelClicks, WindowsPhasesAndTheRightEdgeHoldTheClick) {
  lay(0, FIVE_OF_CLUBS);
  _scene->windowState = 5;  // pause
  clickCard(0);
  EXPECT_EQ(_scene->selectedCard, -1);
  _scene->windowState = 20;  // the result banner
  clickCard(0);
  EXPECT_EQ(_scene->selectedCard, -1);
  _scene->isBonusBanner = 1;  // the bonus-card window lets the cards play
  clickCard(0);
  EXPECT_EQ(_scene->selectedCard, 0);

  _scene->windowState = 0;
  _scene->transitionState = 1;
  lay(1, FIVE_OF_HEARTS);
  clickCard(1);
  EXPECT_EQ(_scene->cardFlights->activeCount(), 0);
  _scene->transitionState = 0;
  // With a card selected, a click at the right edge of the screen is not taken.
  _input._mouse._position = {988, 300};
  clickCard(1);
  EXPECT_EQ(_scene->cardFlights->activeCount(), 0);
  _input._mouse._position = {987, 300};
  clickCard(1);
  EXPECT_EQ(_scene->cardFlights->activeCount(), 2);
}

TEST_F(LevelClicks, TheVolumeTracksSetTheVolumesAndAKnobStartsADrag) {
  auto* sound = new QEL::QC_GUI_BUTTON5(51, nullptr);
  auto* music = new QEL::QC_GUI_BUTTON5(52, nullptr);
  sound->fSetPosition(400.0f, 300.0f, 0.0f);
  music->fSetPosition(400.0f, 360.0f, 0.0f);
  _scene->soundKnob = sound;
  _scene->musicKnob = music;
  _scene->sliderMinX = 317.0f;
  _scene->sliderMaxX = 673.0f;
  _scene->windowState = 10;
  gPlayers[0].soundVolume = 0.5f;
  gPlayers[0].musicVolume = 0.5f;

  // Between the two bands' overlap (y 320-340) both volumes follow.
  _input._mouse._position = {673, 330};
  _scene->fKeyDown(1);
  EXPECT_FLOAT_EQ(gPlayers[0].soundVolume, 1.0f);
  EXPECT_FLOAT_EQ(gPlayers[0].musicVolume, 1.0f);
  EXPECT_FLOAT_EQ(sound->fGetTransform()->fGetPosition().x, 673.0f);

  _input._mouse._position = {317, 390};
  _scene->fKeyDown(1);
  EXPECT_FLOAT_EQ(gPlayers[0].soundVolume, 1.0f);
  EXPECT_FLOAT_EQ(gPlayers[0].musicVolume, 0.0f);

  // On a knob: a drag, no volume.
  _input._mouse._position = {328, 378};
  _scene->fKeyDown(1);
  EXPECT_EQ(_scene->draggedSlider, 1);
  EXPECT_FLOAT_EQ(_scene->dragOffset, 11.0f);
  EXPECT_FLOAT_EQ(gPlayers[0].musicVolume, 0.0f);

  _scene->soundKnob = nullptr;
  _scene->musicKnob = nullptr;
  delete sound;
  delete music;
}

TEST_F(LevelClicks, DeveloperKeysNeedTheirFlags) {
  lay(0, FIVE_OF_CLUBS);
  clickCard(0);
  gIsCheat = 0;
  _scene->fKeyDown(68);
  EXPECT_EQ(_scene->selectedCard, 0);
  gIsCheat = 1;
  gPlayers[0].money = 5;
  _scene->fKeyDown(83);
  EXPECT_EQ(gPlayers[0].money, 100005);
  // D takes the selected card alone: one action point, ten points.
  _scene->fKeyDown(68);
  EXPECT_EQ(_scene->selectedCard, -1);
  EXPECT_TRUE(_scene->cards[0]->inFlight);
  EXPECT_EQ(_scene->actionPoints, 1);
  EXPECT_EQ(_scene->levelMoney, 10);

  _scene->turnoversAtStart = 1;
  _scene->turnoversLeft = 0;
  _scene->countOfSpecialCardsOnScene = 4;
  _scene->windowState = 8;  // the finish window
  _scene->fKeyDown(87);
  EXPECT_EQ(_scene->countOfSpecialCardsOnScene, 4);
  _scene->windowState = 0;
  _scene->fKeyDown(87);
  EXPECT_EQ(_scene->countOfSpecialCardsOnScene, 0);
  EXPECT_EQ(_scene->turnoversLeft, 1);
  EXPECT_TRUE(_scene->isFrameFinished);
  gIsCheat = 0;

  _scene->fKeyDown(2);
  EXPECT_TRUE(_scene->isRightButtonDown);
}

}  // namespace

namespace {

TEST_F(LevelClicks, SpaceInTheDebugGameOpensTheEditorInPlaceOfTheLevel) {
  auto* level = new SCENE_CARD_GAME_LEVEL();
  gCurrentScene = level;
  gIsGameInited = 1;
  gIsDebug = 0;
  onKeyDown(32);
  EXPECT_EQ(gCurrentScene, level);
  gIsDebug = 1;
  onKeyDown(32);  // the editor takes the level's place
  EXPECT_NE(gCurrentScene, nullptr);
  EXPECT_EQ(gSceneKind, 5);
  delete gCurrentScene;
  gCurrentScene = nullptr;
  gIsDebug = 0;
  gIsGameInited = 0;
}

}  // namespace
