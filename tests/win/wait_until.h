// Polling for what another thread or process brings about, for the tests that drive real windows.
#pragma once

#include <chrono>
#include <functional>
#include <thread>

namespace win_test {

// Polls until the condition holds or the time is up; true when it held.
inline bool waitUntil(const std::function<bool()>& condition, int milliseconds = 10000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return condition();
}

}  // namespace win_test
