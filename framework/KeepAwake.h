// Keeps the screen saver and the system's idle sleep away while an operator watches a run, and
// gives both back as they were: a screen saver that was off before the run stays off after it.
// Engage at the start of a run, Release at its end; the destructor releases too, so no path
// out of a run (stop, closing the window, the end of the session) leaves the machine awake.
#pragma once

#include <windows.h>

namespace zuvo {

class KeepAwake {
public:
    KeepAwake() = default;
    ~KeepAwake() { Release(); }
    KeepAwake(const KeepAwake&) = delete;
    KeepAwake& operator=(const KeepAwake&) = delete;

    // Nothing when already engaged.
    void Engage() noexcept;
    // Nothing when not engaged.
    void Release() noexcept;
    bool Engaged() const noexcept { return m_engaged; }

private:
    bool m_engaged = false;
    bool m_screenSaverWasActive = false;  // as read at Engage; restored only when it was on
};

}  // namespace zuvo
