#include "game/save_files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <system_error>

#include "engine/file_system.h"
#include "engine/globals.h"
#include "engine/log.h"
#include "game/game_globals.h"

namespace {

// A temporary is the save's own name followed by this and mkstemp's six characters, so the
// start-up knows its own leftovers and no two writers ever share one.
constexpr const char* kTemporaryMark = ".tmp-";
constexpr std::size_t kTemporaryRandomLength = 6;
// The fixed name earlier builds of the game gave their temporaries.
constexpr const char* kOldTemporarySuffix = ".tmp";
// A new save file gets the permissions a plain fopen gives under the usual umask.
constexpr mode_t kNewSaveMode = 0644;
constexpr int kTemporaryAttempts = 3;

QEL::QC_FILE_SYSTEM* fileSystem() {
  QEL::QC_FILE_SYSTEM* instance = QEL::qcFILE_SYSTEM_INSTANCE;
  return instance != nullptr ? instance : QEL::QC_FILE_SYSTEM::fGet();
}

void createFolder(const std::string& path) {
  if (!fileExists(path)) fileSystem()->fCreateDirectories(path);
}

// Writes straight to the descriptor: the temporary's lock lives as long as the descriptor.
class DESCRIPTOR_WRITER : public pugi::xml_writer {
 public:
  explicit DESCRIPTOR_WRITER(int descriptor) : _descriptor(descriptor) {}
  void write(const void* data, size_t size) override {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0 && !_failed) {
      const ssize_t written = ::write(_descriptor, bytes, size);
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) {
        _failed = true;
        break;
      }
      bytes += written;
      size -= static_cast<size_t>(written);
    }
  }
  bool fFailed() const { return _failed; }

 private:
  int _descriptor;
  bool _failed = false;
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

bool namesDescriptor(const std::string& name, int descriptor) {
  struct stat byName {};
  struct stat byDescriptor {};
  return ::lstat(name.c_str(), &byName) == 0 && ::fstat(descriptor, &byDescriptor) == 0 &&
         byName.st_dev == byDescriptor.st_dev && byName.st_ino == byDescriptor.st_ino;
}

// A new temporary beside path, open and locked. A copy of the game starting up at this
// moment removes temporaries that nobody holds locked, so the name is checked to be still
// ours once the lock is held. -1 when none can be made.
int openTemporary(const std::string& path, std::string& name) {
  for (int attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
    std::string pattern = path + kTemporaryMark + std::string(kTemporaryRandomLength, 'X');
    const int descriptor = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (descriptor < 0) return -1;
    if (::flock(descriptor, LOCK_EX) == 0 && namesDescriptor(pattern, descriptor)) {
      name = pattern;
      return descriptor;
    }
    ::close(descriptor);
  }
  return -1;
}

mode_t saveModeFor(const std::string& path) {
  struct stat existing {};
  if (::stat(path.c_str(), &existing) == 0) return existing.st_mode & 0777;
  return kNewSaveMode;
}

// The common steps of every save: a temporary of its own, the content, the flush to the
// disk, the rename over the old file and the flush of the folder.
bool writeAtomically(const std::string& path, const std::function<void(pugi::xml_writer&)>& content) {
  std::string temporary;
  const int descriptor = openTemporary(path, temporary);
  if (descriptor < 0) {
    QEL::fLog("Save file cannot be written, the old one is kept: ", path, " (no temporary file beside it)");
    return false;
  }
  ::fchmod(descriptor, saveModeFor(path));
  DESCRIPTOR_WRITER writer(descriptor);
  content(writer);
  const bool written = !writer.fFailed() && ::fsync(descriptor) == 0;
  if (!written) {
    QEL::fLog("Save file cannot be written (disk full?), the old one is kept: ", path);
    ::unlink(temporary.c_str());
    ::close(descriptor);
    return false;
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    QEL::fLog("Save file cannot be replaced, the old one is kept: ", path);
    ::unlink(temporary.c_str());
    ::close(descriptor);
    return false;
  }
  syncFolder(folderOf(path));
  // Closing releases the lock, only now that the name is gone.
  ::close(descriptor);
  return true;
}

std::string asideName(const std::string& path) {
  const std::string base = path + ".corrupt";
  if (!fileExists(base)) return base;
  for (int n = 1; n < 1000; ++n) {
    const std::string candidate = base + std::to_string(n);
    if (!fileExists(candidate)) return candidate;
  }
  return base;
}

SAVE_FILE_STATE keepAside(pugi::xml_document& document, const std::string& path, const char* reason) {
  document.reset();
  const std::string aside = asideName(path);
  if (std::rename(path.c_str(), aside.c_str()) == 0)
    QEL::fLog("Save file is corrupt (", reason, "), kept aside as ", aside, ", defaults used: ", path);
  else
    QEL::fLog("Save file is corrupt (", reason, ") and cannot be moved aside, defaults used: ", path);
  return SAVE_FILE_STATE::CORRUPT;
}

