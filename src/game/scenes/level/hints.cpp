// The hint line across the table: advice during play, the explanations of the shop's goods,
// and the tutorial of the first level, whose steps follow one another as hints close and
// which name the cards the player may take.
#include "engine/log.h"
#include "game/card.h"
#include "game/game_globals.h"
#include "game/hint_steps.h"
#include "game/players.h"
#include "game/scenes/level/level_scene.h"
#include "game/texts.h"
#include "gui/gui_wlabel.h"

namespace {

// The tutorial level's cards that its steps point at.
constexpr int32_t FIRST_PAIR_SLOTS[2] = {31, 49};
constexpr int32_t SKITTLE_PAIR_SLOTS[2] = {34, 28};
// Hints up to here count whether a pair is free on the table.
constexpr int32_t LAST_HINT_COUNTING_PAIRS = hint_step::PAIR_QUICKLY_FOR_MULTIPLIER;

}  // namespace

bool SCENE_CARD_GAME_LEVEL::findFreePair() const {
  for (int32_t a = 0; a < MAX_LAYOUT_CARDS; ++a) {
    const CARD* first = cards[a];
    if (first == nullptr || !first->onTable || first->covered || first->rank == CARD::JOKER) continue;
    for (int32_t b = a + 1; b < MAX_LAYOUT_CARDS; ++b) {
      const CARD* second = cards[b];
      if (second == nullptr || !second->onTable || second->covered || second->rank == CARD::JOKER) continue;
      if (first->rank == second->rank) return true;
    }
  }
  return false;
}

void SCENE_CARD_GAME_LEVEL::showHint(int32_t n) {
  if (n < 0 || n >= kHintCount) {
    QEL::fLog("showHint: no hint ", n);
    return;
  }
  PLAYER_RECORD* player = currentPlayerRecord();
  if (n == hint_step::TURN_STOCK_OR_RESHUFFLE && player != nullptr && player->isShowedHint29) return;
  if (hintLabel != nullptr) hintLabel->fSetText(replaceBarsWithNewlines(getTextW(L"hint_" + numberToWString(n))));
  if (n <= LAST_HINT_COUNTING_PAIRS || n == hint_step::PAIR_JOKER) isFreePairOnTable = findFreePair();
  hintStep = n;
  gHintShown[n] = 1;
  // The arrow of a new step starts its bob afresh.
  hintArrowPhase = 0.0f;
  if (n == hint_step::TAKE_FIRST_PAIR) {
    hintedCardA = FIRST_PAIR_SLOTS[0];
    hintedCardB = FIRST_PAIR_SLOTS[1];
  } else if (n == hint_step::TAKE_SKITTLE_PAIR) {
    hintedCardA = SKITTLE_PAIR_SLOTS[0];
    hintedCardB = SKITTLE_PAIR_SLOTS[1];
  } else if (n == hint_step::PLACE_JOKER_ON_MARKED_CARD) {
    // The first card the player can take is the one to turn into the joker.
    hintedCardA = -1;
    hintedCardB = -1;
    for (int32_t id = 0; id < MAX_LAYOUT_CARDS; ++id) {
      if (cards[id] != nullptr && cards[id]->onTable && !cards[id]->covered) {
        hintedCardA = id;
        break;
      }
    }
  } else if (n == hint_step::TURN_STOCK_OR_RESHUFFLE && player != nullptr) {
    player->isShowedHint29 = 1;
    savePlayerSettings(gCurrentPlayer);
  }
}

void SCENE_CARD_GAME_LEVEL::closeHint() {
  // Only the tutorial chains its steps. The first level replayed outside it shows the shop
  // goods' hints as any level does, and they must close: a hint left on show blocks the
  // play screen's buttons.
  if (!isTutorial) {
    hintStep = hint_step::NONE;
    return;
  }
  switch (hintStep) {
    case hint_step::RESHUFFLE_ITEM:
    case hint_step::PLACE_ITEM:
    case hint_step::JOKER_ITEM:
      // The three goods' hints count as shown together; the one on show stays.
      gHintShown[hint_step::RESHUFFLE_ITEM] = gHintShown[hint_step::PLACE_ITEM] = gHintShown[hint_step::JOKER_ITEM] = 1;
      break;
    case hint_step::TAKE_SKITTLE_PAIR:
      showHint(hint_step::DEAL_FROM_STOCK);
      break;
    case hint_step::PAIR_QUICKLY_FOR_MULTIPLIER:
      showHint(hint_step::OPEN_SHOP);
      break;
    case hint_step::DEAL_FROM_STOCK:
      showHint(hint_step::PAIR_FIRST_PILE_CARD);
      break;
    default:
      hintStep = hint_step::NONE;
      break;
  }
}
