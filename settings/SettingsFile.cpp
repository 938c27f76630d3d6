#include "settings/SettingsFile.h"

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ZUVO_CommonCore.h"
#include "framework/FamilyOwners.h"
#include "settings/FileAccess.h"
#include "text/CodePage.h"
#include "text/Unicode.h"

namespace zuvo::settings {

namespace {

// Names a temporary file beside target may take, tried in turn. Anything may already stand
// under the first one: a folder the operator chose as the raw-data folder (which loading then
// creates), a leftover the process cannot open. A name that cannot be opened as a file is
// passed over, so one such obstacle never stops the settings from being saved.
constexpr int kTemporaryNames = 8;

std::wstring TemporaryName(const std::wstring& target, int attempt) {
    return attempt == 0 ? target + L".tmp" : target + L"." + std::to_wstring(attempt) + L".tmp";
}

// Writes target through a temporary file beside it. write receives the open temporary file
// and must close it; the temporary replaces target only when write answered true.
template <typename Write>
bool WriteFileSafely(const std::wstring& target, Write write) {
    if (target.empty()) {
        return false;
    }
    for (int attempt = 0; attempt < kTemporaryNames; ++attempt) {
        const std::wstring temporary = TemporaryName(target, attempt);
        std::FILE* file = OpenFileForWriting(temporary.c_str());
        if (file == nullptr) {
            continue;
        }
        if (!write(file) || !ReplaceFileAtomically(temporary.c_str(), target.c_str())) {
            RemoveFile(temporary.c_str());
            return false;
        }
        return true;
    }
    return false;
}

bool WriteBytesAndClose(std::FILE* file, const uint8_t* data, size_t size) {
    bool written = std::fwrite(data, 1, size, file) == size && CommitFileToDisk(file);
    written = std::fclose(file) == 0 && written;
    return written;
}

#ifdef _WIN32
constexpr wchar_t kSeparator = L'\\';
#else
constexpr wchar_t kSeparator = L'/';
#endif

bool IsSeparator(wchar_t ch) {
    return ch == L'\\' || ch == L'/';
}

// A stored path as wide text. A file converted on reading (Latin-1, UTF-16, UTF-32) holds the
// characters themselves, as UTF-8. A UTF-8 file holds its own bytes: earlier versions wrote
// paths there in the ANSI code page, a hand-edited file holds UTF-8. Text that is valid UTF-8
// is taken as UTF-8: ANSI text of real folder names (accented Latin letters, GBK Chinese) is
// practically never valid UTF-8, whereas UTF-8 read in a Western code page always decodes,
// into a garbled name, since almost every byte is a character there. So only text that is not
// UTF-8 is decoded in the code page; WideToStoredText makes sure our own writes read back.
// False when neither decodes: such a path names no folder we could know.
bool StoredTextToWide(const XMLParser& document, std::string_view text, std::wstring& out) {
    if (zuvo::text::Utf8ToWideExact(text, out)) {
        return true;
    }
    return document.TextIsFileBytes() && zuvo::text::PathToWide(text, out);
}

// A path as stored text, read back unchanged by StoredTextToWide: the ANSI code page in a
// UTF-8 file, so that earlier versions still read it, unless those bytes would read back as
// other text (they happen to be valid UTF-8) or the code page cannot hold the path; then, as
// in converted files, UTF-8.
bool WideToStoredText(const XMLParser& document, std::wstring_view text, std::string& out) {
    std::wstring back;
    if (document.TextIsFileBytes() && zuvo::text::PathToNarrow(text, out) &&
        StoredTextToWide(document, out, back) && back == text) {
        return true;
    }
    return zuvo::text::WideToUtf8Exact(text, out);
}

// Where a path's pieces start after its root ("C:\\", "C:", "\\\\" of a UNC name, "\\").
struct PathRoot {
    std::wstring text;
    size_t piecesStart = 0;
    size_t fixedPieces = 0;  // the server and the share of a UNC name
};

PathRoot RootOf(const std::wstring& path) {
    PathRoot root;
    const bool drive =
        path.size() >= 2 && path[1] == L':' &&
        ((path[0] >= L'a' && path[0] <= L'z') || (path[0] >= L'A' && path[0] <= L'Z'));
    if (drive) {
        root.text = path.substr(0, 2);
        root.piecesStart = 2;
        if (path.size() > 2 && IsSeparator(path[2])) {
            root.text.push_back(kSeparator);
            root.piecesStart = 3;
        }
    } else if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        root.text.assign(2, kSeparator);
        root.piecesStart = 2;
        root.fixedPieces = 2;
    } else if (!path.empty() && IsSeparator(path[0])) {
        root.text.assign(1, kSeparator);
        root.piecesStart = 1;
    }
    return root;
}

// A stored path made absolute against the program folder, with "." and ".." resolved, as the
// utility library's GetFileAbsolutePathA does. It is done here on wide text because that
// function holds at most ZUVO_MAX_PATH bytes: a folder of 200 Chinese characters is 600 bytes
// of UTF-8 (400 in GBK) and would not fit, although it is well inside the limit of 259
// characters. The result may be longer than that; the caller cuts it.
std::wstring ResolveStoredPath(const std::wstring& stored, const wchar_t* programFolder) {
    const std::wstring combined =
        RootOf(stored).text.empty() ? std::wstring(programFolder) + kSeparator + stored : stored;
    const PathRoot root = RootOf(combined);
    std::vector<std::wstring> pieces;
    size_t at = root.piecesStart;
    while (at < combined.size()) {
        size_t end = at;
        while (end < combined.size() && !IsSeparator(combined[end])) {
            ++end;
        }
        const std::wstring piece = combined.substr(at, end - at);
        at = end + 1;
        if (piece.empty() || piece == L".") {
            continue;
        }
        if (piece != L"..") {
            pieces.push_back(piece);
        } else if (pieces.size() > root.fixedPieces) {
            pieces.pop_back();
        }
    }
    std::wstring result = root.text;
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0) {
            result.push_back(kSeparator);
        }
        result += pieces[i];
    }
    return result;
}

