#pragma once
// The save folders and the safe reading and writing of the save files: a save is written
// to a temporary file of its own beside it and renamed over the old one, so a crash, a full
// disk or a second copy of the game never leaves a half-written save; a file that cannot be
// parsed, or that is larger or deeper than any save the game writes, is kept aside.
#include <cstdint>
#include <string>

#include <pugixml.hpp>

// True when the path names an existing file or folder (the engine file system's test).
bool fileExists(const std::string& path);

// Appends "/Ostvane" and "/Pindrake" to gBasePath, creating each folder when missing, then
// creates gBasePath + "/Saves" and gBasePath + "/Statistics" when missing.
void makeSaveFolders();

// Takes the save folder for this run: a lock on the folder gBasePath itself, on
// gBasePath + "/game.lock" where that can be opened (never through a link) and on
// gBasePath + "/Saves", each opened only for reading, which the system lets go when the
// process ends, however it ends. False (logged) when another running copy of the game holds
// any of them: a second copy would write the saves the first is using. Where none at all can
// be locked the run goes on but writes no save (writesNoSaves, logged): another copy may be
// writing them unseen.
bool lockSaveFolder();
// True while this run holds the lock.
bool holdsSaveFolder();
// True while this run holds the save folder without any lock on it: every writer of the saves
// (saveXmlAtomically, saveTextAtomically, a player's deletion, the clean-up of temporaries)
// then refuses, as with saves that cannot be written, and a corrupt save stays where it is.
bool writesNoSaves();
// The end of the run's hold (closing the game lets go of it too).
void releaseSaveFolder();

// Removes from Saves, Statistics and each run's folder in Statistics the temporary files that
// saves of the game's own files left behind when their process died before the rename; never
// anything else there, and nothing through a link. A temporary still being written by
// another running copy of the game is locked and stays. Returns how many were removed.
int removeStaleSaveTemporaries();

// The largest save file read, and its deepest nesting: the game's own saves stay far below
// (a players file of five players is a few kilobytes, three levels deep).
constexpr std::uintmax_t kMaxSaveFileBytes = 1024 * 1024;
constexpr int kMaxSaveFileDepth = 32;

enum class SAVE_FILE_STATE {
  LOADED,   // parsed, with the expected root element
  MISSING,  // no file
  CORRUPT,  // unparsable, without the root, too large or too deep: renamed aside, logged
  UNREADABLE,  // exists but cannot be read (a link to nothing too): left where it is, logged,
               // never written over in this run
};

// Loads a save file into the document. A corrupt file is renamed to path + ".corrupt" (or
// ".corrupt1", ".corrupt2", ... when that name is taken; see unusedNameBeside) and the document
// left empty.
SAVE_FILE_STATE loadSaveFile(pugi::xml_document& document, const std::string& path, const char* rootName);

// Why the last loadSaveFile that did not load its file found it CORRUPT or UNREADABLE, and
// what became of a corrupt one: the name it was kept aside as, or why it was left where it is
// (it is then not written over in this run, as an unreadable one): for a message to the
// player that names them.
struct SAVE_FILE_TROUBLE {
  std::string reason;
  std::string keptAsideAs;
  std::string leftBecause;
};
const SAVE_FILE_TROUBLE& lastSaveFileTrouble();

// True when the file now at path is one that loadSaveFile could not read in this run. It is
// known by its identity on the disk, so a rename (a player's deletion moves result files to
// other names) does not make it writable.
bool isSaveFileUnreadable(const std::string& path);

// A name beside path where nothing stands yet, not even a link to nothing: path + suffix,
// else path + suffix + "1", "2", ... up to kMostNamesBeside - 1. Empty (logged) when every one
// is taken: nothing may then be kept aside.
constexpr int kMostNamesBeside = 1000;
std::string unusedNameBeside(const std::string& path, const std::string& suffix);

// Writes the document with tab indentation through the engine's one atomic write
// (engine/xml_save.h, which the level files use too): a locked temporary of its own beside
// path, flushed to the disk and renamed over it. False (logged) when any step fails; the old
// file is then untouched and the temporary removed. A save that is a symbolic link has its
// target written (the link stays); a link to nothing, and a file that could not be read in
// this run, are never written (false, logged), nor is anything while writesNoSaves().
bool saveXmlAtomically(const pugi::xml_document& document, const std::string& path);
// The same for a text file written as it stands (the statistics files).
bool saveTextAtomically(const std::string& text, const std::string& path);
