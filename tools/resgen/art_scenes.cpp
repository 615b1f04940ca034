// Full pictures: the splash screen's office and landscape, the main menu, the 12 table
// backgrounds, the logo, the mode pictures and the help pictures.
#include "art.h"
#include "cards.h"

#include <cmath>
#include <string>

namespace resgen {

namespace {

const Rgb kNone{0, 0, 0, 0};

// The renderer's camera spans the picture's size plus one unit (1025 x 769) across its 1024 x
// 768 pixels, so x = 1024 and y = 768 fall a thousandth of a pixel past the centres of the last
// column and row: the rasteriser's sub-pixel grid rounds them onto those centres, and a picture
// that ends there leaves that column and row out. A picture that fills the screen runs on past
// it, its last column and row repeated, for two texels: one reaches those pixels, and in a
// letterbox both lie under the right and bottom borders' clear inner line and the half texel
// over which their filtering blends them in.
constexpr int kScreenRunOn = 2;

bool saveScreenPicture(Output& out, const Canvas& c, const std::string& relative) {
    Canvas whole(c.width() + kScreenRunOn, c.height() + kScreenRunOn);
    cairo_t* cr = whole.cr();
    cairo_surface_flush(c.surface());
    cairo_set_source_surface(cr, c.surface(), 0, 0);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    return out.save(whole, relative);
}

void woodBoards(Canvas& c, double x, double y, double w, double h, double board, const Rgb& base,
                unsigned seed) {
    cairo_t* cr = c.cr();
    Rand rnd(seed);
    for (double bx = x; bx < x + w; bx += board) {
        Rgb col = mix(base, rnd.uniform() < 0.5 ? pal::woodLight : pal::woodDark, rnd.range(0.0, 0.25));
        cairo_rectangle(cr, bx, y, board, h);
        c.fillVertical(lighter(col, 0.08), darker(col, 0.12), y, y + h);
        cairo_new_path(cr);
        cairo_move_to(cr, bx + 0.5, y);
        cairo_line_to(cr, bx + 0.5, y + h);
        c.stroke(withAlpha(pal::woodDark, 0.5), 1);
        cairo_new_path(cr);
    }
}

// ---- Table backgrounds ---------------------------------------------------------------------

bool tableBackground(Output& out, int pack) {
    static const std::uint32_t felt[12] = {0x1E4A7A, 0x1E5E3A, 0x6A3A1A, 0x4A2A6A, 0x6A1E22, 0x145A5E,
                                           0x5E4E14, 0x28306E, 0x5E1E44, 0x34561A, 0x4A3020, 0x1A2038};
    Rgb base = hex(felt[(pack - 1) % 12]);
    Canvas c(1024, 768);
    cairo_t* cr = c.cr();
    cairo_rectangle(cr, 0, 0, 1024, 768);
    c.fillRadial(lighter(base, 0.22), darker(base, 0.45), 512, 400, 700);
    cairo_new_path(cr);
    // A lane running through the middle, faint, with its boards, arrows and dots.
    double laneW = 420 + (pack % 3) * 40;
    double lx = 512 - laneW / 2;
    cairo_save(cr);
    cairo_rectangle(cr, lx, 0, laneW, 768);
    cairo_clip(cr);
    for (int i = 0; i * 20 < laneW; ++i) {
        cairo_rectangle(cr, lx + i * 20, 0, 20, 768);
        c.fill(withAlpha(i % 2 ? pal::woodLight : pal::wood, 0.08));
        cairo_new_path(cr);
    }
    cairo_restore(cr);
    for (int side = 0; side < 2; ++side) {
        double gx = side == 0 ? lx - 14 : lx + laneW;
        cairo_rectangle(cr, gx, 0, 14, 768);
        c.fill(hex(0, 0.18));
        cairo_new_path(cr);
    }
    for (int i = 0; i < 7; ++i) {
        double x = 512 + (i - 3) * laneW / 8;
        double y = 560 - std::abs(i - 3) * 26;
        cairo_move_to(cr, x, y - 22);
        cairo_line_to(cr, x + 11, y + 10);
        cairo_line_to(cr, x - 11, y + 10);
        cairo_close_path(cr);
        c.fill(withAlpha(pal::amberLight, 0.10));
        cairo_new_path(cr);
        c.circle(x, 640, 4);
        c.fill(withAlpha(pal::amberLight, 0.10));
        cairo_new_path(cr);
    }
    // Pack motif in the corners: faint pins.
    Rand rnd(unsigned(pack) * 97);
    for (int i = 0; i < 6; ++i) {
        double x = i < 3 ? rnd.range(40, 200) : rnd.range(824, 984);
        double y = rnd.range(200, 560);
        pin(c, x, y, rnd.range(50, 90), withAlpha(pal::cream, 1), withAlpha(pal::red, 1), 0.06);
    }
    // Wooden rim around the table
    cairo_new_path(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_rectangle(cr, 0, 0, 1024, 768);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 14 + 30, 14 + 30, 30, M_PI, 3 * M_PI / 2);
    cairo_arc(cr, 1010 - 30, 14 + 30, 30, -M_PI / 2, 0);
    cairo_arc(cr, 1010 - 30, 754 - 30, 30, 0, M_PI / 2);
    cairo_arc(cr, 14 + 30, 754 - 30, 30, M_PI / 2, M_PI);
    cairo_close_path(cr);
    c.fillVertical(pal::woodLight, pal::woodDark, 0, 768);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    c.roundRect(14, 14, 996, 740, 30);
    c.stroke(pal::woodDark, 3);
    c.roundRect(17, 17, 990, 734, 28);
    c.stroke(withAlpha(pal::amberLight, 0.35), 1.5);
    cairo_new_path(cr);
    return saveScreenPicture(out, c, "interface/backgrounds/" + std::to_string(pack) + ".png");
}

// ---- Main menu -----------------------------------------------------------------------------

void alley(Canvas& c, double horizon) {
    cairo_t* cr = c.cr();
    // Back wall: navy with warm lamps
    cairo_rectangle(cr, 0, 0, 1024, horizon);
    c.fillVertical(pal::navyDeep, pal::navy, 0, horizon);
    cairo_new_path(cr);
    for (int i = 0; i < 6; ++i) {
        double x = 90 + i * 169;
        c.circle(x, 40, 90);
        c.fillRadial(withAlpha(pal::amberLight, 0.25), withAlpha(pal::amberLight, 0.0), x, 40, 90);
        cairo_new_path(cr);
        c.circle(x, 30, 7);
        c.fill(pal::amberLight);
        cairo_new_path(cr);
    }
    // Floor: lanes converging on a vanishing point
    cairo_rectangle(cr, 0, horizon, 1024, 768 - horizon);
    c.fillVertical(darker(pal::wood, 0.2), pal::woodLight, horizon, 768);
    cairo_new_path(cr);
    double vx = 512, vy = horizon - 260;
    for (int lane = -4; lane <= 4; ++lane) {
        double xb = 512 + lane * 300;  // at the bottom
        auto atY = [&](double x, double y) { return vx + (x - vx) * (y - vy) / (768 - vy); };
        double g = 24;
        cairo_move_to(cr, atY(xb - 150, horizon), horizon);
        cairo_line_to(cr, atY(xb - 150 + g, horizon), horizon);
        cairo_line_to(cr, xb - 150 + g, 768);
        cairo_line_to(cr, xb - 150, 768);
        cairo_close_path(cr);
        c.fill(hex(0x1A0F08, 0.6));
        cairo_new_path(cr);
        for (int b = 1; b < 12; ++b) {
            double x = xb - 150 + g + b * (300 - g) / 12.0;
            cairo_move_to(cr, atY(x, horizon), horizon);
            cairo_line_to(cr, x, 768);
        }
        c.stroke(withAlpha(pal::woodDark, 0.25), 1);
        cairo_new_path(cr);
        // Arrows
        for (int a = -2; a <= 2; ++a) {
            double y = 560 + std::abs(a) * 18;
            double x = atY(xb + 12 + a * 40, y);
            double s = (y - vy) / (768 - vy);
            cairo_move_to(cr, x, y - 14 * s);
            cairo_line_to(cr, x + 8 * s, y + 6 * s);
            cairo_line_to(cr, x - 8 * s, y + 6 * s);
            cairo_close_path(cr);
            c.fill(withAlpha(pal::navy, 0.45));
            cairo_new_path(cr);
        }
    }
    // Pin decks at the horizon
    for (int lane = -2; lane <= 2; ++lane) {
        double x = 512 + lane * 300 * (horizon - vy) / (768 - vy) + 12;
        for (int row = 0; row < 4; ++row)
            for (int k = 0; k <= row; ++k)
                pin(c, x + (k - row / 2.0) * 9, horizon - 4 + row * 3.0 - 12 + 12, 22 + row * 1.5, pal::white, pal::red);
    }
    cairo_rectangle(cr, 0, horizon - 3, 1024, 6);
    c.fill(withAlpha(pal::amber, 0.8));
    cairo_new_path(cr);
}

bool mainMenu(Output& out) {
    bool ok = true;
    {
        Canvas c(1024, 768);
        alley(c, 330);
        // Darken behind the buttons and the logo a little
        cairo_rectangle(c.cr(), 0, 600, 1024, 168);
        c.fillVertical(hex(0, 0.0), hex(0, 0.35), 600, 768);
        cairo_new_path(c.cr());
        ok = saveScreenPicture(out, c, "main_menu/background.png") && ok;
    }
    {
        Canvas c(502, 300);
        cairo_t* cr = c.cr();
        // Fanned cards behind the title
        for (int i = 0; i < 5; ++i) {
            cairo_save(cr);
            cairo_translate(cr, 251, 250);
            cairo_rotate(cr, (i - 2) * 0.22);
            cairo_translate(cr, -kCardW / 2.0 * 1.3, -kCardH * 1.3 - 40);
            cairo_scale(cr, 1.3, 1.3);
            if (i == 2) drawJoker(c, 0);
            else drawCardFace(c, 0, i % 4, 14 - i, i == 1);
            cairo_restore(cr);
        }
        c.roundRect(20, 130, 462, 120, 50);
        c.fillVertical(withAlpha(pal::navy, 0.92), withAlpha(pal::navyDeep, 0.95), 130, 250);
        c.stroke(pal::amber, 3);
        cairo_new_path(cr);
        // Title with a gradient fill and a dark outline, between the pins that stand at the
        // plate's ends: its outline keeps clear of their bellies.
        const double pinHeight = 80, leftPin = 46, rightPin = 456;
        const double pinHalfWidth = pinHeight * 0.36 * 0.45 + 1, titleOutline = 5, clearance = 6;
        const double titleWidth = rightPin - leftPin - 2 * (pinHalfWidth + titleOutline + clearance);
        c.text("PINDRAKE", 251, 182, 70, pal::ink, Face::Serif, titleWidth, &pal::ink, titleOutline);
        {
            double size = 70;
            cairo_font_extents_t fe;
            (void)fe;
            Rgb top = pal::amberLight, bottom = pal::amber;
            cairo_pattern_t* p = cairo_pattern_create_linear(0, 150, 0, 210);
            cairo_pattern_add_color_stop_rgb(p, 0, top.r, top.g, top.b);
            cairo_pattern_add_color_stop_rgb(p, 1, bottom.r, bottom.g, bottom.b);
            // Draw the fill through the pattern: reuse text() path by drawing with a mask.
            cairo_push_group(cr);
            c.text("PINDRAKE", 251, 182, size, pal::white, Face::Serif, titleWidth);
            cairo_pattern_t* mask = cairo_pop_group(cr);
            cairo_set_source(cr, p);
            cairo_mask(cr, mask);
            cairo_pattern_destroy(mask);
            cairo_pattern_destroy(p);
        }
        c.text("BOWLING  PATIENCE", 251, 228, 20, pal::cream, Face::Sans, 380);
        pin(c, leftPin, 246, pinHeight, pal::white, pal::red);
        pin(c, rightPin, 246, pinHeight, pal::white, pal::red);
        ok = out.save(c, "main_menu/logo.png") && ok;
    }
    {
        Canvas c(228, 210);
        c.plate(2, 2, 224, 204, 24, hex(0x9BD68A), hex(0x3D8A4A), pal::woodDark, 3, true);
        cairo_new_path(c.cr());
        c.circle(114, 60, 34);
        c.fill(withAlpha(pal::amberLight, 0.9));
        cairo_new_path(c.cr());
        pin(c, 84, 186, 120, pal::white, pal::red);
        bowlingBall(c, 160, 156, 30, pal::navyLight);
        c.circle(78, 108, 3);
        c.fill(pal::ink);
        c.circle(90, 108, 3);
        c.fill(pal::ink);
        cairo_new_path(c.cr());
        cairo_arc(c.cr(), 84, 114, 7, 0.3, M_PI - 0.3);
        c.stroke(pal::ink, 2);
        cairo_new_path(c.cr());
        ok = out.save(c, "main_menu/modeselection/junior.png") && ok;
    }
    {
        Canvas c(228, 210);
        c.plate(2, 2, 224, 204, 24, hex(0x5A2A40), hex(0x1A0F20), pal::gold, 3, true);
        cairo_new_path(c.cr());
        for (int row = 0; row < 4; ++row)
            for (int k = 0; k <= row; ++k)
                pin(c, 114 + (k - row / 2.0) * 30, 100 + row * 22, 62, pal::white, pal::red);
        bowlingBall(c, 114, 168, 28, hex(0x8A1A1A));
        iconStar(c, 36, 36, 16, pal::gold, pal::ink);
        iconStar(c, 192, 36, 16, pal::gold, pal::ink);
        ok = out.save(c, "main_menu/modeselection/professional.png") && ok;
    }
    return ok;
}

// ---- Help pictures -------------------------------------------------------------------------

void miniCard(Canvas& c, double x, double y, double scale, int suit, int rank, bool special, double angle = 0) {
    cairo_save(c.cr());
    cairo_translate(c.cr(), x, y);
    cairo_rotate(c.cr(), angle);
    cairo_scale(c.cr(), scale, scale);
    cairo_translate(c.cr(), -kCardW / 2.0, -kCardH / 2.0);
    if (rank == 0) drawCardBack(c, 1);
    else drawCardFace(c, 0, suit, rank, special);
    cairo_restore(c.cr());
}

bool helpPictures(Output& out) {
    bool ok = true;
    for (int k = 1; k <= 9; ++k) {
        Canvas c(80, 70);
        switch (k) {
        case 1:  // a pair of equal rank
            miniCard(c, 27, 35, 0.5, 3, 7, false, -0.15);
            miniCard(c, 53, 35, 0.5, 1, 7, false, 0.15);
            break;
        case 2:  // a free card on a covered one
            miniCard(c, 32, 32, 0.48, 2, 0, false);
            miniCard(c, 48, 40, 0.48, 0, 9, false);
            break;
        case 3:  // skittle card
            miniCard(c, 40, 35, 0.56, 3, 12, true);
            break;
        case 4:  // the stock
            for (int i = 0; i < 4; ++i) miniCard(c, 34 + i * 3, 35 - i * 1.5, 0.5, 0, 0, false);
            break;
        case 5:  // reserve piles, kept clear of the text beside the picture
            for (int i = 0; i < 3; ++i) miniCard(c, 15 + i * 20, 35, 0.36, i, 5 + i, false);
            break;
        case 6:  // joker
            cairo_save(c.cr());
            cairo_translate(c.cr(), 40 - kCardW * 0.28, 35 - kCardH * 0.28);
            cairo_scale(c.cr(), 0.56, 0.56);
            drawJoker(c, 0);
            cairo_restore(c.cr());
            break;
        case 7:  // reshuffle
            iconReshuffle(c, 40, 35, 56, pal::amberLight, pal::ink);
            break;
        case 8:  // money and the shop
            coin(c, 28, 38, 18);
            iconBag(c, 54, 36, 40, pal::green, pal::ink);
            break;
        default: {  // multiplier
            cairo_new_path(c.cr());
            c.circle(40, 35, 30);
            c.fillRadial(pal::navyLight, pal::navyDeep, 34, 28, 40);
            c.stroke(pal::amber, 3);
            cairo_new_path(c.cr());
            c.text("x3", 40, 35, 24, pal::amberLight, Face::Sans, 0, &pal::ink, 2);
            break;
        }
        }
        ok = out.save(c, "main_menu/help/image" + std::to_string(k) + ".png") && ok;
    }
    return ok;
}

// ---- Splash screen -------------------------------------------------------------------------

void tree(Canvas& c, int kind) {
    // 180 x 240, trunk standing at the bottom centre.
    cairo_t* cr = c.cr();
    c.roundRect(82, 150, 16, 88, 4);
    c.fillVertical(pal::wood, pal::woodDark, 150, 240);
    cairo_new_path(cr);
    Rgb leaf[4] = {hex(0x3E8A3A), hex(0x2A6A3A), hex(0x6A9A2A), hex(0xC87A2A)};
    Rgb col = leaf[kind % 4];
    if (kind == 1) {
        for (int i = 0; i < 4; ++i) {
            double y = 20 + i * 40, w = 40 + i * 22;
            cairo_move_to(cr, 90, y);
            cairo_line_to(cr, 90 + w, y + 70);
            cairo_line_to(cr, 90 - w, y + 70);
            cairo_close_path(cr);
            c.fillVertical(lighter(col, 0.2), darker(col, 0.2), y, y + 70);
            cairo_new_path(cr);
        }
        return;
    }
    if (kind == 2) {
        cairo_save(cr);
        cairo_translate(cr, 90, 95);
        cairo_scale(cr, 0.45, 1);
        c.circle(0, 0, 85);
        cairo_restore(cr);
        c.fillRadial(lighter(col, 0.3), darker(col, 0.25), 80, 60, 110);
        cairo_new_path(cr);
        return;
    }
    for (auto [x, y, r] : {std::tuple{90.0, 80.0, 62.0}, std::tuple{55.0, 120.0, 45.0},
                           std::tuple{125.0, 118.0, 48.0}, std::tuple{90.0, 135.0, 45.0}}) {
        c.circle(x, y, r);
        c.fillRadial(lighter(col, 0.3), darker(col, 0.2), x - r * 0.3, y - r * 0.4, r * 1.3);
        cairo_new_path(cr);
    }
}

bool splash(Output& out) {
    bool ok = true;
    {
        Canvas c(1024, 768);
        cairo_t* cr = c.cr();
        woodBoards(c, 0, 0, 1024, 768, 64, pal::wood, 7);
        // Wainscot and skirting
        cairo_rectangle(cr, 0, 600, 1024, 168);
        c.fillVertical(darker(pal::wood, 0.3), pal::woodDark, 600, 768);
        cairo_new_path(cr);
        cairo_rectangle(cr, 0, 596, 1024, 8);
        c.fill(pal::amber);
        cairo_new_path(cr);
        // The window opening (the landscape shows through it)
        c.roundRect(112, 176, 800, 400, 6);
        c.fill(pal::navyDeep);
        cairo_new_path(cr);
        // A shelf with a ball and pins
        cairo_rectangle(cr, 60, 680, 300, 14);
        c.fill(pal::woodLight);
        cairo_new_path(cr);
        bowlingBall(c, 120, 652, 28, pal::red);
        for (int i = 0; i < 3; ++i) pin(c, 200 + i * 40, 680, 70, pal::white, pal::red);
        // A framed certificate
        c.plate(70, 40, 160, 110, 6, pal::cream, pal::creamDark, pal::woodDark, 4, true);
        iconCup(c, 150, 95, 80, pal::gold, pal::ink);
        c.plate(794, 40, 160, 110, 6, pal::cream, pal::creamDark, pal::woodDark, 4, true);
        c.text("300", 874, 95, 40, pal::red, Face::Serif);
        ok = saveScreenPicture(out, c, "splash/office.png") && ok;
    }
    {
        Canvas c(800, 330);
        cairo_t* cr = c.cr();
        cairo_rectangle(cr, 0, 0, 800, 330);
        cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, 330);
        cairo_pattern_add_color_stop_rgb(p, 0, 0.36, 0.58, 0.86);
        cairo_pattern_add_color_stop_rgb(p, 0.6, 0.70, 0.82, 0.95);
        cairo_pattern_add_color_stop_rgb(p, 1, 1.0, 0.86, 0.62);
        cairo_set_source(cr, p);
        cairo_fill(cr);
        cairo_pattern_destroy(p);
        c.circle(600, 150, 60);
        c.fillRadial(withAlpha(pal::amberLight, 0.6), withAlpha(pal::amberLight, 0), 600, 150, 60);
        c.circle(600, 150, 26);
        c.fill(hex(0xFFF2C0));
        cairo_new_path(cr);
        Rand rnd(3);
        for (int i = 0; i < 6; ++i) {
            double x = rnd.range(40, 760), y = rnd.range(30, 150);
            for (int k = 0; k < 4; ++k) {
                c.circle(x + k * 22 - 33, y + (k % 2) * 6, 18 + (k % 2) * 6);
                c.fill(hex(0xFFFFFF, 0.8));
                cairo_new_path(cr);
            }
        }
        ok = out.save(c, "splash/sky.png") && ok;
    }
    {
        // Horizon at image y 135 (screen y 395); the road meets it at x 507.
        Canvas c(1024, 400);
        cairo_t* cr = c.cr();
        double hy = 135;
        cairo_rectangle(cr, 0, hy, 1024, 400 - hy);
        c.fillVertical(hex(0x8AB85A), hex(0x4E8A34), hy, 400);
        cairo_new_path(cr);
        cairo_move_to(cr, 507 - 6, hy);
        cairo_line_to(cr, 507 + 6, hy);
        cairo_line_to(cr, 507 + 330, 400);
        cairo_line_to(cr, 507 - 330, 400);
        cairo_close_path(cr);
        c.fillVertical(hex(0x8A8A90), hex(0x4A4A52), hy, 400);
        cairo_new_path(cr);
        for (int side = -1; side <= 1; side += 2) {
            cairo_move_to(cr, 507 + side * 5, hy);
            cairo_line_to(cr, 507 + side * 300, 400);
            c.stroke(hex(0xF0F0E0), 3);
            cairo_new_path(cr);
        }
        ok = out.save(c, "splash/road.png") && ok;
    }
    {
        Canvas c(320, 110);
        cairo_t* cr = c.cr();
        cairo_move_to(cr, 0, 110);
        cairo_curve_to(cr, 60, 40, 110, 8, 160, 8);
        cairo_curve_to(cr, 210, 8, 260, 40, 320, 110);
        cairo_close_path(cr);
        c.fillVertical(hex(0x7A9AB8), hex(0x5A7A88), 8, 110);
        cairo_new_path(cr);
        ok = out.save(c, "splash/mountain.png") && ok;
    }
    {
        Canvas c(14, 44);
        c.roundRect(1, 1, 12, 42, 3);
        c.fill(hex(0xFFFFF0));
        ok = out.save(c, "splash/road_line.png") && ok;
    }
    for (int k = 1; k <= 4; ++k) {
        Canvas c(180, 240);
        tree(c, k - 1);
        ok = out.save(c, "splash/tree" + std::to_string(k) + ".png") && ok;
    }
    {
        Canvas c(800, 400);
        cairo_set_source_rgb(c.cr(), 1, 1, 1);
        cairo_paint(c.cr());
        ok = out.save(c, "splash/mask.png") && ok;
    }
    {
        Canvas c(840, 440);
        cairo_t* cr = c.cr();
        c.roundRect(0, 0, 840, 440, 14);
        cairo_new_sub_path(cr);
        cairo_rectangle(cr, 20, 20, 800, 400);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
        c.fillVertical(pal::woodLight, pal::woodDark, 0, 440);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
        cairo_new_path(cr);
        cairo_rectangle(cr, 20.5, 20.5, 799, 399);
        c.stroke(pal::woodDark, 2);
        cairo_new_path(cr);
        // Window bars
        cairo_rectangle(cr, 416, 20, 8, 400);
        c.fillVertical(pal::woodLight, pal::wood, 20, 420);
        cairo_new_path(cr);
        ok = out.save(c, "splash/border.png") && ok;
    }
    // The borders lie beyond the picture's edges, but the camera's extra unit (above) brings
    // the right and bottom ones onto its last column and row, and the left one, which ends at
    // x = 1, lies over its first column, whose pixel samples it halfway between its last two
    // texel columns. Those lines stay clear, so the picture shows through them (a letterbox
    // shows a dark hairline where the left one fades out beside the picture, which cannot
    // reach under it). The top one ends on the centre of the picture's first row, which its
    // bottom edge leaves out, and stays whole, so a letterbox shows no gap above the picture.
    struct Border {
        const char* file;
        int w, h;
        int clearX, clearY, clearW, clearH;  // the inner line left clear
    };
    for (const Border& border : {Border{"splash/widescreen_background_top.png", 1024, 216, 0, 0, 0, 0},
                                 Border{"splash/widescreen_background_bottom.png", 1024, 216, 0, 0, 1024, 1},
                                 Border{"splash/widescreen_background_left.png", 512, 1200, 510, 0, 2, 1200},
                                 Border{"splash/widescreen_background_right.png", 512, 1200, 0, 0, 1, 1200}}) {
        const int w = border.w, h = border.h;
        Canvas c(w, h);
        cairo_t* cr = c.cr();
        cairo_rectangle(cr, 0, 0, w, h);
        c.fill(pal::navyDeep);
        cairo_new_path(cr);
        for (int x = -h; x < w; x += 24) {
            cairo_move_to(cr, x, h);
            cairo_line_to(cr, x + h, 0);
        }
        c.stroke(withAlpha(pal::navyLight, 0.18), 6);
        cairo_new_path(cr);
        cairo_rectangle(cr, border.clearX, border.clearY, border.clearW, border.clearH);
        cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
        cairo_fill(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
        ok = out.save(c, border.file) && ok;
    }
    // The optional logo cards shown before the office.
    for (int k = 1; k <= 3; ++k) {
        Canvas c(640, 320);
        cairo_t* cr = c.cr();
        c.roundRect(4, 4, 632, 312, 40);
        c.fillVertical(pal::navy, pal::navyDeep, 4, 316);
        c.stroke(pal::amber, 3);
        cairo_new_path(cr);
        if (k == 1) {
            bowlingBall(c, 160, 160, 70, pal::red);
            c.text("Pindrake team", 400, 140, 40, pal::cream, Face::Serif, 360);
            c.text("presents", 400, 196, 26, pal::amberLight, Face::Sans);
        } else if (k == 2) {
            for (int i = -1; i <= 1; ++i) pin(c, 320 + i * 60, 190 - std::abs(i) * 10, 150, pal::white, pal::red);
            c.text("a bowling patience game", 320, 262, 28, pal::cream, Face::Sans, 560);
        } else {
            c.text("Made with free software", 320, 110, 34, pal::cream, Face::Serif, 560);
            c.text("cairo  \u2022  FreeType  \u2022  DejaVu fonts", 320, 180, 24, pal::amberLight, Face::Sans, 560);
            c.text("SDL2  \u2022  OpenAL  \u2022  Ogg Vorbis", 320, 226, 24, pal::amberLight, Face::Sans, 560);
        }
        ok = out.save(c, "splash/spl" + std::to_string(k) + ".png") && ok;
    }
    return ok;
}

}  // namespace

void addSceneJobs(std::vector<Job>& jobs) {
    for (int pack = 1; pack <= 12; ++pack)
        jobs.push_back({"table background", [pack](Output& out) { return tableBackground(out, pack); }});
    jobs.push_back({"splash", splash});
    jobs.push_back({"main menu", mainMenu});
    jobs.push_back({"help pictures", helpPictures});
}

}  // namespace resgen
