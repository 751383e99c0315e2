// The shared road with steps that only pretend, seen through hovrel-updater's
// pages: which pages a run shows, in which order, and how it ends.

#include "network_limits.h"
#include "pages.h"
#include "road.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using namespace hovrel::road;
using namespace hovrel::road;

namespace {

const Notice kOldWindows = {"2.0.0 needs Windows 10.0.17763 or later; this is 6.3.9600",
                            "uptodate.newer.windows",
                            {"2.0.0", "10.0.17763", "Windows 6.3.9600"}};

// What each step does in a row of the table.
struct Script {
    Command command = Command::Update;
    bool yes = false;
    bool quiet = false;
    bool background = false; // update --background
    bool staged = false;     // a stage is there
    int fetch = ExitOk;
    Verdict verdict = Verdict::Available;
    bool mandatory = false;
    int download = ExitOk;
    int verify = ExitOk;
    int installer = ExitOk; // ExitOk, ExitRestartNeeded or a failure
    bool acceptOffer = true;
    bool skip = false;             // a declined offer is Skip this version
    Page cancelOn = Page::Outcome; // Outcome: no cancel
    Notice note;                   // told along the way while fetching
    Notice fetchWarning;           // such as --allow-unsigned's
    Notice windowsTooOld;          // the terms step's line for an old Windows
    Notice warning;                // a warning of the terms step
};

class FakeSteps : public RoadSteps {
  public:
    FakeSteps(const Script& script, RoadObserver& observer,
              const hovrel::common::CancelFlag& cancel)
        : script_(script), observer_(observer), cancel_(cancel) {}

    int FetchManifest(RoadManifest& manifest) override {
        observer_.Checking("http://h/m.json");
        if (!script_.note.line.empty()) {
            observer_.Noted(script_.note);
        }
        if (!script_.fetchWarning.line.empty()) {
            observer_.Warned(script_.fetchWarning);
        }
        if (script_.fetch != ExitOk) {
            return Fail(script_.fetch, "Cannot fetch the manifest: network/transfer failure");
        }
        std::snprintf(manifest.fields.version, sizeof manifest.fields.version, "2.0.0");
        manifest.fields.mandatory = script_.mandatory ? 1 : 0;
        manifest.notes = "Faster start.";
        manifest.windowsTooOld = script_.windowsTooOld;
        if (!script_.warning.line.empty()) {
            manifest.warnings.push_back(script_.warning);
            observer_.Warned(script_.warning);
        }
        return ExitOk;
    }
    int Evaluate(const RoadManifest&, VerdictReport& report) override {
        report.verdict = script_.verdict;
        report.version = "2.0.0";
        report.installed = "1.0.0";
        report.mandatory = script_.mandatory;
        return ExitOk;
    }
    int PreparePackagePath(const RoadManifest&, std::wstring& path) override {
        path = L"C:\\p\\setup.exe";
        return ExitOk;
    }
    int Download(const RoadManifest&, const std::wstring&) override {
        observer_.DownloadStarted("http://h/setup.exe", "C:\\p\\setup.exe");
        observer_.DownloadProgress(512, 1024);
        observer_.DownloadEnded();
        if (cancel_.IsSet()) {
            return Fail(ExitCancelled, "Download failed: cancelled");
        }
        return script_.download == ExitOk ? ExitOk
                                          : Fail(script_.download, "Download failed: sha256");
    }
    int VerifyPackage(const RoadManifest&, const std::wstring&) override {
        return script_.verify == ExitOk ? ExitOk : Fail(script_.verify, "Refused: not signed");
    }
    int WaitForApp() override { return ExitOk; }
    int RunInstaller(const std::wstring&) override {
        if (script_.installer != ExitOk && script_.installer != ExitRestartNeeded) {
            return Fail(script_.installer, "The installer failed.", "msiexec log: C:\\p\\x.log");
        }
        InstallReport report;
        report.exitCode = script_.installer;
        report.summary = "The installer finished successfully.";
        observer_.Installed(report);
        return script_.installer;
    }
    void ReleasePackage() override {}
    void KeepPackageFolder() override {}
    void RemovePackageFolder() override {}
    bool FindStage(const std::string&, std::optional<std::int32_t>&) override {
        return script_.staged;
    }
    int StagePackage(const RoadManifest&, std::string&) override { return ExitOk; }
    void RemoveStage() override {}
    void Relaunch() override {}

