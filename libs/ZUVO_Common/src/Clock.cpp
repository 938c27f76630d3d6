// The millisecond counter and sleeping.
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "ClockWrap.h"
#include "Platform.h"
#include "ZUVO_CommonCoreExtras.h"

namespace {

uint32_t SteadyMilliseconds() {
    const auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
    // Truncated to 32 bits on purpose: callers compare unsigned differences, which stay right
    // across the wrap every 49.7 days.
    return static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count());
}

uint32_t ReadOffset() noexcept {
    try {
        uint32_t leadMs = 0;
        if (!zuvo::clock::ReadClockWrapLead(zuvo::platform::ProgramFolder(), &leadMs)) {
            return 0;
        }
        const uint32_t offset = zuvo::clock::ClockWrapOffset(leadMs, SteadyMilliseconds());
        DbgOutputA(1,
                   "MS_GetTime: the clock-wrap switch starts the counter %u ms before its wrap\r\n",
                   leadMs);
        return offset;
    } catch (...) {
        return 0;  // out of memory for the folder's name: the counter as it is
    }
}

// Read once, so every reading of the process moves by the same amount and differences stay
// right.
uint32_t Offset() {
    static const uint32_t offset = ReadOffset();
    return offset;
}

}  // namespace

namespace zuvo::clock {

bool ReadClockWrapLead(const std::wstring& folder, uint32_t* leadMs) {
    if (folder.empty()) {
        return false;
    }
    std::wstring path = folder;
    path.push_back(ZUVO_PATH_SEPARATOR);
    path.append(kClockWrapSwitchName);
    uint8_t* data = nullptr;
    const int64_t size = ReadFileDataW(path.c_str(), &data);
    if (data == nullptr) {
        return false;
    }
    // The library puts two zero bytes after the data, so it reads as text.
    const char* text = reinterpret_cast<const char*>(data);
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text, &end, 10);
    bool number = size > 0 && end != text && value <= UINT32_MAX;
    for (const char* rest = end; number && *rest != '\0'; ++rest) {
        number = std::isspace(static_cast<unsigned char>(*rest)) != 0;
    }
    ReleaseFileData(data);
    *leadMs = number ? static_cast<uint32_t>(value) : kDefaultClockWrapLeadMs;
    return true;
}

}  // namespace zuvo::clock

extern "C" {

uint32_t ZUVO_CALL MS_GetTime() {
    return SteadyMilliseconds() + Offset();
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
