// hovrel-update: checks for, downloads and installs an update through
// Hovrel.dll. The library does the mechanics; everything here is host policy.

#include "hovrel.h"

#include "install_steps.h"
#include "manifest_authenticity.h"
#include "options.h"
#include "package_folder.h"
#include "package_hold.h"
#include "policy.h"
#include "progress.h"
#include "watchdog.h"
#include "windows_support.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

using namespace hovrel_update;

namespace {

// Set by Ctrl+C and by the --timeout watchdog; read by HV_DownloadVerify
// before every chunk.
volatile std::int32_t g_cancelFlag = 0;

BOOL WINAPI OnConsoleControl(DWORD event) {
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) {
        g_cancelFlag = 1;
        if (InstallerIsRunning()) {
            std::fputs("Ctrl+C: a running installer cannot be stopped; hovrel-update stops when "
                       "it has finished.\n",
                       stderr);
        }
        return TRUE;
    }
    return FALSE;
}

const char kHelp[] =
    "hovrel-update: checks for, downloads and installs an update.\n"
    "\n"
    "Usage: hovrel-update <command> [options]\n"
    "\n"
    "Commands:\n"
    "  check     Fetch the manifest and tell whether an update applies to this\n"
    "            machine. Needs --manifest and --installed.\n"
    "  download  Fetch the manifest and download its package, checking its size\n"
    "            and SHA-256, to --out or a private folder that is kept.\n"
    "            Needs --manifest.\n"
    "  install   Check the package at --out against the manifest's SHA-256, then\n"
    "            run it. Needs --manifest and --out.\n"
    "  update    check, then download and install when an update applies.\n"
    "            Needs --manifest and --installed.\n"
    "\n"
    "Options (--name VALUE or --name=VALUE):\n"
    "  --manifest URL         http:// or https:// address of the update manifest\n"
    "  --installed VERSION    the version installed now, for example 1.4.2\n"
    "  --out PATH             the package file (install: the one downloaded before).\n"
    "                         Without it the package goes to a new private folder\n"
    "                         in the temp folder, removed after the install\n"
    "  --keep                 keep that private folder and the package\n"
    "  --installer-args TEXT  the installer's arguments (default\n"
    "                         /VERYSILENT /SUPPRESSMSGBOXES /NORESTART /CLOSEAPPLICATIONS)\n"
    "  --machine-id ID        this machine's identity for the rollout\n"
    "                         (default: the computer name)\n"
    "  --timeout SECONDS      stop the download when it takes longer; it stops at\n"
    "                         the next chunk, so a stalled server is left to the\n"
    "                         network time-outs\n"
    "  --yes                  install without asking first (unattended)\n"
    "  --public-key KEY       the publisher's P-256 public key: a PEM file or its\n"
    "                         one-line base64 body; may repeat, any one may sign.\n"
    "                         The manifest must then have a valid signature at\n"
    "                         <manifest URL>.sig, or nothing is downloaded\n"
    "  --allow-unsigned       download and install from a manifest that no key\n"
    "                         authenticates (without a key only check runs)\n"
    "  --product ID           refuse a manifest whose \"product\" is not ID\n"
    "  --publisher NAME       run the package only when its Authenticode signer's\n"
    "                         common name is NAME (may be given more than once)\n"
    "  --publisher-thumbprint HEX\n"
    "                         run it only when the signer certificate's SHA-256 is HEX\n"
    "  --elevate              start the installer with administrator rights (UAC)\n"
    "  --wait-pid PID         wait for process PID to end before installing (bounded\n"
    "                         by --timeout), so an app can hand over and quit\n"
    "  --help                 show this text\n"
    "\n"
    "Rollout: the manifest's \"rollout\" is the percentage of machines that get the\n"
    "update. A machine's bucket is the first 4 bytes of\n"
    "SHA-256(machine id + \"\\n\" + manifest version), read big-endian, modulo 100;\n"
    "the machine takes part when bucket < rollout. A mandatory update ignores the\n"
    "rollout. The same machine keeps its bucket for a version, and draws anew for\n"
    "the next one.\n"
    "\n"
    "Authenticity: with a key, the manifest's signature is checked before any\n"
    "package byte is fetched. Its \"expires\" (RFC 3339 UTC) is always checked,\n"
    "its \"product\" with --product. install with --installed never installs a\n"
    "version that is not newer.\n"
    "\n"
    "A package whose name ends in .msi is installed with msiexec /i PACKAGE /qn\n"
    "/norestart /l*v PACKAGE.log, followed by --installer-args.\n"
    "\n"
    "Installer exit codes: 0 success; 3010 and 1641 success, restart needed;\n"
    "1223 and 1602 cancelled by the user; 1618 another installation is running;\n"
    "anything else a failure.\n"
    "\n"
    "Exit codes:\n"
    "  0  done, or no update applies (up to date, or outside the rollout)\n"
    "  1  usage error\n"
    "  2  the manifest could not be fetched\n"
    "  3  the manifest is not usable\n"
    "  4  the package could not be downloaded or did not verify (it is deleted)\n"
    "  5  the installer failed, could not start, or another installation runs\n"
    "  6  cancelled: Ctrl+C, --timeout, install not confirmed, or cancelled in\n"
    "     the installer\n"
    "  7  installed; a restart is needed to finish\n"
    "  8  check only: an update applies to this machine\n"
    "  9  the manifest was refused: not signed by a trusted key, expired, or for\n"
    "     another product; or the package is not signed by a named publisher\n";

