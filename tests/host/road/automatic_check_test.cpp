#include "automatic_check.h"
#include "registry_names.h"
#include "user_state.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace hovrel::road;
using Type = RawValue::Type;

// A registry that holds what a test puts in it.
class FakeStore : public StateStore {
  public:
    std::map<std::string, RawValue> user, policy;
    bool writable = true;

    RawValue ReadUser(const char* name) override { return Find(user, name); }
    RawValue ReadPolicy(const char* name) override { return Find(policy, name); }
    bool WriteNumber(const char* name, Type type, std::uint64_t value) override {
        if (writable) {
            user[name] = {type, value, ""};
        }
        return writable;
    }
    bool WriteText(const char* name, const std::string& value) override {
        if (writable) {
            user[name] = {Type::Text, 0, value};
        }
        return writable;
    }
    bool DeleteUserValue(const char* name) override {
        user.erase(name);
        return writable;
    }
    bool DeleteUserState() override {
        user.clear();
        return true;
    }
    std::string UserPlace() const override { return "HKCU\\P"; }
    std::string PolicyPlace() const override { return "HKLM\\P"; }

  private:
    static RawValue Find(const std::map<std::string, RawValue>& values, const char* name) {
        const auto found = values.find(name);
        return found == values.end() ? RawValue{} : found->second;
    }
};

RawValue Dword(std::uint64_t n) {
    return {Type::Dword, n, ""};
}
RawValue Qword(std::uint64_t n) {
    return {Type::Qword, n, ""};
}
RawValue Text(const std::string& text) {
    return {Type::Text, 0, text};
}

TEST(UserState, KeepsWellTypedValuesAndWarnsOnceForEachOtherOne) {
    const struct {
        const char* name;
        RawValue value;
        bool kept;
    } cases[] = {
        {registry::kLastCheck, Qword(1765000000), true},
        {registry::kLastCheck, Dword(1765000000), false},
        {registry::kLastCheck, Qword(253402300800), false}, // past the year 9999
        {registry::kAutomaticChecks, Dword(1), true},
        {registry::kAutomaticChecks, Dword(0), true},
        {registry::kAutomaticChecks, Dword(2), false},
        {registry::kAutomaticChecks, Text("1"), false},
        {registry::kCheckIntervalHours, Dword(1), true},
        {registry::kCheckIntervalHours, Dword(744), true},
        {registry::kCheckIntervalHours, Dword(0), false},
        {registry::kCheckIntervalHours, Dword(745), false},
        {registry::kCheckIntervalHours, Qword(24), false},
        {registry::kSkippedVersion, Text("2.0.0"), true},
        {registry::kSkippedVersion, Text(""), false},
        {registry::kChannel, Text("beta-2"), true},
        {registry::kChannel, Text("Beta"), false},
        {registry::kChannel, {Type::Other, 0, ""}, false},
        {registry::kRemindAfter, Text("tomorrow"), false},
        {registry::kFirstAutomaticRun, Qword(5), true},
    };
    for (const auto& c : cases) {
        FakeStore store;
        store.user[c.name] = c.value;
        store.policy[c.name] = c.value;
        std::vector<std::string> warnings;
        const UserState user = ReadUserState(store, warnings);
        const PolicyState policy = ReadPolicy(store, warnings);
        const bool kept = user.lastCheck || user.automaticChecks || user.checkIntervalHours ||
                          user.skippedVersion || user.channel || user.remindAfter ||
                          user.firstAutomaticRun;
        EXPECT_EQ(kept, c.kept) << c.name << " " << c.value.number << c.value.text;
        const bool inPolicy = std::string(c.name) == registry::kAutomaticChecks ||
                              std::string(c.name) == registry::kCheckIntervalHours ||
                              std::string(c.name) == registry::kChannel;
        EXPECT_EQ(warnings.size(), c.kept ? 0u : (inPolicy ? 2u : 1u)) << c.name;
        if (!warnings.empty()) {
            EXPECT_NE(warnings[0].find(std::string("HKCU\\P\\") + c.name), std::string::npos)
                << warnings[0];
        }
    }
}

