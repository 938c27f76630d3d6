#include "RawDataFormat.h"

#include <algorithm>
#include <cstring>

#include "Crc32.h"

namespace zuvo::radar {

namespace {

constexpr uint8_t kFileMagic[8] = {'Z', 'V', 'R', 'A', 'W', 'D', 'A', 'T'};
constexpr uint8_t kFrameSync[4] = {'Z', 'F', 'R', 'M'};
constexpr size_t kFramePayloadFixed = 16;

class ByteWriter {
public:
    explicit ByteWriter(std::vector<uint8_t>& out) : m_out(out) {}
    void Bytes(const uint8_t* data, size_t size) { m_out.insert(m_out.end(), data, data + size); }
    void Unsigned(uint64_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            m_out.push_back(static_cast<uint8_t>(value >> (8 * i)));
        }
    }
    void Real(double value) {
        uint64_t bits = 0;
        std::memcpy(&bits, &value, sizeof(bits));
        Unsigned(bits, 8);
    }

private:
    std::vector<uint8_t>& m_out;
};

class ByteReader {
public:
    explicit ByteReader(const uint8_t* data) : m_data(data), m_at(0) {}
    uint64_t Unsigned(int bytes) {
        uint64_t value = 0;
        for (int i = bytes - 1; i >= 0; --i) {
            value = (value << 8) | m_data[m_at + static_cast<size_t>(i)];
        }
        m_at += static_cast<size_t>(bytes);
        return value;
    }
    double Real() {
        const uint64_t bits = Unsigned(8);
        double value = 0.0;
        std::memcpy(&value, &bits, sizeof(value));
        return value;
    }
    void Skip(size_t bytes) { m_at += bytes; }

private:
    const uint8_t* m_data;
    size_t m_at;
};

uint32_t ReadU32(const uint8_t* data) {
    return static_cast<uint32_t>(ByteReader(data).Unsigned(4));
}

}  // namespace

std::vector<uint8_t> EncodeFileHeader(const RawFileHeader& header) {
    std::vector<uint8_t> out;
    // Reserving first also keeps GCC 12's optimiser from a false out-of-bounds warning on the
    // insert into an empty vector.
    out.reserve(kRawFileHeaderSize);
    ByteWriter writer(out);
    writer.Bytes(kFileMagic, sizeof(kFileMagic));
    writer.Unsigned(kRawFormatVersion, 2);
    writer.Unsigned(kRawFileHeaderSize, 2);
    writer.Unsigned(header.framePeriodMs, 4);
    writer.Unsigned(header.gateCount, 4);
    writer.Real(header.rangeResolution);
    writer.Unsigned(0, 4);
    writer.Unsigned(Crc32(out.data(), out.size()), 4);
    return out;
}

bool DecodeFileHeader(const uint8_t* data, size_t size, RawFileHeader& header,
                      std::string& problem) {
    if (data == nullptr || size < kRawFileHeaderSize) {
        problem = "too short for a raw data file";
        return false;
    }
    if (std::memcmp(data, kFileMagic, sizeof(kFileMagic)) != 0) {
        problem = "not a raw data file";
        return false;
    }
    if (Crc32(data, kRawFileHeaderSize - 4) != ReadU32(data + kRawFileHeaderSize - 4)) {
        problem = "damaged file header";
        return false;
    }
    ByteReader reader(data + sizeof(kFileMagic));
    const auto version = static_cast<uint16_t>(reader.Unsigned(2));
    const auto headerSize = static_cast<uint16_t>(reader.Unsigned(2));
    if (version != kRawFormatVersion || headerSize != kRawFileHeaderSize) {
        problem = "raw data format version " + std::to_string(version) + " is not supported";
        return false;
    }
    header.framePeriodMs = static_cast<uint32_t>(reader.Unsigned(4));
    header.gateCount = static_cast<uint32_t>(reader.Unsigned(4));
    header.rangeResolution = reader.Real();
    return true;
}

