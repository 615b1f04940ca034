#include "game/save_files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

#include "engine/file_system.h"
#include "engine/globals.h"
#include "engine/log.h"
#include "engine/text_utils.h"
#include "engine/xml_save.h"
#include "game/game_globals.h"
#include "game/players.h"

namespace {

QEL::QC_FILE_SYSTEM* fileSystem() {
  QEL::QC_FILE_SYSTEM* instance = QEL::qcFILE_SYSTEM_INSTANCE;
  return instance != nullptr ? instance : QEL::QC_FILE_SYSTEM::fGet();
}

void createFolder(const std::string& path) {
  if (!fileExists(path)) fileSystem()->fCreateDirectories(path);
}

// A file the game could not read: known by device and inode while it can be looked at, else
// (say, in a folder that cannot be searched) by the path it had.
struct UNREADABLE_FILE {
  std::string path;
  bool hasIdentity = false;
  dev_t device = 0;
  ino_t inode = 0;
};

std::vector<UNREADABLE_FILE>& unreadableFiles() {
  static std::vector<UNREADABLE_FILE> files;
  return files;
}

bool sameFile(const UNREADABLE_FILE& file, const std::string& path, const struct stat* status) {
  if (!file.hasIdentity) return file.path == path;
  return status != nullptr && status->st_dev == file.device && status->st_ino == file.inode;
}

SAVE_FILE_TROUBLE gLastTrouble;

SAVE_FILE_STATE keepUnread(pugi::xml_document& document, const std::string& path, const std::string& reason) {
  document.reset();
  gLastTrouble = {reason, ""};
  QEL::fLog("Save file cannot be read (", reason, "), defaults used; it is not written in this run: ", path);
  if (isSaveFileUnreadable(path)) return SAVE_FILE_STATE::UNREADABLE;
  UNREADABLE_FILE file;
  file.path = path;
  struct stat status {};
  if (::stat(path.c_str(), &status) == 0) {
    file.hasIdentity = true;
    file.device = status.st_dev;
    file.inode = status.st_ino;
  }
  unreadableFiles().push_back(file);
  return SAVE_FILE_STATE::UNREADABLE;
}

// Read after all (the player mended the rights, say): it may be written again.
void forgetUnreadable(const std::string& path) {
  struct stat status {};
  const struct stat* found = ::stat(path.c_str(), &status) == 0 ? &status : nullptr;
  std::vector<UNREADABLE_FILE>& files = unreadableFiles();
  std::erase_if(files, [&](const UNREADABLE_FILE& file) { return sameFile(file, path, found); });
}

SAVE_FILE_STATE keepAside(pugi::xml_document& document, const std::string& path, const char* reason) {
  document.reset();
  if (writesNoSaves()) {
    QEL::fLog("Save file is corrupt (", reason, "), left where it is, defaults used: ", path);
    return SAVE_FILE_STATE::CORRUPT;
  }
  const std::string aside = unusedNameBeside(path, ".corrupt");
  const bool moved = std::rename(path.c_str(), aside.c_str()) == 0;
  gLastTrouble = {reason, moved ? aside : ""};
  if (moved)
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

namespace {

constexpr const char* kLockFileName = "/game.lock";
constexpr int kLockCount = 3;
// What a run locks: the game folder itself; game.lock in it where that can be opened (the
// file earlier versions of the game lock, so that one of them still running and this one
// keep out of each other's saves too); and the Saves folder, which a copy that can read its
// saves can always open, even where the game folder allows no more than passing through.
int gLockDescriptors[kLockCount] = {-1, -1, -1};
bool gHoldsSaveFolder = false;
bool gWritesNoSaves = false;

// A lock needs no right to write: a folder and a file opened only for reading take one as
// well. So neither a lock file that another user owns (one run under sudo) or that allows
// nothing, nor a read-only game folder, leaves the saves unguarded.
int openForLocking(const std::string& path, int flags) {
  // Not held up by a named pipe in the lock file's place.
  const int descriptor = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0644);
  if (descriptor >= 0) return descriptor;
  if (errno == ELOOP)
    QEL::fLog("lockSaveFolder: ", path, " is a link, which is not followed");
  else
    QEL::fLog("lockSaveFolder: cannot open ", path, " (", std::strerror(errno), ")");
  return -1;
}

enum class LOCK_STATE { TAKEN, IN_USE, UNSUPPORTED };

LOCK_STATE takeLock(int descriptor, const std::string& path) {
  if (::flock(descriptor, LOCK_EX | LOCK_NB) == 0) return LOCK_STATE::TAKEN;
  if (errno == EWOULDBLOCK) return LOCK_STATE::IN_USE;
  // A file system without locks cannot tell of a second copy.
  QEL::fLog("lockSaveFolder: ", path, " cannot be locked (", std::strerror(errno), ")");
  return LOCK_STATE::UNSUPPORTED;
}

}  // namespace

bool lockSaveFolder() {
  releaseSaveFolder();
  // The lock file is made where the folder allows it, and opened as it is where not; a link
  // in its place is not followed, as that could make a file wherever the link points.
  const std::string paths[kLockCount] = {gBasePath, gBasePath + kLockFileName, gBasePath + "/Saves"};
  const int flags[kLockCount] = {O_RDONLY | O_DIRECTORY, O_RDONLY | O_CREAT | O_NOFOLLOW, O_RDONLY | O_DIRECTORY};
  bool locked = false;
  for (int i = 0; i < kLockCount; ++i) {
    gLockDescriptors[i] = openForLocking(paths[i], flags[i]);
    if (gLockDescriptors[i] < 0) continue;
    const LOCK_STATE state = takeLock(gLockDescriptors[i], paths[i]);
    if (state == LOCK_STATE::IN_USE) {
      QEL::fLog("lockSaveFolder: the saves in ", gBasePath, " are in use by another copy of the game, this one ends");
      releaseSaveFolder();
      return false;
    }
    locked = locked || state == LOCK_STATE::TAKEN;
  }
  // Without a lock another copy may be writing the same saves unseen: this one plays on, as
  // with saves that cannot be written, and leaves them to it.
  if (!locked) QEL::fLog("lockSaveFolder: no lock can be made, this copy of the game writes no save: ", gBasePath);
  gWritesNoSaves = !locked;
  gHoldsSaveFolder = true;
  return true;
}

bool holdsSaveFolder() { return gHoldsSaveFolder; }

bool writesNoSaves() { return gWritesNoSaves; }

void releaseSaveFolder() {
  for (int& descriptor : gLockDescriptors) {
    if (descriptor >= 0) ::close(descriptor);
    descriptor = -1;
  }
  gHoldsSaveFolder = false;
  gWritesNoSaves = false;
}

namespace {

// Takes `start` off the front of `text`; false when it does not begin so.
bool takeFront(std::string_view& text, std::string_view start) {
  if (!text.starts_with(start)) return false;
  text.remove_prefix(start.size());
  return true;
}

// "players.xml", and each place's results "player<N>.xml" and "player<N>_p.xml".
bool isSavesFileName(const std::string& name) {
  if (name == "players.xml") return true;
  std::string_view rest = name;
  if (!takeFront(rest, "player") || rest.empty() || rest[0] < '0' || rest[0] >= '0' + kMaxPlayers) return false;
  rest.remove_prefix(1);
  takeFront(rest, "_p");
  return rest == ".xml";
}

// The folder of one run's statistics is named by its number.
bool isStatisticsFolderName(const std::string& name) { return QEL::fIsDigits(name); }

// "statistics.xml", and "<run>/level_number_<level>_<attempt>_<result>.txt" in a run's folder.
bool isStatisticsFileName(const std::string& name) {
  if (name == "statistics.xml") return true;
  const std::size_t slash = name.find('/');
  if (slash == std::string::npos || !isStatisticsFolderName(name.substr(0, slash))) return false;
  std::string_view rest = std::string_view(name).substr(slash + 1);
  if (!takeFront(rest, "level_number_") || !rest.ends_with(".txt")) return false;
  rest.remove_suffix(4);
  const std::size_t levelEnd = rest.find('_');
  const std::size_t attemptEnd = levelEnd == std::string_view::npos ? levelEnd : rest.find('_', levelEnd + 1);
  if (attemptEnd == std::string_view::npos) return false;
  // The result's balls: digits, "X" for a strike, "Y" for a spare, "-1" for one not played.
  const std::string_view result = rest.substr(attemptEnd + 1);
  return QEL::fIsDigits(rest.substr(0, levelEnd)) &&
         QEL::fIsDigits(rest.substr(levelEnd + 1, attemptEnd - levelEnd - 1)) && !result.empty() &&
         result.find_first_not_of("0123456789XY-") == std::string_view::npos;
}

}  // namespace

int removeStaleSaveTemporaries() {
  // Even a dead writer's temporary is not this copy's to remove then.
  if (writesNoSaves()) return 0;
  return QEL::fRemoveStaleSaveTemporaries(gBasePath + "/Saves", isSavesFileName) +
         QEL::fRemoveStaleSaveTemporaries(gBasePath + "/Statistics", isStatisticsFileName, isStatisticsFolderName);
}

SAVE_FILE_STATE loadSaveFile(pugi::xml_document& document, const std::string& path, const char* rootName) {
  document.reset();
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) {
    // Only a name that is not there is missing: a folder that cannot be searched hides a
    // file that may well hold a player's data.
    if (errno != ENOENT && errno != ENOTDIR) return keepUnread(document, path, std::strerror(errno));
    // A link to nothing is the player's own: its target lies on a drive not mounted, say,
    // and comes back with it.
    if (::lstat(path.c_str(), &status) == 0 && S_ISLNK(status.st_mode))
      return keepUnread(document, path, "a link to nothing");
    return SAVE_FILE_STATE::MISSING;
  }
  // The XML reader would take a folder's (or a device's) size for a file's and ask for
  // absurd memory.
  if (S_ISDIR(status.st_mode)) return keepUnread(document, path, "a folder stands in its place");
  if (!S_ISREG(status.st_mode)) return keepUnread(document, path, "not a plain file");
  if (static_cast<std::uintmax_t>(status.st_size) > kMaxSaveFileBytes)
    return keepAside(document, path, "larger than any save");
  // The XML reader reports a file it cannot open as not found.
  std::FILE* probe = std::fopen(path.c_str(), "rb");
  if (probe == nullptr) return keepUnread(document, path, std::strerror(errno));
  std::fclose(probe);

