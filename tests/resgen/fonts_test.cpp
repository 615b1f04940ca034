// The baked bitmap fonts: what the game's font loader reads from each description must hold.
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>

#include "fonts.h"

namespace fs = std::filesystem;

namespace {

const fs::path kFonts = fs::path(PINDRAKE_RESOURCES_DIR) / "font";

// Description -> its page images (every colour the font table asks for).
const std::map<std::string, std::vector<std::string>> kPages = {
    {"font20.fnt", {"font20_0.png", "font20_0_red.png", "font20_0_white.png"}},
    {"font33.fnt", {"font33_0.png", "font33_0_red.png"}},
    {"font36.fnt", {"font36_0_orange.png", "font36_0_red.png"}},
    {"font42.fnt", {"font42_0.png"}},
    {"font62.fnt", {"font62_0.png"}},
    {"font80.fnt", {"font80_0.png"}},
};

// The most negative spacing the font table gives each description.
const std::map<std::string, int> kWorstSpacing = {
    {"font20.fnt", -8}, {"font33.fnt", -7}, {"font36.fnt", -6},
    {"font42.fnt", -5}, {"font62.fnt", -5}, {"font80.fnt", 0},
};

struct Glyph {
    int x, y, w, h, top;
};

bool pngSize(const fs::path& file, int& w, int& h) {
    std::ifstream in(file, std::ios::binary);
    unsigned char b[24];
    if (!in.read(reinterpret_cast<char*>(b), 24)) return false;
    if (b[1] != 'P' || b[2] != 'N' || b[3] != 'G') return false;
    w = (b[16] << 24) | (b[17] << 16) | (b[18] << 8) | b[19];
    h = (b[20] << 24) | (b[21] << 16) | (b[22] << 8) | b[23];
    return true;
}

std::map<int, Glyph> readGlyphs(const pugi::xml_document& doc, int& count, int& elements) {
    std::map<int, Glyph> glyphs;
    pugi::xml_node chars = doc.child("font").child("chars");
    count = chars.attribute("count").as_int(-1);
    elements = 0;
    for (pugi::xml_node c = chars.child("char"); c; c = c.next_sibling("char")) {
        ++elements;
        glyphs[c.attribute("id").as_int()] = {c.attribute("x").as_int(), c.attribute("y").as_int(),
                                              c.attribute("width").as_int(), c.attribute("height").as_int(),
                                              c.attribute("yoffset").as_int()};
    }
    return glyphs;
}

}  // namespace

TEST(GeneratedFonts, DescriptionsParseAndCountTheirGlyphs) {
    for (const auto& [fnt, pages] : kPages) {
        SCOPED_TRACE(fnt);
        pugi::xml_document doc;
        ASSERT_TRUE(doc.load_file((kFonts / fnt).c_str())) << "cannot parse";
        pugi::xml_node font = doc.child("font");
        ASSERT_TRUE(font);
        EXPECT_GT(font.child("common").attribute("lineHeight").as_int(), 0);
        pugi::xml_node page = font.child("pages").first_child();
        ASSERT_TRUE(page);
        EXPECT_TRUE(fs::is_regular_file(kFonts / page.attribute("file").as_string()));
        int count = 0, elements = 0;
        auto glyphs = readGlyphs(doc, count, elements);
        EXPECT_EQ(count, elements) << "the loader logs a mismatch";
        EXPECT_EQ(size_t(elements), glyphs.size()) << "no id twice";
    }
}

TEST(GeneratedFonts, ColourPagesShareOneSizeAndHoldEveryGlyph) {
    for (const auto& [fnt, pages] : kPages) {
        SCOPED_TRACE(fnt);
        int w0 = 0, h0 = 0;
        ASSERT_TRUE(pngSize(kFonts / pages.front(), w0, h0));
        for (const auto& p : pages) {
            int w = 0, h = 0;
            ASSERT_TRUE(pngSize(kFonts / p, w, h)) << p;
            EXPECT_EQ(w, w0) << p;
            EXPECT_EQ(h, h0) << p;
        }
        pugi::xml_document doc;
        ASSERT_TRUE(doc.load_file((kFonts / fnt).c_str()));
        int count, elements;
        for (const auto& [id, g] : readGlyphs(doc, count, elements)) {
            EXPECT_GE(g.x, 0) << id;
            EXPECT_GE(g.y, 0) << id;
            EXPECT_LE(g.x + g.w, w0) << id;
            EXPECT_LE(g.y + g.h, h0) << id;
        }
    }
}

