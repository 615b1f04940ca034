#include <gtest/gtest.h>

#include <memory>

#include "engine/input.h"
#include "game/card.h"
#include "game/card_piles.h"
#include "game/scenes/level/level_scene.h"
#include "gui/gui_button5.h"
#include "gui/gui_container.h"
#include "gui/gui_wlabel.h"
#include "save_folder_fixture.h"

namespace {

class LevelHover : public SaveFolderTest {
 protected:
  void SetUp() override {
    SaveFolderTest::SetUp();
    _scene = std::make_unique<SCENE_CARD_GAME_LEVEL>();
    _scene->cardPiles = new CARD_PILES();
    _scene->cardPiles->setCardWidth(75);
    _scene->cardPiles->init();
    _scene->cardPiles->pileCount = 3;
    for (int32_t i = 0; i < SCENE_CARD_GAME_LEVEL::MAX_LAYOUT_CARDS; ++i) {
      _scene->cards[i] = new CARD();
      _scene->cards[i]->init(i);
    }
  }
  void TearDown() override {
    _scene.reset();
    SaveFolderTest::TearDown();
  }

  CARD* lay(int32_t id, float x, float y, int32_t zLayer) {
    CARD* card = _scene->cards[id];
    card->putOnTable();
    card->currentX = x;
    card->currentY = y;
    card->zLayer = zLayer;
    return card;
  }

  void moveTo(int32_t x, int32_t y) {
    _input._mouse._position = {x, y};
    _scene->fMouseMove();
  }

