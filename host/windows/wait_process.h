#pragma once

// Install on exit: the host waits for the app that started it to quit, so the
// installer can replace its files.

#include "cancel_flag.h"

#include <cstdint>

namespace hovrel::windows {

enum class WaitOutcome { Ended, TimedOut, Cancelled, NoAccess };

// Waits for process `pid` to end, at most `timeoutSeconds` (0: no limit), and
// stops early when cancel is set. A pid that names no process has
// ended already.
WaitOutcome WaitForProcessEnd(std::uint32_t pid, std::uint32_t timeoutSeconds,
                              const common::CancelFlag& cancel);

} // namespace hovrel::windows
