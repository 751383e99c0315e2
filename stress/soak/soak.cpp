// 1,000 verified downloads in a row, then 8 threads downloading at once for a
// while, sampling this process's handles and memory as it goes.
#include "hovrel.h"
#include "support/test_http_server.h"
#include "support/test_support.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace hovrel::test;

constexpr int kSequential = 1000;
constexpr int kThreads = 8;
constexpr std::uint64_t kBodySize = 256 << 10;

struct Soak {
    std::wstring url;
    std::string digest;
    std::atomic<long> done{0};
    std::atomic<long> wrong{0};

    // Right only as HV_Ok with a file whose SHA-256 is the expected one.
    void Download(const std::wstring& path) {
        const HV_Result result = HV_DownloadVerify(url.c_str(), path.c_str(), digest.c_str(),
                                                   kBodySize, nullptr, nullptr, nullptr);
        if (result != HV_Ok || !FileExists(path) || Sha256Hex(ReadWholeFile(path)) != digest) {
            if (wrong++ < 10) {
                std::printf("wrong result: %s\n", HV_ResultText(result));
            }
        }
        ++done;
    }
};

struct Sample {
    double seconds;
    long downloads;
    unsigned long handles;
    double workingMiB;
    double privateMiB;
};

class Sampler {
  public:
    Sample Take(const Soak& soak, const char* phase) {
        // PagefileUsage is the private commit; Wine reports PrivateUsage as 0.
        PROCESS_MEMORY_COUNTERS memory = {};
        GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));
        const Sample sample{
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count(),
            soak.done.load(), OpenHandleCount(), memory.WorkingSetSize / 1048576.0,
            memory.PagefileUsage / 1048576.0};
        std::printf("%8.1f %10ld %8lu %12.1f %12.1f  %s\n", sample.seconds, sample.downloads,
                    sample.handles, sample.workingMiB, sample.privateMiB, phase);
        std::fflush(stdout);
        peakWorkingMiB_ = std::max(peakWorkingMiB_, sample.workingMiB);
        return sample;
    }
    double peakWorkingMiB() const { return peakWorkingMiB_; }

  private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    double peakWorkingMiB_ = 0;
};

void Concurrently(Soak& soak, const TempFolder& folder, const std::atomic<bool>& stop,
                  int eachAtLeast) {
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&soak, &folder, &stop, eachAtLeast, t] {
            const std::wstring path = folder.Path(L"thread" + std::to_wstring(t) + L".bin");
            for (int i = 0; i < eachAtLeast || !stop; ++i) {
                soak.Download(path);
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
}

} // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 180;
    const int interval = std::max(5, seconds / 12);
    std::printf("soak of HV_DownloadVerify: %d sequential downloads of %llu KiB, then %d threads "
                "for %d s\n",
                kSequential, static_cast<unsigned long long>(kBodySize >> 10), kThreads, seconds);
    std::printf("reproduce: bash scripts/soak.sh %d\n\n", seconds);

    TempFolder folder;
    const std::string body = PatternBytes(kBodySize, 11);
    Soak soak;
    soak.digest = Sha256Hex(body);
    Sampler sampler;
    std::printf("%8s %10s %8s %12s %12s  %s\n", "seconds", "downloads", "handles", "working MiB",
                "private MiB", "phase");

    // Warm-up at both levels of concurrency settles the platform's one-time
    // allocations; the first and last samples are taken with no server.
    {
        TestHttpServer server(false);
        server.Serve("/soak", {OkResponse(body)});
        soak.url = server.Url("/soak");
        const std::atomic<bool> stop{true};
        Concurrently(soak, folder, stop, 3);
    }
    const Sample first = sampler.Take(soak, "after warm-up, server stopped");
    {
        TestHttpServer server(false);
        server.Serve("/soak", {OkResponse(body)});
        soak.url = server.Url("/soak");
        const std::wstring path = folder.Path(L"sequential.bin");
        for (int i = 1; i <= kSequential; ++i) {
            soak.Download(path);
            if (i % 100 == 0) {
                sampler.Take(soak, "sequential");
            }
        }
        std::atomic<bool> stop{false};
        std::thread workers([&] { Concurrently(soak, folder, stop, 1); });
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (std::chrono::steady_clock::now() < end) {
            std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(
                std::chrono::seconds(interval), end - std::chrono::steady_clock::now()));
            sampler.Take(soak, "8 threads");
        }
        stop = true;
        workers.join();
        sampler.Take(soak, "threads joined, server up");
    }
    const Sample last = sampler.Take(soak, "end, server stopped");

    const long handleDrift = static_cast<long>(last.handles) - static_cast<long>(first.handles);
    const double elapsed = last.seconds - first.seconds;
    std::printf("\n%ld downloads in %.0f s (%.1f a second), %ld wrong\n",
                last.downloads - first.downloads, elapsed,
                (last.downloads - first.downloads) / elapsed, soak.wrong.load());
    std::printf("handles: %lu after warm-up, %lu at the end, drift %ld\n", first.handles,
                last.handles, handleDrift);
    std::printf("working set: %.1f MiB after warm-up, %.1f MiB at the end (growth %+.1f), peak "
                "%.1f\n",
                first.workingMiB, last.workingMiB, last.workingMiB - first.workingMiB,
                sampler.peakWorkingMiB());
    std::printf("private: %.1f MiB after warm-up, %.1f MiB at the end (growth %+.1f)\n",
                first.privateMiB, last.privateMiB, last.privateMiB - first.privateMiB);
    const bool passed = soak.wrong == 0 && handleDrift == 0;
    std::printf("soak: %s\n", passed ? "PASSED" : "FAILED");
    return passed ? 0 : 1;
}
