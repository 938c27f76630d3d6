// The lock under contention. Built for ThreadSanitizer too, which reports the counter below as
// a data race if the lock ever lets two threads in.
#include <atomic>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "ZUVO_CommonCore.h"

namespace {

TEST(BaseLock, SerialisesThreads) {
    constexpr int kThreads = 8;
    constexpr int kIncrements = 20000;
    CBaseLock lock;
    long counter = 0;  // deliberately not atomic
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&lock, &counter, t] {
            for (int i = 0; i < kIncrements; ++i) {
                if ((i + t) % 2 == 0) {
                    CAutoBaseLock hold(lock);
                    ++counter;
                } else {
                    lock.Lock();
                    lock.Lock();  // recursive: the owner may lock again
                    ++counter;
                    lock.Unlock();
                    lock.Unlock();
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(counter, static_cast<long>(kThreads) * kIncrements);
}

TEST(BaseLock, HeldUntilTheLastUnlock) {
    CBaseLock lock;
    std::atomic<bool> entered{false};
    lock.Lock();
    lock.Lock();
    lock.Unlock();
    std::thread other([&lock, &entered] {
        CAutoBaseLock hold(lock);
        entered = true;
    });
    HQ_Sleep(50);
    EXPECT_FALSE(entered) << "one Unlock of two released the lock";
    lock.Unlock();
    other.join();
    EXPECT_TRUE(entered);
}

}  // namespace
