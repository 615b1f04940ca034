// The small text file that every finished frame leaves in the folder of this run.
#include <cstdarg>
#include <cstdio>
#include <string>

#include "engine/file_system.h"
#include "engine/globals.h"
#include "engine/log.h"
#include "game/game_globals.h"
#include "game/level_results.h"
#include "game/save_files.h"
#include "game/scenes/level/level_scene.h"

namespace {

constexpr int32_t TENTH_FRAME = 9;

QEL::QC_FILE_SYSTEM* fileSystem() {
  QEL::QC_FILE_SYSTEM* instance = QEL::qcFILE_SYSTEM_INSTANCE;
  return instance != nullptr ? instance : QEL::QC_FILE_SYSTEM::fGet();
}

__attribute__((format(printf, 2, 3))) void appendFormat(std::string& text, const char* format, ...) {
  char line[256];
  va_list arguments;
  va_start(arguments, format);
  const int length = std::vsnprintf(line, sizeof line, format, arguments);
  va_end(arguments);
  if (length <= 0) return;
  const size_t kept = static_cast<size_t>(length) < sizeof line ? static_cast<size_t>(length) : sizeof line - 1;
  text.append(line, kept);
}

// The cards left at each use, as far as they were recorded.
void appendUses(std::string& text, int32_t uses, const int32_t* cardsLeft) {
  const int32_t recorded =
      uses < SCENE_CARD_GAME_LEVEL::MAX_LAYOUT_CARDS ? uses : SCENE_CARD_GAME_LEVEL::MAX_LAYOUT_CARDS;
  for (int32_t i = 1; i <= recorded; ++i) {
    appendFormat(text, "     %i) Cards left: %i\n", i, cardsLeft[i - 1]);
  }
}

}  // namespace

bool SCENE_CARD_GAME_LEVEL::statisticsResultCode(std::string& code) const {
  const int32_t b1 = levelResult.specialCards1;
  const int32_t b2 = levelResult.specialCards2;
  const int32_t b3 = levelResult.specialCards3;
  const int32_t kind = levelResult.result;
  code.clear();
  const bool tenthFrame = gCurrentLevel % kLevelsPerPack == TENTH_FRAME;
  if (!tenthFrame || !gTenthFrameBonus) {
    if (kind == OPEN_FRAME) code = std::to_string(b1) + std::to_string(b2);
    if (!tenthFrame && kind == STRIKE) code = "X0";
    if (!tenthFrame && kind == SPARE) code = "Y0";
    // The tenth frame's strike or spare is written when its bonus balls have been played.
    return !tenthFrame || kind == OPEN_FRAME;
  }
  // The bonus play writes the whole frame, by the result that earned the bonus balls.
  if (kind == NOT_COMPLETED) return true;
  if (gTenthFrameKind == SPARE) {
    code = "Y0" + std::to_string(b3);
  } else if (gTenthFrameKind == STRIKE) {
    if (b3 < 0) return false;  // the last bonus ball is still to come
    if (b2 == kAllSkittles) {
      code = b3 == kAllSkittles ? "XXX" : "XX" + std::to_string(b3);
    } else if (b2 + b3 == kAllSkittles) {
      code = "XY0";
    } else {
      code = "X" + std::to_string(b2) + std::to_string(b3);
    }
  }
  return true;
}

void SCENE_CARD_GAME_LEVEL::saveStatisticsOfLevel() {
  if (gCurrentLevel < 0 || gCurrentLevel >= kLevelCount) {
    QEL::fLog("saveStatisticsOfLevel: no level ", gCurrentLevel);
    return;
  }
  const std::string folder = gBasePath + "/Statistics/" + std::to_string(gSessionNumber);
  if (!writesNoSaves()) fileSystem()->fCreateDirectories(folder);

  std::string code;
  if (!statisticsResultCode(code)) return;
  const std::string path =
      levelStatisticsFilePath(gSessionNumber, gCurrentLevel + 1, gLevelAttempts[gCurrentLevel], code);

  std::string text;
  appendFormat(text, "Level pack number=%i\n", gCurrentPack + 1);
  appendFormat(text, "Level number=%i\n", gCurrentLevel + 1);
  appendFormat(text, "Results=%s\n", code.c_str());
  appendFormat(text, "Reshuffle was used %i times. Cards left: \n", reshufflesUsed);
  appendUses(text, reshufflesUsed, cardsLeftAtReshuffle);
  appendFormat(text, "Joker was used %i times. Cards left: \n", jokersUsed);
  appendUses(text, jokersUsed, cardsLeftAtJoker);
  appendFormat(text, "Time=%02i:%02i\n", clockMs / 60000, (clockMs / 1000) % 60);
  appendFormat(text,
               "Shop. Money spent: %i. Was purchased: \n\t1) Places: %i\n\t2) Reshuffles: %i\n"
               "\t3) Jokers: %i\n",
               shopMoneySpent, placesBought, reshufflesBought, jokersBought);
  appendFormat(text, "Money=%i\n", levelMoney);
  if (!saveTextAtomically(text, path)) QEL::fLog("saveStatisticsOfLevel: cannot write ", path);
}
