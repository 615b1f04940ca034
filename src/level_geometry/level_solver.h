#pragma once
// A depth-limited search that plays a level's layout with its stock and reserve piles under
// the game's rules (free cards, pairs by rank, one deal per pile per stock click, one
// turnover) and tells whether every special card can be taken. It sees every card, so it
// proves that a deal can be cleared, not that a player will find the way.
#include <cstdint>
#include <vector>

#include "level_geometry/editor_cards.h"
#include "level_geometry/level_file.h"

// The values of one play of a level: the layout's cards by slot and the stock in order.
struct LEVEL_DEAL {
  std::array<int32_t, EDITOR_CARD_SLOTS> layoutValues{};
  std::vector<int32_t> stock;
};

// One step of a line of play: a pair taken, or the stock clicked (a deal or the turnover).
struct LEVEL_MOVE {
  enum KIND : int32_t { PAIR = 0, STOCK = 1 };
  int32_t kind = PAIR;
  // A layout slot (>= 0), or the top card of reserve pile k as -k - 1.
  int32_t a = 0;
  int32_t b = 0;
};

struct LEVEL_SOLUTION {
  bool cleared = false;     // every special card taken
  bool strike = false;      // ... before the turnover
  bool exhausted = false;   // the node budget ran out before an answer
  int32_t nodes = 0;
  int32_t specialsLeft = 0; // the fewest special cards left standing in any line searched
  std::vector<LEVEL_MOVE> line;  // the moves that cleared the level, in order (empty otherwise)
};

// The stock size and reserve piles the game plays a level with: a stock of 0 becomes 52
// (at most 208), a pile count outside 1-5 becomes 2.
int32_t playedStockSize(const LEVEL_SETTINGS& settings);
int32_t playedReservePiles(const LEVEL_SETTINGS& settings);

// Deals a level as the game does (fixed values kept, random cards and stock drawn without
// repeats for the first 52 draws), from a small generator seeded by `seed`. With `tutorial`
// the first two stock values are the ones the tutorial writes (32 and 11).
LEVEL_DEAL dealLevel(const EDITOR_CARD_TABLE& table, const LEVEL_SETTINGS& settings,
                     uint32_t seed, bool tutorial);

// A play under way: the reserve piles as they lie (card values, the bottom card first), the
// stock still to be dealt (the next card first), and whether the turnover has been made.
struct LEVEL_POSITION {
  std::vector<std::vector<int32_t>> piles;
  std::vector<int32_t> stock;
  bool turnedOver = false;
};

// Searches for a way to take every special card, with at most nodeBudget positions visited.
LEVEL_SOLUTION solveLevel(const EDITOR_CARD_TABLE& table, const LEVEL_SETTINGS& settings,
                          const LEVEL_DEAL& deal, int32_t nodeBudget);
// The same search from a play under way: the table holds the cards still on it, with the
// values of the deal's layout, and the position the piles and the stock.
LEVEL_SOLUTION solvePosition(const EDITOR_CARD_TABLE& table, const LEVEL_DEAL& deal,
                             const LEVEL_POSITION& position, int32_t nodeBudget);
