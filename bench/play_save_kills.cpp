// The saves of play, for bench/kill_during_play_saves.sh to kill in the middle: each kind is
// written again and again through the game's own save code, as the level, the main menu and
// the editor write it, until the script kills the process. The same program then starts on
// what the kill left, as the game starts, and tells what became of the saves.
//   bench_play_save_kills seed               writes the saves every run starts from
//   bench_play_save_kills <kind>             saves forever (prints "ready" on stderr first)
//   bench_play_save_kills check <kind>       starts as the game, prints its figures on stderr
// Kinds: frame (a finished frame's results and money), purchase (money and jokers), trophy
// (the trophies, then their prize), deletion (the main menu deletes a player and adds a new
// one, who saves a first result), editor (the editor's save of a level file). Run it in a start folder with
// XDG_DOCUMENTS_DIR set: the game's file system works below ./Resources.
//
// Three players: Ann (0), Bob (1, current) and Cy (2), each with junior results whose level 0
// score is their mark. Whatever moment the kill chose, the next start must find:
//   corrupt    no save or level file that cannot be parsed;
//   lost       every player of the seed still there (but one deleted), each newcomer's and
//              each seeded player's results their own, the saved values one state the loop
//              wrote (a file is never half of one and half of another);
//   changed    Ann's profile and results (and the other level file) as seeded;
//   leftovers  no temporary or staged file once the start (and the editor's start) has run.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <pugixml.hpp>

#include "engine/file_system.h"
#include "engine/log.h"
#include "game/game_globals.h"
#include "game/level_results.h"
#include "game/player_removal.h"
#include "game/players.h"
#include "game/save_files.h"
#include "game/scenes/main_menu/main_menu_scene.h"
#include "gui/gui_linebox.h"
#include "level_geometry/level_file.h"

