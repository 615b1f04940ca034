// The level packs scene played through the whole game: which packs stand open after the
// stored results and the packs' goals, the page turn, the information panel of a closed pack,
// professional mode's start afresh, continue and cancel, and every way a closed pack could be
// started.
#include <gtest/gtest.h>

#include <string>

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
using PACKS = SCENE_CARD_GAME_LEVELPACKS;

constexpr float kPageTurn = 0.65f;  // a little more than a page turn's 0.61 s

// The packs come up from the main menu, as its play button brings them, and settle.
PACKS* openPacks(GAME_CHILD& game, bool settle = true) {
  changeScene(gCurrentScene, new PACKS());
  game.step();
  if (settle) game.wait(kMenuSlide);
  PACKS* packs = currentScene<PACKS>();
  CHILD_CHECK(packs != nullptr, "the level packs are not the current scene");
  return packs;
}

// Where pack p stands on its page, once nothing moves.
float packX(int pack) { return 300.0f + 205.0f * static_cast<float>(pack % 3); }
float packY(int pack) { return pack % 6 < 3 ? 285.0f : 567.0f; }
void clickPack(GAME_CHILD& game, int pack) { game.click(packX(pack), packY(pack)); }

std::string narrow(const std::wstring& text) { return wideToNarrow(text); }

// Running totals that end on `total`, one a frame.
std::vector<int> totalsEndingAt(int total) {
  std::vector<int> scores;
  for (int frame = 1; frame <= 10; ++frame) scores.push_back(total * frame / 10);
  return scores;
}

// ---- which packs are open ----------------------------------------------------------------

TEST_F(GameChildTest, ThePackAfterOneThatReachedItsGoalOpensAndTheOthersStayClosed) {
  play(
      [](GAME_CHILD& game) {
        const int goal = test_support::generatedTextInt("junior_pack1_goal");
        test_support::seedPlayers(game.saves(), {"Reached", "Missed"});
        // Both played the whole first pack; one made its goal exactly, one fell a skittle short.
        test_support::seedResults(game.saves(), 0, 0, test_support::playedPack(0, 2, 4, 2, totalsEndingAt(goal)));
        test_support::seedResults(game.saves(), 1, 0,
                                  test_support::playedPack(0, 2, 4, 2, totalsEndingAt(goal - 1)));
      },
      [](GAME_CHILD& game) {
        const std::wstring goal1 = getText(L"junior_pack1_goal");
        const std::wstring goal2 = getText(L"junior_pack2_goal");
        const int goal = getTextInt(L"junior_pack1_goal");

        PACKS* packs = openPacks(game);
        CHILD_CHECK(packs->packButtons[0]->fGetState() != kDisabledFrame, "the first pack is closed");
        CHILD_CHECK(packs->packButtons[1]->fGetState() != kDisabledFrame, "the goal was reached, yet pack 2 is closed");
        for (int pack = 2; pack < 12; ++pack)
          CHILD_CHECK(packs->packButtons[pack]->fGetState() == kDisabledFrame, "pack " + std::to_string(pack + 1) + " is open");
        CHILD_CHECK(labelText(packs->packButtons[0], PACKS::FIRST_PACK_SCORE) == goal1 + L"/" + goal1,
                    "pack 1 shows " + narrow(labelText(packs->packButtons[0], PACKS::FIRST_PACK_SCORE)));
        CHILD_CHECK(labelText(packs->packButtons[1], PACKS::FIRST_PACK_SCORE + 1) == L"0/" + goal2,
                    "pack 2 shows " + narrow(labelText(packs->packButtons[1], PACKS::FIRST_PACK_SCORE + 1)));
        CHILD_CHECK(labelText(packs->packButtons[0], PACKS::FIRST_PACK_NAME) ==
                        replaceBarsWithNewlines(getText(L"pack1_name")),
                    "pack 1 is not named");

        gCurrentPlayer = 1;
        packs = openPacks(game);
        CHILD_CHECK(packs->packButtons[0]->fGetState() != kDisabledFrame, "the first pack is closed");
        CHILD_CHECK(packs->packButtons[1]->fGetState() == kDisabledFrame, "a score under the goal opened pack 2");
        CHILD_CHECK(labelText(packs->packButtons[0], PACKS::FIRST_PACK_SCORE) ==
                        std::to_wstring(goal - 1) + L"/" + goal1,
                    "pack 1 shows " + narrow(labelText(packs->packButtons[0], PACKS::FIRST_PACK_SCORE)));

        // The open pack leads to its score sheet after the slide out.
        gCurrentPack = 7;
        clickPack(game, 0);
        CHILD_CHECK(packs->slideState == PACKS::SLIDE::OUT, "the pack click did not start the slide out");
        game.wait(0.2f);
        CHILD_CHECK(currentScene<PACKS>() != nullptr, "the packs left before their slide had run");
        game.wait(0.15f);
        CHILD_CHECK(currentScene<SCENE_CARD_GAME_FRAMES>() != nullptr, "no score sheet after the pack click");
        CHILD_CHECK(gCurrentPack == 0, "the clicked pack is not the current one");
      });
}

