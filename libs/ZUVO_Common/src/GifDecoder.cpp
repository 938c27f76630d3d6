// CGifDecoder: GIF87a/89a to full-canvas ARGB frames.
//
// Every read goes through ByteReader, which refuses to step past the end, so a truncated or
// fuzzed file ends the decoding instead of reading out of bounds. A frame counts only once its
// whole image data (every sub-block up to the terminator) is inside the file; the frames before
// it are kept.
//
// Compositing follows what browsers do, which is what GIF authors check their files with:
// the canvas starts fully transparent, and "restore to background" (disposal 2) clears the
// frame's rectangle to transparent rather than painting the background colour index, which
// many encoders leave stale.
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

#include "ZUVO_CommonCoreExtras.h"

namespace {

// Limits that keep a hostile file of a few bytes per frame from claiming gigabytes: a canvas
// of 16 Mi pixels (4096 x 4096), a frame rectangle of as much, and 64 Mi pixels (256 MiB) over
// all frames, some 140 frames of 800 x 600.
constexpr uint64_t kMaxCanvasPixels = uint64_t{1} << 24;
constexpr uint64_t kMaxFramePixels = uint64_t{1} << 24;
constexpr uint64_t kMaxTotalPixels = uint64_t{1} << 26;

constexpr int kMaxLzwCodes = 4096;
constexpr int kMaxLzwBits = 12;
// Pixel indexes are bytes; 2 is the smallest size the format allows (also for 1-bit images).
constexpr int kMinLzwMinCodeSize = 2;
constexpr int kMaxLzwMinCodeSize = 8;

constexpr uint8_t kExtensionIntroducer = 0x21;
constexpr uint8_t kImageSeparator = 0x2C;
constexpr uint8_t kTrailer = 0x3B;
constexpr uint8_t kGraphicControlLabel = 0xF9;
constexpr uint8_t kApplicationLabel = 0xFF;

enum Disposal {
    kDisposalNone = 0,        // none given: leave the frame in place
    kDisposalKeep = 1,        // leave the frame in place
    kDisposalBackground = 2,  // clear the frame's rectangle
    kDisposalPrevious = 3,    // restore the canvas as it was before the frame
};

class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : m_data(data), m_size(size), m_at(0) {}

    bool ReadByte(uint8_t* value) {
        if (m_at >= m_size) {
            return false;
        }
        *value = m_data[m_at++];
        return true;
    }
    bool ReadWord(uint16_t* value) {  // little-endian
        if (m_size - m_at < 2) {
            return false;
        }
        *value = static_cast<uint16_t>(m_data[m_at] | (m_data[m_at + 1] << 8));
        m_at += 2;
        return true;
    }
    // Points *bytes at the next count bytes and steps over them.
    bool Take(size_t count, const uint8_t** bytes) {
        if (m_size - m_at < count) {
            return false;
        }
        *bytes = m_data + m_at;
        m_at += count;
        return true;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_at;
};

// Steps over a chain of sub-blocks up to and including the zero-length terminator.
bool SkipSubBlocks(ByteReader& reader) {
    for (;;) {
        uint8_t length = 0;
        const uint8_t* bytes = nullptr;
        if (!reader.ReadByte(&length)) {
            return false;
        }
        if (length == 0) {
            return true;
        }
        if (!reader.Take(length, &bytes)) {
            return false;
        }
    }
}

// Collects a chain of sub-blocks into one byte string.
bool ReadSubBlocks(ByteReader& reader, std::vector<uint8_t>& out) {
    out.clear();
    for (;;) {
        uint8_t length = 0;
        const uint8_t* bytes = nullptr;
        if (!reader.ReadByte(&length)) {
            return false;
        }
        if (length == 0) {
            return true;
        }
        if (!reader.Take(length, &bytes)) {
            return false;
        }
        out.insert(out.end(), bytes, bytes + length);
    }
}

struct ColourTable {
    uint32_t colours[256];
    int count;
};

bool ReadColourTable(ByteReader& reader, int sizeBits, ColourTable* table) {
    const int count = 1 << (sizeBits + 1);
    const uint8_t* bytes = nullptr;
    if (!reader.Take(static_cast<size_t>(count) * 3, &bytes)) {
        return false;
    }
    for (int i = 0; i < count; ++i) {
        table->colours[i] = 0xFF000000u | (uint32_t{bytes[3 * i]} << 16) |
                            (uint32_t{bytes[3 * i + 1]} << 8) | uint32_t{bytes[3 * i + 2]};
    }
    table->count = count;
    return true;
}

// The graphic control extension in force for the next image.
struct FrameControl {
    int disposal = kDisposalNone;
    int delayMs = 0;
    int transparentIndex = -1;
};

// Reads LSB-first codes of a changing width from the image data.
class CodeReader {
public:
    explicit CodeReader(const std::vector<uint8_t>& data) : m_data(data) {}

