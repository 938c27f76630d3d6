// A serial port with overlapped I/O, so that every write and read has a hard time bound even
// when the other end stops answering (a stuck line must never freeze the caller).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <utility>

#include "ZUVO_CommonExtras.h"
#include "ZUVO_SerialLineSettings.h"
#include "framework/Handles.h"

namespace {

constexpr int kDefaultWriteTimeoutMs = 1000;

// Waits for an overlapped operation for at most timeoutMs; cancels it on time-out. Answers
// the bytes transferred (also the part done before a cancel).
DWORD FinishOverlapped(HANDLE port, OVERLAPPED& overlapped, DWORD timeoutMs) {
    DWORD transferred = 0;
    if (WaitForSingleObject(overlapped.hEvent, timeoutMs) != WAIT_OBJECT_0) {
        CancelIo(port);
    }
    // After CancelIo the operation completes (aborted) promptly; wait for it so that the
    // OVERLAPPED on our stack is no longer in use when we return.
    if (!GetOverlappedResult(port, &overlapped, &transferred, TRUE)) {
        DWORD partial = 0;
        GetOverlappedResult(port, &overlapped, &partial, FALSE);
        return partial;
    }
    return transferred;
}

}  // namespace

CSerialUtil::CSerialUtil()
    : m_port(INVALID_HANDLE_VALUE),
      m_writeEvent(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      m_readEvent(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      m_portNumber(0),
      m_baudRate(0) {}

// The class's layout is the family's, with plain handles: each is handed to its owner type to
// be closed.
CSerialUtil::~CSerialUtil() {
    CloseSerial();
    const zuvo::UniqueKernelHandle writeEvent(std::exchange(m_writeEvent, nullptr));
    const zuvo::UniqueKernelHandle readEvent(std::exchange(m_readEvent, nullptr));
}

int CSerialUtil::OpenSerial(int portNumber, int baudRate) {
    CloseSerial();
    if (portNumber <= 0 || baudRate <= 0 || m_writeEvent == nullptr || m_readEvent == nullptr) {
        return 0;
    }
    wchar_t name[32];
    swprintf(name, sizeof(name) / sizeof(name[0]), L"\\\\.\\COM%d", portNumber);
    zuvo::UniqueFileHandle port(CreateFileW(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                            OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr));
    if (!port) {
        return 0;
    }
    DCB dcb;
    ZeroMemory(&dcb, sizeof(dcb));
    dcb.DCBlength = sizeof(dcb);
    if (!GetCommState(port.get(), &dcb)) {
        return 0;
    }
    zuvo::SetPlainSerialLine(dcb, baudRate);
    if (!SetCommState(port.get(), &dcb)) {
        return 0;
    }
    // What an earlier holder of the port left in the driver's buffers is not ours to send or
    // to read. (Closing does not drop it everywhere: Wine keeps what a pseudo-terminal holds.)
    PurgeComm(port.get(), PURGE_RXCLEAR | PURGE_TXCLEAR | PURGE_RXABORT | PURGE_TXABORT);
    m_port = port.release();
    m_portNumber = portNumber;
    m_baudRate = baudRate;
    return 1;
}

int CSerialUtil::IsOpened() const {
    return m_port != INVALID_HANDLE_VALUE ? 1 : 0;
}

void CSerialUtil::CloseSerial() {
    if (m_port != INVALID_HANDLE_VALUE) {
        CancelIo(m_port);
        const zuvo::UniqueFileHandle port(std::exchange(m_port, INVALID_HANDLE_VALUE));
    }
    m_portNumber = 0;
    m_baudRate = 0;
}

int CSerialUtil::SendData(const void* bytes, int length, int timeoutMs, int, int, int) {
    if (m_port == INVALID_HANDLE_VALUE) {
        return -1;
    }
    if (bytes == nullptr || length <= 0) {
        return 0;
    }
    const DWORD bound = timeoutMs > 0 ? static_cast<DWORD>(timeoutMs) : kDefaultWriteTimeoutMs;
    COMMTIMEOUTS timeouts;
    ZeroMemory(&timeouts, sizeof(timeouts));
    timeouts.WriteTotalTimeoutConstant = bound;
    SetCommTimeouts(m_port, &timeouts);

    OVERLAPPED overlapped;
    ZeroMemory(&overlapped, sizeof(overlapped));
    overlapped.hEvent = m_writeEvent;
    ResetEvent(m_writeEvent);
    DWORD written = 0;
    if (WriteFile(m_port, bytes, static_cast<DWORD>(length), &written, &overlapped)) {
        GetOverlappedResult(m_port, &overlapped, &written, FALSE);
        return static_cast<int>(written);
    }
    if (GetLastError() != ERROR_IO_PENDING) {
        return 0;
    }
    return static_cast<int>(FinishOverlapped(m_port, overlapped, bound));
}

// ---------------------------------------------------------------------------------------------
// What our library adds: CSerialUtilEx
// ---------------------------------------------------------------------------------------------

CSerialUtilEx::CSerialUtilEx() = default;
CSerialUtilEx::~CSerialUtilEx() = default;

int CSerialUtilEx::ReadData(void* bytes, int capacity, int timeoutMs) {
    if (m_port == INVALID_HANDLE_VALUE) {
        return -1;
    }
    if (bytes == nullptr || capacity <= 0) {
        return 0;
    }
    // The quiet gap that ends a burst: about ten character times, at least 5 ms.
    const DWORD charsPerSecond = m_baudRate > 0 ? static_cast<DWORD>(m_baudRate) / 10 : 960;
    const DWORD quietMs = std::max<DWORD>(5, 10 * 1000 / std::max<DWORD>(charsPerSecond, 1));
    auto* out = static_cast<char*>(bytes);
    int total = 0;
    DWORD wait = timeoutMs > 0 ? static_cast<DWORD>(timeoutMs) : 0;
    while (total < capacity) {
        // First read: return at once with whatever arrived, or wait for the first byte.
        COMMTIMEOUTS timeouts;
        ZeroMemory(&timeouts, sizeof(timeouts));
        timeouts.ReadIntervalTimeout = MAXDWORD;
        timeouts.ReadTotalTimeoutMultiplier = MAXDWORD;
        timeouts.ReadTotalTimeoutConstant = std::max<DWORD>(wait, 1);
        SetCommTimeouts(m_port, &timeouts);

        OVERLAPPED overlapped;
        ZeroMemory(&overlapped, sizeof(overlapped));
        overlapped.hEvent = m_readEvent;
        ResetEvent(m_readEvent);
        DWORD got = 0;
        if (!ReadFile(m_port, out + total, static_cast<DWORD>(capacity - total), &got,
                      &overlapped)) {
            if (GetLastError() != ERROR_IO_PENDING) {
                break;
            }
            got = FinishOverlapped(m_port, overlapped, std::max<DWORD>(wait, 1) + 50);
        } else {
            GetOverlappedResult(m_port, &overlapped, &got, FALSE);
        }
        if (got == 0) {
            break;
        }
        total += static_cast<int>(got);
        wait = quietMs;
    }
    return total;
}

int CSerialUtilEx::GetPortNumber() const {
    return m_portNumber;
}
