// The level's windows as the player sees them: each one drawn at rest over the table and on its
// way in (the finish and prize windows filled as the game fills them), the banner, the hints,
// the pop-ups, the volume sliders, the gauge and the tutorial's blinking pile, the layout's
// drawing order after its layers change, and a level left and made again without leaving
// anything behind. The pictures go into build/level-windows.png.
#include <gtest/gtest.h>
#include <malloc.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "contact_sheet.h"
#include "engine/globals.h"
#include "engine/input.h"
#include "engine/render.h"
#include "game/card.h"
#include "game/card_flights.h"
#include "game/card_piles.h"
#include "game/game_globals.h"
#include "game/players.h"
#include "game/scenes/level/level_scene.h"
#include "game/texts.h"
#include "game_child.h"
#include "gui/gui_button5.h"
#include "gui/gui_container.h"
#include "gui/gui_wlabel.h"
#include "menu_scenario.h"
#include "primitives/sprite.h"
#include "level_fixture.h"

namespace {

using test_support::GAME_CHILD;
using test_support::GameChildTest;
using test_support::SCREEN_RECT;
using Picture = std::vector<uint8_t>;
using Level = SCENE_CARD_GAME_LEVEL;

Level* enterLevel(int32_t index) {
  Level* level = enterDealtLevel(index);
  CHILD_CHECK(level != nullptr, "no level scene");
  return level;
}

Picture drawn(GAME_CHILD& game) {
  game.draw();
  Picture picture = game.readBack();
  CHILD_CHECK(picture.size() == 1024u * 768u * 4u, "no picture read back");
  return picture;
}

Picture drawnBy(GAME_CHILD& game, const std::function<void()>& draw) {
  CHILD_CHECK(QEL::qcRENDER->fBeginScene() == 1, "no scene to draw into");
  draw();
  QEL::qcRENDER->fEndScene();
  return game.readBack();
}

// One of the sliding windows: its state while open (the opening state follows it), its
// slide and where it stands at rest.
struct SLIDING_WINDOW {
  const char* name;
  int32_t openState;
  float Level::*slide;
  SCREEN_RECT area;
  std::function<void(Level&)> prepare;
};

TEST_F(GameChildTest, EveryWindowShowsAtRestAndComesDownFromAbove) {
  // A player of the saves, as in every game played: the windows that store money or a trophy
  // then store it, and the sheet shows no notice of a failed save.
  const auto seedPlayer = [](GAME_CHILD& game) { test_support::seedPlayers(game.saves(), {"Ann"}); };
  play(seedPlayer, [](GAME_CHILD& game) {
    Level* level = enterLevel(3);
    test_support::CONTACT_SHEET sheet(4);
    // Every failed check is told, after the sheet is written for a person to look at.
    std::string failures;
    const auto check = [&failures](bool holds, const std::string& what) {
      if (!holds) failures += what + "; ";
    };
    const Picture table = drawn(game);
    sheet.add(table, 1024, 768);

    const std::vector<SLIDING_WINDOW> windows = {
        {"pause", window_state::PAUSE_OPEN, &Level::pauseSlide, {153, 45, 871, 695}, nullptr},
        {"shop", window_state::SHOP_OPEN, &Level::shopSlide, {153, 81, 871, 561}, nullptr},
        {"finish", window_state::FINISH_OPEN, &Level::finishSlide, {153, 45, 871, 705},
         [](Level& l) {
           l.levelResult = LEVEL_RESULT{Level::SPARE, 8, 2, -1, 0};
           l.showFinishWindow();
         }},
        {"options", window_state::OPTIONS_OPEN, &Level::optionsSlide, {6, 46, 1018, 696},
         [](Level& l) { l.placeVolumeKnobs(); }},
        {"trophy", window_state::TROPHY_OPEN, &Level::trophySlide, {153, 81, 871, 681},
         [](Level& l) { l.showTrophyWindow(13); }},
        {"credits", window_state::CREDITS_OPEN, &Level::creditsSlide, {153, 45, 871, 695}, nullptr},
    };
    for (const SLIDING_WINDOW& window : windows) {
      if (window.prepare) window.prepare(*level);
      level->windowState = window.openState + 1;
      level->*window.slide = 700.0f;
      const Picture away = drawn(game);
      level->windowState = window.openState;
      level->*window.slide = 0.0f;
      const Picture shown = drawn(game);
      level->windowState = window.openState + 1;
      level->*window.slide = 300.0f;
      const Picture coming = drawn(game);
      level->windowState = window.openState + 2;  // on its way out the slide runs the other way
      level->*window.slide = 400.0f;
      const Picture leaving = drawn(game);
      level->windowState = window_state::NONE;
      sheet.add(shown, 1024, 768);

      const std::string name = window.name;
      check(test_support::differingShare(away, shown, window.area) > 0.5, "the " + name + " window is not shown");
      check(test_support::differingShare(table, away, {5, 300, 6, 301}) > 0.0, name + ": the table is not dimmed");
      const SCREEN_RECT band{window.area.left + 150, window.area.top + 300, window.area.right - 150,
                             window.area.top + 400};
      check(test_support::risenShare(shown, coming, band, 300) > 0.95,
                  "the " + name + " window does not come down as one piece ");
      check(test_support::differingShare(coming, leaving, band) == 0.0,
                  "the " + name + " window does not go back up the way it came");
    }

    // The purchase panel stands over the open shop.
    level->windowState = window_state::SHOP_OPEN;
    level->shopSlide = 0.0f;
    level->purchaseTextLabel->fSetText(L"One more joker?");
    level->messageState = message_state::OPENING;
    level->purchaseSlide = 700.0f;
    const Picture shopOnly = drawn(game);
    level->messageState = message_state::OPEN;
    level->purchaseSlide = 0.0f;
    const Picture panel = drawn(game);
    level->messageState = message_state::OPENING;
    level->purchaseSlide = 300.0f;
    const Picture panelComing = drawn(game);
    level->messageState = message_state::NONE;
    level->windowState = window_state::NONE;
    sheet.add(panel, 1024, 768);
    check(test_support::differingShare(shopOnly, panel, {153, 81, 871, 561}) > 0.5, "no purchase panel");
    check(test_support::risenShare(panel, panelComing, {303, 381, 721, 481}, 300) > 0.95,
                "the purchase panel does not come down as one piece ");

    // The result banner; a bonus in money brings the big dollar beside it.
    const SCREEN_RECT bannerArea{250, 280, 800, 400};
    level->bannerLabel->fSetText(L"Strike!");
    level->windowState = window_state::BANNER_SHOWN;
    level->bannerFade = 0.0f;
    const Picture banner = drawn(game);
    level->bannerFade = 100.0f;
    const Picture bannerComing = drawn(game);
    level->bannerLabel->fSetText(L"");
    const Picture noBanner = drawn(game);
    check(test_support::differingShare(noBanner, banner, bannerArea) > 0.05, "no banner text");
    check(test_support::differingShare(noBanner, bannerComing, {250, 180, 800, 300}) > 0.05,
                "the banner does not come from above");
    sheet.add(banner, 1024, 768);

    level->isBonusBanner = 1;
    level->bannerLabel->fSetText(L"500");
    level->bannerFade = 0.0f;
    const Picture bonus = drawn(game);
    level->bannerDollarMode = 1;
    const Picture bonusMoney = drawn(game);
    check(test_support::differingShare(bonus, bonusMoney, {350, 290, 522, 400}) > 0.05,
                "no dollar beside a prize in money");
    check(test_support::differingShare(table, bonus, {5, 600, 60, 700}) == 0.0,
                "the table is dimmed under the bonus card's prize");
    sheet.add(bonusMoney, 1024, 768);
    level->bannerDollarMode = 0;
    level->isBonusBanner = 0;
    level->bannerLabel->fSetText(L"");
    level->windowState = window_state::NONE;
    level->bannerFade = 200.0f;

    // The tutorial's first hint: the dark strip with its text, the arrow at the two cards.
    int32_t pair[2] = {-1, -1};
    for (int32_t id = 0, found = 0; id < Level::MAX_LAYOUT_CARDS && found < 2; ++id) {
      const CARD* card = level->cards[id];
      if (card != nullptr && card->onTable && !card->covered) pair[found++] = id;
    }
    CHILD_CHECK(pair[1] != -1, "the level has fewer than two face-up cards");
    level->hintedCardA = pair[0];
    level->hintedCardB = pair[1];
    level->hintLabel->fSetText(L"Two cards of the same rank make a pair.");
    level->hintStep = 2;
    const Picture hint = drawn(game);
    level->hintStep = 0;
    check(test_support::differingShare(table, hint, {0, 100, 1024, 160}) > 0.8, "no hint strip");
    const CARD& hinted = *level->cards[pair[0]];
    const int ax = static_cast<int>(hinted.currentX) + 20;
    const int ay = static_cast<int>(hinted.currentY) + 30;
    check(test_support::differingShare(table, hint, {ax, ay, ax + 40, ay + 40}) > 0.2,
                "no arrow at the hinted card");
    sheet.add(hint, 1024, 768);

    // A points pop-up rising from a removed pair.
    POINTS_POPUP& popup = level->pointsPopup[0];
    popup.label->fSetText(L"150");
    popup.label->fSetPosition(500.0f, 450.0f, 0.0f);
    popup.coin->fSetPosition(448.0f, 450.0f, 0.0f);
    popup.rise = 100.0f;
    const Picture points = drawn(game);
    check(test_support::differingShare(table, points, {430, 425, 560, 475}) > 0.1, "no points pop-up");
    sheet.add(points, 1024, 768);
    popup.rise = POINTS_POPUP::FREE;

    CHILD_CHECK(sheet.write(std::string(PINDRAKE_BUILD_DIR) + "/level-windows.png"), "the contact sheet");
    CHILD_CHECK(failures.empty(), failures);
  });
  EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(PINDRAKE_BUILD_DIR) / "level-windows.png"));
}

