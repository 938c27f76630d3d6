// What the operator types into the register editor: every hexadecimal spelling the editor
// accepts reads back exactly, and every other text is refused for the right reason.
#include <cstdint>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "HexText.h"

namespace {

using zuvo::dlg::FormatHex;
using zuvo::dlg::HexError;
using zuvo::dlg::ParseHex;

struct HexCase {
    const char* name;
    const wchar_t* text;
    uint32_t maximum;
    HexError error;
    uint32_t value;
};

void PrintTo(const HexCase& c, std::ostream* os) {
    *os << testing::PrintToString(std::wstring(c.text)) << ", maximum " << c.maximum;
}

std::string HexCaseName(const testing::TestParamInfo<HexCase>& row) {
    return row.param.name;
}

class HexParsing : public testing::TestWithParam<HexCase> {};

TEST_P(HexParsing, ReadsOrRefuses) {
    const HexCase& c = GetParam();
    zuvo::dlg::HexParse result = ParseHex(c.text, c.maximum);
    EXPECT_EQ(result.error, c.error) << "text \"" << testing::PrintToString(std::wstring(c.text));
    if (c.error == HexError::None) {
        EXPECT_EQ(result.value, c.value);
    }
}

constexpr uint32_t k16 = 0xFFFF;
constexpr uint32_t k32 = 0xFFFFFFFF;

INSTANTIATE_TEST_SUITE_P(
    Spellings, HexParsing,
    testing::Values(HexCase{"LowerCase", L"1f", k16, HexError::None, 0x1F},
                    HexCase{"UpperCase", L"1F", k16, HexError::None, 0x1F},
                    HexCase{"LowerCaseAfterPrefix", L"0x1f", k16, HexError::None, 0x1F},
                    HexCase{"UpperCaseAfterCapitalPrefix", L"0X1F", k16, HexError::None, 0x1F},
                    HexCase{"BlanksAroundAndLeadingZeros", L"  0010\t", k16, HexError::None, 0x10},
                    HexCase{"Zero", L"0", k16, HexError::None, 0},
                    HexCase{"ZeroAfterPrefix", L"0x0", k16, HexError::None, 0},
                    HexCase{"Largest16Bit", L"FFFF", k16, HexError::None, 0xFFFF},
                    HexCase{"Largest32Bit", L"FFFFFFFF", k32, HexError::None, 0xFFFFFFFF},
                    HexCase{"MixedCase32Bit", L"deadBEEF", k32, HexError::None, 0xDEADBEEF},
                    // Leading zeros never make a number too large.
                    HexCase{"ManyLeadingZerosAfterPrefix", L"0x000000000000000000001", k16,
                            HexError::None, 1},
                    HexCase{"LeadingZerosBeforeTheLargest32Bit", L"00000000FFFFFFFF", k32,
                            HexError::None, 0xFFFFFFFF}),
    HexCaseName);

INSTANTIATE_TEST_SUITE_P(
    Refused, HexParsing,
    testing::Values(
        HexCase{"Empty", L"", k16, HexError::Empty, 0},
        HexCase{"OnlyBlanks", L"   \t", k16, HexError::Empty, 0},
        HexCase{"PrefixWithoutDigits", L"0x", k16, HexError::NotHex, 0},
        HexCase{"PrefixWithoutTheZero", L"x10", k16, HexError::NotHex, 0},
        HexCase{"BlankBetweenDigits", L"12 34", k16, HexError::NotHex, 0},
        HexCase{"MinusSign", L"-1", k16, HexError::NotHex, 0},
        HexCase{"PlusSign", L"+1", k16, HexError::NotHex, 0},
        HexCase{"LetterAfterF", L"1g", k16, HexError::NotHex, 0},
        HexCase{"PrefixTwice", L"0x0x1", k16, HexError::NotHex, 0},
        HexCase{"HexSuffix", L"1h", k16, HexError::NotHex, 0},
        // Full-width digits look like digits but are not.
        HexCase{"FullWidthDigits", L"\xFF11\xFF12", k16, HexError::NotHex, 0},
        HexCase{"OneAbove16Bit", L"10000", k16, HexError::OutOfRange, 0},
        HexCase{"OneAbove32Bit", L"100000000", k32, HexError::OutOfRange, 0},
        // A number far beyond 64 bits must not wrap around into range.
        HexCase{"Beyond64BitsDoesNotWrap", L"10000000000000001", k32, HexError::OutOfRange, 0},
        HexCase{"TwentyFourDigits", L"FFFFFFFFFFFFFFFFFFFFFFFF", k32, HexError::OutOfRange, 0},
        // A bad character anywhere wins over the size.
        HexCase{"BadCharacterWinsOverTheSize", L"FFFFFFFFFG", k32, HexError::NotHex, 0}),
    HexCaseName);

TEST(HexFormatting, PadsToTheDigitsAndReadsBack) {
    EXPECT_EQ(FormatHex(0x1F, 4), L"0x001F");
    EXPECT_EQ(FormatHex(0, 4), L"0x0000");
    EXPECT_EQ(FormatHex(0xDEADBEEF, 8), L"0xDEADBEEF");
    EXPECT_EQ(FormatHex(0x12345, 4), L"0x12345") << "never cut";
    for (uint32_t value : {0u, 1u, 0xABCu, 0xFFFFu, 0x80000000u, 0xFFFFFFFFu}) {
        zuvo::dlg::HexParse back = ParseHex(FormatHex(value, 8), k32);
        EXPECT_EQ(back.error, HexError::None);
        EXPECT_EQ(back.value, value);
    }
}

}  // namespace
