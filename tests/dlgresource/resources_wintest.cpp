// Both languages are complete: every dialog, string and text of the library exists in English
// and Simplified Chinese, and the two versions of a dialog have the same controls.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <set>
#include <string>
#include <vector>

#include "DlgResourceIds.h"
#include "framework/Handles.h"
#include "framework/Language.h"

namespace {

const LANGID kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
const LANGID kChinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);

HMODULE Library() {
    return GetModuleHandleW(L"ZUVO_DlgResource.dll");
}

BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) {
    if (IS_INTRESOURCE(name)) {
        reinterpret_cast<std::vector<WORD>*>(param)->push_back(
            static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name)));
    }
    return TRUE;
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR param) {
    reinterpret_cast<std::set<LANGID>*>(param)->insert(language);
    return TRUE;
}

std::vector<WORD> Names(const wchar_t* type) {
    std::vector<WORD> names;
    EnumResourceNamesW(Library(), type, CollectName, reinterpret_cast<LONG_PTR>(&names));
    return names;
}

std::set<LANGID> Languages(const wchar_t* type, WORD name) {
    std::set<LANGID> languages;
    EnumResourceLanguagesW(Library(), type, MAKEINTRESOURCEW(name), CollectLanguage,
                           reinterpret_cast<LONG_PTR>(&languages));
    return languages;
}

BOOL CALLBACK CollectControl(HWND child, LPARAM param) {
    reinterpret_cast<std::multiset<int>*>(param)->insert(GetDlgCtrlID(child));
    return TRUE;
}

std::multiset<int> ControlIds(UINT dialogId, LANGID language) {
    const DLGTEMPLATE* dialogTemplate = zuvo::FindDialogTemplate(Library(), dialogId, language);
    zuvo::UniqueWindow window(CreateDialogIndirectParamW(
        Library(), dialogTemplate, nullptr,
        [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0));
    std::multiset<int> ids;
    EnumChildWindows(window.get(), CollectControl, reinterpret_cast<LPARAM>(&ids));
    return ids;
}

TEST(Resources, EveryResourceExistsInBothLanguages) {
    ASSERT_NE(Library(), nullptr);
    const wchar_t* types[] = {RT_DIALOG, RT_STRING, ZUVO_TEXT_RESOURCE_TYPE};
    for (const wchar_t* type : types) {
        std::vector<WORD> names = Names(type);
        EXPECT_FALSE(names.empty());
        for (WORD name : names) {
            EXPECT_EQ(Languages(type, name), (std::set<LANGID>{kEnglish, kChinese}))
                << "resource " << name;
        }
    }
}

TEST(Resources, EveryStringIsTranslated) {
    for (WORD block : Names(RT_STRING)) {
        for (UINT id = (block - 1u) * 16u; id < block * 16u; ++id) {
            std::wstring english = zuvo::LoadStringInLanguage(Library(), id, kEnglish);
            std::wstring chinese = zuvo::LoadStringInLanguage(Library(), id, kChinese);
            EXPECT_EQ(english.empty(), chinese.empty()) << "string " << id;
            EXPECT_TRUE(english.empty() || english != chinese) << "string " << id;
        }
    }
}

TEST(Resources, BothVersionsOfADialogHaveTheSameControls) {
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&classes);
    for (WORD dialog : Names(RT_DIALOG)) {
        std::multiset<int> english = ControlIds(dialog, kEnglish);
        EXPECT_FALSE(english.empty()) << "dialog " << dialog;
        EXPECT_EQ(english, ControlIds(dialog, kChinese)) << "dialog " << dialog;
    }
}

}  // namespace
