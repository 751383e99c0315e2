#pragma once

// The library's limits, as the host programs and the publisher's tool must
// respect them, from the one definition in the public header.

#include "hovrel.h"

#include <cstddef>

namespace hovrel::common {

// The largest manifest body HV_FetchManifest accepts; a signature is far
// smaller, so the same cap serves both fetches.
constexpr std::size_t kManifestMaxBytes = HV_MANIFEST_MAX_BYTES;

// The longest "version" and "url" values that HV_ParseManifest keeps whole.
constexpr std::size_t kMaxVersionLength = sizeof(HV_Manifest::version) - 1;
constexpr std::size_t kMaxUrlLength = sizeof(HV_Manifest::url) - 1;

} // namespace hovrel::common
