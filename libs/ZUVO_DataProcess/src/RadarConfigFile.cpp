#include "RadarConfigFile.h"

#include <algorithm>
#include <charconv>
#include <cinttypes>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <cwchar>

#include "FileSystem.h"
#include "IniText.h"
#include "AsciiText.h"
#include "framework/FamilyOwners.h"
#include "text/Unicode.h"
#include "ZUVO_CommonCoreExtras.h"

namespace zuvo::radar {

namespace {

enum class Kind { Int, Int64, UInt32, Double, Path };

// One field of the record (or of the emulator's settings) in the file. Numbers outside
// [low, high] are refused.
struct Field {
    const char* section;
    const char* key;
    Kind kind;
    size_t offset;
    double low;
    double high;
};

#define ZUVO_FIELD(section, name, kind, low, high)                         \
    Field {                                                                \
        section, #name, kind, offsetof(tagRADARPARAMETER, name), low, high \
    }
#define ZUVO_EMULATOR_FIELD(name, kind, low, high)                              \
    Field {                                                                     \
        "Emulator", #name, kind, offsetof(tagEMULATORSETTINGS, name), low, high \
    }

constexpr double kIntMax = 2147483647.0;

const Field kRecordFields[] = {
    ZUVO_FIELD("Source", ReadFromFile, Kind::Int, 0, 1),
    ZUVO_FIELD("Source", SourceType, Kind::Int, 0, 7),
    ZUVO_FIELD("Source", DeviceNumber, Kind::Int, 0, 255),
    ZUVO_FIELD("Source", SaveRawData, Kind::Int, 0, 1),
    ZUVO_FIELD("Source", DataPath, Kind::Path, 0, 0),
    ZUVO_FIELD("Processing", ProcessSite, Kind::Int, 0, 10),
    ZUVO_FIELD("Processing", HostAlgorithm, Kind::Int, 0, 3),
    ZUVO_FIELD("Processing", SensorAlgorithm, Kind::Int, 0, 1),
    ZUVO_FIELD("Processing", SensorAlgorithmOption, Kind::Int, -kIntMax, kIntMax),
    ZUVO_FIELD("Processing", SensorAlgorithmCode, Kind::Int, -kIntMax, kIntMax),
    ZUVO_FIELD("Processing", HostProcessFlag1, Kind::Int, -kIntMax, kIntMax),
    ZUVO_FIELD("Processing", HostProcessFlag2, Kind::Int, -kIntMax, kIntMax),
    ZUVO_FIELD("Processing", HostProcessValue, Kind::Int, -kIntMax, kIntMax),
    ZUVO_FIELD("Processing", AlgorithmSelectFlag, Kind::Int64, -9.2e18, 9.2e18),
    ZUVO_FIELD("CommandMode", CmdModeParam, Kind::Int, -kIntMax, kIntMax),
    ZUVO_FIELD("CommandMode", CmdModeTimeFactor, Kind::Int, 1, 400),
    ZUVO_FIELD("Range", GateCount, Kind::Int, 1, 1024),
    ZUVO_FIELD("Range", DefaultGateMin, Kind::Int, 0, 1023),
    ZUVO_FIELD("Range", DefaultGateMax, Kind::Int, 0, 1023),
    ZUVO_FIELD("Range", BoundGateLimit, Kind::Int, 1, 1024),
    ZUVO_FIELD("Range", RangeResolution, Kind::Double, 0.001, 10.0),
    ZUVO_FIELD("Range", FramePeriodMs, Kind::Int, 10, 1000),
    ZUVO_FIELD("TowerLight", LightPort, Kind::Int, 0, 255),
    ZUVO_FIELD("TowerLight", LightBaudRate, Kind::Int, 1200, 4000000),
};

const Field kEmulatorFields[] = {
    ZUVO_EMULATOR_FIELD(EmulatorSeed, Kind::UInt32, 0, 4294967295.0),
    ZUVO_EMULATOR_FIELD(EmulatorPeople, Kind::Int, 0, 5),
    ZUVO_EMULATOR_FIELD(EmulatorFixedReflector, Kind::Int, 0, 1),
    ZUVO_EMULATOR_FIELD(EmulatorNoise, Kind::Double, 0.0, 1.0),
    ZUVO_EMULATOR_FIELD(EmulatorMissRate, Kind::Double, 0.0, 1.0),
    ZUVO_EMULATOR_FIELD(EmulatorFalseAlarmRate, Kind::Double, 0.0, 10.0),
    ZUVO_EMULATOR_FIELD(EmulatorScriptedPeople, Kind::Int, 0, 3),
    ZUVO_EMULATOR_FIELD(EmulatorLeave1S, Kind::Double, 0.0, 86400.0),
    ZUVO_EMULATOR_FIELD(EmulatorLeave2S, Kind::Double, 0.0, 86400.0),
    ZUVO_EMULATOR_FIELD(EmulatorLeave3S, Kind::Double, 0.0, 86400.0),
    ZUVO_EMULATOR_FIELD(EmulatorObjects, Kind::Int, 0, 100),
    ZUVO_EMULATOR_FIELD(EmulatorObjectLifeS, Kind::Double, 0.0, 86400.0),
    ZUVO_EMULATOR_FIELD(EmulatorDeliveryReportS, Kind::Int, 0, 3600),
};

#undef ZUVO_FIELD
#undef ZUVO_EMULATOR_FIELD

const char kRegisterSection[] = "Registers";
const char kRegisterCountKey[] = "RegisterCount";

const char* const kSectionComments[][2] = {
    {"Source", "where the data comes from: SourceType 7 is the radar emulator"},
    {"Processing",
     "ProcessSite 0 tracks on this computer (HostAlgorithm 3 MTT, 1 MOD), "
     "10 on the sensor"},
    {"CommandMode", "command-mode time-out in units of 150 ms"},
    {"Range", "RangeResolution in metres per range gate, FramePeriodMs between frames"},
    {"TowerLight", "COM port number and baud rate of the Modbus RTU tower light"},
    {"Emulator",
     "EmulatorNoise in metres, EmulatorMissRate 0..1, EmulatorFalseAlarmRate "
     "per frame; EmulatorScriptedPeople 1..3 replaces the walkers by people on fixed "
     "spots, person k leaving EmulatorLeaveKS seconds after the start (0: stays); "
     "EmulatorObjects 1..100 fills the field with that many swaying objects instead, each "
     "replaced by a newcomer every EmulatorObjectLifeS seconds (0: never); "
     "EmulatorDeliveryReportS reports the delivered entries every so many seconds (0: never)"},
};

// A field inside the record or the emulator's settings, whichever its table describes.
template <typename T, typename Holder>
T& FieldRef(Holder& holder, const Field& field) {
    return *reinterpret_cast<T*>(reinterpret_cast<char*>(&holder) + field.offset);
}

template <typename T, typename Holder>
const T& FieldRef(const Holder& holder, const Field& field) {
    return *reinterpret_cast<const T*>(reinterpret_cast<const char*>(&holder) + field.offset);
}

// Reading trims blanks around every value, so a path that begins or ends with one is written in
// double quotes, which reading takes off again; so is a path that is itself in quotes. A path
// never holds a double quote on Windows, so no ordinary file reads differently for it.
bool IsBlank(char ch) {
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n';
}

bool IsQuoted(std::string_view text) {
    return text.size() >= 2 && text.front() == '"' && text.back() == '"';
}

std::string PathText(const wchar_t* path) {
    const std::string text = zuvo::text::WideToUtf8(path);
    if (!text.empty() && (IsBlank(text.front()) || IsBlank(text.back()) || IsQuoted(text))) {
        return '"' + text + '"';
    }
    return text;
}

// The path a value names: without the quotes PathText adds, and only up to a zero character,
// where the record's path ends anyway (what followed it would not survive a save).
std::wstring PathOfValue(std::string_view text) {
    if (IsQuoted(text)) {
        text = text.substr(1, text.size() - 2);
    }
    std::wstring path = zuvo::text::Utf8ToWide(text);
    path.resize(std::min(path.size(), path.find(L'\0')));
    return path;
}

std::string FormatDouble(double value) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof(text), value);
    return std::string(text, result.ptr);
}

