#pragma once

// The hand-off between the road's thread and the window's: the road shows
// pages, reports progress, asks the offer and finishes as fast as it goes;
// the window takes the pages one at a time at its own pace, so every page
// the road reached is seen, in order, and the outcome comes after them.

#include "pages.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>

namespace hovrel::road {

// What the window does next.
struct WindowStep {
    enum class Kind {
        Stay,  // nothing new: keep the current page
        Show,  // move to `view`
        Close, // the road ended without an outcome page
    };
    Kind kind = Kind::Stay;
    PageView view;
};

struct ProgressSnapshot {
    std::uint64_t received = 0;
    std::uint64_t total = 0;
    std::uint64_t downloadStartMs = 0; // the clock when the downloading page came
};

class PageQueue : public PageSink {
  public:
    // `clockMs` reads the window's millisecond clock; the download's rate
    // counts from when the road started it, not from when its page appeared.
    explicit PageQueue(std::function<std::uint64_t()> clockMs);

    // The road's thread.
    void Show(const PageView& view) override;
    void Progress(std::uint64_t received, std::uint64_t total) override;
    // Waits for Answer, a Cancel or Abandon.
    bool Ask(const PageView& offer) override;
    void Finish(const PageView* outcome, int exitCode) override;
    // The window's thread: an offer the road asks now or later is declined,
    // and one the window has not taken yet is never shown.
    void Cancelled() override;

    // The window's thread.
    // Waits for the first page; Close when the road ended without one.
    WindowStep WaitForFirst();
    // Called when the current page has been up long enough: the next page,
    // after the last one the outcome or Close, then Stay.
    WindowStep Next();
    // The latest progress, when it changed since the last call.
    std::optional<ProgressSnapshot> TakeProgress();
    // The user's answer to the offer on screen; ignored when none waits.
    void Answer(bool install);
    // The window closed, maybe from outside while the road still runs: the
    // road's offers are declined from now on instead of waiting for nobody.
    void Abandon();

  private:
    WindowStep NextLocked();
    void DeclineLocked();

    const std::function<std::uint64_t()> clockMs_;
    std::mutex mutex_;
    std::condition_variable changed_;  // a page or the end, for WaitForFirst
    std::condition_variable answered_; // for Ask
    std::deque<PageView> pending_;
    bool offerPending_ = false; // the asked offer is in pending_, not taken yet
    bool asking_ = false;
    std::optional<bool> answer_;
    bool declining_ = false;
    bool finished_ = false;
    bool ended_ = false; // the outcome or Close was handed out
    std::optional<PageView> outcome_;
    ProgressSnapshot progress_;
    bool progressChanged_ = false;
};

} // namespace hovrel::road
