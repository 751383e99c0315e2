#include "road.h"

#include "stage.h"
#include "utf8.h"

namespace hovrel::road {

namespace {

class Road {
  public:
    Road(const Options& options, RoadSteps& steps, RoadObserver& observer,
         const common::CancelFlag& cancel)
        : options_(options), steps_(steps), observer_(observer), cancel_(cancel) {}

    int Run() {
        switch (options_.command) {
        case Command::Check:
            return Check();
        case Command::Download:
            return Download();
        case Command::Install:
            return Install();
        case Command::Update:
            return options_.background ? StageInBackground() : Update();
        case Command::Apply:
            return Apply();
        case Command::Help:
        case Command::Status:
            break;
        }
        return ExitUsage;
    }

  private:
    // A cancel cannot interrupt hashing; the road stops after it instead.
    bool StoppedByUser(StopPoint where) {
        if (!cancel_.IsSet()) {
            return false;
        }
        observer_.Stopped(where, options_.waitPid);
        return true;
    }

    int FetchManifest(RoadManifest& manifest) {
        const int code = steps_.FetchManifest(manifest);
        if (code == ExitOk) {
            observer_.ManifestAccepted(manifest);
        }
        return code;
    }

    int FetchManifestToAct(RoadManifest& manifest) {
        const int code = FetchManifest(manifest);
        if (code != ExitOk) {
            return code;
        }
        return StoppedByUser(StopPoint::WhileFetching) ? ExitCancelled : ExitOk;
    }

    int Evaluate(const RoadManifest& manifest, VerdictReport& report) {
        const int code = steps_.Evaluate(manifest, report);
        if (code == ExitOk) {
            observer_.VerdictReached(report);
        }
        return code;
    }

    // Nothing is fetched or run for a newer Windows than this one.
    bool NeedsNewerWindows(const RoadManifest& manifest) {
        if (manifest.windowsTooOld.line.empty()) {
            return false;
        }
        VerdictReport report;
        report.verdict = Verdict::NeedsNewerWindows;
        report.version = manifest.fields.version;
        report.windowsTooOld = manifest.windowsTooOld;
        observer_.VerdictReached(report);
        return true;
    }

    int DownloadTo(const RoadManifest& manifest, std::wstring& path) {
        const int code = steps_.PreparePackagePath(manifest, path);
        return code == ExitOk ? steps_.Download(manifest, path) : code;
    }

    int InstallPackage(const RoadManifest& manifest, const std::wstring& path) {
        const int code = InstallHeldPackage(manifest, path);
        steps_.ReleasePackage();
        return code;
    }

    int InstallHeldPackage(const RoadManifest& manifest, const std::wstring& path) {
        observer_.Verifying();
        int code = steps_.VerifyPackage(manifest, path);
        if (code != ExitOk) {
            return code;
        }
        const bool asked = !options_.yes && options_.command != Command::Apply;
        if (asked && !observer_.ConfirmInstall(manifest)) {
            observer_.Stopped(StopPoint::NotConfirmed, options_.waitPid);
            return ExitCancelled;
        }
        code = steps_.WaitForApp();
        if (code != ExitOk) {
            return code;
        }
        if (StoppedByUser(StopPoint::BeforeInstaller)) {
            return ExitCancelled;
        }
        observer_.Installing();
        installerStarted_ = true;
        code = steps_.RunInstaller(path);
        if (cancel_.IsSet()) {
            observer_.Stopped(StopPoint::AfterInstaller, options_.waitPid);
        }
        return code;
    }

    int Check() {
        RoadManifest manifest;
        VerdictReport report;
        int code = FetchManifest(manifest);
        if (code == ExitOk) {
            code = Evaluate(manifest, report);
        }
        if (code == ExitOk && report.verdict == Verdict::Available) {
            code = ExitUpdateAvailable;
        }
        return code;
    }

    int Download() {
        RoadManifest manifest;
        int code = FetchManifestToAct(manifest);
        if (code != ExitOk || NeedsNewerWindows(manifest)) {
            return code;
        }
        std::wstring path;
        code = DownloadTo(manifest, path);
        if (code == ExitOk) {
            steps_.KeepPackageFolder();
        }
        return code;
    }

    int Install() {
        RoadManifest manifest;
        const int code = FetchManifestToAct(manifest);
        if (code != ExitOk || NeedsNewerWindows(manifest)) {
            return code;
        }
        return RelaunchAfter(InstallPackage(manifest, options_.outPath));
    }

    int RelaunchAfter(int code) {
        if (code == ExitOk || code == ExitRestartNeeded) {
            steps_.Relaunch();
        }
        return code;
    }

