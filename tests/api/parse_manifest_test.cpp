#include "hovrel_export.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

const char* const kBase = R"({"version":"1.0","url":"u","sha256":"abc")";

std::string WithBase(const std::string& extra) {
    return std::string(kBase) + extra + "}";
}

HV_Manifest Sentinel() {
    HV_Manifest record;
    std::memset(&record, 0xCD, sizeof record);
    return record;
}

bool AllZeroFrom(const HV_Manifest& record, std::size_t offset) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(&record);
    for (std::size_t i = offset; i < sizeof record; ++i) {
        if (bytes[i] != 0) {
            return false;
        }
    }
    return true;
}

struct OptionalCase {
    const char* extra;
    uint64_t size;
    int32_t rollout;
    int32_t mandatory;
};

TEST(ParseManifest, OptionalValues) {
    const OptionalCase cases[] = {
        {"", 0, 100, 0},
        {R"(,"size": 12345)", 12345, 100, 0},
        {R"(,"size":"12345")", 0, 100, 0},
        {R"(,"size":-5)", 0, 100, 0},
        {R"(,"size":12.9)", 12, 100, 0},
        {R"(,"size":1e6)", 1, 100, 0},
        {R"(,"size":18446744073709551615)", UINT64_MAX, 100, 0},
        {R"(,"size":18446744073709551616)", 0, 100, 0},
        {R"(,"size":5368709120)", 5368709120u, 100, 0},
        {R"(,"rollout":0)", 0, 0, 0},
        {R"(,"rollout":250)", 0, 250, 0},
        {R"(,"rollout":"50")", 0, 100, 0},
        {R"(,"rollout":-1)", 0, 100, 0},
        {R"(,"rollout":null)", 0, 100, 0},
        {R"(,"rollout":4294967321)", 0, 25, 0},
        {R"(,"rollout":2147483648)", 0, INT32_MIN, 0},
        {R"(,"mandatory":true)", 0, 100, 1},
        {R"(,"mandatory":false)", 0, 100, 0},
        {R"(,"mandatory":"true")", 0, 100, 0},
        {R"(,"mandatory":1)", 0, 100, 0},
        {R"(,"mandatory":trueish)", 0, 100, 1},
        {R"(,"mandatory": true)", 0, 100, 1},
        {R"(,"meta":{"size":9,"rollout":1,"mandatory":true})", 0, 100, 0},
        {R"(,"size":7,"size":8,"rollout":3,"rollout":4)", 7, 3, 0},
    };
    const auto parse = HV_EXPORT(HV_ParseManifest);
    for (const auto& c : cases) {
        HV_Manifest record = Sentinel();
        ASSERT_EQ(parse(WithBase(c.extra).c_str(), &record), HV_Ok) << c.extra;
        EXPECT_EQ(record.size, c.size) << c.extra;
        EXPECT_EQ(record.rollout, c.rollout) << c.extra;
        EXPECT_EQ(record.mandatory, c.mandatory) << c.extra;
        for (unsigned char b : record.reserved) {
            EXPECT_EQ(b, 0) << c.extra;
        }
    }
}

TEST(ParseManifest, TextAtEndOfInputTakesDefaults) {
    const char* texts[] = {
        R"({"version":"1","url":"u","sha256":"x","size":)",
        R"({"version":"1","url":"u","sha256":"x","rollout":   )",
        R"({"version":"1","url":"u","sha256":"x","mandatory":tru)",
    };
    for (const char* text : texts) {
        HV_Manifest record = Sentinel();
        ASSERT_EQ(HV_EXPORT(HV_ParseManifest)(text, &record), HV_Ok) << text;
        EXPECT_EQ(record.size, 0u);
        EXPECT_EQ(record.rollout, 100);
        EXPECT_EQ(record.mandatory, 0);
    }
}

TEST(ParseManifest, LongValuesAreTruncatedAndTerminated) {
    const std::string version(70, 'v');
    const std::string url(2000, 'u');
    const std::string sha(80, 's');
    const std::string text =
        R"({"version":")" + version + R"(","url":")" + url + R"(","sha256":")" + sha + "\"}";
    HV_Manifest record = Sentinel();
    ASSERT_EQ(HV_EXPORT(HV_ParseManifest)(text.c_str(), &record), HV_Ok);
    EXPECT_EQ(std::string(record.version), version.substr(0, 63));
    EXPECT_EQ(std::string(record.url), url.substr(0, 1023));
    EXPECT_EQ(std::string(record.sha256), sha.substr(0, 64));
}

TEST(ParseManifest, StringsAreUnescaped) {
    const char* text = R"({"version":"1\t2","url":"https:\/\/h\/a\\b\"c\u0041","sha256":"\q"})";
    HV_Manifest record = Sentinel();
    ASSERT_EQ(HV_EXPORT(HV_ParseManifest)(text, &record), HV_Ok);
    EXPECT_STREQ(record.version, "1\t2");
    EXPECT_STREQ(record.url, "https://h/a\\b\"cu0041");
    EXPECT_STREQ(record.sha256, "q");
}

struct FailureCase {
    const char* text;
    const char* version; // what stays stored
    const char* url;
};

TEST(ParseManifest, MissingRequiredKeyFailsAndKeepsEarlierFields) {
    const FailureCase cases[] = {
        {"", "", ""},
        {"not json", "", ""},
        {R"({"version":1,"url":"u","sha256":"abc"})", "", ""},
        {R"({"version":"1.0","sha256":"abc"})", "1.0", ""},
        {R"({"version":"1.0","url":"u"})", "1.0", "u"},
        {R"({"version":"1.0","url":"u","sha256":7})", "1.0", "u"},
        {R"({"version":"1.0","url":"u","sha256":"abc)", "1.0", "u"},
        {R"({"meta":{"version":"9"}})", "", ""},
        {R"("version":"1","url":"u","sha256":"x")", "", ""},
    };
    for (const auto& c : cases) {
        HV_Manifest record = Sentinel();
        ASSERT_EQ(HV_EXPORT(HV_ParseManifest)(c.text, &record), HV_ManifestParse) << c.text;
        EXPECT_STREQ(record.version, c.version) << c.text;
        EXPECT_STREQ(record.url, c.url) << c.text;
        // sha256 is the last field stored, so everything from it on is still clear.
        EXPECT_TRUE(AllZeroFrom(record, offsetof(HV_Manifest, sha256))) << c.text;
    }
}

TEST(ParseManifest, NullArgumentLeavesRecordUntouched) {
    const auto parse = HV_EXPORT(HV_ParseManifest);
    HV_Manifest record = Sentinel();
    EXPECT_EQ(parse(nullptr, &record), HV_BadArgument);
    const HV_Manifest untouched = Sentinel();
    EXPECT_EQ(std::memcmp(&record, &untouched, sizeof record), 0);
    EXPECT_EQ(parse(kBase, nullptr), HV_BadArgument);
}

} // namespace
