#pragma once

// The road's first step: fetch the manifest, make sure it is the publisher's
// (signature, expiry, product, no rollback, readable values) and parse it. Nothing of the
// package is fetched before this step has accepted the manifest.

#include "hovrel.h"
#include "network_run.h"
#include "options.h"
#include "policy.h"
#include "road.h"

#include <string>

namespace hovrel::windows {

// "what: result text", then the advice.
road::RoadFailure StepFailure(const char* what, road::Step step, HV_Result result);

// ExitOk with manifest filled, or the exit code after reporting what failed:
// ExitFetch, ExitManifest, ExitUsage (a key that cannot be read),
// ExitCancelled (a fetch too slow, or cancelled) or ExitRefused (also: no key
// without --allow-unsigned for a command that downloads).
int FetchAuthenticManifest(const road::Options& options, NetworkRun& network,
                           road::RoadObserver& observer, road::RoadManifest& manifest);

// apply: the stage's manifest and signature, read from its folder, verified
// with the keys trusted now and within its terms but its expiry, which
// passed no earlier than staging. Exit codes as above.
int AcceptStagedManifest(const road::Options& options, road::RoadObserver& observer,
                         std::string body, std::string signature, road::RoadManifest& manifest);

} // namespace hovrel::windows
