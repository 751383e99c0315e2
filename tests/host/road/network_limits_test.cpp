#include "network_limits.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>

namespace {

using namespace hovrel::road;
using namespace std::chrono_literals;

TEST(FetchLimit, TheEarlierOfTheFetchsOwnAndTheRunsDeadline) {
    const Clock::time_point now = Clock::now();
    const struct {
        std::optional<Clock::time_point> run;
        Clock::time_point deadline;
        LimitSource source;
    } cases[] = {
        {std::nullopt, now + 60s, LimitSource::FetchTimeout},
        {now + 3s, now + 3s, LimitSource::RunTimeout},
        {now + 60s, now + 60s, LimitSource::RunTimeout},
        {now + 61s, now + 60s, LimitSource::FetchTimeout},
        {now - 1s, now - 1s, LimitSource::RunTimeout}, // the run's time is already up
    };
    for (const auto& c : cases) {
        const FetchLimit limit = FetchLimitAt(now, 60s, c.run);
        EXPECT_EQ(limit.deadline, c.deadline);
        EXPECT_EQ(limit.source, c.source);
    }
    EXPECT_EQ(DescribeLimit(LimitSource::RunTimeout, 3), "3 s (--timeout)");
    EXPECT_EQ(DescribeLimit(LimitSource::FetchTimeout, 60), "60 s (--fetch-timeout)");
}

struct Sample {
    long long ms;
    std::uint64_t received;
    bool tooSlow;
};

TEST(RateFloor, StopsOnlyWhenAWholeWindowStaysBelowTheFloor) {
    const struct {
        const char* what;
        std::uint32_t floor;
        std::vector<Sample> samples;
    } cases[] = {
        {"nothing at all is judged before a window has passed",
         100,
         {{500, 0, false}, {9999, 0, false}, {10000, 0, true}}},
        {"exactly the floor is enough", 100, {{5000, 500, false}, {10000, 1000, false}}},
        {"one byte short is not", 100, {{5000, 500, false}, {10000, 999, true}}},
        {"a fast start does not pay for a stall later",
         100,
         {{1000, 100000, false}, {10000, 100000, false}, {11000, 100000, true}}},
        {"a slow start caught up within the window goes on",
         100,
         {{3000, 10, false}, {9000, 5000, false}, {16000, 5800, false}, {19000, 6000, false}}},
        {"a floor of 0 never stops", 0, {{10000, 0, false}, {600000, 0, false}}},
    };
    for (const auto& c : cases) {
        RateFloor floor(c.floor, 10s);
        for (const Sample& s : c.samples) {
            EXPECT_EQ(floor.TooSlow(std::chrono::milliseconds(s.ms), s.received), s.tooSlow)
                << c.what << " at " << s.ms << " ms";
        }
    }
}

TEST(RateFloor, JudgesTheLastWindowOfALongDownload) {
    RateFloor floor(1000, 60s);
    // Ten minutes at 2000 bytes a second, a sample every 10 ms.
    std::uint64_t received = 0;
    for (long long ms = 10; ms <= 600000; ms += 10) {
        received += 20;
        ASSERT_FALSE(floor.TooSlow(std::chrono::milliseconds(ms), received)) << ms;
    }
    // Then 500 bytes a second: the last minute's average falls below 1000
    // after about 40 s.
    long long stoppedAt = 0;
    for (long long ms = 600010; ms <= 700000 && stoppedAt == 0; ms += 10) {
        received += 5;
        if (floor.TooSlow(std::chrono::milliseconds(ms), received)) {
            stoppedAt = ms;
        }
    }
    EXPECT_GT(stoppedAt, 600000 + 38000);
    EXPECT_LT(stoppedAt, 600000 + 43000);
}

TEST(RetrySchedule, DoublesFromOneSecondWithJitterUpToHalf) {
    const struct {
        std::uint32_t attempt;
        double jitter;
        long long ms;
    } cases[] = {
        {1, 0.0, 1000},  {1, 0.8, 1400}, {1, 1.0, 1500}, {2, 0.0, 2000},
        {2, 1.0, 3000},  {3, 0.5, 5000}, {4, 0.0, 8000}, {10, 0.0, 512000},
        {1, -3.0, 1000}, {1, 7.0, 1500}, // out-of-range jitter is held to 0..1
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RetryDelay(c.attempt, c.jitter).count(), c.ms)
            << "attempt " << c.attempt << " jitter " << c.jitter;
    }
    EXPECT_GT(RetryDelay(4000000000u, 1.0).count(), 0); // no overflow however far it goes
}

TEST(RetrySchedule, RetriesWithinTheirNumberAndTheRunsTime) {
    const struct {
        std::uint32_t attempt;
        std::uint32_t retries;
        std::optional<std::chrono::milliseconds> remaining;
        std::optional<long long> ms;
    } cases[] = {
        {1, 3, std::nullopt, 1000},
        {3, 3, std::nullopt, 4000},
        {4, 3, std::nullopt, std::nullopt},
        {1, 0, std::nullopt, std::nullopt},
        {1, 3, 1001ms, 1000},
        {1, 3, 1000ms, std::nullopt}, // the wait would end with the run's time
        {2, 3, 1500ms, std::nullopt},
        {1, 3, 0ms, std::nullopt},
    };
    for (const auto& c : cases) {
        const auto delay = PlanRetry(c.attempt, c.retries, 0.0, c.remaining);
        ASSERT_EQ(delay.has_value(), c.ms.has_value()) << "attempt " << c.attempt;
        if (delay) {
            EXPECT_EQ(delay->count(), *c.ms);
        }
    }
}

TEST(RetrySchedule, SaysWhichRetryAndHowLongToTenthsOfASecond) {
    EXPECT_EQ(RetryNotice(1, 3, 1400ms).line, "Network failure; retry 1 of 3 in 1.4 s");
    EXPECT_EQ(RetryNotice(2, 3, 2000ms).line, "Network failure; retry 2 of 3 in 2.0 s");
    EXPECT_EQ(RetryNotice(3, 10, 5949ms).line, "Network failure; retry 3 of 10 in 5.9 s");
    EXPECT_EQ(RetryNotice(3, 10, 5950ms).line, "Network failure; retry 3 of 10 in 6.0 s");
}

TEST(WaitUnlessCancelled, EndsEarlyWhenTheFlagIsSet) {
    hovrel::common::CancelFlag flag;
    EXPECT_TRUE(WaitUnlessCancelled(20ms, flag));
    flag.Set();
    const Clock::time_point start = Clock::now();
    EXPECT_FALSE(WaitUnlessCancelled(60s, flag));
    EXPECT_LT(Clock::now() - start, 5s);
}

} // namespace
