#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "game/card.h"
#include "game/card_flights.h"
#include "game/card_piles.h"
#include "game/game_entry.h"
#include "game/game_globals.h"
#include "game/scenes/base_scene.h"
#include "game/scenes/editor/editor_scene.h"
#include "game/scenes/level/level_scene.h"
#include "game/scenes/frames/frames_scene.h"
#include "game/scenes/level_packs/level_packs_scene.h"
#include "game/scenes/main_menu/main_menu_scene.h"
#include "game/players.h"
#include "save_folder_fixture.h"

namespace {

std::vector<std::string> gEvents;

// Overrides only what the tests follow; everything else is the base's.
class RECORDING_SCENE : public BASE_SCENE {
 public:
  explicit RECORDING_SCENE(std::string name) : _name(std::move(name)) {}
  ~RECORDING_SCENE() override { gEvents.push_back(_name + " deleted"); }

  void fInit() override {
    gEvents.push_back(_name + " init, current is " +
                      (gCurrentScene == this ? std::string("me") : std::string("other")));
  }
  void fUpdate() override {
    gEvents.push_back(_name + " update");
    if (_next != nullptr) {
      BASE_SCENE* next = _next;
      _next = nullptr;
      changeScene(this, next);
      // Nothing of this scene may be touched any more.
    }
  }
  void fKeyDown(int32_t code) override { gEvents.push_back(_name + " key " + std::to_string(code)); }

  BASE_SCENE* _next = nullptr;

