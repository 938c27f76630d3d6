// The text codec's table: valid, invalid, overlong and truncated UTF-8, surrogates alone and in
// pairs, in both strengths, and cutting at every boundary. Built natively (wide text UTF-32) and
// for Windows (UTF-16), where the surrogate cases matter most.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "text/Unicode.h"

namespace zuvo::text {
namespace {

constexpr bool kUtf16Wide = sizeof(wchar_t) == 2;
const std::wstring kFffd(1, static_cast<wchar_t>(kReplacementCharacter));

// Wide text of code points, as UTF-16 or UTF-32 as wchar_t holds it.
std::wstring Wide(const std::vector<char32_t>& points) {
    std::wstring out;
    for (const char32_t point : points) {
        if (kUtf16Wide && point >= 0x10000) {
            out.push_back(static_cast<wchar_t>(0xD800 + ((point - 0x10000) >> 10)));
            out.push_back(static_cast<wchar_t>(0xDC00 + ((point - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<wchar_t>(point));
        }
    }
    return out;
}

struct DecodeCase {
    const char* name;
    std::string bytes;
    std::vector<char32_t> replaced;  // what the replacing form answers
    bool wellFormed;                 // whether the exact form accepts it
};

TEST(Utf8Decoding, ReplacesEveryMalformedPieceOrRefusesTheWhole) {
    const char32_t r = kReplacementCharacter;
    const std::vector<DecodeCase> cases = {
        {"empty", "", {}, true},
        {"ASCII", "abc", {'a', 'b', 'c'}, true},
        {"every length",
         "a\xc3\xa9\xe6\x95\xb0\xf0\x9f\x98\x80",
         {'a', 0xE9, 0x6570, 0x1F600},
         true},
        {"largest", "\xf4\x8f\xbf\xbf", {0x10FFFF}, true},
        {"replacement itself", "\xef\xbf\xbd", {0xFFFD}, true},
        {"lone continuation", "\x80", {r}, false},
        {"invalid lead",
         "\xff"
         "a",
         {r, 'a'},
         false},
        {"five-byte form", "\xf8\x88\x80\x80\x80", {r, r, r, r, r}, false},
        {"overlong two", "\xc0\xaf", {r}, false},
        {"overlong three", "\xe0\x80\xaf", {r}, false},
        {"overlong four", "\xf0\x80\x80\xaf", {r}, false},
        {"encoded high surrogate", "\xed\xa0\x80", {r}, false},
        {"encoded low surrogate", "\xed\xbf\xbf", {r}, false},
        {"encoded pair", "\xed\xa0\xbd\xed\xb8\x80", {r, r}, false},
        {"beyond U+10FFFF", "\xf4\x90\x80\x80", {r}, false},
        {"cut after the lead", "\xc3", {r}, false},
        {"cut inside three", "ok\xe6\x95", {'o', 'k', r}, false},
        {"cut inside four", "\xf0\x9f\x98", {r}, false},
        {"interrupted",
         "\xe6"
         "a\xe6\x95\xb0",
         {r, 'a', 0x6570},
         false},
    };
    for (const DecodeCase& c : cases) {
        EXPECT_EQ(Utf8ToWide(c.bytes), Wide(c.replaced)) << c.name;
        std::wstring exact = L"stale";
        EXPECT_EQ(Utf8ToWideExact(c.bytes, exact), c.wellFormed) << c.name;
        EXPECT_EQ(exact, c.wellFormed ? Wide(c.replaced) : std::wstring()) << c.name;
        EXPECT_EQ(IsValidUtf8(c.bytes), c.wellFormed) << c.name;
    }
}

struct EncodeCase {
    const char* name;
    std::wstring wide;
    std::string replaced;
    bool wellFormed;
};

TEST(Utf8Encoding, LoneSurrogatesAreReplacedOrRefused) {
    const wchar_t high = static_cast<wchar_t>(0xD83D);
    const wchar_t low = static_cast<wchar_t>(0xDE00);
    const std::string fffd = "\xef\xbf\xbd";
    std::vector<EncodeCase> cases = {
        {"every plane", Wide({'a', 0xE9, 0x6570, 0x1F600}), "a\xc3\xa9\xe6\x95\xb0\xf0\x9f\x98\x80",
         true},
        {"lone low", std::wstring{L'a', low}, "a" + fffd, false},
        {"lone high at the end", std::wstring{L'a', high}, "a" + fffd, false},
        {"high before a letter", std::wstring{high, L'b'}, fffd + "b", false},
        {"reversed pair", std::wstring{low, high}, fffd + fffd, false},
    };
    if constexpr (!kUtf16Wide) {
        cases.push_back(
            {"beyond U+10FFFF", std::wstring(1, static_cast<wchar_t>(0x110000)), fffd, false});
        // UTF-32 text holds code points: two surrogates are two lone ones.
        cases.push_back({"surrogates as code points", std::wstring{high, low}, fffd + fffd, false});
    }
    for (const EncodeCase& c : cases) {
        EXPECT_EQ(WideToUtf8(c.wide), c.replaced) << c.name;
        std::string exact = "stale";
        EXPECT_EQ(WideToUtf8Exact(c.wide, exact), c.wellFormed) << c.name;
        EXPECT_EQ(exact, c.wellFormed ? c.replaced : std::string()) << c.name;
    }
    // Everything well-formed comes back unchanged.
    const std::wstring sample = Wide({'a', 0x7F, 0x80, 0x7FF, 0x800, 0xFFFF, 0x10000, 0x10FFFF});
    std::string narrow;
    ASSERT_TRUE(WideToUtf8Exact(sample, narrow));
    std::wstring back;
    ASSERT_TRUE(Utf8ToWideExact(narrow, back));
    EXPECT_EQ(back, sample);
}

TEST(Utf16LeDecoding, PairsJoinAndLoneHalvesAreReplaced) {
    const uint8_t bytes[] = {'a', 0, 0x3D, 0xD8, 0x00, 0xDE, 0x00, 0xDC, 0x3D, 0xD8, 'b', 0, 'c'};
    EXPECT_EQ(Utf16LeToWide(bytes, sizeof(bytes)),
              Wide({'a', 0x1F600, kReplacementCharacter, kReplacementCharacter, 'b'}));
    EXPECT_EQ(Utf16LeToWide(bytes, 0), L"");
    EXPECT_EQ(Utf16LeToWide(nullptr, 4), L"");
}

TEST(Truncation, NeverEndsInsideACharacter) {
    // 'a' (1 byte), U+00E9 (2), U+6570 (3), U+1F600 (4): the longest start within each
    // capacity.
    const std::string utf8 = "a\xc3\xa9\xe6\x95\xb0\xf0\x9f\x98\x80";
    const size_t utf8Fits[] = {0, 1, 1, 3, 3, 3, 6, 6, 6, 6, 10, 10};
    for (size_t capacity = 0; capacity < std::size(utf8Fits); ++capacity) {
        EXPECT_EQ(Utf8FitLength(utf8, capacity), utf8Fits[capacity]) << capacity;
    }
    // Continuation bytes without a lead are cut where they are.
    EXPECT_EQ(Utf8FitLength("\x80\x80\x80\x80\x80", 2), 2u);
    EXPECT_EQ(Utf8FitLength("ab\x80\x80\x80\x80", 3), 3u);

    const std::wstring wide = Wide({'a', 0x1F600, 'b'});
    const std::vector<size_t> wideFits =
        kUtf16Wide ? std::vector<size_t>{0, 1, 1, 3, 4, 4} : std::vector<size_t>{0, 1, 2, 3, 3};
    for (size_t capacity = 0; capacity < wideFits.size(); ++capacity) {
        EXPECT_EQ(WideFitLength(wide, capacity), wideFits[capacity]) << capacity;
    }
}

TEST(Truncation, AFieldGetsWholeCharactersAndItsTerminator) {
    const std::wstring path = Wide({'a', 'b', 0x1F600, 'c'});
    wchar_t field[4] = {L'x', L'x', L'x', L'x'};
    CopyToField(path, field);
    EXPECT_EQ(std::wstring(field), kUtf16Wide ? std::wstring(L"ab") : Wide({'a', 'b', 0x1F600}));

    wchar_t wide[8];
    CopyToField(path, wide);
    EXPECT_EQ(std::wstring(wide), path);

    wchar_t one[1] = {L'x'};
    CopyToField(path, one);
    EXPECT_EQ(one[0], L'\0');
    CopyToField(path, nullptr, 4);  // nothing to write into, nothing happens
    CopyToField(path, one, 0);
    EXPECT_EQ(one[0], L'\0');
}

}  // namespace
}  // namespace zuvo::text
