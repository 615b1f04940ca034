// The menu's side of the player profiles: adding a player under a typed name, deleting one
// with its result files, choosing the current player in the change-player window, and the
// names and scores the menu shows. The table and its files are the shell's (players.h,
// player_removal.h); every change ends in a save.
#include "game/scenes/main_menu/main_menu_scene.h"

#include "engine/game.h"
#include "engine/globals.h"
#include "engine/log.h"
#include "game/fonts_sounds.h"
#include "game/game_entry.h"
#include "game/game_globals.h"
#include "game/level_results.h"
#include "game/player_removal.h"
#include "game/players.h"
#include "game/save_notice.h"
#include "game/scenes/main_menu/menu_widgets.h"
#include "game/texts.h"
#include "gui/gui_container.h"
#include "gui/gui_linebox.h"
#include "gui/gui_wlabel.h"
#include "primitives/font.h"

namespace {

constexpr float kDefaultVolume = 0.5f;
constexpr int32_t kStartReshuffles = 2;
constexpr int32_t kStartJokers = 3;
// The pointer area of a player row: the label's rectangle, grown by 20 on every side.
constexpr float kRowWidth = 250.0f;
constexpr float kRowHeight = 30.0f;

// The fonts a player's name is written in: the change-player rows (plain and highlighted),
// the name box, the name plate under the main buttons and the delete question.
constexpr int32_t kNameFonts[][2] = {{33, 0}, {33, 1}, {30, 0}, {20, 1}, {36, 0}};

void applyVolumes(const PLAYER_RECORD& player) {
  setSoundsGain(player.soundVolume);
  setMusicGain(player.musicVolume);
}

std::wstring totalScoreText(int32_t mode, const wchar_t* hintKey) {
  return getText(L"total_score") + L": " + numberToWString(getTotalScore(mode)) + L"\n\n" +
         replaceBarsWithNewlines(getText(hintKey));
}

}  // namespace

void SCENE_CARD_GAME_MAINMENU::addPlayer() {
  if (gNumberOfPlayers >= kMaxPlayers) return;
  uint8_t fullscreen = 1;
  if (gNumberOfPlayers <= 0) {
    gNumberOfPlayers = 0;
    gCurrentPlayer = 0;
    isAddPlayerForced = false;
    // The game is full screen on a first start, but after the last player was deleted it may
    // be in a window: the new player takes the mode the game is in, so that the options and
    // the next start agree with the screen.
    if (QEL::qcGAME != nullptr) fullscreen = QEL::qcGAME->_settings._fullscreen != 0 ? 1 : 0;
  } else {
    // The window mode stays as it is when another player is added.
    fullscreen = gPlayers[gCurrentPlayer].isFullscreen;
    gCurrentPlayer = gNumberOfPlayers;
  }
  ++gNumberOfPlayers;

  // A new record from nothing: no statistic, trophy or result of whoever held the place before.
  PLAYER_RECORD& player = gPlayers[gCurrentPlayer];
  player = PLAYER_RECORD{};
  player.name = nameLineBox->fGetText();
  player.soundVolume = kDefaultVolume;
  player.musicVolume = kDefaultVolume;
  player.money = getTextIntW(L"shop_price_joker");
  player.isMuteAll = 1;
  player.reshuffles = kStartReshuffles;
  player.jokers = kStartJokers;
  QEL::fLog("savedFullscreenModeOfPreviousPlayer: ", static_cast<int>(fullscreen));
  player.isFullscreen = fullscreen;
  clearTrophies(gCurrentPlayer);
  startPlayerLevelResults(gCurrentPlayer);
  setAsideUnownedResultFiles(gCurrentPlayer);

  placePlayerRows();
  main_menu::useCursorOf(player);
  applyVolumes(player);
  savePlayers();
  playerNameLabel->fSetText(player.name);
  showTotalScores();
}

