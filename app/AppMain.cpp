// Entry point of ZUVO_MTT.exe.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <exception>

#include "ZUVO_Common.h"
#include "app/ZUVOMTTApp.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    try {
        CZUVOMTTApp application(instance);
        application.InitInstance();
    } catch (const std::exception& error) {
        DbgOutputA(2, "ZUVO_MTT: unexpected exception: %s\r\n", error.what());
        return 1;
    } catch (...) {
        DbgOutputA(2, "ZUVO_MTT: unexpected exception\r\n");
        return 1;
    }
    return 0;
}
