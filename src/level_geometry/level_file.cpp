#include "level_geometry/level_file.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <system_error>

#include "engine/file_system.h"
#include "engine/log.h"
#include "engine/text_utils.h"
#include "engine/xml_save.h"

namespace {

// Floats are written as "%g": six significant digits, as the level files have always had.
void setFloat(pugi::xml_attribute attribute, float value) {
  char text[64];
  std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
  attribute.set_value(text);
}

void appendCardAttributes(pugi::xml_node node, int32_t id, const EDITOR_CARD& card) {
  node.append_attribute("id").set_value(id);
  node.append_attribute("zLayer").set_value(card.zLayer);
  setFloat(node.append_attribute("x"), card.x);
  setFloat(node.append_attribute("y"), card.y);
  setFloat(node.append_attribute("angle"), card.angle * RADIANS_TO_DEGREES);
  node.append_attribute("assignedValue").set_value(card.value);
  node.append_attribute("isSpecial").set_value(card.isSpecial);
}

// The card laid on the table as appendCardAttributes wrote it (the id aside).
void readCardAttributes(pugi::xml_node node, EDITOR_CARD& card) {
  card.putOnTable();
  card.place(node.attribute("zLayer").as_int(), node.attribute("x").as_float(), node.attribute("y").as_float(),
             node.attribute("angle").as_float());
  card.value = node.attribute("assignedValue").as_int();
  card.isSpecial = node.attribute("isSpecial").as_bool();
}

std::vector<int32_t> readIdList(pugi::xml_node card, const char* name) {
  std::vector<int32_t> ids;
  for (pugi::xml_node child = card.child(name); child; child = child.next_sibling(name)) {
    const int32_t id = std::atoi(child.text().get());
    if (!EDITOR_CARD_TABLE::isValidSlot(id)) {
      QEL::fLog("ignore ", name, " cardID: ", id);
      continue;
    }
    if (static_cast<int>(ids.size()) >= LEVEL_MAX_LIST) break;
    ids.push_back(id);
  }
  return ids;
}

}  // namespace

std::wstring getLevelPath(const std::wstring& number) { return L"Levels/Level_" + number; }

std::filesystem::path levelFilePath(int32_t levelIndex) {
  return std::filesystem::path("Levels") / ("Level_" + std::to_string(levelIndex) + ".xml");
}

int32_t playableLevelNumber(LEVEL_NUMBER which, int32_t value) {
  switch (which) {
    case LEVEL_NUMBER::TURNOVERS:
      return std::max(value, 0);
    case LEVEL_NUMBER::STOCK_PILE:
      return value <= 0 ? LEVEL_FULL_STOCK : std::min(value, LEVEL_MAX_STOCK);
    case LEVEL_NUMBER::RESERVE_PILES:
      return (value < 1 || value > LEVEL_MAX_RESERVE_PILES) ? LEVEL_DEFAULT_RESERVE_PILES : value;
    case LEVEL_NUMBER::BONUS_CARDS:
      return std::clamp(value, 0, LEVEL_MAX_BONUS_CARDS);
  }
  return value;
}

bool readWholeNumber(const char* text, int32_t& value) { return QEL::fReadWholeNumber(text, value); }

int32_t levelNumberFromBoxText(LEVEL_NUMBER which, const char* text, int32_t previous) {
  int32_t typed = previous;
  readWholeNumber(text, typed);
  return playableLevelNumber(which, typed);
}

void writeLevel(pugi::xml_document& document, const EDITOR_CARD_TABLE& table,
                int32_t levelNumber, const LEVEL_SETTINGS& settings) {
  document.reset();
  pugi::xml_node level = document.append_child("level");
  level.append_attribute("levelNumber").set_value(levelNumber);
  int32_t count = 0;
  for (int32_t i = 0; i < EDITOR_CARD_SLOTS; ++i) {
    const EDITOR_CARD& card = table.cards[i];
    if (!card.inUse) continue;
    pugi::xml_node node = level.append_child("card");
    appendCardAttributes(node, i, card);
    for (int32_t j : table.overlappingCards(i)) {
      const EDITOR_CARD& other = table.cards[j];
      const std::string text = std::to_string(j);
      if (card.zLayer > other.zLayer) {
        node.append_child("under").text().set(text.c_str());
      } else if (card.zLayer < other.zLayer) {
        node.append_child("over").text().set(text.c_str());
      }
    }
    ++count;
  }
  level.append_attribute("countOfCards").set_value(count);
  level.append_attribute("numberOfTurnovers").set_value(settings.numberOfTurnovers);
  level.append_attribute("numberOfCardsInStockPile").set_value(settings.numberOfCardsInStockPile);
  level.append_attribute("numberOfReservePiles").set_value(settings.numberOfReservePiles);
  level.append_attribute("numberOfBonusCards").set_value(settings.numberOfBonusCards);
}