std::string Utf8(const std::wstring& wide) {
    std::string text;
    return WideToUtf8(wide, text) ? text : std::string("?");
}

// Draws the progress line in place on a console, at most every 250 ms; on a
// redirected stdout it writes one plain line when the download ends.
class ProgressView {
  public:
    explicit ProgressView(bool console) : console_(console), startMs_(GetTickCount64()) {}

    void Update(std::uint64_t received, std::uint64_t total) {
        received_ = received;
        total_ = total;
        started_ = true;
        if (console_ && throttle_.ShouldDraw(GetTickCount64())) {
            Draw();
        }
    }

    void Finish() {
        if (!started_) {
            return;
        }
        if (console_) {
            Draw();
            std::fputs("\n", stdout);
        } else {
            std::printf("%s\n", Line().c_str());
        }
        std::fflush(stdout);
    }

  private:
    std::string Line() const {
        return FormatProgressLine(received_, total_, GetTickCount64() - startMs_);
    }

    void Draw() {
        std::string line = Line();
        const std::size_t length = line.size();
        if (length < width_) {
            line.append(width_ - length, ' ');
        }
        width_ = length;
        std::printf("\r%s", line.c_str());
        std::fflush(stdout);
    }

    bool console_;
    ULONGLONG startMs_;
    RedrawThrottle throttle_{250};
    std::uint64_t received_ = 0;
    std::uint64_t total_ = 0;
    std::size_t width_ = 0;
    bool started_ = false;
};

// Runs on the downloading thread, between chunks. Nothing may be thrown back
// into the library.
void HV_CALL OnProgress(std::uint64_t received, std::uint64_t total, void* userData) {
    try {
        static_cast<ProgressView*>(userData)->Update(received, total);
    } catch (...) {
    }
}

// Decides whether the manifest's version applies to this machine.
int Evaluate(const Options& options, const HV_Manifest& manifest, Verdict& verdict) {
    std::string installed;
    if (!WideToUtf8(options.installedVersion, installed)) {
        std::fprintf(stderr, "hovrel-update: --installed is not valid text\n");
        return ExitUsage;
    }
    std::int32_t order = 0;
    const HV_Result result = HV_CompareVersion(manifest.version, installed.c_str(), &order);
    if (result != HV_Ok) {
        PrintFailure("Cannot compare the versions", Step::Parse, result);
        return ExitManifest;
    }
    std::uint32_t bucket = 0;
    if (order > 0 && !manifest.mandatory) {
        const std::wstring id = options.machineId.empty() ? ComputerName() : options.machineId;
        std::string machineId;
        if (id.empty() || !WideToUtf8(id, machineId)) {
            std::fprintf(stderr,
                         "hovrel-update: cannot read the computer name; give --machine-id\n");
            return ExitUsage;
        }
        if (!MachineBucket(machineId, manifest.version, bucket)) {
            std::fprintf(stderr, "hovrel-update: SHA-256 for the rollout bucket failed\n");
            return ExitUsage;
        }
    }
    verdict = DecideUpdate(order, IsInRollout(bucket, manifest.rollout, manifest.mandatory != 0));
    switch (verdict) {
    case Verdict::UpToDate:
        std::printf("Up to date: %s is not newer than the installed %s.\n", manifest.version,
                    installed.c_str());
        break;
    case Verdict::NotInRollout:
        std::printf("Version %s is out, but not yet for this machine (bucket %u, rollout %d%%).\n",
                    manifest.version, bucket, manifest.rollout);
        break;
    case Verdict::Available:
        if (manifest.mandatory) {
            std::printf("Update available: %s (installed %s), mandatory.\n", manifest.version,
                        installed.c_str());
        } else {
            std::printf("Update available: %s (installed %s), bucket %u within rollout %d%%.\n",
                        manifest.version, installed.c_str(), bucket, manifest.rollout);
        }
        break;
    }
    return ExitOk;
}