template <typename Holder>
std::string FieldText(const Holder& record, const Field& field) {
    switch (field.kind) {
        case Kind::Int:
            return std::to_string(FieldRef<int>(record, field));
        case Kind::Int64:
            return std::to_string(FieldRef<int64_t>(record, field));
        case Kind::UInt32:
            return std::to_string(FieldRef<uint32_t>(record, field));
        case Kind::Double:
            return FormatDouble(FieldRef<double>(record, field));
        case Kind::Path:
            return PathText(&FieldRef<wchar_t>(record, field));
    }
    return std::string();
}

const char* KindDescription(Kind kind) {
    return kind == Kind::Double ? "a number" : "a whole number";
}

template <typename T>
bool ParseNumber(const std::string& text, int typeCode, const Field& field, T& value) {
    T parsed{};
    if (DigtalStringToValue(text.c_str(), -1, &parsed, typeCode) == 0) {
        return false;
    }
    const double asDouble = static_cast<double>(parsed);
    if (!(asDouble >= field.low && asDouble <= field.high)) {
        return false;
    }
    value = parsed;
    return true;
}

// Stores the value of one record into the field; false when it is refused.
template <typename Holder>
bool StoreField(const std::string& text, const Field& field, Holder& record) {
    switch (field.kind) {
        case Kind::Int:
            return ParseNumber(text, DIGITAL_TYPE_INT32, field, FieldRef<int>(record, field));
        case Kind::Int64:
            return ParseNumber(text, DIGITAL_TYPE_INT64, field, FieldRef<int64_t>(record, field));
        case Kind::UInt32:
            return ParseNumber(text, DIGITAL_TYPE_UINT32, field, FieldRef<uint32_t>(record, field));
        case Kind::Double:
            return ParseNumber(text, DIGITAL_TYPE_DOUBLE, field, FieldRef<double>(record, field));
        case Kind::Path: {
            const std::wstring path = PathOfValue(text);
            if (path.size() >= ZUVO_MAX_PATH) {
                return false;
            }
            wchar_t* out = &FieldRef<wchar_t>(record, field);
            std::wmemset(out, L'\0', ZUVO_MAX_PATH);
            std::wmemcpy(out, path.c_str(), path.size());
            return true;
        }
    }
    return false;
}

