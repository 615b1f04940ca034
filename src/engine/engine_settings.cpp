// The engine settings file: game name, company name and resolution in config.xml under
// documents/company/game. Nothing reads it at start-up; the reader writes the defaults
// first when there is no file.
#include <pugixml.hpp>

#include "engine/file_system.h"
#include "engine/game.h"
#include "engine/log.h"
#include "engine/xml_save.h"

namespace QEL {

namespace {

// Empty when the documents folder cannot be had.
std::string settingsFolder(const QS_GAME_SETTINGS& settings) {
  const char* documents = QC_FILE_SYSTEM::fGetDocumentsFolder();
  if (!documents) return {};
  return std::string(documents) + "/" + settings._companyName + "/" + settings._gameName;
}

}  // namespace

void QC_GAME::fSaveDefaultConfig() {
  const std::string folder = settingsFolder(_settings);
  if (folder.empty()) {
    fLog("config.xml not written: no documents folder");
    return;
  }
  QC_FILE_SYSTEM* fs = QC_FILE_SYSTEM::fGet();
  if (fs->fPathType(folder) == 0) fs->fCreateDirectories(folder);

  pugi::xml_document document;
  pugi::xml_node root = document.append_child("tessaro_settings");
  root.append_attribute("game_name").set_value(_settings._gameName.c_str());
  root.append_attribute("company_name").set_value(_settings._companyName.c_str());
  root.append_attribute("resolution").set_value(_settings._resolution.fToString());
  const std::string path = folder + "/" + "config.xml";
  // Each node on its own line; the file's one element has nothing to indent.
  if (!fSaveXmlAtomically(document, path, nullptr, pugi::format_indent | pugi::format_write_bom)) {
    fLog("config.xml cannot be written: ", path);
  }
}

void QC_GAME::LoadEngineConfig() {
  fLog("-LoadEngineConfig");
  const std::string folder = settingsFolder(_settings);
  if (folder.empty()) {
    fLog("config.xml not read: no documents folder; the settings keep their values");
    return;
  }
  const std::string path = folder + "/" + "config.xml";
  if (QC_FILE_SYSTEM::fGet()->fPathType(path) == 0) fSaveDefaultConfig();

  pugi::xml_document document;
  std::string failure;
  // A broken file leaves every setting as it was rather than emptying the names.
  if (!QC_FILE_SYSTEM::fLoadXmlFile(document, path, failure)) {
    fLog("config.xml cannot be read (", failure, "): the settings keep their values");
    return;
  }
  const pugi::xml_node root = document.first_child();
  const pugi::xml_attribute gameName = root.attribute("game_name");
  const pugi::xml_attribute companyName = root.attribute("company_name");
  const pugi::xml_attribute resolution = root.attribute("resolution");
  if (!gameName || !companyName || !resolution) {
    fLog("config.xml lacks a setting: the missing ones keep their values");
  }
  if (gameName) _settings._gameName = gameName.value();
  if (companyName) _settings._companyName = companyName.value();
  if (resolution) _settings._resolution.fParse(resolution.value());
}

}  // namespace QEL
