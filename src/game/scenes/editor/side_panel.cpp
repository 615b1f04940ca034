// The strip right of the play area shows one of two panels: the card panel (value,
// properties, raising and lowering, and the X, Y, Angle and Layer Z boxes of the current
// card) while a card is picked, else the level panel with the level's four numbers. The
// panel not shown waits beyond the screen's right edge.
#include <array>
#include <string>

#include "engine/log.h"
#include "game/scenes/editor/editor_scene.h"
#include "gui/gui_button5.h"
#include "gui/gui_textbox.h"
#include "gui/gui_wlabel.h"

namespace {

using EDITOR = SCENE_CARD_GAME_EDITOR;

constexpr float PANEL_X = 1124.0f;
constexpr float PARKED_X = 2124.0f;
// Labels stand 5 units above the y they are given, as every scene's labels do.
constexpr float LABEL_RAISE = 5.0f;

struct PANEL_PLACE {
  QEL::QC_GUI_OBJECT* widget;
  float y;
  bool isLabel;
};

std::array<PANEL_PLACE, 12> cardPanel(const EDITOR& e) {
  return {{{e.setValueButton, 50, false},
           {e.setPropertiesButton, 550, false},
           {e.bringToFrontButton, 650, false},
           {e.bringToBackButton, 700, false},
           {e.xLabel, 120, true},
           {e.xBox, 150, false},
           {e.yLabel, 220, true},
           {e.yBox, 250, false},
           {e.angleLabel, 320, true},
           {e.angleBox, 350, false},
           {e.layerLabel, 420, true},
           {e.layerBox, 450, false}}};
}

std::array<PANEL_PLACE, 8> levelPanel(const EDITOR& e) {
  return {{{e.bonusCardsLabel, 400, true},
           {e.bonusCardsBox, 430, false},
           {e.stockPileLabel, 500, true},
           {e.stockPileBox, 530, false},
           {e.reservePilesLabel, 600, true},
           {e.reservePilesBox, 630, false},
           {e.turnoversLabel, 700, true},
           {e.turnoversBox, 730, false}}};
}

template <size_t N>
void placePanel(const std::array<PANEL_PLACE, N>& panel, float x) {
  for (const PANEL_PLACE& place : panel) {
    if (place.widget != nullptr) place.widget->fSetPosition(x, place.isLabel ? place.y - LABEL_RAISE : place.y, 0.0f);
  }
}

void setBoxNumber(QEL::QC_GUI_TEXTBOX* box, int32_t value) {
  if (box != nullptr) box->fSetText(std::to_string(value).c_str());
}

std::string boxText(QEL::QC_GUI_TEXTBOX* box) {
  const char* text = box != nullptr ? box->fGetText() : nullptr;
  return text != nullptr ? std::string(text) : std::string();
}

}  // namespace

void SCENE_CARD_GAME_EDITOR::showSidePanel() {
  isCardPanelShown = true;
  placePanel(cardPanel(*this), PANEL_X);
  updatePropertiesPanel();
  placePanel(levelPanel(*this), PARKED_X);
}

void SCENE_CARD_GAME_EDITOR::hideSidePanel() {
  isCardPanelShown = false;
  placePanel(cardPanel(*this), PARKED_X);
  placePanel(levelPanel(*this), PANEL_X);
}

void SCENE_CARD_GAME_EDITOR::updatePropertiesPanel() {
  if (!EDITOR_CARD_TABLE::isValidSlot(table.currentCard)) return;
  // Whole numbers as the boxes show them: cut towards zero, the angle in degrees.
  const auto properties = [this](int32_t slot) {
    const EDITOR_CARD& card = table.cards[slot];
    return std::array<int32_t, 4>{static_cast<int32_t>(card.x), static_cast<int32_t>(card.y),
                                  static_cast<int32_t>(card.angle * RADIANS_TO_DEGREES), card.zLayer};
  };
  const std::array<int32_t, 4> current = properties(table.currentCard);
  // A property the selected cards do not share stays empty, so "Set properties" only
  // changes what the user types.
  std::array<bool, 4> shared{true, true, true, true};
  for (int32_t i = 0; i < table.selectedCards.count(); ++i) {
    const int32_t slot = table.selectedCards.get(i);
    if (!EDITOR_CARD_TABLE::isValidSlot(slot)) continue;
    const std::array<int32_t, 4> other = properties(slot);
    for (size_t k = 0; k < 4; ++k) shared[k] = shared[k] && other[k] == current[k];
  }
  QEL::QC_GUI_TEXTBOX* boxes[4] = {xBox, yBox, angleBox, layerBox};
  for (size_t k = 0; k < 4; ++k) {
    if (boxes[k] == nullptr) continue;
    if (shared[k]) {
      setBoxNumber(boxes[k], current[k]);
    } else {
      boxes[k]->fClear();
    }
  }
}

void SCENE_CARD_GAME_EDITOR::showLevelNumbers() {
  setBoxNumber(bonusCardsBox, numberOfBonusCards);
  setBoxNumber(turnoversBox, numberOfTurnovers);
  setBoxNumber(stockPileBox, numberOfCardsInStockPile);
  setBoxNumber(reservePilesBox, numberOfReservePiles);
}

void SCENE_CARD_GAME_EDITOR::acceptLevelBoxes() {
  struct LEVEL_BOX {
    QEL::QC_GUI_TEXTBOX* box;
    int32_t& number;
    LEVEL_NUMBER which;
    const char* name;
  };
  const LEVEL_BOX boxes[4] = {
      {turnoversBox, numberOfTurnovers, LEVEL_NUMBER::TURNOVERS, "Number of turnovers"},
      {stockPileBox, numberOfCardsInStockPile, LEVEL_NUMBER::STOCK_PILE, "Cards in stock pile"},
      {reservePilesBox, numberOfReservePiles, LEVEL_NUMBER::RESERVE_PILES, "Reserve piles"},
      {bonusCardsBox, numberOfBonusCards, LEVEL_NUMBER::BONUS_CARDS, "Number of bonus cards"},
  };
  for (const LEVEL_BOX& entry : boxes) {
    if (entry.box == nullptr) continue;
    const std::string typed = boxText(entry.box);
    const int32_t accepted = levelNumberFromBoxText(entry.which, typed.empty() ? nullptr : typed.c_str(), entry.number);
    const std::string shown = std::to_string(accepted);
    // The box shows what a save will write, before any save.
    if (typed != shown) {
      QEL::fLog(entry.name, ": \"", typed, "\" is saved as ", accepted);
      entry.box->fSetText(shown.c_str());
    }
    if (accepted != entry.number) {
      entry.number = accepted;
      table.isModified = true;
    }
  }
}

void SCENE_CARD_GAME_EDITOR::watchLevelBoxFocus() {
  const QEL::QC_GUI_TEXTBOX* boxes[4] = {turnoversBox, stockPileBox, reservePilesBox, bonusCardsBox};
  bool left = false;
  for (size_t k = 0; k < 4; ++k) {
    const bool focused = boxes[k] != nullptr && boxes[k]->fHasFocus();
    if (wasLevelBoxFocused[k] && !focused) left = true;
    wasLevelBoxFocused[k] = focused;
  }
  if (left) acceptLevelBoxes();
}
