// Reading a level file into the level scene and dealing the values of its random cards.
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/file_system.h"
#include "engine/log.h"
#include "game/card.h"
#include "game/card_piles.h"
#include "game/game_globals.h"
#include "game/scenes/level/level_scene.h"
#include "gui/gui_wlabel.h"

namespace {

constexpr int32_t FULL_STOCK = 52;
constexpr int32_t DEFAULT_RESERVE_PILES = 2;
constexpr int32_t DECK_SIZE = 52;
constexpr int32_t LOWEST_RANK = 2;
constexpr int32_t HIGHEST_RANK = 14;
constexpr int32_t TENTH_FRAME = 9;

bool isLayoutSlot(int32_t id) { return id >= 0 && id < SCENE_CARD_GAME_LEVEL::MAX_LAYOUT_CARDS; }

// The scene's start-up makes all 300 slots; a scene that has not built them yet gets the
// ones its level needs here.
CARD* layoutSlot(CARD* (&cards)[SCENE_CARD_GAME_LEVEL::MAX_LAYOUT_CARDS], int32_t id) {
  if (cards[id] == nullptr) {
    CARD* card = new CARD();
    card->init(id);
    card->setZLayerRange(SCENE_CARD_GAME_LEVEL::TOP_Z_LAYER, SCENE_CARD_GAME_LEVEL::BOTTOM_Z_LAYER);
    cards[id] = card;
  }
  return cards[id];
}

// The ids of a card's `over` or `under` children; ids outside the table are dropped.
std::vector<int32_t> readIdList(pugi::xml_node card, const char* name, int32_t cardId) {
  std::vector<int32_t> ids;
  for (pugi::xml_node child = card.child(name); child; child = child.next_sibling(name)) {
    const int32_t id = std::atoi(child.text().get());
    if (!isLayoutSlot(id)) {
      QEL::fLog("readLevel: card ", cardId, " names card ", id, " in its ", name,
                " list, outside 0-299; ignored");
      continue;
    }
    if (static_cast<int32_t>(ids.size()) >= SCENE_CARD_GAME_LEVEL::MAX_LAYOUT_CARDS) {
      QEL::fLog("readLevel: card ", cardId, " has more than 300 ", name, " cards; the rest ignored");
      break;
    }
    ids.push_back(id);
  }
  return ids;
}

int32_t currentPlayerPlaces() {
  if (gCurrentPlayer < 0 || gCurrentPlayer >= kMaxPlayers) return 0;
  const int32_t places = gPlayers[gCurrentPlayer].additionalCardPlaces;
  return places > 0 ? places : 0;
}

}  // namespace

void SCENE_CARD_GAME_LEVEL::loadLevelDocument(int32_t index) {
  const std::string path = "Levels/Level_" + std::to_string(index) + ".xml";
  // Only a plain file of a level's size is read: a named pipe in its place would hold the
  // game until some writer came, and a file of gigabytes would be parsed whole.
  std::string failure;
  if (!QEL::QC_FILE_SYSTEM::fLoadXmlFile(levelDocument, path, failure)) {
    QEL::fLog("SCENE_CARD_GAME_LEVEL::loadLevel: cannot read ", path, ": ", failure, "; the level is empty");
    return;
  }
  if (!levelDocument.child("level")) {
    QEL::fLog("SCENE_CARD_GAME_LEVEL::loadLevel: ", path, " has no level element; the level is empty");
  }
}

void SCENE_CARD_GAME_LEVEL::removeAllCards() {
  for (CARD* card : cards) {
    if (card != nullptr && card->onTable) card->reset();
  }
  selectedCard = -1;
}

