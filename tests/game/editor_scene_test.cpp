// The level editor driven by the pointer, the mouse buttons, the keys and its frames: picking,
// dragging and turning cards, new cards and skittles, moving with keys, layers, the card
// line, level stepping and a full level.
#include <gtest/gtest.h>

#include <cmath>

#include "editor_fixture.h"

namespace {

using enum platform::KEY;

using EditorCommands = EditorSceneTest;

TEST_F(EditorCommands, AnUnchangedLevelStepsToItsNeighboursWithoutAsking) {
  writeLevelFile(3, {{0, 200, 200}, {1, 400, 200}});
  writeLevelFile(4, {{0, 200, 200}, {1, 400, 200}, {2, 600, 200}});
  SCENE_CARD_GAME_EDITOR& editor = open(3);
  EXPECT_EQ(editor.table.countCardsInUse(), 2);
  key(RIGHT_ARROW);
  EXPECT_FALSE(editor.isQuestionShown);
  EXPECT_EQ(gCurrentLevel, 4);
  EXPECT_EQ(editor.table.countCardsInUse(), 3);
  key(LEFT_ARROW);
  EXPECT_EQ(gCurrentLevel, 3);
  EXPECT_EQ(editor.table.countCardsInUse(), 2);
  EXPECT_FALSE(editor.table.isModified);
}

TEST_F(EditorCommands, LevelsStepByOneOrByTenWithTHeldAndStopAtTheEnds) {
  SCENE_CARD_GAME_EDITOR& editor = open(198);
  key(RIGHT_ARROW);
  EXPECT_EQ(gCurrentLevel, 199);
  // At the end the level does not move but is read again from its file.
  writeLevelFile(199, {{5, 300, 300}});
  key(RIGHT_ARROW);
  EXPECT_EQ(gCurrentLevel, 199);
  EXPECT_TRUE(editor.table.cards[5].inUse);

  press(KEY_T);
  gCurrentLevel = 185;
  key(RIGHT_ARROW);
  EXPECT_EQ(gCurrentLevel, 195);
  gCurrentLevel = 190;
  key(RIGHT_ARROW);
  EXPECT_EQ(gCurrentLevel, 199);
  gCurrentLevel = 5;
  key(LEFT_ARROW);
  EXPECT_EQ(gCurrentLevel, 0);
  key(LEFT_ARROW);
  EXPECT_EQ(gCurrentLevel, 0);
  gCurrentLevel = 25;
  key(LEFT_ARROW);
  EXPECT_EQ(gCurrentLevel, 15);
  release(KEY_T);
  key(LEFT_ARROW);
  EXPECT_EQ(gCurrentLevel, 14);
}

TEST_F(EditorCommands, ADraggedCardFollowsThePointerAndTheLevelThenAsksBeforeStepping) {
  writeLevelFile(2, {{7, 300, 300}});
  SCENE_CARD_GAME_EDITOR& editor = open(2);
  // Picking a card and letting go where it lies changes nothing.
  click(310, 320);
  EXPECT_EQ(editor.table.currentCard, 7);
  EXPECT_TRUE(editor.isCardPanelShown);
  EXPECT_FALSE(editor.table.isModified);

  drag(310, 320, 410, 270);
  // The card keeps where the pointer took hold of it.
  EXPECT_FLOAT_EQ(editor.table.cards[7].x, 400);
  EXPECT_FLOAT_EQ(editor.table.cards[7].y, 250);
  EXPECT_TRUE(editor.table.isModified);

  key(RIGHT_ARROW);
  EXPECT_TRUE(editor.isQuestionShown);
  EXPECT_EQ(gCurrentLevel, 2);
  EXPECT_FLOAT_EQ(editor.table.cards[7].x, 400);
}

TEST_F(EditorCommands, TheRightButtonTurnsTheCurrentCardAsFarAsThePointerTravels) {
  writeLevelFile(2, {{0, 300, 300}});
  SCENE_CARD_GAME_EDITOR& editor = open(2);
  click(300, 300);
  pointTo(300, 300);
  frame(30);  // the turn's reference settles on the pointer
  press(RIGHT_BUTTON);
  frame(10);
  EXPECT_FLOAT_EQ(editor.table.cards[0].angle, 0.0f);
  EXPECT_FALSE(editor.table.isModified);
  pointTo(340, 300);
  frame();
  // 40 pixels right of the reference: 40 x 1/60 s x 1.875 degrees, clockwise.
  EXPECT_NEAR(editor.table.cards[0].angle * RADIANS_TO_DEGREES, 40.0 / 60.0 * 1.875, 1e-4);
  frame(30);
  pointTo(300, 300);
  frame(30);
  const float turned = editor.table.cards[0].angle;
  EXPECT_GT(turned, 0.0f);
  pointTo(250, 300);
  frame(5);
  EXPECT_LT(editor.table.cards[0].angle, turned);
  release(RIGHT_BUTTON);
  const float released = editor.table.cards[0].angle;
  frame(5);
  EXPECT_FLOAT_EQ(editor.table.cards[0].angle, released);
  EXPECT_TRUE(editor.table.isModified);
}

TEST_F(EditorCommands, ShiftClicksGatherASelectionAndAClickOnTheTableDropsIt) {
  writeLevelFile(1, {{0, 150, 200}, {1, 350, 200}, {2, 550, 200}});
  SCENE_CARD_GAME_EDITOR& editor = open(1);
  click(150, 200);
  shiftClick(350, 200);
  shiftClick(550, 200);
  EXPECT_EQ(editor.table.currentCard, 2);
  ASSERT_EQ(editor.table.selectedCards.count(), 2);
  EXPECT_EQ(editor.table.selectedCards.get(0), 0);
  EXPECT_EQ(editor.table.selectedCards.get(1), 1);
  for (int slot : {0, 1, 2}) EXPECT_EQ(editor.cardColors[slot], SCENE_CARD_GAME_EDITOR::HIGHLIGHT_CARD_COLOR);

  // Shift on the current card lets it go: the last selected card takes its place.
  shiftClick(550, 200);
  EXPECT_EQ(editor.table.currentCard, 1);
  EXPECT_EQ(editor.table.selectedCards.count(), 1);
  EXPECT_EQ(editor.cardColors[2], SCENE_CARD_GAME_EDITOR::NORMAL_CARD_COLOR);
  // A selected card clicked without Shift becomes current and the current one joins the rest.
  click(150, 200);
  EXPECT_EQ(editor.table.currentCard, 0);
  EXPECT_TRUE(editor.table.selectedCards.contains(1));

  // The pointer leaving a selected card leaves its colour alone.
  pointTo(350, 200);
  pointTo(800, 500);
  EXPECT_EQ(editor.cardColors[1], SCENE_CARD_GAME_EDITOR::HIGHLIGHT_CARD_COLOR);

  click(800, 500);
  EXPECT_EQ(editor.table.currentCard, -1);
  EXPECT_FALSE(editor.table.selectedCards.hasCards());
  EXPECT_FALSE(editor.isCardPanelShown);
  EXPECT_EQ(editor.cardColors[0], SCENE_CARD_GAME_EDITOR::NORMAL_CARD_COLOR);
  EXPECT_EQ(editor.cardColors[1], SCENE_CARD_GAME_EDITOR::NORMAL_CARD_COLOR);
}

TEST_F(EditorCommands, ThePointerLightsTheTopmostCardUnderIt) {
  writeLevelFile(1, {{0, 300, 300, 0}, {1, 320, 300, 0}, {2, 600, 300, 1}, {3, 620, 300, 5}});
  SCENE_CARD_GAME_EDITOR& editor = open(1);
  // The same layer: the lower slot; different layers: the higher layer.
  pointTo(310, 300);
  EXPECT_EQ(editor.hoveredCard, 0);
  EXPECT_EQ(editor.cardColors[0], SCENE_CARD_GAME_EDITOR::HIGHLIGHT_CARD_COLOR);
  pointTo(610, 300);
  EXPECT_EQ(editor.hoveredCard, 3);
  EXPECT_EQ(editor.cardColors[0], SCENE_CARD_GAME_EDITOR::NORMAL_CARD_COLOR);
  // A layer filter hides cards from the picture, not from the pointer.
  key(MINUS);
  EXPECT_EQ(editor.table.layerFilter, 0);
  pointTo(605, 300);
  EXPECT_EQ(editor.hoveredCard, 3);
}

TEST_F(EditorCommands, TwoAddsSkittlesUpToTenAndRemovingOneMakesRoom) {
  SCENE_CARD_GAME_EDITOR& editor = open(40);
  pointTo(500, 400);
  for (int i = 0; i < 11; ++i) key(KEY_2);
  EXPECT_EQ(editor.table.countOfSpecialCards, 10);
  EXPECT_EQ(editor.table.countCardsInUse(), 10);
  // Each new card is the current one, raised above the cards it lies on.
  const int32_t last = editor.table.currentCard;
  EXPECT_TRUE(editor.table.cards[last].isSpecial);
  EXPECT_EQ(editor.table.cards[last].zLayer, 9);

  key(GRAVE);
  EXPECT_EQ(editor.table.countOfSpecialCards, 9);
  EXPECT_FALSE(editor.table.cards[last].inUse);
  key(KEY_2);
  EXPECT_EQ(editor.table.countOfSpecialCards, 10);

  // Beyond the play area no card is added, and no skittle counted.
  key(GRAVE);
  pointTo(1100, 400);
  key(KEY_2);
  EXPECT_EQ(editor.table.countOfSpecialCards, 9);
  EXPECT_EQ(editor.table.countCardsInUse(), 9);
  pointTo(300, 200);
  key(KEY_1);
  EXPECT_EQ(editor.table.countCardsInUse(), 10);
  EXPECT_FALSE(editor.table.cards[editor.table.currentCard].isSpecial);
}

TEST_F(EditorCommands, RemovingTheCurrentAndSelectedCardsTakesTheirSkittlesOffTheCount) {
  writeLevelFile(6, {{0, 200, 200, 0, -1, true}, {1, 400, 200, 0, -1, true}, {2, 600, 200, 0, 7, false}});
  SCENE_CARD_GAME_EDITOR& editor = open(6);
  EXPECT_EQ(editor.table.countOfSpecialCards, 2);
  key(NUMPAD_STAR);
  EXPECT_EQ(editor.table.currentCard, 0);
  EXPECT_EQ(editor.table.selectedCards.count(), 2);
  key(GRAVE);
  EXPECT_EQ(editor.table.countCardsInUse(), 0);
  EXPECT_EQ(editor.table.countOfSpecialCards, 0);
  EXPECT_TRUE(editor.table.isModified);
}

TEST_F(EditorCommands, HoldingDForASecondMovesTheCardTwentyPixels) {
  writeLevelFile(8, {{0, 200, 200}, {1, 600, 400}});
  SCENE_CARD_GAME_EDITOR& editor = open(8);
  click(200, 200);
  press(KEY_D);
  frame(kUpdatesPerSecond);
  EXPECT_NEAR(editor.table.cards[0].x, 220.0f, 0.01f);
  EXPECT_FALSE(editor.table.isModified);
  release(KEY_D);
  EXPECT_FLOAT_EQ(editor.table.cards[0].x, 220.0f);
  EXPECT_FLOAT_EQ(editor.table.cards[0].y, 200.0f);
  EXPECT_FLOAT_EQ(editor.table.cards[1].x, 600.0f);
  EXPECT_TRUE(editor.table.isModified);

  // With no card picked, the keys move the whole layout.
  click(900, 600);
  press(KEY_D);
  frame(kUpdatesPerSecond / 2);
  release(KEY_D);
  EXPECT_FLOAT_EQ(editor.table.cards[0].x, 230.0f);
  EXPECT_FLOAT_EQ(editor.table.cards[1].x, 610.0f);
}

TEST_F(EditorCommands, LayersAndTheLayerFilterStopAtTheirBounds) {
  writeLevelFile(9, {{0, 200, 200, 100}, {1, 600, 200, -100}});
  SCENE_CARD_GAME_EDITOR& editor = open(9);
  click(200, 200);
  key(PAGE_DOWN);
  EXPECT_EQ(editor.table.cards[0].zLayer, 100);
  key(PAGE_UP);
  EXPECT_EQ(editor.table.cards[0].zLayer, 99);
  click(600, 200);
  key(PAGE_UP);
  EXPECT_EQ(editor.table.cards[1].zLayer, -100);

  click(900, 600);
  key(MINUS);
  EXPECT_EQ(editor.table.layerFilter, 0);
  editor.table.layerFilter = -99;
  key(MINUS);
  // One below the lowest layer is every layer again.
  EXPECT_EQ(editor.table.layerFilter, EDITOR_NO_LAYER_FILTER);
}

TEST_F(EditorCommands, ThreeAndADragLayALineOfNineCardsThatZFans) {
  writeLevelFile(10, {{0, 900, 600, 4}});
  SCENE_CARD_GAME_EDITOR& editor = open(10);
  press(KEY_3);
  drag(200, 300, 600, 300, 20);
  release(KEY_3);
  const CARD_LINE& line = editor.table.cardLine;
  ASSERT_EQ(line.count(), 9);
  EXPECT_EQ(line.state, CARD_LINE::FINISHED);
  EXPECT_FALSE(editor.isLineMode);
  for (int i = 0; i < 9; ++i) {
    const EDITOR_CARD& card = editor.table.cards[line.get(i)];
    EXPECT_NEAR(card.x, 200.0f + 50.0f * static_cast<float>(i), 0.01f) << i;
    EXPECT_FLOAT_EQ(card.y, 300.0f) << i;
    // Above the highest card already on the table, one layer per card.
    EXPECT_EQ(card.zLayer, 5 + i) << i;
  }
  press(KEY_Z);
  frame(kUpdatesPerSecond / 4);
  release(KEY_Z);
  // 200 degrees a second to the left, shared out along the line.
  EXPECT_NEAR(line.fanAngle * RADIANS_TO_DEGREES, -50.0f, 0.01f);
  EXPECT_FLOAT_EQ(editor.table.cards[line.get(0)].angle, 0.0f);
  EXPECT_NEAR(editor.table.cards[line.get(4)].angle * RADIANS_TO_DEGREES, -25.0f, 0.01f);
}

TEST_F(EditorCommands, AFullLevelRefusesNewCardsAndKeepsItsLastCard) {
  SCENE_CARD_GAME_EDITOR& editor = open(50);
  for (int32_t slot = 0; slot < SCENE_CARD_GAME_EDITOR::MAX_CARDS; ++slot) {
    editor.table.cards[slot].putOnTable(100.0f + static_cast<float>(slot % 20) * 40, 100.0f + static_cast<float>(slot / 20) * 30, 0, 3, false);
  }
  editor.table.cards[299].isSpecial = true;
  editor.table.countOfSpecialCards = 1;
  pointTo(500, 700 - 40);
  key(KEY_1);
  key(KEY_2);
  EXPECT_EQ(editor.table.countCardsInUse(), 300);
  EXPECT_TRUE(editor.table.cards[299].isSpecial);
  EXPECT_FLOAT_EQ(editor.table.cards[299].x, 100.0f + 19 * 40);
  EXPECT_EQ(editor.table.countOfSpecialCards, 1);
  EXPECT_NE(editor.message.find("300 cards at most"), std::string::npos);
}

}  // namespace
