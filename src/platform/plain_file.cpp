#include "platform/plain_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {

namespace {

const char* whatStandsThere(mode_t mode) {
  if (S_ISDIR(mode)) return "not a plain file: a folder stands in its place";
  if (S_ISFIFO(mode)) return "not a plain file: a named pipe stands in its place";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "not a plain file: a device stands in its place";
  if (S_ISSOCK(mode)) return "not a plain file: a socket stands in its place";
  return "not a plain file";
}

}  // namespace

PlainFile openPlainFile(const std::string& path) {
  PlainFile opened;
  // Without O_NONBLOCK the open of a pipe itself waits for a writer; a terminal must not
  // become the game's either.
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (descriptor < 0) {
    opened.missing = errno == ENOENT || errno == ENOTDIR;
    opened.failure = opened.missing ? "no such file" : std::strerror(errno);
    return opened;
  }
  struct stat status {};
  if (::fstat(descriptor, &status) != 0) {
    opened.failure = std::strerror(errno);
    ::close(descriptor);
    return opened;
  }
  if (!S_ISREG(status.st_mode)) {
    opened.failure = whatStandsThere(status.st_mode);
    ::close(descriptor);
    return opened;
  }
  // A plain file never waits, but the readers expect blocking reads all the same.
  const int flags = ::fcntl(descriptor, F_GETFL);
  if (flags >= 0) ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK);
  opened.file = ::fdopen(descriptor, "rb");
  if (opened.file == nullptr) {
    opened.failure = std::strerror(errno);
    ::close(descriptor);
    return opened;
  }
  opened.size = static_cast<uint64_t>(status.st_size);
  return opened;
}

}  // namespace platform
