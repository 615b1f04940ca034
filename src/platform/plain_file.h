#pragma once
// Opening a file for reading only when it is a plain file. A named pipe in a file's place
// holds whoever opens it until some writer comes (the game would freeze on a picture or a
// level), and a folder or a device claims a size its bytes do not have: each is refused
// before a byte is read. Every reader of the game's files opens them through here.
#include <cstdint>
#include <cstdio>
#include <string>

namespace platform {

struct PlainFile {
  std::FILE* file = nullptr;  // open for reading in byte mode when it is a plain file; the caller closes it
  uint64_t size = 0;          // as the file system states it at the opening
  bool missing = false;       // nothing of that name (or a path through something that is no folder)
  std::string failure;        // why it is not open, in a few words for a log line
};

PlainFile openPlainFile(const std::string& path);

}  // namespace platform
