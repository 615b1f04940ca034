#include "engine/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unzip.h>

#include <pugixml.hpp>

#include <strings.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <list>

#include "engine/callback.h"
#include "engine/globals.h"
#include "engine/log.h"
#include "engine/result_codes.h"
#include "engine/text_utils.h"
#include "engine/zip_reader.h"
#include "platform/plain_file.h"
#include "platform/window.h"

namespace QEL {

namespace {

constexpr int32_t kMagicRar = 0x21726152;
constexpr int32_t kMagicPng = 0x474E5089;
constexpr int32_t kMagicZip = 0x04034B50;
constexpr int32_t kMagicOther = 0x474E508A;
constexpr std::size_t kZipNameLength = 260;

// Resource reads stay inside Resources: an absolute path or a ".." step is refused.
bool leadsOutside(const std::string& path) {
  if (path.empty()) return false;
  if (path[0] == '/' || path[0] == '\\') return true;
  if (path.size() > 1 && path[1] == ':') return true;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find_first_of("/\\", start);
    if (end == std::string::npos) end = path.size();
    if (path.compare(start, end - start, "..") == 0 && end - start == 2) return true;
    start = end + 1;
  }
  return false;
}

bool refuseOutside(const std::string& packPath, const std::string& name) {
  if (!leadsOutside(packPath) && !leadsOutside(name)) return false;
  fLog("Path outside Resources refused: ", packPath, " ", name);
  return true;
}

void logRefused(const std::string& packPath, const std::string& name, const std::string& why) {
  fLog("Resource not read (", why, "): ", packPath.empty() ? name : packPath + "/" + name);
}

// A resource in a folder pack: its bytes and a terminating 0, counted in the size.
int32_t readFolderFile(const std::string& file, const std::string& packPath, const std::string& name,
                       QS_FILE_DATA& out) {
  platform::PlainFile opened = platform::openPlainFile(file);
  if (!opened.file) {
    if (!opened.missing) logRefused(packPath, name, opened.failure);
    return qeRESULT_MISSING;
  }
  const uint64_t size = opened.size;
  if (size > kLargestResourceFile) {
    std::fclose(opened.file);
    logRefused(packPath, name,
               std::to_string(size) + " bytes, larger than any resource (" + std::to_string(kLargestResourceFile) + ")");
    return qeRESULT_SHORT_READ;
  }
  auto* buffer = static_cast<uint8_t*>(std::malloc(static_cast<std::size_t>(size) + 1));
  if (!buffer) {
    std::fclose(opened.file);
    return qeRESULT_SHORT_READ;
  }
  const std::size_t got = std::fread(buffer, 1, static_cast<std::size_t>(size), opened.file);
  std::fclose(opened.file);
  if (got != size) {
    std::free(buffer);
    return qeRESULT_SHORT_READ;
  }
  buffer[size] = 0;
  out._size = static_cast<uint32_t>(size + 1);
  out._data = buffer;
  out._type = 1;
  return 1;
}

bool endsWithExtension(const std::string& name, const std::string& extension) {
  if (extension == "*") return true;
  const std::string suffix = "." + extension;
  if (name.size() < suffix.size()) return false;
  return strcasecmp(name.c_str() + name.size() - suffix.size(), suffix.c_str()) == 0;
}

}  // namespace

QC_FILE_SYSTEM* QC_FILE_SYSTEM::fGet() {
  static QC_FILE_SYSTEM fileSystem;
  return &fileSystem;
}

QC_FILE_SYSTEM::QC_FILE_SYSTEM() {
  std::string start = fGetCurrentDirectory();
  if (!start.empty() && start.back() == '/') start.pop_back();
  _baseFolder = start + "/";
  _resourcesFolder = start + "/Resources/";
  fFixSlashes(_baseFolder);
  fFixSlashes(_resourcesFolder);
  if (fPathType(_resourcesFolder) == 0 && fCreateDirectories(_resourcesFolder) != 1) {
    qcRESOURCE_ERROR_TEXT = "Cant create \"Resources\" directory";
    QC_CALLBACK::fInvoke(qcON_RESOURCE_ERROR, 0);
  }
  _currentDirectory = _baseFolder;
  fSetCurrentDirectory(_resourcesFolder);
  qcFILE_SYSTEM_INSTANCE = this;
}

