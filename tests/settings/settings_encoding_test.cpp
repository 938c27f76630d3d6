// Settings files in other encodings and long paths: what a start and an exit do to the file's
// bytes and to the raw-data folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "settings/AppConfig.h"
#include "settings/SettingsFile.h"
#include "settings/XMLParser.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WholeFile.h"
#include "text/Unicode.h"

namespace zuvo::settings {
namespace {

using zuvo::test::ReadWholeFile;
using zuvo::test::TempFolder;
using zuvo::test::WriteWholeFile;

// UTF-16 little endian of ASCII text, with or without byte order mark.
std::string Utf16Le(const std::string& ascii, bool byteOrderMark) {
    std::string bytes = byteOrderMark ? "\xff\xfe" : "";
    for (char ch : ascii) {
        bytes.push_back(ch);
        bytes.push_back('\0');
    }
    return bytes;
}

class SettingsEncodingTest : public ::testing::Test {
protected:
    std::filesystem::path SettingsPath() const { return folder / "appConfig.xml"; }
    std::string FileText() const { return ReadWholeFile(SettingsPath()); }
    const wchar_t* Folder() const { return programFolder.c_str(); }

    // One start and exit of the program: load, read the settings, store the recording
    // settings as the main window's destruction does.
    void StartAndExit() {
        XMLParser document;
        AppConfig record;
        LoadDocument(document, Folder());
        SetDefaultSaveDataPath(record, Folder());
        LoadSettings(document, Folder(), record);
        SaveRecordingSettings(document, Folder(), record);
    }

    // Starts the program on a settings file holding text; answers the raw-data folder.
    std::wstring RawDataFolderAfterStart(const std::string& text) {
        WriteWholeFile(SettingsPath(), text);
        XMLParser document;
        AppConfig record;
        LoadDocument(document, Folder());
        SetDefaultSaveDataPath(record, Folder());
        LoadSettings(document, Folder(), record);
        return record.SaveDataPath;
    }

