#include "framework/GdiplusFonts.h"

#include "framework/Handles.h"

namespace zuvo {

namespace {

// The family of that exact name, or null. (GDI+ objects come from GDI+'s own allocator,
// which answers null instead of throwing.)
std::unique_ptr<Gdiplus::FontFamily> FamilyNamed(const wchar_t* name) noexcept {
    if (name == nullptr || name[0] == L'\0') {
        return nullptr;
    }
    std::unique_ptr<Gdiplus::FontFamily> family(new Gdiplus::FontFamily(name));
    if (!family || family->GetLastStatus() != Gdiplus::Ok || !family->IsAvailable()) {
        return nullptr;
    }
    return family;
}

// Not FontFamily::GenericSansSerif(): that answers null when the family is missing, and it
// keeps its answer for the whole process, past the GDI+ session that made it.
std::unique_ptr<Gdiplus::FontFamily> GenericSansSerif() noexcept {
    Gdiplus::GpFontFamily* generic = nullptr;
    if (Gdiplus::DllExports::GdipGetGenericFontFamilySansSerif(&generic) != Gdiplus::Ok ||
        generic == nullptr) {
        return nullptr;
    }
    wchar_t name[LF_FACESIZE] = L"";
    const bool named =
        Gdiplus::DllExports::GdipGetFamilyName(generic, name, LANG_NEUTRAL) == Gdiplus::Ok;
    Gdiplus::DllExports::GdipDeleteFontFamily(generic);
    return named ? FamilyNamed(name) : nullptr;
}

// The face GDI actually selects for the font: GDI maps a missing face to an installed one.
std::unique_ptr<Gdiplus::FontFamily> FamilyGdiDrawsWith(HFONT font) noexcept {
    if (font == nullptr) {
        font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    }
    const UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dc || font == nullptr) {
        return nullptr;
    }
    wchar_t face[LF_FACESIZE] = L"";
    {
        const SelectGuard selected(dc.get(), font);
        if (GetTextFaceW(dc.get(), LF_FACESIZE, face) == 0) {
            return nullptr;
        }
    }
    return FamilyNamed(face);
}

}  // namespace

std::unique_ptr<Gdiplus::FontFamily> FindFontFamily(const wchar_t* face, HFONT fallback) noexcept {
    if (auto family = FamilyNamed(face)) {
        return family;
    }
    if (auto family = GenericSansSerif()) {
        return family;
    }
    return FamilyGdiDrawsWith(fallback);
}

std::unique_ptr<Gdiplus::Font> MakeFont(const wchar_t* face, Gdiplus::REAL size, INT style,
                                        Gdiplus::Unit unit, HFONT fallback) noexcept {
    const std::unique_ptr<Gdiplus::FontFamily> family = FindFontFamily(face, fallback);
    if (!family) {
        return nullptr;
    }
    std::unique_ptr<Gdiplus::Font> font(new Gdiplus::Font(family.get(), size, style, unit));
    if (!font || font->GetLastStatus() != Gdiplus::Ok) {
        return nullptr;
    }
    return font;
}

}  // namespace zuvo
