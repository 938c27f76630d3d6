#include "sectorview/PointLabel.h"

#include "sectorview/MonitorPointList.h"
#include "sectorview/PixelSurface.h"

namespace zuvo::sector {

std::unique_ptr<Gdiplus::Font> CreateLabelFont(double radiusScale) {
    const double size = 8.0 * radiusScale;
    if (!(size > 0.0) || size > 1000.0) {
        return nullptr;
    }
    const Gdiplus::FontFamily preferred(L"\u9ED1\u4F53");  // 黑体
    const Gdiplus::FontFamily* family = &preferred;
    if (preferred.GetLastStatus() != Gdiplus::Ok || !preferred.IsAvailable()) {
        family = Gdiplus::FontFamily::GenericSansSerif();
    }
    if (family == nullptr || family->GetLastStatus() != Gdiplus::Ok) {
        return nullptr;
    }
    auto font = std::make_unique<Gdiplus::Font>(family, static_cast<Gdiplus::REAL>(size),
                                                Gdiplus::FontStyleBold, Gdiplus::UnitPoint);
    if (font->GetLastStatus() != Gdiplus::Ok) {
        return nullptr;
    }
    return font;
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