 private:
  std::string _name;
};

class Scenes : public ::testing::Test {
 protected:
  void SetUp() override {
    gEvents.clear();
    gCurrentScene = nullptr;
  }
  void TearDown() override {
    delete gCurrentScene;
    gCurrentScene = nullptr;
  }
};

TEST_F(Scenes, UnhandledEventsAreIgnored) {
  RECORDING_SCENE* scene = new RECORDING_SCENE("menu");
  gCurrentScene = scene;
  gCurrentScene->fKeyUp(65);
  gCurrentScene->fMouseMove();
  gCurrentScene->fDraw();
  gCurrentScene->fReserved5();
  gCurrentScene->fReserved7();
  gCurrentScene->fReserved8();
  gCurrentScene->fReserved11();
  gCurrentScene->fOnError(-108);
  EXPECT_TRUE(gEvents.empty());
  gCurrentScene->fKeyDown(1);
  EXPECT_EQ(gEvents, (std::vector<std::string>{"menu key 1"}));
}

TEST_F(Scenes, ASceneHandsOverAndDeletesItself) {
  RECORDING_SCENE* first = new RECORDING_SCENE("first");
  RECORDING_SCENE* second = new RECORDING_SCENE("second");
  first->_next = second;
  gCurrentScene = first;

  gCurrentScene->fUpdate();
  EXPECT_EQ(gCurrentScene, second);
  EXPECT_EQ(gEvents, (std::vector<std::string>{"first update", "second init, current is me",
                                                "first deleted"}));
  gEvents.clear();
  // Only the new scene hears from the engine from now on.
  gCurrentScene->fUpdate();
  gCurrentScene->fKeyDown(4);
  EXPECT_EQ(gEvents, (std::vector<std::string>{"second update", "second key 4"}));
}

TEST_F(Scenes, AChainOfSwitches) {
  RECORDING_SCENE* a = new RECORDING_SCENE("a");
  RECORDING_SCENE* b = new RECORDING_SCENE("b");
  RECORDING_SCENE* c = new RECORDING_SCENE("c");
  a->_next = b;
  b->_next = c;
  gCurrentScene = a;
  gCurrentScene->fUpdate();
  gCurrentScene->fUpdate();
  EXPECT_EQ(gCurrentScene, c);
  EXPECT_EQ(std::count(gEvents.begin(), gEvents.end(), "a deleted"), 1);
  EXPECT_EQ(std::count(gEvents.begin(), gEvents.end(), "b deleted"), 1);
  EXPECT_EQ(std::count(gEvents.begin(), gEvents.end(), "c deleted"), 0);
}

TEST(SceneTimeStep, FollowsTheUpdatesOfThePreviousSecond) {
  EXPECT_FLOAT_EQ(sceneTimeStepFor(60), 1.0f / 60.0f);
  EXPECT_FLOAT_EQ(sceneTimeStepFor(2), 0.5f);
  // A stall: a step longer than half a second is no step at all.
  EXPECT_FLOAT_EQ(sceneTimeStepFor(1), 0.0f);
  EXPECT_FLOAT_EQ(sceneTimeStepFor(0), 0.0f);
  EXPECT_FLOAT_EQ(sceneTimeStepFor(-3), 0.0f);
}

TEST_F(Scenes, NoMainMenuBeforeTheGameIsInitialised) {
  gIsGameInited = 0;
  gIsGameReady = 0;
  createMainMenuScene();
  onSplashFinished();
  EXPECT_EQ(gCurrentScene, nullptr);
  EXPECT_EQ(gIsGameReady, 0);
}

TEST_F(Scenes, LeavingALevelClearsThePause) {
  SCENE_CARD_GAME_LEVEL* level = new SCENE_CARD_GAME_LEVEL();
  level->cardPiles = new CARD_PILES();
  level->cardPiles->init();
  level->cardFlights = new CARD_FLIGHTS();
  level->cards[0] = new CARD();
  gIsPaused = 1;
  RECORDING_SCENE* menu = new RECORDING_SCENE("menu");
  gCurrentScene = level;
  changeScene(level, menu);
  EXPECT_EQ(gIsPaused, 0);
  EXPECT_EQ(gCurrentScene, menu);
}

// Scene start-ups against a fresh save folder.
class SceneStartUp : public SaveFolderTest {
 protected:
  void SetUp() override {
    SaveFolderTest::SetUp();
    gCurrentScene = nullptr;
    gSceneKind = 0;
    gIsGameInited = 0;
    gIsGameReady = 0;
    gCurrentLevel = 0;
    gTenthFrameBonus = 0;
    for (int& attempts : gLevelAttempts) attempts = 0;
    for (uint8_t& shown : gHintShown) shown = 0;
  }
  void TearDown() override {
    delete gCurrentScene;
    gCurrentScene = nullptr;
    gIsGameInited = 0;
    gIsGameReady = 0;
    SaveFolderTest::TearDown();
  }
};

TEST_F(SceneStartUp, TheMainMenuComesUpBehindTheSplash) {
  gNumberOfPlayers = 2;
  gCurrentPlayer = 1;
  gPlayers[0].name = L"Ann";
  gPlayers[1].name = L"Bob";
  savePlayers();
  gNumberOfPlayers = 0;
  gCurrentPlayer = 0;
  gPlayers[0] = PLAYER_RECORD{};
  gPlayers[1] = PLAYER_RECORD{};

  gIsGameInited = 1;
  onSplashFinished();
  ASSERT_NE(dynamic_cast<SCENE_CARD_GAME_MAINMENU*>(gCurrentScene), nullptr);
  EXPECT_EQ(gSceneKind, 1);
  EXPECT_EQ(gIsGameReady, 1);
  // Its start-up read the players back.
  EXPECT_EQ(gNumberOfPlayers, 2);
  EXPECT_EQ(gCurrentPlayer, 1);
  EXPECT_EQ(gPlayers[1].name, L"Bob");
}

TEST_F(SceneStartUp, EveryScenesStartUpSetsItsKind) {
  gCurrentScene = new SCENE_CARD_GAME_LEVELPACKS();
  gCurrentScene->fInit();
  EXPECT_EQ(gSceneKind, 2);
  changeScene(gCurrentScene, new SCENE_CARD_GAME_FRAMES());
  EXPECT_EQ(gSceneKind, 3);
  changeScene(gCurrentScene, new SCENE_CARD_GAME_LEVEL());
  EXPECT_EQ(gSceneKind, 4);
  changeScene(gCurrentScene, new SCENE_CARD_GAME_EDITOR());
  EXPECT_EQ(gSceneKind, 5);
  changeScene(gCurrentScene, new SCENE_CARD_GAME_MAINMENU());
  EXPECT_EQ(gSceneKind, 1);
}

// Asks for the level packs at every update and key, and tells whether it was still the
// current scene once it had asked.
class ASKING_SCENE : public BASE_SCENE {
 public:
  ~ASKING_SCENE() override { gEvents.push_back("asker deleted, scene kind " + std::to_string(gSceneKind)); }
  void fInit() override {}
  void fUpdate() override { ask("update"); }
  void fKeyDown(int32_t) override { ask("key"); }