TEST(UserState, WarnsOnceForAKeyThatCannotBeRead) {
    FakeStore store;
    for (const char* name : {registry::kLastCheck, registry::kAutomaticChecks, registry::kChannel,
                             registry::kSkippedVersion, registry::kRemindAfter,
                             registry::kCheckIntervalHours, registry::kFirstAutomaticRun}) {
        store.user[name] = {Type::Unreadable, 0, ""};
    }
    std::vector<std::string> warnings;
    const UserState user = ReadUserState(store, warnings);
    EXPECT_FALSE(user.lastCheck || user.automaticChecks || user.channel);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0], "Warning: cannot read HKCU\\P; going on without what it holds.");
}

TEST(Resolve, PolicyWinsOverTheUserWhoWinsOverTheCommandLine) {
    Options options;
    options.intervalHours = 6;
    options.channel = L"nightly";
    UserState user;
    PolicyState policy;
    Settings settings = Resolve(Options{}, user, policy);
    EXPECT_EQ(settings.intervalHours.value, 24u);
    EXPECT_EQ(settings.intervalHours.source, Source::Default);
    EXPECT_EQ(settings.channel.value, "stable");
    EXPECT_EQ(settings.automatic.value, Consent::Undecided);

    settings = Resolve(options, user, policy);
    EXPECT_EQ(settings.intervalHours.value, 6u);
    EXPECT_EQ(settings.channel.value, "nightly");
    EXPECT_EQ(settings.channel.source, Source::CommandLine);

    user.checkIntervalHours = 48;
    user.channel = "beta";
    user.automaticChecks = false;
    settings = Resolve(options, user, policy);
    EXPECT_EQ(settings.intervalHours.value, 48u);
    EXPECT_EQ(settings.channel.value, "beta");
    EXPECT_EQ(settings.automatic.value, Consent::No);
    EXPECT_EQ(settings.automatic.source, Source::User);

    policy.checkIntervalHours = 168;
    policy.channel = "stable";
    policy.automaticChecks = true;
    settings = Resolve(options, user, policy);
    EXPECT_EQ(settings.intervalHours.value, 168u);
    EXPECT_EQ(settings.channel.value, "stable");
    EXPECT_EQ(settings.channel.source, Source::Policy);
    EXPECT_EQ(settings.automatic.value, Consent::Yes);
}

