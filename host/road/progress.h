#pragma once

#include "translation.h"

#include <cstdint>
#include <string>

namespace hovrel::road {

// "3.2 MiB of 10.0 MiB  32%  1.5 MiB/s  0:05 left". total 0 means unknown:
// then only the bytes and the rate. The rate needs elapsedMs > 0.
std::string FormatProgressLine(std::uint64_t received, std::uint64_t total,
                               std::uint64_t elapsedMs);
// The same line in the window's language: "1,6 MiB von 3,2 MiB, 50 %, ...".
std::string FormatProgressLine(const language::Translation& texts, std::uint64_t received,
                               std::uint64_t total, std::uint64_t elapsedMs);

// "512 B", "1.5 KiB", "3.2 MiB", "1.0 GiB"; the second in the window's language.
std::string FormatBytes(std::uint64_t bytes);
std::string FormatBytes(const language::Translation& texts, std::uint64_t bytes);

// "0:07", "12:34", "1:02:03".
std::string FormatDuration(std::uint64_t seconds);

// Limits redraws of the progress line to one per interval; the first one is
// always drawn.
class RedrawThrottle {
  public:
    explicit RedrawThrottle(std::uint64_t intervalMs) : intervalMs_(intervalMs) {}
    bool ShouldDraw(std::uint64_t nowMs);

  private:
    std::uint64_t intervalMs_;
    std::uint64_t lastMs_ = 0;
    bool drawn_ = false;
};

} // namespace hovrel::road
