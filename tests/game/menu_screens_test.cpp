// Every menu screen in one picture for a person to look over, read back from the renderer into
// build/menu-screens.png: the main menu flying in and at rest with each of its windows and
// dialogs, every page of the trophies among them; the level packs on both pages, a closed
// pack's information panel, the professional panel and a new player's first visit with its
// hint; and a score sheet with strikes, spares, misses and a tenth frame with its bonus balls.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "contact_sheet.h"
#include "game/level_results.h"
#include "game/scenes/frames/frames_scene.h"
#include "game/scenes/level_packs/level_packs_scene.h"
#include "game_child.h"
#include "menu_scenario.h"

namespace {

using test_support::CONTACT_SHEET;
using test_support::GAME_CHILD;
using test_support::GameChildTest;
using namespace test_support::main_menu_scenario;

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

// The scenario draws only every few passes; each picture it keeps is drawn afresh.
void shoot(GAME_CHILD& game, CONTACT_SHEET& sheet) {
  game.step();
  game.draw();
  CHILD_CHECK(sheet.addBackBuffer(), "no picture");
}

std::vector<uint8_t> settledPicture(GAME_CHILD& game, CONTACT_SHEET& sheet) {
  game.wait(0.7f);
  game.draw();
  std::vector<uint8_t> picture = game.readBack();
  CHILD_CHECK(picture.size() == 1024u * 768u * 4u, "no picture read back");
  sheet.add(picture, 1024, 768);
  return picture;
}

// The main menu with Bob, who has played nothing yet: each window and dialog open at rest.
void mainMenuScreens(GAME_CHILD& game, CONTACT_SHEET& sheet) {
  // Halfway through the flight in.
  game.wait(0.15f);
  shoot(game, sheet);
  gPlayers[gCurrentPlayer].trophies[0] = 1;
  gPlayers[gCurrentPlayer].trophies[3] = 1;
  tourMainMenu(game, L"\u0416\u0435\u043D\u044F", [&](const std::string&) { shoot(game, sheet); });
}

// The packs and the score sheet of Ann, who has played a whole first pack and begun the second;
// then Zoë's first visit.
void packsAndFramesScreens(GAME_CHILD& game, CONTACT_SHEET& sheet) {
  gCurrentPlayer = 0;
  loadLevelsInfo(-1);  // as the main menu does for the player it makes current
  changeScene(gCurrentScene, new SCENE_CARD_GAME_LEVELPACKS());
  const std::vector<uint8_t> firstPage = settledPicture(game, sheet);

  game.clickButton(919.0f, 380.0f);
  const std::vector<uint8_t> secondPage = settledPicture(game, sheet);
  CHILD_CHECK(changedPixels(firstPage, secondPage, 200, 150, 820, 700) > 20000, "the page did not turn");

  // Pack 9 is closed: its panel comes down over a shade.
  game.clickButton(300.0f, 567.0f);
  const std::vector<uint8_t> panel = settledPicture(game, sheet);
  CHILD_CHECK(changedPixels(secondPage, panel, 160, 50, 860, 540) > 100000, "no information panel drawn");
  game.clickButton(685.0f, 443.0f);
  game.wait(0.4f);

  gGameMode = 1;
  loadLevelsInfo(-1);  // as the main menu's mode selection does
  changeScene(gCurrentScene, new SCENE_CARD_GAME_LEVELPACKS());
  game.wait(0.4f);
  game.clickButton(300.0f, 285.0f);
  settledPicture(game, sheet);
  gGameMode = 0;

  gCurrentPack = 0;
  changeScene(gCurrentScene, new SCENE_CARD_GAME_FRAMES());
  const std::vector<uint8_t> frames = settledPicture(game, sheet);
  // The sheet's plate with its marks and totals.
  CHILD_CHECK(changedPixels(firstPage, frames, 82, 602, 942, 732) > 20000, "no score sheet drawn");

  // A new player's first visit: the hint strip over the packs, the arrow under the first.
  gCurrentPlayer = 2;
  loadLevelsInfo(-1);
  changeScene(gCurrentScene, new SCENE_CARD_GAME_LEVELPACKS());
  const std::vector<uint8_t> firstVisit = settledPicture(game, sheet);
  CHILD_CHECK(changedPixels(firstPage, firstVisit, 0, 0, 1024, 46) > 20000, "no hint strip drawn");
  CHILD_CHECK(changedPixels(firstPage, firstVisit, 300, 390, 340, 430) > 200, "no hint arrow drawn");
}

TEST_F(GameChildTest, MenuScreensContactSheet) {
  play(
      [](GAME_CHILD& game) {
        test_support::seedPlayers(game.saves(), {"Ann", "Bob", "Zo\xC3\xAB"}, 1);
        // Ann's first pack with a bit of everything, the second begun.
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
        CONTACT_SHEET sheet(4);
        // The pictures are what this scenario checks, and only those it keeps: the passes
        // between them need not be drawn.
        game.drawEvery = 4;
        mainMenuScreens(game, sheet);
        packsAndFramesScreens(game, sheet);
        CHILD_CHECK(sheet.write(std::string(PINDRAKE_BUILD_DIR) + "/menu-screens.png"), "the sheet was not written");
      });
  EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(PINDRAKE_BUILD_DIR) / "menu-screens.png"));
}

}  // namespace
