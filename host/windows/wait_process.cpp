#include "wait_process.h"

#include "handles.h"

namespace hovrel::windows {

WaitOutcome WaitForProcessEnd(std::uint32_t pid, std::uint32_t timeoutSeconds,
                              const common::CancelFlag& cancel) {
    hovrel::UniqueKernelObject process(OpenProcess(SYNCHRONIZE, FALSE, pid));
    if (!process) {
        return GetLastError() == ERROR_INVALID_PARAMETER ? WaitOutcome::Ended
                                                         : WaitOutcome::NoAccess;
    }
    const ULONGLONG start = GetTickCount64();
    // Short slices, so Ctrl+C is noticed within a fraction of a second.
    for (;;) {
        if (WaitForSingleObject(process.get(), 200) == WAIT_OBJECT_0) {
            return WaitOutcome::Ended;
        }
        if (cancel.IsSet()) {
            return WaitOutcome::Cancelled;
        }
        if (timeoutSeconds != 0 && GetTickCount64() - start >= timeoutSeconds * 1000ULL) {
            return WaitOutcome::TimedOut;
        }
    }
}

} // namespace hovrel::windows
