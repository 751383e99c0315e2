#include "watchdog.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

using hovrel::road::Watchdog;
using namespace std::chrono_literals;

TEST(Watchdog, SetsTheFlagWhenTheLimitPasses) {
    volatile std::int32_t flag = 0;
    Watchdog watchdog(50ms, &flag);
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (flag == 0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(5ms);
    }
    EXPECT_EQ(flag, 1);
    EXPECT_TRUE(watchdog.Fired());
}

TEST(Watchdog, StoppedBeforeTheLimitLeavesTheFlagAndReturnsAtOnce) {
    volatile std::int32_t flag = 0;
    const auto start = std::chrono::steady_clock::now();
    {
        Watchdog watchdog(60s, &flag);
        std::this_thread::sleep_for(20ms);
        EXPECT_FALSE(watchdog.Fired());
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
    EXPECT_EQ(flag, 0);
}

TEST(Watchdog, ZeroLimitNeverFires) {
    volatile std::int32_t flag = 0;
    Watchdog watchdog(0ms, &flag);
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(flag, 0);
    EXPECT_FALSE(watchdog.Fired());
}

} // namespace