namespace {

constexpr int kSeededPlayers = 3;
constexpr int kBob = 1;
constexpr int32_t kSeededMoney = 100000;
constexpr int32_t kSeededJokers = 3;
constexpr int kEditedLevel = 5;
constexpr int kUntouchedLevel = 6;
constexpr int kLevelCards = 10;
constexpr int kTrophyBits = 24;

const wchar_t* const kSeededNames[kSeededPlayers] = {L"Ann", L"Bob", L"Cy"};

// A player's mark, the score of their level 0: 1-3 for the seeded players, 10-299 for the
// newcomers of the deletion loop.
int markOf(const std::wstring& name) {
  for (int i = 0; i < kSeededPlayers; ++i)
    if (name == kSeededNames[i]) return i + 1;
  return 10 + std::wcstol(name.c_str() + 1, nullptr, 10) % 290;
}

std::string readBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::filesystem::path savesFolder() { return std::filesystem::path(gBasePath) / "Saves"; }
std::filesystem::path seedFolder() { return std::filesystem::path(gBasePath) / "seed"; }

// What the game does with its saves at start-up, in its order.
bool startAsTheGame() {
  const char* documents = QEL::QC_FILE_SYSTEM::fGetDocumentsFolder();
  gBasePath = documents != nullptr ? documents : "";
  makeSaveFolders();
  if (!lockSaveFolder()) return false;
  removeStaleSaveTemporaries();
  gGameMode = 0;
  finishInterruptedPlayerRemoval();
  loadPlayers();
  loadAllLevelsInfo();
  return true;
}

void writeLevel(int level, int generation) {
  EDITOR_CARD_TABLE table;
  for (int slot = 0; slot < kLevelCards; ++slot)
    table.cards[slot].putOnTable(100.0f + 60.0f * static_cast<float>(slot) + static_cast<float>(generation % 200),
                                 300.0f, 0, slot, false);
  pugi::xml_document document;
  ::writeLevel(document, table, level, LEVEL_SETTINGS{1, 40, 2, 2});
  saveLevelDocument(document, levelFilePath(level));
}

void seed() {
  for (int i = 0; i < kSeededPlayers; ++i) {
    gPlayers[i] = PLAYER_RECORD{};
    gPlayers[i].name = kSeededNames[i];
    gPlayers[i].money = kSeededMoney;
    gPlayers[i].jokers = kSeededJokers;
    gPlayers[i].soundVolume = 0.5f;
    gPlayers[i].musicVolume = 0.5f;
    for (int level = 0; level < kLevelCount; ++level) {
      setLevelResult(i, level, kResultField, 2, 0);
      setLevelResult(i, level, kScoreField, level == 0 ? markOf(kSeededNames[i]) : 0, 0);
    }
  }
  gNumberOfPlayers = kSeededPlayers;
  gCurrentPlayer = kBob;
  savePlayers();
  saveLevelsInfo();
  std::filesystem::create_directories("Levels");
  writeLevel(kEditedLevel, 0);
  writeLevel(kUntouchedLevel, 0);
  // The script puts these back before every run.
  std::filesystem::remove_all(seedFolder());
  std::filesystem::create_directories(seedFolder() / "Levels");
  std::filesystem::copy(savesFolder(), seedFolder() / "Saves");
  for (int level : {kEditedLevel, kUntouchedLevel})
    std::filesystem::copy(levelFilePath(level), seedFolder() / "Levels" / levelFilePath(level).filename());
}

// ---- the saving loops ----------------------------------------------------------------------

// The script's kill may come from now on.
void announceReady() { std::fprintf(stderr, "ready\n"); }

void finishFrames() {
  announceReady();
  for (int generation = 1;; ++generation) {
    for (int level = 1; level < kLevelCount; ++level) setLevelResult(kBob, level, kScoreField, generation % 300, 0);
    gPlayers[kBob].money = kSeededMoney + generation;
    saveLevelsInfo();
  }
}

void buyJokers() {
  announceReady();
  for (int generation = 1;; ++generation) {
    gPlayers[kBob].money = kSeededMoney - generation;
    gPlayers[kBob].jokers = kSeededJokers + generation;
    savePlayerMoney(kBob);
  }
}

void earnTrophies() {
  announceReady();
  for (int generation = 1;; ++generation) {
    for (int bit = 0; bit < kTrophyBits; ++bit) gPlayers[kBob].trophies[bit] = (generation >> bit) & 1;
    gPlayers[kBob].money = kSeededMoney + generation;
    savePlayerTrophies(kBob);
    savePlayerMoney(kBob);
  }
}

// The main menu deletes the second player and adds a newcomer, whose first frame follows.
void deleteAndAddPlayers() {
  auto* menu = new SCENE_CARD_GAME_MAINMENU();
  gCurrentScene = menu;
  menu->fInit();
  announceReady();
  for (int generation = 1;; ++generation) {
    menu->deletePlayer(1);
    const std::wstring name = L"P" + std::to_wstring(generation);
    menu->nameLineBox->fSetText(name);
    menu->addPlayer();
    setLevelResult(gCurrentPlayer, 0, kResultField, 2, 0);
    setLevelResult(gCurrentPlayer, 0, kScoreField, markOf(name), 0);
    saveLevelsInfo();
  }
}

void saveEditedLevels() {
  announceReady();
  for (int generation = 1;; ++generation) writeLevel(kEditedLevel, generation);
}

// ---- the check -------------------------------------------------------------------------------

struct FIGURES {
  int corrupt = 0;
  int lost = 0;
  int changed = 0;
  int leftovers = 0;
};

void countFolder(const std::filesystem::path& folder, FIGURES& figures) {
  std::error_code error;
  for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
    const std::string name = entry->path().filename().string();
    if (name.find(".corrupt") != std::string::npos) ++figures.corrupt;
    if (name.find(".tmp") != std::string::npos || name.ends_with(".next") || name.ends_with(".none"))
      ++figures.leftovers;
  }
}

pugi::xml_node playerElement(const pugi::xml_document& document, int id) {
  return document.child("players").find_child_by_attribute("player", "id", std::to_string(id).c_str());
}

bool sameAttributes(const pugi::xml_node& a, const pugi::xml_node& b) {
  if (!a || !b) return false;
  for (const pugi::xml_attribute attribute : a.attributes())
    if (std::string(b.attribute(attribute.name()).value()) != attribute.value()) return false;
  for (const pugi::xml_node child : a.children())
    if (!sameAttributes(child, b.child(child.name()))) return false;
  return true;
}

int bobsTrophies() {
  int value = 0;
  for (int bit = 0; bit < kTrophyBits; ++bit) value |= (gPlayers[kBob].trophies[bit] != 0 ? 1 : 0) << bit;
  return value;
}

