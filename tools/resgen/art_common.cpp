#include "art.h"

#include <algorithm>
#include <cmath>

namespace resgen {

// ---- Output ---------------------------------------------------------------------------------

Output::~Output() {
    for (auto& t : _thumbs) cairo_surface_destroy(t.surface);
}

bool Output::save(const Canvas& canvas, const std::string& relative) {
    if (!canvas.save(_root / relative)) return false;
    if (!_thumbnails) return true;
    const double cell = 84;
    double scale = std::min(1.0, std::min(cell / canvas.width(), cell / canvas.height()));
    int tw = std::max(1, int(canvas.width() * scale)), th = std::max(1, int(canvas.height() * scale));
    cairo_surface_t* t = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, tw, th);
    cairo_t* cr = cairo_create(t);
    cairo_scale(cr, scale, scale);
    cairo_set_source_surface(cr, canvas.surface(), 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_paint(cr);
    cairo_destroy(cr);
    std::lock_guard<std::mutex> lock(_mutex);
    _thumbs.push_back({relative, t});
    return true;
}

bool Output::writeText(const std::string& relative, const std::string& text) {
    return writeFileAtomic(_root / relative, text.data(), text.size());
}

std::vector<Output::Thumb> Output::takeThumbnails() {
    std::lock_guard<std::mutex> lock(_mutex);
    std::vector<Thumb> out;
    out.swap(_thumbs);
    std::sort(out.begin(), out.end(), [](const Thumb& a, const Thumb& b) { return a.name < b.name; });
    return out;
}

// ---- Buttons --------------------------------------------------------------------------------

void buttonStrip(Canvas& c, int frameW, int frameH, const std::function<void(Canvas&, int)>& frame) {
    for (int s = 0; s < 5; ++s) {
        cairo_save(c.cr());
        cairo_translate(c.cr(), s * frameW, 0);
        cairo_rectangle(c.cr(), 0, 0, frameW, frameH);
        cairo_clip(c.cr());
        cairo_new_path(c.cr());
        frame(c, s);
        cairo_restore(c.cr());
    }
}

ButtonLook buttonLook(int state, const Rgb& base) {
    ButtonLook l;
    l.top = lighter(base, 0.30);
    l.bottom = darker(base, 0.22);
    l.rim = pal::woodDark;
    l.content = pal::ink;
    l.outline = withAlpha(pal::cream, 0.55);
    l.dy = 0;
    switch (state) {
    case kHover:
        l.top = lighter(base, 0.55);
        l.bottom = lighter(base, 0.05);
        l.rim = darker(pal::gold, 0.1);
        break;
    case kPressed:
        l.top = darker(base, 0.25);
        l.bottom = lighter(base, 0.10);
        l.dy = 2;
        break;
    case kSelected:
        l.top = lighter(base, 0.40);
        l.bottom = darker(base, 0.10);
        l.rim = pal::cream;
        break;
    case kDisabled:
        l.top = grey(lighter(base, 0.3));
        l.bottom = grey(darker(base, 0.2));
        l.rim = grey(pal::woodDark);
        l.content = hex(0x5A5A5A);
        l.outline = hex(0xBBBBBB, 0.4);
        break;
    default: break;
    }
    return l;
}

void plateButton(Canvas& c, double w, double h, int state, const Rgb& base, double radius,
                 const std::function<void(const ButtonLook&)>& content) {
    ButtonLook l = buttonLook(state, base);
    double m = 4;
    if (state == kSelected) {
        c.roundRect(1, 1, w - 2, h - 2, radius + 3);
        c.fill(withAlpha(pal::gold, 0.55));
    }
    c.plate(m, m - 2 + l.dy, w - 2 * m, h - 2 * m, radius, l.top, l.bottom, l.rim, 2.5,
            state != kPressed);
    if (content) {
        cairo_save(c.cr());
        cairo_translate(c.cr(), 0, l.dy);
        content(l);
        cairo_restore(c.cr());
    }
}

void roundButton(Canvas& c, double w, double h, int state, const Rgb& base,
                 const std::function<void(const ButtonLook&)>& content) {
    roundButtonAt(c, {w / 2, h / 2 - 1, std::min(w, h) / 2 - 4}, state, base, content);
}

void roundButtonAt(Canvas& c, const Disc& disc, int state, const Rgb& base,
                   const std::function<void(const ButtonLook&)>& content) {
    ButtonLook l = buttonLook(state, base);
    double r = disc.r;
    double cx = disc.cx, cy = disc.cy + l.dy;
    if (state == kSelected) {
        c.circle(cx, cy, r + 3);
        c.fill(withAlpha(pal::gold, 0.6));
    }
    if (state != kPressed) {
        for (int i = 3; i >= 1; --i) {
            c.circle(cx, cy + i, r);
            c.fill(hex(0, 0.10));
        }
    }
    c.circle(cx, cy, r);
    c.fillVertical(l.top, l.bottom, cy - r, cy + r);
    c.stroke(l.rim, 2.5);
    c.circle(cx, cy - r * 0.35, r * 0.62);
    cairo_save(c.cr());
    c.circle(cx, cy, r - 3);
    cairo_clip(c.cr());
    c.roundRect(cx - r * 0.75, cy - r + 3, r * 1.5, r * 0.8, r * 0.4);
    c.fillVertical(hex(0xFFFFFF, 0.35), hex(0xFFFFFF, 0.0), cy - r, cy - r * 0.2);
    cairo_restore(c.cr());
    cairo_new_path(c.cr());
    if (content) {
        cairo_save(c.cr());
        cairo_translate(c.cr(), 0, l.dy);
        content(l);
        cairo_restore(c.cr());
    }
}

void windowBackground(Canvas& c, double w, double h, const Area& titlePlate, bool laneArrows) {
    // Wooden frame
    c.plate(2, 2, w - 4, h - 6, 26, pal::woodLight, pal::wood, pal::woodDark, 3, true);
    // Wood grain
    cairo_t* cr = c.cr();
    cairo_save(cr);
    c.roundRect(4, 4, w - 8, h - 10, 24);
    cairo_clip(cr);
    Rand rnd(unsigned(w * 31 + h));
    for (int i = 0; i < int(h / 7); ++i) {
        double y = rnd.range(0, h);
        cairo_move_to(cr, 0, y);
        cairo_curve_to(cr, w * 0.3, y + rnd.range(-6, 6), w * 0.7, y + rnd.range(-6, 6), w, y);
        c.stroke(withAlpha(pal::woodDark, rnd.range(0.05, 0.15)), rnd.range(0.8, 2.2));
        cairo_new_path(cr);
    }
    cairo_restore(cr);
    // Navy inner panel
    double inset = 18;
    c.roundRect(inset, inset, w - 2 * inset, h - 2 * inset - 4, 16);
    c.fillVertical(pal::navy, pal::navyDeep, inset, h - inset);
    c.stroke(withAlpha(pal::amberLight, 0.8), 2);
    // Soft light from above
    c.roundRect(inset + 2, inset + 2, w - 2 * inset - 4, h - 2 * inset - 8, 15);
    c.fillRadial(hex(0x6A86C8, 0.35), hex(0x6A86C8, 0.0), w / 2, inset, std::max(w, h) * 0.6);
    cairo_new_path(cr);
    // Lane arrows along the bottom, a quiet bowling touch
    for (int i = 0; laneArrows && i < 7; ++i) {
        double x = w / 2 + (i - 3) * 22;
        double y = h - inset - 22 - std::abs(i - 3) * 4;
        cairo_move_to(cr, x, y - 7);
        cairo_line_to(cr, x + 5, y + 4);
        cairo_line_to(cr, x - 5, y + 4);
        cairo_close_path(cr);
        c.fill(withAlpha(pal::amberLight, 0.25));
        cairo_new_path(cr);
    }
    if (titlePlate.w > 0) {
        c.plate(titlePlate.x, titlePlate.y, titlePlate.w, titlePlate.h, std::min(22.0, titlePlate.h / 2),
                pal::amberLight, pal::amber, pal::woodDark, 2.5, true);
    }
    cairo_new_path(cr);
}

// ---- Icons ----------------------------------------------------------------------------------

namespace {
void outlinedFill(Canvas& c, const Rgb& col, const Rgb& outline, double ow) {
    cairo_set_line_join(c.cr(), CAIRO_LINE_JOIN_ROUND);
    if (outline.a > 0 && ow > 0) c.stroke(outline, ow);
    c.fill(col);
    cairo_new_path(c.cr());
}

void thickLine(Canvas& c, double x0, double y0, double x1, double y1, double width, const Rgb& col,
               const Rgb& outline) {
    cairo_t* cr = c.cr();
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_new_path(cr);
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
    if (outline.a > 0) c.stroke(outline, width + 4);
    c.stroke(col, width);
    cairo_new_path(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
}
}  // namespace

void iconCross(Canvas& c, double cx, double cy, double s, const Rgb& col, const Rgb& outline) {
    double d = s * 0.32, wdt = s * 0.16;
    cairo_t* cr = c.cr();
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int pass = 0; pass < 2; ++pass) {
        cairo_new_path(cr);
        cairo_move_to(cr, cx - d, cy - d);
        cairo_line_to(cr, cx + d, cy + d);
        cairo_move_to(cr, cx + d, cy - d);
        cairo_line_to(cr, cx - d, cy + d);
        if (pass == 0) {
            if (outline.a > 0) c.stroke(outline, wdt + 4);
        } else {
            c.stroke(col, wdt);
        }
    }
    cairo_new_path(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
}

void iconCheck(Canvas& c, double cx, double cy, double s, const Rgb& col, const Rgb& outline) {
    cairo_t* cr = c.cr();
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    for (int pass = 0; pass < 2; ++pass) {
        cairo_new_path(cr);
        cairo_move_to(cr, cx - s * 0.33, cy);
        cairo_line_to(cr, cx - s * 0.1, cy + s * 0.25);
        cairo_line_to(cr, cx + s * 0.35, cy - s * 0.3);
        if (pass == 0) {
            if (outline.a > 0) c.stroke(outline, s * 0.17 + 4);
        } else {
            c.stroke(col, s * 0.17);
        }
    }
    cairo_new_path(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
}

void iconPlus(Canvas& c, double cx, double cy, double s, const Rgb& col, const Rgb& outline) {
    double d = s * 0.34, wdt = s * 0.18;
    thickLine(c, cx - d, cy, cx + d, cy, wdt, col, outline);
    thickLine(c, cx, cy - d, cx, cy + d, wdt, col, {0, 0, 0, 0});
    // Redraw the horizontal bar's core over the vertical bar's outline
    thickLine(c, cx - d, cy, cx + d, cy, wdt, col, {0, 0, 0, 0});
}

void iconMinus(Canvas& c, double cx, double cy, double s, const Rgb& col, const Rgb& outline) {
    double d = s * 0.34;
    thickLine(c, cx - d, cy, cx + d, cy, s * 0.18, col, outline);
}

void iconArrow(Canvas& c, double cx, double cy, double s, bool right, const Rgb& col,
               const Rgb& outline) {
    cairo_t* cr = c.cr();
    double k = right ? 1 : -1;
    cairo_new_path(cr);
    cairo_move_to(cr, cx + k * s * 0.42, cy);
    cairo_line_to(cr, cx - k * s * 0.05, cy - s * 0.38);
    cairo_line_to(cr, cx - k * s * 0.05, cy - s * 0.15);
    cairo_line_to(cr, cx - k * s * 0.40, cy - s * 0.15);
    cairo_line_to(cr, cx - k * s * 0.40, cy + s * 0.15);
    cairo_line_to(cr, cx - k * s * 0.05, cy + s * 0.15);
    cairo_line_to(cr, cx - k * s * 0.05, cy + s * 0.38);
    cairo_close_path(cr);
    outlinedFill(c, col, outline, 4);
}

void iconPause(Canvas& c, double cx, double cy, double s, const Rgb& col, const Rgb& outline) {
    for (int i = -1; i <= 1; i += 2) {
        c.roundRect(cx + i * s * 0.17 - s * 0.09, cy - s * 0.32, s * 0.18, s * 0.64, 3);
        outlinedFill(c, col, outline, 4);
    }
}

void iconReshuffle(Canvas& c, double cx, double cy, double s, const Rgb& col, const Rgb& outline) {
    cairo_t* cr = c.cr();
    double r = s * 0.32;
    for (int pass = 0; pass < 2; ++pass) {
        for (int half = 0; half < 2; ++half) {
            double a0 = half * M_PI + 0.35, a1 = half * M_PI + M_PI - 0.25;
            cairo_new_path(cr);
            cairo_arc(cr, cx, cy, r, a0, a1);
            if (pass == 0) {
                if (outline.a > 0) c.stroke(outline, s * 0.12 + 4);
            } else {
                c.stroke(col, s * 0.12);
            }
            // Arrow head at the end of the arc
            double ex = cx + r * std::cos(a1), ey = cy + r * std::sin(a1);
            double tx = -std::sin(a1), ty = std::cos(a1);  // tangent direction
            double nx = std::cos(a1), ny = std::sin(a1);
            double hl = s * 0.2;
            cairo_new_path(cr);
            cairo_move_to(cr, ex + tx * hl, ey + ty * hl);
            cairo_line_to(cr, ex + nx * hl * 0.7, ey + ny * hl * 0.7);
            cairo_line_to(cr, ex - nx * hl * 0.7, ey - ny * hl * 0.7);
            cairo_close_path(cr);
            if (pass == 0) {
                if (outline.a > 0) c.stroke(outline, 4);
            } else {
                c.fill(col);
            }
            cairo_new_path(cr);
        }
    }
}

void iconStar(Canvas& c, double cx, double cy, double r, const Rgb& col, const Rgb& outline,
              int points) {
    cairo_t* cr = c.cr();
    cairo_new_path(cr);
    for (int i = 0; i < points * 2; ++i) {
        double a = -M_PI / 2 + i * M_PI / points;
        double rr = (i % 2 == 0) ? r : r * 0.45;
        double x = cx + rr * std::cos(a), y = cy + rr * std::sin(a);
        if (i == 0) cairo_move_to(cr, x, y);
        else cairo_line_to(cr, x, y);
    }
    cairo_close_path(cr);
    outlinedFill(c, col, outline, 3);
}

void iconPadlock(Canvas& c, double cx, double cy, double s, const Rgb& col, const Rgb& outline) {
    cairo_t* cr = c.cr();
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy - s * 0.08, s * 0.22, M_PI, 2 * M_PI);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    c.stroke(outline, s * 0.11 + 4);
    c.stroke(col, s * 0.11);
    cairo_new_path(cr);
    c.roundRect(cx - s * 0.34, cy - s * 0.08, s * 0.68, s * 0.5, s * 0.08);
    outlinedFill(c, col, outline, 4);
    c.circle(cx, cy + s * 0.13, s * 0.06);
    c.fill(outline);
    cairo_new_path(cr);
}

void iconGear(Canvas& c, double cx, double cy, double s, const Rgb& col, const Rgb& outline) {
    cairo_t* cr = c.cr();
    cairo_new_path(cr);
    int teeth = 8;
    double ro = s * 0.42, ri = s * 0.32;
    for (int i = 0; i < teeth * 4; ++i) {
        double a = i * 2 * M_PI / (teeth * 4);
        double r = (i % 4 < 2) ? ro : ri;
        double x = cx + r * std::cos(a), y = cy + r * std::sin(a);
        if (i == 0) cairo_move_to(cr, x, y);
        else cairo_line_to(cr, x, y);
    }
    cairo_close_path(cr);
    cairo_new_sub_path(cr);
    cairo_arc_negative(cr, cx, cy, s * 0.13, 2 * M_PI, 0);
    cairo_close_path(cr);
    outlinedFill(c, col, outline, 4);
}

void iconPerson(Canvas& c, double cx, double cy, double s, const Rgb& col, const Rgb& outline) {
    c.circle(cx, cy - s * 0.18, s * 0.17);
    outlinedFill(c, col, outline, 4);
    cairo_t* cr = c.cr();
    cairo_new_path(cr);
    cairo_move_to(cr, cx - s * 0.33, cy + s * 0.38);
    cairo_curve_to(cr, cx - s * 0.33, cy + s * 0.05, cx - s * 0.15, cy + s * 0.02, cx, cy + s * 0.02);
    cairo_curve_to(cr, cx + s * 0.15, cy + s * 0.02, cx + s * 0.33, cy + s * 0.05, cx + s * 0.33,
                   cy + s * 0.38);
    cairo_close_path(cr);
    outlinedFill(c, col, outline, 4);
}

void iconPower(Canvas& c, double cx, double cy, double s, const Rgb& col, const Rgb& outline) {
    cairo_t* cr = c.cr();
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int pass = 0; pass < 2; ++pass) {
        cairo_new_path(cr);
        cairo_arc(cr, cx, cy + s * 0.04, s * 0.3, -M_PI / 2 + 0.6, 3 * M_PI / 2 - 0.6);
        cairo_new_sub_path(cr);
        cairo_move_to(cr, cx, cy - s * 0.36);
        cairo_line_to(cr, cx, cy - s * 0.02);
        if (pass == 0) c.stroke(outline, s * 0.12 + 4);
        else c.stroke(col, s * 0.12);
    }
    cairo_new_path(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
}

void iconCup(Canvas& c, double cx, double cy, double s, const Rgb& metal, const Rgb& outline) {
    cairo_t* cr = c.cr();
    // Handles
    cairo_new_path(cr);
    cairo_arc(cr, cx - s * 0.28, cy - s * 0.18, s * 0.13, M_PI / 2, 3 * M_PI / 2);
    cairo_new_sub_path(cr);
    cairo_arc_negative(cr, cx + s * 0.28, cy - s * 0.18, s * 0.13, M_PI / 2, -M_PI / 2);
    c.stroke(outline, s * 0.07 + 3);
    c.stroke(metal, s * 0.07);
    cairo_new_path(cr);
    // Bowl
    cairo_move_to(cr, cx - s * 0.3, cy - s * 0.38);
    cairo_line_to(cr, cx + s * 0.3, cy - s * 0.38);
    cairo_curve_to(cr, cx + s * 0.3, cy, cx + s * 0.12, cy + s * 0.08, cx + s * 0.06, cy + s * 0.1);
    cairo_line_to(cr, cx + s * 0.06, cy + s * 0.24);
    cairo_line_to(cr, cx - s * 0.06, cy + s * 0.24);
    cairo_line_to(cr, cx - s * 0.06, cy + s * 0.1);
    cairo_curve_to(cr, cx - s * 0.12, cy + s * 0.08, cx - s * 0.3, cy, cx - s * 0.3, cy - s * 0.38);
    cairo_close_path(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    c.stroke(outline, 3);
    {
        cairo_pattern_t* p = cairo_pattern_create_linear(cx - s * 0.3, 0, cx + s * 0.3, 0);
        Rgb hi = lighter(metal, 0.6), lo = darker(metal, 0.25);
        cairo_pattern_add_color_stop_rgb(p, 0, lo.r, lo.g, lo.b);
        cairo_pattern_add_color_stop_rgb(p, 0.35, hi.r, hi.g, hi.b);
        cairo_pattern_add_color_stop_rgb(p, 1, lo.r, lo.g, lo.b);
        cairo_set_source(cr, p);
        cairo_fill_preserve(cr);
        cairo_pattern_destroy(p);
    }
    cairo_new_path(cr);
    // Base
    c.roundRect(cx - s * 0.22, cy + s * 0.24, s * 0.44, s * 0.14, 3);
    c.fillVertical(darker(pal::wood, 0.1), pal::woodDark, cy + s * 0.24, cy + s * 0.38);
    c.stroke(outline, 2);
    cairo_new_path(cr);
}

void iconBag(Canvas& c, double cx, double cy, double s, const Rgb& col, const Rgb& outline) {
    cairo_t* cr = c.cr();
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy - s * 0.18, s * 0.15, M_PI, 2 * M_PI);
    c.stroke(outline, s * 0.07 + 4);
    c.stroke(col, s * 0.07);
    cairo_new_path(cr);
    c.roundRect(cx - s * 0.34, cy - s * 0.2, s * 0.68, s * 0.58, s * 0.1);
    outlinedFill(c, col, outline, 4);
    c.text("$", cx, cy + s * 0.1, s * 0.36, outline, Face::Sans);
}

void coin(Canvas& c, double cx, double cy, double r) {
    c.circle(cx, cy + r * 0.08, r);
    c.fill(withAlpha(pal::goldDark, 1));
    c.circle(cx, cy, r);
    c.fillRadial(lighter(pal::gold, 0.5), pal::gold, cx - r * 0.3, cy - r * 0.3, r * 1.3);
    c.stroke(pal::goldDark, std::max(1.0, r * 0.1));
    c.circle(cx, cy, r * 0.74);
    c.stroke(withAlpha(pal::goldDark, 0.7), std::max(1.0, r * 0.06));
    cairo_new_path(c.cr());
    c.text("$", cx, cy, r * 1.05, pal::goldDark, Face::Serif);
}

void pin(Canvas& c, double cx, double baseY, double h, const Rgb& body, const Rgb& stripe,
         double alpha) {
    cairo_t* cr = c.cr();
    double w = h * 0.36;  // widest point
    auto X = [&](double f) { return cx + f * w; };
    auto Y = [&](double f) { return baseY - f * h; };
    cairo_push_group(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, X(0), Y(1.0));
    cairo_curve_to(cr, X(0.30), Y(1.0), X(0.36), Y(0.88), X(0.30), Y(0.78));  // head
    cairo_curve_to(cr, X(0.22), Y(0.68), X(0.18), Y(0.66), X(0.26), Y(0.56));  // neck
    cairo_curve_to(cr, X(0.55), Y(0.36), X(0.45), Y(0.12), X(0.28), Y(0.0));   // belly
    cairo_line_to(cr, X(-0.28), Y(0.0));
    cairo_curve_to(cr, X(-0.45), Y(0.12), X(-0.55), Y(0.36), X(-0.26), Y(0.56));
    cairo_curve_to(cr, X(-0.18), Y(0.66), X(-0.22), Y(0.68), X(-0.30), Y(0.78));
    cairo_curve_to(cr, X(-0.36), Y(0.88), X(-0.30), Y(1.0), X(0), Y(1.0));
    cairo_close_path(cr);
    cairo_path_t* outlinePath = cairo_copy_path(cr);
    {
        cairo_pattern_t* p = cairo_pattern_create_linear(X(-0.5), 0, X(0.5), 0);
        Rgb lo = darker(body, 0.3), hi = lighter(body, 0.5);
        cairo_pattern_add_color_stop_rgb(p, 0, lo.r, lo.g, lo.b);
        cairo_pattern_add_color_stop_rgb(p, 0.38, hi.r, hi.g, hi.b);
        cairo_pattern_add_color_stop_rgb(p, 1, lo.r, lo.g, lo.b);
        cairo_set_source(cr, p);
        cairo_fill_preserve(cr);
        cairo_pattern_destroy(p);
    }
    // Neck stripes, clipped to the pin
    cairo_save(cr);
    cairo_clip(cr);
    cairo_rectangle(cr, X(-1), Y(0.73), 2 * w, h * 0.045);
    cairo_rectangle(cr, X(-1), Y(0.665), 2 * w, h * 0.045);
    cairo_set_source_rgba(cr, stripe.r, stripe.g, stripe.b, stripe.a);
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_new_path(cr);
    cairo_append_path(cr, outlinePath);
    cairo_path_destroy(outlinePath);
    c.stroke(darker(body, 0.6), std::max(1.0, h * 0.025));
    cairo_new_path(cr);
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, alpha);
}

void bowlingBall(Canvas& c, double cx, double cy, double r, const Rgb& color) {
    c.circle(cx, cy, r);
    c.fillRadial(lighter(color, 0.5), darker(color, 0.45), cx - r * 0.35, cy - r * 0.4, r * 1.5);
    c.stroke(darker(color, 0.6), std::max(1.0, r * 0.05));
    for (auto [dx, dy] : {std::pair{0.05, -0.3}, std::pair{0.33, -0.22}, std::pair{0.22, 0.05}}) {
        c.circle(cx + dx * r, cy + dy * r, r * 0.11);
        c.fill(darker(color, 0.75));
    }
    c.circle(cx - r * 0.38, cy - r * 0.42, r * 0.18);
    c.fill(hex(0xFFFFFF, 0.35));
    cairo_new_path(c.cr());
}

void jokerFace(Canvas& c, double cx, double cy, double s) {
    cairo_t* cr = c.cr();
    // Jester hat with three bells
    Rgb cols[3] = {pal::red, pal::navyLight, pal::green};
    for (int i = 0; i < 3; ++i) {
        double tipX = cx + (i - 1) * s * 0.42, tipY = cy - s * 0.42 + (i == 1 ? -s * 0.06 : 0);
        cairo_new_path(cr);
        cairo_move_to(cr, cx - s * 0.28 + i * s * 0.15, cy - s * 0.05);
        cairo_curve_to(cr, cx - s * 0.2 + i * s * 0.2, cy - s * 0.25, tipX, tipY + s * 0.1, tipX, tipY);
        cairo_curve_to(cr, tipX, tipY + s * 0.18, cx - s * 0.08 + i * s * 0.15, cy - s * 0.2,
                       cx - s * 0.1 + i * s * 0.18, cy - s * 0.05);
        cairo_close_path(cr);
        c.fill(cols[i]);
        c.stroke(pal::ink, 1.5);
        cairo_new_path(cr);
        c.circle(tipX, tipY, s * 0.06);
        c.fill(pal::gold);
        c.stroke(pal::ink, 1.2);
        cairo_new_path(cr);
    }
    // Face
    c.circle(cx, cy + s * 0.12, s * 0.2);
    c.fill(pal::cream);
    c.stroke(pal::ink, 1.5);
    cairo_new_path(cr);
    c.circle(cx - s * 0.07, cy + s * 0.08, s * 0.025);
    c.fill(pal::ink);
    c.circle(cx + s * 0.07, cy + s * 0.08, s * 0.025);
    c.fill(pal::ink);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy + s * 0.14, s * 0.1, 0.3, M_PI - 0.3);
    c.stroke(pal::red, 2);
    cairo_new_path(cr);
    // Band of the hat
    c.roundRect(cx - s * 0.3, cy - s * 0.1, s * 0.6, s * 0.08, s * 0.03);
    c.fill(pal::gold);
    c.stroke(pal::ink, 1.2);
    cairo_new_path(cr);
}

}  // namespace resgen