void readLevel(const pugi::xml_document& document, EDITOR_CARD_TABLE& table,
               LEVEL_SETTINGS& settings) {
  const pugi::xml_node level = document.child("level");
  (void)level.attribute("countOfCards").as_int();
  settings.numberOfTurnovers = level.attribute("numberOfTurnovers").as_int();
  settings.numberOfCardsInStockPile = level.attribute("numberOfCardsInStockPile").as_int();
  settings.numberOfReservePiles = level.attribute("numberOfReservePiles").as_int();
  settings.numberOfBonusCards = level.attribute("numberOfBonusCards").as_int();
  table.countOfSpecialCards = 0;
  for (pugi::xml_node node = level.child("card"); node; node = node.next_sibling("card")) {
    const int32_t id = node.attribute("id").as_int();
    if (!EDITOR_CARD_TABLE::isValidSlot(id)) {
      QEL::fLog("ignore cardID: ", id);
      continue;
    }
    EDITOR_CARD& card = table.cards[id];
    readCardAttributes(node, card);
    if (card.isSpecial) ++table.countOfSpecialCards;
    card.overList = readIdList(node, "over");
    card.underList = readIdList(node, "under");
  }
}

bool loadLevelDocument(pugi::xml_document& document, const std::filesystem::path& path) {
  // Only a plain file of a level's size is read: a named pipe in its place would hold the
  // editor until some writer came, and a file of gigabytes would be parsed whole.
  std::string failure;
  if (QEL::QC_FILE_SYSTEM::fLoadXmlFile(document, path.string(), failure)) return true;
  QEL::fLog("loadLevelDocument: ", path.generic_string(), " not read: ", failure);
  return false;
}

namespace {

// "Level_<N>.xml": the one kind of file the editor writes in Levels.
bool isLevelFileName(const std::string& name) {
  constexpr std::string_view kStart = "Level_";
  constexpr std::string_view kEnd = ".xml";
  if (name.size() <= kStart.size() + kEnd.size() || !name.starts_with(kStart) || !name.ends_with(kEnd)) return false;
  return QEL::fIsDigits(std::string_view(name).substr(kStart.size(), name.size() - kStart.size() - kEnd.size()));
}

}  // namespace

int32_t removeStaleLevelTemporaries() {
  return QEL::fRemoveStaleSaveTemporaries(levelFilePath(0).parent_path().string(), isLevelFileName);
}

bool saveLevelDocument(const pugi::xml_document& document, const std::filesystem::path& path,
                       std::string* failure) {
  return QEL::fSaveXmlAtomically(document, path.string(), failure);
}

void copySelectedCards(pugi::xml_document& document, const EDITOR_CARD_TABLE& table) {
  document.reset();
  pugi::xml_node root = document.append_child("selectedCards");
  int32_t count = 0;
  for (int32_t i = 0; i < EDITOR_CARD_SLOTS; ++i) {
    const EDITOR_CARD& card = table.cards[i];
    if (!card.inUse || (i != table.currentCard && !table.selectedCards.contains(i))) continue;
    appendCardAttributes(root.append_child("card"), i, card);
    ++count;
  }
  root.append_attribute("countOfCards").set_value(count);
}

std::vector<int32_t> pasteSelectedCards(const pugi::xml_document& document,
                                        EDITOR_CARD_TABLE& table) {
  table.currentCard = -1;
  table.selectedCards.clear();
  const pugi::xml_node root = document.child("selectedCards");
  QEL::fLog("countOfCards: ", root.attribute("countOfCards").as_int());
  std::vector<int32_t> pasted;
  for (pugi::xml_node node = root.child("card"); node; node = node.next_sibling("card")) {
    const int32_t slot = table.findFreeSlot();
    EDITOR_CARD& card = table.cards[slot];
    if (card.inUse) {
      QEL::fLog("Paste card refused: all ", EDITOR_CARD_SLOTS, " slots are in use");
      continue;
    }
    QEL::fLog("Paste card");
    readCardAttributes(node, card);
    if (card.isSpecial) ++table.countOfSpecialCards;
    if (table.currentCard < 0) {
      table.currentCard = slot;
    } else {
      table.selectedCards.add(slot);
    }
    pasted.push_back(slot);
  }
  return pasted;
}
