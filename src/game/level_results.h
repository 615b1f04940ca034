#pragma once
// Per player, mode and level: the stored result, the pack totals derived from it, the
// result files Saves/player<N>.xml and Saves/player<N>_p.xml, the run counter file
// Statistics/statistics.xml and the per-level attempt counters.
#include <cstdint>
#include <string>
#include <string_view>

constexpr int kLevelCount = 120;
constexpr int kLastLevel = kLevelCount - 1;  // the tenth frame of the last pack
constexpr int kPackCount = 12;
constexpr int kLevelsPerPack = 10;
constexpr int kLevelResultFieldCount = 5;

// Field numbers, in the record's order.
enum : int {
  kResultField = 0,
  kSpecialCards1Field = 1,
  kSpecialCards2Field = 2,
  kScoreField = 3,
  kSpecialCards3Field = 4,
};

// A frame's skittles, and the count of a ball not played (yet).
constexpr int32_t kAllSkittles = 10;
constexpr int32_t kBallNotPlayed = -1;

struct LEVEL_RESULT {
  // What the player made of the level, as the result files store it: locked, open but not
  // completed, or finished (OPEN_FRAME or more) as one of the kinds of a bowling frame.
  enum FRAME_KIND : int32_t { LOCKED = 0, NOT_COMPLETED = 1, OPEN_FRAME = 2, SPARE = 3, STRIKE = 4 };

  int32_t result = LOCKED;  // a FRAME_KIND
  int32_t specialCards1 = 0;  // skittles down with the first ball (-1 not played)
  int32_t specialCards2 = 0;
  int32_t score = 0;  // the running total of the pack's score sheet up to this frame
  int32_t specialCards3 = 0;  // the tenth frame's third ball
};

// mode: 0 junior, any other professional, -1 the current mode. Player, level or field out
// of range: get gives 0 and set does nothing (with a log line).
int getLevelResult(int player, int level, int field, int mode = -1);
void setLevelResult(int player, int level, int field, int value, int mode = -1);
bool hasLevelResult(int level);

void clearLevelResults(int mode);
void clearPlayerLevelResults(int player);
// A place a new player takes: the results of both modes zeroed, and none of whoever held it
// before kept for a later reading.
void startPlayerLevelResults(int player);
void markAllLevelsFinished();

int getPackScore(int pack);
int countPerfectPacks();
bool isPackUnlocked(int pack);
int getTotalScore(int mode = -1);
int getPlayerTotalScore(int player);

// gBasePath + "/Saves/player" + N + ("_p" in professional mode) + ".xml".
std::string levelResultsFilePath(int player, int mode);
// A missing file leaves the player's results at 0; a corrupt one is kept aside with the
// suffix ".corrupt" and also reads as nothing. A place whose file could not be written in
// this run takes the results its last save held instead.
void loadLevelsInfo(int mode);
void loadAllLevelsInfo();
// Writes the current mode's file of every player. A file that cannot be written (or may not
// be) raises the save notice, and its results are kept in memory for the run.
void saveLevelsInfo();
// The results kept for the run move with the files when player `row` of `count` is removed
// from the saves: those of the later places one place down.
void moveUnsavedLevelResultsDown(int row, int count);

// gBasePath + "/Statistics/statistics.xml".
std::string statisticsFilePath();
// gBasePath + "/Statistics/<session>/level_number_<level>_<attempt>_<result>.txt": one level
// played in a session, the result by its balls' marks (none for a result without balls).
constexpr std::string_view kLevelStatisticsStart = "level_number_";
constexpr std::string_view kLevelStatisticsEnd = ".txt";
std::string levelStatisticsFilePath(int session, int level, int attempt, const std::string& result);
void countSession();