void SCENE_CARD_GAME_LEVEL::readLevel() {
  const pugi::xml_node level = levelDocument.child("level");
  countOfCards = level.attribute("countOfCards").as_int();
  numberOfBonusCards = level.attribute("numberOfBonusCards").as_int();

  // Every frame has two balls, so one turnover; the tenth frame's bonus balls have fewer.
  const int32_t turnovers = level.attribute("numberOfTurnovers").as_int();
  const int32_t frame = ((gCurrentLevel % kLevelsPerPack) + kLevelsPerPack) % kLevelsPerPack;
  const bool bonusPlay = frame == TENTH_FRAME && gTenthFrameBonus != 0;
  turnoversAtStart = 1;
  if (bonusPlay) {
    turnoversAtStart = turnovers >= 1 ? turnovers - 1 : turnovers;
    if (gTenthFrameKind == STRIKE) {
      turnoversAtStart = gTenthFrameSecondBonus ? 0 : 1;
    } else if (gTenthFrameKind == SPARE) {
      turnoversAtStart = 0;
    }
    levelResult.specialCards1 = getLevelResult(gCurrentPlayer, gCurrentLevel, kSpecialCards1Field);
    levelResult.specialCards2 = getLevelResult(gCurrentPlayer, gCurrentLevel, kSpecialCards2Field);
  }
  turnoversLeft = turnoversAtStart;
  if (isInitFinished && turnoversLabel != nullptr) {
    turnoversLabel->fSetText(std::to_wstring(turnoversAtStart));
  }

  numberOfCardsInStockPile = level.attribute("numberOfCardsInStockPile").as_int();
  if (numberOfCardsInStockPile == 0) numberOfCardsInStockPile = FULL_STOCK;
  if (numberOfCardsInStockPile < 0 || numberOfCardsInStockPile > CARD_PILES::MAX_CARDS) {
    const int32_t corrected = numberOfCardsInStockPile < 0 ? FULL_STOCK : CARD_PILES::MAX_CARDS;
    QEL::fLog("readLevel: numberOfCardsInStockPile ", numberOfCardsInStockPile,
              " cannot be dealt; the stock holds ", corrected);
    numberOfCardsInStockPile = corrected;
  }
  numberOfReservePiles = level.attribute("numberOfReservePiles").as_int();
  if (numberOfReservePiles < 1 || numberOfReservePiles > CARD_PILES::MAX_PILES) {
    numberOfReservePiles = DEFAULT_RESERVE_PILES;
  }
  numberOfReservePiles += currentPlayerPlaces();
  // The table has room for five piles, whatever the player bought.
  if (numberOfReservePiles > CARD_PILES::MAX_PILES) numberOfReservePiles = CARD_PILES::MAX_PILES;
  if (cardPiles != nullptr) cardPiles->startDeal(numberOfReservePiles, numberOfCardsInStockPile);

  maximumCardID = 0;
  countOfSpecialCardsOnScene = 0;
  int32_t cardsLaid = 0;
  for (pugi::xml_node node = level.child("card"); node; node = node.next_sibling("card")) {
    const int32_t id = node.attribute("id").as_int();
    const int32_t zLayer = node.attribute("zLayer").as_int();
    const float x = node.attribute("x").as_float();
    const float y = node.attribute("y").as_float();
    if (!std::isfinite(x) || !std::isfinite(y)) {
      QEL::fLog("ignore cardID: ", id);
      continue;
    }
    if (!isLayoutSlot(id)) {
      QEL::fLog("ignore cardID: ", id, " (outside 0-299)");
      continue;
    }
    const float angle = node.attribute("angle").as_float();
    int32_t value = node.attribute("assignedValue").as_int();
    if (value < -1 || value >= DECK_SIZE) {
      QEL::fLog("readLevel: card ", id, " has no card value ", value, "; it is dealt at random");
      value = -1;
    }

    CARD* card = layoutSlot(cards, id);
    if (card->onTable) {
      // A second element for the same slot replaces the first.
      if (card->special) --countOfSpecialCardsOnScene;
      --cardsLaid;
    }
    card->putOnTable();
    card->place(zLayer, x, y, angle);
    card->setValue(value);
    card->setSpecial(node.attribute("isSpecial").as_bool());
    if (card->special) ++countOfSpecialCardsOnScene;
    if (id > maximumCardID) maximumCardID = id;
    card->setCovered(value == -1);
    ++cardsLaid;

    const std::vector<int32_t> over = readIdList(node, "over", id);
    card->setOverList(over.data(), static_cast<int32_t>(over.size()));
    const std::vector<int32_t> under = readIdList(node, "under", id);
    card->setUnderList(under.data(), static_cast<int32_t>(under.size()));
    for (const int32_t below : under) {
      if (cards[below] != nullptr) cards[below]->setCovered(true);
    }
  }

  cardsLeft = countOfCards;
  if (cardsLaid != countOfCards) {
    QEL::fLog("readLevel: the level file counts ", countOfCards, " cards but ", cardsLaid,
              " lie on the table");
    cardsLeft = cardsLaid;
  }
}

void SCENE_CARD_GAME_LEVEL::dealRandomValues() {
  const int32_t lastId = maximumCardID < MAX_LAYOUT_CARDS ? maximumCardID : MAX_LAYOUT_CARDS - 1;
  bool drawn[DECK_SIZE] = {};
  int32_t dealt = 0;
  // The face-down cards draw one whole pack first; values repeat only after 52 draws. A
  // fixed card lying face down uses up its draw too.
  for (int32_t id = 0; id <= lastId; ++id) {
    CARD* card = cards[id];
    if (card == nullptr || !card->onTable || !card->covered) continue;
    int32_t r = std::rand() % DECK_SIZE;
    if (dealt < DECK_SIZE) {
      while (drawn[r]) r = std::rand() % DECK_SIZE;
      drawn[r] = true;
    }
    if (card->value == -1) card->setValue(r);
    if (card->overList.empty()) card->setCovered(false);
    ++dealt;
  }

  if (!isTutorial) return;
  // The tutorial starts with a pair in sight: when no two face-up cards share a rank, a
  // face-down twin of a face-up card swaps values with another face-up card.
  int32_t faceUpByRank[HIGHEST_RANK + 1];
  for (int32_t& entry : faceUpByRank) entry = -1;
  for (int32_t id = 0; id <= lastId; ++id) {
    const CARD* card = cards[id];
    if (card == nullptr || !card->onTable || card->covered) continue;
    if (card->rank < LOWEST_RANK || card->rank > HIGHEST_RANK) continue;
    if (faceUpByRank[card->rank] >= 0) return;  // a pair is in sight already
    faceUpByRank[card->rank] = id;
  }
  for (int32_t rank = LOWEST_RANK; rank <= HIGHEST_RANK; ++rank) {
    if (faceUpByRank[rank] < 0) continue;
    CARD* twin = nullptr;
    for (int32_t id = 0; id <= lastId && twin == nullptr; ++id) {
      CARD* card = cards[id];
      if (card != nullptr && card->onTable && card->covered && card->rank == rank) twin = card;
    }
    if (twin == nullptr) continue;
    CARD* partner = nullptr;
    for (int32_t other = rank + 1; other <= HIGHEST_RANK && partner == nullptr; ++other) {
      if (faceUpByRank[other] >= 0) partner = cards[faceUpByRank[other]];
    }
    // No face-up card of a higher rank to trade with: the layout stays as dealt.
    if (partner == nullptr) return;
    const int32_t twinValue = twin->value;
    twin->setValue(partner->value);
    partner->setValue(twinValue);
    return;
  }
}
