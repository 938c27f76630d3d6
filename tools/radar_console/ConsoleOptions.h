// The command line of radar_console.
#pragma once

#include <string>
#include <vector>

#include "ZUVO_DataProcess.h"

struct ConsoleOptions {
    std::string configPath;  // empty: "Radar_Config.ini" in the program folder
    int site = -1;           // -1: as configured
    int algorithm = -1;      // -1: as configured
    int modeCommand = 0;     // 0x80 or 0x90 for tracking on the sensor; 0: none
    double seconds = 3.0;
    bool secondsGiven = false;
    std::string recordFolder;
    std::string playFolder;
    long long seed = -1;
    int people = -1;
    std::vector<std::vector<DetectBoundPoint>> bounds;
};

extern const char kConsoleUsage[];

// Reads the arguments; false with the reason in error when they are not usable.
bool ParseConsoleOptions(int argc, char** argv, ConsoleOptions& options, std::string& error);
