// ZUVO_DataProcess: the radar processing library. Portable declarations (no <windows.h>):
// configuration, device control, tracking filters, raw-data recording and playback.
//
// Objects are delivered on the library's own threads through IRadarObjectDetectListener; the
// container and its records belong to the library and are valid only during the call.
#pragma once

#include <cstdint>

#include "ZUVO_CommonCore.h"
#include "ZUVO_Export.h"

// Where the radar data comes from.
enum eRADAR_SOURCE_TYPE {
    RADAR_SOURCE_NONE = 0,
    RADAR_SOURCE_COM = 1,
    RADAR_SOURCE_LIBUSB = 2,
    RADAR_SOURCE_PELVO2 = 3,
    RADAR_SOURCE_PELVO4 = 4,
    RADAR_SOURCE_USB_ADAPTER = 5,
    RADAR_SOURCE_EMULATOR = 7
};

// The version of the sensor's serial protocol that the library hands to an acknowledgement
// checker. Which versions there are, and their values, are the library's own: the program only
// passes the library's checker back to it, so the type is declared without its values.
enum eRADAR_PROTOCOL_VERSION : int;

// ProcessSite values.
#define RADAR_PROCESS_SITE_HOST 0     // tracking on this computer
#define RADAR_PROCESS_SITE_SENSOR 10  // tracking on the sensor's own processor

// HostAlgorithm values (tracking on this computer).
#define RADAR_HOST_ALGORITHM_NONE 0
#define RADAR_HOST_ALGORITHM_MOD 1
#define RADAR_HOST_ALGORITHM_MTT 3

// Tracking-mode commands of the sensor.
#define RADAR_CMD_TRACK_SINGLE 0x80
#define RADAR_CMD_TRACK_MULTI 0x90

// The sensor's register table inside the record, which the dialog library's register editor
// changes; the program itself never reads it.
#define RADAR_MAX_REGISTERS 64

// One register of the sensor: a 16-bit address and its 32-bit value.
struct tagRADARREGISTER {
    uint16_t Address;
    uint16_t Reserved;
    uint32_t Value;
};

// The library's parameter record. gRadarParameter is the current one; the system copies it
// whole with ZUVO_Interface_RadarParameter_Copy. The program reads and sets only the source,
// run, processing, command-mode, gate and tower-light fields; the range resolution, the frame
// period and the register table serve the library and its register editor.
struct tagRADARPARAMETER {
    // ----- source and run -----
    int ReadFromFile;  // 1: playback of the folder in DataPath
    int SourceType;    // eRADAR_SOURCE_TYPE
    int DeviceNumber;  // COM port number or device index
    int SaveRawData;   // 1: every live start records raw data into a new folder in DataPath
    wchar_t DataPath[ZUVO_MAX_PATH];

    // ----- processing -----
    int ProcessSite;            // RADAR_PROCESS_SITE_HOST or _SENSOR
    int HostAlgorithm;          // 3 MTT, 1 MOD, 0 when the sensor tracks
    int SensorAlgorithm;        // 0 MTT, 1 MTT2
    int SensorAlgorithmOption;  // follows SensorAlgorithm
    int SensorAlgorithmCode;    // 20 MTT, 30 MTT2
    int HostProcessFlag1;
    int HostProcessFlag2;
    int HostProcessValue;
    int64_t AlgorithmSelectFlag;

    // ----- command mode -----
    int CmdModeParam;
    int CmdModeTimeFactor;  // command-mode time-out in units of 150 ms

    // ----- range grid -----
    int GateCount;           // number of range gates
    int DefaultGateMin;      // first visible gate suggested to the view
    int DefaultGateMax;      // last visible gate suggested to the view
    int BoundGateLimit;      // size of the detection-bound grid in gates
    double RangeResolution;  // metres per range gate
    int FramePeriodMs;       // time between two frames

    // ----- tower light -----
    int LightPort;  // COM port number of the tower light
    int LightBaudRate;

    // ----- registers of the sensor -----
    int RegisterCount;
    tagRADARREGISTER Registers[RADAR_MAX_REGISTERS];
};

// One object as delivered: seven 8-byte fields.
struct RadarObject {
    int64_t Id;
    double GateDistance;  // range-gate units
    double Distance;      // metres; not >= 0 (negative or NaN) marks an entry holding no object
    double Velocity;      // m/s, signed
    double Angle;         // degrees, 0 = straight ahead
    double Reserved1;
    double Reserved2;
};
static_assert(sizeof(RadarObject) == 56, "RadarObject is seven 8-byte fields");

