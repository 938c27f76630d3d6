// Splitting text into pieces: the rules for empty pieces, blanks and the piece limit.
#include <string>
#include <ostream>
#include <vector>

#include <gtest/gtest.h>

#include "ZUVO_CommonCore.h"

namespace {

struct SplitCase {
    const char* name;
    const char* text;
    const char* separators;
    int keepEmpty;
    int trim;
    int maxPieces;
    std::vector<std::string> expected;
};

void PrintTo(const SplitCase& c, std::ostream* os) {
    *os << testing::PrintToString(std::string(c.text)) << " at "
        << testing::PrintToString(std::string(c.separators)) << ", keepEmpty " << c.keepEmpty
        << " trim " << c.trim << " max " << c.maxPieces;
}

std::vector<std::string> SplitA(const char* text, int length, const char* separators, int keepEmpty,
                                int trim, int maxPieces) {
    char** pieces = nullptr;
    const int count =
        DevideStringByCharListA(text, length, separators, keepEmpty, trim, &pieces, maxPieces);
    std::vector<std::string> result;
    if (count == 0) {
        EXPECT_EQ(pieces, nullptr);
        return result;
    }
    for (int i = 0; i < count; ++i) {
        result.emplace_back(pieces[i]);
    }
    EXPECT_EQ(pieces[count], nullptr) << "the array is null-terminated";
    Internal_DelArrayA(pieces);
    return result;
}

class SplitTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitTest, Pieces) {
    const SplitCase& c = GetParam();
    EXPECT_EQ(SplitA(c.text, -1, c.separators, c.keepEmpty, c.trim, c.maxPieces), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, SplitTest,
    ::testing::Values(
        SplitCase{"ThreePieces", "a,b,c", ",", 0, 0, -1, {"a", "b", "c"}},
        SplitCase{"EmptyPiecesAreDropped", "a,,b", ",", 0, 0, -1, {"a", "b"}},
        SplitCase{"EmptyPiecesAreKept", "a,,b", ",", 1, 0, -1, {"a", "", "b"}},
        SplitCase{"EmptyLinesAreKept", "a\n\nb", "\n", 1, 0, -1, {"a", "", "b"}},
        SplitCase{"OnlySeparatorsGiveNothing", ",,,", ",", 0, 0, -1, {}},
        SplitCase{"OnlySeparatorsGiveEmptyPieces", ",,,", ",", 1, 0, -1, {"", "", "", ""}},
        SplitCase{"PiecesAreTrimmed", " a , b ", ",", 0, 1, -1, {"a", "b"}},
        SplitCase{"UntrimmedPiecesKeepTheirBlanks", " a , b ", ",", 0, 0, -1, {" a ", " b "}},
        SplitCase{"LinesKeepTheirCarriageReturn", "a\r\nb\r\n", "\n", 0, 0, -1, {"a\r", "b\r"}},
        SplitCase{"TrimmingRemovesTheCarriageReturn", "a\r\nb\r\n", "\n", 0, 1, -1, {"a", "b"}},
        SplitCase{"BlankPieceIsTrimmedAndDropped", "a, ,b", ",", 0, 1, -1, {"a", "b"}},
        SplitCase{"BlankPieceIsTrimmedAndKept", "a, ,b", ",", 1, 1, -1, {"a", "", "b"}},
        SplitCase{"EverySeparatorCharacterSplits", "a;b,c", ";,", 0, 0, -1, {"a", "b", "c"}},
        SplitCase{"TheLastOfTwoPiecesTakesTheRest", "a,b,c,d", ",", 0, 0, 2, {"a", "b,c,d"}},
        SplitCase{"TheRestBeginsAfterTheDroppedEmptyPiece", "a,,b,c", ",", 0, 0, 2, {"a", "b,c"}},
        SplitCase{"TheRestBeginsAfterTheFirstSeparator", "a,,b,c", ",", 1, 0, 2, {"a", ",b,c"}},
        SplitCase{"TheRestIsTrimmedAsAWhole", "a, b ,c ", ",", 0, 1, 2, {"a", "b ,c"}},
        SplitCase{"OnePieceIsTheWholeText", "a,b,c", ",", 0, 0, 1, {"a,b,c"}},
        SplitCase{"ZeroPiecesGiveNothing", "a,b,c", ",", 0, 0, 0, {}},
        SplitCase{"MaximumAboveTheCountChangesNothing", "a,b", ",", 0, 0, 5, {"a", "b"}},
        SplitCase{"EmptyTextGivesNothing", "", ",", 1, 0, -1, {}},
        SplitCase{"NoSeparatorsGiveTheWholeText", "abc", "", 0, 0, -1, {"abc"}}),
    [](const testing::TestParamInfo<SplitCase>& row) { return std::string(row.param.name); });

TEST(Split, LengthAndNullArguments) {
    EXPECT_EQ(SplitA("a,b,c", 3, ",", 0, 0, -1), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(SplitA("a,b", -1, nullptr, 0, 0, -1), (std::vector<std::string>{"a,b"}));
    char** pieces = reinterpret_cast<char**>(&pieces);
    EXPECT_EQ(DevideStringByCharListA(nullptr, -1, ",", 0, 0, &pieces, -1), 0);
    EXPECT_EQ(pieces, nullptr);
    EXPECT_EQ(DevideStringByCharListA("a", -1, ",", 0, 0, nullptr, -1), 0);
    Internal_DelArrayA(nullptr);
    Internal_DelArrayW(nullptr);
}

TEST(Split, WidePieces) {
    wchar_t** pieces = nullptr;
    const int count =
        DevideStringByCharListW(L" \u00e4 ;\u4e2d\u6587; ;x", -1, L";", 0, 1, &pieces, -1);
    ASSERT_EQ(count, 3);
    EXPECT_STREQ(pieces[0], L"\u00e4");
    EXPECT_STREQ(pieces[1], L"\u4e2d\u6587");
    EXPECT_STREQ(pieces[2], L"x");
    EXPECT_EQ(pieces[3], nullptr);
    Internal_DelArrayW(pieces);
}

}  // namespace
