#pragma once
// Where everything of the level packs screen stands, in pixels of the 1024 x 768 picture
// (buttons and labels by their centre, sprites by their top-left corner), shared by the
// start-up, the update (the arrows' places on each page) and the drawing.
#include "game/scenes/scene_widgets.h"

namespace level_packs_layout {

using PLACE = SCREEN_PLACE;

constexpr PLACE BACKGROUND{0.0f, 0.0f};
constexpr PLACE DIFFICULTY_PLATE{326.0f, 28.0f};
constexpr PLACE MODE_TITLE{530.0f, 87.0f};
constexpr PLACE MODE_TITLE_SMALL{544.0f, 87.0f};  // a long title in the smaller font
constexpr int LONGEST_TITLE_IN_LARGE_FONT = 8;
constexpr PLACE BACK{957.0f, 704.0f};
// The arrows of the page they turn; parked far right on the other page and while paging.
constexpr PLACE LEFT_ARROW{102.0f, 428.0f};
constexpr PLACE RIGHT_ARROW{919.0f, 428.0f};
constexpr PLACE LEFT_ARROW_PARKED{2068.0f, 380.0f};
constexpr PLACE RIGHT_ARROW_PARKED{2958.0f, 381.0f};

// Pack p: column p % 3, row 0 for the first three of its page; page 1 one page further right.
constexpr float PACK_COLUMN0_X = 300.0f;
constexpr float PACK_COLUMN_STEP = 205.0f;
constexpr float PACK_PAGE1_COLUMN0_X = 1324.0f;
constexpr float PACK_ROW0_Y = 285.0f;
constexpr float PACK_ROW1_Y_AT_START = 561.0f;  // the first drawn frame moves the row to 567
constexpr float PACK_ROW1_Y = 567.0f;
constexpr float PACK_WIDTH = 176.0f;  // one frame of the pack button's image
constexpr float PACK_HEIGHT = 259.0f;
constexpr PLACE PACK_NAME{4.0f, -88.0f};  // relative to the pack button
constexpr PLACE PACK_SCORE{1.0f, 108.0f};

// Both panels share the background and rest here; they slide down from above the view.
constexpr PLACE PANEL_BACKGROUND{156.0f, 44.0f};
constexpr PLACE CONFIRM{685.0f, 443.0f};
constexpr PLACE INFORMATION_TEXT{510.0f, 263.0f};
constexpr PLACE INFORMATION_TITLE{523.0f, 99.0f};
constexpr PLACE PROFESSIONAL_TITLE{523.0f, 87.0f};
constexpr PLACE START{497.0f, 200.0f};
constexpr PLACE CONTINUE{497.0f, 307.0f};
constexpr PLACE CANCEL{497.0f, 413.0f};
constexpr PLACE PANEL_CAPTION{12.0f, 10.0f};  // relative to its button

// Above the mode's title, partly beyond the picture's top: the one line of text, 40 below
// the strip's top, is all that must show.
constexpr PLACE HINT_STRIP{0.0f, -24.0f};
constexpr float HINT_STRIP_HEIGHT = 70.0f;
constexpr float HINT_TEXT_BELOW_STRIP = 40.0f;
constexpr float HINT_TEXT_X = 512.0f;
constexpr float HINT_ARROW_BELOW_PACK = 105.0f;  // under the first pack

}  // namespace level_packs_layout
