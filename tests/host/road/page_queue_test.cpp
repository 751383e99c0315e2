// The queue between hovrel-updater's road thread and its window, with real
// threads: the road on one, the window's ticks on the test's own.

#include "page_queue.h"
#include "pages.h"
#include "road.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

using namespace hovrel::road;
using namespace std::chrono_literals;

namespace {

// A thread stuck in the queue would hold the run until ctest's limit, and
// a --gtest_repeat loop for ever; this ends the program with the test's
// name instead.
class HangGuard {
  public:
    explicit HangGuard(std::chrono::seconds limit)
        : test_(::testing::UnitTest::GetInstance()->current_test_info()->name()),
          thread_([this, limit] { Watch(limit); }) {}
    ~HangGuard() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            done_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }
    HangGuard(const HangGuard&) = delete;
    HangGuard& operator=(const HangGuard&) = delete;

  private:
    void Watch(std::chrono::seconds limit) {
        std::unique_lock<std::mutex> lock(mutex_);
        if (!wake_.wait_for(lock, limit, [this] { return done_; })) {
            std::fprintf(stderr, "%s still runs after %lld s: a thread hangs\n", test_.c_str(),
                         static_cast<long long>(limit.count()));
            std::fflush(stderr);
            std::abort();
        }
    }

    const std::string test_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool done_ = false;
    std::thread thread_;
};

PageView View(Page page, Outcome outcome = Outcome::Failed) {
    PageView view;
    view.page = page;
    view.outcome = outcome;
    view.heading = PageName(page);
    return view;
}

std::string NameOf(const PageView& view) {
    return view.page == Page::Outcome ? std::string("outcome:") + OutcomeName(view.outcome)
                                      : PageName(view.page);
}

// The window as the task dialog drives it: the first page, then one step
// per tick until the outcome page or Close; `onPage` is the user on each
// page. Returns the pages as the updater's test log names them, and
// "close".
std::string RunWindow(PageQueue& queue, std::chrono::milliseconds tick,
                      const std::function<void(const PageView&)>& onPage) {
    std::string seen;
    WindowStep step = queue.WaitForFirst();
    for (;;) {
        if (step.kind == WindowStep::Kind::Close) {
            return seen + "close";
        }
        if (step.kind == WindowStep::Kind::Show) {
            seen += NameOf(step.view);
            if (step.view.page == Page::Outcome) {
                return seen;
            }
            seen += " ";
            onPage(step.view);
        }
        std::this_thread::sleep_for(tick);
        step = queue.Next();
    }
}

std::uint64_t StoppedClock() {
    return 0;
}

class PageQueueTest : public ::testing::Test {
  protected:
    HangGuard guard_{30s};
};

struct HandOverRow {
    const char* name;
    std::vector<Page> road; // Offer: the road asks
    bool install;           // the window's answer to each offer
    std::optional<Outcome> outcome;
    const char* seen;
};

struct Pace {
    const char* name;
    std::chrono::milliseconds roadGap;
    std::chrono::milliseconds windowTick;
};

TEST_F(PageQueueTest, HandsOverEveryPageInOrderThenTheOutcomeOrClose) {
    const HandOverRow rows[] = {
        {"a whole update",
         {Page::Checking, Page::Offer, Page::Downloading, Page::Verifying, Page::Installing},
         true,
         Outcome::Installed,
         "checking offer downloading verifying installing outcome:installed"},
        {"the offer declined", {Page::Checking, Page::Offer}, false, {}, "checking offer close"},
        {"pages, then close",
         {Page::Checking, Page::Downloading},
         true,
         {},
         "checking downloading close"},
        {"the offer first",
         {Page::Offer, Page::Downloading},
         true,
         Outcome::Installed,
         "offer downloading outcome:installed"},
        {"only the outcome", {}, true, Outcome::UpToDate, "outcome:up-to-date"},
        {"nothing at all", {}, true, {}, "close"},
    };
    const Pace paces[] = {{"the road ahead", 0ms, 1ms}, {"the window ahead", 1ms, 0ms}};
    for (const Pace& pace : paces) {
        for (const HandOverRow& row : rows) {
            PageQueue queue(StoppedClock);
            std::vector<bool> answers;
            std::thread road([&] {
                for (const Page page : row.road) {
                    std::this_thread::sleep_for(pace.roadGap);
                    if (page == Page::Offer) {
                        answers.push_back(queue.Ask(View(page)));
                    } else {
                        queue.Show(View(page));
                    }
                }
                const PageView outcome = View(Page::Outcome, row.outcome.value_or(Outcome::Failed));
                queue.Finish(row.outcome ? &outcome : nullptr, 0);
            });
            const std::string seen = RunWindow(queue, pace.windowTick, [&](const PageView& view) {
                if (view.page == Page::Offer) {
                    queue.Answer(row.install);
                }
            });
            road.join();
            EXPECT_EQ(seen, row.seen) << row.name << ", " << pace.name;
            EXPECT_EQ(answers.size(), static_cast<std::size_t>(std::count(
                                          row.road.begin(), row.road.end(), Page::Offer)))
                << row.name << ", " << pace.name;
            for (const bool answer : answers) {
                EXPECT_EQ(answer, row.install) << row.name << ", " << pace.name;
            }
            EXPECT_EQ(queue.Next().kind, WindowStep::Kind::Stay)
                << row.name << ", " << pace.name << ": the end comes once";
        }
    }
}

