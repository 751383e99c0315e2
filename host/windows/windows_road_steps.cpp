#include "windows_road_steps.h"

#include "install_steps.h"
#include "manifest_authenticity.h"
#include "package_download.h"
#include "package_file.h"
#include "package_hold.h"
#include "policy.h"
#include "relaunch.h"
#include "stage.h"
#include "utf8.h"
#include "windows_support.h"

namespace hovrel::windows {

using namespace hovrel::road;

int WindowsRoadSteps::FetchManifest(RoadManifest& manifest) {
    if (options_.command == Command::Apply) {
        return ReadStagedManifest(manifest);
    }
    return FetchAuthenticManifest(options_, network_, observer_, manifest);
}

int WindowsRoadSteps::ReadStagedManifest(RoadManifest& manifest) {
    std::string bytes;
    std::string signature;
    if (!stage_.Read(bytes, signature)) {
        return Report(observer_,
                      Failure(ExitRefused, "Refused: the staged manifest cannot be read.",
                              kStageDeletedAdvice));
    }
    return AcceptStagedManifest(options_, observer_, std::move(bytes), std::move(signature),
                                manifest);
}

int WindowsRoadSteps::Evaluate(const RoadManifest& accepted, VerdictReport& report) {
    const HV_Manifest& manifest = accepted.fields;
    if (!common::WideToUtf8(options_.installedVersion, report.installed)) {
        return Report(observer_, UsageFailure("--installed is not valid text"));
    }
    std::int32_t order = 0;
    const HV_Result result = HV_CompareVersion(manifest.version, report.installed.c_str(), &order);
    if (result != HV_Ok) {
        return Report(observer_, StepFailure("Cannot compare the versions", Step::Parse, result));
    }
    report.version = manifest.version;
    report.rollout = manifest.rollout;
    report.mandatory = manifest.mandatory != 0;
    report.bucket = 0;
    if (!accepted.windowsTooOld.line.empty()) {
        report.verdict = Verdict::NeedsNewerWindows;
        report.windowsTooOld = accepted.windowsTooOld;
        return ExitOk;
    }
    if (order > 0 && !manifest.mandatory) {
        const std::wstring id = options_.machineId.empty() ? ComputerName() : options_.machineId;
        std::string machineId;
        if (id.empty() || !common::WideToUtf8(id, machineId)) {
            return Report(observer_,
                          UsageFailure("cannot read the computer name; give --machine-id"));
        }
        if (!MachineBucket(machineId, manifest.version, report.bucket)) {
            return Report(observer_, UsageFailure("SHA-256 for the rollout bucket failed"));
        }
    }
    report.verdict =
        DecideUpdate(order, IsInRollout(report.bucket, manifest.rollout, report.mandatory));
    return ExitOk;
}

int WindowsRoadSteps::PreparePackagePath(const RoadManifest& manifest, std::wstring& path) {
    if (options_.command == Command::Apply) {
        path = stage_.PackagePath();
        if (path.empty()) {
            return Report(observer_, Failure(ExitRefused, "Refused: the stage holds no package.",
                                             kStageDeletedAdvice));
        }
        return ExitOk;
    }
    if (options_.background) {
        const common::Status begun = stage_.BeginNext(path);
        if (!begun) {
            return Report(observer_, Failure(ExitDownload, "Cannot stage: " + begun.reason() + ".",
                                             "Check that folder, then run the update again."));
        }
        return ExitOk;
    }
    return ChoosePackagePath(options_, observer_, manifest.fields, folder_, path);
}

int WindowsRoadSteps::Download(const RoadManifest& accepted, const std::wstring& path) {
    const HV_Manifest& manifest = accepted.fields;
    std::wstring url;
    if (!common::Utf8ToWide(manifest.url, url)) {
        return Report(observer_,
                      Failure(ExitManifest,
                              "Cannot download: the manifest's package URL is not valid UTF-8.",
                              "Tell the publisher."));
    }
    std::string pathText;
    const int code = PathText(path, pathText);
    if (code != ExitOk) {
        return code;
    }
    observer_.DownloadStarted(manifest.url, pathText);
    // What was at the path stays until the download verified.
    const std::wstring partial = PartialDownloadPath(path);
    const DownloadOutcome outcome =
        DownloadPackage(options_, network_, observer_, cancel_, url, partial, manifest);
    const HV_Result result = outcome.result;
    observer_.DownloadEnded();
    if (result == HV_Ok) {
        observer_.Note(std::string("Verified: SHA-256 ") + manifest.sha256);
        return PlaceDownload(observer_, partial, path, options_.outPath.empty(), package_);
    }
    if (outcome.stop == DownloadStop::TooSlow) {
        return Report(observer_,
                      Failure(ExitDownload,
                              "Download stopped: slower than " + std::to_string(options_.minRate) +
                                  " bytes a second for " +
                                  std::to_string(options_.minRateWindowSeconds) +
                                  " s on end (--min-rate).",
                              "The partial file has been deleted; try again later, or lower "
                              "--min-rate (0 turns the floor off)."));
    }
    if (outcome.stop == DownloadStop::TimedOut) {
        return Report(
            observer_,
            Failure(ExitCodeFor(Step::Download, result),
                    "Download timed out after " + std::to_string(options_.timeoutSeconds) +
                        " s: " + HV_ResultText(result),
                    "The partial file has been deleted; allow more time with --timeout."));
    }
    return Report(observer_, StepFailure("Download failed", Step::Download, result));
}

// From before verification until the installer has run, the package stays
// open with only reading shared, so what was verified is what runs.
// The path is made absolute first: the file verified is the file started.
int WindowsRoadSteps::VerifyPackage(const RoadManifest& accepted, const std::wstring& path) {
    if (package_.empty()) {
        const common::Result<std::wstring> absolute = AbsolutePath(path);
        if (!absolute) {
            return Report(observer_, UsageFailure(absolute.reason()));
        }
        package_ = absolute.value();
    }
    std::string pathText;
    int code = PathText(package_, pathText);
    if (code != ExitOk) {
        return code;
    }
    held_ = HoldPackage(package_);
    if (!held_) {
        return Report(observer_,
                      StepFailure("The package does not verify", Step::Verify, HV_FileIo));
    }
    code = CheckSize(accepted.fields);
    if (code != ExitOk) {
        return code;
    }
    const HV_Result result = HashMatches(package_, accepted.fields.sha256);
    if (result != HV_Ok) {
        return Report(observer_, StepFailure("The package does not verify", Step::Verify, result));
    }
    observer_.Note("Package " + pathText + " matches the manifest.");
    sha256_ = accepted.fields.sha256;
    code = CheckPackageKind(observer_, held_.get(), kind_);
    if (code != ExitOk) {
        return code;
    }
    return CheckPackagePublisher(options_, observer_, held_.get(), package_);
}

// The download checked the size as it came; a package already on disk
// is checked here.
int WindowsRoadSteps::CheckSize(const HV_Manifest& manifest) {
    LARGE_INTEGER size = {};
    if (manifest.size == 0 || (GetFileSizeEx(held_.get(), &size) &&
                               static_cast<std::uint64_t>(size.QuadPart) == manifest.size)) {
        return ExitOk;
    }
    return Report(observer_,
                  StepFailure("The package does not verify", Step::Verify, HV_SizeMismatch));
}

int WindowsRoadSteps::PathText(const std::wstring& path, std::string& text) {
    if (common::WideToUtf8(path, text)) {
        return ExitOk;
    }
    return Report(observer_, UsageFailure("the package path is not valid text; check --out"));
}

int WindowsRoadSteps::WaitForApp() {
    return windows::WaitForApp(options_, observer_, cancel_);
}

// The package verified and held, whatever path the road passes.
int WindowsRoadSteps::RunInstaller(const std::wstring&) {
    return windows::RunInstaller(options_, observer_, package_, held_.get(), kind_, sha256_.c_str(),
                                 keptLog_);
}

void WindowsRoadSteps::ReleasePackage() {
    held_.reset();
}

void WindowsRoadSteps::KeepPackageFolder() {
    folder_.Keep();
}

void WindowsRoadSteps::RemovePackageFolder() {
    if (!options_.keep) {
        folder_.Remove(keptLog_);
    }
}

bool WindowsRoadSteps::FindStage(const std::string& version, std::optional<std::int32_t>& order) {
    order.reset();
    if (!stage_.Exists()) {
        return false;
    }
    const std::string staged = stage_.Version();
    std::int32_t compared = 0;
    if (!version.empty() && !staged.empty() &&
        HV_CompareVersion(version.c_str(), staged.c_str(), &compared) == HV_Ok) {
        order = compared;
    }
    return true;
}

int WindowsRoadSteps::StagePackage(const RoadManifest& manifest, std::string& folder) {
    const common::Status committed = stage_.CommitNext(manifest.bytes, manifest.signature);
    if (!committed) {
        return Report(observer_, Failure(ExitDownload, "Cannot stage: " + committed.reason() + ".",
                                         "Check that folder, then run the update again."));
    }
    if (!common::WideToUtf8(stage_.Folder(), folder)) {
        folder = "the stage's folder";
    }
    return ExitOk;
}

void WindowsRoadSteps::RemoveStage() {
    stage_.Remove();
}

void WindowsRoadSteps::Relaunch() {
    if (options_.relaunchPath.empty()) {
        return;
    }
    std::string program;
    common::WideToUtf8(options_.relaunchPath, program);
    const common::Status started = StartAsUser(options_.relaunchPath, options_.relaunchArgs);
    if (started) {
        observer_.Note("Started " + program + ".");
    } else {
        observer_.Warned({"Warning: cannot start " + program + " again: " + started.reason() +
                              "; start it yourself.",
                          "warning.relaunch.failed"});
    }
}

} // namespace hovrel::windows
