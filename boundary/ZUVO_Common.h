// ZUVO_Common: the utility library, Windows half. Includes the portable half.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "ZUVO_CommonCore.h"

static_assert(sizeof(ZRect) == sizeof(RECT), "ZRect must have the layout of RECT");

inline const ZRect* ToZRect(const RECT* rect) {
    return reinterpret_cast<const ZRect*>(rect);
}
inline ZRect* ToZRect(RECT* rect) {
    return reinterpret_cast<ZRect*>(rect);
}

// A serial port \\.\COMn, 8 data bits, no parity, one stop bit, no flow control.
class ZUVO_COMMON_API CSerialUtil {
public:
    CSerialUtil();
    CSerialUtil(const CSerialUtil&) = delete;
    CSerialUtil& operator=(const CSerialUtil&) = delete;
    virtual ~CSerialUtil();

    // Opens COM<portNumber> at the baud rate; closes a port opened before. Non-zero on success.
    virtual int OpenSerial(int portNumber, int baudRate);
    virtual int IsOpened() const;
    virtual void CloseSerial();

    // Writes length bytes, waiting at most timeoutMs for the whole write (0: the port's
    // default of 1000 ms). The three reserved arguments must be 0. Answers the number of bytes
    // written (less than length on time-out), or -1 when the port is not open.
    virtual int SendData(const void* bytes, int length, int timeoutMs, int reserved1, int reserved2,
                         int reserved3);
    // Reads up to capacity bytes, waiting at most timeoutMs for the first byte and returning
    // as soon as the line has been quiet for a few character times. Answers the number read
    // (0 on time-out), or -1 when the port is not open.
    virtual int ReadData(void* bytes, int capacity, int timeoutMs);
    // Discards what waits in the driver's input and output buffers.
    virtual void Purge();

    int GetPortNumber() const { return m_portNumber; }
    int GetBaudRate() const { return m_baudRate; }

private:
    HANDLE m_port;
    HANDLE m_writeEvent;
    HANDLE m_readEvent;
    int m_portNumber;
    int m_baudRate;
};

// Called instead of posting when a delayed entry carries a callback; runs on the engine's
// worker thread.
typedef void(ZUVO_CALL* DelayPostCallback)(HWND target, UINT message, WPARAM wParam, LPARAM lParam,
                                           void* context);

// Posts window messages after a delay, from a worker thread with a time-ordered queue.
// Entries due at the same time are posted in the order they were added.
class ZUVO_COMMON_API CDelayPostMsgEngine {
public:
    CDelayPostMsgEngine();
    CDelayPostMsgEngine(const CDelayPostMsgEngine&) = delete;
    CDelayPostMsgEngine& operator=(const CDelayPostMsgEngine&) = delete;
    virtual ~CDelayPostMsgEngine();  // stops the worker

    // Starts the worker; non-zero when it runs (also when it already ran).
    int Start();
    // Stops the worker and waits for it; pending entries are dropped, never posted.
    void Stop();
    int IsRunning() const;

    // Queues PostMessage(target, message, wParam, lParam) for delayMs from now. owner groups
    // entries for RemoveDelayPostMsg. With a callback, callback(target, message, wParam,
    // lParam, context) runs on the worker instead of the post. Answers non-zero when queued
    // (the engine must run).
    int DelayPostMsg(uint32_t delayMs, HWND target, HWND owner, UINT message, WPARAM wParam,
                     LPARAM lParam, DelayPostCallback callback = nullptr, void* context = nullptr);
    // Cancels pending entries for target and owner: with allOfMessage 1 every pending entry of
    // that message, with 0 only the one due first. Answers how many were cancelled. An entry
    // whose post is already under way when this is called may still arrive.
    int RemoveDelayPostMsg(HWND target, HWND owner, UINT message, int allOfMessage = 1);
    // Number of entries waiting.
    int GetPendingCount() const;

private:
    void* m_impl;
};

extern "C" {

// Non-zero when no other process holds the name: the call then holds a named mutex for the
// rest of the process's life. Zero when another process (or an earlier call) holds it.
ZUVO_COMMON_API int ZUVO_CALL CheckSingleInstanceW(const wchar_t* name);

// A device-independent bitmap (DIB section) of width x |height| pixels; a negative height
// makes row 0 the top row. bitsPerPixel is 24 or 32. *bits (when bits is not null) receives
// the pixel memory, which lives as long as the bitmap; rows are padded to 4 bytes. The memory
// starts zeroed. Answers null on failure.
ZUVO_COMMON_API HBITMAP ZUVO_CALL CreateHBitmap(void** bits, int width, int height,
                                                int bitsPerPixel);

}  // extern "C"

inline void DrawColorOnBuffer(uint32_t colour, void* bits, const RECT* rect, int stride) {
    DrawColorOnBuffer(colour, bits, ToZRect(rect), stride);
}
inline void DrawBufferOnBuffer(void* destBits, const RECT* destRect, int destStride,
                               const void* srcBits, const RECT* srcRect, int srcStride,
                               int bytesPerPixel) {
    DrawBufferOnBuffer(destBits, ToZRect(destRect), destStride, srcBits, ToZRect(srcRect),
                       srcStride, bytesPerPixel);
}
inline void SetRectXY(RECT* rect, int x, int y, int width, int height) {
    SetRectXY(ToZRect(rect), x, y, width, height);
}
inline int BoundRect(RECT* out, const RECT* rect, const RECT* bounds) {
    return BoundRect(ToZRect(out), ToZRect(rect), ToZRect(bounds));
}
