// The serial sensor's line protocol: what is encoded comes back whatever pieces the line cuts
// it into, and noise, damaged packets and nonsense inside sound packets cost only themselves.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "CommandAck.h"
#include "SensorLink.h"

namespace zuvo::radar::link {
namespace {

RadarFrame SampleFrame() {
    RadarFrame frame;
    frame.index = 1234;
    frame.timeMs = 61700;
    frame.flags = kFrameSensorObjects;
    frame.detections.push_back(Detection{3.25, 0.0, -12.5, 0.75, 31.5});
    frame.detections.push_back(Detection{6.0, 0.0, 41.0, -1.25, 22.0});
    RadarObject held{7, 0.0, 4.5, -0.5, 30.0, -2.25, 3.9};
    RadarObject empty{-1, -1.0, -1.0, 0.0, 0.0, 0.0, 0.0};
    frame.sensorObjects = {held, empty, held};
    frame.sensorObjects[2].Id = 9;
    return frame;
}

std::vector<Message> Decode(const std::vector<uint8_t>& bytes, size_t piece = 0) {
    SensorLinkDecoder decoder(0.25);
    std::vector<Message> out;
    if (piece == 0) {
        decoder.Feed(bytes.data(), bytes.size(), out);
    } else {
        for (size_t at = 0; at < bytes.size(); at += piece) {
            decoder.Feed(bytes.data() + at, std::min(piece, bytes.size() - at), out);
        }
    }
    return out;
}

void Append(std::vector<uint8_t>& to, const std::vector<uint8_t>& bytes) {
    to.insert(to.end(), bytes.begin(), bytes.end());
}

void ExpectSameFrame(const RadarFrame& got, const RadarFrame& sent) {
    EXPECT_EQ(got.index, sent.index);
    EXPECT_EQ(got.timeMs, sent.timeMs);
    EXPECT_EQ(got.flags, sent.flags);
    ASSERT_EQ(got.detections.size(), sent.detections.size());
    for (size_t i = 0; i < sent.detections.size(); ++i) {
        SCOPED_TRACE(i);
        // Values travel as 32-bit floats: exact for these, a few millimetres at most otherwise.
        EXPECT_FLOAT_EQ(got.detections[i].distance, sent.detections[i].distance);
        EXPECT_FLOAT_EQ(got.detections[i].gate, sent.detections[i].distance / 0.25);
        EXPECT_FLOAT_EQ(got.detections[i].angle, sent.detections[i].angle);
        EXPECT_FLOAT_EQ(got.detections[i].velocity, sent.detections[i].velocity);
        EXPECT_FLOAT_EQ(got.detections[i].amplitude, sent.detections[i].amplitude);
    }
    ASSERT_EQ(got.sensorObjects.size(), sent.sensorObjects.size());
    for (size_t i = 0; i < sent.sensorObjects.size(); ++i) {
        SCOPED_TRACE(i);
        const RadarObject& g = got.sensorObjects[i];
        const RadarObject& s = sent.sensorObjects[i];
        EXPECT_EQ(g.Id, s.Id);
        EXPECT_FLOAT_EQ(g.Distance, s.Distance);
        EXPECT_FLOAT_EQ(g.GateDistance, s.Distance < 0 ? -1.0 : s.Distance / 0.25);
        EXPECT_FLOAT_EQ(g.Velocity, s.Velocity);
        EXPECT_FLOAT_EQ(g.Angle, s.Angle);
        EXPECT_FLOAT_EQ(g.Reserved1, s.Reserved1);
        EXPECT_FLOAT_EQ(g.Reserved2, s.Reserved2);
    }
}

// Every message of both directions, one after the other on one line.
std::vector<Message> EveryMessage() {
    StreamStart start;
    start.processSite = 10;
    start.sensorAlgorithm = 1;
    start.gateCount = 32;
    start.framePeriodMs = 50;
    start.rangeResolution = 0.25f;
    return {IdentifyRequest{},
            start,
            StreamStop{},
            CommandModeEnter{1, 3000},
            CommandModeLeave{},
            Command{RADAR_CMD_TRACK_SINGLE, {}},
            Command{0x1234, {1, 2, 3}},
            Identity{kProtocolVersion, "ZUVO mmWave sensor SN 0042"},
            SampleFrame(),
            CommandModeState{true},
            CommandAck{BuildAck(RADAR_PROTOCOL_V2, RADAR_CMD_TRACK_MULTI, kStatusOk, 0)}};
}

TEST(SensorLink, EveryMessageComesBackWhateverPiecesTheLineCutsItInto) {
    const std::vector<Message> sent = EveryMessage();
    std::vector<uint8_t> line;
    for (const Message& message : sent) {
        Append(line, Encode(message));
    }
    for (size_t piece : {size_t{0}, size_t{1}, size_t{2}, size_t{7}, size_t{64}}) {
        SCOPED_TRACE(piece);
        const std::vector<Message> got = Decode(line, piece);
        ASSERT_EQ(got.size(), sent.size());
        for (size_t i = 0; i < sent.size(); ++i) {
            ASSERT_EQ(got[i].index(), sent[i].index()) << i;
        }
        const auto& start = std::get<StreamStart>(got[1]);
        EXPECT_EQ(start.processSite, 10);
        EXPECT_EQ(start.sensorAlgorithm, 1);
        EXPECT_EQ(start.gateCount, 32);
        EXPECT_EQ(start.framePeriodMs, 50);
        EXPECT_FLOAT_EQ(start.rangeResolution, 0.25f);
        EXPECT_EQ(std::get<CommandModeEnter>(got[3]).param, 1);
        EXPECT_EQ(std::get<CommandModeEnter>(got[3]).timeoutMs, 3000u);
        EXPECT_EQ(std::get<Command>(got[5]).command, RADAR_CMD_TRACK_SINGLE);
        EXPECT_TRUE(std::get<Command>(got[5]).data.empty());
        EXPECT_EQ(std::get<Command>(got[6]).data, (std::vector<uint8_t>{1, 2, 3}));
        EXPECT_EQ(std::get<Identity>(got[7]).protocolVersion, kProtocolVersion);
        EXPECT_EQ(std::get<Identity>(got[7]).text, "ZUVO mmWave sensor SN 0042");
        ExpectSameFrame(std::get<RadarFrame>(got[8]), SampleFrame());
        EXPECT_TRUE(std::get<CommandModeState>(got[9]).inCommandMode);
        // The wrapped acknowledgement is the one the acknowledgement check takes.
        const std::vector<uint8_t>& ack = std::get<CommandAck>(got[10]).bytes;
        EXPECT_EQ(CheckAck(RADAR_PROTOCOL_V2, ack.data(), static_cast<int>(ack.size()), 0), kAckOk);
    }
}

TEST(SensorLink, NoiseAndDamagedPacketsCostOnlyThemselves) {
    const std::vector<uint8_t> frame = Encode(SampleFrame());
    const std::vector<uint8_t> state = Encode(CommandModeState{false});

    std::vector<uint8_t> line = {0x00, 0xAA, 0x13, 0x55, 0xAA};  // noise with sync bytes in it
    Append(line, frame);
    std::vector<uint8_t> damaged = frame;
    damaged[20] ^= 0x01;  // a bit flipped inside a value
    Append(line, damaged);
    std::vector<uint8_t> cutShort(frame.begin(), frame.begin() + 30);  // the rest never came
    Append(line, cutShort);
    Append(line, state);
    // A false start whose length announces a long packet: the packets behind it are found once
    // enough bytes show that it does not check out.
    Append(line, {0xAA, 0x55, 0x82, 0x00, 0x04});
    Append(line, frame);
    Append(line, std::vector<uint8_t>(2100, 0x00));

    SensorLinkDecoder decoder(0.25);
    std::vector<Message> got;
    decoder.Feed(line.data(), line.size(), got);
    ASSERT_EQ(got.size(), 3u);
    ExpectSameFrame(std::get<RadarFrame>(got[0]), SampleFrame());
    EXPECT_FALSE(std::get<CommandModeState>(got[1]).inCommandMode);
    ExpectSameFrame(std::get<RadarFrame>(got[2]), SampleFrame());
    EXPECT_GE(decoder.BadChecks(), 2u);
    EXPECT_EQ(decoder.Malformed(), 0u);
    EXPECT_GT(decoder.SkippedBytes(), 0u);
}

// A packet whose check value is right but whose contents are not: wrapped by hand.
std::vector<uint8_t> Packet(uint8_t type, const std::vector<uint8_t>& payload) {
    std::vector<uint8_t> bytes{kSync0, kSync1, type, static_cast<uint8_t>(payload.size()),
                               static_cast<uint8_t>(payload.size() >> 8)};
    Append(bytes, payload);
    const uint16_t crc = Crc16Modbus(bytes.data() + 2, bytes.size() - 2);
    bytes.push_back(static_cast<uint8_t>(crc));
    bytes.push_back(static_cast<uint8_t>(crc >> 8));
    return bytes;
}

TEST(SensorLink, SoundPacketsWithNonsenseInsideAreDroppedWhole) {
    std::vector<uint8_t> frame = Encode(SampleFrame());
    std::vector<uint8_t> payload(frame.begin() + kHeaderSize, frame.end() - kCrcSize);

    std::vector<std::vector<uint8_t>> nonsense;
    {
        std::vector<uint8_t> longer = payload;  // counts that do not match the size
        longer.push_back(0);
        nonsense.push_back(Packet(kFrame, longer));
    }
    {
        std::vector<uint8_t> notANumber = payload;  // first detection's distance: NaN
        const uint32_t nan = 0x7FC00000;
        for (int i = 0; i < 4; ++i) {
            notANumber[11 + static_cast<size_t>(i)] = static_cast<uint8_t>(nan >> (8 * i));
        }
        nonsense.push_back(Packet(kFrame, notANumber));
    }
    {
        std::vector<uint8_t> unflagged = payload;  // objects without the sensor-objects flag
        unflagged[8] = 0;
        nonsense.push_back(Packet(kFrame, unflagged));
    }
    nonsense.push_back(Packet(0x7F, {}));                            // unknown type
    nonsense.push_back(Packet(kIdentity, {1, 'A', 0x07}));           // control character
    nonsense.push_back(Packet(kCommandModeState, {2}));              // neither 0 nor 1
    nonsense.push_back(Packet(kIdentifyRequest, {0}));               // takes no payload
    nonsense.push_back(Packet(kStreamStart, {10, 0, 0, 0, 50, 0}));  // too short
    nonsense.push_back(Packet(kCommandAck, {}));                     // empty

    for (size_t i = 0; i < nonsense.size(); ++i) {
        SCOPED_TRACE(i);
        std::vector<uint8_t> line = nonsense[i];
        Append(line, Encode(CommandModeState{true}));
        SensorLinkDecoder decoder(0.25);
        std::vector<Message> got;
        decoder.Feed(line.data(), line.size(), got);
        ASSERT_EQ(got.size(), 1u);
        EXPECT_TRUE(std::holds_alternative<CommandModeState>(got[0]));
        EXPECT_EQ(decoder.Malformed(), 1u);
    }
}

TEST(SensorLink, RandomBytesAroundPacketsLoseNoPacket) {
    std::mt19937 random(20241209);
    std::uniform_int_distribution<int> byte(0, 255);
    std::vector<uint8_t> line;
    constexpr int kPackets = 200;
    for (int i = 0; i < kPackets; ++i) {
        const int noise = byte(random);
        for (int k = 0; k < noise; ++k) {
            // Often the sync bytes, to tempt the decoder into false starts.
            const int value = byte(random);
            line.push_back(static_cast<uint8_t>(value < 40 ? 0xAA : value < 80 ? 0x55 : value));
        }
        RadarFrame frame = SampleFrame();
        frame.index = static_cast<uint32_t>(i);
        Append(line, Encode(frame));
    }
    // Whatever false start is pending at the end is cleared by enough plain bytes.
    Append(line, std::vector<uint8_t>(kMaxPayload + kHeaderSize + kCrcSize, 0x00));

    SensorLinkDecoder decoder(0.25);
    std::vector<Message> got;
    std::uniform_int_distribution<size_t> piece(1, 300);
    for (size_t at = 0; at < line.size();) {
        const size_t size = std::min(piece(random), line.size() - at);
        decoder.Feed(line.data() + at, size, got);
        at += size;
    }
    // Noise may by chance form a packet that checks out, never one that also makes sense as a
    // frame of this run: the sent frames come back, in order.
    std::vector<uint32_t> indexes;
    for (const Message& message : got) {
        if (const auto* frame = std::get_if<RadarFrame>(&message)) {
            indexes.push_back(frame->index);
        }
    }
    ASSERT_EQ(indexes.size(), static_cast<size_t>(kPackets));
    for (int i = 0; i < kPackets; ++i) {
        EXPECT_EQ(indexes[static_cast<size_t>(i)], static_cast<uint32_t>(i));
    }
}

}  // namespace
}  // namespace zuvo::radar::link