// Whether Bob's stored values are one state the loop of the kind wrote.
bool bobIsAWrittenState(const std::string& kind) {
  const PLAYER_RECORD& bob = gPlayers[kBob];
  if (bob.name != L"Bob") return false;
  if (kind == "frame") {
    const int generation = getLevelResult(kBob, 1, kScoreField, 0);
    for (int level = 2; level < kLevelCount; ++level)
      if (getLevelResult(kBob, level, kScoreField, 0) != generation) return false;
    // The money follows the results in a save of its own.
    const int32_t earned = bob.money - kSeededMoney;
    return earned % 300 == generation || (earned + 1) % 300 == generation;
  }
  if (kind == "purchase") return kSeededMoney - bob.money == bob.jokers - kSeededJokers && bob.jokers >= kSeededJokers;
  if (kind == "trophy") {
    const int32_t earned = bob.money - kSeededMoney;
    return earned == bobsTrophies() || earned + 1 == bobsTrophies();
  }
  return bob.money == kSeededMoney && bob.jokers == kSeededJokers;
}

FIGURES check(const std::string& kind) {
  FIGURES figures;
  if (!startAsTheGame()) {
    ++figures.lost;
    return figures;
  }
  // The editor's start-up clears its own folder.
  if (kind == "editor") removeStaleLevelTemporaries();
  countFolder(savesFolder(), figures);
  countFolder(levelFilePath(0).parent_path(), figures);

  pugi::xml_document seeded;
  pugi::xml_document stored;
  seeded.load_file((seedFolder() / "Saves" / "players.xml").c_str());
  stored.load_file((savesFolder() / "players.xml").c_str());
  if (!sameAttributes(playerElement(seeded, 0), playerElement(stored, 0))) ++figures.changed;
  if (readBytes(savesFolder() / "player0.xml") != readBytes(seedFolder() / "Saves" / "player0.xml")) ++figures.changed;
  const std::filesystem::path untouched = levelFilePath(kUntouchedLevel);
  if (readBytes(untouched) != readBytes(seedFolder() / "Levels" / untouched.filename())) ++figures.changed;

  if (kind == "deletion") {
    if (gNumberOfPlayers < kSeededPlayers - 1 || gNumberOfPlayers > kSeededPlayers || gPlayers[0].name != L"Ann")
      ++figures.lost;
    for (int p = 0; p < gNumberOfPlayers; ++p) {
      const int score = getLevelResult(p, 0, kScoreField, 0);
      const bool newcomer = gPlayers[p].name.starts_with(L"P");
      // A newcomer killed before its first frame was saved has no results yet.
      if (score != markOf(gPlayers[p].name) && !(newcomer && score == 0)) ++figures.lost;
    }
  } else if (kind == "editor") {
    pugi::xml_document level;
    if (!loadLevelDocument(level, levelFilePath(kEditedLevel))) {
      ++figures.corrupt;
    } else {
      const pugi::xml_node first = level.child("level").child("card");
      const float offset = first.attribute("x").as_float() - 100.0f;
      int cards = 0;
      bool oneSave = true;
      for (const pugi::xml_node card : level.child("level").children("card"))
        oneSave = oneSave && card.attribute("x").as_float() == 100.0f + 60.0f * static_cast<float>(cards++) + offset;
      if (!oneSave || cards != kLevelCards) ++figures.lost;
    }
  } else {
    if (gNumberOfPlayers != kSeededPlayers) ++figures.lost;
    if (!bobIsAWrittenState(kind)) ++figures.lost;
    for (int p = 0; p < gNumberOfPlayers; ++p)
      if (getLevelResult(p, 0, kScoreField, 0) != markOf(gPlayers[p].name)) ++figures.lost;
    if (!sameAttributes(playerElement(seeded, 2), playerElement(stored, 2))) ++figures.changed;
    if (readBytes(savesFolder() / "player2.xml") != readBytes(seedFolder() / "Saves" / "player2.xml"))
      ++figures.changed;
  }
  return figures;
}

}  // namespace

int main(int argc, char** argv) {
  QEL::QC_FILE_SYSTEM::fGet();  // works below ./Resources, as the game does
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "seed") {
    if (!startAsTheGame()) return 1;
    seed();
    return 0;
  }
  if (command == "check" && argc > 2) {
    const FIGURES figures = check(argv[2]);
    // The game's log has standard output.
    std::fprintf(stderr, "%d %d %d %d\n", figures.corrupt, figures.lost, figures.changed, figures.leftovers);
    return 0;
  }
  if (!startAsTheGame()) return 1;
  if (command == "frame") finishFrames();
  if (command == "purchase") buyJokers();
  if (command == "trophy") earnTrophies();
  if (command == "deletion") deleteAndAddPlayers();
  if (command == "editor") saveEditedLevels();
  std::fprintf(stderr, "bench_play_save_kills: seed, frame, purchase, trophy, deletion, editor or check <kind>\n");
  return 1;
}
