#include "game/level_results.h"

#include <algorithm>
#include <climits>
#include <iterator>

#include "engine/log.h"
#include "game/game_globals.h"
#include "game/player_removal.h"
#include "game/players.h"
#include "game/save_files.h"
#include "game/save_notice.h"
#include "game/texts.h"

namespace {

using enum LEVEL_RESULT::FRAME_KIND;

constexpr int kPerfectPackScore = 300;

int resolveMode(int mode) { return mode == -1 ? gGameMode : mode; }

// A place's results that its file lacks, as the last save of it found them (the save failed
// or was refused): a reading of the files (a mode chosen, the menu back, the developer view
// switched off) takes these instead, so the progress of the run is not taken away. Known by
// the save folder they belong in.
struct UNSAVED_RESULTS {
  std::string basePath;  // empty while the file holds the place's results
  LEVEL_RESULT levels[kLevelCount];
};
constexpr int kModeCount = 2;
UNSAVED_RESULTS gUnsavedResults[kModeCount][kMaxPlayers];

UNSAVED_RESULTS& unsavedSlot(int player, int mode) { return gUnsavedResults[resolveMode(mode) == 0 ? 0 : 1][player]; }

const UNSAVED_RESULTS* unsavedResults(int player, int mode) {
  const UNSAVED_RESULTS& kept = unsavedSlot(player, mode);
  return !kept.basePath.empty() && kept.basePath == gBasePath ? &kept : nullptr;
}

LEVEL_RESULT (&tableOf(int mode))[kMaxPlayers][kLevelCount] {
  return resolveMode(mode) == 0 ? gLevelResultsJunior : gLevelResultsProfessional;
}

int countedPlayers() {
  if (gNumberOfPlayers < 0) return 0;
  return gNumberOfPlayers > kMaxPlayers ? kMaxPlayers : gNumberOfPlayers;
}

bool isPlayer(int player) { return player >= 0 && player < kMaxPlayers; }
bool isLevel(int level) { return level >= 0 && level < kLevelCount; }
bool isPack(int pack) { return pack >= 0 && pack < kPackCount; }

int32_t& fieldOf(LEVEL_RESULT& entry, int field) {
  switch (field) {
    case kResultField: return entry.result;
    case kSpecialCards1Field: return entry.specialCards1;
    case kSpecialCards2Field: return entry.specialCards2;
    case kScoreField: return entry.score;
    default: return entry.specialCards3;
  }
}

// The pack total: the running score of the tenth frame when it is finished, else of the
// highest finished frame below it; 0 when none is finished.
int packScore(int player, int pack, int mode) {
  if (!isPlayer(player) || !isPack(pack)) return 0;
  const LEVEL_RESULT* levels = tableOf(mode)[player] + pack * kLevelsPerPack;
  for (int frame = kLevelsPerPack - 1; frame >= 0; --frame)
    if (levels[frame].result >= OPEN_FRAME) return levels[frame].score;
  return 0;
}

// Opens the current player's pack in the mode when the previous pack reached the mode's goal,
// and tells whether it is open.
bool isPackOpenIn(int mode, int pack) {
  if (!isPlayer(gCurrentPlayer) || !isPack(pack)) return false;
  mode = resolveMode(mode);
  LEVEL_RESULT* levels = tableOf(mode)[gCurrentPlayer];
  LEVEL_RESULT& first = levels[pack * kLevelsPerPack];
  if (first.result == LOCKED && pack >= 1 && levels[pack * kLevelsPerPack - 1].result >= OPEN_FRAME) {
    const std::wstring key =
        std::wstring(mode == 0 ? L"junior" : L"professional") + L"_pack" + numberToWString(pack) + L"_goal";
    if (packScore(gCurrentPlayer, pack - 1, mode) >= getTextInt(key)) first.result = NOT_COMPLETED;
  }
  return first.result > LOCKED;
}

int32_t clampField(int32_t value, int32_t low, int32_t high, const char* field, int level,
                   const std::string& path) {
  if (value >= low && value <= high) return value;
  const int32_t clamped = value < low ? low : high;
  QEL::fLog("Level result out of range in ", path, ": level ", level, " ", field, " ", value, ", set to ",
            clamped);
  return clamped;
}

void readLevelsFile(const std::string& path, LEVEL_RESULT (&levels)[kLevelCount]) {
  pugi::xml_document document;
  if (loadSaveFile(document, path, "info") != SAVE_FILE_STATE::LOADED) return;
  for (const pugi::xml_node element : document.child("info").children("level")) {
    const int id = element.attribute("id").as_int(-1);
    if (!isLevel(id)) {
      QEL::fLog("Level result with id ", element.attribute("id").as_string(), " skipped in ", path);
      continue;
    }
    LEVEL_RESULT& entry = levels[id];
    entry.result =
        clampField(element.attribute("result").as_int(), LOCKED, STRIKE, "result", id, path);
    entry.specialCards1 = clampField(element.attribute("specialCards1").as_int(), kBallNotPlayed, kAllSkittles,
                                     "specialCards1", id, path);
    entry.specialCards2 = clampField(element.attribute("specialCards2").as_int(), kBallNotPlayed, kAllSkittles,
                                     "specialCards2", id, path);
    entry.score = clampField(element.attribute("score").as_int(), -1, kPerfectPackScore, "score", id, path);
    if (id % kLevelsPerPack == kLevelsPerPack - 1)
      entry.specialCards3 = clampField(element.attribute("specialCards3").as_int(), kBallNotPlayed, kAllSkittles,
                                       "specialCards3", id, path);
  }
}

bool writeLevelsFile(const std::string& path, const LEVEL_RESULT (&levels)[kLevelCount]) {
  pugi::xml_document document;
  pugi::xml_node root = document.append_child("info");
  for (int id = 0; id < kLevelCount; ++id) {
    const LEVEL_RESULT& entry = levels[id];
    pugi::xml_node element = root.append_child("level");
    element.append_attribute("id").set_value(id);
    element.append_attribute("result").set_value(entry.result);
    element.append_attribute("specialCards1").set_value(entry.specialCards1);
    element.append_attribute("specialCards2").set_value(entry.specialCards2);
    element.append_attribute("score").set_value(entry.score);
    if (id % kLevelsPerPack == kLevelsPerPack - 1)
      element.append_attribute("specialCards3").set_value(entry.specialCards3);
  }
  root.append_attribute("levelsNumber").set_value(kLevelCount);
  return saveXmlAtomically(document, path);
}

// A place's file may be written unless a player's deletion still has to move another
// player's results into it (the move would undo the write), or players.xml, which says
// whose results each file holds, could not be read.
bool mayWriteLevelsFile(int player) {
  if (isSaveFileUnreadable(playersFilePath())) {
    QEL::fLog("saveLevelsInfo: players.xml could not be read, no result file is written");
    return false;
  }
  if (!isResultsMovePending(player, resolveMode(-1))) return true;
  QEL::fLog("saveLevelsInfo: the results of place ", player, " are still to be moved, not written now");
  return false;
}

// The current mode's results of the place, kept for the run when their file lacks them.
void noteLevelsFileSaved(int player, bool saved) {
  UNSAVED_RESULTS& kept = unsavedSlot(player, -1);
  if (saved) {
    kept.basePath.clear();
    return;
  }
  kept.basePath = gBasePath;
  std::copy(std::begin(tableOf(-1)[player]), std::end(tableOf(-1)[player]), kept.levels);
}

}  // namespace

