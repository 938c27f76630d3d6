// Drawing text and choosing a font size that fits.
#include <cwchar>
#include <memory>

#include "imaging/GdiplusHelpers.h"
#include "imaging/GdiplusSupport.h"
#include "imaging/TextFit.h"

namespace {

struct FontFamilyDelete {
    void operator()(Gdiplus::GpFontFamily* family) const noexcept {
        Gdiplus::DllExports::GdipDeleteFontFamily(family);
    }
};
using FamilyHandle = std::unique_ptr<Gdiplus::GpFontFamily, FontFamilyDelete>;

// The name of the family to measure with: the wanted one when it is installed, else the
// generic sans-serif family. False when neither exists.
bool ChooseFamilyName(const wchar_t* wanted, wchar_t (&name)[LF_FACESIZE]) noexcept {
    Gdiplus::GpFontFamily* found = nullptr;
    if (wanted == nullptr ||
        Gdiplus::DllExports::GdipCreateFontFamilyFromName(wanted, nullptr, &found) != Gdiplus::Ok) {
        found = nullptr;
        if (Gdiplus::DllExports::GdipGetGenericFontFamilySansSerif(&found) != Gdiplus::Ok) {
            return false;
        }
    }
    FamilyHandle family(found);
    return family &&
           Gdiplus::DllExports::GdipGetFamilyName(family.get(), name, LANG_NEUTRAL) == Gdiplus::Ok;
}

}  // namespace

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
    wchar_t chosen[LF_FACESIZE] = L"";
    if (!ChooseFamilyName(familyName, chosen)) {
        return 0;
    }
    const Gdiplus::FontFamily family(chosen);
    const Gdiplus::RectF unbounded(0.0f, 0.0f, 0.0f, 0.0f);
    return zuvo::imaging::LargestFittingSize(startSize, [&](int size) {
        const Gdiplus::Font font(&family, static_cast<Gdiplus::REAL>(size), style,
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
