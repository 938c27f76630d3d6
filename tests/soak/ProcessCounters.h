// Resource counts of another process, read from outside as a task manager would. Where Wine
// leaves the usual call unimplemented (GetGuiResources fails, GetProcessHandleCount and
// PrivateUsage answer 0), the same count is read another way, and each count says how it was
// read.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdint>
#include <string>

namespace zuvo::soak {

struct ProcessCounts {
    int64_t privateBytes = -1;
    int64_t gdiObjects = -1;
    int64_t userObjects = -1;
    int64_t handles = -1;
};

struct CountSources {
    std::string privateBytes;
    std::string gdiObjects;
    std::string userObjects;
    std::string handles;
};

// process needs PROCESS_QUERY_INFORMATION and PROCESS_VM_READ; processId is its id. A count
// that cannot be read stays -1.
ProcessCounts ReadProcessCounts(HANDLE process, DWORD processId, CountSources* sources);

}  // namespace zuvo::soak