TEST_F(PageQueueTest, KeepsTheLatestProgressAndWhenTheDownloadStarted) {
    std::atomic<std::uint64_t> clockMs{0};
    PageQueue queue([&] { return clockMs.load(); });
    std::thread road([&] {
        clockMs = 5000;
        queue.Show(View(Page::Downloading));
        queue.Progress(100, 1000);
        queue.Progress(600, 1000);
    });
    road.join();
    clockMs = 9000; // the window comes to the page later
    const std::optional<ProgressSnapshot> first = queue.TakeProgress();
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->received, 600u);
    EXPECT_EQ(first->total, 1000u);
    EXPECT_EQ(first->downloadStartMs, 5000u);
    EXPECT_FALSE(queue.TakeProgress().has_value()) << "nothing new since";

    std::thread more([&] { queue.Progress(1000, 1000); });
    more.join();
    const std::optional<ProgressSnapshot> last = queue.TakeProgress();
    ASSERT_TRUE(last.has_value());
    EXPECT_EQ(last->received, 1000u);
    EXPECT_EQ(last->downloadStartMs, 5000u);
}

// Each report's total is twice its bytes, so a snapshot mixing two
// reports shows.
TEST_F(PageQueueTest, ProgressReadWhileTheRoadWritesIsNeverTornOrOlder) {
    PageQueue queue(StoppedClock);
    constexpr std::uint64_t kReports = 20000;
    std::atomic<bool> done{false};
    std::thread road([&] {
        for (std::uint64_t received = 1; received <= kReports; ++received) {
            queue.Progress(received, 2 * received);
        }
        done = true;
    });
    std::uint64_t previous = 0;
    bool torn = false, older = false;
    for (bool last = false; !last;) {
        last = done.load();
        if (const std::optional<ProgressSnapshot> snapshot = queue.TakeProgress()) {
            torn = torn || snapshot->total != 2 * snapshot->received;
            older = older || snapshot->received < previous;
            previous = snapshot->received;
        }
    }
    road.join();
    EXPECT_FALSE(torn);
    EXPECT_FALSE(older);
    EXPECT_EQ(previous, kReports);
}

enum class AbandonWhen { BeforeTheRoadAsks, WhileTheOfferWaitsToBeTaken, WhileTheOfferIsShown };

TEST_F(PageQueueTest, AbandonedWindowDeclinesEveryOfferAtOnce) {
    const struct {
        const char* name;
        AbandonWhen when;
    } rows[] = {
        {"before the road asks", AbandonWhen::BeforeTheRoadAsks},
        {"while the offer waits to be taken", AbandonWhen::WhileTheOfferWaitsToBeTaken},
        {"while the offer is shown", AbandonWhen::WhileTheOfferIsShown},
    };
    for (const auto& row : rows) {
        PageQueue queue(StoppedClock);
        if (row.when == AbandonWhen::BeforeTheRoadAsks) {
            queue.Abandon();
        }
        std::vector<bool> answers;
        std::thread road([&] {
            answers.push_back(queue.Ask(View(Page::Offer)));
            answers.push_back(queue.Ask(View(Page::Offer)));
            queue.Finish(nullptr, ExitCancelled);
        });
        if (row.when == AbandonWhen::WhileTheOfferWaitsToBeTaken) {
            // Most runs find the road waiting in Ask; the rest abandon before it asks.
            std::this_thread::sleep_for(20ms);
            queue.Abandon();
        }
        if (row.when == AbandonWhen::WhileTheOfferIsShown) {
            const WindowStep shown = queue.WaitForFirst();
            EXPECT_EQ(shown.kind, WindowStep::Kind::Show) << row.name;
            EXPECT_EQ(shown.view.page, Page::Offer) << row.name;
            queue.Abandon();
        }
        road.join();
        EXPECT_EQ(answers, (std::vector<bool>{false, false})) << row.name;
        EXPECT_EQ(queue.Next().kind, WindowStep::Kind::Close)
            << row.name << ": a declined offer is not shown";
    }
}

