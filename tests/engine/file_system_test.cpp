#include <gtest/gtest.h>
#include <zip.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>
#include <zlib.h>

#include "core_test_util.h"
#include "engine/callback.h"
#include "engine/file_system.h"
#include "engine/globals.h"
#include "late_pipe_writer.h"

namespace {

namespace fs = std::filesystem;
using QEL::QC_FILE_SYSTEM;
using QEL::QS_FILE_DATA;

void writeFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary);
  out << content;
}

struct Member {
  std::string name;
  std::string content;
  bool stored;
};

// Builds a plain zip with minizip's writer.
void writeZip(const std::string& path, const std::vector<Member>& members) {
  zipFile zip = zipOpen(path.c_str(), APPEND_STATUS_CREATE);
  ASSERT_NE(zip, nullptr);
  for (const Member& m : members) {
    zip_fileinfo info{};
    const uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(m.content.data()), static_cast<uInt>(m.content.size()));
    ASSERT_EQ(zipOpenNewFileInZip3(zip, m.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                   m.stored ? 0 : Z_DEFLATED, m.stored ? 0 : Z_DEFAULT_COMPRESSION, 0,
                                   -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, nullptr, crc),
              ZIP_OK);
    ASSERT_EQ(zipWriteInFileInZip(zip, m.content.data(), static_cast<unsigned>(m.content.size())), ZIP_OK);
    ASSERT_EQ(zipCloseFileInZip(zip), ZIP_OK);
  }
  ASSERT_EQ(zipClose(zip, nullptr), ZIP_OK);
}

// Encrypted zips come from the zip tool: the system's minizip writes no valid encryption.
bool writeEncryptedZip(const std::string& path, const std::vector<Member>& members, const std::string& password) {
  if (std::system("command -v zip >/dev/null 2>&1") != 0) return false;
  const std::string target = fs::absolute(path).string();
  fs::create_directories("zipsrc");
  for (const Member& m : members) {
    fs::create_directories(fs::path("zipsrc/" + m.name).parent_path());
    writeFile("zipsrc/" + m.name, m.content);
    const std::string command = "cd zipsrc && zip -q " + std::string(m.stored ? "-0 " : "") + "-P '" + password +
                                "' '" + target + "' '" + m.name + "'";
    if (std::system(command.c_str()) != 0) return false;
  }
  fs::remove_all("zipsrc");
  return true;
}

std::vector<std::string> sorted(std::vector<std::string> list) {
  std::sort(list.begin(), list.end());
  return list;
}

class FileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override { _start = fs::current_path().string(); }
  coretest::TempFolder _folder;
  std::string _start;
};

TEST_F(FileSystemTest, StartCreatesResourcesAndMakesItCurrent) {
  QEL::qcRESOURCE_ERROR_TEXT.clear();
  QC_FILE_SYSTEM files;
  EXPECT_EQ(files.fGetBaseFolder(), _start + "/");
  EXPECT_EQ(files.fGetResourcesFolder(), _start + "/Resources/");
  EXPECT_TRUE(fs::is_directory(_start + "/Resources"));
  EXPECT_EQ(fs::current_path().string(), _start + "/Resources");
  EXPECT_TRUE(QEL::qcRESOURCE_ERROR_TEXT.empty());
  EXPECT_EQ(QEL::qcFILE_SYSTEM_INSTANCE, &files);
}

TEST_F(FileSystemTest, PathTypes) {
  QC_FILE_SYSTEM files;
  writeFile("a.txt", "x");
  EXPECT_EQ(files.fPathType(files.fGetResourcesFolder()), 2);
  EXPECT_EQ(files.fPathType("a.txt"), 1);
  EXPECT_EQ(files.fPathType("missing"), 0);
}

