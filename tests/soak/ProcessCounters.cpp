#include "tests/soak/ProcessCounters.h"

#include <psapi.h>
#include <winternl.h>

#include <vector>

namespace zuvo::soak {

namespace {

// The per-process GDI handle table that the process environment block points to (its field
// GdiSharedHandleTable): one 24-byte cell per handle, a type of 0 marking a free cell. Windows
// keeps every process's objects in one table with the owner's id in each cell; Wine keeps a
// table per process and leaves the owner empty.
struct GdiCell {
    uint64_t object;
    uint32_t owner;
    uint16_t unique;
    uint8_t type;
    uint8_t flags;
    uint64_t user;
};
static_assert(sizeof(GdiCell) == 24);
constexpr size_t kGdiCells = 0x10000;
constexpr size_t kPebGdiTableOffset = 0xF8;  // x64

// One handle of the system's handle list (class 16, SystemHandleInformation).
struct SystemHandle {
    USHORT processId;
    USHORT creatorBackTraceIndex;
    UCHAR objectType;
    UCHAR attributes;
    USHORT value;
    PVOID object;
    ULONG grantedAccess;
};
struct SystemHandleList {
    ULONG count;
    SystemHandle handles[1];
};
constexpr ULONG kSystemHandleInformation = 16;
constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004L);

template <typename Function>
Function NtFunction(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), name)));
}

int64_t GdiFromTable(HANDLE process, DWORD processId) {
    using Query = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    const auto query = NtFunction<Query>("NtQueryInformationProcess");
    PROCESS_BASIC_INFORMATION basic{};
    ULONG length = 0;
    if (query == nullptr ||
        query(process, ProcessBasicInformation, &basic, sizeof(basic), &length) != 0) {
        return -1;
    }
    uint64_t table = 0;
    SIZE_T read = 0;
    if (!ReadProcessMemory(
            process,
            static_cast<char*>(static_cast<void*>(basic.PebBaseAddress)) + kPebGdiTableOffset,
            &table, sizeof(table), &read) ||
        table == 0) {
        return -1;
    }
    std::vector<GdiCell> cells(kGdiCells);
    if (!ReadProcessMemory(process, reinterpret_cast<const void*>(table), cells.data(),
                           cells.size() * sizeof(GdiCell), &read)) {
        return -1;
    }
    int64_t used = 0;
    int64_t owned = 0;
    for (size_t i = 0; i < read / sizeof(GdiCell); ++i) {
        if (cells[i].type != 0) {
            ++used;
            owned += (cells[i].owner & 0xFFFF) == (processId & 0xFFFF) ? 1 : 0;
        }
    }
    // Owners filled in: a table shared by all processes.
    return owned > 0 ? owned : used;
}

int64_t HandlesFromSystemList(DWORD processId) {
    using Query = NTSTATUS(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
    const auto query = NtFunction<Query>("NtQuerySystemInformation");
    if (query == nullptr) {
        return -1;
    }
    std::vector<char> buffer(1 << 20);
    for (;;) {
        ULONG length = 0;
        const NTSTATUS status = query(kSystemHandleInformation, buffer.data(),
                                      static_cast<ULONG>(buffer.size()), &length);
        if (status == kInfoLengthMismatch && buffer.size() < (1u << 28)) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (status != 0) {
            return -1;
        }
        break;
    }
    const auto* list = reinterpret_cast<const SystemHandleList*>(buffer.data());
    int64_t count = 0;
    for (ULONG i = 0; i < list->count; ++i) {
        count += list->handles[i].processId == static_cast<USHORT>(processId) ? 1 : 0;
    }
    return count;
}

// Committed private memory, region by region.
int64_t PrivateFromRegions(HANDLE process) {
    int64_t committed = 0;
    const char* address = nullptr;
    MEMORY_BASIC_INFORMATION region;
    while (VirtualQueryEx(process, address, &region, sizeof(region)) == sizeof(region)) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) {
            committed += static_cast<int64_t>(region.RegionSize);
        }
        const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
        if (next <= address) {
            break;
        }
        address = next;
    }
    return committed;
}

struct WindowCount {
    DWORD processId;
    int64_t windows;
};

BOOL CALLBACK CountChild(HWND window, LPARAM context) {
    auto* count = reinterpret_cast<WindowCount*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    count->windows += owner == count->processId ? 1 : 0;
    return TRUE;
}

BOOL CALLBACK CountTop(HWND window, LPARAM context) {
    auto* count = reinterpret_cast<WindowCount*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == count->processId) {
        ++count->windows;
        EnumChildWindows(window, CountChild, context);
    }
    return TRUE;
}

// The windows of the process on this desktop: the USER objects a program makes most of, and
// the ones that leak when a window is created again and again.
int64_t WindowsOf(DWORD processId) {
    WindowCount count{processId, 0};
    EnumWindows(CountTop, reinterpret_cast<LPARAM>(&count));
    return count.windows;
}

// False where GetGuiResources is not implemented (Wine: 0 with ERROR_CALL_NOT_IMPLEMENTED).
bool GuiResources(HANDLE process, DWORD kind, int64_t* count) {
    SetLastError(ERROR_SUCCESS);
    const DWORD objects = GetGuiResources(process, kind);
    if (objects == 0 && GetLastError() != ERROR_SUCCESS) {
        return false;
    }
    *count = objects;
    return true;
}

}  // namespace

ProcessCounts ReadProcessCounts(HANDLE process, DWORD processId, CountSources* sources) {
    ProcessCounts counts;
    CountSources used;

    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof(memory);
    if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                             sizeof(memory)) &&
        memory.PrivateUsage > 0) {
        counts.privateBytes = static_cast<int64_t>(memory.PrivateUsage);
        used.privateBytes = "GetProcessMemoryInfo PrivateUsage";
    } else {
        counts.privateBytes = PrivateFromRegions(process);
        used.privateBytes = "VirtualQueryEx, committed private regions";
    }

    if (GuiResources(process, GR_GDIOBJECTS, &counts.gdiObjects)) {
        used.gdiObjects = "GetGuiResources GR_GDIOBJECTS";
    } else {
        counts.gdiObjects = GdiFromTable(process, processId);
        used.gdiObjects = "GDI handle table of the process (PEB)";
    }
    if (GuiResources(process, GR_USEROBJECTS, &counts.userObjects)) {
        used.userObjects = "GetGuiResources GR_USEROBJECTS";
    } else {
        counts.userObjects = WindowsOf(processId);
        used.userObjects = "windows of the process (EnumWindows, EnumChildWindows)";
    }

    DWORD handles = 0;
    if (GetProcessHandleCount(process, &handles) && handles > 0) {
        counts.handles = handles;
        used.handles = "GetProcessHandleCount";
    } else {
        counts.handles = HandlesFromSystemList(processId);
        used.handles = "NtQuerySystemInformation SystemHandleInformation";
    }
    if (sources != nullptr) {
        *sources = used;
    }
    return counts;
}

}  // namespace zuvo::soak
