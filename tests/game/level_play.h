#pragma once
// What the frame scenarios share: a level generated from a seed (ten skittles under ten plain
// cards, every card of a fixed value, so the pairs are known), the editor's solver choosing
// the order of the pairs, the points those pairs earn, and ten-pin bowling's own arithmetic
// for the pack's running total, worked out from the balls alone.
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <pugixml.hpp>

#include "game/card.h"
#include "game/card_flights.h"
#include "game/card_piles.h"
#include "game/game_globals.h"
#include "game/players.h"
#include "game/scenes/level/level_scene.h"
#include "game_child.h"
#include "level_geometry/editor_cards.h"
#include "level_geometry/level_file.h"
#include "level_geometry/level_solver.h"

namespace test_support {

struct PLAY_LEVEL {
  uint32_t seed = 0;
  std::string xml;
  EDITOR_CARD_TABLE table;
  std::vector<LEVEL_MOVE> line;  // pairs only: the layout alone can be cleared
};

// Slots 0-9 are the skittles in a row, slots 10-19 plain cards in a row below, each lying over
// the two skittles it touches. Ten ranks, each on exactly two cards, dealt by the seed.
inline std::string generatedLevelXml(uint32_t seed, int32_t stockCards, int32_t reservePiles, int32_t bonusCards) {
  uint64_t state = 0x2545F4914F6CDD1Dull ^ (uint64_t{seed} * 0x9E3779B97F4A7C15ull);
  const auto next = [&state](uint32_t below) {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return static_cast<int32_t>((state >> 16) % below);
  };
  std::vector<int32_t> ranks;
  while (ranks.size() < 10) {
    const int32_t rank = next(13);
    bool taken = false;
    for (int32_t r : ranks) taken = taken || r == rank;
    if (!taken) ranks.push_back(rank);
  }
  std::vector<int32_t> values;
  for (int32_t r : ranks) {
    values.push_back(r);       // clubs
    values.push_back(r + 13);  // another suit of the same rank
  }
  for (int32_t i = static_cast<int32_t>(values.size()) - 1; i > 0; --i) std::swap(values[i], values[next(i + 1)]);

  pugi::xml_document document;
  pugi::xml_node level = document.append_child("level");
  level.append_attribute("countOfCards").set_value(20);
  level.append_attribute("numberOfTurnovers").set_value(1);
  level.append_attribute("numberOfCardsInStockPile").set_value(stockCards);
  level.append_attribute("numberOfReservePiles").set_value(reservePiles);
  level.append_attribute("numberOfBonusCards").set_value(bonusCards);
  for (int32_t slot = 0; slot < 20; ++slot) {
    const bool skittle = slot < 10;
    const int32_t column = skittle ? slot : slot - 10;
    pugi::xml_node card = level.append_child("card");
    card.append_attribute("id").set_value(slot);
    card.append_attribute("zLayer").set_value(skittle ? 0 : 1);
    card.append_attribute("x").set_value(skittle ? 100 + 85 * column : 142 + 85 * column);
    card.append_attribute("y").set_value(skittle ? 260 : 340);
    card.append_attribute("angle").set_value(0);
    card.append_attribute("assignedValue").set_value(values[slot]);
    card.append_attribute("isSpecial").set_value(skittle);
    const auto link = [&card](const char* name, int32_t other) {
      card.append_child(name).text().set(other);
    };
    if (skittle) {
      if (column > 0) link("over", 10 + column - 1);
      link("over", 10 + column);
    } else {
      link("under", column);
      if (column < 9) link("under", column + 1);
    }
  }
  std::string text;
  struct WRITER : pugi::xml_writer {
    std::string* out;
    void write(const void* data, size_t size) override { out->append(static_cast<const char*>(data), size); }
  } writer;
  writer.out = &text;
  document.save(writer);
  return text;
}

// The first seed from `seed` on whose layout the solver clears every skittle before any
// turnover, with its line of pairs.
inline PLAY_LEVEL makePlayLevel(uint32_t seed, int32_t stockCards = 4, int32_t reservePiles = 2,
                                int32_t bonusCards = 0) {
  for (;; ++seed) {
    PLAY_LEVEL level;
    level.seed = seed;
    level.xml = generatedLevelXml(seed, stockCards, reservePiles, bonusCards);
    pugi::xml_document document;
    document.load_string(level.xml.c_str());
    LEVEL_SETTINGS settings;
    readLevel(document, level.table, settings);
    LEVEL_DEAL deal;
    for (int32_t i = 0; i < EDITOR_CARD_SLOTS; ++i) deal.layoutValues[i] = level.table.cards[i].value;
    const LEVEL_SOLUTION solution = solveLevel(level.table, settings, deal, 200000);
    if (!solution.cleared || !solution.strike) continue;
    level.line = solution.line;
    return level;
  }
}

inline int32_t skittlesIn(const PLAY_LEVEL& level, const LEVEL_MOVE& move) {
  int32_t n = 0;
  for (int32_t item : {move.a, move.b})
    if (item >= 0 && level.table.cards[item].isSpecial) ++n;
  return n;
}

// Skittles down after the first `pairs` pairs of the line.
inline int32_t skittlesAfter(const PLAY_LEVEL& level, size_t pairs) {
  int32_t n = 0;
  for (size_t i = 0; i < pairs && i < level.line.size(); ++i) n += skittlesIn(level, level.line[i]);
  return n;
}

// The fewest pairs of the line that knock down at least `skittles`.
inline size_t pairsFor(const PLAY_LEVEL& level, int32_t skittles) {
  size_t pairs = 0;
  while (pairs < level.line.size() && skittlesAfter(level, pairs) < skittles) ++pairs;
  return pairs;
}

// The money of the line's pairs from `first` to `last` (excluded), the `first` pair being the
// frame's pair number `first` + 1: 10, 25 or 50 by the skittles in the pair, times one plus a
// fifth of the pairs removed so far.
inline int32_t moneyOf(const PLAY_LEVEL& level, size_t first, size_t last) {
  int32_t money = 0;
  for (size_t i = first; i < last && i < level.line.size(); ++i) {
    const int32_t skittles = skittlesIn(level, level.line[i]);
    const int32_t base = skittles == 0 ? 10 : skittles == 1 ? 25 : 50;
    money += base * (static_cast<int32_t>(i + 1) / 5 + 1);
  }
  return money;
}

// Ten-pin bowling from the balls as they were bowled, frame by frame: the total after each
// frame whose bonus balls are known. A frame lists its balls (the tenth up to three).
inline std::vector<int32_t> tenPinRunningTotals(const std::vector<std::vector<int32_t>>& frames) {
  std::vector<int32_t> rolls;
  std::vector<size_t> firstRoll;
  for (const auto& frame : frames) {
    firstRoll.push_back(rolls.size());
    for (int32_t ball : frame) rolls.push_back(ball);
  }
  std::vector<int32_t> totals;
  int32_t total = 0;
  for (size_t f = 0; f < frames.size(); ++f) {
    const size_t r = firstRoll[f];
    const auto roll = [&rolls](size_t i) { return i < rolls.size() ? rolls[i] : 0; };
    if (f == 9) {
      for (int32_t ball : frames[f]) total += ball;
    } else if (frames[f][0] == 10) {
      total += 10 + roll(r + 1) + roll(r + 2);
    } else if (frames[f][0] + frames[f][1] == 10) {
      total += 10 + roll(r + 2);
    } else {
      total += frames[f][0] + frames[f][1];
    }
    totals.push_back(total);
  }
  return totals;
}

// ---- On the running game (in a game child) ----

constexpr int32_t START_MONEY = 1000;

inline SCENE_CARD_GAME_LEVEL* level() { return dynamic_cast<SCENE_CARD_GAME_LEVEL*>(gCurrentScene); }

// One profile that already holds every trophy, so that no trophy window interrupts a frame.
inline void makeBowler() {
  gNumberOfPlayers = 1;
  gCurrentPlayer = 0;
  gGameMode = 0;
  gPlayers[0] = PLAYER_RECORD{};
  gPlayers[0].name = L"Bowler";
  gPlayers[0].money = START_MONEY;
  gPlayers[0].soundVolume = 0.5f;
  gPlayers[0].musicVolume = 0.5f;
  for (uint8_t& trophy : gPlayers[0].trophies) trophy = 1;
  savePlayers();
}

// Plays the generated level's line through the game's own input.
class BOWLER {
 public:
  BOWLER(GAME_CHILD& game, const PLAY_LEVEL& play) : _game(game), _play(play) { _game.drawEvery = 8; }

