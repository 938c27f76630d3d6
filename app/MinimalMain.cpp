// Entry point of ZUVO_MTT.exe until the main window exists: shows nothing and ends.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return 0;
}