  const pugi::xml_parse_result result = document.load_file(path.c_str());
  if (result.status == pugi::status_file_not_found || result.status == pugi::status_io_error ||
      result.status == pugi::status_out_of_memory)
    return keepUnread(document, path, result.description());
  if (!result) return keepAside(document, path, result.description());
  if (!document.child(rootName)) return keepAside(document, path, "no root element");
  // Writing such a document back would take one tab per level on every line.
  if (isNestedDeeperThan(document, kMaxSaveFileDepth)) return keepAside(document, path, "nested deeper than any save");
  forgetUnreadable(path);
  return SAVE_FILE_STATE::LOADED;
}

const SAVE_FILE_TROUBLE& lastSaveFileTrouble() { return gLastTrouble; }

bool isSaveFileUnreadable(const std::string& path) {
  struct stat status {};
  const struct stat* found = ::stat(path.c_str(), &status) == 0 ? &status : nullptr;
  for (const UNREADABLE_FILE& file : unreadableFiles())
    if (sameFile(file, path, found)) return true;
  return false;
}

std::string unusedNameBeside(const std::string& path, const std::string& suffix) {
  const std::string base = path + suffix;
  if (!fileExists(base)) return base;
  for (int n = 1; n < 1000; ++n) {
    const std::string candidate = base + std::to_string(n);
    if (!fileExists(candidate)) return candidate;
  }
  return base;
}

