#include "SimulatedSensor.h"

#include "RadarConfigFile.h"

namespace zuvo::radar::sim {

namespace {

// The host's record, as far as a stream start tells it.
tagRADARPARAMETER RecordOf(const link::StreamStart& start) {
    tagRADARPARAMETER record;
    SetDefaultParameters(record);
    record.ProcessSite = start.processSite;
    record.SensorAlgorithm = start.sensorAlgorithm;
    record.GateCount = start.gateCount;
    record.FramePeriodMs = start.framePeriodMs;
    record.RangeResolution = start.rangeResolution;
    return record;
}

tagRADARPARAMETER ControlRecord() {
    tagRADARPARAMETER record;
    SetDefaultParameters(record);
    record.ProcessSite = RADAR_PROCESS_SITE_SENSOR;
    return record;
}

void Append(std::vector<uint8_t>& out, const link::Message& message) {
    const std::vector<uint8_t> bytes = link::Encode(message);
    out.insert(out.end(), bytes.begin(), bytes.end());
}

}  // namespace

SimulatedSensor::SimulatedSensor(const tagEMULATORSETTINGS& emulator, std::string identity)
    : m_emulator(emulator), m_identity(std::move(identity)), m_control(ControlRecord(), emulator) {}

std::vector<uint8_t> SimulatedSensor::Receive(const uint8_t* bytes, size_t size, uint32_t nowMs) {
    std::vector<link::Message> messages;
    m_decoder.Feed(bytes, size, messages);
    std::vector<uint8_t> out;
    for (const link::Message& message : messages) {
        Answer(message, nowMs, out);
    }
    return out;
}

void SimulatedSensor::Answer(const link::Message& message, uint32_t nowMs,
                             std::vector<uint8_t>& out) {
    if (std::holds_alternative<link::IdentifyRequest>(message)) {
        ++m_identifications;
        Append(out, link::Identity{link::kProtocolVersion, m_identity});
    } else if (const auto* start = std::get_if<link::StreamStart>(&message)) {
        m_sensor = std::make_unique<EmulatedSensor>(RecordOf(*start), m_emulator);
        // The new sensor model tracks with the slots the host last asked for.
        const uint16_t mode =
            m_control.TrackingSlots() == 1 ? RADAR_CMD_TRACK_SINGLE : RADAR_CMD_TRACK_MULTI;
        m_sensor->EnterCommandMode(0, 1000, nowMs);
        m_sensor->HandleCommand(mode, nowMs);
        m_sensor->LeaveCommandMode(nowMs);
        m_framePeriodMs = start->framePeriodMs;
        m_streamStartMs = nowMs;
        m_framesSent = 0;
    } else if (std::holds_alternative<link::StreamStop>(message)) {
        m_sensor.reset();
    } else if (const auto* enter = std::get_if<link::CommandModeEnter>(&message)) {
        const bool entered = m_control.EnterCommandMode(enter->param, enter->timeoutMs, nowMs);
        Append(out, link::CommandModeState{entered && m_control.InCommandMode(nowMs)});
    } else if (std::holds_alternative<link::CommandModeLeave>(message)) {
        m_control.LeaveCommandMode(nowMs);
        Append(out, link::CommandModeState{false});
    } else if (const auto* command = std::get_if<link::Command>(&message)) {
        m_commands.push_back(command->command);
        std::vector<uint8_t> ack = m_control.HandleCommand(command->command, nowMs);
        // Outside command mode the sensor stays silent, as the emulator does.
        if (!ack.empty()) {
            if (m_sensor) {
                m_sensor->EnterCommandMode(0, 1000, nowMs);
                m_sensor->HandleCommand(command->command, nowMs);
                m_sensor->LeaveCommandMode(nowMs);
            }
            Append(out, link::CommandAck{std::move(ack)});
        }
    }
    // What a host sends that only a sensor sends (frames, answers) is not for us.
}

std::vector<uint8_t> SimulatedSensor::FramesDue(uint32_t nowMs) {
    std::vector<uint8_t> out;
    if (!m_sensor) {
        return out;
    }
    const uint32_t period = m_framePeriodMs > 0 ? m_framePeriodMs : 1;
    // Frame k is due k periods after the start; a late caller gets the frames it missed.
    while (static_cast<int32_t>(nowMs - (m_streamStartMs + m_framesSent * period)) >= 0) {
        Append(out, m_sensor->NextFrame());
        ++m_framesSent;
        ++m_totalFrames;
    }
    return out;
}

}  // namespace zuvo::radar::sim
