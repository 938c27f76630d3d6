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
    const wchar_t* text;
    uint32_t maximum;
    HexError error;
    uint32_t value;
};

void PrintTo(const HexCase& c, std::ostream* os) {
    *os << "text of " << std::wstring(c.text).size() << " characters, maximum " << c.maximum;
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
    testing::Values(
        HexCase{L"1f", k16, HexError::None, 0x1F}, HexCase{L"1F", k16, HexError::None, 0x1F},
        HexCase{L"0x1f", k16, HexError::None, 0x1F}, HexCase{L"0X1F", k16, HexError::None, 0x1F},
        HexCase{L"  0010\t", k16, HexError::None, 0x10}, HexCase{L"0", k16, HexError::None, 0},
        HexCase{L"0x0", k16, HexError::None, 0}, HexCase{L"FFFF", k16, HexError::None, 0xFFFF},
        HexCase{L"FFFFFFFF", k32, HexError::None, 0xFFFFFFFF},
        HexCase{L"deadBEEF", k32, HexError::None, 0xDEADBEEF},
        // Leading zeros never make a number too large.
        HexCase{L"0x000000000000000000001", k16, HexError::None, 1},
        HexCase{L"00000000FFFFFFFF", k32, HexError::None, 0xFFFFFFFF}));

INSTANTIATE_TEST_SUITE_P(
    Refused, HexParsing,
    testing::Values(
        HexCase{L"", k16, HexError::Empty, 0}, HexCase{L"   \t", k16, HexError::Empty, 0},
        HexCase{L"0x", k16, HexError::NotHex, 0}, HexCase{L"x10", k16, HexError::NotHex, 0},
        HexCase{L"12 34", k16, HexError::NotHex, 0}, HexCase{L"-1", k16, HexError::NotHex, 0},
        HexCase{L"+1", k16, HexError::NotHex, 0}, HexCase{L"1g", k16, HexError::NotHex, 0},
        HexCase{L"0x0x1", k16, HexError::NotHex, 0}, HexCase{L"1h", k16, HexError::NotHex, 0},
        // Full-width digits look like digits but are not.
        HexCase{L"\xFF11\xFF12", k16, HexError::NotHex, 0},
        HexCase{L"10000", k16, HexError::OutOfRange, 0},
        HexCase{L"100000000", k32, HexError::OutOfRange, 0},
        // A number far beyond 64 bits must not wrap around into range.
        HexCase{L"10000000000000001", k32, HexError::OutOfRange, 0},
        HexCase{L"FFFFFFFFFFFFFFFFFFFFFFFF", k32, HexError::OutOfRange, 0},
        // A bad character anywhere wins over the size.
        HexCase{L"FFFFFFFFFG", k32, HexError::NotHex, 0}));

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
