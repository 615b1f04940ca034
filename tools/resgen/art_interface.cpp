// Buttons, counters, gauges and the small pieces of the play screen and the menus.
#include "art.h"

#include <array>
#include <cmath>
#include <string>

namespace resgen {

namespace {

const Rgb kNone{0, 0, 0, 0};

using FrameFn = std::function<void(Canvas&, int)>;

bool strip(Output& out, const std::string& file, int fw, int fh, const FrameFn& frame) {
    Canvas c(5 * fw, fh);
    buttonStrip(c, fw, fh, frame);
    return out.save(c, file);
}

// A plate button with an optional icon on the left and an English label.
bool labelButton(Output& out, const std::string& file, int fw, int fh, const std::string& label,
                 const Rgb& base,
                 const std::function<void(Canvas&, double, double, double, const ButtonLook&)>& icon = {}) {
    return strip(out, file, fw, fh, [&](Canvas& c, int s) {
        plateButton(c, fw, fh, s, base, fh * 0.38, [&](const ButtonLook& l) {
            double cy = fh / 2.0 - 1;
            double textX = fw / 2.0;
            if (icon) {
                double is = fh * 0.5;
                icon(c, fh * 0.5 + 2, cy, is, l);
                textX = fw / 2.0 + fh * 0.25;
            }
            if (!label.empty())
                c.text(label, textX, cy, fh * 0.36, l.content, Face::Sans, fw - (icon ? fh * 1.2 : 20),
                       &l.outline, 1.2);
        });
    });
}

using IconFn = std::function<void(Canvas&, double, double, double, const ButtonLook&)>;

// A round icon button with a small caption under the icon, its disc where the frame's own
// centre is unless given; `over` draws what lies on the disc (a counter's plate).
bool roundIconButton(Output& out, const std::string& file, int fw, int fh, const std::string& caption,
                     const Rgb& base, const IconFn& icon, Disc disc = {},
                     const std::function<void(Canvas&, int)>& over = {}) {
    if (disc.r <= 0) disc = {fw / 2.0, fh / 2.0 - 1, std::min(fw, fh) / 2.0 - 4};
    return strip(out, file, fw, fh, [&](Canvas& c, int s) {
        roundButtonAt(c, disc, s, base, [&](const ButtonLook& l) {
            double d = 2 * disc.r;
            double cy = disc.cy + 1 - (caption.empty() ? 0 : d * 0.1);
            Rgb iconCol = s == kDisabled ? hex(0xDDDDDD) : pal::cream;
            ButtonLook il = l;
            il.content = iconCol;
            icon(c, disc.cx, cy, d * (caption.empty() ? 0.55 : 0.45), il);
            if (!caption.empty()) {
                Rgb outline = s == kDisabled ? hex(0x444444) : pal::ink;
                c.text(caption, disc.cx, disc.cy + 1 + d * 0.3, d * 0.13, iconCol, Face::Sans, d * 0.78,
                       &outline, 1.5);
            }
        });
        if (over) over(c, s);
    });
}

// The plate a counter's number stands on, beside a play-screen button.
void counterPlate(Canvas& c, double x, double y, double w, double h, int state) {
    c.roundRect(x, y, w, h, h / 2.6);
    c.fillVertical(withAlpha(pal::navyLight, 0.95), withAlpha(pal::navyDeep, 0.95), y, y + h);
    c.stroke(state == kDisabled ? grey(pal::amber) : pal::amberLight, 2);
    cairo_new_path(c.cr());
}

Rgb iconOutline(const ButtonLook& l) { return l.content.r > 0.5 ? pal::ink : withAlpha(pal::cream, 0.7); }

// ---- Play screen ----------------------------------------------------------------------------

bool playScreen(Output& out) {
    bool ok = true;
    {
        Canvas c(32, 32);
        cairo_t* cr = c.cr();
        cairo_move_to(cr, 1, 1);
        cairo_line_to(cr, 1, 24);
        cairo_line_to(cr, 7, 18);
        cairo_line_to(cr, 11.5, 28);
        cairo_line_to(cr, 15.5, 26);
        cairo_line_to(cr, 11, 16.5);
        cairo_line_to(cr, 19, 16.5);
        cairo_close_path(cr);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        c.fillVertical(pal::amberLight, pal::amber, 0, 28);
        c.stroke(pal::ink, 1.6);
        ok = out.save(c, "interface/cursor.png") && ok;
    }
    {
        Canvas c(1, 1);
        cairo_set_source_rgb(c.cr(), 1, 1, 1);
        cairo_paint(c.cr());
        ok = out.save(c, "interface/shadow_black_square.png") && ok;
    }
    for (auto [file, w] : {std::pair{"interface/background_frameNumber_money.png", 478},
                           std::pair{"interface/background_result_packName.png", 490}}) {
        Canvas c(w, 100);
        c.plate(2, 2, w - 4, 92, 22, pal::woodLight, pal::wood, pal::woodDark, 3, true);
        c.roundRect(10, 10, w - 20, 76, 16);
        c.fillVertical(pal::navyLight, pal::navyDeep, 10, 86);
        c.stroke(withAlpha(pal::amberLight, 0.7), 1.5);
        cairo_new_path(c.cr());
        ok = out.save(c, file) && ok;
    }
    {
        // Dark, so the light marks of the balls stand out on it.
        Canvas c(24, 28);
        c.roundRect(0.75, 0.75, 22.5, 26.5, 4);
        c.fillVertical(pal::navyLight, pal::navyDeep, 1, 27);
        c.stroke(pal::amberLight, 1.5);
        ok = out.save(c, "interface/result_frame.png") && ok;
    }
    for (auto [file, w, h] : {std::tuple{"interface/backing.png", 83, 124},
                              std::tuple{"interface/backingDeck.png", 120, 130}}) {
        Canvas c(w, h);
        const bool deck = w > 100;
        double cw = 79, ch = 120;
        // The stock sits 20 px right of its backing's centre; a reserve pile on its centre.
        double x = (w - cw) / 2 + (deck ? 20 : 0), y = (h - ch) / 2;
        c.roundRect(x, y, cw, ch, 9);
        // Dark enough to read the stock's "balls left" on once it is used up.
        c.fill(hex(0x000000, deck ? 0.55 : 0.22));
        cairo_set_dash(c.cr(), std::array<double, 2>{7, 5}.data(), 2, 0);
        c.stroke(withAlpha(pal::cream, 0.7), 2);
        cairo_set_dash(c.cr(), nullptr, 0, 0);
        cairo_new_path(c.cr());
        if (deck) {
            // The turnover count stands 39 left of and 28 below the backing's centre.
            c.circle(w / 2.0 - 39, h / 2.0 + 28, 19);
            c.fill(withAlpha(pal::navy, 0.9));
            c.stroke(withAlpha(pal::amberLight, 0.8), 2);
            cairo_new_path(c.cr());
        } else {
            pin(c, x + cw / 2, y + ch / 2 + 22, 44, withAlpha(pal::cream, 0.25), withAlpha(pal::cream, 0.25));
        }
        ok = out.save(c, file) && ok;
    }
    // The reshuffle and joker buttons carry the player's count on a plate of their own: the
    // count stands 52 right of the reshuffle button's centre and 51 left of the joker's, a
    // little below both, where a caption would go, so their icons speak alone.
    ok = roundIconButton(out, "interface/button_reshuffles.png", 150, 100, "", pal::amber,
                         [](Canvas& c, double x, double y, double s, const ButtonLook& l) {
                             iconReshuffle(c, x, y, s, l.content, pal::ink);
                         },
                         {75, 49, 46}, [](Canvas& c, int s) { counterPlate(c, 96, 40, 52, 38, s); }) && ok;
    ok = roundIconButton(out, "interface/button_joker.png", 176, 100, "", pal::amber,
                         [](Canvas& c, double x, double y, double s, const ButtonLook&) {
                             jokerFace(c, x, y + s * 0.1, s * 1.25);
                         },
                         {88, 49, 46}, [](Canvas& c, int s) { counterPlate(c, 5, 44, 54, 38, s); }) && ok;
    ok = roundIconButton(out, "interface/button_pause.png", 90, 90, "PAUSE", pal::navyLight,
                         [](Canvas& c, double x, double y, double s, const ButtonLook& l) {
                             iconPause(c, x, y, s, l.content, pal::ink);
                         }) && ok;
    ok = roundIconButton(out, "interface/button_shop.png", 100, 100, "SHOP", pal::green,
                         [](Canvas& c, double x, double y, double s, const ButtonLook& l) {
                             iconBag(c, x, y, s, l.content, pal::ink);
                         }) && ok;
    ok = roundIconButton(out, "interface/button_close.png", 56, 56, "", pal::red,
                         [](Canvas& c, double x, double y, double s, const ButtonLook& l) {
                             iconCross(c, x, y, s * 1.2, l.content, pal::ink);
                         }) && ok;
    ok = labelButton(out, "interface/button_close2.png", 160, 56, "Cancel", hex(0xE0705A),
                     [](Canvas& c, double x, double y, double s, const ButtonLook& l) {
                         iconCross(c, x, y, s, l.content, iconOutline(l));
                     }) && ok;
    {
        Canvas c(30, 30);
        coin(c, 15, 14, 13);
        ok = out.save(c, "interface/dollar.png") && ok;
    }
    {
        Canvas c(80, 80);
        coin(c, 40, 38, 36);
        ok = out.save(c, "interface/dollar_big.png") && ok;
    }
    {
        Canvas c(30, 30);
        coin(c, 15, 14, 13);
        ok = out.save(c, "main_menu/trophies/dollar.png") && ok;
    }
    return ok;
}

// ---- Skittle counter and multiplier gauge --------------------------------------------------

bool skittleCounters(Output& out) {
    bool ok = true;
    // Ten pins in a triangle, back row first: 4, 3, 2, 1.
    struct P { double x, y; };
    std::vector<P> spots;
    for (int row = 0; row < 4; ++row) {
        int n = 4 - row;
        for (int i = 0; i < n; ++i)
            spots.push_back({60 + (i - (n - 1) / 2.0) * 22, 24.0 + row * 13});
    }
    // The badge ends left of the first ball box (its picture stands at x 9, the box at 145).
    for (int standing = 0; standing <= 10; ++standing) {
        Canvas c(132, 100);
        c.roundRect(4, 4, 124, 90, 20);
        c.fillVertical(withAlpha(pal::woodLight, 0.9), withAlpha(pal::wood, 0.9), 4, 94);
        c.stroke(pal::woodDark, 2);
        cairo_new_path(c.cr());
        c.roundRect(12, 12, 108, 74, 14);
        c.fillVertical(hex(0xE9C890), hex(0xC99A5A), 12, 86);
        cairo_new_path(c.cr());
        // Pins are knocked down from the front row backwards.
        for (size_t i = 0; i < spots.size(); ++i) {
            bool up = int(i) < standing;
            pin(c, spots[i].x, spots[i].y + 30, 34, up ? pal::white : hex(0x9A8A70),
                up ? pal::red : hex(0x7A6A50), up ? 1.0 : 0.35);
        }
        c.text(std::to_string(standing), 111, 78, 16, pal::cream, Face::Sans, 0, &pal::ink, 2);
        ok = out.save(c, "interface/skittles/k" + std::to_string(standing) + ".png") && ok;
    }
    return ok;
}

// The multiplier ("x" and the number, the game's text in its 42-pixel font) stands in the
// middle of this gauge's plate. The game puts the picture's top-left corner 50 left of and 36
// above where that text's middle shows, and "x" and two digits are 85 wide: the plate is as
// wide and as high as that leaves room for, and the gauge's strip lies under it, filling from
// amber to red.
bool multiplierGauge(Output& out) {
    bool ok = true;
    const double w = 101, h = 88, round = 18;
    const double plateX = 4, plateY = 4, plateW = w - 2 * plateX, plateH = 64;
    const double stripY = 77.5, stripLeft = 13, stripRight = w - 13, band = 7;
    for (int step = 1; step <= 18; ++step) {
        Canvas c(int(w), int(h) + 2);
        cairo_t* cr = c.cr();
        c.roundRect(0.5, 2, w - 1, h - 1, round);
        c.fill(hex(0, 0.25));
        cairo_new_path(cr);
        c.roundRect(0.75, 0.75, w - 1.5, h - 1.5, round);
        c.fillRadial(pal::navyLight, pal::navyDeep, w / 2 - 10, h / 2 - 12, 64);
        c.stroke(pal::woodDark, 1.5);
        cairo_new_path(cr);
        c.roundRect(plateX, plateY, plateW, plateH, round - plateX);
        c.fill(withAlpha(pal::navyDeep, 0.85));
        c.stroke(withAlpha(mix(pal::amber, pal::red, step / 18.0), 0.9), 1.5);
        cairo_new_path(cr);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_move_to(cr, stripLeft, stripY);
        cairo_line_to(cr, stripRight, stripY);
        c.stroke(hex(0xFFFFFF, 0.15), band);
        cairo_new_path(cr);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
        const double length = stripRight - stripLeft;
        for (int i = 0; i < step; ++i) {
            cairo_move_to(cr, stripLeft + length * i / 18.0 + 0.5, stripY);
            cairo_line_to(cr, stripLeft + length * (i + 1) / 18.0 - 0.5, stripY);
            c.stroke(mix(pal::amberLight, pal::red, i / 17.0), band);
            cairo_new_path(cr);
        }
        ok = out.save(c, "interface/multiplier/" + std::to_string(step) + ".png") && ok;
    }
    return ok;
}

// ---- Hints ---------------------------------------------------------------------------------

void glowRing(Canvas& c, double w, double h, double innerW, double innerH, bool round) {
    for (int i = 10; i >= 1; --i) {
        double gw = innerW + i * 2.2, gh = innerH + i * 2.2;
        if (round) c.circle(w / 2, h / 2, std::max(gw, gh) / 2);
        else c.roundRect((w - gw) / 2, (h - gh) / 2, gw, gh, 18 + i);
        c.fill(withAlpha(pal::amberLight, 0.06 + 0.02 * (10 - i)));
    }
    cairo_set_operator(c.cr(), CAIRO_OPERATOR_CLEAR);
    if (round) c.circle(w / 2, h / 2, std::min(innerW, innerH) / 2 - 2);
    else c.roundRect((w - innerW) / 2 + 3, (h - innerH) / 2 + 3, innerW - 6, innerH - 6, 16);
    cairo_fill(c.cr());
    cairo_set_operator(c.cr(), CAIRO_OPERATOR_OVER);
    if (round) c.circle(w / 2, h / 2, std::max(innerW, innerH) / 2 + 1);
    else c.roundRect((w - innerW) / 2, (h - innerH) / 2, innerW, innerH, 18);
    c.stroke(pal::amberLight, 3);
    cairo_new_path(c.cr());
}

bool hints(Output& out) {
    bool ok = true;
    {
        Canvas c(64, 64);
        // Arrow pointing down-left to its target at the top-left corner.
        cairo_t* cr = c.cr();
        cairo_save(cr);
        cairo_translate(cr, 32, 32);
        cairo_rotate(cr, -3 * M_PI / 4);
        cairo_move_to(cr, 28, 0);
        cairo_line_to(cr, 4, -20);
        cairo_line_to(cr, 4, -9);
        cairo_line_to(cr, -26, -9);
        cairo_line_to(cr, -26, 9);
        cairo_line_to(cr, 4, 9);
        cairo_line_to(cr, 4, 20);
        cairo_close_path(cr);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        c.stroke(pal::ink, 5);
        c.fillVertical(pal::amberLight, pal::red, -20, 20);
        cairo_restore(cr);
        ok = out.save(c, "interface/hints/arrow.png") && ok;
    }
    {
        Canvas c(124, 124);
        glowRing(c, 124, 124, 100, 100, true);
        ok = out.save(c, "interface/hints/shop_highlighting.png") && ok;
    }
    {
        // Round the joker button and the plate of its count, which stands left of the disc.
        Canvas c(200, 124);
        cairo_translate(c.cr(), -18.5, 0);
        glowRing(c, 200, 124, 141, 100, false);
        ok = out.save(c, "interface/hints/joker_highlighting.png") && ok;
    }
    {
        Canvas c(176, 196);
        glowRing(c, 176, 196, 152, 172, false);
        ok = out.save(c, "interface/hints/shop_button_highlighting.png") && ok;
    }
    {
        Canvas c(200, 283);
        glowRing(c, 200, 283, 176, 259, false);
        ok = out.save(c, "interface/hints/pack_button_highlighting.png") && ok;
    }
    return ok;
}

// ---- Windows' buttons ----------------------------------------------------------------------

// Buttons whose caption the game draws on top: a plain plate with a ball on the left.
bool captionPlate(Output& out, const std::string& file, int fw, int fh, const Rgb& base, bool ball) {
    return strip(out, file, fw, fh, [&](Canvas& c, int s) {
        plateButton(c, fw, fh, s, base, fh * 0.38, [&](const ButtonLook&) {
            if (ball) bowlingBall(c, fh * 0.5, fh / 2.0 - 1, fh * 0.22, s == kDisabled ? hex(0x777777) : pal::navyLight);
        });
    });
}

bool shopItem(Output& out, const std::string& file, const std::string& title, int kind) {
    const int fw = 150, fh = 170;
    return strip(out, file, fw, fh, [&](Canvas& c, int s) {
        ButtonLook l = buttonLook(s, pal::navyLight);
        if (s == kSelected || s == kHover) {
            c.roundRect(1, 1, fw - 2, fh - 2, 20);
            c.fill(withAlpha(pal::amberLight, s == kHover ? 0.45 : 0.7));
        }
        c.plate(5, 4 + l.dy, fw - 10, fh - 10, 18, l.top, l.bottom, s == kDisabled ? grey(pal::wood) : pal::amber, 3,
                s != kPressed);
        double dy = l.dy;
        Rgb text = s == kDisabled ? hex(0xBBBBBB) : pal::cream;
        c.text(title, fw / 2.0, 24 + dy, 16, text, Face::Sans, fw - 24, &pal::ink, 1.5);
        double cx = fw / 2.0, cy = 78 + dy;
        if (kind == 0) {
            // An extra pile place: an empty card outline with a plus.
            c.roundRect(cx - 22, cy - 32, 44, 64, 6);
            cairo_set_dash(c.cr(), std::array<double, 2>{5, 4}.data(), 2, 0);
            c.stroke(text, 2);
            cairo_set_dash(c.cr(), nullptr, 0, 0);
            cairo_new_path(c.cr());
            iconPlus(c, cx, cy, 34, pal::green, pal::ink);
        } else if (kind == 1) {
            iconReshuffle(c, cx, cy, 70, s == kDisabled ? hex(0xBBBBBB) : pal::amberLight, pal::ink);
        } else {
            jokerFace(c, cx, cy + 6, 64);
        }
        // The price label sits on this strip.
        c.roundRect(14, fh - 52 + dy, fw - 28, 34, 12);
        c.fill(withAlpha(pal::navyDeep, 0.75));
        c.stroke(withAlpha(pal::amber, 0.8), 1.5);
        cairo_new_path(c.cr());
        if (s == kDisabled) {
            c.roundRect(5, 4, fw - 10, fh - 10, 18);
            c.fill(hex(0x000000, 0.25));
            cairo_new_path(c.cr());
        }
    });
}

bool windowButtons(Output& out) {
    bool ok = true;
    for (const char* name : {"continue", "restart", "options", "frames", "menu"})
        ok = captionPlate(out, std::string("interface/pause_window/button_") + name + ".png", 320, 85,
                          pal::amber, true) && ok;
    for (const char* name : {"continue", "frames", "restart"})
        ok = captionPlate(out, std::string("interface/finish_window/button_") + name + ".png", 330, 95,
                          pal::amber, true) && ok;
    ok = shopItem(out, "interface/shop/button_place.png", "Extra pile", 0) && ok;
    ok = shopItem(out, "interface/shop/button_reshuffle.png", "Reshuffle", 1) && ok;
    ok = shopItem(out, "interface/shop/button_joker.png", "Joker", 2) && ok;
    ok = captionPlate(out, "interface/options/button_credits.png", 190, 56, pal::amber, false) && ok;
    ok = captionPlate(out, "main_menu/modeselection/button_modeSelect.png", 176, 80, pal::amber, false) && ok;
    ok = captionPlate(out, "levelpacks/professional_mode_panel_button.png", 320, 90, pal::amber, true) && ok;
    ok = captionPlate(out, "cards/editor/editor_button.png", 150, 36, pal::amber, false) && ok;
    ok = captionPlate(out, "main_menu/button_play.png", 300, 110, pal::amber, false) && ok;
    {
        Canvas c(200, 30);
        c.roundRect(1, 1, 198, 28, 8);
        c.fillVertical(pal::cream, pal::creamDark, 1, 29);
        c.stroke(pal::woodDark, 1.5);
        ok = out.save(c, "cards/editor/editor_textbox.png") && ok;
    }
    // Options widgets
    {
        Canvas c(390, 8);
        c.roundRect(0.5, 0.5, 389, 7, 3.5);
        c.fillVertical(pal::navyDeep, pal::navyLight, 0, 8);
        c.stroke(pal::amber, 1);
        ok = out.save(c, "interface/options/line.png") && ok;
    }
    ok = strip(out, "interface/options/button_music_sound.png", 37, 38, [](Canvas& c, int s) {
             roundButton(c, 37, 38, s, pal::amber, {});
         }) && ok;
    for (bool tick : {false, true}) {
        ok = strip(out,
                   tick ? "interface/options/button_fullscreen_mute_with_tick.png"
                        : "interface/options/button_fullscreen_mute.png",
                   50, 50, [tick](Canvas& c, int s) {
                       plateButton(c, 50, 50, s, pal::cream, 10, [&](const ButtonLook&) {
                           if (tick) iconCheck(c, 25, 24, 34, s == kDisabled ? hex(0x777777) : pal::green, pal::ink);
                       });
                   }) && ok;
    }
    // Volume skittles: k = 1 (right, largest) .. 6 (left, smallest).
    static const int heights[6] = {43, 35, 29, 23, 17, 14};
    static const int widths[6] = {16, 14, 13, 12, 10, 9};
    for (int k = 1; k <= 6; ++k) {
        for (bool on : {false, true}) {
            int w = widths[k - 1], h = heights[k - 1];
            Canvas c(w, h);
            cairo_save(c.cr());
            double scale = w / (h * 0.36 + 1);
            (void)scale;
            pin(c, w / 2.0, h - 0.5, h - 1, on ? pal::green : pal::white, on ? pal::greenDark : hex(0xB0B0B0));
            cairo_restore(c.cr());
            ok = out.save(c, std::string("interface/options/skittles/") + (on ? "green_" : "white_") +
                                 std::to_string(k) + ".png") && ok;
        }
    }
    return ok;
}

// ---- Menus' buttons ------------------------------------------------------------------------

bool menuButtons(Output& out) {
    bool ok = true;
    // The discs sit low in their frames: the player's name stands just above the middle one.
    auto bottom = [&](const char* file, const char* caption, const IconFn& icon) {
        return roundIconButton(out, std::string("main_menu/") + file, 160, 150, caption, pal::amber, icon,
                               {80, 81, 63});
    };
    ok = bottom("button_help.png", "HELP", [](Canvas& c, double x, double y, double s, const ButtonLook& l) {
             c.text("?", x, y, s * 1.1, l.content, Face::Serif, 0, &pal::ink, 2.5);
         }) && ok;
    ok = bottom("button_trophies.png", "TROPHIES",
                [](Canvas& c, double x, double y, double s, const ButtonLook&) { iconCup(c, x, y, s * 1.1, pal::gold, pal::ink); }) && ok;
    ok = bottom("button_player.png", "PLAYER", [](Canvas& c, double x, double y, double s, const ButtonLook& l) {
             iconPerson(c, x, y, s, l.content, pal::ink);
         }) && ok;
    ok = bottom("button_options.png", "OPTIONS", [](Canvas& c, double x, double y, double s, const ButtonLook& l) {
             iconGear(c, x, y, s, l.content, pal::ink);
         }) && ok;
    ok = bottom("button_exit.png", "EXIT", [](Canvas& c, double x, double y, double s, const ButtonLook& l) {
             iconPower(c, x, y, s, l.content, pal::ink);
         }) && ok;

    ok = roundIconButton(out, "main_menu/change_player/button_plus.png", 48, 48, "", pal::green,
                         [](Canvas& c, double x, double y, double s, const ButtonLook& l) {
                             iconPlus(c, x, y, s * 1.2, l.content, pal::ink);
                         }) && ok;
    ok = roundIconButton(out, "main_menu/change_player/button_minus.png", 40, 40, "", pal::red,
                         [](Canvas& c, double x, double y, double s, const ButtonLook& l) {
                             iconMinus(c, x, y, s * 1.2, l.content, pal::ink);
                         }) && ok;
    ok = labelButton(out, "main_menu/change_player/panel/button_confirm.png", 150, 56, "OK", pal::green,
                     [](Canvas& c, double x, double y, double s, const ButtonLook& l) {
                         iconCheck(c, x, y, s, l.content, iconOutline(l));
                     }) && ok;
    ok = roundIconButton(out, "main_menu/modeselection/button_close.png", 56, 56, "", pal::red,
                         [](Canvas& c, double x, double y, double s, const ButtonLook& l) {
                             iconCross(c, x, y, s * 1.2, l.content, pal::ink);
                         }) && ok;
    for (const char* pack : {"main_menu/help/", "main_menu/trophies/"}) {
        for (bool right : {false, true}) {
            ok = roundIconButton(out, std::string(pack) + (right ? "button_right.png" : "button_left.png"), 60,
                                 60, "", pal::amber,
                                 [right](Canvas& c, double x, double y, double s, const ButtonLook& l) {
                                     iconArrow(c, x, y, s * 1.2, right, l.content, pal::ink);
                                 }) && ok;
        }
    }
    for (bool right : {false, true}) {
        ok = roundIconButton(out, right ? "levelpacks/button_right.png" : "levelpacks/button_left.png", 80, 80, "",
                             pal::amber, [right](Canvas& c, double x, double y, double s, const ButtonLook& l) {
                                 iconArrow(c, x, y, s * 1.2, right, l.content, pal::ink);
                             }) && ok;
    }
    ok = labelButton(out, "levelpacks/button_back.png", 120, 56, "Back", pal::amber,
                     [](Canvas& c, double x, double y, double s, const ButtonLook& l) {
                         iconArrow(c, x, y, s, false, l.content, iconOutline(l));
                     }) && ok;
    {
        Canvas c(24, 24);
        bowlingBall(c, 12, 12, 10, pal::amber);
        ok = out.save(c, "main_menu/trophies/progress_ball.png") && ok;
    }
    {
        Canvas c(40, 40);
        c.circle(20, 20, 17);
        c.fill(pal::green);
        c.stroke(pal::cream, 2);
        iconCheck(c, 20, 20, 26, pal::white, kNone);
        ok = out.save(c, "main_menu/trophies/earned.png") && ok;
    }
    {
        Canvas c(40, 40);
        c.circle(20, 20, 17);
        c.fill(hex(0x6A6A6A));
        c.stroke(pal::cream, 2);
        iconPadlock(c, 20, 20, 26, pal::cream, pal::ink);
        ok = out.save(c, "main_menu/trophies/not_earned.png") && ok;
    }
    return ok;
}

// ---- Pack and frame buttons ----------------------------------------------------------------

Rgb packColor(int pack) {
    static const std::uint32_t c[12] = {0x2F6FB5, 0x2E9A5A, 0xC8701E, 0x8E3BA8, 0xC23B30, 0x1F8C8C,
                                        0xB59A1E, 0x4A56B8, 0xA8326A, 0x5C8A2A, 0x7A4A22, 0x2A2F4A};
    return hex(c[(pack - 1) % 12]);
}

bool packButton(Output& out, int pack) {
    const int fw = 176, fh = 259;
    Rgb col = packColor(pack);
    return strip(out, "levelpacks/buttons/" + std::to_string(pack) + ".png", fw, fh, [&](Canvas& c, int s) {
        bool locked = s == kDisabled;
        double dy = s == kPressed ? 2 : 0;
        if (s == kHover || s == kSelected) {
            c.roundRect(1, 1, fw - 2, fh - 2, 22);
            c.fill(withAlpha(pal::amberLight, s == kHover ? 0.5 : 0.8));
        }
        Rgb body = locked ? grey(col) : col;
        c.plate(6, 5 + dy, fw - 12, fh - 12, 20, lighter(body, 0.25), darker(body, 0.35),
                locked ? hex(0x555555) : pal::woodDark, 3, s != kPressed);
        // Name plate at the top round the two lines of the name (label at y -88), score plate
        // at the bottom round the score and the goal (y +108).
        c.roundRect(14, 9 + dy, fw - 28, 55, 12);
        c.fill(withAlpha(pal::navyDeep, 0.6));
        cairo_new_path(c.cr());
        c.roundRect(28, 203 + dy, fw - 56, 40, 12);
        c.fill(withAlpha(pal::navyDeep, 0.6));
        c.stroke(withAlpha(pal::amber, locked ? 0.3 : 0.9), 1.5);
        cairo_new_path(c.cr());
        // Emblem: a ball and pins, and the pack number
        double cx = fw / 2.0, cy = 130 + dy;
        c.circle(cx, cy, 52);
        c.fillRadial(withAlpha(pal::cream, 0.95), withAlpha(pal::creamDark, 0.95), cx - 15, cy - 20, 70);
        c.stroke(locked ? hex(0x777777) : pal::gold, 3);
        cairo_new_path(c.cr());
        for (int i = -2; i <= 2; ++i)
            pin(c, cx + i * 15, cy + 45 - std::abs(i) * 3, 30, pal::white, locked ? hex(0x888888) : col, 0.95);
        c.text(std::to_string(pack), cx, cy - 14, 46, locked ? hex(0x777777) : darker(col, 0.2), Face::Serif, 0,
               &pal::cream, 2.5);
        if (locked) {
            c.roundRect(6, 5, fw - 12, fh - 12, 20);
            c.fill(hex(0, 0.35));
            cairo_new_path(c.cr());
            iconPadlock(c, cx, cy, 64, pal::amberLight, pal::ink);
        }
    });
}

// A frame's card. The game gives a mark's place from the button's middle; its centred labels
// show their text a little left of and above that point, and the boxes are drawn round where
// the text shows. The tenth frame's three marks stand further left than a card of the others'
// width has room for, so its card reaches further left, as a score sheet's tenth frame is the
// widest; its right edge keeps in line with the card above it.
bool frameButton(Output& out, int pack, bool tenth) {
    const int widen = tenth ? 10 : 0;
    const int fw = 160 + 2 * widen, fh = 210;
    const double cx0 = fw / 2.0, left = cx0 - 74 - widen, right = cx0 + 74, plateW = right - left;
    Rgb col = packColor(pack);
    std::string file = std::string(tenth ? "frames_selection/buttons_10th_frame/" : "frames_selection/buttons/") +
                       std::to_string(pack) + ".png";
    return strip(out, file, fw, fh, [&](Canvas& c, int s) {
        bool locked = s == kDisabled;
        double dy = s == kPressed ? 2 : 0;
        if (s == kHover || s == kSelected) {
            c.roundRect(left - 5, 1, plateW + 10, fh - 2, 20);
            c.fill(withAlpha(pal::amberLight, s == kHover ? 0.5 : 0.8));
        }
        c.plate(left, 5 + dy, plateW, fh - 12, 18, locked ? grey(pal::cream) : pal::cream,
                locked ? grey(pal::creamDark) : pal::creamDark, locked ? hex(0x555555) : darker(col, 0.2), 4,
                s != kPressed);
        // Score-sheet look: a coloured header band, the frame number box top-right (51,-60),
        // ball boxes at the bottom.
        c.roundRect(left + 6, 12 + dy, plateW - 12, 40, 10);
        c.fill(locked ? grey(col) : col);
        cairo_new_path(c.cr());
        double cx = cx0, cy = fh / 2.0 + dy;
        const double textDx = -6, textDy = -14;
        c.roundRect(cx + 51 + textDx - 25, cy - 60 + textDy - 18, 50, 34, 8);
        c.fill(withAlpha(pal::navyDeep, 0.85));
        c.stroke(pal::amber, 1.5);
        cairo_new_path(c.cr());
        pin(c, cx - 30, cy + 50, 90, locked ? hex(0xBBBBBB) : pal::white, locked ? hex(0x888888) : pal::red);
        if (tenth) iconStar(c, cx + 28, cy + 10, 22, locked ? hex(0xAAAAAA) : pal::gold, pal::ink);
        else bowlingBall(c, cx + 26, cy + 22, 22, locked ? hex(0x777777) : col);
        // A ball's mark is one character; the tenth frame's three boxes are a little narrower.
        std::vector<double> balls = tenth ? std::vector<double>{-53, -11, 32} : std::vector<double>{-43, 23};
        const double boxW = tenth ? 34 : 36, boxH = 36;
        for (double bx : balls) {
            c.roundRect(cx + bx + textDx - boxW / 2, cy + 83 + textDy - boxH / 2, boxW, boxH, 6);
            c.fill(locked ? hex(0x444444) : pal::navy);
            c.stroke(locked ? hex(0x777777) : pal::amber, 1.5);
            cairo_new_path(c.cr());
        }
        if (locked) {
            c.roundRect(left, 5, plateW, fh - 12, 18);
            c.fill(hex(0, 0.35));
            cairo_new_path(c.cr());
            iconPadlock(c, left + plateW / 2, cy, 60, pal::amberLight, pal::ink);
        }
    });
}

}  // namespace

void addInterfaceJobs(std::vector<Job>& jobs) {
    jobs.push_back({"play screen", playScreen});
    jobs.push_back({"skittle counters", skittleCounters});
    jobs.push_back({"multiplier gauge", multiplierGauge});
    jobs.push_back({"hints", hints});
    jobs.push_back({"window buttons", windowButtons});
    jobs.push_back({"menu buttons", menuButtons});
    for (int pack = 1; pack <= 12; ++pack) {
        jobs.push_back({"pack button", [pack](Output& out) {
                            return packButton(out, pack) && frameButton(out, pack, false) &&
                                   frameButton(out, pack, true);
                        }});
    }
}

}  // namespace resgen
