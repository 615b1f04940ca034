#include "levels.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "content.h"
#include "level_geometry/card_geometry.h"
#include "level_geometry/shape_generators.h"

namespace resgen {
namespace {

constexpr float VISUAL_HALF_WIDTH = 37.5f + 2.0f;
constexpr float VISUAL_HALF_HEIGHT = 58.0f + 2.0f;

struct LEVEL_RANDOM {
  uint64_t state;
  explicit LEVEL_RANDOM(uint64_t seed) : state(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}
  uint32_t next() {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return static_cast<uint32_t>(state >> 11);
  }
  int below(int n) { return n > 0 ? static_cast<int>(next() % static_cast<uint32_t>(n)) : 0; }
};

// Whether two places would show one card over the other (the whole picture, a little more).
bool picturesOverlap(const CARD_PLACE& a, const CARD_PLACE& b) {
  const CARD_OUTLINE oa = makeCardOutline(a.x, a.y, a.angle, VISUAL_HALF_WIDTH, VISUAL_HALF_HEIGHT);
  const CARD_OUTLINE ob = makeCardOutline(b.x, b.y, b.angle, VISUAL_HALF_WIDTH, VISUAL_HALF_HEIGHT);
  for (const auto& c : oa.corners) {
    if (isPointInOutline(c.x, c.y, ob)) return true;
  }
  for (const auto& c : ob.corners) {
    if (isPointInOutline(c.x, c.y, oa)) return true;
  }
  return isPointInOutline(a.x, a.y, ob) || isPointInOutline(b.x, b.y, oa);
}

bool isOutsideArea(const CARD_PLACE& place) {
  return place.x < LEVEL_AREA_LEFT || place.x > LEVEL_AREA_RIGHT || place.y < LEVEL_AREA_TOP ||
         place.y > LEVEL_AREA_BOTTOM || isUnderCornerButton(place.x, place.y, place.angle);
}

void append(std::vector<CARD_PLACE>& all, const std::vector<CARD_PLACE>& more, int32_t zShift = 0) {
  for (CARD_PLACE place : more) {
    place.zLayer += zShift;
    all.push_back(place);
  }
}

struct DIFFICULTY {
  int pack, frame;
  float t;      // 0 for the first level, 1 for the last
  int layers;   // the height of the piled shapes
};

DIFFICULTY difficultyOf(int index) {
  DIFFICULTY d;
  d.pack = index / 10;
  d.frame = index % 10;
  d.t = static_cast<float>(index) / static_cast<float>(LEVEL_COUNT - 1);
  d.layers = std::min(5, 2 + (d.pack * 3 + d.frame / 4) / 9);
  return d;
}

// Twin (or triple) peaks of row pyramids with a line of cards above them.
std::vector<CARD_PLACE> peaksLayout(const DIFFICULTY& d, LEVEL_RANDOM& random) {
  std::vector<CARD_PLACE> places;
  const int peaks = d.t > 0.45f && random.below(2) == 0 ? 3 : 2;
  const int base = peaks == 3 ? std::min(3 + d.layers / 4, 4) : std::min(d.layers + 1, 5);
  const float width = 80.0f * (base - 1) + 75.0f;
  const float gap = (LEVEL_AREA_RIGHT - LEVEL_AREA_LEFT + 75.0f - width * peaks) / (peaks + 1);
  for (int p = 0; p < peaks; ++p) {
    const float cx = LEVEL_AREA_LEFT - 37.5f + gap * (p + 1) + width * p + width / 2;
    append(places, pyramidOfCards(cx, 560.0f, base, std::min(d.layers, base), 80.0f, -58.0f, 0));
  }
  const int top = 7 + static_cast<int>(d.t * 4);
  append(places, lineOfCards(512.0f - 41.0f * (top - 1), 200.0f, 512.0f + 41.0f * (top - 1), 200.0f, top, 0));
  if (d.layers >= 3) {
    // A second line half over the first.
    append(places, lineOfCards(512.0f - 41.0f * (top - 2), 230.0f, 512.0f + 41.0f * (top - 2), 230.0f, top - 1, 1));
  }
  return places;
}

// A pyramid in two directions, each card covering four.
std::vector<CARD_PLACE> grandPyramidLayout(const DIFFICULTY& d, LEVEL_RANDOM& random) {
  const int rows = d.t > 0.5f ? 4 : 3;
  const int columns = 6 + static_cast<int>(std::lround(d.t * 4)) - random.below(2);
  const float centreY = rows == 4 ? 380.0f : 385.0f;
  std::vector<CARD_PLACE> places = layeredPyramidOfCards(512.0f, centreY, columns, rows,
                                                         std::min(d.layers, rows), 84.0f, 122.0f, 0);
  // Every layer a little higher, so a card right over one two layers down leaves its edge.
  for (CARD_PLACE& place : places) place.y -= 9.0f * static_cast<float>(place.zLayer);
  return places;
}

// A turned ring of cards with a pyramid inside it.
std::vector<CARD_PLACE> ringLayout(const DIFFICULTY& d, LEVEL_RANDOM& random) {
  std::vector<CARD_PLACE> places;
  const int count = 14 + 2 * static_cast<int>(d.t * 3);
  append(places, circleOfCards(512.0f, 375.0f, 400.0f, 180.0f, count, 0, true));
  if (d.layers >= 3) {
    // A second ring half a step on, lying over the first.
    std::vector<CARD_PLACE> second = circleOfCards(512.0f, 375.0f, 400.0f, 180.0f, count * 2, 1, true);
    for (size_t i = 1; i < second.size(); i += 2 + static_cast<size_t>(random.below(2))) places.push_back(second[i]);
  }
  const int base = 3 + d.layers / 2;
  append(places, pyramidOfCards(512.0f, 440.0f, base, std::min(d.layers, base), 80.0f, -58.0f, 0));
  return places;
}

// A square frame of cards, its long sides doubled, around a small grid pyramid.
std::vector<CARD_PLACE> frameLayout(const DIFFICULTY& d, LEVEL_RANDOM& random) {
  std::vector<CARD_PLACE> places;
  append(places, squareOfCards(107.0f, 195.0f, 10, 4, 90.0f, 123.0f, 0));
  if (d.layers >= 3) {
    append(places, lineOfCards(152.0f, 225.0f, 872.0f, 225.0f, 9, 1));
    append(places, lineOfCards(152.0f, 534.0f, 872.0f, 534.0f, 9, 1));
  }
  const int columns = 4 + static_cast<int>(d.t * 2) + random.below(2);
  append(places, layeredPyramidOfCards(512.0f, 380.0f, columns, 2, 2, 82.0f, 118.0f, 0));
  return places;
}

// Hands of fanned cards over a low pyramid.
std::vector<CARD_PLACE> fansLayout(const DIFFICULTY& d, LEVEL_RANDOM& random) {
  std::vector<CARD_PLACE> places;
  const int hands = 3;
  const int cards = 4 + std::min(3, d.layers - 1) + random.below(2);
  for (int h = 0; h < hands; ++h) {
    const float cx = 200.0f + 312.0f * h;
    append(places, arcOfCards(cx, 520.0f, 280.0f, cards, -0.32f, 0.32f, 0));
  }
  const int base = 8 + static_cast<int>(d.t * 3);
  append(places, pyramidOfCards(512.0f, 548.0f, base, std::min(d.layers, 3), 80.0f, -58.0f, 0));
  return places;
}

// Rows laid like roof tiles: every row half over the one above it.
std::vector<CARD_PLACE> tilesLayout(const DIFFICULTY& d, LEVEL_RANDOM& random) {
  std::vector<CARD_PLACE> places;
  const int rows = std::min(7, 2 + d.layers + random.below(2));
  const int perRow = 7 + static_cast<int>(d.t * 3);
  for (int r = 0; r < rows; ++r) {
    const float y = 200.0f + 62.0f * r;
    const float shift = (r % 2) ? 42.0f : 0.0f;
    const float half = 42.0f * (perRow - 1);
    append(places, fanOfCards(512.0f - half + shift - 21.0f, y, 512.0f + half + shift - 21.0f, y,
                              perRow - (r % 2), 0.0f, r, 0));
  }
  return places;
}

using LAYOUT_FUNCTION = std::vector<CARD_PLACE> (*)(const DIFFICULTY&, LEVEL_RANDOM&);
constexpr LAYOUT_FUNCTION LAYOUTS[] = {grandPyramidLayout, peaksLayout, ringLayout,
                                       frameLayout, fansLayout, tilesLayout};

// Cards wanted on a level: more with every pack.
int targetCardsOf(int index) { return 22 + index / 2; }

// Adds cards over the shape, each laid across two neighbours one layer above both, until
// the level has its number of cards.
std::vector<CARD_PLACE> topUp(std::vector<CARD_PLACE> places, const DIFFICULTY& d, int target,
                              LEVEL_RANDOM& random) {
  const int32_t highest = d.layers + 2;
  for (int attempt = 0; attempt < 600 && static_cast<int>(places.size()) < target; ++attempt) {
    const CARD_PLACE& a = places[random.below(static_cast<int>(places.size()))];
    std::vector<size_t> neighbours;
    for (size_t j = 0; j < places.size(); ++j) {
      const float dx = places[j].x - a.x, dy = places[j].y - a.y;
      const float distance = std::sqrt(dx * dx + dy * dy);
      if (distance > 60.0f && distance < 140.0f) neighbours.push_back(j);
    }
    if (neighbours.empty()) continue;
    const CARD_PLACE& b = places[neighbours[random.below(static_cast<int>(neighbours.size()))]];
    CARD_PLACE place;
    place.x = (a.x + b.x) / 2 + static_cast<float>(random.below(13) - 6);
    place.y = (a.y + b.y) / 2 + static_cast<float>(random.below(13) - 6);
    place.zLayer = std::max(a.zLayer, b.zLayer) + 1;
    place.angle = d.t > 0.3f ? static_cast<float>(random.below(17) - 8) * DEGREES_TO_RADIANS : 0.0f;
    if (place.zLayer > highest || isOutsideArea(place)) continue;
    bool blocked = false;
    for (const CARD_PLACE& other : places) {
      const float dx = other.x - place.x, dy = other.y - place.y;
      if (dx * dx + dy * dy < 30.0f * 30.0f) blocked = true;
      if (other.zLayer >= place.zLayer && picturesOverlap(other, place)) blocked = true;
    }
    if (!blocked) places.push_back(place);
  }
  return places;
}

// Whole pixels and whole degrees, so the file's "%g" text reads back to the same numbers.
void roundPlace(CARD_PLACE& place) {
  place.x = std::round(place.x);
  place.y = std::round(place.y);
  const float degrees = std::round(place.angle * RADIANS_TO_DEGREES);
  place.angle = degrees * DEGREES_TO_RADIANS;
}

std::vector<CARD_PLACE> tidy(std::vector<CARD_PLACE> places) {
  std::vector<CARD_PLACE> kept;
  for (CARD_PLACE& place : places) {
    roundPlace(place);
    if (isOutsideArea(place)) continue;
    bool duplicate = false;
    for (const CARD_PLACE& other : kept) {
      if (std::fabs(other.x - place.x) < 12.0f && std::fabs(other.y - place.y) < 12.0f) duplicate = true;
    }
    if (!duplicate) kept.push_back(place);
  }
  // Cards that would show over each other never share a layer: the later one goes up.
  for (bool changed = true; changed;) {
    changed = false;
    for (size_t i = 0; i < kept.size(); ++i) {
      for (size_t j = i + 1; j < kept.size(); ++j) {
        if (kept[i].zLayer == kept[j].zLayer && picturesOverlap(kept[i], kept[j])) {
          ++kept[j].zLayer;
          changed = true;
        }
      }
    }
  }
  return kept;
}

// Slots in reading order: bottom layers first, then top to bottom, left to right.
void fillTable(const std::vector<CARD_PLACE>& places, EDITOR_CARD_TABLE& table) {
  std::vector<CARD_PLACE> ordered = places;
  std::stable_sort(ordered.begin(), ordered.end(), [](const CARD_PLACE& a, const CARD_PLACE& b) {
    if (a.zLayer != b.zLayer) return a.zLayer < b.zLayer;
    if (a.y != b.y) return a.y < b.y;
    return a.x < b.x;
  });
  table.clearEditor();
  for (size_t i = 0; i < ordered.size() && i < EDITOR_CARD_SLOTS; ++i) {
    EDITOR_CARD& card = table.cards[i];
    card.putOnTable();
    card.x = ordered[i].x;
    card.y = ordered[i].y;
    card.angle = ordered[i].angle;
    card.zLayer = ordered[i].zLayer;
    card.value = -1;
    card.isSpecial = false;
  }
  table.computeCoverLists();
}

// How many cards lie above a card, counted through the whole pile.
std::vector<int> depthsOf(const EDITOR_CARD_TABLE& table) {
  std::vector<int> depth(EDITOR_CARD_SLOTS, 0);
  for (int32_t i = 0; i < EDITOR_CARD_SLOTS; ++i) {
    if (!table.cards[i].inUse) continue;
    std::vector<bool> seen(EDITOR_CARD_SLOTS, false);
    std::vector<int32_t> todo(table.cards[i].overList.begin(), table.cards[i].overList.end());
    int n = 0;
    while (!todo.empty()) {
      const int32_t o = todo.back();
      todo.pop_back();
      if (seen[o]) continue;
      seen[o] = true;
      ++n;
      for (int32_t next : table.cards[o].overList) todo.push_back(next);
    }
    depth[i] = n;
  }
  return depth;
}

// Ten skittles: lying higher on easy levels, deeper in the piles on hard ones, spread out.
void chooseSpecials(const DIFFICULTY& d, EDITOR_CARD_TABLE& table, LEVEL_RANDOM& random) {
  const std::vector<int> depth = depthsOf(table);
  int maxDepth = 0;
  std::vector<int32_t> slots;
  for (int32_t i = 0; i < EDITOR_CARD_SLOTS; ++i) {
    if (!table.cards[i].inUse) continue;
    slots.push_back(i);
    maxDepth = std::max(maxDepth, depth[i]);
  }
  const float target = (0.15f + 0.6f * d.t) * static_cast<float>(maxDepth);
  std::vector<std::pair<float, int32_t>> scored;
  for (int32_t slot : slots) {
    const float score = std::fabs(static_cast<float>(depth[slot]) - target) +
                        static_cast<float>(random.below(1000)) / 400.0f;
    scored.push_back({score, slot});
  }
  std::sort(scored.begin(), scored.end());
  std::vector<int32_t> chosen;
  // Prefer cards that are not neighbours of one already chosen; fall back to any.
  for (int pass = 0; pass < 2 && static_cast<int>(chosen.size()) < LEVEL_SPECIAL_CARDS; ++pass) {
    for (const auto& [score, slot] : scored) {
      if (static_cast<int>(chosen.size()) >= LEVEL_SPECIAL_CARDS) break;
      if (std::find(chosen.begin(), chosen.end(), slot) != chosen.end()) continue;
      bool near = false;
      for (int32_t c : chosen) {
        const float dx = table.cards[c].x - table.cards[slot].x;
        const float dy = table.cards[c].y - table.cards[slot].y;
        if (dx * dx + dy * dy < 95.0f * 95.0f) near = true;
      }
      if (pass == 0 && near) continue;
      chosen.push_back(slot);
    }
  }
  for (int32_t slot : chosen) table.cards[slot].isSpecial = true;
  table.countOfSpecialCards = static_cast<int32_t>(chosen.size());
}

LEVEL_SETTINGS settingsFor(const DIFFICULTY& d, int cards) {
  LEVEL_SETTINGS settings;
  settings.numberOfTurnovers = 1;
  settings.numberOfReservePiles = d.pack < 3 ? 3 : (d.pack < 8 ? 2 : 1);
  // Enough stock to pair the layout, less of it as the packs go on.
  settings.numberOfCardsInStockPile = std::clamp(44 + cards / 3 - d.pack * 2, 30, 64);
  settings.numberOfBonusCards = 2 + d.pack / 4;
  return settings;
}

// The tutorial: columns of two cards, a free row above and below, all below the hint strip
// (100 to 160) that explains each step. Slots 31 and 49 are a free
// pair of sevens lying on the skittles 28 and 34 (a pair of queens); slot 10 is a free eight
// for the first stock card the tutorial deals (32, an eight).
void buildTutorial(EDITOR_CARD_TABLE& table, LEVEL_SETTINGS& settings) {
  table.clearEditor();
  std::vector<int32_t> freeIds;
  for (int32_t id = 0; id < 50; ++id) {
    if (id != 10 && id != 28 && id != 31 && id != 34 && id != 49) freeIds.push_back(id);
  }
  size_t nextId = 0;
  auto put = [&](int32_t id, float x, float y, int32_t z, int32_t value, bool special) {
    if (id < 0) id = freeIds[nextId++];
    table.cards[id].putOnTable(x, y, z, value, special);
  };
  const float columns[8] = {162, 262, 362, 462, 562, 662, 762, 862};
  // Column 3: seven 31 on queen 28; column 4: seven 49 on queen 34. Each queen has the lower
  // id, so the seven read after it turns it face down as the other hidden cards are.
  for (int c = 0; c < 8; ++c) {
    put(c == 3 ? 28 : c == 4 ? 34 : -1, columns[c], 346, 0, c == 3 ? 10 : c == 4 ? 23 : -1, true);
    put(c == 3 ? 31 : c == 4 ? 49 : -1, columns[c], 436, 1, c == 3 ? 5 : c == 4 ? 18 : -1, false);
  }
  for (int i = 0; i < 6; ++i) put(i == 0 ? 10 : -1, 212.0f + 120.0f * i, 228, 0, i == 0 ? 19 : -1, false);
  for (int i = 0; i < 6; ++i) put(-1, 212.0f + 120.0f * i, 575, 0, -1, i == 1 || i == 4);
  table.countOfSpecialCards = LEVEL_SPECIAL_CARDS;
  table.computeCoverLists();
  settings = LEVEL_SETTINGS{};
  settings.numberOfTurnovers = 1;
  settings.numberOfReservePiles = 2;
  settings.numberOfCardsInStockPile = 30;
  settings.numberOfBonusCards = 2;
}

}  // namespace

bool isUnderCornerButton(float x, float y, float angle) {
  const CARD_OUTLINE card = makeCardOutline(x, y, angle, VISUAL_HALF_WIDTH, VISUAL_HALF_HEIGHT);
  for (const LEVEL_BUTTON_ROUND& button : LEVEL_CORNER_BUTTONS) {
    if (isPointInOutline(button.x, button.y, card)) return true;
    // The card's edge nearest the button's centre, sampled along each side.
    for (int side = 0; side < 4; ++side) {
      const auto& a = card.corners[side];
      const auto& b = card.corners[(side + 1) % 4];
      for (int step = 0; step <= 20; ++step) {
        const float t = static_cast<float>(step) / 20.0f;
        const float dx = a.x + (b.x - a.x) * t - button.x, dy = a.y + (b.y - a.y) * t - button.y;
        if (dx * dx + dy * dy < button.radius * button.radius) return true;
      }
    }
  }
  return false;
}

uint32_t findClearingSeed(const EDITOR_CARD_TABLE& table, const LEVEL_SETTINGS& settings,
                          bool tutorial, LEVEL_SOLUTION* solution) {
  for (uint32_t seed = 1; seed <= LEVEL_PROOF_SEEDS; ++seed) {
    const LEVEL_DEAL deal = dealLevel(table, settings, seed, tutorial);
    const LEVEL_SOLUTION result = solveLevel(table, settings, deal, LEVEL_PROOF_BUDGET);
    if (result.cleared) {
      if (solution) *solution = result;
      return seed;
    }
  }
  return 0;
}

bool buildLevel(int index, EDITOR_CARD_TABLE& table, LEVEL_SETTINGS& settings) {
  if (isTutorialLevel(index)) {
    buildTutorial(table, settings);
    return findClearingSeed(table, settings, true) != 0;
  }
  const DIFFICULTY d = difficultyOf(index);
  for (int variant = 0; variant < 8; ++variant) {
    LEVEL_RANDOM random(static_cast<uint64_t>(index) * 131 + variant);
    const size_t kind = static_cast<size_t>(index * 7 + d.pack + variant) % std::size(LAYOUTS);
    fillTable(tidy(topUp(LAYOUTS[kind](d, random), d, targetCardsOf(index), random)), table);
    chooseSpecials(d, table, random);
    settings = settingsFor(d, table.countCardsInUse());
    if (findClearingSeed(table, settings, false) != 0) return true;
  }
  return false;
}

namespace {

bool writeLevelFile(const std::filesystem::path& folder, int index) {
  EDITOR_CARD_TABLE table;
  LEVEL_SETTINGS settings;
  if (!buildLevel(index, table, settings)) {
    std::fprintf(stderr, "levels: no clearable layout found for level %d\n", index);
    return false;
  }
  pugi::xml_document document;
  writeLevel(document, table, index, settings);
  const std::filesystem::path target = folder / ("Level_" + std::to_string(index) + ".xml");
  std::string failure;
  if (!saveLevelDocument(document, target, &failure)) {
    std::fprintf(stderr, "levels: cannot write %s: %s\n", target.string().c_str(), failure.c_str());
    return false;
  }
  return true;
}

}  // namespace

bool generateLevels(const std::filesystem::path& resources) {
  const std::filesystem::path folder = resources / "Levels";
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) {
    std::fprintf(stderr, "levels: cannot create %s: %s\n", folder.string().c_str(), error.message().c_str());
    return false;
  }
  const unsigned workers = std::max(1u, std::min(4u, std::thread::hardware_concurrency()));
  std::vector<char> ok(LEVEL_COUNT, 0);
  std::vector<std::thread> threads;
  for (unsigned w = 0; w < workers; ++w) {
    threads.emplace_back([&, w] {
      for (int index = static_cast<int>(w); index < LEVEL_COUNT; index += static_cast<int>(workers)) {
        ok[index] = writeLevelFile(folder, index) ? 1 : 0;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  return std::all_of(ok.begin(), ok.end(), [](char c) { return c != 0; });
}

}  // namespace resgen