// A vertex of a detection bound: range gate, then lateral offset in gate units.
struct DetectBoundPoint {
    int32_t Gate;
    int32_t Lateral;
};

// Receives the objects of one frame. objects is a CPtrCtrl of RadarObject pointers (entries
// may be null); both belong to the library and are valid only during the call.
class IRadarObjectDetectListener {
public:
    virtual ~IRadarObjectDetectListener() {}
    virtual void OnRadarObjectDetect(int64_t value, CPtrCtrl* objects) = 0;
};

// Receives the stages of reading a recording, on a library thread. A program supplies only
// OnFileRadarReadEnd, called when reading has finished; frames read may still wait for
// processing then (ZUVO_Interface_RadarCtrl_HasIncompleteData). The other operations keep the
// library's bodies; their order here is the order of the table of virtual functions.
class IFileRadarDataSource {
public:
    virtual ~IFileRadarDataSource() {}
    virtual void OnFileRadarReadStart() {}
    virtual void OnFileRadarReadLoopStart(int loopIndex) { (void)loopIndex; }
    // Declared without arguments: a program ignores what the library passes here, and under the
    // x64 calling convention the caller owns its arguments' space, so a body that takes none
    // still returns correctly.
    virtual void OnFileRadarReadEnd() {}
    virtual void OnFileRadarGetFileList(const wchar_t* folder, int fileCount) {
        (void)folder;
        (void)fileCount;
    }
    virtual void OnFileRadarReleaseFileList() {}
    virtual void OnFileRadarReadFileStart(const wchar_t* path) { (void)path; }
    virtual void OnFileRadarReadFileEnd(const wchar_t* path) { (void)path; }
    virtual void OnFileRadarReadProcess(int perMille) { (void)perMille; }
};

typedef void* RADAR_DEVICE_HANDLE;

// An acknowledgement checker for ZUVO_Interface_RadarDevice_Protocol_SendCommand: a 16-bit code
// for a protocol version, the acknowledgement's bytes and length, and a 64-bit value. The
// program hands over the library's own CheckCmdAckData_RetCode and does not use the result.
typedef uint16_t(ZUVO_CALL* RadarCmdAckChecker)(eRADAR_PROTOCOL_VERSION version,
                                                const uint8_t* bytes, int length, int64_t value);

