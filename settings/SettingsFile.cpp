#include "settings/SettingsFile.h"

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <memory>
#include <string>

#include "ZUVO_CommonCore.h"
#include "settings/CodePage.h"
#include "settings/FileAccess.h"
#include "settings/Utf8Text.h"

namespace zuvo::settings {

namespace {

struct FileDataDeleter {
    void operator()(uint8_t* data) const { ReleaseFileData(data); }
};

// Writes target through a temporary file beside it. write receives the open temporary file
// and must close it; the temporary replaces target only when write answered true.
template <typename Write>
bool WriteFileSafely(const std::wstring& target, Write write) {
    if (target.empty()) {
        return false;
    }
    const std::wstring temporary = target + L".tmp";
    std::FILE* file = OpenFileForWriting(temporary.c_str());
    if (file == nullptr) {
        return false;
    }
    if (!write(file) || !ReplaceFileAtomically(temporary.c_str(), target.c_str())) {
        RemoveFile(temporary.c_str());
        return false;
    }
    return true;
}

bool WriteBytesAndClose(std::FILE* file, const uint8_t* data, size_t size) {
    bool written = std::fwrite(data, 1, size, file) == size && CommitFileToDisk(file);
    written = std::fclose(file) == 0 && written;
    return written;
}

// A stored path (narrow code page) made absolute against the program folder. The resolution
// itself works on UTF-8, which holds every character of the program folder, so a folder with
// characters outside the code page is not garbled. False when the text does not convert or
// the result is too long.
bool ResolveStoredPath(const char* stored, const wchar_t* programFolder, std::wstring& out) {
    std::wstring wide;
    std::string storedUtf8;
    std::string folderUtf8;
    if (!AnsiToWide(stored, wide) || !WideToUtf8(wide, storedUtf8) ||
        !WideToUtf8(programFolder, folderUtf8)) {
        return false;
    }
    char absolute[ZUVO_MAX_PATH];
    if (GetFileAbsolutePathA(absolute, storedUtf8.c_str(), folderUtf8.c_str()) == 0) {
        return false;
    }
    return Utf8ToWide(absolute, out) && out.size() < ZUVO_MAX_PATH;
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
    const std::unique_ptr<uint8_t, FileDataDeleter> data(rawData);
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
        std::wstring resolved;
        if (!ResolveStoredPath(storedPath, programFolder, resolved)) {
            resolved.clear();
        }
        SetSaveDataPath(record, resolved);
    }
    RecursiveCreateDirectoryW(record.SaveDataPath);

    int32_t countType = kSingleObjectTracking;
    ReadInteger(root, "ObjectCountType", countType);
    if (countType == kSingleObjectTracking || countType == kMultiObjectTracking) {
        record.ObjectCountType = countType;
    }

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
    return WriteFileSafely(SettingsFilePath(programFolder),
                           [&](std::FILE* file) { return document.SaveToFile(file); });
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
    const bool storable = relative != nullptr && *relative != L'\0' && WideToAnsi(relative, stored);
    root.SetAttribute("SaveDataPath", storable ? stored.c_str() : nullptr);
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
    if (folder == nullptr || *folder == L'\0' || !WideToAnsi(folder, stored)) {
        return false;
    }
    EnsureRootNode(document).SetAttribute("DataFilePath", stored.c_str());
    return SaveDocument(document, programFolder);
}

std::wstring ReadPlaybackFolder(const XMLParser& document) {
    const char* stored = document.GetRootNode().GetAttributeText("DataFilePath");
    std::wstring folder;
    if (stored == nullptr || !AnsiToWide(stored, folder) || folder.size() >= ZUVO_MAX_PATH) {
        return std::wstring();
    }
    return folder;
}

}  // namespace zuvo::settings