TEST(GeneratedFonts, SpaceIsLowestAndEveryGlyphAdvances) {
    for (const auto& [fnt, pages] : kPages) {
        SCOPED_TRACE(fnt);
        pugi::xml_document doc;
        ASSERT_TRUE(doc.load_file((kFonts / fnt).c_str()));
        int count, elements;
        auto glyphs = readGlyphs(doc, count, elements);
        ASSERT_FALSE(glyphs.empty());
        // The lowest id sets every glyph's pivot; it must be the blank, and wide enough to
        // advance after the font table's spacing.
        EXPECT_EQ(glyphs.begin()->first, 32);
        int spacing = kWorstSpacing.at(fnt);
        for (const auto& [id, g] : glyphs) EXPECT_GT(g.w + spacing, 0) << "glyph " << id << " would not advance";
        // The blank is one line tall; every other cell is the part of such a line its ink
        // reaches, placed by its offset, so lines sit on one baseline.
        const Glyph& line = glyphs.begin()->second;
        EXPECT_EQ(line.top, 0);
        for (const auto& [id, g] : glyphs) {
            EXPECT_GE(g.top, 0) << id;
            EXPECT_LE(g.top + g.h, line.h) << id;
        }
    }
}

// The finish window shows its headline on the title plate of the window's background (at most
// 360 pixels wide, its rim included), in the font of size 42 with the font table's spacing.
TEST(GeneratedFonts, FinishWindowHeadlinesFitItsTitlePlate) {
    constexpr int kPlateInside = 340;
    pugi::xml_document font;
    ASSERT_TRUE(font.load_file((kFonts / "font42.fnt").c_str()));
    int count, elements;
    const auto glyphs = readGlyphs(font, count, elements);
    pugi::xml_document texts;
    ASSERT_TRUE(texts.load_file((fs::path(PINDRAKE_RESOURCES_DIR) / "texts" / "texts.xml").c_str()));
    const auto text = [&texts](const char* key) {
        return std::string(texts.child("texts").child(key).attribute("text").as_string());
    };
    std::string knockedDown = text("knocked_down");
    knockedDown.replace(knockedDown.find("%number"), 7, "10");
    for (const std::string& headline : {text("hint_22"), text("hint_23"), knockedDown + "!"}) {
        int width = 0;
        for (unsigned char c : headline) width += glyphs.at(c).w + kWorstSpacing.at("font42.fnt");
        EXPECT_LE(width, kPlateInside) << headline;
    }
}

TEST(GeneratedFonts, CoverAsciiLatin1TheCaretAndTheTexts) {
    std::set<int> wanted;
    for (int c = 32; c <= 126; ++c) wanted.insert(c);
    for (int c = 160; c <= 255; ++c) wanted.insert(c);
    wanted.insert('|');
    // Every character the texts use, and the typographic marks a translator may add.
    for (std::uint32_t c : resgen::fontCharacters(fs::path(PINDRAKE_RESOURCES_DIR))) wanted.insert(int(c));
    for (const auto& [fnt, pages] : kPages) {
        pugi::xml_document doc;
        ASSERT_TRUE(doc.load_file((kFonts / fnt).c_str()));
        int count, elements;
        auto glyphs = readGlyphs(doc, count, elements);
        for (int c : wanted) EXPECT_TRUE(glyphs.count(c)) << fnt << " lacks U+" << std::hex << c;
    }
}

TEST(FontCharacters, TakeEveryCharacterOfTheTexts) {
    fs::path dir = fs::temp_directory_path() / ("resgen_chars_" + std::to_string(::getpid()));
    fs::create_directories(dir / "texts");
    {
        std::ofstream out(dir / "texts" / "texts.xml", std::ios::binary);
        out << "<texts><a text=\"Stra\xC3\x9F" "e \xE2\x82\xAC \xCE\xA9\"/></texts>";  // ß € Ω
    }
    auto chars = resgen::fontCharacters(dir);
    std::set<std::uint32_t> set(chars.begin(), chars.end());
    EXPECT_TRUE(set.count(0xDF));
    EXPECT_TRUE(set.count(0x20AC));
    EXPECT_TRUE(set.count(0x3A9)) << "a character outside the base set comes from the texts";
    EXPECT_TRUE(set.count('|'));
    EXPECT_EQ(*set.begin(), 32u) << "nothing below the blank";
    fs::remove_all(dir);
}

TEST(FontCharacters, WithoutTextsTheBaseSetRemains) {
    auto chars = resgen::fontCharacters(fs::temp_directory_path() / "resgen_no_such_folder");
    std::set<std::uint32_t> set(chars.begin(), chars.end());
    for (std::uint32_t c = 32; c <= 126; ++c) EXPECT_TRUE(set.count(c)) << c;
    for (std::uint32_t c = 160; c <= 255; ++c) EXPECT_TRUE(set.count(c)) << c;
}
