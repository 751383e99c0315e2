#pragma once

// The few Windows services the host needs beside Hovrel.dll.

#include <array>
#include <cstdint>
#include <string>

namespace hovrel::windows {

enum class EcdsaResult { Valid, Invalid, SystemError };

// Whether CNG imports point (X then Y, 32 bytes each, big-endian) as a P-256
// public key: the curve check is CNG's own. Wine 8 refuses only some points
// off the curve ((0,0) is refused, one with a bit of Y flipped is not).
bool CngAcceptsP256Point(const std::array<std::uint8_t, 64>& point);

// ECDSA P-256 through CNG: point is X then Y, signature r then s, each 32
// bytes big-endian.
EcdsaResult VerifyEcdsaP256(const std::array<std::uint8_t, 64>& point,
                            const std::array<std::uint8_t, 32>& digest,
                            const std::array<std::uint8_t, 64>& signature);

// The rollout bucket (0..99) of a machine for a manifest version.
bool MachineBucket(const std::string& machineId, const std::string& manifestVersion,
                   std::uint32_t& bucket);

// The NetBIOS computer name; empty when the system cannot say.
std::wstring ComputerName();

// False when standard output is redirected to a file or a pipe.
bool StdoutIsConsole();

} // namespace hovrel::windows
