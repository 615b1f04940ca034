// The frames scene played through the whole game: the score sheet of hand-made result files
// (marks on the frame buttons and on the sheet, running totals, the pack's total), the tenth
// frame's bonus balls, and a frame click that starts its level after the slide.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/scenes/frames/frames_scene.h"
#include "game/scenes/level/level_scene.h"
#include "game/scenes/level_packs/level_packs_scene.h"
#include "game/scenes/main_menu/main_menu_scene.h"
#include "game/texts.h"
#include "game_child.h"
#include "gui/gui_button5.h"
#include "gui/gui_container.h"
#include "gui/gui_wlabel.h"
#include "menu_scenario.h"

namespace {

using test_support::GAME_CHILD;
using test_support::GameChildTest;
using test_support::STORED_LEVEL;
using test_support::currentScene;
using test_support::kDisabledFrame;
using test_support::kMenuSlide;
using test_support::labelText;
using FRAMES = SCENE_CARD_GAME_FRAMES;


FRAMES* openFrames(GAME_CHILD& game, int pack, bool settle = true) {
  gCurrentPack = pack;
  changeScene(gCurrentScene, new FRAMES());
  game.step();
  if (settle) game.wait(kMenuSlide);
  FRAMES* frames = currentScene<FRAMES>();
  CHILD_CHECK(frames != nullptr, "the frames scene is not the current scene");
  return frames;
}

float frameX(int frame) { return 167.0f + 174.0f * static_cast<float>(frame % 5); }
float frameY(int frame) { return frame < 5 ? 236.0f : 456.0f; }

std::string narrow(const std::wstring& text) { return wideToNarrow(text); }

// What a player reads of frame i: on its button and on the sheet, which must agree.
struct READ_FRAME {
  std::wstring first;
  std::wstring second;
  std::wstring third;
};

READ_FRAME readFrame(FRAMES* frames, int frame) {
  QEL::QC_GUI_OBJECT* sheet = frames->lowerContainer->fGetRoot();
  QEL::QC_GUI_OBJECT* button = frames->frameButtons[frame];
  READ_FRAME onButton{labelText(button, FRAMES::FIRST_BUTTON_BALL1 + frame),
                      labelText(button, FRAMES::FIRST_BUTTON_BALL2 + frame),
                      frame == 9 ? labelText(button, FRAMES::BUTTON_BALL3) : L""};
  READ_FRAME onSheet{labelText(sheet, FRAMES::FIRST_SHEET_BALL1 + frame), labelText(sheet, FRAMES::FIRST_SHEET_BALL2 + frame),
                     frame == 9 ? labelText(sheet, FRAMES::SHEET_BALL3) : L""};
  CHILD_CHECK(onButton.first == onSheet.first && onButton.second == onSheet.second && onButton.third == onSheet.third,
              "frame " + std::to_string(frame + 1) + ": the button and the sheet disagree");
  return onButton;
}

void expectFrame(FRAMES* frames, int frame, const std::wstring& first, const std::wstring& second,
                 const std::wstring& third = L"") {
  const READ_FRAME read = readFrame(frames, frame);
  CHILD_CHECK(read.first == first && read.second == second && read.third == third,
              "frame " + std::to_string(frame + 1) + " shows [" + narrow(read.first) + "][" + narrow(read.second) + "][" +
                  narrow(read.third) + "]");
}

std::wstring runningScore(FRAMES* frames, int column) {
  return labelText(frames->lowerContainer->fGetRoot(), FRAMES::FIRST_SCORE + column);
}

void expectRunningScores(FRAMES* frames, const std::vector<int>& scores) {
  for (int frame = 0; frame < 10; ++frame)
    CHILD_CHECK(runningScore(frames, frame) == std::to_wstring(scores[frame]),
                "frame " + std::to_string(frame + 1) + " totals " + narrow(runningScore(frames, frame)));
}

std::vector<int> steps(int each) {
  std::vector<int> scores;
  for (int frame = 1; frame <= 10; ++frame) scores.push_back(each * frame);
  return scores;
}

// ---- the score sheet --------------------------------------------------------------------

TEST_F(GameChildTest, TwelveStrikesMakeThePerfectThreeHundred) {
  play(
      [](GAME_CHILD& game) {
        test_support::seedPlayers(game.saves(), {"Perfect"});
        test_support::seedResults(game.saves(), 0, 0, test_support::playedPack(2, 4, 10, 10, steps(30), 10));
      },
      [](GAME_CHILD& game) {
        FRAMES* frames = openFrames(game, 2);
        for (int frame = 0; frame < 9; ++frame) expectFrame(frames, frame, L"X", L"");
        expectFrame(frames, 9, L"X", L"X", L"X");
        expectRunningScores(frames, steps(30));
        CHILD_CHECK(runningScore(frames, 10) == L"300", "the total is " + narrow(runningScore(frames, 10)));
        CHILD_CHECK(labelText(frames->lowerContainer->fGetRoot(), FRAMES::FIRST_HEAD + 10) == getText(L"total"),
                    "the total's column has no head");
        for (int frame = 0; frame < 10; ++frame)
          CHILD_CHECK(frames->frameButtons[frame]->fGetState() != kDisabledFrame, "a played frame is closed");
      });
}

TEST_F(GameChildTest, SparesWithFiveEveryTimeMakeOneHundredAndFifty) {
  play(
      [](GAME_CHILD& game) {
        test_support::seedPlayers(game.saves(), {"Steady"});
        test_support::seedResults(game.saves(), 0, 0, test_support::playedPack(0, 3, 5, 5, steps(15), 5));
      },
      [](GAME_CHILD& game) {
        FRAMES* frames = openFrames(game, 0);
        for (int frame = 0; frame < 9; ++frame) expectFrame(frames, frame, L"5", L"/");
        expectFrame(frames, 9, L"5", L"/", L"5");
        expectRunningScores(frames, steps(15));
        CHILD_CHECK(runningScore(frames, 10) == L"150", "the total is " + narrow(runningScore(frames, 10)));
      });
}

TEST_F(GameChildTest, AGutterGameShowsMissesAndNoughts) {
  play(
      [](GAME_CHILD& game) {
        test_support::seedPlayers(game.saves(), {"Gutter"});
        test_support::seedResults(game.saves(), 0, 0, test_support::playedPack(0, 2, 0, 0, steps(0)));
      },
      [](GAME_CHILD& game) {
        FRAMES* frames = openFrames(game, 0);
        for (int frame = 0; frame < 10; ++frame) expectFrame(frames, frame, L"-", L"-");
        expectRunningScores(frames, steps(0));
        CHILD_CHECK(runningScore(frames, 10) == L"0", "the total is " + narrow(runningScore(frames, 10)));
      });
}

TEST_F(GameChildTest, TheTenthFramesBonusBallsAreMarkedByWhatTheyKnockedDown) {
  // Each pack ends its nine open frames of 7 and 2 with another tenth frame, stored the way
  // the level's bonus play stores it.
  struct TENTH {
    int result, ball1, ball2, ball3;
    const wchar_t* marks[3];
  };
  static const TENTH kTenths[] = {
      {3, 10, 7, 3, {L"X", L"7", L"/"}},    // a strike, then a spare with the bonus balls
      {4, 7, 3, 10, {L"7", L"/", L"X"}},    // a spare whose bonus ball was a strike
      {4, 10, 10, -1, {L"X", L"X", L""}},   // two strikes, the last ball still to come
      {2, 10, 7, 2, {L"X", L"7", L"2"}},    // a strike and two open bonus balls
      {3, 6, 4, 0, {L"6", L"/", L"-"}},     // a spare whose bonus ball missed
      {2, 8, 1, 0, {L"8", L"1", L""}},      // an open tenth frame has no third ball
  };
  play(
      [](GAME_CHILD& game) {
        test_support::seedPlayers(game.saves(), {"Bonus"});
        std::vector<STORED_LEVEL> levels;
        for (int pack = 0; pack < 6; ++pack) {
          for (int frame = 0; frame < 9; ++frame) levels.push_back({pack * 10 + frame, 2, 7, 2, 9 * (frame + 1)});
          const TENTH& tenth = kTenths[pack];
          levels.push_back({pack * 10 + 9, tenth.result, tenth.ball1, tenth.ball2, 100, tenth.ball3});
        }
        test_support::seedResults(game.saves(), 0, 0, levels);
      },
      [](GAME_CHILD& game) {
        for (int pack = 0; pack < 6; ++pack) {
          FRAMES* frames = openFrames(game, pack, false);
          expectFrame(frames, 0, L"7", L"2");
          const TENTH& tenth = kTenths[pack];
          expectFrame(frames, 9, tenth.marks[0], tenth.marks[1], tenth.marks[2]);
          CHILD_CHECK(runningScore(frames, 9) == L"100", "the tenth frame's total is lost");
        }
      });
}

// ---- starting a frame -------------------------------------------------------------------

TEST_F(GameChildTest, AClickOnAnOpenFrameStartsThatLevelAfterTheSlide) {
  play(
      [](GAME_CHILD& game) {
        test_support::seedPlayers(game.saves(), {"Player"});
        test_support::seedResults(game.saves(), 0, 0, {{0, 2, 5, 3, 8}, {30, 4, 10, 0, 18}, {31, 2, 6, 2, 26}, {32, 1, 0, 0, 0}});
      },
      [](GAME_CHILD& game) {
        FRAMES* frames = openFrames(game, 3, false);
        // A click during the slide in is not taken, though the frame sees it.
        game.step(12);
        const float perPass = 700.0f / 18.0f;
        const QEL::QS_VECTOR2 first = frames->frameButtons[0]->fGetTransform()->fGetPosition();
        const float y = first.y + frames->upperContainer->fGetPosition().y + perPass;
        game.click(frameX(0), y);
        CHILD_CHECK(frames->frameButtons[0]->fGetEventCode() == QEL::GUI_EVENT_CLICK, "the frame saw no click");
        CHILD_CHECK(frames->slideState != FRAMES::SLIDE::OUT, "a frame was taken during the slide in");
        game.wait(kMenuSlide);
        CHILD_CHECK(frames->slideState == FRAMES::SLIDE::IDLE, "the sheet did not settle");

        // A frame not yet open does nothing, nor does 'O' without the developer flag.
        CHILD_CHECK(frames->frameButtons[3]->fGetState() == kDisabledFrame, "frame 4 is open before frame 3 is played");
        game.click(frameX(3), frameY(3));
        game.key(79);
        game.wait(kMenuSlide);
        CHILD_CHECK(currentScene<FRAMES>() == frames && frames->slideState == FRAMES::SLIDE::IDLE, "a closed frame reacted");

        game.click(frameX(2), frameY(2));
        CHILD_CHECK(frames->slideState == FRAMES::SLIDE::OUT, "the open frame did not start the slide out");
        game.wait(0.2f);
        CHILD_CHECK(currentScene<FRAMES>() == frames, "the level started before the slide had run");
        game.wait(0.15f);
        CHILD_CHECK(currentScene<SCENE_CARD_GAME_LEVEL>() != nullptr, "the frame did not start its level");
        CHILD_CHECK(gCurrentLevel == 32, "frame 3 of pack 4 started level " + std::to_string(gCurrentLevel));
        CHILD_CHECK(gSceneKind == 4, "the level did not start up");
      });
}

TEST_F(GameChildTest, CloseFadesBackToTheLevelPacks) {
  play(
      [](GAME_CHILD& game) { test_support::seedPlayers(game.saves(), {"Player"}); },
      [](GAME_CHILD& game) {
        FRAMES* frames = openFrames(game, 0);
        game.click(957.0f, 696.0f);
        CHILD_CHECK(frames->slideState == FRAMES::SLIDE::OUT, "close did not start the slide out");
        game.wait(0.15f);
        const uint32_t alpha = frames->background->fGetVertexColor(0) >> 24;
        CHILD_CHECK(alpha > 40 && alpha < 215, "the background does not fade: alpha " + std::to_string(alpha));
        game.wait(0.2f);
        CHILD_CHECK(currentScene<SCENE_CARD_GAME_LEVELPACKS>() != nullptr, "close did not lead to the level packs");
      });
}

TEST_F(GameChildTest, WithTheDeveloperFlagTheKeyOLeavesTheSheetForTheMainMenu) {
  play(
      [](GAME_CHILD& game) {
        test_support::seedPlayers(game.saves(), {"Developer"});
        test_support::writeFile(game.root / "start" / "cheat.txt", "");
      },
      [](GAME_CHILD& game) {
        openFrames(game, 0, false);
        game.key(79);
        CHILD_CHECK(currentScene<SCENE_CARD_GAME_MAINMENU>() != nullptr, "'O' did not lead to the main menu");
        CHILD_CHECK(gCheatKeyUsed == 1 || gIsAllLevelsView == 1, "the developer key was not noted");
      });
}

}  // namespace