  private:
    int Fail(int code, const std::string& line, const std::string& detail = "") {
        RoadFailure failure;
        failure.exitCode = code;
        failure.line = line;
        failure.advice = "Try again.";
        failure.detail = detail;
        observer_.Failed(failure);
        return code;
    }

    const Script& script_;
    RoadObserver& observer_;
    const hovrel::common::CancelFlag& cancel_;
};

// Writes the pages down as "checking offer downloading ... outcome:installed";
// "closed" when the window closes without an outcome page.
class RecordingSink : public PageSink {
  public:
    explicit RecordingSink(const Script& script) : script_(script) {}

    void Show(const PageView& view) override {
        shown = view;
        Record(PageName(view.page));
        if (view.page == script_.cancelOn) {
            pages->Cancel();
        }
    }
    void Progress(std::uint64_t, std::uint64_t) override {}
    bool Ask(const PageView& offer) override {
        Record(offer.mandatory ? "offer(mandatory)" : "offer");
        lastOffer = offer;
        if (script_.skip) {
            pages->SkipChosen();
        }
        return script_.acceptOffer;
    }
    void Finish(const PageView* outcome, int exitCode) override {
        Record(outcome == nullptr ? "closed"
                                  : std::string("outcome:") + OutcomeName(outcome->outcome));
        if (outcome != nullptr) {
            last = *outcome;
            EXPECT_EQ(outcome->exitCode, exitCode);
        }
    }

    UpdaterPages* pages = nullptr;
    PageView shown;
    std::string sequence;
    PageView last;
    PageView lastOffer;

  private:
    void Record(const std::string& page) {
        // A page shown twice in a row (waiting, then installing) is one page.
        if (page != previous_) {
            sequence += (sequence.empty() ? "" : " ") + page;
        }
        previous_ = page;
    }