TEST(Decide, ChecksOnlyWhenDueAndAllowed) {
    constexpr std::int64_t kLast = 1'800'000'000;
    constexpr std::int64_t kHour = 3600;
    const auto user = [](std::optional<std::int64_t> last, std::optional<std::int64_t> remind,
                         std::optional<bool> consent, bool seenBefore = true) {
        UserState state;
        state.lastCheck = last;
        state.remindAfter = remind;
        state.automaticChecks = consent;
        if (seenBefore) {
            state.firstAutomaticRun = 1;
        }
        return state;
    };
    const struct {
        const char* name;
        UserState user;
        std::optional<bool> policy;
        bool automatic;
        Program program;
        std::int64_t now;
        double draw;
        Gate gate;
        std::int64_t dueBy;
    } cases[] = {
        {"never checked", user({}, {}, true), {}, true, Program::Console, kLast, 0.5, Gate::Run, 0},
        {"before 90%",
         user(kLast, {}, true),
         {},
         true,
         Program::Console,
         kLast + 21 * kHour,
         0.0,
         Gate::NotDue,
         kLast + 24 * kHour},
        {"at the drawn 90%",
         user(kLast, {}, true),
         {},
         true,
         Program::Console,
         kLast + 24 * kHour * 9 / 10,
         0.0,
         Gate::Run,
         0},
        {"drawn later",
         user(kLast, {}, true),
         {},
         true,
         Program::Console,
         kLast + 23 * kHour,
         0.99,
         Gate::NotDue,
         kLast + 24 * kHour},
        {"at 100% whatever the draw",
         user(kLast, {}, true),
         {},
         true,
         Program::Console,
         kLast + 24 * kHour,
         0.999,
         Gate::Run,
         0},
        {"remind after holds it back",
         user(kLast, kLast + 30 * kHour, true),
         {},
         true,
         Program::Console,
         kLast + 25 * kHour,
         0.0,
         Gate::NotDue,
         kLast + 30 * kHour},
        {"remind after, never checked",
         user({}, kLast, true),
         {},
         true,
         Program::Console,
         kLast - 1,
         0.0,
         Gate::NotDue,
         kLast},
        {"a manual run ignores the interval",
         user(kLast, kLast + 30 * kHour, true),
         {},
         false,
         Program::Window,
         kLast,
         0.0,
         Gate::Run,
         0},
        {"user said no",
         user({}, {}, false),
         {},
         true,
         Program::Console,
         kLast,
         0.0,
         Gate::ChecksOff,
         0},
        {"user said no, manual run",
         user({}, {}, false),
         {},
         false,
         Program::Console,
         kLast,
         0.0,
         Gate::Run,
         0},
        {"policy never, manual run", user({}, {}, true), false, false, Program::Console, kLast, 0.0,
         Gate::TurnedOff, 0},
        {"policy always over the user's no", user({}, {}, false), true, true, Program::Window,
         kLast, 0.0, Gate::Run, 0},
        {"console takes undecided as yes",
         user({}, {}, {}, false),
         {},
         true,
         Program::Console,
         kLast,
         0.0,
         Gate::Run,
         0},
        {"window's first automatic run",
         user({}, {}, {}, false),
         {},
         true,
         Program::Window,
         kLast,
         0.0,
         Gate::RecordFirstRun,
         0},
        {"window's next one asks",
         user({}, {}, {}),
         {},
         true,
         Program::Window,
         kLast,
         0.0,
         Gate::AskConsent,
         0},
    };
    for (const auto& c : cases) {
        PolicyState policy;
        policy.automaticChecks = c.policy;
        const Settings settings = Resolve(Options{}, c.user, policy);
        const GateDecision decision =
            Decide(settings, c.user, c.automatic, c.program, c.now, c.draw);
        EXPECT_EQ(decision.gate, c.gate) << c.name;
        if (c.gate == Gate::NotDue) {
            EXPECT_EQ(decision.dueBy, c.dueBy) << c.name;
        }
    }
}

TEST(DueAt, StaysWithinTheLastTenthOfTheInterval) {
    UserState user;
    user.lastCheck = 1000;
    Settings settings;
    settings.intervalHours.value = 10;
    const DueWindow window = DueTimes(settings, user);
    EXPECT_EQ(window.earliest, 1000 + 32400);
    EXPECT_EQ(window.latest, 1000 + 36000);
    for (const double draw : {0.0, 0.25, 0.5, 0.999999, 1.0, -1.0, 2.0}) {
        const std::int64_t due = DueAt(window, draw);
        EXPECT_GE(due, window.earliest) << draw;
        EXPECT_LE(due, window.latest) << draw;
    }
    EXPECT_EQ(DueAt(window, 0.5), 1000 + 34200);
}

TEST(FormatUtcMinute, WritesUtcToTheMinute) {
    const struct {
        std::int64_t seconds;
        const char* text;
    } cases[] = {
        {0, "1970-01-01T00:00Z"},
        {59, "1970-01-01T00:00Z"},
        {951782400, "2000-02-29T00:00Z"},
        {1796886720, "2026-12-10T07:12Z"},
        {253402300799, "9999-12-31T23:59Z"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatUtcMinute(c.seconds), c.text) << c.seconds;
    }
}

TEST(RemindAfterTime, IsADayOrTheShorterInterval) {
    EXPECT_EQ(RemindAfterTime(100, 24), 100 + 86400);
    EXPECT_EQ(RemindAfterTime(100, 168), 100 + 86400);
    EXPECT_EQ(RemindAfterTime(100, 2), 100 + 7200);
}

