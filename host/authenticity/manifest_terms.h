#pragma once

// The terms a manifest sets beside the six keys the library reads: until
// when it is valid ("expires"), which product it is for ("product"), the
// oldest Windows it applies to ("min_windows"), plus the rule that a version
// not newer than the installed one is never installed. Read with the
// library's own scanner, so host and library can never see one manifest two
// ways; the library's own keys are read again strictly, because the library
// quietly keeps a default for a value it cannot read.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace hovrel::authenticity {

// A Windows version as RtlGetVersion reports it: major.minor.build.
struct WindowsVersion {
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t build = 0;
};

// Exactly three dot-separated decimal numbers, each fitting 32 bits.
bool ParseWindowsVersion(const std::string& text, WindowsVersion& version);
std::string FormatWindowsVersion(const WindowsVersion& version);
// Negative, zero or positive as a is older than, equal to or newer than b.
int CompareWindowsVersion(const WindowsVersion& a, const WindowsVersion& b);

struct TermsRequest {
    std::int64_t now = 0; // seconds since 1970-01-01T00:00:00Z
    std::string product;  // --product; empty: any manifest will do
    // HV_CompareVersion(manifest version, installed version) when about to
    // install over a known version; empty when no install follows.
    std::optional<std::int32_t> orderAgainstInstalled;
    bool authenticated = false; // the signature verified
    bool requireExpiry = false; // --require-expiry
    bool downloads = false;     // the command downloads the package
};

enum class TermsVerdict {
    Accepted,
    MalformedExpiry,
    Expired,
    NoExpiry,
    NoProduct,
    OtherProduct,
    NotNewer,
    NoSize,
    MalformedSize,
    MalformedRollout,
    MalformedMandatory,
    MalformedMinWindows,
};

// A line worth the user's attention when accepted.
struct TermsWarning {
    enum class Kind { NoSize, NoExpiry, ProductNotGiven };
    Kind kind;
    std::string line;
    std::string product; // ProductNotGiven: the manifest's product
};

struct TermsDecision {
    TermsVerdict verdict = TermsVerdict::Accepted;
    std::string reason; // one line for a refusal; empty when accepted
    // Lines worth the user's attention when accepted: no expiry, a product
    // the host was not told to expect, no size for a check.
    std::vector<TermsWarning> warnings;
    std::optional<WindowsVersion> minWindows; // "min_windows", when given
};

// manifest is the text as the library parses it (up to its first NUL).
TermsDecision CheckManifestTerms(const std::string& manifest, const TermsRequest& request);

// A refusal of the manifest's content (exit 3) rather than of its origin or
// freshness (exit 9).
bool IsMalformedTerm(TermsVerdict verdict);

// What a window shows of a manifest besides the library's fields: its
// "product" and its release notes (plain text): "notes.<tag>" for the first
// of `languages` the manifest has ("notes.pt-BR"), else "notes". Each is
// empty when absent or not a complete string.
struct ManifestDisplay {
    std::string product;
    std::string notes;
};

ManifestDisplay ReadManifestDisplay(const std::string& manifest,
                                    const std::vector<std::string>& languages = {});

} // namespace hovrel::authenticity
