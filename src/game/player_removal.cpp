#include "game/player_removal.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <memory>
#include <system_error>

#include "engine/log.h"
#include "game/game_globals.h"
#include "game/level_results.h"
#include "game/players.h"
#include "game/save_files.h"
#include "game/save_notice.h"

namespace {

constexpr const char* kMovingMark = "movingResultFiles";
constexpr int kModes = 2;

int countedPlayers(int count) { return count < 0 ? 0 : (count > kMaxPlayers ? kMaxPlayers : count); }

// A missing file is no failure: the step's aim, no file there, is reached.
bool removeIfPresent(const std::string& path) {
  if (!fileExists(path) || std::remove(path.c_str()) == 0) return true;
  QEL::fLog("Cannot remove ", path);
  return false;
}

void discardStaged(int place, int mode) {
  removeIfPresent(stagedResultsPath(place, mode));
  removeIfPresent(stagedNoResultsPath(place, mode));
}

// The file the player moving into `place` brings, under the staged name of `place`. A hard
// link costs nothing and leaves the live file as it is; a file system without links gets
// a copy.
bool stage(int place, int mode) {
  discardStaged(place, mode);
  const std::string source = levelResultsFilePath(place + 1, mode);
  if (!fileExists(source)) {
    std::FILE* marker = std::fopen(stagedNoResultsPath(place, mode).c_str(), "wb");
    if (marker == nullptr) return false;
    return std::fclose(marker) == 0;
  }
  const std::string staged = stagedResultsPath(place, mode);
  if (::link(source.c_str(), staged.c_str()) == 0) return true;
  std::error_code error;
  std::filesystem::copy_file(source, staged, std::filesystem::copy_options::overwrite_existing, error);
  return !error;
}

bool commit() {
  pugi::xml_document document;
  fillPlayersDocument(document);
  markPlayerRemovalUnfinished(document);
  return savePlayersDocument(document);
}

// The staged name replaces the live file in one rename; "no results" removes it.
bool apply(int place, int mode) {
  const std::string live = levelResultsFilePath(place, mode);
  const std::string staged = stagedResultsPath(place, mode);
  if (fileExists(staged)) {
    if (std::rename(staged.c_str(), live.c_str()) == 0) return true;
    QEL::fLog("Cannot move ", staged, " to ", live);
    return false;
  }
  const std::string none = stagedNoResultsPath(place, mode);
  if (fileExists(none)) return removeIfPresent(live) && removeIfPresent(none);
  return true;
}

// The mark goes last: a players.xml without it means nothing is left to do.
bool finish() {
  pugi::xml_document document;
  if (loadSaveFile(document, playersFilePath(), "players") != SAVE_FILE_STATE::LOADED) return false;
  document.child("players").remove_attribute(kMovingMark);
  return saveXmlAtomically(document, playersFilePath());
}

// Steps 3 to 5 for a table of `count` players, up to the first that fails.
bool moveResultFiles(int count) {
  for (int place = 0; place < count; ++place)
    for (int mode = 0; mode < kModes; ++mode)
      if (!apply(place, mode)) return false;
  for (int mode = 0; mode < kModes; ++mode)
    if (!removeIfPresent(levelResultsFilePath(count, mode))) return false;
  return finish();
}

void shiftResults(LEVEL_RESULT (&table)[kMaxPlayers][kLevelCount], int row, int count) {
  for (int place = row; place + 1 < count; ++place)
    for (int level = 0; level < kLevelCount; ++level) table[place][level] = table[place + 1][level];
  for (LEVEL_RESULT& entry : table[count - 1]) entry = LEVEL_RESULT{};
}

// The players and their results in memory as a deletion found them. A deletion the saves
// refused is undone from here, not by reading the files again: they may lack players of
// this run that an earlier save could not write.
struct PLAYER_TABLES {
  PLAYER_RECORD players[kMaxPlayers];
  int count = 0;
  int current = 0;
  LEVEL_RESULT junior[kMaxPlayers][kLevelCount];
  LEVEL_RESULT professional[kMaxPlayers][kLevelCount];

