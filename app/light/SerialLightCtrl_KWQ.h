// CSerialLightCtrl_KWQ: the signal tower light on its own COM port, a Modbus RTU slave driven
// with Write Single Coil frames (TowerLight has the rules). A member of the main window:
// Open at every start, ApplyPresence at the end of every refresh pass, CloseLight at every
// stop and on destruction. User-interface thread only.
#pragma once

#include <cstdint>

#include "ZUVO_Common.h"
#include "app/light/LightPort.h"
#include "app/light/TowerLight.h"

class CSerialLightCtrl_KWQ : private zuvo::light::LightPort {
public:
    CSerialLightCtrl_KWQ() = default;
    CSerialLightCtrl_KWQ(const CSerialLightCtrl_KWQ&) = delete;
    CSerialLightCtrl_KWQ& operator=(const CSerialLightCtrl_KWQ&) = delete;
    virtual ~CSerialLightCtrl_KWQ();

    // Closes what was open, opens COM<portNumber> and lights the no-object lamp. Answers the
    // open result (0: no light; every later call then does nothing).
    int Open(int portNumber, int baudRate) noexcept { return m_light.Open(portNumber, baudRate); }
    void TurnOffLight() noexcept { m_light.TurnOffLight(); }
    void SwitchLightOn(int32_t state) noexcept { m_light.SwitchLightOn(state); }
    void CloseLight() noexcept { m_light.CloseLight(); }
    void ApplyPresence(bool present, uint32_t now) noexcept { m_light.ApplyPresence(present, now); }

    int32_t LightState() const noexcept { return m_light.LightState(); }
    uint32_t LastPresenceTime() const noexcept { return m_light.LastPresenceTime(); }

private:
    // LightPort over the utility library's serial port.
    int OpenPort(int portNumber, int baudRate) noexcept override;
    bool IsPortOpen() const noexcept override;
    bool WritePort(const uint8_t* bytes, int count, int timeoutMs) noexcept override;
    void ClosePort() noexcept override;
    void Pause(uint32_t milliseconds) noexcept override;
    void Diagnostic(int level, const char* line) noexcept override;

    CSerialUtil m_serial;
    zuvo::light::TowerLight m_light{*this};
};
