// Downloads one URL with HV_DownloadVerify and prints what the call and its
// progress callback reported, as key=value lines for scripts/large-download.sh.
//
// Usage: large_download URL DESTINATION SHA256 EXPECTED_SIZE
// Exits 0 only when the call returned HV_Ok and received strictly increased.

#include "hovrel.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cwchar>

namespace {

struct ProgressRecord {
    std::uint64_t calls = 0;
    std::uint64_t firstTotal = 0;
    std::uint64_t lastTotal = 0;
    std::uint64_t lastReceived = 0;
    bool increasing = true;
};

void HV_CALL OnProgress(std::uint64_t received, std::uint64_t total, void* user) {
    auto* record = static_cast<ProgressRecord*>(user);
    if (record->calls == 0) {
        record->firstTotal = total;
    } else if (received <= record->lastReceived) {
        record->increasing = false;
    }
    record->lastTotal = total;
    record->lastReceived = received;
    ++record->calls;
}

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: large_download URL DESTINATION SHA256 EXPECTED_SIZE\n");
        return 2;
    }
    char sha256[HV_HEX_DIGEST_SIZE] = {};
    if (WideCharToMultiByte(CP_UTF8, 0, argv[3], -1, sha256, sizeof sha256, nullptr, nullptr) ==
        0) {
        std::fprintf(stderr, "the digest must be 64 hex characters\n");
        return 2;
    }
    wchar_t* end = nullptr;
    const std::uint64_t expectedSize = std::wcstoull(argv[4], &end, 10);
    if (end == argv[4] || *end != L'\0') {
        std::fprintf(stderr, "EXPECTED_SIZE must be a decimal number\n");
        return 2;
    }

    ProgressRecord record;
    volatile std::int32_t cancel = 0;
    LARGE_INTEGER start;
    LARGE_INTEGER stop;
    QueryPerformanceCounter(&start);
    const HV_Result result =
        HV_DownloadVerify(argv[1], argv[2], sha256, expectedSize, &OnProgress, &record, &cancel);
    QueryPerformanceCounter(&stop);

    const double seconds = Seconds(start, stop);
    std::printf("result=%d\n", static_cast<int>(result));
    std::printf("result_text=%s\n", HV_ResultText(result));
    std::printf("progress_calls=%llu\n", static_cast<unsigned long long>(record.calls));
    std::printf("first_total=%llu\n", static_cast<unsigned long long>(record.firstTotal));
    std::printf("last_total=%llu\n", static_cast<unsigned long long>(record.lastTotal));
    std::printf("last_received=%llu\n", static_cast<unsigned long long>(record.lastReceived));
    std::printf("increasing=%s\n", record.increasing ? "yes" : "no");
    std::printf("seconds=%.2f\n", seconds);
    std::printf("mb_per_s=%.1f\n",
                seconds > 0 ? static_cast<double>(record.lastReceived) / 1e6 / seconds : 0.0);
    return result == HV_Ok && record.increasing ? 0 : 1;
}
