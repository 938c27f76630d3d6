// Drawing text and choosing a font size that fits.
#include <cwchar>
#include <memory>

#include "framework/GdiplusFonts.h"
#include "imaging/GdiplusHelpers.h"
#include "imaging/GdiplusSupport.h"
#include "imaging/TextFit.h"

extern "C" {

void ZUVO_CALL Gdiplus_DrawText(Gdiplus::Graphics* graphics, const wchar_t* text,
                                const Gdiplus::RectF* box, const Gdiplus::Color* colour,
                                const Gdiplus::Font* font,
                                const Gdiplus::StringFormat* format) noexcept {
    if (graphics == nullptr || text == nullptr || text[0] == L'\0' || box == nullptr ||
        colour == nullptr) {
        return;
    }
    graphics->SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    Gdiplus::SolidBrush brush(*colour);
    graphics->DrawString(text, -1, font, *box, format, &brush);
}

int ZUVO_CALL Gdiplus_CalcFontSize(Gdiplus::Graphics* graphics, const wchar_t* text, SIZE maxSize,
                                   const wchar_t* familyName, int startSize, int style,
                                   const Gdiplus::StringFormat* format) noexcept {
    if (graphics == nullptr || text == nullptr) {
        return 0;
    }
    // Without the family (or a sans-serif one) the size is measured with the face GDI draws
    // the default GUI font with; with no family at all no size fits.
    const std::unique_ptr<Gdiplus::FontFamily> family = zuvo::FindFontFamily(familyName, nullptr);
    if (!family) {
        return 0;
    }
    const Gdiplus::RectF unbounded(0.0f, 0.0f, 0.0f, 0.0f);
    return zuvo::imaging::LargestFittingSize(startSize, [&](int size) {
        const Gdiplus::Font font(family.get(), static_cast<Gdiplus::REAL>(size), style,
                                 Gdiplus::UnitPoint);
        // A failed measurement leaves the box empty, which fits.
        Gdiplus::RectF measured(0.0f, 0.0f, 0.0f, 0.0f);
        graphics->MeasureString(text, -1, &font, unbounded, format, &measured);
        return measured.Width <= static_cast<Gdiplus::REAL>(maxSize.cx) &&
               measured.Height <= static_cast<Gdiplus::REAL>(maxSize.cy);
    });
}

int ZUVO_CALL Gdiplus_GetStringFormat(DWORD languageId) noexcept {
    return zuvo::imaging::IsRightToLeftLanguage(languageId) ? 1 : 0;
}

}  // extern "C"
