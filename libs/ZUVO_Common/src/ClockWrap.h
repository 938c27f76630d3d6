// The clock-wrap switch of the millisecond counter. MS_GetTime wraps after 49.7 days, which no
// test run can wait for; a file "ZUVO_ClockWrap.on" beside the program makes the counter of
// the whole process start shortly before its wrap instead, so that a run crosses it within
// seconds. The file is read once, at the process's first MS_GetTime; it holds the milliseconds
// from that first reading to the wrap as a decimal number (empty or not a number:
// kDefaultClockWrapLeadMs).
#pragma once

#include <cstdint>
#include <string>

namespace zuvo::clock {

constexpr wchar_t kClockWrapSwitchName[] = L"ZUVO_ClockWrap.on";
constexpr uint32_t kDefaultClockWrapLeadMs = 10000;

// Whether the switch file is in folder and, if so, the lead it asks for.
bool ReadClockWrapLead(const std::wstring& folder, uint32_t* leadMs);

// What to add to every raw reading so that the reading raw becomes 2^32 - leadMs.
inline uint32_t ClockWrapOffset(uint32_t leadMs, uint32_t raw) {
    return 0u - leadMs - raw;  // unsigned: taken modulo 2^32
}

}  // namespace zuvo::clock
