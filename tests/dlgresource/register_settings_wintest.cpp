// The register editor with real controls: hexadecimal fields with clear errors, a list that
// follows every edit, and a record that changes only on OK.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstring>

#include "DlgResourceIds.h"
#include "ZUVO_DlgResource.h"
#include "framework/Language.h"
#include "tests/support/Capture.h"
#include "tests/support/DialogDriver.h"

namespace {

using zuvo::test::Click;
using zuvo::test::DialogDriver;
using zuvo::test::ItemText;
using zuvo::test::ListCell;
using zuvo::test::ListRowCount;
using zuvo::test::SetItemText;

const wchar_t kCaption[] = L"Register Settings";

tagRADARPARAMETER SampleRecord() {
    tagRADARPARAMETER record;
    std::memset(&record, 0x3C, sizeof(record));
    record.RegisterCount = 2;
    record.Registers[0] = tagRADARREGISTER{0x10, 0, 0x1};
    record.Registers[1] = tagRADARREGISTER{0x20, 0, 0xDEADBEEF};
    return record;
}

HWND List(HWND dialog) {
    return GetDlgItem(dialog, IDC_REGISTER_LIST);
}

void TypeAndClick(HWND dialog, const wchar_t* address, const wchar_t* value, int button) {
    SetItemText(dialog, IDC_REGISTER_ADDRESS, address);
    SetItemText(dialog, IDC_REGISTER_VALUE, value);
    Click(dialog, button);
}

// The same edits every time: refused inputs first, then an added row, a changed row and a
// deleted row. Leaves the table as 0x0020 = 0xDEADBEEF, 0x0030 = 0x0000CAFE.
void EditTheTable(HWND dialog) {
    HWND list = List(dialog);
    ASSERT_EQ(ListRowCount(list), 2);
    EXPECT_EQ(ListCell(list, 0, 0), L"0x0010");
    EXPECT_EQ(ListCell(list, 0, 1), L"0x00000001");
    EXPECT_EQ(ListCell(list, 1, 1), L"0xDEADBEEF");
    EXPECT_EQ(ItemText(dialog, IDC_REGISTER_COUNT), L"2 of 64 registers");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_REGISTER_UPDATE))) << "no row selected";
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_REGISTER_DELETE)));

    TypeAndClick(dialog, L"zz", L"1", IDC_REGISTER_ADD);
    EXPECT_EQ(ItemText(dialog, IDC_REGISTER_ERROR),
              L"The address \x201Czz\x201D is not a hexadecimal number: use the digits 0-9 and "
              L"A-F, optionally after 0x.");
    TypeAndClick(dialog, L"1FFFF", L"1", IDC_REGISTER_ADD);
    EXPECT_EQ(ItemText(dialog, IDC_REGISTER_ERROR),
              L"The address 1FFFF is out of range: the largest address is 0xFFFF.");
    TypeAndClick(dialog, L"30", L"", IDC_REGISTER_ADD);
    EXPECT_EQ(ItemText(dialog, IDC_REGISTER_ERROR),
              L"Enter the register value as a hexadecimal number, for example 0x00000001.");
    TypeAndClick(dialog, L"30", L"0x100000000", IDC_REGISTER_ADD);
    EXPECT_EQ(ItemText(dialog, IDC_REGISTER_ERROR),
              L"The value 0x100000000 is out of range: the largest value is 0xFFFFFFFF.");
    TypeAndClick(dialog, L"0x0010", L"5", IDC_REGISTER_ADD);
    EXPECT_EQ(ItemText(dialog, IDC_REGISTER_ERROR),
              L"The address 0x0010 is already in the table: select its row and choose Update to "
              L"change it.");
    EXPECT_EQ(ListRowCount(list), 2) << "nothing refused reached the table";

    TypeAndClick(dialog, L" 30 ", L"cafe", IDC_REGISTER_ADD);
    EXPECT_EQ(ItemText(dialog, IDC_REGISTER_ERROR), L"");
    ASSERT_EQ(ListRowCount(list), 3);
    EXPECT_EQ(ListCell(list, 2, 0), L"0x0030");
    EXPECT_EQ(ListCell(list, 2, 1), L"0x0000CAFE");
    EXPECT_EQ(ItemText(dialog, IDC_REGISTER_COUNT), L"3 of 64 registers");

    // Selecting a row puts it into the fields; Update changes that row only.
    zuvo::test::SelectListRow(list, 1);
    EXPECT_EQ(ItemText(dialog, IDC_REGISTER_ADDRESS), L"0x0020");
    EXPECT_EQ(ItemText(dialog, IDC_REGISTER_VALUE), L"0xDEADBEEF");
    SetItemText(dialog, IDC_REGISTER_ADDRESS, L"0x0030");
    Click(dialog, IDC_REGISTER_UPDATE);
    EXPECT_NE(ItemText(dialog, IDC_REGISTER_ERROR), L"") << "0x0030 belongs to another row";
    SetItemText(dialog, IDC_REGISTER_ADDRESS, L"0x0020");
    SetItemText(dialog, IDC_REGISTER_VALUE, L"DEADBEEF");
    Click(dialog, IDC_REGISTER_UPDATE);
    EXPECT_EQ(ListCell(list, 1, 1), L"0xDEADBEEF");

    zuvo::test::SelectListRow(list, 0);
    Click(dialog, IDC_REGISTER_DELETE);
    ASSERT_EQ(ListRowCount(list), 2);
    EXPECT_EQ(ListCell(list, 0, 0), L"0x0020");
    EXPECT_EQ(ListCell(list, 1, 0), L"0x0030");
    EXPECT_EQ(ItemText(dialog, IDC_REGISTER_ADDRESS), L"0x0020")
        << "the fields show the row selected after the delete, not the deleted one";
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_REGISTER_DELETE)));
}

