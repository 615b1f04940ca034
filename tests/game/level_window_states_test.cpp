// The level's windows as the player works them on the running game: each opens from its button
// or key, slides for 0.3 s, and each of its buttons leads where it should: back to play, to
// another window, a restart or another level in the same scene, or another scene (the level
// scene is then deleted). Also the shop's purchases, a trophy and its saving, a lost focus and
// the developer keys.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include <pugixml.hpp>

#include "game/game_entry.h"
#include "game/level_results.h"
#include "game/texts.h"
#include "game/scenes/editor/editor_scene.h"
#include "game/scenes/frames/frames_scene.h"
#include "game/scenes/main_menu/main_menu_scene.h"
#include "gui/gui_button5.h"
#include "gui/gui_wlabel.h"
#include "level_play.h"

namespace {

using test_support::BOWLER;
using test_support::GAME_CHILD;
using test_support::GameChildTest;
using test_support::level;
using test_support::PLAY_LEVEL;
using Level = SCENE_CARD_GAME_LEVEL;

// Screen places of the buttons.
constexpr float PAUSE_BUTTON[2] = {64, 624};
constexpr float SHOP_BUTTON[2] = {960, 622};
constexpr float PAUSE_CONTINUE[2] = {510, 213};
constexpr float PAUSE_RESTART[2] = {510, 312};
constexpr float PAUSE_OPTIONS[2] = {510, 413};
constexpr float PAUSE_FRAMES[2] = {510, 507};
constexpr float PAUSE_MAIN_MENU[2] = {510, 603};
constexpr float OPTIONS_CLOSE[2] = {864, 625};
constexpr float OPTIONS_CREDITS[2] = {177, 621};
constexpr float CREDITS_CLOSE[2] = {688, 628};
constexpr float SHOP_PLACE[2] = {343, 313};
constexpr float SHOP_RESHUFFLE[2] = {500, 313};
constexpr float SHOP_JOKER[2] = {657, 313};
constexpr float SHOP_CLOSE[2] = {692, 495};
constexpr float PURCHASE_CONFIRM[2] = {304, 478};
constexpr float TROPHY_CLOSE[2] = {716, 545};
constexpr float FINISH_RESTART[2] = {513, 620};

void press(GAME_CHILD& game, const float (&at)[2]) { game.clickButton(at[0], at[1]); }

// Passes until the window state is `state` (at most three seconds).
int passesUntilState(GAME_CHILD& game, int32_t state) {
  int passes = 0;
  while (passes < 180 && (level() == nullptr || level()->windowState != state)) {
    game.step();
    ++passes;
  }
  CHILD_CHECK(level() != nullptr && level()->windowState == state, "window state " + std::to_string(state) +
                                                                       " never came");
  return passes;
}

// A window opening from `opening` slides for 0.3 s (18 passes of 1/60 s) and stands open.
void checkSlidesOpen(GAME_CHILD& game, int32_t opening) {
  CHILD_CHECK(level()->windowState == opening, "not sliding in: " + std::to_string(level()->windowState));
  const int passes = passesUntilState(game, opening - 1);
  CHILD_CHECK(passes >= 17 && passes <= 19, "slid in for " + std::to_string(passes) + " passes");
}

void checkSlidesShut(GAME_CHILD& game, int32_t closing, int32_t next) {
  CHILD_CHECK(level()->windowState == closing, "not sliding out: " + std::to_string(level()->windowState));
  const int passes = passesUntilState(game, next);
  CHILD_CHECK(passes >= 17 && passes <= 19, "slid out for " + std::to_string(passes) + " passes");
}

const PLAY_LEVEL& playLevel() {
  static const PLAY_LEVEL play = test_support::makePlayLevel(1);
  return play;
}

BOWLER startLevel(GAME_CHILD& game, const std::function<void(PLAYER_RECORD&)>& player = nullptr) {
  BOWLER bowler(game, playLevel());
  bowler.begin(3, [&player] {
    if (player) player(gPlayers[0]);
  });
  return bowler;
}

void waitForScene(GAME_CHILD& game, const std::function<bool()>& isScene, const char* name) {
  CHILD_CHECK(game.stepUntil(isScene, 600), std::string("no ") + name);
  CHILD_CHECK(game.logged("END ~SCENE_CARD_GAME_LEVEL()"), "the level scene was not deleted");
}

TEST_F(GameChildTest, ThePauseWindowLeadsBackToPlayToTheOptionsAndCreditsAndToARestart) {
  play([](GAME_CHILD& game) {
    BOWLER bowler = startLevel(game);
    bowler.takePairs(0, 2);
    const int32_t attempts = gLevelAttempts[3];

    press(game, PAUSE_BUTTON);
    CHILD_CHECK(gIsPaused == 1, "the pause button does not pause");
    checkSlidesOpen(game, window_state::PAUSE_OPENING);
    // While paused the clock runs but no action point is lost.
    const int32_t points = level()->actionPoints;
    game.wait(12.0f);
    CHILD_CHECK(level()->actionPoints == points, "an action point was lost while paused");
    press(game, PAUSE_CONTINUE);
    checkSlidesShut(game, window_state::PAUSE_CLOSING, window_state::NONE);
    CHILD_CHECK(gIsPaused == 0, "still paused after continue");
    CHILD_CHECK(level()->nextActionPointDecreaseMs > level()->clockMs, "the deadline did not come back");

    // Options over the pause window, the credits over the options, and back.
    press(game, PAUSE_BUTTON);
    passesUntilState(game, window_state::PAUSE_OPEN);
    press(game, PAUSE_OPTIONS);
    checkSlidesShut(game, window_state::PAUSE_CLOSING, window_state::OPTIONS_OPENING);
    checkSlidesOpen(game, window_state::OPTIONS_OPENING);
    CHILD_CHECK(gIsPaused == 1, "the options window unpaused the level");
    const float knobX = level()->soundKnob->fGetTransform()->fGetPosition().x;
    CHILD_CHECK(knobX == level()->knobXForVolume(0.5f), "the sound knob does not show the volume");
    press(game, OPTIONS_CREDITS);
    checkSlidesShut(game, window_state::OPTIONS_CLOSING, window_state::CREDITS_OPENING);
    checkSlidesOpen(game, window_state::CREDITS_OPENING);
    press(game, CREDITS_CLOSE);
    checkSlidesShut(game, window_state::CREDITS_CLOSING, window_state::OPTIONS_OPENING);
    checkSlidesOpen(game, window_state::OPTIONS_OPENING);
    press(game, OPTIONS_CLOSE);
    checkSlidesShut(game, window_state::OPTIONS_CLOSING, window_state::PAUSE_OPENING);
    checkSlidesOpen(game, window_state::PAUSE_OPENING);

    // A restart deals the same level again in this scene, from a fresh frame.
    Level* scene = level();
    press(game, PAUSE_RESTART);
    CHILD_CHECK(game.stepUntil([] { return level()->transitionState == 2; }), "no leave for the restart");
    bowler.waitForPlay();
    CHILD_CHECK(level() == scene, "the restart made a new scene");
    CHILD_CHECK(level()->cardsLeft == 20 && level()->levelMoney == 0 && level()->clockMs < 2000, "not a fresh frame");
    CHILD_CHECK(gIsPaused == 0, "the restart stays paused");
    CHILD_CHECK(gLevelAttempts[3] == attempts, "a restart counted a new start");

    press(game, PAUSE_BUTTON);
    passesUntilState(game, window_state::PAUSE_OPEN);
    press(game, PAUSE_MAIN_MENU);
    waitForScene(game, [] { return dynamic_cast<SCENE_CARD_GAME_MAINMENU*>(gCurrentScene) != nullptr; },
                 "main menu");
  });
}

TEST_F(GameChildTest, ThePauseWindowsFramesButtonLeavesForTheScoreSheet) {
  play([](GAME_CHILD& game) {
    startLevel(game);
    press(game, PAUSE_BUTTON);
    passesUntilState(game, window_state::PAUSE_OPEN);
    press(game, PAUSE_FRAMES);
    // The cards fly off first; the bars slide out; then the scene changes.
    CHILD_CHECK(game.stepUntil([] { return level() != nullptr && level()->transitionState == 2; }), "no leave");
    waitForScene(game, [] { return dynamic_cast<SCENE_CARD_GAME_FRAMES*>(gCurrentScene) != nullptr; },
                 "frames scene");
    CHILD_CHECK(gIsPaused == 0, "the next scene starts paused");
  });
}

TEST_F(GameChildTest, LosingTheFocusPausesTheLevelAndContinueGivesBackTheTimeLeft) {
  play([](GAME_CHILD& game) {
    BOWLER bowler = startLevel(game);
    bowler.takePairs(0, 1);
    const int32_t left = level()->nextActionPointDecreaseMs - level()->clockMs;
    onFocusLost(0);
    game.step();
    CHILD_CHECK(level()->windowState == window_state::PAUSE_OPENING, "a lost focus did not open the pause window");
    passesUntilState(game, window_state::PAUSE_OPEN);
    game.wait(15.0f);
    CHILD_CHECK(level()->actionPoints == 1, "an action point was lost while the focus was away");
    onFocusGained(0);
    press(game, PAUSE_CONTINUE);
    passesUntilState(game, window_state::NONE);
    const int32_t nowLeft = level()->nextActionPointDecreaseMs - level()->clockMs;
    // The slides and clicks take about a second of play time.
    CHILD_CHECK(nowLeft > left - 1500 && nowLeft <= left, "time left " + std::to_string(nowLeft) + " of " +
                                                              std::to_string(left));
  });
}

TEST_F(GameChildTest, TheShopSellsEachItemAtItsPriceAndNothingThePlayerCannotPay) {
  play([](GAME_CHILD& game) {
    const int32_t place = getTextInt(L"shop_price_place_number3");
    const int32_t reshuffle = getTextIntW(L"shop_price_reshuffle");
    const int32_t joker = getTextIntW(L"shop_price_joker");
    // A player without trophies pays full prices; the level has two reserve piles.
    startLevel(game, [&](PLAYER_RECORD& player) {
      for (uint8_t& trophy : player.trophies) trophy = 0;
      player.money = place + reshuffle + joker;
      player.reshuffles = 0;
      player.jokers = 0;
    });
    press(game, SHOP_BUTTON);
    checkSlidesOpen(game, window_state::SHOP_OPENING);
    const auto buy = [&game](const float (&item)[2]) {
      press(game, item);
      CHILD_CHECK(game.stepUntil([] { return level()->messageState == message_state::OPEN; }), "no purchase panel");
      press(game, PURCHASE_CONFIRM);
      CHILD_CHECK(game.stepUntil([] { return level()->messageState == message_state::NONE; }), "the panel stays");
    };
    buy(SHOP_PLACE);
    CHILD_CHECK(level()->cardPiles->pileCount == 3 && gPlayers[0].additionalCardPlaces == 1, "no third pile");
    CHILD_CHECK(gPlayers[0].money == reshuffle + joker, "the place cost " + std::to_string(gPlayers[0].money));
    buy(SHOP_RESHUFFLE);
    CHILD_CHECK(gPlayers[0].reshuffles == 1 && gPlayers[0].money == joker, "the reshuffle");
    CHILD_CHECK(level()->reshufflesLabel->fGetText() == L"1", "the reshuffle count shown");
    buy(SHOP_JOKER);
    CHILD_CHECK(gPlayers[0].jokers == 1 && gPlayers[0].money == 0, "the joker");
    CHILD_CHECK(level()->jokersLabel->fGetText() == L"1", "the joker count shown");
    // Nothing is left to pay with: every item is offered no more, and a try takes nothing.
    CHILD_CHECK(level()->shopJokerButton->fGetState() == 4 && level()->placeButton->fGetState() == 4,
                "items the player cannot pay are still offered");
    press(game, SHOP_JOKER);
    game.step(30);
    CHILD_CHECK(gPlayers[0].jokers == 1 && gPlayers[0].money == 0, "bought without money");
    CHILD_CHECK(level()->shopMoneySpent == place + reshuffle + joker, "money spent in the frame");

    press(game, SHOP_CLOSE);
    checkSlidesShut(game, window_state::SHOP_CLOSING, window_state::NONE);
    // What was bought is saved with its price.
    pugi::xml_document players;
    players.load_file((game.saves() / "players.xml").c_str());
    const pugi::xml_node player = players.child("players").child("player");
    CHILD_CHECK(player.attribute("money").as_int(-1) == 0, "saved money");
    CHILD_CHECK(player.attribute("additionalCardPlaces").as_int() == 1, "saved place");
  });
}

// The first level played again once the tutorial is over is a level like any other: the shop's
// goods explain themselves under the pointer, and the hint goes with the pointer. The player's
// hand reaches the game through the platform layer's queue.
TEST_F(GameChildTest, TheFirstLevelReplayedKeepsItsButtonsAfterTheShopsHints) {
  play([](GAME_CHILD& game) {
    BOWLER bowler(game, playLevel());
    test_support::makeBowler();
    setLevelResult(0, 0, kResultField, Level::OPEN_FRAME);
    setLevelResult(0, 1, kResultField, 1);  // the second frame is open
    bowler.start(0);
    CHILD_CHECK(!level()->isTutorial, "the first level is still the tutorial");
    game.pumpsMessages = true;
    const auto postClick = [&game](const float (&at)[2]) { game.postClick(at[0], at[1]); };

    postClick(SHOP_BUTTON);
    passesUntilState(game, window_state::SHOP_OPEN);
    game.draw();
    for (const auto* item : {&SHOP_PLACE, &SHOP_RESHUFFLE, &SHOP_JOKER}) {
      test_support::postPointer((*item)[0], (*item)[1]);
      game.step(2);
      CHILD_CHECK(level()->hintStep != 0, "no hint over a shop item");
    }
    test_support::postPointer(SHOP_CLOSE[0], SHOP_CLOSE[1]);
    game.step(2);
    CHILD_CHECK(level()->hintStep == 0, "the item's hint stays after the pointer left it");
    postClick(SHOP_CLOSE);
    passesUntilState(game, window_state::NONE);

    postClick(PAUSE_BUTTON);
    CHILD_CHECK(gIsPaused == 1, "the pause button does nothing");
    passesUntilState(game, window_state::PAUSE_OPEN);
  });
}

TEST_F(GameChildTest, AFirstStrikeEarnsItsTrophyOnceAndItIsSaved) {
  play(
      [](GAME_CHILD& game) { test_support::writeFile(game.root / "start" / "cheat.txt", ""); },
      [](GAME_CHILD& game) {
        BOWLER bowler = startLevel(game, [](PLAYER_RECORD& player) { player.trophies[8] = 0; });  // no strike yet
        const int32_t money = gPlayers[0].money;
        game.key(87);  // the developer's instant strike
        passesUntilState(game, window_state::TROPHY_OPEN);
        CHILD_CHECK(level()->trophyId == 9, "not the strike's trophy");
        CHILD_CHECK(gPlayers[0].money == money + getTextInt(L"trophy_9_prize"), "no prize");
        press(game, TROPHY_CLOSE);
        checkSlidesShut(game, window_state::TROPHY_CLOSING, window_state::FINISH_OPENING);
        checkSlidesOpen(game, window_state::FINISH_OPENING);

        // Read back as the next start of the game reads it: the trophy and its prize.
        loadPlayers();
        CHILD_CHECK(gPlayers[0].trophies[8] == 1, "the trophy was not saved");
        CHILD_CHECK(gPlayers[0].money == money + getTextInt(L"trophy_9_prize"), "the prize was not saved");

        // The same strike again earns nothing more.
        press(game, FINISH_RESTART);
        bowler.waitForPlay();
        game.key(87);
        passesUntilState(game, window_state::FINISH_OPEN);
        CHILD_CHECK(gPlayers[0].money == money + getTextInt(L"trophy_9_prize"), "a second prize");
      });
}

TEST_F(GameChildTest, TheDevelopersArrowsChangeLevelAndTheLevelPlaysOn) {
  play(
      [](GAME_CHILD& game) {
        test_support::writeFile(game.root / "start" / "debug_test.txt", "");
        test_support::writeFile(game.root / "start" / "cheat.txt", "");
      },
      [](GAME_CHILD& game) {
        startLevel(game);
        Level* scene = level();
        game.key(39);
        CHILD_CHECK(game.stepUntil([] { return level()->loadedLevel == 4 && level()->transitionState == 0; }),
                    "the right arrow leaves the level stuck");
        CHILD_CHECK(level() == scene && gCurrentLevel == 4 && level()->cardsLeft > 0, "level 4 is not dealt");
        game.key(37);
        CHILD_CHECK(game.stepUntil([] { return level()->loadedLevel == 3 && level()->transitionState == 0; }),
                    "the left arrow leaves the level stuck");
        // Keys count again: the pause window opens.
        press(game, PAUSE_BUTTON);
        passesUntilState(game, window_state::PAUSE_OPEN);
        press(game, PAUSE_CONTINUE);
        passesUntilState(game, window_state::NONE);

        game.key(79);  // O: to the main menu, which is told that a developer key led there
        CHILD_CHECK(gCheatKeyUsed == 1, "the developer key is not told");
        waitForScene(game, [] { return dynamic_cast<SCENE_CARD_GAME_MAINMENU*>(gCurrentScene) != nullptr; },
                     "main menu");
      });
}

TEST_F(GameChildTest, SpaceOpensTheEditorFromALevelInDebugMode) {
  play([](GAME_CHILD& game) { test_support::writeFile(game.root / "start" / "debug_test.txt", ""); },
       [](GAME_CHILD& game) {
         startLevel(game);
         game.key(32);
         CHILD_CHECK(dynamic_cast<SCENE_CARD_GAME_EDITOR*>(gCurrentScene) != nullptr, "not the editor");
         CHILD_CHECK(game.logged("END ~SCENE_CARD_GAME_LEVEL()"), "the level scene was not deleted");
       });
}

}  // namespace
