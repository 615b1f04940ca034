// Any bytes as each save file in turn: players.xml is loaded and the close's settings save
// written back into it, a results file is loaded, the run counter is advanced. Nothing may
// crash, overflow, hang or grow without bound.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz_support.h"
#include "game/game_globals.h"
#include "game/level_results.h"
#include "game/players.h"
#include "game/save_files.h"

namespace {

void writeBytes(const std::string& path, const uint8_t* data, size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A players file that cannot be read is said in a message box, which on a desktop would
  // wait for an answer: without a display it is only logged.
  ::setenv("SDL_VIDEODRIVER", "offscreen", 0);
  const std::string documents = fuzz_support::startFolder() + "/Documents";
  // Fresh folders each time: files kept aside would pile up.
  std::error_code error;
  std::filesystem::remove_all(documents, error);
  gBasePath = documents;
  makeSaveFolders();
  for (PLAYER_RECORD& player : gPlayers) player = PLAYER_RECORD{};

  writeBytes(playersFilePath(), data, size);
  loadPlayers();
  savePlayerSettings(gCurrentPlayer);
  savePlayerMoney(gCurrentPlayer);
  loadPlayers();

  gNumberOfPlayers = 1;
  gCurrentPlayer = 0;
  writeBytes(levelResultsFilePath(0, 0), data, size);
  loadLevelsInfo(0);
  getTotalScore(0);

  writeBytes(statisticsFilePath(), data, size);
  countSession();
  return 0;
}