int getLevelResult(int player, int level, int field, int mode) {
  if (!isPlayer(player) || !isLevel(level) || field < 0 || field >= kLevelResultFieldCount) {
    QEL::fLog("getLevelResult: no player ", player, " level ", level, " field ", field);
    return 0;
  }
  return fieldOf(tableOf(mode)[player][level], field);
}

void setLevelResult(int player, int level, int field, int value, int mode) {
  if (!isPlayer(player) || !isLevel(level) || field < 0 || field >= kLevelResultFieldCount) {
    QEL::fLog("setLevelResult: no player ", player, " level ", level, " field ", field);
    return;
  }
  fieldOf(tableOf(mode)[player][level], field) = value;
}

bool hasLevelResult(int level) {
  if (!isPlayer(gCurrentPlayer) || !isLevel(level)) return false;
  return tableOf(-1)[gCurrentPlayer][level].result > LOCKED;
}

void clearLevelResults(int mode) {
  LEVEL_RESULT(&table)[kMaxPlayers][kLevelCount] = tableOf(mode);
  for (int player = 0; player < countedPlayers(); ++player)
    for (LEVEL_RESULT& entry : table[player]) entry = LEVEL_RESULT{};
}

void clearPlayerLevelResults(int player) {
  if (!isPlayer(player)) return;
  for (LEVEL_RESULT& entry : gLevelResultsJunior[player]) entry = LEVEL_RESULT{};
}

void startPlayerLevelResults(int player) {
  if (!isPlayer(player)) return;
  clearPlayerLevelResults(player);
  for (LEVEL_RESULT& entry : gLevelResultsProfessional[player]) entry = LEVEL_RESULT{};
  for (UNSAVED_RESULTS(&mode)[kMaxPlayers] : gUnsavedResults) mode[player].basePath.clear();
}

void markAllLevelsFinished() {
  clearLevelResults(0);
  clearLevelResults(1);
  for (int mode = 0; mode <= 1; ++mode)
    for (int player = 0; player < countedPlayers(); ++player)
      for (LEVEL_RESULT& entry : tableOf(mode)[player]) {
        entry.result = OPEN_FRAME;
        entry.specialCards1 = 1;
        entry.specialCards2 = 1;
        entry.score = 1;
      }
}

