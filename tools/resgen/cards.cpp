#include "cards.h"

#include "art.h"

#include <cmath>
#include <string>

namespace resgen {

namespace {

const char* kSuitGlyph[4] = {"\u2666", "\u2663", "\u2660", "\u2665"};
const char* kSuitName[4] = {"diamonds", "clubs", "spades", "hearts"};

bool isRed(int suit) { return suit == 0 || suit == 3; }

Rgb suitColor(int style, int suit) {
    if (style == 2) return isRed(suit) ? hex(0xB3261E) : hex(0x1E2B4F);
    return isRed(suit) ? hex(0xC8261B) : hex(0x1B1B26);
}

std::string rankText(int rank) {
    switch (rank) {
    case 11: return "J";
    case 12: return "Q";
    case 13: return "K";
    case 14: return "A";
    default: return std::to_string(rank);
    }
}

void pip(Canvas& c, int suit, double x, double y, double size, const Rgb& col, bool flipped) {
    cairo_save(c.cr());
    cairo_translate(c.cr(), x, y);
    if (flipped) cairo_rotate(c.cr(), M_PI);
    c.text(kSuitGlyph[suit], 0, 0, size, col, Face::Sans);
    cairo_restore(c.cr());
}

void cardBody(Canvas& c, const Rgb& top, const Rgb& bottom, const Rgb& border) {
    c.roundRect(1, 1, kCardW - 2, kCardH - 2, 7);
    c.fillVertical(top, bottom, 0, kCardH);
    c.stroke(border, 1.2);
    cairo_new_path(c.cr());
}

void cornerIndex(Canvas& c, int style, int suit, int rank, const Rgb& col) {
    std::string r = rankText(rank);
    Face f = style == 1 ? Face::Sans : Face::Serif;
    double size = r.size() > 1 ? 14 : 16;
    for (int corner = 0; corner < 2; ++corner) {
        cairo_save(c.cr());
        if (corner == 1) {
            cairo_translate(c.cr(), kCardW, kCardH);
            cairo_rotate(c.cr(), M_PI);
        }
        c.text(r, 11, 12, size, col, f, 18);
        c.text(kSuitGlyph[suit], 11, 27, 12, col, Face::Sans);
        cairo_restore(c.cr());
    }
}

void numberPips(Canvas& c, int suit, int rank, const Rgb& col) {
    const double L = 27, M = 37.5, R = 48;
    const double top = 31, bot = 85, mid = 58;
    const double r1 = 31, r2 = 49, r3 = 67, r4 = 85;
    struct P { double x, y; };
    std::vector<P> p;
    switch (rank) {
    case 2: p = {{M, top}, {M, bot}}; break;
    case 3: p = {{M, top}, {M, mid}, {M, bot}}; break;
    case 4: p = {{L, top}, {R, top}, {L, bot}, {R, bot}}; break;
    case 5: p = {{L, top}, {R, top}, {M, mid}, {L, bot}, {R, bot}}; break;
    case 6: p = {{L, top}, {R, top}, {L, mid}, {R, mid}, {L, bot}, {R, bot}}; break;
    case 7: p = {{L, top}, {R, top}, {M, 44}, {L, mid}, {R, mid}, {L, bot}, {R, bot}}; break;
    case 8: p = {{L, top}, {R, top}, {M, 44}, {L, mid}, {R, mid}, {M, 72}, {L, bot}, {R, bot}}; break;
    case 9: p = {{L, r1}, {R, r1}, {L, r2}, {R, r2}, {M, mid}, {L, r3}, {R, r3}, {L, r4}, {R, r4}}; break;
    case 10:
        p = {{L, r1}, {R, r1}, {M, 40}, {L, r2}, {R, r2}, {L, r3}, {R, r3}, {M, 76}, {L, r4}, {R, r4}};
        break;
    default: break;
    }
    double size = rank >= 9 ? 15 : 17;
    for (auto& q : p) pip(c, suit, q.x, q.y, size, col, q.y > mid + 1);
}

void crown(Canvas& c, double cx, double cy, double w, const Rgb& col, int points) {
    cairo_t* cr = c.cr();
    cairo_new_path(cr);
    double h = w * 0.55;
    cairo_move_to(cr, cx - w / 2, cy + h / 2);
    for (int i = 0; i <= points * 2; ++i) {
        double x = cx - w / 2 + i * w / (points * 2);
        double y = (i % 2 == 0) ? cy - h / 2 : cy + h * 0.05;
        cairo_line_to(cr, x, y);
    }
    cairo_line_to(cr, cx + w / 2, cy + h / 2);
    cairo_close_path(cr);
    c.fill(col);
    c.stroke(pal::ink, 1);
    cairo_new_path(cr);
    for (int i = 0; i <= points; ++i) {
        c.circle(cx - w / 2 + i * w / points, cy - h / 2, w * 0.06);
        c.fill(pal::cream);
        c.stroke(pal::ink, 0.8);
    }
    cairo_new_path(cr);
}

void figure(Canvas& c, int style, int suit, int rank, const Rgb& col) {
    // Framed portrait: a headdress, the big letter and the suit.
    Rgb frameBg = isRed(suit) ? hex(0xFBE3D2) : hex(0xDDE5F5);
    if (style == 2) frameBg = isRed(suit) ? hex(0xF6D9B8) : hex(0xD5DCEA);
    c.roundRect(17, 20, 41, 76, 5);
    c.fillVertical(lighter(frameBg, 0.4), frameBg, 20, 96);
    c.stroke(col, 1.2);
    cairo_new_path(c.cr());
    if (rank == 13) crown(c, 37.5, 33, 26, pal::gold, 3);
    else if (rank == 12) crown(c, 37.5, 34, 20, pal::amberLight, 2);
    else {
        // A feathered cap for the jack
        cairo_t* cr = c.cr();
        cairo_new_path(cr);
        cairo_move_to(cr, 25, 38);
        cairo_curve_to(cr, 27, 27, 46, 26, 50, 38);
        cairo_close_path(cr);
        c.fill(isRed(suit) ? pal::navyLight : pal::red);
        c.stroke(pal::ink, 1);
        cairo_new_path(cr);
        cairo_move_to(cr, 44, 30);
        cairo_curve_to(cr, 50, 20, 56, 22, 55, 25);
        c.stroke(pal::green, 2.5);
        cairo_new_path(cr);
    }
    Face f = style == 1 ? Face::Sans : Face::Serif;
    c.text(rankText(rank), 37.5, 58, 28, col, f);
    pip(c, suit, 37.5, 83, 16, col, false);
}

}  // namespace

const char* suitFolder(int suit) { return kSuitName[suit & 3]; }

int atlasColumn(int rank) {
    if (rank >= 10) return rank - 10;  // 10 J Q K A
    return rank + 3;                   // 2 -> 5 ... 9 -> 12
}

int atlasRow(int suit, bool special) {
    static const int order[4] = {1, 0, 3, 2};  // suit index of rows 0..3
    int row = 0;
    for (int i = 0; i < 4; ++i)
        if (order[i] == suit) row = i;
    return special ? row : row + 5;
}

int backColumn(int back) {
    static const int frame[12] = {67, 56, 60, 61, 63, 64, 65, 66, 57, 58, 59, 62};
    return frame[back % 12] - 56;
}

void drawCardFace(Canvas& c, int style, int suit, int rank, bool special) {
    Rgb col = suitColor(style, suit);
    Rgb top = pal::white, bottom = hex(0xF4EEDF), border = hex(0x8A8070);
    if (style == 1) { top = hex(0xFFFFFF); bottom = hex(0xE9EEF7); border = hex(0x6E7B96); }
    if (style == 2) { top = hex(0xFFF4DC); bottom = hex(0xEBD3A6); border = hex(0x8A5A2A); }
    if (special) {
        top = hex(0xFFF6D0);
        bottom = hex(0xF7D77C);
        border = pal::goldDark;
    }
    cardBody(c, top, bottom, border);
    if (special) {
        c.roundRect(2.5, 2.5, kCardW - 5, kCardH - 5, 6);
        c.stroke(pal::gold, 2.2);
        c.roundRect(5, 5, kCardW - 10, kCardH - 10, 4);
        c.stroke(withAlpha(pal::red, 0.8), 1);
        cairo_new_path(c.cr());
    } else if (style == 2) {
        c.roundRect(4, 4, kCardW - 8, kCardH - 8, 5);
        c.stroke(withAlpha(pal::wood, 0.5), 1);
        cairo_new_path(c.cr());
    }
    cornerIndex(c, style, suit, rank, col);
    if (special) {
        // The skittle: the rank large at the top, then a pin with the suit on its belly.
        c.roundRect(17, 47, 41, 52, 18);
        c.fillRadial(hex(0x3A5694, 0.95), hex(0x1C2E5A, 0.95), 33, 58, 40);
        c.stroke(pal::gold, 1.5);
        cairo_new_path(c.cr());
        pin(c, 37.5, 97, 48, pal::white, pal::red);
        pip(c, suit, 37.5, 84, 13, col, false);
        c.text(rankText(rank), 37.5, 31, rank == 10 ? 22 : 26, col, style == 1 ? Face::Sans : Face::Serif, 0,
               &pal::white, 1.5);
        return;
    }
    if (rank >= 11 && rank <= 13) {
        figure(c, style, suit, rank, col);
    } else if (rank == 14) {
        if (style == 1) {
            c.text("A", 37.5, 44, 30, col, Face::Sans);
            pip(c, suit, 37.5, 76, 34, col, false);
        } else {
            pip(c, suit, 37.5, 58, 46, col, false);
        }
    } else if (style == 1) {
        // Big-index style: the rank large in the middle, the suit under it.
        c.text(std::to_string(rank), 37.5, 46, rank == 10 ? 28 : 34, col, Face::Sans);
        pip(c, suit, 37.5, 78, 26, col, false);
    } else {
        numberPips(c, suit, rank, col);
    }
}

void drawCardBack(Canvas& c, int back) {
    static const std::uint32_t base[12] = {0x1C2E5A, 0xA3261E, 0x1D6B31, 0x5C3212, 0x6A2C7A, 0x0F6A75,
                                           0xB8651B, 0x2B2B33, 0x2F4F9A, 0x7A1F3D, 0x4E6B1F, 0x8A6A12};
    Rgb col = hex(base[back % 12]);
    c.roundRect(1, 1, kCardW - 2, kCardH - 2, 7);
    c.fill(pal::cream);
    c.stroke(hex(0x8A8070), 1.2);
    cairo_new_path(c.cr());
    c.roundRect(5, 5, kCardW - 10, kCardH - 10, 5);
    c.fillVertical(lighter(col, 0.15), darker(col, 0.25), 5, kCardH - 5);
    cairo_t* cr = c.cr();
    cairo_save(cr);
    cairo_clip(cr);
    Rgb line = withAlpha(lighter(col, 0.45), 0.55);
    switch (back % 6) {
    case 0:  // lattice
        for (int i = -12; i < 20; ++i) {
            cairo_move_to(cr, i * 10, 0);
            cairo_line_to(cr, i * 10 + 120, 120);
            cairo_move_to(cr, i * 10, 120);
            cairo_line_to(cr, i * 10 + 120, 0);
        }
        c.stroke(line, 1.2);
        break;
    case 1:  // lane boards
        for (int i = 0; i < 12; ++i) {
            cairo_rectangle(cr, 5 + i * 6, 0, 3, kCardH);
        }
        c.fill(withAlpha(lighter(col, 0.3), 0.35));
        break;
    case 2:  // dots
        for (int y = 0; y < 13; ++y)
            for (int x = 0; x < 9; ++x) {
                c.circle(6 + x * 8 + (y % 2) * 4, 6 + y * 9, 1.8);
                c.fill(line);
            }
        break;
    case 3:  // rings
        for (int i = 1; i < 9; ++i) {
            c.circle(kCardW / 2.0, kCardH / 2.0, i * 7.0);
            c.stroke(line, 1.3);
        }
        break;
    case 4:  // chevrons
        for (int i = -2; i < 16; ++i) {
            cairo_move_to(cr, 0, i * 9);
            cairo_line_to(cr, kCardW / 2.0, i * 9 - 12);
            cairo_line_to(cr, kCardW, i * 9);
        }
        c.stroke(line, 1.5);
        break;
    default:  // stars
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 5; ++x)
                iconStar(c, 8 + x * 15 + (y % 2) * 7, 8 + y * 17, 4, line, {0, 0, 0, 0});
        break;
    }
    cairo_new_path(cr);
    cairo_restore(cr);
    // Centre emblem: a pin in an oval, or a ball
    c.roundRect(19, 33, 37, 50, 18);
    c.fill(withAlpha(pal::cream, 0.92));
    c.stroke(pal::gold, 1.5);
    cairo_new_path(cr);
    if (back % 2 == 0) pin(c, 37.5, 79, 42, pal::white, col);
    else bowlingBall(c, 37.5, 58, 14, col);
    c.roundRect(5, 5, kCardW - 10, kCardH - 10, 5);
    c.stroke(pal::gold, 1.3);
    cairo_new_path(cr);
}

void drawJoker(Canvas& c, int style) {
    Rgb top = style == 2 ? hex(0xFFF4DC) : pal::white;
    cardBody(c, top, style == 1 ? hex(0xE9EEF7) : hex(0xF4EEDF), hex(0x8A8070));
    c.roundRect(4, 4, kCardW - 8, kCardH - 8, 5);
    c.stroke(pal::gold, 2);
    cairo_new_path(c.cr());
    jokerFace(c, 37.5, 52, 56);
    c.text("JOKER", 37.5, 97, 13, pal::red, Face::Sans, 62);
    iconStar(c, 11, 12, 6, pal::gold, pal::ink);
    iconStar(c, kCardW - 11, kCardH - 12, 6, pal::gold, pal::ink);
}

}  // namespace resgen