void SCENE_CARD_GAME_MAINMENU::deletePlayer(int32_t row) {
  if (row < 0 || row >= gNumberOfPlayers) return;
  // A deletion whose result files are still to move is finished first: one staged over it
  // would hand players each other's results.
  if (!gIsAllLevelsView && isPlayerRemovalUnfinished() && !finishInterruptedPlayerRemoval()) {
    playSound(kSoundError);
    noticeFailedSave();
    return;
  }
  // The current player stays the same person when someone before them goes; deleting the
  // current player makes the first one current.
  int32_t current = gCurrentPlayer;
  if (row == current)
    current = 0;
  else if (row < current)
    --current;
  // A deletion the saves refused leaves the player in place, and the save notice says so.
  removePlayer(row, current);

  const PLAYER_RECORD& player = gPlayers[gCurrentPlayer];
  main_menu::useCursorOf(player);
  applyVolumes(player);
  placePlayerRows();
  playerNameLabel->fSetText(gNumberOfPlayers > 0 ? gPlayers[gCurrentPlayer].name : std::wstring());
  showTotalScores();
}

void SCENE_CARD_GAME_MAINMENU::refreshPlayerNames() {
  // In the developer view the table lives in memory only.
  if (!gIsAllLevelsView) loadPlayers();
  playerNameLabel->fSetText(gNumberOfPlayers > 0 ? gPlayers[gCurrentPlayer].name : std::wstring());
  for (int32_t row = 0; row < PLAYER_ROWS; ++row)
    playerNameLabels[row]->fSetText(row < gNumberOfPlayers ? gPlayers[row].name : std::wstring());
  // The level's tutorial hints show again.
  for (uint8_t& shown : gHintShown) shown = 0;
}

void SCENE_CARD_GAME_MAINMENU::choosePlayer(int32_t row) {
  if (row < 0 || row >= gNumberOfPlayers || row == gCurrentPlayer) return;
  const uint8_t fullscreen = gPlayers[gCurrentPlayer].isFullscreen;
  gCurrentPlayer = row;
  PLAYER_RECORD& player = gPlayers[row];
  // The window mode does not change with the player.
  player.isFullscreen = fullscreen;
  main_menu::useCursorOf(player);
  applyVolumes(player);
  placePlayerRows();
  playerNameLabel->fSetText(player.name);
  QEL::fLog("currentPlayer: ", row);
  showTotalScores();
  savePlayers();
}

void SCENE_CARD_GAME_MAINMENU::choosePlayerByPointer() {
  for (int32_t row = 0; row < gNumberOfPlayers; ++row) {
    if (row == gCurrentPlayer) continue;
    const float rowY = static_cast<float>(playerRowFirstY + row * playerRowHeight);
    if (isMouseInRect(2, static_cast<float>(playerRowX), rowY, kRowWidth, kRowHeight)) {
      choosePlayer(row);
      return;
    }
  }
}

bool SCENE_CARD_GAME_MAINMENU::confirmNewName() {
  if (nameLineBox->fIsEmpty()) {
    if (gNumberOfPlayers > 0) return true;  // nobody is added; the dialog closes
    // With no player the dialog would only come back, without a word: the player gets the
    // name a nameless player gets everywhere else.
    nameLineBox->fSetText(L"Player");
  }
  isAddPlayerForced = false;
  const std::wstring name = nameLineBox->fGetText();
  const wchar_t* refusal = nullptr;
  for (int32_t row = 0; row < gNumberOfPlayers && refusal == nullptr; ++row)
    if (gPlayers[row].name == name) refusal = L"player_exists";
  if (refusal == nullptr && !isNameShownByFonts(name)) refusal = L"player_name_letters_unknown";
  if (refusal != nullptr) {
    namePanelMessageLabel->fSetText(replaceBarsWithNewlines(getText(refusal)));
    playSound(kSoundError);
    return false;
  }
  addPlayer();
  return true;
}

bool SCENE_CARD_GAME_MAINMENU::isNameShownByFonts(const std::wstring& name) {
  for (const auto& size : kNameFonts) {
    const QEL::QC_FONT* font = findFont(size[0], size[1]);
    if (font == nullptr) continue;  // no font to judge by
    for (wchar_t letter : name)
      if (font->fGetGlyph(static_cast<int32_t>(letter)) == nullptr) return false;
  }
  return true;
}

void SCENE_CARD_GAME_MAINMENU::showTotalScores() {
  juniorScoreLabel->fSetText(totalScoreText(0, L"hint_19"));
  professionalScoreLabel->fSetText(totalScoreText(1, L"hint_20"));
}
