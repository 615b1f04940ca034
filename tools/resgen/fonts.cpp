// Bakes the bitmap fonts: BMFont XML descriptions and their coloured page images.
// Every glyph cell is as wide as its advance and carries its own padding, because the game
// advances by the cell width plus a small negative spacing and applies neither xoffset nor
// kerning. Down the line the game does apply yoffset: a cell keeps only the rows its ink (and
// outline) reaches, with one clear row above and below, so the page holds no empty line
// space, and the quad drawn from it lands exactly where that part of a whole line-tall cell
// would. Pixels of a whole cell beyond those rows were clear and blended to nothing.
#include "art.h"
#include "fonts.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

namespace resgen {

namespace {

struct PageColor {
    const char* suffix;  // "" for the plain page
    Rgb top, bottom, outline;
};

struct FontStyle {
    const char* name;
    int pixelSize;
    int pad;      // matches the font table's spacing, so text sits evenly
    int outline;  // outline radius in pixels
    std::vector<PageColor> pages;
    // The strike mark "X" a size larger than the other capitals: the score sheet's small marks
    // would otherwise read as a lower-case x beside its numbers.
    double strikeMarkScale = 1.0;
};

const PageColor kPlain{"", hex(0xFFF9EA), hex(0xF1D9A6), hex(0x2A1608, 0.9)};
const PageColor kRed{"_red", hex(0xFF7258), hex(0xC61E12), hex(0x2A0804, 0.9)};
const PageColor kWhite{"_white", hex(0xFFFFFF), hex(0xFFFFFF), hex(0x14213F, 0.85)};
const PageColor kOrange{"_orange", hex(0xFFDA73), hex(0xF2850C), hex(0x3A1A04, 0.9)};

const std::vector<FontStyle>& fontStyles() {
    static const std::vector<FontStyle> s = {
        {"font20", 20, 7, 1, {kPlain, kRed, kWhite}, 1.2},
        {"font33", 33, 6, 2, {kPlain, kRed}},
        {"font36", 36, 6, 2, {kOrange, kRed}},
        {"font42", 42, 5, 2, {kPlain}},
        {"font62", 62, 5, 3, {kPlain}},
        {"font80", 80, 6, 3, {kPlain}},
    };
    return s;
}

void decodeUtf8(const std::string& s, std::set<std::uint32_t>& out) {
    for (size_t i = 0; i < s.size();) {
        unsigned char c = s[i];
        std::uint32_t cp;
        int extra;
        if (c < 0x80) { cp = c; extra = 0; }
        else if ((c & 0xE0) == 0xC0) { cp = c & 0x1F; extra = 1; }
        else if ((c & 0xF0) == 0xE0) { cp = c & 0x0F; extra = 2; }
        else if ((c & 0xF8) == 0xF0) { cp = c & 0x07; extra = 3; }
        else { ++i; continue; }
        if (extra > 0 && i + extra >= s.size()) break;
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            unsigned char d = s[i + k];
            if ((d & 0xC0) != 0x80) { ok = false; break; }
            cp = (cp << 6) | (d & 0x3F);
        }
        i += ok ? extra + 1 : 1;
        if (ok && cp >= 32 && cp < 0x10000) out.insert(cp);
    }
}

struct GlyphBitmap {
    std::uint32_t id;
    int cellW;
    int x = 0, y = 0;
    int advance;
    std::vector<unsigned char> coverage;  // cellW x cellH
    int top = 0, rows = 0;                // the rows of the line-tall cell the page keeps
};

// The rows of the cell the page keeps: from one clear row above the ink and outline to one
// below. A bilinear sample drawn outside those rows reads clear texels only, so a pixel
// outside the cropped quad was left unchanged by the whole cell too. The blank keeps the
// whole cell: the lowest glyph's size sets every glyph's pivot.
void keepInkedRows(GlyphBitmap& g, const std::vector<unsigned char>& rim, int cellH) {
    if (g.id == 32) {
        g.top = 0;
        g.rows = cellH;
        return;
    }
    int first = cellH, last = -1;
    for (int y = 0; y < cellH; ++y) {
        for (int x = 0; x < g.cellW; ++x) {
            if (rim[size_t(y) * g.cellW + x] != 0) {
                first = std::min(first, y);
                last = y;
                break;
            }
        }
    }
    if (last < 0) {  // no ink at all: one clear row
        g.top = 0;
        g.rows = 1;
        return;
    }
    g.top = std::max(0, first - 1);
    g.rows = std::min(cellH, last + 2) - g.top;
}

// Shelves of cells sorted by height, tallest first, at the page width that gives the
// smallest page; returns the page's size.
void packShelves(std::vector<GlyphBitmap>& glyphs, int gap, int& pageW, int& pageH) {
    std::vector<GlyphBitmap*> order;
    long area = 0;
    int widest = 0;
    for (auto& g : glyphs) {
        order.push_back(&g);
        area += long(g.cellW + gap) * (g.rows + gap);
        widest = std::max(widest, g.cellW + 2 * gap);
    }
    std::stable_sort(order.begin(), order.end(),
                     [](const GlyphBitmap* a, const GlyphBitmap* b) { return a->rows > b->rows; });
    auto place = [&](int width, bool keep) {
        int x = gap, y = gap, shelf = 0;
        for (GlyphBitmap* g : order) {
            if (x + g->cellW + gap > width) {
                x = gap;
                y += shelf + gap;
                shelf = 0;
            }
            if (keep) {
                g->x = x;
                g->y = y;
            }
            shelf = std::max(shelf, g->rows);
            x += g->cellW + gap;
        }
        return ((y + shelf + gap) + 3) / 4 * 4;
    };
    const int side = int(std::ceil(std::sqrt(double(area)) / 16.0)) * 16;
    long best = -1;
    for (int width = std::max(widest, side * 3 / 4) / 16 * 16 + 16; width <= side * 3 / 2; width += 16) {
        const long pageArea = long(width) * place(width, false);
        if (best < 0 || pageArea < best) {
            best = pageArea;
            pageW = width;
        }
    }
    pageH = place(pageW, true);
}

}  // namespace