 private:
  void ask(const std::string& from) {
    requestScene(scene_kind::LEVEL_PACKS);
    gEvents.push_back(from + " asked, " + (gCurrentScene == this ? "still current" : "gone"));
  }
};

TEST_F(SceneStartUp, TheAskedForSceneComesOnceTheUpdateOrKeyHasReturned) {
  for (const std::string from : {"update", "key"}) {
    gEvents.clear();
    gCurrentScene = new ASKING_SCENE();
    if (from == "key") {
      onKeyDown(13);
    } else {
      onGameUpdate(0);
    }
    ASSERT_NE(dynamic_cast<SCENE_CARD_GAME_LEVELPACKS*>(gCurrentScene), nullptr) << from;
    // The packs had started up (their kind is set) before the scene that asked was deleted.
    EXPECT_EQ(gEvents, (std::vector<std::string>{from + " asked, still current", "asker deleted, scene kind 2"}));
    delete gCurrentScene;
    gCurrentScene = nullptr;
  }
}

TEST_F(SceneStartUp, TheLevelSetsUpItsCardModel) {
  gCurrentLevel = 3;
  SCENE_CARD_GAME_LEVEL* level = new SCENE_CARD_GAME_LEVEL();
  gCurrentScene = level;
  level->fInit();
  ASSERT_NE(level->cardPiles, nullptr);
  ASSERT_NE(level->cardFlights, nullptr);
  EXPECT_EQ(level->cardPiles->owner, level);
  EXPECT_EQ(level->cardPiles->cardWidth, 75);
  EXPECT_EQ(level->cardFlights->activeCount(), 0);
  EXPECT_EQ(level->windowSlideDistance, 700);
  EXPECT_EQ(level->cardSlideDistance, 200);
  EXPECT_EQ(level->bannerSlideDistance, 200);
  EXPECT_EQ(gLevelAttempts[3], 1);
  // No level file here: the reading is logged and the piles still hold a deal.
  EXPECT_TRUE(logged("Levels/Level_3.xml"));
  EXPECT_GE(level->cardPiles->pileCount, 1);
}

TEST_F(SceneStartUp, TheTenthFramesReplayIsNoNewAttempt) {
  gCurrentLevel = 9;
  gTenthFrameBonus = 1;
  gCurrentScene = new SCENE_CARD_GAME_LEVEL();
  gCurrentScene->fInit();
  EXPECT_EQ(gLevelAttempts[9], 0);
  gTenthFrameBonus = 0;
}

TEST_F(SceneStartUp, TheTutorialRunsUntilTheSecondLevelIsOpen) {
  SCENE_CARD_GAME_LEVEL* level = new SCENE_CARD_GAME_LEVEL();
  gCurrentScene = level;
  level->fInit();
  EXPECT_TRUE(level->isTutorial);

  setLevelResult(gCurrentPlayer, 1, kResultField, 1, 0);
  changeScene(gCurrentScene, level = new SCENE_CARD_GAME_LEVEL());
  EXPECT_FALSE(level->isTutorial);

  setLevelResult(gCurrentPlayer, 1, kResultField, 0, 0);
  gGameMode = 1;
  changeScene(gCurrentScene, level = new SCENE_CARD_GAME_LEVEL());
  EXPECT_FALSE(level->isTutorial);
}

TEST_F(SceneStartUp, TheSecondLevelMarksTheTutorialHintsShown) {
  gCurrentLevel = 1;
  gCurrentScene = new SCENE_CARD_GAME_LEVEL();
  gCurrentScene->fInit();
  for (int hint = 0; hint <= 28; ++hint) EXPECT_EQ(gHintShown[hint], 1) << hint;
  EXPECT_EQ(gHintShown[29], 0);
}

TEST_F(SceneStartUp, TheEditorOpensOnTheCurrentLevelWithSeeThroughCards) {
  std::filesystem::create_directories("Levels");
  test_support::writeFile("Levels/Level_7.xml",
                          "<level countOfCards=\"2\" numberOfReservePiles=\"3\">"
                          "<card id=\"4\" zLayer=\"2\" x=\"300\" y=\"200\" assignedValue=\"5\"/>"
                          "<card id=\"299\" zLayer=\"100\" x=\"600\" y=\"400\" assignedValue=\"-1\" isSpecial=\"true\"/>"
                          "</level>");
  gCurrentLevel = 7;
  SCENE_CARD_GAME_EDITOR* editor = new SCENE_CARD_GAME_EDITOR();
  gCurrentScene = editor;
  editor->fInit();
  EXPECT_EQ(gSceneKind, 5);
  EXPECT_EQ(editor->table.countCardsInUse(), 2);
  EXPECT_EQ(editor->table.cards[4].value, 5);
  EXPECT_EQ(editor->table.countOfSpecialCards, 1);
  EXPECT_EQ(editor->numberOfReservePiles, 3);
  EXPECT_FALSE(editor->table.isModified);
  // Editor cards are drawn see-through so that the cards under them show.
  EXPECT_EQ(editor->cardColors[4] >> 24, 200u);
  EXPECT_EQ(editor->cardColors[299] >> 24, 200u);
  std::filesystem::remove_all("Levels");
}

}  // namespace
