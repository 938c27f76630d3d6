// The sector view as a real child window under Wine: painted through GDI+ and its own
// compositing, captured from the screen and checked pixel by pixel; the capture is kept as
// artefacts/sector_view.png.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <gdiplus.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "SectorViewHost.h"
#include "sectorview/ObjectSectorWnd.h"
#include "sectorview/PointLabel.h"
#include "tests/support/Capture.h"

namespace {

using zuvo::test::Capture;
using namespace zuvo::test::sectorview;

// Counts the calls this program makes to InvalidateRect for one window: while it lives, the
// program's import slot of the function points at a counting function that passes the call
// on. Invalidating a region that is already pending changes nothing a test could see on the
// screen, so the calls are the only witness of requests that should have been left out.
class InvalidationCounter {
public:
    explicit InvalidationCounter(HWND window) : m_slot(ImportSlot("user32.dll", "InvalidateRect")) {
        EXPECT_NE(m_slot, nullptr) << "this program imports InvalidateRect from user32.dll";
        s_window.store(window);
        s_count.store(0);
        if (m_slot != nullptr) {
            s_original = reinterpret_cast<InvalidateRectFunction>(*m_slot);
            Write(reinterpret_cast<void*>(&Counting));
        }
    }
    ~InvalidationCounter() {
        if (m_slot != nullptr) {
            Write(reinterpret_cast<void*>(s_original));
        }
        s_window.store(nullptr);
    }
    InvalidationCounter(const InvalidationCounter&) = delete;
    InvalidationCounter& operator=(const InvalidationCounter&) = delete;

    int Count() const { return s_count.load(); }

private:
    using InvalidateRectFunction = BOOL(WINAPI*)(HWND, const RECT*, BOOL);

    static BOOL WINAPI Counting(HWND window, const RECT* rect, BOOL erase) {
        if (window == s_window.load()) {
            s_count.fetch_add(1);
        }
        return s_original(window, rect, erase);
    }

    // The import address table entry of function from library in this program's image.
    static void** ImportSlot(const char* library, const char* function) {
        auto* base = reinterpret_cast<uint8_t*>(GetModuleHandleW(nullptr));
        const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
            base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
        const IMAGE_DATA_DIRECTORY& directory =
            nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        for (auto* import =
                 reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
             import->Name != 0; ++import) {
            if (_stricmp(reinterpret_cast<const char*>(base + import->Name), library) != 0) {
                continue;
            }
            const auto* names =
                reinterpret_cast<const IMAGE_THUNK_DATA*>(base + import->OriginalFirstThunk);
            auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->FirstThunk);
            for (; names->u1.AddressOfData != 0; ++names, ++slots) {
                if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) {
                    continue;
                }
                const auto* byName =
                    reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
                if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0) {
                    return reinterpret_cast<void**>(&slots->u1.Function);
                }
            }
        }
        return nullptr;
    }

    void Write(void* target) {
        DWORD previous = 0;
        VirtualProtect(m_slot, sizeof(*m_slot), PAGE_READWRITE, &previous);
        *m_slot = target;
        VirtualProtect(m_slot, sizeof(*m_slot), previous, &previous);
    }

    void** m_slot;
    static inline std::atomic<HWND> s_window{nullptr};
    static inline std::atomic<int> s_count{0};
    static inline InvalidateRectFunction s_original = nullptr;
};

// A 600 x 300 view: R = 300, origin (300, 0) in top view, 9.375 pixels per gate, marker radius 7.
class SectorViewWindow : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(host.get(), nullptr);
        ASSERT_TRUE(view.Create(host.get(), RECT{10, 10, 610, 310}, kViewId));
    }

    Host host;
    CObjectSectorWnd view;
};