QC_FILE_SYSTEM::~QC_FILE_SYSTEM() {
  if (qcFILE_SYSTEM_INSTANCE == this) qcFILE_SYSTEM_INSTANCE = nullptr;
  if (qcFILE_SYSTEM == this) qcFILE_SYSTEM = nullptr;
}

const std::string& QC_FILE_SYSTEM::fGetCurrentDirectory() {
  char buffer[1024];
  if (getcwd(buffer, sizeof buffer)) {
    _currentDirectory = buffer;
    fFixSlashes(_currentDirectory);
  } else {
    fLog("Current directory cannot be read");
  }
  return _currentDirectory;
}

void QC_FILE_SYSTEM::fSetCurrentDirectory(const std::string& path) {
  if (chdir(path.c_str()) != 0) fLog("Current directory cannot be set: ", path);
  _currentDirectory = path;
}

const char* QC_FILE_SYSTEM::fGetDocumentsFolder() {
  static std::string folder;
  folder = platform::documentsFolder();
  return folder.empty() ? nullptr : folder.c_str();
}

int32_t QC_FILE_SYSTEM::fPathType(const std::string& path) const {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) return 0;
  return S_ISDIR(st.st_mode) ? 2 : 1;
}

int32_t QC_FILE_SYSTEM::fCreateDirectories(const std::string& path) {
  if (fPathType(path) != 0) return 1;
  std::string text = path;
  fFixSlashes(text);
  std::string forCreate;
  for (const std::string& piece : fSplitString(text, '/', false)) {
    forCreate += piece;
    fLog("forCreate.c_str()", "= ", forCreate);
    if (fPathType(forCreate) == 0) mkdir(forCreate.c_str(), 0755);
  }
  // Reported as made only when it now stands.
  if (fPathType(forCreate) != 2) {
    fLog("Folder cannot be created: ", path);
    return -1;
  }
  return 1;
}

void QC_FILE_SYSTEM::fCreateFile(const std::string& path) {
  std::string fixed = path;
  fFixSlashes(fixed);
  const std::size_t slash = fixed.find_last_of('/');
  const std::string folder = slash == std::string::npos ? std::string() : fixed.substr(0, slash + 1);
  const std::string fileName = slash == std::string::npos ? fixed : fixed.substr(slash + 1);
  fLog("path: ", fixed);
  fLog("file: ", folder);
  fLog("fileName: ", fileName);
  if (!folder.empty()) fCreateDirectories(folder);
  const int fd = open(fixed.c_str(), O_RDWR | O_TRUNC);
  if (fd >= 0) close(fd);
}

void QC_FILE_SYSTEM::fListFolder(const std::string& path, std::vector<std::string>& list, bool folders,
                                 const std::string& extension) {
  DIR* dir = opendir(path.c_str());
  if (!dir) {
    fLog("Address is uncorrect ", path);
    return;
  }
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    if (!endsWithExtension(name, extension)) continue;
    struct stat st {};
    if (stat((path + "/" + name).c_str(), &st) != 0) continue;
    if (S_ISDIR(st.st_mode) == folders) list.push_back(name);
  }
  closedir(dir);
}

int32_t QC_FILE_SYSTEM::fFileMagic(const std::string& path) {
  std::FILE* file = platform::openPlainFile(path).file;
  if (!file) return -1;
  unsigned char bytes[4] = {0, 0, 0, 0};
  const std::size_t got = std::fread(bytes, 1, 4, file);
  std::fclose(file);
  if (got < 4) return kMagicOther;
  const int32_t magic = static_cast<int32_t>(static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                                             static_cast<uint32_t>(bytes[2]) << 16 |
                                             static_cast<uint32_t>(bytes[3]) << 24);
  if (magic == kMagicRar || magic == kMagicPng || magic == kMagicZip) return magic;
  return kMagicOther;
}

void QC_FILE_SYSTEM::fListZip(const std::string& path, const std::string&, std::vector<std::string>& list, bool) {
  if (fFileMagic(path) != kMagicZip) return;
  unzFile zip = fOpenZip(path);
  if (!zip) {
    fLog("zipfile is NULL! ");
    return;
  }
  if (unzGoToFirstFile(zip) == UNZ_OK) {
    do {
      char name[kZipNameLength + 1] = {};
      unz_file_info info;
      if (unzGetCurrentFileInfo(zip, &info, name, kZipNameLength, nullptr, 0, nullptr, 0) != UNZ_OK) break;
      list.emplace_back(name);
    } while (unzGoToNextFile(zip) == UNZ_OK);
  }
  unzClose(zip);
}

