// Whole frames played on the running game, as a player plays them: the pointer moves over a
// card and the left button goes down, the stock is clicked to change balls, and the frame
// runs through its banner to the finish window. The level is generated from a seed and the
// editor's solver chooses the order of the pairs. Each scenario checks what the player and
// the files are left with: the result and its balls, the money, the stored result, the pack's
// running total, the statistics file and the saved money.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "game/card.h"
#include "game/card_flights.h"
#include "game/card_piles.h"
#include "game/game_globals.h"
#include "game/level_results.h"
#include "game/players.h"
#include "game/scenes/frames/frames_scene.h"
#include "game/scenes/level/level_scene.h"
#include "game_child.h"
#include "level_play.h"

namespace {

using test_support::BOWLER;
using test_support::GAME_CHILD;
using test_support::GameChildTest;
using test_support::level;
using test_support::PLAY_LEVEL;
using test_support::START_MONEY;
using Level = SCENE_CARD_GAME_LEVEL;

void storeFrame(int32_t index, int32_t kind, int32_t b1, int32_t b2, int32_t b3 = -1) {
  setLevelResult(0, index, kResultField, kind);
  setLevelResult(0, index, kSpecialCards1Field, b1);
  setLevelResult(0, index, kSpecialCards2Field, b2);
  setLevelResult(0, index, kSpecialCards3Field, b3);
}

int32_t savedMoney(const GAME_CHILD& game) {
  pugi::xml_document players;
  players.load_file((game.saves() / "players.xml").c_str());
  return players.child("players").child("player").attribute("money").as_int(-1);
}

std::string statisticsText(const GAME_CHILD& game, int32_t index, int32_t attempt, const std::string& code) {
  const std::filesystem::path file = game.statistics() / std::to_string(gSessionNumber) /
                                     ("level_number_" + std::to_string(index + 1) + "_" + std::to_string(attempt) +
                                      "_" + code + ".txt");
  CHILD_CHECK(std::filesystem::exists(file), "no statistics file " + file.string());
  return test_support::readFile(file);
}

void checkStoredResult(int32_t index, int32_t kind, int32_t b1, int32_t b2, int32_t b3) {
  // From the file, as the next start of the game reads it.
  loadLevelsInfo(0);
  CHILD_CHECK(getLevelResult(0, index, kResultField) == kind, "stored kind " +
                                                                  std::to_string(getLevelResult(0, index, kResultField)));
  CHILD_CHECK(getLevelResult(0, index, kSpecialCards1Field) == b1, "stored first ball");
  CHILD_CHECK(getLevelResult(0, index, kSpecialCards2Field) == b2, "stored second ball");
  if (b3 != -2) {
    CHILD_CHECK(getLevelResult(0, index, kSpecialCards3Field) == b3,
                "stored third ball " + std::to_string(getLevelResult(0, index, kSpecialCards3Field)));
  }
}

// The first three frames of the pack: an open frame, a spare and a strike.
const std::vector<std::vector<int32_t>> FIRST_THREE = {{3, 4}, {6, 4}, {10}};

void storeFirstThree() {
  storeFrame(0, Level::OPEN_FRAME, 3, 4);
  storeFrame(1, Level::SPARE, 6, 4);
  storeFrame(2, Level::STRIKE, 10, 0);
}

TEST_F(GameChildTest, AllSkittlesDownInTheFirstBallAreAStrike) {
  play([](GAME_CHILD& game) {
    const PLAY_LEVEL play = test_support::makePlayLevel(1);
    BOWLER bowler(game, play);
    bowler.begin(3, storeFirstThree);
    bowler.takePairs(0, play.line.size());
    bowler.waitForFinishWindow();

    Level* l = level();
    CHILD_CHECK(l->levelResult.result == Level::STRIKE, "not a strike");
    CHILD_CHECK(l->levelResult.specialCards1 == 10 && l->levelResult.specialCards2 == 0, "balls of a strike");
    const int32_t money = test_support::moneyOf(play, 0, play.line.size());
    CHILD_CHECK(l->levelMoney == money, "frame money " + std::to_string(l->levelMoney) + " != " + std::to_string(money));
    CHILD_CHECK(gPlayers[0].money == START_MONEY + money, "player money");
    CHILD_CHECK(savedMoney(game) == START_MONEY + money, "saved money " + std::to_string(savedMoney(game)));
    std::vector<std::vector<int32_t>> frames = FIRST_THREE;
    frames.push_back({10});
    const int32_t total = test_support::tenPinRunningTotals(frames)[3];
    checkStoredResult(3, Level::STRIKE, 10, 0, -2);
    CHILD_CHECK(getLevelResult(0, 3, kScoreField) == total, "pack total " +
                                                              std::to_string(getLevelResult(0, 3, kScoreField)));
    CHILD_CHECK(getLevelResult(0, 4, kResultField) == 1, "the next level did not open");
    const std::string text = statisticsText(game, 3, 1, "X0");
    CHILD_CHECK(text.find("Level number=4\n") != std::string::npos, "level line");
    CHILD_CHECK(text.find("Results=X0\n") != std::string::npos, "result line");
    CHILD_CHECK(text.find("Money=" + std::to_string(money) + "\n") != std::string::npos, "money line");
    CHILD_CHECK(!game.logged("actionPoints (decreased)"), "the multiplier fell during the frame");
  });
}

TEST_F(GameChildTest, TheLastSkittlesInTheSecondBallAreASpare) {
  play([](GAME_CHILD& game) {
    const PLAY_LEVEL play = test_support::makePlayLevel(7);
    BOWLER bowler(game, play);
    bowler.begin(3, storeFirstThree);
    const size_t split = test_support::pairsFor(play, 6);
    const int32_t first = test_support::skittlesAfter(play, split);
    bowler.takePairs(0, split);
    bowler.nextBall();
    CHILD_CHECK(level()->levelResult.specialCards1 == first, "first ball");
    bowler.takePairs(split, play.line.size());
    bowler.waitForFinishWindow();

    Level* l = level();
    CHILD_CHECK(l->levelResult.result == Level::SPARE, "not a spare");
    CHILD_CHECK(l->levelResult.specialCards2 == 10 - first, "second ball");
    const int32_t money = test_support::moneyOf(play, 0, play.line.size());
    CHILD_CHECK(l->levelMoney == money, "frame money");
    CHILD_CHECK(savedMoney(game) == START_MONEY + money, "saved money");
    std::vector<std::vector<int32_t>> frames = FIRST_THREE;
    frames.push_back({first, 10 - first});
    checkStoredResult(3, Level::SPARE, first, 10 - first, -2);
    CHILD_CHECK(getLevelResult(0, 3, kScoreField) == test_support::tenPinRunningTotals(frames)[3], "pack total");
    CHILD_CHECK(getLevelResult(0, 2, kScoreField) == test_support::tenPinRunningTotals(frames)[2],
                "the strike before did not take this frame's balls");
    const std::string text = statisticsText(game, 3, 1, "Y0");
    CHILD_CHECK(text.find("Results=Y0\n") != std::string::npos, "result line");
  });
}

TEST_F(GameChildTest, SkittlesLeftWhenTheStockRunsOutAreAnOpenFrame) {
  play([](GAME_CHILD& game) {
    const PLAY_LEVEL play = test_support::makePlayLevel(11);
    BOWLER bowler(game, play);
    bowler.begin(3, storeFirstThree);
    const auto [first, second] = bowler.bowlOpenFrame(4, 3);
    const size_t end = test_support::pairsFor(play, first + second);
    bowler.waitForFinishWindow();

    Level* l = level();
    CHILD_CHECK(l->levelResult.result == Level::OPEN_FRAME, "not an open frame");
    CHILD_CHECK(l->levelResult.specialCards1 == first && l->levelResult.specialCards2 == second, "balls");
    const int32_t money = test_support::moneyOf(play, 0, end);
    CHILD_CHECK(savedMoney(game) == START_MONEY + money, "saved money");
    std::vector<std::vector<int32_t>> frames = FIRST_THREE;
    frames.push_back({first, second});
    checkStoredResult(3, Level::OPEN_FRAME, first, second, -2);
    CHILD_CHECK(getLevelResult(0, 3, kScoreField) == test_support::tenPinRunningTotals(frames)[3], "pack total");
    const std::string code = std::to_string(first) + std::to_string(second);
    const std::string text = statisticsText(game, 3, 1, code);
    CHILD_CHECK(text.find("Results=" + code + "\n") != std::string::npos, "result line");

    // Continue leads on to the next level in the same scene.
    Level* before = level();
    game.clickButton(513, 407);
    CHILD_CHECK(game.stepUntil([] { return level() != nullptr && level()->loadedLevel == 4 && level()->transitionState == 0; }),
                "the next level does not come");
    CHILD_CHECK(level() == before && gCurrentLevel == 4, "not the next level in the same scene");
    CHILD_CHECK(gLevelAttempts[4] == 1, "the next level's start is not counted");
  });
}

// Each frame ends with the click on its last pair; the finish window then takes one quick click
// (press and release in one pump) on each of its buttons in turn.
TEST_F(GameChildTest, AFrameEndedByAPairClickTakesTheFirstClickOnEachFinishButton) {
  play([](GAME_CHILD& game) {
    const PLAY_LEVEL play = test_support::makePlayLevel(1);
    BOWLER bowler(game, play);
    game.writeLevel(4, play.xml);
    bowler.begin(3, storeFirstThree);
    const auto playToTheFinish = [&] {
      bowler.takePairs(0, play.line.size());
      bowler.waitForFinishWindow();
      game.step(30);  // the pointer rests on the last card a while
    };

    playToTheFinish();
    game.tap(513, 620);
    CHILD_CHECK(level()->windowState == window_state::FINISH_CLOSING, "Restart did not take the first click");
    bowler.waitForPlay();
    CHILD_CHECK(level()->loadedLevel == 3, "not the same frame again");

    playToTheFinish();
    game.tap(513, 407);
    CHILD_CHECK(level()->windowState == window_state::FINISH_CLOSING, "Continue did not take the first click");
    bowler.waitForPlay();
    CHILD_CHECK(level()->loadedLevel == 4, "not the next frame");

    playToTheFinish();
    game.tap(513, 514);
    CHILD_CHECK(level()->windowState == window_state::FINISH_CLOSING, "Frames did not take the first click");
    CHILD_CHECK(game.stepUntil([] { return dynamic_cast<SCENE_CARD_GAME_FRAMES*>(gCurrentScene) != nullptr; }),
                "not the frames scene");
  });
}

// The pack's first nine frames, all stored: eight open frames and a strike in the ninth.
std::vector<std::vector<int32_t>> storeNineFrames() {
  std::vector<std::vector<int32_t>> frames;
  for (int32_t i = 0; i < 8; ++i) {
    storeFrame(i, Level::OPEN_FRAME, 3, 4);
    frames.push_back({3, 4});
  }
  storeFrame(8, Level::STRIKE, 10, 0);
  frames.push_back({10});
  return frames;
}

void checkTenthFrame(GAME_CHILD& game, std::vector<std::vector<int32_t>> frames, const std::vector<int32_t>& balls,
                     int32_t kind) {
  const int32_t b3 = balls.size() > 2 ? balls[2] : -1;
  checkStoredResult(9, kind, balls[0], balls[1], b3);
  frames.push_back(balls);
  const std::vector<int32_t> totals = test_support::tenPinRunningTotals(frames);
  CHILD_CHECK(getLevelResult(0, 9, kScoreField) == totals[9],
              "pack total " + std::to_string(getLevelResult(0, 9, kScoreField)) + " != " + std::to_string(totals[9]));
  CHILD_CHECK(getLevelResult(0, 8, kScoreField) == totals[8], "ninth frame's total");
  CHILD_CHECK(getPackScore(0) == totals[9], "pack score");
  CHILD_CHECK(gTenthFrameBonus == 0 && gTenthFrameKind == 0, "the bonus balls' state outlives the frame");
  (void)game;
}

TEST_F(GameChildTest, TenthFrameStrikeStrikeAndAnOpenLastBallAreAllRecorded) {
  play([](GAME_CHILD& game) {
    const PLAY_LEVEL play = test_support::makePlayLevel(3);
    std::vector<std::vector<int32_t>> frames;
    BOWLER bowler(game, play);
    bowler.begin(9, [&frames] { frames = storeNineFrames(); });
    bowler.takePairs(0, play.line.size());
    bowler.waitForBonusBalls();
    CHILD_CHECK(gTenthFrameBonus == 1 && gTenthFrameKind == Level::STRIKE, "no bonus balls after the strike");
    bowler.takePairs(0, play.line.size());
    bowler.waitForBonusBalls();
    CHILD_CHECK(gTenthFrameSecondBonus == 1, "no last ball after the second strike");
    const size_t end = test_support::pairsFor(play, 4);
    const int32_t last = test_support::skittlesAfter(play, end);
    bowler.takePairs(0, end);
    bowler.useUpStock();
    bowler.waitForFinishWindow();
    checkTenthFrame(game, frames, {10, 10, last}, Level::OPEN_FRAME);
    CHILD_CHECK(savedMoney(game) == START_MONEY + 2 * test_support::moneyOf(play, 0, play.line.size()) +
                                        test_support::moneyOf(play, 0, end),
                "saved money");
  });
}

TEST_F(GameChildTest, TenthFrameStrikeThenAnOpenBonusPlayKeepsBothBonusBalls) {
  play([](GAME_CHILD& game) {
    const PLAY_LEVEL play = test_support::makePlayLevel(5);
    std::vector<std::vector<int32_t>> frames;
    BOWLER bowler(game, play);
    bowler.begin(9, [&frames] { frames = storeNineFrames(); });
    bowler.takePairs(0, play.line.size());
    bowler.waitForBonusBalls();
    const auto [first, second] = bowler.bowlOpenFrame(2, 3);
    bowler.waitForFinishWindow();
    checkTenthFrame(game, frames, {10, first, second}, Level::OPEN_FRAME);
  });
}

TEST_F(GameChildTest, TenthFrameSpareEarnsOneBonusBall) {
  play([](GAME_CHILD& game) {
    const PLAY_LEVEL play = test_support::makePlayLevel(9);
    std::vector<std::vector<int32_t>> frames;
    BOWLER bowler(game, play);
    bowler.begin(9, [&frames] { frames = storeNineFrames(); });
    const size_t split = test_support::pairsFor(play, 6);
    const int32_t first = test_support::skittlesAfter(play, split);
    bowler.takePairs(0, split);
    bowler.nextBall();
    bowler.takePairs(split, play.line.size());
    bowler.waitForBonusBalls();
    CHILD_CHECK(gTenthFrameKind == Level::SPARE && gTenthFrameBall1 == first, "no bonus ball after the spare");
    CHILD_CHECK(level()->turnoversAtStart == 0, "the bonus ball has a turnover");
    const size_t end = test_support::pairsFor(play, 5);
    const int32_t bonus = test_support::skittlesAfter(play, end);
    bowler.takePairs(0, end);
    bowler.useUpStock();
    bowler.waitForFinishWindow();
    checkTenthFrame(game, frames, {first, 10 - first, bonus}, Level::OPEN_FRAME);
    const std::string text = statisticsText(game, 9, 1, "Y0" + std::to_string(bonus));
    CHILD_CHECK(text.find("Level pack number=1\n") != std::string::npos, "pack line");
  });
}

TEST_F(GameChildTest, AnOpenTenthFrameEndsThePackWithoutBonusBalls) {
  play([](GAME_CHILD& game) {
    const PLAY_LEVEL play = test_support::makePlayLevel(13);
    std::vector<std::vector<int32_t>> frames;
    BOWLER bowler(game, play);
    bowler.begin(9, [&frames] { frames = storeNineFrames(); });
    Level* only = level();
    const auto [first, second] = bowler.bowlOpenFrame(3, 2);
    bowler.waitForFinishWindow();
    CHILD_CHECK(level() == only, "an open tenth frame was replayed");
    checkTenthFrame(game, frames, {first, second}, Level::OPEN_FRAME);

    // Its continue goes back to the pack's score sheet; the level scene goes.
    game.clickButton(513, 407);
    CHILD_CHECK(game.stepUntil([] { return dynamic_cast<SCENE_CARD_GAME_FRAMES*>(gCurrentScene) != nullptr; }),
                "not the frames scene");
    CHILD_CHECK(game.logged("END ~SCENE_CARD_GAME_LEVEL()"), "the level scene was not deleted");
  });
}

}  // namespace
