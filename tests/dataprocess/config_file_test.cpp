// The parameter record's INI file: defaults, tolerant reading, exact round trips and a save
// that never leaves half a file.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "RadarConfigFile.h"
#include "TestSupport.h"

namespace zuvo::radar {
namespace {

tagRADARPARAMETER Defaults() {
    tagRADARPARAMETER record;
    SetDefaultParameters(record);
    return record;
}

bool SameRecord(const tagRADARPARAMETER& a, const tagRADARPARAMETER& b) {
    return std::memcmp(&a, &b, sizeof(a)) == 0;
}

TEST(RadarConfigFile, InstalledDefaultFileHoldsTheDefaultRecord) {
    const std::string text = zuvo::test::ReadWholeFile(ZUVO_DATAPROCESS_DEFAULT_INI);
    ASSERT_FALSE(text.empty());
    tagRADARPARAMETER loaded{};
    std::vector<std::string> problems;
    ASSERT_TRUE(ParseParameters(text, loaded, problems));
    EXPECT_TRUE(problems.empty()) << problems.front();
    EXPECT_TRUE(SameRecord(loaded, Defaults()));
    EXPECT_EQ(loaded.GateCount, 32);
    EXPECT_EQ(loaded.DefaultGateMax, 31);
    EXPECT_EQ(loaded.BoundGateLimit, 32);
    EXPECT_EQ(loaded.HostAlgorithm, 3);
    EXPECT_EQ(loaded.FramePeriodMs, 50);
}

TEST(RadarConfigFile, EveryFieldSurvivesARoundTripExactly) {
    tagRADARPARAMETER record = Defaults();
    record.ReadFromFile = 1;
    record.SourceType = 7;
    record.DeviceNumber = 12;
    record.SaveRawData = 1;
    std::wcscpy(record.DataPath, L"D:\\录像\\Run 1\\Ünïcode \U0001F600");
    record.ProcessSite = 10;
    record.HostAlgorithm = 0;
    record.SensorAlgorithm = 1;
    record.SensorAlgorithmCode = 30;
    record.HostProcessValue = 64;
    record.AlgorithmSelectFlag = -4000000000000ll;
    record.CmdModeParam = -7;
    record.RangeResolution = 0.1 + 0.2;  // not exactly representable in decimal
    record.EmulatorSeed = 4294967295u;
    record.EmulatorNoise = 1.0 / 3.0;
    record.RegisterCount = RADAR_MAX_REGISTERS;
    for (int i = 0; i < RADAR_MAX_REGISTERS; ++i) {
        record.Registers[i] = tagRADARREGISTER{static_cast<uint16_t>(0xFFFF - i), 0,
                                               0x80000000u + static_cast<uint32_t>(i)};
    }
    tagRADARPARAMETER loaded{};
    std::vector<std::string> problems;
    ASSERT_TRUE(ParseParameters(RenderParameters(record), loaded, problems));
    EXPECT_TRUE(problems.empty()) << problems.front();
    EXPECT_TRUE(SameRecord(loaded, record));
}

TEST(RadarConfigFile, ReadingIsTolerant) {
    const std::string text =
        "\xEF\xBB\xBF; edited by hand\r\n"
        "[Range]\r\n"
        "gatecount = 64\r\n"           // any case
        "DefaultGateMax=63\n"          // no blanks, LF only
        "FramePeriodMs = fast\r\n"     // not a number: default kept
        "RangeResolution = -0.5\r\n"   // out of range: default kept
        "UnknownKey = 5\r\n"           // ignored
        "this line is nonsense\r\n"    // reported, skipped
        "[Emulator\r\n"                // broken header, reported
        "EmulatorPeople = 0x4\r\n"     // hexadecimal accepted
        "EmulatorMissRate = nan\r\n";  // not in 0..1: default kept
    tagRADARPARAMETER loaded{};
    std::vector<std::string> problems;
    ASSERT_TRUE(ParseParameters(text, loaded, problems));
    EXPECT_EQ(loaded.GateCount, 64);
    EXPECT_EQ(loaded.DefaultGateMax, 63);
    EXPECT_EQ(loaded.EmulatorPeople, 4);
    EXPECT_EQ(loaded.FramePeriodMs, Defaults().FramePeriodMs);
    EXPECT_EQ(loaded.RangeResolution, Defaults().RangeResolution);
    EXPECT_EQ(loaded.EmulatorMissRate, Defaults().EmulatorMissRate);
    ASSERT_EQ(problems.size(), 5u);
    EXPECT_NE(problems[0].find("line 8"), std::string::npos) << problems[0];
    EXPECT_NE(problems[1].find("line 9"), std::string::npos) << problems[1];
    EXPECT_NE(problems[3].find("line 5: FramePeriodMs"), std::string::npos) << problems[3];
    EXPECT_NE(problems[3].find("50 is kept"), std::string::npos) << problems[3];
}

TEST(RadarConfigFile, ABrokenRegisterTableKeepsTheDefaultTable) {
    const tagRADARPARAMETER defaults = Defaults();
    for (const char* text : {"RegisterCount = 2\nRegister00 = 0x10, 1\n",     // one missing
                             "RegisterCount = 1\nRegister00 = 0x10000, 1\n",  // address too big
                             "RegisterCount = 1\nRegister00 = 0x10, 1, 2\n",  // three numbers
                             "RegisterCount = 65\n"}) {                       // too many
        tagRADARPARAMETER loaded{};
        std::vector<std::string> problems;
        ASSERT_TRUE(ParseParameters(text, loaded, problems)) << text;
        EXPECT_EQ(problems.size(), 1u) << text;
        EXPECT_EQ(loaded.RegisterCount, defaults.RegisterCount) << text;
        EXPECT_EQ(std::memcmp(loaded.Registers, defaults.Registers, sizeof(loaded.Registers)), 0);
    }
}

TEST(RadarConfigFile, TextNamingNoFieldIsNotAConfiguration) {
    tagRADARPARAMETER record = Defaults();
    record.GateCount = 77;
    std::vector<std::string> problems;
    for (const char* text : {"", "[Section]\r\n; only a comment\r\n", "PK\x03\x04 binary junk"}) {
        EXPECT_FALSE(ParseParameters(text, record, problems)) << text;
        EXPECT_EQ(record.GateCount, 77);
    }
}

TEST(RadarConfigFile, DefaultGatesBeyondTheGateCountAreLimited) {
    tagRADARPARAMETER loaded{};
    std::vector<std::string> problems;
    ASSERT_TRUE(ParseParameters("GateCount = 16\nDefaultGateMin = 20\n", loaded, problems));
    EXPECT_EQ(loaded.DefaultGateMin, 15);
    EXPECT_EQ(loaded.DefaultGateMax, 15);
    EXPECT_EQ(problems.size(), 2u);
}

TEST(RadarConfigFile, LoadsUtf16FilesAndRefusesMissingOnes) {
    zuvo::test::TempFolder folder(u8"config16");
    const std::u16string text = u"\uFEFF[Source]\r\nDataPath = 数据\r\nGateCount = 48\r\n";
    ASSERT_TRUE(zuvo::test::WriteWholeFile(
        folder.Path() / "wide.ini",
        std::string_view(reinterpret_cast<const char*>(text.data()), text.size() * 2)));
    tagRADARPARAMETER loaded{};
    std::vector<std::string> problems;
    ASSERT_TRUE(LoadParameters(folder.Wide(L"wide.ini"), loaded, problems));
    EXPECT_EQ(loaded.GateCount, 48);
    EXPECT_EQ(std::wstring(loaded.DataPath), L"数据");
    EXPECT_FALSE(LoadParameters(folder.Wide(L"missing.ini"), loaded, problems));
}

TEST(RadarConfigFile, SaveReplacesTheFileWhole) {
    zuvo::test::TempFolder folder(u8"save");
    const std::wstring path = folder.Wide(L"Radar_Config.ini");
    tagRADARPARAMETER record = Defaults();
    std::string error;
    ASSERT_TRUE(SaveParameters(path, record, error)) << error;
    record.GateCount = 100;
    ASSERT_TRUE(SaveParameters(path, record, error)) << error;
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "Radar_Config.ini.tmp"));
    tagRADARPARAMETER loaded{};
    std::vector<std::string> problems;
    ASSERT_TRUE(LoadParameters(path, loaded, problems));
    EXPECT_TRUE(SameRecord(loaded, record));
}

