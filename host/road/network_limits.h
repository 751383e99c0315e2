#pragma once

// The arithmetic of the network's limits: how long a fetch may take, when a
// download is too slow to go on with, and when and how often a network
// failure is tried again. No platform calls, so all of it is tested
// natively; the Windows steps only feed it the clock and the byte counts.

#include "cancel_flag.h"
#include "road.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

namespace hovrel::road {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Which option set the deadline a fetch had to meet.
enum class LimitSource { FetchTimeout, RunTimeout };

struct FetchLimit {
    Clock::time_point deadline;
    LimitSource source = LimitSource::FetchTimeout;
};

// A fetch has --fetch-timeout of its own, cut short by the run's --timeout
// deadline when that comes first.
FetchLimit FetchLimitAt(Clock::time_point now, std::chrono::seconds fetchTimeout,
                        std::optional<Clock::time_point> runDeadline);

// "3 s (--timeout)": the limit that passed, for the failure's line.
std::string DescribeLimit(LimitSource source, std::uint32_t seconds);

// Tells when a download's average rate stayed below a floor over a whole
// window. Fed the time since the download started and the bytes received by
// then, in order; a floor of 0 never stops anything.
class RateFloor {
  public:
    RateFloor(std::uint32_t bytesPerSecond, milliseconds window);

    // True once the bytes received over the last window are fewer than the
    // floor asks for.
    bool TooSlow(milliseconds elapsed, std::uint64_t received);

  private:
    struct Sample {
        milliseconds elapsed;
        std::uint64_t received;
    };

    std::uint32_t floor_;
    milliseconds window_;
    milliseconds spacing_; // samples closer than this are not kept
    std::deque<Sample> samples_;
};

// The wait before retry `attempt` (from 1): 1 s doubled each time, plus
// `jitter` (0 to 1) times half of that.
milliseconds RetryDelay(std::uint32_t attempt, double jitter);

// The wait before retry `attempt` of `retries`, or none when no retry is
// left or its wait would not end before the run's time is up (`remaining`,
// none without --timeout).
std::optional<milliseconds> PlanRetry(std::uint32_t attempt, std::uint32_t retries, double jitter,
                                      std::optional<milliseconds> remaining);

// "Network failure; retry 1 of 3 in 1.4 s", and the window's "warning.retry".
Notice RetryNotice(std::uint32_t attempt, std::uint32_t retries, milliseconds delay);

// Sleeps `delay` unless the flag is set first; false when it was.
bool WaitUnlessCancelled(milliseconds delay, const common::CancelFlag& cancel);

} // namespace hovrel::road
