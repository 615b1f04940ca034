#include "game/save_files.h"

#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "game/game_globals.h"
#include "game/level_results.h"
#include "game/players.h"
#include "platform/window.h"
#include "save_folder_fixture.h"

namespace {

using test_support::folderEntries;
using test_support::readFile;
using test_support::writeFile;

// A document `depth` elements deep, as one line of text.
std::string nestedDocument(const char* root, int depth) {
  std::string text = std::string("<") + root + ">";
  for (int i = 0; i < depth; ++i) text += "<a>";
  for (int i = 0; i < depth; ++i) text += "</a>";
  return text + "</" + root + ">";
}

using SaveFilesTest = SaveFolderTest;

TEST_F(SaveFilesTest, SaveFoldersLieBelowTheDocumentsFolder) {
  const std::filesystem::path documents = _root / "Documents";
  EXPECT_EQ(gBasePath, (documents / "Ostvane" / "Pindrake").string());
  EXPECT_TRUE(std::filesystem::is_directory(documents / "Ostvane" / "Pindrake" / "Saves"));
  EXPECT_TRUE(std::filesystem::is_directory(documents / "Ostvane" / "Pindrake" / "Statistics"));

  // Existing folders are kept as they are.
  writeFile(saves() / "keep.txt", "x");
  gBasePath = documents.string();
  makeSaveFolders();
  EXPECT_EQ(readFile(saves() / "keep.txt"), "x");
}

TEST_F(SaveFilesTest, FileExistsForFilesAndFolders) {
  EXPECT_TRUE(fileExists(gBasePath));
  EXPECT_FALSE(fileExists(gBasePath + "/nothing.xml"));
  writeFile(saves() / "a.xml", "<a/>");
  EXPECT_TRUE(fileExists((saves() / "a.xml").string()));
}

TEST_F(SaveFilesTest, AtomicSaveReplacesTheFileWholeAndLeavesNoTemporary) {
  const std::string path = (saves() / "a.xml").string();
  writeFile(path, "old");
  pugi::xml_document document;
  document.append_child("root").append_child("child").append_attribute("value").set_value(3);
  ASSERT_TRUE(saveXmlAtomically(document, path));
  EXPECT_EQ(readFile(path), "<?xml version=\"1.0\"?>\n<root>\n\t<child value=\"3\" />\n</root>\n");
  EXPECT_EQ(folderEntries(saves()), std::vector<std::string>{"a.xml"});
}

TEST_F(SaveFilesTest, AFullDiskLeavesTheOldFileAndNoTemporary) {
  const std::string path = (saves() / "a.xml").string();
  writeFile(path, "<old/>");
  pugi::xml_document document;
  document.append_child("new").append_attribute("text").set_value(std::string(4096, 'x').c_str());
  {
    test_support::FULL_DISK full(1024);
    EXPECT_FALSE(saveXmlAtomically(document, path));
  }
  EXPECT_EQ(readFile(path), "<old/>");
  EXPECT_EQ(folderEntries(saves()), std::vector<std::string>{"a.xml"});
  EXPECT_TRUE(logged("the old one is kept"));
  // No folder to write into at all.
  EXPECT_FALSE(saveXmlAtomically(document, gBasePath + "/missing/a.xml"));
  EXPECT_FALSE(fileExists(gBasePath + "/missing/a.xml"));
}

// Two copies of the game saving one file at once: whatever moment a reader picks, the file is
// one writer's whole document, and no temporary is left behind.
TEST_F(SaveFilesTest, TwoProcessesSavingOneFileNeverLeaveItHalfWritten) {
  const std::string path = (statistics() / "statistics.xml").string();
  auto documentText = [](int writer) {
    pugi::xml_document document;
    pugi::xml_node root = document.append_child("statistics");
    root.append_attribute("sessionNumber").set_value(writer);
    root.append_attribute("padding").set_value(std::string(2000 + 3000 * writer, 'a' + writer).c_str());
    return document;
  };
  ASSERT_TRUE(saveXmlAtomically(documentText(0), path));
  const std::string expected[2] = {readFile(path), ""};
  ASSERT_TRUE(saveXmlAtomically(documentText(1), path));
  const std::string second = readFile(path);

  constexpr int kSavesEach = 300;
  pid_t writers[2];
  for (int writer = 0; writer < 2; ++writer) {
    writers[writer] = ::fork();
    ASSERT_GE(writers[writer], 0);
    if (writers[writer] == 0) {
      const pugi::xml_document document = documentText(writer);
      bool allSaved = true;
      for (int i = 0; i < kSavesEach; ++i) allSaved = saveXmlAtomically(document, path) && allSaved;
      std::_Exit(allSaved ? 0 : 1);
    }
  }
  int reads = 0;
  int broken = 0;
  int running = 2;
  while (running > 0) {
    const std::string seen = readFile(path);
    ++reads;
    if (seen != expected[0] && seen != second) ++broken;
    running = 0;
    for (pid_t writer : writers) running += ::waitpid(writer, nullptr, WNOHANG) == 0 ? 1 : 0;
  }
  for (pid_t writer : writers) ::waitpid(writer, nullptr, 0);
  EXPECT_EQ(broken, 0) << "of " << reads << " reads during the race";
  EXPECT_EQ(folderEntries(statistics()), std::vector<std::string>{"statistics.xml"});
}

TEST_F(SaveFilesTest, TemporariesOfADeadSaveAreRemovedAtStartButNotOnesBeingWritten) {
  writeFile(saves() / "players.xml", "<players/>");
  writeFile(saves() / "players.xml.tmp-Ab12Cd", "<players");          // a save killed mid-write
  writeFile(saves() / "player0.xml.tmp", "");                         // an older build's name
  writeFile(statistics() / "statistics.xml.tmp-zz99ZZ", "");
  std::filesystem::create_directories(statistics() / "3");
  writeFile(statistics() / "3" / "level_number_1_1_X0.txt.tmp-q1w2e3", "half");
  writeFile(saves() / "notes.tmp.txt", "not ours");
  // Another copy of the game is writing this one right now.
  writeFile(saves() / "player1.xml.tmp-LIVE01", "<info>");
  const int held = ::open((saves() / "player1.xml.tmp-LIVE01").c_str(), O_RDONLY);
  ASSERT_GE(held, 0);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);

