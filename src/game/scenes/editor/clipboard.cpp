// The copied selection: the current card and the selected cards go into a document of
// their own, and pasting lays copies of them at the same places as the new current card
// and selection. A level that is full takes only the cards that fit.
#include <string>

#include "engine/log.h"
#include "game/scenes/editor/editor_scene.h"

void SCENE_CARD_GAME_EDITOR::copySelectedCards() { ::copySelectedCards(copiedSelectionDocument, table); }

void SCENE_CARD_GAME_EDITOR::pasteSelectedCards() {
  dropCurrentCard();
  dropSelection();
  int32_t copied = 0;
  for ([[maybe_unused]] pugi::xml_node card : copiedSelectionDocument.child("selectedCards").children("card")) ++copied;
  const std::vector<int32_t> pasted = ::pasteSelectedCards(copiedSelectionDocument, table);
  for (const int32_t slot : pasted) showHighlighted(slot);
  if (!pasted.empty()) {
    table.isModified = true;
    showSidePanel();
  }
  const int32_t refused = copied - static_cast<int32_t>(pasted.size());
  if (refused > 0) {
    const std::string text = std::to_string(refused) + " of " + std::to_string(copied) +
                             " cards not pasted: the level holds " + std::to_string(MAX_CARDS) + " cards at most";
    QEL::fLog("pasteSelectedCards: ", text);
    showMessage(text, MESSAGE_SECONDS);
  }
}
