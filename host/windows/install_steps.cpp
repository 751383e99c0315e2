#include "install_steps.h"

#include "elevated_install.h"
#include "installer_launch.h"
#include "manifest_authenticity.h"
#include "package_file.h"
#include "package_name.h"
#include "policy.h"
#include "publisher_check.h"
#include "staged_update.h"
#include "utf8.h"
#include "wait_process.h"

#include <cstdio>

namespace hovrel::windows {

using namespace hovrel::road;

namespace {

// Set while an installer runs, which nothing can stop from here.
volatile LONG g_installerRunning = 0;

int RefuseKind(RoadObserver& observer) {
    return Report(observer, Failure(ExitDownload,
                                    "Refused: the package is neither a program (\"MZ\") nor an "
                                    "MSI (compound file); not started.",
                                    "Tell the publisher."));
}

std::string Text(const std::wstring& path) {
    std::string text;
    return common::WideToUtf8(path, text) ? text : std::string("(a path that is not text)");
}

// An elevated installer runs from a copy in a folder the user's unelevated
// processes cannot write to, verified again there.
int ProtectPackage(RoadObserver& observer, HANDLE held, const std::wstring& path,
                   const char* sha256, ProtectedCopy& copy) {
    const std::wstring name = path.substr(path.find_last_of(L'\\') + 1);
    const common::Status made = copy.Make(held, name);
    if (!made) {
        return Report(observer, Failure(ExitInstall,
                                        "Not installed: " + made.reason() +
                                            " in a folder only administrators can change.",
                                        "Check the Windows folder's Temp folder."));
    }
    const HV_Result result = HashMatches(copy.Path(), sha256);
    if (result != HV_Ok) {
        return Report(observer, StepFailure("The installer's protected copy does not verify",
                                            Step::Verify, result));
    }
    PackageKind kind = PackageKind::Unknown;
    const int code = CheckPackageKind(observer, copy.Held(), kind);
    if (code != ExitOk) {
        return code;
    }
    observer.Note("Verified again: " + Text(copy.Path()) +
                  ", a copy only administrators can change, runs elevated.");
    return ExitOk;
}

// The administrator prompt declined, or the elevated start failed.
int RefusedElevation(RoadObserver& observer, const InstallerRun& run) {
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
    return ExitOk;
}

// An unelevated host starts itself elevated with the install command over the
// same manifest and package; that run checks both again and starts the
// installer from its protected copy. Its exit code is this run's.
int InstallElevated(const Options& options, RoadObserver& observer, const std::wstring& path) {
    InterlockedExchange(&g_installerRunning, 1);
    const InstallerRun run = RunHostElevated(ElevatedInstallArguments(options, path));
    InterlockedExchange(&g_installerRunning, 0);
    const int refused = RefusedElevation(observer, run);
    if (refused != ExitOk) {
        return refused;
    }
    // The elevated apply deletes the stage it installed; one still here was
    // not found from the elevated user's profile.
    const bool succeeded = run.exitCode == ExitOk || run.exitCode == ExitRestartNeeded;
    if (succeeded && options.command == Command::Apply && StagedUpdate(options.product).Exists()) {
        return Report(observer, Failure(ExitInstall,
                                        "Not installed: the elevated run found no staged update "
                                        "in its own profile.",
                                        "Elevate as the user who staged it, or run apply as an "
                                        "administrator from that user's session."));
    }
    if (succeeded) {
        InstallReport report;
        report.exitCode = static_cast<int>(run.exitCode);
        report.installerExitCode = run.exitCode;
        report.resultText = "the exit code of the elevated run";
        if (run.exitCode == ExitOk) {
            report.summary = "The installer finished successfully (run elevated).";
        } else {
            report.summary = "Installed; Windows must restart to finish the update.";
            report.advice = "Restart the computer to complete the update.";
        }
        observer.Installed(report);
        return report.exitCode;
    }
    const int code = run.exitCode <= ExitRefused ? static_cast<int>(run.exitCode) : ExitInstall;
    return Report(observer,
                  Failure(code,
                          "Not installed: the elevated run ended with exit code " +
                              std::to_string(run.exitCode) + ".",
                          "Run the same install command as an administrator to read why."));
}

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

int PlaceDownload(RoadObserver& observer, const std::wstring& partial,
                  const std::wstring& destination, bool nameByKind, std::wstring& placed) {
    PackageKind kind = PackageKind::Unknown;
    {
        const hovrel::UniqueFile file(CreateFileW(partial.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                  nullptr, OPEN_EXISTING, 0, nullptr));
        if (file) {
            kind = ReadPackageKind(file.get());
        }
    }
    if (kind == PackageKind::Unknown) {
        DeleteFileW(partial.c_str());
        return RefuseKind(observer);
    }
    placed = nameByKind ? PathForKind(destination, kind) : destination;
    if (!MoveFileExW(partial.c_str(), placed.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        const DWORD error = GetLastError();
        DeleteFileW(partial.c_str());
        return Report(observer,
                      Failure(ExitDownload,
                              "Cannot download: the verified package could not be moved to " +
                                  Text(placed) + " (error " + std::to_string(error) + ").",
                              "Close what has it open, or choose another --out."));
    }
    if (placed != destination) {
        observer.Note("Saved as " + Text(placed) + ", named after its content.");
    }
    return ExitOk;
}

int CheckPackageKind(RoadObserver& observer, HANDLE held, PackageKind& kind) {
    kind = ReadPackageKind(held);
    return kind == PackageKind::Unknown ? RefuseKind(observer) : ExitOk;
}

int RunInstaller(const Options& options, RoadObserver& observer, const std::wstring& path,
                 HANDLE held, PackageKind kind, const char* sha256, std::wstring& keptLog) {
    const bool fromCopy = HostIsElevated();
    if (!fromCopy && options.elevate) {
        observer.Note("Starting this program again through Windows' \"runas\" (--elevate), to "
                      "verify the package again and run it from a folder only administrators "
                      "can change.");
        return InstallElevated(options, observer, path);
    }
    ProtectedCopy copy;
    if (fromCopy) {
        const int code = ProtectPackage(observer, held, path, sha256, copy);
        if (code != ExitOk) {
            return code;
        }
    }
    const std::wstring& program = fromCopy ? copy.Path() : path;
    InterlockedExchange(&g_installerRunning, 1);
    const InstallerRun run = RunPackage(program, kind, options.installerArgs, options.elevate,
                                        [&observer](const char* why) { observer.Note(why); });
    InterlockedExchange(&g_installerRunning, 0);
    if (run.needsElevation) {
        observer.Note("The installer did not start without administrator rights; asking Windows "
                      "for them, for this program to run it from a folder only administrators "
                      "can change.");
        return InstallElevated(options, observer, path);
    }
    const int refused = RefusedElevation(observer, run);
    if (refused != ExitOk) {
        return refused;
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
        // The log of the protected copy goes with its folder; the user's
        // folder keeps a copy of it.
        if (fromCopy) {
            CopyFileW(MsiexecLogPath(program).c_str(), keptLog.c_str(), FALSE);
        }
        // The path was text when the package was named, so its log's is too.
        if (common::WideToUtf8(keptLog, log)) {
            failure.detail = "msiexec log: " + log;
        }
    }
    observer.Failed(failure);
    return outcome.exitCode;
}

int ChoosePackagePath(const Options& options, RoadObserver& observer, const HV_Manifest& manifest,
                      PackageFolder& folder, std::wstring& path) {
    if (!options.outPath.empty()) {
        const common::Result<std::wstring> absolute = AbsolutePath(options.outPath);
        if (!absolute) {
            return Report(observer, UsageFailure(absolute.reason()));
        }
        path = absolute.value();
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
