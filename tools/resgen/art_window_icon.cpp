// The window's icon: two fanned cards and a pin on a navy tile, the game in one glance. It is
// not a file of Resources but one of the program's own resources: written as a C++ source of
// pixels that the build compiles into the executable (platform/executable_icon.h).
#include "art.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace resgen {

namespace {

constexpr int kIconSize = 64;

// A card tilted by angle about its centre, its suit drawn at (pipX, pipY) from the middle: the
// back card shows its pip in the corner the front card leaves free.
void iconCard(Canvas& c, double cx, double cy, double angle, const char* suit, const Rgb& ink, double pipX, double pipY, double pipSize) {
    cairo_t* cr = c.cr();
    const double w = 25, h = 36;
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, angle);
    c.roundRect(-w / 2 + 1, -h / 2 + 2, w, h, 4);
    c.fill(hex(0x000000, 0.35));
    c.roundRect(-w / 2, -h / 2, w, h, 4);
    c.fillVertical(pal::white, pal::creamDark, -h / 2, h / 2);
    c.stroke(pal::ink, 1.4);
    cairo_new_path(cr);
    c.text(suit, pipX, pipY, pipSize, ink, Face::Sans);
    cairo_restore(cr);
}

// Cairo keeps premultiplied 0xAARRGGBB words; the program takes straight RGBA bytes.
std::vector<std::uint8_t> straightRgba(const Canvas& c) {
    cairo_surface_flush(c.surface());
    const unsigned char* data = cairo_image_surface_get_data(c.surface());
    const int stride = cairo_image_surface_get_stride(c.surface());
    std::vector<std::uint8_t> rgba;
    rgba.reserve(std::size_t(c.width()) * c.height() * 4);
    for (int y = 0; y < c.height(); ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + std::size_t(y) * stride);
        for (int x = 0; x < c.width(); ++x) {
            const std::uint32_t p = row[x];
            const unsigned a = p >> 24;
            for (int shift : {16, 8, 0}) {
                const unsigned v = (p >> shift) & 0xFF;
                rgba.push_back(a == 0 ? 0 : std::uint8_t(std::min(255u, (v * 255 + a / 2) / a)));
            }
            rgba.push_back(std::uint8_t(a));
        }
    }
    return rgba;
}

std::string pixelSource(const std::vector<std::uint8_t>& rgba, int width, int height) {
    std::string s =
        "// Written by tools/resgen at build time: the window's icon, compiled into the program.\n"
        "#include <cstdint>\n\n#include \"platform/executable_icon.h\"\n\nnamespace {\n\n"
        "const std::uint8_t kPixels[] = {";
    char hexByte[8];
    for (std::size_t i = 0; i < rgba.size(); ++i) {
        if (i % 16 == 0) s += "\n    ";
        std::snprintf(hexByte, sizeof hexByte, "0x%02X,", rgba[i]);
        s += hexByte;
    }
    s += "\n};\n\nconst platform::ExecutableIconRegistrar gWindowIcon(kPixels, " + std::to_string(width) + ", " +
         std::to_string(height) + ");\n\n}  // namespace\n";
    return s;
}

}  // namespace

void drawWindowIcon(Canvas& c) {
    const double s = c.width();
    cairo_save(c.cr());
    cairo_scale(c.cr(), s / kIconSize, s / kIconSize);
    c.roundRect(2, 2, 60, 60, 13);
    c.fillRadial(pal::navyLight, pal::navyDeep, 22, 18, 56);
    c.stroke(pal::amber, 2.5);
    cairo_new_path(c.cr());
    iconCard(c, 19, 30, -0.32, "\u2665", pal::red, -5.5, -8, 15);
    iconCard(c, 32, 27, 0.05, "\u2660", pal::ink, 0, 1, 22);
    pin(c, 47, 58, 46, pal::white, pal::red);
    cairo_restore(c.cr());
}

bool writeWindowIcon(const std::filesystem::path& source) {
    Canvas c(kIconSize, kIconSize);
    drawWindowIcon(c);
    const std::string text = pixelSource(straightRgba(c), c.width(), c.height());
    std::filesystem::path preview = source;
    preview.replace_extension(".png");
    return writeFileAtomic(source, text.data(), text.size()) && c.save(preview);
}

}  // namespace resgen
