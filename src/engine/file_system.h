#pragma once
// The system's folders (the start-up directory and its Resources folder, which becomes the
// current directory), path tests, folder creation, folder and zip listings, and the
// whole-file reads behind the resource loader. Zip members are read through minizip with
// the pack's password.
#include <cstdint>
#include <cstdio>
#include <ios>
#include <string>
#include <vector>

namespace pugi {
class xml_document;
}

namespace QEL {

// No file of the resources comes near this (a zip member is held to it too): a larger one is
// refused from its size before a byte of it is read.
constexpr uint64_t kLargestResourceFile = 64ull * 1024 * 1024;
// The XML files are descriptions and level layouts: each of the game's fonts takes 50 KB, a
// level 16 KB, and even 300 cards piled on one spot, each listing every other as over or
// under it, stay under 2 MB. Parsed, a document takes several times its bytes, and what is
// built from it more, so a larger file is refused before it is parsed.
constexpr uint32_t kLargestXmlResource = 4u * 1024u * 1024u;

// What a resource read fills in: type 1 once the bytes (or the open file) are held.
struct QS_FILE_DATA {
  int32_t _type = 0;
  uint32_t _size = 0;
  uint8_t* _data = nullptr;  // malloc'ed; freed by QC_FILE_SYSTEM::fFreeResource
  std::FILE* _file = nullptr;
};

class QC_FILE_SYSTEM {
 public:
  // The one object of the run.
  static QC_FILE_SYSTEM* fGet();

  // Fixes the folders from the current directory, creates Resources when missing and makes
  // it the current directory; records itself as qcFILE_SYSTEM_INSTANCE.
  QC_FILE_SYSTEM();
  ~QC_FILE_SYSTEM();
  QC_FILE_SYSTEM(const QC_FILE_SYSTEM&) = delete;
  QC_FILE_SYSTEM& operator=(const QC_FILE_SYSTEM&) = delete;

  const std::string& fGetCurrentDirectory();
  void fSetCurrentDirectory(const std::string& path);
  const std::string& fGetBaseFolder() const { return _baseFolder; }
  const std::string& fGetResourcesFolder() const { return _resourcesFolder; }
  void fSetResourcesFolder(const std::string& path) { _resourcesFolder = path; }

  // The user's documents folder, created when missing; null when it cannot be had. The
  // text lives in a buffer overwritten by the next call.
  static const char* fGetDocumentsFolder();

  // 0 missing, 2 folder, 1 anything else.
  int32_t fPathType(const std::string& path) const;
  // Creates every missing folder along the path. 1.
  int32_t fCreateDirectories(const std::string& path);
  // Empties an existing file after creating the folders of its path; a missing file is not
  // created.
  void fCreateFile(const std::string& path);

  // Bare names of the plain entries (or, with folders set, the sub-folders) of one folder,
  // whose names end in "." + extension ("*": any); no descent into sub-folders.
  static void fListFolder(const std::string& path, std::vector<std::string>& list, bool folders,
                          const std::string& extension);
  // The first four bytes as a little-endian number when they mark RAR, PNG or zip;
  // 0x474E508A for anything else; -1 when the file cannot be opened or is no plain file.
  static int32_t fFileMagic(const std::string& path);
  // Every member name of a zip file.
  static void fListZip(const std::string& path, const std::string& prefix, std::vector<std::string>& list,
                       bool flag);

  // Reads a resource's bytes: name in the pack folder (or member of the pack zip) under
  // the resources folder. 1 read (or a zip record without password or name: nothing to
  // read), -1 missing pack, unreadable zip or a path leading outside Resources, -108
  // missing file or member, -109 short or corrupt read. A folder file gets a terminating
  // 0 that is counted in its size; a zip member does not count it. Only plain files are
  // read (a named pipe would hold the game until some writer came): anything else is logged
  // and counts as missing (-108); one larger than kLargestResourceFile is logged and not
  // read (-109).
  int32_t fLoadResource(const std::string& packPath, const std::string& name, const std::string& password,
                        QS_FILE_DATA& out);
  // Opens a folder resource for streaming: 1 (also for a zip pack, where nothing is
  // opened), -108 unopenable or no plain file, -1 missing pack or a path leading outside
  // Resources.
  int32_t fOpenResource(const std::string& packPath, const std::string& name, QS_FILE_DATA& out);
  void fCloseResource(QS_FILE_DATA& data);
  void fFreeResource(QS_FILE_DATA& data);

  // Reads a plain file whole, when it holds at most `largest` bytes (the XML readers of
  // level files and settings pass kLargestXmlResource): 1 read; -108 missing; -109 short
  // read; -1 no plain file, too large or unopenable. `failure` then says why in a few words;
  // the caller logs it with what the file was for.
  static int32_t fReadPlainFile(const std::string& path, std::string& bytes, uint64_t largest, std::string& failure);
  // An XML file read so (at most kLargestXmlResource) and parsed: the settings, the texts and
  // the level files. False when it is missing, refused or broken: the document is then empty
  // (nothing parsed before a fault is trusted) and `failure` says why in a few words.
  static bool fLoadXmlFile(pugi::xml_document& document, const std::string& path, std::string& failure);

  // Plain files only, as every reader here.
  int32_t fReadFile(const std::string& path, char* buffer, std::size_t count);
  int32_t fWriteFile(const std::string& path, const char* buffer, std::size_t count, std::ios::openmode mode);

  std::string _baseFolder;
  std::string _resourcesFolder;
  std::string _currentDirectory;
  std::string _reserved;
};

}  // namespace QEL
