// The licence agreement on first start and the about view: shown until accepted, the
// acceptance remembered per user as EULAAccepted = 1, declining remembering nothing.
#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "DlgResourceIds.h"
#include "ZUVO_DlgResource.h"
#include "framework/Language.h"
#include "framework/LibraryDialogs.h"
#include "tests/support/Capture.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/WindowFinder.h"

namespace {

using zuvo::test::Click;
using zuvo::test::DialogDriver;
using zuvo::test::ItemText;

const wchar_t kEnglishCaption[] = L"Licence Agreement";

// A product name of its own per test, with its registry key removed before and after.
class Agreement : public testing::Test {
protected:
    void SetUp() override {
        zuvo::SetUiLanguage(L"en-US");
        const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string("DlgTest_") + info->name();
        m_product.assign(name.begin(), name.end());
        m_key = L"Software\\ZUVO\\" + m_product;
        RegDeleteTreeW(HKEY_CURRENT_USER, m_key.c_str());
    }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, m_key.c_str()); }

    // The stored value: its type and DWORD content, type REG_NONE when it is absent.
    DWORD StoredType(DWORD* value = nullptr) const {
        DWORD type = REG_NONE;
        DWORD data = 0;
        DWORD size = sizeof(data);
        if (RegGetValueW(HKEY_CURRENT_USER, m_key.c_str(), L"EULAAccepted", RRF_RT_ANY, &type,
                         &data, &size) != ERROR_SUCCESS) {
            return REG_NONE;
        }
        if (value != nullptr) {
            *value = data;
        }
        return type;
    }
    void Store(DWORD type, const void* data, DWORD size) const {
        ASSERT_EQ(
            RegSetKeyValueW(HKEY_CURRENT_USER, m_key.c_str(), L"EULAAccepted", type, data, size),
            ERROR_SUCCESS);
    }

    // Runs CheckShowEULA while a driver answers the agreement with the button (0: expect no
    // window at all). Answers the call's result; *shown tells whether a window came up.
    int CheckWithAnswer(ZUVO_EULADLG_HANDLE handle, int button, bool* shown) {
        std::atomic<bool> done{false};
        std::atomic<bool> seen{false};
        std::thread watcher([&] {
            while (!done) {
                if (HWND window =
                        zuvo::test::WaitForDialog(kEnglishCaption, std::chrono::milliseconds(50))) {
                    seen = true;
                    if (button != 0) {
                        Click(window, button);
                    } else {
                        PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
                    }
                    zuvo::test::WaitUntilGone(window);
                }
            }
        });
        int result = ZUVO_EULADlg_CheckShowEULA(handle);
        done = true;
        watcher.join();
        *shown = seen;
        return result;
    }

    std::wstring m_product;
    std::wstring m_key;
};

