#pragma once
// What every fuzz target needs before its first input: a disposable start folder (the file
// system makes Resources where the program starts). The game's log goes to standard output,
// which scripts/fuzz.sh sends nowhere.
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "engine/file_system.h"

namespace fuzz_support {

// The folder, made once under $TMPDIR (or /tmp) and made current; the file system starts there.
inline const std::string& startFolder() {
  static const std::string folder = [] {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base != nullptr && *base ? base : "/tmp") + "/pindrake_fuzz_XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr || ::chdir(pattern.c_str()) != 0) std::abort();
    QEL::QC_FILE_SYSTEM::fGet();
    return pattern;
  }();
  return folder;
}

}  // namespace fuzz_support
