// The editor's level on disk and in memory: loading and saving Levels/Level_<N>.xml, the
// copied level, the preview that recomputes which cards lie over which, stepping through
// levels 0-199, and the test play that saves the level and plays it in a level scene.
#include <filesystem>
#include <string>
#include <system_error>

#include "engine/game.h"
#include "engine/globals.h"
#include "engine/log.h"
#include "engine/render.h"
#include "game/game_globals.h"
#include "game/players.h"
#include "game/scenes/editor/editor_scene.h"
#include "game/scenes/level/level_scene.h"

namespace {

constexpr int32_t TEN_STEP = 10;
constexpr int32_t GAME_WIDTH = 1024;
constexpr int32_t GAME_HEIGHT = 768;
constexpr uint32_t GAME_CLEAR_COLOR = 0xFF000000u;

std::string levelName(int32_t index) { return levelFilePath(index).generic_string(); }

}  // namespace

void SCENE_CARD_GAME_EDITOR::loadLevel(int32_t index) {
  const std::filesystem::path path = levelFilePath(index);
  std::error_code error;
  if (!std::filesystem::exists(path, error)) {
    // Levels beyond the game's 120 start out empty.
    QEL::fLog("loadLevel: no file ", levelName(index), ", the level starts empty");
    levelDocument.reset();
  } else if (!loadLevelDocument(levelDocument, path)) {
    QEL::fLog("loadLevel: ", levelName(index), " cannot be read, the level starts empty");
  }
  clearEditor();
  readLevel();
  table.isModified = false;
  table.currentCard = -1;
  table.layerFilter = EDITOR_NO_LAYER_FILTER;
  message.clear();
}

bool SCENE_CARD_GAME_EDITOR::saveLevel() {
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
    gCurrentLevel = gCurrentLevel < LAST_LEVEL - TEN_STEP ? gCurrentLevel + TEN_STEP : LAST_LEVEL;
  } else if (gCurrentLevel < LAST_LEVEL) {
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
  if (QEL::qcGAME != nullptr) QEL::qcGAME->fSetResolution(GAME_WIDTH, GAME_HEIGHT, playsFullScreen());
}

void SCENE_CARD_GAME_EDITOR::testPlayLevel() {
  // What is not on disk cannot be played, and leaving would lose it.
  if (!saveLevel()) return;
  restoreGameScreen();
  if (QEL::qcRENDER != nullptr) QEL::qcRENDER->_clearColor = QEL::QS_COLOR(GAME_CLEAR_COLOR);
  // This scene is deleted by the switch: nothing may follow it.
  changeScene(this, new SCENE_CARD_GAME_LEVEL());
}
