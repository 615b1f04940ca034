#pragma once
// The level editor as its start-up makes it, in a fresh save folder whose Resources holds a
// Levels folder of the test's own, without a renderer: no pictures, so the widgets take no
// clicks, but the pointer, the mouse buttons, the keys and the frames reach the scene as
// the game hands them over. A card is 75 x 116 here, the size of the game's pictures.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <string>

#include "engine/game.h"
#include "engine/globals.h"
#include "engine/input.h"
#include "game/game_entry.h"
#include "game/game_globals.h"
#include "game/scenes/editor/editor_scene.h"
#include "game/scenes/level/level_scene.h"
#include "level_geometry/editor_cards.h"
#include "level_geometry/level_file.h"
#include "save_folder_fixture.h"

// One card of a level file written by a test.
struct TEST_CARD {
  int32_t slot;
  float x, y;
  int32_t zLayer = 0;
  int32_t value = -1;
  bool special = false;
  float degrees = 0.0f;
};

// Writes a level file as the editor would, with the level's four numbers.
inline bool writeTestLevel(const std::filesystem::path& file, int32_t level, std::initializer_list<TEST_CARD> cards,
                           LEVEL_SETTINGS settings = {1, 40, 2, 2}) {
  EDITOR_CARD_TABLE table;
  for (const TEST_CARD& card : cards) {
    table.cards[card.slot].putOnTable(card.x, card.y, card.zLayer, card.value, card.special);
    table.cards[card.slot].angle = card.degrees * DEGREES_TO_RADIANS;
  }
  pugi::xml_document document;
  writeLevel(document, table, level, settings);
  return saveLevelDocument(document, file);
}

class EditorSceneTest : public SaveFolderTest {
 protected:
  static constexpr int kUpdatesPerSecond = 60;

  void SetUp() override {
    SaveFolderTest::SetUp();
    QEL::qcGAME = QEL::QC_GAME::fGetGame();
    QEL::qcGAME->_settings._updatesPerSecond = kUpdatesPerSecond;
    gCurrentScene = nullptr;
    gCurrentLevel = 0;
    gCurrentPack = 0;
    gNumberOfPlayers = 1;
    gCurrentPlayer = 0;
    gTenthFrameBonus = 0;
    std::filesystem::create_directories("Levels");
  }

  void TearDown() override {
    delete gCurrentScene;
    gCurrentScene = nullptr;
    std::error_code error;
    std::filesystem::remove_all("Levels", error);
    QEL::qcGAME->_settings._resolution = {1024, 768};
    QEL::qcGAME->_settings._fullscreen = 0;
    QEL::qcGAME = nullptr;
    SaveFolderTest::TearDown();
  }

  // Writes Levels/Level_<level>.xml as the editor would, with the level's four numbers.
  static void writeLevelFile(int32_t level, std::initializer_list<TEST_CARD> cards,
                             LEVEL_SETTINGS settings = {1, 40, 2, 2}) {
    ASSERT_TRUE(writeTestLevel(levelFilePath(level), level, cards, settings));
  }

  // The editor started on the level, as the level's Space key starts it.
  SCENE_CARD_GAME_EDITOR& open(int32_t level) {
    gCurrentLevel = level;
    auto* editor = new SCENE_CARD_GAME_EDITOR();
    gCurrentScene = editor;
    editor->fInit();
    return *editor;
  }
  SCENE_CARD_GAME_EDITOR& editor() { return *dynamic_cast<SCENE_CARD_GAME_EDITOR*>(gCurrentScene); }
  bool editorIsCurrent() const { return dynamic_cast<SCENE_CARD_GAME_EDITOR*>(gCurrentScene) != nullptr; }

  // The pointer moves; the scene hears of it as the game's pointer callback tells it.
  void pointTo(float x, float y) {
    _input._mouse._position = {static_cast<int32_t>(x), static_cast<int32_t>(y)};
    onMouseMove(0);
  }
  void press(int32_t code) {
    _input.fOnKeyDown(static_cast<uint32_t>(code));
    onKeyDown(static_cast<QEL::QT_CALLBACK_ARG>(code));
  }
  void release(int32_t code) {
    _input.fOnKeyUp(static_cast<uint32_t>(code));
    onKeyUp(static_cast<QEL::QT_CALLBACK_ARG>(code));
  }
  // Update steps of 1/60 s each.
  void frame(int count = 1) {
    for (int i = 0; i < count; ++i) {
      gCurrentScene->fUpdate();
      _input.fEndFrame();
    }
  }
  void key(int32_t code) {
    press(code);
    frame();
    release(code);
    frame();
  }
  void click(float x, float y) {
    pointTo(x, y);
    key(1);
  }
  void shiftClick(float x, float y) {
    press(16);
    click(x, y);
    release(16);
  }
  // Presses the left button at (x, y), moves to (toX, toY) over the frames and lets go.
  void drag(float x, float y, float toX, float toY, int frames = 10) {
    pointTo(x, y);
    press(1);
    frame();
    for (int i = 1; i <= frames; ++i) {
      pointTo(x + (toX - x) * static_cast<float>(i) / static_cast<float>(frames),
              y + (toY - y) * static_cast<float>(i) / static_cast<float>(frames));
      frame();
    }
    release(1);
    frame();
  }

  // Runs the body in a child process (which may give up its rights or its disk space) and
  // expects it to end with 0; the body ends the child with a reason on stderr through
  // test_support::childFail when a check fails.
  static void inChildProcess(const std::function<void()>& body) {
    std::fflush(nullptr);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      body();
      std::_Exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
  }

  QEL::QK_BUTTON _input;
};
