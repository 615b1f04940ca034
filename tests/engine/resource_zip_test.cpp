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
  // The traditional zip password is checked against one byte of the member's random
  // encryption header, so one wrong password in 256 gets past the open and fails only on the
  // read. Every wrong password fails; of four, one fails at the open all but surely.
  int refusedAtOpen = 0;
  for (const char* wrong : {"wrong", "Secret", "secret2", "letmein"}) {
    readMember(dir.path() / "p.zip", "m.txt", wrong, result);
    EXPECT_TRUE(result == -1 || result == -109) << wrong << " gave " << result;
    if (result == -1) ++refusedAtOpen;
  }
  EXPECT_GT(refusedAtOpen, 0);
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

namespace {

// Little-endian 32-bit fields of the first local header and the first central directory entry.
void setSizes(std::string& zip, uint32_t packed, uint32_t unpacked) {
  auto put = [&zip](size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) zip[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  ASSERT_EQ(zip.compare(0, 4, "PK\x03\x04"), 0);
  put(18, packed);
  put(22, unpacked);
  const size_t central = zip.find("PK\x01\x02");
  ASSERT_NE(central, std::string::npos);
  put(central + 20, packed);
  put(central + 24, unpacked);
}

long peakResidentKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  return -1;
}

}  // namespace

// A zip of a hundred-odd bytes whose headers claim gigabytes is refused before anything that
// size is allocated, and the game reads the pack's honest members as before.
TEST(ResourceZip, SizesTheArchiveCannotHoldAreRefusedBeforeAllocating) {
  res_test::TempDir dir("zip");
  ASSERT_TRUE(res_test::writeZip(dir.path() / "honest.zip", {{"m.txt", "small member"}}, nullptr));
  std::string honest;
  {
    std::ifstream in(dir.path() / "honest.zip", std::ios::binary);
    honest.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  res_test::LogCapture log;
  int32_t result = 0;
  const long peakBefore = peakResidentKilobytes();

  std::string packedClaim = honest;
  setSizes(packedClaim, 0xFFFFFFF0u, 0xFFFFFFF0u);  // 4 GiB packed and unpacked
  res_test::writeFile(dir.path() / "packed.zip", packedClaim);
  readMember(dir.path() / "packed.zip", "m.txt", "", result);
  EXPECT_EQ(result, -109);

  std::string unpackedClaim = honest;
  const size_t central = honest.find("PK\x01\x02");
  const uint32_t packed = static_cast<uint8_t>(honest[central + 20]) | static_cast<uint8_t>(honest[central + 21]) << 8;
  setSizes(unpackedClaim, packed, 0xC0000000u);  // 3 GiB from a dozen bytes
  res_test::writeFile(dir.path() / "unpacked.zip", unpackedClaim);
  readMember(dir.path() / "unpacked.zip", "m.txt", "", result);
  EXPECT_EQ(result, -109);

  EXPECT_TRUE(log.has("zip member m.txt claims 4294967280 bytes packed, 4294967280 unpacked, in an archive of " +
                      std::to_string(honest.size()) + " bytes: not read"));
  EXPECT_LT(peakResidentKilobytes() - peakBefore, 64 * 1024) << "kilobytes more at the peak";

  EXPECT_EQ(readMember(dir.path() / "honest.zip", "m.txt", "", result), "small member");
  EXPECT_EQ(result, 1);
}