TEST_F(FileSystemTest, CreateDirectoriesVisitsEveryPrefix) {
  QC_FILE_SYSTEM files;
  coretest::LogCatcher log;
  EXPECT_EQ(files.fCreateDirectories("one/two/three"), 1);
  EXPECT_TRUE(fs::is_directory("one/two/three"));
  EXPECT_TRUE(log.has("forCreate.c_str()= one/"));
  EXPECT_TRUE(log.has("forCreate.c_str()= one/two/"));
  EXPECT_TRUE(log.has("forCreate.c_str()= one/two/three"));
  log.clear();
  EXPECT_EQ(files.fCreateDirectories("one/two"), 1);  // exists: nothing visited
  EXPECT_TRUE(log.lines().empty());
  EXPECT_EQ(files.fCreateDirectories("win\\style"), 1);
  EXPECT_TRUE(fs::is_directory("win/style"));
}

TEST_F(FileSystemTest, CreateDirectoriesReportsAFolderItCannotMake) {
  QC_FILE_SYSTEM files;
  writeFile("plain", "x");
  EXPECT_EQ(files.fCreateDirectories("plain/below"), -1);
}

TEST_F(FileSystemTest, ListFolderListsFilesOrFoldersNeverDots) {
  QC_FILE_SYSTEM files;
  fs::create_directories("pack/sub/deeper");
  writeFile("pack/a.png", "a");
  writeFile("pack/b.xml", "b");
  writeFile("pack/sub/c.png", "c");
  std::vector<std::string> list;
  QC_FILE_SYSTEM::fListFolder("pack", list, false, "*");
  EXPECT_EQ(sorted(list), (std::vector<std::string>{"a.png", "b.xml"}));
  list.clear();
  QC_FILE_SYSTEM::fListFolder("pack", list, true, "*");
  EXPECT_EQ(list, (std::vector<std::string>{"sub"}));
  list.clear();
  QC_FILE_SYSTEM::fListFolder("pack", list, false, "png");
  EXPECT_EQ(list, (std::vector<std::string>{"a.png"}));
}

TEST_F(FileSystemTest, ListingAMissingFolderIsLogged) {
  coretest::LogCatcher log;
  std::vector<std::string> list;
  QC_FILE_SYSTEM::fListFolder("nowhere", list, false, "*");
  EXPECT_TRUE(list.empty());
  EXPECT_TRUE(log.has("Address is uncorrect nowhere"));
}

TEST_F(FileSystemTest, FileMagic) {
  writeFile("z.bin", std::string("PK\x03\x04rest", 8));
  writeFile("p.bin", std::string("\x89PNG", 4));
  writeFile("r.bin", "Rar!");
  writeFile("o.bin", "hello");
  writeFile("short.bin", "P");
  EXPECT_EQ(QC_FILE_SYSTEM::fFileMagic("z.bin"), 0x04034B50);
  EXPECT_EQ(QC_FILE_SYSTEM::fFileMagic("p.bin"), 0x474E5089);
  EXPECT_EQ(QC_FILE_SYSTEM::fFileMagic("r.bin"), 0x21726152);
  EXPECT_EQ(QC_FILE_SYSTEM::fFileMagic("o.bin"), 0x474E508A);
  EXPECT_EQ(QC_FILE_SYSTEM::fFileMagic("short.bin"), 0x474E508A);
  EXPECT_EQ(QC_FILE_SYSTEM::fFileMagic("missing.bin"), -1);
}

TEST_F(FileSystemTest, FolderResourceGetsACountedTerminatingZero) {
  QC_FILE_SYSTEM files;
  fs::create_directories("interface/pause_window");
  writeFile("interface/pause_window/ten.bin", "0123456789");
  QS_FILE_DATA data;
  ASSERT_EQ(files.fLoadResource("interface/pause_window", "ten.bin", "", data), 1);
  EXPECT_EQ(data._type, 1);
  EXPECT_EQ(data._size, 11u);
  EXPECT_EQ(std::memcmp(data._data, "0123456789", 10), 0);
  EXPECT_EQ(data._data[10], 0);
  files.fFreeResource(data);
  EXPECT_EQ(data._type, 0);
  EXPECT_EQ(data._data, nullptr);
}

