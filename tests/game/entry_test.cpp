#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "engine/callback.h"
#include "engine/game.h"
#include "engine/globals.h"
#include "engine/log.h"
#include "engine/render.h"
#include "engine/resource_loader.h"
#include "engine/sound.h"
#include "engine/window.h"
#include "game/fonts_sounds.h"
#include "game/game_entry.h"
#include "game/game_globals.h"
#include "game/players.h"
#include "game/scenes/base_scene.h"
#include "game/scenes/main_menu/main_menu_scene.h"
#include "game/splash_screen.h"
#include "platform/window.h"
#include "primitives/font.h"
#include "primitives/sprite.h"
#include "save_folder_fixture.h"

namespace {

// ---- the callbacks on their own ------------------------------------------------------------

std::vector<std::string> gHeard;

class EAR_SCENE : public BASE_SCENE {
 public:
  void fInit() override {}
  void fKeyDown(int32_t code) override { gHeard.push_back("down " + std::to_string(code)); }
  void fOnError(int32_t code) override { gHeard.push_back("error " + std::to_string(code)); }
};

class CallbacksTest : public SaveFolderTest {
 protected:
  void SetUp() override {
    SaveFolderTest::SetUp();
    gHeard.clear();
    gIsSplash = 0;
    gIsGameReady = 0;
    gIsPaused = 0;
    gSceneKind = 0;
    gCurrentScene = nullptr;
  }
  void TearDown() override {
    delete gCurrentScene;
    gCurrentScene = nullptr;
    gIsSplash = 0;
    gIsGameReady = 0;
    gIsPaused = 0;
    SaveFolderTest::TearDown();
  }
};

TEST_F(CallbacksTest, EngineErrorsGoToASceneWhenThereIsOne) {
  onEngineError(7);  // during start-up: no scene yet
  onKeyDown(13);
  EXPECT_TRUE(gHeard.empty());
  gCurrentScene = new EAR_SCENE();
  gIsSplash = 1;  // errors are not input: the splash does not hold them back
  onEngineError(7);
  EXPECT_EQ(gHeard, (std::vector<std::string>{"error 7"}));
}

TEST_F(CallbacksTest, LosingTheFocusPausesOnlyALevelOfAReadyGame) {
  gSceneKind = 4;
  onFocusLost(0);
  EXPECT_TRUE(logged("FocusLost!"));
  EXPECT_FALSE(gIsPaused) << "before the main menu exists focus changes only log";

  gIsGameReady = 1;
  gSceneKind = 1;
  onFocusLost(0);
  EXPECT_FALSE(gIsPaused);
  gSceneKind = 4;
  onFocusLost(0);
  EXPECT_TRUE(gIsPaused);
  onFocusGained(0);
  EXPECT_TRUE(logged("FocusGAIN!"));
  EXPECT_TRUE(gIsPaused) << "regaining the focus does not resume the level";
}

TEST_F(CallbacksTest, TheDeveloperFlagsFollowTheMarkerFiles) {
  // The current directory is Resources; the markers lie beside it.
  const std::filesystem::path cheat = std::filesystem::current_path().parent_path() / "cheat.txt";
  const std::filesystem::path debug = std::filesystem::current_path().parent_path() / "debug_test.txt";
  std::filesystem::remove(cheat);
  std::filesystem::remove(debug);
  readCheatFlag();
  readDebugFlag();
  EXPECT_FALSE(gIsCheat);
  EXPECT_FALSE(gIsDebug);
  test_support::writeFile(debug, "");
  readCheatFlag();
  readDebugFlag();
  EXPECT_FALSE(gIsCheat);
  EXPECT_TRUE(gIsDebug) << "only existence counts, an empty file too";
  test_support::writeFile(cheat, "x");
  std::filesystem::remove(debug);
  readCheatFlag();
  readDebugFlag();
  EXPECT_TRUE(gIsCheat);
  EXPECT_FALSE(gIsDebug);
  std::filesystem::remove(cheat);
  gIsCheat = 0;
}

TEST_F(CallbacksTest, ClosingSavesTheCurrentPlayersSettingsAndStopsTheLoop) {
  gNumberOfPlayers = 2;
  gCurrentPlayer = 1;
  gPlayers[0].name = L"Ann";
  gPlayers[1].name = L"Bob";
  gPlayers[1].musicVolume = 0.5f;
  savePlayers();
  gPlayers[1].musicVolume = 0.125f;
  gPlayers[1].isFullscreen = 1;
  gPlayers[1].money = 999;  // money is not a setting
  QEL::QC_GAME::fGetGame()->_settings._running = 1;

  onGameClose(0);

  EXPECT_EQ(QEL::QC_GAME::fGetGame()->_settings._running, 0);
  pugi::xml_document saved;
  ASSERT_TRUE(saved.load_file((saves() / "players.xml").c_str()));
  pugi::xml_node bob = saved.child("players").find_child_by_attribute("player", "id", "1");
  ASSERT_TRUE(bob);
  EXPECT_FLOAT_EQ(bob.attribute("musicVolume").as_float(), 0.125f);
  EXPECT_TRUE(bob.attribute("isFullscreen").as_bool());
  EXPECT_EQ(bob.attribute("money").as_int(), 0);
}

// ---- the whole start-up, in a process of its own ---------------------------------------------
//
// The engine's components are made once per process, so the start-up runs in a child that
// gtest starts afresh. The child starts the game in a temporary folder with a copy of the
// generated default resources, on a fake clock whose sleeps advance it, closes the
// window once the main menu shows and writes what it saw to a report for the parent.

const std::filesystem::path kGeneratedResources = std::filesystem::path(PINDRAKE_BUILD_DIR) / "Resources";
constexpr const char* kRootVariable = "PINDRAKE_ENTRY_TEST_ROOT";
constexpr int kMaxSleeps = 20000;

struct CHILD {
  std::filesystem::path root;
  std::vector<std::string> log;
  std::map<std::string, std::string> seen;
  uint32_t fakeNow = 1000;
  int sleeps = 0;
  bool initCaptured = false;
  bool closePosted = false;
  float musicVolumeAtClose = -1.0f;
  int frames = 0;
  int debugProbe = 0;
};
CHILD* gChild = nullptr;

template <class T>
void see(const std::string& key, const T& value) {
  std::ostringstream text;
  text << value;
  gChild->seen[key] = text.str();
}

bool isDefaultTexture(const QEL::QC_SPRITE* sprite) {
  return sprite == nullptr || sprite->_texture == nullptr ||
         (QEL::qcRENDER != nullptr && sprite->_texture == QEL::qcRENDER->fGetDefaultTexture());
}

void captureStartUp() {
  QEL::QC_GAME* game = QEL::QC_GAME::fGetGame();
  see("init.isSplash", static_cast<int>(gIsSplash));
  see("init.splash", gSplash != nullptr);
  see("init.sceneKind", gSceneKind);
  see("init.scene", gCurrentScene != nullptr);
  see("init.isGameInited", static_cast<int>(gIsGameInited));
  see("init.basePath", gBasePath);
  see("init.players", gNumberOfPlayers);
  see("init.currentPlayer", gCurrentPlayer);
  const PLAYER_RECORD& p = gPlayers[0];
  see("init.player0", std::to_string(p.isFullscreen) + " " + std::to_string(p.isMuteAll) + " " +
                          std::to_string(p.soundVolume) + " " + std::to_string(p.musicVolume) + " " +
                          std::to_string(p.currentCardType) + " " + std::to_string(p.additionalCardPlaces) +
                          " " + std::to_string(p.reshuffles) + " " + std::to_string(p.jokers) + " " +
                          std::to_string(p.isShowedFirstHint) + " " + std::to_string(p.isShowedHint29));
  see("init.updateRate", game->_settings._updateRate);
  see("init.useDesktopSize", static_cast<int>(game->_settings._useDesktopSize));
  see("init.resolution", std::to_string(game->_settings._resolution.x) + "x" +
                             std::to_string(game->_settings._resolution.y));
  see("init.fullscreen", static_cast<int>(game->_settings._fullscreen));
  see("init.clearColor", QEL::qcRENDER != nullptr ? QEL::qcRENDER->_clearColor.fToARGB() : 0u);
  see("init.sessionNumber", gSessionNumber);
  int borders = 0;
  for (QEL::QC_SPRITE* sprite : gBorderSprites)
    if (!isDefaultTexture(sprite)) ++borders;
  see("init.borderSprites", borders);
  QEL::QC_SPRITE* top = gBorderSprites[3];
  see("init.topPivotIsBottomLeft",
      top != nullptr && top->_height > 0 && top->_node->_pivot.y == static_cast<float>(top->_height) &&
          top->_node->_pivot.x == 0.0f);
  see("init.cursorSprite", !isDefaultTexture(gCursorSprite));
  see("init.arrowIsCurrent", QEL::qcWINDOW != nullptr && QEL::qcWINDOW->_cursor == gArrowCursor &&
                                 gArrowCursor != nullptr);
  see("init.gameCursor", gGameCursor != nullptr);
  int sounds = 0;
  for (QEL::QC_SOUND* sound : gSounds) sounds += sound != nullptr ? 1 : 0;
  for (QEL::QC_SOUND* track : gMusicTracks) sounds += track != nullptr ? 1 : 0;
  see("init.sounds", sounds);
  see("init.audioDevice", QEL::qcMIXER != nullptr && QEL::qcMIXER->fHasDevice());
  see("init.trackPlaying", gCurrentTrack >= 0 && gCurrentTrack < kMusicTrackCount &&
                               QEL::QC_SOUND::fIsPlaying(gMusicTracks[gCurrentTrack]));
  int fonts = 0;
  for (const FONT_ROW& row : kFontTable)
    if (gFonts[row.slot] != nullptr && gFonts[row.slot]->_glyphCount > 0) ++fonts;
  see("init.fontsWithGlyphs", fonts);
}

uint32_t watchedDraw(QEL::QT_CALLBACK_ARG argument) {
  CHILD& child = *gChild;
  ++child.frames;
  QEL::QC_RENDER* render = QEL::qcRENDER;
  if (gIsSplash && gSplash != nullptr && gSplash->state == 3 && child.debugProbe < 2) {
    // Two frames of the same picture, the second with the debug flag: the borders' share.
    if (child.debugProbe == 1) gIsDebug = 1;
    onGameDraw(argument);
    see(child.debugProbe == 0 ? "draw.callsNormal" : "draw.callsDebug", render->_drawCalls);
    gIsDebug = 0;
    ++child.debugProbe;
    return 0;
  }
  onGameDraw(argument);
  if (child.seen.count("draw.firstState") == 0) see("draw.firstState", gSplash != nullptr ? gSplash->state : -1);
  if (child.seen.count("draw.litShare") == 0 && gIsSplash && gSplash != nullptr && gSplash->state == 2 &&
      gSplash->alpha >= 255.0f) {
    render->fFlush();
    std::vector<uint8_t> rgba;
    int32_t width = 0, height = 0;
    if (render->fReadBackBuffer(rgba, width, height) && width > 0 && height > 0) {
      long lit = 0;
      for (size_t i = 0; i + 3 < rgba.size(); i += 4)
        if (rgba[i] > 16 || rgba[i + 1] > 16 || rgba[i + 2] > 16) ++lit;
      see("draw.litShare", static_cast<double>(lit) / (static_cast<double>(width) * height));
    } else {
      see("draw.litShare", -1.0);
    }
  }
  return 0;
}

// What the game held when its loop ended: the close is the last pass's event.
uint32_t watchedClose(QEL::QT_CALLBACK_ARG argument) {
  onGameClose(argument);
  see("end.isSplash", static_cast<int>(gIsSplash));
  see("end.mainMenu", dynamic_cast<SCENE_CARD_GAME_MAINMENU*>(gCurrentScene) != nullptr);
  see("end.sceneKind", gSceneKind);
  see("end.isGameReady", static_cast<int>(gIsGameReady));
  see("end.running", static_cast<int>(QEL::QC_GAME::fGetGame()->_settings._running));
  return 0;
}

void fakeSleep(uint32_t milliseconds) {
  CHILD& child = *gChild;
  child.fakeNow += std::max<uint32_t>(milliseconds, 1);
  ++child.sleeps;
  if (!child.initCaptured) {
    // The first sleep comes before the first update: what onGameInit left.
    child.initCaptured = true;
    captureStartUp();
    QEL::qcON_DRAW->_function = watchedDraw;
    QEL::qcON_CLOSE->_function = watchedClose;
    // Fewer, longer updates and fewer frames still: software rendering is slow, and the splash
    // runs on time, not frames (each of its states still draws several).
    QEL::QC_GAME::fGetGame()->_settings._updateRate = 20;
    QEL::QC_GAME::fGetGame()->_settings._frameCap = 6;
  }
  const bool menuShows = !gIsSplash && gCurrentScene != nullptr;
  if (!child.closePosted && (menuShows || child.sleeps > kMaxSleeps)) {
    child.closePosted = true;
    see("close.menuShows", menuShows);
    // The splash's own pictures went with it; the menu's background and the borders stay.
    auto loaded = [](const char* name) {
      QEL::QS_RESOURCE* record = QEL::qcRESOURCE_LOADER->fFindResource(name);
      return record != nullptr && record->fIsReady();
    };
    see("close.loaded", std::to_string(loaded("splash office.png")) + std::to_string(loaded("splash mountain.png")) +
                            std::to_string(loaded("main_menu background.png")) +
                            std::to_string(loaded("splash widescreen_background_left.png")));
    if (gCurrentPlayer >= 0 && gCurrentPlayer < kMaxPlayers) gPlayers[gCurrentPlayer].musicVolume = 0.125f;
    // The close button's message goes straight to the window procedure.
    platform::Message close;
    close.id = platform::kMsgClose;
    platform::sendMessage(close);
  }
}

[[noreturn]] void runGameInChild(const std::filesystem::path& root) {
  CHILD child;
  child.root = root;
  gChild = &child;
  ::setenv("SDL_VIDEODRIVER", "offscreen", 0);
  ::setenv("ALSOFT_DRIVERS", "null", 0);
  ::setenv("XDG_DOCUMENTS_DIR", (root / "Documents").c_str(), 1);
  std::filesystem::current_path(root / "start");
  QEL::fSetLogSink([](const std::string& line) { gChild->log.push_back(line); });
  platform::setTickSource([] { return gChild->fakeNow; });
  platform::setSleepFunction(fakeSleep);

  const uint32_t result = EntryPointer(0);

  see("end.result", static_cast<int32_t>(result));
  see("end.frames", child.frames);
  see("released.components", QEL::qcINPUT == nullptr && QEL::qcWINDOW == nullptr && QEL::qcRENDER == nullptr &&
                                 QEL::qcTIMER == nullptr && QEL::qcRANDOM == nullptr && QEL::qcMIXER == nullptr &&
                                 QEL::qcRESOURCE_LOADER == nullptr);
  see("released.game", gCurrentScene == nullptr && gSplash == nullptr && gFonts[kFontTable[0].slot] == nullptr &&
                           gMusicTracks[0] == nullptr && gBorderSprites[0] == nullptr);
  std::ofstream report(root / "report.txt");
  for (const auto& [key, value] : child.seen) report << "seen\t" << key << "\t" << value << "\n";
  for (const std::string& line : child.log) report << "log\t" << line << "\n";
  report.close();
  std::_Exit(0);
}

// The temporary folder is made by the parent; the child, which runs this test's body again,
// finds it in the environment.
class StartUpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(kGeneratedResources / "texts" / "texts.xml"))
      GTEST_SKIP() << "no generated Resources (configure with -DPINDRAKE_RESOURCES=ON)";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    _root = test_support::enterChildStartFolder(kRootVariable, "pindrake_start_up_", _isParent);
  }
  void TearDown() override { test_support::leaveChildStartFolder(kRootVariable, _root, _isParent); }

  std::filesystem::path saves() const { return _root / "Documents" / "Ostvane" / "Pindrake" / "Saves"; }

  void readReport() {
    std::ifstream in(_root / "report.txt");
    std::string line;
    while (std::getline(in, line)) {
      const size_t tab = line.find('\t');
      const std::string kind = line.substr(0, tab);
      const std::string rest = tab == std::string::npos ? std::string() : line.substr(tab + 1);
      if (kind != "seen") {
        _log.push_back(kind == "log" ? rest : line);  // a log message of several lines
      } else {
        const size_t split = rest.find('\t');
        _seen[rest.substr(0, split)] = split == std::string::npos ? std::string() : rest.substr(split + 1);
      }
    }
  }

  // The index of the first log line at or after `from` that contains the piece; -1 if none.
  int find(const std::string& piece, int from = 0) const {
    for (int i = std::max(from, 0); i < static_cast<int>(_log.size()); ++i)
      if (_log[i].find(piece) != std::string::npos) return i;
    return -1;
  }

  void expectInOrder(const std::vector<std::string>& pieces) const {
    int at = 0;
    for (const std::string& piece : pieces) {
      const int found = find(piece, at);
      ASSERT_GE(found, 0) << "\"" << piece << "\" not logged after line " << at;
      at = found + 1;
    }
  }

  std::string seen(const std::string& key) const {
    auto it = _seen.find(key);
    return it == _seen.end() ? std::string("<none>") : it->second;
  }

  std::filesystem::path _root;
  bool _isParent = true;
  std::vector<std::string> _log;
  std::map<std::string, std::string> _seen;
};

