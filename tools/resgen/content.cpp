// The generators declared in content.h live in sounds.cpp, texts.cpp and levels.cpp.
#include "content.h"
