// The shared option parser on its own: a byte-string table with
// subcommands, file names and options that may be given empty, shaped like
// hovrel-publish's; the wide tables are tested through hovrel-update's.

#include "option_parser.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

using hovrel::common::OptionTable;
using hovrel::common::OptionWording;
using hovrel::common::ParseOptions;
using hovrel::common::ParseWholeNumber;
using hovrel::common::ShownInMessage;
using hovrel::common::Status;

struct Release {
    std::vector<std::string> files;
    std::optional<std::string> out;
    std::optional<std::string> version;
    std::vector<std::pair<std::string, std::string>> notesFor;
    bool mandatory = false;
};

using Row = hovrel::common::OptionRow<char, Release>;

constexpr unsigned kKeygen = 1;
constexpr unsigned kManifest = 2;

const OptionTable<char, Release> kTable{
    {
        {"out", Row::TextMayBeEmpty(&Release::out), kKeygen | kManifest},
        {"version", Row::TextMayBeEmpty(&Release::version), kManifest},
        {"mandatory", Row::Flag(&Release::mandatory), kManifest},
        {"notes-for", Row::RepeatablePair(&Release::notesFor, "a tag and a file"), kManifest},
    },
    [](const std::string& word, Release& release) {
        release.files.push_back(word);
        return Status::Ok();
    },
    {},
};

const OptionWording kManifestWording{"", " for manifest"};

TEST(OptionParser, FillsABytesTableWithFilesAndOptionalValues) {
    const auto parsed = ParseOptions(
        kTable, kManifest, kManifestWording,
        {"app.exe", "--version", "2.1", "--mandatory", "-h", "--mandatory", "--out=", "b c"});
    ASSERT_TRUE(parsed.ok()) << parsed.reason();
    const Release& release = parsed.value().options;
    EXPECT_FALSE(parsed.value().helpAsked);
    EXPECT_EQ(release.files, (std::vector<std::string>{"app.exe", "-h", "b c"}));
    EXPECT_EQ(release.version, "2.1");
    EXPECT_TRUE(release.mandatory);
    // Given empty is not the same as not given.
    ASSERT_TRUE(release.out.has_value());
    EXPECT_EQ(*release.out, "");

    // A pair repeats in order, inline or not, and its second word may be
    // anything but an option.
    const auto pairs = ParseOptions(kTable, kManifest, kManifestWording,
                                    {"--notes-for", "de", "-de.txt", "x.exe", "--notes-for=pt-BR",
                                     "a=b.txt", "--notes-for", "de", "again.txt"});
    ASSERT_TRUE(pairs.ok()) << pairs.reason();
    EXPECT_EQ(pairs.value().options.notesFor,
              (std::vector<std::pair<std::string, std::string>>{
                  {"de", "-de.txt"}, {"pt-BR", "a=b.txt"}, {"de", "again.txt"}}));
    EXPECT_EQ(pairs.value().options.files, (std::vector<std::string>{"x.exe"}));

    const auto bare = ParseOptions(kTable, kKeygen, {"", " for keygen"}, {});
    ASSERT_TRUE(bare.ok()) << bare.reason();
    EXPECT_FALSE(bare.value().options.out.has_value());
}

TEST(OptionParser, WordsRefusalsTheProgramsWay) {
    const struct {
        unsigned program;
        OptionWording wording;
        std::vector<std::string> arguments;
        std::string error;
    } cases[] = {
        {kKeygen, {"", " for keygen"}, {"--version", "1"}, "unknown option --version for keygen"},
        {kManifest, kManifestWording, {"--help"}, "unknown option --help for manifest"},
        {kManifest,
         kManifestWording,
         {"--caf\xC3\xA9"},
         "unknown option --caf\xC3\xA9 for manifest"},
        {kManifest, kManifestWording, {"--mandatory=yes"}, "--mandatory takes no value"},
        {kManifest, kManifestWording, {"--out", "a", "--out=a"}, "--out given twice"},
        {kManifest, kManifestWording, {"a", "--out"}, "--out needs a value"},
        {kManifest, {"option ", ""}, {"--out", "a", "--out", "b"}, "option --out given twice"},
        {kManifest, kManifestWording, {"--notes-for"}, "--notes-for needs a tag and a file"},
        {kManifest, kManifestWording, {"--notes-for", "de"}, "--notes-for needs a tag and a file"},
        {kManifest, kManifestWording, {"--notes-for=de"}, "--notes-for needs a tag and a file"},
        {kManifest,
         kManifestWording,
         {"--notes-for", "de", "--out", "x"},
         "--notes-for needs a tag and a file"},
        {kManifest,
         kManifestWording,
         {"--notes-for", "de", ""},
         "--notes-for needs a non-empty value"},
        {kManifest, kManifestWording, {"--notes-for=", "a"}, "--notes-for needs a non-empty value"},
    };
    for (const auto& c : cases) {
        const auto parsed = ParseOptions(kTable, c.program, c.wording, c.arguments);
        EXPECT_FALSE(parsed.ok()) << c.error;
        EXPECT_EQ(parsed.reason(), c.error);
    }
}

TEST(OptionParser, ReadsWholeNumbersFromOneToTheLargest32Bit) {
    const struct {
        const char* text;
        bool ok;
        std::uint32_t number;
    } cases[] = {
        {"1", true, 1},           {"4294967295", true, 4294967295u},
        {"0000000042", true, 42}, {"0", false, 0},
        {"4294967296", false, 0}, {"00000000001", false, 0},
        {"", false, 0},           {"+1", false, 0},
        {"-1", false, 0},         {" 1", false, 0},
        {"1.5", false, 0},
    };
    for (const auto& c : cases) {
        std::uint32_t narrow = 0;
        EXPECT_EQ(ParseWholeNumber(std::string(c.text), narrow), c.ok) << c.text;
        std::uint32_t wide = 0;
        EXPECT_EQ(ParseWholeNumber(std::wstring(c.text, c.text + std::string(c.text).size()), wide),
                  c.ok)
            << c.text;
        if (c.ok) {
            EXPECT_EQ(narrow, c.number) << c.text;
            EXPECT_EQ(wide, c.number) << c.text;
        }
    }
    std::uint32_t number = 0;
    EXPECT_FALSE(ParseWholeNumber(std::wstring(L"\u0661"), number)); // ARABIC-INDIC DIGIT ONE
}

TEST(OptionParser, ShowsWideTextAsPrintableAsciiAndBytesAsTheyAre) {
    EXPECT_EQ(ShownInMessage(std::wstring(L"a\u00EB\t~\U0001F600")),
              std::string(sizeof(wchar_t) == 2 ? "a??~??" : "a??~?"));
    EXPECT_EQ(ShownInMessage(std::string("a\xC3\xAB\t")), "a\xC3\xAB\t");
}

} // namespace
