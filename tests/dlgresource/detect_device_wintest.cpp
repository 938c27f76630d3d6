// Device detection: finds the radar emulator by itself with visible progress, answers nothing
// when cancelled, and works with or without a parent window.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <atomic>
#include <chrono>
#include <set>
#include <vector>

#include "DlgResourceIds.h"
#include "ZUVO_DlgResource.h"
#include "framework/Handles.h"
#include "framework/Language.h"
#include "tests/support/Capture.h"
#include "tests/support/DialogDriver.h"

namespace {

using zuvo::test::DialogDriver;
using zuvo::test::ItemText;

// Filled with stale values, so that the test sees what the dialog sets and what it clears.
struct Outputs {
    Outputs() {
        deviceText.Format("%s", "stale");
        secondText.Format("%s", "stale");
    }
    int sourceType = -1;
    CBaseStringA deviceText;
    CBaseStringA secondText;
    int deviceNumber = -1;
};

int Detect(HWND parent, Outputs& out) {
    return ZUVO_DetectDeviceDlg_DoModal(parent, &out.sourceType, &out.deviceText, &out.secondText,
                                        &out.deviceNumber);
}

// What a driver saw of a running search.
struct Observation {
    std::set<std::wstring> statuses;
    std::vector<int> bar;
    bool parentEnabled = true;
};

// Watches the dialog until it closes by itself.
void Observe(HWND dialog, HWND parent, Observation& seen) {
    if (parent != nullptr) {
        seen.parentEnabled = IsWindowEnabled(parent) != FALSE;
    }
    bool screenshot = false;
    HWND progress = GetDlgItem(dialog, IDC_DETECT_PROGRESS);
    for (;;) {
        std::wstring status = ItemText(dialog, IDC_DETECT_STATUS);
        int bar = static_cast<int>(SendMessageW(progress, PBM_GETPOS, 0, 0));
        if (!IsWindow(progress) || !IsWindowVisible(dialog)) {
            break;  // the readings may come from a window already going
        }
        seen.statuses.insert(status);
        seen.bar.push_back(bar);
        if (!screenshot && seen.bar.back() > 300) {
            zuvo::test::SaveScreenshot(
                dialog, zuvo::CurrentUiLanguage() == 0x0804 ? L"detect_zh-CN" : L"detect_en-US");
            screenshot = true;
        }
        Sleep(30);
    }
}

class DetectDevice : public testing::Test {
protected:
    void SetUp() override { zuvo::SetUiLanguage(L"en-US"); }
};

TEST_F(DetectDevice, FindsTheEmulatorByItselfWithVisibleProgress) {
    zuvo::UniqueWindow parent(
        CreateWindowExW(0, L"STATIC", L"main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 800, 600,
                        nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    Observation seen;
    DialogDriver driver(L"Detect Device",
                        [&](HWND dialog) { Observe(dialog, parent.get(), seen); });
    Outputs out;
    auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(Detect(parent.get(), out), 1);
    auto took = std::chrono::steady_clock::now() - started;
    ASSERT_TRUE(driver.Finish());

    EXPECT_EQ(out.sourceType, RADAR_SOURCE_EMULATOR);
    EXPECT_EQ(out.deviceNumber, 0);
    EXPECT_STREQ(out.deviceText.GetString(), "Radar Emulator");
    EXPECT_GT(out.secondText.GetLength(), 0);
    EXPECT_GE(took, std::chrono::milliseconds(1000)) << "long enough to be seen";
    EXPECT_LT(took, std::chrono::seconds(10));

    EXPECT_FALSE(seen.parentEnabled) << "modal: the parent is disabled meanwhile";
    EXPECT_TRUE(IsWindowEnabled(parent.get())) << "and enabled again afterwards";
    EXPECT_TRUE(seen.statuses.count(L"Searching: Radar emulator\x2026") +
                    seen.statuses.count(L"Found: Radar emulator") >
                0);
    ASSERT_GE(seen.bar.size(), 5u);
    std::set<int> distinct(seen.bar.begin(), seen.bar.end());
    EXPECT_GE(distinct.size(), 3u) << "the bar moves";
    for (size_t i = 1; i < seen.bar.size(); ++i) {
        EXPECT_GE(seen.bar[i], seen.bar[i - 1]) << "and never back";
    }
}

TEST_F(DetectDevice, CancelAnswersNoDeviceAndClearsTheOutputs) {
    // Timed from the click on: the dialog's own start is not part of what cancel promises.
    std::atomic<std::chrono::steady_clock::rep> clicked{0};
    DialogDriver driver(L"Detect Device", [&](HWND dialog) {
        clicked = std::chrono::steady_clock::now().time_since_epoch().count();
        zuvo::test::Click(dialog, IDCANCEL);
    });
    Outputs out;
    EXPECT_EQ(Detect(nullptr, out), 0);
    const auto returned = std::chrono::steady_clock::now().time_since_epoch().count();
    ASSERT_NE(clicked.load(), 0) << "the dialog was not cancelled by the test";
    EXPECT_LT(std::chrono::steady_clock::duration(returned - clicked.load()),
              std::chrono::milliseconds(1000))
        << "cancel ends the search at once";
    ASSERT_TRUE(driver.Finish());
    EXPECT_EQ(out.sourceType, RADAR_SOURCE_NONE);
    EXPECT_EQ(out.deviceNumber, 0);
    EXPECT_STREQ(out.deviceText.GetString(), "");
    EXPECT_STREQ(out.secondText.GetString(), "");
}

TEST_F(DetectDevice, TheCloseBoxCancelsToo) {
    DialogDriver driver(L"Detect Device",
                        [](HWND dialog) { PostMessageW(dialog, WM_CLOSE, 0, 0); });
    Outputs out;
    EXPECT_EQ(Detect(nullptr, out), 0);
    ASSERT_TRUE(driver.Finish());
    EXPECT_EQ(out.sourceType, RADAR_SOURCE_NONE);
}

TEST_F(DetectDevice, ChineseTextsAndNoOutputArguments) {
    zuvo::SetUiLanguage(L"zh-CN");
    Observation seen;
    DialogDriver driver(L"\x68C0\x6D4B\x8BBE\x5907",
                        [&](HWND dialog) { Observe(dialog, nullptr, seen); });
    EXPECT_EQ(ZUVO_DetectDeviceDlg_DoModal(nullptr, nullptr, nullptr, nullptr, nullptr), 1);
    ASSERT_TRUE(driver.Finish());
    EXPECT_TRUE(
        seen.statuses.count(L"\x6B63\x5728\x641C\x7D22\xFF1A\x96F7\x8FBE\x6A21\x62DF\x5668\x2026") +
            seen.statuses.count(L"\x5DF2\x627E\x5230\xFF1A\x96F7\x8FBE\x6A21\x62DF\x5668") >
        0);
}

}  // namespace
