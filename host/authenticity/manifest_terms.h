#pragma once

// The terms a manifest sets beside the six keys the library reads: until
// when it is valid ("expires") and which product it is for ("product"), plus
// the rule that a version not newer than the installed one is never
// installed. Read with the library's own scanner, so host and library can
// never see one manifest two ways.

#include <cstdint>
#include <optional>
#include <string>

namespace hovrel::authenticity {

struct TermsRequest {
    std::int64_t now = 0; // seconds since 1970-01-01T00:00:00Z
    std::string product;  // --product; empty: any manifest will do
    // HV_CompareVersion(manifest version, installed version) when about to
    // install over a known version; empty when no install follows.
    std::optional<std::int32_t> orderAgainstInstalled;
};

enum class TermsVerdict { Accepted, MalformedExpiry, Expired, NoProduct, OtherProduct, NotNewer };

struct TermsDecision {
    TermsVerdict verdict = TermsVerdict::Accepted;
    std::string reason; // one line for a refusal; empty when accepted
};

// manifest is the text as the library parses it (up to its first NUL).
TermsDecision CheckManifestTerms(const std::string& manifest, const TermsRequest& request);

// What a window shows of a manifest besides the library's fields: its
// "product" and its release notes, "notes" (plain text). Each is empty when
// absent or not a complete string.
struct ManifestDisplay {
    std::string product;
    std::string notes;
};

ManifestDisplay ReadManifestDisplay(const std::string& manifest);

} // namespace hovrel::authenticity
