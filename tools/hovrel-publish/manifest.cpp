#include "manifest.h"

#include "arguments.h"
#include "failure.h"
#include "files.h"

#include "library_limits.h"
#include "manifest_terms.h"
#include "manifest_writer.h"
#include "rfc3339.h"
#include "tags.h"
#include "utf8.h"

#include <cstdio>
#include <cstddef>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

namespace hovrel::publish {

namespace {

using namespace hovrel::authenticity;

constexpr long long kDefaultExpiryDays = 30;

bool IsDottedDigits(const std::string& version) {
    if (version.empty() || version.size() > hovrel::common::kMaxVersionLength) {
        return false;
    }
    bool digitBefore = false;
    for (char c : version) {
        if (c == '.') {
            if (!digitBefore) {
                return false;
            }
            digitBefore = false;
        } else if (c >= '0' && c <= '9') {
            digitBefore = true;
        } else {
            return false;
        }
    }
    return digitBefore;
}

bool ParseWhole(const std::string& text, long long low, long long high, long long& value) {
    if (text.empty() || text.size() > 12 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    value = std::stoll(text);
    return value >= low && value <= high;
}

// Release notes are UTF-8 text. Of the control characters only tab, line
// feed and carriage return come back through the library's scanner, so any
// other would reach the window as the letters of its escape. `option` is the
// option as the refusal names it, such as "--notes-for de".
std::string ReadNotes(const std::string& option, const std::string& path) {
    std::string notes = ReadWholeFile(path, hovrel::common::kManifestMaxBytes);
    std::wstring ignored;
    if (!hovrel::common::Utf8ToWide(notes, ignored)) {
        Fail(option + " " + path + " is not UTF-8 text");
    }
    std::size_t line = 1;
    for (unsigned char c : notes) {
        if (c == '\n') {
            ++line;
        } else if (c < 0x20 && c != '\t' && c != '\r') {
            char code[8];
            std::snprintf(code, sizeof code, "0x%02x", c);
            Fail(option + " " + path + " holds control character " + code + " on line " +
                 std::to_string(line) + "; only tabs and line breaks may be in notes");
        }
    }
    return notes;
}

} // namespace

int Manifest(int argc, char** argv) {
    const Arguments arguments = ParseArguments(Command::Manifest, argc, argv);
    const std::string& installer = OnePositional(arguments, "installer file");
    const std::string& version = Required(arguments.version, "version");
    const std::string& url = Required(arguments.url, "url");
    const std::string& out = Required(arguments.out, "out");
    if (!IsDottedDigits(version)) {
        Fail("--version " + version + " is not dotted digits such as 2.1.0");
    }
    if ((url.rfind("http://", 0) != 0 && url.rfind("https://", 0) != 0) ||
        url.size() > hovrel::common::kMaxUrlLength) {
        Fail("--url must be an http:// or https:// address of at most " +
             std::to_string(hovrel::common::kMaxUrlLength) + " bytes");
    }
    long long rollout = 100;
    if (arguments.rollout && !ParseWhole(*arguments.rollout, 0, 100, rollout)) {
        Fail("--rollout must be a whole number from 0 to 100");
    }
    if ((arguments.expires ? 1 : 0) + (arguments.expiresIn ? 1 : 0) + (arguments.noExpiry ? 1 : 0) >
        1) {
        Fail("give one of --expires, --expires-in and --no-expiry");
    }
    ManifestFields fields;
    if (arguments.expires) {
        std::int64_t ignored = 0;
        fields.expires = *arguments.expires;
        if (!ParseRfc3339Utc(fields.expires, ignored)) {
            Fail("--expires " + fields.expires +
                 " is not an RFC 3339 UTC time such as "
                 "2027-01-31T00:00:00Z");
        }
    } else if (!arguments.noExpiry) {
        // Without an expiry an old signed manifest could be replayed forever.
        long long days = kDefaultExpiryDays;
        if (arguments.expiresIn && !ParseWhole(*arguments.expiresIn, 1, 36500, days)) {
            Fail("--expires-in must be a whole number of days from 1 to 36500");
        }
        fields.expires =
            FormatRfc3339Utc(static_cast<std::int64_t>(std::time(nullptr)) + days * 86400);
    }
    if (arguments.product) {
        fields.product = ProductId(*arguments.product);
    }
    if (arguments.minWindows) {
        WindowsVersion ignored;
        if (!ParseWindowsVersion(*arguments.minWindows, ignored)) {
            Fail("--min-windows " + *arguments.minWindows +
                 " is not a Windows version major.minor.build such as 10.0.17763");
        }
        fields.minWindows = *arguments.minWindows;
    }
    // Every tag is checked before any file is read: a usage error first.
    std::vector<std::string> tags;
    for (const auto& [tag, file] : arguments.notesFor) {
        const std::optional<std::string> canonical = hovrel::language::CanonicalNotesTag(tag);
        if (!canonical) {
            Fail("--notes-for " + tag +
                 " is not a language tag such as de, pt-BR, zh-Hant or es-419");
        }
        for (const std::string& earlier : tags) {
            if (earlier == *canonical) {
                Fail("--notes-for " + *canonical + " given twice");
            }
        }
        tags.push_back(*canonical);
    }
    if (arguments.notes) {
        fields.notes = ReadNotes("--notes", *arguments.notes);
    }
    for (std::size_t i = 0; i < tags.size(); ++i) {
        fields.notesByLanguage.emplace_back(
            tags[i], ReadNotes("--notes-for " + tags[i], arguments.notesFor[i].second));
    }
    const FileDigest digest = HashFile(installer);
    fields.version = version;
    fields.url = url;
    fields.sha256 = digest.sha256;
    fields.size = digest.size;
    fields.rollout = static_cast<int>(rollout);
    fields.mandatory = arguments.mandatory;
    const std::string text = ManifestText(fields);
    if (text.size() > hovrel::common::kManifestMaxBytes) {
        Fail("the manifest would be " + std::to_string(text.size()) + " bytes, more than the " +
             std::to_string(hovrel::common::kManifestMaxBytes) +
             " hovrel-update reads; shorten the notes");
    }
    WriteFile(out, text);
    std::printf("Wrote %s: version %s, %llu bytes, SHA-256 %s\n", out.c_str(), version.c_str(),
                static_cast<unsigned long long>(digest.size), digest.sha256.c_str());
    return ExitOk;
}

} // namespace hovrel::publish
