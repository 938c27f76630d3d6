// The settings file "appConfig.xml" beside the program: loading it into the settings document,
// copying its values into the settings record, and writing the document back.
//
// Every operation takes the program folder, so tests can point it at a folder of their own.
// Saving never truncates the file in place: the document is written to "appConfig.xml.tmp"
// (or, when something that cannot be opened as a file stands there, "appConfig.xml.1.tmp",
// ...) and that file replaces the old one only once it is complete, so a crash or a full disk
// in between leaves the previous settings intact.
#pragma once

#include <string>

#include "settings/AppConfig.h"
#include "settings/XMLParser.h"

namespace zuvo::settings {

inline constexpr wchar_t kSettingsFileName[] = L"appConfig.xml";
// Where LoadDocument keeps a settings file it could not parse before it is written back.
inline constexpr wchar_t kDamagedCopySuffix[] = L".bak";

// What LoadDocument found.
enum class SettingsSource {
    File,        // the file was read
    NoFile,      // no file (or an empty one): the document started empty
    DamagedFile  // the file did not parse; the document holds what was read before the error
};

// program folder + "appConfig.xml", or empty when the path would be too long.
std::wstring SettingsFilePath(const wchar_t* programFolder);

// Reads the file into the document. When the document then has no "AppConfig" element, one is
// appended and the file written. A file that does not parse is first copied as it was to
// "appConfig.xml.bak", since writing the document back drops whatever followed the error.
SettingsSource LoadDocument(XMLParser& document, const wchar_t* programFolder);

// The "AppConfig" element, appended to the document when it is missing.
XMLNode EnsureRootNode(XMLParser& document);

// Copies the attribute values into the record; missing or empty attributes and text that does
// not parse leave the record's values. The raw-data folder is resolved against the program
// folder and created.
void LoadSettings(const XMLParser& document, const wchar_t* programFolder, AppConfig& record);

// Writes the whole document to the file. False when nothing was written: the file then holds
// its previous contents, and a diagnostic line (level 2) says so.
bool SaveDocument(const XMLParser& document, const wchar_t* programFolder);

// Stores SaveData and SaveDataPath (relative to the program folder when inside it) and saves.
// A folder that cannot be expressed in the narrow code page keeps the stored value.
bool SaveRecordingSettings(XMLParser& document, const wchar_t* programFolder,
                           const AppConfig& record);
// Stores the switches of the view's additions (ShowAreaStatistics, ShowRunHealth, ShowHeatMap)
// and saves; every other attribute and element of the document stays as it was.
bool SaveViewAdditions(XMLParser& document, const wchar_t* programFolder, const AppConfig& record);
// Stores the visible gate range with one decimal and saves.
bool SaveGateRange(XMLParser& document, const wchar_t* programFolder, double gateMin,
                   double gateMax);
// Stores the last playback folder as "DataFilePath" and saves. False, with the document
// unchanged, when the folder cannot be expressed in the narrow code page.
bool SavePlaybackFolder(XMLParser& document, const wchar_t* programFolder, const wchar_t* folder);
// The stored playback folder, or empty when there is none or it cannot be converted.
std::wstring ReadPlaybackFolder(const XMLParser& document);

}  // namespace zuvo::settings
