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

// Removes from one folder the temporaries of saves whose writer died before the rename
// (path + ".tmp-" and six characters, or the ".tmp" of earlier builds). A temporary that a
// running writer holds locked stays. Returns how many were removed, each with a log line.
int32_t fRemoveStaleSaveTemporaries(const std::string& folder);

}  // namespace QEL
