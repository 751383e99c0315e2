#include "windows_support.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace hovrel::windows;

// Expected buckets computed independently with Python's hashlib; a wrong
// Sha256 gives other buckets.
TEST(WindowsSupport, MachineBucketsOfKnownMachines) {
    const struct {
        std::string machineId;
        std::string version;
        std::uint32_t bucket;
    } cases[] = {
        {"alpha", "2.0.0", 84}, {"build-agent-7", "2.0.0", 3}, {"WORKSTATION", "1.4.2", 28},
        {"", "", 13},           {"Zo\xC3\xAB-PC", "3.1", 31},
    };
    for (const auto& c : cases) {
        std::uint32_t bucket = 1000;
        ASSERT_TRUE(MachineBucket(c.machineId, c.version, bucket));
        EXPECT_EQ(bucket, c.bucket) << c.machineId;
    }
}

TEST(WindowsSupport, ComputerNameComesFromTheSystem) {
    EXPECT_FALSE(ComputerName().empty());
}

} // namespace
