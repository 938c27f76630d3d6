// The one main of the Wine test programs: GoogleTest, then GDI+ for the whole program (see
// GdiplusEnvironment.h), then the tests. What a program needs beyond that it asks for through
// hooks, set from a namespace-scope constant in one of its sources before main runs:
//
//   const bool kHooks = zuvo::test::SetWineMainHooks({.instead = ...});
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "tests/support/GdiplusEnvironment.h"

namespace zuvo::test {

struct WineMainHooks {
    // Sees the program's arguments before anything else; an exit code ends the program with
    // it instead of running tests (a test program started again as a second process).
    std::function<std::optional<int>(int argc, wchar_t** argv)> instead = nullptr;
    // Runs once GoogleTest has taken its arguments, before GDI+ starts; false with the reason
    // in *error ends the program with exit code 1.
    std::function<bool(std::wstring* error)> prepare = nullptr;
    // Starts GDI+ for the run; empty: StartGdiplusSession.
    GdiplusStarter startGdiplus = nullptr;
};

// Sets this test program's hooks; answers true. One source of a program sets them.
bool SetWineMainHooks(WineMainHooks hooks);

}  // namespace zuvo::test