int getPackScore(int pack) { return packScore(gCurrentPlayer, pack, -1); }

int countPerfectPacks() {
  if (!isPlayer(gCurrentPlayer)) return 0;
  int count = 0;
  for (int pack = 0; pack < kPackCount; ++pack)
    if (tableOf(-1)[gCurrentPlayer][pack * kLevelsPerPack].result >= OPEN_FRAME &&
        getPackScore(pack) == kPerfectPackScore)
      ++count;
  return count;
}

bool isPackUnlocked(int pack) { return isPackOpenIn(-1, pack); }

// Each mode's total runs over that mode's own open packs: the packs open in the mode being
// played say nothing about the other one.
int getTotalScore(int mode) {
  int total = 0;
  for (int pack = 0; pack < kPackCount; ++pack)
    if (isPackOpenIn(mode, pack)) total += packScore(gCurrentPlayer, pack, mode);
  return total;
}

int getPlayerTotalScore(int player) {
  int total = 0;
  for (int pack = 0; pack < kPackCount; ++pack)
    if (isPackUnlocked(pack)) total += packScore(player, pack, -1);
  return total;
}

std::string levelResultsFilePath(int player, int mode) {
  return gBasePath + "/Saves/player" + numberToString(player) + (resolveMode(mode) == 0 ? "" : "_p") + ".xml";
}

void loadLevelsInfo(int mode) {
  QEL::fLog("START - loadLevelsInfo()");
  if (gNumberOfPlayers == 0) return;
  mode = resolveMode(mode);
  clearLevelResults(mode);
  for (int player = 0; player < countedPlayers(); ++player) {
    if (const UNSAVED_RESULTS* kept = unsavedResults(player, mode)) {
      QEL::fLog("loadLevelsInfo: the results of player ", player, " could not be saved in this run, kept from memory");
      std::copy(std::begin(kept->levels), std::end(kept->levels), tableOf(mode)[player]);
      continue;
    }
    readLevelsFile(levelResultsFilePath(player, mode), tableOf(mode)[player]);
  }
  // The first frame of the game is always open to play.
  if (isPlayer(gCurrentPlayer) && tableOf(-1)[gCurrentPlayer][0].result == LOCKED)
    tableOf(-1)[gCurrentPlayer][0].result = NOT_COMPLETED;
  QEL::fLog("END - loadLevelsInfo()");
}

void moveUnsavedLevelResultsDown(int row, int count) {
  if (count > kMaxPlayers) count = kMaxPlayers;
  if (row < 0 || row >= count) return;
  for (UNSAVED_RESULTS(&mode)[kMaxPlayers] : gUnsavedResults) {
    for (int place = row; place + 1 < count; ++place) mode[place] = mode[place + 1];
    mode[count - 1].basePath.clear();
  }
}

void loadAllLevelsInfo() {
  loadLevelsInfo(0);
  loadLevelsInfo(1);
}

void saveLevelsInfo() {
  if (gIsAllLevelsView) return;
  QEL::fLog("START - saveLevelsInfo()");
  if (gNumberOfPlayers == 0) return;
  // A deletion that could not move every result file is taken up first: the disk may serve again.
  if (isPlayerRemovalUnfinished()) finishInterruptedPlayerRemoval();
  bool saved = true;
  for (int player = 0; player < countedPlayers(); ++player) {
    const bool written =
        mayWriteLevelsFile(player) && writeLevelsFile(levelResultsFilePath(player, -1), tableOf(-1)[player]);
    noteLevelsFileSaved(player, written);
    saved = saved && written;
  }
  if (!saved) noticeFailedSave();
  savePlayerMoney(gCurrentPlayer);
  QEL::fLog("END - saveLevelsInfo()");
}

std::string statisticsFilePath() { return gBasePath + "/Statistics/statistics.xml"; }

std::string levelStatisticsFilePath(int session, int level, int attempt, const std::string& result) {
  return gBasePath + "/Statistics/" + std::to_string(session) + "/" + std::string(kLevelStatisticsStart) +
         std::to_string(level) + "_" + std::to_string(attempt) + "_" + result + std::string(kLevelStatisticsEnd);
}

void countSession() {
  pugi::xml_document document;
  const std::string path = statisticsFilePath();
  loadSaveFile(document, path, "statistics");
  pugi::xml_node root = document.child("statistics");
  int number = root.attribute("sessionNumber").as_int();
  if (number < 0) {
    QEL::fLog("statistics.xml: sessionNumber ", number, " out of range, set to 0");
    number = 0;
  }
  gSessionNumber = number;
  // One root only, whatever the file held: a second root would never be read back.
  if (!root) root = document.append_child("statistics");
  pugi::xml_attribute attribute = root.attribute("sessionNumber");
  if (!attribute) attribute = root.append_attribute("sessionNumber");
  attribute.set_value(number < INT_MAX ? number + 1 : number);
  saveXmlAtomically(document, path);
}
