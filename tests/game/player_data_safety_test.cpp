// A player's stored data survives damaged files and extreme values: the game starts on a
// players.xml whose count is unusable or whose ids repeat or stray, is closed, and every
// stored field of every player is still what it was; saves the game cannot read are never
// replaced; money at its limit neither overflows nor vanishes.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include <pugixml.hpp>

#include "game/game_entry.h"
#include "game/game_globals.h"
#include "game/level_results.h"
#include "game/players.h"
#include "game/save_notice.h"
#include "game/scenes/main_menu/main_menu_scene.h"
#include "game_child.h"
#include "gui/gui_linebox.h"
#include "gui/gui_wlabel.h"
#include "level_fixture.h"
#include "save_folder_fixture.h"

namespace {

using test_support::GAME_CHILD;

// Three players whose every field differs from the defaults a first start gives slot 0.
PLAYER_RECORD seededPlayer(int index) {
  PLAYER_RECORD player;
  player.name = L"Seed" + std::to_wstring(index);
  player.money = 7000 + index;
  player.soundVolume = 0.1f * static_cast<float>(index + 1);
  player.musicVolume = 0.6f + 0.1f * static_cast<float>(index);
  player.isFullscreen = 0;
  player.isMuteAll = 0;
  player.currentBack = 3 + index;
  player.currentCardType = 1 + index % 2;
  player.additionalCardPlaces = 1 + index;
  player.reshuffles = 10 + index;
  player.jokers = 20 + index;
  player.isShowedFirstHint = 5 + index;
  player.isShowedHint29 = 1;
  for (uint8_t& trophy : player.trophies) trophy = 1;
  player.numberOfPacksCompletedWithResult300_juniorMode = 30 + index;
  player.numberOfPacksCompletedWithResult300_professionalMode = 40 + index;
  player.numberOfUsageOfBonusReshuffle = 50 + index;
  player.numberOfUsageOfBonusJoker = 60 + index;
  return player;
}

// A second element claiming player 1's id, unlike player 1 in every field.
PLAYER_RECORD impostor() {
  PLAYER_RECORD player;
  player.name = L"Impostor";
  player.money = 1;
  player.soundVolume = 0.9f;
  player.musicVolume = 0.95f;
  player.isFullscreen = 1;
  player.isMuteAll = 1;
  player.currentBack = 11;
  player.reshuffles = 99;
  player.jokers = 98;
  return player;
}

constexpr int kCurrentPlayer = 1;
constexpr float kVolumeChosenBeforeClosing = 0.125f;

// Before the game starts: the three seeded players (kCurrentPlayer current) in the child's
// save folder, through the game's own full save. The base path stays set for more seeding.
void seedThreePlayers(GAME_CHILD& game) {
  std::filesystem::create_directories(game.saves());
  gBasePath = game.basePath().string();
  for (int i = 0; i < 3; ++i) gPlayers[i] = seededPlayer(i);
  gNumberOfPlayers = 3;
  gCurrentPlayer = kCurrentPlayer;
  savePlayers();
}

// Every attribute of the seeded element and of its children, unchanged in the saved one.
void expectElementKept(const pugi::xml_node& seeded, const pugi::xml_node& saved, const std::string& where) {
  ASSERT_TRUE(saved) << where << " is gone";
  for (const pugi::xml_attribute attribute : seeded.attributes())
    EXPECT_STREQ(saved.attribute(attribute.name()).value(), attribute.value()) << where << " " << attribute.name();
  for (const pugi::xml_node child : seeded.children())
    expectElementKept(child, saved.child(child.name()), where + "/" + child.name());
}

class DamagedPlayersFile : public test_support::GameChildTest {
 protected:
  // Seeds players.xml through the game's own full save, lets `damage` spoil it, starts the
  // game on it, changes the current player's music volume and closes the game. The parent
  // then compares the file after the close with the file as seeded, element by element.
  void startAndClose(const std::function<void(pugi::xml_node root)>& damage) {
    play(
        [damage](GAME_CHILD& game) {
          seedThreePlayers(game);
          pugi::xml_document document;
          CHILD_CHECK(document.load_file((game.saves() / "players.xml").c_str()), "no seeded file");
          damage(document.child("players"));
          document.save_file((game.saves() / "players.xml").c_str(), "\t");
          document.save_file((game.root / "seeded.xml").c_str(), "\t");
          // The game starts from nothing but the file.
          for (PLAYER_RECORD& player : gPlayers) player = PLAYER_RECORD{};
          gNumberOfPlayers = 0;
          gCurrentPlayer = 0;
          gBasePath.clear();
        },
        [](GAME_CHILD&) {
          CHILD_CHECK(gNumberOfPlayers == 3, "players " + std::to_string(gNumberOfPlayers));
          CHILD_CHECK(gCurrentPlayer == kCurrentPlayer, "current player " + std::to_string(gCurrentPlayer));
          for (int i = 0; i < 3; ++i)
            CHILD_CHECK(gPlayers[i].name == seededPlayer(i).name && gPlayers[i].jokers == seededPlayer(i).jokers,
                        "player " + std::to_string(i) + " not loaded as stored");
          gPlayers[kCurrentPlayer].musicVolume = kVolumeChosenBeforeClosing;
          onGameClose(0);
        });
  }

