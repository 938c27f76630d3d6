// The application: start-up, the interface language, the single instance and the modal run
// of the main window; the process ends when the main window closes.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

class CZUVOMTTApp {
public:
    explicit CZUVOMTTApp(HINSTANCE instance) noexcept : m_instance(instance) {}

    // The start-up sequence; answers false always: the process ends after the main window's
    // modal run.
    bool InitInstance();

    HINSTANCE Instance() const noexcept { return m_instance; }

private:
    HINSTANCE m_instance;
};
