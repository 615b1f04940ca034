// Window backgrounds, panels, plates and text-box backgrounds.
#include "art.h"

#include <cmath>
#include <string>

namespace resgen {

namespace {

bool window(Output& out, const std::string& file, int w, int h, bool title = true) {
    Canvas c(w, h);
    windowBackground(c, w, h, title);
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

bool plate(Output& out, const std::string& file, int w, int h, bool wood) {
    Canvas c(w, h);
    if (wood) {
        c.plate(2, 2, w - 4, h - 6, std::min(h / 3.0, 28.0), pal::woodLight, pal::wood, pal::woodDark, 3, true);
        insetPlate(c, 12, 12, w - 24, h - 28, std::min(h / 4.0, 20.0));
    } else {
        insetPlate(c, 2, 2, w - 4, h - 4, std::min(h / 4.0, 18.0));
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

bool windows(Output& out) {
    bool ok = true;
    ok = window(out, "interface/pause_window/background.png", 718, 650) && ok;
    ok = window(out, "interface/shop/background.png", 718, 480) && ok;
    ok = window(out, "interface/shop/panel_background.png", 718, 480, false) && ok;
    ok = window(out, "interface/options/background.png", 1012, 650) && ok;
    ok = window(out, "interface/finish_window/background.png", 718, 660) && ok;
    ok = window(out, "interface/trophy/background.png", 718, 600) && ok;
    ok = window(out, "interface/credits/background.png", 718, 650) && ok;
    ok = window(out, "main_menu/change_player/window.png", 718, 650) && ok;
    ok = window(out, "main_menu/change_player/panel/background.png", 718, 500, false) && ok;
    ok = window(out, "main_menu/help/background.png", 718, 650) && ok;
    ok = window(out, "main_menu/trophies/background.png", 1012, 650) && ok;
    ok = window(out, "main_menu/modeselection/background.png", 1010, 660) && ok;
    return ok;
}

bool plates(Output& out) {
    bool ok = true;
    ok = plate(out, "main_menu/background_playerName.png", 308, 92, true) && ok;
    ok = plate(out, "levelpacks/difficulty_level.png", 372, 110, true) && ok;
    ok = plate(out, "frames_selection/pack_name.png", 372, 110, true) && ok;
    ok = plate(out, "frames_selection/panel.png", 860, 130, true) && ok;
    ok = plate(out, "main_menu/modeselection/text_background.png", 314, 190, false) && ok;
    ok = plate(out, "main_menu/change_player/panel/panel_textbox.png", 488, 170, false) && ok;
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
        // The trophy picture's frame on the left (pictures are 110 x 100 at +34, +20).
        c.roundRect(26, 12, 126, 112, 12);
        c.fillRadial(hex(0x5470B0), pal::navyDeep, 89, 60, 90);
        c.stroke(withAlpha(pal::amberLight, 0.8), 1.5);
        ok = out.save(c, "main_menu/trophies/trophy_image_background.png") && ok;
    }
    {
        // Drawn over an unearned trophy: a dark veil with a padlock.
        Canvas c(146, 124);
        c.roundRect(2, 2, 142, 120, 14);
        c.fill(hex(0x0A0F1E, 0.82));
        c.stroke(withAlpha(pal::cream, 0.3), 1.5);
        cairo_new_path(c.cr());
        c.text("?", 73, 54, 56, withAlpha(pal::cream, 0.25), Face::Serif);
        iconPadlock(c, 73, 66, 54, pal::amberLight, pal::ink);
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
