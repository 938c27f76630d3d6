// The owners of the process services: each stops what it started, and only that.
// The socket layer's header must come before <windows.h>.
#include <winsock2.h>

#include <gtest/gtest.h>

#include <ole2.h>

#include "framework/ProcessSessions.h"

namespace {

// Whether the socket layer is started: a socket can be made only then.
bool SocketsRunning() {
    const SOCKET probe = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (probe == INVALID_SOCKET) {
        return WSAGetLastError() != WSANOTINITIALISED;
    }
    closesocket(probe);
    return true;
}

TEST(SocketSession, TheSocketLayerRunsForTheSessionsLife) {
    ASSERT_FALSE(SocketsRunning()) << "nothing else in this program starts it";
    {
        const zuvo::SocketSession session;
        ASSERT_TRUE(session.IsRunning());
        EXPECT_TRUE(SocketsRunning());
        {
            // Nested sessions count: the inner one's end leaves the outer one's running.
            const zuvo::SocketSession inner;
            EXPECT_TRUE(inner.IsRunning());
        }
        EXPECT_TRUE(SocketsRunning());
    }
    EXPECT_FALSE(SocketsRunning());
}

TEST(OleSession, OleIsInitialisedForTheSessionsLifeOnItsThread) {
    {
        const zuvo::OleSession session;
        ASSERT_TRUE(session.IsRunning());
        // The thread is a single-threaded apartment now: asking for another kind is refused.
        const HRESULT other = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        EXPECT_EQ(other, RPC_E_CHANGED_MODE);
        if (SUCCEEDED(other)) {
            CoUninitialize();
        }
    }
    // Ended: the thread may choose again.
    const HRESULT again = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    EXPECT_EQ(again, S_OK);
    if (SUCCEEDED(again)) {
        CoUninitialize();
    }
}

}  // namespace
