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

#include "engine/file_lock.h"
#include "engine/file_system.h"
#include "engine/globals.h"
#include "engine/log.h"
#include "engine/text_utils.h"
#include "engine/xml_save.h"
#include "game/game_globals.h"
#include "game/level_results.h"
#include "game/players.h"
#include "game/texts.h"

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

// Kept from being written over in this run.
void rememberUnreadable(const std::string& path) {
  if (isSaveFileUnreadable(path)) return;
  UNREADABLE_FILE file;
  file.path = path;
  struct stat status {};
  if (::stat(path.c_str(), &status) == 0) {
    file.hasIdentity = true;
    file.device = status.st_dev;
    file.inode = status.st_ino;
  }
  unreadableFiles().push_back(file);
}

SAVE_FILE_STATE keepUnread(pugi::xml_document& document, const std::string& path, const std::string& reason) {
  document.reset();
  gLastTrouble = {reason, "", ""};
  QEL::fLog("Save file cannot be read (", reason, "), defaults used; it is not written in this run: ", path);
  rememberUnreadable(path);
  return SAVE_FILE_STATE::UNREADABLE;
}

// Read after all (the player mended the rights, say): it may be written again.
void forgetUnreadable(const std::string& path) {
  struct stat status {};
  const struct stat* found = ::stat(path.c_str(), &status) == 0 ? &status : nullptr;
  std::vector<UNREADABLE_FILE>& files = unreadableFiles();
  std::erase_if(files, [&](const UNREADABLE_FILE& file) { return sameFile(file, path, found); });
}

// Moves a corrupt file aside, under the name `aside` is given; why it could not, else empty.
std::string moveAside(const std::string& path, std::string& aside) {
  if (writesNoSaves()) return "this copy of the game writes no save, another copy may be using it";
  aside = unusedNameBeside(path, ".corrupt");
  if (aside.empty()) return "every name beside it to keep it under is taken";
  if (std::rename(path.c_str(), aside.c_str()) != 0)
    return std::string("it cannot be moved aside: ") + std::strerror(errno);
  return {};
}

// A corrupt file that cannot be moved aside stays where it is and, as one that cannot be
// read, is not written over in this run: the player may yet mend it by hand.
SAVE_FILE_STATE keepAside(pugi::xml_document& document, const std::string& path, const char* reason) {
  document.reset();
  std::string aside;
  const std::string left = moveAside(path, aside);
  if (left.empty()) {
    gLastTrouble = {reason, aside, ""};
    QEL::fLog("Save file is corrupt (", reason, "), kept aside as ", aside, ", defaults used: ", path);
    return SAVE_FILE_STATE::CORRUPT;
  }
  rememberUnreadable(path);
  gLastTrouble = {reason, "", left};
  QEL::fLog("Save file is corrupt (", reason, ") and left where it is, ", left,
            "; defaults used, it is not written in this run: ", path);
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
  gBasePath += std::string("/") + kGameName;
  createFolder(gBasePath);
  createFolder(gBasePath + "/Saves");
  createFolder(gBasePath + "/Statistics");
}

namespace {

constexpr const char* kLockFileName = "/game.lock";
constexpr int kLockCount = 3;
constexpr int kLockFileIndex = 1;
// What a run locks: the game folder itself; game.lock in it where that can be opened (the
// file earlier versions of the game lock, so that one of them still running and this one
// keep out of each other's saves too); and the Saves folder, which a copy that can read its
// saves can always open, even where the game folder allows no more than passing through.
int gLockDescriptors[kLockCount] = {-1, -1, -1};
bool gHoldsSaveFolder = false;
bool gWritesNoSaves = false;

// Not held up by a named pipe in a lock file's place, and never through a link, which could
// make a file wherever it points.
constexpr int kLockOpenFlags = O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW;

int logUnopened(const std::string& path) {
  if (errno == ELOOP)
    QEL::fLog("lockSaveFolder: ", path, " is a link, which is not followed");
  else
    QEL::fLog("lockSaveFolder: cannot open ", path, " (", std::strerror(errno), ")");
  return -1;
}

// A folder opened only for reading: a local disk locks it all the same, so a read-only game
// folder, or one that may only be passed through to Saves, still keeps a second copy out.
int openFolderToLock(const std::string& path) {
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | kLockOpenFlags);
  return descriptor >= 0 ? descriptor : logUnopened(path);
}

// The lock file is opened for writing where it may be: an NFS home locks only such a
// descriptor. It is made where the folder allows it, and opened only for reading where it
// must be (one left by a run under sudo, or one that allows nothing), which a local disk
// locks as well.
int openLockFile(const std::string& path) {
  int descriptor = ::open(path.c_str(), O_RDWR | O_CREAT | kLockOpenFlags, 0644);
  if (descriptor < 0 && errno != ELOOP) descriptor = ::open(path.c_str(), O_RDONLY | O_CREAT | kLockOpenFlags, 0644);
  return descriptor >= 0 ? descriptor : logUnopened(path);
}

// UNSUPPORTED: the file system refused the lock itself, which tells nothing of another copy.
// REFUSED: not opened, or refused for another reason.
enum class LOCK_STATE { TAKEN, IN_USE, UNSUPPORTED, REFUSED };