TEST_F(FileSystemTest, MainRepositoryFileIsReadFromResourcesItself) {
  QC_FILE_SYSTEM files;
  writeFile("main.txt", "abc");
  QS_FILE_DATA data;
  ASSERT_EQ(files.fLoadResource("", "main.txt", "", data), 1);
  EXPECT_EQ(data._size, 4u);
  files.fFreeResource(data);
}

TEST_F(FileSystemTest, MissingFolderFileOrPack) {
  QC_FILE_SYSTEM files;
  fs::create_directories("pack");
  QS_FILE_DATA data;
  EXPECT_EQ(files.fLoadResource("pack", "missing.png", "", data), -108);
  EXPECT_EQ(files.fLoadResource("nopack", "a.png", "", data), -1);
  EXPECT_EQ(data._type, 0);
}

TEST_F(FileSystemTest, PathsLeadingOutsideResourcesAreRefused) {
  QC_FILE_SYSTEM files;
  writeFile(_start + "/secret.txt", "secret");
  fs::create_directories("pack");
  coretest::LogCatcher log;
  QS_FILE_DATA data;
  EXPECT_EQ(files.fLoadResource("..", "secret.txt", "", data), -1);
  EXPECT_EQ(files.fLoadResource("pack", "../../secret.txt", "", data), -1);
  EXPECT_EQ(files.fLoadResource(_start, "secret.txt", "", data), -1);
  EXPECT_EQ(files.fLoadResource("pack\\..\\..", "secret.txt", "", data), -1);
  EXPECT_EQ(files.fOpenResource("..", "secret.txt", data), -1);
  EXPECT_EQ(data._type, 0);
  EXPECT_EQ(data._data, nullptr);
  EXPECT_EQ(std::count_if(log.lines().begin(), log.lines().end(),
                          [](const std::string& l) { return l.rfind("Path outside Resources refused: ", 0) == 0; }),
            5);
  // A name that merely contains dots is not a step up.
  writeFile("pack/a..b.txt", "ok");
  EXPECT_EQ(files.fLoadResource("pack", "a..b.txt", "", data), 1);
  files.fFreeResource(data);
}

TEST_F(FileSystemTest, ZipListingNamesEveryMember) {
  QC_FILE_SYSTEM files;
  writeZip("pack.zip", {{"a.txt", "alpha", false}, {"dir/b.txt", "beta", true}});
  std::vector<std::string> list;
  QC_FILE_SYSTEM::fListZip("pack.zip", "", list, false);
  EXPECT_EQ(list, (std::vector<std::string>{"a.txt", "dir/b.txt"}));
  writeFile("notzip.zip", "nothing");
  list.clear();
  QC_FILE_SYSTEM::fListZip("notzip.zip", "", list, false);
  EXPECT_TRUE(list.empty());
}

TEST_F(FileSystemTest, ZipMemberIsReadWithThePassword) {
  QC_FILE_SYSTEM files;
  if (!writeEncryptedZip("secret.zip",
                         {{"first.txt", "first member", false}, {"ten.bin", "0123456789", false},
                          {"raw.txt", "stored", true}},
                         "pass")) {
    GTEST_SKIP() << "the zip tool is needed to build an encrypted zip";
  }
  QS_FILE_DATA data;
  ASSERT_EQ(files.fLoadResource("secret.zip", "ten.bin", "pass", data), 1);
  EXPECT_EQ(data._size, 10u);  // a zip member does not count the terminator
  EXPECT_EQ(std::memcmp(data._data, "0123456789", 10), 0);
  EXPECT_EQ(data._data[10], 0);
  files.fFreeResource(data);
  ASSERT_EQ(files.fLoadResource("secret.zip", "raw.txt", "pass", data), 1);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(data._data), data._size), "stored");
  files.fFreeResource(data);
}

