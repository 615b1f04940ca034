#include "engine/file_lock.h"

#include <sys/file.h>

#include <cerrno>

namespace QEL {

namespace {

QT_LOCK_CALL gLockCall = nullptr;

}  // namespace

int fLockFile(int descriptor, int operation) {
  return gLockCall != nullptr ? gLockCall(descriptor, operation) : ::flock(descriptor, operation);
}

void fSetLockCall(QT_LOCK_CALL call) { gLockCall = call; }

bool fIsLockUnsupported(int error) {
  return error == EBADF || error == ENOLCK || error == EOPNOTSUPP || error == EINVAL;
}

}  // namespace QEL
