#pragma once

// The package's download: HV_DownloadVerify with the run's --timeout, the
// --min-rate floor and the retries after a network failure. The library
// writes whole files only, so a retry starts the download again.

#include "cancel_flag.h"
#include "hovrel.h"
#include "network_run.h"
#include "options.h"
#include "road.h"

#include <string>

namespace hovrel::windows {

enum class DownloadStop {
    None,
    TimedOut, // --timeout passed
    TooSlow,  // below --min-rate for a whole window
};

struct DownloadOutcome {
    HV_Result result = HV_InternalError;
    DownloadStop stop = DownloadStop::None;
};

// `cancel` is the run's flag: the user's Ctrl+C or Cancel, and what the
// time limit and the rate floor set to stop the library.
DownloadOutcome DownloadPackage(const road::Options& options, NetworkRun& network,
                                road::RoadObserver& observer, common::CancelFlag& cancel,
                                const std::wstring& url, const std::wstring& path,
                                const HV_Manifest& manifest);

} // namespace hovrel::windows