LOCK_STATE takeLock(int descriptor, const std::string& path) {
  if (descriptor < 0) return LOCK_STATE::REFUSED;
  if (QEL::fLockFile(descriptor, LOCK_EX | LOCK_NB) == 0) return LOCK_STATE::TAKEN;
  if (errno == EWOULDBLOCK) return LOCK_STATE::IN_USE;
  const bool unsupported = QEL::fIsLockUnsupported(errno);
  QEL::fLog("lockSaveFolder: ", path, " cannot be locked (", std::strerror(errno), ")");
  return unsupported ? LOCK_STATE::UNSUPPORTED : LOCK_STATE::REFUSED;
}

// Without a lock another copy may be writing the same saves unseen: this one plays on, as
// with saves that cannot be written, and leaves them to it. Not where the file system merely
// cannot lock, though: there no copy could ever tell of another, and writing nothing would
// lose every save of a player whose home is on such a disk.
bool mayWriteSaves(bool locked, bool lockless) {
  if (locked) return true;
  if (lockless) {
    QEL::fLog("lockSaveFolder: the file system of ", gBasePath,
              " cannot lock, a second copy of the game on these saves cannot be told apart; this one saves as usual");
    return true;
  }
  QEL::fLog("lockSaveFolder: no lock can be made, this copy of the game writes no save: ", gBasePath);
  return false;
}

}  // namespace

bool lockSaveFolder() {
  releaseSaveFolder();
  const std::string paths[kLockCount] = {gBasePath, gBasePath + kLockFileName, gBasePath + "/Saves"};
  bool locked = false;
  bool lockless = false;
  for (int i = 0; i < kLockCount; ++i) {
    gLockDescriptors[i] = i == kLockFileIndex ? openLockFile(paths[i]) : openFolderToLock(paths[i]);
    const LOCK_STATE state = takeLock(gLockDescriptors[i], paths[i]);
    if (state == LOCK_STATE::IN_USE) {
      QEL::fLog("lockSaveFolder: the saves in ", gBasePath, " are in use by another copy of the game, this one ends");
      releaseSaveFolder();
      return false;
    }
    locked = locked || state == LOCK_STATE::TAKEN;
    lockless = lockless || state == LOCK_STATE::UNSUPPORTED;
  }
  gWritesNoSaves = !mayWriteSaves(locked, lockless);
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

std::string_view nameInFolder(std::string_view path) { return path.substr(path.find_last_of('/') + 1); }

// The save a copy kept aside was made of ("players.xml" of "players.xml.corrupt2"): such a
// copy is written as a save is, through a temporary of its own. Any other name as it is.
std::string_view savedNameOfCopy(std::string_view name) {
  constexpr std::string_view kCopyMark = ".corrupt";
  const std::size_t mark = name.rfind(kCopyMark);
  if (mark == std::string_view::npos) return name;
  const std::string_view number = name.substr(mark + kCopyMark.size());
  return number.empty() || QEL::fIsDigits(number) ? name.substr(0, mark) : name;
}

// The names its writers give the files in Saves: the players file and each place's results
// in either mode, and a copy of any of them kept aside.
bool isSavesFileName(const std::string& name) {
  const std::string_view saved = savedNameOfCopy(name);
  if (saved == nameInFolder(playersFilePath())) return true;
  for (int place = 0; place < kMaxPlayers; ++place)
    for (const int mode : {0, 1})
      if (saved == nameInFolder(levelResultsFilePath(place, mode))) return true;
  return false;
}

// The folder of one run's statistics is named by its number.
bool isStatisticsFolderName(const std::string& name) { return QEL::fIsDigits(name); }

// The statistics file, and in a run's folder one level's (levelStatisticsFilePath), as
// "<run>/<name>".
bool isStatisticsFileName(const std::string& name) {
  if (savedNameOfCopy(name) == nameInFolder(statisticsFilePath())) return true;
  const std::size_t slash = name.find('/');
  if (slash == std::string::npos || !isStatisticsFolderName(name.substr(0, slash))) return false;
  std::string_view rest = std::string_view(name).substr(slash + 1);
  if (!takeFront(rest, kLevelStatisticsStart) || !rest.ends_with(kLevelStatisticsEnd)) return false;
  rest.remove_suffix(kLevelStatisticsEnd.size());
  const std::size_t levelEnd = rest.find('_');
  const std::size_t attemptEnd = levelEnd == std::string_view::npos ? levelEnd : rest.find('_', levelEnd + 1);
  if (attemptEnd == std::string_view::npos) return false;
  // The result's balls: digits, "X" for a strike, "Y" for a spare, "-1" for one not played;
  // none at all for a level whose result has none.
  const std::string_view result = rest.substr(attemptEnd + 1);
  return QEL::fIsDigits(rest.substr(0, levelEnd)) &&
         QEL::fIsDigits(rest.substr(levelEnd + 1, attemptEnd - levelEnd - 1)) &&
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

namespace {

// Free only when nothing at all stands there: a link to nothing is the player's own (its
// target on a drive not mounted, say), and a name that cannot be looked at may hide a file.
bool isFreeName(const std::string& path) {
  struct stat status {};
  return ::lstat(path.c_str(), &status) != 0 && errno == ENOENT;
}

}  // namespace

std::string unusedNameBeside(const std::string& path, const std::string& suffix) {
  const std::string base = path + suffix;
  if (isFreeName(base)) return base;
  for (int n = 1; n < kMostNamesBeside; ++n) {
    const std::string candidate = base + std::to_string(n);
    if (isFreeName(candidate)) return candidate;
  }
  QEL::fLog("No free name beside ", path, ": ", base, " to ", base, kMostNamesBeside - 1, " are all taken");
  return {};
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
