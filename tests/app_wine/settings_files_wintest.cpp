// ZUVO_MTT.exe on settings files in other encodings: two starts and exits leave the file's
// bytes as they were and create the raw-data folder under its real name.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/support/ProgramDriver.h"

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

}  // namespace
