// The library's configuration files ("Radar_Config.ini", "FILE_Radar_Config.ini"): the
// parameter record and the emulator's settings, one "Key = Value" record per field, grouped in
// sections for people who edit the file by hand.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ZUVO_DataProcess.h"
#include "ZUVO_DataProcessExtras.h"

namespace zuvo::radar {

// Every field at its default (the values of the installed "Radar_Config.ini").
void SetDefaultParameters(tagRADARPARAMETER& record);
void SetDefaultEmulatorSettings(tagEMULATORSETTINGS& settings);

// What a configuration file holds: the parameter record and, when the file has an [Emulator]
// section (any of its keys), the emulator's settings (keys it does not name at their defaults).
struct Configuration {
    tagRADARPARAMETER record;
    std::optional<tagEMULATORSETTINGS> emulator;
};

// Reads INI text. Fields the text does not name, and values that do not parse or lie outside
// their field's range, keep their defaults; each such value, and every unreadable line, is
// described in problems. Answers false (configuration untouched) when the text names no field
// at all, so an unrelated file is never taken for a configuration.
bool ParseConfiguration(std::string_view text, Configuration& configuration,
                        std::vector<std::string>& problems);
// The same for the record alone (the emulator's keys count as fields, but their values are
// dropped).
bool ParseParameters(std::string_view text, tagRADARPARAMETER& record,
                     std::vector<std::string>& problems);

// The INI text of record, with an [Emulator] section when emulator is given.
std::string RenderParameters(const tagRADARPARAMETER& record,
                             const tagEMULATORSETTINGS* emulator = nullptr);

// Reads a file (UTF-8, or UTF-16 with its byte-order mark). Answers false when it cannot be
// read or names no field; problems as for ParseConfiguration.
bool LoadConfiguration(const std::wstring& path, Configuration& configuration,
                       std::vector<std::string>& problems);
bool LoadParameters(const std::wstring& path, tagRADARPARAMETER& record,
                    std::vector<std::string>& problems);

// Writes record into the file at path. The [Emulator] section of the file it replaces is kept
// (its valid values), so that saving a record, which holds no emulator settings, does not
// lose them; a new file gets none. Writes a temporary file beside path and moves it over path,
// so a crash leaves either the old or the new file. Answers false, with the reason in error,
// when it could not be written.
bool SaveParameters(const std::wstring& path, const tagRADARPARAMETER& record, std::string& error);

// Checks every field against the range the file accepts (a record filled in by a program may
// hold anything). false with the first problem otherwise.
bool ValidateParameters(const tagRADARPARAMETER& record, std::string& problem);
bool ValidateEmulatorSettings(const tagEMULATORSETTINGS& settings, std::string& problem);

}  // namespace zuvo::radar
