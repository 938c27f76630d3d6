// The line settings every serial port of the family uses (the tower light's and the radar
// sensor's): 8 data bits, no parity, one stop bit, binary, and no flow control, as the modem
// lines are not wired on the sensors' and lights' adapters (and cannot be set on a
// pseudo-terminal under Wine). For our libraries, which each open their own ports.
#pragma once

#if !defined(ZUVO_COMMON_EXTRAS)
#error "ZUVO_SerialLineSettings.h is for the stand-in libraries, their tests and tools only"
#endif

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace zuvo {

inline void SetPlainSerialLine(DCB& dcb, int baudRate) {
    dcb.BaudRate = static_cast<DWORD>(baudRate);
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDtrControl = DTR_CONTROL_DISABLE;
    dcb.fRtsControl = RTS_CONTROL_DISABLE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = FALSE;
}

}  // namespace zuvo