    // False when the data holds no further whole code.
    bool Read(int bits, int* code) {
        while (m_bitCount < bits) {
            if (m_at >= m_data.size()) {
                return false;
            }
            m_buffer |= uint32_t{m_data[m_at++]} << m_bitCount;
            m_bitCount += 8;
        }
        *code = static_cast<int>(m_buffer & ((1u << bits) - 1));
        m_buffer >>= bits;
        m_bitCount -= bits;
        return true;
    }

private:
    const std::vector<uint8_t>& m_data;
    size_t m_at = 0;
    uint32_t m_buffer = 0;
    int m_bitCount = 0;
};

// Where the n-th decoded pixel goes: rows in file order, or the four interlace passes.
class PixelPlacer {
public:
    PixelPlacer(int width, int height, bool interlaced)
        : m_width(width), m_height(height), m_interlaced(interlaced) {}

    bool Done() const { return m_row >= m_height || m_width == 0; }
    int X() const { return m_x; }
    int Y() const { return m_row; }

    void Advance() {
        if (++m_x < m_width) {
            return;
        }
        m_x = 0;
        if (!m_interlaced) {
            ++m_row;
            return;
        }
        // Pass 1: rows 0, 8, 16...; pass 2: 4, 12...; pass 3: 2, 6...; pass 4: 1, 3, 5...
        static const int kStart[4] = {0, 4, 2, 1};
        static const int kStep[4] = {8, 8, 4, 2};
        m_row += kStep[m_pass];
        while (m_row >= m_height && m_pass < 3) {
            ++m_pass;
            m_row = kStart[m_pass];
        }
    }

private:
    int m_width;
    int m_height;
    bool m_interlaced;
    int m_x = 0;
    int m_row = 0;
    int m_pass = 0;
};

struct ImageRect {
    int left;
    int top;
    int width;
    int height;
};

// Decodes the LZW image data onto the canvas. Stops quietly at the end code, at the end of the
// data or at a code that cannot occur; pixels not reached keep what the canvas had.
void DecodeImage(const std::vector<uint8_t>& data, int minCodeSize, const ImageRect& rect,
                 bool interlaced, const ColourTable* table, int transparentIndex,
                 std::vector<uint32_t>& canvas, int canvasWidth, int canvasHeight) {
    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;
    uint16_t prefix[kMaxLzwCodes];
    uint8_t suffix[kMaxLzwCodes];
    uint8_t stack[kMaxLzwCodes];
    for (int code = 0; code < clearCode; ++code) {
        prefix[code] = 0;
        suffix[code] = static_cast<uint8_t>(code);
    }

    PixelPlacer placer(rect.width, rect.height, interlaced);
    auto emit = [&](uint8_t index) {
        if (placer.Done()) {
            return;
        }
        const int x = rect.left + placer.X();
        const int y = rect.top + placer.Y();
        placer.Advance();
        if (index == transparentIndex || table == nullptr || index >= table->count) {
            return;
        }
        if (x < canvasWidth && y < canvasHeight) {
            canvas[static_cast<size_t>(y) * static_cast<size_t>(canvasWidth) +
                   static_cast<size_t>(x)] = table->colours[index];
        }
    };

    CodeReader reader(data);
    int codeSize = minCodeSize + 1;
    int nextCode = clearCode + 2;
    int previous = -1;
    uint8_t previousFirst = 0;
    int code = 0;
    while (!placer.Done() && reader.Read(codeSize, &code)) {
        if (code == clearCode) {
            codeSize = minCodeSize + 1;
            nextCode = clearCode + 2;
            previous = -1;
            continue;
        }
        if (code == endCode) {
            return;
        }
        if (previous < 0) {
            if (code >= clearCode) {
                return;  // the first code after a clear must be a literal
            }
            emit(static_cast<uint8_t>(code));
            previous = code;
            previousFirst = static_cast<uint8_t>(code);
            continue;
        }
        if (code > nextCode || (code == nextCode && nextCode >= kMaxLzwCodes)) {
            return;  // not yet defined: damaged data
        }
        // Spell the string of code backwards; code == nextCode is the string of previous
        // followed by its own first character. Every entry extends an older one by one
        // character, so a string is shorter than the table and fits the stack.
        int depth = 0;
        int walk = code;
        if (code == nextCode) {
            stack[depth++] = previousFirst;
            walk = previous;
        }
        while (walk >= clearCode) {
            stack[depth++] = suffix[walk];
            walk = prefix[walk];
        }
        stack[depth++] = static_cast<uint8_t>(walk);
        const uint8_t first = static_cast<uint8_t>(walk);
        while (depth > 0) {
            emit(stack[--depth]);
        }
        if (nextCode < kMaxLzwCodes) {
            prefix[nextCode] = static_cast<uint16_t>(previous);
            suffix[nextCode] = first;
            ++nextCode;
            if (nextCode == (1 << codeSize) && codeSize < kMaxLzwBits) {
                ++codeSize;
            }
        }
        previous = code;
        previousFirst = first;
    }
}

struct GifImpl {
    int width = 0;
    int height = 0;
    int loopCount = -1;
    std::vector<std::vector<uint32_t>> frames;
    std::vector<int> delays;
};

// Reads an extension block after its introducer; false when the file ends inside it.
bool ReadExtension(ByteReader& reader, FrameControl* control, int* loopCount) {
    uint8_t label = 0;
    if (!reader.ReadByte(&label)) {
        return false;
    }
    if (label == kGraphicControlLabel) {
        uint8_t length = 0;
        const uint8_t* bytes = nullptr;
        if (!reader.ReadByte(&length)) {
            return false;
        }
        if (length >= 4) {
            if (!reader.Take(length, &bytes)) {
                return false;
            }
            control->disposal = (bytes[0] >> 2) & 7;
            control->delayMs = (bytes[1] | (bytes[2] << 8)) * 10;
            control->transparentIndex = (bytes[0] & 1) != 0 ? bytes[3] : -1;
        } else if (length > 0 && !reader.Take(length, &bytes)) {
            return false;
        }
        return length == 0 || SkipSubBlocks(reader);
    }
    if (label == kApplicationLabel) {
        uint8_t length = 0;
        const uint8_t* identifier = nullptr;
        if (!reader.ReadByte(&length) || !reader.Take(length, &identifier)) {
            return false;
        }
        const bool looping = length == 11 && (std::memcmp(identifier, "NETSCAPE2.0", 11) == 0 ||
                                              std::memcmp(identifier, "ANIMEXTS1.0", 11) == 0);
        for (;;) {
            uint8_t blockLength = 0;
            const uint8_t* block = nullptr;
            if (!reader.ReadByte(&blockLength)) {
                return false;
            }
            if (blockLength == 0) {
                return true;
            }
            if (!reader.Take(blockLength, &block)) {
                return false;
            }
            // Sub-block 1 is the loop count: 1, count low, count high.
            if (looping && blockLength >= 3 && block[0] == 1) {
                *loopCount = block[1] | (block[2] << 8);
            }
        }
    }
    return SkipSubBlocks(reader);
}

// Reads one image after its separator and appends the composed frame; false when the file
// is damaged or a limit is reached, with impl's earlier frames untouched.
bool ReadImage(ByteReader& reader, const ColourTable* globalTable, const FrameControl& control,
               GifImpl* impl, std::vector<uint32_t>& canvas, std::vector<uint32_t>& saved,
               uint64_t* totalPixels) {
    uint16_t left = 0;
    uint16_t top = 0;
    uint16_t width = 0;
    uint16_t height = 0;
    uint8_t packed = 0;
    if (!reader.ReadWord(&left) || !reader.ReadWord(&top) || !reader.ReadWord(&width) ||
        !reader.ReadWord(&height) || !reader.ReadByte(&packed)) {
        return false;
    }
    if (uint64_t{width} * height > kMaxFramePixels) {
        return false;
    }
    ColourTable localTable;
    const ColourTable* table = globalTable;
    if ((packed & 0x80) != 0) {
        if (!ReadColourTable(reader, packed & 7, &localTable)) {
            return false;
        }
        table = &localTable;
    }
    uint8_t minCodeSize = 0;
    if (!reader.ReadByte(&minCodeSize) || minCodeSize < kMinLzwMinCodeSize ||
        minCodeSize > kMaxLzwMinCodeSize) {
        return false;
    }
    std::vector<uint8_t> data;
    if (!ReadSubBlocks(reader, data)) {
        return false;
    }
    const uint64_t canvasPixels = canvas.size();
    if (*totalPixels + canvasPixels > kMaxTotalPixels) {
        return false;
    }

    if (control.disposal == kDisposalPrevious) {
        saved = canvas;
    }
    const ImageRect rect{left, top, width, height};
    DecodeImage(data, minCodeSize, rect, (packed & 0x40) != 0, table, control.transparentIndex,
                canvas, impl->width, impl->height);
    impl->frames.push_back(canvas);
    impl->delays.push_back(control.delayMs);
    *totalPixels += canvasPixels;

    // Prepare the canvas for the next frame.
    if (control.disposal == kDisposalBackground) {
        const int right =
            rect.left + rect.width < impl->width ? rect.left + rect.width : impl->width;
        const int bottom =
            rect.top + rect.height < impl->height ? rect.top + rect.height : impl->height;
        for (int y = rect.top; y < bottom; ++y) {
            for (int x = rect.left; x < right; ++x) {
                canvas[static_cast<size_t>(y) * static_cast<size_t>(impl->width) +
                       static_cast<size_t>(x)] = 0;
            }
        }
    } else if (control.disposal == kDisposalPrevious) {
        canvas.swap(saved);
    }
    return true;
}

void Decode(const uint8_t* bytes, size_t size, GifImpl* impl) {
    ByteReader reader(bytes, size);
    const uint8_t* signature = nullptr;
    if (!reader.Take(6, &signature) ||
        (std::memcmp(signature, "GIF87a", 6) != 0 && std::memcmp(signature, "GIF89a", 6) != 0)) {
        return;
    }
    uint16_t width = 0;
    uint16_t height = 0;
    uint8_t packed = 0;
    uint8_t background = 0;
    uint8_t aspect = 0;
    if (!reader.ReadWord(&width) || !reader.ReadWord(&height) || !reader.ReadByte(&packed) ||
        !reader.ReadByte(&background) || !reader.ReadByte(&aspect)) {
        return;
    }
    if (width == 0 || height == 0 || uint64_t{width} * height > kMaxCanvasPixels) {
        return;
    }
    ColourTable globalTable;
    const ColourTable* global = nullptr;
    if ((packed & 0x80) != 0) {
        if (!ReadColourTable(reader, packed & 7, &globalTable)) {
            return;
        }
        global = &globalTable;
    }
    impl->width = width;
    impl->height = height;

    std::vector<uint32_t> canvas(static_cast<size_t>(width) * height, 0u);
    std::vector<uint32_t> saved;
    uint64_t totalPixels = 0;
    FrameControl control;
    for (;;) {
        uint8_t introducer = 0;
        if (!reader.ReadByte(&introducer)) {
            return;
        }
        if (introducer == kTrailer) {
            return;
        }
        if (introducer == kExtensionIntroducer) {
            if (!ReadExtension(reader, &control, &impl->loopCount)) {
                return;
            }
        } else if (introducer == kImageSeparator) {
            if (!ReadImage(reader, global, control, impl, canvas, saved, &totalPixels)) {
                return;
            }
            // A graphic control extension applies to the one image that follows it.
            control = FrameControl();
        } else {
            return;
        }
    }
}

GifImpl* ImplOf(void* impl) {
    return static_cast<GifImpl*>(impl);
}

}  // namespace

