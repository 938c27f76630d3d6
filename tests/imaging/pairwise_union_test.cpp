// The balanced union of many parts: the same union as folding them one by one, at a cost that
// grows with parts x log(parts) rather than parts squared.
#include <algorithm>
#include <numeric>
#include <optional>
#include <vector>

#include <gtest/gtest.h>

#include "imaging/PairwiseUnion.h"

namespace zuvo::imaging {
namespace {

using Part = std::vector<int>;

// Concatenates and counts the elements it touched, like CombineRgn's cost.
struct CountingUnion {
    long long* work;
    int failAfter;
    std::optional<Part> operator()(Part a, Part b) {
        if (failAfter-- == 0) {
            return std::nullopt;
        }
        *work += static_cast<long long>(a.size() + b.size());
        a.insert(a.end(), b.begin(), b.end());
        return a;
    }
};

std::vector<int> Sorted(std::vector<int> values) {
    std::sort(values.begin(), values.end());
    return values;
}

TEST(PairwiseUnion, HoldsEveryPartOnce) {
    for (int count : {1, 2, 3, 7, 8, 1000}) {
        SCOPED_TRACE(count);
        long long work = 0;
        PairwiseUnion<Part, CountingUnion> parts(CountingUnion{&work, -1});
        for (int i = 0; i < count; ++i) {
            ASSERT_TRUE(parts.Add(Part{i}));
        }
        EXPECT_FALSE(parts.Empty());
        std::optional<Part> all = parts.Take();
        ASSERT_TRUE(all);
        std::vector<int> expected(static_cast<size_t>(count));
        std::iota(expected.begin(), expected.end(), 0);
        EXPECT_EQ(Sorted(*all), expected);
    }
}

TEST(PairwiseUnion, CostsPartsTimesLogParts) {
    long long work = 0;
    PairwiseUnion<Part, CountingUnion> parts(CountingUnion{&work, -1});
    for (int i = 0; i < 4096; ++i) {
        ASSERT_TRUE(parts.Add(Part{i}));
    }
    ASSERT_TRUE(parts.Take());
    // Every element is touched once per level: 4096 x 12. Folding one by one would touch
    // about 4096 x 4096 / 2.
    EXPECT_EQ(work, 4096LL * 12);
}

TEST(PairwiseUnion, NothingAddedOrAFailedUnion) {
    long long work = 0;
    PairwiseUnion<Part, CountingUnion> none(CountingUnion{&work, -1});
    EXPECT_TRUE(none.Empty());
    EXPECT_FALSE(none.Take());

    // The first two parts unite; adding the fourth unites it with the third, which fails.
    PairwiseUnion<Part, CountingUnion> failing(CountingUnion{&work, 1});
    EXPECT_TRUE(failing.Add(Part{1}));
    EXPECT_TRUE(failing.Add(Part{2}));
    EXPECT_TRUE(failing.Add(Part{3}));
    EXPECT_FALSE(failing.Add(Part{4}));

    PairwiseUnion<Part, CountingUnion> failingInTake(CountingUnion{&work, 1});
    EXPECT_TRUE(failingInTake.Add(Part{1}));
    EXPECT_TRUE(failingInTake.Add(Part{2}));
    EXPECT_TRUE(failingInTake.Add(Part{3}));
    EXPECT_FALSE(failingInTake.Take()) << "the union of the last parts fails";
}

}  // namespace
}  // namespace zuvo::imaging
