#include "manifest_authenticity.h"

#include "manifest_terms.h"
#include "signature_check.h"
#include "signature_url.h"
#include "utf8.h"

#include <windows.h>

#include <string>
#include <vector>

namespace hovrel::windows {

using namespace hovrel::road;

namespace {

using namespace hovrel::authenticity;

std::int64_t SecondsSinceEpoch() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const std::uint64_t ticks = (std::uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime;
    return static_cast<std::int64_t>((ticks - 116444736000000000ULL) / 10000000ULL);
}

int Refuse(RoadObserver& observer, const std::string& line) {
    return Report(observer, Failure(ExitRefused, "Refused: " + line));
}

// --signature-url, or ".sig" after the manifest's path.
// The manifest's bytes into body: ExitOk, or the exit code of a stop or a
// failure already reported.
int FetchManifestBytes(const Options& options, NetworkRun& network, RoadObserver& observer,
                       std::string& body) {
    HV_Result result = HV_Ok;
    switch (network.Fetch(options.manifestUrl, "manifest", body, result)) {
    case Fetched::Ok:
        return ExitOk;
    case Fetched::Stopped:
        return ExitCancelled;
    case Fetched::Failed:
        break;
    }
    return Report(observer, StepFailure("Cannot fetch the manifest", Step::Fetch, result));
}

bool SignatureAddress(const Options& options, const std::string& manifestUrl, std::wstring& address,
                      std::string& text) {
    if (!options.signatureUrl.empty()) {
        address = options.signatureUrl;
        return common::WideToUtf8(address, text);
    }
    text = SignatureUrl(manifestUrl);
    return common::Utf8ToWide(text, address);
}

// With keys: the signature must verify with one of them. A cache may for a
// while hand out a manifest and a signature of different releases, so a
// pair that does not match is fetched once more before it is refused.
int Authenticate(const Options& options, const std::string& manifestUrl, NetworkRun& network,
                 RoadObserver& observer, std::string& body, const std::vector<TrustedKey>& keys,
                 std::string& signature) {
    std::wstring signatureUrl;
    std::string signatureUrlText;
    if (!SignatureAddress(options, manifestUrl, signatureUrl, signatureUrlText)) {
        return Report(observer, UsageFailure("--signature-url is not valid text"));
    }
    for (int pair = 1;; ++pair) {
        HV_Result result = HV_Ok;
        switch (network.Fetch(signatureUrl, "signature", signature, result)) {
        case Fetched::Ok:
            break;
        case Fetched::Stopped:
            return ExitCancelled;
        case Fetched::Failed:
            return Refuse(observer, "no signature at " + signatureUrlText + " (" +
                                        HV_ResultText(result) +
                                        "); the publisher must serve it next to the manifest");
        }
        std::size_t index = 0;
        switch (VerifyManifestSignature(body, signature, keys, index)) {
        case SignatureVerdict::Verified:
            observer.Note("Signature verified with " + keys[index].source + ".");
            return ExitOk;
        case SignatureVerdict::Malformed:
            return Refuse(observer, "the signature at " + signatureUrlText +
                                        " is not a DER ECDSA P-256 signature; tell the publisher");
        case SignatureVerdict::NotVerified:
            if (pair == 1) {
                observer.Note("The manifest and its signature do not match; fetching both once "
                              "more, in case a cache still had an older one.");
                const int fetched = FetchManifestBytes(options, network, observer, body);
                if (fetched != ExitOk) {
                    return fetched;
                }
                continue;
            }
            return Refuse(
                observer,
                "the manifest is not signed by a trusted key (" + std::to_string(keys.size()) +
                    " tried): it was changed, or signed by a key not given with --public-key");
        case SignatureVerdict::SystemError:
            break;
        }
        return Refuse(observer,
                      "Windows could not check the signature (CNG ECDSA P-256 unavailable)");
    }
}

// Without keys nothing proves who wrote the manifest: a check says so, and
// a command that downloads needs the user's explicit --allow-unsigned.
int AllowUnauthenticated(const Options& options, RoadObserver& observer) {
    if (options.command == Command::Check) {
        observer.Noted({"Not authenticated: no --public-key given, so the manifest's origin is "
                        "not checked.",
                        "warning.not.authenticated"});
        return ExitOk;
    }
    if (!options.allowUnsigned) {
        return Refuse(observer,
                      "no --public-key given, so the manifest cannot be authenticated; give the "
                      "publisher's key (or --allow-unsigned to accept any manifest)");
    }
    observer.Warned({"Warning: --allow-unsigned: the manifest is not authenticated; whoever can "
                     "change it chooses what is installed.",
                     "warning.allow.unsigned"});
    return ExitOk;
}

// What ntdll reports, which no compatibility shim lowers the way it does
// GetVersionEx's answer.
bool RunningWindows(WindowsVersion& version) {
    using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const auto rtlGetVersion =
        ntdll == nullptr ? nullptr
                         : reinterpret_cast<RtlGetVersionFunction>(
                               reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")));
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (rtlGetVersion == nullptr || rtlGetVersion(&info) != 0) {
        return false;
    }
    version = WindowsVersion{info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber};
    return true;
}

int CheckMinWindows(RoadObserver& observer, const HV_Manifest& manifest,
                    const WindowsVersion& needed, RoadManifest& accepted) {
    WindowsVersion running;
    if (!RunningWindows(running)) {
        return Report(observer, Failure(ExitManifest,
                                        "Cannot read this Windows version (RtlGetVersion), which "
                                        "the manifest's \"min_windows\" needs.",
                                        "Tell the publisher."));
    }
    if (CompareWindowsVersion(running, needed) < 0) {
        const std::string neededText = "Windows " + FormatWindowsVersion(needed);
        const std::string runningText = "Windows " + FormatWindowsVersion(running);
        accepted.windowsTooOld = {std::string(manifest.version) + " needs " + neededText +
                                      " or later; this is " + FormatWindowsVersion(running),
                                  "uptodate.newer.windows",
                                  {manifest.version, FormatWindowsVersion(needed), runningText}};
    }
    return ExitOk;
}

Notice WarningNotice(const TermsWarning& warning) {
    switch (warning.kind) {
    case TermsWarning::Kind::NoSize:
        return {warning.line, "warning.no.size"};
    case TermsWarning::Kind::NoExpiry:
        return {warning.line, "warning.no.expiry"};
    case TermsWarning::Kind::ProductNotGiven:
        break;
    }
    return {warning.line, "warning.product", {warning.product}};
}

int CheckTerms(const Options& options, RoadObserver& observer, const std::string& body,
               bool authenticated, bool staged, RoadManifest& accepted) {
    const HV_Manifest& manifest = accepted.fields;
    TermsRequest request;
    // A staged manifest was fresh when fetched; judged at the epoch, its
    // expiry has not passed.
    request.now = staged ? 0 : SecondsSinceEpoch();
    request.authenticated = authenticated;
    request.requireExpiry = options.requireExpiry;
    request.downloads = options.command != Command::Check;
    if (!common::WideToUtf8(options.product, request.product)) {
        return Report(observer, UsageFailure("--product is not valid text"));
    }
    std::string installed;
    if (options.command == Command::Install && !options.installedVersion.empty()) {
        std::int32_t order = 0;
        if (!common::WideToUtf8(options.installedVersion, installed) ||
            HV_CompareVersion(manifest.version, installed.c_str(), &order) != HV_Ok) {
            return Report(observer, UsageFailure("cannot compare the manifest's version " +
                                                 std::string(manifest.version) +
                                                 " with --installed; check --installed"));
        }
        request.orderAgainstInstalled = order;
    }
    // The library reads the manifest up to its first NUL; so do the terms.
    const TermsDecision decision = CheckManifestTerms(body.c_str(), request);
    if (decision.verdict == TermsVerdict::NotNewer) {
        return Refuse(observer, "version " + std::string(manifest.version) +
                                    " is not newer than the " + "installed " + installed +
                                    "; a rollback is never installed");
    }
    if (IsMalformedTerm(decision.verdict)) {
        return Report(observer,
                      Failure(ExitManifest, "Cannot use the manifest: " + decision.reason));
    }
    if (decision.verdict != TermsVerdict::Accepted) {
        return Refuse(observer, decision.reason);
    }
    for (const TermsWarning& warning : decision.warnings) {
        accepted.warnings.push_back(WarningNotice(warning));
        observer.Warned(accepted.warnings.back());
    }
    return decision.minWindows ? CheckMinWindows(observer, manifest, *decision.minWindows, accepted)
                               : ExitOk;
}

// Parsed, within its terms, its bytes kept for a stage.
int AcceptManifest(const Options& options, RoadObserver& observer, std::string body,
                   std::string signature, bool authenticated, bool staged, RoadManifest& accepted) {
    HV_Manifest& manifest = accepted.fields;
    const HV_Result result = HV_ParseManifest(body.c_str(), &manifest);
    if (result != HV_Ok) {
        return Report(observer, StepFailure("Cannot read the manifest", Step::Parse, result));
    }
    const int code = CheckTerms(options, observer, body, authenticated, staged, accepted);
    if (code != ExitOk) {
        return code;
    }
    const ManifestDisplay display = ReadManifestDisplay(body.c_str(), options.notesLanguages);
    accepted.product = display.product;
    accepted.notes = display.notes;
    accepted.bytes = std::move(body);
    accepted.signature = std::move(signature);
    return ExitOk;
}

int LoadKeys(const Options& options, RoadObserver& observer, std::vector<TrustedKey>& keys) {
    common::Result<std::vector<TrustedKey>> loaded = LoadTrustedKeys(options.publicKeys);
    if (!loaded) {
        return Report(observer, UsageFailure(loaded.reason()));
    }
    keys = std::move(loaded).value();
    return keys.empty() ? AllowUnauthenticated(options, observer) : ExitOk;
}

} // namespace

RoadFailure StepFailure(const char* what, Step step, HV_Result result) {
    RoadFailure failure;
    failure.exitCode = ExitCodeFor(step, result);
    failure.line = std::string(what) + ": " + HV_ResultText(result);
    failure.advice = AdviceFor(step, result);
    return failure;
}

int FetchAuthenticManifest(const Options& options, NetworkRun& network, RoadObserver& observer,
                           RoadManifest& accepted) {
    std::vector<TrustedKey> keys;
    int code = LoadKeys(options, observer, keys);
    if (code != ExitOk) {
        return code;
    }
    std::string manifestUrl;
    if (!common::WideToUtf8(options.manifestUrl, manifestUrl)) {
        return Report(observer, UsageFailure("--manifest is not valid text"));
    }
    observer.Checking(manifestUrl);
    std::string body;
    code = FetchManifestBytes(options, network, observer, body);
    if (code != ExitOk) {
        return code;
    }
    std::string signature;
    code = keys.empty()
               ? ExitOk
               : Authenticate(options, manifestUrl, network, observer, body, keys, signature);
    if (code != ExitOk) {
        return code;
    }
    return AcceptManifest(options, observer, std::move(body), std::move(signature), !keys.empty(),
                          false, accepted);
}

int AcceptStagedManifest(const Options& options, RoadObserver& observer, std::string body,
                         std::string signature, RoadManifest& accepted) {
    std::vector<TrustedKey> keys;
    const int code = LoadKeys(options, observer, keys);
    if (code != ExitOk) {
        return code;
    }
    if (!keys.empty()) {
        std::size_t index = 0;
        if (VerifyManifestSignature(body, signature, keys, index) != SignatureVerdict::Verified) {
            return Refuse(observer, "the staged manifest is not signed by a key trusted now (" +
                                        std::to_string(keys.size()) + " tried)");
        }
        observer.Note("Staged manifest's signature verified with " + keys[index].source + ".");
    }
    return AcceptManifest(options, observer, std::move(body), std::move(signature), !keys.empty(),
                          true, accepted);
}

} // namespace hovrel::windows
