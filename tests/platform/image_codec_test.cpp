#include "platform/image_codec.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
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

}  // namespace
