#pragma once
// The hints by number, each named for what it asks of the player. Hint n shows the text
// "hint_<n>", is the level's hintStep while it is on show, and gHintShown[n] records that it
// has been shown in this run. The texts are keyed by these numbers and the players' file
// names hint 29 (isShowedHint29): none of them may change. The level, its piles and the
// level packs read them.
#include <cstdint>

namespace hint_step {
enum : int32_t {
  NONE = 0,  // no hint on show

  // The first level's tutorial, in about the order a player meets it.
  TAKE_FIRST_PAIR = 2,  // take the two marked cards, the only ones that may be taken
  TAKE_SKITTLE_PAIR = 3,  // take the two marked skittle cards just uncovered; closing it asks for the stock
  DEAL_FROM_STOCK = 28,  // click the stock, which deals known cards onto the piles
  PAIR_FIRST_PILE_CARD = 27,  // pair the first pile's card with the one card that may be taken
  PAIR_BONUS_PILE_CARD = 4,  // pair the bonus card that came up on a pile
  PAIR_QUICKLY_FOR_MULTIPLIER = 5,  // quick pairs raise the multiplier; closing it sends to the shop
  OPEN_SHOP = 6,  // click the shop button, the only thing that answers
  CHOOSE_SHOP_JOKER = 7,  // choose the joker among the shop's goods
  BUY_JOKER = 8,  // buy it on the purchase panel
  PLACE_JOKER_ON_MARKED_CARD = 9,  // the joker button, then the marked card, the only one that may be taken
  PAIR_JOKER = 10,  // pair the new joker with any free card
  KEEP_PAIRING = 11,  // pair on until every pin is down

  // The shop's goods, explained while the pointer rests on one outside the tutorial.
  RESHUFFLE_ITEM = 12,
  PLACE_ITEM = 13,
  JOKER_ITEM = 14,

  CHOOSE_PACK = 25,  // the level packs' first visit
  PAIR_FREE_CARDS_FIRST = 26,  // the stock waits
  TURN_STOCK_OR_RESHUFFLE = 29,  // the stock is used up: turn it over or reshuffle; once per player
};

// Hints 0 to this one belong to the first level's tutorial.
constexpr int32_t LAST_TUTORIAL_HINT = DEAL_FROM_STOCK;
}  // namespace hint_step
