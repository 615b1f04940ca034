#include "level_geometry/level_solver.h"

#include <algorithm>
#include <unordered_set>

namespace {

// xorshift-style generator: the same numbers on every platform.
struct SMALL_RANDOM {
  uint64_t state;
  explicit SMALL_RANDOM(uint32_t seed) : state(0x9E3779B97F4A7C15ull ^ (uint64_t{seed} * 0xD1B54A32D192ED03ull)) {
    next();
  }
  uint32_t next() {
    state += 0x9E3779B97F4A7C15ull;
    uint64_t z = state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return static_cast<uint32_t>((z ^ (z >> 31)) >> 16);
  }
};

// Draws as the game does: the first 52 draws all differ, later ones may repeat.
struct VALUE_DRAWER {
  SMALL_RANDOM& random;
  bool drawn[52] = {};
  int count = 0;
  int32_t draw() {
    int32_t r = static_cast<int32_t>(random.next() % 52);
    if (count < 52) {
      while (drawn[r]) r = static_cast<int32_t>(random.next() % 52);
      drawn[r] = true;
    }
    ++count;
    return r;
  }
};

int32_t rankOf(int32_t value) { return value % 13 + 2; }

struct CARD_INFO {
  int32_t rank = 0;
  bool special = false;
  std::vector<int32_t> over;   // indices of the cards lying over this one
  std::vector<int32_t> under;  // indices of the cards lying under this one
};

struct STATE {
  std::vector<uint8_t> removed;
  std::vector<int16_t> coverCount;
  std::vector<std::vector<int8_t>> piles;  // ranks, top at the back
  std::vector<int8_t> stock;
  int32_t used = 0;
  int32_t ball = 0;
  int32_t specialsLeft = 0;
  uint64_t removedHash = 0;
};

struct MOVE {
  int32_t a, b;  // >= 0 a layout index; < 0 the top of pile -a-1
  int32_t priority;
};

class SOLVER {
 public:
  SOLVER(std::vector<CARD_INFO> cards, std::vector<int32_t> slots, int32_t piles, int32_t budget)
      : cards_(std::move(cards)), slots_(std::move(slots)), pileCount_(piles), budget_(budget) {
    SMALL_RANDOM random(12345);
    for (size_t i = 0; i < cards_.size(); ++i) {
      zobrist_.push_back((uint64_t{random.next()} << 32) ^ random.next() ^ (uint64_t{random.next()} << 16));
    }
  }

  LEVEL_SOLUTION run(STATE state) {
    best_ = state.specialsLeft;
    search(state);
    LEVEL_SOLUTION solution;
    solution.cleared = found_;
    solution.strike = found_ && strike_;
    solution.exhausted = !found_ && nodes_ >= budget_;
    solution.nodes = nodes_;
    solution.specialsLeft = best_;
    if (found_) solution.line = line_;
    return solution;
  }

 private:
  uint64_t hashOf(const STATE& s) const {
    uint64_t h = s.removedHash ^ (uint64_t(s.used) * 0x100000001B3ull) ^ (uint64_t(s.ball) << 61);
    for (const auto& pile : s.piles) {
      h = (h ^ 0xFF) * 0x100000001B3ull;
      for (int8_t v : pile) h = (h ^ uint8_t(v)) * 0x100000001B3ull;
    }
    if (s.ball > 0) {
      for (size_t i = s.used; i < s.stock.size(); ++i) h = (h ^ uint8_t(s.stock[i])) * 0x100000001B3ull;
    }
    return h;
  }

  void removeLayout(STATE& s, int32_t i) const {
    s.removed[i] = 1;
    s.removedHash ^= zobrist_[i];
    if (cards_[i].special) --s.specialsLeft;
    for (int32_t u : cards_[i].under) --s.coverCount[u];
  }

  // Layout items by their slot; pile tops keep their -k - 1.
  int32_t slotOfItem(int32_t item) const { return item >= 0 ? slots_[item] : item; }

  int32_t rankOfItem(const STATE& s, int32_t item) const {
    return item >= 0 ? cards_[item].rank : s.piles[-item - 1].back();
  }

