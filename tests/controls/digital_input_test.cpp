// The numeric field's keystroke filter, its limits with their messages and corrections, and
// the text of limit values.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "controls/DecimalText.h"
#include "controls/DigitalFilter.h"
#include "controls/DigitalLimits.h"
#include "controls/LimitValue.h"

namespace {

using namespace zuvo::controls;

struct CharCase {
    wchar_t character;
    const wchar_t* textAfter;  // the field's text with the character already in it
    int valueType;
    bool hex;
    const wchar_t* refusal;  // null: accepted
};

TEST(DigitalFilter, TypedCharactersFollowTheRulesOfTheValueType) {
    const CharCase cases[] = {
        {L'.', L"1.", kValueDouble, false, nullptr},
        {L'.', L"1.2.", kValueDouble, false, L"Invalid character '.'"},
        {L'.', L"1..2", kValueFloat, false, L"Invalid character '.'"},
        {L'.', L"1.", kValueInt32, false, L"Invalid character '.'"},
        {L'.', L"1.", kValueUInt64, true, L"Invalid character '.'"},
        {L'-', L"-", kValueInt32, false, nullptr},
        {L'-', L"-12", kValueDouble, false, nullptr},
        {L'-', L"1-2", kValueInt32, false, L"Invalid character '-'"},
        {L'-', L"12-", kValueInt64, false, L"Invalid character '-'"},
        {L'-', L"--5", kValueDouble, false, L"Invalid character '-'"},
        {L'-', L"-5-", kValueDouble, false, L"Invalid character '-'"},
        {L'-', L"-", kValueUInt32, false, L"Invalid character '-'"},
        {L'-', L"-7", kValueUInt64, false, L"Invalid character '-'"},
        {L'7', L"1.2.3", kValueDouble, false, nullptr},       // digits are never judged by the text
        {0x16, L"pasted text", kValueInt32, false, nullptr},  // Ctrl+V
        {0x08, L"", kValueUInt32, false, nullptr},            // Backspace
        {L'a', L"1a", kValueInt32, false, L"Invalid character 'a'"},
        {L'a', L"1a", kValueInt32, true, nullptr},
        {L'F', L"F", kValueUInt32, true, nullptr},
        {L'g', L"g", kValueUInt32, true, L"Invalid character 'g'"},
        {L' ', L"1 ", kValueDouble, false, L"Invalid character ' '"},
        {L'+', L"+1", kValueDouble, true, L"Invalid character '+'"},
        {L'e', L"1e", kValueDouble, false, L"Invalid character 'e'"},
        {0x7F, L"1\x7F", kValueDouble, false, L"Invalid character '\x7F'"},  // Ctrl+Backspace
        {0x4E2D, L"\x4E2D", kValueDouble, false, L"Invalid character '\x4E2D'"},
    };
    for (const CharCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "character " << static_cast<int>(c.character) << " type "
                                        << c.valueType << " hex " << c.hex);
        const CharVerdict verdict = CheckTypedChar(c.character, c.textAfter, c.valueType, c.hex);
        EXPECT_EQ(verdict.accepted, c.refusal == nullptr);
        EXPECT_EQ(verdict.message, c.refusal == nullptr ? L"" : c.refusal);
    }
}

// The area panel's two fields: real numbers, minimum 0 or 1, maximum gate count - 1.
struct AreaField {
    explicit AreaField(double minimum, int gateCount = 32) {
        limits.Set(kHardMinimum, kValueDouble, minimum, 1e-16);
        limits.Set(kHardMaximum, kValueDouble, gateCount - 1, 1e-16);
    }
    ValueVerdict Commit(const wchar_t* text) const {
        return limits.Check(LeadingDouble(text), kValueDouble);
    }
    DigitalLimitSet limits;
};

void ExpectNote(const FieldNote& note, int id, int icon, const wchar_t* text) {
    EXPECT_EQ(note.id, id);
    EXPECT_EQ(note.icon, icon);
    EXPECT_EQ(note.title, L"Data Invalid");
    EXPECT_EQ(note.text, text);
}

TEST(DigitalLimits, AnEmptiedFieldReadsAsZeroAndMeetsItsMinimum) {
    const ValueVerdict far = AreaField(1.0).Commit(L"");
    EXPECT_FALSE(far.accepted);
    EXPECT_EQ(far.correction, L"1");
    ASSERT_EQ(far.notes.size(), 1u);
    ExpectNote(far.notes[0], 13, 3, L"MinValue Must >= 1");

    const ValueVerdict near = AreaField(0.0).Commit(L"");
    EXPECT_TRUE(near.accepted) << "a minimum of 0 takes the empty field as it is";
    EXPECT_TRUE(near.notes.empty());
}

