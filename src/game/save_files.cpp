#include "game/save_files.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "engine/file_system.h"
#include "engine/globals.h"
#include "engine/log.h"
#include "engine/xml_save.h"
#include "game/game_globals.h"

namespace {

QEL::QC_FILE_SYSTEM* fileSystem() {
  QEL::QC_FILE_SYSTEM* instance = QEL::qcFILE_SYSTEM_INSTANCE;
  return instance != nullptr ? instance : QEL::QC_FILE_SYSTEM::fGet();
}

void createFolder(const std::string& path) {
  if (!fileExists(path)) fileSystem()->fCreateDirectories(path);
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
  const std::string statistics = gBasePath + "/Statistics";
  int removed = QEL::fRemoveStaleSaveTemporaries(gBasePath + "/Saves") + QEL::fRemoveStaleSaveTemporaries(statistics);
  // The statistics text files of each run lie one folder further down.
  std::error_code error;
  for (std::filesystem::directory_iterator entry(statistics, error), end; !error && entry != end;
       entry.increment(error)) {
    std::error_code typeError;
    if (entry->is_directory(typeError)) removed += QEL::fRemoveStaleSaveTemporaries(entry->path().string());
  }
  return removed;
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
  return QEL::fSaveXmlAtomically(document, path);
}

bool saveTextAtomically(const std::string& text, const std::string& path) {
  return QEL::fSaveTextAtomically(text, path);
}