TEST_F(GameChildTest, AVolumeSetOnTheTrackPutsTheKnobThereWhenTheOptionsOpenAgain) {
  play([](GAME_CHILD& game) {
    Level* level = enterLevel(3);
    PLAYER_RECORD& player = gPlayers[gCurrentPlayer];
    level->windowState = window_state::OPTIONS_OPEN;
    level->optionsSlide = 0.0f;
    player.soundVolume = 0.0f;
    player.musicVolume = 1.0f;
    level->placeVolumeKnobs();
    const Picture quiet = drawn(game);
    // Both ends of the track are where the knob stands at volumes 0 and 1.
    const float left = level->soundKnob->fGetTransform()->fGetPosition().x;
    const float right = level->musicKnob->fGetTransform()->fGetPosition().x;
    CHILD_CHECK(std::fabs(level->volumeForKnobX(left) - 0.0f) < 1e-6f, "volume 0 is not at the left end");
    CHILD_CHECK(std::fabs(level->volumeForKnobX(right) - 1.0f) < 1e-6f, "volume 1 is not at the right end");
    // Past the knob's end the track's line shows: the knob covers the line's ends exactly.
    const QEL::QC_SPRITE* line = level->soundSliderLine;
    CHILD_CHECK(std::fabs(left - 37.0f / 2.0f - line->_node->_position.x) < 2.0f, "the knob overhangs the line");
    CHILD_CHECK(std::fabs(right + 37.0f / 2.0f - (line->_node->_position.x + static_cast<float>(line->_width))) < 2.0f,
                "the knob stops short of the line's end");

    // A click on the sound track halfway between the knob and the right end.
    const float x = 500.0f;
    game.moveTo(x, 436.0f);
    level->fKeyDown(1);
    level->fKeyUp(1);
    level->draggedSlider = -1;
    const float volume = player.soundVolume;
    CHILD_CHECK(volume > 0.4f && volume < 0.6f, "the click set the volume " + std::to_string(volume));
    level->windowState = window_state::NONE;
    level->placeVolumeKnobs();
    const float reopened = level->soundKnob->fGetTransform()->fGetPosition().x;
    CHILD_CHECK(std::fabs(reopened - x) < 0.01f, "the knob moved to " + std::to_string(reopened));

    // The skittles beside the slider follow the volume.
    level->windowState = window_state::OPTIONS_OPEN;
    player.soundVolume = 1.0f;
    const Picture loud = drawn(game);
    CHILD_CHECK(test_support::differingShare(quiet, loud, {705, 370, 805, 450}) > 0.05, "the skittles stay as they were");
    CHILD_CHECK(test_support::differingShare(quiet, loud, {705, 440, 805, 515}) == 0.0, "the music row changed");
  });
}

