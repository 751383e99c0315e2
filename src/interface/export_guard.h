#pragma once

#include "hovrel.h"

namespace hovrel {

// Runs the body of an export so that no exception crosses the module
// boundary: the only ones the library can raise are allocation failures, and
// those are reported as HV_InternalError.
template <typename Body> HV_Result GuardExport(Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        return HV_InternalError;
    }
}

} // namespace hovrel
