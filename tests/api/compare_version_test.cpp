#include "hovrel_export.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

struct VersionCase {
    const char* a;
    const char* b;
    int32_t order;
};

TEST(CompareVersion, OrdersVersionTexts) {
    const VersionCase cases[] = {
        {"1.2", "1.2.0", -1},
        {"1.2", "1.2", 0},
        {"1.2.0", "1.2", 1},
        {"1.0", "1", 1},
        {"1.10", "1.9", 1},
        {"2.0", "10.0", -1},
        {"1.02", "1.2", 0},
        {"1.", "1", 0},
        {"1.", "1.0", -1},
        {"1.2..", "1.2", 1},
        {"1..2", "1.0.2", 0},
        {".5", "0.5", 0},
        {"", "", 0},
        {"", "0", 0},
        {"", "1", -1},
        {"1.2-beta", "1.2", 0},
        {"1.2-beta", "1.2.1", -1},
        {"1.2.3", "1.2-beta.4", 1},
        {"1.2a", "1.2b", 0},
        {"ver1.2", "ver1.3", 0},
        {"1.2.x", "1.2", 0},
        {"1.2.x", "1.2.0", -1},
        {"1 .2", "1", 0},
        // Components are unbounded numbers: no 32-bit wrap-around.
        {"4294967297", "1", 1},
        {"2147483648", "1", 1},
        {"4294967296", "0", 1},
        {"2147483647", "2147483648", -1},
        {"18446744073709551616", "18446744073709551615", 1},
        {"1.123456789012345678901234567890", "1.123456789012345678901234567891", -1},
        {"000000000000000000000000000007", "7", 0},
        {"0000000000000000000000000000010", "9", 1},
        {"1.0.0.0.0.0.0.0.0.0.1", "1.0.0.0.0.0.0.0.0.0.0", 1},
        {"\xff", "", 0},
    };
    const auto compare = HV_EXPORT(HV_CompareVersion);
    for (const auto& c : cases) {
        for (const bool swapped : {false, true}) {
            int32_t order = 0x5eed;
            const char* a = swapped ? c.b : c.a;
            const char* b = swapped ? c.a : c.b;
            ASSERT_EQ(compare(a, b, &order), HV_Ok) << a << " vs " << b;
            EXPECT_EQ(order, swapped ? -c.order : c.order) << '"' << a << "\" vs \"" << b << '"';
        }
    }
}

TEST(CompareVersion, NullArgumentLeavesOrderUntouched) {
    const auto compare = HV_EXPORT(HV_CompareVersion);
    int32_t order = static_cast<int32_t>(0xdeadbeef);
    EXPECT_EQ(compare(nullptr, "1", &order), HV_BadArgument);
    EXPECT_EQ(compare("1", nullptr, &order), HV_BadArgument);
    EXPECT_EQ(order, static_cast<int32_t>(0xdeadbeef));
    EXPECT_EQ(compare("1", "2", nullptr), HV_BadArgument);
}

} // namespace
