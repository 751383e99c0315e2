#include "install_steps.h"

#include "installer_launch.h"
#include "package_name.h"
#include "policy.h"
#include "publisher_check.h"
#include "utf8.h"
#include "wait_process.h"

#include <cstdio>

namespace hovrel::windows {

using namespace hovrel::road;

namespace {

// Set while an installer runs, which nothing can stop from here.
volatile LONG g_installerRunning = 0;

} // namespace

int CheckPackagePublisher(const Options& options, RoadObserver& observer, HANDLE held,
                          const std::wstring& path) {
    if (options.publishers.empty() && options.publisherThumbprint.empty()) {
        return ExitOk;
    }
    const common::Result<std::string> signer =
        CheckPublisher(held, path, options.publishers, options.publisherThumbprint);
    if (!signer) {
        return Report(observer,
                      Failure(ExitRefused, "Refused: " + signer.reason() + "; not installed."));
    }
    observer.Note("Signed by \"" + signer.value() + "\".");
    return ExitOk;
}

int WaitForApp(const Options& options, RoadObserver& observer, const common::CancelFlag& cancel) {
    if (options.waitPid == 0) {
        return ExitOk;
    }
    const std::string pid = std::to_string(options.waitPid);
    observer.WaitingForApp(options.waitPid);
    switch (WaitForProcessEnd(options.waitPid, options.timeoutSeconds, cancel)) {
    case WaitOutcome::Ended:
        observer.Note("Process " + pid + " has ended.");
        return ExitOk;
    case WaitOutcome::TimedOut:
        return Report(observer, Failure(ExitCancelled,
                                        "Not installed: process " + pid + " still runs after " +
                                            std::to_string(options.timeoutSeconds) +
                                            " s; close it or allow more time with --timeout."));
    case WaitOutcome::Cancelled:
        observer.Stopped(StopPoint::WhileWaiting, options.waitPid);
        return ExitCancelled;
    case WaitOutcome::NoAccess:
        break;
    }
    return Report(observer, Failure(ExitUsage, "Not installed: cannot watch process " + pid +
                                                   "; check --wait-pid."));
}

bool InstallerIsRunning() {
    return g_installerRunning != 0;
}

int RunInstaller(const Options& options, RoadObserver& observer, const std::wstring& path,
                 std::wstring& keptLog) {
    InterlockedExchange(&g_installerRunning, 1);
    const InstallerRun run = RunPackage(path, options.installerArgs, options.elevate,
                                        [&observer](const char* why) { observer.Note(why); });
    InterlockedExchange(&g_installerRunning, 0);
    if (run.declined) {
        return Report(observer,
                      Failure(ExitCancelled,
                              "Not installed: cancelled by the user at the administrator prompt."));
    }
    if (run.elevated && run.shellError != 0) {
        return Report(
            observer,
            Failure(ExitInstall,
                    "The installer could not be started with administrator rights (error " +
                        std::to_string(run.shellError) + ").",
                    "Run it by hand as an administrator."));
    }
    const InstallerOutcome outcome = run.msi ? ClassifyMsiexec(run.result, run.exitCode)
                                             : ClassifyInstaller(run.result, run.exitCode);
    if (outcome.exitCode == ExitOk || outcome.exitCode == ExitRestartNeeded) {
        InstallReport report;
        report.exitCode = outcome.exitCode;
        report.summary = outcome.summary;
        report.installerExitCode = run.exitCode;
        report.resultText = HV_ResultText(run.result);
        report.advice = outcome.advice;
        observer.Installed(report);
        return outcome.exitCode;
    }
    char code[64];
    std::snprintf(code, sizeof code, " Installer exit code %lu (0x%08lX); ",
                  static_cast<unsigned long>(run.exitCode),
                  static_cast<unsigned long>(run.exitCode));
    RoadFailure failure;
    failure.exitCode = outcome.exitCode;
    failure.line = outcome.summary + std::string(code) + HV_ResultText(run.result) + ".";
    failure.advice = outcome.advice;
    std::string log;
    if (run.msi && outcome.exitCode == ExitInstall && run.exitCode != 0xFFFFFFFFu) {
        keptLog = MsiexecLogPath(path);
        // The path was text when the package was named, so its log's is too.
        if (common::WideToUtf8(keptLog, log)) {
            failure.detail = "msiexec log: " + log;
        }
    }
    observer.Failed(failure);
    return outcome.exitCode;
}

// --out as given, or a new private folder named after the URL's last segment.
int ChoosePackagePath(const Options& options, RoadObserver& observer, const HV_Manifest& manifest,
                      PackageFolder& folder, std::wstring& path) {
    if (!options.outPath.empty()) {
        path = options.outPath;
        return ExitOk;
    }
    std::wstring url;
    if (!common::Utf8ToWide(manifest.url, url)) {
        url.clear();
    }
    const common::Status created = folder.Create();
    if (!created) {
        return Report(observer,
                      Failure(ExitDownload, "Cannot download: " + created.reason() + "."));
    }
    if (options.keep) {
        folder.Keep();
    }
    path = folder.Path() + L"\\" + PackageFileName(url);
    return ExitOk;
}

} // namespace hovrel::windows
