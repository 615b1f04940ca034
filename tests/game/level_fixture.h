#pragma once
// Level scenes for the tests. makeBareLevelScene (bare_level_scene.h): a level scene with its
// piles, flights and 300 empty card slots, as its start-up makes them, but without a
// renderer, resources or level file: the play logic's tests start from here.
// StartedLevelTest: a level scene made by its own start-up in a temporary save folder, still
// without a renderer, fonts or resources (its sprites have no textures, its labels no fonts,
// no level file is found).
#include <gtest/gtest.h>

#include <memory>

#include "bare_level_scene.h"
#include "game/card.h"
#include "game/card_flights.h"
#include "game/card_piles.h"
#include "game/game_globals.h"
#include "game/scenes/level/level_scene.h"
#include "game/texts.h"
#include "save_folder_fixture.h"

// The deal-in of a started level over at once: the layout lies at its places and the
// interface bars stand in view (the update would fly and slide them there).
inline void settleDealtLevel(SCENE_CARD_GAME_LEVEL& level) {
  level.transitionState = 0;
  level.leaveTimer = 0.0f;
  for (CARD* card : level.cards) {
    if (card == nullptr || !card->onTable) continue;
    card->currentX = card->tableX;
    card->currentY = card->tableY;
  }
}

// A new level scene made current as a scene change makes it, dealt and still: the layout lies
// at its places, the interface bars stand in view and nothing is open. Null when the change
// left no level scene current.
inline SCENE_CARD_GAME_LEVEL* enterDealtLevel(int32_t index) {
  gCurrentLevel = index;
  gCurrentPack = index / 10;
  changeScene(gCurrentScene, new SCENE_CARD_GAME_LEVEL());
  auto* level = dynamic_cast<SCENE_CARD_GAME_LEVEL*>(gCurrentScene);
  if (level != nullptr) settleDealtLevel(*level);
  return level;
}

class StartedLevelTest : public SaveFolderTest {
 protected:
  void SetUp() override {
    SaveFolderTest::SetUp();
    gCurrentScene = nullptr;
    gCurrentLevel = 3;
    gCurrentPack = 0;
    gNumberOfPlayers = 1;
    gIsPaused = 0;
    clearTenthFrame();
    for (int& attempts : gLevelAttempts) attempts = 0;
    for (uint8_t& shown : gHintShown) shown = 0;
  }
  void TearDown() override {
    delete gCurrentScene;
    gCurrentScene = nullptr;
    gIsPaused = 0;
    clearTenthFrame();
    gTexts.reset();
    SaveFolderTest::TearDown();
  }

  // A new level scene, started: the first one, or the one that replaces the current scene
  // as a scene change does.
  SCENE_CARD_GAME_LEVEL* start() {
    auto* level = new SCENE_CARD_GAME_LEVEL();
    if (gCurrentScene == nullptr) {
      gCurrentScene = level;
      level->fInit();
    } else {
      changeScene(gCurrentScene, level);
    }
    return level;
  }

  static void clearTenthFrame() {
    gTenthFrameBonus = 0;
    gTenthFrameSecondBonus = 0;
    gTenthFrameKind = 0;
    gTenthFrameBall1 = 0;
    gTenthFrameRecorded = 0;
  }
};
