#include "manifest_terms.h"

#include "manifest/manifest_scanner.h"
#include "rfc3339.h"

namespace hovrel::authenticity {

namespace {

using hovrel::ManifestScanner;

bool HasKey(const std::string& manifest, const char* key) {
    return ManifestScanner::FindTopLevelValue(manifest, key) != ManifestScanner::kNotFound;
}

TermsDecision Refuse(TermsVerdict verdict, std::string reason) {
    TermsDecision decision;
    decision.verdict = verdict;
    decision.reason = std::move(reason);
    return decision;
}

enum class Presence { Absent, Valid, Malformed };

// The bare JSON value at key (a number or literal): up to the next
// separator. Empty when the key is absent.
std::optional<std::string> BareValue(const std::string& manifest, const char* key) {
    const std::uint64_t position = ManifestScanner::FindTopLevelValue(manifest, key);
    if (position == ManifestScanner::kNotFound) {
        return std::nullopt;
    }
    const std::size_t end = manifest.find_first_of(" \t\r\n,}]", position);
    return manifest.substr(position, end == std::string::npos ? std::string::npos : end - position);
}

bool IsDecimal(const std::string& text, std::size_t maxDigits) {
    return !text.empty() && text.size() <= maxDigits &&
           text.find_first_not_of("0123456789") == std::string::npos &&
           (text.size() == 1 || text[0] != '0');
}

// A decimal byte count the library reads whole: 1 to 2^64-1 bytes. The
// library reads 0 as an unknown size, so it caps nothing either.
Presence ReadSize(const std::string& manifest) {
    const std::optional<std::string> size = BareValue(manifest, "size");
    if (!size || *size == "0") {
        return Presence::Absent;
    }
    if (!IsDecimal(*size, 20) || (size->size() == 20 && *size > "18446744073709551615")) {
        return Presence::Malformed;
    }
    return Presence::Valid;
}

Presence ReadRollout(const std::string& manifest) {
    const std::optional<std::string> rollout = BareValue(manifest, "rollout");
    if (!rollout) {
        return Presence::Absent;
    }
    return IsDecimal(*rollout, 3) && std::stoi(*rollout) <= 100 ? Presence::Valid
                                                                : Presence::Malformed;
}

Presence ReadMandatory(const std::string& manifest) {
    const std::optional<std::string> mandatory = BareValue(manifest, "mandatory");
    if (!mandatory) {
        return Presence::Absent;
    }
    return *mandatory == "true" || *mandatory == "false" ? Presence::Valid : Presence::Malformed;
}

bool ParseNumber(const std::string& text, std::uint32_t& value) {
    if (!IsDecimal(text, 10)) {
        return false;
    }
    const unsigned long long parsed = std::stoull(text);
    if (parsed > UINT32_MAX) {
        return false;
    }
    value = static_cast<std::uint32_t>(parsed);
    return true;
}

} // namespace

bool ParseWindowsVersion(const std::string& text, WindowsVersion& version) {
    const std::size_t first = text.find('.');
    const std::size_t second = first == std::string::npos ? first : text.find('.', first + 1);
    if (second == std::string::npos) {
        return false;
    }
    WindowsVersion parsed;
    if (!ParseNumber(text.substr(0, first), parsed.major) ||
        !ParseNumber(text.substr(first + 1, second - first - 1), parsed.minor) ||
        !ParseNumber(text.substr(second + 1), parsed.build)) {
        return false;
    }
    version = parsed;
    return true;
}

std::string FormatWindowsVersion(const WindowsVersion& version) {
    return std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
           std::to_string(version.build);
}

int CompareWindowsVersion(const WindowsVersion& a, const WindowsVersion& b) {
    if (a.major != b.major) {
        return a.major < b.major ? -1 : 1;
    }
    if (a.minor != b.minor) {
        return a.minor < b.minor ? -1 : 1;
    }
    if (a.build != b.build) {
        return a.build < b.build ? -1 : 1;
    }
    return 0;
}

bool IsMalformedTerm(TermsVerdict verdict) {
    switch (verdict) {
    case TermsVerdict::NoSize:
    case TermsVerdict::MalformedSize:
    case TermsVerdict::MalformedRollout:
    case TermsVerdict::MalformedMandatory:
    case TermsVerdict::MalformedMinWindows:
        return true;
    default:
        return false;
    }
}

TermsDecision CheckManifestTerms(const std::string& manifest, const TermsRequest& request) {
    TermsDecision accepted;
    switch (ReadSize(manifest)) {
    case Presence::Absent:
        if (request.downloads) {
            return Refuse(TermsVerdict::NoSize,
                          "the manifest has no \"size\", so the download could not be capped; "
                          "the publisher must add the package's size in bytes");
        }
        accepted.warnings.push_back({TermsWarning::Kind::NoSize,
                                     "Warning: the manifest has no \"size\"; nothing can be "
                                     "downloaded from it until the publisher adds one.",
                                     ""});
        break;
    case Presence::Malformed:
        return Refuse(TermsVerdict::MalformedSize,
                      "the manifest's \"size\" is not a whole number of bytes; tell the "
                      "publisher");
    case Presence::Valid:
        break;
    }
    if (ReadRollout(manifest) == Presence::Malformed) {
        return Refuse(TermsVerdict::MalformedRollout,
                      "the manifest's \"rollout\" is not a whole number from 0 to 100; tell the "
                      "publisher");
    }
    if (ReadMandatory(manifest) == Presence::Malformed) {
        return Refuse(TermsVerdict::MalformedMandatory,
                      "the manifest's \"mandatory\" is not true or false; tell the publisher");
    }
    if (HasKey(manifest, "min_windows")) {
        std::string text;
        WindowsVersion version;
        if (!ManifestScanner::ReadStringValue(manifest, "min_windows", text) ||
            !ParseWindowsVersion(text, version)) {
            return Refuse(TermsVerdict::MalformedMinWindows,
                          "the manifest's \"min_windows\" is not a Windows version such as "
                          "10.0.17763; tell the publisher");
        }
        accepted.minWindows = version;
    }
    if (!HasKey(manifest, "expires")) {
        if (request.requireExpiry) {
            return Refuse(TermsVerdict::NoExpiry,
                          "the manifest has no \"expires\" and --require-expiry was given; the "
                          "publisher must sign it with an expiry");
        }
        if (request.authenticated) {
            accepted.warnings.push_back(
                {TermsWarning::Kind::NoExpiry,
                 "Warning: the signed manifest has no \"expires\", so an old copy can be "
                 "replayed forever; ask the publisher to set one.",
                 ""});
        }
    } else {
        std::string expires;
        std::int64_t until = 0;
        if (!ManifestScanner::ReadStringValue(manifest, "expires", expires) ||
            !ParseRfc3339Utc(expires, until)) {
            return Refuse(TermsVerdict::MalformedExpiry,
                          "the manifest's \"expires\" is not an RFC 3339 UTC time such as "
                          "2027-01-31T00:00:00Z");
        }
        if (request.now >= until) {
            return Refuse(TermsVerdict::Expired, "the manifest expired at " + expires + " (now " +
                                                     FormatRfc3339Utc(request.now) +
                                                     "); the publisher has not renewed it");
        }
    }
    if (request.product.empty()) {
        std::string product;
        if (request.authenticated && HasKey(manifest, "product")) {
            ManifestScanner::ReadStringValue(manifest, "product", product);
            accepted.warnings.push_back({TermsWarning::Kind::ProductNotGiven,
                                         "Warning: the manifest is for product \"" + product +
                                             "\" but no --product was given; give --product " +
                                             product +
                                             " so that another product's manifest is refused.",
                                         product});
        }
    } else {
        std::string product;
        if (!HasKey(manifest, "product")) {
            return Refuse(TermsVerdict::NoProduct,
                          "the manifest names no product; this host wants " + request.product);
        }
        if (!ManifestScanner::ReadStringValue(manifest, "product", product) ||
            product != request.product) {
            return Refuse(TermsVerdict::OtherProduct, "the manifest is for product \"" + product +
                                                          "\", not " + request.product);
        }
    }
    if (request.orderAgainstInstalled && *request.orderAgainstInstalled <= 0) {
        return Refuse(TermsVerdict::NotNewer,
                      "the manifest's version is not newer than the installed one (a rollback)");
    }
    return accepted;
}

ManifestDisplay ReadManifestDisplay(const std::string& manifest,
                                    const std::vector<std::string>& languages) {
    ManifestDisplay display;
    if (!ManifestScanner::ReadStringValue(manifest, "product", display.product)) {
        display.product.clear();
    }
    for (const std::string& language : languages) {
        const std::string key = "notes." + language;
        if (ManifestScanner::ReadStringValue(manifest, key.c_str(), display.notes)) {
            return display;
        }
        display.notes.clear();
    }
    if (!ManifestScanner::ReadStringValue(manifest, "notes", display.notes)) {
        display.notes.clear();
    }
    return display;
}

} // namespace hovrel::authenticity
