#include "engine/xml_save.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "engine/file_lock.h"
#include "engine/log.h"

namespace QEL {

namespace {

// A temporary is the file's own name followed by this and mkstemp's six characters, so no
// two writers ever share one and the start-up knows its own leftovers.
constexpr const char* kTemporaryMark = ".tmp-";
constexpr std::size_t kTemporaryRandomLength = 6;
// The fixed name earlier builds gave their temporaries.
constexpr const char* kOldTemporarySuffix = ".tmp";
// A new file gets the permissions a plain fopen gives under the usual umask.
constexpr mode_t kNewFileMode = 0644;
constexpr int kTemporaryAttempts = 3;

// Writes straight to the descriptor, whose lock lives as long as it does; keeps the first
// error number met.
class DESCRIPTOR_WRITER : public pugi::xml_writer {
 public:
  explicit DESCRIPTOR_WRITER(int descriptor) : _descriptor(descriptor) {}
  void write(const void* data, size_t size) override {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0 && _error == 0) {
      const ssize_t written = ::write(_descriptor, bytes, size);
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) {
        _error = written < 0 && errno != 0 ? errno : EIO;
        break;
      }
      bytes += written;
      size -= static_cast<size_t>(written);
    }
  }
  int fError() const { return _error; }

 private:
  int _descriptor;
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
  const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) return;
  ::fsync(descriptor);
  ::close(descriptor);
}

// True when the name (in the folder's descriptor, or AT_FDCWD) still means the open file.
bool namesDescriptor(int folder, const std::string& name, int descriptor) {
  struct stat byName {};
  struct stat byDescriptor {};
  return ::fstatat(folder, name.c_str(), &byName, AT_SYMLINK_NOFOLLOW) == 0 &&
         ::fstat(descriptor, &byDescriptor) == 0 && byName.st_dev == byDescriptor.st_dev &&
         byName.st_ino == byDescriptor.st_ino;
}

// A new temporary beside path, open and locked; -1 (errno set) when none can be made. A
// copy of the game starting up at this moment removes temporaries nobody holds locked, so
// the name is checked to be still ours once the lock is held. Where the file system cannot
// lock, the temporary is written unlocked: no clean-up can take it for a dead writer's there
// either, as it removes only what it could lock.
int openTemporary(const std::string& path, std::string& name) {
  for (int attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
    std::string pattern = path + kTemporaryMark + std::string(kTemporaryRandomLength, 'X');
    const int descriptor = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (descriptor < 0) return -1;
    const bool locked = fLockFile(descriptor, LOCK_EX) == 0;
    const bool lockless = !locked && fIsLockUnsupported(errno);
    const bool ours = namesDescriptor(AT_FDCWD, pattern, descriptor);
    if ((locked || lockless) && ours) {
      name = pattern;
      return descriptor;
    }
    if (ours) ::unlink(pattern.c_str());
    ::close(descriptor);
  }
  errno = EEXIST;
  return -1;
}

mode_t fileModeFor(const std::string& path) {
  struct stat existing {};
  if (::stat(path.c_str(), &existing) == 0) return existing.st_mode & 0777;
  return kNewFileMode;
}

bool fail(const std::string& path, const std::string& what, std::string* failure) {
  fLog("File cannot be saved, the old one is kept: ", path, " (", what, ")");
  if (failure != nullptr) *failure = what;
  return false;
}

// Writes through `write` into a temporary of its own beside `path`, flushes it to the disk,
// renames it over the old file and flushes the folder. The temporary stays locked until its
// name is gone.
template <class WRITE>
bool saveAtomically(const std::string& path, std::string* failure, WRITE write) {
  std::string temporary;
  errno = 0;
  const int descriptor = openTemporary(path, temporary);
  if (descriptor < 0) {
    return fail(path, std::string("no temporary file beside it: ") + std::strerror(errno), failure);
  }
  ::fchmod(descriptor, fileModeFor(path));
  DESCRIPTOR_WRITER writer(descriptor);
  write(writer);
  int error = writer.fError();
  if (error == 0 && ::fsync(descriptor) != 0) error = errno;
  if (error != 0) {
    ::unlink(temporary.c_str());
    ::close(descriptor);
    return fail(path, std::string("writing failed: ") + std::strerror(error), failure);
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    const int renameError = errno;
    ::unlink(temporary.c_str());
    ::close(descriptor);
    return fail(path, std::string("the old file cannot be replaced: ") + std::strerror(renameError), failure);
  }
  syncFolder(folderOf(path));
  ::close(descriptor);
  return true;
}

