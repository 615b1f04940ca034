// The game program itself started as a player starts it: from a folder without its Resources
// (one message, a failure status, nothing written), from a folder whose Resources are partly
// there (the game starts), and on a real X display, where its window carries the program's
// own icon.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "game/missing_resources.h"
#include "program_run.h"
#include "save_folder_fixture.h"

namespace {

namespace fs = std::filesystem;
using test_support::built;
using test_support::commandOutput;
using test_support::found;
using test_support::PROGRAM_RUN;
using test_support::VIRTUAL_DISPLAY;

int countOf(const std::string& text, const std::string& piece) {
  int count = 0;
  for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++count;
  return count;
}

class ProgramStartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(built("pindrake")) || !fs::exists(built("Resources") / "texts" / "texts.xml"))
      GTEST_SKIP() << "the game and its generated Resources are not built";
    _root = test_support::makeTemporaryFolder("pindrake_program_start_");
    fs::create_directories(start());
  }
  void TearDown() override {
    std::error_code error;
    if (!_root.empty()) fs::remove_all(_root, error);
  }

  fs::path start() const { return _root / "start"; }
  fs::path documents() const { return _root / "Documents"; }
  std::map<std::string, std::string> headless() const {
    return {{"SDL_VIDEODRIVER", "offscreen"}, {"ALSOFT_DRIVERS", "null"}, {"XDG_DOCUMENTS_DIR", documents().string()}};
  }
  // A copy, never a link: the game may write into its Resources, and the build's own must
  // stay as generated.
  void copyGenerated(const std::string& name) {
    fs::create_directories(start() / "Resources");
    fs::copy(built("Resources") / name, start() / "Resources" / name, fs::copy_options::recursive);
  }
  // Everything in the start folder, for a failure message.
  std::string listing() const {
    std::string names;
    for (const auto& entry : fs::recursive_directory_iterator(start())) names += entry.path().string() + "\n";
    return names;
  }

  fs::path _root;
};

TEST_F(ProgramStartTest, InAFolderWithoutResourcesItSaysSoOnceAndEndsWritingNothing) {
  PROGRAM_RUN run(start(), _root / "run.log", headless());
  EXPECT_EQ(run.exitStatus(), 1) << run.output();
  const std::string output = run.output();
  EXPECT_EQ(countOf(output, "Message box ["), 1) << output;
  EXPECT_NE(output.find((start() / "Resources").string() + "\n"), std::string::npos)
      << "the message names the folder it looked in:\n" << output;
  EXPECT_NE(output.find("cd " + fs::path(PINDRAKE_BUILD_DIR).lexically_normal().string() + " && ./pindrake"),
            std::string::npos)
      << "and how to start the game from the program's folder, where the build made Resources:\n" << output;
  EXPECT_TRUE(fs::is_empty(start())) << "no Resources folder is made:\n" << listing();
  EXPECT_FALSE(fs::exists(documents())) << "no save folder is made";
}

TEST_F(ProgramStartTest, AnEmptyResourcesFolderLeftByAnEarlierStartIsNoResourcesEither) {
  fs::create_directories(start() / "Resources");
  PROGRAM_RUN run(start(), _root / "run.log", headless());
  EXPECT_EQ(run.exitStatus(), 1) << run.output();
  EXPECT_EQ(countOf(run.output(), "Message box ["), 1) << run.output();
  EXPECT_TRUE(fs::is_empty(start() / "Resources")) << listing();
}

TEST_F(ProgramStartTest, APartlyBrokenResourcesFolderStillStartsTheGame) {
  copyGenerated("texts");
  copyGenerated("font");
  PROGRAM_RUN run(start(), _root / "run.log", headless());
  EXPECT_TRUE(run.waitFor([&] { return run.logged("Start"); })) << run.output();
  EXPECT_EQ(run.terminate(), 0) << run.output();
}

// ---- the window icon, on a display of its own ------------------------------------------------

TEST_F(ProgramStartTest, TheGameWindowCarriesTheProgramsOwnIcon) {
  if (!found("Xvfb") || !found("xprop")) GTEST_SKIP() << "needs Xvfb (xvfb) and xprop (x11-utils)";
  VIRTUAL_DISPLAY display;
  ASSERT_FALSE(display.name().empty()) << "Xvfb did not start";
  for (const char* pack : {"texts", "font", "sounds", "splash", "interface", "main_menu"}) copyGenerated(pack);
  std::map<std::string, std::string> environment = headless();
  environment["SDL_VIDEODRIVER"] = "x11";
  environment["DISPLAY"] = display.name();
  PROGRAM_RUN run(start(), _root / "run.log", environment);
  ASSERT_TRUE(run.waitFor([&] { return run.logged("Start"); })) << run.output();

  const std::string icon = commandOutput("xprop -display " + display.name() + " -name Pindrake _NET_WM_ICON 2>&1");
  EXPECT_NE(icon.find("_NET_WM_ICON(CARDINAL) = "), std::string::npos) << icon.substr(0, 300);
  EXPECT_NE(icon.find("Icon (64 x 64)"), std::string::npos) << icon.substr(0, 300);
  EXPECT_EQ(run.terminate(), 0) << run.output();
}

// ---- what counts as the game's Resources -------------------------------------------------

TEST(MissingResources, TheTextsOrAnyStartUpPackMakeAFolderTheGames) {
  const fs::path root = test_support::makeTemporaryFolder("pindrake_missing_resources_");
  EXPECT_FALSE(holdsGameResources(root));
  fs::create_directories(root / "Resources" / "Levels");
  EXPECT_FALSE(holdsGameResources(root)) << "levels alone are no game to start";
  fs::create_directories(root / "Resources" / "sounds");
  EXPECT_TRUE(holdsGameResources(root)) << "one pack of the start-up: partly broken, but the game's";
  fs::remove(root / "Resources" / "sounds");
  fs::create_directories(root / "Resources" / "texts");
  test_support::writeFile(root / "Resources" / "texts" / "texts.xml", "<texts/>");
  EXPECT_TRUE(holdsGameResources(root));

  // A program whose own folder holds no Resources either: how to start it, in general words.
  const std::string message = missingResourcesMessage("/home/ann/my games", "/opt/it's here/pindrake");
  EXPECT_NE(message.find("/home/ann/my games/Resources\n"), std::string::npos) << message;
  EXPECT_NE(message.find("cd build && ./pindrake"), std::string::npos) << message;
  // The program's folder, when it holds them, is written as a shell takes it.
  fs::create_directories(root / "my build" / "Resources" / "font");
  const std::string quoted = missingResourcesMessage("/tmp", root / "my build" / "pindrake");
  EXPECT_NE(quoted.find("cd '" + (root / "my build").string() + "' && ./pindrake"), std::string::npos) << quoted;
  std::error_code error;
  fs::remove_all(root, error);
}

}  // namespace
