#include "game/save_files.h"

#include <cstdio>

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

SAVE_FILE_STATE loadSaveFile(pugi::xml_document& document, const std::string& path, const char* rootName) {
  document.reset();
  const int32_t type = fileSystem()->fPathType(path);
  if (type == 0) return SAVE_FILE_STATE::MISSING;
  if (type == 2) {
    // The XML reader would take a folder's size for a file's and ask for absurd memory.
    QEL::fLog("Save file cannot be read (a folder stands in its place), defaults used: ", path);
    return SAVE_FILE_STATE::UNREADABLE;
  }
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
  if (result && document.child(rootName)) return SAVE_FILE_STATE::LOADED;

  document.reset();
  const std::string aside = asideName(path);
  const char* reason = result ? "no root element" : result.description();
  if (std::rename(path.c_str(), aside.c_str()) == 0)
    QEL::fLog("Save file is corrupt (", reason, "), kept aside as ", aside, ", defaults used: ", path);
  else
    QEL::fLog("Save file is corrupt (", reason, ") and cannot be moved aside, defaults used: ", path);
  return SAVE_FILE_STATE::CORRUPT;
}

bool saveXmlAtomically(const pugi::xml_document& document, const std::string& path) {
  return QEL::fSaveXmlAtomically(document, path);
}

bool saveTextAtomically(const std::string& text, const std::string& path) {
  return QEL::fSaveTextAtomically(text, path);
}
