// The parameter record and its INI file ("Radar_Config.ini", "FILE_Radar_Config.ini"): one
// "Key = Value" record per field, grouped in sections for people who edit the file by hand.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ZUVO_DataProcess.h"

namespace zuvo::radar {

// Every field at its default (the values of the installed "Radar_Config.ini").
void SetDefaultParameters(tagRADARPARAMETER& record);

// Reads INI text into record. Fields the text does not name, and values that do not parse or
// lie outside their field's range, keep their defaults; each such value, and every unreadable
// line, is described in problems. Answers false (record untouched) when the text names no
// field at all, so an unrelated file is never taken for a configuration.
bool ParseParameters(std::string_view text, tagRADARPARAMETER& record,
                     std::vector<std::string>& problems);

// The INI text of record.
std::string RenderParameters(const tagRADARPARAMETER& record);

// Reads a file (UTF-8, or UTF-16 with its byte-order mark). Answers false when it cannot be
// read or names no field; problems as for ParseParameters.
bool LoadParameters(const std::wstring& path, tagRADARPARAMETER& record,
                    std::vector<std::string>& problems);

// Writes a temporary file beside path and moves it over path, so a crash leaves either the old
// or the new file. Answers false, with the reason in error, when it could not be written.
bool SaveParameters(const std::wstring& path, const tagRADARPARAMETER& record, std::string& error);

}  // namespace zuvo::radar

namespace zuvo::radar {

// Checks every field against the range the file accepts (a record filled in by a program may
// hold anything). false with the first problem otherwise.
bool ValidateParameters(const tagRADARPARAMETER& record, std::string& problem);

}  // namespace zuvo::radar
