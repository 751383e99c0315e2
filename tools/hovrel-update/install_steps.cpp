#include "install_steps.h"

#include "installer_launch.h"
#include "package_name.h"
#include "policy.h"
#include "publisher_check.h"
#include "wait_process.h"
#include "windows_support.h"

#include <cstdio>

namespace hovrel_update {

namespace {

// Set while an installer runs, which nothing can stop from here.
volatile LONG g_installerRunning = 0;

void Announce(const char* why) {
    std::printf("%s\n", why);
    std::fflush(stdout);
}

std::string Utf8(const std::wstring& wide) {
    std::string text;
    return WideToUtf8(wide, text) ? text : std::string("?");
}

} // namespace

int CheckPackagePublisher(const Options& options, HANDLE held, const std::wstring& path) {
    if (options.publishers.empty() && options.publisherThumbprint.empty()) {
        return ExitOk;
    }
    const PublisherVerdict verdict =
        CheckPublisher(held, path, options.publishers, options.publisherThumbprint);
    if (!verdict.accepted) {
        std::fprintf(stderr, "Refused: %s; not installed.\n", verdict.reason.c_str());
        return ExitRefused;
    }
    std::printf("Signed by \"%s\".\n", verdict.signer.c_str());
    return ExitOk;
}

int WaitForApp(const Options& options, const volatile std::int32_t* cancel) {
    if (options.waitPid == 0) {
        return ExitOk;
    }
    const unsigned long pid = options.waitPid;
    std::printf("Waiting for process %lu to end...\n", pid);
    std::fflush(stdout);
    switch (WaitForProcessEnd(options.waitPid, options.timeoutSeconds, cancel)) {
    case WaitOutcome::Ended:
        std::printf("Process %lu has ended.\n", pid);
        return ExitOk;
    case WaitOutcome::TimedOut:
        std::fprintf(stderr,
                     "Not installed: process %lu still runs after %u s; close it or allow more "
                     "time with --timeout.\n",
                     pid, options.timeoutSeconds);
        return ExitCancelled;
    case WaitOutcome::Cancelled:
        std::fprintf(stderr, "Not installed: stopped by Ctrl+C while waiting for process %lu.\n",
                     pid);
        return ExitCancelled;
    case WaitOutcome::NoAccess:
        break;
    }
    std::fprintf(stderr, "Not installed: cannot watch process %lu; check --wait-pid.\n", pid);
    return ExitUsage;
}

bool InstallerIsRunning() {
    return g_installerRunning != 0;
}

int RunInstaller(const Options& options, const std::wstring& path, std::wstring& keptLog) {
    std::printf("Running the installer...\n");
    std::fflush(stdout);
    InterlockedExchange(&g_installerRunning, 1);
    const InstallerRun run = RunPackage(path, options.installerArgs, options.elevate, Announce);
    InterlockedExchange(&g_installerRunning, 0);
    if (run.declined) {
        std::fprintf(stderr, "Not installed: cancelled by the user at the administrator prompt.\n");
        return ExitCancelled;
    }
    if (run.elevated && run.shellError != 0) {
        std::fprintf(stderr,
                     "The installer could not be started with administrator rights (error %lu).\n"
                     "Run it by hand as an administrator.\n",
                     static_cast<unsigned long>(run.shellError));
        return ExitInstall;
    }
    const InstallerOutcome outcome = run.msi ? ClassifyMsiexec(run.result, run.exitCode)
                                             : ClassifyInstaller(run.result, run.exitCode);
    if (outcome.exitCode == ExitOk) {
        std::printf("%s\n", outcome.summary);
        return ExitOk;
    }
    std::FILE* stream = outcome.exitCode == ExitRestartNeeded ? stdout : stderr;
    std::fprintf(stream, "%s Installer exit code %lu (0x%08lX); %s.\n%s\n", outcome.summary,
                 static_cast<unsigned long>(run.exitCode), static_cast<unsigned long>(run.exitCode),
                 HV_ResultText(run.result), outcome.advice);
    if (run.msi && outcome.exitCode == ExitInstall && run.exitCode != 0xFFFFFFFFu) {
        keptLog = MsiexecLogPath(path);
        std::fprintf(stderr, "msiexec log: %s\n", Utf8(keptLog).c_str());
    }
    return outcome.exitCode;
}

// --out as given, or a new private folder named after the URL's last segment.
int ChoosePackagePath(const Options& options, const HV_Manifest& manifest, PackageFolder& folder,
                      std::wstring& path) {
    if (!options.outPath.empty()) {
        path = options.outPath;
        return ExitOk;
    }
    std::wstring url;
    if (!Utf8ToWide(manifest.url, url)) {
        url.clear();
    }
    std::string error;
    if (!folder.Create(error)) {
        std::fprintf(stderr, "Cannot download: %s.\n", error.c_str());
        return ExitDownload;
    }
    if (options.keep) {
        folder.Keep();
    }
    path = folder.Path() + L"\\" + PackageFileName(url);
    return ExitOk;
}

} // namespace hovrel_update