  EXPECT_EQ(removeStaleSaveTemporaries(), 4);
  ::close(held);

  EXPECT_EQ(folderEntries(saves()),
            (std::vector<std::string>{"notes.tmp.txt", "player1.xml.tmp-LIVE01", "players.xml"}));
  EXPECT_EQ(folderEntries(statistics()), std::vector<std::string>{"3"});
  EXPECT_TRUE(folderEntries(statistics() / "3").empty());
  EXPECT_EQ(readFile(saves() / "players.xml"), "<players/>");
  EXPECT_TRUE(logged("Stale temporary save file removed"));
}

// The clean-up knows the game's own files by name and follows no link: the player's own
// files that merely end in ".tmp", in the save folders or in a folder linked from them, stay.
TEST_F(SaveFilesTest, TheCleanUpRemovesOnlyTheGamesOwnLeftoversAndFollowsNoLink) {
  namespace fs = std::filesystem;
  const fs::path mine = _root / "mine";
  fs::create_directories(mine);
  const std::vector<std::string> myFiles = {"thesis.tmp", "report.doc.tmp", "photo.jpg.tmp-a1b2c3",
                                            "statistics.xml.tmp-a1b2c3", "level_number_1_1_X0.txt.tmp-a1b2c3"};
  for (const std::string& name : myFiles) writeFile(mine / name, "the player's");
  fs::create_directory_symlink(mine, statistics() / "downloads");
  fs::create_directory_symlink(mine, statistics() / "7");  // named as a run's folder
  fs::create_symlink(mine / "thesis.tmp", saves() / "players.xml.tmp-Zz9Zz9");
  writeFile(saves() / "letter.tmp", "dear");
  writeFile(saves() / "diary.txt.tmp-a1b2c3", "dear diary");
  writeFile(saves() / "player7.xml.tmp", "no such place");
  fs::create_directories(statistics() / "holidays");
  writeFile(statistics() / "holidays" / "level_number_1_1_X0.txt.tmp-a1b2c3", "not a run's folder");
  // What the game's own killed saves left.
  writeFile(saves() / "player4_p.xml.tmp-Ab12Cd", "<info");
  writeFile(saves() / "player2.xml.tmp", "<info");
  writeFile(statistics() / "statistics.xml.tmp-zz99ZZ", "<stat");
  fs::create_directories(statistics() / "12");
  writeFile(statistics() / "12" / "level_number_30_2_-13.txt.tmp-q1w2e3", "Level");

  EXPECT_EQ(removeStaleSaveTemporaries(), 4);

  EXPECT_EQ(folderEntries(saves()), (std::vector<std::string>{"diary.txt.tmp-a1b2c3", "letter.tmp",
                                                              "player7.xml.tmp", "players.xml.tmp-Zz9Zz9"}));
  EXPECT_EQ(folderEntries(statistics()), (std::vector<std::string>{"12", "7", "downloads", "holidays"}));
  EXPECT_TRUE(folderEntries(statistics() / "12").empty());
  EXPECT_EQ(folderEntries(statistics() / "holidays").size(), 1u);
  EXPECT_EQ(folderEntries(mine).size(), myFiles.size());
  EXPECT_EQ(readFile(mine / "thesis.tmp"), "the player's");
  EXPECT_TRUE(logged("Temporary save files not looked for through a link: " + (statistics() / "7").string()));
  EXPECT_TRUE(logged("A link in a temporary save file's place is left as it is: "));
}

