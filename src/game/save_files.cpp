#include "game/save_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

#include "engine/file_system.h"
#include "engine/globals.h"
#include "engine/log.h"
#include "game/game_globals.h"

namespace {

QEL::QC_FILE_SYSTEM* fileSystem() {
  QEL::QC_FILE_SYSTEM* instance = QEL::qcFILE_SYSTEM_INSTANCE;
  return instance != nullptr ? instance : QEL::QC_FILE_SYSTEM::fGet();
}

void createFolder(const std::string& path) {
  if (!fileExists(path)) fileSystem()->fCreateDirectories(path);
}

class FILE_WRITER : public pugi::xml_writer {
 public:
  explicit FILE_WRITER(std::FILE* file) : _file(file) {}
  void write(const void* data, size_t size) override {
    if (std::fwrite(data, 1, size, _file) != size) _failed = true;
  }
  bool fFailed() const { return _failed; }

 private:
  std::FILE* _file;
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
  const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (descriptor < 0) return;
  ::fsync(descriptor);
  ::close(descriptor);
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

namespace {

// The one way a save reaches the disk: into a temporary file beside it, flushed to the disk,
// then renamed over the old file, so a crash or a full disk never leaves half a save.
template <class WRITE>
bool writeAtomically(const std::string& path, WRITE write) {
  const std::string temporary = path + ".tmp";
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (file == nullptr) {
    QEL::fLog("Save file cannot be written, the old one is kept: ", path, " (no temporary file ", temporary, ")");
    return false;
  }
  bool written = write(file) && std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0;
  if (std::fclose(file) != 0) written = false;
  if (!written) {
    QEL::fLog("Save file cannot be written (disk full?), the old one is kept: ", path);
    std::remove(temporary.c_str());
    return false;
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    QEL::fLog("Save file cannot be replaced, the old one is kept: ", path);
    std::remove(temporary.c_str());
    return false;
  }
  syncFolder(folderOf(path));
  return true;
}

}  // namespace

bool saveXmlAtomically(const pugi::xml_document& document, const std::string& path) {
  return writeAtomically(path, [&document](std::FILE* file) {
    FILE_WRITER writer(file);
    document.save(writer, "\t", pugi::format_default, pugi::encoding_utf8);
    return !writer.fFailed();
  });
}

bool saveTextAtomically(const std::string& text, const std::string& path) {
  return writeAtomically(path, [&text](std::FILE* file) {
    return std::fwrite(text.data(), 1, text.size(), file) == text.size();
  });
}
