// A pixel as an entry of a pointer list, the form in which the utility library's line drawing
// takes its points: x in the low 32 bits and y in the high 32 bits.
#pragma once

#include <cstdint>

namespace zuvo::sector {

inline void* PackPoint(int32_t x, int32_t y) {
    return reinterpret_cast<void*>(static_cast<uintptr_t>(
        (static_cast<uint64_t>(static_cast<uint32_t>(y)) << 32) | static_cast<uint32_t>(x)));
}
inline int32_t PackedX(const void* entry) {
    return static_cast<int32_t>(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(entry)));
}
inline int32_t PackedY(const void* entry) {
    return static_cast<int32_t>(
        static_cast<uint32_t>(static_cast<uint64_t>(reinterpret_cast<uintptr_t>(entry)) >> 32));
}

}  // namespace zuvo::sector
