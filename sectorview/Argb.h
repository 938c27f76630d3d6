// 32-bit ARGB pixels (0xAARRGGBB) and Win32 COLORREF values (0x00BBGGRR).
#pragma once

#include <cstdint>

namespace zuvo::sector {

constexpr uint32_t AlphaOf(uint32_t argb) {
    return argb >> 24;
}
constexpr uint32_t RedOf(uint32_t argb) {
    return (argb >> 16) & 0xFF;
}
constexpr uint32_t GreenOf(uint32_t argb) {
    return (argb >> 8) & 0xFF;
}
constexpr uint32_t BlueOf(uint32_t argb) {
    return argb & 0xFF;
}
constexpr uint32_t MakeArgb(uint32_t alpha, uint32_t red, uint32_t green, uint32_t blue) {
    return (alpha << 24) | (red << 16) | (green << 8) | blue;
}

// Exchanges the red and blue bytes and keeps the top byte: COLORREF to 0x00RRGGBB and back.
constexpr uint32_t SwapRedBlue(uint32_t colour) {
    return (colour & 0xFF00FF00u) | ((colour & 0xFF) << 16) | ((colour >> 16) & 0xFF);
}

constexpr uint32_t WithAlpha(uint32_t colour, uint32_t alpha) {
    return (colour & 0x00FFFFFFu) | (alpha << 24);
}

}  // namespace zuvo::sector
