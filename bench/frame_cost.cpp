// The game's side of bench/frame_cost: one scene per run, started as the game starts (texts,
// engine, packs, players, sounds, fonts; the splash cut short), drawn frame after frame
// through the game's own update and draw callbacks, with nothing else running.
//
//   bench_frame_cost <menu|level|level-flight|idle|screens> <Resources folder> <capture file> [frames]
//                    [window] [--everything]
//
// --everything: every frame is drawn in full, as the game drew before it showed repeated
// draws from a kept picture (the figures of both ways, side by side, give the gain).
//
// menu:         the main menu as the splash hands over to it.
// level:        a generated level of 300 cards on the play screen, laid out, with one window
//               open: the window state is the last argument, 4 (the pause window, opened as
//               its button opens it) by default; any other state is held from frame to frame
//               as given.
// level-flight: the same level and window with every card of the layout flying in from
//               beyond an edge of the screen, as the deal-in flies them; a card that lands
//               sets off again before the frame is drawn, so all of them are in flight in
//               every frame.
// idle:         the renderer's frame alone: clear and present, nothing drawn.
// screens:      every screen of the game in turn (the main menu at rest, each of its windows
//               and dialogs, both packs screens, the score sheet, a full level at rest and
//               with each of its windows, the editor), each reached through the scene's own
//               operations and left to settle: one line per screen with the device's draw
//               calls of a frame drawn the quick way and of one drawn in full.
//
// Prints one line of figures (key=value): processor time per frame of the main thread and
// the driver's threads together; the engine's own time per frame (the main thread's time in
// the update and the scene's draw, less its time inside the device's draw calls: neither the
// clear, nor the draw calls, nor the last batch's flush and the present count), its mean and
// 95th percentile; the time inside those draw calls; the device's draw calls, texture binds
// and buffer allocations per frame; the cards in flight as a frame is drawn. The triangles of
// one frame go to the capture file, for bench_frame_baseline to draw the same pixels.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "drawing_threads.h"
#include "engine/game.h"
#include "engine/globals.h"
#include "engine/input.h"
#include "engine/render.h"
#include "game/card.h"
#include "game/card_flights.h"
#include "game/game_entry.h"
#include "game/game_globals.h"
#include "game/scenes/base_scene.h"
#include "game/scenes/editor/editor_scene.h"
#include "game/scenes/frames/frames_scene.h"
#include "game/scenes/level/level_scene.h"
#include "game/scenes/level_packs/level_packs_scene.h"
#include "game/scenes/main_menu/main_menu_scene.h"
#include "game/splash_screen.h"
#include "game/texts.h"
#include "level_geometry/editor_cards.h"
#include "level_geometry/level_file.h"
#include "level_geometry/shape_generators.h"
#include "platform/gl_functions.h"

