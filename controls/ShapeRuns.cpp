#include "controls/ShapeRuns.h"

#include <cstddef>

namespace zuvo::controls {

std::vector<ZRect> ShapeRuns(const uint32_t* pixels, int width, int height, int stride) {
    std::vector<ZRect> runs;
    if (pixels == nullptr || width <= 0 || height <= 0 || stride < width) {
        return runs;
    }
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = pixels + static_cast<ptrdiff_t>(y) * stride;
        int x = 0;
        while (x < width) {
            while (x < width && IsKeyColoured(row[x])) {
                ++x;
            }
            const int start = x;
            while (x < width && !IsKeyColoured(row[x])) {
                ++x;
            }
            if (x > start) {
                runs.push_back(ZRect{start, y, x, y + 1});
            }
        }
    }
    return runs;
}

}  // namespace zuvo::controls
