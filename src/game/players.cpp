#include "game/players.h"

#include <cmath>
#include <string_view>

#include "engine/file_system.h"
#include "engine/log.h"
#include "engine/result_codes.h"
#include "engine/text_utils.h"
#include "game/game_globals.h"
#include "game/player_removal.h"
#include "game/save_files.h"
#include "game/save_notice.h"
#include "game/texts.h"
#include "game/unreadable_file_box.h"

namespace {

// Volumes are written with six significant digits, so 0.3 stays "0.3" in the file rather than
// the float's full expansion.
constexpr int kVolumeDigits = 6;

// The main menu's name box takes at most this many characters.
constexpr std::size_t kMaxNameLength = 12;
constexpr float kDefaultVolume = 0.5f;

struct TROPHY_KEY {
  int flag;
  const char* key;
};

// Trophies 6, 7 and 8 come last: older files lack them, and a reader that knows only the
// others passes them by.
constexpr TROPHY_KEY kTrophyKeys[] = {
    {1, "gameWasPassedOnJuniorLevel"},
    {2, "gameWasPassedOnProfessionalLevel"},
    {3, "onePackWasPassedWithResult300OnJuniorLevel"},
    {4, "sixPacksWasPassedWithResult300OnJuniorLevel"},
    {5, "twelvePacksWasPassedWithResult300OnJuniorLevel"},
    {9, "wasStrike"},
    {10, "wasTwoStrikesInSuccession"},
    {11, "wasThreeStrikesInSuccession"},
    {12, "totalScore_100000_achievedOnJuniorLevel"},
    {13, "totalScore_500000_achievedOnJuniorLevel"},
    {14, "totalScore_1000000_achievedOnJuniorLevel"},
    {15, "totalScore_100000_achievedOnProfessionalLevel"},
    {16, "totalScore_500000_achievedOnProfessionalLevel"},
    {17, "totalScore_1000000_achievedOnProfessionalLevel"},
    {18, "reshuffleBonusWasUsed10Times"},
    {19, "reshuffleBonusWasUsed50Times"},
    {20, "reshuffleBonusWasUsed100Times"},
    {21, "jokerBonusWasUsed10Times"},
    {22, "jokerBonusWasUsed50Times"},
    {23, "jokerBonusWasUsed100Times"},
    {24, "allPlacesForBonusCardsWereBought"},
    {6, "onePackWasPassedWithResult300OnProfessionalLevel"},
    {7, "sixPacksWasPassedWithResult300OnProfessionalLevel"},
    {8, "twelvePacksWasPassedWithResult300OnProfessionalLevel"},
};

bool isPlayerIndex(int index) { return index >= 0 && index < kMaxPlayers; }

int32_t clampInt(int32_t value, int32_t low, int32_t high, const char* field, int player) {
  if (value >= low && value <= high) return value;
  const int32_t clamped = value < low ? low : high;
  if (player < 0)
    QEL::fLog("players.xml: ", field, " ", value, " out of range, set to ", clamped);
  else
    QEL::fLog("players.xml: player ", player, " ", field, " ", value, " out of range, set to ", clamped);
  return clamped;
}

float clampVolume(float value, const char* field, int player) {
  if (std::isnan(value)) {
    QEL::fLog("players.xml: player ", player, " ", field, " is not a number, set to ", kDefaultVolume);
    return kDefaultVolume;
  }
  if (value >= 0.0f && value <= 1.0f) return value;
  const float clamped = value < 0.0f ? 0.0f : 1.0f;
  QEL::fLog("players.xml: player ", player, " ", field, " ", value, " out of range, set to ", clamped);
  return clamped;
}

// The whole attribute as a whole number (blanks around it allowed); false when it is missing,
// empty, not a number or beyond a 32-bit int.
bool readWholeNumber(const pugi::xml_attribute& attribute, int32_t& value) {
  return attribute && QEL::fReadWholeNumber(attribute.value(), value);
}

// A player element's id, or -1 when it is missing, not a number or negative.
int elementId(const pugi::xml_node& element) {
  int32_t id = -1;
  if (!readWholeNumber(element.attribute("id"), id) || id < 0) return -1;
  return id;
}

// One past the highest player id among the elements (with a name, when `namedOnly`): each
// player keeps its index, which is also the number of its result files.
int countPlayerElements(const pugi::xml_node& root, bool namedOnly) {
  int count = 0;
  for (const pugi::xml_node element : root.children("player")) {
    const int id = elementId(element);
    if (id >= count && id < kMaxPlayers && (!namedOnly || element.attribute("name"))) count = id + 1;
  }
  return count;
}

// An element may be missing (a place within the count that no element fills): the player
// then reads as one with nothing stored.
void readPlayer(const pugi::xml_node& element, int index) {
  PLAYER_RECORD& player = gPlayers[index];
  player.name = QEL::fUtf8ToWide(element.attribute("name").as_string());
  if (player.name.empty()) player.name = L"Player";
  if (player.name.size() > kMaxNameLength) {
    QEL::fLog("players.xml: player ", index, " name longer than ", kMaxNameLength, " characters, cut");
    player.name.resize(kMaxNameLength);
  }
  player.money = clampInt(element.attribute("money").as_int(), 0, kMaxPlayerCount, "money", index);
  player.soundVolume = clampVolume(element.attribute("soundVolume").as_float(), "soundVolume", index);
  player.musicVolume = clampVolume(element.attribute("musicVolume").as_float(), "musicVolume", index);
  player.isFullscreen = element.attribute("isFullscreen").as_bool() ? 1 : 0;
  player.isMuteAll = element.attribute("isMuteAll").as_bool() ? 1 : 0;
  player.currentBack =
      clampInt(element.attribute("currentBack").as_int(), 0, kCardBackCount - 1, "currentBack", index);
  player.currentCardType =
      clampInt(element.attribute("currentCardType").as_int(), 0, kCardTypeCount - 1, "currentCardType", index);
  player.additionalCardPlaces = clampInt(element.attribute("additionalCardPlaces").as_int(), 0,
                                         kMaxAdditionalCardPlaces, "additionalCardPlaces", index);
  player.reshuffles = clampInt(element.attribute("reshuffles").as_int(), 0, kMaxPlayerCount, "reshuffles", index);
  player.jokers = clampInt(element.attribute("jokers").as_int(), 0, kMaxPlayerCount, "jokers", index);
  player.isShowedFirstHint = element.attribute("isShowedFirstHint").as_int();
  player.isShowedHint29 = element.attribute("isShowedHint29").as_bool() ? 1 : 0;

  for (uint8_t& flag : player.trophies) flag = 0;
  if (const pugi::xml_node trophies = element.child("trophies")) {
    for (const TROPHY_KEY& trophy : kTrophyKeys)
      player.trophies[trophy.flag - 1] = trophies.attribute(trophy.key).as_bool() ? 1 : 0;
  }

  const pugi::xml_node statistics = element.child("statistics");
  player.numberOfPacksCompletedWithResult300_juniorMode =
      clampInt(statistics.attribute("numberOfPacksCompletedWithResult300_juniorMode").as_int(), 0, kMaxPlayerCount,
               "numberOfPacksCompletedWithResult300_juniorMode", index);
  player.numberOfPacksCompletedWithResult300_professionalMode =
      clampInt(statistics.attribute("numberOfPacksCompletedWithResult300_professionalMode").as_int(), 0, kMaxPlayerCount,
               "numberOfPacksCompletedWithResult300_professionalMode", index);
  player.numberOfUsageOfBonusReshuffle = clampInt(statistics.attribute("numberOfUsageOfBonusReshuffle").as_int(),
                                                  0, kMaxPlayerCount, "numberOfUsageOfBonusReshuffle", index);
  player.numberOfUsageOfBonusJoker = clampInt(statistics.attribute("numberOfUsageOfBonusJoker").as_int(), 0,
                                              kMaxPlayerCount, "numberOfUsageOfBonusJoker", index);
}

// An existing attribute keeps its place in the element; a missing one is appended.
pugi::xml_attribute setOrAppend(pugi::xml_node node, const char* name) {
  pugi::xml_attribute attribute = node.attribute(name);
  return attribute ? attribute : node.append_attribute(name);
}

pugi::xml_node childOrAppend(pugi::xml_node node, const char* name) {
  pugi::xml_node child = node.child(name);
  return child ? child : node.append_child(name);
}

void writeSettings(pugi::xml_node element, const PLAYER_RECORD& player) {
  setOrAppend(element, "soundVolume").set_value(player.soundVolume, kVolumeDigits);
  setOrAppend(element, "musicVolume").set_value(player.musicVolume, kVolumeDigits);
  setOrAppend(element, "isFullscreen").set_value(player.isFullscreen != 0);
  setOrAppend(element, "isMuteAll").set_value(player.isMuteAll != 0);
  setOrAppend(element, "currentBack").set_value(player.currentBack);
  setOrAppend(element, "currentCardType").set_value(player.currentCardType);
  setOrAppend(element, "additionalCardPlaces").set_value(player.additionalCardPlaces);
  setOrAppend(element, "reshuffles").set_value(player.reshuffles);
  setOrAppend(element, "jokers").set_value(player.jokers);
  setOrAppend(element, "isShowedFirstHint").set_value(player.isShowedFirstHint);
  setOrAppend(element, "isShowedHint29").set_value(player.isShowedHint29 != 0);
}

void writeTrophies(pugi::xml_node element, const PLAYER_RECORD& player) {
  pugi::xml_node trophies = childOrAppend(element, "trophies");
  for (const TROPHY_KEY& trophy : kTrophyKeys)
    setOrAppend(trophies, trophy.key).set_value(player.trophies[trophy.flag - 1] != 0);
}

void writeStatistics(pugi::xml_node element, const PLAYER_RECORD& player) {
  pugi::xml_node statistics = childOrAppend(element, "statistics");
  setOrAppend(statistics, "numberOfPacksCompletedWithResult300_juniorMode")
      .set_value(player.numberOfPacksCompletedWithResult300_juniorMode);
  setOrAppend(statistics, "numberOfPacksCompletedWithResult300_professionalMode")
      .set_value(player.numberOfPacksCompletedWithResult300_professionalMode);
  setOrAppend(statistics, "numberOfUsageOfBonusReshuffle").set_value(player.numberOfUsageOfBonusReshuffle);
  setOrAppend(statistics, "numberOfUsageOfBonusJoker").set_value(player.numberOfUsageOfBonusJoker);
}

// The settings a first start keeps before any player exists (savePlayerSettings): an element
// with no name that holds nothing the settings writer does not write.
bool isFirstStartSettings(const pugi::xml_node& element) {
  if (element.attribute("name") || element.first_child()) return false;
  pugi::xml_document written;
  pugi::xml_node settings = written.append_child("player");
  settings.append_attribute("id");
  writeSettings(settings, PLAYER_RECORD{});
  for (const pugi::xml_attribute attribute : element.attributes())
    if (!settings.attribute(attribute.name())) return false;
  return true;
}

// Elements that a full save, which writes the table alone, would leave out: a root after the
// players, or an element among them that is no player.
bool holdsElementsBesidePlayers(const pugi::xml_document& document) {
  const pugi::xml_node root = document.child("players");
  for (const pugi::xml_node node : document.children())
    if (node.type() == pugi::node_element && node != root) return true;
  for (const pugi::xml_node node : root.children())
    if (node.type() == pugi::node_element && std::string_view(node.name()) != "player") return true;
  return false;
}

// The players file whose save failed or was refused in this run, so that it may lack players
// of the table in memory; empty while the file holds the table. Known by its path, which
// names the save folder of the run.
std::string gPlayersFileBehind;

// The players file last read with player elements the table could not take (an id repeated
// or no place of the table), until it is kept aside; known by its path as above.
std::string gPlayersFileWithUntaken;

// The players file whose unreadable state a message box has told of in this run.
std::string gPlayersFileSaid;

void sayPlayersUnread(const std::string& path, SAVE_FILE_STATE state) {
  const SAVE_FILE_TROUBLE& trouble = lastSaveFileTrouble();
  std::string fate = "The file is kept as it is and is not written over in this run.";
  if (state == SAVE_FILE_STATE::CORRUPT && !trouble.keptAsideAs.empty())
    fate = "The file is kept aside as " + trouble.keptAsideAs + ".";
  else if (state == SAVE_FILE_STATE::CORRUPT)
    fate = "The file is left where it is (" + trouble.leftBecause + ") and is not written over in this run.";
  sayFileUnread(std::string(kGameName) + " cannot read its player profiles: it starts as it does the first time.",
                path, trouble.reason, fate);
}

// A full save writes the table only: what the load could not take would go with the old
// file, so the whole file is copied aside first. The copy comes before the save and the
// save replaces the file by a rename, so a stop between the two loses nothing.
bool keepUntakenElementsAside() {
  const std::string path = playersFilePath();
  if (gPlayersFileWithUntaken != path) return true;
  std::string bytes;
  std::string failure;
  const int32_t read = QEL::QC_FILE_SYSTEM::fReadPlainFile(path, bytes, kMaxSaveFileBytes, failure);
  if (read == QEL::qeRESULT_MISSING) {
    gPlayersFileWithUntaken.clear();
    return true;
  }
  const std::string aside = unusedNameBeside(path, ".corrupt");
  // Through the saves' own writer: a copy that may not write its saves keeps nothing aside.
  if (read != 1 || aside.empty() || !saveTextAtomically(bytes, aside)) {
    QEL::fLog("players.xml not written: the player elements the table cannot take cannot be kept aside",
              failure.empty() ? "" : " (" + failure + ")");
    return false;
  }
  QEL::fLog("players.xml holds player elements the table cannot take; the whole file is kept aside as ", aside);
  gPlayersFileWithUntaken.clear();
  return true;
}

void noteTableSaved(bool saved) {
  if (saved) {
    gPlayersFileBehind.clear();
    return;
  }
  noticeFailedSave();
  // Without a player nothing the file lacks could be lost: the settings chosen before the
  // first player are kept by the settings writer's own file.
  if (gNumberOfPlayers <= 0) return;
  if (!isPlayersFileBehind()) QEL::fLog("players.xml lacks this run's players, they are kept in memory");
  gPlayersFileBehind = playersFilePath();
}

// The common frame of the four writers: load the file, find the player's element, let the
// change work on it and write the file back.
template <class CHANGE>
void updatePlayerElement(int index, const char* writer, CHANGE change, bool startWhenMissing = false) {
  if (gIsAllLevelsView) return;
  if (!isPlayerIndex(index)) {
    QEL::fLog(writer, ": no player ", index);
    return;
  }
  // One element updated in a file that lacks the table's changes would still lack them.
  if (isPlayersFileBehind()) {
    savePlayers();
    return;
  }
  pugi::xml_document document;
  const std::string path = playersFilePath();
  const SAVE_FILE_STATE state = loadSaveFile(document, path, "players");
  if (state == SAVE_FILE_STATE::MISSING && startWhenMissing) {
    // A first start has no file yet: the settings chosen before any player was added are
    // kept in a new one, which the next full save of the player table replaces.
    pugi::xml_node root = document.append_child("players");
    root.append_attribute("numberOfPlayers").set_value(gNumberOfPlayers < 0 ? 0 : gNumberOfPlayers);
    root.append_attribute("currentPlayer").set_value(gCurrentPlayer);
    root.append_child("player").append_attribute("id").set_value(index);
    QEL::fLog(writer, ": players file started");
  } else if (state != SAVE_FILE_STATE::LOADED) {
    // Writing back an empty document would wipe every profile; the next full save rebuilds it.
    QEL::fLog(writer, ": no players file to update");
    noteTableSaved(false);
    return;
  }
  for (pugi::xml_node element : document.child("players").children("player")) {
    if (elementId(element) != index) continue;
    if (index >= gNumberOfPlayers && element.attribute("name")) {
      // A stored player that this run did not load: the record holds defaults, not them.
      QEL::fLog(writer, ": player ", index, " was not loaded, its stored element is left alone");
      return;
    }
    change(element, gPlayers[index]);
    break;
  }
  if (!saveXmlAtomically(document, path)) noteTableSaved(false);
}

}  // namespace