extern "C" {

ZUVO_DATAPROCESS_API extern tagRADARPARAMETER gRadarParameter;

ZUVO_DATAPROCESS_API uint16_t ZUVO_CALL CheckCmdAckData_RetCode(eRADAR_PROTOCOL_VERSION version,
                                                                const uint8_t* bytes, int length,
                                                                int64_t value);

// ----- configuration -----
ZUVO_DATAPROCESS_API int ZUVO_CALL ZUVO_Interface_RadarCtrl_LoadConfigFromFile(const wchar_t* path);
ZUVO_DATAPROCESS_API int ZUVO_CALL ZUVO_Interface_RadarCtrl_IsConfigLoad();

// ----- run control -----
// errorText receives a readable reason when the answer is 0.
ZUVO_DATAPROCESS_API int ZUVO_CALL ZUVO_Interface_RadarCtrl_OpenDevice(CBaseStringA* errorText,
                                                                       int reserved);
ZUVO_DATAPROCESS_API int ZUVO_CALL ZUVO_Interface_RadarCtrl_Start();
ZUVO_DATAPROCESS_API int ZUVO_CALL ZUVO_Interface_RadarCtrl_Stop();
ZUVO_DATAPROCESS_API int ZUVO_CALL ZUVO_Interface_RadarCtrl_Pause();
ZUVO_DATAPROCESS_API int ZUVO_CALL ZUVO_Interface_RadarCtrl_Resume();
ZUVO_DATAPROCESS_API int ZUVO_CALL ZUVO_Interface_RadarCtrl_CloseDevice();
ZUVO_DATAPROCESS_API int ZUVO_CALL ZUVO_Interface_RadarCtrl_IsStarted();
ZUVO_DATAPROCESS_API int ZUVO_CALL ZUVO_Interface_RadarCtrl_IsPaused();
ZUVO_DATAPROCESS_API int ZUVO_CALL ZUVO_Interface_RadarCtrl_HasIncompleteData();
ZUVO_DATAPROCESS_API void ZUVO_CALL
ZUVO_Interface_RadarCtrl_EnableProcessFilter_ObjectDetect(int enable);

// ----- device -----
ZUVO_DATAPROCESS_API RADAR_DEVICE_HANDLE ZUVO_CALL ZUVO_Interface_RadarDevice_GetDefault();
ZUVO_DATAPROCESS_API int ZUVO_CALL
ZUVO_Interface_RadarDevice_StartCmdMode(RADAR_DEVICE_HANDLE device, int param, int timeoutMs);
ZUVO_DATAPROCESS_API int ZUVO_CALL
ZUVO_Interface_RadarDevice_StopCmdMode(RADAR_DEVICE_HANDLE device);
ZUVO_DATAPROCESS_API int ZUVO_CALL ZUVO_Interface_RadarDevice_Protocol_SendCommand(
    RADAR_DEVICE_HANDLE device, uint16_t command, const void* data, int dataLength,
    RadarCmdAckChecker checker, int64_t checkValue, int timeoutMs);
ZUVO_DATAPROCESS_API int ZUVO_CALL
ZUVO_Interface_RadarDevice_File_SetFileRadarDataSource(IFileRadarDataSource* source, int reserved);
ZUVO_DATAPROCESS_API int ZUVO_CALL ZUVO_Interface_RadarDevice_File_SetLoopReadFile(int loop);

// ----- filters -----
ZUVO_DATAPROCESS_API int ZUVO_CALL ZUVO_Interface_RadarProcessFilter_MOD_Add_ObjectDetectListener(
    IRadarObjectDetectListener* listener, int reserved);
ZUVO_DATAPROCESS_API int ZUVO_CALL ZUVO_Interface_RadarProcessFilter_MOD_Del_ObjectDetectListener(
    IRadarObjectDetectListener* listener);
ZUVO_DATAPROCESS_API int ZUVO_CALL ZUVO_Interface_RadarProcessFilter_MTT_Add_ObjectDetectListener(
    IRadarObjectDetectListener* listener, int reserved);
ZUVO_DATAPROCESS_API int ZUVO_CALL ZUVO_Interface_RadarProcessFilter_MTT_Del_ObjectDetectListener(
    IRadarObjectDetectListener* listener);
ZUVO_DATAPROCESS_API int ZUVO_CALL ZUVO_Interface_RadarDataFilter_MTT_Add_ObjectDetectListener(
    IRadarObjectDetectListener* listener, int reserved);
ZUVO_DATAPROCESS_API int ZUVO_CALL
ZUVO_Interface_RadarDataFilter_MTT_Del_ObjectDetectListener(IRadarObjectDetectListener* listener);

ZUVO_DATAPROCESS_API void ZUVO_CALL ZUVO_Interface_RadarProcessFilter_MOD_ClearHorzDetectBound();
ZUVO_DATAPROCESS_API void ZUVO_CALL ZUVO_Interface_RadarProcessFilter_MTT_ClearDetectBound();
ZUVO_DATAPROCESS_API void ZUVO_CALL
ZUVO_Interface_RadarProcessFilter_MOD_AddHorzDetectBound(const DetectBoundPoint* points, int count);
ZUVO_DATAPROCESS_API void ZUVO_CALL
ZUVO_Interface_RadarProcessFilter_MTT_AddDetectBound(const DetectBoundPoint* points, int count);

// ----- parameter records -----
ZUVO_DATAPROCESS_API void ZUVO_CALL ZUVO_Interface_RadarParameter_Init(tagRADARPARAMETER* record);
ZUVO_DATAPROCESS_API int ZUVO_CALL
ZUVO_Interface_RadarParameter_LoadFromFile(const wchar_t* path, tagRADARPARAMETER* record);
ZUVO_DATAPROCESS_API int ZUVO_CALL
ZUVO_Interface_RadarParameter_SaveToFile(const wchar_t* path, const tagRADARPARAMETER* record);
ZUVO_DATAPROCESS_API void ZUVO_CALL
ZUVO_Interface_RadarParameter_Copy(tagRADARPARAMETER* destination, const tagRADARPARAMETER* source);

}  // extern "C"
