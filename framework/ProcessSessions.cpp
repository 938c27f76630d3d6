// The socket layer's header must come before <windows.h>.
#include <winsock2.h>

#include "framework/ProcessSessions.h"

#include <ole2.h>

namespace zuvo {

SocketSession::SocketSession() noexcept {
    WSADATA data;
    m_running = WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

SocketSession::~SocketSession() {
    if (m_running) {
        WSACleanup();
    }
}

OleSession::OleSession() noexcept : m_result(OleInitialize(nullptr)) {}

OleSession::~OleSession() {
    // S_FALSE (already initialised on this thread) counts too: every successful call is paired.
    if (SUCCEEDED(m_result)) {
        OleUninitialize();
    }
}

}  // namespace zuvo
