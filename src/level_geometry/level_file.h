#pragma once
// The level file "Levels/Level_<N>.xml": the editor's writer and reader, and the copied
// selection document of its clipboard.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "level_geometry/editor_cards.h"

struct LEVEL_SETTINGS {
  int32_t numberOfTurnovers = 0;
  int32_t numberOfCardsInStockPile = 0;
  int32_t numberOfReservePiles = 0;
  int32_t numberOfBonusCards = 0;
};

// At most this many ids are kept from one card's over or under children.
constexpr int LEVEL_MAX_LIST = 300;

// The editor addresses the level files 0 to LEVEL_LAST_FILE_INDEX; the game plays the first
// 120 of them.
constexpr int32_t LEVEL_LAST_FILE_INDEX = 199;

// "Levels/Level_" followed by the given number text; callers append ".xml".
std::wstring getLevelPath(const std::wstring& number);
// "Levels/Level_<N>.xml" relative to the Resources folder.
std::filesystem::path levelFilePath(int32_t levelIndex);

// The four numbers of a level and what the game can play of each: a stock of 1 to 208
// cards (0 or less is played as a full pack of 52), 1 to 5 reserve piles (any other count
// is played as 2), no negative turnovers, and 0 to 10 bonus cards.
enum class LEVEL_NUMBER { TURNOVERS, STOCK_PILE, RESERVE_PILES, BONUS_CARDS };
constexpr int32_t LEVEL_FULL_STOCK = 52;
constexpr int32_t LEVEL_MAX_STOCK = 208;
constexpr int32_t LEVEL_MAX_RESERVE_PILES = 5;
constexpr int32_t LEVEL_DEFAULT_RESERVE_PILES = 2;
constexpr int32_t LEVEL_MAX_BONUS_CARDS = 10;

// The value the game plays a level number with.
int32_t playableLevelNumber(LEVEL_NUMBER which, int32_t value);

// A whole number written in the text: blanks around it, an optional sign, decimal digits,
// within 32 bits. False for anything else, and for no text (an empty box gives null).
bool readWholeNumber(const char* text, int32_t& value);

// What a level box's text is saved as: the playable value of the number typed; text that is
// no number keeps the previous value (made playable too).
int32_t levelNumberFromBoxText(LEVEL_NUMBER which, const char* text, int32_t previous);

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

// Loading and saving by path; a missing or broken file loads as an empty document, and so
// does anything but a plain file and a file larger than any level (logged). The
// save writes pugixml's declaration and indents by one tab, through a temporary file that
// replaces the old one only once it is whole (engine/xml_save.h); on failure the old file
// stays and `failure`, when given, says why in a few words.
bool loadLevelDocument(pugi::xml_document& document, const std::filesystem::path& path);
// The temporaries that level saves killed before their rename left in Levels, of level
// files' names only (those of a save still running stay); the editor's start-up calls it.
// Returns how many went.
int32_t removeStaleLevelTemporaries();
bool saveLevelDocument(const pugi::xml_document& document, const std::filesystem::path& path,
                       std::string* failure = nullptr);

// The copied-selection document: root `selectedCards`, the current card and the selected
// cards in slot order without over/under children, then countOfCards.
void copySelectedCards(pugi::xml_document& document, const EDITOR_CARD_TABLE& table);
// Pastes the copied cards into free slots; the first becomes the current card and the
// others the selection. Returns the slots taken, in document order: once every slot is in
// use the remaining cards are left out (logged), never written over a card on the table.
std::vector<int32_t> pasteSelectedCards(const pugi::xml_document& document,
                                        EDITOR_CARD_TABLE& table);
