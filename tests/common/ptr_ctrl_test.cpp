// The pointer ring buffer against a std::deque model, and its edge cases.
#include <algorithm>
#include <cstdint>
#include <deque>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "ZUVO_CommonCore.h"

namespace {

void* Item(intptr_t value) {
    return reinterpret_cast<void*>(value);
}

std::vector<intptr_t> Contents(const CPtrCtrl& list) {
    std::vector<intptr_t> values;
    for (int i = 0; i < list.GetCount(); ++i) {
        values.push_back(reinterpret_cast<intptr_t>(list.GetAt(i)));
    }
    return values;
}

int ZUVO_CALL SameValue(const void* entry, const void* key) {
    return entry == key ? 0 : 1;
}

TEST(PtrCtrl, InsertFrontBackAndMiddle) {
    CPtrListCtrl list;
    EXPECT_EQ(list.AddData(Item(2), -1), 0);
    EXPECT_EQ(list.AddData(Item(4), -1), 1);
    EXPECT_EQ(list.AddData(Item(1), 0), 0);
    EXPECT_EQ(list.AddData(Item(3), 2), 2);
    EXPECT_EQ(list.AddData(Item(5), 99), 4);
    EXPECT_EQ(Contents(list), (std::vector<intptr_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(list.GetAt(-1), nullptr);
    EXPECT_EQ(list.GetAt(5), nullptr);
}

TEST(PtrCtrl, RemoveAtAndFind) {
    CPtrArrayCtrl list;
    for (intptr_t v = 1; v <= 6; ++v) {
        list.AddData(Item(v), -1);
    }
    EXPECT_EQ(list.RemoveAt(1), Item(2));
    EXPECT_EQ(list.RemoveAt(3), Item(5));
    EXPECT_EQ(list.RemoveAt(4), nullptr);
    EXPECT_EQ(list.RemoveAt(-1), nullptr);
    EXPECT_EQ(Contents(list), (std::vector<intptr_t>{1, 3, 4, 6}));
    EXPECT_EQ(list.FindData(Item(4), SameValue), 2);
    EXPECT_EQ(list.FindData(Item(9), SameValue), -1);
    EXPECT_EQ(list.FindData(Item(4), nullptr), -1);
    list.RemoveAll();
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.AddData(Item(7), -1), 0);
    EXPECT_EQ(Contents(list), (std::vector<intptr_t>{7}));
}

TEST(PtrCtrl, MoveData) {
    CPtrListCtrl list;
    for (intptr_t v = 0; v < 6; ++v) {
        list.AddData(Item(v), -1);
    }
    EXPECT_NE(list.MoveData(3, 1, 0), 0);  // entry 3 to the front
    EXPECT_EQ(Contents(list), (std::vector<intptr_t>{3, 0, 1, 2, 4, 5}));
    EXPECT_NE(list.MoveData(0, 2, 3), 0);  // a block forwards
    EXPECT_EQ(Contents(list), (std::vector<intptr_t>{1, 2, 4, 3, 0, 5}));
    EXPECT_NE(list.MoveData(1, 2, 99), 0);  // clamped to the end
    EXPECT_EQ(Contents(list), (std::vector<intptr_t>{1, 3, 0, 5, 2, 4}));
    EXPECT_NE(list.MoveData(0, 1, -1), 0);  // -1 is the end, as for AddData
    EXPECT_EQ(Contents(list), (std::vector<intptr_t>{3, 0, 5, 2, 4, 1}));
    EXPECT_EQ(list.MoveData(2, 1, 2), 0);
    EXPECT_EQ(list.MoveData(6, 1, 0), 0);
    EXPECT_EQ(list.MoveData(-1, 1, 0), 0);
    EXPECT_EQ(list.MoveData(1, 0, 0), 0);
    EXPECT_EQ(list.MoveData(4, 9, 0), 1);  // the count is clamped to what is there
    EXPECT_EQ(Contents(list), (std::vector<intptr_t>{4, 1, 3, 0, 5, 2}));
}

// A queue used newest-first: the head walks around the ring many times.
TEST(PtrCtrl, RingWrapsUnderPushFrontPopBack) {
    CPtrListCtrl list;
    std::deque<intptr_t> model;
    for (intptr_t v = 0; v < 5; ++v) {
        list.AddData(Item(v), 0);
        model.push_front(v);
    }
    for (intptr_t v = 5; v < 5000; ++v) {
        ASSERT_EQ(list.AddData(Item(v), 0), 0);
        model.push_front(v);
        ASSERT_EQ(list.RemoveAt(list.GetCount() - 1), Item(model.back()));
        model.pop_back();
    }
    EXPECT_EQ(Contents(list), std::vector<intptr_t>(model.begin(), model.end()));
}

// Random operations at random places, each checked against the model.
TEST(PtrCtrl, RandomOperationsMatchTheModel) {
    std::mt19937 random(7);
    CPtrCtrl list;
    std::deque<intptr_t> model;
    intptr_t next = 1;
    for (int step = 0; step < 20000; ++step) {
        const int size = static_cast<int>(model.size());
        const int op = static_cast<int>(random() % 10);
        if (op < 5 || size == 0) {
            const int position = static_cast<int>(random() % (size + 3)) - 1;
            const int expected = position < 0 || position > size ? size : position;
            ASSERT_EQ(list.AddData(Item(next), position), expected);
            model.insert(model.begin() + expected, next++);
        } else if (op < 8) {
            const int index = static_cast<int>(random() % size);
            ASSERT_EQ(list.RemoveAt(index), Item(model[static_cast<size_t>(index)]));
            model.erase(model.begin() + index);
        } else {
            const int from = static_cast<int>(random() % size);
            const int count = 1 + static_cast<int>(random() % 3);
            const int to = static_cast<int>(random() % size);
            const int moved = std::min(count, size - from);
            const int target = std::min(to, size - moved);
            std::vector<intptr_t> block(model.begin() + from, model.begin() + from + moved);
            model.erase(model.begin() + from, model.begin() + from + moved);
            model.insert(model.begin() + target, block.begin(), block.end());
            ASSERT_EQ(list.MoveData(from, count, to), target != from ? 1 : 0);
        }
        ASSERT_EQ(list.GetCount(), static_cast<int>(model.size()));
        if (step % 97 == 0) {
            ASSERT_EQ(Contents(list), std::vector<intptr_t>(model.begin(), model.end()));
        }
    }
    EXPECT_EQ(Contents(list), std::vector<intptr_t>(model.begin(), model.end()));
}

}  // namespace