void EncodeFrame(const RadarFrame& frame, std::vector<uint8_t>& out) {
    const size_t detections =
        std::min(frame.detections.size(), static_cast<size_t>(kRawMaxDetections));
    const size_t objects =
        std::min(frame.sensorObjects.size(), static_cast<size_t>(kRawMaxSensorObjects));
    const size_t start = out.size();
    ByteWriter writer(out);
    writer.Bytes(kFrameSync, sizeof(kFrameSync));
    writer.Unsigned(kFramePayloadFixed + kRawItemSize * (detections + objects), 4);
    writer.Unsigned(frame.index, 4);
    writer.Unsigned(frame.timeMs, 4);
    writer.Unsigned(detections, 2);
    writer.Unsigned(objects, 2);
    writer.Unsigned(frame.flags, 1);
    writer.Unsigned(0, 3);
    for (size_t i = 0; i < detections; ++i) {
        const Detection& d = frame.detections[i];
        writer.Real(d.distance);
        writer.Real(d.gate);
        writer.Real(d.angle);
        writer.Real(d.velocity);
        writer.Real(d.amplitude);
    }
    for (size_t i = 0; i < objects; ++i) {
        const RadarObject& o = frame.sensorObjects[i];
        writer.Unsigned(static_cast<uint64_t>(o.Id), 8);
        writer.Real(o.GateDistance);
        writer.Real(o.Distance);
        writer.Real(o.Velocity);
        writer.Real(o.Angle);
    }
    writer.Unsigned(Crc32(out.data() + start, out.size() - start), 4);
}

FrameDecode CheckFrameLayout(const uint8_t* data, size_t size, size_t& frameSize) {
    if (size < 8) {
        return FrameDecode::Truncated;
    }
    if (std::memcmp(data, kFrameSync, sizeof(kFrameSync)) != 0) {
        return FrameDecode::Damaged;
    }
    const uint32_t length = ReadU32(data + 4);
    const size_t largest =
        kFramePayloadFixed + kRawItemSize * (kRawMaxDetections + kRawMaxSensorObjects);
    if (length < kFramePayloadFixed || length > largest) {
        return FrameDecode::Damaged;
    }
    // The counts fix the length: checked before the CRC, which costs the whole frame.
    if (size >= 8 + kFramePayloadFixed) {
        ByteReader counts(data + 16);
        const auto detections = static_cast<size_t>(counts.Unsigned(2));
        const auto objects = static_cast<size_t>(counts.Unsigned(2));
        if (detections > kRawMaxDetections || objects > kRawMaxSensorObjects ||
            length != kFramePayloadFixed + kRawItemSize * (detections + objects)) {
            return FrameDecode::Damaged;
        }
    }
    const size_t total = 8 + static_cast<size_t>(length) + 4;
    if (size < total) {
        return FrameDecode::Truncated;
    }
    frameSize = total;
    return FrameDecode::Ok;
}

uint32_t StoredFrameCrc(const uint8_t* data, size_t frameSize) {
    return ReadU32(data + frameSize - 4);
}

void ReadCheckedFrame(const uint8_t* data, RadarFrame& frame) {
    ByteReader reader(data + 8);
    RadarFrame decoded;
    decoded.index = static_cast<uint32_t>(reader.Unsigned(4));
    decoded.timeMs = static_cast<uint32_t>(reader.Unsigned(4));
    const auto detections = static_cast<size_t>(reader.Unsigned(2));
    const auto objects = static_cast<size_t>(reader.Unsigned(2));
    decoded.flags = static_cast<uint8_t>(reader.Unsigned(1));
    reader.Skip(3);
    decoded.detections.resize(detections);
    for (Detection& d : decoded.detections) {
        d.distance = reader.Real();
        d.gate = reader.Real();
        d.angle = reader.Real();
        d.velocity = reader.Real();
        d.amplitude = reader.Real();
    }
    decoded.sensorObjects.resize(objects);
    for (RadarObject& o : decoded.sensorObjects) {
        o.Id = static_cast<int64_t>(reader.Unsigned(8));
        o.GateDistance = reader.Real();
        o.Distance = reader.Real();
        o.Velocity = reader.Real();
        o.Angle = reader.Real();
        o.Reserved1 = 0.0;
        o.Reserved2 = 0.0;
    }
    frame = std::move(decoded);
}

FrameDecode DecodeFrame(const uint8_t* data, size_t size, RadarFrame& frame, size_t& frameSize) {
    size_t total = 0;
    const FrameDecode layout = CheckFrameLayout(data, size, total);
    if (layout != FrameDecode::Ok) {
        return layout;
    }
    if (Crc32(data, total - 4) != StoredFrameCrc(data, total)) {
        return FrameDecode::Damaged;
    }
    ReadCheckedFrame(data, frame);
    frameSize = total;
    return FrameDecode::Ok;
}

size_t FindFrameSync(const uint8_t* data, size_t size, size_t from) {
    for (size_t i = from; i + sizeof(kFrameSync) <= size; ++i) {
        if (std::memcmp(data + i, kFrameSync, sizeof(kFrameSync)) == 0) {
            return i;
        }
    }
    return size;
}

}  // namespace zuvo::radar
