// The level packs and the frames as a player sees them, read back from the renderer into
// build/menu-screens-packs-frames.png: both pages of packs, a closed pack's information
// panel, the professional panel, and a score sheet with strikes, spares, misses and a tenth
// frame with its bonus balls, and a new player's first visit with its hint.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "contact_sheet.h"
#include "game/scenes/frames/frames_scene.h"
#include "game/scenes/level_packs/level_packs_scene.h"
#include "game_child.h"
#include "menu_scenario.h"

namespace {

using test_support::GAME_CHILD;
using test_support::GameChildTest;
using test_support::STORED_LEVEL;
using test_support::currentScene;
using test_support::kDisabledFrame;
using test_support::kMenuSlide;
using test_support::labelText;

// Pixels (RGB summed) that differ between two pictures inside a rectangle.
long changedPixels(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, int left, int top, int right,
                   int bottom) {
  long changed = 0;
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) {
      const size_t i = (size_t(y) * 1024 + size_t(x)) * 4;
      if (std::abs(a[i] - b[i]) + std::abs(a[i + 1] - b[i + 1]) + std::abs(a[i + 2] - b[i + 2]) > 60) ++changed;
    }
  return changed;
}

std::vector<uint8_t> settledPicture(GAME_CHILD& game, test_support::CONTACT_SHEET& sheet) {
  game.wait(0.7f);
  std::vector<uint8_t> picture = game.readBack();
  CHILD_CHECK(picture.size() == 1024u * 768u * 4u, "no picture read back");
  sheet.add(picture, 1024, 768);
  return picture;
}

TEST_F(GameChildTest, PacksAndScoreSheetAsThePlayerSeesThem) {
  play(
      [](GAME_CHILD& game) {
        test_support::seedPlayers(game.saves(), {"Sheet", "Newcomer"});
        // A first pack with a bit of everything, the second begun.
        test_support::seedResults(game.saves(), 0, 0,
                                  {{0, 4, 10, 0, 20},
                                   {1, 3, 7, 3, 35},
                                   {2, 2, 5, 2, 42},
                                   {3, 4, 10, 0, 62},
                                   {4, 4, 10, 0, 82},
                                   {5, 3, 0, 10, 101},
                                   {6, 3, 9, 1, 119},
                                   {7, 2, 8, 0, 127},
                                   {8, 4, 10, 0, 157},
                                   {9, 4, 10, 10, 187, 10},
                                   {10, 2, 4, 4, 8},
                                   {11, 1, 0, 0, 0}});
        test_support::seedResults(game.saves(), 0, 1, {{0, 3, 6, 4, 14}, {1, 1, 0, 0, 0}});
      },
      [](GAME_CHILD& game) {
        test_support::CONTACT_SHEET sheet(3);
        changeScene(gCurrentScene, new SCENE_CARD_GAME_LEVELPACKS());
        const std::vector<uint8_t> firstPage = settledPicture(game, sheet);

        game.click(919.0f, 380.0f);
        const std::vector<uint8_t> secondPage = settledPicture(game, sheet);
        CHILD_CHECK(changedPixels(firstPage, secondPage, 200, 150, 820, 700) > 20000, "the page did not turn");

        // Pack 9 is closed: its panel comes down over a shade.
        game.click(300.0f, 567.0f);
        const std::vector<uint8_t> panel = settledPicture(game, sheet);
        CHILD_CHECK(changedPixels(secondPage, panel, 160, 50, 860, 540) > 100000, "no information panel drawn");
        game.click(685.0f, 443.0f);
        game.wait(0.4f);

        gGameMode = 1;
        loadLevelsInfo(-1);  // as the main menu's mode selection does
        changeScene(gCurrentScene, new SCENE_CARD_GAME_LEVELPACKS());
        game.wait(0.4f);
        game.click(300.0f, 285.0f);
        settledPicture(game, sheet);
        gGameMode = 0;

        // A new player's first visit: the hint strip over the packs, the arrow under the first.
        gCurrentPlayer = 1;
        loadLevelsInfo(-1);  // as the main menu does for the player it makes current
        changeScene(gCurrentScene, new SCENE_CARD_GAME_LEVELPACKS());
        const std::vector<uint8_t> firstVisit = settledPicture(game, sheet);
        CHILD_CHECK(changedPixels(firstPage, firstVisit, 0, 50, 1024, 120) > 30000, "no hint strip drawn");
        CHILD_CHECK(changedPixels(firstPage, firstVisit, 300, 390, 340, 430) > 200, "no hint arrow drawn");
        gCurrentPlayer = 0;

        gCurrentPack = 0;
        changeScene(gCurrentScene, new SCENE_CARD_GAME_FRAMES());
        const std::vector<uint8_t> frames = settledPicture(game, sheet);
        // The sheet's plate with its marks and totals.
        CHILD_CHECK(changedPixels(firstPage, frames, 82, 602, 942, 732) > 20000, "no score sheet drawn");

        CHILD_CHECK(sheet.write(std::string(PINDRAKE_BUILD_DIR) + "/menu-screens-packs-frames.png"),
                    "the contact sheet was not written");
      });
  EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(PINDRAKE_BUILD_DIR) / "menu-screens-packs-frames.png"));
}

}  // namespace
