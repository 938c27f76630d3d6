// The Windows side of the settings file: the ANSI code page, wide program folders (UTF-16 with
// surrogate pairs), backslash paths and replacing the file with the Win32 file functions.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>

#include "framework/Handles.h"
#include "settings/AppConfig.h"
#include "settings/LanguageSetting.h"
#include "settings/SettingsFile.h"
#include "settings/XMLParser.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WholeFile.h"
#include "text/CodePage.h"

namespace zuvo::settings {
namespace {

using zuvo::test::ReadWholeFile;
using zuvo::test::WriteWholeFile;

// A fresh program folder whose name needs UTF-16 surrogate pairs and is outside every ANSI
// code page.
class WindowsSettingsFile : public ::testing::Test {
protected:
    std::filesystem::path SettingsPath() const { return folder / L"appConfig.xml"; }

    const zuvo::test::TempFolder temp{u8"settings \u8BBE\U0001F600"};
    const std::filesystem::path folder = temp.Path();
    const std::wstring programFolder = folder.wstring();
    XMLParser document;
    AppConfig record;
};

TEST_F(WindowsSettingsFile, StoredFoldersUseBackslashesAndResolveInWideFolders) {
    WriteWholeFile(SettingsPath(), "<AppConfig SaveData=\"1\" SaveDataPath=\"Rec\\..\\Raw/Day\"/>");
    ASSERT_EQ(LoadDocument(document, programFolder.c_str()), SettingsSource::File);
    SetDefaultSaveDataPath(record, programFolder.c_str());
    LoadSettings(document, programFolder.c_str(), record);
    EXPECT_EQ(std::wstring(record.SaveDataPath), programFolder + L"\\Raw\\Day");
    EXPECT_NE(GetFileAttributesW((programFolder + L"\\Raw\\Day").c_str()), INVALID_FILE_ATTRIBUTES);

    ASSERT_TRUE(SaveRecordingSettings(document, programFolder.c_str(), record));
    EXPECT_EQ(ReadWholeFile(SettingsPath()),
              "<?xml version=\"1.0\"?>\n<AppConfig SaveData=\"1\" SaveDataPath=\"Raw\\Day\" />\n");
}

TEST_F(WindowsSettingsFile, SavingReplacesTheFileAndLeavesNoTemporary) {
    WriteWholeFile(SettingsPath(), "<AppConfig SaveData=\"0\"/>");
    LoadDocument(document, programFolder.c_str());
    ASSERT_TRUE(SaveGateRange(document, programFolder.c_str(), 1.0, 12.5));
    EXPECT_EQ(ReadWholeFile(SettingsPath()),
              "<?xml version=\"1.0\"?>\n<AppConfig SaveData=\"0\" ObjectWnd_GateMin=\"1.0\" "
              "ObjectWnd_GateMax=\"12.5\" />\n");
    EXPECT_EQ(GetFileAttributesW((programFolder + L"\\appConfig.xml.tmp").c_str()),
              INVALID_FILE_ATTRIBUTES);
}

TEST_F(WindowsSettingsFile, AShortHoldOnTheFileIsWaitedFor) {
    // Like a virus scanner: another program opens the file without delete sharing and lets it
    // go a moment later.
    WriteWholeFile(SettingsPath(), "<AppConfig SaveData=\"0\"/>");
    LoadDocument(document, programFolder.c_str());
    zuvo::UniqueFileHandle holder(CreateFileW(SettingsPath().c_str(), GENERIC_READ, FILE_SHARE_READ,
                                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                              nullptr));
    ASSERT_TRUE(holder);
    SetDefaultSaveDataPath(record, programFolder.c_str());
    std::thread release([&holder] {
        Sleep(60);
        holder.reset();
    });
    record.SaveData = 1;
    const bool saved = SaveRecordingSettings(document, programFolder.c_str(), record);
    release.join();
    EXPECT_TRUE(saved);
    EXPECT_EQ(ReadWholeFile(SettingsPath()),
              "<?xml version=\"1.0\"?>\n<AppConfig SaveData=\"1\" SaveDataPath=\"SaveData\" />\n");
}

TEST_F(WindowsSettingsFile, AFileLockedForLongKeepsItsContents) {
    WriteWholeFile(SettingsPath(), "<AppConfig SaveData=\"0\"/>");
    LoadDocument(document, programFolder.c_str());
    zuvo::UniqueFileHandle locker(CreateFileW(SettingsPath().c_str(), GENERIC_READ, FILE_SHARE_READ,
                                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                              nullptr));
    ASSERT_TRUE(locker);
    record.SaveData = 1;
    const bool saved = SaveRecordingSettings(document, programFolder.c_str(), record);
    locker.reset();
    EXPECT_FALSE(saved);
    EXPECT_EQ(ReadWholeFile(SettingsPath()), "<AppConfig SaveData=\"0\"/>");
    EXPECT_EQ(GetFileAttributesW((programFolder + L"\\appConfig.xml.tmp").c_str()),
              INVALID_FILE_ATTRIBUTES);
}

TEST_F(WindowsSettingsFile, StoredFoldersInUtf8AreReadAsUtf8InAnyCodePage) {
    // Hand-edited UTF-8 files, with and without saying so: decoded in a Western code page the
    // bytes would name a garbled folder.
    for (const std::string& declaration :
         {std::string("<?xml version=\"1.0\"?>\n"),
          std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"),
          std::string("\xef\xbb\xbf")}) {
        XMLParser parsed;
        AppConfig read;
        WriteWholeFile(SettingsPath(), declaration +
                                           "<AppConfig SaveDataPath=\"M\xc3\xbcller "
                                           "\xe6\x95\xb0\xe6\x8d\xae\"/>");
        LoadDocument(parsed, programFolder.c_str());
        LoadSettings(parsed, programFolder.c_str(), read);
        EXPECT_EQ(std::wstring(read.SaveDataPath), programFolder + L"\\M\u00fcller \u6570\u636e")
            << declaration;
    }
    EXPECT_NE(GetFileAttributesW((programFolder + L"\\M\u00fcller \u6570\u636e").c_str()),
              INVALID_FILE_ATTRIBUTES);

    // What the program writes reads back as it was, also text whose code-page bytes happen to
    // be valid UTF-8 (the bytes of "\u00fc" decoded in the code page) and text the code page
    // cannot hold.
    std::wstring lookalike;
    ASSERT_TRUE(zuvo::text::PathToWide("\xc3\xbc", lookalike));
    for (const std::wstring& name :
         {std::wstring(L"Caf\u00e9"), lookalike, std::wstring(L"\u56de\u653e\U0001F600")}) {
        const std::wstring chosen = programFolder + L"\\" + name;
        ASSERT_TRUE(SavePlaybackFolder(document, programFolder.c_str(), chosen.c_str()));
        XMLParser reread;
        LoadDocument(reread, programFolder.c_str());
        EXPECT_EQ(ReadPlaybackFolder(reread), chosen);
    }
}

TEST_F(WindowsSettingsFile, TheRawDataFolderIsNeverCutInsideACharacter) {
    // A character of two UTF-16 units at units 258 and 259: the cut at 259 units drops it
    // whole.
    const size_t padding = 258 - (programFolder.size() + 1);
    const std::string stored = std::string(padding, 'a') + "\xf0\x9f\x98\x80" + "bbbb";
    WriteWholeFile(SettingsPath(), "<AppConfig SaveDataPath=\"" + stored + "\"/>");
    LoadDocument(document, programFolder.c_str());
    LoadSettings(document, programFolder.c_str(), record);
    EXPECT_EQ(std::wstring(record.SaveDataPath),
              programFolder + L"\\" + std::wstring(padding, L'a'));
}

TEST(WindowsCodePage, TheLanguageTextIsReadInTheCodePage) {
    // The first non-ASCII character this code page holds (Western, then CJK code pages).
    std::wstring wide;
    std::string narrow;
    for (const wchar_t* candidate : {L"\u00e9", L"\u20ac", L"\u4e2d"}) {
        if (zuvo::text::PathToNarrow(candidate, narrow)) {
            wide = candidate;
            break;
        }
    }
    ASSERT_FALSE(wide.empty()) << "no non-ASCII character in the code page";
    XMLParser document;
    const std::string text = "<AppConfig Language=\"x-" + narrow + "\"/>";
    document.LoadFromData(text.data(), text.size());
    EXPECT_EQ(ReadLanguageLocale(document), L"x-" + wide);
}

}  // namespace
}  // namespace zuvo::settings