// Every name a writer of the game gives a file in the save folders, built by the writers' own
// name-makers: a save killed there leaves its temporary ("<name>.tmp-" and six characters),
// which the next start clears away.
TEST_F(SaveFilesTest, EveryLeftoverOfTheGamesOwnWritersIsClearedAway) {
  std::vector<std::string> saved = {playersFilePath(), statisticsFilePath(), levelStatisticsFilePath(3, 5, 1, ""),
                                    levelStatisticsFilePath(3, 10, 2, "XX7")};
  for (int place = 0; place < kMaxPlayers; ++place)
    for (const int mode : {0, 1}) saved.push_back(levelResultsFilePath(place, mode));
  // The copies of a players file kept aside, the first name taken by an earlier one.
  saved.push_back(unusedNameBeside(playersFilePath(), ".corrupt"));
  writeFile(saved.back(), "kept before");
  saved.push_back(unusedNameBeside(playersFilePath(), ".corrupt"));
  std::filesystem::create_directories(statistics() / "3");
  for (const std::string& path : saved) writeFile(path + ".tmp-Ab12Cd", "half");

  EXPECT_EQ(removeStaleSaveTemporaries(), static_cast<int>(saved.size()));
  for (const std::string& path : saved) EXPECT_FALSE(test_support::hasTemporaryBeside(path)) << path;
}

// With every name for a copy taken, nothing is kept aside and nothing that would need a copy
// is written: a players file whose save would leave a player out, or a damaged results file.
TEST_F(SaveFilesTest, WithNoNameLeftForACopyNothingIsKeptAsideOrWrittenOver) {
  const std::string players = playersFilePath();
  const std::string results = levelResultsFilePath(0, 0);
  for (const std::string& path : {players, results})
    for (int n = 0; n < kMostNamesBeside; ++n) writeFile(path + ".corrupt" + (n == 0 ? "" : std::to_string(n)), "");
  const std::string repeated =
      "<players numberOfPlayers=\"1\"><player id=\"0\" name=\"Ann\"/><player id=\"0\" name=\"Eve\"/></players>";
  const std::string damaged = "<info levelsNumber=";
  writeFile(players, repeated);
  writeFile(results, damaged);

  loadPlayers();
  loadLevelsInfo(0);
  gPlayers[0].name = L"Bob";
  savePlayers();
  saveLevelsInfo();
  EXPECT_EQ(readFile(players), repeated);
  EXPECT_EQ(readFile(results), damaged);
  EXPECT_EQ(lastSaveFileTrouble().leftBecause, "every name beside it to keep it under is taken");
}

// A copy of the game that can lock nothing leaves a damaged players file where it is, on
// purpose, and its box says so, with what is wrong with the file.
TEST_F(SaveFilesTest, ACopyThatLocksNothingSaysWhyADamagedProfileStaysWhereItIs) {
  const std::string damaged = "<players numberOfPlayers=";
  writeFile(saves() / "players.xml", damaged);
  ::chmod(saves().c_str(), 0311);
  ::chmod(gBasePath.c_str(), 0111);
  const pid_t copy = ::fork();
  ASSERT_GE(copy, 0);
  if (copy == 0) {
    std::string said;
    platform::setMessageBoxHook([&said](const std::string& text, const std::string&) { said += text; });
    const bool writesNothing = test_support::obeyFilePermissions() && lockSaveFolder() && writesNoSaves();
    loadPlayers();
    const bool saysWhy = said.find("()") == std::string::npos &&
                         said.find("left where it is (this copy of the game writes no save") != std::string::npos;
    if (!saysWhy) std::fprintf(stderr, "the box said: %s\n", said.c_str());
    std::_Exit(writesNothing && saysWhy ? 0 : 1);
  }
  int status = -1;
  ::waitpid(copy, &status, 0);
  ::chmod(gBasePath.c_str(), 0755);
  ::chmod(saves().c_str(), 0755);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(readFile(saves() / "players.xml"), damaged);
}

