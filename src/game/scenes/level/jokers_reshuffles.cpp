// The player's jokers and reshuffles: a placed joker is counted and taken from the player;
// a reshuffle gathers the cards at the deck, gives every card on the table and in the stock
// a new value, and deals them back.
#include <cstdlib>
#include <vector>

#include "engine/log.h"
#include "engine/sound.h"
#include "game/card.h"
#include "game/card_piles.h"
#include "game/fonts_sounds.h"
#include "game/game_globals.h"
#include "game/hint_steps.h"
#include "game/players.h"
#include "game/scenes/level/level_scene.h"
#include "game/texts.h"
#include "gui/gui_button5.h"
#include "gui/gui_wlabel.h"

namespace {

constexpr int32_t EMPTY_PLACE = 99999;
// The 10th, 50th and 100th use earn a trophy each.
constexpr int32_t USE_MILESTONES[3] = {10, 50, 100};
constexpr int32_t FIRST_RESHUFFLE_TROPHY = 18;
constexpr int32_t FIRST_JOKER_TROPHY = 21;

// The milestone trophy for a count of uses, 0 when the count is none.
int32_t milestoneTrophy(int32_t uses, int32_t firstTrophy) {
  for (int32_t k = 0; k < 3; ++k) {
    if (uses == USE_MILESTONES[k]) return firstTrophy + k;
  }
  return 0;
}

}  // namespace

void SCENE_CARD_GAME_LEVEL::useJoker() {
  QEL::QC_SOUND::fPlayFromStart(gSounds[kSoundJokerUse]);
  PLAYER_RECORD* player = currentPlayerRecord();
  if (player != nullptr && player->jokers > 0) {
    --player->jokers;
    if (player->jokers == 0 && jokerButton != nullptr) jokerButton->fDisable();
  }
  if (jokersUsed >= 0 && jokersUsed < MAX_LAYOUT_CARDS) cardsLeftAtJoker[jokersUsed] = cardsLeft;
  ++jokersUsed;
  if (player != nullptr && jokersLabel != nullptr) jokersLabel->fSetText(numberToWString(player->jokers));
  if (isTutorial) {
    if (hintStep == hint_step::PLACE_JOKER_ON_MARKED_CARD) closeHint();
    if (!gHintShown[hint_step::PAIR_JOKER]) showHint(hint_step::PAIR_JOKER);
  }
  if (player == nullptr) return;
  ++player->numberOfUsageOfBonusJoker;
  savePlayerStatistics(gCurrentPlayer);
  const int32_t trophy = milestoneTrophy(player->numberOfUsageOfBonusJoker, FIRST_JOKER_TROPHY);
  if (trophy != 0 && !getTrophy(trophy)) showTrophyWindow(trophy);
}

void SCENE_CARD_GAME_LEVEL::useReshuffle() {
  PLAYER_RECORD* player = currentPlayerRecord();
  if (player == nullptr || player->reshuffles <= 0) return;
  QEL::QC_SOUND::fPlayFromStart(gSounds[kSoundButtonClick]);
  --player->reshuffles;
  if (reshufflesLabel != nullptr) reshufflesLabel->fSetText(numberToWString(player->reshuffles));
  if (player->reshuffles == 0 && reshuffleButton != nullptr) reshuffleButton->fDisable();
  isJokerMode = false;
  gatherPileCards();
  if (reshufflesUsed >= 0 && reshufflesUsed < MAX_LAYOUT_CARDS) cardsLeftAtReshuffle[reshufflesUsed] = cardsLeft;
  ++reshufflesUsed;
  ++player->numberOfUsageOfBonusReshuffle;
  savePlayerStatistics(gCurrentPlayer);
  const int32_t trophy = milestoneTrophy(player->numberOfUsageOfBonusReshuffle, FIRST_RESHUFFLE_TROPHY);
  if (trophy != 0 && !getTrophy(trophy)) showTrophyWindow(trophy);
  QEL::QC_SOUND::fPlayFromStart(gSounds[kSoundReshuffleUse]);
}

void SCENE_CARD_GAME_LEVEL::reshuffleCards() {
  // While set, taking the stock neither turns it over nor ends the frame.
  gIsReshuffling = 1;
  if (hintStep == hint_step::TURN_STOCK_OR_RESHUFFLE) closeHint();
  if (cardPiles != nullptr) {
    while (cardPiles->onStockEmpty()) {
    }
    cardPiles->alignPiles();
  }

  // Every value on the table (cards taken in a pair are leaving it) and in the stock.
  std::vector<CARD*> layout;
  std::vector<int32_t> values;
  const int32_t lastId = maximumCardID < MAX_LAYOUT_CARDS ? maximumCardID : MAX_LAYOUT_CARDS - 1;
  for (int32_t id = 0; id <= lastId; ++id) {
    CARD* card = cards[id];
    if (card == nullptr || !card->onTable || card->kind == CARD::TAKEN || card->value == -1) continue;
    layout.push_back(card);
    values.push_back(card->value);
  }
  std::vector<int32_t> deckPositions;
  const int32_t stockSize = cardPiles != nullptr ? cardPiles->stockSize : 0;
  for (int32_t i = 0; i < stockSize && i < CARD_PILES::MAX_CARDS; ++i) {
    if (cardPiles->stockValues[i] == -1) continue;
    deckPositions.push_back(i);
    values.push_back(cardPiles->stockValues[i]);
  }

  QEL::fLog("------");
  const int32_t n = static_cast<int32_t>(values.size());
  std::vector<int32_t> shuffled(values.size(), EMPTY_PLACE);
  for (const int32_t value : values) {
    int32_t place = std::rand() % n;
    while (shuffled[place] != EMPTY_PLACE) place = std::rand() % n;
    shuffled[place] = value;
  }
  QEL::fLog("------");

  size_t next = 0;
  for (CARD* card : layout) card->setValue(shuffled[next++]);
  for (const int32_t position : deckPositions) cardPiles->stockValues[position] = shuffled[next++];
  if (cardPiles != nullptr) {
    cardPiles->pickSpecialCards();
    cardPiles->fillDeckCards();
  }
  gIsReshuffling = 0;
}