int32_t QC_FILE_SYSTEM::fLoadResource(const std::string& packPath, const std::string& name,
                                      const std::string& password, QS_FILE_DATA& out) {
  if (refuseOutside(packPath, name)) return -1;
  const std::string pack = _resourcesFolder + packPath;
  const int32_t kind = fPathType(pack);

  if (kind == 1) {
    if (password.empty() || name.empty()) {
      fLog("res->_sgPass", "= ", password);
      fLog("res->_sgResName", "= ", name);
      return 1;
    }
    // The member is looked up by its name inside the zip only, so no name leads outside it.
    return fReadZipMember(pack, name, password, out);
  }

  if (kind == 2) return readFolderFile(pack + "/" + name, packPath, name, out);
  return -1;
}

int32_t QC_FILE_SYSTEM::fOpenResource(const std::string& packPath, const std::string& name, QS_FILE_DATA& out) {
  if (refuseOutside(packPath, name)) return -1;
  const std::string pack = _resourcesFolder + packPath;
  const int32_t kind = fPathType(pack);
  if (kind == 0) return -1;
  if (kind == 1) return 1;
  platform::PlainFile opened = platform::openPlainFile(pack + "/" + name);
  if (!opened.file) {
    if (!opened.missing) logRefused(packPath, name, opened.failure);
    return qeRESULT_MISSING;
  }
  out._size = static_cast<uint32_t>(std::min<uint64_t>(opened.size, UINT32_MAX));
  out._file = opened.file;
  out._type = 1;
  return 1;
}

void QC_FILE_SYSTEM::fCloseResource(QS_FILE_DATA& data) {
  if (data._file) std::fclose(data._file);
  data._file = nullptr;
  data._type = 0;
  data._size = 0;
}

void QC_FILE_SYSTEM::fFreeResource(QS_FILE_DATA& data) {
  if (data._type != 1) return;
  std::free(data._data);
  data._data = nullptr;
  data._type = 0;
}

int32_t QC_FILE_SYSTEM::fReadPlainFile(const std::string& path, std::string& bytes, uint64_t largest,
                                      std::string& failure) {
  bytes.clear();
  platform::PlainFile opened = platform::openPlainFile(path);
  if (!opened.file) {
    failure = opened.failure;
    return opened.missing ? qeRESULT_MISSING : -1;
  }
  if (opened.size > largest) {
    std::fclose(opened.file);
    failure = std::to_string(opened.size) + " bytes, larger than any such file (" + std::to_string(largest) + ")";
    return -1;
  }
  bytes.resize(static_cast<std::size_t>(opened.size));
  const std::size_t got = bytes.empty() ? 0 : std::fread(bytes.data(), 1, bytes.size(), opened.file);
  std::fclose(opened.file);
  if (got != bytes.size()) {
    bytes.clear();
    failure = "short read";
    return qeRESULT_SHORT_READ;
  }
  return 1;
}

bool QC_FILE_SYSTEM::fLoadXmlFile(pugi::xml_document& document, const std::string& path, std::string& failure) {
  document.reset();
  std::string bytes;
  if (fReadPlainFile(path, bytes, kLargestXmlResource, failure) != 1) return false;
  const pugi::xml_parse_result parsed = document.load_buffer(bytes.data(), bytes.size());
  if (parsed) return true;
  document.reset();
  failure = parsed.description();
  return false;
}

int32_t QC_FILE_SYSTEM::fReadFile(const std::string& path, char* buffer, std::size_t count) {
  std::FILE* file = platform::openPlainFile(path).file;
  if (!file) return -1;
  // A short file leaves the rest of the buffer as it was.
  if (std::fread(buffer, 1, count, file) < count) fLog("File shorter than ", count, " bytes: ", path);
  std::fclose(file);
  return 1;
}

int32_t QC_FILE_SYSTEM::fWriteFile(const std::string& path, const char* buffer, std::size_t count,
                                   std::ios::openmode mode) {
  std::ofstream out(path, mode | std::ios::out);
  if (!out) return -1;
  out.write(buffer, static_cast<std::streamsize>(count));
  return 1;
}

}  // namespace QEL
