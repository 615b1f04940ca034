// Every generated font description read by the game's own font loader: the glyph count must
// match the declared one, and the characters the texts and player names need must be there.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "engine/log.h"
#include "primitives/font.h"

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> fontDescriptions() {
  std::vector<fs::path> found;
  for (const auto& entry : fs::directory_iterator(fs::path(PINDRAKE_RESOURCES_DIR) / "font"))
    if (entry.path().extension() == ".fnt") found.push_back(entry.path());
  return found;
}

TEST(GeneratedFontsLoad, EveryDescriptionLoadsWithItsDeclaredGlyphCount) {
  const std::vector<fs::path> fonts = fontDescriptions();
  ASSERT_EQ(fonts.size(), 6u);
  for (const fs::path& path : fonts) {
    SCOPED_TRACE(path.filename().string());
    pugi::xml_document document;
    ASSERT_TRUE(document.load_file(path.c_str()));
    const pugi::xml_node font = document.child("font");

    std::vector<std::string> log;
    QEL::fSetLogSink([&](const std::string& line) { log.push_back(line); });
    QEL::QC_FONT loaded(font, nullptr, 64);
    QEL::fSetLogSink({});

    EXPECT_EQ(loaded._glyphCount, font.child("chars").attribute("count").as_int());
    for (const std::string& line : log) EXPECT_EQ(line.find("Count chars"), std::string::npos) << line;
    EXPECT_GT(loaded._lineHeight, 0);
    // The space is the first glyph and moves the text on.
    ASSERT_NE(loaded.fGetFirstGlyph(), nullptr);
    EXPECT_EQ(loaded.fGetFirstGlyph()->id, 32);
    EXPECT_GT(loaded.fGetGlyphWidth(' '), 0);
    for (wchar_t c : std::wstring(L"Az09|%!?\u00e9\u00df\u00c5\u00f1")) EXPECT_NE(loaded.fGetGlyph(c), nullptr) << int(c);
    EXPECT_GT(loaded.fGetLineWidth(L"Pindrake"), loaded.fGetLineWidth(L"Pin"));
  }
}

}  // namespace