TEST_F(GameChildTest, ThePackScoreIsTheLastFinishedFramesTotal) {
  play(
      [](GAME_CHILD& game) {
        test_support::seedPlayers(game.saves(), {"Halfway"});
        // Three frames of the first pack played, the fourth open.
        test_support::seedResults(game.saves(), 0, 0,
                                  {{0, 4, 10, 0, 20}, {1, 3, 6, 4, 37}, {2, 2, 7, 2, 46}, {3, 1, 0, 0, 0}});
      },
      [](GAME_CHILD& game) {
        PACKS* packs = openPacks(game);
        CHILD_CHECK(labelText(packs->packButtons[0], PACKS::FIRST_PACK_SCORE) ==
                        L"46/" + getText(L"junior_pack1_goal"),
                    "pack 1 shows " + narrow(labelText(packs->packButtons[0], PACKS::FIRST_PACK_SCORE)));
      });
}

TEST_F(GameChildTest, AHintTextWithPercentSignsIsShownAsItStands) {
  play(
      [](GAME_CHILD& game) { test_support::seedPlayers(game.saves(), {"Newcomer"}); },
      [](GAME_CHILD& game) {
        // A translation may hold what a format would read as arguments.
        gTexts.child("texts").child("hint_25").attribute("text").set_value("100%s sure|%n%ls%d");
        PACKS* packs = openPacks(game);
        CHILD_CHECK(packs->showPackHint && gHintShown[25] == 0, "the first-visit hint is not up");
        game.step(3);
        CHILD_CHECK(game.readBack().size() == 1024u * 768u * 4u, "the hint was not drawn");
      });
}

// ---- pages and slides -------------------------------------------------------------------

TEST_F(GameChildTest, TheArrowsTurnToTheSecondSixPacksAndBackInTheirOwnTime) {
  play(
      [](GAME_CHILD& game) { test_support::seedPlayers(game.saves(), {"Newcomer"}); },
      [](GAME_CHILD& game) {
        PACKS* packs = openPacks(game);
        CHILD_CHECK(packs->showPackHint, "a new player gets no first-visit hint");
        game.click(919.0f, 380.0f);
        CHILD_CHECK(packs->slideState == PACKS::SLIDE::PAGING, "the right arrow did not turn the page");
        CHILD_CHECK(gHintShown[25] == 1, "the right arrow left the first-visit hint up");
        game.wait(0.5f);
        CHILD_CHECK(packs->slideState == PACKS::SLIDE::PAGING, "the page turned faster than its pace");
        game.wait(0.15f);
        CHILD_CHECK(packs->slideState == PACKS::SLIDE::IDLE && packs->page == 1, "the page did not turn");
        game.step();
        const QEL::QS_VECTOR2 seventh = packs->packButtons[6]->fGetTransform()->fGetPosition();
        const QEL::QS_VECTOR2 first = packs->packButtons[0]->fGetTransform()->fGetPosition();
        CHILD_CHECK(seventh.x == 300.0f && seventh.y == 285.0f, "pack 7 is not where pack 1 was");
        CHILD_CHECK(first.x == 300.0f - 1024.0f, "pack 1 did not leave by a page");
        CHILD_CHECK(packs->rightButton->fGetTransform()->fGetPosition().x > 1024.0f, "a right arrow on the last page");

        // Back by the left arrow, which sits where the right one sat on the other side.
        game.click(102.0f, 380.0f);
        CHILD_CHECK(packs->slideState == PACKS::SLIDE::PAGING, "the left arrow did not turn the page");
        game.wait(kPageTurn);
        game.step();
        CHILD_CHECK(packs->page == 0, "the page did not turn back");
        CHILD_CHECK(packs->packButtons[0]->fGetTransform()->fGetPosition().x == 300.0f, "pack 1 is not home");
        CHILD_CHECK(packs->leftButton->fGetTransform()->fGetPosition().x > 1024.0f, "a left arrow on the first page");
      });
}

