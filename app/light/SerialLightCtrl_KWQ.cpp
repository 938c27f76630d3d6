#include "app/light/SerialLightCtrl_KWQ.h"

namespace {

constexpr uint32_t kClockTickSlackMs = 20;

}  // namespace

CSerialLightCtrl_KWQ::~CSerialLightCtrl_KWQ() {
    m_light.CloseLight();
}

int CSerialLightCtrl_KWQ::OpenPort(int portNumber, int baudRate) noexcept {
    return m_serial.OpenSerial(portNumber, baudRate);
}

bool CSerialLightCtrl_KWQ::IsPortOpen() const noexcept {
    return m_serial.IsOpened() != 0;
}

bool CSerialLightCtrl_KWQ::WritePort(const uint8_t* bytes, int count, int timeoutMs) noexcept {
    // The port's send promises nothing about its answer, so whether it finished is told by the
    // clock: a send that returns only once its time-out has passed was given up. The slack
    // covers a millisecond clock that advances in steps of a system tick.
    const uint32_t start = MS_GetTime();
    m_serial.SendData(bytes, count, timeoutMs, 0, 0, 0);
    const uint32_t elapsed = MS_GetTime() - start;
    return timeoutMs <= 0 || elapsed + kClockTickSlackMs < static_cast<uint32_t>(timeoutMs);
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
