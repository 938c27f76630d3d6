// The parameter dialog as the operator meets it: real controls from the program's templates in
// both languages, the real radar library loading and saving "Radar_Config.ini" beside this
// program, and the register dialog of the real dialog library.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

#include "AlgorithmFields.h"
#include "DlgResourceIds.h"
#include "ZUVO_DataProcess.h"
#include "framework/Language.h"
#include "resources/ConfigDialog.h"
#include "settings/ConfigDlg.h"
#include "tests/support/Capture.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/TestPaths.h"
#include "tests/support/WholeFile.h"
#include "tests/support/WindowFinder.h"

namespace {

using zuvo::test::Click;
using zuvo::test::ItemText;
using zuvo::test::ReadWholeFileIfPresent;

const wchar_t kEnglishCaption[] = L"Parameter Setting";
const wchar_t kChineseCaption[] = L"参数配置";

// The file the dialog works on, found here without the utility library the dialog uses.
std::filesystem::path ConfigFile() {
    return std::filesystem::path(zuvo::test::TestProgramFolder()) / L"Radar_Config.ini";
}

tagRADARPARAMETER DefaultRecord() {
    tagRADARPARAMETER record;
    ZUVO_Interface_RadarParameter_Init(&record);
    return record;
}

// A record that differs from the defaults in fields the dialog never touches, so the test sees
// whether a save kept them.
tagRADARPARAMETER OperatorRecord(int processSite, int hostAlgorithm, int sensorAlgorithm) {
    tagRADARPARAMETER record = DefaultRecord();
    record.ProcessSite = processSite;
    record.HostAlgorithm = hostAlgorithm;
    record.SensorAlgorithm = sensorAlgorithm;
    record.SensorAlgorithmOption = 5;
    record.SensorAlgorithmCode = 99;
    record.HostProcessFlag1 = 0;
    record.HostProcessFlag2 = 0;
    record.HostProcessValue = 7;
    record.AlgorithmSelectFlag = 0;
    record.SourceType = RADAR_SOURCE_COM;
    record.DeviceNumber = 9;
    record.GateCount = 48;
    record.LightPort = 12;
    std::wcscpy(record.DataPath, L"D:\\Radar\\录像");
    record.RegisterCount = 1;
    record.Registers[0] = tagRADARREGISTER{0x0042, 0, 0xCAFE};
    return record;
}

tagRADARPARAMETER ReadConfig() {
    tagRADARPARAMETER record = DefaultRecord();
    EXPECT_NE(ZUVO_Interface_RadarParameter_LoadFromFile(ConfigFile().c_str(), &record), 0)
        << "the configuration file does not load";
    return record;
}

// The fields the dialog must leave as they were.
void ExpectOtherFieldsKept(const tagRADARPARAMETER& actual, const tagRADARPARAMETER& expected) {
    EXPECT_EQ(actual.SourceType, expected.SourceType);
    EXPECT_EQ(actual.DeviceNumber, expected.DeviceNumber);
    EXPECT_EQ(actual.GateCount, expected.GateCount);
    EXPECT_EQ(actual.LightPort, expected.LightPort);
    EXPECT_EQ(std::wstring(actual.DataPath), std::wstring(expected.DataPath));
    ASSERT_EQ(actual.RegisterCount, expected.RegisterCount);
    for (int i = 0; i < actual.RegisterCount; ++i) {
        EXPECT_EQ(actual.Registers[i].Address, expected.Registers[i].Address) << "register " << i;
        EXPECT_EQ(actual.Registers[i].Value, expected.Registers[i].Value) << "register " << i;
    }
}

HWND AlgorithmList(HWND dialog) {
    return GetDlgItem(dialog, IDC_CONFIG_ALGORITHM);
}

int SelectedItem(HWND dialog) {
    return static_cast<int>(SendMessageW(AlgorithmList(dialog), CB_GETCURSEL, 0, 0));
}

std::wstring ListText(HWND dialog, int item) {
    HWND list = AlgorithmList(dialog);
    const auto length = SendMessageW(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(item), 0);
    if (length < 0) {
        return L"<no item>";
    }
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(item),
                 reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}

// Selects an item the way the list does it for the operator: the selection, then the change
// notification to the dialog.
void Choose(HWND dialog, int item) {
    HWND list = AlgorithmList(dialog);
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_CONFIG_ALGORITHM, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
}

void PressCloseBox(HWND dialog) {
    PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
}

// Runs the dialog modally on this thread while action drives it from another; answers the
// dialog's result.
INT_PTR RunDialog(const wchar_t* caption, std::function<void(HWND)> action) {
    CConfigDlg dialog;
    zuvo::test::DialogDriver driver(caption, std::move(action));
    const INT_PTR result = dialog.DoModal(nullptr);
    EXPECT_TRUE(driver.Finish()) << "the dialog did not appear";
    return result;
}

// Every case starts without a configuration file beside the program and puts back what was
// there before.
class ConfigDialog : public testing::Test {
protected:
    void SetUp() override {
        zuvo::SetUiLanguage(L"en-US");
        m_saved = ReadWholeFileIfPresent(ConfigFile());
        std::error_code ignored;
        std::filesystem::remove_all(ConfigFile(), ignored);
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(ConfigFile(), ignored);
        if (m_saved) {
            zuvo::test::WriteWholeFile(ConfigFile(), *m_saved);
        }
        zuvo::SetUiLanguage(L"en-US");
    }

