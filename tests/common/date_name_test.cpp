// Date-stamped file names: the formatting from a fixed time, the sequence numbers that keep
// names unique, and the live function's shape.
#include <chrono>
#include <cwchar>
#include <cwctype>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "ZUVO_CommonCore.h"
#include "libs/ZUVO_Common/src/DateNameFormat.h"

namespace {

using zuvo::datename::BreakDownTime;
using zuvo::datename::FormatDateName;
using zuvo::datename::NameSequence;
using zuvo::datename::StampTime;

constexpr StampTime kTime{2024, 3, 7, 9, 5, 3, 42};

std::wstring Format(const StampTime& time, bool milliseconds, int sequence, const wchar_t* prefix,
                    const wchar_t* suffix, const wchar_t* extension) {
    wchar_t out[ZUVO_MAX_PATH] = L"unchanged";
    const int length =
        FormatDateName(out, ZUVO_MAX_PATH, time, milliseconds, sequence, prefix, suffix, extension);
    EXPECT_EQ(static_cast<size_t>(length), std::wcslen(out));
    return out;
}

TEST(DateName, FormatsTheStamp) {
    EXPECT_EQ(Format(kTime, false, 0, L"rec_", L"_a", L".bin"), L"rec_20240307_090503_a.bin");
    EXPECT_EQ(Format(kTime, true, 0, L"rec_", L"", L".bin"), L"rec_20240307_090503_042.bin");
    EXPECT_EQ(Format(kTime, true, 2, L"", L"_a", L""), L"20240307_090503_042_002_a");
    EXPECT_EQ(Format(kTime, false, 1234, nullptr, nullptr, nullptr), L"20240307_090503_1234");
    const StampTime late{1999, 12, 31, 23, 59, 60, 999};
    EXPECT_EQ(Format(late, true, 0, L"", L"", L".x"), L"19991231_235960_999.x");
}

TEST(DateName, RefusesWhatDoesNotFit) {
    wchar_t out[32] = L"unchanged";
    // "p" + 15 stamp characters + ".ext" = 20 characters and the terminator.
    EXPECT_EQ(FormatDateName(out, 21, kTime, false, 0, L"p", L"", L".ext"), 20);
    std::wcscpy(out, L"unchanged");
    EXPECT_EQ(FormatDateName(out, 20, kTime, false, 0, L"p", L"", L".ext"), 0);
    EXPECT_STREQ(out, L"unchanged");
}

TEST(DateName, SequenceCountsRepeatsOfRecentNames) {
    NameSequence names;
    EXPECT_EQ(names.Next(L"a"), 0);
    EXPECT_EQ(names.Next(L"a"), 1);
    EXPECT_EQ(names.Next(L"b"), 0);
    EXPECT_EQ(names.Next(L"a"), 2);
    names.Remember(L"c");
    names.Remember(L"c");
    EXPECT_EQ(names.Next(L"c"), 1);
    for (int i = 0; i < NameSequence::kRememberedNames; ++i) {
        names.Next(std::to_wstring(i).c_str());
    }
    EXPECT_EQ(names.Next(L"a"), 0) << "the oldest names are forgotten";
}

TEST(DateName, BreaksDownUtc) {
    StampTime time{};
    const std::chrono::system_clock::time_point when{std::chrono::milliseconds(1700000000123)};
    ASSERT_TRUE(BreakDownTime(when, true, &time));
    EXPECT_EQ(Format(time, true, 0, L"", L"", L""), L"20231114_221320_123");
#if !defined(_WIN32)  // the Windows C runtime refuses times before 1970
    const std::chrono::system_clock::time_point before{std::chrono::milliseconds(-1)};
    ASSERT_TRUE(BreakDownTime(before, true, &time));
    EXPECT_EQ(Format(time, true, 0, L"", L"", L""), L"19691231_235959_999");
#endif
}

TEST(DateName, LiveNamesAreUniqueWithinTheProcess) {
    std::set<std::wstring> names;
    const wchar_t* prefix = L"unique_test_";
    for (int i = 0; i < 5; ++i) {
        wchar_t out[ZUVO_MAX_PATH];
        const int length = GetFileNameByDateW(out, L".dat", prefix, L"_x", 0, 1, 0);
        ASSERT_GT(length, 0);
        const std::wstring name(out, static_cast<size_t>(length));
        // prefix, YYYYMMDD_hhmmss, optional _nnn, suffix, extension
        ASSERT_EQ(name.rfind(prefix, 0), 0u) << name.c_str();
        for (size_t k = 12; k < 12 + 15; ++k) {
            EXPECT_TRUE(k == 20 ? name[k] == L'_' : std::iswdigit(name[k]) != 0) << k;
        }
        EXPECT_EQ(name.substr(name.size() - 6), L"_x.dat");
        EXPECT_TRUE(names.insert(name).second) << "repeated";
    }
    wchar_t out[ZUVO_MAX_PATH];
    EXPECT_GT(GetFileNameByDateW(out, L"", L"utc_", L"", 1, 0, 1), 0);
    const std::wstring tooLong(250, L'p');
    EXPECT_EQ(GetFileNameByDateW(out, L".dat", tooLong.c_str(), L"", 0, 1, 0), 0);
    EXPECT_EQ(GetFileNameByDateW(nullptr, L".dat", L"", L"", 0, 1, 0), 0);
}

}  // namespace