std::string playersFilePath() { return gBasePath + "/Saves/players.xml"; }

bool isPlayersFileBehind() { return !gPlayersFileBehind.empty() && gPlayersFileBehind == playersFilePath(); }

void loadPlayers() {
  if (isPlayersFileBehind()) {
    QEL::fLog("loadPlayers: players.xml could not be saved in this run, the players in memory stay");
    return;
  }
  gNumberOfPlayers = 0;
  gCurrentPlayer = 0;
  gPlayersFileWithUntaken.clear();
  pugi::xml_document document;
  if (loadPlayersFile(document) != SAVE_FILE_STATE::LOADED) return;
  const pugi::xml_node root = document.child("players");

  gNumberOfPlayers = playerCountOf(root);
  const int current = root.attribute("currentPlayer").as_int();
  if (gNumberOfPlayers == 0 || current < 0)
    gCurrentPlayer = 0;
  else if (current >= gNumberOfPlayers)
    gCurrentPlayer = gNumberOfPlayers - 1;
  else
    gCurrentPlayer = current;

  bool read[kMaxPlayers] = {};
  bool untaken = false;
  for (const pugi::xml_node element : root.children("player")) {
    const int id = elementId(element);
    // Only this element is bad: the players after it are read, or the close would save
    // defaults over them.
    if (id < 0 || id >= kMaxPlayers) {
      QEL::fLog("players.xml: player element with id ", element.attribute("id").value(),
                " skipped, no place of the table");
      untaken = true;
      continue;
    }
    if (read[id]) {
      // The writers update the first element of an id; reading a later one would save one
      // player's settings over another's.
      QEL::fLog("players.xml: a second player element with id ", id, " skipped");
      untaken = true;
      continue;
    }
    read[id] = true;
    if (id >= gNumberOfPlayers) {
      // Anything more than the settings a first start keeps is kept with the whole file.
      const bool settings = isFirstStartSettings(element);
      QEL::fLog("players.xml: player element with id ", id, " has no name and is beyond the ", gNumberOfPlayers,
                settings ? " players: the settings of a first start, no player"
                         : " players, but holds more than the settings of a first start: skipped");
      untaken = untaken || !settings;
      continue;
    }
    readPlayer(element, id);
  }
  for (int index = 0; index < gNumberOfPlayers; ++index) {
    if (read[index]) continue;
    QEL::fLog("players.xml: no player element with id ", index, ", the player has nothing stored");
    readPlayer(pugi::xml_node(), index);
  }
  if (holdsElementsBesidePlayers(document)) {
    QEL::fLog("players.xml: elements beside the player elements skipped");
    untaken = true;
  }
  if (untaken) QEL::fLog("players.xml: the skipped elements are kept in a copy of the file at its next full save");
  gPlayersFileWithUntaken = untaken ? playersFilePath() : std::string();
}

