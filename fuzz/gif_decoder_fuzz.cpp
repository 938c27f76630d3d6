// The GIF decoder of the utility library on a whole file in memory, as the program hands it
// the bytes of an animated picture: every frame it answers is read whole, so a frame shorter
// than the canvas it claims is caught.
#include <cstdint>

#include "ZUVO_CommonCoreExtras.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using zuvo::fuzz::Check;
    CGifDecoderEx decoder;
    const int frames = decoder.LoadFromMemory(data, size);
    Check(frames == decoder.GetFrameCount(), "the frame count differs from the load's answer");
    if (frames == 0) {
        return 0;
    }
    const int width = decoder.GetWidth();
    const int height = decoder.GetHeight();
    Check(width > 0 && height > 0, "frames without a canvas");
    uint32_t sum = 0;
    for (int i = 0; i < frames; ++i) {
        const uint32_t* pixels = decoder.GetFrame(i);
        Check(pixels != nullptr, "a counted frame without pixels");
        for (size_t p = 0; p < static_cast<size_t>(width) * static_cast<size_t>(height); ++p) {
            sum += pixels[p];
        }
        Check(decoder.GetFrameDelay(i) >= 0, "a negative frame delay");
    }
    Check(decoder.GetFrame(frames) == nullptr, "a frame past the end");
    Check(decoder.GetLoopCount() >= -1, "a loop count below -1");
    // Decoding the same bytes again gives the same pictures.
    CGifDecoderEx again;
    Check(again.LoadFromMemory(data, size) == frames, "a second decoding found other frames");
    uint32_t sumAgain = 0;
    for (int i = 0; i < frames; ++i) {
        const uint32_t* pixels = again.GetFrame(i);
        for (size_t p = 0; p < static_cast<size_t>(width) * static_cast<size_t>(height); ++p) {
            sumAgain += pixels[p];
        }
    }
    Check(sum == sumAgain, "a second decoding gave other pixels");
    decoder.Unload();
    Check(decoder.GetFrameCount() == 0 && decoder.GetFrame(0) == nullptr,
          "an unloaded decoder still holds frames");
    return 0;
}