TEST(DigitalLimits, AValueAboveTheHardMaximumIsCorrectedToIt) {
    const ValueVerdict verdict = AreaField(1.0).Commit(L"45");
    EXPECT_FALSE(verdict.accepted);
    EXPECT_EQ(verdict.correction, L"31");
    ASSERT_EQ(verdict.notes.size(), 1u);
    ExpectNote(verdict.notes[0], 14, 3, L"MaxValue Must <= 31");

    EXPECT_TRUE(AreaField(1.0).Commit(L"31").accepted);
    EXPECT_TRUE(AreaField(1.0).Commit(L"12.5abc").accepted) << "the leading number counts";
    EXPECT_FALSE(AreaField(1.0).Commit(L"inf").accepted);
}

TEST(DigitalLimits, MarginsAreHalfAUnitForIntegersAndTheToleranceForReals) {
    DigitalLimitSet integer;
    integer.Set(kHardMaximum, kValueInt32, 31, 0.0);
    EXPECT_TRUE(integer.Check(31.5, kValueInt32).accepted);
    EXPECT_FALSE(integer.Check(31.51, kValueInt32).accepted);

    DigitalLimitSet real;
    real.Set(kHardMinimum, kValueDouble, 2.0, 0.25);
    EXPECT_TRUE(real.Check(1.75, kValueDouble).accepted);
    EXPECT_FALSE(real.Check(1.74, kValueDouble).accepted);
    EXPECT_EQ(real.Check(1.74, kValueDouble).correction, L"2");
}

TEST(DigitalLimits, SuggestedLimitsWarnBesideTheHardOnes) {
    DigitalLimitSet limits;
    limits.Set(kHardMaximum, kValueDouble, 31, 1e-16);
    limits.Set(kSuggestedMaximum, kValueDouble, 20, 1e-16);
    limits.Set(kSuggestedMinimum, kValueDouble, 2.5, 1e-16);

    const ValueVerdict both = limits.Check(45, kValueDouble);
    EXPECT_FALSE(both.accepted);
    ASSERT_EQ(both.notes.size(), 2u);
    ExpectNote(both.notes[0], 12, 2, L"MaxValue Suggest <= 20");
    ExpectNote(both.notes[1], 14, 3, L"MaxValue Must <= 31");

    const ValueVerdict warned = limits.Check(25, kValueDouble);
    EXPECT_TRUE(warned.accepted) << "suggested limits never refuse";
    ASSERT_EQ(warned.notes.size(), 1u);
    ExpectNote(warned.notes[0], 12, 2, L"MaxValue Suggest <= 20");

    const ValueVerdict low = limits.Check(1, kValueDouble);
    ASSERT_EQ(low.notes.size(), 1u);
    ExpectNote(low.notes[0], 11, 2, L"MinValue Suggest >= 2.5");
}

TEST(DigitalLimits, AViolatedMinimumEndsTheCheck) {
    DigitalLimitSet limits;
    limits.Set(kHardMinimum, kValueInt32, 10, 0.0);
    limits.Set(kHardMaximum, kValueInt32, 5, 0.0);
    const ValueVerdict verdict = limits.Check(3, kValueInt32);
    ASSERT_EQ(verdict.notes.size(), 1u);
    EXPECT_EQ(verdict.notes[0].id, 13);
    EXPECT_EQ(verdict.correction, L"10");
}

TEST(DigitalLimits, SettingAgainReplacesTheList) {
    DigitalLimitSet limits;
    limits.Set(kHardMinimum, kValueDouble, 0.0, 1e-16);
    limits.Set(kHardMinimum, kValueDouble, 5.0, 1e-16);
    ASSERT_EQ(limits.Count(kHardMinimum), 1);
    EXPECT_EQ(limits.At(kHardMinimum, 0)->name, L"MinValue");
    EXPECT_FALSE(limits.Check(4, kValueDouble).accepted);
    limits.Clear(kHardMinimum);
    EXPECT_TRUE(limits.Check(-100, kValueDouble).accepted);
}

TEST(DigitalLimits, NotANumberIsCorrectedAndAnUnknownTypeIsNotCompared) {
    const ValueVerdict nan = AreaField(1.0).Commit(L"nan");
    EXPECT_FALSE(nan.accepted);
    EXPECT_EQ(nan.correction, L"1");

    DigitalLimitSet limits;
    limits.Set(kHardMaximum, kValueInt32, 3, 0.0);
    EXPECT_TRUE(limits.Check(1000, 6).accepted);
}

TEST(DigitalLimits, ALimitReadsBackAsItWasSetWhenTheFieldTypeChanges) {
    DigitalLimitSet limits;
    limits.Set(kHardMaximum, kValueDouble, 1.5, 0.0);
    // Read with the integer field's half unit of margin: 1.5 + 0.5.
    EXPECT_TRUE(limits.Check(2.0, kValueInt32).accepted);
    EXPECT_FALSE(limits.Check(2.01, kValueInt32).accepted);
    EXPECT_EQ(limits.Check(2.01, kValueInt32).correction, L"1.5");
}

struct TextCase {
    int valueType;
    double value;
    const wchar_t* format;
    const wchar_t* text;
};