    const Script& script_;
    std::string previous_;
};

struct Seen {
    std::string sequence;
    int exitCode;
    PageView outcome;
    PageView offer;
};

// What the offer's Skip and Remind me later left behind.
class RecordingMemory : public OfferMemory {
  public:
    void Skip(const std::string& version) override { said += "skip:" + version; }
    void RemindLater() override { said += "remind"; }
    std::string said;
};

Seen Drive(const Script& script, OfferMemory* memory = nullptr) {
    Options options;
    options.command = script.command;
    options.yes = script.yes;
    options.outPath = L"C:\\p\\setup.exe";
    PageOptions pageOptions;
    pageOptions.name = "Demo";
    pageOptions.installed = "1.0.0";
    pageOptions.quiet = script.quiet;
    options.background = pageOptions.background = script.background;
    pageOptions.applying = script.command == Command::Apply;
    hovrel::common::CancelFlag cancel;
    RecordingSink sink(script);
    UpdaterPages pages(pageOptions, sink, cancel);
    sink.pages = &pages;
    pages.RememberOffers(memory);
    FakeSteps steps(script, pages, cancel);
    pages.Begin();
    const int code = RunRoad(options, steps, pages, cancel);
    return {sink.sequence, code, sink.last, sink.lastOffer};
}

struct Row {
    const char* name;
    Script script;
    const char* sequence;
    int exitCode;
};

TEST(RoadPages, ShowThePagesOfEachRoadInOrder) {
    const auto with = [](auto change) {
        Script script;
        change(script);
        return script;
    };
    const Row rows[] = {
        {"available", {}, "checking offer downloading verifying installing outcome:installed", 0},
        {"restart needed", with([](Script& s) { s.installer = ExitRestartNeeded; }),
         "checking offer downloading verifying installing outcome:restart", 7},
        {"up to date", with([](Script& s) { s.verdict = Verdict::UpToDate; }),
         "checking outcome:up-to-date", 0},
        {"outside the rollout", with([](Script& s) { s.verdict = Verdict::NotInRollout; }),
         "checking outcome:up-to-date", 0},
        {"mandatory", with([](Script& s) { s.mandatory = true; }),
         "checking offer(mandatory) downloading verifying installing outcome:installed", 0},
        {"later", with([](Script& s) { s.acceptOffer = false; }), "checking offer closed", 6},
        {"--yes asks nothing", with([](Script& s) { s.yes = true; }),
         "checking downloading verifying installing outcome:installed", 0},
        {"fetch fails", with([](Script& s) { s.fetch = ExitFetch; }), "checking outcome:failed", 2},
        {"download fails", with([](Script& s) { s.download = ExitDownload; }),
         "checking offer downloading outcome:failed", 4},
        {"publisher refused", with([](Script& s) { s.verify = ExitRefused; }),
         "checking offer downloading verifying outcome:failed", 9},
        {"installer fails", with([](Script& s) { s.installer = ExitInstall; }),
         "checking offer downloading verifying installing outcome:failed", 5},
        {"cancel while checking", with([](Script& s) { s.cancelOn = Page::Checking; }),
         "checking closed", 6},
        {"cancel while downloading", with([](Script& s) { s.cancelOn = Page::Downloading; }),
         "checking offer downloading closed", 6},
        {"cancel while verifying", with([](Script& s) { s.cancelOn = Page::Verifying; }),
         "checking offer downloading verifying closed", 6},
        {"quiet, up to date", with([](Script& s) {
             s.quiet = true;
             s.verdict = Verdict::UpToDate;
         }),
         "closed", 0},
        {"quiet, fetch fails", with([](Script& s) {
             s.quiet = true;
             s.fetch = ExitFetch;
         }),
         "closed", 2},
        {"quiet, available", with([](Script& s) { s.quiet = true; }),
         "offer downloading verifying installing outcome:installed", 0},
        {"check, available", with([](Script& s) { s.command = Command::Check; }),
         "checking outcome:available", 8},
        {"check, quiet, available", with([](Script& s) {
             s.command = Command::Check;
             s.quiet = true;
         }),
         "outcome:available", 8},
        {"download", with([](Script& s) { s.command = Command::Download; }),
         "checking downloading outcome:downloaded", 0},
        {"install asks before the installer", with([](Script& s) { s.command = Command::Install; }),
         "checking verifying offer installing outcome:installed", 0},
        {"download for a newer Windows", with([](Script& s) {
             s.command = Command::Download;
             s.windowsTooOld = kOldWindows;
         }),
         "checking outcome:up-to-date", 0},
        {"install for a newer Windows", with([](Script& s) {
             s.command = Command::Install;
             s.windowsTooOld = kOldWindows;
         }),
         "checking outcome:up-to-date", 0},
        {"update for a newer Windows",
         with([](Script& s) { s.verdict = Verdict::NeedsNewerWindows; }),
         "checking outcome:up-to-date", 0},
        {"check for a newer Windows", with([](Script& s) {
             s.command = Command::Check;
             s.verdict = Verdict::NeedsNewerWindows;
         }),
         "checking outcome:up-to-date", 0},
        {"background stages unseen", with([](Script& s) { s.background = true; }), "closed", 0},
        {"background, a refusal is told", with([](Script& s) {
             s.background = true;
             s.verify = ExitRefused;
         }),
         "outcome:failed", 9},
        {"background, a network failure is not", with([](Script& s) {
             s.background = true;
             s.download = ExitDownload;
         }),
         "closed", 4},
        {"apply asks nothing", with([](Script& s) {
             s.command = Command::Apply;
             s.staged = true;
         }),
         "verifying installing outcome:installed", 0},
        {"apply, nothing staged", with([](Script& s) { s.command = Command::Apply; }), "closed", 0},
    };
    for (const Row& row : rows) {
        const Seen run = Drive(row.script);
        EXPECT_EQ(run.sequence, row.sequence) << row.name;
        EXPECT_EQ(run.exitCode, row.exitCode) << row.name;
    }
}

// The texts the user reads: the offer sentence; a failure's heading and
// advice by its kind, the road's English line as details, the exit code.
TEST(RoadPages, SayWhatTheUserNeeds) {
    const Seen offered = Drive(Script{});
    EXPECT_EQ(offered.offer.heading, "Demo 2.0.0 is available.");
    EXPECT_EQ(offered.offer.text, "You have 1.0.0.");
    EXPECT_EQ(offered.offer.notes, "Faster start.");

    Script failing;
    failing.installer = ExitInstall;
    const Seen failed = Drive(failing);
    EXPECT_EQ(failed.outcome.heading, "The update could not be installed.");
    EXPECT_EQ(failed.outcome.text, "Close other installations and try again; if this keeps "
                                   "happening, tell the app's publisher.\n\nDetails: The "
                                   "installer failed.\nmsiexec log: C:\\p\\x.log");
    EXPECT_EQ(failed.outcome.footer, "Exit code 5");

    Script warned;
    warned.warning = {"Warning: the signed manifest has no \"expires\".", "warning.no.expiry"};
    const std::string noExpiry = "The signed update information has no expiry date, so an old "
                                 "copy could be replayed; ask the publisher to set one.";
    EXPECT_EQ(Drive(warned).offer.text, "You have 1.0.0.\n\n" + noExpiry);
    warned.command = Command::Check;
    EXPECT_EQ(Drive(warned).outcome.text, "You have 1.0.0.\n\n" + noExpiry);

    Script oldWindows;
    oldWindows.command = Command::Download;
    oldWindows.windowsTooOld = kOldWindows;
    EXPECT_EQ(Drive(oldWindows).outcome.text,
              "Version 2.0.0 needs Windows 10.0.17763 or later; this computer has Windows "
              "6.3.9600.");
}

// Each failure kind has a heading of its own: the exit code picks it.
TEST(RoadPages, NameEachKindOfFailure) {
    const struct {
        int fetch;
        const char* heading;
    } cases[] = {
        {ExitUsage, "The update could not start."},
        {ExitFetch, "The update server could not be reached."},
        {ExitManifest, "The update information cannot be used."},
        {ExitRefused, "The update was refused for safety."},
        {ExitCancelled, "The update was stopped."},
    };
    for (const auto& c : cases) {
        Script script;
        script.fetch = c.fetch;
        const Seen seen = Drive(script);
        EXPECT_EQ(seen.outcome.heading, c.heading) << c.fetch;
        EXPECT_EQ(seen.outcome.footer, "Exit code " + std::to_string(c.fetch));
    }
}

// In German the pages, the warnings and the retry's seconds are German; the
// English line stays as the failure's details.
TEST(RoadPages, SpeakTheWindowsLanguage) {
    const hovrel::language::NumberFormat invariant;
    const hovrel::language::Translation german(*hovrel::language::Tables()[1], invariant);
    ASSERT_STREQ(german.table().tag, "de");
    Script script;
    script.fetch = ExitFetch;
    PageOptions pageOptions;
    pageOptions.name = "Demo";
    hovrel::common::CancelFlag cancel;
    RecordingSink sink(script);
    UpdaterPages pages(pageOptions, sink, cancel, german);
    sink.pages = &pages;
    pages.Begin();
    EXPECT_EQ(sink.shown.heading, "Suche nach Updates...");
    pages.Warned(RetryNotice(1, 3, std::chrono::milliseconds(1400)));
    EXPECT_EQ(sink.shown.text, "Netzwerkfehler; neuer Versuch (1 von 3) in 1.4 s.");
    Options options;
    options.command = Command::Check;
    FakeSteps steps(script, pages, cancel);
    RunRoad(options, steps, pages, cancel);
    EXPECT_EQ(sink.last.heading, "Der Update-Server ist nicht erreichbar.");
    EXPECT_EQ(sink.last.footer, "Exitcode 2");
    EXPECT_NE(sink.last.text.find("Details: Cannot fetch the manifest"), std::string::npos)
        << sink.last.text;
    EXPECT_EQ(ConsentView("Demo", german).heading, "Soll Demo automatisch nach Updates suchen?");
}

// A retry's line replaces the text of the page the user is waiting on; a
// quiet window that shows nothing stays so.
TEST(RoadPages, ShowARetryWhileChecking) {
    const Notice retry = RetryNotice(1, 3, std::chrono::milliseconds(1400));
    const std::string line = "Network failure; trying again (1 of 3) in 1.4 s.";
    for (const bool quiet : {false, true}) {
        Script script;
        PageOptions pageOptions;
        pageOptions.quiet = quiet;
        hovrel::common::CancelFlag cancel;
        RecordingSink sink(script);
        UpdaterPages pages(pageOptions, sink, cancel);
        pages.Begin();
        pages.Warned(retry);
        EXPECT_EQ(sink.sequence, quiet ? "" : "checking");
        EXPECT_EQ(sink.shown.text, quiet ? "" : line);
        if (!quiet) {
            EXPECT_EQ(sink.shown.heading, "Checking for updates...");
        }
    }
}

} // namespace

