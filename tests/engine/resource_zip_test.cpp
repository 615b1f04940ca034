// The zip member reader: PKWARE decryption, stored and deflated members, and every failure.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>

#include "engine/zip_reader.h"
#include "res_test_util.h"

using QEL::fReadZipMember;
using QEL::QS_FILE_DATA;

namespace {

std::string readMember(const std::filesystem::path& zip, const std::string& member, const std::string& password,
                       int32_t& result) {
  QS_FILE_DATA data;
  result = fReadZipMember(zip.string(), member, password, data);
  std::string bytes;
  if (result == 1) {
    bytes.assign(reinterpret_cast<const char*>(data._data), data._size);
    EXPECT_EQ(data._data[data._size], 0);  // terminated, not counted
    EXPECT_EQ(data._type, 1);
    std::free(data._data);
  } else {
    EXPECT_EQ(data._data, nullptr);
    EXPECT_EQ(data._type, 0);
  }
  return bytes;
}

std::string sample() {
  std::string text;
  for (int i = 0; i < 200; ++i) text += "line " + std::to_string(i) + " of a compressible member\n";
  return text;
}

}  // namespace

TEST(ResourceZip, ReadsDeflatedAndStoredPasswordMembers) {
  res_test::TempDir dir("zip");
  ASSERT_TRUE(res_test::writeZip(dir.path() / "deflated.zip", {{"a/b.txt", sample()}, {"empty.txt", ""}}, "secret"));
  int32_t result = 0;
  EXPECT_EQ(readMember(dir.path() / "deflated.zip", "a/b.txt", "secret", result), sample());
  EXPECT_EQ(result, 1);
  EXPECT_EQ(readMember(dir.path() / "deflated.zip", "empty.txt", "secret", result), "");
  EXPECT_EQ(result, 1);

  res_test::writeFile(dir.path() / "stage" / "raw.bin", std::string("\x01\x02\x03", 3));
  ASSERT_EQ(std::system(("cd '" + (dir.path() / "stage").string() + "' && zip -q -0 -P pw ../stored.zip raw.bin").c_str()),
            0);
  EXPECT_EQ(readMember(dir.path() / "stored.zip", "raw.bin", "pw", result), std::string("\x01\x02\x03", 3));
  EXPECT_EQ(result, 1);
}

TEST(ResourceZip, MemberWrittenWithADataDescriptorChecksTheTimeByte) {
  res_test::TempDir dir("zip");
  // Read from a pipe, the zip tool cannot seek back and writes a data descriptor.
  const std::string command = "cd '" + dir.path().string() + "' && printf 'piped bytes' | zip -q -P secret piped.zip -";
  ASSERT_EQ(std::system(command.c_str()), 0);
  int32_t result = 0;
  EXPECT_EQ(readMember(dir.path() / "piped.zip", "-", "secret", result), "piped bytes");
  EXPECT_EQ(result, 1);
}

TEST(ResourceZip, PlainMembersNeedNoPassword) {
  res_test::TempDir dir("zip");
  ASSERT_TRUE(res_test::writeZip(dir.path() / "plain.zip", {{"x.txt", "plain"}}, nullptr));
  int32_t result = 0;
  EXPECT_EQ(readMember(dir.path() / "plain.zip", "x.txt", "", result), "plain");
  EXPECT_EQ(readMember(dir.path() / "plain.zip", "x.txt", "any", result), "plain");
}

TEST(ResourceZip, FailuresHaveTheirCodesAndLogLines) {
  res_test::TempDir dir("zip");
  ASSERT_TRUE(res_test::writeZip(dir.path() / "p.zip", {{"m.txt", sample()}}, "secret"));
  res_test::LogCapture log;
  int32_t result = 0;
  readMember(dir.path() / "p.zip", "m.txt", "wrong", result);
  EXPECT_EQ(result, -1);
  EXPECT_TRUE(log.has("UNZ_OK != unzOpenCurrentFilePassword(zipfile,res->_sgPass.c_str())"));
  readMember(dir.path() / "p.zip", "m.txt", "", result);
  EXPECT_EQ(result, -1);
  readMember(dir.path() / "p.zip", "other.txt", "secret", result);
  EXPECT_EQ(result, -108);
  readMember(dir.path() / "none.zip", "m.txt", "secret", result);
  EXPECT_EQ(result, -1);
  EXPECT_TRUE(log.has(" zipfile is NULL "));

  // Damage the compressed bytes after the encryption header: a corrupt read.
  std::string bytes;
  {
    std::ifstream in(dir.path() / "p.zip", std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  ASSERT_EQ(bytes.compare(0, 4, "PK\x03\x04"), 0);
  const size_t nameLength = static_cast<uint8_t>(bytes[26]) | static_cast<uint8_t>(bytes[27]) << 8;
  const size_t extraLength = static_cast<uint8_t>(bytes[28]) | static_cast<uint8_t>(bytes[29]) << 8;
  const size_t data = 30 + nameLength + extraLength + 12;
  for (size_t i = data + 4; i < data + 24; ++i) bytes[i] = static_cast<char>(bytes[i] ^ 0x5A);
  res_test::writeFile(dir.path() / "damaged.zip", bytes);
  log.clear();
  readMember(dir.path() / "damaged.zip", "m.txt", "secret", result);
  EXPECT_EQ(result, -109);
  EXPECT_TRUE(log.has("zip file Read Error"));
}
