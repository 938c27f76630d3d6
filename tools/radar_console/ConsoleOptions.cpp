#include "ConsoleOptions.h"

#include <cstdlib>
#include <cstring>

#include "ZUVO_CommonCoreExtras.h"

const char kConsoleUsage[] =
    "usage: radar_console [options]\n"
    "  --config PATH     configuration file (default: Radar_Config.ini beside the program)\n"
    "  --site 0|10       track on this computer (0) or on the sensor (10)\n"
    "  --algorithm 1|3   tracking on this computer: 1 MOD, 3 MTT\n"
    "  --mode 0x80|0x90  tracking-mode command for the sensor (site 10): 1 or 3 objects\n"
    "  --seconds N       how long to run (default 3; playback: until the recording ends)\n"
    "  --record FOLDER   record raw data into a new folder inside FOLDER\n"
    "  --play FOLDER     play back a recording folder\n"
    "  --seed N          emulator scene seed\n"
    "  --people N        people in the emulator's scene at once (0 to 5)\n"
    "  --bound g,l;g,l;g,l  a detection bound (gate, lateral pairs), for both filters\n";

namespace {

bool ParseInt(const char* text, int typeCode, void* value) {
    return text != nullptr && DigtalStringToValue(text, -1, value, typeCode) != 0;
}

bool ParseBound(const char* text, std::vector<DetectBoundPoint>& bound) {
    const int count = ParseDigitalArrayValue(text, -1, ",;", 0, 1, DIGITAL_TYPE_INT32, nullptr, 0);
    if (count < 6 || count % 2 != 0) {
        return false;
    }
    std::vector<int32_t> numbers(static_cast<size_t>(count));
    ParseDigitalArrayValue(text, -1, ",;", 0, 1, DIGITAL_TYPE_INT32, numbers.data(), count);
    for (int i = 0; i < count; i += 2) {
        bound.push_back(DetectBoundPoint{numbers[i], numbers[i + 1]});
    }
    return true;
}

}  // namespace

bool ParseConsoleOptions(int argc, char** argv, ConsoleOptions& options, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const char* name = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        bool ok = value != nullptr;
        if (std::strcmp(name, "--config") == 0 && ok) {
            options.configPath = value;
        } else if (std::strcmp(name, "--site") == 0) {
            ok = ParseInt(value, DIGITAL_TYPE_INT32, &options.site) &&
                 (options.site == RADAR_PROCESS_SITE_HOST ||
                  options.site == RADAR_PROCESS_SITE_SENSOR);
        } else if (std::strcmp(name, "--algorithm") == 0) {
            ok = ParseInt(value, DIGITAL_TYPE_INT32, &options.algorithm) &&
                 (options.algorithm == RADAR_HOST_ALGORITHM_MOD ||
                  options.algorithm == RADAR_HOST_ALGORITHM_MTT);
        } else if (std::strcmp(name, "--mode") == 0) {
            ok = ParseInt(value, DIGITAL_TYPE_INT32, &options.modeCommand) &&
                 (options.modeCommand == RADAR_CMD_TRACK_SINGLE ||
                  options.modeCommand == RADAR_CMD_TRACK_MULTI);
        } else if (std::strcmp(name, "--seconds") == 0) {
            ok = ParseInt(value, DIGITAL_TYPE_DOUBLE, &options.seconds) && options.seconds > 0.0;
            options.secondsGiven = true;
        } else if (std::strcmp(name, "--record") == 0 && ok) {
            options.recordFolder = value;
        } else if (std::strcmp(name, "--play") == 0 && ok) {
            options.playFolder = value;
        } else if (std::strcmp(name, "--seed") == 0) {
            ok = ParseInt(value, DIGITAL_TYPE_INT64, &options.seed) && options.seed >= 0 &&
                 options.seed <= 0xFFFFFFFFll;
        } else if (std::strcmp(name, "--people") == 0) {
            ok = ParseInt(value, DIGITAL_TYPE_INT32, &options.people) && options.people >= 0 &&
                 options.people <= 5;
        } else if (std::strcmp(name, "--bound") == 0) {
            std::vector<DetectBoundPoint> bound;
            ok = value != nullptr && ParseBound(value, bound);
            options.bounds.push_back(bound);
        } else {
            error = std::string("unknown option ") + name;
            return false;
        }
        if (!ok) {
            error = std::string("bad or missing value for ") + name;
            return false;
        }
        ++i;
    }
    return true;
}
