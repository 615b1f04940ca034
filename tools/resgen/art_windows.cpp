// Window backgrounds, panels, plates and text-box backgrounds.
#include "art.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace resgen {

namespace {

// Where the game shows a window's title: the point its label is given, in the window's
// pixels, and the widest title it shows there. The title font's capitals stand over the 35
// pixels above that point, centred 7 pixels left of it; its descenders reach 10 below it.
struct TITLE_PLACE {
    double x, y, widest;
};

// A plate round the title with a margin on every side; a window whose title stands at
// several heights (a panel used by several screens) gets one plate round all of them.
Area titlePlate(const std::vector<TITLE_PLACE>& places) {
    constexpr double kCapitals = 35, kShiftLeft = 7, kDescenders = 10, kMarginX = 26, kMarginY = 9;
    double left = 1e9, right = -1e9, top = 1e9, bottom = -1e9;
    for (const TITLE_PLACE& p : places) {
        left = std::min(left, p.x - kShiftLeft - p.widest / 2 - kMarginX);
        right = std::max(right, p.x - kShiftLeft + p.widest / 2 + kMarginX);
        top = std::min(top, p.y - kCapitals - kMarginY);
        bottom = std::max(bottom, p.y + kDescenders + kMarginY);
    }
    return {left, top, right - left, bottom - top};
}

bool window(Output& out, const std::string& file, int w, int h, const std::vector<TITLE_PLACE>& titles,
            bool laneArrows = true) {
    Canvas c(w, h);
    windowBackground(c, w, h, titlePlate(titles), laneArrows);
    return out.save(c, file);
}

// A cream plate for text (dark text would not be used on it: the labels are light, so the
// plate is a darker navy inset with a warm rim).
void insetPlate(Canvas& c, double x, double y, double w, double h, double r) {
    c.roundRect(x, y, w, h, r);
    c.fillVertical(withAlpha(pal::navyDeep, 0.85), withAlpha(pal::navy, 0.85), y, y + h);
    c.stroke(withAlpha(pal::amber, 0.9), 2);
    cairo_new_path(c.cr());
}

// A wooden plate with a navy inset, or the inset alone, over the given part of its picture
// (the whole picture unless given); the rest of the picture stays clear.
bool plate(Output& out, const std::string& file, int w, int h, bool wood, Area area = {}) {
    Canvas c(w, h);
    if (area.w <= 0) area = {0, 0, double(w), double(h)};
    if (wood) {
        c.plate(area.x + 2, area.y + 2, area.w - 4, area.h - 6, std::min(area.h / 3.0, 28.0), pal::woodLight,
                pal::wood, pal::woodDark, 3, true);
        insetPlate(c, area.x + 12, area.y + 9, area.w - 24, area.h - 22, std::min(area.h / 4.0, 20.0));
    } else {
        insetPlate(c, area.x + 2, area.y + 2, area.w - 4, area.h - 4, std::min(area.h / 4.0, 18.0));
    }
    return out.save(c, file);
}

bool textBox(Output& out, const std::string& file, int w, int h) {
    Canvas c(w, h);
    c.roundRect(1.5, 1.5, w - 3, h - 3, std::min(12.0, h / 3.0));
    c.fillVertical(withAlpha(pal::navyDeep, 0.95), withAlpha(pal::navy, 0.95), 0, h);
    c.stroke(pal::amberLight, 2.5);
    c.roundRect(4, 4, w - 8, h * 0.35, std::min(10.0, h / 4.0));
    c.fillVertical(hex(0, 0.25), hex(0, 0), 4, 4 + h * 0.35);
    return out.save(c, file);
}

// Each window with its title's place: the title label's point less the window's corner,
// both as the game places them, and the widest title in the texts.
bool windows(Output& out) {
    bool ok = true;
    ok = window(out, "interface/pause_window/background.png", 718, 650, {{525 - 153, 96 - 45, 140}}) && ok;
    ok = window(out, "interface/shop/background.png", 718, 480, {{510 - 153, 131 - 81, 118}}) && ok;
    ok = window(out, "interface/shop/panel_background.png", 718, 480, {{523 - 153, 135 - 81, 118}}) && ok;
    ok = window(out, "interface/options/background.png", 1012, 650, {{496 - 6, 96 - 46, 184}}) && ok;
    // The finish window's title is the frame's headline: "Strike!", "Spare!", "9 pins down!".
    ok = window(out, "interface/finish_window/background.png", 718, 660, {{515 - 153, 99 - 45, 310}}) && ok;
    ok = window(out, "interface/trophy/background.png", 718, 600, {{502 - 153, 132 - 81, 116}}) && ok;
    ok = window(out, "interface/credits/background.png", 718, 650, {{495 - 153, 97 - 45, 169}}) && ok;
    ok = window(out, "main_menu/change_player/window.png", 718, 650, {{523 - 153, 97 - 45, 342}}) && ok;
    // The menu's dialogs at (153, 81), the information panels at (156, 44).
    ok = window(out, "main_menu/change_player/panel/background.png", 718, 500,
                {{523 - 153, 133 - 81, 316}, {523 - 156, 99 - 44, 276}}) && ok;
    // The help and trophies windows turn their pages with arrows where the lane arrows would be.
    ok = window(out, "main_menu/help/background.png", 718, 650, {{505 - 153, 97 - 45, 105}}, false) && ok;
    ok = window(out, "main_menu/trophies/background.png", 1012, 650, {{341 - 6, 97 - 46, 208}}, false) && ok;
    ok = window(out, "main_menu/modeselection/background.png", 1010, 660, {{363 - 7, 98 - 45, 305}}) && ok;
    return ok;
}

bool plates(Output& out) {
    bool ok = true;
    // The player's name stands 46 below the plate's top, just above the player button.
    ok = plate(out, "main_menu/background_playerName.png", 308, 92, false, {30, 10, 248, 42}) && ok;
    // The mode's title on the packs screen; the first visit's hint strip ends above it.
    ok = plate(out, "levelpacks/difficulty_level.png", 372, 110, true, {0, 8, 372, 102}) && ok;
    // The pack's name in two lines, clear of the first row of frames.
    ok = plate(out, "frames_selection/pack_name.png", 372, 100, true) && ok;
    // The score sheet, clear of the close button at its right.
    ok = plate(out, "frames_selection/panel.png", 845, 130, true) && ok;
    ok = plate(out, "main_menu/modeselection/text_background.png", 314, 190, false) && ok;
    {
        // A soft shade round the name box: the dialog's buttons stand on its lower part.
        Canvas c(488, 170);
        c.roundRect(40, 0, 408, 70, 24);
        c.fillRadial(hex(0x000000, 0.3), hex(0x000000, 0.0), 244, 30, 220);
        ok = out.save(c, "main_menu/change_player/panel/panel_textbox.png") && ok;
    }
    ok = textBox(out, "main_menu/change_player/textbox.png", 360, 50) && ok;
    {
        // The rule under each player's name: it sits 40 below the name's top, clear of the
        // next row.
        Canvas c(300, 6);
        c.roundRect(1, 1, 298, 4, 2);
        c.fillVertical(withAlpha(pal::amberLight, 0.9), withAlpha(pal::amber, 0.6), 1, 5);
        ok = out.save(c, "main_menu/change_player/line.png") && ok;
    }
    {
        Canvas c(250, 150);
        c.plate(2, 2, 246, 142, 22, pal::woodLight, pal::wood, pal::woodDark, 3, true);
        c.roundRect(14, 12, 222, 122, 16);
        c.fillRadial(hex(0x4A66A8), pal::navyDeep, 125, 60, 140);
        c.stroke(pal::amberLight, 1.5);
        ok = out.save(c, "interface/trophy/trophy_image.png") && ok;
    }
    {
        Canvas c(234, 24);
        c.roundRect(1, 2, 232, 20, 10);
        c.fillVertical(pal::amberLight, hex(0xE8780C), 2, 22);
        c.stroke(darker(pal::amber, 0.4), 1.2);
        cairo_new_path(c.cr());
        for (int i = 0; i < 12; ++i) {
            cairo_move_to(c.cr(), 10 + i * 20, 22);
            cairo_line_to(c.cr(), 20 + i * 20, 2);
        }
        c.stroke(hex(0xFFFFFF, 0.2), 4);
        ok = out.save(c, "interface/trophy/orange_stripe.png") && ok;
    }
    {
        Canvas c(380, 130);
        c.roundRect(2, 2, 376, 124, 18);
        c.fillVertical(withAlpha(pal::navyLight, 0.9), withAlpha(pal::navyDeep, 0.9), 2, 126);
        c.stroke(pal::amber, 2);
        cairo_new_path(c.cr());
        // The trophy picture's frame on the left (pictures are 84 x 84 at +27, +20); the name
        // and the description stand right of it, centred 216 from the plate's left.
        c.roundRect(19, 12, 100, 100, 12);
        c.fillRadial(hex(0x5470B0), pal::navyDeep, 69, 62, 70);
        c.stroke(withAlpha(pal::amberLight, 0.8), 1.5);
        ok = out.save(c, "main_menu/trophies/trophy_image_background.png") && ok;
    }
    {
        // Drawn over an unearned trophy: a dark veil with a padlock over the picture's frame,
        // which lies 10 right of and 2 below the veil picture's corner.
        Canvas c(112, 106);
        c.roundRect(10, 2, 100, 100, 12);
        c.fill(hex(0x0A0F1E, 0.82));
        c.stroke(withAlpha(pal::cream, 0.3), 1.5);
        cairo_new_path(c.cr());
        c.text("?", 60, 44, 50, withAlpha(pal::cream, 0.25), Face::Serif);
        iconPadlock(c, 60, 56, 48, pal::amberLight, pal::ink);
        ok = out.save(c, "main_menu/trophies/hidden_trophy.png") && ok;
    }
    return ok;
}

}  // namespace

void addWindowJobs(std::vector<Job>& jobs) {
    jobs.push_back({"windows", windows});
    jobs.push_back({"plates", plates});
}

}  // namespace resgen