TEST_F(FileSystemTest, ZipWithAWrongPasswordIsAReadError) {
  QC_FILE_SYSTEM files;
  if (!writeEncryptedZip("secret.zip", {{"packed.txt", std::string(200, 'x'), false}, {"raw.txt", "stored text", true}},
                         "pass")) {
    GTEST_SKIP() << "the zip tool is needed to build an encrypted zip";
  }
  coretest::LogCatcher log;
  QS_FILE_DATA data;
  // Refused at the password check (or, for one password in 256, by the checksum).
  for (const char* member : {"packed.txt", "raw.txt"}) {
    const int32_t result = files.fLoadResource("secret.zip", member, "wrong", data);
    EXPECT_TRUE(result == -1 || result == -109) << member << " " << result;
  }
  EXPECT_EQ(files.fLoadResource("secret.zip", "raw.txt", "pass", data), 1);
  files.fFreeResource(data);
  EXPECT_EQ(data._type, 0);
  EXPECT_EQ(data._data, nullptr);
  EXPECT_TRUE(log.has("UNZ_OK != unzOpenCurrentFilePassword(zipfile,res->_sgPass.c_str())") ||
              log.has("zip file Read Error"));
}

TEST_F(FileSystemTest, UnencryptedMemberIgnoresThePassword) {
  QC_FILE_SYSTEM files;
  writeZip("plain.zip", {{"a.txt", "alpha", false}});
  QS_FILE_DATA data;
  ASSERT_EQ(files.fLoadResource("plain.zip", "a.txt", "pw", data), 1);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(data._data), data._size), "alpha");
  files.fFreeResource(data);
}

TEST_F(FileSystemTest, DamagedMemberIsAReadError) {
  QC_FILE_SYSTEM files;
  writeZip("damaged.zip", {{"raw.txt", "stored text", true}});
  std::string bytes;
  {
    std::ifstream in("damaged.zip", std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), {});
  }
  const std::size_t at = bytes.find("stored text");
  ASSERT_NE(at, std::string::npos);
  bytes[at] = 'X';
  writeFile("damaged.zip", bytes);
  coretest::LogCatcher log;
  QS_FILE_DATA data;
  EXPECT_EQ(files.fLoadResource("damaged.zip", "raw.txt", "pw", data), -109);
  EXPECT_TRUE(log.has("zip file Read Error"));
  EXPECT_EQ(data._data, nullptr);
}

TEST_F(FileSystemTest, ZipMemberThatIsAbsentIsMissing) {
  QC_FILE_SYSTEM files;
  writeZip("pack.zip", {{"a.txt", "alpha", false}});
  QS_FILE_DATA data;
  EXPECT_EQ(files.fLoadResource("pack.zip", "b.txt", "pw", data), -108);
  EXPECT_EQ(data._type, 0);
}

TEST_F(FileSystemTest, ZipRecordWithoutPasswordIsNotLoaded) {
  QC_FILE_SYSTEM files;
  writeZip("pack.zip", {{"a.txt", "alpha", false}});
  coretest::LogCatcher log;
  QS_FILE_DATA data;
  EXPECT_EQ(files.fLoadResource("pack.zip", "a.txt", "", data), 1);
  EXPECT_EQ(data._type, 0);
  EXPECT_TRUE(log.has("res->_sgPass= "));
  EXPECT_TRUE(log.has("res->_sgResName= a.txt"));
}

TEST_F(FileSystemTest, CorruptZipIsRefused) {
  QC_FILE_SYSTEM files;
  writeFile("broken.zip", std::string("PK\x03\x04", 4) + "garbage that is not a zip");
  QS_FILE_DATA data;
  EXPECT_EQ(files.fLoadResource("broken.zip", "a.txt", "pw", data), -1);
  std::vector<std::string> list;
  QC_FILE_SYSTEM::fListZip("broken.zip", "", list, false);
  EXPECT_TRUE(list.empty());
}

