#pragma once
// The level file "Levels/Level_<N>.xml": the editor's writer and reader, and the copied
// selection document of its clipboard.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "editor/editor_cards.h"

struct LEVEL_SETTINGS {
  int32_t numberOfTurnovers = 0;
  int32_t numberOfCardsInStockPile = 0;
  int32_t numberOfReservePiles = 0;
  int32_t numberOfBonusCards = 0;
};

// At most this many ids are kept from one card's over or under children.
constexpr int LEVEL_MAX_LIST = 300;

// "Levels/Level_" followed by the given number text; callers append ".xml".
std::wstring getLevelPath(const std::wstring& number);
// "Levels/Level_<N>.xml" relative to the Resources folder.
std::filesystem::path levelFilePath(int32_t levelIndex);

// A level number typed into one of the editor's boxes: letters or an empty box (null) are 0.
int32_t levelNumberFromBoxText(const char* text);

// Rebuilds the document from the cards in use: `level` with levelNumber, one `card` per slot
// in use in slot order with its `under`/`over` children, then countOfCards and the four
// level numbers.
void writeLevel(pugi::xml_document& document, const EDITOR_CARD_TABLE& table,
                int32_t levelNumber, const LEVEL_SETTINGS& settings);

// Reads the document into the table's slots (the caller clears the table first when it
// wants only the file's cards) and the four level numbers into settings. A card whose id
// lies outside the slots is left out with a log line; list ids outside the slots are dropped.
void readLevel(const pugi::xml_document& document, EDITOR_CARD_TABLE& table,
               LEVEL_SETTINGS& settings);

// Loading and saving by path; a missing or broken file loads as an empty document. The
// save writes pugixml's declaration and indents by one tab.
bool loadLevelDocument(pugi::xml_document& document, const std::filesystem::path& path);
bool saveLevelDocument(const pugi::xml_document& document, const std::filesystem::path& path);

// The copied-selection document: root `selectedCards`, the current card and the selected
// cards in slot order without over/under children, then countOfCards.
void copySelectedCards(pugi::xml_document& document, const EDITOR_CARD_TABLE& table);
// Pastes the copied cards into free slots; the first becomes the current card and the
// others the selection. Returns the slots taken, in document order.
std::vector<int32_t> pasteSelectedCards(const pugi::xml_document& document,
                                        EDITOR_CARD_TABLE& table);
