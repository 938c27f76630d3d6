#include "app/light/SerialLightCtrl_KWQ.h"

CSerialLightCtrl_KWQ::~CSerialLightCtrl_KWQ() {
    m_light.CloseLight();
}

int CSerialLightCtrl_KWQ::OpenPort(int portNumber, int baudRate) noexcept {
    return m_serial.OpenSerial(portNumber, baudRate);
}

bool CSerialLightCtrl_KWQ::IsPortOpen() const noexcept {
    return m_serial.IsOpened() != 0;
}

int CSerialLightCtrl_KWQ::WritePort(const uint8_t* bytes, int count, int timeoutMs) noexcept {
    const int written = m_serial.SendData(bytes, count, timeoutMs, 0, 0, 0);
    if (written >= 0 && written < count) {
        // The rest of a frame cut off by the time-out would otherwise go out in front of the
        // next frame and spoil it too.
        m_serial.Purge();
    }
    return written;
}

void CSerialLightCtrl_KWQ::ClosePort() noexcept {
    m_serial.CloseSerial();
}

void CSerialLightCtrl_KWQ::Pause(uint32_t milliseconds) noexcept {
    HQ_Sleep(milliseconds);
}

void CSerialLightCtrl_KWQ::Diagnostic(int level, const char* line) noexcept {
    DbgOutputA(level, "%s", line);
}
