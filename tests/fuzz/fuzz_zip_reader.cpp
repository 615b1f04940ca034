// Any bytes as a password pack: its members are listed and each is read with the pack's
// password and without one. Nothing may crash, allocate what the archive cannot hold, or
// let an allocation failure escape.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "engine/file_system.h"
#include "engine/zip_reader.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz_support::startFolder() + "/pack.zip";
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  std::vector<std::string> members;
  QEL::QC_FILE_SYSTEM::fListZip(path, "", members, false);
  constexpr size_t kMembersRead = 8;
  if (members.size() > kMembersRead) members.resize(kMembersRead);
  members.push_back("not in the pack");
  for (const std::string& member : members) {
    for (const char* password : {"pindrake", ""}) {
      QEL::QS_FILE_DATA bytes;
      QEL::fReadZipMember(path, member, password, bytes);
      std::free(bytes._data);
    }
  }
  return 0;
}
