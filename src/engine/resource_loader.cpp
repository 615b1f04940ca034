#include "engine/resource_loader.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cstdlib>

#include "engine/callback.h"
#include "engine/game.h"
#include "engine/globals.h"
#include "engine/log.h"
#include "engine/result_codes.h"
#include "engine/text_utils.h"
#include "engine/zip_reader.h"
#include "platform/window.h"

namespace QEL {

namespace {
const char* const kLoaderSource = "engine/resource_loader.cpp";

QC_FILE_SYSTEM* fileSystem() {
  return qcFILE_SYSTEM_INSTANCE ? qcFILE_SYSTEM_INSTANCE : QC_FILE_SYSTEM::fGet();
}
}  // namespace

QC_RESOURCE_LOADER::~QC_RESOURCE_LOADER() {
  for (auto& record : _records) {
    if (record->_ready && record->_type == qeRESOURCE_XML) delete static_cast<pugi::xml_document*>(record->_object);
    if (record->_ready && record->_type == qeRESOURCE_VIDEO) fReleaseVideoObject(*record);
    // Byte buffers keep their bytes until now, released or not.
    std::free(record->_file._data);
  }
  for (QS_PACK* pack : _packs) delete pack;
}

QS_RESOURCE* QC_RESOURCE_LOADER::fNewRecord(const std::string& path) {
  _records.push_back(std::make_unique<QS_RESOURCE>(path));
  _last = _records.back().get();
  return _last;
}

void QC_RESOURCE_LOADER::fReportError(const std::string& text) {
  qcRESOURCE_ERROR_TEXT = text;
  QC_CALLBACK::fInvoke(qcON_RESOURCE_ERROR, 0);
}

std::string QC_RESOURCE_LOADER::fFileOfName(const std::string& name) {
  if (fCountBlanks(name) != 1) return name;
  std::string file = name;
  file[file.find(' ')] = '/';
  return file;
}

void QC_RESOURCE_LOADER::fSayOnce(const std::string& file, const std::string& text, const std::string& caption) {
  if (_filesSaid.insert(file).second) {
    platform::showMessageBox(text, caption);
    return;
  }
  fLog("No box again for ", file, ", said before: [", caption, "] ", text);
}

int32_t QC_RESOURCE_LOADER::fReadRecord(QS_RESOURCE* record) {
  QS_FILE_DATA data;
  QC_FILE_SYSTEM* fs = fileSystem();
  // Zip members are decrypted by the engine's own reader: the system's minizip has no
  // decryption. Folder files go through the file system.
  const int32_t result =
      record->_sgPass.empty()
          ? fs->fLoadResource(record->_folder, record->_sgResName, record->_sgPass, data)
          : fReadZipMember(fs->fGetResourcesFolder() + record->_folder, record->_sgResName, record->_sgPass, data);
  // A zip record without a password is reported as read although nothing was.
  if (result != 1 || data._type != qeRESOURCE_BYTES || !data._data) {
    std::free(data._data);
    return result == 1 ? -1 : result;
  }
  record->_file = data;
  record->_object = data._data;
  record->_size = data._size;
  record->_type = qeRESOURCE_BYTES;
  return 1;
}

// ---- names ---------------------------------------------------------------------------

QS_PACK* QC_RESOURCE_LOADER::fFindPack(const std::string& name) {
  for (QS_PACK* pack : _packs) {
    if (pack->_name == name) return pack;
  }
  return nullptr;
}

QS_RESOURCE* QC_RESOURCE_LOADER::fLookUpFileName(const std::string& name) {
  auto inMain = _main.find(name);
  if (inMain != _main.end()) return inMain->second;
  for (QS_PACK* pack : _packs) {
    auto it = pack->_resources.find(name);
    if (it != pack->_resources.end()) return it->second;
  }
  return nullptr;
}

QS_RESOURCE* QC_RESOURCE_LOADER::fFindByFileName(const std::string& name) {
  QS_RESOURCE* record = fLookUpFileName(name);
  if (!record) fSayOnce(fFileOfName(name), name, "No resource");
  return record;
}

bool QC_RESOURCE_LOADER::fSayIfPackMissing(const std::string& name) {
  if (fCountBlanks(name) != 1) return false;
  const std::string packName = name.substr(0, name.find(' '));
  if (_unlistedPacks.count(packName) == 0) return false;
  fLog("No resource ", name, ": its folder is missing or empty");
  // One box for the whole kind: a box for each of its files would keep the player clicking
  // through dozens before the game shows.
  if (_packsSaidMissing.insert(packName).second) {
    const std::string folder = fileSystem()->fGetResourcesFolder() + packName;
    fLog("Resource folder missing or empty, its resources are left out: ", folder);
    const std::string game = qcGAME != nullptr ? qcGAME->_settings._gameName : std::string();
    platform::showMessageBox(
        "The folder\n" + folder + "\nis missing or empty: the game goes on without the files it should hold.", game);
  }
  return true;
}

QS_RESOURCE* QC_RESOURCE_LOADER::fFindResource(const char* name) {
  QS_RESOURCE* found = nullptr;
  if (name && fCountBlanks(name) > 1)
    fLog("WTF resource name ", name);
  else if (name)
    found = fLookUpName(name);
  if (!found) fLog("Resource error");
  return found;
}

QS_RESOURCE* QC_RESOURCE_LOADER::fLookUpName(const std::string& text) {
  const int blanks = fCountBlanks(text);
  if (blanks == 0) return fFindByFileName(text);
  if (blanks > 1) return nullptr;
  std::string rest = text;
  std::vector<std::string> words;
  for (auto& word : fSplitString(rest, ' ', true)) words.push_back(word);
  const std::string packName = words.empty() ? std::string() : words[0];
  QS_PACK* pack = fFindPack(packName);
  if (!pack) {
    fLog("No pack named ", packName, "!");
    return fSayIfPackMissing(text) ? fLookUpFileName(text) : fFindByFileName(text);
  }
  if (words.size() != 2) return nullptr;
  auto it = pack->_resources.find(words[1]);
  return it != pack->_resources.end() ? it->second : nullptr;
}

// ---- subscription --------------------------------------------------------------------

int32_t QC_RESOURCE_LOADER::fSubscribePack(const char* name, const char* password) {
  if (!name) return -1;
  if (name[0] == '\0') return fSubscribeMain();
  return fAddPack(name, password);
}

int32_t QC_RESOURCE_LOADER::fSubscribeMain() {
  std::vector<std::string> list;
  QC_FILE_SYSTEM::fListFolder(fileSystem()->fGetResourcesFolder(), list, false, "*");
  if (list.empty()) {
    fLog("Main repository is empty");
    return -1;
  }
  for (auto it = list.rbegin(); it != list.rend(); ++it) {
    QS_RESOURCE* record = fNewRecord(*it);
    _main[record->_sgResName] = record;
  }
  return 1;
}

int32_t QC_RESOURCE_LOADER::fAddPack(const std::string& name, const char* password) {
  const bool zip = password && password[0] != '\0';
  const std::string path = fileSystem()->fGetResourcesFolder() + name;
  std::vector<std::string> list;
  if (zip) {
    QC_FILE_SYSTEM::fListZip(path, password, list, false);
  } else {
    QC_FILE_SYSTEM::fListFolder(path, list, false, "*");
  }
  if (list.empty()) {
    _unlistedPacks.insert(name);
    return -1;
  }
  _unlistedPacks.erase(name);
  if (fFindPack(name)) {
    fLog("Pack exist");
    return qeRESULT_NOTHING_DONE;
  }
  auto* pack = new QS_PACK();
  pack->_name = name;
  if (zip) pack->_password = password;
  _packs.push_back(pack);
  for (auto it = list.rbegin(); it != list.rend(); ++it) {
    QS_RESOURCE* record = fNewRecord(*it);
    record->_folder = name;
    if (zip) {
      record->_sgResName = *it;
      record->_sgPass = password;
    }
    pack->_resources[record->_sgResName] = record;
  }
  fLog("Pack ", name, " has ", pack->_resources.size(), " elems. ");
  return 1;
}

QS_RESOURCE* QC_RESOURCE_LOADER::fFindByObject(const void* object) {
  for (auto& [key, record] : _main) {
    if (record->_object == object) return _last = record;
  }
  for (QS_PACK* pack : _packs) {
    for (auto& [key, record] : pack->_resources) {
      if (record->_object == object) return _last = record;
    }
  }
  return nullptr;
}

int32_t QC_RESOURCE_LOADER::fReplaceInMain(QS_PACK* pack) {
  fLog("Replase in main");
  if (!pack) return -1;
  for (auto& [key, record] : pack->_resources) {
    fLog(_main.count(key) ? "Main yes " : "Main no ", key);
    _main[key] = record;
  }
  return -1;
}

int32_t QC_RESOURCE_LOADER::fReplacePack(const std::string& target, const std::string& source) {
  QS_PACK* from = fFindPack(source);
  if (!from) {
    fLog("Cant replace pack ", source, " does not exist");
    return -1;
  }
  if (target.empty()) return fReplaceInMain(from);
  QS_PACK* to = fFindPack(target);
  if (!to) {
    fLog("Cant replace existing pack ", source, " to ", target, " does not exist");
    return -1;
  }
  if (to != from) {
    for (auto& [key, record] : from->_resources) to->_resources[key] = record;
  }
  return -1;
}

int32_t QC_RESOURCE_LOADER::fCountUnusedMain() {
  int32_t count = 0;
  for (auto& [key, record] : _main) {
    if (record->_ready && record->_uses < 1) ++count;
  }
  return count;
}

int32_t QC_RESOURCE_LOADER::fReleaseUnused() {
  int32_t count = 0;
  for (QS_PACK* pack : _packs) {
    for (auto& [key, record] : pack->_resources) {
      if (record->_ready && record->_uses < 1) {
        QS_RESOURCE::fDefaultRelease(record);
        ++count;
      }
    }
  }
  return count + fCountUnusedMain();
}

namespace {
void printRecords(const std::map<std::string, QS_RESOURCE*>& records) {
  for (auto& [key, record] : records) {
    if (!record->_ready) continue;
    if (record->_type == qeRESOURCE_BYTES) {
      fLog(record->_sgResName, " is a file sized of", record->_size, " has ", record->_uses, " subs");
    } else if (record->_type == qeRESOURCE_IMAGE) {
      fLog(record->_sgResName, " is an image sized of", record->_size, " has ", record->_uses, " subs");
    }
  }
}
}  // namespace

void QC_RESOURCE_LOADER::fPrintStatistics() {
  fLog("Amount of subscribed resources", _imagesLoaded);
  fLog("Amount of unscribed resources", _releases);
  fLog("Totaly using space", _spaceTotal);
  fLog("Files:");
  printRecords(_main);
  for (QS_PACK* pack : _packs) {
    fLog("Pack ", pack->_name);
    printRecords(pack->_resources);
  }
}

void QC_RESOURCE_LOADER::fPrintMain() {
  if (_main.empty()) {
    fLog("Main repository is empty");
    return;
  }
  fLog("\nFilesInMainRepository:");
  for (auto& [key, record] : _main) fLog(key);
  fLog("");
  fLog("");
}

void QC_RESOURCE_LOADER::fPrintPack(const std::string& name) {
  fLog("Pack ", name);
  QS_PACK* pack = fFindPack(name);
  if (!pack) {
    fLog(" is not open");
  } else if (pack->_resources.empty()) {
    fLog(name, " is empty ");
  } else {
    for (auto& [key, record] : pack->_resources) fLog(key);
  }
  fLog("End of pack \n");
}

// ---- XML documents -------------------------------------------------------------------

pugi::xml_document* QC_RESOURCE_LOADER::fLoadXmlDoc(QS_RESOURCE* record) {
  if (!record) return nullptr;
  if (fReadRecord(record) != 1) {
    fLog("Cant load content ", record->_sgResName);
    fSayOnce(record->fFile(), record->_sgResName, "Cant load content ");
    return nullptr;
  }
  if (record->_file._size > kLargestXmlResource) {
    fLog("XML resource of ", record->_file._size, " bytes refused, larger than any description (",
         kLargestXmlResource, "): ", record->_sgResName);
    fileSystem()->fFreeResource(record->_file);
    record->_file = QS_FILE_DATA();
    record->_object = nullptr;
    record->_type = qeRESOURCE_NONE;
    return nullptr;
  }
  auto* document = new pugi::xml_document();
  // A malformed file keeps whatever was parsed before the fault.
  document->load_buffer(record->_file._data, record->_file._size, pugi::parse_default, pugi::encoding_auto);
  fileSystem()->fFreeResource(record->_file);
  record->_file = QS_FILE_DATA();
  record->_object = document;
  record->_ready = true;
  record->_type = qeRESOURCE_XML;
  record->_uses = 0;
  return document;
}

pugi::xml_document* QC_RESOURCE_LOADER::fGetXmlDoc(const char* name) {
  QS_RESOURCE* record = fFindResource(name);
  if (!record) {
    fLog("Resource not found ", name ? name : "");
    const std::string text = name ? name : "";
    if (!name || !fSayIfPackMissing(text)) fSayOnce(fFileOfName(text), text, "Resource not found ");
    return nullptr;
  }
  if (!(record->_ready && record->_type == qeRESOURCE_XML) && !fLoadXmlDoc(record)) return nullptr;
  record->_uses += 1;
  return static_cast<pugi::xml_document*>(record->_object);
}

pugi::xml_document* QC_RESOURCE_LOADER::fGetXmlDocIfLoaded(const char* name) {
  if (!name) return nullptr;
  QS_RESOURCE* record = fFindResource(name);
  if (record && record->_ready && record->_type == qeRESOURCE_XML) {
    return static_cast<pugi::xml_document*>(record->_object);
  }
  return nullptr;
}

int32_t QC_RESOURCE_LOADER::fPreloadXmlDoc(const char* name) {
  if (!name) return -1;
  QS_RESOURCE* record = fFindResource(name);
  if (!record) return -1;
  if (record->_ready && record->_type == qeRESOURCE_XML) return 0;
  return fLoadXmlDoc(record) ? 1 : -1;
}

namespace {
// fFreeImage and fXmlDocFree are one operation under two names.
int32_t freeObject(QC_RESOURCE_LOADER& loader, void* object, const char* operation) {
  if (!object) {
    platform::showMessageBox(operation, kLoaderSource);
    return -1;
  }
  QS_RESOURCE* record = loader.fFindByObject(object);
  if (!record || !record->_ready || record->_uses >= 1) return 0;
  QS_RESOURCE::fDefaultRelease(record);
  return 1;
}
}  // namespace

int32_t QC_RESOURCE_LOADER::fXmlDocFree(void* object) {
  return freeObject(*this, object, "QC_RESOURCE_LOADER::fXmlDocFree");
}

int32_t QC_RESOURCE_LOADER::fFreeImage(void* object) {
  return freeObject(*this, object, "QC_RESOURCE_LOADER::fFreeImage");
}

// ---- byte buffers --------------------------------------------------------------------

int32_t QC_RESOURCE_LOADER::fLoadByteBuffer(const char* name) {
  const std::string text = name ? name : "";
  QS_RESOURCE* record = name ? fFindResource(name) : nullptr;
  if (!record) {
    fLog("No resource ", text);
    fReportError("No resource ");
    return -1;
  }
  if (record->_ready) {
    if (record->_type == qeRESOURCE_BYTE_BUFFER) return qeRESULT_ALREADY_BYTE_BUFFER;
    fReportError("QC_RESOURCE_LOADER::fLoadByteBuffer error resource");
    return qeRESULT_LOADED_AS_OTHER;
  }
  if (fReadRecord(record) != 1) {
    fLog("Cant load res ", text);
    fReportError("Cant load res ");
    return -1;
  }
  record->_type = qeRESOURCE_BYTE_BUFFER;
  record->_ready = true;
  record->_uses += 1;
  return 1;
}

const uint8_t* QC_RESOURCE_LOADER::fGetByteBuffer(const char* name) {
  const std::string text = name ? name : "";
  QS_RESOURCE* record = name ? fFindResource(name) : nullptr;
  if (!record) {
    fLog("No resource named ", text);
    fReportError("No resource named ");
    return nullptr;
  }
  if (record->_type == qeRESOURCE_BYTE_BUFFER) return static_cast<const uint8_t*>(record->_object);
  fLog("Res not loaded ", text);
  fReportError("Res not loaded ");
  return nullptr;
}

int32_t QC_RESOURCE_LOADER::fFreeByteBuffer(const char* name) {
  QS_RESOURCE* record = name ? fFindResource(name) : nullptr;
  if (record && record->_ready && record->_type == qeRESOURCE_BYTE_BUFFER) QS_RESOURCE::fDefaultRelease(record);
  return 1;
}

}  // namespace QEL