SAVE_FILE_STATE loadPlayersFile(pugi::xml_document& document) {
  const std::string path = playersFilePath();
  const SAVE_FILE_STATE state = loadSaveFile(document, path, "players");
  const bool unread = state == SAVE_FILE_STATE::CORRUPT || state == SAVE_FILE_STATE::UNREADABLE;
  if (unread && gPlayersFileSaid != path) {
    gPlayersFileSaid = path;
    sayPlayersUnread(path, state);
  }
  return state;
}

int playerCountOf(const pugi::xml_node& root) {
  const pugi::xml_attribute attribute = root.attribute("numberOfPlayers");
  int32_t stated = 0;
  // A count beyond the table's five would only make phantom players of the places no
  // element fills.
  if (!readWholeNumber(attribute, stated) || stated < 0 || stated > kMaxPlayers) {
    const int counted = countPlayerElements(root, false);
    QEL::fLog("players.xml: numberOfPlayers \"", attribute.value(), "\" is missing, not a number, negative or beyond ",
              kMaxPlayers, "; ", counted, " players counted from the player elements");
    return counted;
  }
  // A file edited by hand or by another program may hold more players than it says: none of
  // them may be lost at the next save. An element without a name beyond the count is no
  // player but the settings a first start keeps (savePlayerSettings).
  const int counted = countPlayerElements(root, true);
  if (counted > stated)
    QEL::fLog("players.xml: numberOfPlayers ", stated, " but player elements up to id ", counted - 1, "; ", counted,
              " players");
  return counted > stated ? counted : stated;
}