TEST_F(SectorViewWindow, PaintsBackgroundTracksAreasAndPoints) {
    view.ApplyViewSettings(TestConfig(), nullptr);
    const RECT sector = view.GetSectorRect();
    EXPECT_EQ(sector.left, 0);
    EXPECT_EQ(sector.right, 600);
    EXPECT_EQ(sector.bottom, 300);
    // Area 0 around the boresight 150 ... 200 pixels out, lit by the track; area 1 to the left
    // (angles about -137), without a track.
    const int32_t lit[] = {150, 250, 150, 350, 200, 350, 200, 250};
    const int32_t unlit[] = {150, 60, 150, 160, 200, 160, 200, 60};
    ASSERT_EQ(view.AddMonitorArea(lit, 4, kInactive, kActive), 0);
    ASSERT_EQ(view.AddMonitorArea(unlit, 4, kInactive, kActive), 1);
    view.AddMonitorPoint(10.0, -60.0, 2.0, L"1", RGB(0, 0, 255), RGB(255, 0, 0));
    Pump();  // the masks are rebuilt by the paint
    for (double distance : {14.0, 15.0, 16.0, 17.0, 175.0 / 9.375}) {
        Feed(view, {{1, distance, -90.0}});
    }
    Pump();
    const Capture capture = CaptureWindow(view.GetSafeHwnd());
    ASSERT_EQ(capture.width(), 600);
    ASSERT_EQ(capture.height(), 300);
    EXPECT_FALSE(capture.Save(L"sector_view").empty());

    // Outside the fan's radius the plain background shows unchanged.
    EXPECT_EQ(capture.At(5, 295), 0x2A323Cu);
    // The straight edge through the sensor: two pixels wide around row 0, in the outer colour.
    EXPECT_EQ(capture.At(5, 0), 0x7CBEE3u);
    EXPECT_EQ(capture.At(599, 0), 0x7CBEE3u);
    EXPECT_EQ(capture.At(5, 1), 0x2A323Cu);
    // The marker at (300, 175): white at 222 / 255 over the line and the lit area.
    const uint32_t marker = capture.At(300, 175);
    EXPECT_GE(Red(marker), 0xD0);
    EXPECT_GE(Green(marker), 0xD0);
    EXPECT_GE(Blue(marker), 0xD0);
    // The lit area takes its active colour (orange), the other one its inactive colour (cyan).
    const uint32_t litPixel = capture.At(270, 160);
    EXPECT_GT(Red(litPixel), Blue(litPixel) + 60) << std::hex << litPixel;
    const uint32_t unlitPixel = capture.At(90, 190);
    EXPECT_GT(Blue(unlitPixel), Red(unlitPixel) + 60) << std::hex << unlitPixel;
    EXPECT_GT(Green(unlitPixel), Red(unlitPixel) + 60) << std::hex << unlitPixel;
    // The track line between the older points is drawn in its pink.
    const uint32_t line = capture.At(300, 145);
    EXPECT_GT(Red(line), 0xC0) << std::hex << line;
    EXPECT_GT(Blue(line), Green(line)) << std::hex << line;
    // The monitoring point: a blue disc (radius 15 around 94 pixels at -60 degrees) whose label
    // is visible in white.
    const int cx = 300 + 47;  // 93.75 x cos 60
    const int cy = 81;        // 93.75 x sin 60
    int blue = 0;
    int white = 0;
    for (int y = cy - 15; y <= cy + 15; ++y) {
        for (int x = cx - 15; x <= cx + 15; ++x) {
            const uint32_t pixel = capture.At(x, y);
            blue += pixel == 0x0000FFu ? 1 : 0;
            white += Red(pixel) > 0xC0 && Green(pixel) > 0xC0 && Blue(pixel) > 0xC0 ? 1 : 0;
        }
    }
    EXPECT_GT(blue, 300);
    EXPECT_GT(white, 3);
}