  // The generated level written as level `index`, the bowler's profile made (and whatever
  // else the scenario stores first), and the level started.
  void begin(int32_t index, const std::function<void()>& before = nullptr) {
    _game.writeLevel(index, _play.xml);
    makeBowler();
    if (before) before();
    start(index);
  }

  // The level scene as the frames scene starts one, run until its layout lies in place.
  void start(int32_t index) {
    gCurrentLevel = index;
    gCurrentPack = index / kLevelsPerPack;
    changeScene(gCurrentScene, new SCENE_CARD_GAME_LEVEL());
    waitForPlay();
  }

  void waitForPlay() {
    const bool ready = _game.stepUntil([] {
      SCENE_CARD_GAME_LEVEL* l = level();
      return l != nullptr && l->transitionState == 0 && l->windowState == 0 && l->cardFlights->activeCount() == 0;
    });
    CHILD_CHECK(ready, "the level does not come to play");
  }

  void clickCard(int32_t slot) {
    const CARD* card = level()->cards[slot];
    CHILD_CHECK(card->onTable, "card " + std::to_string(slot) + " is not on the table");
    _game.click(card->currentX, card->currentY);
  }

  // Pairs [first, last) of the line, each clicked card by card and flown away.
  void takePairs(size_t first, size_t last) {
    for (size_t i = first; i < last && i < _play.line.size(); ++i) {
      const LEVEL_MOVE& move = _play.line[i];
      clickCard(move.a);
      clickCard(move.b);
      CHILD_CHECK(_game.stepUntil([] { return level()->cardFlights->activeCount() == 0; }), "a pair keeps flying");
      CHILD_CHECK(!level()->cards[move.a]->onTable && !level()->cards[move.b]->onTable,
                  "pair " + std::to_string(i) + " was not taken");
    }
  }

