#include "platform/memory.h"

#include <malloc.h>

namespace platform {

void returnFreedMemory() { malloc_trim(0); }

}  // namespace platform