// The frame is only restored where the last one drew: a cleared area must not stay behind.
TEST_F(SectorViewWindow, ClearedAreasAndPointsLeaveNothingBehind) {
    view.ApplyViewSettings(TestConfig(), nullptr);
    Pump();
    const Capture before = CaptureWindow(view.GetSafeHwnd());
    const int32_t square[] = {150, 60, 150, 160, 200, 160, 200, 60};
    ASSERT_EQ(view.AddMonitorArea(square, 4, kInactive, kActive), 0);
    view.AddMonitorPoint(10.0, -60.0, 2.0, L"7", RGB(0, 0, 255), RGB(255, 0, 0));
    Feed(view, {{3, 175.0 / 9.375, -130.0}});
    Pump();
    EXPECT_NE(CaptureWindow(view.GetSafeHwnd()).At(90, 190), before.At(90, 190));
    view.ClearMonitorAreas();
    view.ClearMonitorPoints();
    view.ClearTracks();
    InvalidateRect(view.GetSafeHwnd(), nullptr, FALSE);
    Pump();
    const Capture after = CaptureWindow(view.GetSafeHwnd());
    EXPECT_EQ(after.Pixels(), before.Pixels());
}

TEST_F(SectorViewWindow, StretchesTheBackgroundPicture) {
    auto picture = std::make_unique<Gdiplus::Bitmap>(4, 4, PixelFormat32bppARGB);
    for (UINT y = 0; y < 4; ++y) {
        for (UINT x = 0; x < 4; ++x) {
            picture->SetPixel(x, y, Gdiplus::Color(255, 200, 30, 40));
        }
    }
    view.ApplyViewSettings(TestConfig(), std::move(picture));
    Pump();
    const Capture capture = CaptureWindow(view.GetSafeHwnd());
    EXPECT_EQ(capture.At(5, 295), 0xC81E28u);
    EXPECT_EQ(capture.At(595, 295), 0xC81E28u);
    // A second settings call without a picture keeps it.
    view.ApplyViewSettings(TestConfig(), nullptr);
    Pump();
    EXPECT_EQ(CaptureWindow(view.GetSafeHwnd()).At(5, 295), 0xC81E28u);
}

