#include "manifest_terms.h"
#include "manifest_writer.h"
#include "rfc3339.h"

#include "hovrel.h"
#include "manifest/manifest_scanner.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

using namespace hovrel::authenticity;
using hovrel::ManifestScanner;

const char kSha[] = "0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef";

ManifestFields Fields(std::string notes) {
    ManifestFields fields;
    fields.version = "2.1.0";
    fields.url = "https://example.test/app-2.1.0.exe";
    fields.sha256 = kSha;
    fields.size = 1000;
    fields.notes = std::move(notes);
    return fields;
}

// Signed manifests already served were written in exactly this form.
TEST(ManifestWriter, KeepsTheFormHovrelPublishHasAlwaysWritten) {
    ManifestFields fields = Fields("");
    EXPECT_EQ(ManifestText(fields),
              std::string("{\n"
                          "  \"version\": \"2.1.0\",\n"
                          "  \"url\": \"https://example.test/app-2.1.0.exe\",\n"
                          "  \"sha256\": \"") +
                  kSha +
                  "\",\n"
                  "  \"size\": 1000,\n"
                  "  \"rollout\": 100,\n"
                  "  \"mandatory\": false\n"
                  "}\n");
    fields.rollout = 5;
    fields.mandatory = true;
    fields.expires = "2027-01-31T00:00:00Z";
    fields.product = "app.x";
    fields.notes = "Fixes.";
    fields.notesByLanguage = {{"pt-BR", "Corre\xc3\xa7\xc3\xb5"
                                        "es."},
                              {"de", "Behebt."},
                              {"ja", ""}};
    EXPECT_EQ(ManifestText(fields),
              std::string("{\n"
                          "  \"version\": \"2.1.0\",\n"
                          "  \"url\": \"https://example.test/app-2.1.0.exe\",\n"
                          "  \"sha256\": \"") +
                  kSha +
                  "\",\n"
                  "  \"size\": 1000,\n"
                  "  \"rollout\": 5,\n"
                  "  \"mandatory\": true,\n"
                  "  \"expires\": \"2027-01-31T00:00:00Z\",\n"
                  "  \"product\": \"app.x\",\n"
                  "  \"notes\": \"Fixes.\",\n"
                  "  \"notes.pt-BR\": \"Corre\xc3\xa7\xc3\xb5"
                  "es.\",\n"
                  "  \"notes.de\": \"Behebt.\"\n"
                  "}\n");
}

TEST(ManifestWriter, EscapesStringsAsJson) {
    const struct {
        const char* name;
        std::string notes;
        std::string literal;
    } cases[] = {
        {"quote", "say \"hi\"", R"("say \"hi\"")"},
        {"backslash", "C:\\Program Files\\", R"("C:\\Program Files\\")"},
        {"line breaks and tab", "a\r\nb\tc", R"("a\r\nb\tc")"},
        {"other control characters", std::string("\x01\x1f", 2) + std::string(1, '\0'),
         R"("\u0001\u001f\u0000")"},
        {"DEL and UTF-8 as they are", "\x7f\xc3\xa9 \xe6\x97\xa5 \xf0\x9f\x98\x80",
         "\"\x7f\xc3\xa9 \xe6\x97\xa5 \xf0\x9f\x98\x80\""},
    };
    for (const auto& c : cases) {
        const std::string text = ManifestText(Fields(c.notes));
        EXPECT_NE(text.find(",\n  \"notes\": " + c.literal + "\n}\n"), std::string::npos)
            << c.name << ":\n"
            << text;
    }
}

