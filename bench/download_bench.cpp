// HV_DownloadVerify against the platform's ceiling: a bare WinHTTP
// read-and-write loop without hashing, plus a bare CNG pass over the same
// bytes in the same chunk sizes. Runs are interleaved. The memory mode runs
// one download in a fresh process and reports its peak working set.
#include <windows.h>

#include <psapi.h>
#include <winhttp.h>

#include <cstdlib>
#include <map>

#include "bench_support.h"
#include "hovrel.h"

using namespace hovrel::bench;

namespace {

struct BareTransfer {
    bool ok = false;
    unsigned long long bytes = 0;
    std::map<DWORD, unsigned long long> chunkSizes; // size -> count
};

BareTransfer BareDownload(const std::wstring& url, const std::wstring& destination) {
    BareTransfer transfer;
    wchar_t host[256] = {};
    wchar_t path[2048] = {};
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof(parts);
    parts.lpszHostName = host;
    parts.dwHostNameLength = 255;
    parts.lpszUrlPath = path;
    parts.dwUrlPathLength = 2047;
    if (!WinHttpCrackUrl(url.c_str(), 0, 0, &parts)) {
        return transfer;
    }
    HINTERNET session = WinHttpOpen(L"bench", WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY,
                                    WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0);
    HINTERNET connection = WinHttpConnect(session, host, parts.nPort, 0);
    HINTERNET request = WinHttpOpenRequest(connection, L"GET", path, nullptr, WINHTTP_NO_REFERER,
                                           WINHTTP_DEFAULT_ACCEPT_TYPES, 0);
    HANDLE file = CreateFileW(destination.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (request != nullptr && file != INVALID_HANDLE_VALUE &&
        WinHttpSendRequest(request, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0,
                           0) &&
        WinHttpReceiveResponse(request, nullptr)) {
        std::vector<unsigned char> buffer(1 << 20);
        DWORD available = 0;
        while (WinHttpQueryDataAvailable(request, &available) && available != 0) {
            if (available > buffer.size()) {
                buffer.resize(available);
            }
            DWORD bytesRead = 0;
            DWORD written = 0;
            if (!WinHttpReadData(request, buffer.data(), available, &bytesRead) ||
                !WriteFile(file, buffer.data(), bytesRead, &written, nullptr)) {
                break;
            }
            ++transfer.chunkSizes[bytesRead];
            transfer.bytes += bytesRead;
        }
        transfer.ok = true;
    }
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
    }
    WinHttpCloseHandle(request);
    WinHttpCloseHandle(connection);
    WinHttpCloseHandle(session);
    return transfer;
}

struct Timings {
    std::vector<double> wall, cpu;
    void Add(const Stopwatch& watch) {
        wall.push_back(watch.Wall());
        cpu.push_back(watch.Cpu());
    }
};

// The same bytes through CNG in the chunk sizes WinHTTP handed over.
void TimeBareHash(const std::wstring& path, const BareTransfer& transfer, Timings& timings) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    std::vector<unsigned char> bytes(transfer.bytes);
    DWORD bytesRead = 0;
    for (unsigned long long offset = 0; offset < bytes.size(); offset += bytesRead) {
        const auto want =
            static_cast<DWORD>(std::min<unsigned long long>(bytes.size() - offset, 1u << 30));
        if (!ReadFile(file, bytes.data() + offset, want, &bytesRead, nullptr) || bytesRead == 0) {
            break;
        }
    }
    CloseHandle(file);
    const DWORD chunk = transfer.chunkSizes.rbegin()->first;
    const Stopwatch watch;
    BareSha256 hash;
    for (unsigned long long offset = 0; offset < bytes.size(); offset += chunk) {
        hash.Update(bytes.data() + offset,
                    static_cast<DWORD>(std::min<unsigned long long>(chunk, bytes.size() - offset)));
    }
    hash.FinishHex();
    timings.Add(watch);
}

struct ProgressLog {
    unsigned long long calls = 0;
    double lastCall = 0;
};

// What a fresh zero-filled buffer per chunk costs, for the chunks of one
// transfer, apart from everything else.
double FreshBufferSeconds(const BareTransfer& transfer) {
    volatile unsigned char sink = 0;
    const Stopwatch watch;
    for (const auto& [chunk, count] : transfer.chunkSizes) {
        for (unsigned long long i = 0; i < count; ++i) {
            std::vector<unsigned char> buffer(chunk);
            sink = sink + buffer[i % chunk];
        }
    }
    return watch.Wall();
}

void HV_CALL LogProgress(uint64_t, uint64_t, void* userData) {
    auto& log = *static_cast<ProgressLog*>(userData);
    ++log.calls;
    log.lastCall = NowSeconds();
}