// A game.lock that is a link leading nowhere makes no file where it leads; the saves are
// locked all the same, on the folders.
TEST_F(SaveFilesTest, ALockFileLinkedToNothingMakesNoFileAndTheSavesAreLocked) {
  namespace fs = std::filesystem;
  const fs::path nowhere = _root / "elsewhere.lock";
  fs::create_symlink(nowhere, fs::path(gBasePath) / "game.lock");
  ASSERT_TRUE(lockSaveFolder());
  EXPECT_FALSE(fs::exists(nowhere));
  EXPECT_TRUE(fs::is_symlink(fs::path(gBasePath) / "game.lock"));
  EXPECT_FALSE(writesNoSaves());
  const int other = ::open(saves().c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_GE(other, 0);
  EXPECT_NE(::flock(other, LOCK_EX | LOCK_NB), 0) << "another copy could lock the saves";
  ::close(other);
  releaseSaveFolder();
  EXPECT_TRUE(logged("is a link, which is not followed"));
}

// A file nested 200,000 deep would be written back with one tab per level on every line:
// gigabytes. Such a file is no save of ours; it is kept aside and the game starts as new.
TEST_F(SaveFilesTest, AHugeOrDeeplyNestedSaveIsKeptAsideAndTheGameGoesOn) {
  const std::string deep = nestedDocument("statistics", 200000);
  writeFile(statistics() / "statistics.xml", deep);
  countSession();
  EXPECT_EQ(gSessionNumber, 0);
  EXPECT_EQ(readFile(statistics() / "statistics.xml.corrupt"), deep);
  pugi::xml_document counter;
  ASSERT_TRUE(counter.load_file((statistics() / "statistics.xml").c_str()));
  EXPECT_EQ(counter.child("statistics").attribute("sessionNumber").as_int(), 1);

  // Small enough to pass the size bound, too deep all the same.
  const std::string players = "<players numberOfPlayers=\"1\"><player id=\"0\" name=\"Ann\">" +
                              nestedDocument("statistics", 50000) + "</player></players>";
  writeFile(saves() / "players.xml", players);
  loadPlayers();
  EXPECT_EQ(gNumberOfPlayers, 0);
  savePlayerSettings(0);
  EXPECT_EQ(readFile(saves() / "players.xml.corrupt"), players);
  EXPECT_LT(std::filesystem::file_size(saves() / "players.xml"), 4096u);
  EXPECT_TRUE(logged("nested deeper than any save"));

  // A results file larger than any the game writes.
  std::string large = "<info>";
  while (large.size() <= kMaxSaveFileBytes) large += "<level id=\"0\" result=\"4\"/>";
  writeFile(saves() / "player0.xml", large + "</info>");
  pugi::xml_document document;
  EXPECT_EQ(loadSaveFile(document, (saves() / "player0.xml").string(), "info"), SAVE_FILE_STATE::CORRUPT);
  EXPECT_TRUE(fileExists((saves() / "player0.xml.corrupt").string()));
  EXPECT_TRUE(logged("larger than any save"));
}

TEST_F(SaveFilesTest, LoadStates) {
  const std::string path = (saves() / "a.xml").string();
  pugi::xml_document document;
  EXPECT_EQ(loadSaveFile(document, path, "a"), SAVE_FILE_STATE::MISSING);

  writeFile(path, "<a x=\"1\"/>");
  EXPECT_EQ(loadSaveFile(document, path, "a"), SAVE_FILE_STATE::LOADED);
  EXPECT_EQ(document.child("a").attribute("x").as_int(), 1);

  writeFile(path, "<a x=\"1\"><b>");
  EXPECT_EQ(loadSaveFile(document, path, "a"), SAVE_FILE_STATE::CORRUPT);
  EXPECT_FALSE(document.first_child());
  EXPECT_FALSE(fileExists(path));
  EXPECT_EQ(readFile(path + ".corrupt"), "<a x=\"1\"><b>");

  // A folder where the file should be is unreadable, and stays where it is.
  std::filesystem::create_directory(path);
  EXPECT_EQ(loadSaveFile(document, path, "a"), SAVE_FILE_STATE::UNREADABLE);
  EXPECT_TRUE(std::filesystem::is_directory(path));
}

}  // namespace