class RegisterSettings : public testing::Test {
protected:
    void SetUp() override { zuvo::SetUiLanguage(L"en-US"); }
};

TEST_F(RegisterSettings, CancelLeavesTheRecordUntouched) {
    tagRADARPARAMETER record = SampleRecord();
    const tagRADARPARAMETER before = record;
    DialogDriver driver(kCaption, [](HWND dialog) {
        EditTheTable(dialog);
        zuvo::test::SaveScreenshot(dialog, L"registers_en-US");
        Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(ZUVO_RegisterSettingDlg_DoModal(nullptr, &record), IDCANCEL);
    ASSERT_TRUE(driver.Finish());
    EXPECT_EQ(std::memcmp(&record, &before, sizeof(record)), 0);
}

TEST_F(RegisterSettings, OkWritesTheEditedTableAndNothingElse) {
    tagRADARPARAMETER record = SampleRecord();
    const tagRADARPARAMETER before = record;
    DialogDriver driver(kCaption, [](HWND dialog) {
        EditTheTable(dialog);
        Click(dialog, IDOK);
    });
    EXPECT_EQ(ZUVO_RegisterSettingDlg_DoModal(nullptr, &record), IDOK);
    ASSERT_TRUE(driver.Finish());
    ASSERT_EQ(record.RegisterCount, 2);
    EXPECT_EQ(record.Registers[0].Address, 0x20);
    EXPECT_EQ(record.Registers[0].Value, 0xDEADBEEFu);
    EXPECT_EQ(record.Registers[1].Address, 0x30);
    EXPECT_EQ(record.Registers[1].Value, 0xCAFEu);
    EXPECT_EQ(std::memcmp(&record, &before, offsetof(tagRADARPARAMETER, RegisterCount)), 0)
        << "the fields before the register table";
}

TEST_F(RegisterSettings, TheEnterKeyAddsAndDoesNotCloseTheWindow) {
    tagRADARPARAMETER record = SampleRecord();
    DialogDriver driver(kCaption, [](HWND dialog) {
        SetItemText(dialog, IDC_REGISTER_ADDRESS, L"40");
        SetItemText(dialog, IDC_REGISTER_VALUE, L"7");
        // Enter in the value field, as the dialog's message loop receives it.
        HWND value = GetDlgItem(dialog, IDC_REGISTER_VALUE);
        PostMessageW(value, WM_KEYDOWN, VK_RETURN, 0x001C0001);
        PostMessageW(value, WM_KEYUP, VK_RETURN, 0xC01C0001);
        for (int i = 0; i < 100 && ListRowCount(List(dialog)) != 3; ++i) {
            Sleep(10);
        }
        EXPECT_EQ(ListRowCount(List(dialog)), 3);
        EXPECT_TRUE(IsWindowVisible(dialog));
        Click(dialog, IDOK);
    });
    EXPECT_EQ(ZUVO_RegisterSettingDlg_DoModal(nullptr, &record), IDOK);
    ASSERT_TRUE(driver.Finish());
    EXPECT_EQ(record.RegisterCount, 3);
    EXPECT_EQ(record.Registers[2].Address, 0x40);
}

TEST_F(RegisterSettings, ADamagedCountShowsWhatTheRecordCanHoldAndAFullTableRefusesMore) {
    tagRADARPARAMETER record = SampleRecord();
    record.RegisterCount = 1000;
    DialogDriver driver(kCaption, [](HWND dialog) {
        EXPECT_EQ(ListRowCount(List(dialog)), RADAR_MAX_REGISTERS);
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_REGISTER_ADD))) << "full";
        Click(dialog, IDOK);
    });
    EXPECT_EQ(ZUVO_RegisterSettingDlg_DoModal(nullptr, &record), IDOK);
    ASSERT_TRUE(driver.Finish());
    EXPECT_EQ(record.RegisterCount, RADAR_MAX_REGISTERS);
}

TEST_F(RegisterSettings, ChineseTexts) {
    zuvo::SetUiLanguage(L"zh-CN");
    tagRADARPARAMETER record = SampleRecord();
    DialogDriver driver(L"\x5BC4\x5B58\x5668\x53C2\x6570\x914D\x7F6E", [](HWND dialog) {
        wchar_t header[32] = {};
        HDITEMW item{};
        item.mask = HDI_TEXT;
        item.pszText = header;
        item.cchTextMax = 32;
        HWND headerControl =
            reinterpret_cast<HWND>(SendMessageW(List(dialog), LVM_GETHEADER, 0, 0));
        SendMessageW(headerControl, HDM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        EXPECT_STREQ(header, L"\x5730\x5740");
        TypeAndClick(dialog, L"10000", L"1", IDC_REGISTER_ADD);
        EXPECT_EQ(ItemText(dialog, IDC_REGISTER_ERROR),
                  L"\x5730\x5740 10000 \x8D85\x51FA\x8303\x56F4\xFF1A\x6700\x5927\x5730\x5740"
                  L"\x4E3A 0xFFFF\x3002");
        zuvo::test::SaveScreenshot(dialog, L"registers_zh-CN");
        Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(ZUVO_RegisterSettingDlg_DoModal(nullptr, &record), IDCANCEL);
    ASSERT_TRUE(driver.Finish());
}

TEST_F(RegisterSettings, NoRecordNoWindow) {
    EXPECT_EQ(ZUVO_RegisterSettingDlg_DoModal(nullptr, nullptr), IDCANCEL);
}

}  // namespace
