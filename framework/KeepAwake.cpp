#include "framework/KeepAwake.h"

namespace zuvo {

void KeepAwake::Engage() noexcept {
    if (m_engaged) {
        return;
    }
    BOOL active = FALSE;
    // A system that cannot tell is treated as one whose screen saver is off: nothing is then
    // switched, and nothing is switched on at the end.
    m_screenSaverWasActive =
        SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &active, 0) != FALSE && active != FALSE;
    if (m_screenSaverWasActive) {
        SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, FALSE, nullptr, 0);
    }
    SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED);
    m_engaged = true;
}

void KeepAwake::Release() noexcept {
    if (!m_engaged) {
        return;
    }
    if (m_screenSaverWasActive) {
        SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, TRUE, nullptr, 0);
    }
    SetThreadExecutionState(ES_CONTINUOUS);
    m_engaged = false;
}

}  // namespace zuvo
