// Numbers as the locale writes them, through GetNumberFormatEx, and the
// user's languages as Windows names them. What Wine 8's locale data gives
// is in /work/shared/notes/wine-platform-facts.md.

#include "tags.h"
#include "user_language.h"

#include <gtest/gtest.h>

namespace {

using hovrel::windows::LocaleNumberFormat;

TEST(LocaleNumberFormat, WritesTheLocalesSeparatorsAndGrouping) {
    const struct {
        const char* locale;
        double value;
        int decimals;
        const char* text;
    } cases[] = {
        {"de-DE", 1.6, 1, "1,6"},
        {"de-DE", 1234.5, 1, "1.234,5"},
        {"de-DE", 1048576, 0, "1.048.576"},
        {"de", 3.75, 1, "3,8"},
        {"en-US", 1234.5, 1, "1,234.5"},
        {"ja-JP", 1234.5, 1, "1,234.5"},
        {"fr-FR", 0.5, 1, "0,5"},
        {"hi-IN", 1234567.5, 1, "12,34,567.5"}, // groups of three, then of two
        {"no-such-locale", 1234.5, 1, "1234.5"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LocaleNumberFormat(c.locale).Decimal(c.value, c.decimals), c.text) << c.locale;
    }
}

// Whatever the prefix's user language, Windows names it with a tag the
// matching takes.
TEST(PreferredUiLanguages, AreWellFormedTags) {
    const std::vector<std::string> tags = hovrel::windows::PreferredUiLanguages();
    ASSERT_FALSE(tags.empty());
    for (const std::string& tag : tags) {
        EXPECT_TRUE(hovrel::language::IsWellFormedTag(tag)) << tag;
    }
}

} // namespace