    StageReport ReportOf(StageEvent event, const std::string& version) const {
        StageReport report;
        report.event = event;
        report.version = version;
        common::WideToUtf8(options_.product, report.product);
        common::WideToUtf8(options_.installedVersion, report.installed);
        return report;
    }

    // update --background: as update, but nothing asks and nothing is
    // installed; the verified package becomes the stage.
    int StageInBackground() {
        RoadManifest manifest;
        VerdictReport report;
        int code = FetchManifestToAct(manifest);
        if (code == ExitOk) {
            code = Evaluate(manifest, report);
        }
        if (code != ExitOk || report.verdict != Verdict::Available) {
            return code;
        }
        std::optional<std::int32_t> order;
        const bool staged = steps_.FindStage(report.version, order);
        if (ChooseStage(staged, order) == StageChoice::Keep) {
            observer_.StageChanged(ReportOf(StageEvent::AlreadyStaged, report.version));
            return ExitOk;
        }
        std::wstring path;
        code = DownloadTo(manifest, path);
        if (code == ExitOk) {
            observer_.Verifying();
            code = steps_.VerifyPackage(manifest, path);
            steps_.ReleasePackage();
        }
        StageReport stage = ReportOf(StageEvent::Staged, report.version);
        if (code == ExitOk && !StoppedByUser(StopPoint::BeforeInstaller)) {
            code = steps_.StagePackage(manifest, stage.folder);
            if (code == ExitOk) {
                observer_.StageChanged(stage);
            }
        } else if (code == ExitOk) {
            code = ExitCancelled;
        }
        steps_.RemovePackageFolder();
        return code;
    }

    // apply: the stage's manifest and package verified again as if just
    // fetched, then installed without a question (the app asked already).
    int Apply() {
        std::optional<std::int32_t> unused;
        if (!steps_.FindStage(std::string(), unused)) {
            observer_.StageChanged(ReportOf(StageEvent::NothingStaged, std::string()));
            return ExitOk;
        }
        RoadManifest manifest;
        VerdictReport report;
        int code = FetchManifestToAct(manifest);
        if (code == ExitOk) {
            code = Evaluate(manifest, report);
        }
        if (code == ExitOk && report.verdict == Verdict::UpToDate) {
            steps_.RemoveStage();
            observer_.StageChanged(ReportOf(StageEvent::NoLongerNewer, report.version));
            return ExitOk;
        }
        if (code == ExitOk && report.verdict == Verdict::NeedsNewerWindows) {
            code = Report(observer_,
                          Failure(ExitRefused, "Refused: " + report.windowsTooOld.line + ".",
                                  kStageDeletedAdvice));
        }
        std::wstring path;
        if (code == ExitOk) {
            code = steps_.PreparePackagePath(manifest, path);
        }
        if (code == ExitOk) {
            code = InstallPackage(manifest, path);
        }
        if (!installerStarted_ && IsStageMismatch(code)) {
            code = ExitRefused;
        }
        if (StageStaysAfterApply(installerStarted_, code)) {
            observer_.Note("The staged update stays; the next apply installs it.");
        } else {
            steps_.RemoveStage();
        }
        return RelaunchAfter(code);
    }

    int Update() {
        RoadManifest manifest;
        VerdictReport report;
        int code = FetchManifestToAct(manifest);
        if (code == ExitOk) {
            code = Evaluate(manifest, report);
        }
        if (code != ExitOk || report.verdict != Verdict::Available) {
            return code;
        }
        if (!options_.yes && !observer_.AcceptOffer(manifest, report)) {
            observer_.Stopped(StopPoint::NotConfirmed, options_.waitPid);
            return ExitCancelled;
        }
        std::wstring path;
        code = DownloadTo(manifest, path);
        if (code == ExitOk) {
            code = InstallPackage(manifest, path);
        }
        steps_.RemovePackageFolder();
        return RelaunchAfter(code);
    }

    const Options& options_;
    RoadSteps& steps_;
    RoadObserver& observer_;
    const common::CancelFlag& cancel_;
    bool installerStarted_ = false;
};

} // namespace

RoadFailure Failure(int exitCode, std::string line, std::string advice) {
    RoadFailure failure;
    failure.exitCode = exitCode;
    failure.line = std::move(line);
    failure.advice = std::move(advice);
    return failure;
}

RoadFailure UsageFailure(std::string line) {
    RoadFailure failure = Failure(ExitUsage, std::move(line));
    failure.usage = true;
    return failure;
}

int Report(RoadObserver& observer, const RoadFailure& failure) {
    observer.Failed(failure);
    return failure.exitCode;
}

int RunRoad(const Options& options, RoadSteps& steps, RoadObserver& observer,
            const common::CancelFlag& cancel) {
    const int code = Road(options, steps, observer, cancel).Run();
    observer.Finished(code);
    return code;
}

} // namespace hovrel::road
