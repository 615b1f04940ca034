// Any bytes as a level file: the level scene lays them out and deals the face-down cards, and
// the editor reads them into its card table. Nothing may crash, overflow or hang.
#include <cstddef>
#include <cstdint>
#include <memory>

#include <pugixml.hpp>

#include "bare_level_scene.h"
#include "fuzz_support.h"
#include "level_geometry/level_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz_support::startFolder();
  // Kept to the end of the process: nothing is left to release then.
  static SCENE_CARD_GAME_LEVEL* scene = makeBareLevelScene().release();

  scene->removeAllCards();
  scene->levelDocument.reset();
  scene->levelDocument.load_buffer(data, size);
  scene->readLevel();
  scene->dealRandomValues();

  EDITOR_CARD_TABLE table;
  LEVEL_SETTINGS settings;
  readLevel(scene->levelDocument, table, settings);
  return 0;
}