// The saved file's name a temporary was made for ("subfolder/" before it where it lies in
// one), or "" when the name is no temporary's.
std::string savedNameOf(const std::string& name) {
  const std::size_t oldSuffix = std::strlen(kOldTemporarySuffix);
  if (name.size() > oldSuffix && name.compare(name.size() - oldSuffix, oldSuffix, kOldTemporarySuffix) == 0)
    return name.substr(0, name.size() - oldSuffix);
  const std::size_t markLength = std::strlen(kTemporaryMark);
  if (name.size() <= markLength + kTemporaryRandomLength) return {};
  const std::size_t mark = name.size() - kTemporaryRandomLength - markLength;
  if (name.compare(mark, markLength, kTemporaryMark) != 0) return {};
  // mkstemp's characters are letters and digits only.
  for (std::size_t i = mark + markLength; i < name.size(); ++i)
    if (std::isalnum(static_cast<unsigned char>(name[i])) == 0) return {};
  return name.substr(0, mark);
}

// What a folder's clean-up keeps to (the game's own names), and what it removed.
struct CLEAN_UP {
  QT_SAVED_NAME isSavedFile;
  QT_SAVED_NAME isSavedFolder;
  int32_t removed = 0;
};

// Open for writing where that is allowed: an NFS home locks only such a descriptor (the
// writer's own is one). Only for reading where not: a local disk locks that as well.
int openToLock(int folder, const std::string& name) {
  constexpr int kFlags = O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK;
  const int descriptor = ::openat(folder, name.c_str(), O_RDWR | kFlags);
  return descriptor >= 0 ? descriptor : ::openat(folder, name.c_str(), O_RDONLY | kFlags);
}

// Removed only when no living writer holds it locked (a lock dies with its process), and only
// while the name still means the file locked.
bool removeIfStale(int folder, const std::string& name, const std::string& shown) {
  const int descriptor = openToLock(folder, name);
  if (descriptor < 0) return false;
  bool removed = false;
  if (fLockFile(descriptor, LOCK_EX | LOCK_NB) == 0 && namesDescriptor(folder, name, descriptor))
    removed = ::unlinkat(folder, name.c_str(), 0) == 0;
  ::close(descriptor);
  if (removed) fLog("Stale temporary save file removed: ", shown);
  return removed;
}

// The names in the folder, read before anything in it is removed.
std::vector<std::string> namesIn(int folder) {
  std::vector<std::string> names;
  const int listed = ::dup(folder);
  DIR* listing = listed >= 0 ? ::fdopendir(listed) : nullptr;
  if (listing == nullptr) {
    if (listed >= 0) ::close(listed);
    return names;
  }
  while (const dirent* entry = ::readdir(listing)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  ::closedir(listing);
  return names;
}

void cleanFolder(CLEAN_UP& cleanUp, int folder, const std::string& shown, const std::string& prefix);

void cleanEntry(CLEAN_UP& cleanUp, int folder, const std::string& name, const std::string& shown,
                const std::string& prefix) {
  const bool searched = prefix.empty() && cleanUp.isSavedFolder != nullptr && cleanUp.isSavedFolder(name);
  const std::string saved = savedNameOf(name);
  const bool temporary = !saved.empty() && cleanUp.isSavedFile(prefix + saved);
  if (!searched && !temporary) return;
  struct stat status {};
  if (::fstatat(folder, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) return;
  const std::string path = shown + "/" + name;
  if (S_ISLNK(status.st_mode)) {
    if (searched)
      fLog("Temporary save files not looked for through a link: ", path);
    else
      fLog("A link in a temporary save file's place is left as it is: ", path);
    return;
  }
  if (searched && S_ISDIR(status.st_mode)) {
    const int subfolder = ::openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (subfolder < 0) return;
    cleanFolder(cleanUp, subfolder, path, name + "/");
    ::close(subfolder);
    return;
  }
  if (temporary && S_ISREG(status.st_mode) && removeIfStale(folder, name, path)) ++cleanUp.removed;
}

void cleanFolder(CLEAN_UP& cleanUp, int folder, const std::string& shown, const std::string& prefix) {
  for (const std::string& name : namesIn(folder)) cleanEntry(cleanUp, folder, name, shown, prefix);
}

}  // namespace

bool fSaveXmlAtomically(const pugi::xml_document& document, const std::string& path, std::string* failure,
                        unsigned int format) {
  return saveAtomically(path, failure, [&document, format](pugi::xml_writer& writer) {
    document.save(writer, "\t", format, pugi::encoding_utf8);
  });
}

bool fSaveTextAtomically(const std::string& text, const std::string& path, std::string* failure) {
  return saveAtomically(path, failure,
                        [&text](pugi::xml_writer& writer) { writer.write(text.data(), text.size()); });
}

int32_t fRemoveStaleSaveTemporaries(const std::string& folder, QT_SAVED_NAME isSavedFile,
                                    QT_SAVED_NAME isSavedFolder) {
  const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (descriptor < 0) {
    // The folder may have been made a link to one of the player's own.
    struct stat status {};
    if (::lstat(folder.c_str(), &status) == 0 && S_ISLNK(status.st_mode))
      fLog("Temporary save files not looked for through a link: ", folder);
    return 0;
  }
  CLEAN_UP cleanUp{isSavedFile, isSavedFolder};
  cleanFolder(cleanUp, descriptor, folder, "");
  ::close(descriptor);
  return cleanUp.removed;
}

}  // namespace QEL