std::string Refusal(const IniDocument::Record& entry, const std::string& expected,
                    const std::string& kept) {
    return "line " + std::to_string(entry.line) + ": " + entry.key + " = \"" + entry.value +
           "\" is not " + expected + "; " + kept + " is kept";
}

std::string RangeText(const Field& field) {
    if (field.kind == Kind::Path) {
        return "a path of at most " + std::to_string(ZUVO_MAX_PATH - 1) + " characters";
    }
    return std::string(KindDescription(field.kind)) + " from " + FormatDouble(field.low) + " to " +
           FormatDouble(field.high);
}

std::string RegisterKey(int index) {
    char key[16];
    std::snprintf(key, sizeof(key), "Register%02d", index);
    return key;
}

// "0x0010, 0x00000020": a 16-bit address and a 32-bit value.
bool ParseRegister(const std::string& text, tagRADARREGISTER& entry) {
    uint32_t numbers[2] = {};
    if (ParseDigitalArrayValue(text.c_str(), -1, ",", 1, 1, DIGITAL_TYPE_UINT32, numbers, 2) != 2 ||
        numbers[0] > 0xFFFF) {
        return false;
    }
    entry.Address = static_cast<uint16_t>(numbers[0]);
    entry.Reserved = 0;
    entry.Value = numbers[1];
    return true;
}

