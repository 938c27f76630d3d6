// What the portable sources of the utility library need from the operating system. Implemented
// once for Windows (PlatformWin.cpp) and once for POSIX systems (PlatformPosix.cpp).
#pragma once

#include <cstddef>
#include <string>

namespace zuvo::platform {

// Hands one finished diagnostic line to the system's debugger channel.
void DebugChannelWrite(const char* line);

// The folder of the running program, without a trailing separator; empty when unknown.
std::wstring ProgramFolder();

// Appends text to a file, creating it (shared with other writers); false on failure.
bool AppendToFile(const std::wstring& path, const char* text, size_t length);

// Whether an environment variable has the given value.
bool EnvironmentEquals(const char* name, const char* value);

}  // namespace zuvo::platform
