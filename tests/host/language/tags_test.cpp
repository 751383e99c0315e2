// Which table a user's language tags choose. The tables below stand in for
// the full set of languages, so the rows do not wait for their tables.

#include "tags.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace hovrel::language;

namespace {

TEST(Tags, WellFormedOrNot) {
    const struct {
        const char* tag;
        bool wellFormed;
    } cases[] = {
        {"de", true},
        {"DE-de", true},
        {"pt-BR", true},
        {"zh-Hans-CN", true},
        {"es-419", true},
        {"de-CH-1996", true},
        {"en-US-x-test", true},
        {"sl-rozaj-biske", true},
        {"de-DE-u-co-phonebk", true},
        {"", false},
        {"d", false},
        {"deutsch1", false},
        {"de_DE", false},
        {"de-", false},
        {"-de", false},
        {"de--DE", false},
        {"de-DE-u", false},
        {"en-x-", false},
        {"zh-Hans-CN-toolongsubtag", false},
        {"de DE", false},
        {"Latn", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsWellFormedTag(c.tag), c.wellFormed) << c.tag;
    }
}

TEST(Tags, CandidatesGoFromTheTagToItsLanguage) {
    const struct {
        const char* tag;
        std::vector<std::string> candidates;
    } cases[] = {
        {"pt-BR", {"pt-BR", "pt"}},
        {"PT-br", {"pt-BR", "pt"}},
        {"de", {"de"}},
        {"sr-latn-rs", {"sr-Latn-RS", "sr-RS", "sr-Latn", "sr"}},
        {"zh-TW", {"zh-TW", "zh-Hant-TW", "zh-Hant", "zh"}},
        {"zh-HK", {"zh-HK", "zh-Hant-HK", "zh-Hant", "zh"}},
        {"zh-MO", {"zh-MO", "zh-Hant-MO", "zh-Hant", "zh"}},
        {"zh-CN", {"zh-CN", "zh-Hans-CN", "zh-Hans", "zh"}},
        {"zh", {"zh", "zh-Hans"}},
        {"zh-Hans-CN", {"zh-Hans-CN", "zh-CN", "zh-Hans", "zh"}},
        {"de-DE-u-co-phonebk", {"de-DE-u-co-phonebk", "de-DE", "de"}},
        {"de_DE", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Candidates(c.tag), c.candidates) << c.tag;
    }
}

TEST(Tags, ChooseTheBestTable) {
    static const Entry none[] = {{"button.cancel", "-"}};
    const auto table = [](const char* tag) { return Table{tag, false, none, 1}; };
    const std::vector<Table> offered = {table("en"),      table("de"),     table("pt-BR"),
                                        table("pt"),      table("fr"),     table("zh-Hans"),
                                        table("zh-Hant"), table("sr-Latn")};
    std::vector<const Table*> list;
    for (const Table& t : offered) {
        list.push_back(&t);
    }
    const std::vector<const Table*> onlyBrazil = {list[0], list[2]};
    const struct {
        std::vector<std::string> preferred;
        const std::vector<const Table*>* tables;
        const char* chosen;
    } cases[] = {
        {{"de-DE"}, &list, "de"},
        {{"DE-at"}, &list, "de"},
        {{"pt-BR"}, &list, "pt-BR"},
        {{"pt-PT"}, &list, "pt"},
        {{"pt"}, &list, "pt"},
        {{"pt-PT"}, &onlyBrazil, "pt-BR"},
        {{"zh-TW"}, &list, "zh-Hant"},
        {{"zh-HK"}, &list, "zh-Hant"},
        {{"zh-mo"}, &list, "zh-Hant"},
        {{"zh-CN"}, &list, "zh-Hans"},
        {{"zh-SG"}, &list, "zh-Hans"},
        {{"zh"}, &list, "zh-Hans"},
        {{"zh-Hans-CN"}, &list, "zh-Hans"},
        {{"zh-Hant-CN"}, &list, "zh-Hant"},
        {{"sr-Cyrl-RS"}, &list, "en"},
        {{"sr-Latn-RS"}, &list, "sr-Latn"},
        {{"ko-KR", "fr-CA", "de"}, &list, "fr"},
        {{"de_DE", "fr"}, &list, "fr"},
        {{"ko-KR"}, &list, "en"},
        {{}, &list, "en"},
    };
    for (const auto& c : cases) {
        const std::string joined = c.preferred.empty() ? "(none)" : c.preferred[0];
        EXPECT_STREQ(ChooseTable(c.preferred, *c.tables).tag, c.chosen) << joined;
    }
}

// The tag the user named the chosen language by, then its shorter forms,
// then the table's own tag; the numbers and the notes follow it.
TEST(Tags, TheChosenTagLeadsToTheNotes) {
    const Table& german = *Tables()[1];
    ASSERT_STREQ(german.tag, "de");
    const struct {
        std::vector<std::string> preferred;
        const char* chosen;
    } cases[] = {
        {{"ko-KR", "de-AT", "de-DE"}, "de-AT"},
        {{"DE"}, "DE"},
        {{"fr-FR"}, "de"}, // none names German
        {{}, "de"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ChosenTag(c.preferred, german), c.chosen);
    }
    EXPECT_EQ(ChosenTag({"fr-FR"}, English()), "en");
    EXPECT_EQ(ChosenTag({"en-GB"}, English()), "en-GB");
    EXPECT_EQ(NotesLanguages("de-AT", german), (std::vector<std::string>{"de-AT", "de"}));
    EXPECT_EQ(NotesLanguages("pt-PT", german), (std::vector<std::string>{"pt-PT", "pt", "de"}));
    EXPECT_EQ(NotesLanguages("bogus_tag", german), (std::vector<std::string>{"de"}));
}

TEST(Tags, CanonicalNotesTagForEveryForm) {
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
        const auto canonical = CanonicalNotesTag(c.tag);
        if (c.canonical) {
            EXPECT_EQ(canonical.value_or("(refused)"), c.canonical) << c.tag;
        } else {
            EXPECT_FALSE(canonical.has_value()) << c.tag << " gave " << *canonical;
        }
    }
}

} // namespace
