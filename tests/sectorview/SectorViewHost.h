// What the sector view's Wine tests share: a top-level window to hold the view, the settings
// the tests start from, feeding a batch and reading what the view shows.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "framework/Handles.h"
#include "sectorview/ObjectSectorWnd.h"
#include "tests/support/Capture.h"
#include "tests/support/ControlHost.h"

namespace zuvo::test::sectorview {

constexpr int kViewId = 1200;
constexpr COLORREF kInactive = RGB(0, 255, 255);  // the settings file's 0xFFFF00
constexpr COLORREF kActive = RGB(0xDC, 0x54, 0x00);

// A top-level window to hold the view, destroyed with the test.
class Host {
public:
    Host() {
        static const bool registered = [] {
            WNDCLASSEXW windowClass{};
            windowClass.cbSize = sizeof(windowClass);
            windowClass.lpfnWndProc = DefWindowProcW;
            windowClass.hInstance = GetModuleHandleW(nullptr);
            windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
            windowClass.lpszClassName = L"SectorViewTestHost";
            return RegisterClassExW(&windowClass) != 0;
        }();
        EXPECT_TRUE(registered);
        m_window.reset(CreateWindowExW(0, L"SectorViewTestHost", L"host", WS_POPUP | WS_VISIBLE, 0,
                                       0, 700, 420, nullptr, nullptr, GetModuleHandleW(nullptr),
                                       nullptr));
    }
    HWND get() const { return m_window.get(); }

private:
    zuvo::UniqueWindow m_window;
};

// Handles every pending message for a while, painting included (a background render asks for
// one more).
inline void Pump() {
    zuvo::test::Pump(100);
}

// What the view's own window shows.
inline Capture CaptureWindow(HWND window) {
    return Capture(window, Capture::Source::Window);
}

inline int Red(uint32_t rgb) {
    return static_cast<int>((rgb >> 16) & 0xFF);
}
inline int Green(uint32_t rgb) {
    return static_cast<int>((rgb >> 8) & 0xFF);
}
inline int Blue(uint32_t rgb) {
    return static_cast<int>(rgb & 0xFF);
}

// Top view, the angle window -150 ... -30, every gate visible, tracks fresh for the whole test.
inline zuvo::sector::SectorViewConfig TestConfig() {
    zuvo::sector::SectorViewConfig config;
    config.topViewMode = 1;
    config.angleStart = -150;
    config.angleStop = -30;
    config.gateMin = 0;
    config.gateMax = 31;
    config.gateCount = 32;
    config.smoothCount = 1;
    config.displayTimeMs = 600000;
    return config;
}

inline void Feed(CObjectSectorWnd& view, std::vector<SectorObject> objects) {
    CPtrListCtrl list;
    for (SectorObject& object : objects) {
        list.AddData(&object, -1);
    }
    view.UpdateObjects(&list);
}

}  // namespace zuvo::test::sectorview
