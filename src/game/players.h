#pragma once
// The local player profiles (up to five) and their file Saves/players.xml.
#include <cstdint>
#include <string>

#include <pugixml.hpp>

#include "game/save_files.h"

constexpr int kMaxPlayers = 5;
constexpr int kTrophyCount = 24;  // numbered 1-24
constexpr int kCardBackCount = 12;
constexpr int kCardTypeCount = 3;
constexpr int kMaxAdditionalCardPlaces = 4;  // a level has at least one reserve pile, at most five

// Money and the counted things (reshuffles, jokers, the statistics counters) never go beyond
// this: the loader brings larger stored values down to it and money saturates there, so a
// saved value loads back as it was and one more addition can never overflow.
constexpr int32_t kMaxPlayerCount = 1'000'000'000;

struct PLAYER_RECORD {
  std::wstring name;
  int32_t money = 0;
  float soundVolume = 0.0f;
  float musicVolume = 0.0f;
  uint8_t isFullscreen = 0;
  uint8_t isMuteAll = 0;  // set: the game's own cursor, clear: the arrow
  int32_t currentBack = 0;
  int32_t currentCardType = 0;
  int32_t additionalCardPlaces = 0;
  int32_t reshuffles = 0;
  int32_t jokers = 0;
  int32_t isShowedFirstHint = 0;
  uint8_t isShowedHint29 = 0;
  uint8_t trophies[kTrophyCount] = {};  // flag n at index n - 1
  int32_t numberOfPacksCompletedWithResult300_juniorMode = 0;
  int32_t numberOfPacksCompletedWithResult300_professionalMode = 0;
  int32_t numberOfUsageOfBonusReshuffle = 0;
  int32_t numberOfUsageOfBonusJoker = 0;
};

// gBasePath + "/Saves/players.xml".
std::string playersFilePath();

// Reads the file into gPlayers, gNumberOfPlayers and gCurrentPlayer. A missing file means
// no player; a corrupt one is kept aside as players.xml.corrupt and also means no player.
// Values the game cannot show are brought into range. Every player element with an id of
// the table (0-4) is a player, whatever numberOfPlayers says (playerCountOf; beyond it an
// element without a name is the settings a first start keeps, no player); of elements
// repeating an id only the first is read, and such an element, or one whose id is no place
// of the table, is kept in a copy of the whole file before the next full save would leave
// it out. All of it is logged. While the file is behind the table (isPlayersFileBehind) it
// is not read again: the players of the run stay.
void loadPlayers();

// Loads the players file for a reader that decides who the players are (loadPlayers, the
// finishing of a cut-short deletion). The first time in a run that the file cannot be read
// (unreadable, or corrupt and kept aside), one message box names it and what becomes of it:
// the game then goes on as on a first start.
SAVE_FILE_STATE loadPlayersFile(pugi::xml_document& document);

// The players a players document holds: its numberOfPlayers, or more when named player
// elements have ids beyond it (one past the highest id of the table among them). A count
// that is missing, not a number, negative or beyond five is replaced by one past the
// highest id of the table among all elements. Either difference is logged.
int playerCountOf(const pugi::xml_node& root);

// True while players.xml may lack players of this run's table: a save of it failed or was
// refused (a folder that cannot be written, a file that could not be read) while the table
// held players. The table in memory is then the players' only copy: it is kept for the run,
// and every writer saves the whole of it, until a save succeeds.
bool isPlayersFileBehind();

// Writes the whole file anew from the records (the main menu's save): root counts, then per
// player every field the file keeps (profile, reshuffles, jokers, isShowedHint29, trophies
// and statistics). An empty name is first set to "Player" in the record.
void savePlayers();
// The document savePlayers writes, for a caller that adds to it before saving.
void fillPlayersDocument(pugi::xml_document& document);
// Writes such a document as the players file; a failure raises the save notice, and the
// table is then kept in memory (isPlayersFileBehind). False when it was not written. Player
// elements the load could not take are first kept aside with the whole file, as
// players.xml.corrupt; when that copy cannot be made the file is not written.
bool savePlayersDocument(const pugi::xml_document& document);

// Each updates one player's element in the file (the first with the player's id) and writes
// it back. While the all-levels view is on, none of them touches the disk. When the file
// cannot be read they write nothing; while it is behind the table they save the whole
// table. The element of a player that was not loaded is left alone, so a record of defaults
// never overwrites a stored player.
void savePlayerSettings(int index);
void savePlayerMoney(int index);
void savePlayerTrophies(int index);
void savePlayerStatistics(int index);

// Adds to (or, negative, takes from) a player's money, which stays within 0 and
// kMaxPlayerCount.
void addMoney(PLAYER_RECORD& player, int64_t amount);

// The current player's record; null when no player is current.
PLAYER_RECORD* currentPlayerRecord();

// Trophy flag n (1-24) of the current player; other numbers read as unset and are ignored.
bool getTrophy(int n);
void setTrophy(int n);
void clearTrophies(int index);
