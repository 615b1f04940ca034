// The developer's export of a layout as it lies during play: the cards still on the table,
// with the values they were dealt, written in the level file format over the current level's
// file. Nothing in the game calls it; it is kept for whoever wants a position saved as a
// level of its own.
#include <cmath>
#include <string>

#include "engine/log.h"
#include "game/card.h"
#include "game/game_globals.h"
#include "game/scenes/level/level_scene.h"
#include "level_geometry/editor_cards.h"
#include "level_geometry/level_file.h"

void SCENE_CARD_GAME_LEVEL::writeLevel() {
  // The level's own four numbers, as its file gave them: without them the exported file
  // would play as another level (a full stock, two piles, no bonus cards).
  const pugi::xml_node read = levelDocument.child("level");
  LEVEL_SETTINGS settings;
  settings.numberOfTurnovers = read.attribute("numberOfTurnovers").as_int();
  settings.numberOfCardsInStockPile = read.attribute("numberOfCardsInStockPile").as_int();
  settings.numberOfReservePiles = read.attribute("numberOfReservePiles").as_int();
  settings.numberOfBonusCards = read.attribute("numberOfBonusCards").as_int();

  // The editor's table works out which cards lie over which, as the editor itself does.
  EDITOR_CARD_TABLE table(static_cast<float>(cardWidth), static_cast<float>(cardHeight));
  for (int32_t id = 0; id < MAX_LAYOUT_CARDS; ++id) {
    const CARD* card = cards[id];
    if (card == nullptr || !card->onTable || std::isnan(card->tableX) || std::isnan(card->tableY)) continue;
    EDITOR_CARD& entry = table.cards[id];
    entry.putOnTable(card->tableX, card->tableY, card->zLayer, card->value, card->special);
    entry.angle = card->angle;
  }
  ::writeLevel(levelDocument, table, gCurrentLevel, settings);
}

bool SCENE_CARD_GAME_LEVEL::saveLevel() {
  writeLevel();
  std::string failure;
  if (saveLevelDocument(levelDocument, levelFilePath(gCurrentLevel), &failure)) return true;
  QEL::fLog("SCENE_CARD_GAME_LEVEL::saveLevel: level ", gCurrentLevel, " not saved: ", failure);
  return false;
}
