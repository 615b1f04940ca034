#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/globals.h"
#include "game/fonts_sounds.h"
#include "game/game_entry.h"
#include "game/game_globals.h"
#include "game/scenes/base_scene.h"
#include "game/scenes/main_menu/main_menu_scene.h"
#include "game/splash_screen.h"
#include "primitives/sprite.h"
#include "save_folder_fixture.h"

namespace {

std::vector<std::string> gSceneEvents;

class LISTENING_SCENE : public BASE_SCENE {
 public:
  void fInit() override {}
  void fUpdate() override { gSceneEvents.push_back("update"); }
  void fDraw() override { gSceneEvents.push_back("draw"); }
  void fMouseMove() override { gSceneEvents.push_back("move"); }
  void fKeyDown(int32_t code) override { gSceneEvents.push_back("down " + std::to_string(code)); }
  void fKeyUp(int32_t code) override { gSceneEvents.push_back("up " + std::to_string(code)); }
};

uint32_t alphaOf(const QEL::QC_SPRITE* sprite) { return sprite->fGetVertexColor(0) >> 24; }

bool gTrackStarted = false;
bool neverPlaying(int) { return false; }
void noteStart(int) { gTrackStarted = true; }

// Runs without an engine: the sprites have no textures and nothing is drawn, but every
// step of the sequence runs.
class SplashTest : public SaveFolderTest {
 protected:
  void SetUp() override {
    SaveFolderTest::SetUp();
    gSceneEvents.clear();
    gCurrentScene = nullptr;
    gIsGameInited = 1;
    gIsGameReady = 0;
    gIsDebug = 0;
    gSceneKind = 0;
    gTrackStarted = false;
    setMusicTrackHooks(neverPlaying, noteStart);
  }
  void TearDown() override {
    setMusicTrackHooks(nullptr, nullptr);
    delete gSplash;
    gSplash = nullptr;
    gIsSplash = 0;
    delete gCurrentScene;
    gCurrentScene = nullptr;
    gIsGameInited = 0;
    gIsGameReady = 0;
    SaveFolderTest::TearDown();
  }

  void startSplash() {
    gSplash = new SPLASH_SCREEN();
    gIsSplash = 1;
  }

