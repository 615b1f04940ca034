#pragma once
// Image decoding (PNG, JPEG, BMP, TGA and the other formats stb_image reads) from files and
// from memory, the image-description queries, and a PNG writer for debugging pictures.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct ImageInfo {
  int width = 0;
  int height = 0;
  int mipLevels = 0;  // always 1: none of the formats read carries more
};

// Width and height as the file states them; false when the bytes are not a known image.
bool imageInfoFromMemory(const void* bytes, size_t count, ImageInfo& info);
bool imageInfoFromFile(const std::string& path, ImageInfo& info);

// Decodes to 8-bit RGBA, rows top first (bytes r, g, b, a per pixel). False on failure;
// reason() then says why.
bool decodeImageFromMemory(const void* bytes, size_t count, std::vector<uint8_t>& rgba, int& width,
                           int& height);
bool decodeImageFromFile(const std::string& path, std::vector<uint8_t>& rgba, int& width, int& height);
const char* imageFailureReason();

// Writes 8-bit RGBA rows (top first) as a PNG file.
bool writePng(const std::string& path, const uint8_t* rgba, int width, int height);

}  // namespace platform
