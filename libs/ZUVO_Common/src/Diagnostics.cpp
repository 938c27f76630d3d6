// DbgOutputA: diagnostic lines to the debugger channel and, while switched on, to a log file
// beside the program.
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>

#include "DateNameFormat.h"
#include "Platform.h"
#include "text/CodePage.h"
#include "ZUVO_CommonCoreExtras.h"

namespace {

constexpr size_t kMaxLineChars = 4096;  // 4095 characters and the terminator
constexpr char kSwitchVariable[] = "ZUVO_DIAGNOSTICS";
constexpr wchar_t kSwitchFileName[] = L"ZUVO_Diagnostics.on";
constexpr wchar_t kLogFileName[] = L"ZUVO_Diagnostics.log";

std::mutex& WritersLock() {
    static std::mutex lock;
    return lock;
}

std::wstring BesideProgram(const std::wstring& folder, const wchar_t* name) {
    std::wstring path = folder;
    path.push_back(ZUVO_PATH_SEPARATOR);
    path.append(name);
    return path;
}

bool FileExists(const std::wstring& path) {
#if defined(_WIN32)
    // The narrow fopen would go through the ANSI code page and miss folders named outside it.
    std::FILE* file = _wfopen(path.c_str(), L"rb");
#else
    std::string narrow;
    if (!zuvo::text::PathToNarrow(path, narrow)) {
        return false;
    }
    std::FILE* file = std::fopen(narrow.c_str(), "rb");
#endif
    if (file == nullptr) {
        return false;
    }
    std::fclose(file);
    return true;
}

// The switch is looked at on every line, so that it can be turned on and off while the program
// runs (creating the file is the way for a user in the field).
bool LogSwitchedOn(const std::wstring& folder) {
    if (zuvo::platform::EnvironmentEquals(kSwitchVariable, "1")) {
        return true;
    }
    return !folder.empty() && FileExists(BesideProgram(folder, kSwitchFileName));
}

void AppendToLog(const std::wstring& folder, int level, const char* line) {
    zuvo::datename::StampTime now{};
    if (!zuvo::datename::BreakDownTime(std::chrono::system_clock::now(), false, &now)) {
        return;
    }
    const size_t lineLength = std::strlen(line);
    const bool hasLineEnd =
        lineLength > 0 && (line[lineLength - 1] == '\n' || line[lineLength - 1] == '\r');
    char entry[kMaxLineChars + 64];
    const int length =
        std::snprintf(entry, sizeof(entry), "%04d-%02d-%02d %02d:%02d:%02d.%03d [L%d] %s%s",
                      now.year, now.month, now.day, now.hour, now.minute, now.second,
                      now.millisecond, level, line, hasLineEnd ? "" : "\n");
    if (length <= 0) {
        return;
    }
    const size_t written = static_cast<size_t>(length) < sizeof(entry) ? static_cast<size_t>(length)
                                                                       : sizeof(entry) - 1;
    zuvo::platform::AppendToFile(BesideProgram(folder, kLogFileName), entry, written);
}

}  // namespace

extern "C" {

void ZUVO_CALL DbgOutputA(int level, const char* format, ...) {
    if (format == nullptr) {
        return;
    }
    char line[kMaxLineChars];
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(line, sizeof(line), format, args);
    va_end(args);
    if (length < 0) {
        return;
    }
    try {
        // One writer at a time, so that lines from several threads never interleave.
        std::lock_guard<std::mutex> hold(WritersLock());
        zuvo::platform::DebugChannelWrite(line);
        const std::wstring folder = zuvo::platform::ProgramFolder();
        if (LogSwitchedOn(folder) && !folder.empty()) {
            AppendToLog(folder, level, line);
        }
    } catch (...) {
        // Out of memory or a refused mutex: a diagnostic line is not worth failing for.
    }
}

}  // extern "C"
