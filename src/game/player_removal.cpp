#include "game/player_removal.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "engine/log.h"
#include "game/game_globals.h"
#include "game/level_results.h"
#include "game/players.h"
#include "game/save_files.h"

namespace {

constexpr const char* kMovingMark = "movingResultFiles";
constexpr int kModes = 2;

int countedPlayers(int count) { return count < 0 ? 0 : (count > kMaxPlayers ? kMaxPlayers : count); }

// A missing file is no failure: the step's aim, no file there, is reached.
void removeIfPresent(const std::string& path) {
  if (fileExists(path) && std::remove(path.c_str()) != 0) QEL::fLog("Cannot remove ", path);
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
  document.child("players").append_attribute(kMovingMark).set_value(true);
  return saveXmlAtomically(document, playersFilePath());
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
  if (fileExists(none)) {
    removeIfPresent(live);
    removeIfPresent(none);
  }
  return true;
}

// The mark goes last: a players.xml without it means nothing is left to do.
bool finish() {
  pugi::xml_document document;
  if (loadSaveFile(document, playersFilePath(), "players") != SAVE_FILE_STATE::LOADED) return false;
  document.child("players").remove_attribute(kMovingMark);
  return saveXmlAtomically(document, playersFilePath());
}

void shiftResults(LEVEL_RESULT (&table)[kMaxPlayers][kLevelCount], int row, int count) {
  for (int place = row; place + 1 < count; ++place)
    for (int level = 0; level < kLevelCount; ++level) table[place][level] = table[place + 1][level];
  for (LEVEL_RESULT& entry : table[count - 1]) entry = LEVEL_RESULT{};
}

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
      removeIfPresent(levelResultsFilePath(step.place, step.mode));
      return true;
    case REMOVAL_STEP_KIND::FINISH:
      return finish();
  }
  return false;
}

bool removePlayerFromSaves(int row, int count) {
  if (gIsAllLevelsView) return true;
  const std::vector<REMOVAL_STEP> steps = planPlayerRemoval(row, count);
  bool committed = false;
  for (const REMOVAL_STEP& step : steps) {
    const bool done = runRemovalStep(step);
    if (step.kind == REMOVAL_STEP_KIND::COMMIT) committed = done;
    if (done || committed) continue;
    // Before the commit the old saves are still in force: go back to them.
    QEL::fLog("The player could not be removed from the saves; the players stay as they were");
    for (int place = 0; place < kMaxPlayers; ++place)
      for (int mode = 0; mode < kModes; ++mode) discardStaged(place, mode);
    loadPlayers();
    loadAllLevelsInfo();
    return false;
  }
  // A failed step after the commit is taken up again by the next start-up.
  return true;
}

void finishInterruptedPlayerRemoval() {
  pugi::xml_document document;
  const bool marked = loadSaveFile(document, playersFilePath(), "players") == SAVE_FILE_STATE::LOADED &&
                      document.child("players").attribute(kMovingMark).as_bool();
  if (!marked) {
    for (int place = 0; place < kMaxPlayers; ++place)
      for (int mode = 0; mode < kModes; ++mode) discardStaged(place, mode);
    return;
  }
  QEL::fLog("Finishing the removal of a player that was cut short");
  const int count = countedPlayers(document.child("players").attribute("numberOfPlayers").as_int());
  for (int place = 0; place < count; ++place)
    for (int mode = 0; mode < kModes; ++mode) apply(place, mode);
  for (int mode = 0; mode < kModes; ++mode) removeIfPresent(levelResultsFilePath(count, mode));
  finish();
}

void setAsideUnownedResultFiles(int place) {
  if (gIsAllLevelsView) return;
  for (int mode = 0; mode < kModes; ++mode) {
    const std::string path = levelResultsFilePath(place, mode);
    if (!fileExists(path)) continue;
    std::string aside = path + ".unowned";
    for (int n = 1; fileExists(aside) && n < 1000; ++n) aside = path + ".unowned" + std::to_string(n);
    if (std::rename(path.c_str(), aside.c_str()) == 0)
      QEL::fLog("Results with no player kept aside as ", aside);
    else
      QEL::fLog("Cannot keep aside results with no player: ", path);
  }
}
