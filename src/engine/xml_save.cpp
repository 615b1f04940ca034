#include "engine/xml_save.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "engine/log.h"

namespace QEL {

namespace {

class FILE_WRITER : public pugi::xml_writer {
 public:
  explicit FILE_WRITER(std::FILE* file) : _file(file) {}
  void write(const void* data, size_t size) override {
    if (_error == 0 && std::fwrite(data, 1, size, _file) != size) _error = errno != 0 ? errno : EIO;
  }
  int fError() const { return _error; }

 private:
  std::FILE* _file;
  int _error = 0;
};

std::string folderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// The rename itself is only durable once the folder's entry is on the disk.
void syncFolder(const std::string& folder) {
  const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (descriptor < 0) return;
  ::fsync(descriptor);
  ::close(descriptor);
}

// Flushes and closes; the first error number met, 0 when everything reached the disk.
int finishFile(std::FILE* file, int error) {
  if (error == 0 && std::fflush(file) != 0) error = errno;
  if (error == 0 && ::fsync(::fileno(file)) != 0) error = errno;
  if (std::fclose(file) != 0 && error == 0) error = errno;
  return error;
}

bool fail(const std::string& path, const std::string& what, std::string* failure) {
  fLog("File cannot be saved, the old one is kept: ", path, " (", what, ")");
  if (failure != nullptr) *failure = what;
  return false;
}

// Writes through `write` (which returns its first error number, 0 when all went out) into a
// temporary file beside `path`, then renames it over the old file.
template <class WRITE>
bool saveAtomically(const std::string& path, std::string* failure, WRITE write) {
  const std::string temporary = path + ".tmp";
  errno = 0;
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (file == nullptr) {
    return fail(path, std::string("no temporary file beside it: ") + std::strerror(errno), failure);
  }
  const int error = finishFile(file, write(file));
  if (error != 0) {
    std::remove(temporary.c_str());
    return fail(path, std::string("writing failed: ") + std::strerror(error), failure);
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    const int renameError = errno;
    std::remove(temporary.c_str());
    return fail(path, std::string("the old file cannot be replaced: ") + std::strerror(renameError), failure);
  }
  syncFolder(folderOf(path));
  return true;
}

}  // namespace

bool fSaveXmlAtomically(const pugi::xml_document& document, const std::string& path,
                        std::string* failure) {
  return saveAtomically(path, failure, [&document](std::FILE* file) {
    FILE_WRITER writer(file);
    document.save(writer, "\t", pugi::format_indent, pugi::encoding_utf8);
    return writer.fError();
  });
}

bool fSaveTextAtomically(const std::string& text, const std::string& path, std::string* failure) {
  return saveAtomically(path, failure, [&text](std::FILE* file) {
    if (std::fwrite(text.data(), 1, text.size(), file) == text.size()) return 0;
    return errno != 0 ? errno : EIO;
  });
}

}  // namespace QEL
