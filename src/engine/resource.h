#pragma once
// The record of one loadable file (QS_RESOURCE) and a subscribed pack of them (QS_PACK).
// Records are made and owned by the resource loader; a record holds nothing until it is
// asked for by name, then the loaded thing of its type.
#include <cstdint>
#include <map>
#include <string>

#include "engine/file_system.h"

namespace QEL {

// What a record's object field holds.
enum QE_RESOURCE_TYPE : int32_t {
  qeRESOURCE_NONE = 0,
  qeRESOURCE_BYTES = 1,        // raw bytes, only while a load runs
  qeRESOURCE_IMAGE = 2,        // QC_TEXTURE made by the renderer
  qeRESOURCE_XML = 4,          // pugi::xml_document
  qeRESOURCE_BYTE_BUFFER = 5,  // the file's bytes as read (size bytes)
  qeRESOURCE_VIDEO = 6,        // QC_VIDEO reading from the file kept open in _file
};

struct QS_RESOURCE {
  // Splits the path at its last "/": the name after it, the folder up to and including it.
  // A path that ends with "/" (or is empty) is all name.
  explicit QS_RESOURCE(const std::string& path);

  int32_t fGetUses() const { return _uses; }
  void fSetReady(bool ready) { _ready = ready; }
  bool fIsReady() const { return _ready; }
  void* fGetObject() const { return _object; }
  // The file as it lies under Resources ("font/font20.fnt"), for what is said about it.
  std::string fFile() const;

  // Releases what the record holds, by its type, once nobody uses it; the record is then
  // not ready. A byte buffer's bytes stay allocated (sounds play from them).
  static void fDefaultRelease(QS_RESOURCE* record);

  bool _ready = false;
  int32_t _type = qeRESOURCE_NONE;
  std::string _sgResName;
  std::string _folder;  // the pack's name for pack records
  std::string _sgPass;
  uint32_t _size = 0;
  void* _object = nullptr;
  int32_t _uses = 0;
  // What the file system handed over: the bytes of a load, the open file of a video.
  QS_FILE_DATA _file;
};

struct QS_PACK {
  std::string _name;      // exactly as subscribed
  std::string _password;  // empty for a folder pack
  std::map<std::string, QS_RESOURCE*> _resources;
};

// Gives a record's image or video back; defined beside the image and video loading.
void fReleaseImageObject(QS_RESOURCE& record);
void fReleaseVideoObject(QS_RESOURCE& record);

}  // namespace QEL
