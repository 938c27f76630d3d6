// The radar library's configuration file ("Radar_Config.ini" beside the program, and the
// "FILE_Radar_Config.ini" a recording carries) read from a file, written over that file, and
// read again. The round trip must hold: the second read gives the same record and emulator
// settings without a complaint, and writing again gives the same bytes.
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "RadarConfigFile.h"
#include "fuzz/FuzzSupport.h"

namespace {

using namespace zuvo::radar;
using zuvo::fuzz::Check;

// Every field, the whole path array included: what follows a path's end is part of the record
// a program hands on.
bool SameRecord(const tagRADARPARAMETER& a, const tagRADARPARAMETER& b) {
    return std::wmemcmp(a.DataPath, b.DataPath, ZUVO_MAX_PATH) == 0 &&
           RenderParameters(a) == RenderParameters(b);
}

void RoundTrip(const std::filesystem::path& file) {
    const std::wstring path = zuvo::fuzz::Wide(file);
    Configuration first;
    std::vector<std::string> problems;
    if (!LoadConfiguration(path, first, problems)) {
        return;
    }
    std::string problem;
    Check(ValidateParameters(first.record, problem), "a loaded record is out of range");
    if (first.emulator) {
        Check(ValidateEmulatorSettings(*first.emulator, problem),
              "loaded emulator settings are out of range");
    }

    std::string error;
    Check(SaveParameters(path, first.record, error), "the configuration could not be saved");
    const std::string written = zuvo::fuzz::ReadBytes(file);

    Configuration second;
    std::vector<std::string> secondProblems;
    Check(LoadConfiguration(path, second, secondProblems), "a saved configuration does not load");
    Check(secondProblems.empty(), "a saved configuration reads with problems");
    Check(SameRecord(first.record, second.record), "the record changed across a save");
    Check(first.emulator.has_value() == second.emulator.has_value(),
          "the emulator section came or went across a save");
    if (first.emulator) {
        Check(RenderParameters(first.record, &*first.emulator) ==
                  RenderParameters(second.record, &*second.emulator),
              "the emulator settings changed across a save");
    }

    Check(SaveParameters(path, second.record, error), "the configuration could not be saved again");
    Check(zuvo::fuzz::ReadBytes(file) == written, "a second save wrote other bytes");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zuvo::fuzz::ClearRunFolder();
    const std::filesystem::path file = zuvo::fuzz::RunFolder() / "Radar_Config.ini";
    zuvo::fuzz::WriteBytes(file, data, size);
    RoundTrip(file);
    return 0;
}
