#include "watchdog.h"

namespace hovrel::road {

Watchdog::Watchdog(std::chrono::milliseconds limit, common::CancelFlag& cancel) : cancel_(cancel) {
    if (limit.count() > 0) {
        thread_ = std::thread([this, limit] { Run(limit); });
    }
}

Watchdog::~Watchdog() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
}

bool Watchdog::Fired() {
    std::lock_guard<std::mutex> lock(mutex_);
    return fired_;
}

void Watchdog::Run(std::chrono::milliseconds limit) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (wake_.wait_for(lock, limit, [this] { return stopping_; })) {
        return;
    }
    fired_ = true;
    cancel_.Set();
}

} // namespace hovrel::road
