#pragma once

// Whether a run may check now: the administrator's "never", consent, the
// interval and the user's "remind me later". Only the decision; the caller
// reads the clock and draws the random point.

#include "road.h"
#include "user_state.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace hovrel::road {

enum class Gate {
    Run,            // check now
    TurnedOff,      // the policy says never: every run of the product ends
    ChecksOff,      // the user (or the policy) turned automatic checks off
    NotDue,         // a check is not due before `dueBy`
    RecordFirstRun, // the window's first automatic run: remember it, check nothing
    AskConsent,     // the window asks whether to check automatically
};

struct GateDecision {
    Gate gate = Gate::Run;
    std::int64_t dueBy = 0; // NotDue: the latest time the check falls due
};

// The window of a due check: from 90% to 100% of the interval after the
// last check, and never before RemindAfter. `draw` in [0, 1) picks the
// point in between. A product never checked is due at once.
struct DueWindow {
    std::int64_t earliest = 0;
    std::int64_t latest = 0;
};
DueWindow DueTimes(const Settings& settings, const UserState& user);
std::int64_t DueAt(const DueWindow& window, double draw);

// Remind me later: a day from now, or the interval when that is shorter.
std::int64_t RemindAfterTime(std::int64_t now, std::uint32_t intervalHours);

// `automatic` is --auto; the window asks for consent, the console takes an
// undecided user as agreeing.
GateDecision Decide(const Settings& settings, const UserState& user, bool automatic,
                    Program program, std::int64_t now, double draw);

// "2026-12-10T07:12Z": UTC, to the minute.
std::string FormatUtcMinute(std::int64_t unixSeconds);

// The one line a run that ends at the gate prints (empty for Run and AskConsent).
std::string GateLine(const GateDecision& decision, const std::string& product);

// `status`: the state, the policy in force, where each setting came from and
// when the next automatic check is due.
std::string DescribeStatus(const std::string& product, const Settings& settings,
                           const UserState& user, const PolicyState& policy, std::int64_t now);

// Around the platform's steps: records LastCheck when the server answered
// (a verdict or a refusal, not a failed connection), and on an automatic run
// passes over a skipped version unless the update is mandatory.
class StatefulSteps : public RoadSteps {
  public:
    // `compare` orders two versions as HV_CompareVersion does; `ok` is
    // false when they do not compare.
    using Compare = int (*)(const std::string& a, const std::string& b, bool& ok);

    StatefulSteps(RoadSteps& inner, StateStore* store, std::int64_t now, bool automatic,
                  std::string skippedVersion, Compare compare, RoadObserver& observer)
        : inner_(inner), store_(store), now_(now), automatic_(automatic),
          skipped_(std::move(skippedVersion)), compare_(compare), observer_(observer) {}

    int FetchManifest(RoadManifest& manifest) override;
    int Evaluate(const RoadManifest& manifest, VerdictReport& report) override;
    int PreparePackagePath(const RoadManifest& manifest, std::wstring& path) override {
        return inner_.PreparePackagePath(manifest, path);
    }
    int Download(const RoadManifest& manifest, const std::wstring& path) override {
        return inner_.Download(manifest, path);
    }
    int VerifyPackage(const RoadManifest& manifest, const std::wstring& path) override {
        return inner_.VerifyPackage(manifest, path);
    }
    int WaitForApp() override { return inner_.WaitForApp(); }
    int RunInstaller(const std::wstring& path) override { return inner_.RunInstaller(path); }
    void ReleasePackage() override { inner_.ReleasePackage(); }
    void KeepPackageFolder() override { inner_.KeepPackageFolder(); }
    void RemovePackageFolder() override { inner_.RemovePackageFolder(); }
    bool FindStage(const std::string& version, std::optional<std::int32_t>& order) override {
        return inner_.FindStage(version, order);
    }
    // StagedVersion follows the stage, for the app to read.
    int StagePackage(const RoadManifest& manifest, std::string& folder) override;
    void RemoveStage() override;
    void Relaunch() override { inner_.Relaunch(); }

    // apply reads a manifest that was fetched before: not a check.
    void NotACheck() { recordsChecks_ = false; }

  private:
    RoadSteps& inner_;
    StateStore* store_; // null: no --product, no state
    std::int64_t now_;
    bool automatic_;
    std::string skipped_;
    Compare compare_;
    RoadObserver& observer_;
    bool recordsChecks_ = true;
};

// One warning line when a value could not be written.
void WriteNumber(StateStore& store, RoadObserver& observer, const char* name, RawValue::Type type,
                 std::uint64_t value);

} // namespace hovrel::road
