// Waiting for something another thread or process does, without a message loop: the
// condition is asked again and again until it holds or the time is up. Portable.
#pragma once

#include <chrono>
#include <functional>

namespace zuvo::test {

// Asks condition every poll until it answers true or limit has passed; answers whether it
// did. The condition is asked at least once.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit,
               std::chrono::milliseconds poll = std::chrono::milliseconds(20));

}  // namespace zuvo::test
