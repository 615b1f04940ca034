// Resources made to cost the game gigabytes: a cursor image stating 16000 x 16000 pixels, a
// font description of several megabytes, one of more glyphs than any font has, and an effect
// whose last page claims 2^31 - 1 samples. The game refuses or cuts each from what its file
// says, before the memory is taken, says so in its log, and starts and draws all the same.
#include <gtest/gtest.h>
#include <ogg/ogg.h>
#include <zlib.h>

#include <cstdint>
#include <string>

#include "game/fonts_sounds.h"
#include "game/game_globals.h"
#include "game_child.h"
#include "primitives/font.h"

namespace {

using test_support::GAME_CHILD;

void appendBigEndian(std::string& bytes, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<char>((value >> shift) & 0xFF));
}

void appendChunk(std::string& png, const char* type, const std::string& data) {
  appendBigEndian(png, static_cast<uint32_t>(data.size()));
  const std::string typed = type + data;
  png += typed;
  appendBigEndian(png, static_cast<uint32_t>(
                           ::crc32(0, reinterpret_cast<const Bytef*>(typed.data()), static_cast<uInt>(typed.size()))));
}

// A PNG file whose header states the size; its pixels are never reached.
std::string pngStating(uint32_t width, uint32_t height) {
  std::string png = "\x89PNG\r\n\x1a\n";
  std::string header;
  appendBigEndian(header, width);
  appendBigEndian(header, height);
  header += std::string("\x08\x06\x00\x00\x00", 5);  // 8-bit RGBA, no interlace
  appendChunk(png, "IHDR", header);
  appendChunk(png, "IEND", "");
  return png;
}

// The generated description with `extra` glyphs more before the end of its glyph list.
std::string descriptionWithMoreGlyphs(const std::string& generated, int extra) {
  std::string glyphs;
  for (int i = 0; i < extra; ++i)
    glyphs += "<char id=\"" + std::to_string(100000 + i) +
              "\" x=\"0\" y=\"0\" width=\"9\" height=\"9\" xoffset=\"0\" yoffset=\"0\" xadvance=\"9\" "
              "page=\"0\" chnl=\"15\" />\n";
  std::string description = generated;
  description.insert(description.find("</chars>"), glyphs);
  return description;
}

// The Ogg file with its last page claiming `frames` samples, its checksum made anew so that
// the page still reads as sound.
std::string claimingFrames(std::string ogg, int64_t frames) {
  const size_t last = ogg.rfind("OggS");
  for (int i = 0; i < 8; ++i) ogg[last + 6 + i] = static_cast<char>((frames >> (8 * i)) & 0xFF);
  ogg_page page{};
  page.header = reinterpret_cast<unsigned char*>(&ogg[last]);
  page.header_len = 27 + static_cast<unsigned char>(ogg[last + 26]);
  page.body = page.header + page.header_len;
  page.body_len = static_cast<long>(ogg.size() - last) - page.header_len;
  ogg_page_checksum_set(&page);
  return ogg;
}

class HostileResources : public test_support::GameChildTest {};

TEST_F(HostileResources, EachIsRefusedOrCutFromWhatItsFileSaysAndTheGameStarts) {
  play(
      [](GAME_CHILD& game) {
        game.writeResource("interface", "cursor.png", pngStating(16000, 16000));
        const std::string font20 = game.generatedResource("font", "font20.fnt");
        game.writeResource("font", "font20.fnt", descriptionWithMoreGlyphs(font20, 40000));
        const std::string font33 = game.generatedResource("font", "font33.fnt");
        game.writeResource("font", "font33.fnt", descriptionWithMoreGlyphs(font33, 20000));
        // An effect of several audio pages: the claim of the last is the stream's length.
        const std::string strike = game.generatedResource("sounds", "message_strike.ogg");
        game.writeResource("sounds", "message_strike.ogg", claimingFrames(strike, INT32_MAX));
      },
      [](GAME_CHILD& game) {
        CHILD_CHECK(game.logged("Game cursor image of 16000 x 16000 refused"), "the cursor image was read");
        CHILD_CHECK(gGameCursor == nullptr, "a cursor was made of it");

        CHILD_CHECK(game.logged("refused, larger than any description (4194304): font20.fnt"),
                    "the large description was parsed");
        CHILD_CHECK(findFont(20, 0) != nullptr && findFont(20, 0)->_glyphs.empty(), "a font holds its glyphs");
        CHILD_CHECK(game.logged("font: more than 16384 glyphs, the rest are not read"), "every glyph was read");
        CHILD_CHECK(findFont(33, 0) != nullptr && findFont(33, 0)->_glyphCount == 16384,
                    "font33 holds " + std::to_string(findFont(33, 0)->_glyphCount) + " glyphs");

        CHILD_CHECK(game.logged("Sound refused: its stream claims 2147483647 sample frames"),
                    "the effect's claim was believed");
        CHILD_CHECK(gSounds[5] == nullptr, "the strike's effect has a sound");
        CHILD_CHECK(gSounds[0] != nullptr && gSounds[6] != nullptr, "a sound that claims nothing was refused");

        game.step(30);
        CHILD_CHECK(!game.readBack().empty(), "the main menu draws nothing");
      });
}

}  // namespace
