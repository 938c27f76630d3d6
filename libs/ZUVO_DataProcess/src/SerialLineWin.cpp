// The serial line on a Windows COM port, with overlapped I/O so that every read and write has a
// hard time bound even when the other end stops answering.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <utility>

#include "SerialLine.h"
#include "ZUVO_SerialLineSettings.h"
#include "framework/Handles.h"

namespace zuvo::radar {

namespace {

// A read that comes back empty long before its time-out has not waited at all: the port's
// device is gone (under Wine: the other end of a pseudo-terminal closed, which reads as an
// end of file at once, again and again). A few in a row tell it from a single early wake-up.
constexpr int kEarlyEmptyReadsForLoss = 3;

class ComPortLine : public SerialLine {
public:
    ComPortLine(UniqueFileHandle port, UniqueKernelHandle readEvent, UniqueKernelHandle writeEvent)
        : m_port(std::move(port)),
          m_readEvent(std::move(readEvent)),
          m_writeEvent(std::move(writeEvent)) {}
    ~ComPortLine() override { CancelIo(m_port.get()); }

    int Read(uint8_t* bytes, size_t capacity, uint32_t timeoutMs) override;
    bool Write(const uint8_t* bytes, size_t size, uint32_t timeoutMs) override;
    void Discard() override { PurgeComm(m_port.get(), PURGE_RXCLEAR | PURGE_RXABORT); }

private:
    // Waits for an overlapped operation at most timeoutMs, cancelling it on time-out; false
    // when it failed for another reason than the cancel. transferred: the bytes it moved.
    bool Finish(OVERLAPPED& overlapped, HANDLE event, DWORD timeoutMs, DWORD& transferred);

    UniqueFileHandle m_port;
    UniqueKernelHandle m_readEvent;
    UniqueKernelHandle m_writeEvent;
    int m_earlyEmptyReads = 0;
};

bool ComPortLine::Finish(OVERLAPPED& overlapped, HANDLE event, DWORD timeoutMs,
                         DWORD& transferred) {
    transferred = 0;
    if (WaitForSingleObject(event, timeoutMs) != WAIT_OBJECT_0) {
        CancelIoEx(m_port.get(), &overlapped);
    }
    // After the cancel the operation completes promptly; wait for it so that the OVERLAPPED on
    // the caller's stack is no longer in use.
    if (GetOverlappedResult(m_port.get(), &overlapped, &transferred, TRUE)) {
        return true;
    }
    return GetLastError() == ERROR_OPERATION_ABORTED;
}

int ComPortLine::Read(uint8_t* bytes, size_t capacity, uint32_t timeoutMs) {
    if (bytes == nullptr || capacity == 0) {
        return 0;
    }
    const DWORD wait = std::max<DWORD>(timeoutMs, 1);
    // Return as soon as anything has arrived, or after the whole wait with nothing.
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.ReadTotalTimeoutMultiplier = MAXDWORD;
    timeouts.ReadTotalTimeoutConstant = wait;
    if (!SetCommTimeouts(m_port.get(), &timeouts)) {
        return -1;
    }
    const auto started = std::chrono::steady_clock::now();
    OVERLAPPED overlapped{};
    overlapped.hEvent = m_readEvent.get();
    ResetEvent(m_readEvent.get());
    DWORD got = 0;
    const DWORD count = static_cast<DWORD>(std::min<size_t>(capacity, 1u << 20));
    if (!ReadFile(m_port.get(), bytes, count, &got, &overlapped)) {
        if (GetLastError() != ERROR_IO_PENDING) {
            return -1;
        }
        if (!Finish(overlapped, m_readEvent.get(), wait + 100, got)) {
            return -1;
        }
    } else {
        GetOverlappedResult(m_port.get(), &overlapped, &got, FALSE);
    }
    if (got > 0) {
        m_earlyEmptyReads = 0;
        return static_cast<int>(got);
    }
    const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - started);
    if (waited.count() * 2 < static_cast<long long>(wait)) {
        if (++m_earlyEmptyReads >= kEarlyEmptyReadsForLoss) {
            return -1;
        }
    } else {
        m_earlyEmptyReads = 0;
    }
    return 0;
}

bool ComPortLine::Write(const uint8_t* bytes, size_t size, uint32_t timeoutMs) {
    if (size == 0) {
        return true;
    }
    const DWORD bound = std::max<DWORD>(timeoutMs, 1);
    OVERLAPPED overlapped{};
    overlapped.hEvent = m_writeEvent.get();
    ResetEvent(m_writeEvent.get());
    DWORD written = 0;
    if (!WriteFile(m_port.get(), bytes, static_cast<DWORD>(size), &written, &overlapped)) {
        if (GetLastError() != ERROR_IO_PENDING) {
            return false;
        }
        if (!Finish(overlapped, m_writeEvent.get(), bound, written)) {
            return false;
        }
    } else {
        GetOverlappedResult(m_port.get(), &overlapped, &written, FALSE);
    }
    return written == size;
}

}  // namespace

std::unique_ptr<SerialLine> OpenSerialLine(int portNumber, int baudRate, std::string& error) {
    if (portNumber <= 0 || portNumber > 255 || baudRate <= 0) {
        error = "COM" + std::to_string(portNumber) + " is not a serial port number.";
        return nullptr;
    }
    wchar_t name[32];
    swprintf(name, sizeof(name) / sizeof(name[0]), L"\\\\.\\COM%d", portNumber);
    UniqueFileHandle port(CreateFileW(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_OVERLAPPED, nullptr));
    if (!port) {
        const DWORD code = GetLastError();
        error = "COM" + std::to_string(portNumber) +
                (code == ERROR_ACCESS_DENIED
                     ? " is in use by another program."
                     : " cannot be opened (error " + std::to_string(code) + ").");
        return nullptr;
    }
    DCB dcb{};
    dcb.DCBlength = sizeof(dcb);
    if (!GetCommState(port.get(), &dcb)) {
        error = "COM" + std::to_string(portNumber) + " is not a serial port.";
        return nullptr;
    }
    zuvo::SetPlainSerialLine(dcb, baudRate);
    if (!SetCommState(port.get(), &dcb)) {
        error = "COM" + std::to_string(portNumber) + " does not take " + std::to_string(baudRate) +
                " baud.";
        return nullptr;
    }
    UniqueKernelHandle readEvent(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    UniqueKernelHandle writeEvent(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!readEvent || !writeEvent) {
        error = "No event for COM" + std::to_string(portNumber) + ".";
        return nullptr;
    }
    PurgeComm(port.get(), PURGE_RXCLEAR | PURGE_TXCLEAR | PURGE_RXABORT | PURGE_TXABORT);
    return std::make_unique<ComPortLine>(std::move(port), std::move(readEvent),
                                         std::move(writeEvent));
}

}  // namespace zuvo::radar
