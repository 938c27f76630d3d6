// The single-instance check: a named mutex held for the rest of the process's life.
#include <windows.h>

#include "ZUVO_CommonExtras.h"
#include "framework/Handles.h"

extern "C" int ZUVO_CALL CheckSingleInstanceW(const wchar_t* name) {
    if (name == nullptr || *name == L'\0') {
        return 0;
    }
    zuvo::UniqueKernelHandle mutex(CreateMutexW(nullptr, FALSE, name));
    if (!mutex) {
        // Another user's instance can hold a "Global\" name we may not open: taken all the same.
        return 0;
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        return 0;
    }
    // Deliberately never closed: the name stays taken until this process ends, and the system
    // releases it then, also after a crash.
    mutex.release();
    return 1;
}