int Download(const Options& options, const HV_Manifest& manifest, const std::wstring& path) {
    std::wstring url;
    if (!Utf8ToWide(manifest.url, url)) {
        std::fprintf(stderr, "Cannot download: the manifest's package URL is not valid UTF-8.\n"
                             "Tell the publisher.\n");
        return ExitManifest;
    }
    std::printf("Downloading %s\n         to %s\n", manifest.url, Utf8(path).c_str());
    ProgressView view(StdoutIsConsole());
    HV_Result result;
    bool timedOut;
    {
        Watchdog watchdog(std::chrono::seconds(options.timeoutSeconds), &g_cancelFlag);
        result = HV_DownloadVerify(url.c_str(), path.c_str(), manifest.sha256, manifest.size,
                                   OnProgress, &view, &g_cancelFlag);
        timedOut = watchdog.Fired();
    }
    view.Finish();
    if (result == HV_Ok) {
        std::printf("Verified: SHA-256 %s\n", manifest.sha256);
        return ExitOk;
    }
    if (result == HV_Cancelled && timedOut) {
        std::fprintf(stderr,
                     "Download timed out after %u s: %s\n"
                     "The partial file has been deleted; allow more time with --timeout.\n",
                     options.timeoutSeconds, HV_ResultText(result));
    } else {
        PrintFailure("Download failed", Step::Download, result);
    }
    return ExitCodeFor(Step::Download, result);
}

int VerifyPackage(const HV_Manifest& manifest, const std::wstring& path) {
    char digest[HV_HEX_DIGEST_SIZE] = {};
    HV_Result result = HV_HashFile(path.c_str(), digest);
    if (result == HV_Ok && !DigestsMatch(digest, manifest.sha256)) {
        result = HV_HashMismatch;
    }
    if (result != HV_Ok) {
        PrintFailure("The package does not verify", Step::Verify, result);
        return ExitCodeFor(Step::Verify, result);
    }
    std::printf("Package %s matches the manifest.\n", Utf8(path).c_str());
    return ExitOk;
}

bool ConfirmInstall(const Options& options, const HV_Manifest& manifest) {
    if (options.yes) {
        return true;
    }
    std::printf("Install version %s now? [y/N] ", manifest.version);
    std::fflush(stdout);
    char answer[16] = {};
    const bool read = std::fgets(answer, sizeof answer, stdin) != nullptr;
    return read && g_cancelFlag == 0 && (answer[0] == 'y' || answer[0] == 'Y');
}

// Ctrl+C cannot interrupt a manifest fetch or hashing; the host stops after
// them instead.
bool StoppedByUser(const char* during) {
    if (g_cancelFlag == 0) {
        return false;
    }
    std::fprintf(stderr, "Stopped by Ctrl+C %s; nothing further was done.\n", during);
    return true;
}

// From before verification until the installer has run, the package stays
// open with only reading shared, so what was verified is what runs.
int InstallPackage(const Options& options, const HV_Manifest& manifest, const std::wstring& path,
                   std::wstring& keptLog) {
    hovrel::UniqueFile held = HoldPackage(path);
    if (!held) {
        PrintFailure("The package does not verify", Step::Verify, HV_FileIo);
        return ExitCodeFor(Step::Verify, HV_FileIo);
    }
    int code = VerifyPackage(manifest, path);
    if (code == ExitOk) {
        code = CheckPackagePublisher(options, held.get(), path);
    }
    if (code != ExitOk) {
        return code;
    }
    if (!ConfirmInstall(options, manifest)) {
        std::fprintf(stderr, "Not installed: not confirmed. Use --yes for an unattended run.\n");
        return ExitCancelled;
    }
    code = WaitForApp(options, &g_cancelFlag);
    if (code != ExitOk) {
        return code;
    }
    if (StoppedByUser("before the installer started")) {
        return ExitCancelled;
    }
    code = RunInstaller(options, path, keptLog);
    if (g_cancelFlag != 0) {
        std::fprintf(stderr, "Ctrl+C came while the installer ran; it ran to its end.\n");
    }
    return code;
}