CGifDecoder::CGifDecoder() : m_impl(nullptr) {}

CGifDecoder::~CGifDecoder() {
    Unload();
}

void CGifDecoder::Unload() {
    delete ImplOf(m_impl);
    m_impl = nullptr;
}

// ---------------------------------------------------------------------------------------------
// What our library adds: the decoding, CGifDecoderEx
// ---------------------------------------------------------------------------------------------

CGifDecoderEx::CGifDecoderEx() = default;
CGifDecoderEx::~CGifDecoderEx() = default;

int CGifDecoderEx::LoadFromMemory(const void* data, size_t size) {
    Unload();
    if (data == nullptr) {
        return 0;
    }
    GifImpl* impl = new (std::nothrow) GifImpl;
    if (impl == nullptr) {
        return 0;
    }
    try {
        Decode(static_cast<const uint8_t*>(data), size, impl);
    } catch (...) {
        // Out of memory part way: the frames complete before it stay, as for a damaged file.
        // push_back of a frame and of its delay may have diverged; keep the pairs only.
        if (impl->delays.size() < impl->frames.size()) {
            impl->frames.resize(impl->delays.size());
        }
    }
    if (impl->frames.empty()) {
        delete impl;
        return 0;
    }
    m_impl = impl;
    return static_cast<int>(impl->frames.size());
}

int CGifDecoderEx::GetFrameCount() const {
    return m_impl != nullptr ? static_cast<int>(ImplOf(m_impl)->frames.size()) : 0;
}

int CGifDecoderEx::GetWidth() const {
    return m_impl != nullptr ? ImplOf(m_impl)->width : 0;
}

int CGifDecoderEx::GetHeight() const {
    return m_impl != nullptr ? ImplOf(m_impl)->height : 0;
}

const uint32_t* CGifDecoderEx::GetFrame(int index) const {
    if (index < 0 || index >= GetFrameCount()) {
        return nullptr;
    }
    return ImplOf(m_impl)->frames[static_cast<size_t>(index)].data();
}

int CGifDecoderEx::GetFrameDelay(int index) const {
    if (index < 0 || index >= GetFrameCount()) {
        return 0;
    }
    return ImplOf(m_impl)->delays[static_cast<size_t>(index)];
}

int CGifDecoderEx::GetLoopCount() const {
    return m_impl != nullptr ? ImplOf(m_impl)->loopCount : -1;
}
