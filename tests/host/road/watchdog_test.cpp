#include "watchdog.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

using hovrel::road::Watchdog;
using namespace std::chrono_literals;

TEST(Watchdog, SetsTheFlagWhenTheLimitPasses) {
    hovrel::common::CancelFlag flag;
    Watchdog watchdog(50ms, flag);
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (!flag.IsSet() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(5ms);
    }
    EXPECT_TRUE(flag.IsSet());
    EXPECT_TRUE(watchdog.Fired());
}

TEST(Watchdog, StoppedBeforeTheLimitLeavesTheFlagAndReturnsAtOnce) {
    hovrel::common::CancelFlag flag;
    const auto start = std::chrono::steady_clock::now();
    {
        Watchdog watchdog(60s, flag);
        std::this_thread::sleep_for(20ms);
        EXPECT_FALSE(watchdog.Fired());
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
    EXPECT_FALSE(flag.IsSet());
}

TEST(Watchdog, ZeroLimitNeverFires) {
    hovrel::common::CancelFlag flag;
    Watchdog watchdog(0ms, flag);
    std::this_thread::sleep_for(50ms);
    EXPECT_FALSE(flag.IsSet());
    EXPECT_FALSE(watchdog.Fired());
}

} // namespace