// Named pipes in place of a pack's file, of a video and of a zip pack would each hold the
// reader until some writer came: none is waited on, each is logged and counts as missing.
TEST_F(FileSystemTest, NamedPipesInResourcesAreNeverWaitedOn) {
  QC_FILE_SYSTEM files;
  fs::create_directories("pack");
  test_support::LATE_PIPE_WRITER picture("pack/logo.png", "picture bytes");
  test_support::LATE_PIPE_WRITER video("pack/clip.ogv", "video bytes");
  test_support::LATE_PIPE_WRITER zip("pack.zip", "zip bytes");
  ASSERT_TRUE(picture.made() && video.made() && zip.made());
  coretest::LogCatcher log;
  QS_FILE_DATA data;
  EXPECT_EQ(files.fLoadResource("pack", "logo.png", "", data), -108);
  EXPECT_EQ(files.fOpenResource("pack", "clip.ogv", data), -108);
  EXPECT_EQ(files.fLoadResource("pack.zip", "a.txt", "pw", data), -1);
  std::vector<std::string> list;
  QC_FILE_SYSTEM::fListZip("pack.zip", "", list, false);
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(data._type, 0);
  EXPECT_TRUE(log.has("Resource not read (not a plain file: a named pipe stands in its place): pack/logo.png"));
  EXPECT_TRUE(log.has("Resource not read (not a plain file: a named pipe stands in its place): pack/clip.ogv"));
  EXPECT_FALSE(picture.heldAReader() || video.heldAReader() || zip.heldAReader()) << "a reader waited for a writer";
}

TEST_F(FileSystemTest, OpenResourceStreamsAFolderFile) {
  QC_FILE_SYSTEM files;
  fs::create_directories("video");
  writeFile("video/clip.ogv", "12345");
  QS_FILE_DATA data;
  ASSERT_EQ(files.fOpenResource("video", "clip.ogv", data), 1);
  EXPECT_EQ(data._size, 5u);
  ASSERT_NE(data._file, nullptr);
  files.fCloseResource(data);
  EXPECT_EQ(data._file, nullptr);
  EXPECT_EQ(data._type, 0);
  EXPECT_EQ(files.fOpenResource("video", "none.ogv", data), -108);
}

TEST_F(FileSystemTest, CreateFileEmptiesAnExistingFileOnly) {
  QC_FILE_SYSTEM files;
  writeFile("full.txt", "content");
  files.fCreateFile("full.txt");
  EXPECT_EQ(fs::file_size("full.txt"), 0u);
  files.fCreateFile("made/new.txt");
  EXPECT_TRUE(fs::is_directory("made"));
  EXPECT_FALSE(fs::exists("made/new.txt"));
}

TEST_F(FileSystemTest, DocumentsFolderFollowsXdgAndIsCreated) {
  const char* oldDocs = std::getenv("XDG_DOCUMENTS_DIR");
  const std::string savedDocs = oldDocs ? oldDocs : "";
  const std::string docs = _start + "/my docs/deeper";
  setenv("XDG_DOCUMENTS_DIR", docs.c_str(), 1);
  const char* folder = QC_FILE_SYSTEM::fGetDocumentsFolder();
  ASSERT_NE(folder, nullptr);
  EXPECT_EQ(std::string(folder), docs);
  EXPECT_TRUE(fs::is_directory(docs));
  unsetenv("XDG_DOCUMENTS_DIR");
  const std::string home = _start + "/home";
  const char* oldHome = std::getenv("HOME");
  const std::string savedHome = oldHome ? oldHome : "";
  setenv("HOME", home.c_str(), 1);
  fs::create_directories(home);
  folder = QC_FILE_SYSTEM::fGetDocumentsFolder();
  ASSERT_NE(folder, nullptr);
  EXPECT_EQ(std::string(folder), home + "/Documents");
  EXPECT_TRUE(fs::is_directory(home + "/Documents"));
  if (oldHome) setenv("HOME", savedHome.c_str(), 1); else unsetenv("HOME");
  if (oldDocs) setenv("XDG_DOCUMENTS_DIR", savedDocs.c_str(), 1);
}

}  // namespace
