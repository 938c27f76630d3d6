// The GIF decoder: pictures made by a small LZW encoder below (so every feature can be built on
// purpose), a hand-made file from outside this code, and damaged copies of all of them.
#include <cstdint>
#include <map>
#include <random>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "ZUVO_CommonCoreExtras.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Pixels = std::vector<uint32_t>;

constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kGreen = 0xFF00FF00;
constexpr uint32_t kBlue = 0xFF0000FF;
constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kClear = 0;

class BitWriter {
public:
    void Write(int code, int bits) {
        m_buffer |= static_cast<uint32_t>(code) << m_count;
        m_count += bits;
        while (m_count >= 8) {
            m_bytes.push_back(static_cast<uint8_t>(m_buffer));
            m_buffer >>= 8;
            m_count -= 8;
        }
    }
    Bytes Finish() {
        if (m_count > 0) {
            m_bytes.push_back(static_cast<uint8_t>(m_buffer));
        }
        return m_bytes;
    }

private:
    Bytes m_bytes;
    uint32_t m_buffer = 0;
    int m_count = 0;
};

// Encodes as GIF writers do: a code grows by a bit once the entry just added needs it, and a
// clear code restarts a full table. Answers the minimum code size byte, the sub-blocks and
// their terminator.
Bytes LzwImageData(const Bytes& pixels, int minCodeSize) {
    const int clear = 1 << minCodeSize;
    BitWriter bits;
    std::map<std::pair<int, uint8_t>, int> table;
    int codeSize = minCodeSize + 1;
    int next = clear + 2;
    bits.Write(clear, codeSize);
    int prefix = -1;
    for (const uint8_t pixel : pixels) {
        if (prefix < 0) {
            prefix = pixel;
            continue;
        }
        const auto found = table.find({prefix, pixel});
        if (found != table.end()) {
            prefix = found->second;
            continue;
        }
        bits.Write(prefix, codeSize);
        table[{prefix, pixel}] = next;
        if (next == (1 << codeSize) && codeSize < 12) {
            ++codeSize;
        }
        if (++next == 4096) {
            bits.Write(clear, codeSize);
            table.clear();
            codeSize = minCodeSize + 1;
            next = clear + 2;
        }
        prefix = pixel;
    }
    if (prefix >= 0) {
        bits.Write(prefix, codeSize);
        if (next == (1 << codeSize) && codeSize < 12) {
            ++codeSize;  // the decoder adds its last entry before reading the end code
        }
    }
    bits.Write(clear + 1, codeSize);
    const Bytes packed = bits.Finish();
    Bytes out = {static_cast<uint8_t>(minCodeSize)};
    for (size_t at = 0; at < packed.size(); at += 255) {
        const size_t length = std::min<size_t>(255, packed.size() - at);
        out.push_back(static_cast<uint8_t>(length));
        out.insert(out.end(), packed.begin() + static_cast<long>(at),
                   packed.begin() + static_cast<long>(at + length));
    }
    out.push_back(0);
    return out;
}

