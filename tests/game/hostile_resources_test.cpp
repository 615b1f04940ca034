// Resources made to cost the game gigabytes: a cursor image stating 16000 x 16000 pixels, a
// font description of several megabytes, one of more glyphs than any font has, and an effect
// whose last page claims 2^31 - 1 samples. The game refuses or cuts each from what its file
// says, before the memory is taken, says so in its log, and starts and draws all the same.
// A picture that is no picture raises a box that names it, and that cannot keep the desktop
// from closing the game. Named pipes in files' places, which would hold the game until some
// writer came, are not read at all.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <ogg/ogg.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "engine/game.h"
#include "engine/globals.h"
#include "engine/window.h"
#include "game/fonts_sounds.h"
#include "game/game_globals.h"
#include "game/scenes/base_scene.h"
#include "game/scenes/level/level_scene.h"
#include "game_child.h"
#include "late_pipe_writer.h"
#include "menu_scenario.h"
#include "platform/message_box.h"
#include "platform/window.h"
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

// A real PNG file whose header now states the size (its checksum made anew): its data
// holds far fewer pixels than it claims.
std::string statingSize(std::string png, uint32_t width, uint32_t height) {
  constexpr size_t kHeaderType = 12;
  constexpr size_t kHeaderData = kHeaderType + 4;
  constexpr size_t kHeaderCrc = kHeaderData + 13;
  std::string sides;
  appendBigEndian(sides, width);
  appendBigEndian(sides, height);
  png.replace(kHeaderData, sides.size(), sides);
  std::string crc;
  appendBigEndian(crc, static_cast<uint32_t>(::crc32(0, reinterpret_cast<const Bytef*>(png.data() + kHeaderType),
                                                     kHeaderCrc - kHeaderType)));
  png.replace(kHeaderCrc, crc.size(), crc);
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

// Named pipes stand in place of the menu's logo (read through the resources), the game's
// cursor (read straight from its file) and the first frame's level: the game waits for no
// writer, says what it found, and the menu and the frame come up with what stands in for a
// missing file. A help picture whose header states 16000 x 16000 pixels once the game runs
// is refused when Help first draws it, not decoded.
TEST_F(HostileResources, NamedPipesAreNotWaitedOnAndAHugePictureIsRefusedWhenDrawn) {
  using test_support::LATE_PIPE_WRITER;
  static std::vector<LATE_PIPE_WRITER*> pipes;
  play(
      [](GAME_CHILD& game) {
        test_support::seedPlayers(game.saves(), {"Ann"}, 0);
        for (const auto& [folder, name] : {std::pair<std::string, std::string>{"main_menu", "logo.png"},
                                           {"interface", "cursor.png"},
                                           {"Levels", "Level_0.xml"}})
          pipes.push_back(new LATE_PIPE_WRITER(game.resources() / folder / name, game.generatedResource(folder, name)));
        for (LATE_PIPE_WRITER* pipe : pipes) CHILD_CHECK(pipe->made(), "no pipe");
      },
      [](GAME_CHILD& game) {
        using namespace test_support::main_menu_scenario;
        const std::string pipe = "not a plain file: a named pipe stands in its place";
        CHILD_CHECK(settled(game), "the menu did not settle");
        CHILD_CHECK(game.logged("Resource not read (" + pipe + "): main_menu/logo.png"), "the logo was not refused");
        CHILD_CHECK(game.logged("interface/cursor.png: file cannot be opened: " + pipe), "the cursor was not refused");

        game.writeResource("main_menu/help", "background.png",
                           statingSize(game.generatedResource("main_menu/help", "background.png"), 16000, 16000));
        click(game, kHelp);
        CHILD_CHECK(windowOpens(game, MENU::HELP_WINDOW), "no help window");
        CHILD_CHECK(game.logged("Texture load from memory failed: main_menu/help/background.png: picture of 16000 x "
                                "16000 refused, larger than 8192 pixels a side"),
                    "the help picture was not refused from its header, by its name");
        click(game, kWindowClose);
        CHILD_CHECK(settled(game), "the help window did not close");

        gCurrentLevel = 0;
        gCurrentPack = 0;
        changeScene(gCurrentScene, new SCENE_CARD_GAME_LEVEL());
        game.step(10);
        auto* level = dynamic_cast<SCENE_CARD_GAME_LEVEL*>(gCurrentScene);
        CHILD_CHECK(level != nullptr, "no level scene");
        CHILD_CHECK(level->countOfCards == 0, std::to_string(level->countOfCards) + " cards on the table");
        CHILD_CHECK(game.logged("cannot read Levels/Level_0.xml: " + pipe), "the level was not refused");
        for (LATE_PIPE_WRITER* waited : pipes) CHILD_CHECK(!waited->heldAReader(), "the game waited for a pipe's writer");
      });
}

// What the box that nobody answers tells the test, through a pipe: "up" when it shows, and
// "answered" should it ever return.
struct UNANSWERED_BOX {
  int ends[2] = {-1, -1};
  std::vector<std::pair<std::string, std::string>> said;  // text, caption
  std::thread desktop;

  std::string readWaiting() {
    std::string got;
    char chunk[64];
    for (ssize_t n; (n = ::read(ends[0], chunk, sizeof chunk)) > 0;) got.append(chunk, static_cast<size_t>(n));
    return got;
  }
};

// The desktop closing the session: SIGTERM to the game as soon as the box is up.
void closeOnceTheBoxIsUp(UNANSWERED_BOX& box) {
  pollfd up{box.ends[0], POLLIN, 0};
  if (::poll(&up, 1, 20000) == 1) ::kill(::getpid(), SIGTERM);
}

TEST_F(HostileResources, ABrokenPictureIsNamedInItsBoxAndASigtermStillClosesTheGame) {
  static UNANSWERED_BOX box;
  play(
      [](GAME_CHILD& game) {
        game.writeResource("splash", "widescreen_background_top.png", "this is no picture");
        CHILD_CHECK(::pipe(box.ends) == 0, "no pipe");
        ::fcntl(box.ends[0], F_SETFL, O_NONBLOCK);
        platform::setMessageBoxHook([](const std::string& text, const std::string& caption) {
          box.said.emplace_back(text, caption);
        });
        // As the system's box: a process of its own, waited for whatever signals come.
        platform::setMessageBoxShower([](const std::string&, const std::string&) {
          const pid_t shown = ::fork();
          if (shown == 0) {
            (void)!::write(box.ends[1], "up\n", 3);
            std::this_thread::sleep_for(std::chrono::seconds(10));
            (void)!::write(box.ends[1], "answered\n", 9);
            std::_Exit(0);
          }
          int status = 0;
          while (::waitpid(shown, &status, 0) < 0 && errno == EINTR) {
          }
          return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        });
        box.desktop = std::thread(closeOnceTheBoxIsUp, std::ref(box));
      },
      [](GAME_CHILD& game) {
        box.desktop.join();
        CHILD_CHECK(box.said.size() == 1, std::to_string(box.said.size()) + " boxes");
        CHILD_CHECK(box.said[0].first == "Texture load from memory failed: splash/widescreen_background_top.png",
                    box.said[0].first);
        CHILD_CHECK(box.said[0].second == "Pindrake", "titled " + box.said[0].second);
        const std::string told = box.readWaiting();
        CHILD_CHECK(told == "up\n", "the box said " + told);
        CHILD_CHECK(game.logged("Message box [Pindrake] Texture load from memory failed: "
                                "splash/widescreen_background_top.png"),
                    "the log does not say what the box said");

        // The SIGTERM reaches the game as the window's close once the box has gone.
        QEL::fPumpMessages(QEL::qcINPUT, QEL::qcWINDOW);
        CHILD_CHECK(QEL::qcGAME->_settings._running == 0, "the game goes on after the close");
      });
}

}  // namespace
