#pragma once
// Image decoding (PNG, JPEG, BMP, TGA and the other formats stb_image reads) from files and
// from memory, the image-description queries, and a PNG writer for debugging pictures.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// No picture is decoded larger than this a side: one that size already takes 256 MB, and a
// file of a few bytes can state a gigabyte's worth. The decoders refuse a larger one from its
// header, whoever asks, before a pixel is allocated.
constexpr int kLargestImageSide = 8192;

struct ImageInfo {
  int width = 0;
  int height = 0;
  int mipLevels = 0;  // always 1: none of the formats read carries more
};

// Width and height as the file states them; false when the bytes are not a known image. The
// file's header alone is read.
bool imageInfoFromMemory(const void* bytes, size_t count, ImageInfo& info);
bool imageInfoFromFile(const std::string& path, ImageInfo& info);

// 8-bit RGBA pixels, rows top first (bytes r, g, b, a per pixel), held where the decoder
// put them: a texture is made straight from them, and they go with the object.
class DecodedImage {
 public:
  int width() const { return _width; }
  int height() const { return _height; }
  const uint8_t* pixels() const { return _pixels.get(); }
  size_t byteCount() const { return static_cast<size_t>(_width) * static_cast<size_t>(_height) * 4; }

 private:
  friend bool decodeImage(const void* bytes, size_t count, DecodedImage& image);
  static void release(uint8_t* pixels);
  std::unique_ptr<uint8_t, void (*)(uint8_t*)> _pixels{nullptr, release};
  int _width = 0, _height = 0;
};

// Decodes into the image. False on failure, a picture larger than kLargestImageSide a side
// included; imageFailureReason() then says why. A file that is not a plain file (a named
// pipe in a picture's place) is not read.
bool decodeImage(const void* bytes, size_t count, DecodedImage& image);
bool decodeImageFile(const std::string& path, DecodedImage& image);

// The same into a vector of their own, for callers that keep or change the pixels. False on
// failure; imageFailureReason() then says why.
bool decodeImageFromMemory(const void* bytes, size_t count, std::vector<uint8_t>& rgba, int& width,
                           int& height);
bool decodeImageFromFile(const std::string& path, std::vector<uint8_t>& rgba, int& width, int& height);
const char* imageFailureReason();

// Writes 8-bit RGBA rows (top first) as a PNG file.
bool writePng(const std::string& path, const uint8_t* rgba, int width, int height);

}  // namespace platform