void ReadFlag(const XMLNode& root, const char* name, int32_t& field) {
    root.GetAttributeValue(name, DIGITAL_TYPE_FLAG, &field);
}

void ReadInteger(const XMLNode& root, const char* name, int32_t& field) {
    root.GetAttributeValue(name, DIGITAL_TYPE_INT32, &field);
}

void ReadReal(const XMLNode& root, const char* name, double& field) {
    root.GetAttributeValue(name, DIGITAL_TYPE_DOUBLE, &field);
}

}  // namespace

std::wstring SettingsFilePath(const wchar_t* programFolder) {
    wchar_t path[ZUVO_MAX_PATH];
    if (programFolder == nullptr || CombinePathNameW(path, programFolder, kSettingsFileName) == 0) {
        return std::wstring();
    }
    return path;
}

SettingsSource LoadDocument(XMLParser& document, const wchar_t* programFolder) {
    const std::wstring path = SettingsFilePath(programFolder);
    SettingsSource source = SettingsSource::NoFile;
    uint8_t* rawData = nullptr;
    const int64_t size = path.empty() ? 0 : ReadFileDataW(path.c_str(), &rawData);
    const UniqueFileData data(rawData);
    if (data && size > 0) {
        const pugi::xml_parse_result result =
            document.LoadFromData(data.get(), static_cast<size_t>(size));
        source = result ? SettingsSource::File : SettingsSource::DamagedFile;
        if (!result) {
            const bool kept = WriteFileSafely(path + kDamagedCopySuffix, [&](std::FILE* file) {
                return WriteBytesAndClose(file, data.get(), static_cast<size_t>(size));
            });
            DbgOutputA(2, "appConfig.xml: %s at byte %lld; %s\r\n", result.description(),
                       static_cast<long long>(result.offset),
                       kept ? "the file as read is kept in appConfig.xml.bak"
                            : "appConfig.xml.bak could not be written");
        }
    }
    if (document.GetRootNode().IsEmpty()) {
        document.AppendRootNode(kAppConfigName);
        SaveDocument(document, programFolder);
    }
    return source;
}

XMLNode EnsureRootNode(XMLParser& document) {
    const XMLNode root = document.GetRootNode();
    return root.IsEmpty() ? document.AppendRootNode(kAppConfigName) : root;
}

