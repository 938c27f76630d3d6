// What our radar processing library offers beyond the family's interface: the emulator's
// settings and aids for its own tests and tools. The sensor maker's library has none of this, so
// the program must never use it; only targets that link zuvo_dataprocess_extras (the library
// itself, its tests and tools) may include this header, and the build gives it to no program
// target.
#pragma once

#if !defined(ZUVO_DATAPROCESS_EXTRAS)
#error "ZUVO_DataProcessExtras.h is for the stand-in library, its tests and tools only"
#endif

#include <cstdint>

#include "ZUVO_DataProcess.h"
#include "ZUVO_Export.h"

// The protocol versions our library knows (the boundary declares the type without them).
enum eRADAR_PROTOCOL_VERSION : int {
    RADAR_PROTOCOL_UNKNOWN = 0,
    RADAR_PROTOCOL_V1 = 1,
    RADAR_PROTOCOL_V2 = 2
};

// The radar emulator's settings. They belong to the emulator, not to the parameter record
// (which the program copies whole and which the maker's library lays out its own way): the
// library keeps one set, read from the [Emulator] section of every configuration file that
// ZUVO_Interface_RadarCtrl_LoadConfigFromFile loads (a file without that section leaves them as
// they are), and every emulator opened afterwards uses them. The field names are the file's
// keys.
struct tagEMULATORSETTINGS {
    uint32_t EmulatorSeed;          // the same seed gives the same scene
    int EmulatorPeople;             // people in the field of view at once, at most (0 to 5)
    int EmulatorFixedReflector;     // 1: a fixed reflector stands in the field of view
    double EmulatorNoise;           // standard deviation of the range noise, metres (0 to 1)
    double EmulatorMissRate;        // share of missed detections (0 to 1)
    double EmulatorFalseAlarmRate;  // false alarms per frame, mean (0 to 10)
    // A scene with known people for tests and demonstrations: when positive (1 to 3), the
    // field holds just this many people, each pacing a little on a spot of its own (person 1
    // on the left, 3 on the right), and nobody else comes. Person k steps out of the field of
    // view EmulatorLeaveKS seconds after the start (0: stays).
    int EmulatorScriptedPeople;
    double EmulatorLeave1S;
    double EmulatorLeave2S;
    double EmulatorLeave3S;
    // A crowd for long runs under load: when positive (1 to 100), the field holds this many
    // objects instead, each on a spot of its own and swaying a little along its line of sight;
    // it wins over EmulatorScriptedPeople. With EmulatorObjectLifeS positive, every object
    // steps out of the field after that many seconds (at least 5; the objects one after another,
    // evenly spread) and a newcomer takes its spot a moment later, so tracks keep ending and
    // new ones keep beginning.
    int EmulatorObjects;
    double EmulatorObjectLifeS;
    // When positive, every this many seconds of a run the library writes the entries delivered
    // so far as a diagnostic line ("Run: N entries delivered to listeners so far"), so that a
    // long run can be followed from outside.
    int EmulatorDeliveryReportS;
};

extern "C" {

// The settings the next emulator opened will use.
ZUVO_DATAPROCESS_API void ZUVO_CALL ZUVO_Emulator_GetSettings(tagEMULATORSETTINGS* settings);
// Replaces them; null restores the defaults. Answers 0 and changes nothing when a value lies
// outside the range the configuration file accepts. A device already open keeps its settings.
ZUVO_DATAPROCESS_API int ZUVO_CALL ZUVO_Emulator_SetSettings(const tagEMULATORSETTINGS* settings);

// Entries handed to object-detection listeners since the library was loaded: every delivery
// adds its entry count once for each listener it calls (entries without an object included).
// Tests compare it with what a listener received, for example with the lines of a result log.
ZUVO_DATAPROCESS_API int64_t ZUVO_CALL ZUVO_Test_GetDeliveredEntryCount();

}  // extern "C"
