// What our utility library offers beyond the family's interface (boundary/ZUVO_Common.h),
// Windows half: for the library itself, its tests and our tools, never for the program (see
// ZUVO_CommonCoreExtras.h, which this includes).
#pragma once

#include "ZUVO_Common.h"
#include "ZUVO_CommonCoreExtras.h"

// ---------------------------------------------------------------------------------------------
// What our implementation does where the family's interface leaves it open
// ---------------------------------------------------------------------------------------------
//
// - CSerialUtil opens \\.\COM<n> with 8 data bits, no parity, one stop bit and no flow control
//   (modem lines are not wired on the sensors' and lights' adapters, and cannot be set on a
//   pseudo-terminal under Wine). OpenSerial closes a port opened before and discards whatever
//   waits in the driver's buffers of the port it opens. SendData answers the number of bytes
//   written (less than length on time-out), or -1 when the port is not open; a time-out of 0
//   means 1000 ms. A write cut short by its time-out is cancelled, so its rest never follows.
// - CDelayPostMsgEngine keeps a time-ordered queue: entries due at the same time are posted in
//   the order they were added. Start answers non-zero when the worker runs (also when it
//   already ran); Stop waits for the worker and drops what is pending; DelayPostMsg answers
//   non-zero when queued (the engine must run); RemoveDelayPostMsg with allOfMessage 0
//   cancels only the entry due first and answers how many it cancelled. An entry whose post is
//   already under way when it is cancelled may still arrive. A callback runs on the worker
//   thread instead of the post.
// - CheckSingleInstanceW holds a named mutex for the rest of the process's life; a second call
//   in the same process answers 0.
// - CreateHBitmap makes a DIB section whose memory starts zeroed, rows padded to 4 bytes, and
//   answers null on failure.

// The serial port with what our library adds for its tests: reading, and the port's number.
class ZUVO_COMMON_API CSerialUtilEx : public CSerialUtil {
public:
    CSerialUtilEx();
    ~CSerialUtilEx() override;

    // Reads up to capacity bytes, waiting at most timeoutMs for the first byte and returning
    // as soon as the line has been quiet for a few character times. Answers the number read
    // (0 on time-out), or -1 when the port is not open.
    int ReadData(void* bytes, int capacity, int timeoutMs);
    // The number of the open port, 0 when none is open.
    int GetPortNumber() const;
};

// The delayed-message engine with what our library adds for its tests.
class ZUVO_COMMON_API CDelayPostMsgEngineEx : public CDelayPostMsgEngine {
public:
    CDelayPostMsgEngineEx();
    ~CDelayPostMsgEngineEx() override;

    int IsRunning() const;
    // Number of entries waiting.
    int GetPendingCount() const;
};
