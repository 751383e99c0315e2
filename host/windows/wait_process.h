#pragma once

// Install on exit: the host waits for the app that started it to quit, so the
// installer can replace its files.

#include <cstdint>

namespace hovrel::windows {

enum class WaitOutcome { Ended, TimedOut, Cancelled, NoAccess };

// Waits for process `pid` to end, at most `timeoutSeconds` (0: no limit), and
// stops early when *cancel becomes nonzero. A pid that names no process has
// ended already.
WaitOutcome WaitForProcessEnd(std::uint32_t pid, std::uint32_t timeoutSeconds,
                              const volatile std::int32_t* cancel);

} // namespace hovrel::windows