  void take() {
    std::copy(std::begin(gPlayers), std::end(gPlayers), players);
    count = gNumberOfPlayers;
    current = gCurrentPlayer;
    std::copy(&gLevelResultsJunior[0][0], &gLevelResultsJunior[0][0] + kMaxPlayers * kLevelCount, &junior[0][0]);
    std::copy(&gLevelResultsProfessional[0][0], &gLevelResultsProfessional[0][0] + kMaxPlayers * kLevelCount,
              &professional[0][0]);
  }
  void restore() const {
    std::copy(std::begin(players), std::end(players), gPlayers);
    gNumberOfPlayers = count;
    gCurrentPlayer = current;
    std::copy(&junior[0][0], &junior[0][0] + kMaxPlayers * kLevelCount, &gLevelResultsJunior[0][0]);
    std::copy(&professional[0][0], &professional[0][0] + kMaxPlayers * kLevelCount, &gLevelResultsProfessional[0][0]);
  }
};

}  // namespace

std::string stagedResultsPath(int place, int mode) { return levelResultsFilePath(place, mode) + ".next"; }

std::string stagedNoResultsPath(int place, int mode) { return levelResultsFilePath(place, mode) + ".none"; }

void removePlayerFromTables(int row) {
  const int count = countedPlayers(gNumberOfPlayers);
  if (row < 0 || row >= count) return;
  for (int place = row; place + 1 < count; ++place) gPlayers[place] = gPlayers[place + 1];
  shiftResults(gLevelResultsJunior, row, count);
  shiftResults(gLevelResultsProfessional, row, count);
  // Nothing of a player stays in the freed place; the settings do, for the menu that waits
  // for the next player when the last one has gone.
  PLAYER_RECORD& freed = gPlayers[count - 1];
  PLAYER_RECORD empty;
  empty.soundVolume = freed.soundVolume;
  empty.musicVolume = freed.musicVolume;
  empty.isFullscreen = freed.isFullscreen;
  empty.isMuteAll = freed.isMuteAll;
  freed = empty;
  gNumberOfPlayers = count - 1;
}

std::vector<REMOVAL_STEP> planPlayerRemoval(int row, int count) {
  std::vector<REMOVAL_STEP> steps;
  count = countedPlayers(count);
  if (row < 0 || row >= count) return steps;
  for (int place = row; place + 1 < count; ++place)
    for (int mode = 0; mode < kModes; ++mode) steps.push_back({REMOVAL_STEP_KIND::STAGE, place, mode});
  steps.push_back({REMOVAL_STEP_KIND::COMMIT, -1, 0});
  for (int place = row; place + 1 < count; ++place)
    for (int mode = 0; mode < kModes; ++mode) steps.push_back({REMOVAL_STEP_KIND::APPLY, place, mode});
  for (int mode = 0; mode < kModes; ++mode) steps.push_back({REMOVAL_STEP_KIND::DROP, count - 1, mode});
  steps.push_back({REMOVAL_STEP_KIND::FINISH, -1, 0});
  return steps;
}

bool runRemovalStep(const REMOVAL_STEP& step) {
  switch (step.kind) {
    case REMOVAL_STEP_KIND::STAGE:
      return stage(step.place, step.mode);
    case REMOVAL_STEP_KIND::COMMIT:
      return commit();
    case REMOVAL_STEP_KIND::APPLY:
      return apply(step.place, step.mode);
    case REMOVAL_STEP_KIND::DROP:
      return removeIfPresent(levelResultsFilePath(step.place, step.mode));
    case REMOVAL_STEP_KIND::FINISH:
      return finish();
  }
  return false;
}