TEST_F(GameChildTest, AnArrowClickedWhileThePacksSlideInIsIgnoredAndNothingIsLeftPartWay) {
  play(
      [](GAME_CHILD& game) { test_support::seedPlayers(game.saves(), {"Hasty"}); },
      [](GAME_CHILD& game) {
        gCurrentPack = 5;
        PACKS* packs = openPacks(game, false);
        game.step(3);
        CHILD_CHECK(packs->slideState == PACKS::SLIDE::IN, "the slide in is already over");
        // Aim where the arrow will be on the pass of the press, so that it sees the whole click.
        const float perPass = 500.0f / 18.0f;
        const float y = packs->rightButton->fGetTransform()->fGetPosition().y + perPass;
        game.click(919.0f, y);
        CHILD_CHECK(packs->rightButton->fGetEventCode() == QEL::GUI_EVENT_CLICK, "the arrow saw no click");
        CHILD_CHECK(packs->slideState != PACKS::SLIDE::PAGING, "a page turn began during the slide in");
        game.wait(0.4f);
        CHILD_CHECK(packs->slideState == PACKS::SLIDE::IDLE && packs->page == 0, "the screen did not settle on the first page");
        CHILD_CHECK(packs->slideOffset == 0.0f, "the slide stopped part-way");
        CHILD_CHECK(packs->rightButton->fGetTransform()->fGetPosition().y == 380.0f, "the arrow rests out of place");
        // A pack clicked during the slide out is ignored too: the packs still go to the main menu.
        game.click(957.0f, 704.0f);
        CHILD_CHECK(packs->slideState == PACKS::SLIDE::OUT, "back did not start the slide out");
        clickPack(game, 0);
        CHILD_CHECK(packs->packButtons[0]->fGetEventCode() == QEL::GUI_EVENT_CLICK, "the pack saw no click");
        game.wait(kMenuSlide);
        CHILD_CHECK(currentScene<SCENE_CARD_GAME_MAINMENU>() != nullptr, "back did not lead to the main menu");
        CHILD_CHECK(gCurrentPack == 5, "the pack was taken during the slide out");
      });
}

// ---- the information panel of a closed pack ---------------------------------------------

TEST_F(GameChildTest, AClosedPackExplainsItselfUntilConfirmed) {
  play(
      [](GAME_CHILD& game) { test_support::seedPlayers(game.saves(), {"Curious"}); },
      [](GAME_CHILD& game) {
        gCurrentPack = 0;
        PACKS* packs = openPacks(game);
        clickPack(game, 4);
        CHILD_CHECK(packs->panelKind == PACKS::PANEL_KIND::INFORMATION, "no information panel for a closed pack");
        CHILD_CHECK(packs->panelState == PACKS::PANEL::SLIDING_IN, "the panel does not slide in");
        CHILD_CHECK(gCurrentPack == 0, "pressing a closed pack made it the current pack");
        game.wait(0.2f);
        CHILD_CHECK(packs->panelState == PACKS::PANEL::SLIDING_IN, "the panel slid in faster than its 0.3 s");
        game.wait(0.15f);
        CHILD_CHECK(packs->panelState == PACKS::PANEL::SHOWN, "the panel is not up after its slide");
        const std::wstring text = labelText(packs->informationPanelContainer->fGetRoot(), PACKS::INFORMATION_TEXT);
        CHILD_CHECK(!text.empty() && text == replaceBarsWithNewlines(getText(L"hint_21")),
                    "the panel says " + narrow(text));

        // The screen behind the panel does not react.
        game.click(957.0f, 704.0f);
        clickPack(game, 0);
        game.wait(kMenuSlide);
        CHILD_CHECK(currentScene<PACKS>() == packs && packs->panelState == PACKS::PANEL::SHOWN,
                    "the packs behind the panel reacted");

        game.click(685.0f, 443.0f);
        CHILD_CHECK(packs->panelState == PACKS::PANEL::SLIDING_OUT, "confirm did not close the panel");
        game.wait(kMenuSlide);
        CHILD_CHECK(packs->panelState == PACKS::PANEL::NONE, "the panel did not go");
        CHILD_CHECK(currentScene<PACKS>() == packs, "confirm left the level packs");
        // The open pack works again.
        clickPack(game, 0);
        CHILD_CHECK(packs->slideState == PACKS::SLIDE::OUT, "the first pack does not react after the panel");
      });
}

