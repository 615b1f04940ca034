#pragma once
// For scenarios on the menu scenes played in a game child (game_child.h): hand-made save files
// of players who have played (the players file and the result files as the game reads them,
// written before the game starts, in GameChildTest::play's `before`), the texts' tuning
// numbers that the saves are made to meet or miss, and what a player reads off a scene.
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "game/scenes/base_scene.h"
#include "game/scenes/main_menu/main_menu_scene.h"
#include "game/scenes/scene_widgets.h"
#include "game/game_globals.h"
#include "game/texts.h"
#include "game_child.h"
#include "gui/gui_wlabel.h"
#include "save_folder_fixture.h"

namespace test_support {

// A little more than the 0.3 s in which a menu's screen or panel slides.
constexpr float kMenuSlide = 0.35f;
// The frame a five-frame button shows while disabled.
constexpr int kDisabledFrame = 4;

template <class SCENE>
SCENE* currentScene() {
  return dynamic_cast<SCENE*>(gCurrentScene);
}

// The text of label `id` below a widget (the child fails when there is none).
inline std::wstring labelText(QEL::QC_GUI_OBJECT* parent, int id) {
  auto* label = dynamic_cast<QEL::QC_GUI_WLABEL*>(parent->fFindById(id));
  CHILD_CHECK(label != nullptr, "no label " + std::to_string(id));
  return label->fGetText();
}

// One stored level result.
struct STORED_LEVEL {
  int level;
  int result;  // 0 locked, 1 open, 2 open frame, 3 spare, 4 strike
  int ball1;
  int ball2;
  int score;  // the pack's running total after this frame
  int ball3 = 0;  // the tenth frame's third ball
};

// Players named in order; the first is the current one unless said otherwise.
inline void seedPlayers(const std::filesystem::path& saves, const std::vector<std::string>& names, int current = 0) {
  std::filesystem::create_directories(saves);
  std::string xml = "<players numberOfPlayers=\"" + std::to_string(names.size()) + "\" currentPlayer=\"" +
                    std::to_string(current) + "\">\n";
  for (size_t id = 0; id < names.size(); ++id)
    xml += "  <player id=\"" + std::to_string(id) + "\" name=\"" + names[id] +
           "\" soundVolume=\"0.5\" musicVolume=\"0.5\" isMuteAll=\"true\" />\n";
  writeFile(saves / "players.xml", xml + "</players>\n");
}

// The player's result file of a mode (0 junior, 1 professional); levels not listed are locked.
inline void seedResults(const std::filesystem::path& saves, int player, int mode,
                        const std::vector<STORED_LEVEL>& levels) {
  std::filesystem::create_directories(saves);
  std::string xml = "<info levelsNumber=\"120\">\n";
  for (const STORED_LEVEL& entry : levels)
    xml += "  <level id=\"" + std::to_string(entry.level) + "\" result=\"" + std::to_string(entry.result) +
           "\" specialCards1=\"" + std::to_string(entry.ball1) + "\" specialCards2=\"" + std::to_string(entry.ball2) +
           "\" score=\"" + std::to_string(entry.score) + "\" specialCards3=\"" + std::to_string(entry.ball3) +
           "\" />\n";
  const std::string name = "player" + std::to_string(player) + (mode == 0 ? "" : "_p") + ".xml";
  writeFile(saves / name, xml + "</info>\n");
}

// A whole pack played with the same balls in every frame and the given running totals.
inline std::vector<STORED_LEVEL> playedPack(int pack, int result, int ball1, int ball2, const std::vector<int>& scores,
                                            int tenthBall3 = 0) {
  std::vector<STORED_LEVEL> levels;
  for (int frame = 0; frame < 10; ++frame)
    levels.push_back({pack * 10 + frame, result, ball1, ball2, scores[frame], frame == 9 ? tenthBall3 : 0});
  return levels;
}

// A number of the generated texts, read straight from the file (the game has not loaded it
// yet when the saves are written).
inline int generatedTextInt(const char* key) {
  pugi::xml_document texts;
  texts.load_file((std::filesystem::path(PINDRAKE_BUILD_DIR) / "Resources" / "texts" / "texts.xml").c_str());
  return texts.child("texts").child(key).attribute("text").as_int();
}

// ---- the main menu: where the player clicks, and waiting for its windows ----

namespace main_menu_scenario {

using MENU = SCENE_CARD_GAME_MAINMENU;

// Where the player clicks: the main buttons, the panels' buttons and each window's own.
using SPOT = SCREEN_PLACE;
constexpr SPOT kPlay{515, 418};
constexpr SPOT kHelp{136, 677};
constexpr SPOT kTrophies{325, 676};
constexpr SPOT kPlayer{514, 674};
constexpr SPOT kOptions{703, 677};
constexpr SPOT kExit{895, 673};
constexpr SPOT kPanelConfirm{304, 478};
constexpr SPOT kPanelClose{686, 478};
constexpr SPOT kInformationConfirm{685, 443};
constexpr SPOT kWindowClose{688, 628};
constexpr SPOT kOptionsClose{874, 625};
constexpr SPOT kCredits{177, 621};
constexpr SPOT kFullscreenBox{344, 612};
constexpr SPOT kCursorBox{573, 612};
constexpr SPOT kThirdBack{639, 207};
constexpr SPOT kSecondType{287, 246};
constexpr SPOT kHelpRight{414, 644};
constexpr SPOT kHelpLeft{346, 644};
constexpr SPOT kTrophiesClose{883, 628};
constexpr SPOT kTrophiesRight{760, 633};
constexpr SPOT kJunior{340, 600};
constexpr SPOT kProfessional{662, 600};
constexpr float kTrackLeft = 317.0f;
constexpr float kTrackRight = 673.0f;
constexpr float kSoundTrackY = 436.0f;
constexpr float kMusicTrackY = 502.0f;

inline SPOT addPlayerButton(int players) { return {687.0f, 205.0f + 80.0f * static_cast<float>(players)}; }
inline SPOT removeButton(int row) { return {662.0f, 194.0f + 80.0f * static_cast<float>(row)}; }
inline SPOT playerRow(int row) { return {400.0f, 194.0f + 80.0f * static_cast<float>(row)}; }

inline MENU* menu() { return dynamic_cast<MENU*>(gCurrentScene); }

// The pointer rests a pass longer than GAME_CHILD::click lets it: a widget tree reports one
// event a pass, so when the click before moved a button away from under the pointer (a tick
// box turning into its ticked twin), that button lets go first and the one now under the
// pointer lights up on the next pass.
inline void click(GAME_CHILD& game, SPOT spot) { game.clickButton(spot.x, spot.y); }

inline bool settled(GAME_CHILD& game) {
  return game.stepUntil([] {
    return menu() != nullptr && menu()->menuState == MENU::MENU_READY && menu()->windowState == MENU::NO_WINDOW &&
           menu()->dialogState == MENU::NO_DIALOG;
  });
}

inline bool windowOpens(GAME_CHILD& game, int window) {
  return game.stepUntil([window] { return menu() != nullptr && menu()->windowState == window; });
}

inline bool dialogOpens(GAME_CHILD& game, int kind) {
  return game.stepUntil(
      [kind] { return menu() != nullptr && menu()->dialogState == MENU::DIALOG_OPEN && menu()->dialogKind == kind; });
}

// The main menu's windows and dialogs one after another, as a player opens them from the
// settled menu: `at` is told each screen's name once it stands still. The name dialog is
// shown with `typedName` in its box.
inline void tourMainMenu(GAME_CHILD& game, const std::wstring& typedName,
                         const std::function<void(const std::string&)>& at) {
  const auto closeDialog = [&game] {
    click(game, kPanelClose);
    CHILD_CHECK(game.stepUntil([] { return menu()->dialogState == MENU::NO_DIALOG; }), "the dialog stays");
  };
  const auto open = [&game, &at](SPOT button, int window, const std::string& screen) {
    click(game, button);
    CHILD_CHECK(windowOpens(game, window), screen + " does not open");
    at(screen);
  };
  CHILD_CHECK(settled(game), "the menu did not settle");
  at("main menu");
  open(kPlayer, MENU::CHANGE_PLAYER_WINDOW, "change player");
  click(game, addPlayerButton(gNumberOfPlayers));
  CHILD_CHECK(dialogOpens(game, MENU::ADD_PLAYER_DIALOG), "no name dialog");
  game.type(typedName);
  at("new player");
  closeDialog();
  click(game, removeButton(1));
  CHILD_CHECK(dialogOpens(game, MENU::DELETE_PLAYER_DIALOG), "no delete dialog");
  at("delete player");
  closeDialog();
  click(game, kWindowClose);
  CHILD_CHECK(settled(game), "the window did not close");
  open(kOptions, MENU::OPTIONS_WINDOW, "options");
  open(kCredits, MENU::CREDITS_WINDOW, "credits");
  click(game, kWindowClose);
  CHILD_CHECK(windowOpens(game, MENU::OPTIONS_WINDOW), "no way back");
  click(game, kOptionsClose);
  CHILD_CHECK(settled(game), "the options did not close");
  open(kHelp, MENU::HELP_WINDOW, "help page 1");
  click(game, kHelpRight);
  at("help page 2");
  click(game, kWindowClose);
  CHILD_CHECK(settled(game), "the help did not close");
  open(kTrophies, MENU::TROPHIES_WINDOW, "trophies page 1");
  for (int page = 2; page <= MENU::TROPHY_PAGES; ++page) {
    click(game, kTrophiesRight);
    at("trophies page " + std::to_string(page));
  }
  click(game, kTrophiesClose);
  CHILD_CHECK(settled(game), "the trophies did not close");
  open(kPlay, MENU::MODE_SELECTION_WINDOW, "game modes");
  click(game, kProfessional);
  CHILD_CHECK(dialogOpens(game, MENU::INFORMATION_DIALOG), "no information");
  at("professional mode locked");
  click(game, kInformationConfirm);
  CHILD_CHECK(game.stepUntil([] { return menu()->dialogState == MENU::NO_DIALOG; }), "the dialog stays");
  click(game, {883, 643});
  CHILD_CHECK(settled(game), "the modes did not close");
  click(game, kExit);
  CHILD_CHECK(dialogOpens(game, MENU::QUIT_DIALOG), "no quit dialog");
  at("quit");
  closeDialog();
}

}  // namespace main_menu_scenario

}  // namespace test_support
