#include "SensorLink.h"

#include <bit>
#include <cmath>

#include "CommandAck.h"

namespace zuvo::radar::link {

namespace {

// Values no sensor of this family reports; a packet with one is taken for corrupt.
constexpr double kMaxDistanceM = 1000.0;
constexpr double kMaxSpeedMps = 1000.0;
constexpr double kMaxAngleDeg = 180.0;
constexpr double kMaxAmplitudeDb = 1000.0;
constexpr size_t kFrameHeaderSize = 11;
constexpr size_t kDetectionSize = 16;
constexpr size_t kObjectSize = 24;
constexpr size_t kStreamStartSize = 10;
constexpr size_t kCommandModeEnterSize = 8;

class Writer {
public:
    void U8(uint8_t value) { m_bytes.push_back(value); }
    void U16(uint16_t value) { Little(value, 2); }
    void U32(uint32_t value) { Little(value, 4); }
    void F32(double value) { U32(std::bit_cast<uint32_t>(static_cast<float>(value))); }
    void Bytes(const std::vector<uint8_t>& bytes) {
        m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
    }
    std::vector<uint8_t>& Result() { return m_bytes; }

private:
    void Little(uint32_t value, int count) {
        for (int i = 0; i < count; ++i) {
            m_bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
        }
    }
    std::vector<uint8_t> m_bytes;
};

// Reads a payload whose size the caller has checked; every read stays inside it.
class Reader {
public:
    explicit Reader(const uint8_t* bytes) : m_bytes(bytes) {}
    uint8_t U8() { return m_bytes[m_at++]; }
    uint16_t U16() { return static_cast<uint16_t>(Little(2)); }
    uint32_t U32() { return Little(4); }
    double F32() { return std::bit_cast<float>(U32()); }

private:
    uint32_t Little(int count) {
        uint32_t value = 0;
        for (int i = 0; i < count; ++i) {
            value |= static_cast<uint32_t>(m_bytes[m_at++]) << (8 * i);
        }
        return value;
    }
    const uint8_t* m_bytes;
    size_t m_at = 0;
};

bool Within(double value, double limit) {
    return std::isfinite(value) && std::fabs(value) <= limit;
}

uint8_t TypeOf(const Message& message) {
    struct Visitor {
        uint8_t operator()(const IdentifyRequest&) const { return kIdentifyRequest; }
        uint8_t operator()(const StreamStart&) const { return kStreamStart; }
        uint8_t operator()(const StreamStop&) const { return kStreamStop; }
        uint8_t operator()(const CommandModeEnter&) const { return kCommandModeEnter; }
        uint8_t operator()(const CommandModeLeave&) const { return kCommandModeLeave; }
        uint8_t operator()(const Command&) const { return kCommand; }
        uint8_t operator()(const Identity&) const { return kIdentity; }
        uint8_t operator()(const RadarFrame&) const { return kFrame; }
        uint8_t operator()(const CommandModeState&) const { return kCommandModeState; }
        uint8_t operator()(const CommandAck&) const { return kCommandAck; }
    };
    return std::visit(Visitor{}, message);
}

void WriteFrame(Writer& out, const RadarFrame& frame) {
    const size_t detections = std::min(frame.detections.size(), kMaxDetections);
    const size_t objects = std::min(frame.sensorObjects.size(), kMaxSensorObjects);
    out.U32(frame.index);
    out.U32(frame.timeMs);
    out.U8(frame.flags);
    out.U8(static_cast<uint8_t>(detections));
    out.U8(static_cast<uint8_t>(objects));
    for (size_t i = 0; i < detections; ++i) {
        const Detection& d = frame.detections[i];
        out.F32(d.distance);
        out.F32(d.angle);
        out.F32(d.velocity);
        out.F32(d.amplitude);
    }
    for (size_t i = 0; i < objects; ++i) {
        const RadarObject& o = frame.sensorObjects[i];
        out.U32(static_cast<uint32_t>(static_cast<int32_t>(o.Id)));
        out.F32(o.Distance);
        out.F32(o.Velocity);
        out.F32(o.Angle);
        out.F32(o.Reserved1);
        out.F32(o.Reserved2);
    }
}

void WritePayload(Writer& out, const Message& message) {
    if (const auto* start = std::get_if<StreamStart>(&message)) {
        out.U8(start->processSite);
        out.U8(start->sensorAlgorithm);
        out.U16(start->gateCount);
        out.U16(start->framePeriodMs);
        out.F32(start->rangeResolution);
    } else if (const auto* enter = std::get_if<CommandModeEnter>(&message)) {
        out.U32(static_cast<uint32_t>(enter->param));
        out.U32(enter->timeoutMs);
    } else if (const auto* command = std::get_if<Command>(&message)) {
        out.U16(command->command);
        out.Bytes(command->data);
    } else if (const auto* identity = std::get_if<Identity>(&message)) {
        out.U8(identity->protocolVersion);
        for (size_t i = 0; i < identity->text.size() && i < kMaxIdentityText; ++i) {
            out.U8(static_cast<uint8_t>(identity->text[i]));
        }
    } else if (const auto* frame = std::get_if<RadarFrame>(&message)) {
        WriteFrame(out, *frame);
    } else if (const auto* state = std::get_if<CommandModeState>(&message)) {
        out.U8(state->inCommandMode ? 1 : 0);
    } else if (const auto* ack = std::get_if<CommandAck>(&message)) {
        out.Bytes(ack->bytes);
    }
}

bool ReadFrame(const uint8_t* bytes, size_t size, double rangeResolution, RadarFrame& frame) {
    if (size < kFrameHeaderSize) {
        return false;
    }
    Reader in(bytes);
    frame.index = in.U32();
    frame.timeMs = in.U32();
    frame.flags = static_cast<uint8_t>(in.U8() & kFrameSensorObjects);
    const size_t detections = in.U8();
    const size_t objects = in.U8();
    if (detections > kMaxDetections || objects > kMaxSensorObjects ||
        size != kFrameHeaderSize + detections * kDetectionSize + objects * kObjectSize) {
        return false;
    }
    auto gateOf = [rangeResolution](double distance) {
        return rangeResolution > 0.0 ? distance / rangeResolution : 0.0;
    };
    frame.detections.resize(detections);
    for (Detection& d : frame.detections) {
        d.distance = in.F32();
        d.angle = in.F32();
        d.velocity = in.F32();
        d.amplitude = in.F32();
        if (!Within(d.distance, kMaxDistanceM) || d.distance < 0.0 ||
            !Within(d.angle, kMaxAngleDeg) || !Within(d.velocity, kMaxSpeedMps) ||
            !Within(d.amplitude, kMaxAmplitudeDb)) {
            return false;
        }
        d.gate = gateOf(d.distance);
    }
    frame.sensorObjects.resize(objects);
    for (RadarObject& o : frame.sensorObjects) {
        o.Id = static_cast<int32_t>(in.U32());
        o.Distance = in.F32();
        o.Velocity = in.F32();
        o.Angle = in.F32();
        o.Reserved1 = in.F32();
        o.Reserved2 = in.F32();
        if (!Within(o.Distance, kMaxDistanceM) || !Within(o.Velocity, kMaxSpeedMps) ||
            !Within(o.Angle, kMaxAngleDeg) || !Within(o.Reserved1, kMaxDistanceM) ||
            !Within(o.Reserved2, kMaxDistanceM)) {
            return false;
        }
        o.GateDistance = o.Distance < 0.0 ? -1.0 : gateOf(o.Distance);
    }
    if (objects > 0 && (frame.flags & kFrameSensorObjects) == 0) {
        return false;
    }
    return true;
}

bool Printable(uint8_t c) {
    return c >= 0x20 && c <= 0x7E;
}

// The message of a packet that checked out; false when its payload makes no sense.
bool ReadPayload(uint8_t type, const uint8_t* bytes, size_t size, double rangeResolution,
                 Message& message) {
    Reader in(bytes);
    switch (type) {
        case kIdentifyRequest:
            message = IdentifyRequest{};
            return size == 0;
        case kStreamStart: {
            if (size != kStreamStartSize) {
                return false;
            }
            StreamStart start;
            start.processSite = in.U8();
            start.sensorAlgorithm = in.U8();
            start.gateCount = in.U16();
            start.framePeriodMs = in.U16();
            start.rangeResolution = static_cast<float>(in.F32());
            message = start;
            return start.gateCount > 0 && start.framePeriodMs > 0 &&
                   std::isfinite(start.rangeResolution) && start.rangeResolution > 0.0f &&
                   start.rangeResolution <= 100.0f;
        }
        case kStreamStop:
            message = StreamStop{};
            return size == 0;
        case kCommandModeEnter: {
            if (size != kCommandModeEnterSize) {
                return false;
            }
            CommandModeEnter enter;
            enter.param = static_cast<int32_t>(in.U32());
            enter.timeoutMs = in.U32();
            message = enter;
            return true;
        }
        case kCommandModeLeave:
            message = CommandModeLeave{};
            return size == 0;
        case kCommand: {
            if (size < 2) {
                return false;
            }
            Command command;
            command.command = in.U16();
            command.data.assign(bytes + 2, bytes + size);
            message = std::move(command);
            return true;
        }
        case kIdentity: {
            if (size < 1 || size > 1 + kMaxIdentityText) {
                return false;
            }
            Identity identity;
            identity.protocolVersion = in.U8();
            for (size_t i = 1; i < size; ++i) {
                if (!Printable(bytes[i])) {
                    return false;
                }
                identity.text.push_back(static_cast<char>(bytes[i]));
            }
            message = std::move(identity);
            return true;
        }
        case kFrame: {
            RadarFrame frame;
            if (!ReadFrame(bytes, size, rangeResolution, frame)) {
                return false;
            }
            message = std::move(frame);
            return true;
        }
        case kCommandModeState: {
            if (size != 1 || bytes[0] > 1) {
                return false;
            }
            message = CommandModeState{bytes[0] == 1};
            return true;
        }
        case kCommandAck: {
            if (size < 1 || size > kMaxAckSize) {
                return false;
            }
            message = CommandAck{std::vector<uint8_t>(bytes, bytes + size)};
            return true;
        }
        default:
            return false;
    }
}

}  // namespace

std::vector<uint8_t> Encode(const Message& message) {
    Writer payload;
    WritePayload(payload, message);
    const std::vector<uint8_t>& body = payload.Result();
    Writer packet;
    packet.U8(kSync0);
    packet.U8(kSync1);
    packet.U8(TypeOf(message));
    packet.U16(static_cast<uint16_t>(body.size()));
    packet.Bytes(body);
    std::vector<uint8_t>& bytes = packet.Result();
    // The check value covers type, length and payload: a sync word inside the data cannot
    // make a shifted packet check out by itself.
    packet.U16(Crc16Modbus(bytes.data() + 2, bytes.size() - 2));
    return std::move(bytes);
}

SensorLinkDecoder::SensorLinkDecoder(double rangeResolution) : m_rangeResolution(rangeResolution) {}

void SensorLinkDecoder::Reset() {
    m_pending.clear();
}

void SensorLinkDecoder::Feed(const uint8_t* bytes, size_t size, std::vector<Message>& out) {
    if (bytes == nullptr || size == 0) {
        return;
    }
    m_pending.insert(m_pending.end(), bytes, bytes + size);
    size_t at = 0;
    for (;;) {
        // Look for a sync word; a first sync byte at the very end may still become one.
        if (at < m_pending.size() && m_pending[at] != kSync0) {
            ++m_skippedBytes;
            ++at;
            continue;
        }
        if (at + 1 < m_pending.size() && m_pending[at + 1] != kSync1) {
            ++m_skippedBytes;
            ++at;
            continue;
        }
        if (m_pending.size() - at < kHeaderSize) {
            break;
        }
        const uint8_t type = m_pending[at + 2];
        const size_t length = m_pending[at + 3] | (static_cast<size_t>(m_pending[at + 4]) << 8);
        if (length > kMaxPayload) {
            // No packet is this long: this sync word was data. Look again one byte on.
            ++m_skippedBytes;
            ++at;
            continue;
        }
        const size_t total = kHeaderSize + length + kCrcSize;
        if (m_pending.size() - at < total) {
            break;
        }
        const uint8_t* packet = m_pending.data() + at;
        const uint16_t sent = static_cast<uint16_t>(packet[total - 2] | (packet[total - 1] << 8));
        if (Crc16Modbus(packet + 2, total - 4) != sent) {
            ++m_badChecks;
            ++m_skippedBytes;
            ++at;
            continue;
        }
        Message message;
        if (ReadPayload(type, packet + kHeaderSize, length, m_rangeResolution, message)) {
            out.push_back(std::move(message));
        } else {
            ++m_malformed;
        }
        at += total;
    }
    m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<std::ptrdiff_t>(at));
}

}  // namespace zuvo::radar::link
