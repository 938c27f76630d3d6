// Opaque handles: a destroyed or foreign handle is refused instead of followed.
#include <memory>

#include <gtest/gtest.h>

#include "HandleTable.h"

namespace {

struct Counted {
    explicit Counted(int* alive) : aliveCount(alive) { ++*aliveCount; }
    ~Counted() { --*aliveCount; }
    int* aliveCount;
};

TEST(HandleTable, OnlyLiveHandlesAreFound) {
    int alive = 0;
    zuvo::dlg::HandleTable<Counted> table;
    void* first = table.Insert(std::make_unique<Counted>(&alive));
    void* second = table.Insert(std::make_unique<Counted>(&alive));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(first, second);
    EXPECT_EQ(alive, 2);
    EXPECT_NE(table.Find(first), nullptr);

    table.Take(first).reset();
    EXPECT_EQ(alive, 1);
    EXPECT_EQ(table.Find(first), nullptr) << "destroyed";
    EXPECT_EQ(table.Take(first), nullptr) << "destroyed twice";
    EXPECT_EQ(alive, 1);

    int foreign = 0;
    EXPECT_EQ(table.Find(&foreign), nullptr);
    EXPECT_EQ(table.Find(nullptr), nullptr);
    EXPECT_EQ(table.Insert(nullptr), nullptr);
    EXPECT_NE(table.Find(second), nullptr);
}

TEST(HandleTable, TheTableOwnsWhatIsNotTakenBack) {
    int alive = 0;
    {
        zuvo::dlg::HandleTable<Counted> table;
        table.Insert(std::make_unique<Counted>(&alive));
        EXPECT_EQ(alive, 1);
    }
    EXPECT_EQ(alive, 0);
}

}  // namespace
