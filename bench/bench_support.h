#pragma once

#include <windows.h>

#include "support/test_support.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace hovrel::bench {

inline double NowSeconds() {
    static const double frequency = [] {
        LARGE_INTEGER value;
        QueryPerformanceFrequency(&value);
        return static_cast<double>(value.QuadPart);
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / frequency;
}

// User and kernel time of this process: what its own code costs, apart from
// the server and the rest of the machine.
inline double CpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto seconds = [](const FILETIME& time) {
        return static_cast<double>((static_cast<unsigned long long>(time.dwHighDateTime) << 32) |
                                   time.dwLowDateTime) /
               1e7;
    };
    return seconds(kernel) + seconds(user);
}

// Wall and CPU seconds of one stretch of work.
struct Stopwatch {
    double wallStart = NowSeconds();
    double cpuStart = CpuSeconds();
    double Wall() const { return NowSeconds() - wallStart; }
    double Cpu() const { return CpuSeconds() - cpuStart; }
};

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

inline double MegabytesPerSecond(unsigned long long bytes, double seconds) {
    return static_cast<double>(bytes) / 1e6 / seconds;
}

inline std::wstring Widen(const char* text) {
    std::wstring wide;
    for (; *text != '\0'; ++text) {
        wide.push_back(static_cast<unsigned char>(*text));
    }
    return wide;
}

// The bare CNG hash every figure is measured against.
using BareSha256 = hovrel::test::ReferenceSha256;

} // namespace hovrel::bench
