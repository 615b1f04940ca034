#pragma once
// Memory the program has freed goes back to the system only when asked: the allocator keeps
// freed blocks for reuse otherwise, and a large picture set given up at once (the splash
// screen's) would stay resident.

namespace platform {

void returnFreedMemory();

}  // namespace platform
