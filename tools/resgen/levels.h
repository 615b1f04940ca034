#pragma once
// The 120 level layouts: built with the editor's shape generators, covered by its overlap
// geometry, and kept only when a seeded deal of them can be cleared.
#include <cstdint>

#include "level_geometry/editor_cards.h"
#include "level_geometry/level_file.h"
#include "level_geometry/level_solver.h"

namespace resgen {

constexpr int LEVEL_COUNT = 120;
constexpr int LEVEL_SPECIAL_CARDS = 10;
// How hard the proof looks: deals tried per layout and positions per deal.
constexpr uint32_t LEVEL_PROOF_SEEDS = 40;
constexpr int32_t LEVEL_PROOF_BUDGET = 30000;

// Play area for card centres: clear of the top bars, the stock row and the side buttons.
constexpr float LEVEL_AREA_LEFT = 60.0f;
constexpr float LEVEL_AREA_RIGHT = 964.0f;
constexpr float LEVEL_AREA_TOP = 170.0f;
constexpr float LEVEL_AREA_BOTTOM = 580.0f;
// The pause and shop buttons stand in the area's lower corners: no card may lie under them.
struct LEVEL_BUTTON_ROUND {
  float x, y, radius;
};
constexpr LEVEL_BUTTON_ROUND LEVEL_CORNER_BUTTONS[2] = {{64.0f, 624.0f, 46.0f}, {960.0f, 622.0f, 50.0f}};
// Whether a card lying at (x, y) with its angle would show under one of the corner buttons.
bool isUnderCornerButton(float x, float y, float angle);

inline bool isTutorialLevel(int index) { return index == 0; }

// The first seed (1-based) whose deal the solver clears, or 0 when none of the seeds does.
uint32_t findClearingSeed(const EDITOR_CARD_TABLE& table, const LEVEL_SETTINGS& settings,
                          bool tutorial, LEVEL_SOLUTION* solution = nullptr);

// Lays out level `index` (0-119) into the table, which is cleared first, with its settings,
// cover lists computed. Deterministic: the same index always gives the same level.
// Returns false when no variant of the layout could be proved clearable.
bool buildLevel(int index, EDITOR_CARD_TABLE& table, LEVEL_SETTINGS& settings);

}  // namespace resgen