void fillPlayersDocument(pugi::xml_document& document) {
  document.reset();
  const int count = gNumberOfPlayers < 0 ? 0 : (gNumberOfPlayers > kMaxPlayers ? kMaxPlayers : gNumberOfPlayers);
  pugi::xml_node root = document.append_child("players");
  root.append_attribute("numberOfPlayers").set_value(count);
  root.append_attribute("currentPlayer").set_value(gCurrentPlayer);
  for (int index = 0; index < count; ++index) {
    PLAYER_RECORD& player = gPlayers[index];
    if (player.name.empty()) player.name = L"Player";
    pugi::xml_node element = root.append_child("player");
    element.append_attribute("id").set_value(index);
    element.append_attribute("name").set_value(QEL::fWideToUtf8(player.name).c_str());
    element.append_attribute("money").set_value(player.money);
    element.append_attribute("soundVolume").set_value(player.soundVolume, kVolumeDigits);
    element.append_attribute("musicVolume").set_value(player.musicVolume, kVolumeDigits);
    element.append_attribute("isFullscreen").set_value(player.isFullscreen != 0);
    element.append_attribute("isMuteAll").set_value(player.isMuteAll != 0);
    element.append_attribute("currentBack").set_value(player.currentBack);
    element.append_attribute("currentCardType").set_value(player.currentCardType);
    element.append_attribute("additionalCardPlaces").set_value(player.additionalCardPlaces);
    element.append_attribute("isShowedFirstHint").set_value(player.isShowedFirstHint);
    // Written here too, so a full save never drops what only the partial writers kept.
    element.append_attribute("reshuffles").set_value(player.reshuffles);
    element.append_attribute("jokers").set_value(player.jokers);
    element.append_attribute("isShowedHint29").set_value(player.isShowedHint29 != 0);
    writeTrophies(element, player);
    writeStatistics(element, player);
  }
}

