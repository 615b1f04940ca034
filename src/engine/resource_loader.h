#pragma once
// The engine's catalogue of loadable files. It knows a file once it has been subscribed:
// the main repository (the files directly in Resources) or a named pack (the files
// directly in one sub-folder, or the members of one password zip). Records load on demand
// by resource name: "file.png" (main repository, then the packs in subscription order) or
// "pack/path file.png" (one blank: that pack only). Two or more blanks are an error.
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/resource.h"

namespace pugi {
class xml_document;
}

namespace QEL {

class QC_TEXTURE;
class QC_VIDEO;

class QC_RESOURCE_LOADER {
 public:
  QC_RESOURCE_LOADER() = default;
  // Frees the records and packs with the documents, videos and byte buffers they hold
  // (textures belong to the renderer). Sounds playing from a byte buffer must go first.
  ~QC_RESOURCE_LOADER();
  QC_RESOURCE_LOADER(const QC_RESOURCE_LOADER&) = delete;
  QC_RESOURCE_LOADER& operator=(const QC_RESOURCE_LOADER&) = delete;

  // ---- names ----
  // The record of a resource name, or null after the log line "Resource error".
  QS_RESOURCE* fFindResource(const char* name);
  // Main repository first, then every pack in subscription order; a miss shows the
  // "No resource" message box (fSayOnce).
  QS_RESOURCE* fFindByFileName(const std::string& name);
  QS_PACK* fFindPack(const std::string& name);
  // True when a name ("pack file") lies in a pack whose folder was found missing or empty
  // when it was subscribed: a whole kind of resource (the sounds, say) is missing. The first
  // such name of the pack shows one message box naming the folder; every one is logged. The
  // callers then give their default without a box of their own.
  bool fSayIfPackMissing(const std::string& name);

  // ---- subscription ----
  // The empty name subscribes the main repository. With a password (an empty one counts as
  // none) the pack is a zip file. -1 null name or nothing listed, -110 pack already
  // subscribed, 1 done.
  int32_t fSubscribePack(const char* name, const char* password);
  int32_t fSubscribeMain();
  int32_t fAddPack(const std::string& name, const char* password);
  QS_RESOURCE* fFindByObject(const void* object);
  int32_t fReplaceInMain(QS_PACK* pack);
  int32_t fReplacePack(const std::string& target, const std::string& source);
  int32_t fCountUnusedMain();
  int32_t fReleaseUnused();
  void fPrintStatistics();
  void fPrintMain();
  void fPrintPack(const std::string& name);

  // ---- images (the renderer's default texture on any failure) ----
  QC_TEXTURE* fGetImage(const char* name);
  QC_TEXTURE* fLoadImage(QS_RESOURCE* record);
  QC_TEXTURE* fGetImageIfLoaded(const char* name);
  int32_t fPreloadImage(const char* name);
  int32_t fUnscribeImage(QC_TEXTURE* texture);
  // One user lets the image go (fUnscribeImage); when it was the last, the image is
  // released as well (fFreeImage), texture and all. 1 released, 0 still in use or not an
  // image of ours (the default texture is never released).
  int32_t fReleaseImageUse(QC_TEXTURE* texture);
  // The file bytes of the image record that holds the texture, read again (for a picture the
  // renderer gave back and draws again); false when no record holds it or it cannot be read.
  bool fReadImageAgain(QC_TEXTURE* texture, std::vector<uint8_t>& bytes);
  int32_t fUnsubscribe(void* object);
  int32_t fFreeImage(void* object);

  // ---- XML documents ----
  pugi::xml_document* fGetXmlDoc(const char* name);
  pugi::xml_document* fLoadXmlDoc(QS_RESOURCE* record);
  pugi::xml_document* fGetXmlDocIfLoaded(const char* name);
  int32_t fPreloadXmlDoc(const char* name);
  int32_t fXmlDocFree(void* object);

  // ---- byte buffers (sounds) ----
  // 1 loaded, -117 already a byte buffer, -118 loaded as something else, -1 failed.
  int32_t fLoadByteBuffer(const char* name);
  const uint8_t* fGetByteBuffer(const char* name);
  int32_t fFreeByteBuffer(const char* name);

  // ---- video ----
  QC_VIDEO* fOpenVideo(QS_RESOURCE* record);
  QC_VIDEO* fGetVideo(const char* name);

  int32_t fGetImagesLoaded() const { return _imagesLoaded; }
  int32_t fGetReleases() const { return _releases; }
  const std::map<std::string, QS_RESOURCE*>& fGetMain() const { return _main; }
  const std::vector<QS_PACK*>& fGetPacks() const { return _packs; }

 private:
  QS_RESOURCE* fNewRecord(const std::string& path);
  // Main repository first, then every pack in subscription order, without a word.
  QS_RESOURCE* fLookUpFileName(const std::string& name);
  // The grammar of a resource name, without fFindResource's own log lines ("WTF resource
  // name", "Resource error"): the video's look-up writes other ones.
  QS_RESOURCE* fLookUpName(const std::string& text);
  // Reads a record's bytes into it (type 1). The file system's result.
  int32_t fReadRecord(QS_RESOURCE* record);
  static void fReportError(const std::string& text);
  // The file a resource name stands for, as it lies under Resources: "font font20.fnt" is
  // "font/font20.fnt"; a bare name (found wherever it lies) stays as it is.
  static std::string fFileOfName(const std::string& name);
  // Shows the box about one file the first time the run says anything about it; every later
  // box about the same file is only logged. A font description that several fonts share
  // would otherwise raise its box once for each of them, and again at every scene.
  void fSayOnce(const std::string& file, const std::string& text, const std::string& caption);

  std::map<std::string, QS_RESOURCE*> _main;
  std::vector<QS_PACK*> _packs;
  QS_RESOURCE* _last = nullptr;
  int32_t _imagesLoaded = 0;
  int32_t _spaceTotal = 0;
  int32_t _releases = 0;
  // Packs whose subscription listed nothing, and those of them already said missing.
  std::set<std::string> _unlistedPacks;
  std::set<std::string> _packsSaidMissing;
  // Files already said in a box (fSayOnce).
  std::set<std::string> _filesSaid;
  // Every record ever made, replaced ones included, so none is lost.
  std::vector<std::unique_ptr<QS_RESOURCE>> _records;
};

}  // namespace QEL
