// The resource loader's images (textures made by the renderer) and videos.
#include <cstdlib>
#include <vector>

#include "engine/callback.h"
#include "engine/globals.h"
#include "engine/log.h"
#include "engine/render.h"
#include "engine/resource_loader.h"
#include "engine/result_codes.h"
#include "engine/text_utils.h"
#include "engine/texture.h"
#include "engine/video.h"

namespace QEL {

namespace {
QC_RENDER* renderer() { return qcRENDER_INSTANCE; }

QC_TEXTURE* defaultTexture() {
  QC_RENDER* render = renderer();
  return render ? render->fGetDefaultTexture() : nullptr;
}

QC_FILE_SYSTEM* fileSystem() {
  return qcFILE_SYSTEM_INSTANCE ? qcFILE_SYSTEM_INSTANCE : QC_FILE_SYSTEM::fGet();
}

std::vector<std::string> splitAtBlank(const std::string& name) {
  std::string rest = name;
  std::vector<std::string> words;
  for (auto& word : fSplitString(rest, ' ', true)) words.push_back(word);
  return words;
}

}  // namespace

void fReleaseImageObject(QS_RESOURCE& record) {
  QC_RENDER* render = renderer();
  if (render) render->fReleaseTexture(static_cast<QC_TEXTURE*>(record._object));
  // A freed texture's address may come back for another texture: forget it.
  record._object = nullptr;
}

void fReleaseVideoObject(QS_RESOURCE& record) {
  // The video closes the file it reads from.
  delete static_cast<QC_VIDEO*>(record._object);
  record._object = nullptr;
  record._file._file = nullptr;
  if (QC_FILE_SYSTEM* fs = fileSystem()) fs->fCloseResource(record._file);
}

// ---- images --------------------------------------------------------------------------

QC_TEXTURE* QC_RESOURCE_LOADER::fLoadImage(QS_RESOURCE* record) {
  QC_RENDER* render = renderer();
  if (!record || !render) return defaultTexture();
  if (fReadRecord(record) != 1) {
    // Listed but unreadable now (gone from the disk, a zip member that cannot be read).
    fLog("Cant load content ", record->_sgResName);
    return defaultTexture();
  }
  QC_TEXTURE* texture =
      render->fLoadTextureFromMemory(record->_file._data, record->_file._size, record->fFile().c_str());
  if (texture == defaultTexture()) fLog("Image not loaded, the default texture stands in: ", record->_sgResName);
  fileSystem()->fFreeResource(record->_file);
  record->_file = QS_FILE_DATA();
  record->_object = texture;
  record->_type = qeRESOURCE_IMAGE;
  record->_ready = true;
  // The menu loads a hundred pictures it may never show: they read their file when drawn.
  render->fForgetWaitingBytes(texture);
  return texture;
}

QC_TEXTURE* QC_RESOURCE_LOADER::fGetImage(const char* name) {
  QC_TEXTURE* result = defaultTexture();
  if (!name) return result;
  const std::string text = name;
  const int blanks = fCountBlanks(text);
  QS_RESOURCE* record = nullptr;
  if (blanks == 0) {
    record = fFindByFileName(text);
    if (!record) fSayOnce(fFileOfName(text), text, "No resource");
  } else if (blanks == 1) {
    const std::vector<std::string> words = splitAtBlank(text);
    if (words.size() != 2) fLog(text);
    QS_PACK* pack = fFindPack(words.empty() ? std::string() : words[0]);
    if (!pack) fSayIfPackMissing(text);
    if (!pack || words.size() < 2) return result;
    auto it = pack->_resources.find(words[1]);
    if (it == pack->_resources.end()) {
      fLog("slt size ", words.size());
      fLog("in ", pack->_name, " not find ", words[1]);
      fSayOnce(fFileOfName(text), words[1], "Not find");
      return result;
    }
    record = it->second;
  }
  if (!record) return result;
  if (record->_ready && record->_type == qeRESOURCE_IMAGE) {
    result = static_cast<QC_TEXTURE*>(record->_object);
  } else {
    result = fLoadImage(record);
    ++_imagesLoaded;
  }
  record->_uses += 1;
  return result;
}

QC_TEXTURE* QC_RESOURCE_LOADER::fGetImageIfLoaded(const char* name) {
  QS_RESOURCE* record = name ? fFindResource(name) : nullptr;
  if (record && record->_ready && record->_type == qeRESOURCE_IMAGE) return static_cast<QC_TEXTURE*>(record->_object);
  return defaultTexture();
}

int32_t QC_RESOURCE_LOADER::fPreloadImage(const char* name) {
  QS_RESOURCE* record = name ? fFindResource(name) : nullptr;
  if (!record) return -1;
  if (record->_ready && record->_type == qeRESOURCE_IMAGE) return 0;
  return fLoadImage(record) == defaultTexture() ? qeRESULT_BAD_DATA : 1;
}

int32_t QC_RESOURCE_LOADER::fUnscribeImage(QC_TEXTURE* texture) {
  QS_RESOURCE* record = texture ? fFindByObject(texture) : nullptr;
  if (!record) {
    fLog("Resource error in fUnscribeImage");
    return 0;
  }
  record->_uses -= 1;
  if (record->_uses < 1) {
    ++_releases;
    fLog("Fully unscribe ", record->_sgResName);
  }
  return 1;
}

int32_t QC_RESOURCE_LOADER::fReleaseImageUse(QC_TEXTURE* texture) {
  if (!texture || texture == defaultTexture()) return 0;
  if (fUnscribeImage(texture) != 1) return 0;
  return fFreeImage(texture) == 1 ? 1 : 0;
}

bool QC_RESOURCE_LOADER::fReadImageAgain(QC_TEXTURE* texture, std::vector<uint8_t>& bytes) {
  // The record that made the picture, even one a rebuilt repository has replaced since.
  QS_RESOURCE* record = nullptr;
  for (const std::unique_ptr<QS_RESOURCE>& made : _records)
    if (texture && made->_object == texture && made->_type == qeRESOURCE_IMAGE) record = made.get();
  const bool read = record && fReadRecord(record) == 1;
  if (read) {
    const auto* first = static_cast<const uint8_t*>(record->_file._data);
    bytes.assign(first, first + record->_file._size);
    fileSystem()->fFreeResource(record->_file);
    record->_file = QS_FILE_DATA();
  }
  if (record) {
    // Reading makes it a record of bytes: it holds the picture as before.
    record->_object = texture;
    record->_type = qeRESOURCE_IMAGE;
  }
  if (!read) fLog("Image cannot be read again: ", record ? record->_sgResName : std::string("no record"));
  return read;
}

int32_t QC_RESOURCE_LOADER::fUnsubscribe(void* object) {
  QS_RESOURCE* record = object ? fFindByObject(object) : nullptr;
  if (!record) return 0;
  record->_uses -= 1;
  if (record->_uses < 1) ++_releases;
  return 0;
}

// ---- video ---------------------------------------------------------------------------

QC_VIDEO* QC_RESOURCE_LOADER::fOpenVideo(QS_RESOURCE* record) {
  if (!record) return nullptr;
  QS_FILE_DATA data;
  const int32_t result = fileSystem()->fOpenResource(record->_folder, record->_sgResName, data);
  // A zip pack opens nothing, so it has no file to play from either.
  if (result != 1 || !data._file) {
    fLog("Cant load content ", record->_sgResName);
    qcRESOURCE_ERROR_TEXT = record->_sgResName;
    QC_CALLBACK::fInvoke(qcON_RESOURCE_ERROR, 0);
    fSayOnce(record->fFile(), record->_sgResName, "Resource not found ");
    return nullptr;
  }
  auto* video = new QC_VIDEO(data._file, false, 30.0f);
  record->_file = data;
  record->_size = data._size;
  record->_object = video;
  record->_ready = true;
  record->_type = qeRESOURCE_VIDEO;
  record->_uses = 0;
  return video;
}

QC_VIDEO* QC_RESOURCE_LOADER::fGetVideo(const char* name) {
  const std::string text = name ? name : "";
  QS_RESOURCE* record = name ? fLookUpName(text) : nullptr;
  if (!record) {
    const bool saidWithItsFolder = fSayIfPackMissing(text);
    fLog("No resource ", text);
    if (!saidWithItsFolder) fSayOnce(fFileOfName(text), text, "Resource not found ");
    qcRESOURCE_ERROR_TEXT = text;
    QC_CALLBACK::fInvoke(qcON_RESOURCE_ERROR, 0);
    return nullptr;
  }
  if (record->_ready && record->_type == qeRESOURCE_VIDEO) {
    record->_uses += 1;
    return static_cast<QC_VIDEO*>(record->_object);
  }
  QC_VIDEO* video = fOpenVideo(record);
  if (video) record->_uses += 1;
  return video;
}

}  // namespace QEL
