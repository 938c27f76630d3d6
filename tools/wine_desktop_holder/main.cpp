// Holds a Wine session's desktop open while a test run uses it.
//
// Wine closes a desktop one second after the last process that used it ends, and the next
// process to draw starts a new desktop process. A test run starts hundreds of short Windows
// programs one after another, so without a holder every one of them pays for that second, and
// the desktop process it started inherits the test's output pipe and holds up the test runner
// until it ends. This program attaches to the desktop and then waits until the wineserver is
// stopped at the end of the run (which ends every process of the prefix).
//
//   wine_desktop_holder.exe [ready-file]
// The ready file is created once the desktop is up. Until then a test program would still start
// a desktop process of its own, which would then hold that test's output pipe for the rest of
// the run.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "framework/Handles.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    // A window needs the desktop, and its creation returns once the desktop process is up. A
    // message-only window never shows on the screen.
    HWND window = CreateWindowExW(0, L"STATIC", L"ZUVO desktop holder", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                  nullptr, instance, nullptr);
    if (window == nullptr || GetDesktopWindow() == nullptr) {
        return 1;
    }
    if (commandLine != nullptr && commandLine[0] != L'\0') {
        const zuvo::UniqueFileHandle ready(CreateFileW(
            commandLine, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!ready) {
            return 1;
        }
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    return 0;
}