int RunCheck(const Options& options) {
    HV_Manifest manifest;
    int code = FetchAuthenticManifest(options, manifest);
    Verdict verdict = Verdict::UpToDate;
    if (code == ExitOk) {
        code = Evaluate(options, manifest, verdict);
    }
    if (code == ExitOk && verdict == Verdict::Available) {
        code = ExitUpdateAvailable;
    }
    return code;
}

int RunDownload(const Options& options) {
    HV_Manifest manifest;
    int code = FetchAuthenticManifest(options, manifest);
    if (code != ExitOk || StoppedByUser("while the manifest was fetched")) {
        return code != ExitOk ? code : ExitCancelled;
    }
    PackageFolder folder;
    std::wstring path;
    code = ChoosePackagePath(options, manifest, folder, path);
    if (code == ExitOk) {
        code = Download(options, manifest, path);
    }
    // A download for later keeps its folder; install it with --out.
    if (code == ExitOk) {
        folder.Keep();
    }
    return code;
}

int RunInstall(const Options& options) {
    HV_Manifest manifest;
    const int code = FetchAuthenticManifest(options, manifest);
    if (code != ExitOk || StoppedByUser("while the manifest was fetched")) {
        return code != ExitOk ? code : ExitCancelled;
    }
    std::wstring keptLog;
    return InstallPackage(options, manifest, options.outPath, keptLog);
}

int RunUpdate(const Options& options) {
    HV_Manifest manifest;
    Verdict verdict = Verdict::UpToDate;
    int code = FetchAuthenticManifest(options, manifest);
    if (code != ExitOk || StoppedByUser("while the manifest was fetched")) {
        return code != ExitOk ? code : ExitCancelled;
    }
    code = Evaluate(options, manifest, verdict);
    if (code != ExitOk || verdict != Verdict::Available) {
        return code;
    }
    PackageFolder folder;
    std::wstring path;
    code = ChoosePackagePath(options, manifest, folder, path);
    if (code == ExitOk) {
        code = Download(options, manifest, path);
    }
    std::wstring keptLog;
    if (code == ExitOk) {
        code = InstallPackage(options, manifest, path, keptLog);
    }
    if (!options.keep) {
        folder.Remove(keptLog);
    }
    return code;
}

int Run(const Options& options) {
    switch (options.command) {
    case Command::Check:
        return RunCheck(options);
    case Command::Download:
        return RunDownload(options);
    case Command::Install:
        return RunInstall(options);
    case Command::Update:
        return RunUpdate(options);
    case Command::Help:
        break;
    }
    std::fputs(kHelp, stdout);
    return ExitOk;
}

// Prints UTF-8 correctly on a console and gives the console back as it was.
class ConsoleOutputCodePage {
  public:
    ConsoleOutputCodePage() : previous_(GetConsoleOutputCP()) {
        if (previous_ != 0) {
            SetConsoleOutputCP(CP_UTF8);
        }
    }
    ~ConsoleOutputCodePage() {
        if (previous_ != 0) {
            SetConsoleOutputCP(previous_);
        }
    }
    ConsoleOutputCodePage(const ConsoleOutputCodePage&) = delete;
    ConsoleOutputCodePage& operator=(const ConsoleOutputCodePage&) = delete;

  private:
    UINT previous_;
};

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::vector<std::wstring> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const ParsedCommandLine parsed = ParseCommandLine(arguments);
    if (!parsed.ok) {
        std::fprintf(stderr,
                     "hovrel-update: %s\n"
                     "Run hovrel-update --help for the commands, options and exit codes.\n",
                     parsed.error.c_str());
        return ExitUsage;
    }
    ConsoleOutputCodePage codePage;
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    const int code = Run(parsed.options);
    std::fflush(stdout);
    return code;
}