TEST_F(GameChildTest, TheFramesButtonsOfTheProfessionalModeShowButNeverClick) {
  play([](GAME_CHILD& game) {
    for (int32_t mode : {0, 1}) {
      gGameMode = mode;
      Level* level = enterLevel(3);
      level->windowState = window_state::PAUSE_OPEN;
      level->pauseSlide = 0.0f;
      drawn(game);
      const QEL::QS_VECTOR2 at = level->framesButton->fGetTransform()->fGetPosition();
      game.moveTo(at.x, at.y);
      level->pauseContainer->fUpdate();
      QEL::qcINPUT->fOnKeyDown(1);
      level->pauseContainer->fUpdate();
      QEL::qcINPUT->fEndFrame();
      QEL::qcINPUT->fOnKeyUp(1);
      level->pauseContainer->fUpdate();
      const bool clicked = level->pauseContainer->fGetEventCodeById(18) == QEL::GUI_EVENT_CLICK;
      QEL::qcINPUT->fEndFrame();
      CHILD_CHECK(clicked == (mode == 0), "mode " + std::to_string(mode) + ": the frames button answers wrongly");
    }
    gGameMode = 0;
  });
}

TEST_F(GameChildTest, TheGaugeLightsNothingWithoutActionPointsAndTheHintedPileBlinks) {
  play([](GAME_CHILD& game) {
    Level* level = enterLevel(3);
    const SCREEN_RECT gauge{915, 14, 1015, 114};
    const int32_t perMultiplier = level->numberOfActionPointsToIncreaseMultiplier;
    CHILD_CHECK(perMultiplier > 0, "no tuning for the multiplier");
    level->clockMs = 0;
    level->nextActionPointDecreaseMs = 100000;  // far off: nothing drains
    level->actionPoints = 0;
    const Picture none = drawn(game);
    level->numberOfActionPointsToIncreaseMultiplier = 0;  // no gauge picture at all
    const Picture noGauge = drawn(game);
    level->numberOfActionPointsToIncreaseMultiplier = perMultiplier;
    CHILD_CHECK(test_support::differingShare(noGauge, none, gauge) == 0.0, "segments lit at 0 action points");
    level->actionPoints = perMultiplier - 1;  // one point short of the next multiplier
    const Picture almost = drawn(game);
    CHILD_CHECK(test_support::differingShare(noGauge, almost, gauge) > 0.01, "no segment lit");

    // The tutorial's bonus pile blinks when its hint is on show.
    level->cardPiles->setCard(7, 0, 0);  // a card dealt onto the first reserve pile
    const CARD* holder = level->cardPiles->holders[0];
    const int x = static_cast<int>(holder->currentX);
    const int y = static_cast<int>(holder->currentY);
    const SCREEN_RECT pileTop{x - 50, y - 75, x + 50, y - 45};  // clear of the hint's arrow
    level->hintPileIndex = 0;
    level->hintStep = 4;
    level->frameTime = 0.5f;
    level->isTutorial = false;
    const Picture hintOnly = drawn(game);
    level->isTutorial = true;
    const Picture blinkA = drawn(game);
    const Picture blinkB = drawn(game);
    CHILD_CHECK(test_support::differingShare(hintOnly, blinkA, pileTop) > 0.01, "the hinted pile does not light up");
    CHILD_CHECK(test_support::differingShare(blinkA, blinkB, pileTop) > 0.01, "the hinted pile does not blink");
    level->hintStep = 0;
  });
}