int ParseRegisters(const IniDocument& document, tagRADARPARAMETER& record,
                   std::vector<std::string>& problems) {
    int recognised = 0;
    const IniDocument::Record* countEntry = document.Find(kRegisterCountKey);
    if (countEntry == nullptr) {
        return 0;
    }
    ++recognised;
    int count = 0;
    if (DigtalStringToValue(countEntry->value.c_str(), -1, &count, DIGITAL_TYPE_INT32) == 0 ||
        count < 0 || count > RADAR_MAX_REGISTERS) {
        problems.push_back(
            Refusal(*countEntry, "a whole number from 0 to " + std::to_string(RADAR_MAX_REGISTERS),
                    "the default register table"));
        return recognised;
    }
    tagRADARREGISTER table[RADAR_MAX_REGISTERS] = {};
    for (int i = 0; i < count; ++i) {
        const IniDocument::Record* entry = document.Find(RegisterKey(i));
        if (entry == nullptr) {
            problems.push_back(RegisterKey(i) + " is missing; the default register table is kept");
            return recognised;
        }
        if (!ParseRegister(entry->value, table[i])) {
            problems.push_back(Refusal(*entry, "\"address, value\" (16 and 32 bits)",
                                       "the default register table"));
            return recognised;
        }
    }
    record.RegisterCount = count;
    std::memcpy(record.Registers, table, sizeof(table));
    return recognised;
}

void ClampDefaultGates(tagRADARPARAMETER& record, std::vector<std::string>& problems) {
    const int last = record.GateCount - 1;
    for (int* gate : {&record.DefaultGateMin, &record.DefaultGateMax}) {
        if (*gate > last) {
            problems.push_back(
                (gate == &record.DefaultGateMin ? "DefaultGateMin " : "DefaultGateMax ") +
                std::to_string(*gate) + " lies beyond GateCount " +
                std::to_string(record.GateCount) + "; " + std::to_string(last) + " is used");
            *gate = last;
        }
    }
}

// The numeric value of a field, for range checks.
template <typename Holder>
double NumericValue(const Holder& record, const Field& field) {
    switch (field.kind) {
        case Kind::Int:
            return FieldRef<int>(record, field);
        case Kind::Int64:
            return static_cast<double>(FieldRef<int64_t>(record, field));
        case Kind::UInt32:
            return FieldRef<uint32_t>(record, field);
        case Kind::Double:
            return FieldRef<double>(record, field);
        case Kind::Path:
            break;
    }
    return 0.0;
}

// Reads the fields of table that the document names into holder; answers how many it names.
template <typename Holder, size_t N>
int ParseFields(const IniDocument& document, const Field (&table)[N], Holder& holder,
                std::vector<std::string>& problems) {
    const Holder defaults = holder;
    int recognised = 0;
    for (const Field& field : table) {
        const IniDocument::Record* entry = document.Find(field.key);
        if (entry == nullptr) {
            continue;
        }
        ++recognised;
        if (!StoreField(entry->value, field, holder)) {
            problems.push_back(
                Refusal(*entry, RangeText(field), "the default " + FieldText(defaults, field)));
        }
    }
    return recognised;
}

template <typename Holder, size_t N>
void RenderFields(IniWriter& writer, const Field (&table)[N], const Holder& holder) {
    const char* section = "";
    for (const Field& field : table) {
        if (std::strcmp(section, field.section) != 0) {
            section = field.section;
            writer.Section(section);
            for (const auto& comment : kSectionComments) {
                if (std::strcmp(comment[0], section) == 0) {
                    writer.Comment(comment[1]);
                }
            }
        }
        writer.Value(field.key, FieldText(holder, field));
    }
}

template <typename Holder, size_t N>
bool ValidateFields(const Field (&table)[N], const Holder& holder, std::string& problem) {
    for (const Field& field : table) {
        if (field.kind == Kind::Path) {
            const wchar_t* path = &FieldRef<wchar_t>(holder, field);
            if (std::find(path, path + ZUVO_MAX_PATH, L'\0') == path + ZUVO_MAX_PATH) {
                problem = std::string(field.key) + " is not terminated";
                return false;
            }
            continue;
        }
        const double value = NumericValue(holder, field);
        if (!(value >= field.low && value <= field.high)) {
            problem =
                std::string(field.key) + " " + FormatDouble(value) + " is not " + RangeText(field);
            return false;
        }
    }
    return true;
}

