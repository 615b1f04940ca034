#pragma once
// Reads one member of a zip pack. minizip finds the member and hands over its raw bytes;
// the traditional PKWARE decryption and the inflate are done here, because the system's
// minizip is built without decryption.
#include <unzip.h>

#include <cstdint>
#include <string>

#include "engine/file_system.h"

namespace QEL {

// The largest member read: no resource of the game comes near it.
constexpr uint64_t kMaxZipMemberBytes = kLargestResourceFile;

// minizip's unzOpen on a plain file only: null for anything else (a named pipe in a pack's
// place would hold the game until some writer came).
unzFile fOpenZip(const std::string& zipPath);

// The member's bytes in a malloc'ed block of size + 1 with a 0 after them (not counted):
// 1. -1 zip not opened, no first member, member not opened (wrong password, unknown
// method); -108 no such member; -109 short or corrupt data, sizes the archive cannot hold
// or beyond kMaxZipMemberBytes, or no memory for it. The member is found by its name
// inside the zip only, so no name reaches outside the zip file.
int32_t fReadZipMember(const std::string& zipPath, const std::string& member, const std::string& password,
                       QS_FILE_DATA& out);

}  // namespace QEL