TEST_F(StartUpTest, AFirstStartRunsInOrderAndReachesTheMainMenu) {
  EXPECT_EXIT(runGameInChild(_root), ::testing::ExitedWithCode(0), "");
  readReport();
  ASSERT_FALSE(_log.empty()) << "the child wrote no report";

  expectInOrder({"Game construction", "DWORD EntryPointer(DWORD)", "Input initialised", "Window initialised",
                 "Render initialised", "Timer initialised", "Random initialised", "Sound initialised",
                 "Resouce loader inited", "onGameInit: packs", "onGameInit: cursors", "onGameInit: splash screen",
                 "onGameInit: save folder", "onGameInit: developer flags cheat 0 debug 0", "onGameInit: players 0",
                 "onGameInit: resolution 1024x768 full screen 1", "onGameInit: border sprites",
                 "onGameInit: level results, sounds, fonts", "onGameInit: done", "Start"});
  EXPECT_EQ(find("Window creation error"), -1);
  EXPECT_EQ(find("Render error"), -1);
  EXPECT_EQ(find("loadTexts: cannot read"), -1);

  // What onGameInit left for the first update.
  EXPECT_EQ(seen("init.isSplash"), "1");
  EXPECT_EQ(seen("init.splash"), "1");
  EXPECT_EQ(seen("init.sceneKind"), "0");
  EXPECT_EQ(seen("init.scene"), "0");
  EXPECT_EQ(seen("init.isGameInited"), "1");
  EXPECT_EQ(seen("init.basePath"), (_root / "Documents" / "Ostvane" / "Pindrake").string());
  EXPECT_TRUE(std::filesystem::is_directory(saves()));
  EXPECT_TRUE(std::filesystem::is_directory(_root / "Documents" / "Ostvane" / "Pindrake" / "Statistics"));
  EXPECT_EQ(seen("init.players"), "0");
  EXPECT_EQ(seen("init.currentPlayer"), "0");
  EXPECT_EQ(seen("init.player0"), "1 1 0.500000 0.500000 0 0 2 3 0 0");
  EXPECT_EQ(seen("init.updateRate"), "60");
  EXPECT_EQ(seen("init.useDesktopSize"), "1");
  EXPECT_EQ(seen("init.resolution"), "1024x768");
  EXPECT_EQ(seen("init.fullscreen"), "1");
  EXPECT_EQ(seen("init.clearColor"), std::to_string(0xFF000000u));
  EXPECT_EQ(seen("init.sessionNumber"), "0");  // the first session
  EXPECT_EQ(seen("init.borderSprites"), "4");
  EXPECT_EQ(seen("init.topPivotIsBottomLeft"), "1");
  EXPECT_EQ(seen("init.cursorSprite"), "1");
  EXPECT_EQ(seen("init.arrowIsCurrent"), "1");
  // The game's cursor image was read; whether the system can show a cursor is its own
  // matter (the offscreen driver has none).
  EXPECT_EQ(find("Game cursor image unreadable"), -1);
  if (seen("init.gameCursor") == "0") {
    EXPECT_GE(find("Cursor cannot be created"), 0);
  }
  EXPECT_EQ(seen("init.fontsWithGlyphs"), std::to_string(kFontCount));
  if (seen("init.audioDevice") == "1") {
    EXPECT_EQ(seen("init.sounds"), std::to_string(kSoundCount + kMusicTrackCount));
    EXPECT_EQ(seen("init.trackPlaying"), "1");
  }

  // The splash drew a picture, the borders came last, and the main menu took over.
  EXPECT_EQ(seen("draw.firstState"), "0");
  EXPECT_GT(std::stod(seen("draw.litShare")), 0.3);
  EXPECT_EQ(std::stoi(seen("draw.callsNormal")) - std::stoi(seen("draw.callsDebug")), 4);
  EXPECT_EQ(seen("close.menuShows"), "1");
  EXPECT_EQ(seen("close.loaded"), "0011");
  EXPECT_EQ(seen("end.isSplash"), "0");
  EXPECT_EQ(seen("end.mainMenu"), "1");
  EXPECT_EQ(seen("end.sceneKind"), "1");
  EXPECT_EQ(seen("end.isGameReady"), "1");
  EXPECT_EQ(seen("end.running"), "0");
  EXPECT_EQ(seen("end.result"), "-100500");
  // Nobody was a player yet: closing keeps the settings in a new players file.
  EXPECT_TRUE(std::filesystem::exists(saves() / "players.xml"));
  const int saved = find("savePlayerSettings: players file started");
  EXPECT_GE(saved, 0);
  // Then everything started goes, the game's objects before the engine's components, the
  // sound thread before the mixer that closes the device; nothing is saved after the close.
  expectInOrder({"savePlayerSettings: players file started", "releaseGame:", "Sound thread stopped", "AL closed",
                 "Components released"});
  EXPECT_EQ(find("Components released"), static_cast<int>(_log.size()) - 1);
  EXPECT_EQ(find("Save file", saved), -1);
  EXPECT_EQ(seen("released.components"), "1");
  EXPECT_EQ(seen("released.game"), "1");
}

