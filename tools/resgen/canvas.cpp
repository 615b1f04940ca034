#include "canvas.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <mutex>
#include <system_error>

#ifndef PINDRAKE_FONT_DIR
#define PINDRAKE_FONT_DIR "/usr/share/fonts/truetype/dejavu"
#endif

namespace resgen {

Rgb hex(std::uint32_t rgb, double alpha) {
    return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0, alpha};
}

Rgb mix(const Rgb& a, const Rgb& b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Rgb lighter(const Rgb& c, double amount) {
    Rgb w{1, 1, 1, c.a};
    return mix(c, w, amount);
}

Rgb darker(const Rgb& c, double amount) {
    Rgb k{0, 0, 0, c.a};
    return mix(c, k, amount);
}

Rgb grey(const Rgb& c) {
    double l = 0.3 * c.r + 0.59 * c.g + 0.11 * c.b;
    l = 0.25 + l * 0.45;
    return {l, l, l, c.a};
}

Rgb withAlpha(const Rgb& c, double a) { return {c.r, c.g, c.b, a}; }

namespace pal {
const Rgb wood = hex(0xA8652E);
const Rgb woodDark = hex(0x5C3212);
const Rgb woodLight = hex(0xD9A066);
const Rgb amber = hex(0xF0A830);
const Rgb amberLight = hex(0xFFD27A);
const Rgb navy = hex(0x1C2E5A);
const Rgb navyDeep = hex(0x0D1630);
const Rgb navyLight = hex(0x3A5694);
const Rgb cream = hex(0xFFF3D6);
const Rgb creamDark = hex(0xE8D3A8);
const Rgb red = hex(0xD8362A);
const Rgb redDark = hex(0x8E1A14);
const Rgb green = hex(0x3DBA5A);
const Rgb greenDark = hex(0x1D6B31);
const Rgb gold = hex(0xF5C542);
const Rgb goldDark = hex(0xA4761A);
const Rgb silver = hex(0xD4DCE6);
const Rgb bronze = hex(0xCD8A4A);
const Rgb ink = hex(0x24160C);
const Rgb white = hex(0xFFFFFF);
const Rgb black = hex(0x000000);
}  // namespace pal

std::filesystem::path fontFile(Face face) {
    std::filesystem::path dir(PINDRAKE_FONT_DIR);
    switch (face) {
    case Face::Sans: return dir / "DejaVuSans-Bold.ttf";
    case Face::Regular: return dir / "DejaVuSans.ttf";
    case Face::Serif: return dir / "DejaVuSerif-Bold.ttf";
    }
    return dir / "DejaVuSans-Bold.ttf";
}

bool fontsAvailable() {
    bool ok = true;
    for (Face f : {Face::Sans, Face::Regular, Face::Serif}) {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(fontFile(f), ec)) {
            std::fprintf(stderr,
                         "resgen: missing font %s: install the Debian package fonts-dejavu-core\n",
                         fontFile(f).c_str());
            ok = false;
        }
    }
    return ok;
}

namespace {

// One FreeType library for the process; each drawing thread opens its own faces, because a
// face must not be used by two threads at once. Cairo closes a face when it lets go of it.
std::mutex& libraryMutex() {
    static std::mutex m;
    return m;
}

FT_Library sharedLibrary() {
    static FT_Library library = [] {
        FT_Library l = nullptr;
        if (FT_Init_FreeType(&l) != 0) l = nullptr;
        return l;
    }();
    return library;
}

void closeFace(void* face) {
    std::lock_guard<std::mutex> lock(libraryMutex());
    FT_Done_Face(static_cast<FT_Face>(face));
}

struct ThreadFonts {
    cairo_font_face_t* cairoFaces[3] = {nullptr, nullptr, nullptr};

    ThreadFonts() {
        FT_Library library = sharedLibrary();
        if (!library) return;
        static const cairo_user_data_key_t key{};
        for (int i = 0; i < 3; ++i) {
            FT_Face face = nullptr;
            {
                std::lock_guard<std::mutex> lock(libraryMutex());
                if (FT_New_Face(library, fontFile(Face(i)).c_str(), 0, &face) != 0) continue;
            }
            cairoFaces[i] = cairo_ft_font_face_create_for_ft_face(face, 0);
            cairo_font_face_set_user_data(cairoFaces[i], &key, face, closeFace);
        }
    }
    ~ThreadFonts() {
        for (auto* f : cairoFaces) {
            if (f) cairo_font_face_destroy(f);
        }
    }
};

cairo_font_face_t* threadFace(Face face) {
    static thread_local ThreadFonts fonts;
    return fonts.cairoFaces[int(face)];
}

cairo_status_t appendBytes(void* closure, const unsigned char* data, unsigned int length) {
    auto* out = static_cast<std::vector<unsigned char>*>(closure);
    out->insert(out->end(), data, data + length);
    return CAIRO_STATUS_SUCCESS;
}

}  // namespace

Canvas::Canvas(int width, int height)
    : _width(width), _height(height),
      _surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      _cr(cairo_create(_surface)) {}

Canvas::~Canvas() {
    cairo_destroy(_cr);
    cairo_surface_destroy(_surface);
}

