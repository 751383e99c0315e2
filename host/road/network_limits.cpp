#include "network_limits.h"

#include <algorithm>
#include <cstdio>
#include <thread>

namespace hovrel::road {

FetchLimit FetchLimitAt(Clock::time_point now, std::chrono::seconds fetchTimeout,
                        std::optional<Clock::time_point> runDeadline) {
    const Clock::time_point own = now + fetchTimeout;
    if (runDeadline && *runDeadline <= own) {
        return {*runDeadline, LimitSource::RunTimeout};
    }
    return {own, LimitSource::FetchTimeout};
}

std::string DescribeLimit(LimitSource source, std::uint32_t seconds) {
    return std::to_string(seconds) +
           (source == LimitSource::RunTimeout ? " s (--timeout)" : " s (--fetch-timeout)");
}

RateFloor::RateFloor(std::uint32_t bytesPerSecond, milliseconds window)
    : floor_(bytesPerSecond), window_(window), spacing_(std::max(window / 60, milliseconds(1))) {
    samples_.push_back({milliseconds(0), 0});
}

bool RateFloor::TooSlow(milliseconds elapsed, std::uint64_t received) {
    if (floor_ == 0) {
        return false;
    }
    if (elapsed - samples_.back().elapsed >= spacing_) {
        samples_.push_back({elapsed, received});
    }
    // Keep the newest sample at least a window old as the window's start.
    while (samples_.size() > 1 && samples_[1].elapsed <= elapsed - window_) {
        samples_.pop_front();
    }
    const Sample& start = samples_.front();
    const milliseconds span = elapsed - start.elapsed;
    if (span < window_) {
        return false;
    }
    // bytes / (span / 1000) < floor, without dividing.
    return (received - start.received) * 1000 <
           static_cast<std::uint64_t>(floor_) * static_cast<std::uint64_t>(span.count());
}

milliseconds RetryDelay(std::uint32_t attempt, double jitter) {
    // Beyond 2^20 s the doubling means nothing any more; it only overflows.
    const std::uint32_t doublings = std::min<std::uint32_t>(attempt == 0 ? 0 : attempt - 1, 20);
    const std::int64_t base = std::int64_t{1000} << doublings;
    const double share = std::clamp(jitter, 0.0, 1.0);
    return milliseconds(base + static_cast<std::int64_t>(static_cast<double>(base) / 2 * share));
}

std::optional<milliseconds> PlanRetry(std::uint32_t attempt, std::uint32_t retries, double jitter,
                                      std::optional<milliseconds> remaining) {
    if (attempt == 0 || attempt > retries) {
        return std::nullopt;
    }
    const milliseconds delay = RetryDelay(attempt, jitter);
    if (remaining && delay >= *remaining) {
        return std::nullopt;
    }
    return delay;
}

Notice RetryNotice(std::uint32_t attempt, std::uint32_t retries, milliseconds delay) {
    const long long tenths = (delay.count() + 50) / 100;
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%lld.%lld", tenths / 10, tenths % 10);
    Notice notice;
    notice.line = "Network failure; retry " + std::to_string(attempt) + " of " +
                  std::to_string(retries) + " in " + seconds + " s";
    notice.key = "warning.retry";
    notice.arguments = {std::to_string(attempt), std::to_string(retries), seconds};
    notice.numberArgument = 2;
    notice.decimals = 1;
    return notice;
}

bool WaitUnlessCancelled(milliseconds delay, const common::CancelFlag& cancel) {
    const Clock::time_point end = Clock::now() + delay;
    while (!cancel.IsSet()) {
        const Clock::time_point now = Clock::now();
        if (now >= end) {
            return true;
        }
        std::this_thread::sleep_for(std::min<Clock::duration>(end - now, milliseconds(50)));
    }
    return false;
}

} // namespace hovrel::road
