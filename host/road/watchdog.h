#pragma once

#include "cancel_flag.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace hovrel::road {

// Sets the cancel flag when the time limit passes before the watchdog is
// destroyed. The library reads the flag before every chunk, so a transfer
// stops at the next chunk boundary. A zero limit never fires.
class Watchdog {
  public:
    Watchdog(std::chrono::milliseconds limit, common::CancelFlag& cancel);
    ~Watchdog();
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

    // True when the limit passed and the flag was set by the watchdog.
    bool Fired();

  private:
    void Run(std::chrono::milliseconds limit);

    common::CancelFlag& cancel_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    bool fired_ = false;
    std::thread thread_;
};

} // namespace hovrel::road