TEST(LimitValue, LimitsPrintWithTheirTypeOrASuitableFormat) {
    const TextCase cases[] = {
        {kValueInt32, -5, L"", L"-5"},
        {kValueUInt32, 4000000000.0, L"", L"4000000000"},
        {kValueInt64, -9e15, L"", L"-9000000000000000"},
        {kValueUInt64, 1e30, L"", L"18446744073709551615"},  // limited to the type
        {kValueInt32, 1e12, L"", L"2147483647"},
        {kValueUInt32, -3, L"", L"0"},
        {kValueFloat, 0.5, L"", L"0.5"},
        {kValueDouble, 31.0, L"", L"31"},
        {kValueDouble, 1.0 / 3.0, L"", L"0.3333333333"},
        {kValueDouble, 31.0, L"%05.1f m", L"031.0 m"},
        {kValueDouble, 31.0, L"%lg", L"31"},
        {kValueUInt32, 255, L"0x%04X", L"0x00FF"},
        {kValueInt32, 31, L"%d%%", L"31%"},
        {kValueInt64, 7, L"%lld gates", L"7 gates"},
        {kValueInt32, 31, L"%s", L"31"},      // not a number conversion
        {kValueInt32, 31, L"%d %d", L"31"},   // two conversions
        {kValueInt32, 31, L"%lld", L"31"},    // wrong size
        {kValueInt32, 31, L"100%%", L"31"},   // no conversion
        {kValueInt32, 31, L"%9999d", L"31"},  // width too large
        {kValueDouble, 2.5, L"%d", L"2.5"},   // integer conversion of a real
        {kValueInt32, 31, L"%n", L"31"},
        {kValueInt32, 31, L"%", L"31"},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.valueType << " value " << c.value);
        EXPECT_EQ(LimitText(c.valueType, EncodeLimitValue(c.valueType, c.value), c.format), c.text);
    }
}

TEST(LimitValue, ValuesKeepTheirRepresentation) {
    EXPECT_EQ(EncodeLimitValue(kValueInt32, -1), 0xFFFFFFFFu) << "32-bit values use 4 bytes";
    EXPECT_EQ(LimitAsDouble(kValueUInt64, EncodeLimitValue(kValueUInt64, 1e19)), 1e19);
    EXPECT_EQ(LimitAsDouble(kValueInt32, EncodeLimitValue(kValueInt32, 2.6)), 3.0);
    EXPECT_EQ(LimitAsDouble(kValueInt32, EncodeLimitValue(kValueInt32, std::nan(""))), 0.0);
    EXPECT_TRUE(std::isinf(LimitAsDouble(kValueFloat, EncodeLimitValue(kValueFloat, 1e300))));
    EXPECT_EQ(LimitAsDouble(kValueFloat, EncodeLimitValue(kValueFloat, 0.25)), 0.25);
    EXPECT_EQ(EncodeLimitValue(9, 5.0), 0u);
    EXPECT_EQ(LimitText(9, 5, L"%d"), L"");
}

struct DecimalsCase {
    double x;
    int maximum;
    int decimals;
};

TEST(DecimalText, DecimalsNeededStopsWhenTheRestIsTooSmallToShow) {
    const DecimalsCase cases[] = {
        {31.0, 1, 0},  {0.5, 1, 1},       {0.5, 10, 1},   {-0.5, 10, 1},
        {2.25, 10, 2}, {1.0 / 3, 10, 10}, {0.1, 10, 1},   {0.3, 10, 1},
        {2.999, 1, 0}, {31.04, 1, 1},     {1e-11, 10, 0}, {1e12 + 0.5, 10, 1},
        {5e15, 1, 0},  {7.0, 0, 0},       {0.005, 2, 0},  {0.015, 2, 2},
    };
    for (const DecimalsCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << " up to " << c.maximum);
        EXPECT_EQ(DecimalsNeeded(c.x, c.maximum), c.decimals);
    }
    EXPECT_EQ(DecimalsNeeded(std::numeric_limits<double>::quiet_NaN(), 3), 3);
}

TEST(DecimalText, DialogFieldsShowAtMostOneDecimal) {
    EXPECT_EQ(DialogDoubleText(31.0), L"31");
    EXPECT_EQ(DialogDoubleText(0.5), L"0.5");
    EXPECT_EQ(DialogDoubleText(2.44), L"2.4");
    EXPECT_EQ(DialogDoubleText(31.04), L"31.0");
    EXPECT_EQ(DialogDoubleText(-3.0), L"-3");
    EXPECT_EQ(DialogDoubleText(1e300).size(), 301u);

    EXPECT_EQ(LeadingDouble(L""), 0.0);
    EXPECT_EQ(LeadingDouble(L"abc"), 0.0);
    EXPECT_EQ(LeadingDouble(nullptr), 0.0);
    EXPECT_EQ(LeadingDouble(L"12abc"), 12.0);
    EXPECT_EQ(LeadingDouble(L"  7.5"), 7.5);
    EXPECT_EQ(LeadingDouble(L"-2"), -2.0);
}

}  // namespace
