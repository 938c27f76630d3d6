#include "sectorview/SectorShading.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

#include "sectorview/Argb.h"
#include "sectorview/FanRows.h"

namespace zuvo::sector {

static_assert(AlphaOf(kGateInsideColour) == 0xFF && AlphaOf(kGateOutsideColour) == 0xFF,
              "the angular weight saturates only for opaque gate colours");

namespace {

// ceil(2^32 / m) for m = 128 ... 255: for 0 <= n < 2^16, (n * magic) >> 32 is n / m exactly,
// because the excess n * (magic - 2^32 / m) / 2^32 stays below 1 / m.
constexpr std::array<uint64_t, 256> MakeShadeMagic() {
    std::array<uint64_t, 256> magic{};
    for (uint64_t m = 128; m < 256; ++m) {
        magic[m] = ((uint64_t{1} << 32) + m - 1) / m;
    }
    return magic;
}
constexpr std::array<uint64_t, 256> kShadeMagic = MakeShadeMagic();

// The exact weight for one pixel, from its view angle.
int ExactAngularWeight(int dx, int dy, bool topView, double halfWidth) {
    return AngularWeight(ViewAngleOf(dx, dy, topView), halfWidth);
}

// Along one half of a row (|dx| growing away from the boresight) the angular weight is a step
// function of |dx|: it reaches k where |dx| passes |dy| x tan(k x halfWidth / 255 degrees).
// The walker follows these steps and asks for the exact angle only for a pixel lying so close
// to a step (relative 1e-7, far above the rounding of either side) that the estimate could
// fall on the wrong side.
class AngularSteps {
public:
    explicit AngularSteps(double halfWidth) : m_halfWidth(halfWidth) {
        m_slopes.fill(std::numeric_limits<double>::infinity());
        if (!(halfWidth > 0.0)) {
            m_flat = true;
            return;
        }
        for (int k = 1; k <= kAngularSaturation; ++k) {
            const double degrees = k * halfWidth / 255.0;
            if (degrees >= 90.0) {
                break;
            }
            m_slopes[static_cast<size_t>(k)] = std::tan(degrees * kPi / 180.0);
        }
    }

    double HalfWidth() const { return m_halfWidth; }
    bool Flat() const { return m_flat; }

    // Slope of step k (1 ... kAngularSaturation); infinite past the last step.
    double Slope(int k) const {
        return k <= kAngularSaturation ? m_slopes[static_cast<size_t>(k)]
                                       : std::numeric_limits<double>::infinity();
    }

private:
    double m_halfWidth;
    bool m_flat = false;
    std::array<double, kAngularSaturation + 1> m_slopes{};
};

// The radial weight term of one pixel: (R - dist) x (-255) / R truncated, 0 at the rim and
// about -255 at the origin.
int RadialWeight(double radius, int64_t distanceSq) {
    const double dist = std::sqrt(static_cast<double>(distanceSq));
    return static_cast<int>((radius - dist) * (-255.0) / radius);
}

// The radial term only depends on the squared distance n and never falls as n grows
// (sqrt and the rounding of each operation are monotonic), so its at most 257 values
// partition 0 ... n_max into runs. Their starts are found once by bisection with the exact
// formula, and a walk outward along a half row just moves to the next run.
class RadialSteps {
public:
    RadialSteps(double radius, int64_t maxDistanceSq) : m_radius(radius) {
        if (maxDistanceSq < 0) {
            return;
        }
        m_first = RadialWeight(radius, 0);
        const int last = RadialWeight(radius, maxDistanceSq);
        m_starts.push_back(0);
        for (int value = m_first + 1; value <= last; ++value) {
            // Smallest n whose term reaches value.
            int64_t low = m_starts.back();
            int64_t high = maxDistanceSq;
            while (low < high) {
                const int64_t middle = low + (high - low) / 2;
                if (RadialWeight(radius, middle) >= value) {
                    high = middle;
                } else {
                    low = middle + 1;
                }
            }
            m_starts.push_back(low);
        }
        m_starts.push_back(INT64_MAX);
    }