TEST_F(SectorViewWindow, FollowsItsSizeButNotARepeatedOne) {
    view.ApplyViewSettings(TestConfig(), nullptr);
    Pump();
    EXPECT_FALSE(view.Scene().BackgroundDirty());
    SendMessageW(view.GetSafeHwnd(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(600, 300));
    EXPECT_FALSE(view.Scene().BackgroundDirty());  // the same size: nothing happens
    MoveWindow(view.GetSafeHwnd(), 10, 10, 500, 400, TRUE);
    EXPECT_TRUE(view.Scene().BackgroundDirty());
    const RECT sector = view.GetSectorRect();
    EXPECT_EQ(sector.right - sector.left, 500);  // R = 250
    EXPECT_EQ(sector.bottom - sector.top, 250);
    Pump();
    EXPECT_EQ(CaptureWindow(view.GetSafeHwnd()).width(), 500);
}

TEST_F(SectorViewWindow, RepaintRequestsFromTheRadarThreadAreCoalesced) {
    view.ApplyViewSettings(TestConfig(), nullptr);
    Pump();
    RECT pending;
    ASSERT_FALSE(GetUpdateRect(view.GetSafeHwnd(), &pending, FALSE));
    InvalidationCounter invalidations(view.GetSafeHwnd());
    const auto burst = [&](int first) {
        std::thread radar([&] {
            for (int batch = first; batch < first + 200; ++batch) {
                Feed(view, {{batch % 7, 10.0 + batch % 5, -90.0}});
            }
        });
        radar.join();
    };
    burst(0);
    EXPECT_EQ(invalidations.Count(), 1) << "200 batches before a paint ask for one repaint";
    EXPECT_TRUE(GetUpdateRect(view.GetSafeHwnd(), &pending, FALSE));
    EXPECT_EQ(view.Scene().CopyTracks().size(), 7u);
    UpdateWindow(view.GetSafeHwnd());
    EXPECT_FALSE(GetUpdateRect(view.GetSafeHwnd(), &pending, FALSE));

    // Once painted, the next batches ask again, once.
    burst(200);
    EXPECT_EQ(invalidations.Count(), 2);
    EXPECT_TRUE(GetUpdateRect(view.GetSafeHwnd(), &pending, FALSE));
}

TEST(SectorViewControl, TakesOverThePlaceholderControl) {
    Host host;
    const HWND placeholder = CreateWindowExW(
        0, L"STATIC", L"\u76EE\u6807\u56FE", WS_CHILD | WS_VISIBLE | WS_BORDER | SS_NOTIFY, 20, 30,
        402, 202, host.get(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kViewId)),
        GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(placeholder, nullptr);
    CObjectSectorWnd view;
    ASSERT_TRUE(view.SubclassDlgItem(kViewId, host.get()));
    EXPECT_EQ(view.GetSafeHwnd(), placeholder);
    EXPECT_FALSE(view.SubclassDlgItem(kViewId, host.get()));  // already attached
    view.ApplyViewSettings(TestConfig(), nullptr);
    const RECT sector = view.GetSectorRect();  // the client area inside the border: 400 x 200
    EXPECT_EQ(sector.left, 0);
    EXPECT_EQ(sector.right, 400);
    EXPECT_EQ(sector.bottom, 200);
    Pump();
    const Capture capture = CaptureWindow(placeholder);
    ASSERT_EQ(capture.width(), 402);
    // The static's caption is not drawn: its centre shows the fan, the corner the plain fill.
    EXPECT_EQ(capture.At(3, 198), 0x2A323Cu);
    EXPECT_NE(capture.At(201, 100), 0xF0F0F0u);
}

TEST(SectorViewControl, DestroyingTheWindowReleasesTracksAndAreas) {
    Host host;
    CObjectSectorWnd view;
    ASSERT_TRUE(view.Create(host.get(), RECT{0, 0, 300, 200}, kViewId));
    view.ApplyViewSettings(TestConfig(), nullptr);
    const int32_t triangle[] = {10, 10, 10, 100, 90, 10};
    ASSERT_EQ(view.AddAlgorithmArea(triangle, 3, kInactive, kActive), 0);
    Feed(view, {{1, 10.0, -90.0}});
    DestroyWindow(view.GetSafeHwnd());
    EXPECT_EQ(view.GetSafeHwnd(), nullptr);
    EXPECT_TRUE(view.Scene().CopyTracks().empty());
    EXPECT_EQ(view.AlgorithmAreas().PresentBits(), 0u);
    Feed(view, {{1, 10.0, -90.0}});  // a late batch from the radar thread does no harm
    EXPECT_EQ(view.Scene().CopyTracks().size(), 1u);
}

// A monitoring point's number shows whatever fonts are installed: without "黑体" and without
// a generic sans-serif family it takes the face GDI draws the default GUI font with.
TEST(PointLabelFont, TheNumberIsDrawnWhateverFontsAreInstalled) {
    const std::unique_ptr<Gdiplus::Font> font = zuvo::sector::CreateLabelFont(2.0);
    ASSERT_NE(font, nullptr);
    zuvo::sector::DiscImage plain = zuvo::sector::MakeDisc(12, 0xFF0000C0);
    zuvo::sector::DiscImage labelled = plain;
    zuvo::sector::DrawPointLabel(labelled, L"7", font.get(), 0xFFFFFFFF);
    int changed = 0;
    for (size_t index = 0; index < plain.pixels.size(); ++index) {
        changed += labelled.pixels[index] != plain.pixels[index] ? 1 : 0;
    }
    EXPECT_GT(changed, 10) << "the number is drawn on the disc";
    EXPECT_EQ(zuvo::sector::CreateLabelFont(0.0), nullptr);
}

}  // namespace
