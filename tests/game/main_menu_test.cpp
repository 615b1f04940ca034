// The main menu played as a player plays it: the whole game in a child process, the pointer
// moved and clicked through the input object, the passes stepped, and what the screen, the
// mixer and the save files show afterwards.
#include <AL/al.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/game.h"
#include "engine/globals.h"
#include "engine/sound.h"
#include "game/fonts_sounds.h"
#include "game/game_globals.h"
#include "game/level_results.h"
#include "game/scenes/level_packs/level_packs_scene.h"
#include "game/scenes/main_menu/main_menu_scene.h"
#include "game/scenes/scene_widgets.h"
#include "game/texts.h"
#include "game_child.h"
#include "gui/gui_button5.h"
#include "gui/gui_linebox.h"
#include "gui/gui_wlabel.h"
#include "menu_scenario.h"

namespace {

using test_support::GAME_CHILD;
using test_support::GameChildTest;
using test_support::kMenuSlide;

using namespace test_support::main_menu_scenario;

float gainOf(QEL::QC_SOUND* sound) {
  float gain = -1.0f;
  if (sound != nullptr && sound->fGetSource() != 0) alGetSourcef(sound->fGetSource(), AL_GAIN, &gain);
  return gain;
}

std::string savedPlayers(GAME_CHILD& game) { return test_support::readFile(game.saves() / "players.xml"); }

TEST_F(GameChildTest, AFirstStartAsksForANameAndMakesThePlayer) {
  play([](GAME_CHILD& game) {
    CHILD_CHECK(dialogOpens(game, MENU::ADD_PLAYER_DIALOG), "no name dialog on a first start");
    CHILD_CHECK(menu()->isAddPlayerForced, "the dialog is not marked as forced");
    click(game, kPanelClose);
    game.wait(0.5f);
    CHILD_CHECK(menu()->dialogState == MENU::DIALOG_OPEN, "the name dialog could be closed with no player");
    // Refused characters and a thirteenth letter do not go in.
    game.type(L"An!n@ #na.-_");
    CHILD_CHECK(menu()->nameLineBox->fGetText() == L"Annna", "refused characters went in");
    game.type(L"abcdefgXYZ");
    CHILD_CHECK(menu()->nameLineBox->fGetText() == L"Annnaabcdefg", "more than twelve letters went in");
    click(game, kPanelConfirm);
    CHILD_CHECK(settled(game), "the menu did not come up after the name");
    CHILD_CHECK(gNumberOfPlayers == 1 && gPlayers[0].name == L"Annnaabcdefg", "no player made");
    CHILD_CHECK(gPlayers[0].isFullscreen == 1 && gPlayers[0].jokers == 3 && gPlayers[0].reshuffles == 2,
                "the first player lacks the defaults");
    CHILD_CHECK(gPlayers[0].money == getTextIntW(L"shop_price_joker"), "the first player's money");
    CHILD_CHECK(savedPlayers(game).find("name=\"Annnaabcdefg\"") != std::string::npos, "the player is not saved");
    CHILD_CHECK(menu()->playerNameLabel->fGetText() == L"Annnaabcdefg", "the name plate");
  });
}

// The hand through the platform layer: clicks and typed characters posted as the system's
// window messages, read by the engine's message pump (GAME_CHILD::pumpsMessages).
void postClick(GAME_CHILD& game, SPOT spot) { game.postClick(spot.x, spot.y); }

TEST_F(GameChildTest, LettersNoFontCanWriteAreRefusedAsTypedAndNoNameMakesAPlayerNamedPlayer) {
  play([](GAME_CHILD& game) {
    game.pumpsMessages = true;
    CHILD_CHECK(dialogOpens(game, MENU::ADD_PLAYER_DIALOG), "no name dialog");
    game.postType(L"\u4E2D\u6587");
    CHILD_CHECK(menu()->nameLineBox->fIsEmpty(), "the box holds letters it cannot show");
    // OK with the box empty: on a first start the dialog would only come back.
    postClick(game, kPanelConfirm);
    CHILD_CHECK(settled(game), "the name dialog came back");
    CHILD_CHECK(gNumberOfPlayers == 1 && gPlayers[0].name == L"Player", "no player named Player");
    CHILD_CHECK(menu()->playerNameLabel->fGetText() == L"Player", "the name plate");

    postClick(game, kPlayer);
    CHILD_CHECK(windowOpens(game, MENU::CHANGE_PLAYER_WINDOW), "no change-player window");
    postClick(game, addPlayerButton(1));
    CHILD_CHECK(dialogOpens(game, MENU::ADD_PLAYER_DIALOG), "no name dialog from the plus button");
    game.postType(L"Zo\u4E2D\u00EB\u6587\u00DF\u0416");
    CHILD_CHECK(menu()->nameLineBox->fGetText() == L"Zo\u00EB\u00DF\u0416", "the box holds letters it cannot show");
    postClick(game, kPanelConfirm);
    CHILD_CHECK(game.stepUntil([] { return menu()->dialogState == MENU::NO_DIALOG; }), "the written name was not taken");
    CHILD_CHECK(gPlayers[1].name == L"Zo\u00EB\u00DF\u0416", "the name changed");
    const std::string saved = savedPlayers(game);
    CHILD_CHECK(saved.find("name=\"Player\"") != std::string::npos, "the first player is not saved");
    CHILD_CHECK(saved.find("name=\"Zo\xC3\xAB\xC3\x9F\xD0\x96\"") != std::string::npos,
                "the name is not saved in UTF-8");
  });
}

TEST_F(GameChildTest, LettersTypedWithinOnePumpAllReachTheNameInOrder) {
  play([](GAME_CHILD& game) {
    game.pumpsMessages = true;
    CHILD_CHECK(dialogOpens(game, MENU::ADD_PLAYER_DIALOG), "no name dialog");
    game.postTypeInOnePump(L"abcd");
    CHILD_CHECK(menu()->nameLineBox->fGetText() == L"abcd", "letters of one pump were lost");
    postClick(game, kPanelConfirm);
    CHILD_CHECK(settled(game), "the menu did not come up after the name");
    CHILD_CHECK(savedPlayers(game).find("name=\"abcd\"") != std::string::npos, "the player is not saved as abcd");
  });
}

// A name that reached the box other than by typing is still refused on OK when a font of the
// names cannot write it; the refusal stands above the question, clear of it.
TEST_F(GameChildTest, TheRefusalOfANameLeavesTheQuestionUnderItReadable) {
  play([](GAME_CHILD& game) {
    CHILD_CHECK(dialogOpens(game, MENU::ADD_PLAYER_DIALOG), "no name dialog");
    const auto picture = [&game] {
      game.draw();
      return game.readBack();
    };
    const std::vector<uint8_t> asked = picture();
    menu()->namePanelTextLabel->fSetText(L"");
    const std::vector<uint8_t> unasked = picture();
    menu()->namePanelTextLabel->fSetText(getText(L"enter_your_name"));
    menu()->nameLineBox->fSetText(L"Li\u4E2D");
    click(game, kPanelConfirm);
    game.wait(0.5f);
    CHILD_CHECK(menu()->dialogState == MENU::DIALOG_OPEN && gNumberOfPlayers == 0, "an unwritable name was taken");
    const std::wstring refusal = replaceBarsWithNewlines(getText(L"player_name_letters_unknown"));
    CHILD_CHECK(menu()->namePanelMessageLabel->fGetText() == refusal, "no message for the unwritable name");
    CHILD_CHECK(std::count(refusal.begin(), refusal.end(), L'\n') == 2, "the refusal is not three lines long");
    const std::vector<uint8_t> refused = picture();

    // The rows the question is drawn on, and the lowest row the refusal reaches above its end.
    int questionTop = 768;
    int questionBottom = -1;
    for (int y = 0; y < 768; ++y)
      for (int x = 0; x < 1024; ++x)
        if (test_support::pixelAt(asked, x, y) != test_support::pixelAt(unasked, x, y)) {
          questionTop = std::min(questionTop, y);
          questionBottom = std::max(questionBottom, y);
        }
    CHILD_CHECK(questionBottom > questionTop, "the question is not drawn");
    int refusalBottom = -1;
    for (int y = 0; y <= questionBottom; ++y)
      for (int x = 0; x < 1024; ++x)
        if (test_support::pixelAt(refused, x, y) != test_support::pixelAt(asked, x, y)) refusalBottom = y;
    CHILD_CHECK(refusalBottom >= 0, "the refusal is not drawn");
    CHILD_CHECK(refusalBottom < questionTop, "the refusal reaches row " + std::to_string(refusalBottom) +
                                                 "; the question starts at row " + std::to_string(questionTop));
  });
}

TEST_F(GameChildTest, PlayGoesThroughJuniorModeToTheLevelPacks) {
  play([](GAME_CHILD& game) { test_support::seedPlayers(game.saves(), {"Ann"}, 0); },
       [](GAME_CHILD& game) {
         CHILD_CHECK(settled(game), "the menu did not settle");
         click(game, kPlay);
         // A click on another main button during the flight does nothing.
         click(game, kHelp);
         CHILD_CHECK(windowOpens(game, MENU::MODE_SELECTION_WINDOW), "no mode selection");
         CHILD_CHECK(menu()->isPlayPressed == 1, "play not recorded");
         CHILD_CHECK(menu()->professionalButton->fGetState() == 4, "professional open without the first pack");
         click(game, kJunior);
         CHILD_CHECK(game.stepUntil([] { return dynamic_cast<SCENE_CARD_GAME_LEVELPACKS*>(gCurrentScene) != nullptr; }),
                     "the level packs did not follow");
         CHILD_CHECK(gGameMode == 0 && gPlayers[0].isShowedFirstHint == 1, "junior mode not taken");
         CHILD_CHECK(savedPlayers(game).find("isShowedFirstHint=\"1\"") != std::string::npos, "the hint is not saved");
       });
}

TEST_F(GameChildTest, ProfessionalModeIsLockedUntilTheFirstPacksGoalIsReached) {
  play([](GAME_CHILD& game) { test_support::seedPlayers(game.saves(), {"Ann"}, 0); },
       [](GAME_CHILD& game) {
         CHILD_CHECK(settled(game), "the menu did not settle");
         click(game, kPlay);
         CHILD_CHECK(windowOpens(game, MENU::MODE_SELECTION_WINDOW), "no mode selection");
         click(game, kProfessional);
         CHILD_CHECK(dialogOpens(game, MENU::INFORMATION_DIALOG), "the locked mode does not explain itself");
         click(game, kJunior);
         CHILD_CHECK(menu()->windowState == MENU::MODE_SELECTION_WINDOW, "the window under the dialog took a click");
         click(game, kInformationConfirm);
         CHILD_CHECK(game.stepUntil([] { return menu()->dialogState == MENU::NO_DIALOG; }), "the dialog stays");
         CHILD_CHECK(gGameMode == 0, "the mode changed");
       });
}

TEST_F(GameChildTest, ProfessionalModeLeadsToThePacksOnceOpen) {
  play(
      [](GAME_CHILD& game) {
        test_support::seedPlayers(game.saves(), {"Ann"}, 0);
        // The first pack's goal reached: the second pack's first level is open in junior mode.
        test_support::seedResults(game.saves(), 0, 0, {{9, 4, 10, 0, 280, 10}, {10, 1, 0, 0, 0}});
      },
      [](GAME_CHILD& game) {
        CHILD_CHECK(settled(game), "the menu did not settle");
        click(game, kPlay);
        CHILD_CHECK(windowOpens(game, MENU::MODE_SELECTION_WINDOW), "no mode selection");
        CHILD_CHECK(menu()->professionalButton->fGetState() != 4, "professional still locked");
        click(game, kProfessional);
        CHILD_CHECK(game.stepUntil([] { return dynamic_cast<SCENE_CARD_GAME_LEVELPACKS*>(gCurrentScene) != nullptr; }),
                    "the level packs did not follow");
        CHILD_CHECK(gGameMode == 1, "not professional");
      });
}

// The mode window shows both totals; a mode's total does not shrink because the other mode
// is being played.
TEST_F(GameChildTest, EachModesTotalCountsItsOwnOpenPacks) {
  constexpr int kSecondPackFrame = 30;
  constexpr int kProfessionalFrame = 7;
  play(
      [](GAME_CHILD& game) {
        const int goal = test_support::generatedTextInt("junior_pack1_goal");
        test_support::seedPlayers(game.saves(), {"Ann"}, 0);
        test_support::seedResults(game.saves(), 0, 0, {{9, 4, 10, 0, goal, 10}, {10, 4, 10, 0, kSecondPackFrame}});
        test_support::seedResults(game.saves(), 0, 1, {{0, 2, 3, 4, kProfessionalFrame}});
      },
      [](GAME_CHILD& game) {
        game.pumpsMessages = true;
        const std::wstring junior = numberToWString(getTextInt(L"junior_pack1_goal") + kSecondPackFrame);
        const std::wstring professional = numberToWString(kProfessionalFrame);
        const auto checkTotals = [&](const char* when) {
          CHILD_CHECK(menu()->juniorScoreLabel->fGetText().find(L": " + junior + L"\n") != std::wstring::npos,
                      std::string("the junior total ") + when);
          CHILD_CHECK(menu()->professionalScoreLabel->fGetText().find(L": " + professional + L"\n") !=
                          std::wstring::npos,
                      std::string("the professional total ") + when);
        };
        CHILD_CHECK(settled(game), "the menu did not settle");
        postClick(game, kPlay);
        CHILD_CHECK(windowOpens(game, MENU::MODE_SELECTION_WINDOW), "no mode selection");
        checkTotals("in junior mode");
        postClick(game, kProfessional);
        CHILD_CHECK(game.stepUntil([] { return test_support::currentScene<SCENE_CARD_GAME_LEVELPACKS>() != nullptr; }),
                    "the level packs did not follow");
        CHILD_CHECK(gGameMode == 1, "not professional");
        game.wait(kMenuSlide);
        game.postClick(957.0f, 704.0f);  // the packs' way back
        CHILD_CHECK(game.stepUntil([] { return menu() != nullptr; }), "no way back to the main menu");
        CHILD_CHECK(settled(game), "the menu did not settle");
        postClick(game, kPlay);
        CHILD_CHECK(windowOpens(game, MENU::MODE_SELECTION_WINDOW), "no mode selection");
        checkTotals("after professional mode was chosen");
      });
}

TEST_F(GameChildTest, OptionsSetTheVolumesTheBoxesAndTheCardsAndSaveThemOnClose) {
  play([](GAME_CHILD& game) { test_support::seedPlayers(game.saves(), {"Ann"}, 0); },
       [](GAME_CHILD& game) {
         CHILD_CHECK(settled(game), "the menu did not settle");
         click(game, kOptions);
         CHILD_CHECK(windowOpens(game, MENU::OPTIONS_WINDOW), "no options window");
         const float knobX = kTrackLeft + (kTrackRight - kTrackLeft) * 0.5f;
         // The sound knob dragged three quarters along; past the end it stops there.
         game.drag(knobX, kSoundTrackY, kTrackLeft + (kTrackRight - kTrackLeft) * 0.75f, kSoundTrackY);
         CHILD_CHECK(std::abs(gPlayers[0].soundVolume - 0.75f) < 0.01f, "the sound volume did not follow the knob");
         CHILD_CHECK(std::abs(gainOf(gSounds[kSoundButtonClick]) - gPlayers[0].soundVolume) < 0.001f,
                     "the effects' gain is not the volume");
         game.drag(knobX, kMusicTrackY, 900.0f, kMusicTrackY);
         CHILD_CHECK(gPlayers[0].musicVolume == 1.0f, "the music knob did not stop at the end");
         // A press on the track, not on the knob, sets the volume at once.
         click(game, {kTrackLeft + (kTrackRight - kTrackLeft) * 0.25f, kMusicTrackY});
         CHILD_CHECK(std::abs(gPlayers[0].musicVolume - 0.25f) < 0.01f, "a press on the track");
         CHILD_CHECK(std::abs(gainOf(gMusicTracks[0]) - 0.25f) < 0.01f, "the music's gain is not the volume");
         CHILD_CHECK(savedPlayers(game).find("soundVolume=\"0.5\"") != std::string::npos,
                     "the options were saved before the window closed");

         click(game, kFullscreenBox);
         CHILD_CHECK(gPlayers[0].isFullscreen == 1, "the full-screen box");
         click(game, kFullscreenBox);
         CHILD_CHECK(gPlayers[0].isFullscreen == 0, "the ticked full-screen box");
         click(game, kCursorBox);
         CHILD_CHECK(gPlayers[0].isMuteAll == 0, "the cursor box");
         click(game, kThirdBack);
         click(game, kSecondType);
         CHILD_CHECK(gPlayers[0].currentBack == 2 && gPlayers[0].currentCardType == 1, "card back and type");
         CHILD_CHECK(menu()->backButtons[2]->fGetState() == 4 && menu()->backButtons[0]->fGetState() != 4,
                     "the chosen back is not the one marked");
         click(game, kOptionsClose);
         CHILD_CHECK(settled(game), "the main buttons did not come back");
         const std::string saved = savedPlayers(game);
         CHILD_CHECK(saved.find("soundVolume=\"0.75") != std::string::npos, "the sound volume is not saved");
         CHILD_CHECK(saved.find("musicVolume=\"0.25") != std::string::npos, "the music volume is not saved");
         CHILD_CHECK(saved.find("isMuteAll=\"false\"") != std::string::npos, "the cursor option is not saved");
         CHILD_CHECK(saved.find("currentBack=\"2\"") != std::string::npos, "the back is not saved");
       });
}

// A touchpad's tap or a remote desktop's click: press and release reach the game together.
TEST_F(GameChildTest, AClickWhosePressAndReleaseArriveTogetherOpensTheOptions) {
  play([](GAME_CHILD& game) { test_support::seedPlayers(game.saves(), {"Ann"}, 0); },
       [](GAME_CHILD& game) {
         CHILD_CHECK(settled(game), "the menu did not settle");
         game.tap(kOptions.x, kOptions.y);
         CHILD_CHECK(windowOpens(game, MENU::OPTIONS_WINDOW), "the tap on Options was lost");
         click(game, kOptionsClose);
         CHILD_CHECK(settled(game), "the main buttons did not come back");
         // A touch: the pointer comes from elsewhere with the press and the release.
         test_support::postPointer(kHelp.x, kHelp.y - 150);
         game.pumpStep(2);
         game.touch(kOptions.x, kOptions.y);
         CHILD_CHECK(windowOpens(game, MENU::OPTIONS_WINDOW), "the touch on Options was lost");
       });
}

TEST_F(GameChildTest, CreditsOpenFromTheOptionsAndLeadBackToThem) {
  play([](GAME_CHILD& game) { test_support::seedPlayers(game.saves(), {"Ann"}, 0); },
       [](GAME_CHILD& game) {
         CHILD_CHECK(settled(game), "the menu did not settle");
         click(game, kOptions);
         CHILD_CHECK(windowOpens(game, MENU::OPTIONS_WINDOW), "no options window");
         click(game, kCredits);
         CHILD_CHECK(windowOpens(game, MENU::CREDITS_WINDOW), "no credits");
         CHILD_CHECK(menu()->menuState == MENU::MENU_AWAY, "the main buttons came back in between");
         click(game, kWindowClose);
         CHILD_CHECK(windowOpens(game, MENU::OPTIONS_WINDOW), "the credits do not lead back to the options");
       });
}

TEST_F(GameChildTest, HelpPagesTurnForwardAndBack) {
  play([](GAME_CHILD& game) { test_support::seedPlayers(game.saves(), {"Ann"}, 0); },
       [](GAME_CHILD& game) {
         CHILD_CHECK(settled(game), "the menu did not settle");
         click(game, kHelp);
         CHILD_CHECK(windowOpens(game, MENU::HELP_WINDOW), "no help window");
         CHILD_CHECK(menu()->helpLabels[0]->fGetText() == replaceBarsWithNewlines(getText(L"help_message_1")),
                     "the first page's first text");
         click(game, kHelpRight);
         CHILD_CHECK(menu()->helpPage == 1, "the right arrow");
         CHILD_CHECK(menu()->helpLabels[0]->fGetText() == replaceBarsWithNewlines(getText(L"help_message_8")),
                     "the second page's first text");
         CHILD_CHECK(menu()->helpLabels[5]->fGetText().empty(), "a first-page text stayed on the second page");
         click(game, kHelpRight);  // the right arrow has gone: nothing happens there
         CHILD_CHECK(menu()->helpPage == 1, "a hidden arrow turned the page");
         click(game, kHelpLeft);
         CHILD_CHECK(menu()->helpPage == 0, "the left arrow");
         click(game, kWindowClose);
         CHILD_CHECK(settled(game), "the help window did not close");
       });
}

TEST_F(GameChildTest, TrophyPagesGoRoundAndShowTheirTrophies) {
  play([](GAME_CHILD& game) { test_support::seedPlayers(game.saves(), {"Ann"}, 0); },
       [](GAME_CHILD& game) {
         CHILD_CHECK(settled(game), "the menu did not settle");
         click(game, kTrophies);
         CHILD_CHECK(windowOpens(game, MENU::TROPHIES_WINDOW), "no trophies window");
         for (int page = 1; page <= 4; ++page) {
           click(game, kTrophiesRight);
           const int first = 6 * (page % 4) + 1;
           CHILD_CHECK(menu()->trophiesPage == page % 4, "the page did not turn");
           CHILD_CHECK(menu()->trophyLabels[0][0]->fGetText() ==
                           replaceBarsWithNewlines(getTextW(L"trophy_" + std::to_wstring(first) + L"_name")),
                       "the page's first trophy name");
         }
         click(game, kTrophiesClose);
         CHILD_CHECK(settled(game), "the trophies window did not close");
       });
}

TEST_F(GameChildTest, TheQuitDialogClosesOrEndsTheGame) {
  play([](GAME_CHILD& game) { test_support::seedPlayers(game.saves(), {"Ann"}, 0); },
       [](GAME_CHILD& game) {
         CHILD_CHECK(settled(game), "the menu did not settle");
         click(game, kExit);
         CHILD_CHECK(dialogOpens(game, MENU::QUIT_DIALOG), "no quit dialog");
         click(game, kPlay);  // under the dialog
         CHILD_CHECK(menu()->menuState == MENU::MENU_READY, "a main button under the dialog took a click");
         click(game, kPanelClose);
         CHILD_CHECK(settled(game), "the dialog did not close");
         CHILD_CHECK(QEL::qcGAME->_settings._running == 1, "closing the dialog ended the game");
         click(game, kExit);
         CHILD_CHECK(dialogOpens(game, MENU::QUIT_DIALOG), "no quit dialog the second time");
         click(game, kPanelConfirm);
         CHILD_CHECK(QEL::qcGAME->_settings._running == 0, "the game goes on after the quit");
       });
}

TEST_F(GameChildTest, PlayersAreChosenAddedAndDeletedInTheChangePlayerWindow) {
  play(
      [](GAME_CHILD& game) {
        test_support::seedPlayers(game.saves(), {"Ann", "Bob"}, 1);
      },
      [](GAME_CHILD& game) {
        CHILD_CHECK(settled(game), "the menu did not settle");
        click(game, kPlayer);
        CHILD_CHECK(windowOpens(game, MENU::CHANGE_PLAYER_WINDOW), "no change-player window");
        click(game, playerRow(0));
        CHILD_CHECK(gCurrentPlayer == 0 && menu()->playerNameLabel->fGetText() == L"Ann", "row 0 not chosen");
        CHILD_CHECK(savedPlayers(game).find("currentPlayer=\"0\"") != std::string::npos, "the choice is not saved");

        click(game, addPlayerButton(2));
        CHILD_CHECK(dialogOpens(game, MENU::ADD_PLAYER_DIALOG), "no name dialog");
        click(game, playerRow(1));  // under the dialog
        CHILD_CHECK(gCurrentPlayer == 0, "a row under the dialog was chosen");
        game.type(L"Ann");
        click(game, kPanelConfirm);
        game.wait(0.2f);
        CHILD_CHECK(menu()->dialogState == MENU::DIALOG_OPEN && gNumberOfPlayers == 2, "a taken name was added");
        CHILD_CHECK(menu()->namePanelMessageLabel->fGetText() == getText(L"player_exists"), "no taken-name message");
        menu()->nameLineBox->fClear();
        game.type(L"Cid");
        click(game, kPanelConfirm);
        CHILD_CHECK(game.stepUntil([] { return menu()->dialogState == MENU::NO_DIALOG; }), "the dialog stays");
        CHILD_CHECK(gNumberOfPlayers == 3 && gCurrentPlayer == 2 && gPlayers[2].name == L"Cid", "Cid not added");

        click(game, removeButton(0));
        CHILD_CHECK(dialogOpens(game, MENU::DELETE_PLAYER_DIALOG), "no delete dialog");
        CHILD_CHECK(menu()->namePanelTextLabel->fGetText().find(L"Ann") != std::wstring::npos,
                    "the delete question does not name the player");
        click(game, kPanelConfirm);
        CHILD_CHECK(game.stepUntil([] { return menu()->dialogState == MENU::NO_DIALOG; }), "the dialog stays");
        CHILD_CHECK(gNumberOfPlayers == 2 && gPlayers[0].name == L"Bob" && gPlayers[gCurrentPlayer].name == L"Cid",
                    "the delete went wrong");
        click(game, kWindowClose);
        CHILD_CHECK(settled(game), "the window did not close");
        CHILD_CHECK(menu()->playerNameLabel->fGetText() == L"Cid", "the name plate");
      });
}

TEST_F(GameChildTest, NoMoreThanFivePlayers) {
  play(
      [](GAME_CHILD& game) {
        test_support::seedPlayers(game.saves(), {"A", "B", "C", "D", "E"}, 0);
      },
      [](GAME_CHILD& game) {
        CHILD_CHECK(settled(game), "the menu did not settle");
        click(game, kPlayer);
        CHILD_CHECK(windowOpens(game, MENU::CHANGE_PLAYER_WINDOW), "no change-player window");
        CHILD_CHECK(menu()->addPlayerButton->fGetTransform()->fGetPosition().x > 1024.0f, "the add button shows");
        menu()->nameLineBox->fSetText(L"F");
        menu()->addPlayer();
        CHILD_CHECK(gNumberOfPlayers == 5, "a sixth player");
      });
}

// Passes (of 1/60 s) until the condition holds.
int passesUntil(GAME_CHILD& game, const std::function<bool()>& condition) {
  int passes = 0;
  while (!condition() && passes < 200) {
    game.step();
    ++passes;
  }
  return passes;
}

// A window or dialog takes a third of a second to slide into place; clicks on the main
// buttons while they fly back in do nothing.
TEST_F(GameChildTest, WindowsAndDialogsSlideForAThirdOfASecondAndIgnoreClicksMeanwhile) {
  play([](GAME_CHILD& game) { test_support::seedPlayers(game.saves(), {"Ann"}, 0); },
       [](GAME_CHILD& game) {
         CHILD_CHECK(settled(game), "the menu did not settle");
         click(game, kHelp);
         const int helpSlidingIn = MENU::HELP_WINDOW + static_cast<int>(MENU::WINDOW_SLIDING_IN);
         CHILD_CHECK(game.stepUntil([&] { return menu()->windowState == helpSlidingIn; }), "no slide in");
         const int slide = passesUntil(game, [] { return menu()->windowState == MENU::HELP_WINDOW; });
         CHILD_CHECK(slide >= 17 && slide <= 19, "the window's slide took " + std::to_string(slide) + " passes");

         click(game, kWindowClose);
         CHILD_CHECK(game.stepUntil([] { return menu()->menuState == MENU::MENU_FLYING_IN; }), "no flight in");
         click(game, kOptions);
         CHILD_CHECK(settled(game), "the menu did not settle");
         game.wait(0.5f);
         CHILD_CHECK(menu()->windowState == MENU::NO_WINDOW, "a click during the flight opened a window");

         click(game, kExit);
         const int dialog = passesUntil(game, [] { return menu()->dialogState == MENU::DIALOG_OPEN; });
         CHILD_CHECK(dialog >= 16 && dialog <= 19, "the dialog's slide took " + std::to_string(dialog) + " passes");
       });
}

// The seeded player plays in a window, and so does the one who comes after her.
TEST_F(GameChildTest, DeletingTheLastPlayerBringsBackTheNameDialogAndTheNextPlayerKeepsTheWindow) {
  play([](GAME_CHILD& game) { test_support::seedPlayers(game.saves(), {"Ann"}, 0); },
       [](GAME_CHILD& game) {
         CHILD_CHECK(settled(game), "the menu did not settle");
         CHILD_CHECK(QEL::qcGAME->_settings._fullscreen == 0, "the game is not in a window");
         click(game, kPlayer);
         CHILD_CHECK(windowOpens(game, MENU::CHANGE_PLAYER_WINDOW), "no change-player window");
         click(game, removeButton(0));
         CHILD_CHECK(dialogOpens(game, MENU::DELETE_PLAYER_DIALOG), "no delete dialog");
         click(game, kPanelConfirm);
         CHILD_CHECK(dialogOpens(game, MENU::ADD_PLAYER_DIALOG), "no name dialog after the last player went");
         CHILD_CHECK(gNumberOfPlayers == 0, "the player is still there");
         click(game, kPanelClose);
         game.wait(0.5f);
         CHILD_CHECK(menu()->dialogState == MENU::DIALOG_OPEN, "the name dialog could be left with no player");
         game.type(L"Eve");
         click(game, kPanelConfirm);
         CHILD_CHECK(game.stepUntil([] { return menu()->dialogState == MENU::NO_DIALOG; }), "the dialog stays");
         CHILD_CHECK(gNumberOfPlayers == 1 && gPlayers[0].name == L"Eve", "Eve not added");
         CHILD_CHECK(gPlayers[0].isFullscreen == 0, "Eve's options say full screen in a window");
         CHILD_CHECK(savedPlayers(game).find("isFullscreen=\"false\"") != std::string::npos,
                     "Eve's next start would open full screen");
         CHILD_CHECK(QEL::qcGAME->_settings._fullscreen == 0, "the game left its window");
       });
}

// A delete that was cut short after players.xml had changed is finished by the next start:
// the later player's results are staged beside their new place.
TEST_F(GameChildTest, TheStartUpFinishesADeleteThatWasCutShort) {
  play(
      [](GAME_CHILD& game) {
        std::filesystem::create_directories(game.saves());
        test_support::writeFile(game.saves() / "players.xml",
                                "<players numberOfPlayers=\"1\" currentPlayer=\"0\" movingResultFiles=\"true\">"
                                "<player id=\"0\" name=\"Bob\" isMuteAll=\"true\"/></players>\n");
        const std::string bob = "<info levelsNumber=\"120\"><level id=\"0\" result=\"2\" score=\"42\"/></info>\n";
        test_support::writeFile(game.saves() / "player0.xml",
                                "<info levelsNumber=\"120\"><level id=\"0\" "
                                "result=\"2\" score=\"7\"/></info>\n");
        test_support::writeFile(game.saves() / "player0.xml.next", bob);
        test_support::writeFile(game.saves() / "player1.xml", bob);
      },
      [](GAME_CHILD& game) {
        CHILD_CHECK(gNumberOfPlayers == 1 && gPlayers[0].name == L"Bob", "Bob is not the only player");
        CHILD_CHECK(getLevelResult(0, 0, kScoreField, 0) == 42, "Bob does not have his own results");
        CHILD_CHECK(!std::filesystem::exists(game.saves() / "player1.xml"), "the freed place keeps results");
        CHILD_CHECK(!std::filesystem::exists(game.saves() / "player0.xml.next"), "a staged file is left");
        CHILD_CHECK(savedPlayers(game).find("movingResultFiles") == std::string::npos, "the mark is left");
      });
}

}  // namespace
