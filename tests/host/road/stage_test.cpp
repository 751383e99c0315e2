#include "stage.h"

#include "policy.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

using namespace hovrel::road;

TEST(Stage, Decisions) {
    EXPECT_EQ(ChooseStage(false, std::nullopt), StageChoice::Stage);
    EXPECT_EQ(ChooseStage(false, 1), StageChoice::Stage);
    EXPECT_EQ(ChooseStage(true, 1), StageChoice::Replace);
    EXPECT_EQ(ChooseStage(true, std::nullopt), StageChoice::Replace);
    EXPECT_EQ(ChooseStage(true, 0), StageChoice::Keep);
    EXPECT_EQ(ChooseStage(true, -1), StageChoice::Keep);

    const struct {
        int code;
        bool mismatch;          // before the installer
        bool staysIfNotStarted; // the installer never ran
        bool worthAWindow;      // in the background
    } cases[] = {
        {ExitOk, false, false, false},       {ExitUsage, false, true, true},
        {ExitFetch, true, false, false},     {ExitManifest, true, false, true},
        {ExitDownload, true, false, false},  {ExitInstall, true, false, false},
        {ExitCancelled, false, true, false}, {ExitRestartNeeded, true, false, false},
        {ExitRefused, true, false, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsStageMismatch(c.code), c.mismatch) << c.code;
        EXPECT_EQ(StageStaysAfterApply(false, c.code), c.staysIfNotStarted) << c.code;
        EXPECT_FALSE(StageStaysAfterApply(true, c.code)) << c.code;
        EXPECT_EQ(BackgroundFailureWorthTelling(c.code), c.worthAWindow) << c.code;
    }
}

TEST(Stage, ProductNamesOneFolder) {
    for (const wchar_t* good : {L"App", L"My App 2", L"a.b", L"Zo\u00EB", L".app"}) {
        EXPECT_TRUE(IsStageFolderName(good));
    }
    for (const wchar_t* bad : {L"", L".", L"..", L"a\\b", L"a/b", L"C:", L"a*", L"a?", L"a\"",
                               L"a<", L"a>", L"a|", L"app.", L"app ", L"a\tb"}) {
        EXPECT_FALSE(IsStageFolderName(bad)) << std::wstring(bad).size();
    }
    EXPECT_FALSE(IsStageFolderName(std::wstring(101, L'a')));
}

// Steps that write down what the road asks of them.
struct Script {
    Command command = Command::Apply;
    bool staged = true;
    std::optional<std::int32_t> order; // against the stage
    Verdict verdict = Verdict::Available;
    int fetch = ExitOk, verify = ExitOk, wait = ExitOk, installer = ExitOk;
};

class LoggingSteps : public RoadSteps {
  public:
    explicit LoggingSteps(const Script& script) : script_(script) {}
    std::string log;

    int FetchManifest(RoadManifest& manifest) override {
        std::snprintf(manifest.fields.version, sizeof manifest.fields.version, "2.0.0");
        return Step("fetch", script_.fetch);
    }
    int Evaluate(const RoadManifest&, VerdictReport& report) override {
        report.verdict = script_.verdict;
        report.version = "2.0.0";
        return Step("evaluate", ExitOk);
    }
    int PreparePackagePath(const RoadManifest&, std::wstring& path) override {
        path = L"p";
        return Step("path", ExitOk);
    }
    int Download(const RoadManifest&, const std::wstring&) override {
        return Step("download", ExitOk);
    }
    int VerifyPackage(const RoadManifest&, const std::wstring&) override {
        return Step("verify", script_.verify);
    }
    int WaitForApp() override { return Step("wait", script_.wait); }
    int RunInstaller(const std::wstring&) override { return Step("install", script_.installer); }
    void ReleasePackage() override { Step("release", ExitOk); }
    void KeepPackageFolder() override {}
    void RemovePackageFolder() override { Step("unfolder", ExitOk); }
    bool FindStage(const std::string&, std::optional<std::int32_t>& order) override {
        Step("find", ExitOk);
        order = script_.order;
        return script_.staged;
    }
    int StagePackage(const RoadManifest&, std::string& folder) override {
        folder = "F";
        return Step("stage", ExitOk);
    }
    void RemoveStage() override { Step("unstage", ExitOk); }
    void Relaunch() override { Step("relaunch", ExitOk); }

  private:
    int Step(const char* name, int code) {
        log += (log.empty() ? "" : " ") + std::string(name);
        return code;
    }
    const Script& script_;
};

// Lines of the stage, the failures' codes; answers no to every question.
class StageLog : public RoadObserver {
  public:
    std::string lines;
    void Note(const std::string&) override {}
    void Warning(const std::string&) override {}
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
    void Failed(const RoadFailure& failure) override {
        lines += "failed " + std::to_string(failure.exitCode) + ": " + failure.advice;
    }
    void Stopped(StopPoint, std::uint32_t) override {}
    void StageChanged(const StageReport& report) override { lines += StageLine(report); }
    void Finished(int) override {}
    bool AcceptOffer(const RoadManifest&, const VerdictReport&) override { return false; }
    bool ConfirmInstall(const RoadManifest&) override { return false; }
};

