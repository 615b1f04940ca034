// The drawing helpers the pictures rely on.
#include <gtest/gtest.h>

#include <cstdint>

#include "art.h"

namespace {

std::uint32_t pixel(resgen::Canvas& c, int x, int y) {
    cairo_surface_flush(c.surface());
    auto* data = cairo_image_surface_get_data(c.surface());
    int stride = cairo_image_surface_get_stride(c.surface());
    return reinterpret_cast<std::uint32_t*>(data + y * stride)[x];
}

}  // namespace

TEST(ButtonStrip, EachFrameStaysInsideItsOwnCell) {
    // A frame that paints far beyond its size must not spill into its neighbours.
    resgen::Canvas c(5 * 20, 10);
    resgen::buttonStrip(c, 20, 10, [](resgen::Canvas& cc, int state) {
        cairo_rectangle(cc.cr(), -100, -100, 400, 400);
        cc.fill(resgen::hex(0x100000u * std::uint32_t(state + 1)));
        cairo_new_path(cc.cr());
    });
    for (int s = 0; s < 5; ++s) {
        std::uint32_t expected = 0xFF000000u | (0x100000u * std::uint32_t(s + 1));
        EXPECT_EQ(pixel(c, s * 20, 0), expected) << "left edge of frame " << s;
        EXPECT_EQ(pixel(c, s * 20 + 19, 9), expected) << "right edge of frame " << s;
    }
}

TEST(CanvasText, ShrinksToTheWidthItIsGiven) {
    ASSERT_TRUE(resgen::fontsAvailable());
    resgen::Canvas c(200, 40);
    const std::string label = "A rather long button label";
    double size = c.text(label, 100, 20, 30, resgen::pal::ink, resgen::Face::Sans, 120);
    EXPECT_LT(size, 30);
    EXPECT_LE(c.textWidth(label, size), 120.5);
    // A short label keeps its size.
    EXPECT_DOUBLE_EQ(c.text("OK", 100, 20, 30, resgen::pal::ink, resgen::Face::Sans, 120), 30);
}

TEST(CanvasText, DrawsInkAroundTheCentreItIsGiven) {
    resgen::Canvas c(100, 40);
    c.text("M", 50, 20, 24, resgen::pal::black);
    EXPECT_NE(pixel(c, 50, 20) >> 24, 0u) << "the middle of the letter is inked";
    EXPECT_EQ(pixel(c, 5, 20) >> 24, 0u) << "far left stays clear";
    EXPECT_EQ(pixel(c, 95, 20) >> 24, 0u) << "far right stays clear";
}

TEST(Colours, MixingAndGreyingStayInRange) {
    resgen::Rgb m = resgen::mix(resgen::pal::navy, resgen::pal::amber, 0.5);
    EXPECT_GT(m.r, resgen::pal::navy.r);
    EXPECT_LT(m.r, resgen::pal::amber.r);
    for (const auto& c : {resgen::pal::red, resgen::pal::white, resgen::pal::black, resgen::pal::gold}) {
        resgen::Rgb g = resgen::grey(c);
        EXPECT_DOUBLE_EQ(g.r, g.g);
        EXPECT_DOUBLE_EQ(g.g, g.b);
        EXPECT_GE(g.r, 0.0);
        EXPECT_LE(g.r, 1.0);
    }
}
