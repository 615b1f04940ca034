#include "engine/resource.h"

#include <pugixml.hpp>

#include "engine/globals.h"
#include "engine/log.h"

namespace QEL {

QS_RESOURCE::QS_RESOURCE(const std::string& path) {
  const size_t slash = path.rfind('/');
  const size_t start = slash == std::string::npos ? 0 : slash + 1;
  if (start != path.size()) {
    _sgResName = path.substr(start);
    _folder = path.substr(0, start);
  } else {
    _sgResName = path;
  }
}

std::string QS_RESOURCE::fFile() const {
  if (_folder.empty() || _folder.back() == '/') return _folder + _sgResName;
  return _folder + "/" + _sgResName;
}

void QS_RESOURCE::fDefaultRelease(QS_RESOURCE* record) {
  if (!record) {
    // A null record is a caller's mistake; it must not take the game down.
    fLog("res");
    return;
  }
  if (record->_uses > 0) return;
  if (!record->_ready) {
    fLog("resource not ready ", record->_sgResName);
    return;
  }
  switch (record->_type) {
    case qeRESOURCE_XML:
      delete static_cast<pugi::xml_document*>(record->_object);
      record->_object = nullptr;
      break;
    case qeRESOURCE_VIDEO:
      fLog("fclose res");
      fReleaseVideoObject(*record);
      break;
    case qeRESOURCE_IMAGE:
      fLog("release tex ", record->_sgResName);
      fReleaseImageObject(*record);
      break;
    default: {
      fLog("resource default release, type = ", record->_type);
      QC_FILE_SYSTEM* fs = qcFILE_SYSTEM_INSTANCE;
      if (record->_type == qeRESOURCE_BYTES) {
        if (fs) fs->fFreeResource(record->_file);
        record->_object = nullptr;
      }
      break;
    }
  }
  record->_type = qeRESOURCE_NONE;
  record->_size = 0;
  record->_uses = 0;
  record->_ready = false;
}

}  // namespace QEL