bool removePlayer(int row, int current) {
  const int count = countedPlayers(gNumberOfPlayers);
  if (row < 0 || row >= count) return false;
  const auto before = std::make_unique<PLAYER_TABLES>();
  before->take();
  removePlayerFromTables(row);
  gCurrentPlayer = gNumberOfPlayers > 0 ? current : 0;
  if (removePlayerFromSaves(row, count)) return true;
  before->restore();
  return false;
}

bool removePlayerFromSaves(int row, int count) {
  if (gIsAllLevelsView) return true;
  if (writesNoSaves()) {
    QEL::fLog("The player could not be removed from the saves, this copy of the game writes none; the players stay");
    noticeFailedSave();
    return false;
  }
  const std::vector<REMOVAL_STEP> steps = planPlayerRemoval(row, count);
  bool committed = false;
  for (const REMOVAL_STEP& step : steps) {
    if (runRemovalStep(step)) {
      if (step.kind == REMOVAL_STEP_KIND::COMMIT) {
        committed = true;
        moveUnsavedLevelResultsDown(row, count);
      }
      continue;
    }
    if (committed) {
      // Going on past a failed move would take the mark off with files left unmoved, and the
      // next start would give the staged results away.
      QEL::fLog("The player's result files could not all be moved; the next start finishes the move");
      return true;
    }
    // Before the commit the old saves are still in force, and the player stays.
    QEL::fLog("The player could not be removed from the saves; the players stay as they were");
    for (int place = 0; place < kMaxPlayers; ++place)
      for (int mode = 0; mode < kModes; ++mode) discardStaged(place, mode);
    noticeFailedSave();
    return false;
  }
  return true;
}

bool finishInterruptedPlayerRemoval() {
  // The copy of the game that holds the saves may be in the middle of it.
  if (writesNoSaves()) return false;
  pugi::xml_document document;
  const SAVE_FILE_STATE state = loadPlayersFile(document);
  // Without the file nobody knows whether the staged names were committed: they stay.
  if (state == SAVE_FILE_STATE::UNREADABLE) return false;
  const bool marked = state == SAVE_FILE_STATE::LOADED && document.child("players").attribute(kMovingMark).as_bool();
  if (!marked) {
    for (int place = 0; place < kMaxPlayers; ++place)
      for (int mode = 0; mode < kModes; ++mode) discardStaged(place, mode);
    return true;
  }
  QEL::fLog("Finishing the removal of a player that was cut short");
  // The players as the load counts them: a count below the elements would drop the files of
  // a player the load keeps.
  const int count = countedPlayers(playerCountOf(document.child("players")));
  if (moveResultFiles(count)) return true;
  QEL::fLog("The result files of a removed player could still not all be moved; the next start tries again");
  return false;
}

bool isResultsMovePending(int place, int mode) {
  return fileExists(stagedResultsPath(place, mode)) || fileExists(stagedNoResultsPath(place, mode));
}

bool isPlayerRemovalUnfinished() {
  for (int place = 0; place < kMaxPlayers; ++place)
    for (int mode = 0; mode < kModes; ++mode)
      if (isResultsMovePending(place, mode)) return true;
  return false;
}

void markPlayerRemovalUnfinished(pugi::xml_document& document) {
  pugi::xml_node root = document.child("players");
  pugi::xml_attribute mark = root.attribute(kMovingMark);
  if (!mark) mark = root.append_attribute(kMovingMark);
  mark.set_value(true);
}

void setAsideUnownedResultFiles(int place) {
  if (gIsAllLevelsView || writesNoSaves()) return;
  // Whose files they are is written in a players.xml this run could not read.
  if (isSaveFileUnreadable(playersFilePath())) return;
  for (int mode = 0; mode < kModes; ++mode) {
    const std::string path = levelResultsFilePath(place, mode);
    if (!fileExists(path)) continue;
    const std::string aside = unusedNameBeside(path, ".unowned");
    if (!aside.empty() && std::rename(path.c_str(), aside.c_str()) == 0)
      QEL::fLog("Results with no player kept aside as ", aside);
    else
      QEL::fLog("Cannot keep aside results with no player: ", path);
  }
}