  // One pass of the main loop as the engine makes it, with the input of that pass.
  void frame(float dt) {
    QEL::qcFRAME_DELTA = dt;
    onGameUpdate(0);
    onKeyDown(65);
    onKeyUp(65);
    onMouseMove(0);
    onGameDraw(0);
  }
};

TEST_F(SplashTest, HandsOverToTheMainMenuAndDropsInputWhileUp) {
  startSplash();
  int frames = 0;
  // Until the hand-over no scene exists.
  while (gCurrentScene == nullptr && frames < 2000) {
    frame(1.0f / 60.0f);
    ++frames;
    if (gCurrentScene == nullptr) {
      EXPECT_LT(gSplash->state, 3);
      EXPECT_FALSE(gIsGameReady);
    }
  }
  ASSERT_NE(gCurrentScene, nullptr) << "no hand-over after " << frames << " frames";
  EXPECT_NE(dynamic_cast<SCENE_CARD_GAME_MAINMENU*>(gCurrentScene), nullptr);
  EXPECT_EQ(gSceneKind, 1);
  EXPECT_TRUE(gIsGameReady);
  EXPECT_EQ(gSplash->state, 3);
  EXPECT_TRUE(gIsSplash) << "the splash stays up over the new menu";

  // Put a listener in the menu's place to see what reaches the scene from now on.
  delete gCurrentScene;
  gCurrentScene = new LISTENING_SCENE();
  while (gIsSplash && frames < 4000) {
    ++frames;
    QEL::qcFRAME_DELTA = 1.0f / 60.0f;
    onGameUpdate(0);
    if (!gIsSplash) break;  // from here on the input of this pass is the scene's
    onKeyDown(65);
    onKeyUp(65);
    onMouseMove(0);
    onGameDraw(0);
  }
  ASSERT_FALSE(gIsSplash) << "the splash never went";
  EXPECT_TRUE(gSceneEvents.empty()) << gSceneEvents.front();
  EXPECT_FALSE(gTrackStarted) << "no track is chosen while the splash is up";
  EXPECT_EQ(gSplash->state, 5);
  EXPECT_FLOAT_EQ(gSplash->office->_node->_position.x, -1300.0f);
  EXPECT_FLOAT_EQ(gSplash->slideOffset, -700.0f);
  EXPECT_FLOAT_EQ(gSplash->border->_node->_position.y, -324.0f);

  frame(1.0f / 60.0f);
  EXPECT_EQ(gSceneEvents,
            (std::vector<std::string>{"update", "down 65", "up 65", "move", "draw"}));
  EXPECT_TRUE(gTrackStarted);
}

TEST_F(SplashTest, ALongFrameIsCutForEveryoneThatFrame) {
  startSplash();
  QEL::qcFRAME_DELTA = 0.5f;
  EXPECT_EQ(gSplash->update(), 1);
  EXPECT_FLOAT_EQ(QEL::qcFRAME_DELTA, kSplashMaxFrameTime);
  EXPECT_FLOAT_EQ(gSplash->elapsed, kSplashMaxFrameTime);
  QEL::qcFRAME_DELTA = 0.01f;
  gSplash->update();
  EXPECT_FLOAT_EQ(QEL::qcFRAME_DELTA, 0.01f);
}

TEST_F(SplashTest, WithoutLogosTheOfficeFadesInAtOnce) {
  startSplash();
  for (QEL::QC_SPRITE* logo : gSplash->logos) EXPECT_EQ(logo, nullptr);
  frame(0.02f);
  EXPECT_GE(gSplash->elapsed, 8.0f) << "the logo phase is skipped by the first drawn frame";
  frame(0.02f);
  EXPECT_EQ(gSplash->state, 1);
  frame(0.02f);
  EXPECT_EQ(alphaOf(gSplash->office), 8u);  // 400 per second, one frame of 0.02 s
  // Opaque after 255/400 s, then held for a second before the landscape comes.
  for (int i = 0; i < 90; ++i) frame(0.02f);
  EXPECT_EQ(alphaOf(gSplash->office), 255u);
  EXPECT_EQ(gSplash->state, 2);
}

TEST_F(SplashTest, AnOnlySecondLogoShowsTwiceAndTheLastThirdIsSkipped) {
  const std::filesystem::path logo = std::filesystem::current_path() / "splash" / "spl2.png";
  std::filesystem::create_directories(logo.parent_path());
  test_support::writeFile(logo, "any picture");
  startSplash();
  std::filesystem::remove(logo);
  ASSERT_EQ(gSplash->logos[0], nullptr);
  ASSERT_NE(gSplash->logos[1], nullptr);
  ASSERT_EQ(gSplash->logos[2], nullptr);

  QEL::QC_SPRITE* shown = gSplash->logos[1];
  bool opaqueInFirstThird = false;
  bool fadedInAgain = false;
  bool opaqueInSecondThird = false;
  float played = 0.0f;
  while (gSplash->state == 0 && played < 20.0f) {
    const float u = (gSplash->elapsed + 0.05f) / 8.0f;  // u of the coming draw
    frame(0.05f);
    played += 0.05f;
    const uint32_t alpha = alphaOf(shown);
    // The fade-in stops at its last step below the hold, a little short of 255.
    if (u > 0.15f && u < 0.2f && alpha >= 200u) opaqueInFirstThird = true;
    if (u > 0.335f && u < 0.37f && alpha < 150u) fadedInAgain = true;
    if (u > 0.45f && u < 0.5f && alpha >= 200u) opaqueInSecondThird = true;
  }
  EXPECT_TRUE(opaqueInFirstThird);
  EXPECT_TRUE(fadedInAgain);
  EXPECT_TRUE(opaqueInSecondThird);
  EXPECT_EQ(gSplash->state, 1);
  EXPECT_LT(played, 5.6f) << "the last third (2.67 s) is skipped";
}

TEST_F(SplashTest, TheLandscapeKeepsMoving) {
  startSplash();
  gSplash->state = 3;
  gSplash->alpha = 0.0f;
  gSplash->hold = 1000.0f;  // the menu's fade never ends
  std::vector<int> restarts(4, 0);
  float previousY[4];
  for (int i = 0; i < 4; ++i) previousY[i] = gSplash->roadLines[i]->_node->_position.y;
  bool rightHillWentBehind = false;
  for (int step = 0; step < 600; ++step) {
    QEL::qcFRAME_DELTA = 0.05f;
    gSplash->update();
    for (int i = 0; i < 4; ++i) {
      const float y = gSplash->roadLines[i]->_node->_position.y;
      ASSERT_GE(y, 390.0f);
      ASSERT_LT(y, 640.0f);
      if (y < previousY[i]) ++restarts[i];
      previousY[i] = y;
    }
    for (int i = 0; i < 3; ++i) {
      const float x = gSplash->trees[i]->_node->_position.x;
      ASSERT_LE(x, 478.0f);
      ASSERT_GT(x, 100.0f);
    }
    if (gSplash->hillOrder[2] == 3) rightHillWentBehind = true;
  }
  for (int i = 0; i < 4; ++i) EXPECT_GT(restarts[i], 2) << "road line " << i;
  EXPECT_TRUE(rightHillWentBehind);
  // The pairs keep their own hills.
  EXPECT_LT(gSplash->hillOrder[0], 2);
  EXPECT_LT(gSplash->hillOrder[1], 2);
  EXPECT_GE(gSplash->hillOrder[2], 2);
  EXPECT_GE(gSplash->hillOrder[3], 2);
}

TEST_F(SplashTest, TheSafetyTimerNeverLeavesTheGameWithoutAScene) {
  startSplash();
  gSplash->state = 2;
  gSplash->hold = 1.0f;
  gSplash->safetyTimer = 10.0f;
  QEL::qcFRAME_DELTA = 0.01f;
  gSplash->update();
  EXPECT_FALSE(gIsSplash);
  EXPECT_FLOAT_EQ(gSplash->safetyTimer, 0.5f);
  EXPECT_NE(dynamic_cast<SCENE_CARD_GAME_MAINMENU*>(gCurrentScene), nullptr);
}

}  // namespace
