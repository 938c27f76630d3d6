// Diagnostic lines of the library, through the utility library's DbgOutputA with the
// library's name in front. Level 1 is information, level 2 a fault worth looking at.
#pragma once

#include "ZUVO_CommonCore.h"

namespace zuvo::radar {

void Diagnostic(int level, const char* format, ...) ZUVO_PRINTF(2, 3);

// Marks the calling thread as one of the library's own (delivery, reading, emulation), and
// asks whether the caller runs on one: control calls made from inside a callback are refused,
// because they would wait for the very thread that makes them.
void MarkLibraryThread();
bool OnLibraryThread();

}  // namespace zuvo::radar
