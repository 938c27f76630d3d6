// The code-page rules on Windows: a path converts exactly or not at all, display text always
// converts, best-fit included.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "text/CodePage.h"
#include "text/Unicode.h"

namespace zuvo::text {
namespace {

// Whatever the ANSI code page, a path either converts exactly or is refused: a character never
// turns into a look-alike or a '?'.
TEST(PathRule, ConversionsAreExactOrRefused) {
    int exact = 0;
    int refused = 0;
    for (const wchar_t* text : {L"C:\\Data\\plain", L"caf\u00e9", L"\u20ac", L"\u0101",
                                L"\u4e2d\u6587", L"\u221e", L"\U0001F600", L"\u00c5ngstr\u00f6m"}) {
        std::string narrow;
        if (!PathToNarrow(text, narrow)) {
            ++refused;
            continue;
        }
        ++exact;
        std::wstring back;
        ASSERT_TRUE(PathToWide(narrow, back)) << narrow;
        EXPECT_EQ(back, text);
    }
    EXPECT_GE(exact, 2) << "ASCII and at least one other character convert";
    if (GetACP() == CP_UTF8) {
        EXPECT_EQ(refused, 0);
    } else {
        EXPECT_GE(refused, 1) << "no ANSI code page holds U+1F600";
    }

    std::string narrow;
    const wchar_t unpaired[] = {L'a', static_cast<wchar_t>(0xD800), L'b', L'\0'};
    EXPECT_FALSE(PathToNarrow(unpaired, narrow));
    std::wstring empty = L"x";
    EXPECT_TRUE(PathToWide("", empty));
    EXPECT_EQ(empty, L"");
}

TEST(PathRule, TheThreadCodePageIsTheOneAsked) {
    // The thread's code page is the process's here; both answer the same for every text.
    for (const wchar_t* text : {L"plain", L"caf\u00e9", L"\u4e2d\u6587", L"\U0001F600"}) {
        std::string process;
        std::string thread;
        EXPECT_EQ(PathToNarrow(text, process), PathToNarrow(text, thread, CodePage::Thread));
        EXPECT_EQ(process, thread);
        EXPECT_EQ(DisplayToNarrow(text), DisplayToNarrow(text, CodePage::Thread));
    }
}

TEST(DisplayRule, AlwaysConvertsAndMayBestFit) {
    EXPECT_EQ(DisplayToWide("plain text"), L"plain text");
    EXPECT_EQ(DisplayToNarrow(L"plain text"), "plain text");
    EXPECT_EQ(DisplayToWide(""), L"");
    EXPECT_EQ(DisplayToNarrow(L""), "");

    // A character no ANSI code page holds still shows as something, where the path rule
    // refuses it.
    std::string path = "stale";
    if (GetACP() != CP_UTF8) {
        EXPECT_FALSE(PathToNarrow(L"x\U0001F600", path));
        EXPECT_EQ(path, "");
    }
    const std::string shown = DisplayToNarrow(L"x\U0001F600");
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.front(), 'x');
}

// The Wine tests run in the Western code page (the prefix's locale), where U+0101 (a with
// macron) has a look-alike and no byte of its own.
TEST(DisplayRule, AWesternLookAlikeIsShownButIsNoPath) {
    ASSERT_EQ(GetACP(), 1252u);
    EXPECT_EQ(DisplayToNarrow(L"\u0101bc"), "abc");
    std::string path = "stale";
    EXPECT_FALSE(PathToNarrow(L"\u0101bc", path));
    EXPECT_EQ(path, "");
    // The code page's own characters convert by both rules alike.
    ASSERT_TRUE(PathToNarrow(L"caf\u00e9", path));
    EXPECT_EQ(path, "caf\xe9");
    EXPECT_EQ(DisplayToNarrow(L"caf\u00e9"), path);
    EXPECT_EQ(DisplayToWide("caf\xe9"), L"caf\u00e9");
}

}  // namespace
}  // namespace zuvo::text
