#include "tests/support/WaitUntil.h"

#include <thread>

namespace zuvo::test {

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit,
               std::chrono::milliseconds poll) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        std::this_thread::sleep_for(poll);
    }
    return true;
}

}  // namespace zuvo::test