// Whatever hovrel-publish writes, the library and the host read back whole:
// the DLL's parser, the terms and the window's display, and the scanner.
TEST(ManifestWriter, EveryFieldComesBackThroughTheLibrary) {
    ManifestFields longest = Fields("");
    longest.version = std::string(31, '1') + "." + std::string(31, '2');
    longest.url = "http://h/" + std::string(1023 - 9, 'u');
    ManifestFields everything = Fields("Line one\nline \"two\"\ttabbed\r\n\\ back\\slash\\");
    everything.url = "http://127.0.0.1:8080/a\"b\\c?d=1";
    everything.size = 5000000000;
    everything.rollout = 0;
    everything.mandatory = true;
    everything.expires = "2027-01-31T00:00:00Z";
    everything.product = "Vendor.App_2-x";
    everything.minWindows = "10.0.17763";
    // Text that would end the string early or open a key if it went unescaped.
    ManifestFields injection = Fields("\", \"version\": \"9.9.9\", \"x\": {\"");
    injection.product = "app";
    ManifestFields unicode = Fields("Caf\xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x98\x80");
    unicode.expires = "2030-06-15T12:30:45Z";
    // Notes in other languages, one of them trying to end its string early.
    ManifestFields languages = Fields("Fixes.");
    languages.notesByLanguage = {{"ja", "\xe4\xbf\xae\xe6\xad\xa3\xe3\x80\x82"},
                                 {"zh-Hant-TW", "\", \"notes\": \"x"},
                                 {"es-419", "Correcciones.\n\tM\xc3\xa1s."}};
    ManifestFields onlyLanguages = Fields("");
    onlyLanguages.notesByLanguage = {{"de", "Behebt."}};
    const struct {
        const char* name;
        ManifestFields fields;
    } cases[] = {
        {"only the library's keys", Fields("")},
        {"the library's longest version and url", longest},
        {"every key, notes with quotes, breaks, tabs and backslashes", everything},
        {"notes that look like keys", injection},
        {"non-ASCII notes", unicode},
        {"notes in three more languages", languages},
        {"notes in one language only", onlyLanguages},
    };
    for (const auto& c : cases) {
        const ManifestFields& fields = c.fields;
        const std::string text = ManifestText(fields);
        SCOPED_TRACE(std::string(c.name) + ":\n" + text);

        HV_Manifest record{};
        ASSERT_EQ(HV_ParseManifest(text.c_str(), &record), HV_Ok);
        EXPECT_EQ(record.version, fields.version);
        EXPECT_EQ(record.url, fields.url);
        EXPECT_EQ(record.sha256, fields.sha256);
        EXPECT_EQ(record.size, fields.size);
        EXPECT_EQ(record.rollout, fields.rollout);
        EXPECT_EQ(record.mandatory, fields.mandatory ? 1 : 0);

        const ManifestDisplay display = ReadManifestDisplay(text);
        EXPECT_EQ(display.product, fields.product);
        EXPECT_EQ(display.notes, fields.notes);
        for (const auto& [tag, notes] : fields.notesByLanguage) {
            std::string read;
            EXPECT_TRUE(ManifestScanner::ReadStringValue(text, ("notes." + tag).c_str(), read))
                << tag;
            EXPECT_EQ(read, notes) << tag;
        }

        std::string expires;
        EXPECT_EQ(ManifestScanner::ReadStringValue(text, "expires", expires),
                  !fields.expires.empty());
        EXPECT_EQ(expires, fields.expires);
        // An empty optional field is left out, not written empty.
        const std::pair<const char*, const std::string*> optional[] = {
            {"expires", &fields.expires},
            {"product", &fields.product},
            {"min_windows", &fields.minWindows},
            {"notes", &fields.notes}};
        for (const auto& [key, value] : optional) {
            EXPECT_EQ(ManifestScanner::FindTopLevelValue(text, key) == ManifestScanner::kNotFound,
                      value->empty())
                << key;
        }

        TermsRequest request;
        request.product = fields.product;
        request.downloads = true;
        std::int64_t until = 0;
        if (!fields.expires.empty()) {
            ASSERT_TRUE(ParseRfc3339Utc(fields.expires, until));
            request.now = until;
            EXPECT_EQ(CheckManifestTerms(text, request).verdict, TermsVerdict::Expired);
        }
        request.now = until - 1;
        const TermsDecision decision = CheckManifestTerms(text, request);
        EXPECT_EQ(decision.verdict, TermsVerdict::Accepted);
        EXPECT_EQ(decision.minWindows ? FormatWindowsVersion(*decision.minWindows) : "",
                  fields.minWindows);
    }
}

} // namespace