class GifBuilder {
public:
    GifBuilder(int width, int height, const Pixels& globalColours)
        : m_globalSize(globalColours.size()) {
        Append("GIF89a");
        Word(width);
        Word(height);
        m_bytes.push_back(static_cast<uint8_t>(0x80 | 0x70 | TableBits(globalColours)));
        m_bytes.push_back(0);  // background
        m_bytes.push_back(0);  // aspect
        Table(globalColours);
    }
    GifBuilder& Loop(int count) {
        m_bytes.insert(m_bytes.end(), {0x21, 0xFF, 11});
        Append("NETSCAPE2.0");
        m_bytes.insert(m_bytes.end(), {3, 1});
        Word(count);
        m_bytes.push_back(0);
        return *this;
    }
    GifBuilder& Control(int disposal, int delayCs, int transparentIndex) {
        m_bytes.insert(m_bytes.end(), {0x21, 0xF9, 4});
        m_bytes.push_back(static_cast<uint8_t>((disposal << 2) | (transparentIndex >= 0 ? 1 : 0)));
        Word(delayCs);
        m_bytes.push_back(static_cast<uint8_t>(transparentIndex >= 0 ? transparentIndex : 0));
        m_bytes.push_back(0);
        return *this;
    }
    // indexes are in row order; interlaced images are written in pass order.
    GifBuilder& Image(int left, int top, int width, int height, const Bytes& indexes,
                      bool interlaced = false, const Pixels& localColours = {}) {
        m_bytes.push_back(0x2C);
        Word(left);
        Word(top);
        Word(width);
        Word(height);
        uint8_t packed = interlaced ? 0x40 : 0;
        if (!localColours.empty()) {
            packed |= static_cast<uint8_t>(0x80 | TableBits(localColours));
        }
        m_bytes.push_back(packed);
        Table(localColours);
        Bytes ordered;
        for (const int row : RowOrder(height, interlaced)) {
            ordered.insert(ordered.end(), indexes.begin() + row * width,
                           indexes.begin() + (row + 1) * width);
        }
        // The smallest code size the colour table allows, as encoders write it.
        const int tableSize =
            static_cast<int>(localColours.empty() ? m_globalSize : localColours.size());
        int minCodeSize = 2;
        while ((1 << minCodeSize) < tableSize) {
            ++minCodeSize;
        }
        const Bytes data = LzwImageData(ordered, minCodeSize);
        m_bytes.insert(m_bytes.end(), data.begin(), data.end());
        return *this;
    }
    Bytes Finish() {
        m_bytes.push_back(0x3B);
        return m_bytes;
    }

private:
    static std::vector<int> RowOrder(int height, bool interlaced) {
        std::vector<int> rows;
        if (!interlaced) {
            for (int row = 0; row < height; ++row) {
                rows.push_back(row);
            }
            return rows;
        }
        for (const auto& [start, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}}) {
            for (int row = start; row < height; row += step) {
                rows.push_back(row);
            }
        }
        return rows;
    }
    static int TableBits(const Pixels& colours) {
        int bits = 0;
        while ((2 << bits) < static_cast<int>(colours.size())) {
            ++bits;
        }
        return bits;
    }
    void Table(const Pixels& colours) {
        if (colours.empty()) {
            return;
        }
        for (int i = 0; i < (2 << TableBits(colours)); ++i) {
            const uint32_t c = i < static_cast<int>(colours.size()) ? colours[i] : 0;
            m_bytes.insert(m_bytes.end(), {static_cast<uint8_t>(c >> 16),
                                           static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c)});
        }
    }
    void Append(const char* text) {
        for (; *text != '\0'; ++text) {
            m_bytes.push_back(static_cast<uint8_t>(*text));
        }
    }
    void Word(int value) {
        m_bytes.push_back(static_cast<uint8_t>(value));
        m_bytes.push_back(static_cast<uint8_t>(value >> 8));
    }

    size_t m_globalSize;
    Bytes m_bytes;
};

Pixels FrameOf(const CGifDecoderEx& gif, int index) {
    const uint32_t* frame = gif.GetFrame(index);
    if (frame == nullptr) {
        return {};
    }
    return Pixels(frame, frame + gif.GetWidth() * gif.GetHeight());
}

const Pixels kFour = {kRed, kGreen, kBlue, kWhite};

Bytes TwoByTwo() {
    return GifBuilder(2, 2, kFour).Image(0, 0, 2, 2, {0, 1, 2, 3}).Finish();
}

// Frame 1: red all over, removed afterwards (disposal 2). Frame 2: a 2x2 patch at (1, 1) whose
// index 0 is transparent.
Bytes ClearedAnimation() {
    return GifBuilder(4, 4, kFour)
        .Loop(0)
        .Control(2, 10, -1)
        .Image(0, 0, 4, 4, Bytes(16, 0))
        .Control(1, 20, 0)
        .Image(1, 1, 2, 2, {0, 1, 1, 0})
        .Finish();
}

// Frame 1: red, kept. Frame 2: blue at the top left, undone afterwards (disposal 3).
// Frame 3: green at the bottom right, drawn on the red only. Frame 4 has no control block:
// nothing of frame 3's (delay, transparent white) carries over to it.
Bytes RestoredAnimation() {
    return GifBuilder(3, 3, kFour)
        .Loop(3)
        .Control(1, 5, -1)
        .Image(0, 0, 3, 3, Bytes(9, 0))
        .Control(3, 5, -1)
        .Image(0, 0, 2, 2, Bytes(4, 2))
        .Control(0, 5, 3)
        .Image(2, 2, 1, 1, {1})
        .Image(0, 0, 1, 1, {3})
        .Finish();
}

// A picture from the widely used GIF walk-through (10x10, four colours), written by another
// encoder: white, red, blue, black.
const Bytes kWalkthrough = {0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x0A, 0x00, 0x0A, 0x00, 0x91, 0x00,
                            0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00,
                            0x00, 0x21, 0xF9, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x2C, 0x00, 0x00,
                            0x00, 0x00, 0x0A, 0x00, 0x0A, 0x00, 0x00, 0x02, 0x16, 0x8C, 0x2D, 0x99,
                            0x87, 0x2A, 0x1C, 0xDC, 0x33, 0xA0, 0x02, 0x75, 0xEC, 0x95, 0xFA, 0xA8,
                            0xDE, 0x60, 0x8C, 0x04, 0x91, 0x4C, 0x01, 0x00, 0x3B};

