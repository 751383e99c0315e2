#pragma once

// SHA-256 of bytes in memory, through the library's own CNG engine.

#include <array>
#include <cstdint>
#include <string_view>

namespace hovrel::common {

using Sha256Digest = std::array<std::uint8_t, 32>;

bool Sha256(std::string_view data, Sha256Digest& digest);

// 64 lower-case hex characters.
bool Sha256Hex(std::string_view data, std::string& hex);

} // namespace hovrel::common
