// The game in a window that a window manager sized otherwise than it asked (a tiling manager
// gives it 1100 x 600, then 800 x 700): the 1024 x 768 picture is shown whole and upright in
// it, scaled to fit and centred between black bars, and the player aims at what is shown
// there. The hand reaches the game as window messages in the window's own pixels.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "engine/render.h"
#include "game/scenes/level_packs/level_packs_scene.h"
#include "game_child.h"
#include "menu_scenario.h"
#include "platform/device.h"
#include "platform/window.h"

namespace {

using test_support::GAME_CHILD;
using test_support::GameChildTest;
using namespace test_support::main_menu_scenario;

// Where the picture stands in a window of the given size: 0.78125 times its size in both,
// between bars of 150 pixels left and right of it in the wide one, and of 50 pixels above
// and below it in the tall one.
struct SHOWN_PICTURE {
  int windowWidth;
  int windowHeight;
  float scale;
  float left;
  float top;
};
constexpr SHOWN_PICTURE kWide{1100, 600, 0.78125f, 150.0f, 0.0f};
constexpr SHOWN_PICTURE kTall{800, 700, 0.78125f, 0.0f, 50.0f};

// A click where the player sees a spot of the picture: the pointer comes to rest there, in
// the window's pixels, then the left button goes down and comes up a pass later.
void clickShown(GAME_CHILD& game, const SHOWN_PICTURE& shown, SPOT spot) {
  game.draw();
  platform::Message pointer;
  pointer.id = platform::kMsgMouseMove;
  pointer.x = static_cast<int32_t>(std::lround(shown.left + spot.x * shown.scale));
  pointer.y = static_cast<int32_t>(std::lround(shown.top + spot.y * shown.scale));
  platform::postMessage(pointer);
  game.step(2);
  test_support::postWindowMessage(platform::kMsgLButtonDown);
  game.step();
  test_support::postWindowMessage(platform::kMsgLButtonUp);
  game.step(2);
}

TEST_F(GameChildTest, ButtonsDrawnInAWindowOfAnotherSizeAnswerWhereTheyAreSeen) {
  play([](GAME_CHILD& game) { test_support::seedPlayers(game.saves(), {"Ann"}, 0); },
       [](GAME_CHILD& game) {
         game.pumpsMessages = true;
         CHILD_CHECK(settled(game), "the menu did not settle");
         platform::Device* device = QEL::qcRENDER->_device.get();
         device->simulateWindowBufferSize(kWide.windowWidth, kWide.windowHeight);
         clickShown(game, kWide, kPlay);
         CHILD_CHECK(windowOpens(game, MENU::MODE_SELECTION_WINDOW),
                     "the Play button seen in the window did not open the modes");
         device->simulateWindowBufferSize(kTall.windowWidth, kTall.windowHeight);
         clickShown(game, kTall, kJunior);
         CHILD_CHECK(game.stepUntil([] { return test_support::currentScene<SCENE_CARD_GAME_LEVELPACKS>() != nullptr; }),
                     "the junior button seen in the window did not lead to the packs");
         CHILD_CHECK(gGameMode == 0, "not junior");
       });
}

}  // namespace
