#include "progress.h"

#include <gtest/gtest.h>

namespace {

using namespace hovrel::road;

TEST(Progress, BytesUseBinaryUnitsWithOneDecimal) {
    const struct {
        std::uint64_t bytes;
        const char* text;
    } cases[] = {
        {0, "0 B"},
        {1023, "1023 B"},
        {1024, "1.0 KiB"},
        {1536, "1.5 KiB"},
        {1048575, "1024.0 KiB"},
        {1048576, "1.0 MiB"},
        {5ull << 30, "5.0 GiB"},
        {1ull << 50, "1024.0 TiB"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatBytes(c.bytes), c.text);
    }
}

TEST(Progress, DurationsShowMinutesAndHoursWhenNeeded) {
    const struct {
        std::uint64_t seconds;
        const char* text;
    } cases[] = {
        {0, "0:00"},     {59, "0:59"},      {60, "1:00"},
        {3599, "59:59"}, {3600, "1:00:00"}, {3723, "1:02:03"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatDuration(c.seconds), c.text);
    }
}

TEST(Progress, LineShowsWhatIsKnown) {
    const struct {
        std::uint64_t received;
        std::uint64_t total;
        std::uint64_t elapsedMs;
        const char* line;
    } cases[] = {
        {0, 0, 0, "0 B"},
        {512, 0, 1000, "512 B  512 B/s"},
        {10, 1000, 0, "10 B of 1000 B  1%"},
        {0, 1000, 500, "0 B of 1000 B  0%  0 B/s"},
        {1048576, 4194304, 1000, "1.0 MiB of 4.0 MiB  25%  1.0 MiB/s  0:03 left"},
        {4194304, 4194304, 2000, "4.0 MiB of 4.0 MiB  100%  2.0 MiB/s"},
        {999, 1000, 1000, "999 B of 1000 B  99%  999 B/s  0:00 left"},
        {1ull << 20, 1ull << 40, 1000, "1.0 MiB of 1.0 TiB  0%  1.0 MiB/s  291:16:15 left"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatProgressLine(c.received, c.total, c.elapsedMs), c.line);
    }
}

// German words and a decimal comma, as the window's locale formatter gives.
class CommaNumbers : public hovrel::language::NumberFormat {
  public:
    std::string Decimal(double value, int decimals) const override {
        std::string text = NumberFormat::Decimal(value, decimals);
        for (char& c : text) {
            c = c == '.' ? ',' : c;
        }
        return text;
    }
};

TEST(Progress, TheWindowsLineSpeaksItsLanguage) {
    const CommaNumbers comma;
    const hovrel::language::Translation german(*hovrel::language::Tables()[1], comma);
    ASSERT_STREQ(german.table().tag, "de");
    const auto& english = hovrel::language::EnglishTranslation();
    const struct {
        std::uint64_t received, total, elapsedMs;
        const hovrel::language::Translation& texts;
        const char* line;
    } cases[] = {
        {1677722, 3355443, 1000, german, "1,6 MiB von 3,2 MiB, 50 %, 1,6 MiB/s, noch 0:01"},
        {4194304, 4194304, 2000, german, "4,0 MiB von 4,0 MiB, 100 %, 2,0 MiB/s"},
        {10, 1000, 0, german, "10 B von 1000 B, 1 %"},
        {512, 0, 1000, german, "512 B, 512 B/s"},
        {1536, 0, 0, german, "1,5 KiB"},
        {1048576, 4194304, 1000, english, "1.0 MiB of 4.0 MiB, 25%, 1.0 MiB/s, 0:03 left"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatProgressLine(c.texts, c.received, c.total, c.elapsedMs), c.line);
    }
}

TEST(Progress, ThrottleDrawsFirstThenOncePerInterval) {
    RedrawThrottle throttle(250);
    const struct {
        std::uint64_t nowMs;
        bool draw;
    } steps[] = {
        {1000, true}, {1100, false}, {1249, false}, {1250, true}, {1400, false}, {1700, true},
    };
    for (const auto& step : steps) {
        EXPECT_EQ(throttle.ShouldDraw(step.nowMs), step.draw) << step.nowMs;
    }
}

} // namespace