TEST_F(Agreement, FirstStartShowsItAndTheAcceptanceIsRemembered) {
    ZUVO_EULADLG_HANDLE handle = ZUVO_EULADlg_Create(nullptr, m_product.c_str(), nullptr);
    ASSERT_NE(handle, nullptr);
    HWND seenWindow = nullptr;
    DialogDriver driver(kEnglishCaption, [&](HWND window) {
        seenWindow = window;
        std::wstring intro = ItemText(window, IDC_EULA_INTRO);
        EXPECT_NE(intro.find(m_product), std::wstring::npos) << "the intro names the product";
        EXPECT_EQ(ItemText(window, IDC_EULA_TEXT).rfind(L"LICENCE AGREEMENT\r\n", 0), 0u)
            << "the licence text, with the line ends of an edit control";
        EXPECT_EQ(ItemText(window, IDOK), L"&Accept");
        EXPECT_EQ(ItemText(window, IDCANCEL), L"&Decline");
        zuvo::test::SaveScreenshot(window, L"agreement_en-US");
        Click(window, IDOK);
    });
    EXPECT_EQ(ZUVO_EULADlg_CheckShowEULA(handle), 1);
    ASSERT_TRUE(driver.Finish());
    EXPECT_FALSE(IsWindow(seenWindow));
    DWORD value = 0;
    EXPECT_EQ(StoredType(&value), static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(value, 1u);

    // The next start (a new agreement object, as in a new process) shows nothing.
    ZUVO_EULADlg_Destroy(handle);
    handle = ZUVO_EULADlg_Create(nullptr, m_product.c_str(), nullptr);
    bool shown = true;
    EXPECT_EQ(CheckWithAnswer(handle, 0, &shown), 1);
    EXPECT_FALSE(shown);
    ZUVO_EULADlg_Destroy(handle);
}

TEST_F(Agreement, DeclineRemembersNothingAndLeavesNoWindow) {
    ZUVO_EULADLG_HANDLE handle = ZUVO_EULADlg_Create(nullptr, m_product.c_str(), nullptr);
    ASSERT_NE(handle, nullptr);
    bool shown = false;
    EXPECT_EQ(CheckWithAnswer(handle, IDCANCEL, &shown), 0);
    EXPECT_TRUE(shown);
    EXPECT_EQ(StoredType(), static_cast<DWORD>(REG_NONE));
    EXPECT_EQ(zuvo::test::FindDialog(kEnglishCaption), nullptr);

    // Still not accepted: it comes again; the close box declines too.
    DialogDriver driver(kEnglishCaption, [](HWND window) { PostMessageW(window, WM_CLOSE, 0, 0); });
    EXPECT_EQ(ZUVO_EULADlg_CheckShowEULA(handle), 0);
    EXPECT_TRUE(driver.Finish());
    EXPECT_EQ(StoredType(), static_cast<DWORD>(REG_NONE));
    ZUVO_EULADlg_Destroy(handle);
}

TEST_F(Agreement, OnlyADwordOneCountsAsAccepted) {
    const zuvo::UniqueEulaDlg owner(ZUVO_EULADlg_Create(nullptr, m_product.c_str(), nullptr));
    ZUVO_EULADLG_HANDLE handle = owner.get();
    bool shown = false;

    DWORD zero = 0;
    Store(REG_DWORD, &zero, sizeof(zero));
    EXPECT_EQ(CheckWithAnswer(handle, IDCANCEL, &shown), 0);
    EXPECT_TRUE(shown) << "DWORD 0";

    Store(REG_SZ, L"1", 2 * sizeof(wchar_t));
    EXPECT_EQ(CheckWithAnswer(handle, IDCANCEL, &shown), 0);
    EXPECT_TRUE(shown) << "the text \"1\"";

    DWORD one = 1;
    Store(REG_DWORD, &one, sizeof(one));
    EXPECT_EQ(CheckWithAnswer(handle, 0, &shown), 1);
    EXPECT_FALSE(shown) << "DWORD 1, as an installer sets it";
}

TEST_F(Agreement, ChineseTexts) {
    zuvo::SetUiLanguage(L"zh-CN");
    ZUVO_EULADLG_HANDLE handle = ZUVO_EULADlg_Create(nullptr, m_product.c_str(), nullptr);
    DialogDriver driver(L"\x8BB8\x53EF\x534F\x8BAE", [&](HWND window) {
        EXPECT_EQ(ItemText(window, IDOK), L"\x63A5\x53D7(&A)");
        EXPECT_EQ(ItemText(window, IDCANCEL), L"\x62D2\x7EDD(&D)");
        EXPECT_NE(ItemText(window, IDC_EULA_INTRO).find(m_product), std::wstring::npos);
        EXPECT_EQ(ItemText(window, IDC_EULA_TEXT).rfind(L"\x8BB8\x53EF\x534F\x8BAE\r\n", 0), 0u);
        zuvo::test::SaveScreenshot(window, L"agreement_zh-CN");
        Click(window, IDOK);
    });
    EXPECT_EQ(ZUVO_EULADlg_CheckShowEULA(handle), 1);
    EXPECT_TRUE(driver.Finish());
    ZUVO_EULADlg_Destroy(handle);
}

TEST_F(Agreement, TheAboutViewShowsProductVersionAndLicence) {
    ZUVO_EULADLG_HANDLE handle =
        ZUVO_EULADlg_Create(nullptr, m_product.c_str(), L"Millimetre-wave radar tool");
    DialogDriver driver(L"About", [&](HWND window) {
        EXPECT_EQ(ItemText(window, IDC_EULA_PRODUCT), m_product);
        std::wstring version = ItemText(window, IDC_EULA_VERSION);
        EXPECT_EQ(version.rfind(L"Version ", 0), 0u) << "version line";
        EXPECT_NE(version.find_first_of(L"0123456789"), std::wstring::npos);
        EXPECT_EQ(ItemText(window, IDC_EULA_SECOND), L"Millimetre-wave radar tool");
        EXPECT_EQ(ItemText(window, IDC_EULA_TEXT).rfind(L"LICENCE AGREEMENT", 0), 0u);
        zuvo::test::SaveScreenshot(window, L"about_en-US");
        Click(window, IDOK);
    });
    EXPECT_EQ(ZUVO_EULADlg_Show(handle, ZUVO_EULADLG_SHOW_ABOUT), 1);
    EXPECT_TRUE(driver.Finish());
    EXPECT_EQ(StoredType(), static_cast<DWORD>(REG_NONE)) << "the about view accepts nothing";

    zuvo::SetUiLanguage(L"zh-CN");
    DialogDriver chinese(L"\x5173\x4E8E", [](HWND window) {
        EXPECT_EQ(ItemText(window, IDC_EULA_VERSION).rfind(L"\x7248\x672C ", 0), 0u);
        zuvo::test::SaveScreenshot(window, L"about_zh-CN");
        PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(ZUVO_EULADlg_Show(handle, ZUVO_EULADLG_SHOW_ABOUT), 1) << "Esc closes it too";
    EXPECT_TRUE(chinese.Finish());

    EXPECT_EQ(ZUVO_EULADlg_Show(handle, 3), 0) << "an unknown mode shows nothing";
    ZUVO_EULADlg_Destroy(handle);
}

TEST_F(Agreement, UnusableProductNamesAndHandlesAreRefused) {
    EXPECT_EQ(ZUVO_EULADlg_Create(nullptr, nullptr, nullptr), nullptr);
    EXPECT_EQ(ZUVO_EULADlg_Create(nullptr, L"", nullptr), nullptr);
    EXPECT_EQ(ZUVO_EULADlg_Create(nullptr, L"..\\..\\Microsoft", nullptr), nullptr);

    ZUVO_EULADLG_HANDLE handle = ZUVO_EULADlg_Create(nullptr, m_product.c_str(), nullptr);
    ZUVO_EULADlg_Destroy(handle);
    // Every call below answers at once: a window would block this thread.
    EXPECT_EQ(ZUVO_EULADlg_CheckShowEULA(handle), 0);
    EXPECT_EQ(ZUVO_EULADlg_Show(handle, ZUVO_EULADLG_SHOW_ABOUT), 0);
    EXPECT_EQ(ZUVO_EULADlg_CheckShowEULA(nullptr), 0);
    ZUVO_EULADlg_Destroy(handle);
    ZUVO_EULADlg_Destroy(nullptr);
}

}  // namespace
