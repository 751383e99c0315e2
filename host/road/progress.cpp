#include "progress.h"

#include <cstdio>

namespace hovrel::road {

namespace {

// The bytes in the largest unit that keeps the value at 1024 or below
// (unit -1: bytes).
struct Scaled {
    double value;
    int unit;
};

Scaled Scale(std::uint64_t bytes) {
    constexpr int kUnits = 4; // KiB, MiB, GiB, TiB
    if (bytes < 1024) {
        return {static_cast<double>(bytes), -1};
    }
    Scaled scaled{static_cast<double>(bytes) / 1024.0, 0};
    while (scaled.value >= 1024.0 && scaled.unit + 1 < kUnits) {
        scaled.value /= 1024.0;
        ++scaled.unit;
    }
    return scaled;
}

// What the progress line says, whatever its language.
struct Figures {
    unsigned percent = 0;      // with a total
    bool haveRate = false;     // needs elapsedMs > 0
    std::uint64_t rate = 0;    // bytes a second
    bool haveTimeLeft = false; // with a total and a rate
    std::uint64_t secondsLeft = 0;
};

Figures FiguresOf(std::uint64_t received, std::uint64_t total, std::uint64_t elapsedMs) {
    Figures figures;
    if (total > 0) {
        const double fraction = static_cast<double>(received) / static_cast<double>(total);
        figures.percent = static_cast<unsigned>(fraction * 100.0);
    }
    if (elapsedMs == 0) {
        return figures;
    }
    const double bytesPerSecond =
        static_cast<double>(received) * 1000.0 / static_cast<double>(elapsedMs);
    figures.haveRate = true;
    figures.rate = static_cast<std::uint64_t>(bytesPerSecond);
    if (total > received && bytesPerSecond >= 1.0) {
        const double secondsLeft = static_cast<double>(total - received) / bytesPerSecond;
        figures.haveTimeLeft = true;
        figures.secondsLeft = static_cast<std::uint64_t>(secondsLeft + 0.5);
    }
    return figures;
}

} // namespace

std::string FormatBytes(std::uint64_t bytes) {
    static const char* const units[] = {"KiB", "MiB", "GiB", "TiB"};
    const Scaled scaled = Scale(bytes);
    if (scaled.unit < 0) {
        return std::to_string(bytes) + " B";
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.1f %s", scaled.value, units[scaled.unit]);
    return text;
}

std::string FormatBytes(const language::Translation& texts, std::uint64_t bytes) {
    static const char* const units[] = {"size.kib", "size.mib", "size.gib", "size.tib"};
    const Scaled scaled = Scale(bytes);
    if (scaled.unit < 0) {
        return texts.Say("size.bytes", {texts.Decimal(scaled.value, 0)});
    }
    return texts.Say(units[scaled.unit], {texts.Decimal(scaled.value, 1)});
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

std::string FormatProgressLine(std::uint64_t received, std::uint64_t total,
                               std::uint64_t elapsedMs) {
    const Figures figures = FiguresOf(received, total, elapsedMs);
    std::string line = FormatBytes(received);
    if (total > 0) {
        line += " of " + FormatBytes(total) + "  " + std::to_string(figures.percent) + "%";
    }
    if (figures.haveRate) {
        line += "  " + FormatBytes(figures.rate) + "/s";
    }
    if (figures.haveTimeLeft) {
        line += "  " + FormatDuration(figures.secondsLeft) + " left";
    }
    return line;
}

std::string FormatProgressLine(const language::Translation& texts, std::uint64_t received,
                               std::uint64_t total, std::uint64_t elapsedMs) {
    const Figures figures = FiguresOf(received, total, elapsedMs);
    const std::string got = FormatBytes(texts, received);
    const std::string rate =
        figures.haveRate ? texts.Say("rate", {FormatBytes(texts, figures.rate)}) : "";
    if (total == 0) {
        return figures.haveRate ? texts.Say("progress.rate", {got, rate}) : got;
    }
    const std::vector<std::string> arguments = {
        got, FormatBytes(texts, total), texts.Say("percent", {texts.Decimal(figures.percent, 0)}),
        rate, FormatDuration(figures.secondsLeft)};
    return texts.Say(figures.haveTimeLeft ? "progress.total.rate.left"
                     : figures.haveRate   ? "progress.total.rate"
                                          : "progress.total",
                     arguments);
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