TEST_F(StartUpTest, AKnownPlayerStartsWindowedAndClosingSavesTheSettings) {
  if (_isParent) {
    std::filesystem::create_directories(saves());
    test_support::writeFile(saves() / "players.xml",
                            "<players numberOfPlayers=\"1\" currentPlayer=\"0\">"
                            "<player id=\"0\" name=\"Tester\" money=\"10\" soundVolume=\"0.2\" musicVolume=\"0.4\" "
                            "isFullscreen=\"0\" isMuteAll=\"0\" currentBack=\"1\" currentCardType=\"1\" "
                            "additionalCardPlaces=\"2\" isShowedFirstHint=\"1\"/></players>");
  }
  EXPECT_EXIT(runGameInChild(_root), ::testing::ExitedWithCode(0), "");
  readReport();
  ASSERT_FALSE(_log.empty()) << "the child wrote no report";

  EXPECT_GE(find("onGameInit: players 1"), 0);
  EXPECT_GE(find("onGameInit: resolution 1024x768 full screen 0"), 0);
  EXPECT_EQ(seen("init.fullscreen"), "0");
  EXPECT_EQ(seen("end.mainMenu"), "1");

  pugi::xml_document saved;
  ASSERT_TRUE(saved.load_file((saves() / "players.xml").c_str()));
  pugi::xml_node player = saved.child("players").child("player");
  EXPECT_STREQ(player.attribute("name").as_string(), "Tester");
  EXPECT_FLOAT_EQ(player.attribute("musicVolume").as_float(), 0.125f);
  EXPECT_FLOAT_EQ(player.attribute("soundVolume").as_float(), 0.2f);
}

}  // namespace
