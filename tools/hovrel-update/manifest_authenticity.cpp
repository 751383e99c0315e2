#include "manifest_authenticity.h"

#include "manifest_terms.h"
#include "signature_check.h"
#include "windows_support.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace hovrel_update {

namespace {

using namespace hovrel_authenticity;

// The library's cap on a manifest body; a signature is far smaller.
constexpr std::int32_t kBodyCap = 65536;

std::string Utf8(const std::wstring& wide) {
    std::string text;
    return WideToUtf8(wide, text) ? text : std::string("?");
}

bool Fetch(const std::wstring& url, std::string& body, HV_Result& result) {
    std::vector<char> buffer(kBodyCap + 1);
    std::int32_t length = 0;
    result = HV_FetchManifest(url.c_str(), buffer.data(), static_cast<std::int32_t>(buffer.size()),
                              &length);
    if (result != HV_Ok) {
        return false;
    }
    body.assign(buffer.data(), static_cast<std::size_t>(length));
    return true;
}

std::int64_t SecondsSinceEpoch() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const std::uint64_t ticks = (std::uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime;
    return static_cast<std::int64_t>((ticks - 116444736000000000ULL) / 10000000ULL);
}

int Refuse(const std::string& line) {
    std::fprintf(stderr, "Refused: %s\n", line.c_str());
    return ExitRefused;
}

// With keys: the .sig next to the manifest must verify with one of them.
int Authenticate(const Options& options, const std::string& body,
                 const std::vector<TrustedKey>& keys) {
    const std::wstring signatureUrl = options.manifestUrl + L".sig";
    std::string signature;
    HV_Result result = HV_Ok;
    if (!Fetch(signatureUrl, signature, result)) {
        return Refuse("no signature at " + Utf8(signatureUrl) + " (" + HV_ResultText(result) +
                      "); the publisher must serve it next to the manifest");
    }
    std::size_t index = 0;
    switch (VerifyManifestSignature(body, signature, keys, index)) {
    case SignatureVerdict::Verified:
        std::printf("Signature verified with %s.\n", keys[index].source.c_str());
        return ExitOk;
    case SignatureVerdict::Malformed:
        return Refuse("the signature at " + Utf8(signatureUrl) +
                      " is not a DER ECDSA P-256 signature; tell the publisher");
    case SignatureVerdict::NotVerified:
        return Refuse("the manifest is not signed by a trusted key (" +
                      std::to_string(keys.size()) +
                      " tried): it was changed, or signed by a key not given with --public-key");
    case SignatureVerdict::SystemError:
        break;
    }
    return Refuse("Windows could not check the signature (CNG ECDSA P-256 unavailable)");
}

// Without keys nothing proves who wrote the manifest: a check says so, and
// a command that downloads needs the user's explicit --allow-unsigned.
int AllowUnauthenticated(const Options& options) {
    if (options.command == Command::Check) {
        std::printf("Not authenticated: no --public-key given, so the manifest's origin is "
                    "not checked.\n");
        return ExitOk;
    }
    if (!options.allowUnsigned) {
        return Refuse("no --public-key given, so the manifest cannot be authenticated; give the "
                      "publisher's key (or --allow-unsigned to accept any manifest)");
    }
    std::fprintf(stderr, "Warning: --allow-unsigned: the manifest is not authenticated; whoever "
                         "can change it chooses what is installed.\n");
    return ExitOk;
}

int CheckTerms(const Options& options, const std::string& body, const HV_Manifest& manifest) {
    TermsRequest request;
    request.now = SecondsSinceEpoch();
    if (!WideToUtf8(options.product, request.product)) {
        std::fprintf(stderr, "hovrel-update: --product is not valid text\n");
        return ExitUsage;
    }
    std::string installed;
    if (options.command == Command::Install && !options.installedVersion.empty()) {
        std::int32_t order = 0;
        if (!WideToUtf8(options.installedVersion, installed) ||
            HV_CompareVersion(manifest.version, installed.c_str(), &order) != HV_Ok) {
            std::fprintf(stderr,
                         "hovrel-update: cannot compare the manifest's version %s with "
                         "--installed; check --installed\n",
                         manifest.version);
            return ExitUsage;
        }
        request.orderAgainstInstalled = order;
    }
    // The library reads the manifest up to its first NUL; so do the terms.
    const TermsDecision decision = CheckManifestTerms(body.c_str(), request);
    if (decision.verdict == TermsVerdict::NotNewer) {
        return Refuse("version " + std::string(manifest.version) + " is not newer than the " +
                      "installed " + installed + "; a rollback is never installed");
    }
    return decision.verdict == TermsVerdict::Accepted ? ExitOk : Refuse(decision.reason);
}

} // namespace

void PrintFailure(const char* what, Step step, HV_Result result) {
    std::fprintf(stderr, "%s: %s\n%s\n", what, HV_ResultText(result), AdviceFor(step, result));
}

int FetchAuthenticManifest(const Options& options, HV_Manifest& manifest) {
    std::vector<TrustedKey> keys;
    std::string error;
    if (!LoadTrustedKeys(options.publicKeys, keys, error)) {
        std::fprintf(stderr, "hovrel-update: %s\n", error.c_str());
        return ExitUsage;
    }
    int code = keys.empty() ? AllowUnauthenticated(options) : ExitOk;
    if (code != ExitOk) {
        return code;
    }
    std::printf("Fetching manifest %s\n", Utf8(options.manifestUrl).c_str());
    std::string body;
    HV_Result result = HV_Ok;
    if (!Fetch(options.manifestUrl, body, result)) {
        PrintFailure("Cannot fetch the manifest", Step::Fetch, result);
        return ExitCodeFor(Step::Fetch, result);
    }
    code = keys.empty() ? ExitOk : Authenticate(options, body, keys);
    if (code != ExitOk) {
        return code;
    }
    result = HV_ParseManifest(body.c_str(), &manifest);
    if (result != HV_Ok) {
        PrintFailure("Cannot read the manifest", Step::Parse, result);
        return ExitCodeFor(Step::Parse, result);
    }
    code = CheckTerms(options, body, manifest);
    if (code != ExitOk) {
        return code;
    }
    std::printf("Manifest: version %s, %llu bytes, rollout %d%%, %s\n", manifest.version,
                static_cast<unsigned long long>(manifest.size), manifest.rollout,
                manifest.mandatory ? "mandatory" : "not mandatory");
    return ExitOk;
}

} // namespace hovrel_update
