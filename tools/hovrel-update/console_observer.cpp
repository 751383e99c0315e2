#include "console_observer.h"

#include "progress.h"
#include "stage.h"
#include "windows_support.h"

#include <windows.h>

#include <cstdio>

namespace hovrel::update {

using namespace hovrel::road;

namespace {

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

class ConsoleObserver : public RoadObserver {
  public:
    explicit ConsoleObserver(const common::CancelFlag& cancel) : cancel_(cancel) {}

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
            if (!report.skipped.empty()) {
                std::printf("Installed %s is up to date (%s skipped).\n", installed, version);
                break;
            }
            std::printf("Up to date: %s is not newer than the installed %s.\n", version, installed);
            break;
        case Verdict::NotInRollout:
            std::printf(
                "Version %s is out, but not yet for this machine (bucket %u, rollout %d%%).\n",
                version, report.bucket, report.rollout);
            break;
        case Verdict::NeedsNewerWindows:
            std::printf("%s\n", report.windowsTooOld.line.c_str());
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
        view_ = std::make_unique<ProgressView>(windows::StdoutIsConsole());
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

    void StageChanged(const StageReport& report) override { Out(StageLine(report)); }

    void Finished(int) override { std::fflush(stdout); }

    // The console decides at the prompt, once the package has verified.
    bool AcceptOffer(const RoadManifest&, const VerdictReport&) override { return true; }

    bool ConfirmInstall(const RoadManifest& manifest) override {
        std::printf("Install version %s now? [y/N] ", manifest.fields.version);
        std::fflush(stdout);
        char answer[16] = {};
        const bool read = std::fgets(answer, sizeof answer, stdin) != nullptr;
        return read && !cancel_.IsSet() && (answer[0] == 'y' || answer[0] == 'Y');
    }

  private:
    static void Out(const std::string& line) {
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
    }

    static void Err(const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); }

    const common::CancelFlag& cancel_;
    std::unique_ptr<ProgressView> view_;
};

} // namespace

std::unique_ptr<RoadObserver> MakeConsoleObserver(const common::CancelFlag& cancel) {
    return std::make_unique<ConsoleObserver>(cancel);
}

} // namespace hovrel::update
