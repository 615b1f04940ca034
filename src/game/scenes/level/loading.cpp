// Putting a level on the table of the scene: the previous deal goes, the level file is read
// and laid out, the random cards and the piles are dealt, and the player's stored best result
// of the level is fetched. The start-up loads once; a restart or a step to another level in
// the same scene loads again.
#include "engine/log.h"
#include "game/card.h"
#include "game/card_flights.h"
#include "game/card_piles.h"
#include "game/game_globals.h"
#include "game/hint_steps.h"
#include "game/scenes/level/level_scene.h"

namespace {

// A card of the previous deal may have been taken in a pair or still have been flying.
void clearFlightMarks(CARD* card) {
  if (card == nullptr) return;
  card->kind = CARD::IN_LAYOUT;
  card->inFlight = false;
  card->flightDone = false;
}

}  // namespace

void SCENE_CARD_GAME_LEVEL::loadLevel(int32_t index) {
  if (index > 0) {
    isTutorial = false;
    if (hintStep != hint_step::NONE) closeHint();
  }
  if (index == 1) {
    for (int32_t hint = 0; hint <= hint_step::LAST_TUTORIAL_HINT; ++hint) gHintShown[hint] = 1;
  }

  loadLevelDocument(index);
  removeAllCards();
  for (CARD* card : cards) clearFlightMarks(card);
  readLevel();
  dealRandomValues();
  loadedLevel = index;
  isLevelPlayable = countOfSpecialCardsOnScene > 0;
  if (!isLevelPlayable) {
    QEL::fLog("SCENE_CARD_GAME_LEVEL::loadLevel: level ", index,
              " lays no skittle; it can be left but it gives no result");
  }

  selectedCard = -1;
  animationState = NO_DEAL;
  if (cardFlights != nullptr) cardFlights->init();
  if (cardPiles != nullptr) {
    cardPiles->startDeal(numberOfReservePiles, numberOfCardsInStockPile);
    cardPiles->setSpecialCardsCount(numberOfBonusCards);
    for (CARD* holder : cardPiles->holders) clearFlightMarks(holder);
  }
  for (CARD*& flying : flyingPileCards) flying = nullptr;
  shopMoneySpent = 0;
  placesBought = 0;
  reshufflesBought = 0;
  jokersBought = 0;

  bestLevelResult.result = getLevelResult(gCurrentPlayer, index, kResultField);
  bestLevelResult.specialCards1 = getLevelResult(gCurrentPlayer, index, kSpecialCards1Field);
  bestLevelResult.specialCards2 = getLevelResult(gCurrentPlayer, index, kSpecialCards2Field);
  bestLevelResult.specialCards3 = getLevelResult(gCurrentPlayer, index, kSpecialCards3Field);
  isLevelFinished = false;
}
