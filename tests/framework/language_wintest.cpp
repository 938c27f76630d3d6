// Resources are found by explicit language, so the interface language works the same under
// Wine (where the preferred-language calls change nothing) and on Windows.
#include <gtest/gtest.h>

#include "framework/Handles.h"
#include "framework/Language.h"

namespace {

const LANGID kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
const LANGID kChinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);
const LANGID kTaiwan = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL);
const LANGID kFrench = MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH);

HMODULE Self() {
    return GetModuleHandleW(nullptr);
}

TEST(ResourceLanguage, StringsComeInTheAskedLanguageWithFallbacks) {
    EXPECT_EQ(zuvo::LoadStringInLanguage(Self(), 101, kEnglish), L"About(&A)...");
    EXPECT_EQ(zuvo::LoadStringInLanguage(Self(), 101, kChinese), L"\x5173\x4E8E(&A)...");
    EXPECT_EQ(zuvo::LoadStringInLanguage(Self(), 60000, kChinese), L"\x9519\x8BEF");
    EXPECT_EQ(zuvo::LoadStringInLanguage(Self(), 60000, kTaiwan), L"\x9519\x8BEF")
        << "another Chinese falls back to simplified Chinese";
    EXPECT_EQ(zuvo::LoadStringInLanguage(Self(), 60000, kFrench), L"Error")
        << "an unknown language falls back to English";
    EXPECT_EQ(zuvo::LoadStringInLanguage(Self(), 60015, kEnglish), L"Last of its block");
    EXPECT_EQ(zuvo::LoadStringInLanguage(Self(), 60014, kEnglish), L"") << "gap in a block";
    EXPECT_EQ(zuvo::LoadStringInLanguage(Self(), 7, kEnglish), L"") << "no such block";
}

TEST(ResourceLanguage, DialogTemplatesComeInTheAskedLanguage) {
    zuvo::SetUiLanguage(L"zh-CN");
    const DLGTEMPLATE* chinese = zuvo::FindDialogTemplate(Self(), 300, zuvo::CurrentUiLanguage());
    zuvo::SetUiLanguage(L"en-US");
    const DLGTEMPLATE* english = zuvo::FindDialogTemplate(Self(), 300, zuvo::CurrentUiLanguage());
    ASSERT_NE(chinese, nullptr);
    ASSERT_NE(english, nullptr);
    EXPECT_NE(chinese, english);

    // Build both and read the static text back.
    for (auto [tmpl, text] :
         {std::pair{chinese, L"\x4E2D\x6587"}, std::pair{english, L"English"}}) {
        zuvo::UniqueWindow dialog(CreateDialogIndirectParamW(
            Self(), tmpl, nullptr, [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0));
        ASSERT_TRUE(dialog);
        wchar_t buffer[32] = {};
        GetDlgItemTextW(dialog.get(), 1, buffer, 32);
        EXPECT_STREQ(buffer, text);
    }
    EXPECT_EQ(zuvo::FindDialogTemplate(Self(), 301, kEnglish), nullptr);
}

TEST(ResourceLanguage, TheChosenLanguageIsRecordedForTheFamilyDlls) {
    ASSERT_TRUE(zuvo::SetUiLanguage(L"zh-cn"));
    EXPECT_EQ(zuvo::CurrentUiLanguage(), kChinese);
    wchar_t value[32] = {};
    GetEnvironmentVariableW(L"ZUVO_UI_LANGUAGE", value, 32);
    EXPECT_STREQ(value, L"zh-cn");
    ASSERT_TRUE(zuvo::SetUiLanguage(L"en-US"));
    EXPECT_EQ(zuvo::CurrentUiLanguage(), kEnglish);
    EXPECT_FALSE(zuvo::SetUiLanguage(L""));
    EXPECT_EQ(zuvo::CurrentUiLanguage(), kEnglish) << "an empty choice changes nothing";
}

}  // namespace
