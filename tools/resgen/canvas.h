#pragma once
// Drawing helpers shared by every picture of the generator: a cairo canvas with the game's
// palette, rounded shapes, gradients, text in the free DejaVu fonts and atomic PNG output.
#include <cairo.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace resgen {

struct Rgb {
    double r = 0, g = 0, b = 0, a = 1;
};

Rgb hex(std::uint32_t rgb, double alpha = 1.0);
Rgb mix(const Rgb& a, const Rgb& b, double t);
Rgb lighter(const Rgb& c, double amount);  // towards white
Rgb darker(const Rgb& c, double amount);   // towards black
Rgb grey(const Rgb& c);                    // desaturated and dimmed: disabled look
Rgb withAlpha(const Rgb& c, double a);

// The bowling-alley palette every picture takes its colours from.
namespace pal {
extern const Rgb wood, woodDark, woodLight, amber, amberLight, navy, navyDeep, navyLight, cream,
    creamDark, red, redDark, green, greenDark, gold, goldDark, silver, bronze, ink, white, black;
}

enum class Face { Sans, Regular, Serif };  // DejaVu Sans Bold, DejaVu Sans, DejaVu Serif Bold

// Checks that the fonts exist; prints what to install when they do not.
bool fontsAvailable();
std::filesystem::path fontFile(Face face);

class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* cr() const { return _cr; }
    cairo_surface_t* surface() const { return _surface; }
    int width() const { return _width; }
    int height() const { return _height; }

    // Paths (the current path is replaced).
    void roundRect(double x, double y, double w, double h, double r);
    void circle(double cx, double cy, double r);

    // Fill or stroke the current path, keeping it.
    void fill(const Rgb& c);
    void fillVertical(const Rgb& top, const Rgb& bottom, double y0, double y1);
    void fillRadial(const Rgb& inner, const Rgb& outer, double cx, double cy, double r);
    void stroke(const Rgb& c, double width);

    // A rounded plate with a soft shadow, a gradient body, a rim and a gloss line.
    void plate(double x, double y, double w, double h, double r, const Rgb& top, const Rgb& bottom,
               const Rgb& rim, double rimWidth = 2.0, bool shadow = true);

    // Text centred on (cx, cy); shrinks to maxWidth when given. Returns the size used.
    double text(const std::string& utf8, double cx, double cy, double size, const Rgb& color,
                Face face = Face::Sans, double maxWidth = 0, const Rgb* outline = nullptr,
                double outlineWidth = 0);
    double textWidth(const std::string& utf8, double size, Face face = Face::Sans);

    // Writes the picture as PNG under a temporary name and renames it into place.
    bool save(const std::filesystem::path& file) const;

private:
    void selectFont(Face face, double size);

    int _width, _height;
    cairo_surface_t* _surface;
    cairo_t* _cr;
};

// Writes bytes under a temporary name next to the file, then renames it into place.
bool writeFileAtomic(const std::filesystem::path& file, const void* data, std::size_t size);

// Small deterministic random numbers for texture details (same pictures on every run).
class Rand {
public:
    explicit Rand(std::uint32_t seed) : _state(seed * 2654435761u + 1u) {}
    std::uint32_t next() {
        _state ^= _state << 13;
        _state ^= _state >> 17;
        _state ^= _state << 5;
        return _state;
    }
    double uniform() { return (next() & 0xFFFFFF) / double(0x1000000); }
    double range(double lo, double hi) { return lo + (hi - lo) * uniform(); }

private:
    std::uint32_t _state;
};

}  // namespace resgen