TEST(GifDecoder, SingleFrameColours) {
    const Bytes file = TwoByTwo();
    CGifDecoderEx gif;
    ASSERT_EQ(gif.LoadFromMemory(file.data(), file.size()), 1);
    EXPECT_EQ(gif.GetWidth(), 2);
    EXPECT_EQ(gif.GetHeight(), 2);
    EXPECT_EQ(FrameOf(gif, 0), (Pixels{kRed, kGreen, kBlue, kWhite}));
    EXPECT_EQ(gif.GetFrameDelay(0), 0);
    EXPECT_EQ(gif.GetLoopCount(), -1);
}

TEST(GifDecoder, FileFromAnotherEncoder) {
    CGifDecoderEx gif;
    ASSERT_EQ(gif.LoadFromMemory(kWalkthrough.data(), kWalkthrough.size()), 1);
    const char* rows[10] = {"1111122222", "1111122222", "1111122222", "1110000222", "1110000222",
                            "2220000111", "2220000111", "2222211111", "2222211111", "2222211111"};
    const uint32_t colours[3] = {kWhite, kRed, kBlue};
    Pixels expected;
    for (const char* row : rows) {
        for (; *row != '\0'; ++row) {
            expected.push_back(colours[*row - '0']);
        }
    }
    EXPECT_EQ(FrameOf(gif, 0), expected);
}

TEST(GifDecoder, TransparencyAndDisposalToBackground) {
    const Bytes file = ClearedAnimation();
    CGifDecoderEx gif;
    ASSERT_EQ(gif.LoadFromMemory(file.data(), file.size()), 2);
    EXPECT_EQ(FrameOf(gif, 0), Pixels(16, kRed));
    const Pixels second = {kClear, kClear, kClear, kClear, kClear, kClear, kGreen, kClear,
                           kClear, kGreen, kClear, kClear, kClear, kClear, kClear, kClear};
    EXPECT_EQ(FrameOf(gif, 1), second);
    EXPECT_EQ(gif.GetFrameDelay(0), 100);
    EXPECT_EQ(gif.GetFrameDelay(1), 200);
    EXPECT_EQ(gif.GetLoopCount(), 0);
}

TEST(GifDecoder, DisposalToPrevious) {
    const Bytes file = RestoredAnimation();
    CGifDecoderEx gif;
    ASSERT_EQ(gif.LoadFromMemory(file.data(), file.size()), 4);
    EXPECT_EQ(FrameOf(gif, 1), (Pixels{kBlue, kBlue, kRed, kBlue, kBlue, kRed, kRed, kRed, kRed}));
    EXPECT_EQ(FrameOf(gif, 2), (Pixels{kRed, kRed, kRed, kRed, kRed, kRed, kRed, kRed, kGreen}));
    EXPECT_EQ(FrameOf(gif, 3), (Pixels{kWhite, kRed, kRed, kRed, kRed, kRed, kRed, kRed, kGreen}));
    EXPECT_EQ(gif.GetFrameDelay(2), 50);
    EXPECT_EQ(gif.GetFrameDelay(3), 0);
    EXPECT_EQ(gif.GetLoopCount(), 3);
}

// Interlaced rows arrive in four passes; the picture must come out the same as plain rows.
TEST(GifDecoder, InterlacedEqualsPlain) {
    constexpr int kWide = 7;
    constexpr int kHigh = 19;  // not a multiple of 8: every pass ends early
    Pixels colours;
    Bytes indexes;
    for (int row = 0; row < kHigh; ++row) {
        colours.push_back(0xFF000000u | static_cast<uint32_t>(row * 0x0D0B07));
        for (int x = 0; x < kWide; ++x) {
            indexes.push_back(static_cast<uint8_t>(x % 2 == 0 ? row : kHigh - 1 - row));
        }
    }
    const Bytes plain =
        GifBuilder(kWide, kHigh, colours).Image(0, 0, kWide, kHigh, indexes).Finish();
    const Bytes interlaced =
        GifBuilder(kWide, kHigh, colours).Image(0, 0, kWide, kHigh, indexes, true).Finish();
    CGifDecoderEx a;
    CGifDecoderEx b;
    ASSERT_EQ(a.LoadFromMemory(plain.data(), plain.size()), 1);
    ASSERT_EQ(b.LoadFromMemory(interlaced.data(), interlaced.size()), 1);
    EXPECT_EQ(FrameOf(b, 0), FrameOf(a, 0));
    EXPECT_EQ(FrameOf(a, 0)[kWide * 5], colours[5]);
}

