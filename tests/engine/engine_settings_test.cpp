#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "core_test_util.h"
#include "engine/game.h"

namespace {

namespace fs = std::filesystem;
using QEL::QC_GAME;
using QEL::QS_POINT;

class EngineSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* old = std::getenv("XDG_DOCUMENTS_DIR");
    _hadDocs = old != nullptr;
    if (old) _oldDocs = old;
    _docs = _folder.path() + "/Documents";
    setenv("XDG_DOCUMENTS_DIR", _docs.c_str(), 1);
  }
  void TearDown() override {
    if (_hadDocs) setenv("XDG_DOCUMENTS_DIR", _oldDocs.c_str(), 1); else unsetenv("XDG_DOCUMENTS_DIR");
  }
  std::string configPath(const std::string& company, const std::string& game) const {
    return _docs + "/" + company + "/" + game + "/config.xml";
  }
  void writeConfig(const std::string& text) {
    fs::create_directories(fs::path(configPath("Tessaro", "Tessaro Game")).parent_path());
    std::ofstream(configPath("Tessaro", "Tessaro Game")) << text;
  }

  coretest::TempFolder _folder;
  std::string _docs;
  std::string _oldDocs;
  bool _hadDocs = false;
};

TEST_F(EngineSettingsTest, WithoutAFileTheDefaultsAreWrittenAndReadBack) {
  QC_GAME game;
  coretest::LogCatcher log;
  game.LoadEngineConfig();
  EXPECT_TRUE(log.has("-LoadEngineConfig"));
  ASSERT_TRUE(fs::exists(configPath("Tessaro", "Tessaro Game")));
  EXPECT_EQ(game._settings._gameName, "Tessaro Game");
  EXPECT_EQ(game._settings._companyName, "Tessaro");
  EXPECT_EQ(game._settings._resolution, QS_POINT(1024, 768));

  std::ifstream in(configPath("Tessaro", "Tessaro Game"), std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  const std::string content = text.str();
  EXPECT_EQ(content.rfind("\xEF\xBB\xBF<?xml", 0), 0u);  // BOM, then the declaration
  EXPECT_NE(content.find("<tessaro_settings game_name=\"Tessaro Game\" company_name=\"Tessaro\" "
                         "resolution=\"1024 768\" />"),
            std::string::npos);
}

// A disk that cannot take the new file whole (a file-size limit here) leaves the old
// settings as they were, with nothing beside them.
TEST_F(EngineSettingsTest, ASaveTheDiskCannotTakeKeepsTheOldFile) {
  const std::string old =
      "<tessaro_settings game_name=\"Tessaro Game\" company_name=\"Tessaro\" resolution=\"640 480\"/>";
  writeConfig(old);
  QC_GAME game;
  game._settings._resolution = QS_POINT(800, 600);
  rlimit unlimited{};
  ::getrlimit(RLIMIT_FSIZE, &unlimited);
  rlimit tiny = unlimited;
  tiny.rlim_cur = 16;
  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);  // the write fails, the test goes on
  ::setrlimit(RLIMIT_FSIZE, &tiny);
  game.fSaveDefaultConfig();
  ::setrlimit(RLIMIT_FSIZE, &unlimited);
  std::signal(SIGXFSZ, previousHandler);

  std::ifstream in(configPath("Tessaro", "Tessaro Game"), std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), old);
  const fs::path folder = fs::path(configPath("Tessaro", "Tessaro Game")).parent_path();
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
  game.LoadEngineConfig();
  EXPECT_EQ(game._settings._resolution, QS_POINT(640, 480));
}

TEST_F(EngineSettingsTest, ChangedSettingsRoundTrip) {
  QC_GAME writer;
  writer._settings._resolution = QS_POINT(800, 600);
  writer.fSaveDefaultConfig();
  QC_GAME reader;
  reader.LoadEngineConfig();
  EXPECT_EQ(reader._settings._resolution, QS_POINT(800, 600));
}

TEST_F(EngineSettingsTest, ASingleNumberLeavesTheResolution) {
  writeConfig("<tessaro_settings game_name=\"Tessaro Game\" company_name=\"Tessaro\" resolution=\"800\"/>");
  QC_GAME game;
  game._settings._resolution = QS_POINT(640, 480);
  game.LoadEngineConfig();
  EXPECT_EQ(game._settings._resolution, QS_POINT(640, 480));
}

TEST_F(EngineSettingsTest, NamesFromTheFileMoveTheNextRead) {
  writeConfig("<tessaro_settings game_name=\"Other\" company_name=\"Elsewhere\" resolution=\"1280 720\"/>");
  QC_GAME game;
  game.LoadEngineConfig();
  EXPECT_EQ(game._settings._gameName, "Other");
  EXPECT_EQ(game._settings._companyName, "Elsewhere");
  EXPECT_EQ(game._settings._resolution, QS_POINT(1280, 720));
  game.LoadEngineConfig();  // no file there yet: the current values are written and read
  EXPECT_TRUE(fs::exists(configPath("Elsewhere", "Other")));
  EXPECT_EQ(game._settings._resolution, QS_POINT(1280, 720));
}

TEST_F(EngineSettingsTest, MalformedFileKeepsTheDefaultsWithALogLine) {
  writeConfig("<tessaro_settings game_name=\"Broken\" resolution=\"1 2\"");
  QC_GAME game;
  coretest::LogCatcher log;
  game.LoadEngineConfig();
  EXPECT_EQ(game._settings._gameName, "Tessaro Game");
  EXPECT_EQ(game._settings._companyName, "Tessaro");
  EXPECT_EQ(game._settings._resolution, QS_POINT(1024, 768));
  bool reported = false;
  for (const std::string& line : log.lines()) reported |= line.rfind("config.xml cannot be read", 0) == 0;
  EXPECT_TRUE(reported);
}

TEST_F(EngineSettingsTest, MissingAttributesKeepTheirValues) {
  writeConfig("<tessaro_settings resolution=\"320 240\"/>");
  QC_GAME game;
  coretest::LogCatcher log;
  game.LoadEngineConfig();
  EXPECT_EQ(game._settings._gameName, "Tessaro Game");
  EXPECT_EQ(game._settings._companyName, "Tessaro");
  EXPECT_EQ(game._settings._resolution, QS_POINT(320, 240));
  EXPECT_TRUE(log.has("config.xml lacks a setting: the missing ones keep their values"));
}

TEST_F(EngineSettingsTest, EmptyFileIsMalformed) {
  writeConfig("");
  QC_GAME game;
  game.LoadEngineConfig();
  EXPECT_EQ(game._settings._gameName, "Tessaro Game");
}

}  // namespace