TEST_F(GameChildTest, TheLayoutDrawsInLayerOrderAfterItsLayersChange) {
  play([](GAME_CHILD& game) {
    Level* level = enterLevel(3);
    // Every card by layer and, within a layer, by id, searched the long way.
    const auto byLayers = [&] {
      level->backgroundSprite->fDraw();
      for (int32_t z = Level::BOTTOM_Z_LAYER; z <= Level::TOP_Z_LAYER; ++z)
        for (const CARD* card : level->cards)
          if (card != nullptr && card->onTable && card->zLayer == z) level->drawLayoutCard(*card);
    };
    const auto asDrawn = [&] {
      level->backgroundSprite->fDraw();
      level->drawLayout();
    };
    for (CARD* card : level->cards)
      if (card != nullptr && card->onTable) card->covered = false;  // faces show who lies on top
    const SCREEN_RECT screen{0, 0, 1024, 768};
    const Picture before = drawnBy(game, asDrawn);
    CHILD_CHECK(test_support::differingShare(before, drawnBy(game, byLayers), screen) == 0.0, "wrong order at first");

    // A card lifted over those it overlaps, one sunk to the bottom, one taken away.
    int32_t lower = -1;
    for (int32_t i = 0; i < Level::MAX_LAYOUT_CARDS && lower == -1; ++i)
      for (int32_t j = 0; j < Level::MAX_LAYOUT_CARDS; ++j)
        if (level->cards[i]->onTable && level->cards[j]->onTable && level->cardsOverlap(i, j) &&
            level->cards[i]->zLayer < level->cards[j]->zLayer && level->cards[i]->value % 13 != level->cards[j]->value % 13) {
          lower = i;
          break;
        }
    CHILD_CHECK(lower != -1, "no two overlapping cards in the level");
    level->layerAboveOverlapping(lower);
    int32_t onTable[2] = {-1, -1};
    for (int32_t id = Level::MAX_LAYOUT_CARDS - 1, n = 0; id >= 0 && n < 2; --id)
      if (id != lower && level->cards[id]->onTable) onTable[n++] = id;
    level->cards[onTable[0]]->zLayer = Level::BOTTOM_Z_LAYER;
    level->cards[onTable[1]]->onTable = false;

    const Picture after = drawnBy(game, asDrawn);
    CHILD_CHECK(test_support::differingShare(before, after, screen) > 0.0, "the changes show nothing");
    CHILD_CHECK(test_support::differingShare(after, drawnBy(game, byLayers), screen) == 0.0,
                "the order was not kept after the layers changed");
  });
}

