// What is missing or broken among the Resources is said once, in one message box, and the
// game goes on to its main menu: a whole folder of one kind (the sounds, the fonts) gives one
// box naming the folder however many of its files the game asks for, and texts that cannot
// be parsed give one box naming their file, every text then empty; any other file that cannot
// be read gives one box however many fonts or scenes ask for it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "game/fonts_sounds.h"
#include "game/game_globals.h"
#include "game/scenes/main_menu/main_menu_scene.h"
#include "game/texts.h"
#include "game_child.h"
#include "primitives/font.h"

namespace {

using test_support::countBoxes;
using test_support::GAME_CHILD;
using test_support::gBoxes;

bool mainMenuShows() { return dynamic_cast<SCENE_CARD_GAME_MAINMENU*>(gCurrentScene) != nullptr; }

// The boxes, one "[caption] text" a line, for a failure's message.
std::string told(const std::vector<std::pair<std::string, std::string>>& boxes) {
  std::string lines;
  for (const auto& [text, caption] : boxes) lines += "[" + caption + "] " + text + "\n";
  return lines;
}

// Half a second more of the menu says nothing of its own.
void menuStaysWithoutMoreBoxes(GAME_CHILD& game) {
  const std::size_t before = gBoxes.size();
  game.step(30);
  CHILD_CHECK(mainMenuShows(), "the game left its main menu");
  CHILD_CHECK(gBoxes.size() == before, "the menu raised boxes of its own");
}

class ResourcesSaidOnce : public test_support::GameChildTest {};

TEST_F(ResourcesSaidOnce, AMissingFolderOfSoundsOrFontsGivesOneBoxEach) {
  play(
      [](GAME_CHILD& game) {
        std::filesystem::remove_all(game.resources() / "sounds");
        std::filesystem::remove_all(game.resources() / "font");
        countBoxes();
      },
      [](GAME_CHILD& game) {
        const std::string said = told(gBoxes);
        CHILD_CHECK(gBoxes.size() == 2, said);
        CHILD_CHECK(gBoxes[0].first.find((game.resources() / "sounds").string() + "\n") != std::string::npos, said);
        CHILD_CHECK(gBoxes[1].first.find((game.resources() / "font").string() + "\n") != std::string::npos, said);
        CHILD_CHECK(gBoxes[0].second == "Pindrake", said);
        CHILD_CHECK(game.logged("No resource sounds track4.ogg: its folder is missing or empty"),
                    "the last sound asked for is not logged");
        CHILD_CHECK(gSounds[0] == nullptr && gMusicTracks[0] == nullptr, "a sound without its file");
        CHILD_CHECK(findFont(20, 0) != nullptr && findFont(20, 0)->_glyphCount == 0, "a font without its file");
        menuStaysWithoutMoreBoxes(game);
      });
}

TEST_F(ResourcesSaidOnce, TextsCutInHalfGiveOneBoxNamingTheirFileAndEveryTextIsEmpty) {
  play(
      [](GAME_CHILD& game) {
        const std::string texts = game.generatedResource("texts", "texts.xml");
        game.writeResource("texts", "texts.xml", texts.substr(0, texts.size() / 2));
        countBoxes();
      },
      [](GAME_CHILD& game) {
        CHILD_CHECK(gBoxes.size() == 1, std::to_string(gBoxes.size()) + " boxes");
        const std::string path = (game.resources() / "texts" / "texts.xml").string();
        CHILD_CHECK(gBoxes[0].first.find(path) != std::string::npos, gBoxes[0].first);
        CHILD_CHECK(gBoxes[0].second == "Pindrake", gBoxes[0].second);
        CHILD_CHECK(getTextString("game_name").empty() && getText(L"game_name").empty(), "a text of half a file");
        menuStaysWithoutMoreBoxes(game);
      });
}

// A font description that nine fonts share, a page five of them draw from and the menu's
// background that both the start-up and the menu ask for: each unreadable in a way of its
// own, each said in one box whatever the number of askers, its repeats only in the log.
TEST_F(ResourcesSaidOnce, EachUnreadableFileGivesOneBoxAndItsRepeatsAreLogged) {
  play(
      [](GAME_CHILD& game) {
        std::filesystem::remove(game.resources() / "font" / "font20.fnt");
        std::filesystem::create_symlink("/dev/zero", game.resources() / "font" / "font20.fnt");
        for (const char* file : {"font/font33.fnt", "font/font20_0.png", "main_menu/background.png"}) {
          std::filesystem::remove(game.resources() / file);
          std::filesystem::create_directory(game.resources() / file);
        }
        countBoxes();
      },
      [](GAME_CHILD& game) {
        game.step(30);
        CHILD_CHECK(mainMenuShows(), "the game left its main menu");
        std::vector<std::pair<std::string, std::string>> said = gBoxes;
        std::sort(said.begin(), said.end());
        const std::vector<std::pair<std::string, std::string>> once = {{"background.png", "Not find"},
                                                                        {"font font33.fnt", "Resource not found "},
                                                                        {"font20.fnt", "Cant load content "},
                                                                        {"font20_0.png", "Not find"}};
        CHILD_CHECK(said == once, told(said));
        for (const char* file : {"font/font20.fnt", "font/font33.fnt", "font/font20_0.png", "main_menu/background.png"})
          CHILD_CHECK(game.logged("No box again for " + std::string(file) + ", said before: "), file);
        CHILD_CHECK(findFont(20, 0) != nullptr && findFont(20, 0)->_glyphCount == 0, "a font without its description");
      });
}

}  // namespace
