#include "sha256.h"

#include "integrity/hex_digest.h"
#include "integrity/sha256_hasher.h"

#include <climits>
#include <string>

namespace hovrel::common {

namespace {

int HexValue(char c) {
    return c >= 'a' ? c - 'a' + 10 : c - '0';
}

} // namespace

bool Sha256Hex(std::string_view data, std::string& hex) {
    Sha256Hasher hasher;
    if (!hasher.Begin()) {
        return false;
    }
    // The engine takes at most ULONG_MAX bytes a call.
    while (!data.empty()) {
        const std::size_t part = data.size() < ULONG_MAX ? data.size() : ULONG_MAX;
        if (!hasher.Update(data.data(), static_cast<unsigned long>(part))) {
            return false;
        }
        data.remove_prefix(part);
    }
    char rendered[kHexDigestSize] = {};
    if (!hasher.Finish(rendered)) {
        return false;
    }
    hex.assign(rendered, kHexDigestSize - 1);
    return true;
}

// The engine renders lower-case hex only, so reading it back is exact.
bool Sha256(std::string_view data, Sha256Digest& digest) {
    std::string hex;
    if (!Sha256Hex(data, hex)) {
        return false;
    }
    for (std::size_t i = 0; i < digest.size(); ++i) {
        digest[i] = static_cast<std::uint8_t>(HexValue(hex[2 * i]) << 4 | HexValue(hex[2 * i + 1]));
    }
    return true;
}

} // namespace hovrel::common
