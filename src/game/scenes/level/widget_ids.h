#pragma once
// The ids of the level's widgets, one enum per window: the file that builds a window and the
// one that answers its clicks (window_buttons.cpp, shop.cpp) read the same names. The ids are
// unique across the scene, 0 to 92.
#include <cstdint>

// The play screen: its buttons (guiContainer2), labels (guiContainer1) and the stock's
// labels (stockContainer).
namespace play_screen_widget {
enum : int32_t {
  RESHUFFLE_BUTTON = 0,
  RESHUFFLES_LABEL = 1,  // on the reshuffle button
  JOKER_BUTTON = 2,
  JOKERS_LABEL = 3,  // on the joker button
  PAUSE_BUTTON = 4,
  SHOP_BUTTON = 5,
  FIRST_BALL_LABEL = 6,  // 6-8, the frame's balls
  PACK_NAME_LABEL = 9,
  FRAME_LABEL = 10,
  MONEY_LABEL = 11,
  MULTIPLIER_LABEL = 12,
  TURNOVERS_LABEL = 13,
  TURNOVERS_TEXT_LABEL = 14,
};
}  // namespace play_screen_widget

namespace pause_widget {
enum : int32_t {
  CONTINUE = 15,
  RESTART = 16,
  OPTIONS = 17,
  FRAMES = 18,
  MAIN_MENU = 19,
  TITLE = 20,
  FIRST_CAPTION = 21,  // 21-25, the buttons' captions in their order
};
}  // namespace pause_widget

namespace shop_widget {
enum : int32_t {
  PLACE = 26,
  RESHUFFLE = 27,
  JOKER = 28,
  BUY_MONEY = 29,  // 29 and 30: a real-money shop's buttons, answered but never built
  BUY_COINS = 30,
  CLOSE = 31,
  PLACE_PRICE = 32,
  RESHUFFLE_PRICE = 33,
  JOKER_PRICE = 34,
  TITLE = 35,
};
}  // namespace shop_widget

namespace finish_widget {
enum : int32_t {
  CONTINUE = 36,
  RESTART = 37,
  FRAMES = 38,
  FRAME_LABEL = 39,
  RESULT_LABEL = 40,
  BEST_RESULT_LABEL = 41,
  PACK_NAME_LABEL = 42,
  CONTINUE_CAPTION = 43,
  RESTART_CAPTION = 44,
  FRAMES_CAPTION = 45,
};
}  // namespace finish_widget

namespace options_widget {
enum : int32_t {
  CLOSE = 46,
  FULLSCREEN_OFF = 47,  // the plain box: a click ticks it
  MUTE_ALL_OFF = 48,
  FULLSCREEN_ON = 49,  // the ticked box: a click clears it
  MUTE_ALL_ON = 50,
  SOUND_KNOB = 51,
  MUSIC_KNOB = 52,
  CREDITS = 53,
  CREDITS_CAPTION = 54,
  TITLE = 55,
  SOUND_LABEL = 56,
  MUSIC_LABEL = 57,
  FULLSCREEN_LABEL = 58,
  MUTE_ALL_LABEL = 59,
  FIRST_BACK = 60,  // 60-71, by back number - 1
  LAST_BACK = 71,
  FIRST_TYPE = 72,  // 72-74, by card type
  LAST_TYPE = 74,
};
}  // namespace options_widget

namespace trophy_widget {
enum : int32_t { CLOSE = 75, NAME_LABEL = 76, DESCRIPTION_LABEL = 77, PRIZE_LABEL = 78, TITLE = 79 };
}  // namespace trophy_widget

namespace credits_widget {
enum : int32_t {
  CLOSE = 80,
  ROWS = 81,  // every row shares it: none of them answers a click
};
}  // namespace credits_widget

namespace banner_widget {
enum : int32_t { LABEL = 82 };
}  // namespace banner_widget

// The purchase panel over the shop.
namespace purchase_widget {
enum : int32_t { CONFIRM = 83, CLOSE = 84, TEXT_LABEL = 85, TITLE = 86 };
}  // namespace purchase_widget

namespace hint_widget {
enum : int32_t { LABEL = 87 };
}  // namespace hint_widget

namespace points_popup_widget {
enum : int32_t { FIRST_LABEL = 88 };  // 88-92, one per pop-up slot
}  // namespace points_popup_widget
