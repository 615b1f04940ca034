#pragma once
// Whole-file locks (flock) for the saves: the save folder a run holds and the temporaries its
// writers fill. They all go through fLockFile, so that a test can stand in the rules of another
// file system (an NFS home takes an exclusive lock only on a descriptor open for writing).
namespace QEL {

using QT_LOCK_CALL = int (*)(int descriptor, int operation);

// flock(descriptor, operation), or the call a test set.
int fLockFile(int descriptor, int operation);
// The call fLockFile makes from now on; nullptr gives back the system's flock.
void fSetLockCall(QT_LOCK_CALL call);

// True for an error that says the file system cannot lock (at all, or on such a descriptor),
// not that someone else holds the lock: such a refusal tells nothing of another writer.
bool fIsLockUnsupported(int error);

}  // namespace QEL
