// ZUVO_MTT.exe on settings files in other encodings: two starts and exits leave the file's
// bytes as they were and create the raw-data folder under its real name. And on every
// settings file the fuzzers keep: the program starts, runs and ends, and never loses the
// operator's areas without keeping the file as it was.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "resources/resource.h"
#include "tests/support/LinePeer.h"
#include "tests/support/ProgramDriver.h"
#include "tests/support/WholeFile.h"

namespace {

using zuvo::test::ProgramFolder;
using zuvo::test::RunningProgram;

void StartAndClose(const ProgramFolder& folder) {
    RunningProgram program(folder);
    ASSERT_NE(program.Window(), nullptr);
    program.Click(IDC_CLOSE);
    EXPECT_EQ(program.WaitForExit(20000), 0u);
}

// The names of the folders in the program folder.
std::vector<std::wstring> FolderNames(const ProgramFolder& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(folder.File(L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            names.emplace_back(found.cFileName);
        }
    } while (FindNextFileW(search, &found) != 0);
    FindClose(search);
    return names;
}

TEST(SettingsFiles, OtherEncodingsSurviveStartsAndExits) {
    struct Case {
        const char* name;
        std::string file;
        std::string afterExit;
        const wchar_t* rawDataFolder;
    };
    const Case cases[] = {
        {"ISO-8859-1",
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
         "<AppConfig Owner=\"M\xfcller\" SaveDataPath=\"Daten M\xfcller\" />\n",
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
         "<AppConfig Owner=\"M\xfcller\" SaveDataPath=\"Daten M\xfcller\" SaveData=\"0\" />\n",
         L"Daten M\u00fcller"},
        {"UTF-8 edited by hand",
         "<?xml version=\"1.0\"?>\n"
         "<AppConfig SaveDataPath=\"M\xc3\xbcller \xe6\x95\xb0\xe6\x8d\xae\" />\n",
         "<?xml version=\"1.0\"?>\n"
         "<AppConfig SaveDataPath=\"M\xc3\xbcller \xe6\x95\xb0\xe6\x8d\xae\" SaveData=\"0\" />\n",
         L"M\u00fcller \u6570\u636e"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramFolder folder;
        ASSERT_TRUE(folder.Write(L"appConfig.xml", c.file));
        StartAndClose(folder);
        StartAndClose(folder);
        EXPECT_EQ(folder.Read(L"appConfig.xml"), c.afterExit);
        bool found = false;
        for (const std::wstring& name : FolderNames(folder)) {
            found = found || name == c.rawDataFolder;
            // UTF-8 read in a Western code page starts its letters with 'Ã' (0xC3).
            EXPECT_EQ(name.find(L'\u00c3'), std::wstring::npos) << "a garbled folder was created";
        }
        EXPECT_TRUE(found) << "the raw-data folder exists under its real name";
    }
}

// The files of a folder of the fuzzers' corpus (the source tree's fuzz/corpus/<name>), with
// their names.
std::vector<std::pair<std::wstring, std::string>> CorpusFiles(const char* name) {
    const std::string linux = std::string(ZUVO_FUZZ_CORPUS_DIR) + "/" + name;
    const std::wstring folder = zuvo::test::OnDriveZ(std::wstring(linux.begin(), linux.end()));
    std::vector<std::pair<std::wstring, std::string>> files;
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return files;
    }
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            files.emplace_back(found.cFileName,
                               zuvo::test::ReadWholeFile(folder + L"\\" + found.cFileName));
        }
    } while (FindNextFileW(search, &found) != 0);
    FindClose(search);
    return files;
}

size_t Count(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

TEST(SettingsFiles, EveryFuzzFindingStartsTheProgramAndLosesNoAreas) {
    const auto files = CorpusFiles("settings_file");
    ASSERT_GE(files.size(), 5u) << ZUVO_FUZZ_CORPUS_DIR;
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(std::string(name.begin(), name.end()));
        ProgramFolder folder;
        ASSERT_TRUE(folder.Write(L"appConfig.xml", bytes));
        StartAndClose(folder);
        const std::string after = folder.Read(L"appConfig.xml");
        const std::string kept = folder.Read(L"appConfig.xml.bak");
        for (const char* element : {"<MonitorArea", "<AlgorithmArea", "<MonitorPoint"}) {
            if (Count(after, element) < Count(bytes, element)) {
                EXPECT_EQ(kept, bytes) << element << " elements were dropped without a copy";
            }
        }
    }
}

TEST(SettingsFiles, EveryRadarConfigurationTheFuzzersKeepStartsTheProgram) {
    const auto files = CorpusFiles("radar_config");
    ASSERT_GE(files.size(), 5u) << ZUVO_FUZZ_CORPUS_DIR;
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(std::string(name.begin(), name.end()));
        ProgramFolder folder;
        ASSERT_TRUE(folder.Write(L"Radar_Config.ini", bytes));
        RunningProgram program(folder);
        ASSERT_NE(program.Window(), nullptr);
        // Detection answers either way: the emulator found, or the file refused.
        program.Click(IDC_DETECT_DEVICE);
        HWND box = nullptr;
        EXPECT_TRUE(RunningProgram::WaitUntil(
            [&] {
                box = zuvo::test::FindProcessWindow(program.ProcessId(), L"#32770", L"Prompt");
                if (box == nullptr) {
                    box = zuvo::test::FindProcessWindow(program.ProcessId(), L"#32770", L"Error");
                }
                return box != nullptr && IsWindowVisible(box);
            },
            30000));
        if (box != nullptr) {
            zuvo::test::PressDialogButton(box, IDOK);
            EXPECT_TRUE(RunningProgram::WaitUntil([&] { return !IsWindow(box); }, 5000));
        }
        program.Click(IDC_CLOSE);
        EXPECT_EQ(program.WaitForExit(20000), 0u);
    }
}

}  // namespace
