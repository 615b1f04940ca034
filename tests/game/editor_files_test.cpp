// The editor's level files: Space saves the level and plays it in a level scene, the level
// scene reads back what the editor saved, and a save that fails stays in the editor, says
// so and keeps the old file.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <memory>
#include <string>

#include "editor_fixture.h"
#include "game/card.h"
#include "game_child.h"
#include "late_pipe_writer.h"
#include "level_fixture.h"

namespace {

using enum platform::KEY;
const std::filesystem::path GENERATED_LEVELS = std::filesystem::path(PINDRAKE_BUILD_DIR) / "Resources" / "Levels";

// What the level scene lays out from a level file, read as the level's start-up reads it
// (before any random card gets its value).
std::unique_ptr<SCENE_CARD_GAME_LEVEL> levelSceneReading(const std::filesystem::path& file, int32_t level) {
  std::unique_ptr<SCENE_CARD_GAME_LEVEL> scene = makeBareLevelScene();
  gCurrentLevel = level;
  scene->levelDocument.reset();
  if (std::filesystem::exists(file)) scene->levelDocument.load_file(file.c_str());
  scene->readLevel();
  return scene;
}

void expectSameLayout(const SCENE_CARD_GAME_LEVEL& expected, const SCENE_CARD_GAME_LEVEL& read) {
  EXPECT_EQ(read.countOfCards, expected.countOfCards);
  EXPECT_EQ(read.countOfSpecialCardsOnScene, expected.countOfSpecialCardsOnScene);
  EXPECT_EQ(read.numberOfCardsInStockPile, expected.numberOfCardsInStockPile);
  EXPECT_EQ(read.numberOfReservePiles, expected.numberOfReservePiles);
  EXPECT_EQ(read.numberOfBonusCards, expected.numberOfBonusCards);
  for (int32_t id = 0; id < SCENE_CARD_GAME_LEVEL::MAX_LAYOUT_CARDS; ++id) {
    const CARD& a = *expected.cards[id];
    const CARD& b = *read.cards[id];
    ASSERT_EQ(b.onTable, a.onTable) << "card " << id;
    if (!a.onTable) continue;
    EXPECT_EQ(b.tableX, a.tableX) << "card " << id;
    EXPECT_EQ(b.tableY, a.tableY) << "card " << id;
    EXPECT_EQ(b.angle, a.angle) << "card " << id;
    EXPECT_EQ(b.zLayer, a.zLayer) << "card " << id;
    EXPECT_EQ(b.value, a.value) << "card " << id;
    EXPECT_EQ(b.special, a.special) << "card " << id;
    EXPECT_EQ(b.overList, a.overList) << "card " << id;
    EXPECT_EQ(b.underList, a.underList) << "card " << id;
  }
}

using EditorFiles = EditorSceneTest;

TEST_F(EditorFiles, EveryGeneratedLevelAndAnEmptyOneSurviveTheEditorsSaveIntoTheLevelScene) {
  if (!std::filesystem::is_directory(GENERATED_LEVELS)) GTEST_SKIP() << "no generated Resources in this build";
  for (int32_t level = 0; level <= kLevelCount; ++level) {
    SCOPED_TRACE("level " + std::to_string(level));
    // Past the last generated level lies no file: an empty level.
    const std::filesystem::path original = GENERATED_LEVELS / ("Level_" + std::to_string(level) + ".xml");
    if (level < kLevelCount) std::filesystem::copy_file(original, levelFilePath(level));
    open(level);
    press(SPACE);
    ASSERT_NE(dynamic_cast<SCENE_CARD_GAME_LEVEL*>(gCurrentScene), nullptr);
    ASSERT_TRUE(std::filesystem::exists(levelFilePath(level)));
    delete gCurrentScene;
    gCurrentScene = nullptr;

    const auto expected = levelSceneReading(original, level);
    const auto read = levelSceneReading(levelFilePath(level), level);
    expectSameLayout(*expected, *read);
    if (level < kLevelCount) {
      EXPECT_GT(read->countOfCards, 0);
    } else {
      EXPECT_EQ(read->countOfCards, 0);
    }
    if (HasFatalFailure() || HasNonfatalFailure()) break;
  }
}

TEST_F(EditorFiles, SpaceSavesTheMovedCardAndTestPlaysTheLevelAtTheGamesScreenSize) {
  writeLevelFile(12, {{3, 300, 300, 0, 17}, {4, 600, 300, 1, -1, true}});
  gPlayers[0].isFullscreen = 1;
  SCENE_CARD_GAME_EDITOR& editor = open(12);
  EXPECT_EQ(QEL::qcGAME->_settings._resolution.x, 1280);
  EXPECT_EQ(QEL::qcGAME->_settings._fullscreen, 1);
  drag(300, 300, 250, 380);
  ASSERT_TRUE(editor.table.isModified);
  press(SPACE);

  auto* level = dynamic_cast<SCENE_CARD_GAME_LEVEL*>(gCurrentScene);
  ASSERT_NE(level, nullptr);
  EXPECT_EQ(gSceneKind, 4);
  EXPECT_FLOAT_EQ(level->cards[3]->tableX, 250);
  EXPECT_FLOAT_EQ(level->cards[3]->tableY, 380);
  EXPECT_EQ(level->cards[3]->value, 17);
  EXPECT_TRUE(level->cards[4]->special);
  // Back at the game's picture, still full screen as the player chose.
  EXPECT_EQ(QEL::qcGAME->_settings._resolution.x, 1024);
  EXPECT_EQ(QEL::qcGAME->_settings._resolution.y, 768);
  EXPECT_EQ(QEL::qcGAME->_settings._fullscreen, 1);
  EXPECT_EQ(gPlayers[0].isFullscreen, 1);
  gPlayers[0].isFullscreen = 0;
}

// A named pipe in a level file's place would hold the editor until some writer came, and a
// level file of a hundred thousand cards would be parsed whole. Stepping onto either opens
// an empty level at once that says it could not be read; the large file is kept aside once,
// however often the level is opened, and stays as it was.
TEST_F(EditorFiles, ANamedPipeOrAFileLargerThanAnyLevelOpensAsAnUnreadLevelAtOnce) {
  writeLevelFile(3, {{0, 200, 200}, {1, 400, 200}});
  test_support::LATE_PIPE_WRITER pipe(levelFilePath(4), "<level><card id=\"0\" x=\"200\" y=\"200\"/></level>");
  ASSERT_TRUE(pipe.made());
  std::string large = "<level>";
  while (large.size() <= 4u * 1024u * 1024u) large += "<card id=\"1\" x=\"400\" y=\"200\" assignedValue=\"-1\"/>";
  large += "</level>";
  test_support::writeFile(levelFilePath(5), large);

  SCENE_CARD_GAME_EDITOR& editor = open(3);
  key(RIGHT_ARROW);
  EXPECT_EQ(gCurrentLevel, 4);
  EXPECT_EQ(editor.table.countCardsInUse(), 0);
  EXPECT_NE(editor.message.find("Level 5 could not be read: it is not saved over unless changed"), std::string::npos)
      << editor.message;
  EXPECT_TRUE(logged("Levels/Level_4.xml not read: not a plain file: a named pipe stands in its place"));
  EXPECT_FALSE(pipe.heldAReader()) << "the editor waited for the pipe's writer";

  for (int opening = 0; opening < 2; ++opening) {
    key(RIGHT_ARROW);
    EXPECT_EQ(gCurrentLevel, 5);
    EXPECT_EQ(editor.table.countCardsInUse(), 0);
    EXPECT_NE(editor.message.find("Level 6 could not be read, kept as Level_5.xml.corrupt:"), std::string::npos)
        << editor.message;
    key(LEFT_ARROW);
  }
  EXPECT_TRUE(logged("Levels/Level_5.xml not read: " + std::to_string(large.size()) +
                     " bytes, larger than any such file (4194304)"));
  EXPECT_TRUE(test_support::readFile(levelFilePath(5)) == large) << "the large file changed";
  EXPECT_TRUE(test_support::readFile(levelFilePath(5).string() + ".corrupt") == large) << "no copy kept";
  EXPECT_FALSE(std::filesystem::exists(levelFilePath(5).string() + ".corrupt1"));
}

// The saves that cannot happen: the editor stays, the level stays changed, the screen and
// the log say so, and the file keeps what it held.
class EditorFailedSaves : public EditorSceneTest {
 protected:
  void SetUp() override {
    EditorSceneTest::SetUp();
    writeLevelFile(5, {{0, 300, 300}});
    _before = test_support::readFile(levelFilePath(5));
  }
  void moveACardAndPressSpace() {
    open(5);
    drag(300, 300, 500, 350);
    press(SPACE);
  }
  // For the checks inside a child process.
  void checkTheChangesStayed(const std::string& reason) {
    CHILD_CHECK(editorIsCurrent(), "the editor was left after a failed save");
    CHILD_CHECK(editor().table.isModified, "the level no longer counts as changed");
    CHILD_CHECK(editor().table.cards[0].x == 500.0f, "the moved card went back");
    CHILD_CHECK(editor().message.find("NOT saved") != std::string::npos, "no message: " + editor().message);
    CHILD_CHECK(editor().message.find(reason) != std::string::npos, "the message does not say why: " + editor().message);
    CHILD_CHECK(logged("was not saved"), "no log line");
    CHILD_CHECK(test_support::readFile(levelFilePath(5)) == _before, "the old file was changed");
  }
  std::string _before;
};

TEST_F(EditorFailedSaves, AFolderInTheFilesPlace) {
  open(5);
  std::filesystem::remove(levelFilePath(5));
  std::filesystem::create_directory(levelFilePath(5));
  drag(300, 300, 500, 350);
  press(SPACE);
  ASSERT_TRUE(editorIsCurrent());
  EXPECT_TRUE(editor().table.isModified);
  EXPECT_FLOAT_EQ(editor().table.cards[0].x, 500.0f);
  EXPECT_NE(editor().message.find("NOT saved"), std::string::npos) << editor().message;
  EXPECT_NE(editor().message.find("Is a directory"), std::string::npos) << editor().message;
  EXPECT_TRUE(logged("was not saved"));
  EXPECT_TRUE(std::filesystem::is_directory(levelFilePath(5)));
  EXPECT_FALSE(test_support::hasTemporaryBeside(levelFilePath(5)));
}

TEST_F(EditorFailedSaves, AFolderThatCannotBeWritten) {
  // Root writes anywhere: the child gives up its rights first.
  std::filesystem::permissions(std::filesystem::current_path().parent_path(), std::filesystem::perms::all);
  std::filesystem::permissions(std::filesystem::current_path(), std::filesystem::perms::all);
  std::filesystem::permissions("Levels", std::filesystem::perms::owner_all | std::filesystem::perms::group_read |
                                             std::filesystem::perms::group_exec | std::filesystem::perms::others_read |
                                             std::filesystem::perms::others_exec);
  std::filesystem::permissions(levelFilePath(5), std::filesystem::perms::all);
  inChildProcess([&] {
    open(5);
    drag(300, 300, 500, 350);
    const uid_t nobody = 65534;
    CHILD_CHECK(::setresgid(nobody, nobody, nobody) == 0 && ::setresuid(nobody, nobody, nobody) == 0,
                "cannot give up the rights");
    press(SPACE);
    checkTheChangesStayed("Permission denied");
  });
  std::filesystem::permissions("Levels", std::filesystem::perms::all);
}

TEST_F(EditorFailedSaves, ADiskThatIsFull) {
  inChildProcess([&] {
    // Files may grow no further than a few bytes: every write beyond fails as on a full disk.
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{16, 16};
    CHILD_CHECK(::setrlimit(RLIMIT_FSIZE, &limit) == 0, "cannot limit the file size");
    moveACardAndPressSpace();
    checkTheChangesStayed("writing failed");
    CHILD_CHECK(!test_support::hasTemporaryBeside(levelFilePath(5)), "a temporary file was left");
  });
}

}  // namespace
