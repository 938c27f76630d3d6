// ZUVO_Common: the utility library, Windows half, as the system uses it. Includes the portable
// half (ZUVO_CommonCore.h, which also says what "as the system uses it" means here).
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "ZUVO_CommonCore.h"

// The library's rectangle arguments are RECTs, spelled ZRect in the portable half.
static_assert(sizeof(ZRect) == sizeof(RECT), "ZRect must have the layout of RECT");

// A serial port COM<n>.
class ZUVO_COMMON_API CSerialUtil {
public:
    CSerialUtil();
    CSerialUtil(const CSerialUtil&) = delete;
    CSerialUtil& operator=(const CSerialUtil&) = delete;
    virtual ~CSerialUtil();

    // Opens COM<portNumber> at the baud rate. Non-zero on success.
    // The three are virtual only because they come before SendData in the class's table of
    // virtual functions, which the program and the library share.
    virtual int OpenSerial(int portNumber, int baudRate);
    virtual int IsOpened() const;
    virtual void CloseSerial();

    // Sends length bytes, waiting at most timeoutMs for them; the three reserved arguments are
    // 0.
    virtual int SendData(const void* bytes, int length, int timeoutMs, int reserved1, int reserved2,
                         int reserved3);

protected:
    // Kept for the class's size (see the top of ZUVO_CommonCore.h).
    HANDLE m_port;
    HANDLE m_writeEvent;
    HANDLE m_readEvent;
    int m_portNumber;
    int m_baudRate;
};

// Called instead of posting when a delayed entry carries a callback (the system passes none).
typedef void(ZUVO_CALL* DelayPostCallback)(HWND target, UINT message, WPARAM wParam, LPARAM lParam,
                                           void* context);

// Posts window messages after a delay, from a worker thread of its own.
class ZUVO_COMMON_API CDelayPostMsgEngine {
public:
    CDelayPostMsgEngine();
    CDelayPostMsgEngine(const CDelayPostMsgEngine&) = delete;
    CDelayPostMsgEngine& operator=(const CDelayPostMsgEngine&) = delete;
    virtual ~CDelayPostMsgEngine();

    int Start();
    void Stop();

    // Posts PostMessage(target, message, wParam, lParam) once delayMs have passed. owner groups
    // the posts for RemoveDelayPostMsg. The system passes no callback and 0 as its context.
    int DelayPostMsg(uint32_t delayMs, HWND target, HWND owner, UINT message, WPARAM wParam,
                     LPARAM lParam, DelayPostCallback callback, void* context);
    // With allOfMessage 1: cancels the pending posts of that message for target and owner.
    int RemoveDelayPostMsg(HWND target, HWND owner, UINT message, int allOfMessage);

protected:
    void* m_impl;  // kept for the class's size
};

extern "C" {

// Non-zero when no other instance holds the name.
ZUVO_COMMON_API int ZUVO_CALL CheckSingleInstanceW(const wchar_t* name);

// A bitmap of width x |height| pixels (negative height: row 0 is the top row) with bitsPerPixel
// 24 or 32. *bits (when bits is not null) receives its pixel memory.
ZUVO_COMMON_API HBITMAP ZUVO_CALL CreateHBitmap(void** bits, int width, int height,
                                                int bitsPerPixel);

}  // extern "C"