namespace {

namespace fs = std::filesystem;

constexpr int kLevelIndex = 3;  // pack 1, frame 4: neither the tutorial nor a tenth frame
constexpr int kLevelCards = 300;
constexpr int kWarmUpFrames = 60;
constexpr int kSettleFrames = 180;

[[noreturn]] void fail(const std::string& why) {
  std::fprintf(stderr, "bench_frame_cost: %s\n", why.c_str());
  std::_Exit(1);
}

// ---- the start folder ---------------------------------------------------------------------

// Layers of pyramids and fans filling the table: 300 cards, many covered.
void writeFullLevel(const fs::path& file) {
  EDITOR_CARD_TABLE table;
  table.clearEditor();
  std::vector<CARD_PLACE> places;
  auto add = [&places](const std::vector<CARD_PLACE>& more) { places.insert(places.end(), more.begin(), more.end()); };
  add(layeredPyramidOfCards(300.0f, 330.0f, 8, 6, 6, 60.0f, 70.0f, 0));
  add(layeredPyramidOfCards(730.0f, 330.0f, 8, 6, 6, 60.0f, 70.0f, 0));
  add(fanOfCards(150.0f, 620.0f, 880.0f, 620.0f, 40, 0.6f, 20, 1));
  add(circleOfCards(512.0f, 340.0f, 470.0f, 260.0f, 60, 60, true));
  int32_t slot = 0;
  for (const CARD_PLACE& place : places) {
    if (slot >= kLevelCards) break;
    table.cards[slot].putOnTable(place.x, place.y, place.zLayer, -1, slot % 37 == 5);
    table.cards[slot].angle = place.angle;
    ++slot;
  }
  table.computeCoverLists();
  LEVEL_SETTINGS settings;
  settings.numberOfTurnovers = 1;
  settings.numberOfCardsInStockPile = 60;
  settings.numberOfReservePiles = 3;
  settings.numberOfBonusCards = 2;
  pugi::xml_document document;
  writeLevel(document, table, kLevelIndex, settings);
  if (!saveLevelDocument(document, file)) fail("cannot write " + file.string());
}

// A start folder whose Resources link to the generated ones; the level run gets a Levels
// folder of its own with the full level in place of the usual one.
fs::path makeStartFolder(const fs::path& generated, bool fullLevel) {
  char pattern[] = "/tmp/pindrake-frame-cost-XXXXXX";
  if (mkdtemp(pattern) == nullptr) fail("mkdtemp");
  const fs::path root = pattern;
  const fs::path resources = root / "start" / "Resources";
  fs::create_directories(resources);
  fs::create_directories(root / "Documents");
  for (const fs::directory_entry& entry : fs::directory_iterator(generated)) {
    const fs::path name = entry.path().filename();
    if (fullLevel && name == "Levels") continue;
    fs::create_symlink(fs::absolute(entry.path()), resources / name);
  }
  if (fullLevel) {
    fs::create_directories(resources / "Levels");
    for (const fs::directory_entry& entry : fs::directory_iterator(generated / "Levels"))
      fs::create_symlink(fs::absolute(entry.path()), resources / "Levels" / entry.path().filename());
    const fs::path level = resources / "Levels" / ("Level_" + std::to_string(kLevelIndex) + ".xml");
    fs::remove(level);
    writeFullLevel(level);
  }
  return root;
}

// One player, so that the main menu comes to rest without asking for a name.
void writePlayer(const fs::path& root) {
  const fs::path saves = root / "Documents" / "Ostvane" / "Pindrake" / "Saves";
  fs::create_directories(saves);
  FILE* file = std::fopen((saves / "players.xml").c_str(), "w");
  if (file == nullptr) fail("cannot write the players file");
  std::fputs("<players numberOfPlayers=\"1\" currentPlayer=\"0\">\n"
             "  <player id=\"0\" name=\"Ann\" soundVolume=\"0.5\" musicVolume=\"0.5\" isMuteAll=\"true\" />\n"
             "</players>\n",
             file);
  std::fclose(file);
}

// ---- the game -------------------------------------------------------------------------------

void startGame(const fs::path& root) {
  ::setenv("XDG_DOCUMENTS_DIR", (root / "Documents").c_str(), 1);
  fs::current_path(root / "start");
  registerGameCallbacks();
  loadTexts();
  QEL::QC_GAME::fInit(QEL::qcGAME, "Pindrake");
  if (QEL::qcRENDER == nullptr || QEL::qcRENDER->_device == nullptr) fail("the engine did not start");
  QEL::qcGAME->_settings._running = 1;
  // The splash hands over to the main menu at once.
  onSplashFinished();
  gIsSplash = 0;
  delete gSplash;
  gSplash = nullptr;
  if (gCurrentScene == nullptr) fail("no main menu");
  // The same window on every driver and desktop: 1024 x 768, windowed.
  QEL::qcGAME->fSetResolution(1024, 768, false);
}

// The main thread's processor time of one frame: the engine's own, and what it spent inside
// the device's draw calls (seconds).
struct FrameTime {
  double engine = 0.0;
  double inDrawCalls = 0.0;
};

// Each frame is finished before the next begins, here and in the baseline: the offscreen
// driver's buffer is never shown, and without the wait the rasteriser would skip frames
// that the next clear makes invisible. The bench's own work between update and draw is not
// timed.
FrameTime step(const std::function<void()>& beforeDraw = {}) {
  // The scenes step by the update rate the engine's loop measures; this loop runs at 60.
  QEL::qcGAME->_settings._updatesPerSecond = 60;
  QEL::qcFRAME_DELTA = 1.0f / 60.0f;
  FrameTime time;
  const double updateStart = bench::thisThreadSeconds();
  onGameUpdate(0);
  if (QEL::qcINPUT != nullptr) QEL::qcINPUT->fEndFrame();
  time.engine = bench::thisThreadSeconds() - updateStart;
  if (beforeDraw) beforeDraw();
  if (QEL::qcRENDER->fBeginScene() != 1) return time;
  platform::Device& device = *QEL::qcRENDER->_device;
  device.setDrawTimeSum(&time.inDrawCalls);
  const double drawStart = bench::thisThreadSeconds();
  onGameDraw(0);
  time.engine += bench::thisThreadSeconds() - drawStart - time.inDrawCalls;
  device.setDrawTimeSum(nullptr);
  QEL::qcRENDER->fEndScene();
  glFinish();
  return time;
}

// A frame of the screen as it stands, without an update.
void idleStep() {
  if (QEL::qcRENDER->fBeginScene() != 1) return;
  onGameDraw(0);
  QEL::qcRENDER->fEndScene();
  glFinish();
}

FrameTime idleFrame() {
  if (QEL::qcRENDER->fBeginScene() == 1) {
    QEL::qcRENDER->fEndScene();
    glFinish();
  }
  return {};
}

// Cards of the layout that have landed set off again from beyond an edge, spinning in as the
// deal-in sends them: every card is in flight when the frame is drawn.
void keepLayoutFlying(SCENE_CARD_GAME_LEVEL* level) {
  CARD_FLIGHTS* flights = level->cardFlights;
  if (flights == nullptr) fail("the level has no flights");
  flights->animationRunning = true;
  for (CARD* card : level->cards) {
    if (card == nullptr || !card->onTable || card->inFlight) continue;
    float x = 0.0f;
    float y = 0.0f;
    pickPointBeyondEdge(x, y);
    card->currentX = x;
    card->currentY = y;
    flights->addFlight(card, CARD_FLIGHTS::SPIN_IN, x, y, card->tableX, card->tableY, card->angle, card->angle);
  }
}

int cardsInFlight(const SCENE_CARD_GAME_LEVEL* level) {
  return static_cast<int>(std::count_if(std::begin(level->cards), std::end(level->cards),
                                        [](const CARD* card) { return card != nullptr && card->inFlight; }));
}

// The pause window slides in as its button makes it; other states are held as they are.
void openWindow(SCENE_CARD_GAME_LEVEL* level, int window) {
  if (window != window_state::PAUSE_OPEN) {
    level->windowState = window;
    return;
  }
  level->openPauseWindow();
  for (int i = 0; i < kSettleFrames && level->windowState != window; ++i) step();
  if (level->windowState != window) fail("the pause window did not open");
}

SCENE_CARD_GAME_LEVEL* startFullLevel() {
  gNumberOfPlayers = 1;
  gCurrentPlayer = 0;
  gCurrentPack = 0;
  gCurrentLevel = kLevelIndex;
  delete gCurrentScene;
  auto* level = new SCENE_CARD_GAME_LEVEL();
  gCurrentScene = level;
  gSceneKind = 4;
  level->fInit();
  for (int i = 0; i < kSettleFrames; ++i) step();
  // Cards that have not come to their places yet are put there.
  int onTable = 0;
  for (CARD* card : level->cards) {
    if (card == nullptr || !card->onTable) continue;
    ++onTable;
    card->inFlight = false;
    card->currentX = card->tableX;
    card->currentY = card->tableY;
  }
  std::fprintf(stderr, "bench_frame_cost: %d cards on the table\n", onTable);
  return level;
}

// ---- every screen ------------------------------------------------------------------------------

using MENU = SCENE_CARD_GAME_MAINMENU;

bool stepUntil(const std::function<bool()>& condition, int limit = 600) {
  for (int i = 0; i < limit && !condition(); ++i) step();
  return condition();
}

MENU* menu() { return dynamic_cast<MENU*>(gCurrentScene); }

// The device's draw calls of the screen as it stands: a frame drawn the quick way once the
// frames before have repeated it, and one drawn in full.
void printScreen(const std::string& name) {
  QEL::QC_RENDER& render = *QEL::qcRENDER;
  render.fSetDrawEverything(false);
  for (int i = 0; i < 4; ++i) idleStep();
  const uint64_t quick = render._device->lastFrameCounters().drawCalls;
  render.fSetDrawEverything(true);
  idleStep();
  const uint64_t full = render._device->lastFrameCounters().drawCalls;
  render.fSetDrawEverything(false);
  std::fprintf(stderr, "screen=%s draw_calls=%llu draw_calls_everything=%llu\n", name.c_str(),
               static_cast<unsigned long long>(quick), static_cast<unsigned long long>(full));
}

bool menuAtRest() {
  return menu() != nullptr && menu()->menuState == MENU::MENU_READY && menu()->windowState == MENU::NO_WINDOW &&
         menu()->dialogState == MENU::NO_DIALOG;
}

void openMenuWindow(int32_t button, int32_t window) {
  menu()->takeMainButtonClick(button);
  if (!stepUntil([window] { return menu()->windowState == window; })) fail("a menu window did not open");
}

void closeMenuWindow() {
  menu()->closeWindow(MENU::NEXT_MAIN_BUTTONS);
  if (!stepUntil(menuAtRest)) fail("a menu window did not close");
}

void menuDialog(int32_t kind, int32_t row, const std::string& name) {
  menu()->showDialog(kind, row);
  if (!stepUntil([] { return menu()->dialogState == MENU::DIALOG_OPEN; })) fail("a dialog did not open");
  printScreen(name);
  menu()->dialogState = MENU::NO_DIALOG;
}

void mainMenuScreens() {
  if (!stepUntil(menuAtRest)) fail("the menu did not settle");
  printScreen("menu");
  menuDialog(MENU::QUIT_DIALOG, -1, "menu-quit");
  openMenuWindow(MENU::PLAYER_BUTTON, MENU::CHANGE_PLAYER_WINDOW);
  printScreen("menu-change-player");
  menuDialog(MENU::ADD_PLAYER_DIALOG, -1, "menu-name");
  menuDialog(MENU::DELETE_PLAYER_DIALOG, 0, "menu-delete-player");
  closeMenuWindow();
  const struct {
    int32_t button, window;
    const char* name;
  } windows[] = {{MENU::OPTIONS_BUTTON, MENU::OPTIONS_WINDOW, "menu-options"},
                 {MENU::HELP_BUTTON, MENU::HELP_WINDOW, "menu-help"},
                 {MENU::TROPHIES_BUTTON, MENU::TROPHIES_WINDOW, "menu-trophies"},
                 {MENU::PLAY_BUTTON, MENU::MODE_SELECTION_WINDOW, "menu-modes"}};
  for (const auto& window : windows) {
    openMenuWindow(window.button, window.window);
    printScreen(window.name);
    if (window.window == MENU::MODE_SELECTION_WINDOW) {
      menu()->pressLockedProfessional();
      if (stepUntil([] { return menu()->dialogState == MENU::DIALOG_OPEN; })) printScreen("menu-information");
      menu()->dialogState = MENU::NO_DIALOG;
    }
    if (window.window == MENU::OPTIONS_WINDOW) {
      menu()->closeWindow(MENU::NEXT_CREDITS);
      if (!stepUntil([] { return menu()->windowState == MENU::CREDITS_WINDOW; })) fail("no credits");
      printScreen("menu-credits");
    }
    closeMenuWindow();
  }
}

void otherScreens() {
  changeScene(gCurrentScene, new SCENE_CARD_GAME_LEVELPACKS());
  for (int i = 0; i < 60; ++i) step();
  printScreen("level-packs");
  changeScene(gCurrentScene, new SCENE_CARD_GAME_FRAMES());
  for (int i = 0; i < 60; ++i) step();
  printScreen("frames");
  SCENE_CARD_GAME_LEVEL* level = startFullLevel();
  printScreen("level");
  const struct {
    int32_t state;
    const char* name;
  } windows[] = {{window_state::PAUSE_OPEN, "level-pause"},     {window_state::SHOP_OPEN, "level-shop"},
                 {window_state::FINISH_OPEN, "level-finish"},   {window_state::OPTIONS_OPEN, "level-options"},
                 {window_state::TROPHY_OPEN, "level-trophy"},   {window_state::CREDITS_OPEN, "level-credits"},
                 {window_state::BANNER_SHOWN, "level-banner"}};
  for (const auto& window : windows) {
    level->windowState = window.state;
    printScreen(window.name);
  }
  level->windowState = window_state::SHOP_OPEN;
  level->messageState = message_state::OPEN;
  printScreen("level-purchase");
  level->messageState = message_state::NONE;
  level->windowState = window_state::NONE;
  changeScene(gCurrentScene, new SCENE_CARD_GAME_EDITOR());
  for (int i = 0; i < 10; ++i) step();
  printScreen("editor");
}

// "PDCAP2", the run count and runs, the vertex count and vertices, as the device's structures
// lay them out.
void writeCapture(const std::string& path, const platform::Device::Capture& capture) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) fail("cannot write " + path);
  std::fwrite("PDCAP2", 1, 6, file);
  const uint32_t runs = static_cast<uint32_t>(capture.runs.size());
  std::fwrite(&runs, sizeof runs, 1, file);
  if (runs > 0) std::fwrite(capture.runs.data(), sizeof capture.runs[0], runs, file);
  const uint32_t vertices = static_cast<uint32_t>(capture.vertices.size());
  std::fwrite(&vertices, sizeof vertices, 1, file);
  if (vertices > 0) std::fwrite(capture.vertices.data(), sizeof capture.vertices[0], vertices, file);
  std::fclose(file);
}

}  // namespace