// ---- professional mode ------------------------------------------------------------------

// Player 0 has the first professional pack done and three frames of the second; player 1 has
// professional results of the second pack too, and both have junior results there.
void seedProfessionalPlayers(GAME_CHILD& game) {
  const int goal = test_support::generatedTextInt("professional_pack1_goal");
  test_support::seedPlayers(game.saves(), {"Pro", "Other"});
  std::vector<STORED_LEVEL> professional = test_support::playedPack(0, 3, 5, 5, totalsEndingAt(goal + 20));
  for (const STORED_LEVEL& level : std::vector<STORED_LEVEL>{
           {10, 4, 10, 0, 27}, {11, 3, 8, 2, 45}, {12, 2, 6, 2, 53}, {13, 1, 0, 0, 0}})
    professional.push_back(level);
  test_support::seedResults(game.saves(), 0, 1, professional);
  test_support::seedResults(game.saves(), 1, 1, professional);
  std::vector<STORED_LEVEL> junior = test_support::playedPack(0, 2, 6, 3, totalsEndingAt(90));
  junior.push_back({10, 2, 5, 3, 8});
  test_support::seedResults(game.saves(), 0, 0, junior);
}

PACKS* openProfessionalPanelOfSecondPack(GAME_CHILD& game) {
  gGameMode = 1;
  loadLevelsInfo(-1);  // as the main menu's mode selection does
  PACKS* packs = openPacks(game);
  CHILD_CHECK(packs->packButtons[1]->fGetState() != kDisabledFrame, "the second professional pack is closed");
  clickPack(game, 1);
  CHILD_CHECK(packs->panelKind == PACKS::PANEL_KIND::PROFESSIONAL, "no professional panel");
  CHILD_CHECK(gCurrentPack == 1, "the clicked pack is not the current one");
  game.wait(kMenuSlide);
  CHILD_CHECK(packs->panelState == PACKS::PANEL::SHOWN, "the professional panel is not up");
  return packs;
}

TEST_F(GameChildTest, StartingAProfessionalPackAfreshClearsOnlyItsProfessionalResults) {
  play(seedProfessionalPlayers, [](GAME_CHILD& game) {
    openProfessionalPanelOfSecondPack(game);
    const int firstPackTotal = getLevelResult(0, 9, kScoreField, 1);
    game.click(497.0f, 200.0f);
    for (int level = 10; level < 20; ++level)
      for (int field = 0; field < 5; ++field) {
        const int expected = level == 10 && field == kResultField ? 1 : 0;
        CHILD_CHECK(getLevelResult(0, level, field, 1) == expected,
                    "professional level " + std::to_string(level) + " field " + std::to_string(field) + " kept");
      }
    CHILD_CHECK(getLevelResult(0, 9, kScoreField, 1) == firstPackTotal && getLevelResult(0, 9, kResultField, 1) == 3,
                "the first professional pack was touched");
    CHILD_CHECK(getLevelResult(0, 10, kResultField, 0) == 2 && getLevelResult(0, 10, kScoreField, 0) == 8,
                "the junior results of the pack were touched");
    CHILD_CHECK(getLevelResult(1, 11, kResultField, 1) == 3 && getLevelResult(1, 12, kScoreField, 1) == 53,
                "another player's professional results were touched");
    // The level starts once the panel has slid out, without a score sheet in between.
    game.wait(0.2f);
    CHILD_CHECK(currentScene<PACKS>() != nullptr, "the level started before the panel had gone");
    game.wait(0.15f);
    CHILD_CHECK(currentScene<SCENE_CARD_GAME_LEVEL>() != nullptr, "start did not lead to the level");
    CHILD_CHECK(gCurrentLevel == 10, "start began at level " + std::to_string(gCurrentLevel));
  });
}

