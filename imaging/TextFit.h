// Text layout decisions of the picture helpers that need no drawing surface. Portable.
#pragma once

#include <cstdint>

namespace zuvo::imaging {

// The largest font size from startSize down in steps of 1 for which fits(size) answers
// true; 0 when none of startSize .. 1 fits (or startSize is below 1).
template <typename Fits>
int LargestFittingSize(int startSize, Fits fits) {
    for (int size = startSize; size >= 1; --size) {
        if (fits(size)) {
            return size;
        }
    }
    return 0;
}

// True for the right-to-left interface languages the helpers know: Arabic (Saudi Arabia,
// 0x0401) and Hebrew (0x040D). Only the low 16 bits of the identifier count.
bool IsRightToLeftLanguage(uint32_t languageId);

}  // namespace zuvo::imaging
