// Process services started for as long as the object lives, stopped by its destructor: the
// socket layer (WSAStartup / WSACleanup) and OLE on the calling thread (OleInitialize /
// OleUninitialize). An early return or an exception between the two can no longer skip the
// stop.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace zuvo {

// Windows Sockets 2.2.
class SocketSession {
public:
    SocketSession() noexcept;
    ~SocketSession();
    SocketSession(const SocketSession&) = delete;
    SocketSession& operator=(const SocketSession&) = delete;

    bool IsRunning() const noexcept { return m_running; }

private:
    bool m_running = false;
};

// OLE, and with it a single-threaded COM apartment, on the constructing thread; the destructor
// must run on that thread too.
class OleSession {
public:
    OleSession() noexcept;
    ~OleSession();
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;

    bool IsRunning() const noexcept { return SUCCEEDED(m_result); }

private:
    HRESULT m_result;
};

}  // namespace zuvo