namespace {

TEST(UpdaterPages, ShowsTheWarningsOnTheOfferAndOnACheck) {
    const Notice note = {"Not authenticated: no --public-key given", "warning.not.authenticated"};
    const Notice warning = {"Warning: --allow-unsigned: the manifest is not authenticated",
                            "warning.allow.unsigned"};
    const std::string footer =
        "Not authenticated: the app gave no public key, so the origin of the update information "
        "is not checked.\nThe update information is not authenticated (--allow-unsigned): "
        "whoever can change it chooses what is installed.";
    Script script;
    script.note = note;
    script.fetchWarning = warning;
    // The terms' warnings are in the text already, not again at the foot.
    script.warning = {"Warning: the signed manifest has no \"expires\".", "warning.no.expiry"};
    script.acceptOffer = false;
    EXPECT_EQ(Drive(script).offer.footer, footer);
    script.command = Command::Check;
    EXPECT_EQ(Drive(script).outcome.footer, footer);
    script.verdict = Verdict::UpToDate;
    EXPECT_EQ(Drive(script).outcome.footer, footer);
    // Other notes are for the record only; a warning without a key shows its line.
    script.note = {"Package C:\\p\\setup.exe matches the manifest."};
    script.fetchWarning = {"Warning: something new."};
    EXPECT_EQ(Drive(script).outcome.footer, "Warning: something new.");
}

TEST(UpdaterPages, RemembersSkipAndRemindMeLater) {
    const struct {
        const char* name;
        bool mandatory, accept, skip, withMemory;
        bool skippable;
        const char* said;
    } cases[] = {
        {"skip", false, false, true, true, true, "skip:2.0.0"},
        {"remind me later", false, false, false, true, true, "remind"},
        {"install now", false, true, false, true, true, ""},
        {"mandatory: no skip", true, true, false, true, false, ""},
        {"no product, no state", false, false, false, false, false, ""},
    };
    for (const auto& c : cases) {
        Script script;
        script.mandatory = c.mandatory;
        script.acceptOffer = c.accept;
        script.skip = c.skip;
        RecordingMemory memory;
        const Seen seen = Drive(script, c.withMemory ? &memory : nullptr);
        EXPECT_EQ(seen.offer.skippable, c.skippable) << c.name;
        EXPECT_EQ(memory.said, c.said) << c.name;
        EXPECT_EQ(seen.exitCode, c.accept ? ExitOk : ExitCancelled) << c.name;
    }
}

TEST(ConsentView, AsksInTheProductsName) {
    EXPECT_EQ(ConsentView("Example App", hovrel::language::EnglishTranslation()).heading,
              "Should Example App check for updates automatically?");
    EXPECT_EQ(PageName(Page::Consent), std::string("consent"));
}

} // namespace
