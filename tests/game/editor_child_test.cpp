// The level editor played on the whole game: its real buttons, boxes and pictures.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "contact_sheet.h"
#include "engine/game.h"
#include "game/game_globals.h"
#include "game/scenes/editor/editor_scene.h"
#include "game/scenes/level/level_scene.h"
#include "game_child.h"

namespace {

using test_support::GAME_CHILD;
using test_support::GameChildTest;

// The developer's marker beside Resources: the editor key works and the widescreen borders
// stay away from the editor's panels.
void placeDebugMarker(GAME_CHILD&) { test_support::writeFile("debug_test.txt", ""); }

SCENE_CARD_GAME_EDITOR* editorScene() { return dynamic_cast<SCENE_CARD_GAME_EDITOR*>(gCurrentScene); }

// The editor opened on a level straight from the main menu, and one frame drawn. A first
// start plays full screen; the scenarios play in a window unless they ask otherwise.
SCENE_CARD_GAME_EDITOR& openEditor(GAME_CHILD& game, int32_t level, bool fullScreen = false) {
  gPlayers[gCurrentPlayer].isFullscreen = fullScreen ? 1 : 0;
  gCurrentLevel = level;
  changeScene(gCurrentScene, new SCENE_CARD_GAME_EDITOR());
  game.step();
  SCENE_CARD_GAME_EDITOR* editor = editorScene();
  CHILD_CHECK(editor != nullptr, "the editor is not the current scene");
  return *editor;
}

TEST_F(GameChildTest, TheEditorShowsAGeneratedLevelOnItsWideScreen) {
  play(placeDebugMarker, [](GAME_CHILD& game) {
    SCENE_CARD_GAME_EDITOR& editor = openEditor(game, 14);
    game.moveTo(1100, 200);
    game.step(2);
    int32_t width = 0, height = 0;
    const std::vector<uint8_t> picture = game.readBack(&width, &height);
    CHILD_CHECK(width == 1280 && height == 768, "the editor's picture is " + std::to_string(width) + " x " + std::to_string(height));
    CHILD_CHECK(editor.table.countCardsInUse() > 20, "level 15 has no cards");
    test_support::CONTACT_SHEET sheet(1);
    sheet.add(picture, width, height);
    CHILD_CHECK(sheet.write(std::string(PINDRAKE_BUILD_DIR) + "/editor-screen.png"), "no picture written");
  });
}

}  // namespace
