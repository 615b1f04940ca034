#pragma once
// The engine's failure codes. Its operations return 1 (or 0) on success and a negative code
// on failure, after a log line; -1 is any failure without a code of its own. The numbers are
// the ones callers, tests and logs know.
#include <cstdint>

namespace QEL {

enum QE_RESULT : int32_t {
  // A null callback, or a resource file or zip member that is missing or cannot be opened.
  qeRESULT_MISSING = -108,
  // A resource read shorter than its size, or corrupt data in a zip.
  qeRESULT_SHORT_READ = -109,
  // Harmless, nothing was done: a pack already subscribed, a video at its end, a frame
  // skipped while the device has just been reset.
  qeRESULT_NOTHING_DONE = -110,
  // Sound bytes that cannot be opened, or a picture that cannot be decoded.
  qeRESULT_BAD_DATA = -112,
  // The resource is already loaded: as a byte buffer, or as something else.
  qeRESULT_ALREADY_BYTE_BUFFER = -117,
  qeRESULT_LOADED_AS_OTHER = -118,
};

}  // namespace QEL