void savePlayers() {
  QEL::fLog("currentPlayer (savePlayers()): ", gCurrentPlayer);
  if (gIsAllLevelsView) return;
  pugi::xml_document document;
  fillPlayersDocument(document);
  // A player's deletion whose result files could not all be moved is finished by the next
  // start, which the mark tells to do so.
  if (isPlayerRemovalUnfinished()) markPlayerRemovalUnfinished(document);
  savePlayersDocument(document);
}

bool savePlayersDocument(const pugi::xml_document& document) {
  const bool saved = keepUntakenElementsAside() && saveXmlAtomically(document, playersFilePath());
  noteTableSaved(saved);
  return saved;
}

void savePlayerSettings(int index) {
  updatePlayerElement(
      index, "savePlayerSettings",
      [](pugi::xml_node element, const PLAYER_RECORD& player) { writeSettings(element, player); }, true);
}

void savePlayerMoney(int index) {
  updatePlayerElement(index, "savePlayerMoney", [](pugi::xml_node element, const PLAYER_RECORD& player) {
    if (pugi::xml_attribute money = element.attribute("money")) money.set_value(player.money);
    if (pugi::xml_attribute reshuffles = element.attribute("reshuffles")) reshuffles.set_value(player.reshuffles);
    if (pugi::xml_attribute jokers = element.attribute("jokers")) jokers.set_value(player.jokers);
  });
}

