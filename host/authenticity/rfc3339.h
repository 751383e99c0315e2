#pragma once

#include <cstdint>
#include <string>

namespace hovrel::authenticity {

// "YYYY-MM-DDTHH:MM:SSZ", optionally with a fraction of a second before the
// Z: RFC 3339 in UTC, which is what a manifest's "expires" holds. Offsets
// other than Z, lowercase letters and impossible dates are refused. Yields
// seconds since 1970-01-01T00:00:00Z (the fraction dropped).
bool ParseRfc3339Utc(const std::string& text, std::int64_t& seconds);

// The form above without a fraction; years 0 to 9999.
std::string FormatRfc3339Utc(std::int64_t seconds);

} // namespace hovrel::authenticity