namespace {

// A save that is a symbolic link (a player who keeps the profiles elsewhere) is written
// where it points: replacing the link by a file would leave the target behind, stale. False
// for a link that leads nowhere now: replaced, it would cut the player's saves off when their
// drive comes back, so it is never written over.
bool findSavedFile(const std::string& path, std::string& target) {
  target = path;
  std::error_code error;
  if (!std::filesystem::is_symlink(path, error)) return true;
  const std::filesystem::path resolved = std::filesystem::canonical(path, error);
  if (error) {
    QEL::fLog("Save file not written, it is a link to nothing (", error.message(), ") and is kept as it is: ", path);
    return false;
  }
  target = resolved.string();
  return true;
}

// The refusal that keeps a file this run could not read from being replaced by defaults, and
// every save of a copy that could not lock its saves from the copy that could.
bool isWritable(const std::string& path) {
  if (writesNoSaves()) {
    QEL::fLog("Save file not written, this copy of the game holds no lock on its saves: ", path);
    return false;
  }
  if (!isSaveFileUnreadable(path)) return true;
  QEL::fLog("Save file not written, it could not be read in this run and is kept as it is: ", path);
  return false;
}

}  // namespace

bool saveXmlAtomically(const pugi::xml_document& document, const std::string& path) {
  std::string target;
  return isWritable(path) && findSavedFile(path, target) && isWritable(target) &&
         QEL::fSaveXmlAtomically(document, target);
}

bool saveTextAtomically(const std::string& text, const std::string& path) {
  std::string target;
  return isWritable(path) && findSavedFile(path, target) && isWritable(target) &&
         QEL::fSaveTextAtomically(text, target);
}
