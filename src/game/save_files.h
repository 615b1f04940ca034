#pragma once
// The save folders and the safe reading and writing of the save files: a save is written
// to a temporary file beside it and renamed over the old one, so a crash or a full disk
// never leaves a half-written save; a file that cannot be parsed is kept aside.
#include <string>

#include <pugixml.hpp>

// True when the path names an existing file or folder (the engine file system's test).
bool fileExists(const std::string& path);

// Appends "/Ostvane" and "/Pindrake" to gBasePath, creating each folder when missing, then
// creates gBasePath + "/Saves" and gBasePath + "/Statistics" when missing.
void makeSaveFolders();

enum class SAVE_FILE_STATE {
  LOADED,   // parsed, with the expected root element
  MISSING,  // no file
  CORRUPT,  // unparsable or without the root: renamed aside, logged
  UNREADABLE,  // exists but cannot be read (left where it is, logged)
};

// Loads a save file into the document. A corrupt file is renamed to path + ".corrupt" (or
// ".corrupt1", ".corrupt2", ... when that name is taken) and the document left empty.
SAVE_FILE_STATE loadSaveFile(pugi::xml_document& document, const std::string& path, const char* rootName);

// Writes the document with tab indentation to a temporary file in the same folder, flushes
// it to the disk and renames it over path (engine/xml_save.h, which the level files use
// too). False (logged) when any step fails; the old file is then untouched.
bool saveXmlAtomically(const pugi::xml_document& document, const std::string& path);
// The same for a text file written as it stands (the statistics files).
bool saveTextAtomically(const std::string& text, const std::string& path);