// ---- without a renderer ------------------------------------------------------------------------

using LevelWindowsStartUp = StartedLevelTest;

TEST_F(LevelWindowsStartUp, ShopPricesCarryTheDiscountOfTheTrophiesForFinishingTheGame) {
  ASSERT_TRUE(gTexts.load_string(R"(<texts>
    <shop_price_place_number1 text="50" /><shop_price_place_number2 text="100" />
    <shop_price_place_number3 text="200" /><shop_price_place_number4 text="400" />
    <shop_price_place_number5 text="1000" />
    <shop_price_reshuffle text="300" /><shop_price_joker text="20" />
  </texts>)"));
  Level* level = start();
  const int32_t piles = level->cardPiles->pileCount;
  ASSERT_GE(piles, 1);
  ASSERT_LE(piles, 4);
  const int32_t fullPrices[] = {50, 100, 200, 400, 1000};
  EXPECT_EQ(level->placePriceLabel->fGetText(), std::to_wstring(fullPrices[piles]));
  EXPECT_EQ(level->reshufflePriceLabel->fGetText(), L"300");
  EXPECT_EQ(level->jokerPriceLabel->fGetText(), L"20");

  setTrophy(1);  // the game finished once: 5 % off, rounded down
  level = start();
  EXPECT_EQ(level->placePrices[1], 94);
  EXPECT_EQ(level->placePrices[4], 949);
  EXPECT_EQ(level->placePrices[5], 949) << "with five piles the fifth place's price shows again";
  EXPECT_EQ(level->jokerPriceLabel->fGetText(), L"18");

  setTrophy(2);  // and in both modes: 10 % off
  level = start();
  EXPECT_EQ(level->placePrices[1], 89);
  EXPECT_EQ(level->reshufflePrice, 269);
}

TEST_F(LevelWindowsStartUp, OnePinDownReadsInTheSingularOnTheBannerAndTheFinishWindow) {
  ASSERT_TRUE(gTexts.load_string(R"(<texts>
    <knocked_down text="%number pins down" /><knocked_down_one text="%number pin down" />
  </texts>)"));
  Level* level = start();
  for (const int32_t pins : {1, 9, 0}) {
    level->levelResult = LEVEL_RESULT{Level::NOT_COMPLETED, pins, -1, -1, 0};
    level->showResultBanner(Level::NOT_COMPLETED);
    level->showFinishWindow();
    const std::wstring count = std::to_wstring(pins) + (pins == 1 ? L" pin down" : L" pins down");
    EXPECT_EQ(level->bannerLabel->fGetText(), count);
    EXPECT_EQ(level->finishPackNameLabel->fGetText(), count + L"!");
  }
  // Texts without the singular keep to the one form they have.
  ASSERT_TRUE(gTexts.load_string(R"(<texts><knocked_down text="Pins: %number" /></texts>)"));
  level->showResultBanner(Level::NOT_COMPLETED);
  EXPECT_EQ(level->bannerLabel->fGetText(), L"Pins: 0");
}

TEST_F(LevelWindowsStartUp, AStartedLevelWaitsToDealWithEveryWindowClosed) {
  Level* level = start();
  EXPECT_EQ(level->transitionState, 1);
  EXPECT_EQ(level->windowState, window_state::NONE);
  EXPECT_EQ(level->messageState, message_state::NONE);
  EXPECT_FLOAT_EQ(level->leaveTimer, 200.0f) << "the bars slide in with the deal";
  for (const POINTS_POPUP& popup : level->pointsPopup) EXPECT_EQ(popup.rise, POINTS_POPUP::FREE);
  EXPECT_TRUE(level->isInitFinished);
  EXPECT_TRUE(logged("END INIT! - SCENE_CARD_GAME_LEVEL"));

  gCurrentLevel = 9;  // the tenth frame's bonus balls: the bars stand in place at once
  gTenthFrameBonus = 1;
  gTenthFrameKind = 4;
  level = start();
  EXPECT_FLOAT_EQ(level->leaveTimer, 0.0f);
  gTenthFrameKind = 0;
}

TEST_F(LevelWindowsStartUp, LevelsMadeAndLeftAgainAndAgainKeepTheHeapFlat) {
  start();
  start();
  std::vector<size_t> inUse;
  for (int cycle = 0; cycle < 6; ++cycle) {
    start();
    _log.clear();
    _log.shrink_to_fit();
    inUse.push_back(mallinfo2().uordblks);
  }
  // A level's widgets, sprites and cards come to well over a hundred kilobytes; what is left
  // of six of them must be far less than one.
  EXPECT_LT(static_cast<long>(inUse.back()) - static_cast<long>(inUse.front()), 16L * 1024L);
}

}  // namespace