  void expectEveryPlayerKept() {
    pugi::xml_document seeded;
    pugi::xml_document saved;
    ASSERT_TRUE(seeded.load_file((_root / "seeded.xml").c_str()));
    ASSERT_TRUE(saved.load_file((saves() / "players.xml").c_str()));
    // The one change the close makes: the current player's settings, in its first element.
    seeded.child("players")
        .find_child_by_attribute("player", "id", std::to_string(kCurrentPlayer).c_str())
        .attribute("musicVolume")
        .set_value(kVolumeChosenBeforeClosing);
    pugi::xml_node savedElement = saved.child("players").child("player");
    int index = 0;
    for (const pugi::xml_node element : seeded.child("players").children("player")) {
      expectElementKept(element, savedElement, "player element " + std::to_string(index++));
      savedElement = savedElement.next_sibling("player");
    }
    EXPECT_FALSE(savedElement) << "the close added a player element";
    EXPECT_FALSE(std::filesystem::exists(saves() / "players.xml.corrupt"));
  }
};

TEST_F(DamagedPlayersFile, AMissingPlayerCountIsTakenFromThePlayers) {
  startAndClose([](pugi::xml_node root) { root.remove_attribute("numberOfPlayers"); });
  expectEveryPlayerKept();
}

TEST_F(DamagedPlayersFile, APlayerCountThatIsNoNumberIsTakenFromThePlayers) {
  startAndClose([](pugi::xml_node root) { root.attribute("numberOfPlayers").set_value("three"); });
  expectEveryPlayerKept();
}

TEST_F(DamagedPlayersFile, ANegativePlayerCountIsTakenFromThePlayers) {
  startAndClose([](pugi::xml_node root) { root.attribute("numberOfPlayers").set_value(-3); });
  expectEveryPlayerKept();
}

TEST_F(DamagedPlayersFile, ARepeatedIdLoadsTheFirstAndLeavesTheSecondAlone) {
  startAndClose([](pugi::xml_node root) {
    // The impostor comes after player 2: player 1's id on an element the game's own full save
    // wrote for a record unlike player 1 in every field.
    const int savedCount = gNumberOfPlayers;
    const PLAYER_RECORD savedSecond = gPlayers[1];
    gPlayers[1] = impostor();
    pugi::xml_document other;
    fillPlayersDocument(other);
    gPlayers[1] = savedSecond;
    gNumberOfPlayers = savedCount;
    const pugi::xml_node second = root.find_child_by_attribute("player", "id", "2");
    root.insert_copy_after(other.child("players").find_child_by_attribute("player", "id", "1"), second);
  });
  expectEveryPlayerKept();
}

TEST_F(DamagedPlayersFile, APlayerCountBeyondFivePlayersIsTakenFromThePlayers) {
  startAndClose([](pugi::xml_node root) { root.attribute("numberOfPlayers").set_value(2147483647); });
  expectEveryPlayerKept();
}

// An element out of order, with an id no player has, is skipped alone: the players after it
// load and keep everything at the close.
TEST_F(DamagedPlayersFile, AStrayIdBeforeThePlayersIsSkippedAndTheRestLoaded) {
  startAndClose([](pugi::xml_node root) {
    pugi::xml_node stray = root.insert_copy_before(root.child("player"), root.child("player"));
    stray.attribute("id").set_value(7);
  });
  expectEveryPlayerKept();
}

// A stored player that was not loaded (here: written by another program after the start,
// which found no player) keeps its element when a record of defaults is saved at the close.
TEST_F(DamagedPlayersFile, AStoredPlayerThatWasNotLoadedIsNeverOverwritten) {
  play(
      [](GAME_CHILD& game) {
        CHILD_CHECK(gNumberOfPlayers == 0, "a player was loaded");
        test_support::writeFile(game.saves() / "players.xml",
                                "<players numberOfPlayers=\"1\" currentPlayer=\"0\"><player id=\"0\" name=\"Kept\" "
                                "soundVolume=\"0.2\" musicVolume=\"0.3\" isFullscreen=\"false\" jokers=\"40\"/>"
                                "</players>");
        onGameClose(0);
        CHILD_CHECK(game.logged("was not loaded, its stored element is left alone"), "nothing said");
      });
  pugi::xml_document saved;
  ASSERT_TRUE(saved.load_file((saves() / "players.xml").c_str()));
  const pugi::xml_node kept = saved.child("players").child("player");
  EXPECT_STREQ(kept.attribute("soundVolume").value(), "0.2");
  EXPECT_STREQ(kept.attribute("musicVolume").value(), "0.3");
  EXPECT_STREQ(kept.attribute("isFullscreen").value(), "false");
  EXPECT_STREQ(kept.attribute("jokers").value(), "40");
}

// ---- saves the game cannot read ------------------------------------------------------------

constexpr int kFinishedLevels = 15;

// The three seeded players with their junior results, as the game saved them; then
// the named save is made unreadable (mode 000) and the game, which is root in the test
// machine, gives up the right to read it anyway. Its bytes are kept in `seeded` beside it.
class UnreadableSaves : public test_support::GameChildTest {
 protected:
  void playWithUnreadable(const std::string& name, const std::function<void(GAME_CHILD&)>& scenario) {
    play(
        [name](GAME_CHILD& game) {
          seedThreePlayers(game);
          for (int player = 0; player < 3; ++player)
            for (int level = 0; level < kFinishedLevels - 5 * player; ++level) {
              setLevelResult(player, level, kResultField, 3, 0);
              setLevelResult(player, level, kScoreField, 20 * (level % 10 + 1), 0);
            }
          saveLevelsInfo();
          std::filesystem::copy_file(game.saves() / name, game.root / "seeded");
          std::filesystem::permissions(game.saves() / name, std::filesystem::perms::none);
          CHILD_CHECK(test_support::obeyFilePermissions(), "the rights to read any file cannot be given up");
          for (PLAYER_RECORD& player : gPlayers) player = PLAYER_RECORD{};
          gNumberOfPlayers = 0;
          gCurrentPlayer = 0;
          clearLevelResults(0);
          gBasePath.clear();
        },
        scenario);
    std::filesystem::permissions(saves() / name, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  }

  void expectUntouched(const std::string& name) {
    EXPECT_EQ(test_support::readFile(saves() / name), test_support::readFile(_root / "seeded")) << name;
  }
};

// The profiles cannot be read: no player is shown, but a player added then and the close
// write nothing over the stored three, and their results stay where they are.
TEST_F(UnreadableSaves, APlayersFileThatCannotBeReadIsNeverReplaced) {
  playWithUnreadable("players.xml", [](GAME_CHILD& game) {
    CHILD_CHECK(gNumberOfPlayers == 0, "players " + std::to_string(gNumberOfPlayers));
    CHILD_CHECK(game.logged("Save file cannot be read (Permission denied)"), "the log does not say so");
    auto* menu = dynamic_cast<SCENE_CARD_GAME_MAINMENU*>(gCurrentScene);
    CHILD_CHECK(menu != nullptr, "no main menu");
    menu->nameLineBox->fSetText(L"Eve");
    CHILD_CHECK(menu->confirmNewName(), "Eve was not added");
    CHILD_CHECK(isSaveNoticeShown(), "the player is not told that Eve was not saved");
    onGameClose(0);
  });
  expectUntouched("players.xml");
  pugi::xml_document results;
  ASSERT_TRUE(results.load_file((saves() / "player0.xml").c_str())) << "the first player's results were moved";
  EXPECT_EQ(results.child("info").find_child_by_attribute("level", "id", "14").attribute("result").as_int(), 3);
}

// One player's results cannot be read; another player's finished frame saves the results
// of every player, but not over that file, and the screen says the save failed.
TEST_F(UnreadableSaves, AResultFileThatCannotBeReadSurvivesAnotherPlayersFinishedFrame) {
  playWithUnreadable("player0.xml", [](GAME_CHILD& game) {
    CHILD_CHECK(gNumberOfPlayers == 3, "players " + std::to_string(gNumberOfPlayers));
    CHILD_CHECK(game.logged("cannot be read (Permission denied)"), "the log does not say so");
    setLevelResult(1, 10, kResultField, 4, 0);
    saveLevelsInfo();
    CHILD_CHECK(isSaveNoticeShown(), "no notice of the failed save");
    game.draw();
    const std::vector<uint8_t> noticed = game.readBack();
    releaseSaveNotice();
    game.draw();
    const std::vector<uint8_t> plain = game.readBack();
    CHILD_CHECK(test_support::differingShare(noticed, plain, {0, 0, 1024, 40}) > 0.5, "no notice on the screen");
    CHILD_CHECK(test_support::differingShare(noticed, plain, {0, 40, 1024, 768}) == 0.0, "the notice covers more");
    onGameClose(0);
  });
  expectUntouched("player0.xml");
  pugi::xml_document results;
  ASSERT_TRUE(results.load_file((saves() / "player1.xml").c_str()));
  EXPECT_EQ(results.child("info").find_child_by_attribute("level", "id", "10").attribute("result").as_int(), 4);
}

// ---- money at its limit ------------------------------------------------------------------

class MoneyAtTheLimit : public SaveFolderTest {};

TEST_F(MoneyAtTheLimit, ASumBeyondTheLimitStopsThereAndSurvivesASaveAndALoad) {
  test_support::writeFile(saves() / "players.xml",
                          "<players numberOfPlayers=\"1\" currentPlayer=\"0\">"
                          "<player id=\"0\" name=\"Rich\" money=\"2147483647\" reshuffles=\"2147483647\" "
                          "jokers=\"2147483647\"/></players>");
  loadPlayers();
  EXPECT_EQ(gPlayers[0].money, kMaxPlayerCount);
  EXPECT_EQ(gPlayers[0].reshuffles, kMaxPlayerCount);
  EXPECT_TRUE(logged("money 2147483647 out of range"));

  // A pair removed in a level pays on top of it.
  auto scene = makeBareLevelScene();
  QEL::QC_GUI_WLABEL moneyLabel{1, nullptr, L""};
  QEL::QC_GUI_WLABEL multiplierLabel{2, nullptr, L""};
  scene->moneyLabel = &moneyLabel;
  scene->multiplierLabel = &multiplierLabel;
  for (int32_t id : {0, 1}) {
    CARD* card = scene->cards[id];
    card->putOnTable();
    card->currentX = 300.0f;
    card->currentY = 300.0f;
    card->setValue(id == 0 ? 3 : 16);  // one rank, two suits
    card->setCovered(false);
  }
  scene->removePair(1, 0, 1, 1);
  EXPECT_EQ(gPlayers[0].money, kMaxPlayerCount);
  scene->moneyLabel = nullptr;
  scene->multiplierLabel = nullptr;

  savePlayerMoney(0);
  gPlayers[0] = PLAYER_RECORD{};
  loadPlayers();
  EXPECT_EQ(gPlayers[0].money, kMaxPlayerCount);

  addMoney(gPlayers[0], -2'000'000'000LL);
  EXPECT_EQ(gPlayers[0].money, 0);
}

}  // namespace
