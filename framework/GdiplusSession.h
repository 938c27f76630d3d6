// GDI+ started for as long as the object lives: GdiplusStartup in the constructor, the
// matching GdiplusShutdown in the destructor. GDI+ belongs to the whole process, so one
// session is held around everything that draws with it (the program's run, a test program's
// tests), and every GDI+ object must be gone before the session ends.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace zuvo {

class GdiplusSession {
public:
    // Starts GDI+ version 1; IsRunning tells whether it did.
    GdiplusSession() noexcept;
    ~GdiplusSession();
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

    bool IsRunning() const noexcept { return m_token != 0; }

private:
    ULONG_PTR m_token = 0;
};

}  // namespace zuvo