void Canvas::roundRect(double x, double y, double w, double h, double r) {
    r = std::min({r, w / 2, h / 2});
    cairo_new_path(_cr);
    cairo_new_sub_path(_cr);
    cairo_arc(_cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(_cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(_cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(_cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(_cr);
}

void Canvas::circle(double cx, double cy, double r) {
    cairo_new_path(_cr);
    cairo_arc(_cr, cx, cy, r, 0, 2 * M_PI);
    cairo_close_path(_cr);
}

void Canvas::fill(const Rgb& c) {
    cairo_set_source_rgba(_cr, c.r, c.g, c.b, c.a);
    cairo_fill_preserve(_cr);
}

void Canvas::fillVertical(const Rgb& top, const Rgb& bottom, double y0, double y1) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
    cairo_pattern_add_color_stop_rgba(p, 0, top.r, top.g, top.b, top.a);
    cairo_pattern_add_color_stop_rgba(p, 1, bottom.r, bottom.g, bottom.b, bottom.a);
    cairo_set_source(_cr, p);
    cairo_fill_preserve(_cr);
    cairo_pattern_destroy(p);
}

void Canvas::fillRadial(const Rgb& inner, const Rgb& outer, double cx, double cy, double r) {
    cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 0, cx, cy, r);
    cairo_pattern_add_color_stop_rgba(p, 0, inner.r, inner.g, inner.b, inner.a);
    cairo_pattern_add_color_stop_rgba(p, 1, outer.r, outer.g, outer.b, outer.a);
    cairo_set_source(_cr, p);
    cairo_fill_preserve(_cr);
    cairo_pattern_destroy(p);
}

void Canvas::stroke(const Rgb& c, double width) {
    cairo_set_source_rgba(_cr, c.r, c.g, c.b, c.a);
    cairo_set_line_width(_cr, width);
    cairo_stroke_preserve(_cr);
}

void Canvas::plate(double x, double y, double w, double h, double r, const Rgb& top,
                   const Rgb& bottom, const Rgb& rim, double rimWidth, bool shadow) {
    if (shadow) {
        for (int i = 3; i >= 1; --i) {
            roundRect(x + 1, y + 1 + i, w - 2, h - 2, r);
            fill(hex(0x000000, 0.10));
        }
    }
    roundRect(x, y, w, h, r);
    fillVertical(top, bottom, y, y + h);
    if (rimWidth > 0) {
        roundRect(x + rimWidth / 2, y + rimWidth / 2, w - rimWidth, h - rimWidth,
                  std::max(0.0, r - rimWidth / 2));
        stroke(rim, rimWidth);
    }
    // Gloss on the upper half.
    double inset = rimWidth + 2;
    if (w > 2 * inset + 4 && h > 2 * inset + 4) {
        roundRect(x + inset, y + inset, w - 2 * inset, (h - 2 * inset) * 0.45,
                  std::max(0.0, r - inset));
        fillVertical(hex(0xFFFFFF, 0.28), hex(0xFFFFFF, 0.02), y + inset,
                     y + inset + (h - 2 * inset) * 0.45);
    }
    cairo_new_path(_cr);
}

void Canvas::selectFont(Face face, double size) {
    cairo_font_face_t* f = threadFace(face);
    if (f) {
        cairo_set_font_face(_cr, f);
    } else {
        cairo_select_font_face(_cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    }
    cairo_set_font_size(_cr, size);
}

double Canvas::textWidth(const std::string& utf8, double size, Face face) {
    selectFont(face, size);
    cairo_text_extents_t e;
    cairo_text_extents(_cr, utf8.c_str(), &e);
    return e.x_advance;
}

double Canvas::text(const std::string& utf8, double cx, double cy, double size, const Rgb& color,
                    Face face, double maxWidth, const Rgb* outline, double outlineWidth) {
    if (maxWidth > 0) {
        // Hinted widths do not scale exactly with the size: measure again until it fits.
        for (int i = 0; i < 8; ++i) {
            double w = textWidth(utf8, size, face);
            if (w <= maxWidth) break;
            size *= std::max(0.5, maxWidth / w - 0.01);
        }
    }
    selectFont(face, size);
    cairo_text_extents_t e;
    cairo_text_extents(_cr, utf8.c_str(), &e);
    cairo_font_extents_t fe;
    cairo_font_extents(_cr, &fe);
    // Centre on the advance horizontally and on the cap height vertically, so rows line up.
    double x = cx - e.x_advance / 2;
    double capHeight = size * 0.72;
    double y = cy + capHeight / 2;
    cairo_new_path(_cr);
    cairo_move_to(_cr, x, y);
    cairo_text_path(_cr, utf8.c_str());
    if (outline && outlineWidth > 0) {
        cairo_set_line_join(_cr, CAIRO_LINE_JOIN_ROUND);
        stroke(*outline, outlineWidth * 2);
    }
    fill(color);
    cairo_new_path(_cr);
    return size;
}

bool writeFileAtomic(const std::filesystem::path& file, const void* data, std::size_t size) {
    std::error_code ec;
    std::filesystem::create_directories(file.parent_path(), ec);
    std::filesystem::path tmp = file;
    tmp += ".tmp";
    std::FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f) {
        std::fprintf(stderr, "resgen: cannot write %s\n", tmp.c_str());
        return false;
    }
    bool ok = std::fwrite(data, 1, size, f) == size;
    ok = (std::fclose(f) == 0) && ok;
    if (!ok) {
        std::fprintf(stderr, "resgen: short write on %s\n", tmp.c_str());
        std::filesystem::remove(tmp, ec);
        return false;
    }
    std::filesystem::rename(tmp, file, ec);
    if (ec) {
        std::fprintf(stderr, "resgen: cannot rename %s: %s\n", tmp.c_str(), ec.message().c_str());
        std::filesystem::remove(tmp, ec);
        return false;
    }
    return true;
}

bool Canvas::save(const std::filesystem::path& file) const {
    cairo_surface_flush(_surface);
    std::vector<unsigned char> png;
    png.reserve(std::size_t(_width) * _height);
    if (cairo_surface_write_to_png_stream(_surface, appendBytes, &png) != CAIRO_STATUS_SUCCESS) {
        std::fprintf(stderr, "resgen: cannot encode %s\n", file.c_str());
        return false;
    }
    return writeFileAtomic(file, png.data(), png.size());
}

}  // namespace resgen
