// The tower light: opened with every start, told about presence by every refresh pass, closed
// with every stop and with the window.
#include "app/ZUVOMTTDlg.h"

void CZUVOMTTDlg::OpenLight() {
    m_light.Open(gRadarParameter.LightPort, gRadarParameter.LightBaudRate);
}

void CZUVOMTTDlg::CloseLight() {
    m_light.CloseLight();
}

void CZUVOMTTDlg::UpdateLight(bool present, uint32_t now) {
    m_light.ApplyPresence(present, now);
}