  std::unique_ptr<SCENE_CARD_GAME_LEVEL> _scene;
  QEL::QK_BUTTON _input;
};

TEST_F(LevelHover, ThePointerOnACardsEdgeHoversNothing) {
  lay(0, 462.5f, 400.0f, 0);  // right edge at x 500, bottom edge at y 458
  moveTo(500, 400);
  EXPECT_EQ(_scene->hoveredCard, -1);
  moveTo(499, 457);
  EXPECT_EQ(_scene->hoveredCard, 0);
  moveTo(499, 458);
  EXPECT_EQ(_scene->hoveredCard, -1);
}

TEST_F(LevelHover, TheTopmostCardUnderThePointerIsHovered) {
  lay(2, 400, 400, 3);
  lay(9, 420, 410, 5);
  lay(5, 410, 405, -100);
  moveTo(410, 405);
  EXPECT_EQ(_scene->hoveredCard, 9);
  // Where only the lower card lies, it is the one.
  moveTo(370, 350);
  EXPECT_EQ(_scene->hoveredCard, 2);

  // Within one layer the lower id wins.
  _scene->cards[9]->zLayer = 3;
  moveTo(410, 405);
  EXPECT_EQ(_scene->hoveredCard, 2);
  // A card taken off the table is not hovered.
  _scene->cards[2]->reset();
  _scene->cards[9]->reset();
  moveTo(410, 405);
  EXPECT_EQ(_scene->hoveredCard, 5);
  _scene->cards[5]->reset();
  moveTo(410, 405);
  EXPECT_EQ(_scene->hoveredCard, -1);
}

TEST_F(LevelHover, AnOpenWindowKeepsTheHoveredCardAndPile) {
  lay(1, 300, 300, 0);
  moveTo(300, 300);
  ASSERT_EQ(_scene->hoveredCard, 1);
  _scene->windowState = 4;  // the pause window
  moveTo(700, 100);
  EXPECT_EQ(_scene->hoveredCard, 1);
  _scene->windowState = 0;
  moveTo(700, 100);
  EXPECT_EQ(_scene->hoveredCard, -1);
}

TEST_F(LevelHover, TheTutorialStepThatFreezesThePointerChangesNothing) {
  lay(1, 300, 300, 0);
  _scene->isTutorial = true;
  _scene->hintStep = 6;
  moveTo(300, 300);
  EXPECT_EQ(_scene->hoveredCard, -1);
  _scene->hintStep = 5;
  moveTo(300, 300);
  EXPECT_EQ(_scene->hoveredCard, 1);
}

TEST_F(LevelHover, TheStockAndEachReservePileAreFoundStrictlyInside) {
  CARD_PILES& piles = *_scene->cardPiles;
  piles.stockX = 400.5f;  // edges at 363 and 438
  piles.stockY = 698.0f;  // edges at 640 and 756
  moveTo(437, 698);
  EXPECT_EQ(_scene->hoveredPile, 0);
  moveTo(438, 698);
  EXPECT_EQ(_scene->hoveredPile, -1);
  moveTo(400, 640);
  EXPECT_EQ(_scene->hoveredPile, -1);
  moveTo(400, 641);
  EXPECT_EQ(_scene->hoveredPile, 0);

  // Pile k lies at stock x + 100 + (k - 1) * 85.
  moveTo(501, 698);
  EXPECT_EQ(_scene->hoveredPile, 1);
  moveTo(586, 698);
  EXPECT_EQ(_scene->hoveredPile, 2);
  moveTo(671, 698);
  EXPECT_EQ(_scene->hoveredPile, 3);
  // Beyond the last pile of this level.
  moveTo(756, 698);
  EXPECT_EQ(_scene->hoveredPile, -1);
  // The gap between two piles.
  moveTo(543, 698);
  EXPECT_EQ(_scene->hoveredPile, -1);
}

TEST_F(LevelHover, ADraggedKnobStaysOnItsTrack) {
  auto* knob = new QEL::QC_GUI_BUTTON5(51, nullptr);
  knob->fSetPosition(500.0f, 280.0f, 0.0f);
  _scene->soundKnob = knob;
  _scene->sliderMinX = 317.0f;
  _scene->sliderMaxX = 673.0f;
  _scene->draggedSlider = 0;
  _scene->dragOffset = 12.0f;

  moveTo(600, 300);
  EXPECT_FLOAT_EQ(knob->fGetTransform()->fGetPosition().x, 588.0f);
  EXPECT_FLOAT_EQ(knob->fGetTransform()->fGetPosition().y, 280.0f);
  moveTo(680, 300);  // beyond the right end, although 680 - 12 would still be on it
  EXPECT_FLOAT_EQ(knob->fGetTransform()->fGetPosition().x, 673.0f);
  moveTo(100, 300);
  EXPECT_FLOAT_EQ(knob->fGetTransform()->fGetPosition().x, 317.0f);

  // With a window open the knob still follows.
  _scene->windowState = 10;
  moveTo(400, 300);
  EXPECT_FLOAT_EQ(knob->fGetTransform()->fGetPosition().x, 388.0f);
  _scene->soundKnob = nullptr;
  delete knob;
}

TEST(LevelLabels, LabelsStandFivePixelsAboveTheGivenPointInTheirContainerOrParent) {
  auto* container = new QEL::QC_GUI_CONTAINER();
  QEL::QC_GUI_WLABEL* label = createLabel(9, L"Pack", 363.0f, 62.0f, container, nullptr, 1);
  EXPECT_EQ(container->fFindById(9), label);
  EXPECT_FLOAT_EQ(label->fGetTransform()->fGetPosition().x, 363.0f);
  EXPECT_FLOAT_EQ(label->fGetTransform()->fGetPosition().y, 57.0f);
  EXPECT_EQ(label->fGetAnchor(), 1);
  EXPECT_EQ(label->fGetText(), L"Pack");

  QEL::QC_GUI_WLABEL* child = createChildLabel(1, L"3", 52.0f, 24.0f, label, nullptr, 0);
  EXPECT_EQ(child->fGetParent(), label);
  EXPECT_FLOAT_EQ(child->fGetTransform()->fGetPosition().y, 19.0f);
  deleteSceneContainer(container);
}

}  // namespace