int Speed(const std::wstring& url, const std::wstring& destination, const char* sha256,
          unsigned long long size, int runs) {
    Timings library, transfer, hashing;
    BareTransfer lastTransfer;
    ProgressLog progress;
    // From the last chunk's progress call to the return: the flush to disk,
    // the close and the digest check, which the bare loop does not do.
    std::vector<double> tails;
    for (int run = 0; run < runs; ++run) {
        progress = ProgressLog{};
        const Stopwatch libraryWatch;
        const HV_Result result = HV_DownloadVerify(url.c_str(), destination.c_str(), sha256, size,
                                                   LogProgress, &progress, nullptr);
        library.Add(libraryWatch);
        tails.push_back(NowSeconds() - progress.lastCall);
        if (result != HV_Ok) {
            std::fprintf(stderr, "HV_DownloadVerify: %s\n", HV_ResultText(result));
            return 1;
        }
        DeleteFileW(destination.c_str());

        const Stopwatch transferWatch;
        lastTransfer = BareDownload(url, destination);
        transfer.Add(transferWatch);
        if (!lastTransfer.ok || lastTransfer.bytes != size) {
            std::fprintf(stderr, "bare transfer failed after %llu bytes\n", lastTransfer.bytes);
            return 1;
        }
        TimeBareHash(destination, lastTransfer, hashing);
        DeleteFileW(destination.c_str());
    }
    const double ceiling = Median(transfer.wall) + Median(hashing.wall);
    const double cpuCeiling = Median(transfer.cpu) + Median(hashing.cpu);
    std::printf("| %-40s | %8s | %8s | %10s | %8s | %10s |\n", "contender", "median s", "MB/s",
                "vs ceiling", "CPU s", "CPU ratio");
    std::printf("|------------------------------------------|----------|----------|------------|"
                "----------|------------|\n");
    const auto row = [&](const char* name, double wall, double cpu, bool ratio) {
        std::printf("| %-40s | %8.3f | %8.1f | ", name, wall, MegabytesPerSecond(size, wall));
        if (ratio) {
            std::printf("%10.3f | %8.3f | %10.3f |\n", ceiling / wall, cpu, cpuCeiling / cpu);
        } else {
            std::printf("%10s | %8.3f | %10s |\n", "", cpu, "");
        }
    };
    row("HV_DownloadVerify", Median(library.wall), Median(library.cpu), true);
    row("bare WinHTTP read+write loop (no hash)", Median(transfer.wall), Median(transfer.cpu),
        false);
    row("bare CNG hash of the same bytes", Median(hashing.wall), Median(hashing.cpu), false);
    row("ceiling: bare loop + bare hash", ceiling, cpuCeiling, true);
    // Each run's library time against the ceiling measured right after it,
    // which is steadier than medians when the machine's load drifts.
    std::vector<double> pairedRatios;
    for (int run = 0; run < runs; ++run) {
        pairedRatios.push_back((transfer.wall[run] + hashing.wall[run]) / library.wall[run]);
    }
    std::printf("median of the per-run ratios to the ceiling: %.3f\n", Median(pairedRatios));
    std::printf("%d runs each, %llu bytes; %llu progress calls per download\n", runs, size,
                progress.calls);
    std::printf("after the last chunk (flush, close, digest check): median %.3f s\n",
                Median(tails));
    std::printf("a fresh zero-filled buffer for each of those chunks: %.3f s in all\n",
                FreshBufferSeconds(lastTransfer));
    std::printf("chunk sizes WinHTTP handed over (bytes x count):");
    for (const auto& [chunk, count] : lastTransfer.chunkSizes) {
        std::printf(" %lu x %llu", chunk, count);
    }
    std::printf("\nlibrary_seconds=%.6f\n", Median(library.wall));
    return 0;
}

unsigned long long PeakWorkingSet(unsigned long long* current) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    *current = counters.WorkingSetSize;
    return counters.PeakWorkingSetSize;
}

// A small download first, so that WinHTTP's and CNG's one-time set-up is in
// the baseline and the growth is what the file's size costs.
int Memory(const std::wstring& warmUpUrl, const char* warmUpSha256, const std::wstring& url,
           const std::wstring& destination, const char* sha256, unsigned long long size) {
    if (HV_DownloadVerify(warmUpUrl.c_str(), destination.c_str(), warmUpSha256, 0, nullptr, nullptr,
                          nullptr) != HV_Ok) {
        std::fprintf(stderr, "warm-up download failed\n");
        return 1;
    }
    DeleteFileW(destination.c_str());
    unsigned long long baseline = 0;
    const unsigned long long peakBefore = PeakWorkingSet(&baseline);
    const HV_Result result = HV_DownloadVerify(url.c_str(), destination.c_str(), sha256, size,
                                               nullptr, nullptr, nullptr);
    DeleteFileW(destination.c_str());
    if (result != HV_Ok) {
        std::fprintf(stderr, "HV_DownloadVerify: %s\n", HV_ResultText(result));
        return 1;
    }
    unsigned long long current = 0;
    const unsigned long long peakAfter = PeakWorkingSet(&current);
    std::printf("| %12llu | %12.2f | %12.2f | %12.2f | %12.3f | %12.3f |\n", size,
                baseline / 1048576.0, peakBefore / 1048576.0, peakAfter / 1048576.0,
                (peakAfter - baseline) / 1048576.0, (peakAfter - peakBefore) / 1048576.0);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "speed" && argc == 7) {
        return Speed(Widen(argv[2]), Widen(argv[3]), argv[4], std::strtoull(argv[5], nullptr, 10),
                     std::atoi(argv[6]));
    }
    if (mode == "memory" && argc == 8) {
        return Memory(Widen(argv[2]), argv[3], Widen(argv[4]), Widen(argv[5]), argv[6],
                      std::strtoull(argv[7], nullptr, 10));
    }
    std::fprintf(stderr, "usage: download_bench speed URL DEST SHA256 SIZE RUNS\n"
                         "       download_bench memory WARMUP_URL WARMUP_SHA256 URL DEST SHA256 "
                         "SIZE\n");
    return 1;
}