TEST(Channel, NamesAndThePlaceholder) {
    for (const char* good : {"stable", "beta", "a", "rc-1", "abcdefghijklmnopqrstuvwxyz012345"}) {
        EXPECT_TRUE(IsChannelName(std::string(good))) << good;
    }
    for (const char* bad : {"", "Beta", "a b", "a_b", "a/b", "abcdefghijklmnopqrstuvwxyz0123456",
                            "\xc3\xa9t\xc3\xa9"}) {
        EXPECT_FALSE(IsChannelName(std::string(bad))) << bad;
    }
    EXPECT_EQ(WithChannel(L"https://h/{channel}/m.json?c={channel}", "beta"),
              L"https://h/beta/m.json?c=beta");
    EXPECT_EQ(WithChannel(L"https://h/m.json", "beta"), L"https://h/m.json");
}

// Steps that answer with a fixed exit code and verdict.
class AnsweringSteps : public RoadSteps {
  public:
    int fetchCode = ExitOk;
    VerdictReport verdict;
    int FetchManifest(RoadManifest&) override { return fetchCode; }
    int Evaluate(const RoadManifest&, VerdictReport& report) override {
        report = verdict;
        return ExitOk;
    }
    int PreparePackagePath(const RoadManifest&, std::wstring&) override { return ExitOk; }
    int Download(const RoadManifest&, const std::wstring&) override { return ExitOk; }
    int VerifyPackage(const RoadManifest&, const std::wstring&) override { return ExitOk; }
    int WaitForApp() override { return ExitOk; }
    int RunInstaller(const std::wstring&) override { return ExitOk; }
    void ReleasePackage() override {}
    void KeepPackageFolder() override {}
    void RemovePackageFolder() override {}
    bool FindStage(const std::string&, std::optional<std::int32_t>&) override { return false; }
    int StagePackage(const RoadManifest&, std::string&) override { return ExitOk; }
    void RemoveStage() override {}
    void Relaunch() override {}
};

class Warnings : public RoadObserver {
  public:
    std::vector<std::string> lines;
    void Note(const std::string&) override {}
    void Warning(const std::string& line) override { lines.push_back(line); }
    void Checking(const std::string&) override {}
    void ManifestAccepted(const RoadManifest&) override {}
    void VerdictReached(const VerdictReport&) override {}
    void DownloadStarted(const std::string&, const std::string&) override {}
    void DownloadProgress(std::uint64_t, std::uint64_t) override {}
    void DownloadEnded() override {}
    void Verifying() override {}
    void WaitingForApp(std::uint32_t) override {}
    void Installing() override {}
    void Installed(const InstallReport&) override {}
    void Failed(const RoadFailure&) override {}
    void Stopped(StopPoint, std::uint32_t) override {}
    void StageChanged(const StageReport&) override {}
    void Finished(int) override {}
    bool AcceptOffer(const RoadManifest&, const VerdictReport&) override { return true; }
    bool ConfirmInstall(const RoadManifest&) override { return true; }
};

// Dotted numbers only, enough for these cases.
int Compare(const std::string& a, const std::string& b, bool& ok) {
    ok = !a.empty() && !b.empty();
    return a < b ? -1 : (a > b ? 1 : 0);
}

TEST(StatefulSteps, WritesLastCheckOnlyWhenTheServerAnswered) {
    const struct {
        int code;
        bool written;
    } cases[] = {{ExitOk, true},     {ExitManifest, true}, {ExitRefused, true},
                 {ExitFetch, false}, {ExitUsage, false},   {ExitCancelled, false}};
    for (const auto& c : cases) {
        for (const bool writable : {true, false}) {
            FakeStore store;
            store.writable = writable;
            AnsweringSteps inner;
            inner.fetchCode = c.code;
            Warnings observer;
            StatefulSteps steps(inner, &store, 4242, true, "", Compare, observer);
            RoadManifest manifest;
            EXPECT_EQ(steps.FetchManifest(manifest), c.code);
            const bool written = store.user.count(registry::kLastCheck) == 1;
            EXPECT_EQ(written, c.written && writable) << c.code;
            if (written) {
                EXPECT_EQ(store.user[registry::kLastCheck].number, 4242u);
                EXPECT_EQ(store.user[registry::kLastCheck].type, Type::Qword);
            }
            // A state that cannot be written: one warning, the same exit code.
            EXPECT_EQ(observer.lines.size(), c.written && !writable ? 1u : 0u) << c.code;
        }
    }
}