bool ReadConfigurationText(const std::wstring& path, std::string& text) {
    uint8_t* rawData = nullptr;
    const int64_t size = ReadFileDataW(path.c_str(), &rawData);
    const UniqueFileData data(rawData);
    if (!data) {
        return false;
    }
    const uint8_t* bytes = data.get();
    if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        text = zuvo::text::WideToUtf8(
            zuvo::text::Utf16LeToWide(bytes + 2, static_cast<size_t>(size - 2)));
    } else {
        text.assign(reinterpret_cast<const char*>(bytes), static_cast<size_t>(size));
    }
    return true;
}

// Names the temporary file beside path may take, tried in turn. Anything may stand under the
// first one, a folder of that name above all (the raw-data folder may be given any name): a
// name that cannot be opened as a file is passed over, so one obstacle never stops every save.
constexpr int kTemporaryNames = 8;

std::wstring TemporaryName(const std::wstring& path, int attempt) {
    return attempt == 0 ? path + L".tmp" : path + L"." + std::to_wstring(attempt) + L".tmp";
}

bool WriteFileWhole(const std::wstring& path, const std::string& text, std::string& error) {
    std::wstring temporary;
    fs::UniqueFile file;
    for (int attempt = 0; attempt < kTemporaryNames && !file; ++attempt) {
        temporary = TemporaryName(path, attempt);
        file = fs::OpenFile(temporary, "wb");
    }
    if (!file) {
        error = "cannot create " + fs::ToMessageText(temporary);
        return false;
    }
    {
        const bool written = std::fwrite(text.data(), 1, text.size(), file.get()) == text.size() &&
                             fs::FlushToDisk(file.get());
        if (std::fclose(file.release()) != 0 || !written) {
            fs::RemoveFile(temporary);
            error = "cannot write " + fs::ToMessageText(temporary);
            return false;
        }
    }
    if (!fs::MoveFileOver(temporary, path)) {
        fs::RemoveFile(temporary);
        error = "cannot replace " + fs::ToMessageText(path);
        return false;
    }
    return true;
}

}  // namespace

void SetDefaultParameters(tagRADARPARAMETER& record) {
    std::memset(&record, 0, sizeof(record));
    record.ReadFromFile = 0;
    record.SourceType = RADAR_SOURCE_NONE;
    record.DeviceNumber = 1;
    record.SaveRawData = 0;
    std::wcscpy(record.DataPath, L"SaveData");
    record.ProcessSite = RADAR_PROCESS_SITE_HOST;
    record.HostAlgorithm = RADAR_HOST_ALGORITHM_MTT;
    record.SensorAlgorithm = 0;
    record.SensorAlgorithmOption = 0;
    record.SensorAlgorithmCode = 20;
    record.HostProcessFlag1 = 1;
    record.HostProcessFlag2 = 1;
    record.HostProcessValue = 0;
    record.AlgorithmSelectFlag = 1;
    record.CmdModeParam = 1;
    record.CmdModeTimeFactor = 20;
    record.GateCount = 32;
    record.DefaultGateMin = 0;
    record.DefaultGateMax = 31;
    record.BoundGateLimit = 32;
    record.RangeResolution = 0.25;
    record.FramePeriodMs = 50;
    record.LightPort = 3;
    record.LightBaudRate = 9600;
    const tagRADARREGISTER registers[] = {
        {0x0010, 0, 32},   // range gates
        {0x0011, 0, 50},   // frame period, ms
        {0x0020, 0, 60},   // half opening angle, degrees
        {0x0030, 0, 0x1},  // tracking enabled
    };
    record.RegisterCount = static_cast<int>(sizeof(registers) / sizeof(registers[0]));
    std::memcpy(record.Registers, registers, sizeof(registers));
}

void SetDefaultEmulatorSettings(tagEMULATORSETTINGS& settings) {
    settings.EmulatorSeed = 20241209;
    settings.EmulatorPeople = 3;
    settings.EmulatorFixedReflector = 0;
    settings.EmulatorNoise = 0.05;
    settings.EmulatorMissRate = 0.05;
    settings.EmulatorFalseAlarmRate = 0.3;
    settings.EmulatorScriptedPeople = 0;
    settings.EmulatorLeave1S = 0.0;
    settings.EmulatorLeave2S = 0.0;
    settings.EmulatorLeave3S = 0.0;
    settings.EmulatorObjects = 0;
    settings.EmulatorObjectLifeS = 0.0;
    settings.EmulatorDeliveryReportS = 0;
}

