// What our radar processing library offers beyond the family's interface: aids for its own
// tests and tools. The sensor maker's library has none of this, so the program must never use
// it; only targets that link zuvo_dataprocess_extras (the library itself, its tests and
// tools) may include this header, and the build gives it to no program target.
#pragma once

#if !defined(ZUVO_DATAPROCESS_EXTRAS)
#error "ZUVO_DataProcessExtras.h is for the stand-in library, its tests and tools only"
#endif

#include <cstdint>

#include "ZUVO_DataProcess.h"
#include "ZUVO_Export.h"

extern "C" {

// Entries handed to object-detection listeners since the library was loaded: every delivery
// adds its entry count once for each listener it calls (entries without an object included).
// Tests compare it with what a listener received, for example with the lines of a result log.
ZUVO_DATAPROCESS_API int64_t ZUVO_CALL ZUVO_Test_GetDeliveredEntryCount();

}  // extern "C"
