#include "page_queue.h"

#include <utility>

namespace hovrel::road {

PageQueue::PageQueue(std::function<std::uint64_t()> clockMs) : clockMs_(std::move(clockMs)) {}

void PageQueue::Show(const PageView& view) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (view.page == Page::Downloading) {
        progress_.downloadStartMs = clockMs_();
    }
    pending_.push_back(view);
    changed_.notify_all();
}

void PageQueue::Progress(std::uint64_t received, std::uint64_t total) {
    std::lock_guard<std::mutex> lock(mutex_);
    progress_.received = received;
    progress_.total = total;
    progressChanged_ = true;
}

bool PageQueue::Ask(const PageView& offer) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (declining_) {
        return false;
    }
    answer_.reset();
    asking_ = true;
    offerPending_ = true;
    pending_.push_back(offer);
    changed_.notify_all();
    answered_.wait(lock, [this] { return answer_.has_value(); });
    asking_ = false;
    return *answer_;
}

void PageQueue::Finish(const PageView* outcome, int) {
    std::lock_guard<std::mutex> lock(mutex_);
    finished_ = true;
    if (outcome != nullptr) {
        outcome_ = *outcome;
    }
    changed_.notify_all();
}

void PageQueue::Cancelled() {
    std::lock_guard<std::mutex> lock(mutex_);
    DeclineLocked();
}

void PageQueue::Abandon() {
    std::lock_guard<std::mutex> lock(mutex_);
    DeclineLocked();
}

void PageQueue::DeclineLocked() {
    declining_ = true;
    if (offerPending_) {
        // While the road waits in Ask it shows nothing, so its offer is last.
        pending_.pop_back();
        offerPending_ = false;
    }
    if (asking_ && !answer_) {
        answer_ = false;
        answered_.notify_all();
    }
}

WindowStep PageQueue::WaitForFirst() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return !pending_.empty() || finished_; });
    return NextLocked();
}

WindowStep PageQueue::Next() {
    std::lock_guard<std::mutex> lock(mutex_);
    return NextLocked();
}

WindowStep PageQueue::NextLocked() {
    WindowStep step;
    if (!pending_.empty()) {
        step.kind = WindowStep::Kind::Show;
        step.view = std::move(pending_.front());
        pending_.pop_front();
        if (pending_.empty()) {
            offerPending_ = false;
        }
    } else if (finished_ && !ended_) {
        ended_ = true;
        step.kind = outcome_ ? WindowStep::Kind::Show : WindowStep::Kind::Close;
        if (outcome_) {
            step.view = *outcome_;
        }
    }
    return step;
}

std::optional<ProgressSnapshot> PageQueue::TakeProgress() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!progressChanged_) {
        return std::nullopt;
    }
    progressChanged_ = false;
    return progress_;
}

void PageQueue::Answer(bool install) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (asking_ && !answer_) {
        answer_ = install;
        answered_.notify_all();
    }
}

} // namespace hovrel::road
