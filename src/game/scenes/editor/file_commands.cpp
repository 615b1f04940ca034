// The editor's level on disk and in memory: loading and saving Levels/Level_<N>.xml, the
// copied level, the preview that recomputes which cards lie over which, stepping through
// levels 0-199, and the test play that saves the level and plays it in a level scene.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "engine/game.h"
#include "engine/globals.h"
#include "engine/log.h"
#include "engine/render.h"
#include "game/game_globals.h"
#include "game/picture_size.h"
#include "game/players.h"
#include "game/scenes/editor/editor_scene.h"
#include "platform/plain_file.h"

namespace {

constexpr int32_t TEN_STEP = 10;
constexpr uint32_t GAME_CLEAR_COLOR = 0xFF000000u;
constexpr std::size_t COMPARED_PIECE = 64 * 1024;

std::string levelName(int32_t index) { return levelFilePath(index).generic_string(); }

// Whether two plain files hold the same bytes, read a piece at a time: a level refused for
// its size is never held whole, and a named pipe is never waited on.
bool sameBytes(const std::filesystem::path& a, const std::filesystem::path& b) {
  platform::PlainFile first = platform::openPlainFile(a.string());
  platform::PlainFile second = platform::openPlainFile(b.string());
  bool same = first.file != nullptr && second.file != nullptr && first.size == second.size;
  std::vector<char> pieceOfFirst(COMPARED_PIECE);
  std::vector<char> pieceOfSecond(COMPARED_PIECE);
  while (same) {
    const std::size_t got = std::fread(pieceOfFirst.data(), 1, COMPARED_PIECE, first.file);
    same = std::fread(pieceOfSecond.data(), 1, COMPARED_PIECE, second.file) == got &&
           std::memcmp(pieceOfFirst.data(), pieceOfSecond.data(), got) == 0;
    if (got < COMPARED_PIECE) break;
  }
  if (first.file != nullptr) std::fclose(first.file);
  if (second.file != nullptr) std::fclose(second.file);
  return same;
}

// The file's bytes under path + ".corrupt" (or ".corrupt1", ...), as the saves keep theirs;
// opening the level again finds the copy it made before. Empty when no copy can be made.
std::string keepCorruptCopy(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return {};
  constexpr int kMostCopies = 100;
  for (int n = 0; n < kMostCopies; ++n) {
    const std::filesystem::path copy = path.string() + ".corrupt" + (n == 0 ? std::string() : std::to_string(n));
    // A link to nothing takes its name too: it is the player's own.
    if (std::filesystem::exists(std::filesystem::symlink_status(copy, error))) {
      if (sameBytes(path, copy)) return copy.filename().string();
      continue;
    }
    return std::filesystem::copy_file(path, copy, error) ? copy.filename().string() : std::string();
  }
  return {};
}

}  // namespace

void SCENE_CARD_GAME_EDITOR::loadLevel(int32_t index) {
  const std::filesystem::path path = levelFilePath(index);
  std::error_code error;
  isLevelFileUnread = false;
  if (!std::filesystem::exists(path, error)) {
    // Levels beyond the game's 120 start out empty.
    QEL::fLog("loadLevel: no file ", levelName(index), ", the level starts empty");
    levelDocument.reset();
  } else if (!loadLevelDocument(levelDocument, path)) {
    isLevelFileUnread = true;
  }
  clearEditor();
  readLevel();
  table.isModified = false;
  table.currentCard = -1;
  table.layerFilter = EDITOR_NO_LAYER_FILTER;
  message.clear();
  if (isLevelFileUnread) keepUnreadLevelFile(index);
}

void SCENE_CARD_GAME_EDITOR::keepUnreadLevelFile(int32_t index) {
  const std::string copy = keepCorruptCopy(levelFilePath(index));
  QEL::fLog("loadLevel: ", levelName(index), " cannot be read, the level starts empty; ",
            copy.empty() ? std::string("no copy could be kept") : "a copy is kept as " + copy);
  showMessage("Level " + std::to_string(index + 1) + " could not be read" +
                  (copy.empty() ? std::string() : ", kept as " + copy) + ": it is not saved over unless changed",
              MESSAGE_STAYS);
}

