#include <gtest/gtest.h>

#include <string>

#include "engine/globals.h"
#include "game/card.h"
#include "game/card_flights.h"
#include "game/card_piles.h"
#include "game/game_globals.h"
#include "game/level_results.h"
#include "game/players.h"
#include "game/scenes/level/level_scene.h"
#include "gui/gui_button5.h"
#include "gui/gui_container.h"
#include "gui/gui_wlabel.h"
#include "primitives/sprite.h"
#include "level_fixture.h"

namespace {

// The level's start-up without a renderer, fonts or resources: null textures and fonts.
class LevelSceneStartUp : public StartedLevelTest {
 protected:
  static QEL::QS_VECTOR2 at(QEL::QC_GUI_OBJECT* widget) { return widget->fGetTransform()->fGetPosition(); }
};

TEST_F(LevelSceneStartUp, EverySlotHoldsAnEmptyCardWithTheLevelsLayerRange) {
  SCENE_CARD_GAME_LEVEL* level = start();
  for (int32_t i = 0; i < SCENE_CARD_GAME_LEVEL::MAX_LAYOUT_CARDS; ++i) {
    ASSERT_NE(level->cards[i], nullptr) << i;
    EXPECT_EQ(level->cards[i]->id, i);
    EXPECT_EQ(level->cards[i]->zLayerUpper, 100);
    EXPECT_EQ(level->cards[i]->zLayerLower, -100);
    EXPECT_FALSE(level->cards[i]->onTable);  // no level file here: an empty level
  }
  EXPECT_EQ(level->hoveredCard, -1);
  EXPECT_EQ(level->hoveredPile, -1);
  EXPECT_EQ(level->selectedPileCard, -1);
  EXPECT_EQ(level->draggedSlider, -1);
  EXPECT_EQ(level->levelResult.result, -1);
  EXPECT_EQ(level->levelResult.specialCards3, -1);
  EXPECT_EQ(level->levelResult.score, 0);
  EXPECT_TRUE(logged("START INIT! --- SCENE_CARD_GAME_LEVEL"));
}

TEST_F(LevelSceneStartUp, ThePlayScreenWidgetsCarryTheirIdsInTheirContainers) {
  gPlayers[0].reshuffles = 4;
  gPlayers[0].jokers = 2;
  gPlayers[0].money = 1234;
  SCENE_CARD_GAME_LEVEL* level = start();
  ASSERT_NE(level->guiContainer1, nullptr);
  ASSERT_NE(level->guiContainer2, nullptr);
  ASSERT_NE(level->stockContainer, nullptr);
  for (int32_t id : {0, 1, 2, 3, 4, 5}) EXPECT_NE(level->guiContainer2->fFindById(id), nullptr) << id;
  for (int32_t id : {6, 7, 8, 9, 10, 11, 12}) EXPECT_NE(level->guiContainer1->fFindById(id), nullptr) << id;
  for (int32_t id : {13, 14}) EXPECT_NE(level->stockContainer->fFindById(id), nullptr) << id;

  // The counters are children of their buttons, placed relative to them and 5 pixels up.
  EXPECT_EQ(level->reshufflesLabel->fGetParent(), level->reshuffleButton);
  EXPECT_EQ(level->reshufflesLabel->fGetText(), L"4");
  EXPECT_FLOAT_EQ(at(level->reshufflesLabel).x, 52.0f);
  EXPECT_FLOAT_EQ(at(level->reshufflesLabel).y, 19.0f);
  EXPECT_EQ(level->jokersLabel->fGetText(), L"2");
  EXPECT_EQ(level->moneyLabel->fGetText(), L"1234");
  EXPECT_EQ(level->moneyLabel->fGetAnchor(), 1);
  EXPECT_EQ(level->multiplierLabel->fGetText(), L"x1");
  EXPECT_FLOAT_EQ(at(level->pauseButton).x, 64.0f);
  EXPECT_FLOAT_EQ(at(level->pauseButton).y, 624.0f);
  // The three ball boxes' labels stand at the box + (0.2, 9) - 5.
  EXPECT_NEAR(at(level->rollLabels[1]).x, 182.2f, 1e-4);
  EXPECT_NEAR(at(level->rollLabels[1]).y, 44.0f, 1e-4);
}

TEST_F(LevelSceneStartUp, TheFrameLabelCountsFramesWithinThePack) {
  gCurrentLevel = 37;
  SCENE_CARD_GAME_LEVEL* level = start();
  const std::wstring text = level->frameLabel->fGetText();
  ASSERT_GE(text.size(), 2u);
  EXPECT_EQ(text.substr(text.size() - 2), L" 8");
}

TEST_F(LevelSceneStartUp, TheStockLabelsFollowTheStockThatTheLevelLeft) {
  SCENE_CARD_GAME_LEVEL* level = start();
  const float stockX = level->cardPiles->stockX;
  const float stockY = level->cardPiles->stockY;
  EXPECT_NE(stockX, CARD_PILES::STOCK_X);  // the deal centred the piles
  EXPECT_FLOAT_EQ(at(level->turnoversLabel).x, stockX - 37.0f - 18.0f);
  EXPECT_FLOAT_EQ(at(level->turnoversLabel).y, stockY + 58.0f - 20.0f - 5.0f);
  EXPECT_EQ(level->turnoversLabel->fGetText(), std::to_wstring(level->turnoversLeft));
  EXPECT_NEAR(level->turnoversTextLabel->fGetTransform()->_rotation.z, 0.9250245f, 1e-6);
  // The sprites on the stock were made before the level moved it.
  EXPECT_FLOAT_EQ(level->backingSprite->_node->_position.x, CARD_PILES::STOCK_X);
}

TEST_F(LevelSceneStartUp, ATenthFrameReplayShowsTheBallsAlreadyPlayed) {
  gCurrentLevel = 9;
  gTenthFrameBonus = 1;
  gTenthFrameKind = 4;
  gTenthFrameSecondBonus = 1;
  SCENE_CARD_GAME_LEVEL* level = start();
  EXPECT_EQ(level->rollLabels[0]->fGetText(), L"X");
  EXPECT_EQ(level->rollLabels[1]->fGetText(), L"X");
  EXPECT_EQ(level->rollLabels[2]->fGetText(), L"");

  gTenthFrameKind = 3;
  gTenthFrameSecondBonus = 0;
  gTenthFrameBall1 = 7;
  changeScene(gCurrentScene, level = new SCENE_CARD_GAME_LEVEL());
  EXPECT_EQ(level->rollLabels[0]->fGetText(), L"7");
  EXPECT_EQ(level->rollLabels[1]->fGetText(), L"/");
  EXPECT_EQ(level->rollLabels[2]->fGetText(), L"");
  // The tenth frame's state outlives the replaced scene.
  EXPECT_EQ(gTenthFrameBonus, 1);
  EXPECT_EQ(gTenthFrameKind, 3);
  EXPECT_EQ(gTenthFrameBall1, 7);

  gTenthFrameBonus = 0;
  changeScene(gCurrentScene, level = new SCENE_CARD_GAME_LEVEL());
  EXPECT_EQ(level->rollLabels[0]->fGetText(), L"");
}

TEST_F(LevelSceneStartUp, TheTutorialLendsOneJokerUntilItsJokerHintWasShown) {
  gCurrentLevel = 0;
  gPlayers[0].jokers = 0;
  SCENE_CARD_GAME_LEVEL* level = start();
  ASSERT_TRUE(level->isTutorial);
  EXPECT_EQ(gPlayers[0].jokers, 1);
  EXPECT_EQ(level->jokersLabel->fGetText(), L"1");

  gPlayers[0].jokers = 3;
  changeScene(gCurrentScene, new SCENE_CARD_GAME_LEVEL());
  EXPECT_EQ(gPlayers[0].jokers, 3);

  gPlayers[0].jokers = 0;
  gHintShown[7] = 1;
  changeScene(gCurrentScene, new SCENE_CARD_GAME_LEVEL());
  EXPECT_EQ(gPlayers[0].jokers, 0);
}

TEST_F(LevelSceneStartUp, LeavingAPausedLevelClearsThePauseAndLogsTheTeardown) {
  start();
  gIsPaused = 1;
  delete gCurrentScene;
  gCurrentScene = nullptr;
  EXPECT_EQ(gIsPaused, 0);
  EXPECT_TRUE(logged("START ~SCENE_CARD_GAME_LEVEL()"));
  EXPECT_TRUE(logged("END ~SCENE_CARD_GAME_LEVEL()"));
}

}  // namespace
