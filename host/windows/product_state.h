#pragma once

// A run with the product's state: read it, decide whether the run may check,
// run the road with the state's steps, and the status command.

#include "automatic_check.h"
#include "cancel_flag.h"
#include "registry_store.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace hovrel::windows {

struct ProductState {
    std::unique_ptr<RegistryStore> store; // null without --product
    road::UserState user;
    road::Settings settings;
    road::GateDecision decision;
    road::Options options; // the manifest address with the channel in force
    std::vector<std::string> warnings;
    std::int64_t now = 0; // Unix seconds UTC
};

ProductState LoadProductState(const road::Options& options, road::Program program);

// Records the window's first automatic run; a warning when it cannot.
void RecordFirstAutomaticRun(ProductState& state, std::vector<std::string>& warnings);

// Stores the user's answer to "check automatically?".
void RecordConsent(ProductState& state, bool yes, road::RoadObserver& observer);

// The road through the platform's steps, with LastCheck and the skipped version.
int RunRoadWithState(ProductState& state, road::RoadObserver& observer, common::CancelFlag& cancel);

// status: stores --channel, deletes the state on --reset, then describes it.
// Lines to print go to `out`, warnings and failures to `errors`.
int RunStatus(ProductState& state, std::string& out, std::vector<std::string>& errors);

} // namespace hovrel::windows