// StagedVersion follows the stage; apply's read of the stage is no check.
TEST(StatefulSteps, StagedVersionFollowsTheStage) {
    for (const bool writable : {true, false}) {
        FakeStore store;
        store.writable = writable;
        AnsweringSteps inner;
        Warnings observer;
        StatefulSteps steps(inner, &store, 4242, false, "", Compare, observer);
        RoadManifest manifest;
        std::snprintf(manifest.fields.version, sizeof manifest.fields.version, "2.0.0");
        std::string folder;
        EXPECT_EQ(steps.StagePackage(manifest, folder), ExitOk);
        EXPECT_EQ(store.user.count(registry::kStagedVersion), writable ? 1u : 0u);
        if (writable) {
            EXPECT_EQ(store.user[registry::kStagedVersion].text, "2.0.0");
        }
        steps.RemoveStage();
        EXPECT_EQ(store.user.count(registry::kStagedVersion), 0u);
        EXPECT_EQ(observer.lines.size(), writable ? 0u : 2u);
        steps.NotACheck();
        EXPECT_EQ(steps.FetchManifest(manifest), ExitOk);
        EXPECT_EQ(store.user.count(registry::kLastCheck), 0u);
    }
}

TEST(StatefulSteps, PassesOverASkippedVersionOnAutomaticRunsOnly) {
    const struct {
        const char* name;
        const char* version;
        bool mandatory;
        bool automatic;
        Verdict verdict;
    } cases[] = {
        {"the skipped version", "2.0.0", false, true, Verdict::UpToDate},
        {"an older one", "1.9.0", false, true, Verdict::UpToDate},
        {"a newer one", "2.1.0", false, true, Verdict::Available},
        {"mandatory", "2.0.0", true, true, Verdict::Available},
        {"a manual run", "2.0.0", false, false, Verdict::Available},
    };
    for (const auto& c : cases) {
        AnsweringSteps inner;
        inner.verdict.verdict = Verdict::Available;
        inner.verdict.version = c.version;
        inner.verdict.mandatory = c.mandatory;
        Warnings observer;
        StatefulSteps steps(inner, nullptr, 0, c.automatic, "2.0.0", Compare, observer);
        VerdictReport report;
        EXPECT_EQ(steps.Evaluate(RoadManifest{}, report), ExitOk);
        EXPECT_EQ(report.verdict, c.verdict) << c.name;
        EXPECT_EQ(report.skipped, c.verdict == Verdict::UpToDate ? "2.0.0" : "") << c.name;
    }
}

} // namespace

namespace {

TEST(DescribeStatus, NamesEachSettingsSourceAndTheNextCheck) {
    UserState user;
    user.checkIntervalHours = 10;
    user.lastCheck = 0;
    PolicyState policy;
    policy.channel = "stable";
    Options options;
    options.channel = L"beta";
    const std::string text =
        DescribeStatus("app", Resolve(options, user, policy), user, policy, 3600);
    for (const char* line :
         {"Policy in force: Channel stable\n", "Check interval: 10 hours (user)\n",
          "Channel: stable (policy)\n", "Automatic checks: not decided",
          "Last check: 1970-01-01T00:00Z\n",
          "Next automatic check: between 1970-01-01T09:00Z and 1970-01-01T10:00Z\n"}) {
        EXPECT_NE(text.find(line), std::string::npos) << line << " in\n" << text;
    }
    policy.automaticChecks = false;
    EXPECT_NE(DescribeStatus("app", Resolve(options, user, policy), user, policy, 3600)
                  .find("Next automatic check: never: updates are turned off"),
              std::string::npos);
}

} // namespace
