#pragma once

// The staged update: what update --background leaves for apply, and the
// decisions around it. A stage is the package with the manifest and its
// signature as fetched; apply trusts none of it until verified again.

#include "road.h"

#include <cstdint>
#include <optional>
#include <string>

namespace hovrel::road {

// The files of a stage, in its folder.
inline constexpr wchar_t kStagedManifest[] = L"manifest.json";
inline constexpr wchar_t kStagedSignature[] = L"manifest.json.sig";
// The package's name before its first bytes add the extension of its kind.
inline constexpr wchar_t kStagedPackage[] = L"package";

// The product names the stage's folder: one path segment that Windows keeps
// as written (no separators, reserved characters, "." or "..", and no
// trailing dot or space).
bool IsStageFolderName(const std::wstring& product);

enum class StageChoice {
    Stage,   // nothing staged: download and stage
    Replace, // a newer release than the one staged
    Keep,    // the staged one is as new or newer: nothing to fetch
};

// `order` is HV_CompareVersion(the manifest's version, the staged one);
// empty when nothing is staged or the staged version does not compare.
StageChoice ChooseStage(bool staged, std::optional<std::int32_t> order);

// After apply ended with `exitCode`: whether the stage stays for the next
// start. A cancel before the installer (the user, a logoff or shutdown, the
// app not ending in time) keeps it, as does a command line to correct; once
// the installer ran it goes.
bool StageStaysAfterApply(bool installerStarted, int exitCode);

// Whether a failure before apply's installer means the stage is not what
// was verified when it was staged: then it is deleted and apply refuses.
// A cancel or a command-line problem says nothing about the stage.
bool IsStageMismatch(int exitCode);

// Whether a failed background update is worth a window: a manifest or
// package refused or unusable is; a network failure or a cancel at the
// app's start is not.
bool BackgroundFailureWorthTelling(int exitCode);

// What the road says about the stage.
enum class StageEvent {
    Staged,        // a background update staged `version` in `folder`
    AlreadyStaged, // the stage already holds `version` or newer
    NothingStaged, // apply found no stage
    NoLongerNewer, // apply: `version` is not newer than `installed`; deleted
};

struct StageReport {
    StageEvent event = StageEvent::Staged;
    std::string product;
    std::string version;
    std::string installed;
    std::string folder;
};

// The one line each event prints.
std::string StageLine(const StageReport& report);

// The advice of every refusal of a stage.
inline constexpr char kStageDeletedAdvice[] =
    "The staged update has been deleted; the next update --background stages it again.";

// Forwards to `inner`; while apply verifies (until the installer starts) a
// failure that means a mismatch becomes a refusal (9) with the advice that
// the stage is deleted, so the steps' own lines still say what failed.
class StageRefusals : public RoadObserver {
  public:
    StageRefusals(RoadObserver& inner, bool applying) : inner_(inner), applying_(applying) {}

    void Note(const std::string& line) override { inner_.Note(line); }
    void Warning(const std::string& line) override { inner_.Warning(line); }
    void Noted(const Notice& notice) override { inner_.Noted(notice); }
    void Warned(const Notice& notice) override { inner_.Warned(notice); }
    void Checking(const std::string& url) override { inner_.Checking(url); }
    void ManifestAccepted(const RoadManifest& manifest) override {
        inner_.ManifestAccepted(manifest);
    }
    void VerdictReached(const VerdictReport& report) override { inner_.VerdictReached(report); }
    void DownloadStarted(const std::string& url, const std::string& path) override {
        inner_.DownloadStarted(url, path);
    }
    void DownloadProgress(std::uint64_t received, std::uint64_t total) override {
        inner_.DownloadProgress(received, total);
    }
    void DownloadEnded() override { inner_.DownloadEnded(); }
    void Verifying() override { inner_.Verifying(); }
    void WaitingForApp(std::uint32_t pid) override { inner_.WaitingForApp(pid); }
    void Installing() override {
        applying_ = false;
        inner_.Installing();
    }
    void Installed(const InstallReport& report) override { inner_.Installed(report); }
    void Failed(const RoadFailure& failure) override;
    void Stopped(StopPoint where, std::uint32_t pid) override { inner_.Stopped(where, pid); }
    void StageChanged(const StageReport& report) override { inner_.StageChanged(report); }
    void Finished(int exitCode) override { inner_.Finished(exitCode); }
    bool AcceptOffer(const RoadManifest& manifest, const VerdictReport& report) override {
        return inner_.AcceptOffer(manifest, report);
    }
    bool ConfirmInstall(const RoadManifest& manifest) override {
        return inner_.ConfirmInstall(manifest);
    }

  private:
    RoadObserver& inner_;
    bool applying_;
};

} // namespace hovrel::road
