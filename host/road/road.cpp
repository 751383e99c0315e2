#include "road.h"

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
            return Update();
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
        if (!options_.yes && !observer_.ConfirmInstall(manifest)) {
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
        return InstallPackage(manifest, options_.outPath);
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
        return code;
    }

    const Options& options_;
    RoadSteps& steps_;
    RoadObserver& observer_;
    const common::CancelFlag& cancel_;
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
