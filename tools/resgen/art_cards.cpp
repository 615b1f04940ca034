// Card atlases, the editor's per-card pictures, card overlays and the card thumbnails of the
// options window.
#include "art.h"
#include "cards.h"

#include <string>

namespace resgen {

namespace {

// Where the level centres a reserve pile's bonus sign, from the middle of the card's picture.
constexpr int kSpecialSignDx = 3;
constexpr int kSpecialSignDy = 9;

void at(Canvas& c, double x, double y, const std::function<void()>& draw) {
    cairo_save(c.cr());
    cairo_translate(c.cr(), x, y);
    draw();
    cairo_restore(c.cr());
}

bool atlas(Output& out, int style) {
    Canvas c(14 * kCardW, 9 * kCardH);
    for (int suit = 0; suit < 4; ++suit) {
        for (int rank = 2; rank <= 14; ++rank) {
            for (bool special : {false, true}) {
                at(c, atlasColumn(rank) * kCardW, atlasRow(suit, special) * kCardH,
                   [&] { drawCardFace(c, style, suit, rank, special); });
            }
        }
    }
    for (int back = 0; back < 12; ++back)
        at(c, backColumn(back) * kCardW, 4 * kCardH, [&] { drawCardBack(c, back); });
    at(c, 12 * kCardW, 4 * kCardH, [&] { drawJoker(c, style); });
    return out.save(c, "cards/cardsLibrary" + std::to_string(style + 1) + ".png");
}

bool editorFace(Output& out, int suit, int rank, bool special) {
    Canvas c(kCardW, kCardH);
    drawCardFace(c, 0, suit, rank, special);
    return out.save(c, std::string("cards/editor/") + (special ? "special_cards/" : "cards/") +
                           suitFolder(suit) + "/" + std::to_string(rank) + ".png");
}

bool backPicture(Output& out, int back, const std::string& file) {
    Canvas c(kCardW, kCardH);
    drawCardBack(c, back);
    return out.save(c, file);
}

// A card picture scaled into a thumbnail button; frame 4 (disabled) marks the chosen one.
void thumbFrame(Canvas& c, int fw, int fh, int state, const std::function<void()>& card) {
    double scale = std::min((fw - 12.0) / kCardW, (fh - 10.0) / kCardH);
    double cw = kCardW * scale, ch = kCardH * scale;
    double x = (fw - cw) / 2, y = (fh - ch) / 2 + (state == kPressed ? 1.5 : 0);
    if (state == kHover || state == kSelected || state == kDisabled) {
        Rgb glow = state == kDisabled ? pal::green : pal::amberLight;
        c.roundRect(x - 4, y - 4, cw + 8, ch + 8, 8);
        c.fill(withAlpha(glow, state == kHover ? 0.55 : 0.85));
        cairo_new_path(c.cr());
    }
    c.roundRect(x + 1, y + 2, cw, ch, 6);
    c.fill(hex(0, 0.3));
    cairo_new_path(c.cr());
    cairo_save(c.cr());
    cairo_translate(c.cr(), x, y);
    cairo_scale(c.cr(), scale, scale);
    card();
    cairo_restore(c.cr());
    if (state == kPressed) {
        c.roundRect(x, y, cw, ch, 6);
        c.fill(hex(0, 0.15));
        cairo_new_path(c.cr());
    }
    if (state == kDisabled) {
        c.circle(x + cw - 6, y + ch - 6, 9);
        c.fill(pal::green);
        c.stroke(pal::white, 1.5);
        cairo_new_path(c.cr());
        iconCheck(c, x + cw - 6, y + ch - 6, 14, pal::white, {0, 0, 0, 0});
    }
}

// The cover of a pin card lying face down: the pin cards' gold in place of the player's back,
// and a pin in the middle, so it tells a pin from a plain card without showing its rank.
void drawPinCardCover(Canvas& c) {
    c.roundRect(1, 1, kCardW - 2, kCardH - 2, 7);
    c.fillVertical(hex(0xFFF6D0), hex(0xF7D77C), 0, kCardH);
    c.stroke(pal::goldDark, 1.2);
    cairo_new_path(c.cr());
    c.roundRect(5, 5, kCardW - 10, kCardH - 10, 5);
    cairo_save(c.cr());
    cairo_clip(c.cr());
    for (int i = -12; i < 20; ++i) {
        cairo_move_to(c.cr(), i * 9, 0);
        cairo_line_to(c.cr(), i * 9 + 120, 120);
        cairo_move_to(c.cr(), i * 9, 120);
        cairo_line_to(c.cr(), i * 9 + 120, 0);
    }
    c.stroke(withAlpha(pal::goldDark, 0.35), 1.2);
    cairo_restore(c.cr());
    c.roundRect(5, 5, kCardW - 10, kCardH - 10, 5);
    c.stroke(withAlpha(pal::red, 0.8), 1.3);
    cairo_new_path(c.cr());
    c.roundRect(16, 28, 43, 60, 20);
    c.fillRadial(pal::navyLight, pal::navy, 33, 48, 40);
    c.stroke(pal::gold, 2);
    cairo_new_path(c.cr());
    pin(c, 37.5, 82, 48, pal::white, pal::red);
}

}  // namespace

void addCardJobs(std::vector<Job>& jobs) {
    for (int style = 0; style < 3; ++style)
        jobs.push_back({"card atlas", [style](Output& out) { return atlas(out, style); }});
    for (int suit = 0; suit < 4; ++suit) {
        jobs.push_back({"editor faces", [suit](Output& out) {
                            bool ok = true;
                            for (int rank = 2; rank <= 14; ++rank)
                                for (bool special : {false, true})
                                    ok = editorFace(out, suit, rank, special) && ok;
                            return ok;
                        }});
    }
    jobs.push_back({"card backs", [](Output& out) {
                        bool ok = true;
                        for (int back = 0; back < 12; ++back)
                            ok = backPicture(out, back,
                                             "cards/editor/cards/back/" + std::to_string(back + 1) +
                                                 ".png") &&
                                 ok;
                        // Named by back number: back 2 and back 10.
                        ok = backPicture(out, 1, "cards/back/2.png") && ok;
                        ok = backPicture(out, 9, "cards/back/10.png") && ok;
                        return ok;
                    }});
    jobs.push_back({"card overlays", [](Output& out) {
                        bool ok = true;
                        {
                            Canvas c(87, 128);
                            for (int i = 6; i >= 1; --i) {
                                c.roundRect(6 - i, 6 - i, kCardW + 2 * i, kCardH + 2 * i, 7 + i);
                                c.fill(withAlpha(pal::amberLight, 0.10 + 0.03 * (6 - i)));
                            }
                            // Keep the card itself clear.
                            cairo_set_operator(c.cr(), CAIRO_OPERATOR_CLEAR);
                            c.roundRect(8, 8, kCardW - 4, kCardH - 4, 6);
                            cairo_fill(c.cr());
                            cairo_set_operator(c.cr(), CAIRO_OPERATOR_OVER);
                            c.roundRect(5, 5, kCardW + 2, kCardH + 2, 8);
                            c.stroke(pal::amber, 3);
                            ok = out.save(c, "cards/highlighting.png") && ok;
                        }
                        {
                            // The level centres this sign 3 right of and 9 below the middle
                            // of the card's picture: the frame keeps to the top-left of a
                            // picture as much larger, and so falls on the card.
                            Canvas c(kCardW + 2 * kSpecialSignDx, kCardH + 2 * kSpecialSignDy);
                            c.roundRect(1.5, 1.5, kCardW - 3, kCardH - 3, 7);
                            c.stroke(withAlpha(pal::gold, 0.9), 3);
                            c.roundRect(4, 4, kCardW - 8, kCardH - 8, 5);
                            c.stroke(withAlpha(pal::amberLight, 0.6), 1.5);
                            cairo_new_path(c.cr());
                            c.circle(37.5, 98, 13);
                            c.fill(pal::navy);
                            c.stroke(pal::gold, 2);
                            cairo_new_path(c.cr());
                            iconStar(c, 37.5, 98.5, 10, pal::gold, pal::goldDark);
                            ok = out.save(c, "cards/special.png") && ok;
                        }
                        {
                            Canvas c(kCardW, kCardH);
                            drawPinCardCover(c);
                            ok = out.save(c, "bonusCover.png") && ok;
                        }
                        return ok;
                    }});
    jobs.push_back({"option thumbnails", [](Output& out) {
                        bool ok = true;
                        for (int back = 0; back < 12; ++back) {
                            Canvas c(5 * 60, 80);
                            buttonStrip(c, 60, 80, [&](Canvas& cc, int s) {
                                thumbFrame(cc, 60, 80, s, [&] { drawCardBack(cc, back); });
                            });
                            ok = out.save(c, "interface/options/backs/" + std::to_string(back + 1) +
                                                 ".png") &&
                                 ok;
                        }
                        for (int style = 0; style < 3; ++style) {
                            Canvas c(5 * 80, 116);
                            buttonStrip(c, 80, 116, [&](Canvas& cc, int s) {
                                thumbFrame(cc, 80, 116, s,
                                           [&] { drawCardFace(cc, style, 3, 13, false); });
                            });
                            ok = out.save(c, "interface/options/types/" + std::to_string(style + 1) +
                                                 ".png") &&
                                 ok;
                        }
                        return ok;
                    }});
}

}  // namespace resgen
