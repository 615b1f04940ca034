#pragma once
// Hand-made save files for scenarios that start the game with players who have played: the
// players file and the result files as the game reads them, written before the game starts
// (GameChildTest::play's `before`), and the texts' tuning numbers that the saves are made to
// meet or miss.
#include <filesystem>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "save_folder_fixture.h"

namespace test_support {

// One stored level result.
struct STORED_LEVEL {
  int level;
  int result;  // 0 locked, 1 open, 2 open frame, 3 spare, 4 strike
  int ball1;
  int ball2;
  int score;  // the pack's running total after this frame
  int ball3 = 0;  // the tenth frame's third ball
};

// Players named in order; the first is the current one unless said otherwise.
inline void seedPlayers(const std::filesystem::path& saves, const std::vector<std::string>& names, int current = 0) {
  std::filesystem::create_directories(saves);
  std::string xml = "<players numberOfPlayers=\"" + std::to_string(names.size()) + "\" currentPlayer=\"" +
                    std::to_string(current) + "\">\n";
  for (size_t id = 0; id < names.size(); ++id)
    xml += "  <player id=\"" + std::to_string(id) + "\" name=\"" + names[id] +
           "\" soundVolume=\"0.5\" musicVolume=\"0.5\" isMuteAll=\"true\" />\n";
  writeFile(saves / "players.xml", xml + "</players>\n");
}

// The player's result file of a mode (0 junior, 1 professional); levels not listed are locked.
inline void seedResults(const std::filesystem::path& saves, int player, int mode,
                        const std::vector<STORED_LEVEL>& levels) {
  std::filesystem::create_directories(saves);
  std::string xml = "<info levelsNumber=\"120\">\n";
  for (const STORED_LEVEL& entry : levels)
    xml += "  <level id=\"" + std::to_string(entry.level) + "\" result=\"" + std::to_string(entry.result) +
           "\" specialCards1=\"" + std::to_string(entry.ball1) + "\" specialCards2=\"" + std::to_string(entry.ball2) +
           "\" score=\"" + std::to_string(entry.score) + "\" specialCards3=\"" + std::to_string(entry.ball3) +
           "\" />\n";
  const std::string name = "player" + std::to_string(player) + (mode == 0 ? "" : "_p") + ".xml";
  writeFile(saves / name, xml + "</info>\n");
}

// A whole pack played with the same balls in every frame and the given running totals.
inline std::vector<STORED_LEVEL> playedPack(int pack, int result, int ball1, int ball2, const std::vector<int>& scores,
                                            int tenthBall3 = 0) {
  std::vector<STORED_LEVEL> levels;
  for (int frame = 0; frame < 10; ++frame)
    levels.push_back({pack * 10 + frame, result, ball1, ball2, scores[frame], frame == 9 ? tenthBall3 : 0});
  return levels;
}

// A number of the generated texts, read straight from the file (the game has not loaded it
// yet when the saves are written).
inline int generatedTextInt(const char* key) {
  pugi::xml_document texts;
  texts.load_file((std::filesystem::path(PINDRAKE_BUILD_DIR) / "Resources" / "texts" / "texts.xml").c_str());
  return texts.child("texts").child(key).attribute("text").as_int();
}

}  // namespace test_support
