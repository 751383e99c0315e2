#include "package_download.h"

#include "network_limits.h"
#include "watchdog.h"

namespace hovrel::windows {

using namespace hovrel::road;

namespace {

struct Attempt {
    RoadObserver& observer;
    common::CancelFlag& cancel;
    RateFloor floor;
    Clock::time_point start = Clock::now();
    bool tooSlow = false;
};

// Runs on the downloading thread, between chunks. Nothing may be thrown back
// into the library.
void HV_CALL OnProgress(std::uint64_t received, std::uint64_t total, void* userData) {
    Attempt& attempt = *static_cast<Attempt*>(userData);
    try {
        attempt.observer.DownloadProgress(received, total);
        const auto elapsed = std::chrono::duration_cast<milliseconds>(Clock::now() - attempt.start);
        if (!attempt.tooSlow && attempt.floor.TooSlow(elapsed, received)) {
            attempt.tooSlow = true;
            attempt.cancel.Set();
        }
    } catch (...) {
    }
}

} // namespace

DownloadOutcome DownloadPackage(const Options& options, NetworkRun& network, RoadObserver& observer,
                                common::CancelFlag& cancel, const std::wstring& url,
                                const std::wstring& path, const HV_Manifest& manifest) {
    for (std::uint32_t number = 1;; ++number) {
        const std::optional<milliseconds> remaining = network.Remaining();
        if (remaining && remaining->count() == 0) {
            return {HV_Cancelled, DownloadStop::TimedOut};
        }
        Attempt attempt{
            observer, cancel,
            RateFloor(options.minRate, std::chrono::seconds(options.minRateWindowSeconds))};
        HV_Result result;
        bool timedOut;
        {
            // A zero limit never fires: without --timeout there is none.
            Watchdog watchdog(remaining.value_or(milliseconds(0)), cancel);
            result = HV_DownloadVerify(url.c_str(), path.c_str(), manifest.sha256, manifest.size,
                                       OnProgress, &attempt, cancel.ForLibrary());
            timedOut = watchdog.Fired();
        }
        if (result == HV_Cancelled && attempt.tooSlow) {
            return {result, DownloadStop::TooSlow};
        }
        if (result == HV_Cancelled && timedOut) {
            return {result, DownloadStop::TimedOut};
        }
        if (result == HV_NetworkFailure && network.RetryAfterFailure(number)) {
            continue;
        }
        return {cancel.IsSet() ? HV_Cancelled : result, DownloadStop::None};
    }
}

} // namespace hovrel::windows