    static void WriteConfig(const tagRADARPARAMETER& record) {
        ASSERT_NE(ZUVO_Interface_RadarParameter_SaveToFile(ConfigFile().c_str(), &record), 0);
    }

private:
    std::optional<std::string> m_saved;
};

// The template and list of one interface language.
struct LanguageCase {
    const char* name;
    const wchar_t* locale;
    const wchar_t* caption;
    const wchar_t* label;
    const wchar_t* registerButton;
    const wchar_t* saveButton;
    const wchar_t* items[4];
    int heightUnits;
};

void PrintTo(const LanguageCase& c, std::ostream* os) {
    *os << testing::PrintToString(c.locale);
}

class ConfigDialogLanguage : public ConfigDialog,
                             public testing::WithParamInterface<LanguageCase> {};

TEST_P(ConfigDialogLanguage, TemplateTextsAndLayout) {
    const LanguageCase& c = GetParam();
    zuvo::SetUiLanguage(c.locale);
    WriteConfig(OperatorRecord(10, 0, 1));
    const INT_PTR result = RunDialog(c.caption, [&c](HWND dialog) {
        EXPECT_EQ(ItemText(dialog, -1), c.label);
        EXPECT_EQ(ItemText(dialog, IDC_CONFIG_REGISTER), c.registerButton);
        EXPECT_EQ(ItemText(dialog, IDOK), c.saveButton);
        ASSERT_EQ(SendMessageW(AlgorithmList(dialog), CB_GETCOUNT, 0, 0), 4);
        for (int item = 0; item < 4; ++item) {
            EXPECT_EQ(ListText(dialog, item), c.items[item]) << "item " << item;
        }
        EXPECT_EQ(SelectedItem(dialog), 3);

        const auto listStyle = GetWindowLongW(AlgorithmList(dialog), GWL_STYLE);
        EXPECT_EQ(listStyle & CBS_DROPDOWNLIST, CBS_DROPDOWNLIST) << "not editable";
        // The combo box hands its scroll bar style on to its drop-down list.
        COMBOBOXINFO info{};
        info.cbSize = sizeof(info);
        ASSERT_TRUE(GetComboBoxInfo(AlgorithmList(dialog), &info));
        EXPECT_NE(GetWindowLongW(info.hwndList, GWL_STYLE) & WS_VSCROLL, 0);
        EXPECT_EQ(SendMessageW(dialog, DM_GETDEFID, 0, 0), MAKELRESULT(IDOK, DC_HASDEFID));

        RECT client{};
        GetClientRect(dialog, &client);
        RECT units{0, 0, 137, c.heightUnits};
        MapDialogRect(dialog, &units);
        EXPECT_EQ(client.right, units.right);
        EXPECT_EQ(client.bottom, units.bottom);
        zuvo::test::SaveScreenshot(dialog, std::wstring(L"config_dialog_") + c.locale);
        PressCloseBox(dialog);
    });
    EXPECT_EQ(result, IDCANCEL);
}

INSTANTIATE_TEST_SUITE_P(
    Languages, ConfigDialogLanguage,
    testing::Values(LanguageCase{"English",
                                 L"en-US",
                                 kEnglishCaption,
                                 L"Algorithm:",
                                 L"Register Config",
                                 L"Save",
                                 {L"PC MTT", L"PC MOD", L"MCU MTT", L"MCU MTT2"},
                                 40},
                    LanguageCase{"SimplifiedChinese",
                                 L"zh-CN",
                                 kChineseCaption,
                                 L"算法选择:",
                                 L"寄存器参数配置",
                                 L"保存",
                                 {L"上位机MTT", L"上位机MOD", L"下位机MTT", L"下位机MTT2"},
                                 44}),
    [](const testing::TestParamInfo<LanguageCase>& row) { return std::string(row.param.name); });

struct OpeningCase {
    const char* name;
    int processSite;
    int hostAlgorithm;
    int sensorAlgorithm;
    int item;
    const wchar_t* text;
};

void PrintTo(const OpeningCase& c, std::ostream* os) {
    *os << "site " << c.processSite << ", host algorithm " << c.hostAlgorithm
        << ", sensor algorithm " << c.sensorAlgorithm;
}

class ConfigDialogOpening : public ConfigDialog, public testing::WithParamInterface<OpeningCase> {};

TEST_P(ConfigDialogOpening, ShowsTheFilesChoice) {
    const OpeningCase& c = GetParam();
    WriteConfig(OperatorRecord(c.processSite, c.hostAlgorithm, c.sensorAlgorithm));
    RunDialog(kEnglishCaption, [&c](HWND dialog) {
        EXPECT_EQ(SelectedItem(dialog), c.item);
        EXPECT_EQ(ItemText(dialog, IDC_CONFIG_ALGORITHM), c.text);
        PressCloseBox(dialog);
    });
}

INSTANTIATE_TEST_SUITE_P(
    Files, ConfigDialogOpening,
    testing::Values(OpeningCase{"PcWithMtt", 0, 3, 1, 0, L"PC MTT"},
                    OpeningCase{"PcWithMod", 0, 1, 0, 1, L"PC MOD"},
                    OpeningCase{"PcWithoutAlgorithm", 0, 0, 0, 1, L"PC MOD"},
                    OpeningCase{"SensorWithMtt", 10, 0, 0, 2, L"MCU MTT"},
                    OpeningCase{"SensorWithMtt2", 10, 0, 1, 3, L"MCU MTT2"},
                    OpeningCase{"SensorWithMtt2AndHostMtt", 10, 3, 1, 3, L"MCU MTT2"}),
    [](const testing::TestParamInfo<OpeningCase>& row) { return std::string(row.param.name); });

class ConfigDialogSave : public ConfigDialog,
                         public testing::WithParamInterface<configtest::ChoiceCase> {};

// The file starts at "MCU MTT2" for the host choices and at "PC MOD" for the sensor ones, so
// every choice is a change.
TEST_P(ConfigDialogSave, WritesTheChosenItemsFieldsAndKeepsTheRest) {
    const configtest::ChoiceCase& c = GetParam();
    const tagRADARPARAMETER before =
        c.fields.processSite == 10 ? OperatorRecord(0, 1, 0) : OperatorRecord(10, 0, 1);
    WriteConfig(before);
    const INT_PTR result = RunDialog(kEnglishCaption, [&c](HWND dialog) {
        Choose(dialog, c.item);
        Click(dialog, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    const tagRADARPARAMETER after = ReadConfig();
    configtest::ExpectAlgorithmFields(after, c.fields);
    ExpectOtherFieldsKept(after, before);
}

// Fields the item does not set keep the file's values (5, 99, 0, 0, 7 and the algorithms).
INSTANTIATE_TEST_SUITE_P(Items, ConfigDialogSave,
                         testing::Values(configtest::ChoiceCase{0, {0, 3, 1, 5, 99, 1, 1, 7}},
                                         configtest::ChoiceCase{1, {0, 1, 1, 5, 99, 1, 1, 64}},
                                         configtest::ChoiceCase{2, {10, 0, 0, 0, 20, 0, 0, 7}},
                                         configtest::ChoiceCase{3, {10, 0, 1, 5, 30, 0, 0, 7}}),
                         configtest::ChoiceName);

TEST_F(ConfigDialog, CloseBoxAndEscSaveNothing) {
    WriteConfig(OperatorRecord(0, 1, 0));
    const std::optional<std::string> before = ReadWholeFileIfPresent(ConfigFile());
    ASSERT_TRUE(before);

    EXPECT_EQ(RunDialog(kEnglishCaption,
                        [](HWND dialog) {
                            Choose(dialog, 2);
                            PressCloseBox(dialog);
                        }),
              IDCANCEL);
    EXPECT_EQ(ReadWholeFileIfPresent(ConfigFile()), before) << "close box";

    EXPECT_EQ(RunDialog(kEnglishCaption,
                        [](HWND dialog) {
                            Choose(dialog, 3);
                            HWND list = AlgorithmList(dialog);
                            PostMessageW(list, WM_KEYDOWN, VK_ESCAPE, 0);
                            PostMessageW(list, WM_KEYUP, VK_ESCAPE, 0);
                        }),
              IDCANCEL);
    EXPECT_EQ(ReadWholeFileIfPresent(ConfigFile()), before) << "Esc";

    // Each opening reloads the file: the choices of the closed runs are gone.
    RunDialog(kEnglishCaption, [](HWND dialog) {
        EXPECT_EQ(SelectedItem(dialog), 1);
        PressCloseBox(dialog);
    });
}

TEST_F(ConfigDialog, WithoutAFileShowsTheDefaultsAndSaveCreatesIt) {
    const tagRADARPARAMETER defaults = DefaultRecord();
    RunDialog(kEnglishCaption, [](HWND dialog) {
        EXPECT_EQ(ItemText(dialog, IDC_CONFIG_ALGORITHM), L"PC MTT");
        PressCloseBox(dialog);
    });
    EXPECT_FALSE(std::filesystem::exists(ConfigFile())) << "closing created the file";

    RunDialog(kEnglishCaption, [](HWND dialog) {
        Choose(dialog, 3);
        Click(dialog, IDOK);
    });
    const tagRADARPARAMETER saved = ReadConfig();
    EXPECT_EQ(saved.ProcessSite, 10);
    EXPECT_EQ(saved.SensorAlgorithm, 1);
    EXPECT_EQ(saved.SensorAlgorithmCode, 30);
    ExpectOtherFieldsKept(saved, defaults);
}

// Opens the register dialog from the parameter dialog, adds register 0x0050 = 7 and closes
// it with the button.
void AddRegister0x50(HWND dialog, int closeButton) {
    // Posted: the register dialog runs its own modal loop inside the click.
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_CONFIG_REGISTER, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_CONFIG_REGISTER)));
    HWND registers = zuvo::test::WaitForDialog(L"Register Settings");
    ASSERT_NE(registers, nullptr);
    EXPECT_EQ(GetWindow(registers, GW_OWNER), dialog);
    zuvo::test::SetItemText(registers, IDC_REGISTER_ADDRESS, L"0x0050");
    zuvo::test::SetItemText(registers, IDC_REGISTER_VALUE, L"0x00000007");
    Click(registers, IDC_REGISTER_ADD);
    Click(registers, closeButton);
    ASSERT_TRUE(zuvo::test::WaitUntilGone(registers));
}

TEST_F(ConfigDialog, RegisterEditsAreSavedWithTheChoice) {
    WriteConfig(OperatorRecord(0, 3, 0));
    RunDialog(kEnglishCaption, [](HWND dialog) {
        AddRegister0x50(dialog, IDOK);
        Choose(dialog, 1);
        Click(dialog, IDOK);
    });
    const tagRADARPARAMETER saved = ReadConfig();
    EXPECT_EQ(saved.HostAlgorithm, 1);
    ASSERT_EQ(saved.RegisterCount, 2);
    EXPECT_EQ(saved.Registers[0].Address, 0x0042);
    EXPECT_EQ(saved.Registers[0].Value, 0xCAFEu);
    EXPECT_EQ(saved.Registers[1].Address, 0x0050);
    EXPECT_EQ(saved.Registers[1].Value, 7u);
}

TEST_F(ConfigDialog, CancelledRegisterEditsAreNotSaved) {
    WriteConfig(OperatorRecord(0, 3, 0));
    RunDialog(kEnglishCaption, [](HWND dialog) {
        AddRegister0x50(dialog, IDCANCEL);
        Click(dialog, IDOK);
    });
    EXPECT_EQ(ReadConfig().RegisterCount, 1);
}

// A file that cannot be replaced (here a folder in its place) is reported and the dialog stays
// open with the choice, instead of closing as if it had saved.
TEST_F(ConfigDialog, AFailedSaveIsReportedAndKeepsTheDialogOpen) {
    std::filesystem::create_directory(ConfigFile());
    RunDialog(kEnglishCaption, [](HWND dialog) {
        Choose(dialog, 2);
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        HWND error = zuvo::test::WaitForDialog(L"Error");
        ASSERT_NE(error, nullptr) << "no error box";
        wchar_t text[512] = {};
        GetDlgItemTextW(error, 0xFFFF, text, 512);
        EXPECT_EQ(std::wstring(text), L"Fail to Save Config. File\r\n" + ConfigFile().wstring());
        PostMessageW(error, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(zuvo::test::WaitUntilGone(error));
        EXPECT_TRUE(IsWindowVisible(dialog)) << "the dialog closed although nothing was saved";
        EXPECT_EQ(SelectedItem(dialog), 2) << "the choice is kept";
        PressCloseBox(dialog);
    });
    EXPECT_TRUE(std::filesystem::is_directory(ConfigFile()));
}

}  // namespace
