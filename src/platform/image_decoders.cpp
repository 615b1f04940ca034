// stb_image and stb_image_write, compiled here once with the memory functions they use; no
// other file defines their implementations. The sanitizer builds compile this file optimised
// and uninstrumented, as every other library from Debian runs there: decoding the pictures
// took a fifth of the time of every test that starts the game, and what the game itself does
// with a file before and after decoding it stays checked in image_codec.cpp.
#include <sys/mman.h>

#include <cstdlib>
#include <cstring>

namespace {

// The decoder's memory. A picture's pixels (and the decoder's own buffers for a large
// picture) are mapped from the system and given back whole when freed: the heap would keep
// them after the upload, a picture's worth of memory at a time, for nothing.
constexpr size_t kDecoderHeader = 16;  // keeps the blocks 16-byte aligned, as malloc's are
constexpr size_t kMappedFrom = 256 * 1024;

void* decoderAllocate(size_t size) {
  const size_t total = size + kDecoderHeader;
  void* block = nullptr;
  if (total >= kMappedFrom) {
    block = mmap(nullptr, total, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED) return nullptr;
  } else {
    block = std::malloc(total);
    if (!block) return nullptr;
  }
  std::memcpy(block, &total, sizeof total);
  return static_cast<unsigned char*>(block) + kDecoderHeader;
}

size_t decoderBlockSize(void* pointer) {
  size_t total = 0;
  std::memcpy(&total, static_cast<unsigned char*>(pointer) - kDecoderHeader, sizeof total);
  return total;
}

void decoderFree(void* pointer) {
  if (!pointer) return;
  void* block = static_cast<unsigned char*>(pointer) - kDecoderHeader;
  const size_t total = decoderBlockSize(pointer);
  if (total >= kMappedFrom) {
    munmap(block, total);
  } else {
    std::free(block);
  }
}

void* decoderReallocate(void* pointer, size_t size) {
  if (!pointer) return decoderAllocate(size);
  void* moved = decoderAllocate(size);
  if (!moved) return nullptr;
  const size_t kept = decoderBlockSize(pointer) - kDecoderHeader;
  std::memcpy(moved, pointer, kept < size ? kept : size);
  decoderFree(pointer);
  return moved;
}

}  // namespace

#define STBI_MALLOC(size) decoderAllocate(size)
#define STBI_REALLOC(pointer, size) decoderReallocate(pointer, size)
#define STBI_FREE(pointer) decoderFree(pointer)
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO_LOCALE
#define STB_IMAGE_WRITE_IMPLEMENTATION
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-but-set-variable"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#include <stb_image.h>
#include <stb_image_write.h>
#pragma GCC diagnostic pop
