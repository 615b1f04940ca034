// The 24 trophy pictures, in the level's trophy window size and in the menu's size.
#include "art.h"

#include <cmath>
#include <string>

namespace resgen {

namespace {

Rgb tierMetal(int tier) {
    switch (tier) {
    case 0: return pal::bronze;
    case 1: return pal::silver;
    default: return pal::gold;
    }
}

// A round medal on a ribbon; the emblem is drawn by the caller.
void medal(Canvas& c, double cx, double cy, double r, const Rgb& metal, const Rgb& ribbon) {
    cairo_t* cr = c.cr();
    for (int side = -1; side <= 1; side += 2) {
        cairo_new_path(cr);
        cairo_move_to(cr, cx + side * r * 0.2, cy - r * 2.0);
        cairo_line_to(cr, cx + side * r * 0.85, cy - r * 2.0);
        cairo_line_to(cr, cx + side * r * 0.35, cy - r * 0.4);
        cairo_line_to(cr, cx - side * r * 0.15, cy - r * 0.4);
        cairo_close_path(cr);
        c.fill(side < 0 ? ribbon : darker(ribbon, 0.2));
        c.stroke(pal::ink, 1.2);
    }
    cairo_new_path(cr);
    c.circle(cx, cy + 2, r);
    c.fill(hex(0, 0.3));
    c.circle(cx, cy, r);
    c.fillRadial(lighter(metal, 0.6), darker(metal, 0.2), cx - r * 0.3, cy - r * 0.35, r * 1.4);
    c.stroke(darker(metal, 0.5), 2);
    c.circle(cx, cy, r * 0.8);
    c.stroke(withAlpha(darker(metal, 0.4), 0.7), 1.2);
    cairo_new_path(cr);
}

void drawTrophy(Canvas& c, int id) {
    // Drawn in a 144 x 120 box.
    const double cx = 72, cy = 60;
    const Rgb ribbonJunior = hex(0x2F6FB5), ribbonPro = hex(0xB02A2A);
    if (id <= 2) {
        Rgb metal = id == 1 ? pal::gold : hex(0xE6ECF5);
        for (int i = 0; i < 10; ++i) {
            double a = i * M_PI / 5;
            cairo_move_to(c.cr(), cx, cy - 8);
            cairo_line_to(c.cr(), cx + 70 * std::cos(a), cy - 8 + 70 * std::sin(a));
        }
        c.stroke(withAlpha(pal::amberLight, 0.25), 6);
        cairo_new_path(c.cr());
        iconCup(c, cx, cy, 108, metal, pal::ink);
        c.text("120", cx, cy - 16, 18, pal::ink, Face::Serif);
        if (id == 2) iconStar(c, cx + 44, cy - 38, 12, pal::red, pal::ink);
        return;
    }
    if (id <= 8) {
        int tier = (id - 3) % 3;
        bool pro = id >= 6;
        iconCup(c, cx, cy + 2, 100, tierMetal(tier), pal::ink);
        c.text("300", cx, cy - 14, 17, pal::ink, Face::Serif);
        // Packs count: 1, 6, 12
        static const char* count[3] = {"1", "6", "12"};
        c.circle(cx + 46, cy + 30, 15);
        c.fill(pro ? ribbonPro : ribbonJunior);
        c.stroke(pal::cream, 2);
        cairo_new_path(c.cr());
        c.text(count[tier], cx + 46, cy + 30, 14, pal::cream, Face::Sans);
        if (pro) iconStar(c, cx - 46, cy - 36, 11, pal::red, pal::ink);
        return;
    }
    if (id <= 11) {
        int n = id - 8;
        medal(c, cx, cy + 14, 40, tierMetal(n - 1), ribbonJunior);
        std::string xs(size_t(n), 'X');
        c.text(xs, cx, cy + 14, n == 3 ? 24 : 30, pal::red, Face::Sans, 60, &pal::cream, 2);
        for (int i = -1; i <= 1; ++i) pin(c, cx + i * 12, cy + 52, 18, pal::white, pal::red);
        return;
    }
    if (id <= 17) {
        int tier = (id - 12) % 3;
        bool pro = id >= 15;
        int stacks = tier + 1;
        for (int s = 0; s < stacks; ++s) {
            double sx = cx + (s - (stacks - 1) / 2.0) * 34;
            int coins = 4 + s % 2 * 2 + tier;
            for (int k = 0; k < coins; ++k) {
                double y = cy + 40 - k * 7;
                cairo_save(c.cr());
                cairo_translate(c.cr(), sx, y);
                cairo_scale(c.cr(), 1, 0.35);
                c.circle(0, 0, 16);
                c.fill(pal::goldDark);
                c.circle(0, -6, 16);
                c.fillRadial(lighter(pal::gold, 0.4), pal::gold, -4, -10, 20);
                c.stroke(pal::goldDark, 2.5);
                cairo_new_path(c.cr());
                cairo_restore(c.cr());
            }
        }
        coin(c, cx + 44, cy - 30, 16);
        static const char* amount[3] = {"100K", "500K", "1M"};
        c.text(amount[tier], cx - 30, cy - 34, 18, pal::cream, Face::Sans, 70, &pal::ink, 2);
        if (pro) iconStar(c, cx + 56, cy + 44, 10, pal::red, pal::ink);
        return;
    }
    if (id <= 23) {
        int tier = (id - 18) % 3;
        bool joker = id >= 21;
        medal(c, cx, cy + 14, 40, tierMetal(tier), joker ? hex(0x6A2C7A) : hex(0x1F8C8C));
        if (joker) jokerFace(c, cx, cy + 16, 52);
        else iconReshuffle(c, cx, cy + 14, 52, pal::navy, pal::cream);
        static const char* count[3] = {"10", "50", "100"};
        c.roundRect(cx + 22, cy - 46, 40, 22, 10);
        c.fill(pal::navy);
        c.stroke(pal::cream, 1.5);
        cairo_new_path(c.cr());
        c.text(count[tier], cx + 42, cy - 35, 13, pal::cream, Face::Sans, 36);
        return;
    }
    // 24: all five reserve places bought
    for (int i = 0; i < 5; ++i) {
        double x = 12 + i * 25, y = 30 + (i % 2) * 6;
        c.roundRect(x, y, 24, 36, 4);
        c.fill(pal::cream);
        c.stroke(pal::navy, 1.5);
        cairo_new_path(c.cr());
        c.roundRect(x + 3, y + 3, 18, 30, 3);
        c.fill(i % 2 ? pal::red : pal::navyLight);
        cairo_new_path(c.cr());
    }
    medal(c, cx, cy + 36, 20, pal::gold, hex(0x1D6B31));
    c.text("5", cx, cy + 36, 20, pal::ink, Face::Serif);
}

bool trophy(Output& out, int id) {
    bool ok = true;
    {
        Canvas c(144, 120);
        drawTrophy(c, id);
        ok = out.save(c, "interface/trophy/trophies/" + std::to_string(id) + ".png") && ok;
    }
    {
        // The trophies window's small picture, left of the trophy's name and description.
        Canvas c(84, 84);
        double s = std::min(84.0 / 144, 84.0 / 120);
        cairo_translate(c.cr(), (84 - 144 * s) / 2, (84 - 120 * s) / 2);
        cairo_scale(c.cr(), s, s);
        drawTrophy(c, id);
        ok = out.save(c, "main_menu/trophies/trophy_images/" + std::to_string(id) + ".png") && ok;
    }
    return ok;
}

}  // namespace

void addTrophyJobs(std::vector<Job>& jobs) {
    for (int first = 1; first <= 24; first += 6) {
        jobs.push_back({"trophies", [first](Output& out) {
                            bool ok = true;
                            for (int id = first; id < first + 6; ++id) ok = trophy(out, id) && ok;
                            return ok;
                        }});
    }
}

}  // namespace resgen
