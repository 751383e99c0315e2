#include "manifest/manifest_scanner.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using hovrel::ManifestScanner;

struct FindCase {
    std::string text;
    const char* key;
    std::uint64_t position;
};

TEST(ManifestScanner, FindsTopLevelValuePositions) {
    const auto none = ManifestScanner::kNotFound;
    const FindCase cases[] = {
        {R"({"version":"1.2.3"})", "version", 11},
        {"{ \"version\" :\r\n\t \"1.0\" }", "version", 17},
        {R"({"version":1})", "version", 11},
        {"{\"version\":   ", "version", 14},
        {R"({"versions":"x"})", "version", none},
        {R"({"Version":"x"})", "version", none},
        {R"({"a":{"version":"9"}})", "version", none},
        {R"("version":"1")", "version", none},
        {R"({"ver\u0073ion":"1"})", "version", none},
        {R"({"versio\n":"1"})", "version", none},
        {R"({"version")", "version", none},
        {R"({"version)", "version", none},
        {"", "version", none},
        {R"(}}{{"version":"x")", "version", none},
        {R"(]{"version":"x")", "version", none},
        {R"({"x":"version","version":"2"})", "version", 25},
        {R"({"x":"version":"2"})", "version", 15},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ManifestScanner::FindTopLevelValue(c.text, c.key), c.position) << c.text;
    }
}

struct ReadCase {
    std::string text;
    bool complete;
    std::string value; // "<untouched>" when out must keep its old contents
};

TEST(ManifestScanner, ReadsStringValues) {
    const ReadCase cases[] = {
        {R"({"version":"1.2.3"})", true, "1.2.3"},
        {"{ \"version\" :\r\n\t \"1.0\" }", true, "1.0"},
        {R"({"a":{"version":"9"},"version":"2"})", true, "2"},
        {R"({"version":"1","version":"2"})", true, "1"},
        {R"({"note":"he said \"version\": no","version":"3"})", true, "3"},
        {R"({"version":"a\/b\/c\\d"})", true, "a/b/c\\d"},
        {R"({"version":"\u00e9"})", true, "u00e9"},
        {R"({"version":"a\qb\b\f"})", true, "aqbbf"},
        {R"({"version":"\n\r\t\""})", true, "\n\r\t\""},
        {"{\"version\":\"\x80\x01\xff\"}", true, "\x80\x01\xff"},
        {R"(["version":"1"])", true, "1"},
        {R"({"version":""})", true, ""},
        {R"({"version":"1.2)", false, "1.2"},
        {R"({"version":"1.2\)", false, "1.2"},
        {R"({"version":1})", false, "<untouched>"},
        {R"({"version":null})", false, "<untouched>"},
        {"{\"version\":  ", false, "<untouched>"},
        {R"({"other":"x"})", false, "<untouched>"},
        {"", false, "<untouched>"},
        {"no brackets \"version\":\"1\"", false, "<untouched>"},
    };
    for (const auto& c : cases) {
        std::string out = "<untouched>";
        EXPECT_EQ(ManifestScanner::ReadStringValue(c.text, "version", out), c.complete) << c.text;
        EXPECT_EQ(out, c.value) << c.text;
    }
}

TEST(ManifestScanner, DeepAndUnbalancedNesting) {
    const std::string deep = std::string(200000, '[') + R"("version":"1")";
    EXPECT_EQ(ManifestScanner::FindTopLevelValue(deep, "version"), ManifestScanner::kNotFound);
    const std::string closed =
        std::string(200000, ']') + std::string(200001, '{') + R"("version":"1")";
    std::string out;
    EXPECT_TRUE(ManifestScanner::ReadStringValue(closed, "version", out));
    EXPECT_EQ(out, "1");
}

} // namespace
