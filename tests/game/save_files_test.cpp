#include "game/save_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "game/game_globals.h"
#include "save_folder_fixture.h"

namespace {

using test_support::readFile;
using test_support::writeFile;

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
  EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
}

TEST_F(SaveFilesTest, FailedSaveLeavesTheOldFile) {
  const std::string path = (saves() / "a.xml").string();
  writeFile(path, "<old/>");
  pugi::xml_document document;
  document.append_child("new");
  // A folder in the way of the temporary file.
  std::filesystem::create_directory(path + ".tmp");
  EXPECT_FALSE(saveXmlAtomically(document, path));
  EXPECT_EQ(readFile(path), "<old/>");
  // No folder to write into at all.
  EXPECT_FALSE(saveXmlAtomically(document, gBasePath + "/missing/a.xml"));
  EXPECT_FALSE(fileExists(gBasePath + "/missing/a.xml"));
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
