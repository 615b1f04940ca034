// The game run under a file-size limit (ulimit -f) smaller than its players file: the close
// save fails as on a full disk, the file stays as it was, and the game ends well instead of
// dying of SIGXFSZ.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <string>

#include "game/game_entry.h"
#include "game/game_globals.h"
#include "game/players.h"
#include "game_child.h"
#include "player_records.h"

namespace {

using test_support::GAME_CHILD;

class FileSizeLimit : public test_support::GameChildTest {};

TEST_F(FileSizeLimit, AClosingSaveBeyondTheLimitKeepsThePlayersFileAndTheGameEndsWell) {
  play(
      [](GAME_CHILD& game) {
        std::filesystem::create_directories(game.saves());
        gBasePath = game.basePath().string();
        for (int i = 0; i < 3; ++i) gPlayers[i] = test_support::samplePlayer(i);
        gNumberOfPlayers = 3;
        savePlayers();
        gBasePath.clear();
        const std::string seeded = test_support::readFile(game.saves() / "players.xml");
        test_support::writeFile(game.root / "seeded.xml", seeded);
        const rlimit limit{seeded.size() / 2, seeded.size() / 2};
        CHILD_CHECK(::setrlimit(RLIMIT_FSIZE, &limit) == 0, "no file-size limit");
      },
      [](GAME_CHILD& game) {
        gPlayers[gCurrentPlayer].musicVolume = 0.125f;
        onGameClose(0);
        const std::string players = (game.saves() / "players.xml").string();
        CHILD_CHECK(game.logged("File cannot be saved, the old one is kept: " + players +
                                " (writing failed: File too large)"),
                    "the failed save was not logged");
      });
  EXPECT_EQ(test_support::readFile(saves() / "players.xml"), test_support::readFile(_root / "seeded.xml"));
  EXPECT_FALSE(test_support::hasTemporaryBeside(saves() / "players.xml"));
}

}  // namespace
