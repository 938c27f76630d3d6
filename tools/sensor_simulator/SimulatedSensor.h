// A serial sensor as the tests need one: it speaks the line protocol of SensorLink.h and sees
// the radar emulator's scene through the emulator's own sensor model, so its frames carry the
// objects the built-in emulator would report. It is driven from outside: bytes from the host go
// in, bytes for the host come out, and the caller's clock says when a frame is due.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "EmulatedSensor.h"
#include "SensorLink.h"

namespace zuvo::radar::sim {

class SimulatedSensor {
public:
    SimulatedSensor(const tagEMULATORSETTINGS& emulator, std::string identity);

    // Takes bytes the host sent; answers the bytes of the answers (identity, command-mode
    // states, acknowledgements). nowMs: the caller's millisecond clock.
    std::vector<uint8_t> Receive(const uint8_t* bytes, size_t size, uint32_t nowMs);
    // While streaming, the packets of the frames due by nowMs (one frame period apart from the
    // stream's start); empty when none is due.
    std::vector<uint8_t> FramesDue(uint32_t nowMs);

    bool Streaming() const { return m_sensor != nullptr; }
    // What the sensor was asked, for a test's report: commands in the order they came.
    const std::vector<uint16_t>& Commands() const { return m_commands; }
    // Frames sent over all streams, and identity requests answered.
    uint32_t FramesSent() const { return m_totalFrames; }
    int Identifications() const { return m_identifications; }

private:
    void Answer(const link::Message& message, uint32_t nowMs, std::vector<uint8_t>& out);

    const tagEMULATORSETTINGS m_emulator;
    const std::string m_identity;
    link::SensorLinkDecoder m_decoder;
    // Command mode and the tracking mode last commanded live as long as the sensor; the scene
    // and its sensor model start anew with every stream, in that tracking mode.
    EmulatedSensor m_control;
    std::unique_ptr<EmulatedSensor> m_sensor;
    uint32_t m_streamStartMs = 0;
    uint32_t m_framePeriodMs = 50;
    uint32_t m_framesSent = 0;  // of this stream
    uint32_t m_totalFrames = 0;
    int m_identifications = 0;
    std::vector<uint16_t> m_commands;
};

}  // namespace zuvo::radar::sim