TEST(Stage, TheRoadStagesAndApplies) {
    const auto background = [] {
        Script s;
        s.command = Command::Update;
        s.staged = false;
        return s;
    };
    const auto with = [](Script s, auto change) {
        change(s);
        return s;
    };
    const struct {
        Script script;
        int exit;
        std::string log;
        std::string line;
    } cases[] = {
        // The background stages without asking; a stage as new or newer stays.
        {background(), ExitOk, "fetch evaluate find path download verify release stage unfolder",
         "Staged 2.0.0 in F; apply installs it (it is verified again then)."},
        {with(background(), [](Script& s) { s.staged = true, s.order = 1; }), ExitOk,
         "fetch evaluate find path download verify release stage unfolder", "Staged 2.0.0 in F"},
        {with(background(), [](Script& s) { s.staged = true, s.order = 0; }), ExitOk,
         "fetch evaluate find", "2.0.0 or newer is staged already; nothing downloaded."},
        {with(background(), [](Script& s) { s.verdict = Verdict::UpToDate; }), ExitOk,
         "fetch evaluate", ""},
        {with(background(), [](Script& s) { s.verify = ExitDownload; }), ExitDownload,
         "fetch evaluate find path download verify release unfolder", ""},
        // apply: nothing staged, no longer newer, verified and installed.
        {with(Script{}, [](Script& s) { s.staged = false; }), ExitOk, "find",
         "No update is staged for P."},
        {with(Script{}, [](Script& s) { s.verdict = Verdict::UpToDate; }), ExitOk,
         "find fetch evaluate unstage",
         "The staged 2.0.0 is not newer than the installed 1.0.0; it has been deleted."},
        {Script{}, ExitOk, "find fetch evaluate path verify wait install release unstage relaunch",
         ""},
        {with(Script{}, [](Script& s) { s.installer = ExitRestartNeeded; }), ExitRestartNeeded,
         "find fetch evaluate path verify wait install release unstage relaunch", ""},
        {with(Script{}, [](Script& s) { s.installer = ExitInstall; }), ExitInstall,
         "find fetch evaluate path verify wait install release unstage", ""},
        // A mismatch is a refusal and deletes the stage; a cancel keeps it.
        {with(Script{}, [](Script& s) { s.fetch = ExitManifest; }), ExitRefused,
         "find fetch unstage", ""},
        {with(Script{}, [](Script& s) { s.verify = ExitDownload; }), ExitRefused,
         "find fetch evaluate path verify release unstage", ""},
        {with(Script{}, [](Script& s) { s.verdict = Verdict::NeedsNewerWindows; }), ExitRefused,
         "find fetch evaluate unstage", "failed 9: " + std::string(kStageDeletedAdvice)},
        {with(Script{}, [](Script& s) { s.wait = ExitCancelled; }), ExitCancelled,
         "find fetch evaluate path verify wait release", ""},
        {with(Script{}, [](Script& s) { s.fetch = ExitUsage; }), ExitUsage, "find fetch", ""},
    };
    for (const auto& c : cases) {
        Options options;
        options.command = c.script.command;
        options.background = c.script.command == Command::Update;
        options.product = L"P";
        options.installedVersion = L"1.0.0";
        LoggingSteps steps(c.script);
        StageLog observer;
        hovrel::common::CancelFlag cancel;
        EXPECT_EQ(RunRoad(options, steps, observer, cancel), c.exit) << c.log;
        EXPECT_EQ(steps.log, c.log);
        EXPECT_NE(observer.lines.find(c.line), std::string::npos) << observer.lines;
    }
}

TEST(Stage, UpdateAndInstallRelaunchOnlyAfterSuccess) {
    for (const int installer : {ExitOk, ExitRestartNeeded, ExitInstall, ExitCancelled}) {
        Script script;
        script.installer = installer;
        Options options;
        options.command = Command::Update;
        options.yes = true;
        LoggingSteps steps(script);
        StageLog observer;
        hovrel::common::CancelFlag cancel;
        EXPECT_EQ(RunRoad(options, steps, observer, cancel), installer);
        const bool relaunched = steps.log.find("relaunch") != std::string::npos;
        EXPECT_EQ(relaunched, installer == ExitOk || installer == ExitRestartNeeded) << steps.log;
    }
}

TEST(Stage, RefusalsWhileApplyVerifies) {
    StageLog inner;
    StageRefusals applying(inner, true);
    const RoadFailure usage = UsageFailure("--public-key x cannot be read");
    applying.Failed(usage);
    applying.Failed(Failure(ExitCancelled, "Stopped."));
    applying.Failed(Failure(ExitDownload, "The package does not verify", "Download again."));
    applying.Installing();
    applying.Failed(Failure(ExitInstall, "The installer failed.", "Run it by hand."));
    EXPECT_EQ(inner.lines, "failed 1: failed 6: failed 9: " + std::string(kStageDeletedAdvice) +
                               "failed 5: Run it by hand.");

    StageLog other;
    StageRefusals updating(other, false);
    updating.Failed(Failure(ExitDownload, "The package does not verify", "Download again."));
    EXPECT_EQ(other.lines, "failed 4: Download again.");
}

} // namespace
