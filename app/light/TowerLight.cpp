#include "app/light/TowerLight.h"

#include <cstdio>

#include "app/light/CoilFrame.h"

namespace zuvo::light {

int TowerLight::Open(int portNumber, int baudRate) noexcept {
    CloseLight();
    m_lightState = kLightOff;
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
}

void TowerLight::ApplyPresence(bool present, uint32_t now) noexcept {
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
    const CoilFrame frame = WriteSingleCoilFrame(kLightSlaveAddress, coil, on);
    m_port.WritePort(frame.data(), static_cast<int>(frame.size()), kFrameWriteTimeoutMs);
    m_port.Pause(kFramePauseMs);
}

}  // namespace zuvo::light