  void clickStock() {
    const CARD_PILES& piles = *level()->cardPiles;
    _game.click(piles.stockX, piles.stockY);
    _game.stepUntil([] { return level()->cardFlights->activeCount() == 0; });
  }

  // The stock is dealt out and turned over: the second ball begins once the banner has gone.
  void nextBall() {
    const int32_t turnovers = level()->turnoversLeft;
    for (int i = 0; i < 20 && level()->turnoversLeft == turnovers; ++i) clickStock();
    CHILD_CHECK(level()->turnoversLeft == turnovers - 1, "the stock did not turn over");
    CHILD_CHECK(_game.stepUntil([] { return level()->windowState == 0; }), "the banner stays");
  }

  // The stock is dealt out and taken once more with no turnover left: the frame ends.
  void useUpStock() {
    for (int i = 0; i < 20 && !level()->isLevelFinished; ++i) clickStock();
    CHILD_CHECK(level()->isLevelFinished, "the frame does not end with the stock");
  }

  // Two balls that leave skittles standing, along the line from its start: at least `first`
  // skittles, the stock turned over, at least `more` further ones, the stock used up. The
  // counts of the two balls.
  std::pair<int32_t, int32_t> bowlOpenFrame(int32_t first, int32_t more) {
    const size_t split = pairsFor(_play, first);
    const int32_t firstBall = skittlesAfter(_play, split);
    const size_t end = pairsFor(_play, firstBall + more);
    takePairs(0, split);
    nextBall();
    takePairs(split, end);
    useUpStock();
    return {firstBall, skittlesAfter(_play, end) - firstBall};
  }

  void waitForFinishWindow() {
    CHILD_CHECK(_game.stepUntil([] { return level() != nullptr && level()->windowState == window_state::FINISH_OPEN; },
                                1200),
                "no finish window");
  }

  // The tenth frame's bonus balls: a new level scene replaces this one.
  void waitForBonusBalls() {
    const SCENE_CARD_GAME_LEVEL* old = level();
    CHILD_CHECK(_game.stepUntil([old] { return level() != nullptr && level() != old; }, 1200),
                "no scene for the bonus balls");
    waitForPlay();
  }

 private:
  GAME_CHILD& _game;
  const PLAY_LEVEL& _play;
};

}  // namespace test_support
