// The millisecond counter and sleeping.
#include <chrono>
#include <thread>

#include "ZUVO_CommonCoreExtras.h"

extern "C" {

uint32_t ZUVO_CALL MS_GetTime() {
    const auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
    // Truncated to 32 bits on purpose: callers compare unsigned differences, which stay right
    // across the wrap every 49.7 days.
    return static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count());
}

void ZUVO_CALL HQ_Sleep(uint32_t milliseconds) {
    // The Windows sleep is tick-based and may wake a little before a steady-clock deadline, so
    // sleep again for whatever is left until the deadline has really passed.
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    try {
        for (auto now = std::chrono::steady_clock::now(); now < deadline;
             now = std::chrono::steady_clock::now()) {
            std::this_thread::sleep_for(deadline - now);
        }
    } catch (...) {
        // sleep_for is not noexcept; nothing can go wrong with a steady clock, but no exception
        // may leave the library.
    }
}

}  // extern "C"
