#include "Diagnostics.h"

#include <cstdarg>
#include <cstdio>

namespace zuvo::radar {

namespace {

thread_local bool tLibraryThread = false;

}  // namespace

void Diagnostic(int level, const char* format, ...) {
    char line[2048];
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(line, sizeof(line), format, args);
    va_end(args);
    if (length >= 0) {
        DbgOutputA(level, "ZUVO_DataProcess: %s\r\n", line);
    }
}

void MarkLibraryThread() {
    tLibraryThread = true;
}

bool OnLibraryThread() {
    return tLibraryThread;
}

}  // namespace zuvo::radar
