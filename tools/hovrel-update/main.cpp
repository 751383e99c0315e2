// hovrel-update: checks for, downloads and installs an update through
// Hovrel.dll. The library does the mechanics; everything here is host policy.

#include "hovrel.h"

#include "help_text.h"
#include "install_steps.h"
#include "options.h"
#include "policy.h"
#include "progress.h"
#include "road.h"
#include "windows_road_steps.h"
#include "windows_support.h"

#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

using namespace hovrel::road;
using namespace hovrel::windows;

namespace {

// Set by Ctrl+C and by the --timeout watchdog.
hovrel::common::CancelFlag g_cancel;

BOOL WINAPI OnConsoleControl(DWORD event) {
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) {
        g_cancel.Set();
        if (InstallerIsRunning()) {
            std::fputs("Ctrl+C: a running installer cannot be stopped; hovrel-update stops when "
                       "it has finished.\n",
                       stderr);
        }
        return TRUE;
    }
    return FALSE;
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

// The road on a console: one line per step on standard output, failures on
// standard error, the confirmation as a [y/N] prompt.
class ConsoleObserver : public RoadObserver {
  public:
    void Note(const std::string& line) override { Out(line); }

    void Warning(const std::string& line) override { Err(line); }

    void Checking(const std::string& manifestUrl) override {
        Out("Fetching manifest " + manifestUrl);
    }

    void ManifestAccepted(const RoadManifest& accepted) override {
        const HV_Manifest& manifest = accepted.fields;
        std::printf("Manifest: version %s, %llu bytes, rollout %d%%, %s\n", manifest.version,
                    static_cast<unsigned long long>(manifest.size), manifest.rollout,
                    manifest.mandatory ? "mandatory" : "not mandatory");
        std::fflush(stdout);
    }

    void VerdictReached(const VerdictReport& report) override {
        const char* version = report.version.c_str();
        const char* installed = report.installed.c_str();
        switch (report.verdict) {
        case Verdict::UpToDate:
            std::printf("Up to date: %s is not newer than the installed %s.\n", version, installed);
            break;
        case Verdict::NotInRollout:
            std::printf(
                "Version %s is out, but not yet for this machine (bucket %u, rollout %d%%).\n",
                version, report.bucket, report.rollout);
            break;
        case Verdict::Available:
            if (report.mandatory) {
                std::printf("Update available: %s (installed %s), mandatory.\n", version,
                            installed);
            } else {
                std::printf("Update available: %s (installed %s), bucket %u within rollout %d%%.\n",
                            version, installed, report.bucket, report.rollout);
            }
            break;
        }
        std::fflush(stdout);
    }

    void DownloadStarted(const std::string& url, const std::string& path) override {
        Out("Downloading " + url + "\n         to " + path);
        view_ = std::make_unique<ProgressView>(StdoutIsConsole());
    }

    void DownloadProgress(std::uint64_t received, std::uint64_t total) override {
        view_->Update(received, total);
    }

    void DownloadEnded() override { view_->Finish(); }

    void Verifying() override {}

    void WaitingForApp(std::uint32_t pid) override {
        Out("Waiting for process " + std::to_string(pid) + " to end...");
    }

    void Installing() override { Out("Running the installer..."); }

    void Installed(const InstallReport& report) override {
        if (report.exitCode == ExitOk) {
            Out(report.summary);
            return;
        }
        std::printf("%s Installer exit code %lu (0x%08lX); %s.\n%s\n", report.summary.c_str(),
                    static_cast<unsigned long>(report.installerExitCode),
                    static_cast<unsigned long>(report.installerExitCode), report.resultText.c_str(),
                    report.advice.c_str());
        std::fflush(stdout);
    }

    void Failed(const RoadFailure& failure) override {
        Err((failure.usage ? "hovrel-update: " : "") + failure.line);
        if (!failure.advice.empty()) {
            Err(failure.advice);
        }
        if (!failure.detail.empty()) {
            Err(failure.detail);
        }
    }

    void Stopped(StopPoint where, std::uint32_t pid) override {
        switch (where) {
        case StopPoint::WhileFetching:
            Err("Stopped by Ctrl+C while the manifest was fetched; nothing further was done.");
            break;
        case StopPoint::NotConfirmed:
            Err("Not installed: not confirmed. Use --yes for an unattended run.");
            break;
        case StopPoint::WhileWaiting:
            Err("Not installed: stopped by Ctrl+C while waiting for process " +
                std::to_string(pid) + ".");
            break;
        case StopPoint::BeforeInstaller:
            Err("Stopped by Ctrl+C before the installer started; nothing further was done.");
            break;
        case StopPoint::AfterInstaller:
            Err("Ctrl+C came while the installer ran; it ran to its end.");
            break;
        }
    }

    void Finished(int) override { std::fflush(stdout); }

    // The console decides at the prompt, once the package has verified.
    bool AcceptOffer(const RoadManifest&, const VerdictReport&) override { return true; }

    bool ConfirmInstall(const RoadManifest& manifest) override {
        std::printf("Install version %s now? [y/N] ", manifest.fields.version);
        std::fflush(stdout);
        char answer[16] = {};
        const bool read = std::fgets(answer, sizeof answer, stdin) != nullptr;
        return read && !g_cancel.IsSet() && (answer[0] == 'y' || answer[0] == 'Y');
    }

  private:
    static void Out(const std::string& line) {
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
    }

    static void Err(const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); }

    std::unique_ptr<ProgressView> view_;
};

int Run(const Options& options) {
    if (options.command == Command::Help) {
        std::fputs(ConsoleHelp().c_str(), stdout);
        return ExitOk;
    }
    ConsoleObserver observer;
    WindowsRoadSteps steps(options, observer, g_cancel);
    return RunRoad(options, steps, observer, g_cancel);
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
    const auto parsed = ParseCommandLine(arguments);
    if (!parsed) {
        std::fprintf(stderr,
                     "hovrel-update: %s\n"
                     "Run hovrel-update --help for the commands, options and exit codes.\n",
                     parsed.reason().c_str());
        return ExitUsage;
    }
    ConsoleOutputCodePage codePage;
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    const int code = Run(parsed.value());
    std::fflush(stdout);
    return code;
}
