#include "sectorview/SectorBackground.h"

#include <algorithm>
#include <cmath>

#include "ZUVO_Common.h"
#include "sectorview/PixelSurface.h"
#include "sectorview/SectorShading.h"

namespace zuvo::sector {

namespace {

// Rings closer than a pixel apart only repaint the same pixels; a damaged settings file with
// millions of rings must not stall the view.
constexpr int kMaxRings = 4096;
constexpr int kMaxRadialLines = 3600;

Gdiplus::Color Opaque(uint32_t argb) {
    return Gdiplus::Color(argb | 0xFF000000u);
}

void DrawGrid(Gdiplus::Graphics& graphics, const SectorGeometry& geometry,
              const SectorViewSettings& settings) {
    // The rings and radial lines are specified with the dash pattern {1, 0}: a dash without a
    // gap, which is a solid line. Wine's GDI+ refuses a zero in a dash pattern, so the pens are
    // simply solid.
    Gdiplus::Pen inner(Opaque(kInnerGridColour), 1.0f);
    Gdiplus::Pen outer(Opaque(kOuterGridColour), 2.0f);
    const float originX = static_cast<float>(geometry.originX);
    const float originY = static_cast<float>(geometry.originY);

    graphics.DrawLine(&outer, geometry.sector.left, geometry.originY, geometry.sector.right - 1,
                      geometry.originY);

    const int rings = std::min(geometry.ringDivisor, kMaxRings);
    const float start = geometry.topView ? -180.0f : 180.0f;
    for (int i = 1; i <= rings; ++i) {
        const double r = i * geometry.radius / rings;
        const Gdiplus::RectF square(static_cast<float>(geometry.originX - r),
                                    static_cast<float>(geometry.originY - r),
                                    static_cast<float>(2.0 * r), static_cast<float>(2.0 * r));
        graphics.DrawArc(i == rings ? &outer : &inner, square, start, start);
    }

    const int lines = std::min(RadialLineCount(settings.angleStep), kMaxRadialLines);
    for (int i = 1; i <= lines; ++i) {
        const double angle = i * settings.angleStep - 180.0;
        const double degrees = geometry.topView ? -360.0 - angle : angle;
        const double radians = degrees * kPi / 180.0;
        const Gdiplus::PointF end(
            static_cast<float>(geometry.originX + geometry.radius * std::cos(radians)),
            static_cast<float>(geometry.originY + geometry.radius * std::sin(radians)));
        graphics.DrawLine(&inner, Gdiplus::PointF(originX, originY), end);
    }
}

}  // namespace

void RenderSectorBackground(uint32_t* pixels, const SectorGeometry& geometry,
                            const SectorViewSettings& settings, Gdiplus::Bitmap* picture) {
    if (pixels == nullptr || geometry.width <= 0 || geometry.height <= 0) {
        return;
    }
    {
        PixelSurface surface(pixels, geometry.width, geometry.height);
        const ZRect whole{0, 0, geometry.width, geometry.height};
        bool pictureDrawn = false;
        if (surface.Ready()) {
            Gdiplus::Graphics& graphics = surface.Graphics();
            graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
            if (picture != nullptr && picture->GetWidth() > 0 && picture->GetHeight() > 0) {
                Gdiplus::ImageAttributes attributes;
                attributes.SetWrapMode(Gdiplus::WrapModeTileFlipXY, Gdiplus::Color(0xFF000000));
                pictureDrawn = graphics.DrawImage(
                                   picture, Gdiplus::Rect(0, 0, geometry.width, geometry.height), 0,
                                   0, static_cast<INT>(picture->GetWidth()),
                                   static_cast<INT>(picture->GetHeight()), Gdiplus::UnitPixel,
                                   &attributes) == Gdiplus::Ok;
            }
            if (!pictureDrawn) {
                DrawColorOnBuffer(kPlainFillColour, pixels, &whole, geometry.width * 4);
            }
            DrawGrid(graphics, geometry, settings);
        } else {
            DrawColorOnBuffer(kPlainFillColour, pixels, &whole, geometry.width * 4);
        }
    }
    // After the surface is gone: GDI+ has written everything back into the pixels.
    ShadeSector(geometry, settings, pixels);
}

}  // namespace zuvo::sector