int main(int argc, char** argv) {
  bool everything = false;
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) != "--everything") continue;
    everything = true;
    for (int j = i; j + 1 < argc; ++j) argv[j] = argv[j + 1];
    --argc;
    break;
  }
  if (argc < 4) {
    std::fprintf(stderr,
                 "usage: bench_frame_cost <menu|level|level-flight|idle> <Resources folder> <capture file> [frames] "
                 "[window]\n");
    return 2;
  }
  const std::string scene = argv[1];
  const fs::path generated = fs::absolute(argv[2]);
  const std::string capturePath = argv[3];
  const int frames = argc > 4 ? std::atoi(argv[4]) : 300;
  const int window = argc > 5 ? std::atoi(argv[5]) : 4;
  if (scene != "menu" && scene != "level" && scene != "level-flight" && scene != "idle" && scene != "screens")
    fail("unknown scene " + scene);
  if (!fs::exists(generated / "texts" / "texts.xml")) fail("no generated Resources in " + generated.string());
  // The game's log would cost the same in every run; it goes nowhere.
  if (std::freopen("/dev/null", "w", stdout) == nullptr) fail("stdout");

  const bool isLevel = scene == "level" || scene == "level-flight";
  const fs::path root = makeStartFolder(generated, isLevel || scene == "screens");
  if (scene == "screens") writePlayer(root);
  startGame(root);
  QEL::qcRENDER->fSetDrawEverything(everything);
  if (scene == "screens") {
    mainMenuScreens();
    otherScreens();
    std::fflush(stderr);
    std::error_code ignored;
    fs::current_path("/tmp", ignored);
    fs::remove_all(root, ignored);
    std::_Exit(0);
  }
  SCENE_CARD_GAME_LEVEL* level = isLevel ? startFullLevel() : nullptr;
  if (level != nullptr) openWindow(level, window);
  int flying = 0;  // cards in flight as the frame is drawn
  std::function<void()> beforeDraw;
  if (scene == "level-flight") {
    beforeDraw = [&] {
      keepLayoutFlying(level);
      flying = cardsInFlight(level);
    };
    beforeDraw();
  }
  auto frame = [&] {
    if (level != nullptr && level->windowState != window) level->windowState = window;
    return scene == "idle" ? idleFrame() : step(beforeDraw);
  };

  for (int i = 0; i < kWarmUpFrames; ++i) frame();
  platform::Device& device = *QEL::qcRENDER->_device;
  const platform::Device::Counters before = device.counters();
  std::vector<double> engine;
  double inDrawCalls = 0.0;
  double flyingSum = 0.0;
  const double cpuBefore = bench::drawingThreadsSeconds();
  for (int i = 0; i < frames; ++i) {
    const FrameTime time = frame();
    engine.push_back(time.engine);
    inDrawCalls += time.inDrawCalls;
    flyingSum += flying;
  }
  const double cpu = bench::drawingThreadsSeconds() - cpuBefore;
  const platform::Device::Counters after = device.counters();

  platform::Device::Capture captured;
  device.setTriangleCapture(&captured);
  frame();
  device.setTriangleCapture(nullptr);
  writeCapture(capturePath, captured);

  const double n = frames > 0 ? frames : 1;
  double engineSum = 0.0;
  for (double seconds : engine) engineSum += seconds;
  std::sort(engine.begin(), engine.end());
  const double engineP95 = engine.empty() ? 0.0 : engine[engine.size() * 95 / 100];
  std::fprintf(stderr,
               "scene=%s everything=%d frames=%d cpu_ms=%.3f engine_ms=%.3f engine_p95_ms=%.3f in_draw_calls_ms=%.3f "
               "draw_calls=%.1f texture_binds=%.1f buffer_allocations=%.2f buffer_uploads=%.1f "
               "cards_in_flight=%.0f captured_triangles=%zu\n",
               scene.c_str(), everything ? 1 : 0, frames, 1000.0 * cpu / n, 1000.0 * engineSum / n, 1000.0 * engineP95,
               1000.0 * inDrawCalls / n, (after.drawCalls - before.drawCalls) / n,
               (after.textureBinds - before.textureBinds) / n, (after.bufferAllocations - before.bufferAllocations) / n,
               (after.bufferUploads - before.bufferUploads) / n, flyingSum / n, captured.vertices.size() / 3);
  std::error_code ignored;
  fs::current_path("/tmp", ignored);
  fs::remove_all(root, ignored);
  std::fflush(stderr);
  // The engine's components live until the process ends, as in the game.
  std::_Exit(0);
}