void LoadSettings(const XMLParser& document, const wchar_t* programFolder, AppConfig& record) {
    const XMLNode root = document.GetRootNode();

    ReadFlag(root, "SaveData", record.SaveData);
    const char* storedPath = root.GetAttributeText("SaveDataPath");
    if (storedPath != nullptr && *storedPath != '\0' && programFolder != nullptr) {
        // A path that does not decode names no folder we know: the folder stays empty and
        // nothing is created, rather than a folder with a garbled name.
        std::wstring stored;
        SetSaveDataPath(record, StoredTextToWide(document, storedPath, stored)
                                    ? ResolveStoredPath(stored, programFolder)
                                    : std::wstring());
    }
    RecursiveCreateDirectoryW(record.SaveDataPath);

    int32_t countType = kSingleObjectTracking;
    ReadInteger(root, "ObjectCountType", countType);
    if (countType == kSingleObjectTracking || countType == kMultiObjectTracking) {
        record.ObjectCountType = countType;
    }

    ReadFlag(root, "ShowAreaStatistics", record.ShowAreaStatistics);
    ReadFlag(root, "ShowRunHealth", record.ShowRunHealth);
    ReadFlag(root, "ShowHeatMap", record.ShowHeatMap);
    ReadFlag(root, "ObjectWnd_TopViewMode", record.ObjectWnd_TopViewMode);
    ReadFlag(root, "ObjectWnd_DrawLocus", record.ObjectWnd_DrawLocus);
    ReadInteger(root, "ObjectWnd_AngleStart", record.ObjectWnd_AngleStart);
    ReadInteger(root, "ObjectWnd_AngleStop", record.ObjectWnd_AngleStop);
    ReadInteger(root, "ObjectWnd_AngleStep", record.ObjectWnd_AngleStep);
    ReadInteger(root, "ObjectWnd_SectorCount", record.ObjectWnd_SectorCount);
    ReadReal(root, "ObjectWnd_GateMin", record.ObjectWnd_GateMin);
    ReadReal(root, "ObjectWnd_GateMax", record.ObjectWnd_GateMax);
    ReadReal(root, "ObjectWnd_RadiusScale", record.ObjectWnd_RadiusScale);
    ReadReal(root, "ObjectWnd_LocusRadiusScale", record.ObjectWnd_LocusRadiusScale);
    ReadInteger(root, "ObjectWnd_DisplayTime", record.ObjectWnd_DisplayTime);
    ReadInteger(root, "ObjectWnd_SmoothCount", record.ObjectWnd_SmoothCount);
    ReadFlag(root, "AlgorithmAreaEnable", record.AlgorithmAreaEnable);
}

bool SaveDocument(const XMLParser& document, const wchar_t* programFolder) {
    const bool saved = WriteFileSafely(SettingsFilePath(programFolder),
                                       [&](std::FILE* file) { return document.SaveToFile(file); });
    if (!saved) {
        // Most callers cannot show it, and the document in memory stays authoritative; the
        // diagnostic line is what tells why the settings did not survive a restart.
        DbgOutputA(2,
                   "appConfig.xml: the settings could not be saved; the file keeps its "
                   "previous contents\r\n");
    }
    return saved;
}

bool SaveRecordingSettings(XMLParser& document, const wchar_t* programFolder,
                           const AppConfig& record) {
    XMLNode root = EnsureRootNode(document);
    root.SetAttribute("SaveData", std::to_string(static_cast<long long>(record.SaveData)).c_str());

    // The length is bounded: SaveDataPath is always terminated.
    const wchar_t* relative = programFolder != nullptr
                                  ? GetFileRelativePathW(record.SaveDataPath, programFolder)
                                  : nullptr;
    std::string stored;
    const bool storable =
        relative != nullptr && *relative != L'\0' && WideToStoredText(document, relative, stored);
    root.SetAttribute("SaveDataPath", storable ? stored.c_str() : nullptr);
    return SaveDocument(document, programFolder);
}

bool SaveViewAdditions(XMLParser& document, const wchar_t* programFolder, const AppConfig& record) {
    XMLNode root = EnsureRootNode(document);
    root.SetAttribute("ShowAreaStatistics", record.ShowAreaStatistics != 0 ? "1" : "0");
    root.SetAttribute("ShowRunHealth", record.ShowRunHealth != 0 ? "1" : "0");
    root.SetAttribute("ShowHeatMap", record.ShowHeatMap != 0 ? "1" : "0");
    return SaveDocument(document, programFolder);
}

bool SaveGateRange(XMLParser& document, const wchar_t* programFolder, double gateMin,
                   double gateMax) {
    XMLNode root = EnsureRootNode(document);
    root.SetAttribute("ObjectWnd_GateMin", gateMin);
    root.SetAttribute("ObjectWnd_GateMax", gateMax);
    return SaveDocument(document, programFolder);
}

bool SavePlaybackFolder(XMLParser& document, const wchar_t* programFolder, const wchar_t* folder) {
    std::string stored;
    if (folder == nullptr || *folder == L'\0' || !WideToStoredText(document, folder, stored)) {
        return false;
    }
    EnsureRootNode(document).SetAttribute("DataFilePath", stored.c_str());
    return SaveDocument(document, programFolder);
}

std::wstring ReadPlaybackFolder(const XMLParser& document) {
    const char* stored = document.GetRootNode().GetAttributeText("DataFilePath");
    std::wstring folder;
    if (stored == nullptr || !StoredTextToWide(document, stored, folder) ||
        folder.size() >= ZUVO_MAX_PATH) {
        return std::wstring();
    }
    return folder;
}

}  // namespace zuvo::settings