  // Removing a pair is worth more the more specials it takes and the more it uncovers.
  int32_t priorityOf(const STATE& s, int32_t a, int32_t b) const {
    int32_t p = 0;
    for (int32_t item : {a, b}) {
      if (item < 0) continue;
      if (cards_[item].special) p += 100;
      for (int32_t u : cards_[item].under) {
        if (s.coverCount[u] == 1) p += cards_[u].special ? 20 : 6;
      }
      p += 2;
    }
    return p;
  }

  void search(const STATE& s) {
    if (found_ || nodes_ >= budget_) return;
    ++nodes_;
    if (s.specialsLeft < best_) best_ = s.specialsLeft;
    if (s.specialsLeft == 0) {
      found_ = true;
      strike_ = s.ball == 0;
      line_ = path_;
      return;
    }
    if (!visited_.insert(hashOf(s)).second) return;

    // Items by rank: free layout cards and pile tops.
    std::vector<int32_t> byRank[15];
    for (size_t i = 0; i < cards_.size(); ++i) {
      if (!s.removed[i] && s.coverCount[i] == 0) byRank[cards_[i].rank].push_back(int32_t(i));
    }
    for (int32_t p = 0; p < pileCount_; ++p) {
      if (!s.piles[p].empty()) byRank[s.piles[p].back()].push_back(-p - 1);
    }
    std::vector<MOVE> moves;
    for (int r = 2; r <= 14; ++r) {
      const auto& items = byRank[r];
      for (size_t x = 0; x < items.size(); ++x) {
        for (size_t y = x + 1; y < items.size(); ++y) {
          moves.push_back({items[x], items[y], priorityOf(s, items[x], items[y])});
        }
      }
    }
    std::stable_sort(moves.begin(), moves.end(),
                     [](const MOVE& l, const MOVE& r) { return l.priority > r.priority; });
    for (const MOVE& move : moves) {
      STATE next = s;
      for (int32_t item : {move.a, move.b}) {
        if (item >= 0) {
          removeLayout(next, item);
        } else {
          next.piles[-item - 1].pop_back();
        }
      }
      path_.push_back({LEVEL_MOVE::PAIR, slotOfItem(move.a), slotOfItem(move.b)});
      search(next);
      path_.pop_back();
      if (found_ || nodes_ >= budget_) return;
    }

    // The stock: deal one card onto each pile, or turn the used stock over once.
    STATE next = s;
    path_.push_back({LEVEL_MOVE::STOCK, 0, 0});
    if (next.used < static_cast<int32_t>(next.stock.size())) {
      for (int32_t p = 0; p < pileCount_ && next.used < static_cast<int32_t>(next.stock.size()); ++p) {
        next.piles[p].push_back(next.stock[next.used++]);
      }
      search(next);
    } else if (next.ball == 0) {
      gather(next);
      search(next);
    }
    path_.pop_back();
  }

  // The piles go back into the stock, the cards dealt first coming first.
  void gather(STATE& s) const {
    size_t m = 0;
    for (const auto& pile : s.piles) m = std::max(m, pile.size());
    std::vector<int8_t> stock;
    for (size_t r = m; r-- > 0;) {
      for (int32_t p = 0; p < pileCount_; ++p) {
        const auto& pile = s.piles[p];
        // Slot r counted from the top once the pile is moved to the bottom of m slots.
        const size_t size = pile.size();
        if (r < m - size) continue;
        const size_t fromTop = r - (m - size);
        stock.push_back(pile[size - 1 - fromTop]);
      }
    }
    s.stock = std::move(stock);
    s.used = 0;
    s.ball = 1;
    for (auto& pile : s.piles) pile.clear();
  }

  std::vector<CARD_INFO> cards_;
  std::vector<int32_t> slots_;  // the layout slot of each card index
  std::vector<uint64_t> zobrist_;
  int32_t pileCount_;
  int32_t budget_;
  int32_t nodes_ = 0;
  int32_t best_ = 0;
  bool found_ = false;
  bool strike_ = false;
  std::vector<LEVEL_MOVE> path_;
  std::vector<LEVEL_MOVE> line_;
  std::unordered_set<uint64_t> visited_;
};

}  // namespace

int32_t playedStockSize(const LEVEL_SETTINGS& settings) {
  int32_t size = settings.numberOfCardsInStockPile;
  if (size == 0) size = 52;
  return std::clamp(size, 0, 208);
}

int32_t playedReservePiles(const LEVEL_SETTINGS& settings) {
  const int32_t piles = settings.numberOfReservePiles;
  return (piles < 1 || piles > 5) ? 2 : piles;
}

