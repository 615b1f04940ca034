#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/file_system.h"
#include "engine/globals.h"
#include "engine/render.h"
#include "engine/resource_loader.h"
#include "game/card.h"
#include "game/card_flights.h"
#include "game/card_piles.h"
#include "game/game_globals.h"
#include "game/players.h"
#include "game/save_files.h"
#include "game/scenes/level/level_scene.h"
#include "platform/window.h"
#include "primitives/sprite.h"
#include "level_fixture.h"
#include "save_folder_fixture.h"

namespace {

// ---- without a renderer or resources --------------------------------------------------------

using LevelDrawingWithoutRenderer = StartedLevelTest;

TEST_F(LevelDrawingWithoutRenderer, EveryWindowStateAndFlightDrawsWithoutTexturesOrRenderer) {
  ASSERT_EQ(QEL::qcRENDER_INSTANCE, nullptr);
  SCENE_CARD_GAME_LEVEL* level = start();
  level->cards[0]->putOnTable();
  level->cards[0]->setValue(5);
  level->cards[0]->covered = false;
  level->cards[0]->inFlight = true;
  level->cards[1]->putOnTable();
  level->cards[1]->setValue(CARD::JOKER);
  level->cards[1]->covered = false;
  level->cards[2]->putOnTable();
  level->cards[2]->special = true;
  level->selectedCard = 2;
  level->hoveredCard = 2;
  level->hoveredPile = 1;
  level->countOfSpecialCardsOnScene = 11;  // no picture for that many: nothing drawn
  for (int32_t state = 0; state <= 21; ++state) {
    level->windowState = state;
    level->messageState = state % 4;
    level->transitionState = state % 3;
    level->hintStep = state;
    level->fDraw();
  }
  level->cardPiles->holders[0]->inFlight = true;
  level->fDraw();
  SUCCEED();
}

TEST_F(LevelDrawingWithoutRenderer, TheCardPictureOffsetTurnsWithTheCard) {
  EXPECT_FLOAT_EQ(SCENE_CARD_GAME_LEVEL::rotatedImageOffsetX(0.0f), -3.0f);
  EXPECT_FLOAT_EQ(SCENE_CARD_GAME_LEVEL::rotatedImageOffsetY(0.0f), -7.0f);
  const float quarter = 1.5707964f;  // clockwise on the screen: the offset swings to the right
  EXPECT_NEAR(SCENE_CARD_GAME_LEVEL::rotatedImageOffsetX(quarter), 7.0f, 1e-5f);
  EXPECT_NEAR(SCENE_CARD_GAME_LEVEL::rotatedImageOffsetY(quarter), -3.0f, 1e-5f);
}

TEST_F(LevelDrawingWithoutRenderer, TheGaugeFillsTowardsTheNextMultiplierAndDrainsBeforeAPointIsLost) {
  SCENE_CARD_GAME_LEVEL* level = start();
  level->numberOfActionPointsToIncreaseMultiplier = 10;
  level->actionPoints = 5;
  level->clockMs = 0;
  level->nextActionPointDecreaseMs = 20000;  // far off: no drain
  EXPECT_EQ(level->multiplierGaugeFrame(), 9);
  level->nextActionPointDecreaseMs = 5000;  // 5 s left: drained by 2
  EXPECT_EQ(level->multiplierGaugeFrame(), 7);
  gIsPaused = 1;
  EXPECT_EQ(level->multiplierGaugeFrame(), 9) << "a paused game does not drain";
  gIsPaused = 0;
  level->hintStep = 5;
  EXPECT_EQ(level->multiplierGaugeFrame(), 9) << "nor while the tutorial explains the gauge";
  level->hintStep = 0;
  level->actionPoints = 10;  // a full step: starts empty, a drain wraps round
  level->nextActionPointDecreaseMs = 1000;
  EXPECT_EQ(level->multiplierGaugeFrame(), 11);
  level->actionPoints = 0;
  EXPECT_EQ(level->multiplierGaugeFrame(), 0);
  level->numberOfActionPointsToIncreaseMultiplier = 0;  // a broken tuning text
  EXPECT_EQ(level->multiplierGaugeFrame(), -1);
  level->fDraw();
}

TEST_F(LevelDrawingWithoutRenderer, TheBlinkTurnsAtItsBounds) {
  SCENE_CARD_GAME_LEVEL* level = start();
  level->frameTime = 1.0f;  // 50 alpha units per call
  level->blinkAlpha = 255.0f;
  level->blinkDirection = -1.0f;
  EXPECT_FLOAT_EQ(level->nextBlinkAlpha(100.0f, 255.0f), 205.0f);
  EXPECT_FLOAT_EQ(level->nextBlinkAlpha(100.0f, 255.0f), 155.0f);
  EXPECT_FLOAT_EQ(level->nextBlinkAlpha(100.0f, 255.0f), 105.0f);
  EXPECT_FLOAT_EQ(level->nextBlinkAlpha(100.0f, 255.0f), 100.0f);
  EXPECT_FLOAT_EQ(level->nextBlinkAlpha(100.0f, 255.0f), 150.0f);
  // A value outside narrower bounds is brought back inside at once.
  level->blinkAlpha = 250.0f;
  EXPECT_FLOAT_EQ(level->nextBlinkAlpha(100.0f, 200.0f), 200.0f);
  EXPECT_FLOAT_EQ(level->nextBlinkAlpha(100.0f, 200.0f), 150.0f);
}

// ---- with the real renderer and the generated resources, in a process of its own ------------
//
// The file system, renderer and window are made once per process: the drawing runs in a child
// started afresh, in a temporary folder with a copy of the generated Resources. The child
// reports a failed check on stderr and by its exit code.

const std::filesystem::path kGeneratedResources = std::filesystem::path(PINDRAKE_BUILD_DIR) / "Resources";

[[noreturn]] void fail(const std::string& why) {
  std::fprintf(stderr, "CHILD FAILED: %s\n", why.c_str());
  std::fflush(stderr);
  std::_Exit(1);
}

struct FRAME {
  std::vector<uint8_t> rgba;
  uint32_t at(int x, int y) const {
    const uint8_t* p = &rgba[(static_cast<size_t>(y) * 1024 + static_cast<size_t>(x)) * 4];
    return (static_cast<uint32_t>(p[0]) << 16) | (static_cast<uint32_t>(p[1]) << 8) | p[2];
  }
  int brightness(int x, int y) const {
    const uint8_t* p = &rgba[(static_cast<size_t>(y) * 1024 + static_cast<size_t>(x)) * 4];
    return p[0] + p[1] + p[2];
  }
};

template <class DRAW>
FRAME drawFrame(QEL::QC_RENDER* render, DRAW draw) {
  FRAME frame;
  if (render->fBeginScene() != 1) fail("fBeginScene");
  draw();
  render->fEndScene();
  int32_t w = 0, h = 0;
  if (!render->fReadBackBuffer(frame.rgba, w, h) || w != 1024 || h != 768) fail("read-back");
  return frame;
}

// Share of the pixels of the rectangle that differ between the two frames.
double differingShare(const FRAME& a, const FRAME& b, int left, int top, int right, int bottom) {
  long differing = 0, all = 0;
  for (int y = std::max(top, 0); y < std::min(bottom, 768); ++y) {
    for (int x = std::max(left, 0); x < std::min(right, 1024); ++x) {
      ++all;
      if (a.at(x, y) != b.at(x, y)) ++differing;
    }
  }
  return all > 0 ? static_cast<double>(differing) / static_cast<double>(all) : 0.0;
}

[[noreturn]] void drawLevelInChild(const std::filesystem::path& root) {
  ::setenv("SDL_VIDEODRIVER", "offscreen", 0);
  ::setenv("XDG_DOCUMENTS_DIR", (root / "Documents").c_str(), 1);
  std::filesystem::current_path(root / "start");
  QEL::QC_FILE_SYSTEM::fGet();  // moves into start/Resources
  const char* documents = QEL::QC_FILE_SYSTEM::fGetDocumentsFolder();
  if (documents == nullptr) fail("no documents folder");
  gBasePath = documents;
  makeSaveFolders();

  if (!platform::initVideo()) fail("initVideo");
  platform::WindowHandle window = platform::createWindow("level drawing", 1024, 768);
  if (window == nullptr) fail("createWindow");
  auto* render = new QEL::QC_RENDER;
  if (render->fInit(window, 0.1f, 0.0f) != 1) fail("render fInit");
  render->_clearColor = 0xFF000000u;
  QEL::qcRESOURCE_LOADER = new QEL::QC_RESOURCE_LOADER();

  gNumberOfPlayers = 1;
  gCurrentPlayer = 0;
  gCurrentLevel = 3;
  gCurrentPack = 0;
  auto* level = new SCENE_CARD_GAME_LEVEL();
  gCurrentScene = level;
  level->fInit();
  if (level->cardsLeft <= 0) fail("the generated level 3 laid out no cards");
  if (level->backgroundSprite == nullptr || level->backgroundSprite->_texture == nullptr ||
      level->backgroundSprite->_texture == render->fGetDefaultTexture()) {
    fail("no background texture");
  }

  // The layout waits off the screen until the update deals it in.
  settleDealtLevel(*level);

  const FRAME bare = drawFrame(render, [&] { level->backgroundSprite->fDraw(); });
  long lit = 0;
  for (size_t i = 0; i + 3 < bare.rgba.size(); i += 4)
    if (bare.rgba[i] > 16 || bare.rgba[i + 1] > 16 || bare.rgba[i + 2] > 16) ++lit;
  if (lit < 1024L * 768L / 2) fail("the background covers less than half the picture");

  const FRAME full = drawFrame(render, [&] { level->fDraw(); });
  // Wherever nothing lies over the table the full frame shows the bare background.
  if (full.at(5, 300) != bare.at(5, 300)) fail("the table's left edge differs from the background");

  int faceUp = 0;
  for (const CARD* card : level->cards) {
    if (card == nullptr || !card->onTable || card->covered || card->special || card->value < 0 ||
        card->value >= 52 || std::fabs(card->angle) > 0.01f) {
      continue;
    }
    ++faceUp;
    const int cx = static_cast<int>(card->currentX) - 3;
    const int cy = static_cast<int>(card->currentY) - 7;
    const double share = differingShare(bare, full, cx - 30, cy - 50, cx + 30, cy + 50);
    if (share < 0.8) fail("card " + std::to_string(card->id) + " not drawn: share " + std::to_string(share));
  }
  if (faceUp == 0) fail("no face-up card in the layout");

  // The stock lies at the deck position.
  const int sx = static_cast<int>(level->cardPiles->stockX) - 3;
  const int sy = static_cast<int>(level->cardPiles->stockY) - 7;
  if (differingShare(bare, full, sx - 25, sy - 40, sx + 25, sy + 40) < 0.8) fail("stock not drawn");

  // One highlight for a card both hovered and selected.
  CARD* marked = nullptr;
  for (CARD* card : level->cards) {
    if (card != nullptr && card->onTable && !card->covered && !card->special && card->value >= 0 &&
        card->value < 52 && std::fabs(card->angle) < 0.01f) {
      marked = card;
      break;
    }
  }
  const int mx = static_cast<int>(marked->currentX);
  const int my = static_cast<int>(marked->currentY);
  level->hoveredCard = marked->id;
  const FRAME hovered = drawFrame(render, [&] { level->fDraw(); });
  level->selectedCard = marked->id;
  const FRAME both = drawFrame(render, [&] { level->fDraw(); });
  level->hoveredCard = -1;
  level->selectedCard = -1;
  if (differingShare(full, hovered, mx - 50, my - 75, mx + 50, my + 75) == 0.0) fail("no highlight");
  if (differingShare(hovered, both, mx - 50, my - 75, mx + 50, my + 75) != 0.0) fail("two highlights");

  // While the layout flies in the stock lies under it; once still, over it.
  const float savedX = marked->currentX;
  const float savedY = marked->currentY;
  marked->currentX = level->cardPiles->stockX;
  marked->currentY = level->cardPiles->stockY;
  const FRAME still = drawFrame(render, [&] { level->fDraw(); });
  level->transitionState = 1;
  const FRAME arriving = drawFrame(render, [&] { level->fDraw(); });
  level->transitionState = 0;
  marked->onTable = false;
  const FRAME noCard = drawFrame(render, [&] { level->fDraw(); });
  marked->onTable = true;
  marked->currentX = savedX;
  marked->currentY = savedY;
  if (differingShare(still, noCard, sx - 20, sy - 30, sx + 20, sy + 30) != 0.0) fail("the stock is not on top");
  if (differingShare(arriving, noCard, sx - 20, sy - 30, sx + 20, sy + 30) < 0.8) fail("the stock is not under");

  // The pause window's dimming darkens the table.
  level->windowState = 4;
  const FRAME paused = drawFrame(render, [&] { level->fDraw(); });
  level->windowState = 0;
  if (paused.brightness(5, 300) >= full.brightness(5, 300)) fail("no dimming under the pause window");

  // A scene whose pictures are all missing draws nothing, but draws.
  delete QEL::qcRESOURCE_LOADER;
  QEL::qcRESOURCE_LOADER = nullptr;
  delete level;
  level = new SCENE_CARD_GAME_LEVEL();
  gCurrentScene = level;
  level->fInit();
  for (int32_t state : {0, 4, 10, 19}) {
    level->windowState = state;
    drawFrame(render, [&] { level->fDraw(); });
  }
  std::_Exit(0);
}

class LevelDrawingWithRenderer : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(kGeneratedResources / "Levels" / "Level_3.xml"))
      GTEST_SKIP() << "no generated Resources (configure with -DPINDRAKE_RESOURCES=ON)";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    _root = test_support::enterChildStartFolder(kRootVariable, "pindrake_level_drawing_", _isParent);
  }
  void TearDown() override { test_support::leaveChildStartFolder(kRootVariable, _root, _isParent); }

  static constexpr const char* kRootVariable = "PINDRAKE_LEVEL_DRAWING_TEST_ROOT";
  std::filesystem::path _root;
  bool _isParent = true;
};

TEST_F(LevelDrawingWithRenderer, AGeneratedLevelShowsTheTableItsCardsAndTheStock) {
  EXPECT_EXIT(drawLevelInChild(_root), ::testing::ExitedWithCode(0), "");
}

}  // namespace