bool ParseConfiguration(std::string_view text, Configuration& configuration,
                        std::vector<std::string>& problems) {
    const IniDocument document = IniDocument::Parse(text, problems);
    tagRADARPARAMETER record;
    SetDefaultParameters(record);
    tagEMULATORSETTINGS emulator;
    SetDefaultEmulatorSettings(emulator);
    int recognised = ParseFields(document, kRecordFields, record, problems);
    const int emulatorKeys = ParseFields(document, kEmulatorFields, emulator, problems);
    recognised += emulatorKeys + ParseRegisters(document, record, problems);
    if (recognised == 0) {
        problems.push_back("no field of the parameter record found");
        return false;
    }
    ClampDefaultGates(record, problems);
    configuration.record = record;
    configuration.emulator.reset();
    if (emulatorKeys > 0) {
        configuration.emulator = emulator;
    }
    return true;
}

bool ParseParameters(std::string_view text, tagRADARPARAMETER& record,
                     std::vector<std::string>& problems) {
    Configuration configuration;
    if (!ParseConfiguration(text, configuration, problems)) {
        return false;
    }
    record = configuration.record;
    return true;
}

std::string RenderParameters(const tagRADARPARAMETER& record, const tagEMULATORSETTINGS* emulator) {
    IniWriter writer;
    writer.Comment("Radar processing library configuration; one key per field.");
    RenderFields(writer, kRecordFields, record);
    if (emulator != nullptr) {
        RenderFields(writer, kEmulatorFields, *emulator);
    }
    writer.Section(kRegisterSection);
    writer.Comment("RegisterNN = address, value (hexadecimal)");
    const int count =
        record.RegisterCount < 0 ? 0 : std::min(record.RegisterCount, RADAR_MAX_REGISTERS);
    writer.Value(kRegisterCountKey, std::to_string(count));
    for (int i = 0; i < count; ++i) {
        char value[32];
        std::snprintf(value, sizeof(value), "0x%04X, 0x%08" PRIX32, record.Registers[i].Address,
                      record.Registers[i].Value);
        writer.Value(RegisterKey(i), value);
    }
    return writer.Text();
}

bool LoadConfiguration(const std::wstring& path, Configuration& configuration,
                       std::vector<std::string>& problems) {
    std::string text;
    if (!ReadConfigurationText(path, text)) {
        problems.push_back("the file cannot be read");
        return false;
    }
    return ParseConfiguration(text, configuration, problems);
}

bool LoadParameters(const std::wstring& path, tagRADARPARAMETER& record,
                    std::vector<std::string>& problems) {
    Configuration configuration;
    if (!LoadConfiguration(path, configuration, problems)) {
        return false;
    }
    record = configuration.record;
    return true;
}

bool SaveParameters(const std::wstring& path, const tagRADARPARAMETER& record, std::string& error) {
    // The old file's own problems were reported when it was loaded; here they do not matter.
    Configuration previous;
    std::vector<std::string> ignored;
    std::string oldText;
    const bool hadEmulator = ReadConfigurationText(path, oldText) &&
                             ParseConfiguration(oldText, previous, ignored) &&
                             previous.emulator.has_value();
    return WriteFileWhole(
        path, RenderParameters(record, hadEmulator ? &*previous.emulator : nullptr), error);
}

bool ValidateParameters(const tagRADARPARAMETER& record, std::string& problem) {
    if (!ValidateFields(kRecordFields, record, problem)) {
        return false;
    }
    if (record.RegisterCount < 0 || record.RegisterCount > RADAR_MAX_REGISTERS) {
        problem = "RegisterCount " + std::to_string(record.RegisterCount) + " is not from 0 to " +
                  std::to_string(RADAR_MAX_REGISTERS);
        return false;
    }
    return true;
}

bool ValidateEmulatorSettings(const tagEMULATORSETTINGS& settings, std::string& problem) {
    return ValidateFields(kEmulatorFields, settings, problem);
}

}  // namespace zuvo::radar