std::vector<std::uint32_t> fontCharacters(const std::filesystem::path& resources) {
    std::set<std::uint32_t> set;
    for (std::uint32_t c = 32; c <= 126; ++c) set.insert(c);
    for (std::uint32_t c = 160; c <= 0x17F; ++c) set.insert(c);  // Latin-1 and Latin Extended-A
    // Cyrillic, so names typed on a Cyrillic keyboard can be written.
    for (std::uint32_t c = 0x400; c <= 0x45F; ++c) set.insert(c);
    for (std::uint32_t c : {0x490u, 0x491u}) set.insert(c);
    for (std::uint32_t c : {0x2013u, 0x2014u, 0x2018u, 0x2019u, 0x201Au, 0x201Cu, 0x201Du, 0x201Eu,
                            0x2022u, 0x2026u, 0x20ACu, 0x2122u})
        set.insert(c);
    std::ifstream in(resources / "texts" / "texts.xml", std::ios::binary);
    if (in) {
        std::string s((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        decodeUtf8(s, set);
    }
    return {set.begin(), set.end()};
}

namespace {

bool bakeFont(const FontStyle& style, const std::vector<std::uint32_t>& chars, Output& out) {
    FT_Library lib;
    if (FT_Init_FreeType(&lib) != 0) {
        std::fprintf(stderr, "resgen: FreeType could not start\n");
        return false;
    }
    FT_Face face;
    if (FT_New_Face(lib, fontFile(Face::Sans).c_str(), 0, &face) != 0) {
        std::fprintf(stderr, "resgen: cannot open %s: install fonts-dejavu-core\n",
                     fontFile(Face::Sans).c_str());
        FT_Done_FreeType(lib);
        return false;
    }
    FT_Set_Pixel_Sizes(face, 0, style.pixelSize);
    int ascender = int(std::ceil(face->size->metrics.ascender / 64.0));
    int descender = int(std::ceil(-face->size->metrics.descender / 64.0));
    int lineGap = int(std::lround(face->size->metrics.height / 64.0));
    int r = style.outline;
    int cellH = ascender + descender + 2 * r;
    int baseline = r + ascender;
    int lineHeight = std::max(lineGap, cellH - r);

    std::vector<GlyphBitmap> glyphs;
    for (std::uint32_t ch : chars) {
        FT_UInt index = FT_Get_Char_Index(face, ch);
        if (index == 0) continue;
        const bool strikeMark = ch == 'X' && style.strikeMarkScale != 1.0;
        if (strikeMark) FT_Set_Pixel_Sizes(face, 0, FT_UInt(std::lround(style.pixelSize * style.strikeMarkScale)));
        const FT_Error loaded = FT_Load_Glyph(face, index, FT_LOAD_RENDER);
        if (strikeMark) FT_Set_Pixel_Sizes(face, 0, style.pixelSize);
        if (loaded != 0) continue;
        FT_GlyphSlot g = face->glyph;
        GlyphBitmap gb;
        gb.id = ch;
        gb.advance = int((g->advance.x + 32) >> 6);
        int pad = std::max(style.pad, 2 * r);
        gb.cellW = std::max(1, gb.advance + pad);
        if (ch == 32) gb.cellW = std::max(gb.cellW, style.pixelSize / 3 + pad);
        gb.coverage.assign(size_t(gb.cellW) * cellH, 0);
        int ox = pad / 2 + g->bitmap_left;
        int oy = baseline - g->bitmap_top;
        for (unsigned row = 0; row < g->bitmap.rows; ++row) {
            for (unsigned col = 0; col < g->bitmap.width; ++col) {
                int x = ox + int(col), y = oy + int(row);
                if (x < 0 || y < 0 || x >= gb.cellW || y >= cellH) continue;
                gb.coverage[size_t(y) * gb.cellW + x] =
                    g->bitmap.buffer[row * g->bitmap.pitch + col];
            }
        }
        glyphs.push_back(std::move(gb));
    }
    FT_Done_Face(face);
    FT_Done_FreeType(lib);
    if (glyphs.empty()) return false;

    // Outline coverage: the ink dilated by a disc of radius r.
    std::vector<std::vector<unsigned char>> rim(glyphs.size());
    for (size_t i = 0; i < glyphs.size(); ++i) {
        const auto& g = glyphs[i];
        auto& o = rim[i];
        o.assign(g.coverage.size(), 0);
        for (int yy = 0; yy < cellH; ++yy) {
            for (int xx = 0; xx < g.cellW; ++xx) {
                int best = 0;
                for (int dy = -r; dy <= r; ++dy) {
                    int sy = yy + dy;
                    if (sy < 0 || sy >= cellH) continue;
                    for (int dx = -r; dx <= r; ++dx) {
                        if (dx * dx + dy * dy > r * r + r) continue;
                        int sx = xx + dx;
                        if (sx < 0 || sx >= g.cellW) continue;
                        best = std::max<int>(best, g.coverage[size_t(sy) * g.cellW + sx]);
                    }
                }
                o[size_t(yy) * g.cellW + xx] = (unsigned char)best;
            }
        }
    }
    for (size_t i = 0; i < glyphs.size(); ++i) keepInkedRows(glyphs[i], rim[i], cellH);
    const int gap = 2;
    int pageW = 0, pageH = 0;
    packShelves(glyphs, gap, pageW, pageH);

    std::string base = style.name;
    for (const auto& page : style.pages) {
        Canvas c(pageW, pageH);
        cairo_surface_flush(c.surface());
        unsigned char* data = cairo_image_surface_get_data(c.surface());
        int stride = cairo_image_surface_get_stride(c.surface());
        for (size_t i = 0; i < glyphs.size(); ++i) {
            const auto& g = glyphs[i];
            for (int yy = g.top; yy < g.top + g.rows; ++yy) {
                double t = std::clamp(double(yy - r) / std::max(1, ascender), 0.0, 1.0);
                Rgb fillc = mix(page.top, page.bottom, t);
                auto* row = reinterpret_cast<std::uint32_t*>(data + size_t(g.y + yy - g.top) * stride);
                for (int xx = 0; xx < g.cellW; ++xx) {
                    double a = g.coverage[size_t(yy) * g.cellW + xx] / 255.0;
                    double o = rim[i][size_t(yy) * g.cellW + xx] / 255.0 * page.outline.a;
                    // Fill over outline, premultiplied.
                    double outA = a + o * (1 - a);
                    double pr = fillc.r * a + page.outline.r * o * (1 - a);
                    double pg = fillc.g * a + page.outline.g * o * (1 - a);
                    double pb = fillc.b * a + page.outline.b * o * (1 - a);
                    auto q = [](double v) { return std::uint32_t(std::lround(std::clamp(v, 0.0, 1.0) * 255)); };
                    row[g.x + xx] = (q(outA) << 24) | (q(pr) << 16) | (q(pg) << 8) | q(pb);
                }
            }
        }
        cairo_surface_mark_dirty(c.surface());
        if (!out.save(c, "font/" + base + "_0" + page.suffix + ".png")) return false;
    }

    std::ostringstream xml;
    xml << "<?xml version=\"1.0\"?>\n<font>\n";
    xml << "  <info face=\"DejaVu Sans Bold\" size=\"" << style.pixelSize
       << "\" bold=\"1\" italic=\"0\" unicode=\"1\" smooth=\"1\" aa=\"1\" outline=\"" << r << "\"/>\n";
    xml << "  <common lineHeight=\"" << lineHeight << "\" base=\"" << baseline << "\" scaleW=\""
       << pageW << "\" scaleH=\"" << pageH << "\" pages=\"1\" packed=\"0\"/>\n";
    xml << "  <pages>\n    <page id=\"0\" file=\"" << base << "_0" << style.pages.front().suffix
       << ".png\"/>\n  </pages>\n";
    xml << "  <chars count=\"" << glyphs.size() << "\">\n";
    for (const auto& g : glyphs) {
        xml << "    <char id=\"" << g.id << "\" x=\"" << g.x << "\" y=\"" << g.y << "\" width=\""
           << g.cellW << "\" height=\"" << g.rows << "\" xoffset=\"0\" yoffset=\"" << g.top
           << "\" xadvance=\"" << g.cellW << "\" page=\"0\" chnl=\"15\"/>\n";
    }
    xml << "  </chars>\n</font>\n";
    return out.writeText("font/" + base + ".fnt", xml.str());
}

}  // namespace

void addFontJobs(std::vector<Job>& jobs) {
    // The large fonts first: they take longest.
    for (auto it = fontStyles().rbegin(); it != fontStyles().rend(); ++it) {
        const FontStyle* style = &*it;
        jobs.push_back({std::string("font ") + style->name, [style](Output& out) {
                            return bakeFont(*style, fontCharacters(out.root()), out);
                        }});
    }
}

}  // namespace resgen
