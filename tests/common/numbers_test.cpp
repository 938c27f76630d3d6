// Number text as the settings files write it ("%lld", "%llu", "%.1f") must read back, and
// anything else must be refused without touching the destination.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "ZUVO_CommonCoreExtras.h"

namespace {

constexpr unsigned char kSentinel = 0xA5;

struct NumberCase {
    const char* text;
    int type;
    const char* expected;  // the value in decimal, or null when the text must be refused
};

std::string TypeName(int type) {
    const std::pair<int, const char*> names[] = {
        {DIGITAL_TYPE_NONE, "TypeNone"}, {DIGITAL_TYPE_BOOL8, "Bool8"},
        {DIGITAL_TYPE_FLAG, "Flag"},     {DIGITAL_TYPE_INT8, "Int8"},
        {DIGITAL_TYPE_INT16, "Int16"},   {DIGITAL_TYPE_INT32, "Int32"},
        {DIGITAL_TYPE_UINT32, "UInt32"}, {DIGITAL_TYPE_INT64, "Int64"},
        {DIGITAL_TYPE_UINT64, "UInt64"}, {DIGITAL_TYPE_FLOAT, "Float"},
        {DIGITAL_TYPE_DOUBLE, "Double"}, {DIGITAL_TYPE_COUNT, "TypeCount"}};
    for (const auto& [code, name] : names) {
        if (code == type) {
            return name;
        }
    }
    return type < 0 ? "TypeMinus" + std::to_string(-static_cast<long long>(type))
                    : "Type" + std::to_string(type);
}

void PrintTo(const NumberCase& c, std::ostream* os) {
    *os << testing::PrintToString(std::string(c.text)) << " as " << TypeName(c.type);
}

// The word for a character that cannot stand in a test name, or null.
const char* CharacterName(char ch) {
    const std::pair<char, const char*> names[] = {{'-', "Minus"}, {'+', "Plus"},  {'.', "Point"},
                                                  {',', "Comma"}, {' ', "Space"}, {'\t', "Tab"},
                                                  {'\r', "Cr"},   {'\n', "Lf"}};
    for (const auto& [character, name] : names) {
        if (character == ch) {
            return name;
        }
    }
    return nullptr;
}

// The text spelled with letters and digits only: "-0.5" is Minus0Point5, " 42 " Space42Space.
std::string SpelledText(const char* text) {
    if (*text == '\0') {
        return "Empty";
    }
    std::string spelled;
    for (const char* p = text; *p != '\0'; ++p) {
        const char ch = *p;
        if ((ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z')) {
            spelled += ch;
        } else if (const char* word = CharacterName(ch)) {
            spelled += word;
        } else {
            spelled += "Char" + std::to_string(static_cast<unsigned char>(ch));
        }
    }
    return spelled;
}

// For example Int32_Minus150 or Double_1e3: the type read and the text it reads.
std::string NumberCaseName(const testing::TestParamInfo<NumberCase>& row) {
    return TypeName(row.param.type) + "_" + SpelledText(row.param.text);
}

// The value stored at dest, widened for comparison with the expected text; *width is the
// size of the type read.
bool StoredEquals(const unsigned char* dest, int type, const char* expected, size_t* width) {
    auto as = [dest, width](auto value) {
        std::memcpy(&value, dest, sizeof(value));
        *width = sizeof(value);
        return value;
    };
    switch (type) {
        case DIGITAL_TYPE_BOOL8:
            return as(uint8_t{}) == std::strtoull(expected, nullptr, 10);
        case DIGITAL_TYPE_FLAG:
        case DIGITAL_TYPE_INT32:
            return as(int32_t{}) == std::strtoll(expected, nullptr, 10);
        case DIGITAL_TYPE_INT8:
            return as(int8_t{}) == std::strtoll(expected, nullptr, 10);
        case DIGITAL_TYPE_INT16:
            return as(int16_t{}) == std::strtoll(expected, nullptr, 10);
        case DIGITAL_TYPE_UINT32:
            return as(uint32_t{}) == std::strtoull(expected, nullptr, 10);
        case DIGITAL_TYPE_INT64:
            return as(int64_t{}) == std::strtoll(expected, nullptr, 10);
        case DIGITAL_TYPE_UINT64:
            return as(uint64_t{}) == std::strtoull(expected, nullptr, 10);
        case DIGITAL_TYPE_FLOAT: {
            const float wanted = std::strtof(expected, nullptr);
            return std::isnan(wanted) ? std::isnan(as(float{})) : as(float{}) == wanted;
        }
        case DIGITAL_TYPE_DOUBLE: {
            const double wanted = std::strtod(expected, nullptr);
            return std::isnan(wanted) ? std::isnan(as(double{})) : as(double{}) == wanted;
        }
        default:
            return false;
    }
}

class DigitalStringTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(DigitalStringTest, StoresExactlyTheTypeOrNothing) {
    const NumberCase& c = GetParam();
    unsigned char dest[16];
    std::memset(dest, kSentinel, sizeof(dest));
    const int answer = DigtalStringToValue(c.text, -1, dest, c.type);
    size_t untouchedFrom = 0;
    if (c.expected == nullptr) {
        EXPECT_EQ(answer, 0);
    } else {
        ASSERT_NE(answer, 0);
        EXPECT_TRUE(StoredEquals(dest, c.type, c.expected, &untouchedFrom))
            << "expected " << c.expected;
        EXPECT_EQ(static_cast<size_t>(gDigitalTypeSize[c.type]), untouchedFrom);
    }
    for (size_t i = untouchedFrom; i < sizeof(dest); ++i) {
        EXPECT_EQ(dest[i], kSentinel) << "byte " << i;
    }
}

constexpr int kBool = DIGITAL_TYPE_BOOL8;
constexpr int kFlag = DIGITAL_TYPE_FLAG;
constexpr int kI8 = DIGITAL_TYPE_INT8;
constexpr int kI16 = DIGITAL_TYPE_INT16;
constexpr int kI32 = DIGITAL_TYPE_INT32;
constexpr int kU32 = DIGITAL_TYPE_UINT32;
constexpr int kI64 = DIGITAL_TYPE_INT64;
constexpr int kU64 = DIGITAL_TYPE_UINT64;
constexpr int kF32 = DIGITAL_TYPE_FLOAT;
constexpr int kF64 = DIGITAL_TYPE_DOUBLE;

INSTANTIATE_TEST_SUITE_P(
    Written, DigitalStringTest,
    ::testing::Values(
        NumberCase{"-150", kI32, "-150"}, NumberCase{"0", kI32, "0"},
        NumberCase{"2147483647", kI32, "2147483647"},
        NumberCase{"-2147483648", kI32, "-2147483648"}, NumberCase{" 42 ", kI32, "42"},
        NumberCase{"\t7\r\n", kI32, "7"}, NumberCase{"+5", kI32, "5"}, NumberCase{"007", kI32, "7"},
        NumberCase{"0x7FFFFFFF", kI32, "2147483647"}, NumberCase{"0X1f", kI32, "31"},
        NumberCase{"-0x10", kI32, "-16"}, NumberCase{"4294967295", kU32, "4294967295"},
        NumberCase{"16776960", kU32, "16776960"}, NumberCase{"0xFFFFFFFF", kU32, "4294967295"},
        NumberCase{"-0", kU32, "0"}, NumberCase{"1", kFlag, "1"}, NumberCase{"-1", kFlag, "-1"},
        NumberCase{"0", kBool, "0"}, NumberCase{"1", kBool, "1"}, NumberCase{"5", kBool, "1"},
        NumberCase{"-3", kBool, "1"}, NumberCase{"127", kI8, "127"},
        NumberCase{"-128", kI8, "-128"}, NumberCase{"32767", kI16, "32767"},
        NumberCase{"-32768", kI16, "-32768"},
        NumberCase{"9223372036854775807", kI64, "9223372036854775807"},
        NumberCase{"-9223372036854775808", kI64, "-9223372036854775808"},
        NumberCase{"18446744073709551615", kU64, "18446744073709551615"},
        NumberCase{"12.5", kF64, "12.5"}, NumberCase{"-0.5", kF64, "-0.5"},
        NumberCase{"1.0", kF64, "1"}, NumberCase{"-150", kF64, "-150"},
        NumberCase{"1e3", kF64, "1000"}, NumberCase{" 2.25 ", kF64, "2.25"},
        NumberCase{"+3", kF64, "3"}, NumberCase{".5", kF64, "0.5"}, NumberCase{"5.", kF64, "5"},
        NumberCase{"0x1p4", kF64, "16"}, NumberCase{"inf", kF64, "inf"},
        NumberCase{"-inf", kF64, "-inf"}, NumberCase{"nan", kF64, "nan"},
        NumberCase{"12.5", kF32, "12.5"}, NumberCase{"-0.5", kF32, "-0.5"},
        NumberCase{"3.4e38", kF32, "3.4e38"}),
    NumberCaseName);

INSTANTIATE_TEST_SUITE_P(
    Refused, DigitalStringTest,
    ::testing::Values(
        NumberCase{"2147483648", kI32, nullptr}, NumberCase{"-2147483649", kI32, nullptr},
        NumberCase{"0x80000000", kI32, nullptr}, NumberCase{"", kI32, nullptr},
        NumberCase{"  ", kI32, nullptr}, NumberCase{"abc", kI32, nullptr},
        NumberCase{"12abc", kI32, nullptr}, NumberCase{"1.2.3", kI32, nullptr},
        NumberCase{"0x", kI32, nullptr}, NumberCase{"--1", kI32, nullptr},
        NumberCase{"+-1", kI32, nullptr}, NumberCase{"- 1", kI32, nullptr},
        NumberCase{"1 2", kI32, nullptr}, NumberCase{"12.5", kI32, nullptr},
        NumberCase{"1e3", kI32, nullptr}, NumberCase{"0x1g", kI32, nullptr},
        NumberCase{"4294967296", kU32, nullptr}, NumberCase{"-1", kU32, nullptr},
        NumberCase{"2147483648", kFlag, nullptr}, NumberCase{"abc", kBool, nullptr},
        NumberCase{"128", kI8, nullptr}, NumberCase{"-129", kI8, nullptr},
        NumberCase{"0xFF", kI8, nullptr}, NumberCase{"32768", kI16, nullptr},
        NumberCase{"9223372036854775808", kI64, nullptr},
        NumberCase{"-9223372036854775809", kI64, nullptr},
        NumberCase{"18446744073709551616", kU64, nullptr}, NumberCase{"-1", kU64, nullptr},
        NumberCase{"99999999999999999999999", kU64, nullptr}, NumberCase{"", kF64, nullptr},
        NumberCase{"abc", kF64, nullptr}, NumberCase{"12abc", kF64, nullptr},
        NumberCase{"1.2.3", kF64, nullptr}, NumberCase{"0x", kF64, nullptr},
        NumberCase{"--1", kF64, nullptr}, NumberCase{"+-1", kF64, nullptr},
        NumberCase{"1,5", kF64, nullptr}, NumberCase{"1e999", kF64, nullptr},
        NumberCase{"1e39", kF32, nullptr}, NumberCase{"5", DIGITAL_TYPE_NONE, nullptr},
        NumberCase{"5", DIGITAL_TYPE_COUNT, nullptr}, NumberCase{"5", -1, nullptr}),
    NumberCaseName);

TEST(DigitalString, ReadsOnlyTheGivenLength) {
    int32_t value = -1;
    EXPECT_NE(DigtalStringToValue("12abc", 2, &value, kI32), 0);
    EXPECT_EQ(value, 12);
    EXPECT_EQ(DigtalStringToValue("123", 0, &value, kI32), 0);
    EXPECT_EQ(DigtalStringToValue(nullptr, -1, &value, kI32), 0);
    EXPECT_EQ(DigtalStringToValue("1", -1, nullptr, kI32), 0);
    EXPECT_EQ(value, 12);
}

struct ArrayCase {
    const char* name;
    const char* text;
    int keepEmpty;
    int capacity;
    int expectedCount;
    std::vector<int32_t> expectedStored;  // the first min(count, capacity) slots
};

void PrintTo(const ArrayCase& c, std::ostream* os) {
    *os << ::testing::PrintToString(c.text) << (c.keepEmpty ? " keeping" : " skipping")
        << " empty fields into " << c.capacity << " slots";
}

class ParseArrayTest : public ::testing::TestWithParam<ArrayCase> {};

TEST_P(ParseArrayTest, CountsAndStoresWithinCapacity) {
    const ArrayCase& c = GetParam();
    std::vector<int32_t> dest(8, -7);
    const int count =
        ParseDigitalArrayValue(c.text, -1, ",", c.keepEmpty, 1, kI32, dest.data(), c.capacity);
    EXPECT_EQ(count, c.expectedCount);
    std::vector<int32_t> wanted = c.expectedStored;
    wanted.resize(dest.size(), -7);  // every slot past what was stored is untouched
    EXPECT_EQ(dest, wanted);
    EXPECT_EQ(ParseDigitalArrayValue(c.text, -1, ",", c.keepEmpty, 1, kI32, nullptr, 0),
              c.expectedCount)
        << "a counting call agrees";
}

INSTANTIATE_TEST_SUITE_P(
    Lists, ParseArrayTest,
    ::testing::Values(ArrayCase{"TwoValues", "10,20", 0, 8, 2, {10, 20}},
                      ArrayCase{"OneValue", "10", 0, 8, 1, {10}},
                      ArrayCase{"StopsAtAWord", "10,abc,20", 0, 8, 1, {10}},
                      ArrayCase{"WordFirst", "abc,10", 0, 8, 0, {}},
                      ArrayCase{"CountsPastTheCapacity", "10,20,30", 0, 2, 3, {10, 20}},
                      ArrayCase{"SpacesAroundValues", " 30, 40 ", 0, 8, 2, {30, 40}},
                      ArrayCase{"EmptyFieldSkipped", "1,,2", 0, 8, 2, {1, 2}},
                      ArrayCase{"KeptEmptyFieldStops", "1,,2", 1, 8, 1, {1}},
                      ArrayCase{"KeptBlankFieldStops", "1, ,2", 1, 8, 1, {1}},
                      ArrayCase{"TrailingSeparator", "5,6,", 0, 8, 2, {5, 6}},
                      ArrayCase{"EmptyText", "", 0, 8, 0, {}},
                      ArrayCase{"FirstValueOutOfRange", "4294967295,1", 0, 8, 0, {}},
                      ArrayCase{"SignsAndHexCountedWithoutRoom", "-1,0x10,+3", 0, 0, 3, {}}),
    [](const ::testing::TestParamInfo<ArrayCase>& row) { return std::string(row.param.name); });

TEST(ParseArray, RealsAndSeveralSeparators) {
    double reals[3] = {};
    EXPECT_EQ(ParseDigitalArrayValue("12.5;-0.5 1.0", -1, "; ", 0, 1, kF64, reals, 3), 3);
    EXPECT_EQ(reals[0], 12.5);
    EXPECT_EQ(reals[1], -0.5);
    EXPECT_EQ(reals[2], 1.0);
    int8_t small[4] = {};
    EXPECT_EQ(ParseDigitalArrayValue("1,2,300,4", -1, ",", 0, 1, kI8, small, 4), 2);
    EXPECT_EQ(ParseDigitalArrayValue("1,2,3", 3, ",", 0, 1, kI8, small, 4), 2);
}

// The settings code reads lists of pairs: split at ';', then two integers per piece; a
// piece that does not give two numbers is skipped.
TEST(ParseArray, PairListWithMalformedPieces) {
    char** pieces = nullptr;
    const int count =
        DevideStringByCharListA("10,20; 30,40; 50; 60,70; ", -1, ";", 0, 1, &pieces, -1);
    ASSERT_EQ(count, 4);
    std::vector<std::pair<int32_t, int32_t>> pairs;
    for (int i = 0; i < count; ++i) {
        int32_t pair[2] = {};
        if (ParseDigitalArrayValue(pieces[i], -1, ",", 0, 1, kI32, pair, 2) == 2) {
            pairs.emplace_back(pair[0], pair[1]);
        }
    }
    Internal_DelArrayA(pieces);
    const std::vector<std::pair<int32_t, int32_t>> expected = {{10, 20}, {30, 40}, {60, 70}};
    EXPECT_EQ(pairs, expected);
}

TEST(IsHexChar, DigitsAndLettersOnly) {
    for (const wchar_t ch : {L'0', L'9', L'a', L'f', L'A', L'F'}) {
        EXPECT_NE(IsHexCharW(ch), 0) << static_cast<int>(ch);
    }
    // 0x0130 and 0x0661 have the low byte of '0' and 'a': a narrowing cast would accept them.
    for (const wchar_t ch : {L'g', L'G', L'/', L':', L'@', L'`', L' ', L'\0', wchar_t(0x0130),
                             wchar_t(0x0661), wchar_t(0x0660)}) {
        EXPECT_EQ(IsHexCharW(ch), 0) << static_cast<int>(ch);
    }
}

}  // namespace
