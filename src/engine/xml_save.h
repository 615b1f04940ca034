#pragma once
// The one way every file the game writes reaches the disk: the XML document goes to a
// temporary file of its own beside its place (locked while it is written), is flushed to the
// disk and then renamed over the old file, and the folder is flushed too; so a crash, a full
// disk, a folder that cannot be written or a second copy of the game never leaves a
// half-written file behind. Profiles, results, level and statistics files and the engine's
// settings all go through it.
#include <cstdint>
#include <string>

#include <pugixml.hpp>

namespace QEL {

// Writes the document with one tab of indent (pugixml's declaration first, UTF-8), with
// pugixml's `format` flags (a byte-order mark: pugi::format_write_bom). True when the file
// now holds it; otherwise the old file is untouched, a line is logged and, when `failure` is
// given, it receives what went wrong in a few words for the screen.
bool fSaveXmlAtomically(const pugi::xml_document& document, const std::string& path, std::string* failure = nullptr,
                        unsigned int format = pugi::format_indent);
// The same for a text written as it stands (the statistics files).
bool fSaveTextAtomically(const std::string& text, const std::string& path, std::string* failure = nullptr);

// Tells whether a name is one of the game's own files (a save, a level file) in a folder.
using QT_SAVED_NAME = bool (*)(const std::string& name);

// Removes from one folder the temporaries of its saves whose writer died before the rename: a
// name `isSavedFile` accepts followed by ".tmp-" and six letters or digits, or by the ".tmp"
// of earlier builds. With `isSavedFolder`, the subfolders it accepts are searched as well,
// their files passed to `isSavedFile` as "subfolder/name". Nothing else is touched, whatever
// its name: the folders may hold the player's own files. No link is followed: a folder or a
// temporary that is one is skipped and logged. A temporary that a running writer holds locked
// stays. Returns how many were removed, each with a log line.
int32_t fRemoveStaleSaveTemporaries(const std::string& folder, QT_SAVED_NAME isSavedFile,
                                    QT_SAVED_NAME isSavedFolder = nullptr);

}  // namespace QEL