bool SCENE_CARD_GAME_EDITOR::saveLevel() {
  if (isLevelFileUnread && !table.isModified) {
    // The empty level shown stands for a file that could not be read, not for a level.
    QEL::fLog("saveLevel: ", levelName(gCurrentLevel), " could not be read and is not saved over unchanged");
    showMessage("Level " + std::to_string(gCurrentLevel + 1) + " NOT saved: its file could not be read, change the "
                "level to replace it",
                MESSAGE_STAYS);
    return false;
  }
  writeLevel();
  const std::filesystem::path path = levelFilePath(gCurrentLevel);
  std::error_code error;
  std::filesystem::create_directories(path.parent_path(), error);
  std::string failure;
  if (!saveLevelDocument(levelDocument, path, &failure)) {
    // The changes are still only here: the level stays marked changed, and says so.
    QEL::fLog("saveLevel: ", levelName(gCurrentLevel), " was not saved, the changes stay in the editor");
    showMessage("Level " + std::to_string(gCurrentLevel + 1) + " NOT saved: " + failure, MESSAGE_STAYS);
    return false;
  }
  table.isModified = false;
  isLevelFileUnread = false;
  message.clear();
  return true;
}

void SCENE_CARD_GAME_EDITOR::copyLevel() {
  writeLevel();
  copiedLevelDocument.reset(levelDocument);
}

void SCENE_CARD_GAME_EDITOR::pasteLevel() {
  levelDocument.reset(copiedLevelDocument);
  clearEditor();
  readLevel();
}

void SCENE_CARD_GAME_EDITOR::preview() {
  writeLevel();
  readLevel();
  updatePropertiesPanel();
}

void SCENE_CARD_GAME_EDITOR::nextLevel() {
  if (isTenStepKeyHeld) {
    gCurrentLevel =
        gCurrentLevel < LEVEL_LAST_FILE_INDEX - TEN_STEP ? gCurrentLevel + TEN_STEP : LEVEL_LAST_FILE_INDEX;
  } else if (gCurrentLevel < LEVEL_LAST_FILE_INDEX) {
    ++gCurrentLevel;
  }
  loadLevel(gCurrentLevel);
}

void SCENE_CARD_GAME_EDITOR::previousLevel() {
  if (isTenStepKeyHeld) {
    gCurrentLevel = gCurrentLevel > TEN_STEP - 1 ? gCurrentLevel - TEN_STEP : 0;
  } else if (gCurrentLevel > 0) {
    --gCurrentLevel;
  }
  loadLevel(gCurrentLevel);
}

void SCENE_CARD_GAME_EDITOR::readLevel() {
  LEVEL_SETTINGS settings;
  ::readLevel(levelDocument, table, settings);
  // The boxes show what the game plays and what a save writes.
  numberOfTurnovers = playableLevelNumber(LEVEL_NUMBER::TURNOVERS, settings.numberOfTurnovers);
  numberOfCardsInStockPile = playableLevelNumber(LEVEL_NUMBER::STOCK_PILE, settings.numberOfCardsInStockPile);
  numberOfReservePiles = playableLevelNumber(LEVEL_NUMBER::RESERVE_PILES, settings.numberOfReservePiles);
  numberOfBonusCards = playableLevelNumber(LEVEL_NUMBER::BONUS_CARDS, settings.numberOfBonusCards);
  showLevelNumbers();
}

void SCENE_CARD_GAME_EDITOR::writeLevel() {
  acceptLevelBoxes();
  const LEVEL_SETTINGS settings{numberOfTurnovers, numberOfCardsInStockPile, numberOfReservePiles,
                                numberOfBonusCards};
  ::writeLevel(levelDocument, table, gCurrentLevel, settings);
}

bool SCENE_CARD_GAME_EDITOR::playsFullScreen() {
  const int32_t player = gCurrentPlayer >= 0 && gCurrentPlayer < kMaxPlayers ? gCurrentPlayer : 0;
  return gPlayers[player].isFullscreen != 0;
}

void SCENE_CARD_GAME_EDITOR::restoreGameScreen() {
  if (QEL::qcGAME != nullptr) QEL::qcGAME->fSetResolution(kPictureWidth, kPictureHeight, playsFullScreen());
}

void SCENE_CARD_GAME_EDITOR::testPlayLevel() {
  // What is not on disk cannot be played, and leaving would lose it.
  if (!saveLevel()) return;
  restoreGameScreen();
  if (QEL::qcRENDER != nullptr) QEL::qcRENDER->_clearColor = QEL::QS_COLOR(GAME_CLEAR_COLOR);
  requestScene(scene_kind::LEVEL);
}
