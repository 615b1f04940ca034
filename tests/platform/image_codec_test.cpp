#include "platform/image_codec.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#include <stb_image_write.h>
#pragma GCC diagnostic pop

using namespace platform;

namespace {

std::string tempPath(const char* name) {
  return std::string("/tmp/pindrake_codec_") + std::to_string(getpid()) + "_" + name;
}

TEST(ImageCodec, PngWrittenIsReadBackWithItsSizeAndPixels) {
  std::vector<uint8_t> rgba(100 * 50 * 4);
  for (size_t i = 0; i < rgba.size(); i += 4) {
    rgba[i] = 10;
    rgba[i + 1] = 20;
    rgba[i + 2] = 30;
    rgba[i + 3] = static_cast<uint8_t>(i / 4 % 256);
  }
  const std::string path = tempPath("a.png");
  ASSERT_TRUE(writePng(path, rgba.data(), 100, 50));
  ImageInfo info;
  ASSERT_TRUE(imageInfoFromFile(path, info));
  EXPECT_EQ(info.width, 100);
  EXPECT_EQ(info.height, 50);
  EXPECT_EQ(info.mipLevels, 1);
  std::vector<uint8_t> decoded;
  int w = 0, h = 0;
  ASSERT_TRUE(decodeImageFromFile(path, decoded, w, h));
  EXPECT_EQ(decoded, rgba);
  std::remove(path.c_str());
}

TEST(ImageCodec, BytesThatAreNoImageFailWithAReason) {
  const char text[] = "this is not an image at all";
  ImageInfo info;
  EXPECT_FALSE(imageInfoFromMemory(text, sizeof text, info));
  std::vector<uint8_t> rgba;
  int w = 0, h = 0;
  EXPECT_FALSE(decodeImageFromMemory(text, sizeof text, rgba, w, h));
  EXPECT_STRNE(imageFailureReason(), "");
  EXPECT_FALSE(decodeImageFromMemory(nullptr, 0, rgba, w, h));
  EXPECT_FALSE(decodeImageFromFile(tempPath("missing.png"), rgba, w, h));
}

TEST(ImageCodec, TruncatedPngFails) {
  std::vector<uint8_t> rgba(8 * 8 * 4, 200);
  const std::string path = tempPath("b.png");
  ASSERT_TRUE(writePng(path, rgba.data(), 8, 8));
  FILE* f = std::fopen(path.c_str(), "rb");
  ASSERT_NE(f, nullptr);
  std::vector<uint8_t> bytes(4096);
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
  std::fclose(f);
  std::remove(path.c_str());
  std::vector<uint8_t> decoded;
  int w = 0, h = 0;
  EXPECT_FALSE(decodeImageFromMemory(bytes.data(), bytes.size() / 2, decoded, w, h));
}

TEST(ImageCodec, BmpTgaAndJpegAreReadToo) {
  std::vector<uint8_t> rgb(16 * 8 * 3, 0);
  for (size_t i = 0; i < rgb.size(); i += 3) rgb[i] = 200;  // red
  const std::string bmp = tempPath("c.bmp"), tga = tempPath("c.tga"), jpg = tempPath("c.jpg");
  ASSERT_TRUE(stbi_write_bmp(bmp.c_str(), 16, 8, 3, rgb.data()));
  ASSERT_TRUE(stbi_write_tga(tga.c_str(), 16, 8, 3, rgb.data()));
  ASSERT_TRUE(stbi_write_jpg(jpg.c_str(), 16, 8, 3, rgb.data(), 95));
  for (const std::string& path : {bmp, tga, jpg}) {
    ImageInfo info;
    ASSERT_TRUE(imageInfoFromFile(path, info)) << path;
    EXPECT_EQ(info.width, 16);
    EXPECT_EQ(info.height, 8);
    std::vector<uint8_t> decoded;
    int w = 0, h = 0;
    ASSERT_TRUE(decodeImageFromFile(path, decoded, w, h)) << path;
    ASSERT_EQ(decoded.size(), 16u * 8u * 4u);
    EXPECT_NEAR(decoded[0], 200, 4) << path;
    EXPECT_EQ(decoded[3], 255) << path;  // no alpha in the file: opaque
    std::remove(path.c_str());
  }
}

// The PNG chunks' checksum, CRC-32 as ISO 3309 has it, bit by bit.
uint32_t pngChecksum(const uint8_t* bytes, size_t count) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < count; ++i) {
    crc ^= bytes[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

void putBigEndian(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (24 - 8 * i));
}

// A real PNG file of a few pixels whose header now states the given size, its checksum made
// anew: every decoder takes it for a picture of that size until its data runs short.
std::vector<uint8_t> pngStating(uint32_t width, uint32_t height) {
  std::vector<uint8_t> rgba(16 * 16 * 4, 90);
  const std::string path = tempPath("stating.png");
  EXPECT_TRUE(writePng(path, rgba.data(), 16, 16));
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> png((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::remove(path.c_str());
  constexpr size_t kHeaderType = 12, kHeaderData = 16, kHeaderChecksum = 29;
  putBigEndian(png, kHeaderData, width);
  putBigEndian(png, kHeaderData + 4, height);
  putBigEndian(png, kHeaderChecksum, pngChecksum(&png[kHeaderType], kHeaderChecksum - kHeaderType));
  return png;
}

// The process's address space now, or at its largest so far, in kilobytes.
long addressSpaceKilobytes(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind(field, 0) == 0) return std::strtol(line.c_str() + std::strlen(field), nullptr, 10);
  return -1;
}

[[noreturn]] void endChild(bool well, const std::string& why) {
  if (!well) std::fprintf(stderr, "%s\n", why.c_str());
  std::fflush(stderr);
  std::_Exit(well ? 0 : 1);
}

// A picture is decoded from what its header states: a few hundred bytes that state 16000 x
// 16000 pixels would take a gigabyte for their pixels, more for the decoder's own buffer,
// before their data ran short. The decoder refuses it from the header, says why, and its
// process never holds that memory, even unused (measured in a process of its own).
TEST(ImageCodec, APictureLargerThanTheLargestSideIsRefusedBeforeItsPixelsAreAllocated) {
  const std::vector<uint8_t> png = pngStating(16000, 16000);
  ImageInfo info;
  ASSERT_TRUE(imageInfoFromMemory(png.data(), png.size(), info));
  ASSERT_EQ(info.width, 16000);
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        const long before = addressSpaceKilobytes("VmSize:");
        DecodedImage image;
        const bool decoded = decodeImage(png.data(), png.size(), image);
        const std::string reason = imageFailureReason();
        const long grown = addressSpaceKilobytes("VmPeak:") - before;
        if (decoded) endChild(false, "decoded");
        if (grown > 256 * 1024) endChild(false, "the address space grew by " + std::to_string(grown) + " kB");
        endChild(reason == "picture of 16000 x 16000 refused, larger than 8192 pixels a side", "reason: " + reason);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
