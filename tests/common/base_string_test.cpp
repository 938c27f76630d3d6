// The printf strings: growth past any first buffer, arguments that point into the string
// itself, and the narrow/wide format mixes of the wide class; with our library's additions
// (setting, emptying, copies, wide formats) through its own classes.
#include <string>

#include <gtest/gtest.h>

#include "ZUVO_CommonCoreExtras.h"

namespace {

TEST(BaseStringA, EmptyAndSet) {
    CBaseStringAEx text;
    EXPECT_STREQ(text.GetString(), "");
    EXPECT_EQ(text.GetLength(), 0);
    text.SetString("abcdef", 3);
    EXPECT_STREQ(text.GetString(), "abc");
    text.SetString(nullptr, -1);
    EXPECT_STREQ(text.GetString(), "");
    text.SetString("hello", -1);
    text.Empty();
    EXPECT_EQ(text.GetLength(), 0);
    EXPECT_STREQ(text.GetString(), "");
}

TEST(BaseStringA, FormatAndAppendGrowPastTheFirstBuffer) {
    CBaseStringA text;
    EXPECT_EQ(text.Format("%d-%s", 42, "abc"), 6);
    EXPECT_STREQ(text.GetString(), "42-abc");
    const std::string longText(10000, 'x');
    EXPECT_EQ(text.Format("[%s]", longText.c_str()), 10002);
    EXPECT_EQ(std::string(text.GetString()), "[" + longText + "]");
    EXPECT_EQ(text.Format("%s", ""), 0);
    EXPECT_STREQ(text.GetString(), "");
    std::string expected;
    for (int i = 0; i < 1000; ++i) {
        text.AppendFormat("%04d,", i);
        expected += std::to_string(10000 + i).substr(1) + ",";
    }
    EXPECT_EQ(text.GetLength(), 5000);
    EXPECT_EQ(std::string(text.GetString()), expected);
}

TEST(BaseStringA, ArgumentsMayPointIntoTheString) {
    CBaseStringAEx text("ab");
    text.Format("%s%s", text.GetString(), text.GetString());
    EXPECT_STREQ(text.GetString(), "abab");
    text.AppendFormat("%s", text.GetString());
    EXPECT_STREQ(text.GetString(), "abababab");
    text.SetString(text.GetString() + 5, -1);
    EXPECT_STREQ(text.GetString(), "bab");
    for (int i = 0; i < 6; ++i) {  // appends that move the buffer while reading from it
        text.AppendFormat("%s", text.GetString());
    }
    EXPECT_EQ(text.GetLength(), 3 * 64);
}

TEST(BaseStringA, CopiesAreIndependent) {
    CBaseStringAEx original("one");
    CBaseStringAEx copy(original);
    CBaseStringAEx assigned;
    assigned = original;
    original.SetString("changed", -1);
    EXPECT_STREQ(copy.GetString(), "one");
    EXPECT_STREQ(assigned.GetString(), "one");
    assigned = assigned;
    EXPECT_STREQ(assigned.GetString(), "one");
    CBaseStringAEx empty;
    assigned = empty;
    EXPECT_STREQ(assigned.GetString(), "");
}

TEST(BaseStringW, WideFormatWithWideArguments) {
    CBaseStringWEx text;
    EXPECT_EQ(text.Format(L"%d %ls", 5, L"wide"), 6);
    EXPECT_STREQ(text.GetString(), L"5 wide");
    text.AppendFormat(L"|%ls|%c", L"\u00e4\u4e2d", L'x');
    EXPECT_STREQ(text.GetString(), L"5 wide|\u00e4\u4e2d|x");
}

// vswprintf answers -1 for a buffer that is too small; the string must still grow.
TEST(BaseStringW, WideFormatGrowsPastTheFirstBuffer) {
    const std::wstring longText(10000, L'y');
    CBaseStringWEx text;
    EXPECT_EQ(text.Format(L"<%ls>", longText.c_str()), 10002);
    EXPECT_EQ(std::wstring(text.GetString()), L"<" + longText + L">");
    text.AppendFormat(L"%ls", longText.c_str());
    EXPECT_EQ(text.GetLength(), 20002);
}

TEST(BaseStringW, NarrowFormatIsConverted) {
    CBaseStringWEx text;
    EXPECT_EQ(text.Format("%s=%d", "a", 3), 3);
    EXPECT_STREQ(text.GetString(), L"a=3");
#if !defined(_WIN32)  // narrow text is UTF-8 here, the ANSI code page on Windows
    text.AppendFormat("%s", "\xC3\xA4");
    EXPECT_STREQ(text.GetString(), L"a=3\u00e4");
#endif
    const int before = text.GetLength();
    const std::string longText(5000, 'z');
    text.AppendFormat("%s", longText.c_str());
    EXPECT_EQ(text.GetLength(), before + 5000);
    text.SetString(L"abcdef", 2);
    EXPECT_STREQ(text.GetString(), L"ab");
    CBaseStringWEx copy(text);
    text.Empty();
    EXPECT_STREQ(copy.GetString(), L"ab");
    EXPECT_STREQ(text.GetString(), L"");
}

}  // namespace