TEST(RadarConfigFile, AFailedSaveLeavesTheOldFileUntouched) {
    zuvo::test::TempFolder folder(u8"savefail");
    const std::wstring path = folder.Wide(L"Radar_Config.ini");
    std::string error;
    ASSERT_TRUE(SaveParameters(path, Defaults(), error));
    const std::string before = zuvo::test::ReadWholeFile(folder.Path() / "Radar_Config.ini");
    // A folder where the temporary file would go makes the write fail.
    std::filesystem::create_directory(folder.Path() / "Radar_Config.ini.tmp");
    tagRADARPARAMETER changed = Defaults();
    changed.GateCount = 99;
    EXPECT_FALSE(SaveParameters(path, changed, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(zuvo::test::ReadWholeFile(folder.Path() / "Radar_Config.ini"), before);
    EXPECT_FALSE(SaveParameters(folder.Wide(L"no such folder/x.ini"), changed, error));
}

TEST(RadarConfigFile, ValidationRefusesRecordsTheProcessingCannotUse) {
    std::string problem;
    EXPECT_TRUE(ValidateParameters(Defaults(), problem)) << problem;
    const std::vector<std::pair<const char*, void (*)(tagRADARPARAMETER&)>> broken = {
        {"FramePeriodMs", [](tagRADARPARAMETER& r) { r.FramePeriodMs = 0; }},
        {"RangeResolution", [](tagRADARPARAMETER& r) { r.RangeResolution = 0.0; }},
        {"RangeResolution", [](tagRADARPARAMETER& r) { r.RangeResolution = std::nan(""); }},
        {"GateCount", [](tagRADARPARAMETER& r) { r.GateCount = -3; }},
        {"EmulatorPeople", [](tagRADARPARAMETER& r) { r.EmulatorPeople = 50; }},
        {"DataPath", [](tagRADARPARAMETER& r) { std::wmemset(r.DataPath, L'x', ZUVO_MAX_PATH); }},
        {"RegisterCount", [](tagRADARPARAMETER& r) { r.RegisterCount = 65; }},
    };
    for (const auto& [field, breakIt] : broken) {
        tagRADARPARAMETER record = Defaults();
        breakIt(record);
        EXPECT_FALSE(ValidateParameters(record, problem)) << field;
        EXPECT_NE(problem.find(field), std::string::npos) << problem;
    }
}

}  // namespace
}  // namespace zuvo::radar