    int First() const { return m_first; }
    // Index of the run holding n, searched forward from the run at index.
    size_t Advance(size_t index, int64_t distanceSq) const {
        while (distanceSq >= m_starts[index + 1]) {
            ++index;
        }
        return index;
    }

private:
    double m_radius;
    int m_first = 0;
    std::vector<int64_t> m_starts;  // first n of each run, then a sentinel
};

struct RowContext {
    const SectorGeometry& geometry;
    const SquaredDistanceLimits& limits;
    const AngularSteps& angularSteps;
    const RadialSteps& radialSteps;
    uint32_t* row;  // pixel of the origin's column in this row
    int dy;
};

// The shade of one pixel. Neighbouring pixels mostly share the background colour, the band
// and the weight, so the last blend is remembered and reused.
class PixelShader {
public:
    void Shade(uint32_t& pixel, bool inBand, int angular, int radial) {
        const uint32_t colour = inBand ? kGateInsideColour : kGateOutsideColour;
        const int weight = (angular - radial) / 2;
        const int alpha = std::min(weight * static_cast<int>(AlphaOf(colour)) / 255, 255);
        if (pixel != m_lastPixel || alpha != m_lastAlpha || colour != m_lastColour) {
            m_lastPixel = pixel;
            m_lastAlpha = alpha;
            m_lastColour = colour;
            m_lastResult = Blend(pixel, colour, alpha);
        }
        pixel = m_lastResult;
    }

private:
    static uint32_t Blend(uint32_t d, uint32_t colour, int alpha) {
        const int k = alpha * 128 / 255;
        const int m = alpha - k + 128;
        auto channel = [&](uint32_t target, uint32_t base) {
            const int b = static_cast<int>(base);
            const int value = b + DivideShade((static_cast<int>(target) - b) * alpha, m);
            return static_cast<uint32_t>(std::clamp(value, 0, 255));
        };
        return MakeArgb(static_cast<uint32_t>(std::clamp(m, 0, 255)),
                        channel(RedOf(colour), RedOf(d)), channel(GreenOf(colour), GreenOf(d)),
                        channel(BlueOf(colour), BlueOf(d)));
    }

    uint32_t m_lastPixel = 0;
    uint32_t m_lastColour = 0;
    int m_lastAlpha = -1;
    uint32_t m_lastResult = 0;
};

// Shades offsets from..to (inclusive) walking away from the boresight in steps of direction
// (+1 right, -1 left); both terms only grow on such a walk.
void ShadeHalfRow(const RowContext& context, int from, int to, int direction) {
    const int64_t dySq = int64_t{context.dy} * context.dy;
    const double ady = std::abs(context.dy);
    const AngularSteps& steps = context.angularSteps;
    int step = 0;    // the angular weight of the region the walk is in
    size_t run = 0;  // the radial run the walk is in
    PixelShader shader;
    for (int dx = from; direction > 0 ? dx <= to : dx >= to; dx += direction) {
        const int64_t distanceSq = int64_t{dx} * dx + dySq;
        if (!context.limits.InDisc(distanceSq)) {
            continue;
        }
        int angular = 0;
        if (!steps.Flat()) {
            const double adx = std::abs(dx);
            const double margin = 1e-7 * (ady + adx + 1.0);
            while (step < kAngularSaturation && ady * steps.Slope(step + 1) < adx - margin) {
                ++step;
            }
            const bool nearStep =
                step < kAngularSaturation && ady * steps.Slope(step + 1) <= adx + margin;
            angular = nearStep ? ExactAngularWeight(dx, context.dy, context.geometry.topView,
                                                    steps.HalfWidth())
                               : step;
        }
        run = context.radialSteps.Advance(run, distanceSq);
        shader.Shade(context.row[dx], context.limits.InBand(distanceSq), angular,
                     context.radialSteps.First() + static_cast<int>(run));
    }
}

}  // namespace

int AngularWeight(double theta, double halfWidth) {
    if (!(halfWidth > 0.0)) {
        return 0;  // a single ray: no angular weight
    }
    const double value = std::fabs(theta + 90.0) * 255.0 / halfWidth;
    return value >= kAngularSaturation ? kAngularSaturation : static_cast<int>(value);
}

int DivideShade(int numerator, int divisor) {
    const uint64_t magnitude = static_cast<uint64_t>(std::abs(numerator));
    const int quotient =
        static_cast<int>((magnitude * kShadeMagic[static_cast<size_t>(divisor)]) >> 32);
    return numerator < 0 ? -quotient : quotient;
}

void ShadeSector(const SectorGeometry& geometry, const SectorViewSettings& settings,
                 uint32_t* pixels) {
    const SquaredDistanceLimits limits = ComputeDistanceLimits(geometry, settings);
    const AngleWindowRows window(geometry.topView, settings.angleStart, settings.angleStop);
    const AngularSteps steps(std::fabs((settings.angleStop - settings.angleStart) * 0.5));
    const RadialSteps radialSteps(geometry.radius, limits.disc);
    const size_t width = static_cast<size_t>(geometry.width);
    ForEachFanRow(geometry, limits, window, [&](int y, int dy, const ColumnRun& run) {
        uint32_t* row = pixels + static_cast<size_t>(y) * width + geometry.originX;
        if (dy == 0) {
            // The straight edge's row: the steps are undefined here (|dy| = 0), so every pixel
            // takes its exact angle; one row costs little.
            PixelShader shader;
            for (int dx = run.first; dx <= run.last; ++dx) {
                const int64_t distanceSq = int64_t{dx} * dx;
                shader.Shade(row[dx], limits.InBand(distanceSq),
                             ExactAngularWeight(dx, dy, geometry.topView, steps.HalfWidth()),
                             RadialWeight(geometry.radius, distanceSq));
            }
            return;
        }
        const RowContext context{geometry, limits, steps, radialSteps, row, dy};
        if (run.last >= 0) {
            ShadeHalfRow(context, std::max(run.first, 0), run.last, +1);
        }
        if (run.first < 0) {
            ShadeHalfRow(context, std::min(run.last, -1), run.first, -1);
        }
    });
}

}  // namespace zuvo::sector