// The road with steps that only pretend; the step behind the page the user
// cancels on runs until the cancel reaches it, as a download does.
class StepsUntilCancel : public RoadSteps {
  public:
    StepsUntilCancel(Page cancelOn, RoadObserver& observer,
                     const hovrel::common::CancelFlag& cancel)
        : cancelOn_(cancelOn), observer_(observer), cancel_(cancel) {}

    int FetchManifest(RoadManifest& manifest) override {
        std::strcpy(manifest.fields.version, "2.0.0");
        return ExitOk;
    }
    int Evaluate(const RoadManifest&, VerdictReport& report) override {
        report.verdict = Verdict::Available;
        report.version = "2.0.0";
        report.installed = "1.0.0";
        return ExitOk;
    }
    int PreparePackagePath(const RoadManifest&, std::wstring& path) override {
        path = L"C:\\p\\setup.exe";
        return ExitOk;
    }
    int Download(const RoadManifest&, const std::wstring&) override {
        observer_.DownloadStarted("http://127.0.0.1/setup.exe", "C:\\p\\setup.exe");
        for (std::uint64_t received = 0; !cancel_.IsSet() && cancelOn_ == Page::Downloading;
             ++received) {
            observer_.DownloadProgress(received % 1024, 1024);
            std::this_thread::yield();
        }
        return cancel_.IsSet() ? ExitCancelled : ExitOk;
    }
    int VerifyPackage(const RoadManifest&, const std::wstring&) override {
        while (!cancel_.IsSet() && cancelOn_ == Page::Verifying) {
            std::this_thread::yield();
        }
        return ExitOk;
    }
    int WaitForApp() override { return ExitOk; }
    int RunInstaller(const std::wstring&) override { return ExitOk; }
    void ReleasePackage() override {}
    void KeepPackageFolder() override {}
    void RemovePackageFolder() override {}
    bool FindStage(const std::string&, std::optional<std::int32_t>&) override { return false; }
    int StagePackage(const RoadManifest&, std::string&) override { return ExitOk; }
    void RemoveStage() override {}
    void Relaunch() override {}

  private:
    const Page cancelOn_;
    RoadObserver& observer_;
    const hovrel::common::CancelFlag& cancel_;
};

// The user presses Cancel on a page while the road's thread shows the next
// one, asks the offer or downloads: the road ends, the window closes, and
// the pages before the cancel were all seen.
TEST_F(PageQueueTest, CancelRacingThePagesEndsTheRoadAndClosesTheWindow) {
    const struct {
        Page cancelOn;
        // How long the user looks at the page before Cancel: 0 ms races the
        // road's next step, 20 ms finds it waiting in Ask or downloading.
        std::chrono::milliseconds after;
        const char* seen;
    } rows[] = {
        {Page::Checking, 0ms, "checking close"},
        {Page::Checking, 20ms, "checking close"},
        {Page::Downloading, 0ms, "checking offer downloading close"},
        {Page::Downloading, 20ms, "checking offer downloading close"},
        {Page::Verifying, 0ms, "checking offer downloading verifying close"},
    };
    for (const auto& row : rows) {
        const std::string name = std::string("cancel on ") + PageName(row.cancelOn) + " after " +
                                 std::to_string(row.after.count()) + " ms";
        PageQueue queue(StoppedClock);
        hovrel::common::CancelFlag cancel;
        UpdaterPages pages(PageOptions{}, queue, cancel);
        Options options;
        options.command = Command::Update;
        StepsUntilCancel steps(row.cancelOn, pages, cancel);
        pages.Begin();
        int exitCode = -1;
        std::thread road([&] { exitCode = RunRoad(options, steps, pages, cancel); });
        const std::string seen = RunWindow(queue, 0ms, [&](const PageView& view) {
            if (view.page == Page::Offer) {
                queue.Answer(true);
            }
            if (view.page == row.cancelOn) {
                std::this_thread::sleep_for(row.after);
                pages.Cancel();
            }
        });
        road.join();
        EXPECT_EQ(seen, row.seen) << name;
        EXPECT_EQ(exitCode, ExitCancelled) << name;
    }
}

} // namespace
