// Bitmap font: reading the description, glyph table, metrics and formatted-text limits.
// None of these draw on a device.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "engine/log.h"
#include "primitives/font.h"
#include "support.h"

using namespace QEL;
using primitives_test::GlyphSpec;

namespace {

// Page 64 x 32; line height 12. The blank has no width, as BMFont writes it.
const std::vector<GlyphSpec> kGlyphs = {
    {65, 0, 0, 8, 10, 0, 2},   // A
    {66, 8, 0, 6, 10, 0, 1},   // B
    {67, 14, 0, 9, 11, 0, 0},  // C
    {32, 0, 20, 0, 0, 0, 0},   // blank
};

class FontTest : public ::testing::Test {
 protected:
  std::unique_ptr<QC_FONT> load(const std::string& xml, int size = 600) {
    _doc.load_string(xml.c_str());
    return std::make_unique<QC_FONT>(_doc.child("font"), _page.get(), size);
  }
  std::unique_ptr<QC_TEXTURE> _page{primitives_test::makeSizedTexture(64, 32)};
  pugi::xml_document _doc;
};

TEST_F(FontTest, ReadsGlyphRectanglesAndSettingsFromTheDescription) {
  auto font = load(primitives_test::fontXml(kGlyphs, 12));
  EXPECT_EQ(font->_glyphCount, 4);
  EXPECT_EQ(font->fGetLineHeight(), 12);
  EXPECT_EQ(font->_anchor, 1);
  EXPECT_EQ(font->_fixedWidth, 20);
  EXPECT_EQ(font->_spacing, 0);
  EXPECT_EQ(font->_pageWidth, 64);
  EXPECT_EQ(font->_pageHeight, 32);
  EXPECT_EQ(font->_capacity, 2400);
  const QS_GLYPH* b = font->fGetGlyph('B');
  ASSERT_NE(b, nullptr);
  EXPECT_FLOAT_EQ(b->left, 8.0f / 64.0f);
  EXPECT_FLOAT_EQ(b->top, 0.0f);
  EXPECT_FLOAT_EQ(b->right, 14.0f / 64.0f);
  EXPECT_FLOAT_EQ(b->bottom, 10.0f / 32.0f);
  EXPECT_EQ(b->width, 6);
  EXPECT_EQ(b->yoffset, 1);
  EXPECT_EQ(font->fGetFirstGlyph()->id, 32);
}

TEST_F(FontTest, PivotIsHalfTheLowestGlyphInWholePixels) {
  auto font = load(primitives_test::fontXml({{67, 14, 0, 9, 11, 0, 0}, {68, 0, 0, 20, 20, 0, 0}}, 12));
  EXPECT_EQ(font->_sprite->_width, 9);
  EXPECT_EQ(font->_sprite->_height, 11);
  EXPECT_FLOAT_EQ(font->_sprite->_node->_pivot.x, 4.0f);
  EXPECT_FLOAT_EQ(font->_sprite->_node->_pivot.y, 5.0f);
}

TEST_F(FontTest, WrongCountIsLoggedAndLoadingGoesOn) {
  primitives_test::LogRecorder log;
  auto font = load(primitives_test::fontXml(kGlyphs, 12, 7));
  EXPECT_TRUE(log.contains(" Count chars 4 not concide with chars count"));
  EXPECT_FALSE(log.contains("error loading font"));
  EXPECT_NE(font->fGetGlyph('A'), nullptr);
}

TEST_F(FontTest, LaterGlyphWithTheSameIdWinsAndBothAreCounted) {
  auto font = load(primitives_test::fontXml({{65, 0, 0, 8, 10, 0, 0}, {65, 16, 0, 5, 10, 0, 0}}, 12));
  EXPECT_EQ(font->_glyphCount, 2);
  EXPECT_EQ(font->_glyphs.size(), 1u);
  EXPECT_EQ(font->fGetGlyphWidth('A'), 5);
}

TEST_F(FontTest, MissingAttributesReadAsZero) {
  auto font = load(
      "<font><common/><chars count=\"2\"><char id=\"65\" width=\"7\"/><char x=\"3\"/></chars></font>");
  ASSERT_EQ(font->_glyphCount, 2);
  EXPECT_EQ(font->fGetLineHeight(), 0);
  const QS_GLYPH* a = font->fGetGlyph('A');
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->height, 0);
  EXPECT_EQ(a->yoffset, 0);
  EXPECT_FLOAT_EQ(a->right, 7.0f / 64.0f);
  ASSERT_NE(font->fGetGlyph(0), nullptr);  // the char without an id
  EXPECT_FLOAT_EQ(font->fGetGlyph(0)->left, 3.0f / 64.0f);
}