void savePlayerTrophies(int index) {
  updatePlayerElement(index, "savePlayerTrophies",
                      [](pugi::xml_node element, const PLAYER_RECORD& player) { writeTrophies(element, player); });
}

void savePlayerStatistics(int index) {
  updatePlayerElement(index, "savePlayerStatistics", [](pugi::xml_node element, const PLAYER_RECORD& player) {
    writeStatistics(element, player);
    QEL::fLog("save statistics for trophies");
  });
}

void addMoney(PLAYER_RECORD& player, int64_t amount) {
  const int64_t sum = static_cast<int64_t>(player.money) + amount;
  player.money = static_cast<int32_t>(sum < 0 ? 0 : (sum > kMaxPlayerCount ? kMaxPlayerCount : sum));
}

PLAYER_RECORD* currentPlayerRecord() { return isPlayerIndex(gCurrentPlayer) ? &gPlayers[gCurrentPlayer] : nullptr; }

bool getTrophy(int n) {
  if (!isPlayerIndex(gCurrentPlayer) || n < 1 || n > kTrophyCount) return false;
  return gPlayers[gCurrentPlayer].trophies[n - 1] != 0;
}

void setTrophy(int n) {
  if (!isPlayerIndex(gCurrentPlayer) || n < 1 || n > kTrophyCount) return;
  gPlayers[gCurrentPlayer].trophies[n - 1] = 1;
}

void clearTrophies(int index) {
  if (!isPlayerIndex(index)) return;
  for (uint8_t& flag : gPlayers[index].trophies) flag = 0;
}
