#include "platform/image_codec.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/plain_file.h"

// The decoders themselves are compiled in image_decoders.cpp.
#include <stb_image.h>
#include <stb_image_write.h>

namespace platform {
namespace {

thread_local std::string failureReason;

void keepDecoderReason() {
  const char* reason = stbi_failure_reason();
  failureReason = reason ? reason : "not a picture the decoders know";
}

bool withinLargestSide(int width, int height) {
  if (width <= kLargestImageSide && height <= kLargestImageSide) return true;
  failureReason = "picture of " + std::to_string(width) + " x " + std::to_string(height) +
                  " refused, larger than " + std::to_string(kLargestImageSide) + " pixels a side";
  return false;
}

std::FILE* openImageFile(const std::string& path) {
  PlainFile opened = openPlainFile(path);
  if (opened.file == nullptr) failureReason = "file cannot be opened: " + opened.failure;
  return opened.file;
}

// What the decoder found in a header, as the image's information.
bool takeHeader(bool found, int width, int height, ImageInfo& info) {
  if (!found) {
    keepDecoderReason();
    return false;
  }
  info.width = width;
  info.height = height;
  info.mipLevels = 1;
  return true;
}

bool headerOfFile(std::FILE* file, ImageInfo& info) {
  int w = 0, h = 0, channels = 0;
  // Reads only as far as the header and goes back to where it began.
  const bool found = stbi_info_from_file(file, &w, &h, &channels) != 0;
  return takeHeader(found, w, h, info);
}

// The whole file, once its header has shown a picture that may be decoded: a file that
// states a huge picture is not read at all.
bool readFile(const std::string& path, std::vector<uint8_t>& bytes) {
  std::FILE* file = openImageFile(path);
  if (!file) return false;
  ImageInfo info;
  if (!headerOfFile(file, info) || !withinLargestSide(info.width, info.height)) {
    std::fclose(file);
    return false;
  }
  bytes.clear();
  uint8_t chunk[65536];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
  std::fclose(file);
  return true;
}

}  // namespace

bool imageInfoFromMemory(const void* bytes, size_t count, ImageInfo& info) {
  if (!bytes || count == 0 || count > static_cast<size_t>(INT_MAX)) {
    failureReason = "no image data";
    return false;
  }
  int w = 0, h = 0, channels = 0;
  const bool found =
      stbi_info_from_memory(static_cast<const stbi_uc*>(bytes), static_cast<int>(count), &w, &h, &channels) != 0;
  return takeHeader(found, w, h, info);
}

bool imageInfoFromFile(const std::string& path, ImageInfo& info) {
  std::FILE* file = openImageFile(path);
  if (!file) return false;
  const bool read = headerOfFile(file, info);
  std::fclose(file);
  return read;
}

void DecodedImage::release(uint8_t* pixels) { stbi_image_free(pixels); }

bool decodeImage(const void* bytes, size_t count, DecodedImage& image) {
  image._pixels.reset();
  image._width = image._height = 0;
  // Judged by its header first, whoever asks: the pixels are allocated from what it states.
  ImageInfo info;
  if (!imageInfoFromMemory(bytes, count, info) || !withinLargestSide(info.width, info.height)) return false;
  int w = 0, h = 0, channels = 0;
  stbi_uc* pixels =
      stbi_load_from_memory(static_cast<const stbi_uc*>(bytes), static_cast<int>(count), &w, &h, &channels, 4);
  if (!pixels) {
    keepDecoderReason();
    return false;
  }
  image._pixels.reset(pixels);
  image._width = w;
  image._height = h;
  return true;
}

bool decodeImageFile(const std::string& path, DecodedImage& image) {
  std::vector<uint8_t> bytes;
  if (!readFile(path, bytes)) return false;
  return decodeImage(bytes.data(), bytes.size(), image);
}

bool decodeImageFromMemory(const void* bytes, size_t count, std::vector<uint8_t>& rgba, int& width,
                           int& height) {
  DecodedImage image;
  if (!decodeImage(bytes, count, image)) return false;
  rgba.assign(image.pixels(), image.pixels() + image.byteCount());
  width = image.width();
  height = image.height();
  return true;
}

bool decodeImageFromFile(const std::string& path, std::vector<uint8_t>& rgba, int& width, int& height) {
  std::vector<uint8_t> bytes;
  if (!readFile(path, bytes)) return false;
  return decodeImageFromMemory(bytes.data(), bytes.size(), rgba, width, height);
}

const char* imageFailureReason() { return failureReason.c_str(); }

bool writePng(const std::string& path, const uint8_t* rgba, int width, int height) {
  if (!rgba || width <= 0 || height <= 0) return false;
  return stbi_write_png(path.c_str(), width, height, 4, rgba, width * 4) != 0;
}

}  // namespace platform