TEST_F(FontTest, DescriptionWithoutGlyphsIsAnErrorButAUsableFont) {
  for (const char* xml : {"<font><common lineHeight=\"10\"/><chars count=\"0\"/></font>", "<font/>",
                          "<font><chars count=\"3\">", "not xml at all"}) {
    primitives_test::LogRecorder log;
    auto font = load(xml);
    EXPECT_TRUE(log.contains("error loading font")) << xml;
    EXPECT_EQ(font->fGetFirstGlyph(), nullptr);
    EXPECT_EQ(font->fGetLineWidth(L"abc"), 0);
    EXPECT_EQ(font->fGetGlyphWidth('a'), 0);
    EXPECT_EQ(font->fGetFixedWidth(L"abc"), 0);
    EXPECT_EQ(font->fDrawGlyph('a', 0, 0), 0);
    font->fDrawTextW(10, 10, L"abc");
    font->fPrintW(10, 10, L"%i", 5);
    font->fPrint(10, 10, "%d", 5);
  }
}

TEST_F(FontTest, TruncatedDescriptionKeepsWhatWasRead) {
  primitives_test::LogRecorder log;
  auto font = load("<font><common lineHeight=\"10\"/><chars count=\"3\"><char id=\"65\" width=\"5\"/><char id=\"6");
  EXPECT_TRUE(log.contains(" not concide with chars count"));
  EXPECT_EQ(font->fGetGlyphWidth('A'), 5);
  EXPECT_EQ(font->fGetLineWidth(L"AAA"), 15);
}

TEST_F(FontTest, MissingPageTextureLeavesGlyphRectanglesEmpty) {
  _doc.load_string(primitives_test::fontXml(kGlyphs, 12).c_str());
  QC_FONT font(_doc.child("font"), nullptr, 600);
  ASSERT_NE(font.fGetGlyph('A'), nullptr);
  EXPECT_FLOAT_EQ(font.fGetGlyph('A')->right, 0.0f);
  EXPECT_EQ(font.fGetLineWidth(L"AB"), 14);
}

TEST_F(FontTest, FontBuiltWithoutDescriptionReportsAndStaysEmpty) {
  QC_FONT font;
  EXPECT_EQ(font._glyphs.size(), 0u);
  EXPECT_EQ(font.fLoad(), -1);
  font.fDrawTextW(0, 0, L"x");
}

TEST_F(FontTest, UnknownGlyphsMeasureNothing) {
  auto font = load(primitives_test::fontXml(kGlyphs, 12));
  font->_spacing = -1;
  EXPECT_EQ(font->fGetGlyph('z'), nullptr);
  EXPECT_EQ(font->fDrawGlyph('z', 0, 0), 0);
  EXPECT_EQ(font->fGetLineWidth(L"AB"), 12);
  EXPECT_EQ(font->fGetLineWidth(L"AzB"), 12);
  EXPECT_EQ(font->fGetLineWidth(L"A B"), 12);  // the blank has width 0
  EXPECT_EQ(font->fGetLineWidthA("AB"), 12);
  EXPECT_EQ(font->fGetLineWidthA("A B"), 12);
  EXPECT_EQ(font->fGetLineWidthA("AzB"), 12);
  EXPECT_EQ(font->_glyphs.size(), 4u);  // measuring adds nothing to the table
}