TEST_F(GameChildTest, ContinuingAProfessionalPackStartsItsFirstOpenFrame) {
  play(seedProfessionalPlayers, [](GAME_CHILD& game) {
    openProfessionalPanelOfSecondPack(game);
    game.click(497.0f, 307.0f);
    game.wait(kMenuSlide);
    CHILD_CHECK(currentScene<SCENE_CARD_GAME_LEVEL>() != nullptr, "continue did not lead to the level");
    CHILD_CHECK(gCurrentLevel == 13, "continue began at level " + std::to_string(gCurrentLevel));
    CHILD_CHECK(getLevelResult(0, 12, kScoreField, 1) == 53, "continue changed the results");
  });
}

TEST_F(GameChildTest, CancellingTheProfessionalPanelOnlyClosesIt) {
  play(seedProfessionalPlayers, [](GAME_CHILD& game) {
    PACKS* packs = openProfessionalPanelOfSecondPack(game);
    // The pointer left on continue by the pack's click takes one pass to leave it.
    game.moveTo(497.0f, 413.0f);
    game.step();
    game.click(497.0f, 413.0f);
    game.wait(kMenuSlide);
    CHILD_CHECK(currentScene<PACKS>() == packs, "cancel left the level packs");
    CHILD_CHECK(packs->panelState == PACKS::PANEL::NONE,
                "the panel is in state " + std::to_string(static_cast<int>(packs->panelState)));
    CHILD_CHECK(getLevelResult(0, 11, kResultField, 1) == 3, "cancel changed the results");
  });
}

// ---- a closed pack is never started -----------------------------------------------------

TEST_F(GameChildTest, AClosedPackCannotBeStartedByClickKeyOrDeveloperKey) {
  play(
      [](GAME_CHILD& game) { test_support::seedPlayers(game.saves(), {"Locked"}); },
      [](GAME_CHILD& game) {
        CHILD_CHECK(gIsCheat == 0, "the developer flag is set");
        for (int mode = 0; mode <= 1; ++mode) {
          gGameMode = mode;
          loadLevelsInfo(-1);  // as the main menu's mode selection does
          PACKS* packs = openPacks(game);
          CHILD_CHECK(packs->packButtons[0]->fGetState() != kDisabledFrame, "a new player's first pack is closed");
          // The button itself: a closed pack's button reports nothing, however long it is held.
          game.moveTo(packX(2), packY(2));
          game.step();
          QEL::qcINPUT->fOnKeyDown(1);
          game.step(10);
          QEL::qcINPUT->fOnKeyUp(1);
          game.step();
          CHILD_CHECK(packs->panelKind == PACKS::PANEL_KIND::INFORMATION, "the closed pack did not explain itself");
          game.wait(kMenuSlide);
          game.click(685.0f, 443.0f);
          game.wait(kMenuSlide);
          // Keys: the developer's 'O' without the developer flag, Enter, Space.
          for (uint32_t key : {79u, 13u, 32u}) {
            game.moveTo(packX(2), packY(2));
            game.key(key);
          }
          game.wait(kMenuSlide);
          CHILD_CHECK(currentScene<PACKS>() == packs, "the level packs were left");
          CHILD_CHECK(gCheatKeyUsed == 0, "a developer key counted without the developer flag");
          CHILD_CHECK(packs->panelState == PACKS::PANEL::NONE, "a key opened a panel");
        }
        CHILD_CHECK(gCurrentPack == 0, "a closed pack became the current pack");
      });
}

TEST_F(GameChildTest, WithTheDeveloperFlagTheKeyOLeadsToTheMainMenuAtOnce) {
  play(
      [](GAME_CHILD& game) {
        test_support::seedPlayers(game.saves(), {"Developer"});
        test_support::writeFile(game.root / "start" / "cheat.txt", "");
      },
      [](GAME_CHILD& game) {
        CHILD_CHECK(gIsCheat == 1, "the developer flag is not set");
        openPacks(game, false);
        game.key(79);
        CHILD_CHECK(currentScene<SCENE_CARD_GAME_MAINMENU>() != nullptr, "'O' did not lead to the main menu");
        // The main menu's start-up may already have acted on the note (the all-levels view).
        CHILD_CHECK(gCheatKeyUsed == 1 || gIsAllLevelsView == 1, "the developer key was not noted");
      });
}

}  // namespace
