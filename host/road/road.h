#pragma once

// The update road that hovrel-update and hovrel-updater share: fetch and
// accept the manifest, decide, download, verify, confirm, install. The road
// only orders the steps; the steps do the work, and an observer is told what
// happens and answers the road's questions (the console prints and prompts,
// the window shows pages). No platform calls, so the order is tested
// natively with steps that only pretend.

#include "cancel_flag.h"
#include "hovrel.h"
#include "options.h"
#include "policy.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace hovrel::road {

// A note or warning: the English line the console prints, and for the
// window the key of its own text (host/language) with the values to fill
// in. A notice without a key shows its line.
struct Notice {
    Notice() = default;
    Notice(std::string englishLine, const char* textKey = nullptr,
           std::vector<std::string> values = {})
        : line(std::move(englishLine)), key(textKey), arguments(std::move(values)) {}

    std::string line;
    const char* key = nullptr;
    std::vector<std::string> arguments;
    // An argument that is a decimal number: its index, and how many decimals,
    // for the window to write it the user's way.
    int numberArgument = -1;
    int decimals = 0;
};

struct RoadManifest {
    HV_Manifest fields{};
    std::string product; // the manifest's "product", empty when absent
    std::string notes;   // the manifest's "notes" (release notes), empty when absent
    // When this Windows is older than the manifest's "min_windows": the one
    // line saying so; no update applies then.
    Notice windowsTooOld;
    // What the terms step warned of (also told through Warned).
    std::vector<Notice> warnings;
    // The manifest and its signature as fetched (empty without a key), for
    // a stage to keep unchanged.
    std::string bytes;
    std::string signature;
};

struct StageReport;

struct VerdictReport {
    Verdict verdict = Verdict::UpToDate;
    std::string version;   // the manifest's
    std::string installed; // --installed
    std::uint32_t bucket = 0;
    std::int32_t rollout = 100;
    bool mandatory = false;
    std::string skipped;  // an automatic run passed over this skipped version
    Notice windowsTooOld; // NeedsNewerWindows: RoadManifest's line
};

// A failed step: one line saying what failed, then what the user can do.
struct RoadFailure {
    int exitCode = ExitOk;
    std::string line;
    std::string advice; // may be empty when the line says it already
    std::string detail; // one more line worth reading (msiexec's log), or empty
    bool usage = false; // a problem with the command line: named after the program
};

RoadFailure Failure(int exitCode, std::string line, std::string advice = std::string());
RoadFailure UsageFailure(std::string line);

// How the installer ended when it did not fail.
struct InstallReport {
    int exitCode = ExitOk; // ExitOk or ExitRestartNeeded
    std::string summary;
    std::uint32_t installerExitCode = 0;
    std::string resultText; // HV_ResultText of the library's result
    std::string advice;
};

// Where the user's cancel stopped the road, or was noticed.
enum class StopPoint {
    WhileFetching,   // while the manifest or its signature was fetched, or after
    NotConfirmed,    // the install was not confirmed
    WhileWaiting,    // while waiting for --wait-pid
    BeforeInstaller, // after verifying, before the installer started
    AfterInstaller,  // came while the installer ran, which ran to its end
};

class RoadObserver {
  public:
    virtual ~RoadObserver() = default;

    virtual void Note(const std::string& line) = 0;    // along the way, for the record
    virtual void Warning(const std::string& line) = 0; // worth the user's attention
    // The same with a key for the window's language; the console prints the line.
    virtual void Noted(const Notice& notice) { Note(notice.line); }
    virtual void Warned(const Notice& notice) { Warning(notice.line); }
    virtual void Checking(const std::string& manifestUrl) = 0;
    virtual void ManifestAccepted(const RoadManifest& manifest) = 0;
    virtual void VerdictReached(const VerdictReport& report) = 0;
    virtual void DownloadStarted(const std::string& url, const std::string& path) = 0; // UTF-8
    // Called on the downloading thread between chunks; must not throw.
    virtual void DownloadProgress(std::uint64_t received, std::uint64_t total) = 0;
    virtual void DownloadEnded() = 0;
    virtual void Verifying() = 0;
    virtual void WaitingForApp(std::uint32_t pid) = 0;
    virtual void Installing() = 0;
    virtual void Installed(const InstallReport& report) = 0;
    virtual void Failed(const RoadFailure& failure) = 0;
    virtual void Stopped(StopPoint where, std::uint32_t pid) = 0;
    // A stage made, kept, missing or no longer newer (stage.h).
    virtual void StageChanged(const StageReport& report) = 0;
    virtual void Finished(int exitCode) = 0;

    // Questions. The offer comes after the verdict, before any package byte
    // (update only); the confirmation after the package verified, before the
    // installer. Neither is asked with --yes.
    virtual bool AcceptOffer(const RoadManifest& manifest, const VerdictReport& report) = 0;
    virtual bool ConfirmInstall(const RoadManifest& manifest) = 0;
};

// The work behind each step. Each reports its own notes and failures to the
// observer and returns an exit code (ExitOk to go on).
class RoadSteps {
  public:
    virtual ~RoadSteps() = default;

    // Fetched, authenticated, parsed and within its terms.
    virtual int FetchManifest(RoadManifest& manifest) = 0;
    virtual int Evaluate(const RoadManifest& manifest, VerdictReport& report) = 0;
    // --out, or a file in a new private folder.
    virtual int PreparePackagePath(const RoadManifest& manifest, std::wstring& path) = 0;
    virtual int Download(const RoadManifest& manifest, const std::wstring& path) = 0;
    // Holds the package until ReleasePackage, hashes it and checks its
    // publisher, so what was verified is what runs.
    virtual int VerifyPackage(const RoadManifest& manifest, const std::wstring& path) = 0;
    virtual int WaitForApp() = 0;
    virtual int RunInstaller(const std::wstring& path) = 0;
    virtual void ReleasePackage() = 0;
    // A download for later keeps its folder; an update removes it (unless
    // --keep), sparing a log worth reading.
    virtual void KeepPackageFolder() = 0;
    virtual void RemovePackageFolder() = 0;

    // The stage of --product. Whether one is there, and with it
    // HV_CompareVersion(version, the staged version) when that compares.
    virtual bool FindStage(const std::string& version, std::optional<std::int32_t>& order) = 0;
    // After the package verified and was released: it becomes the stage
    // with the manifest's bytes, replacing any older one. `folder` is
    // where, for the report.
    virtual int StagePackage(const RoadManifest& manifest, std::string& folder) = 0;
    virtual void RemoveStage() = 0;
    // --relaunch after a successful install: warns when it cannot start it.
    virtual void Relaunch() = 0;
};

// Tells the observer and returns the failure's exit code.
int Report(RoadObserver& observer, const RoadFailure& failure);

// Runs options.command (not Help) and returns its exit code, which the
// observer also gets through Finished. `cancel` is the flag the user's
// Ctrl+C or Cancel sets.
int RunRoad(const Options& options, RoadSteps& steps, RoadObserver& observer,
            const common::CancelFlag& cancel);

} // namespace hovrel::road