TEST_F(FontTest, LineWidthCoversTheFirstLineOnly) {
  auto font = load(primitives_test::fontXml(kGlyphs, 12));
  EXPECT_EQ(font->fGetLineWidth(L"AB\nCCC"), 14);
  EXPECT_EQ(font->fGetLineWidth(L"\nAB"), 0);
  EXPECT_EQ(font->fGetLineWidth(L""), 0);
  EXPECT_EQ(font->fGetLineWidthA("AB\nCCC"), 14);
  EXPECT_EQ(font->fGetLineWidthA(""), 0);
}

TEST_F(FontTest, WidthsFollowTheSpriteScaleAndTruncateEachStep) {
  auto font = load(primitives_test::fontXml(kGlyphs, 12));
  font->_spacing = -1;
  font->_sprite->fSetScale(0.7f, 0.0f, 1.0f);
  // trunc(0 + 7 * 0.7) = 4, then trunc(4 + 5 * 0.7) = 7
  EXPECT_EQ(font->fGetLineWidth(L"AB"), 7);
  EXPECT_EQ(font->fGetLineWidthA("AB"), 7);
}

TEST_F(FontTest, AlignOffsetsByAnchor) {
  auto font = load(primitives_test::fontXml(kGlyphs, 12));
  const wchar_t* wide = L"AC";  // 17 pixels
  const char* narrow = "AC";
  const int expectedWide[11] = {0 /*-1*/, -8, 0, -17, 0, -17, -8, -8, 0, -17, 0 /*9*/};
  const int expectedNarrow[11] = {0, -8, 0, 0, 0, 0, 0, 0, 0, -8, 0};
  for (int anchor = -1; anchor <= 9; ++anchor) {
    font->_anchor = anchor;
    EXPECT_EQ(font->fGetAlignOffset(wide), expectedWide[anchor + 1]) << "anchor " << anchor;
    EXPECT_EQ(font->fGetAlignOffsetA(narrow), expectedNarrow[anchor + 1]) << "anchor " << anchor;
  }
}

TEST_F(FontTest, VerticalOffsetIsAQuarterOfTheTextHeightForCentredAnchors) {
  auto font = load(primitives_test::fontXml(kGlyphs, 13));
  for (int anchor = -1; anchor <= 9; ++anchor) {
    font->_anchor = anchor;
    const bool lifted = anchor == 0 || anchor == 7 || anchor == 8;
    EXPECT_EQ(font->fGetVerticalOffset(L"A\nB\nC"), lifted ? -9 : 0) << "anchor " << anchor;  // 39 / 4
    EXPECT_EQ(font->fGetVerticalOffsetA("A\nB"), lifted ? -6 : 0) << "anchor " << anchor;     // 26 / 4
  }
}

TEST_F(FontTest, LineCountsAndFirstLines) {
  auto font = load(primitives_test::fontXml(kGlyphs, 12));
  EXPECT_EQ(font->fGetLineCount(L""), 1);
  EXPECT_EQ(font->fGetLineCount(L"a\nb\n"), 3);
  EXPECT_EQ(font->fGetLineCountA("a\n\nb"), 3);
  EXPECT_EQ(font->fGetFirstLineLengthA("abc\ndef"), 3);
  EXPECT_EQ(font->fGetFirstLineLengthA(""), 0);
  font->_spacing = -2;
  EXPECT_EQ(font->fGetFixedWidth(L"ABz\nC"), 3 * 18);
  EXPECT_EQ(font->fGetFixedWidth(L"\nC"), 0);
}

