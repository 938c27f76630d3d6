// Numbered placeholders: translations may reorder them, and argument text is never read as a
// placeholder itself.
#include <gtest/gtest.h>

#include "TextFormat.h"

namespace {

using zuvo::dlg::FormatText;

TEST(TextFormat, ReplacesNumberedPlaceholders) {
    EXPECT_EQ(FormatText(L"Found: %1", {L"Radar emulator"}), L"Found: Radar emulator");
    EXPECT_EQ(FormatText(L"%2 / %1", {L"a", L"b"}), L"b / a");
    EXPECT_EQ(FormatText(L"%1%1", {L"x"}), L"xx");
    EXPECT_EQ(FormatText(L"no placeholders", {L"x"}), L"no placeholders");
}

TEST(TextFormat, LeavesWhatIsNotAPlaceholder) {
    EXPECT_EQ(FormatText(L"100%% sure", {}), L"100% sure");
    EXPECT_EQ(FormatText(L"%3 of %1", {L"a"}), L"%3 of a") << "missing argument";
    EXPECT_EQ(FormatText(L"50%", {L"a"}), L"50%") << "a trailing %";
    EXPECT_EQ(FormatText(L"%s %d %0", {L"a"}), L"%s %d %0") << "printf conversions stay text";
}

TEST(TextFormat, ArgumentsAreInsertedVerbatim) {
    EXPECT_EQ(FormatText(L"value \x201C%1\x201D", {L"%2%s%%"}), L"value \x201C%2%s%%\x201D");
    EXPECT_EQ(FormatText(L"[%1]", {L""}), L"[]");
}

}  // namespace