    // The entries of the program folder (names only).
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    TempFolder folder;
    std::wstring programFolder = folder.Path().wstring();
};

TEST_F(SettingsEncodingTest, StartAndExitKeepTheFilesEncoding) {
    struct Case {
        const char* name;
        std::string file;
        std::string afterExit;
    };
    const Case cases[] = {
        {"ISO-8859-1",
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
         "<AppConfig Owner=\"M\xfcller\" SaveData=\"0\" />\n",
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
         "<AppConfig Owner=\"M\xfcller\" SaveData=\"0\" SaveDataPath=\"SaveData\" />\n"},
        {"latin1 with a Latin-1 raw-data folder",
         "<?xml version=\"1.0\" encoding=\"latin1\"?>\n"
         "<AppConfig SaveDataPath=\"Daten M\xfcller\" />\n",
         "<?xml version=\"1.0\" encoding=\"latin1\"?>\n"
         "<AppConfig SaveDataPath=\"Daten M\xfcller\" SaveData=\"0\" />\n"},
        {"UTF-16 with byte order mark",
         Utf16Le("<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<AppConfig SaveData=\"0\" />\n",
                 true),
         Utf16Le("<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n"
                 "<AppConfig SaveData=\"0\" SaveDataPath=\"SaveData\" />\n",
                 true)},
        {"UTF-8 with a non-ASCII raw-data folder",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<AppConfig SaveDataPath=\"M\xc3\xbcller \xe6\x95\xb0\xe6\x8d\xae\" />\n",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<AppConfig SaveDataPath=\"M\xc3\xbcller \xe6\x95\xb0\xe6\x8d\xae\" SaveData=\"0\" />\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(folder / "SaveData");
        WriteWholeFile(SettingsPath(), c.file);
        StartAndExit();
        EXPECT_EQ(FileText(), c.afterExit) << "first cycle";
        StartAndExit();
        EXPECT_EQ(FileText(), c.afterExit) << "second cycle";
    }
    EXPECT_TRUE(std::filesystem::is_directory(folder / "Daten M\xc3\xbcller"));
    EXPECT_TRUE(std::filesystem::is_directory(folder / "M\xc3\xbcller \xe6\x95\xb0\xe6\x8d\xae"));
}

TEST_F(SettingsEncodingTest, TextLatin1CannotHoldIsNotLost) {
    WriteWholeFile(SettingsPath(),
                   "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
                   "<AppConfig Owner=\"M\xfcller\" />\n");
    XMLParser document;
    LoadDocument(document, Folder());

    // A folder Latin-1 can hold keeps the file in Latin-1.
    const std::wstring cafe = programFolder + L"/Caf\u00e9";
    ASSERT_TRUE(SavePlaybackFolder(document, Folder(), cafe.c_str()));
    EXPECT_EQ(FileText(),
              "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
              "<AppConfig Owner=\"M\xfcller\" DataFilePath=\"" +
                  folder.Path().string() + "/Caf\xe9\" />\n");

    // One it cannot hold turns the file into UTF-8, and its declaration says so.
    const std::wstring chinese = programFolder + L"/回放 数据";
    ASSERT_TRUE(SavePlaybackFolder(document, Folder(), chinese.c_str()));
    EXPECT_EQ(FileText(),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<AppConfig Owner=\"M\xc3\xbcller\" DataFilePath=\"" +
                  folder.Path().string() + "/回放 数据\" />\n");
    EXPECT_EQ(ReadPlaybackFolder(document), chinese);

    XMLParser reread;
    LoadDocument(reread, Folder());
    EXPECT_EQ(ReadPlaybackFolder(reread), chinese);
    EXPECT_STREQ(reread.GetRootNode().GetAttributeText("Owner"), "M\xc3\xbcller");
}

TEST_F(SettingsEncodingTest, AFolderThatDoesNotDecodeIsNeverCreated) {
    // A lone lead byte, a truncated sequence and an overlong form.
    const std::string file = "<AppConfig SaveDataPath=\"Rec \xe6\x95 \xc0\xaf \xff\" />";
    WriteWholeFile(SettingsPath(), file);
    const std::vector<std::string> before = Entries();
    EXPECT_EQ(RawDataFolderAfterStart(file), L"");
    EXPECT_EQ(Entries(), before);
}

TEST_F(SettingsEncodingTest, LongFoldersCountCharactersNotBytes) {
    // Folder names of 19 Chinese characters (57 bytes in UTF-8, well inside the file system's
    // limit for one name), joined into a relative path of the length wanted.
    const auto chinesePath = [](size_t characters) {
        std::wstring path;
        while (path.size() < characters) {
            path.push_back(path.size() % 20 == 19 ? L'/'
                                                  : static_cast<wchar_t>(0x6570 + path.size() % 7));
        }
        return path;
    };
    // std::filesystem converts wide text with the C locale here, so by hand.
    const auto utf8 = [](const std::wstring& wide) {
        std::string text;
        EXPECT_TRUE(zuvo::text::WideToUtf8Exact(wide, text));
        return text;
    };
    const auto exists = [&](const std::wstring& wide) {
        return std::filesystem::is_directory(std::filesystem::path(utf8(wide)));
    };
    const std::wstring base = programFolder + L"/";

    // A whole path of 200 characters (about 600 bytes in UTF-8) is kept whole and created.
    const std::wstring whole = chinesePath(200 - base.size());
    EXPECT_EQ(RawDataFolderAfterStart("<AppConfig SaveDataPath=\"" + utf8(whole) + "\"/>"),
              base + whole);
    EXPECT_TRUE(exists(base + whole));

    // One of 300 characters is cut at 259.
    const std::wstring tooLong = chinesePath(300 - base.size());
    EXPECT_EQ(RawDataFolderAfterStart("<AppConfig SaveDataPath=\"" + utf8(tooLong) + "\"/>"),
              (base + tooLong).substr(0, 259));
}

}  // namespace
}  // namespace zuvo::settings
