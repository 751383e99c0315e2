#include "progress.h"

#include <cstdio>

namespace hovrel::road {

std::string FormatBytes(std::uint64_t bytes) {
    static const char* const units[] = {"KiB", "MiB", "GiB", "TiB"};
    if (bytes < 1024) {
        return std::to_string(bytes) + " B";
    }
    double value = static_cast<double>(bytes) / 1024.0;
    std::size_t unit = 0;
    while (value >= 1024.0 && unit + 1 < sizeof units / sizeof units[0]) {
        value /= 1024.0;
        ++unit;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.1f %s", value, units[unit]);
    return text;
}

std::string FormatDuration(std::uint64_t seconds) {
    char text[32];
    const std::uint64_t hours = seconds / 3600;
    const unsigned minutes = static_cast<unsigned>(seconds / 60 % 60);
    const unsigned rest = static_cast<unsigned>(seconds % 60);
    if (hours > 0) {
        std::snprintf(text, sizeof text, "%llu:%02u:%02u", static_cast<unsigned long long>(hours),
                      minutes, rest);
    } else {
        std::snprintf(text, sizeof text, "%u:%02u", minutes, rest);
    }
    return text;
}

std::string FormatProgressLine(std::uint64_t received, std::uint64_t total, std::uint64_t elapsedMs,
                               const char* separator) {
    std::string line = FormatBytes(received);
    if (total > 0) {
        const double fraction = static_cast<double>(received) / static_cast<double>(total);
        line += " of " + FormatBytes(total) + separator +
                std::to_string(static_cast<unsigned>(fraction * 100.0)) + "%";
    }
    if (elapsedMs == 0) {
        return line;
    }
    const double bytesPerSecond =
        static_cast<double>(received) * 1000.0 / static_cast<double>(elapsedMs);
    line += separator + FormatBytes(static_cast<std::uint64_t>(bytesPerSecond)) + "/s";
    if (total > received && bytesPerSecond >= 1.0) {
        const double secondsLeft = static_cast<double>(total - received) / bytesPerSecond;
        line += separator + FormatDuration(static_cast<std::uint64_t>(secondsLeft + 0.5)) + " left";
    }
    return line;
}

bool RedrawThrottle::ShouldDraw(std::uint64_t nowMs) {
    if (drawn_ && nowMs - lastMs_ < intervalMs_) {
        return false;
    }
    drawn_ = true;
    lastMs_ = nowMs;
    return true;
}

} // namespace hovrel::road
