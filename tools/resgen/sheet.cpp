// The contact sheet: every generated picture as a labelled thumbnail on one PNG, for review.
#include "art.h"

#include <algorithm>
#include <cmath>

namespace resgen {

bool writeContactSheet(std::vector<Output::Thumb>& thumbs, const std::filesystem::path& file) {
    const int cellW = 92, cellH = 104, thumb = 84, columns = 24;
    int rows = std::max<int>(1, int((thumbs.size() + columns - 1) / columns));
    bool ok = true;
    {
        Canvas c(columns * cellW, rows * cellH + 40);
        cairo_t* cr = c.cr();
        cairo_rectangle(cr, 0, 0, c.width(), c.height());
        c.fill(hex(0x202430));
        cairo_new_path(cr);
        c.text("Pindrake resources: " + std::to_string(thumbs.size()) + " pictures", c.width() / 2.0,
               20, 18, pal::cream);
        for (size_t i = 0; i < thumbs.size(); ++i) {
            double x0 = double(i % columns) * cellW + (cellW - thumb) / 2.0;
            double y0 = 40 + double(i / columns) * cellH + 2;
            // Checker behind the picture shows its transparency.
            for (int yy = 0; yy < thumb; yy += 8)
                for (int xx = 0; xx < thumb; xx += 8) {
                    cairo_rectangle(cr, x0 + xx, y0 + yy, 8, 8);
                    c.fill(((xx + yy) / 8) % 2 ? hex(0x3A3F4C) : hex(0x4A5060));
                    cairo_new_path(cr);
                }
            cairo_surface_t* s = thumbs[i].surface;
            int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
            cairo_set_source_surface(cr, s, x0 + (thumb - w) / 2.0, y0 + (thumb - h) / 2.0);
            cairo_paint(cr);
            std::string name = thumbs[i].name;
            c.text(name, x0 + thumb / 2.0, y0 + thumb + 9, 7, pal::cream, Face::Regular,
                   cellW - 4);
        }
        ok = c.save(file);
    }
    for (auto& t : thumbs) cairo_surface_destroy(t.surface);
    thumbs.clear();
    return ok;
}

}  // namespace resgen
