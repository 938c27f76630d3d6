#include "sectorview/PointLabel.h"

#include "framework/GdiplusFonts.h"
#include "sectorview/MonitorPointList.h"
#include "sectorview/PixelSurface.h"

namespace zuvo::sector {

std::unique_ptr<Gdiplus::Font> CreateLabelFont(double radiusScale) {
    const double size = 8.0 * radiusScale;
    if (!(size > 0.0) || size > 1000.0) {
        return nullptr;
    }
    return MakeFont(L"\u9ED1\u4F53", static_cast<Gdiplus::REAL>(size),  // 黑体
                    Gdiplus::FontStyleBold, Gdiplus::UnitPoint, nullptr);
}

void DrawPointLabel(DiscImage& image, const wchar_t* text, Gdiplus::Font* font, uint32_t colour) {
    if (text != nullptr && font != nullptr && image.edge > 0) {
        PixelSurface surface(image.pixels.data(), image.edge, image.edge);
        if (surface.Ready()) {
            Gdiplus::Graphics& graphics = surface.Graphics();
            graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
            Gdiplus::StringFormat format;
            format.SetAlignment(Gdiplus::StringAlignmentCenter);
            format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
            const Gdiplus::SolidBrush brush{Gdiplus::Color(colour)};
            const Gdiplus::REAL edge = static_cast<Gdiplus::REAL>(image.edge);
            graphics.DrawString(text, -1, font, Gdiplus::RectF(0, 0, edge, edge), &format, &brush);
        }
    }
    FinishLabelledImage(image);
}

}  // namespace zuvo::sector
