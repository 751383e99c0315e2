#pragma once

// The network's side of one run on Windows: fetches of the manifest and its
// signature that the run abandons at their deadline or on the user's cancel
// (the library's fetch takes no cancel flag, so it runs on a thread of its
// own that is left behind), and the retries after a network failure.

#include "cancel_flag.h"
#include "hovrel.h"
#include "network_limits.h"
#include "options.h"
#include "road.h"

#include <cstdint>
#include <optional>
#include <random>
#include <string>

namespace hovrel::windows {

enum class Fetched {
    Ok,
    Failed,  // the library's result says why; nothing reported yet
    Stopped, // too slow or cancelled, reported: the run ends with ExitCancelled
};

class NetworkRun {
  public:
    // The run's --timeout counts from here.
    NetworkRun(const road::Options& options, road::RoadObserver& observer,
               const common::CancelFlag& cancel);

    // GET a body of at most the manifest's size; `what` names it in the
    // lines ("manifest", "signature").
    Fetched Fetch(const std::wstring& url, const char* what, std::string& body, HV_Result& result);

    // Time left before --timeout; none without it.
    std::optional<road::milliseconds> Remaining() const;

    // After network failure number `attempt`: tells the observer and waits
    // for the retry. False when no retry is left, or the user cancelled.
    bool RetryAfterFailure(std::uint32_t attempt);

  private:
    const road::Options& options_;
    road::RoadObserver& observer_;
    const common::CancelFlag& cancel_;
    std::optional<road::Clock::time_point> runDeadline_;
    std::mt19937 random_;
};

} // namespace hovrel::windows
