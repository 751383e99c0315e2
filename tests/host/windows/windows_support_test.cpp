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

TEST(WindowsSupport, ConversionsRefuseInvalidText) {
    std::wstring wide;
    EXPECT_TRUE(Utf8ToWide("http://h/Zo\xC3\xAB", wide));
    EXPECT_EQ(wide, L"http://h/Zo\u00EB");
    for (const char* invalid : {"\xFF", "a\xC3", "\xED\xA0\x80"}) {
        wide = L"kept";
        EXPECT_FALSE(Utf8ToWide(invalid, wide)) << invalid;
        EXPECT_EQ(wide, L"kept");
    }
    std::string text;
    EXPECT_TRUE(WideToUtf8(L"Zo\u00EB", text));
    EXPECT_EQ(text, "Zo\xC3\xAB");
    EXPECT_FALSE(WideToUtf8(std::wstring(1, static_cast<wchar_t>(0xD800)), text));
}

TEST(WindowsSupport, ComputerNameComesFromTheSystem) {
    EXPECT_FALSE(ComputerName().empty());
}

} // namespace
