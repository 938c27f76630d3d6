#include "app/RunHealth.h"

#include <cwchar>
#include <iterator>

namespace zuvo::app {

namespace {

std::wstring Fixed(double value) {
    wchar_t text[32];
    const int length = std::swprintf(text, std::size(text), L"%.1f", value);
    return length > 0 ? std::wstring(text, static_cast<size_t>(length)) : std::wstring(L"?");
}

std::wstring Milliseconds(bool measured, double value) {
    return measured ? Fixed(value) + L" ms" : std::wstring(L"-");
}

}  // namespace

std::wstring FormatRunHealth(const RunHealthWords& words, const RunHealth& health) {
    return words.deliveries + L" " + Fixed(health.deliveriesPerSecond) + L"\n" + words.objects +
           L" " + std::to_wstring(health.objects) + L"\n" + words.entries + L" " +
           std::to_wstring(health.entries) + L"\n" + words.logLines + L" " +
           std::to_wstring(health.logLines) + L"\n" + words.paint + L" " +
           Milliseconds(health.painted, health.paintMs) + L"\n" + words.latency + L" " +
           Milliseconds(health.delivered, health.latencyMs);
}

}  // namespace zuvo::app