LEVEL_DEAL dealLevel(const EDITOR_CARD_TABLE& table, const LEVEL_SETTINGS& settings,
                     uint32_t seed, bool tutorial) {
  SMALL_RANDOM random(seed);
  LEVEL_DEAL deal;
  // The stock is dealt first, then the layout's random cards.
  VALUE_DRAWER stockDrawer{random};
  const int32_t stockSize = playedStockSize(settings);
  for (int32_t i = 0; i < stockSize; ++i) deal.stock.push_back(stockDrawer.draw());
  if (tutorial && stockSize >= 2) {
    deal.stock[0] = 32;
    deal.stock[1] = 11;
  }
  // Covered flags as the reader leaves them: random cards, and cards a later card lies on.
  bool covered[EDITOR_CARD_SLOTS] = {};
  for (int32_t i = 0; i < EDITOR_CARD_SLOTS; ++i) {
    const EDITOR_CARD& card = table.cards[i];
    if (!card.inUse) continue;
    covered[i] = card.value == -1;
    for (int32_t u : card.underList) {
      if (EDITOR_CARD_TABLE::isValidSlot(u)) covered[u] = true;
    }
  }
  VALUE_DRAWER layoutDrawer{random};
  for (int32_t i = 0; i < EDITOR_CARD_SLOTS; ++i) {
    const EDITOR_CARD& card = table.cards[i];
    deal.layoutValues[i] = card.value;
    if (!card.inUse || !covered[i]) continue;
    const int32_t r = layoutDrawer.draw();
    if (card.value == -1) deal.layoutValues[i] = r;
  }
  return deal;
}

LEVEL_SOLUTION solveLevel(const EDITOR_CARD_TABLE& table, const LEVEL_SETTINGS& settings,
                          const LEVEL_DEAL& deal, int32_t nodeBudget) {
  LEVEL_POSITION start;
  start.piles.assign(playedReservePiles(settings), {});
  start.stock = deal.stock;
  return solvePosition(table, deal, start, nodeBudget);
}

LEVEL_SOLUTION solvePosition(const EDITOR_CARD_TABLE& table, const LEVEL_DEAL& deal,
                             const LEVEL_POSITION& position, int32_t nodeBudget) {
  std::vector<int32_t> indexOfSlot(EDITOR_CARD_SLOTS, -1);
  std::vector<int32_t> slotOfIndex;
  std::vector<CARD_INFO> cards;
  for (int32_t i = 0; i < EDITOR_CARD_SLOTS; ++i) {
    if (!table.cards[i].inUse) continue;
    indexOfSlot[i] = static_cast<int32_t>(cards.size());
    slotOfIndex.push_back(i);
    CARD_INFO info;
    const int32_t value = deal.layoutValues[i];
    info.rank = (value >= 0 && value < 52) ? rankOf(value) : rankOf(0);
    info.special = table.cards[i].isSpecial;
    cards.push_back(info);
  }
  STATE state;
  state.removed.assign(cards.size(), 0);
  state.coverCount.assign(cards.size(), 0);
  // A card is free once every card of its over list has left the table.
  for (int32_t i = 0; i < EDITOR_CARD_SLOTS; ++i) {
    const int32_t index = indexOfSlot[i];
    if (index < 0) continue;
    for (int32_t o : table.cards[i].overList) {
      if (!EDITOR_CARD_TABLE::isValidSlot(o) || indexOfSlot[o] < 0) continue;
      cards[index].over.push_back(indexOfSlot[o]);
      cards[indexOfSlot[o]].under.push_back(index);
      ++state.coverCount[index];
    }
  }
  for (const CARD_INFO& card : cards) state.specialsLeft += card.special ? 1 : 0;
  const int32_t piles = static_cast<int32_t>(position.piles.size());
  for (const std::vector<int32_t>& pile : position.piles) {
    state.piles.emplace_back();
    for (int32_t value : pile) state.piles.back().push_back(static_cast<int8_t>(rankOf(value)));
  }
  for (int32_t value : position.stock) state.stock.push_back(static_cast<int8_t>(rankOf(value)));
  state.ball = position.turnedOver ? 1 : 0;
  SOLVER solver(std::move(cards), std::move(slotOfIndex), piles, nodeBudget);
  return solver.run(std::move(state));
}
