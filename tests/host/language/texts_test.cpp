// Every language's table against the English one: the same keys, the same
// placeholders, valid UTF-8, and no text too long for its place on the page.
// Table-driven over every registered table, so a new language is checked
// as soon as it is listed in tables.cpp.

#include "texts.h"
#include "translation.h"
#include "utf8.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <string>

using namespace hovrel::language;

namespace {

// Code points of a wide string (UTF-16 on Windows, UTF-32 elsewhere).
std::vector<char32_t> CodePoints(const std::wstring& wide) {
    std::vector<char32_t> points;
    for (std::size_t i = 0; i < wide.size(); ++i) {
        char32_t c = static_cast<char32_t>(wide[i]);
        if (sizeof(wchar_t) == 2 && c >= 0xD800 && c < 0xDC00 && i + 1 < wide.size()) {
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(wide[++i]) - 0xDC00);
        }
        points.push_back(c);
    }
    return points;
}

bool IsWide(char32_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) ||
           (c >= 0x3041 && c <= 0x33FF) || (c >= 0x3400 && c <= 0x4DBF) ||
           (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

bool IsCombining(char32_t c) {
    return (c >= 0x0300 && c <= 0x036F) || (c >= 0x0591 && c <= 0x05C7) ||
           (c >= 0x064B && c <= 0x065F) || c == 0x0670 || (c >= 0x200B && c <= 0x200F);
}

// Display columns without the placeholders (their values are the same in
// every language) and without a button's access-key "&": East Asian wide
// characters count 2, combining marks 0.
int Columns(const std::string& text) {
    std::wstring wide;
    if (!hovrel::common::Utf8ToWide(Fill(text, std::vector<std::string>(9)), wide)) {
        return -1;
    }
    int columns = 0;
    for (const char32_t c : CodePoints(wide)) {
        columns += c == U'&' ? 0 : IsCombining(c) ? 0 : IsWide(c) ? 2 : 1;
    }
    return columns;
}

bool StartsWith(const char* text, const char* prefix) {
    return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

// The page is 260 dialog units wide (task_dialog.cpp's cxWidth), about 65
// columns of the message font at 4 units per average character. Texts wrap,
// so a text may run to twice its English length (German runs about 1.3
// times, and a wide character counts double). Buttons and the title do not
// wrap: a button is one of up to three in a row, so at most 22 columns; a
// heading, in the larger font, at most two lines of 48.
int Budget(const char* key, int englishColumns) {
    if (StartsWith(key, "button.")) {
        return 22;
    }
    if (StartsWith(key, "title.")) {
        return 40;
    }
    const int relative = std::max(2 * englishColumns, englishColumns + 24);
    return std::strstr(key, "heading") != nullptr ? std::min(relative, 96) : relative;
}

std::string Counts(const PlaceholderCount& count) {
    std::string text;
    for (int n = 0; n < 9; ++n) {
        text += std::to_string(count.counts[n]);
    }
    return text;
}

TEST(Texts, EveryTableHasTheEnglishKeysAndPlaceholders) {
    std::map<std::string, std::string> english;
    for (std::size_t i = 0; i < English().count; ++i) {
        const Entry& entry = English().entries[i];
        EXPECT_TRUE(english.emplace(entry.key, entry.text).second) << "en: twice " << entry.key;
    }
    ASSERT_FALSE(english.empty());
    std::set<std::string> tags;
    for (const Table* table : Tables()) {
        EXPECT_TRUE(tags.insert(table->tag).second) << "twice listed: " << table->tag;
        std::set<std::string> seen;
        for (std::size_t i = 0; i < table->count; ++i) {
            const Entry& entry = table->entries[i];
            const std::string where = std::string(table->tag) + " " + entry.key;
            EXPECT_TRUE(seen.insert(entry.key).second) << where << ": twice";
            const auto reference = english.find(entry.key);
            if (reference == english.end()) {
                ADD_FAILURE() << where << ": not an English key";
                continue;
            }
            std::wstring wide;
            EXPECT_TRUE(hovrel::common::Utf8ToWide(entry.text, wide)) << where << ": not UTF-8";
            const PlaceholderCount count = CountPlaceholders(entry.text);
            EXPECT_FALSE(count.stray) << where << ": a brace outside {1} to {9}";
            EXPECT_EQ(Counts(count), Counts(CountPlaceholders(reference->second)))
                << where << ": placeholders differ from English";
            const int budget = Budget(entry.key, Columns(reference->second));
            EXPECT_LE(Columns(entry.text), budget) << where << ": too long for the page";
            EXPECT_GT(Columns(entry.text), 0) << where << ": empty";
        }
        for (const auto& [key, text] : english) {
            EXPECT_TRUE(seen.count(key)) << table->tag << " " << key << ": missing";
        }
    }
}

TEST(Texts, FillsAndCountsPlaceholders) {
    const struct {
        const char* text;
        std::vector<std::string> arguments;
        const char* filled;
        const char* counts;
        bool stray;
    } cases[] = {
        {"{1} {2} is available.", {"Demo", "2.0"}, "Demo 2.0 is available.", "110000000", false},
        {"{2} vor {1}, {1}", {"a", "b"}, "b vor a, a", "210000000", false},
        {"{1} of {2}", {"x"}, "x of {2}", "110000000", false},
        {"{0} {10} {x}", {"a"}, "{0} {10} {x}", "000000000", true},
        {"{1", {"a"}, "{1", "000000000", true},
        {"{9}", {"1", "2", "3", "4", "5", "6", "7", "8", "9"}, "9", "000000001", false},
        {"", {}, "", "000000000", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Fill(c.text, c.arguments), c.filled) << c.text;
        const PlaceholderCount count = CountPlaceholders(c.text);
        EXPECT_EQ(Counts(count), c.counts) << c.text;
        EXPECT_EQ(count.stray, c.stray) << c.text;
    }
}

TEST(Texts, ColumnsCountWideCharactersTwice) {
    const struct {
        const char* text;
        int columns;
    } cases[] = {
        {"Cancel", 6},     {"&Install now", 11}, {"Schließen", 9}, {"更新", 4},
        {"{1} of {2}", 4}, {"שָׁלוֹם", 4},          {"\xff", -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Columns(c.text), c.columns) << c.text;
    }
}

TEST(Texts, AMissingKeyFallsBackToEnglish) {
    static const Entry partial[] = {{"button.cancel", "Abbrechen"}};
    const Table table = {"xx", false, partial, 1};
    const NumberFormat invariant;
    const Translation translation(table, invariant);
    EXPECT_EQ(translation.Say("button.cancel"), "Abbrechen");
    EXPECT_EQ(translation.Say("offer.heading.plain", {"2.0"}), "Version 2.0 is available.");
    EXPECT_EQ(translation.Say("no.such.key"), "no.such.key");
}

} // namespace