TEST_F(FontTest, NarrowTextLooksUpSignedByteCodes) {
  auto font = load(primitives_test::fontXml({{-61, 0, 0, 5, 5, 0, 0}, {195, 8, 0, 9, 5, 0, 0}}, 12));
  EXPECT_EQ(font->fGetLineWidthA("\xC3"), 5);
  EXPECT_EQ(font->fGetLineWidth(L"\u00C3"), 9);
}

TEST_F(FontTest, FormattedTextIsCutAtTheBuffers) {
  auto font = load(primitives_test::fontXml(kGlyphs, 12), 2);  // buffers of 8
  const std::wstring longWide(500, L'A');
  font->fPrintW(0, 0, L"%s and more", longWide.c_str());
  EXPECT_EQ(std::wcslen(font->_wideBuffer), 7u);
  const std::string longNarrow(500, 'A');
  font->fPrint(0, 0, "%s", longNarrow.c_str());
  EXPECT_EQ(std::strlen(font->_narrowBuffer), 3u);
  font->fPrintW(0, 0, L"%05i|%s", 42, L"B");
  EXPECT_EQ(std::wstring(font->_wideBuffer), L"00042|B");
}

TEST_F(FontTest, TinyOrZeroSizesKeepTheBuffersSafe) {
  for (int size : {0, 1}) {
    auto font = load(primitives_test::fontXml(kGlyphs, 12), size);
    font->fPrintW(0, 0, L"%s", L"ABCDEFGH");
    font->fPrint(0, 0, "%s", "ABCDEFGH");
    EXPECT_EQ(std::strlen(font->_narrowBuffer), 0u);
    EXPECT_LE(std::wcslen(font->_wideBuffer), size > 0 ? 3u : 0u);
  }
}

}  // namespace

// A description whose numbers lie beyond any page (one of them the largest int) loads with
// those numbers brought into range and logged, and a text of many lines still measures as
// a sensible offset rather than an overflow.
TEST_F(FontTest, NumbersBeyondAnyPageAreBroughtIntoRangeAndLogged) {
  std::vector<std::string> log;
  fSetLogSink([&log](const std::string& line) { log.push_back(line); });
  auto font = load(primitives_test::fontXml({{65, 2147483647, -5, 2147483647, 70000, -2147483647 - 1, 2147483647},
                                             {66, 8, 0, 6, 10, 0, 1}},
                                            2147483647));
  fSetLogSink({});
  const QS_GLYPH* a = font->fGetGlyph('A');
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->width, 16384);
  EXPECT_EQ(a->height, 16384);
  EXPECT_EQ(a->xoffset, -16384);
  EXPECT_EQ(a->yoffset, 16384);
  EXPECT_GE(a->left, 0.0f);
  EXPECT_GE(a->right, a->left);
  EXPECT_EQ(font->fGetLineHeight(), 16384);
  EXPECT_NE(std::find(log.begin(), log.end(), "font: glyph 65 x 2147483647 out of range, set to 16384"), log.end());
  EXPECT_NE(std::find(log.begin(), log.end(), "font: lineHeight 2147483647 out of range, set to 16384"), log.end());
  EXPECT_EQ(font->fGetGlyph('B')->width, 6) << "the well-formed glyph is kept as it is";

  // 200,000 lines of the tallest glyphs and a line of 200,000 of the widest.
  const std::wstring lines(200000, L'\n');
  const std::wstring wide(200000, L'A');
  font->_anchor = 0;
  EXPECT_LE(font->fGetVerticalOffset(lines.c_str()), 0);
  EXPECT_GE(font->fGetLineWidth(wide.c_str()), 0);
  EXPECT_LE(font->fGetAlignOffset(wide.c_str()), 0);
  font->_anchor = 2;
  EXPECT_LE(font->fGetAlignOffset(wide.c_str()), 0);
  const std::string narrowWide(200000, 'A');
  EXPECT_GE(font->fGetLineWidthA(narrowWide.c_str()), 0);
}
