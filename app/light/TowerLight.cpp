#include "app/light/TowerLight.h"

#include <cstdio>

#include "app/light/CoilFrame.h"

namespace zuvo::light {

int TowerLight::Open(int portNumber, int baudRate) noexcept {
    CloseLight();
    m_lightState = kLightOff;
    m_lost = false;
    m_tryTimed = false;
    m_checkTimed = false;
    m_portNumber = portNumber;
    m_baudRate = baudRate;
    const int opened = m_port.OpenPort(portNumber, baudRate);
    char line[48];
    std::snprintf(line, sizeof(line), "Open KWQ = %d\r\n", opened);
    m_port.Diagnostic(kLightDiagnosticLevel, line);
    if (m_port.IsPortOpen()) {
        m_lightState = kNoObjectLit;
        SendFrame(kNoObjectCoil, true);
    }
    return opened;
}

void TowerLight::TurnOffLight() noexcept {
    if (!m_port.IsPortOpen()) {
        return;
    }
    if (m_lightState == kNoObjectLit) {
        SendFrame(kNoObjectCoil, false);
    } else if (m_lightState == kObjectLit) {
        SendFrame(kObjectCoil, false);
    }
    m_lightState = kLightOff;
}

void TowerLight::SwitchLightOn(int32_t state) noexcept {
    if (state != kNoObjectLit && state != kObjectLit) {
        return;
    }
    TurnOffLight();
    if (!m_port.IsPortOpen()) {
        return;
    }
    m_lightState = state;
    SendFrame(state == kObjectLit ? kObjectCoil : kNoObjectCoil, true);
}

void TowerLight::CloseLight() noexcept {
    if (m_port.IsPortOpen()) {
        TurnOffLight();
        SendFrame(kCloseCoil, false);
        m_port.ClosePort();
        m_port.Diagnostic(kLightDiagnosticLevel, "Close KWQ\r\n");
    }
    m_lightState = kLightOff;
    m_lost = false;
}

void TowerLight::ApplyPresence(bool present, uint32_t now) noexcept {
    if ((m_lost && !Reconnect(now)) || !CheckLine(now)) {
        if (present) {
            m_lastPresenceTime = now;
        }
        return;
    }
    if (present) {
        if (m_lightState != kObjectLit) {
            SwitchLightOn(kObjectLit);
        }
        m_lastPresenceTime = now;
        return;
    }
    if (static_cast<uint32_t>(now - m_lastPresenceTime) > kAbsenceDelayMs &&
        m_lightState != kNoObjectLit) {
        SwitchLightOn(kNoObjectLit);
    }
}

void TowerLight::SendFrame(uint16_t coil, bool on) noexcept {
    if (!m_port.IsPortOpen()) {
        return;  // the port did not open again after a cut-off frame
    }
    const CoilFrame frame = WriteSingleCoilFrame(kLightSlaveAddress, coil, on);
    if (!m_port.WritePort(frame.data(), static_cast<int>(frame.size()), kFrameWriteTimeoutMs)) {
        DropCutFrame();
    }
    m_port.Pause(kFramePauseMs);
}

void TowerLight::DropCutFrame() noexcept {
    // Closing the port cancels what the serial driver still holds of the write; the light goes
    // on with the same port, or stays silent from now on when it does not open again.
    m_port.ClosePort();
    const int reopened = m_port.OpenPort(m_portNumber, m_baudRate);
    char line[64];
    std::snprintf(line, sizeof(line), "KWQ frame cut off, reopen = %d\r\n", reopened);
    m_port.Diagnostic(kLightDiagnosticLevel, line);
    if (!m_port.IsPortOpen()) {
        m_lost = true;
        m_tryTimed = false;
    }
}

bool TowerLight::CheckLine(uint32_t now) noexcept {
    if (m_lineCheckIntervalMs == 0 || !m_port.IsPortOpen()) {
        return true;  // nothing to check: no line, or a port that never opened in this run
    }
    if (!m_checkTimed) {
        m_checkTimed = true;
        m_lastCheck = now;
        return true;
    }
    if (static_cast<uint32_t>(now - m_lastCheck) < m_lineCheckIntervalMs) {
        return true;
    }
    m_lastCheck = now;
    m_port.ClosePort();
    m_port.OpenPort(m_portNumber, m_baudRate);
    if (m_port.IsPortOpen()) {
        return true;
    }
    m_port.Diagnostic(kLightDiagnosticLevel, "KWQ line lost\r\n");
    m_lost = true;
    m_tryTimed = true;
    m_lastTry = now;
    return false;
}

bool TowerLight::Reconnect(uint32_t now) noexcept {
    if (!m_tryTimed) {
        m_tryTimed = true;
        m_lastTry = now;
        return false;
    }
    if (static_cast<uint32_t>(now - m_lastTry) < kReopenIntervalMs) {
        return false;
    }
    m_lastTry = now;
    m_port.OpenPort(m_portNumber, m_baudRate);
    if (!m_port.IsPortOpen()) {
        return false;  // not logged: a pulled adapter would fill the log every two seconds
    }
    m_port.Diagnostic(kLightDiagnosticLevel, "KWQ line back\r\n");
    m_lost = false;
    m_checkTimed = false;
    m_lightState = kLightOff;
    SendFrame(kObjectCoil, false);
    SendFrame(kNoObjectCoil, false);
    return m_port.IsPortOpen();
}

}  // namespace zuvo::light