// Walked without recursion: the file may be nested far deeper than the stack would allow.
bool isNestedDeeperThan(const pugi::xml_document& document, int limit) {
  pugi::xml_node node = document.first_child();
  int depth = 1;
  while (node) {
    if (depth > limit) return true;
    if (const pugi::xml_node child = node.first_child()) {
      node = child;
      ++depth;
      continue;
    }
    while (!node.next_sibling()) {
      node = node.parent();
      if (--depth == 0) return false;
    }
    node = node.next_sibling();
  }
  return false;
}

bool endsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool isOurTemporary(const std::string& name) {
  if (endsWith(name, kOldTemporarySuffix)) return true;
  const std::size_t mark = name.rfind(kTemporaryMark);
  return mark != std::string::npos && mark > 0 &&
         name.size() == mark + std::string(kTemporaryMark).size() + kTemporaryRandomLength;
}

// Removed only when no living writer holds it locked (a lock dies with its process).
bool removeIfStale(const std::filesystem::path& path) {
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
  if (descriptor < 0) return false;
  bool removed = false;
  if (::flock(descriptor, LOCK_EX | LOCK_NB) == 0 && namesDescriptor(path.string(), descriptor))
    removed = ::unlink(path.c_str()) == 0;
  ::close(descriptor);
  if (removed) QEL::fLog("Stale temporary save file removed: ", path.string());
  return removed;
}

int removeStaleIn(const std::filesystem::path& folder, bool withSubfolders) {
  int removed = 0;
  std::error_code error;
  for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
       entry.increment(error)) {
    std::error_code typeError;
    if (withSubfolders && entry->is_directory(typeError)) {
      removed += removeStaleIn(entry->path(), false);
    } else if (entry->is_regular_file(typeError) && isOurTemporary(entry->path().filename().string())) {
      removed += removeIfStale(entry->path()) ? 1 : 0;
    }
  }
  return removed;
}

}  // namespace

bool fileExists(const std::string& path) { return fileSystem()->fPathType(path) != 0; }

void makeSaveFolders() {
  if (gBasePath.empty()) {
    QEL::fLog("makeSaveFolders: no documents folder, the saves go below the current directory");
    gBasePath = ".";
  }
  gBasePath += "/Ostvane";
  createFolder(gBasePath);
  gBasePath += "/Pindrake";
  createFolder(gBasePath);
  createFolder(gBasePath + "/Saves");
  createFolder(gBasePath + "/Statistics");
}

int removeStaleSaveTemporaries() {
  // The statistics text files of each run lie one folder further down.
  return removeStaleIn(gBasePath + "/Saves", false) + removeStaleIn(gBasePath + "/Statistics", true);
}

SAVE_FILE_STATE loadSaveFile(pugi::xml_document& document, const std::string& path, const char* rootName) {
  document.reset();
  const int32_t type = fileSystem()->fPathType(path);
  if (type == 0) return SAVE_FILE_STATE::MISSING;
  std::error_code error;
  if (type == 2 || !std::filesystem::is_regular_file(path, error)) {
    // The XML reader would take a folder's (or a device's) size for a file's and ask for
    // absurd memory.
    QEL::fLog("Save file cannot be read (", type == 2 ? "a folder" : "not a plain file",
              " stands in its place), defaults used: ", path);
    return SAVE_FILE_STATE::UNREADABLE;
  }
  const std::uintmax_t bytes = std::filesystem::file_size(path, error);
  if (!error && bytes > kMaxSaveFileBytes) return keepAside(document, path, "larger than any save");

  const pugi::xml_parse_result result = document.load_file(path.c_str());
  if (result.status == pugi::status_file_not_found) {
    document.reset();
    return SAVE_FILE_STATE::MISSING;
  }
  if (result.status == pugi::status_io_error || result.status == pugi::status_out_of_memory) {
    QEL::fLog("Save file cannot be read (", result.description(), "), defaults used: ", path);
    document.reset();
    return SAVE_FILE_STATE::UNREADABLE;
  }
  if (!result) return keepAside(document, path, result.description());
  if (!document.child(rootName)) return keepAside(document, path, "no root element");
  // Writing such a document back would take one tab per level on every line.
  if (isNestedDeeperThan(document, kMaxSaveFileDepth)) return keepAside(document, path, "nested deeper than any save");
  return SAVE_FILE_STATE::LOADED;
}

bool saveXmlAtomically(const pugi::xml_document& document, const std::string& path) {
  return writeAtomically(path, [&document](pugi::xml_writer& writer) {
    document.save(writer, "\t", pugi::format_default, pugi::encoding_utf8);
  });
}

bool saveTextAtomically(const std::string& text, const std::string& path) {
  return writeAtomically(path, [&text](pugi::xml_writer& writer) {
    writer.write(text.data(), text.size());
  });
}
