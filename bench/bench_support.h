#pragma once

#include <windows.h>

#include <bcrypt.h>

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

inline std::string HexOf(const unsigned char* bytes, std::size_t size) {
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (std::size_t i = 0; i < size; ++i) {
        hex.push_back(kDigits[bytes[i] >> 4]);
        hex.push_back(kDigits[bytes[i] & 15]);
    }
    return hex;
}

// A running SHA-256 straight over CNG, with nothing of the library in it.
class BareSha256 {
  public:
    BareSha256() {
        BCryptOpenAlgorithmProvider(&algorithm_, BCRYPT_SHA256_ALGORITHM, nullptr, 0);
        BCryptCreateHash(algorithm_, &hash_, nullptr, 0, nullptr, 0, 0);
    }
    ~BareSha256() {
        BCryptDestroyHash(hash_);
        BCryptCloseAlgorithmProvider(algorithm_, 0);
    }
    BareSha256(const BareSha256&) = delete;
    BareSha256& operator=(const BareSha256&) = delete;
    void Update(const void* data, unsigned long size) {
        BCryptHashData(hash_, static_cast<PUCHAR>(const_cast<void*>(data)), size, 0);
    }
    std::string FinishHex() {
        unsigned char digest[32] = {};
        BCryptFinishHash(hash_, digest, sizeof(digest), 0);
        return HexOf(digest, sizeof(digest));
    }

  private:
    BCRYPT_ALG_HANDLE algorithm_ = nullptr;
    BCRYPT_HASH_HANDLE hash_ = nullptr;
};

} // namespace hovrel::bench
