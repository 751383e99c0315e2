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
    return TermsDecision{verdict, std::move(reason)};
}

} // namespace

TermsDecision CheckManifestTerms(const std::string& manifest, const TermsRequest& request) {
    if (HasKey(manifest, "expires")) {
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
    if (!request.product.empty()) {
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
    return TermsDecision{};
}

ManifestDisplay ReadManifestDisplay(const std::string& manifest) {
    ManifestDisplay display;
    if (!ManifestScanner::ReadStringValue(manifest, "product", display.product)) {
        display.product.clear();
    }
    if (!ManifestScanner::ReadStringValue(manifest, "notes", display.notes)) {
        display.notes.clear();
    }
    return display;
}

} // namespace hovrel::authenticity
