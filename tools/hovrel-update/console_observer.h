#pragma once

// The road on a console: one line per step on standard output, failures on
// standard error, the progress line drawn in place, the confirmation as a
// [y/N] prompt (answered no once the user pressed Ctrl+C).

#include "cancel_flag.h"
#include "road.h"

#include <memory>

namespace hovrel::update {

std::unique_ptr<road::RoadObserver> MakeConsoleObserver(const common::CancelFlag& cancel);

} // namespace hovrel::update