// Long runs and noise fill the code table, grow the codes to 12 bits and restart the table.
TEST(GifDecoder, LargePicturesRoundTrip) {
    std::mt19937 random(99);
    Pixels palette;
    for (int i = 0; i < 256; ++i) {
        palette.push_back(0xFF000000u | (random() & 0xFFFFFF));
    }
    const int width = 160;
    const int height = 120;
    for (const bool noise : {false, true}) {
        Bytes indexes(static_cast<size_t>(width * height));
        for (size_t i = 0; i < indexes.size(); ++i) {
            indexes[i] = static_cast<uint8_t>(noise ? random() : (i / 1000) % 3);
        }
        const Bytes file = GifBuilder(width, height, palette)
                               .Image(0, 0, width, height, indexes, false, palette)
                               .Finish();
        CGifDecoderEx gif;
        ASSERT_EQ(gif.LoadFromMemory(file.data(), file.size()), 1);
        const Pixels frame = FrameOf(gif, 0);
        for (size_t i = 0; i < indexes.size(); ++i) {
            ASSERT_EQ(frame[i], palette[indexes[i]]) << "pixel " << i << " noise " << noise;
        }
    }
}

TEST(GifDecoder, FrameReachingOutsideTheCanvas) {
    const Bytes file = GifBuilder(3, 2, kFour).Image(2, 1, 4, 3, Bytes(12, 2)).Finish();
    CGifDecoderEx gif;
    ASSERT_EQ(gif.LoadFromMemory(file.data(), file.size()), 1);
    EXPECT_EQ(FrameOf(gif, 0), (Pixels{kClear, kClear, kClear, kClear, kClear, kBlue}));
}

TEST(GifDecoder, NotAGifAndAccessorsOutOfRange) {
    CGifDecoderEx gif;
    const Bytes notGif = {'G', 'I', 'F', '8', '8', 'a', 1, 0, 1, 0, 0, 0, 0, 0x3B};
    EXPECT_EQ(gif.LoadFromMemory(notGif.data(), notGif.size()), 0);
    EXPECT_EQ(gif.LoadFromMemory(nullptr, 10), 0);
    EXPECT_EQ(gif.LoadFromMemory(notGif.data(), 0), 0);
    const Bytes file = TwoByTwo();
    ASSERT_EQ(gif.LoadFromMemory(file.data(), file.size()), 1);
    EXPECT_EQ(gif.GetFrame(1), nullptr);
    EXPECT_EQ(gif.GetFrame(-1), nullptr);
    EXPECT_EQ(gif.GetFrameDelay(5), 0);
    gif.Unload();
    EXPECT_EQ(gif.GetFrameCount(), 0);
    EXPECT_EQ(gif.GetFrame(0), nullptr);
    EXPECT_EQ(gif.GetLoopCount(), -1);
}

std::vector<Bytes> AllSamples() {
    std::vector<Bytes> samples = {TwoByTwo(), ClearedAnimation(), RestoredAnimation(),
                                  kWalkthrough};
    Bytes rows(8 * 11);
    for (size_t i = 0; i < rows.size(); ++i) {
        rows[i] = static_cast<uint8_t>(i % 4);
    }
    samples.push_back(GifBuilder(8, 11, kFour).Image(0, 0, 8, 11, rows, true).Finish());
    return samples;
}

// Every prefix of a file decodes without reading past it, and keeps exactly the frames that
// were complete before the cut.
TEST(GifDecoder, TruncatedFilesKeepCompleteFrames) {
    for (const Bytes& file : AllSamples()) {
        CGifDecoderEx whole;
        const int frames = whole.LoadFromMemory(file.data(), file.size());
        ASSERT_GT(frames, 0);
        for (size_t length = 0; length < file.size(); ++length) {
            // A copy of exactly the prefix, so that AddressSanitizer sees any read past it.
            const Bytes prefix(file.begin(), file.begin() + static_cast<long>(length));
            CGifDecoderEx cut;
            const int count = cut.LoadFromMemory(prefix.data(), prefix.size());
            ASSERT_LE(count, frames) << "length " << length;
            for (int i = 0; i < count; ++i) {
                ASSERT_EQ(FrameOf(cut, i), FrameOf(whole, i)) << "length " << length;
            }
        }
    }
}

TEST(GifDecoder, CorruptedFilesNeverCrash) {
    std::mt19937 random(1234);
    for (const Bytes& file : AllSamples()) {
        for (int round = 0; round < 400; ++round) {
            Bytes damaged = file;
            const int flips = 1 + static_cast<int>(random() % 4);
            for (int k = 0; k < flips; ++k) {
                damaged[random() % damaged.size()] = static_cast<uint8_t>(random());
            }
            CGifDecoderEx gif;
            const int count = gif.LoadFromMemory(damaged.data(), damaged.size());
            for (int i = 0; i < count; ++i) {
                ASSERT_NE(gif.GetFrame(i), nullptr);
            }
        }
    }
}

}  // namespace
