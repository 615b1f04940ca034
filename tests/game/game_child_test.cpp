#include <gtest/gtest.h>

#include "game/scenes/main_menu/main_menu_scene.h"
#include "game_child.h"

namespace {

using test_support::GAME_CHILD;
using test_support::GameChildTest;

TEST_F(GameChildTest, TheGameStartsAtADrawnMainMenuAndKeepsItsSaveFolders) {
  play([](GAME_CHILD& game) {
    CHILD_CHECK(dynamic_cast<SCENE_CARD_GAME_MAINMENU*>(gCurrentScene) != nullptr, "not the main menu");
    game.step(3);
    const std::vector<uint8_t> picture = game.readBack();
    CHILD_CHECK(picture.size() == 1024u * 768u * 4u, "no picture");
    long lit = 0;
    for (size_t i = 0; i + 3 < picture.size(); i += 4)
      if (picture[i] + picture[i + 1] + picture[i + 2] > 48) ++lit;
    CHILD_CHECK(lit > 1024L * 768L / 2, "the main menu covers less than half the picture");
    CHILD_CHECK(std::filesystem::is_directory(game.saves()), "no save folder");
  });
  EXPECT_TRUE(std::filesystem::exists(statistics() / "statistics.xml"));
}

}  // namespace
