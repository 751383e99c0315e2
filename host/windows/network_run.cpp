#include "network_run.h"

#include "library_limits.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace hovrel::windows {

using namespace hovrel::road;

namespace {

// Shared by the fetching thread and the run, so that a fetch the run has
// given up on still has its buffer when it ends.
struct FetchJob {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    HV_Result result = HV_InternalError;
    std::vector<char> buffer = std::vector<char>(common::kManifestMaxBytes + 1);
    std::int32_t length = 0;
};

enum class Wait { Finished, TimedOut, Cancelled };

Wait AwaitFetch(FetchJob& job, Clock::time_point deadline, const common::CancelFlag& cancel) {
    std::unique_lock<std::mutex> lock(job.mutex);
    while (!job.finished) {
        // Ctrl+C and Cancel only set the flag; look at it often.
        if (cancel.IsSet()) {
            return Wait::Cancelled;
        }
        const Clock::time_point now = Clock::now();
        if (now >= deadline) {
            return Wait::TimedOut;
        }
        job.done.wait_until(lock, std::min(deadline, now + milliseconds(50)));
    }
    return Wait::Finished;
}

} // namespace

NetworkRun::NetworkRun(const Options& options, RoadObserver& observer,
                       const common::CancelFlag& cancel)
    : options_(options), observer_(observer), cancel_(cancel), random_(std::random_device{}()) {
    if (options.timeoutSeconds != 0) {
        runDeadline_ = Clock::now() + std::chrono::seconds(options.timeoutSeconds);
    }
}

std::optional<milliseconds> NetworkRun::Remaining() const {
    if (!runDeadline_) {
        return std::nullopt;
    }
    const Clock::time_point now = Clock::now();
    return *runDeadline_ > now ? std::chrono::duration_cast<milliseconds>(*runDeadline_ - now)
                               : milliseconds(0);
}

bool NetworkRun::RetryAfterFailure(std::uint32_t attempt) {
    const double jitter = std::uniform_real_distribution<double>(0.0, 1.0)(random_);
    const std::optional<milliseconds> delay =
        PlanRetry(attempt, options_.retries, jitter, Remaining());
    if (!delay || cancel_.IsSet()) {
        return false;
    }
    observer_.Warned(RetryNotice(attempt, options_.retries, *delay));
    return WaitUnlessCancelled(*delay, cancel_);
}

Fetched NetworkRun::Fetch(const std::wstring& url, const char* what, std::string& body,
                          HV_Result& result) {
    for (std::uint32_t attempt = 1;; ++attempt) {
        const FetchLimit limit = FetchLimitAt(
            Clock::now(), std::chrono::seconds(options_.fetchTimeoutSeconds), runDeadline_);
        const auto job = std::make_shared<FetchJob>();
        std::thread worker;
        try {
            worker = std::thread([job, url] {
                std::int32_t length = 0;
                const HV_Result fetched =
                    HV_FetchManifest(url.c_str(), job->buffer.data(),
                                     static_cast<std::int32_t>(job->buffer.size()), &length);
                std::lock_guard<std::mutex> lock(job->mutex);
                job->result = fetched;
                job->length = length;
                job->finished = true;
                job->done.notify_all();
            });
        } catch (const std::system_error&) {
            result = HV_InternalError;
            return Fetched::Failed;
        }
        const Wait wait = AwaitFetch(*job, limit.deadline, cancel_);
        // A finished fetch is joined: a thread still on its way out when the
        // process ends can crash the runtime's exit. Only an abandoned one,
        // blocked in the network, is left behind.
        if (wait == Wait::Finished) {
            worker.join();
        } else {
            worker.detach();
        }
        if (wait == Wait::TimedOut) {
            const std::uint32_t seconds = limit.source == LimitSource::RunTimeout
                                              ? options_.timeoutSeconds
                                              : options_.fetchTimeoutSeconds;
            Report(observer_,
                   Failure(ExitCancelled,
                           std::string("Timed out: the ") + what + " fetch took longer than " +
                               DescribeLimit(limit.source, seconds) + ".",
                           "The server sends too slowly or not at all; try again later, or "
                           "allow more time with --fetch-timeout or --timeout."));
            return Fetched::Stopped;
        }
        if (wait == Wait::Finished) {
            std::lock_guard<std::mutex> lock(job->mutex);
            result = job->result;
            if (result == HV_Ok) {
                body.assign(job->buffer.data(), static_cast<std::size_t>(job->length));
                return Fetched::Ok;
            }
        }
        if (wait == Wait::Finished && result == HV_NetworkFailure && RetryAfterFailure(attempt)) {
            continue;
        }
        if (cancel_.IsSet()) {
            observer_.Stopped(StopPoint::WhileFetching, options_.waitPid);
            return Fetched::Stopped;
        }
        return Fetched::Failed;
    }
}

} // namespace hovrel::windows
