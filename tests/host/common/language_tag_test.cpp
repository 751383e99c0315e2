#include "language_tag.h"

#include <gtest/gtest.h>

namespace {

using hovrel::common::CanonicalLanguageTag;

TEST(LanguageTag, CanonicalCaseForEveryForm) {
    const struct {
        const char* tag;
        const char* canonical; // nullptr: refused
    } cases[] = {
        {"de", "de"},
        {"DE", "de"},
        {"fil", "fil"},
        {"pt-br", "pt-BR"},
        {"PT-br", "pt-BR"},
        {"zh-hant", "zh-Hant"},
        {"ZH-HANT-tw", "zh-Hant-TW"},
        {"es-419", "es-419"},
        {"sr-latn-001", "sr-Latn-001"},
        {"", nullptr},
        {"d", nullptr},
        {"deut", nullptr}, // a four-letter language is reserved
        {"de-", nullptr},
        {"-de", nullptr},
        {"de--DE", nullptr},
        {"de_DE", nullptr},
        {"de-D", nullptr},
        {"de-DEU", nullptr}, // three letters are an extended language, not taken
        {"es-41", nullptr},
        {"es-4190", nullptr},
        {"de-DE-Latn", nullptr}, // script after region
        {"zh-Hant-Hans", nullptr},
        {"de-DE-1996", nullptr}, // variants are not taken
        {"de-DE-x", nullptr},
        {"d3", nullptr},
        {"de-D3", nullptr},
        {"de-\xc3\x84T", nullptr},
        {"en-US ", nullptr},
    };
    for (const auto& c : cases) {
        const auto canonical = CanonicalLanguageTag(c.tag);
        if (c.canonical) {
            EXPECT_EQ(canonical.value_or("(refused)"), c.canonical) << c.tag;
        } else {
            EXPECT_FALSE(canonical.has_value()) << c.tag << " gave " << *canonical;
        }
    }
}

} // namespace
