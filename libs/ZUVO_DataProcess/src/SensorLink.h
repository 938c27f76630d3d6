// The serial sensor's line protocol (docs/serial-sensor-protocol.md): packets with a sync word,
// a type, a length and a CRC-16/MODBUS, in both directions. The host asks for the sensor's
// identity, starts and stops its stream of frames, enters and leaves command mode and sends
// commands; the sensor answers with its identity, its frames, its command-mode state and the
// acknowledgement frames of src/CommandAck.h wrapped in packets.
//
// Every packet is built by one Encode function here and read back by SensorLinkDecoder, which
// takes the bytes of the line in whatever pieces they arrive and yields the messages they
// hold. It accepts any bytes: noise, cut packets and packets with a bad check value are
// skipped, and a packet whose contents make no sense is dropped whole; nothing it is fed can
// make it read outside its buffer or grow it without bound.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "RadarFrame.h"

namespace zuvo::radar::link {

inline constexpr uint8_t kSync0 = 0xAA;
inline constexpr uint8_t kSync1 = 0x55;
// sync (2), type (1), payload length (2, little-endian)
inline constexpr size_t kHeaderSize = 5;
inline constexpr size_t kCrcSize = 2;
inline constexpr size_t kMaxPayload = 2048;
inline constexpr uint8_t kProtocolVersion = 1;
// What one frame may carry at most; a sensor with more reports the strongest.
inline constexpr size_t kMaxDetections = 64;
inline constexpr size_t kMaxSensorObjects = 16;
inline constexpr size_t kMaxIdentityText = 64;
inline constexpr size_t kMaxAckSize = 64;

enum PacketType : uint8_t {
    // host to sensor
    kIdentifyRequest = 0x01,
    kStreamStart = 0x02,
    kStreamStop = 0x03,
    kCommandModeEnter = 0x04,
    kCommandModeLeave = 0x05,
    kCommand = 0x06,
    // sensor to host
    kIdentity = 0x81,
    kFrame = 0x82,
    kCommandModeState = 0x85,
    kCommandAck = 0x86,
};

struct IdentifyRequest {};
// What a sensor that streams must know of the host's record to see the scene as asked.
struct StreamStart {
    uint8_t processSite = 0;  // RADAR_PROCESS_SITE_HOST or _SENSOR
    uint8_t sensorAlgorithm = 0;
    uint16_t gateCount = 0;
    uint16_t framePeriodMs = 0;
    float rangeResolution = 0.0f;  // metres per gate
};
struct StreamStop {};
struct CommandModeEnter {
    int32_t param = 0;
    uint32_t timeoutMs = 0;
};
struct CommandModeLeave {};
struct Command {
    uint16_t command = 0;
    std::vector<uint8_t> data;
};

struct Identity {
    uint8_t protocolVersion = 0;
    std::string text;  // printable ASCII, the sensor's model and serial number
};
struct CommandModeState {
    bool inCommandMode = false;
};
// The acknowledgement frame as the sensor sent it, for CheckCmdAckData_RetCode.
struct CommandAck {
    std::vector<uint8_t> bytes;
};

using Message =
    std::variant<IdentifyRequest, StreamStart, StreamStop, CommandModeEnter, CommandModeLeave,
                 Command, Identity, RadarFrame, CommandModeState, CommandAck>;

// The whole packet for a message. A frame is written with at most kMaxDetections detections
// and kMaxSensorObjects objects; its gate distances are not sent (the host has the grid).
std::vector<uint8_t> Encode(const Message& message);

class SensorLinkDecoder {
public:
    // Frames are given gate distances on this grid (metres per gate; not positive: gate 0).
    explicit SensorLinkDecoder(double rangeResolution = 0.25);

    // The entry point for any bytes from the line: appends the messages of every packet the
    // bytes complete to out, in the order they were sent. Bytes of an unfinished packet wait
    // for the next call.
    void Feed(const uint8_t* bytes, size_t size, std::vector<Message>& out);
    // Forgets a started packet (after a line was reopened).
    void Reset();

    // Bytes skipped while looking for a packet, packets with a wrong check value, and packets
    // that checked out but made no sense (dropped whole).
    uint64_t SkippedBytes() const { return m_skippedBytes; }
    uint64_t BadChecks() const { return m_badChecks; }
    uint64_t Malformed() const { return m_malformed; }

private:
    const double m_rangeResolution;
    std::vector<uint8_t> m_pending;
    uint64_t m_skippedBytes = 0;
    uint64_t m_badChecks = 0;
    uint64_t m_malformed = 0;
};

}  // namespace zuvo::radar::link
